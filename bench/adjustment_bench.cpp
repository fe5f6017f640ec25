// The 高差配赋表 of a route of 1,000 sections and 21,842 stations, from the filtered
// text to the saved workbook: the sections read, the misclosure distributed, the
// table written and saved.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/program_folder.h"
#include "bench/raw_line_generator.h"
#include "books/books.h"
#include "leveling/leveling.h"
#include "records/records.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSections = 1000;
constexpr int kStations = 21842;

// A benchmark name the width of the generator's point window.
std::string benchmarkName(int k)
{
    const std::string name = "B" + std::to_string(10000 + k).substr(1);
    return std::string(9 - name.size(), ' ') + name;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// Section k runs from benchmark k to k + 1; 842 sections of 22 stations and 158 of 21.
std::string route()
{
    std::string raw;
    for (int k = 0; k < kSections; ++k) {
        const int stations = kStations / kSections + (k < kStations % kSections ? 1 : 0);
        std::string section = levara::bench::rawLevelingLine(stations, levara::bench::ObservationOrder::BFFB, 7 + k);
        replaceAll(section, "      BM1", benchmarkName(k));
        replaceAll(section, "      BM2", benchmarkName(k + 1));
        raw += section;
    }
    return levara::filterLines(levara::RecordFilter::Leveling, levara::TextLines::fromText(std::move(raw)));
}

void BM_AdjustmentTable(benchmark::State& state)
{
    const levara::bench::ProgramFolder folder;
    const levara::WorkFolderPaths temp(folder.dir());
    const fs::path destination = folder.dir() / "table.xls";
    const std::string text = route();
    const levara::TextLines lines = levara::TextLines::viewOf(text);
    // Known ends 12.3 mm off the measured sum, so that there is a misclosure to share.
    double sum = 0;
    for (const levara::leveling::Section& section : levara::leveling::readSections(lines))
        sum += section.heightDifference;
    const levara::leveling::KnownPoints known = levara::leveling::parseKnownPoints(
        "B0000 100\nB1000 " + levara::leveling::decimalText(100 + sum - 0.0123) + "\n", "known.txt");
    const levara::leveling::Standard standard =
        levara::leveling::chooseStandard(levara::leveling::builtinLimits(4), false);

    std::size_t corrected = 0;
    for (auto _ : state) {
        const levara::leveling::Adjustment adjustment =
            levara::leveling::adjustRoute(levara::leveling::readSections(lines), lines, &known,
                                          levara::leveling::Distribution::ByDistance, &standard);
        levara::books::exportWorkbook(levara::books::WorkbookKind::AdjustmentTable, temp, text, destination, &standard,
                                      {}, &adjustment);
        corrected = adjustment.sections.size();
    }
    state.counters["sections"] = double(corrected);
    state.counters["stations"] = kStations;
    state.counters["bytes"] = static_cast<double>(fs::file_size(destination));
}

BENCHMARK(BM_AdjustmentTable)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
