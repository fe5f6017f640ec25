// Opening a GSI-16 leveling file of 100,000 readings (25,000 BFFB stations with
// the instrument's results): read, told by its content and converted to raw lines,
// as the open command does (target: under 0.2 s); and the conversion alone.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "commands/commands.h"

namespace {

std::filesystem::path writeGsiFile(int readings)
{
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "levara-gsi-bench.gsi";
    std::ofstream out(file, std::ios::binary);
    int address = 1;
    char block[200];
    auto put = [&](const char* format, auto... values) {
        std::snprintf(block, sizeof block, format, address++ % 10000, values...);
        out << block << "\r\n";
    };
    put("*41%04d+00000000?......2 ");
    put("*11%04d+00000000000000A0 83..58+0000000010000000 ");
    // B1 F1 F2 B2: the fore staff stands on the next point.
    const char* const words[] = {"331", "332", "336", "335"};
    for (int station = 0; station < readings / 4; ++station) {
        for (int reading = 0; reading < 4; ++reading)
            put("*11%04d+%016d 32...8+%016d %s.08+%016d 390...+0000000000000002 391.08+0000000000000001 ",
                station + (reading == 1 || reading == 2), 1800000 + station % 1000 * 37, words[reading],
                100000 + (station * 7919 + reading) % 200000);
        put("*11%04d+%016d 571.08-0000000000000005 572.08-0000000000000005 573..8-0000000000109339 "
            "574..8+0000000003759663 83..08+0000000010021906 ",
            station + 1);
    }
    return file;
}

void BM_OpenGsiFile(benchmark::State& state)
{
    const int readings = int(state.range(0));
    const std::filesystem::path file = writeGsiFile(readings);
    std::size_t lines = 0;
    for (auto _ : state) {
        const levara::OpenedText opened = levara::readOpenedText(file);
        lines = std::size_t(std::count(opened.text.begin(), opened.text.end(), '\n'));
        benchmark::DoNotOptimize(opened.text.data());
    }
    state.counters["readings"] = readings;
    state.counters["raw_lines"] = double(lines);
    state.counters["file_MB"] = double(std::filesystem::file_size(file)) / 1e6;
    std::filesystem::remove(file);
}
BENCHMARK(BM_OpenGsiFile)->Arg(100000)->Unit(benchmark::kMillisecond);

// The conversion alone, on the file's lines already in memory.
void BM_ConvertGsiLines(benchmark::State& state)
{
    const std::filesystem::path file = writeGsiFile(int(state.range(0)));
    const levara::TextLines lines = levara::TextLines::read(file);
    for (auto _ : state)
        benchmark::DoNotOptimize(levara::convertGsi(lines, file).text.data());
    std::filesystem::remove(file);
}
BENCHMARK(BM_ConvertGsiLines)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
