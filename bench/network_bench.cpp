// A leveling network of 10,000 points and 20,000 sections (a 100 × 100 grid, its
// rows and columns levelled, 200 diagonals, a known point at each corner) adjusted
// with the standard deviations of all heights. Prints the time the adjustment takes
// and the program's peak memory; the work is to stay under 2 s and 500 MB.
//
//     network_bench [repeats]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "leveling/leveling.h"

namespace {

using levara::leveling::Observation;

constexpr int kSide = 100;

std::string name(int row, int column) { return "N" + std::to_string(row * kSide + column); }

levara::leveling::NetworkInput grid()
{
    std::mt19937 random(20000);
    std::uniform_real_distribution<double> km(0.5, 2.5);
    std::normal_distribution<double> error(0, 0.001);  // 1 mm
    auto height = [](int row, int column) { return 100 + 0.37 * row - 0.21 * column; };
    levara::leveling::NetworkInput input;
    input.aprioriSigmaMm = 1;
    auto section = [&](int r1, int c1, int r2, int c2) {
        const double length = km(random);
        // Each section as if on its own line of a text.
        const levara::LineNumber line = levara::LineNumber::ofIndex(input.observations.size());
        input.observations.push_back(Observation{name(r1, c1), name(r2, c2),
                                                 height(r2, c2) - height(r1, c1) + error(random) * std::sqrt(length),
                                                 length, 20, line, line});
    };
    for (int r = 0; r < kSide; ++r)
        for (int c = 0; c < kSide; ++c) {
            if (c + 1 < kSide)
                section(r, c, r, c + 1);
            if (r + 1 < kSide)
                section(r, c, r + 1, c);
        }
    for (int k = 0; k < 2 * kSide; ++k)
        section(k % (kSide - 1), (7 * k) % (kSide - 1), k % (kSide - 1) + 1, (7 * k) % (kSide - 1) + 1);
    for (const auto& [r, c] : {std::pair{0, 0}, {0, kSide - 1}, {kSide - 1, 0}, {kSide - 1, kSide - 1}})
        input.known.push_back({name(r, c), height(r, c)});
    return input;
}

}  // namespace

int main(int argc, char** argv)
{
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const levara::leveling::NetworkInput input = grid();
    double best = 1e9;
    levara::leveling::NetworkAdjustment adjustment;
    for (int k = 0; k < repeats; ++k) {
        const auto start = std::chrono::steady_clock::now();
        adjustment = levara::leveling::adjustNetwork(input);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%zu points, %zu sections, %d degrees of freedom, sigma0 %.3f mm/km\n", adjustment.points.size(),
                input.observations.size(), adjustment.degreesOfFreedom, adjustment.sigma0Mm.value_or(0));
    std::printf("adjusted with the sigma of all heights in %.3f s (best of %d)\n", best, repeats);
    std::printf("peak memory %.1f MB\n", double(usage.ru_maxrss) / 1024);
    return best < 2 && usage.ru_maxrss < 500 * 1024 ? 0 : 1;
}
