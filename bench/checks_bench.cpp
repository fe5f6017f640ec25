// The checks of a 21,842-station BFFB line (the most a field book holds) against 二等:
// its sections read as the books read them and every limit checked.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "books/books.h"
#include "records/records.h"

namespace {

constexpr int kStations = 21842;

std::string rightAligned(const std::string& text, std::size_t width)
{
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string number(double value, int decimals)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::string readingLine(int address, const std::string& point, const char* tag, double reading, double distance)
{
    return "For M5|Adr" + rightAligned(std::to_string(address), 6) + "|KD1" + rightAligned(point, 9) +
           "      10:21:402   1|" + tag + rightAligned(number(reading, 5), 15) + " m   |HD" +
           rightAligned(number(distance, 3), 15) + " m   |                      | \r\n";
}

// A surveyed line whose sights, d and Σd often pass 二等's limits and whose every
// 101st station's height differences differ too much: the checks list findings as
// well as compute.
std::string surveyedLine()
{
    int address = 1;
    std::string text = "For M5|Adr     1|TO  Start-Line       BFFB     1|" + std::string(22, ' ') + "|" +
                       std::string(22, ' ') + "|" + std::string(22, ' ') + "| \r\n";
    for (int k = 1; k <= kStations; ++k) {
        const std::string back = k == 1 ? "BM1" : "TP" + std::to_string(k - 1), fore = "TP" + std::to_string(k);
        const double b = 1.2 + (k % 17) * 0.05, f = 1.1 + (k % 13) * 0.06;
        const double db = 30.0 + k % 11 * 2.1, df = 29.5 + k % 7 * 2.3;
        text += readingLine(++address, back, "Rb", b, db);
        text += readingLine(++address, fore, "Rf", f, df);
        text += readingLine(++address, fore, "Rf", f + 0.00002, df + 0.02);
        text += readingLine(++address, back, "Rb", b + 0.00004 + (k % 101 == 0) * 0.001, db + 0.02);
    }
    return text + "For M5|Adr" + rightAligned(std::to_string(++address), 6) + "|TO  End-Line                  1|" +
           std::string(22, ' ') + "|" + std::string(22, ' ') + "|" + std::string(22, ' ') + "| \r\n";
}

void BM_CheckLine(benchmark::State& state)
{
    const levara::TextLines lines = levara::TextLines::fromText(surveyedLine());
    const levara::books::Standard standard = levara::books::chooseStandard(levara::books::builtinLimits(2), false);
    std::size_t findings = 0;
    for (auto _ : state) {
        const levara::books::CheckReport report =
            levara::books::checkSections(levara::books::readSections(lines), standard);
        findings = report.findings.size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["stations"] = kStations;
    state.counters["findings"] = double(findings);
}

BENCHMARK(BM_CheckLine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
