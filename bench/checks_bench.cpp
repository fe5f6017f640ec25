// The checks of a 21,842-station BFFB line (the most a field book holds) against 二等:
// its sections read as the books read them and every limit checked.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/raw_line_generator.h"
#include "books/books.h"
#include "leveling/leveling.h"
#include "records/records.h"

namespace {

constexpr int kStations = 21842;

// The line as the leveling filter leaves it.
std::string surveyedLine()
{
    const std::string raw = levara::bench::rawLevelingLine(kStations, levara::bench::ObservationOrder::BFFB, 1);
    return levara::filterLines(levara::RecordFilter::Leveling, levara::TextLines::fromText(raw));
}

void BM_CheckLine(benchmark::State& state)
{
    const levara::TextLines lines = levara::TextLines::fromText(surveyedLine());
    const levara::leveling::Standard standard =
        levara::leveling::chooseStandard(levara::leveling::builtinLimits(2), false);
    std::size_t findings = 0;
    for (auto _ : state) {
        const levara::leveling::CheckReport report =
            levara::leveling::checkSections(levara::leveling::readSections(lines), standard);
        findings = report.findings.size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["stations"] = kStations;
    state.counters["findings"] = double(findings);
}

BENCHMARK(BM_CheckLine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
