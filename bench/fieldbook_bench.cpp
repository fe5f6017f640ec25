// The line field books for a line of 5,000 stations: from the text to the saved
// workbook, and the filling of a worksheet held in memory alone.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/program_folder.h"
#include "books/books.h"
#include "records/records.h"
#include "xls/xls.h"

namespace {

namespace fs = std::filesystem;
using levara::books::Output;

constexpr int kStations = 5000;

std::string rightAligned(const std::string& text, std::size_t width)
{
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.5f", value);
    return buffer;
}

std::string readingLine(int address, const std::string& point, const char* tag, double reading, double distance)
{
    return "For M5|Adr" + rightAligned(std::to_string(address), 6) + "|KD1" + rightAligned(point, 9) +
           "      10:21:402   1|" + tag + rightAligned(number(reading), 15) + " m   |HD" +
           rightAligned(number(distance).substr(0, 6), 15) + " m   |                      | \r\n";
}

std::string heightLine(int address, const std::string& point, double height)
{
    return "For M5|Adr" + rightAligned(std::to_string(address), 6) + "|KD1" + rightAligned(point, 9) +
           "      10:22:10    1|                      |                      |Z" + rightAligned(number(height), 16) +
           " m   | \r\n";
}

// A line of stations as the leveling filter leaves it; every second station is
// observed fore first when alternating.
std::string surveyedLine(bool alternating)
{
    int address = 1;
    std::string text = "For M5|Adr     1|TO  Start-Line      BFFB     1|" + std::string(22, ' ') + "|" +
                       std::string(22, ' ') + "|" + std::string(22, ' ') + "| \r\n";
    text += heightLine(++address, "BM1", 100.0);
    double height = 100.0;
    for (int k = 1; k <= kStations; ++k) {
        const std::string back = k == 1 ? "BM1" : "TP" + std::to_string(k - 1), fore = "TP" + std::to_string(k);
        const double b = 1.2 + (k % 17) * 0.05, f = 1.1 + (k % 13) * 0.06;
        const double db = 30.0 + k % 11, df = 29.5 + k % 7;
        if (alternating && k % 2 == 0) {
            text += readingLine(++address, fore, "Rf", f, df);
            text += readingLine(++address, back, "Rb", b, db);
            text += readingLine(++address, back, "Rb", b + 0.00004, db + 0.02);
            text += readingLine(++address, fore, "Rf", f + 0.00002, df + 0.02);
        } else {
            text += readingLine(++address, back, "Rb", b, db);
            text += readingLine(++address, fore, "Rf", f, df);
            text += readingLine(++address, fore, "Rf", f + 0.00002, df + 0.02);
            text += readingLine(++address, back, "Rb", b + 0.00004, db + 0.02);
        }
        height += b - f;
        text += heightLine(++address, fore, height);
    }
    return text;
}

using levara::bench::ProgramFolder;

void exportLine(benchmark::State& state, Output output, bool alternating)
{
    const std::string text = surveyedLine(alternating);
    const ProgramFolder folder;
    const levara::TempFolder temp(folder.dir());
    const fs::path destination = folder.dir() / "book.xls";
    for (auto _ : state)
        levara::books::exportWorkbook(output, temp, text, destination);
    state.counters["stations"] = kStations;
    state.counters["bytes"] = static_cast<double>(fs::file_size(destination));
}

void BM_BffbBookExport(benchmark::State& state) { exportLine(state, Output::BffbBook, false); }
void BM_TwoWayBookExport(benchmark::State& state) { exportLine(state, Output::AbffbTwoWayBook, true); }

void BM_BffbBookFillOnly(benchmark::State& state)
{
    const levara::TextLines lines = levara::TextLines::fromText(surveyedLine(false));
    for (auto _ : state) {
        levara::xls::Workbook book = levara::xls::Workbook::create({"Sheet1"});
        levara::books::writeLineBook(book.sheet(0), lines, levara::books::StationOrder::BFFB);
        benchmark::DoNotOptimize(book.sheet(0).lastRow());
    }
}

BENCHMARK(BM_BffbBookExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoWayBookExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BffbBookFillOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
