// The checks of a 21,842-station BFFB line (the most a field book holds) against 二等:
// its sections read as the books read them and every limit checked. And the same
// stations as 1,000 sections: forward/return pairs along a route, every fifth pair's
// return replaced by a line that closes a loop, so that the pairs, routes, loops and
// the precision assessment are all computed.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "bench/raw_line_generator.h"
#include "books/books.h"
#include "leveling/leveling.h"
#include "records/records.h"

namespace {

constexpr int kStations = 21842;
constexpr int kSections = 1000;

std::string padded(const std::string& name) { return std::string(9 - name.size(), ' ') + name; }

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

std::string surveyedSections()
{
    std::string raw;
    for (int k = 0; k < kSections; ++k) {
        const int stations = kStations / kSections + (k < kStations % kSections ? 1 : 0);
        const int j = k / 2;
        std::string from = "P" + std::to_string(j), to = "P" + std::to_string(j + 1);
        if (k % 2 == 1)
            std::swap(from, to);
        if (k % 10 == 9)
            to = "P" + std::to_string(j - 3);
        std::string line = levara::bench::rawLevelingLine(stations, levara::bench::ObservationOrder::BFFB,
                                                          std::uint64_t(k + 1), "T" + std::to_string(k) + "_");
        raw += replaced(replaced(line, padded("BM1"), padded(from)), padded("BM2"), padded(to));
    }
    return levara::filterLines(levara::RecordFilter::Leveling, levara::TextLines::fromText(raw));
}

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

void BM_CheckSections(benchmark::State& state)
{
    const levara::TextLines lines = levara::TextLines::fromText(surveyedSections());
    const levara::leveling::Standard standard =
        levara::leveling::chooseStandard(levara::leveling::builtinLimits(2), false);
    levara::leveling::CheckReport report;
    for (auto _ : state) {
        report = levara::leveling::checkSections(levara::leveling::readSections(lines), standard);
        benchmark::DoNotOptimize(report.findings.size());
    }
    state.counters["stations"] = report.stations;
    state.counters["sections"] = report.sections;
    state.counters["findings"] = double(report.findings.size());
    state.counters["pairs"] = double(report.precision.pairs.size());
    state.counters["loops"] = double(report.precision.loops.size());
}

BENCHMARK(BM_CheckSections)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
