// The point tables for 20,000 points, from the text to the saved workbook.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/program_folder.h"
#include "bench/raw_line_generator.h"
#include "books/books.h"
#include "records/records.h"

namespace {

namespace fs = std::filesystem;
using levara::books::WorkbookKind;

constexpr int kPoints = 20000;

// A benchmark, then set-ups of ten intermediate sights each, the next set-up standing
// on the last of them; and single readings. Each as its filter leaves it.
std::string intermediateSurvey()
{
    return levara::filterLines(levara::RecordFilter::IntermediateSights,
                               levara::TextLines::fromText(levara::bench::rawIntermediateSurvey(kPoints, 1)));
}

std::string singlePoints()
{
    return levara::filterLines(levara::RecordFilter::SinglePoints,
                               levara::TextLines::fromText(levara::bench::rawSinglePoints(kPoints, 1)));
}

using levara::bench::ProgramFolder;

void run(benchmark::State& state, WorkbookKind output, const std::string& text)
{
    const ProgramFolder folder;
    const levara::WorkFolderPaths temp(folder.dir());
    const fs::path destination = folder.dir() / "table.xls";
    for (auto _ : state)
        levara::books::exportWorkbook(output, temp, text, destination);
    state.counters["points"] = kPoints;
    state.counters["bytes"] = static_cast<double>(fs::file_size(destination));
}

void BM_IntermediateTable(benchmark::State& state)
{
    run(state, WorkbookKind::IntermediateTable, intermediateSurvey());
}
void BM_SinglePointTable(benchmark::State& state) { run(state, WorkbookKind::SinglePointTable, singlePoints()); }

BENCHMARK(BM_IntermediateTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SinglePointTable)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
