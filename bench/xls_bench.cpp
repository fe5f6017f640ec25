// The workbook engine on the field books' heaviest job: three-row station blocks
// (values, a merged station number, bordered blocks) written into a copy of a small
// template and saved. Reported per block, so growth with the sheet's size shows as a
// rising time per block between 5,000 and 20,000 blocks; peak_MB is the process's
// peak resident memory (getrusage).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <string>

#include "xls/xls.h"

namespace {

using namespace levara::xls;

// A heading in rows 1-5, column widths and formats, as the templates have.
const std::string& templateBytes()
{
    static const std::string bytes = [] {
        Workbook book = Workbook::create({"Sheet1"});
        Worksheet& sheet = book.sheet(0);
        CellStyle heading;
        heading.font.bold = true;
        heading.horizontal = HorizontalAlignment::Center;
        heading.thinBorders = true;
        const StyleId headingStyle = book.addStyle(heading);
        CellStyle reading;
        reading.numberFormat = "0.00000";
        reading.horizontal = HorizontalAlignment::Center;
        sheet.setColumns(1, 10, 10, book.addStyle(reading));
        sheet.merge({1, 1, 1, 10});
        sheet.setText(1, 1, "水准测量手簿");
        for (int column = 1; column <= 10; ++column) {
            sheet.setText(4, column, "列" + std::to_string(column));
            sheet.setStyle(4, column, headingStyle);
        }
        return book.toBytes();
    }();
    return bytes;
}

void writeStation(Worksheet& sheet, int back, int k)
{
    const int fore = back + 1, result = back + 2;
    sheet.setNumber(back, 1, k);
    sheet.setText(back, 2, "BM" + std::to_string(k));
    sheet.setNumber(back, 3, 35.2 + k % 7);
    sheet.setNumber(back, 5, 1.41230 + (k % 13) * 0.001);
    sheet.setText(fore, 2, "TP" + std::to_string(k));
    sheet.setNumber(fore, 3, 34.9);
    sheet.setNumber(fore, 5, 1.20345 + (k % 11) * 0.001);
    sheet.setNumber(fore, 4, 34.8);
    sheet.setNumber(fore, 6, 6.01234);
    sheet.setNumber(back, 4, 35.1);
    sheet.setNumber(back, 6, 6.21345);
    sheet.setNumber(result, 3, 0.3);
    sheet.setNumber(result, 4, 0.3 * k);
    sheet.setNumber(result, 5, 0.20885);
    sheet.setNumber(result, 8, 0.20887);
    sheet.setNumber(result, 9, 70.0);
    sheet.merge({back, 1, result, 1});
    sheet.setThinBorders({back, 1, result, 1});
    sheet.setThinBorders({back, 2, result, 10});
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_StationBlocks(benchmark::State& state)
{
    const int blocks = int(state.range(0));
    std::size_t size = 0;
    for (auto _ : state) {
        Workbook book = Workbook::fromBytes(templateBytes());
        Worksheet& sheet = book.sheet(0);
        for (int k = 1; k <= blocks; ++k)
            writeStation(sheet, 3 * k + 3, k);
        const std::string file = book.toBytes();
        size = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["ns_per_block"] =
        benchmark::Counter(double(blocks), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["file_MB"] = double(size) / 1e6;
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_StationBlocks)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// Reading a filled sheet back, as the pipeline's checks and a reopened file do.
void BM_OpenFilled(benchmark::State& state)
{
    Workbook book = Workbook::fromBytes(templateBytes());
    for (int k = 1; k <= int(state.range(0)); ++k)
        writeStation(book.sheet(0), 3 * k + 3, k);
    const std::string file = book.toBytes();
    for (auto _ : state) {
        Workbook opened = Workbook::fromBytes(file);
        benchmark::DoNotOptimize(opened.sheet(0).lastRow());
    }
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_OpenFilled)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
