// A national benchmark list of 1,000,000 points read from its file: the known-points
// reader stays linear (goal: under 1 s). Chinese names, as such lists hold, so the
// file is decoded as UTF-8 rather than passed through as ASCII.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/program_folder.h"
#include "leveling/leveling.h"
#include "records/records.h"

namespace {

constexpr int kPoints = 1000000;

void BM_KnownPointsFile(benchmark::State& state)
{
    const levara::bench::ProgramFolder folder;
    const std::filesystem::path file = folder.dir() / "known.txt";
    std::string text = "# national benchmarks\n";
    for (int k = 0; k < kPoints; ++k)
        text += "水准点" + std::to_string(1000000 + k) + "," + std::to_string(k % 5000) + ".1234\n";
    levara::replaceFile(file, text);
    std::size_t read = 0;
    for (auto _ : state) {
        const levara::leveling::KnownPoints known = levara::leveling::readKnownPoints(file);
        read = known.points.size();
        benchmark::DoNotOptimize(known.find("水准点1999999"));
    }
    state.counters["points"] = double(read);
    state.counters["bytes"] = double(text.size());
}

BENCHMARK(BM_KnownPointsFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
