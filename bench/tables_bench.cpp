// The point tables for 20,000 points, from the text to the saved workbook.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/program_folder.h"
#include "books/books.h"
#include "records/records.h"

namespace {

namespace fs = std::filesystem;
using levara::books::Output;

constexpr int kPoints = 20000;

std::string rightAligned(const std::string& text, std::size_t width)
{
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string field(const std::string& tag, const std::string& value, std::size_t width = 15)
{
    if (tag.empty())
        return std::string(22, ' ');
    std::string text = tag + rightAligned(value, width) + " m";
    return text + std::string(22 - text.size(), ' ');
}

std::string number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.5f", value);
    return buffer;
}

std::string rawLine(int address, const std::string& point, const std::string& tag, double reading, double distance,
                    bool withHeight, double height)
{
    return "For M5|Adr" + rightAligned(std::to_string(address), 6) + "|KD1" + rightAligned(point, 9) +
           "      10:21:402   1|" + field(tag, number(reading)) + "|" +
           field(tag.empty() ? "" : "HD", number(distance)) + "|" + field(withHeight ? "Z" : "", number(height), 16) +
           "| \r\n";
}

// A benchmark, then set-ups of nine intermediate sights each, the next set-up standing
// on the last of them: one row per point, and a back sight every tenth row.
std::string intermediateSurvey()
{
    std::string text = rawLine(1, "BM1", "", 0, 0, true, 100.0);
    double collimation = 100.0 + 1.41230;
    text += rawLine(2, "BM1", "R ", 1.41230, 35.2, false, 0);
    for (int point = 2, address = 3; point <= kPoints; ++point) {
        const double reading = 0.5 + (point % 23) * 0.1;
        const double elevation = collimation - reading;
        text += rawLine(address++, "P" + std::to_string(point), "Rz", reading, 12.0 + point % 40, true, elevation);
        if (point % 10 == 0) {
            text += rawLine(address++, "P" + std::to_string(point), "R ", 1.2, 20.0, false, 0);
            collimation = elevation + 1.2;
        }
    }
    return text;
}

std::string singlePoints()
{
    std::string text;
    for (int point = 1; point <= kPoints; ++point)
        text +=
            rawLine(point, std::to_string(1000 + point), "R ", 0.8 + (point % 31) * 0.05, 5.0 + point % 60, false, 0);
    return text;
}

using levara::bench::ProgramFolder;

void run(benchmark::State& state, Output output, const std::string& text)
{
    const ProgramFolder folder;
    const levara::TempFolder temp(folder.dir());
    const fs::path destination = folder.dir() / "table.xls";
    for (auto _ : state)
        levara::books::exportWorkbook(output, temp, text, destination);
    state.counters["points"] = kPoints;
    state.counters["bytes"] = static_cast<double>(fs::file_size(destination));
}

void BM_IntermediateTable(benchmark::State& state) { run(state, Output::IntermediateTable, intermediateSurvey()); }
void BM_SinglePointTable(benchmark::State& state) { run(state, Output::SinglePointTable, singlePoints()); }

BENCHMARK(BM_IntermediateTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SinglePointTable)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
