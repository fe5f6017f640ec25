// Writes a leveling line of STATIONS stations as the digital level records it, in
// GB18030, for the benchmark scripts:
//
//   make_raw_line [--method BFFB|BBFF|BFBF|BF|aBFFB] [--seed N] [--prefix NAME] STATIONS OUT
//
// --prefix names the turning points (default "TP"; "转点" gives Chinese names).
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "bench/raw_line_generator.h"
#include "records/records.h"

namespace {

constexpr const char* kUsage =
    "usage: make_raw_line [--method BFFB|BBFF|BFBF|BF|aBFFB] [--seed N] [--prefix NAME] STATIONS OUT\n";

}  // namespace

int main(int argc, char** argv)
{
    levara::bench::ObservationOrder order = levara::bench::ObservationOrder::BFFB;
    std::uint64_t seed = 1;
    std::string prefix = "TP";
    std::string_view stations, out;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--method" && i + 1 < argc) {
            const std::optional<levara::leveling::ObservationOrder> named = levara::leveling::orderNamed(argv[++i]);
            if (!named) {
                std::fputs(kUsage, stderr);
                return 2;
            }
            order = *named;
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (arg == "--prefix" && i + 1 < argc) {
            prefix = argv[++i];
        } else if (stations.empty()) {
            stations = arg;
        } else if (out.empty()) {
            out = arg;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    const int count = std::atoi(std::string(stations).c_str());
    if (count < 1 || out.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        levara::writeTextFile(std::string(out), levara::bench::rawLevelingLine(count, order, seed, prefix));
    } catch (const levara::Error& error) {
        std::fprintf(stderr, "make_raw_line: %s\n", error.what());
        return 1;
    }
    return 0;
}
