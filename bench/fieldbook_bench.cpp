// The line field books for a line of 5,000 stations: from the text to the saved
// workbook, and the filling of a worksheet held in memory alone.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/program_folder.h"
#include "bench/raw_line_generator.h"
#include "books/books.h"
#include "leveling/leveling.h"
#include "records/records.h"
#include "xls/xls.h"

namespace {

namespace fs = std::filesystem;
using levara::books::WorkbookKind;

constexpr int kStations = 5000;

// A line of stations as the leveling filter leaves it; every second station is
// observed fore first when alternating.
std::string surveyedLine(bool alternating)
{
    const std::string raw = levara::bench::rawLevelingLine(kStations,
                                                           alternating ? levara::bench::ObservationOrder::aBFFB
                                                                       : levara::bench::ObservationOrder::BFFB,
                                                           1);
    return levara::filterLines(levara::RecordFilter::Leveling, levara::TextLines::fromText(raw));
}

using levara::bench::ProgramFolder;

void exportLine(benchmark::State& state, WorkbookKind output, bool alternating)
{
    const std::string text = surveyedLine(alternating);
    const ProgramFolder folder;
    const levara::WorkFolderPaths temp(folder.dir());
    const fs::path destination = folder.dir() / "book.xls";
    for (auto _ : state)
        levara::books::exportWorkbook(output, temp, text, destination);
    state.counters["stations"] = kStations;
    state.counters["bytes"] = static_cast<double>(fs::file_size(destination));
}

void BM_BffbBookExport(benchmark::State& state) { exportLine(state, WorkbookKind::BffbBook, false); }
void BM_TwoWayBookExport(benchmark::State& state) { exportLine(state, WorkbookKind::AbffbTwoWayBook, true); }

void BM_BffbBookFillOnly(benchmark::State& state)
{
    const levara::TextLines lines = levara::TextLines::fromText(surveyedLine(false));
    for (auto _ : state) {
        levara::xls::Workbook book = levara::xls::Workbook::create({"Sheet1"});
        levara::books::writeLineBook(book.sheet(0), lines, levara::leveling::ObservationOrder::BFFB);
        benchmark::DoNotOptimize(book.sheet(0).lastRow());
    }
}

BENCHMARK(BM_BffbBookExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoWayBookExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BffbBookFillOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
