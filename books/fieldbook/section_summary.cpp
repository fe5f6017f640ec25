#include "books/fieldbook/section_summary.h"

#include "books/sheet_cells.h"

namespace levara::books {

namespace {

// Columns of a summary: two label, value and unit triples side by side, under the
// title in column 1.
constexpr int kSummaryTitle = 1;
constexpr int kLabel = 2;
constexpr int kValue = 3;
constexpr int kUnit = 4;
constexpr int kSecondLabel = 5;
constexpr int kSecondValue = 6;
constexpr int kSecondUnit = 7;
constexpr int kSigner = 1;  // merged up to the layout's signerLastColumn

constexpr int kTotalsRows = 4;
constexpr std::string_view kCountFormat = "0";

// A summary value with the decimals of its unit.
void putTotal(xls::Worksheet& sheet, int row, int column, double value, std::string_view format)
{
    putComputed(sheet, row, column, value);
    sheet.setNumberFormat({row, column, row, column}, format);
}

void writeTitle(xls::Worksheet& sheet, int firstRow, int lastRow, std::string_view title)
{
    sheet.merge({firstRow, kSummaryTitle, lastRow, kSummaryTitle});
    sheet.setText(firstRow, kSummaryTitle, title);
    sheet.setThinBorders({firstRow, kSummaryTitle, lastRow, kSummaryTitle});
}

// The labels and units of the totals' four rows from row `start`.
void writeTotalsLabels(xls::Worksheet& sheet, int start, const SummaryLayout& layout)
{
    const int end = start + 1, backSums = start + 2, foreSums = start + 3;
    sheet.setText(start, kLabel, "测段起点");
    sheet.setText(end, kLabel, "测段终点");
    sheet.setText(backSums, kLabel, "累计后距");
    sheet.setText(foreSums, kLabel, "累计前距");
    sheet.setText(backSums, kUnit, "km");
    sheet.setText(foreSums, kUnit, "km");
    sheet.setText(end, kSecondLabel, layout.distanceDifferenceLabel);
    sheet.setText(backSums, kSecondLabel, "累计高差");
    sheet.setText(foreSums, kSecondLabel, "测段距离");
    sheet.setText(end, kSecondUnit, "m");
    sheet.setText(backSums, kSecondUnit, "m");
    sheet.setText(foreSums, kSecondUnit, "km");
}

void writeTotalsValues(xls::Worksheet& sheet, int start, const SummaryTotals& totals)
{
    const int end = start + 1, backSums = start + 2, foreSums = start + 3;
    if (!totals.startPoint.empty())
        sheet.setText(start, kValue, totals.startPoint);
    if (!totals.endPoint.empty())
        sheet.setText(end, kValue, totals.endPoint);
    putTotal(sheet, backSums, kValue, totals.sums.backDistance / leveling::kMetresPerKilometre, kKilometreFormat);
    putTotal(sheet, foreSums, kValue, totals.sums.foreDistance / leveling::kMetresPerKilometre, kKilometreFormat);
    putTotal(sheet, end, kSecondValue, totals.distanceDifferenceSum, kDistanceFormat);
    putTotal(sheet, backSums, kSecondValue, totals.sums.heightDifference, kHeightFormat);
    putTotal(sheet, foreSums, kSecondValue, totals.sums.sightLength / leveling::kMetresPerKilometre, kKilometreFormat);
}

// One row per finding from `row`: "检核" and the finding across the rest of the row.
void writeFindings(xls::Worksheet& sheet, int row, const std::vector<std::string>& findings,
                   const SummaryLayout& layout)
{
    for (std::size_t k = 0; k < findings.size(); ++k) {
        const int at = row + int(k);
        if (k == 0)
            sheet.setText(at, kLabel, "检核");
        sheet.merge({at, kValue, at, layout.lastBorderedColumn});
        sheet.setText(at, kValue, findings[k]);
    }
}

}  // namespace

SummaryTotals totalsOf(const leveling::Section& section)
{
    return {section.stations, section.startPoint, section.endPoint, leveling::stationSums(section.stations),
            section.stations.empty() ? 0 : section.stations.back().distanceDifferenceSum};
}

int lineSummaryRows(const LineSummary& summary)
{
    return kTotalsRows + 1 + (summary.pair ? 1 : 0) + int(summary.findings.size());
}

int writeLineSummary(xls::Worksheet& sheet, int firstRow, const LineSummary& summary, const SummaryLayout& layout)
{
    const int lastRow = firstRow + lineSummaryRows(summary) - 1;
    writeTitle(sheet, firstRow, lastRow, "测段计算");
    writeTotalsLabels(sheet, firstRow, layout);
    writeTotalsValues(sheet, firstRow, summary.totals);

    // Whether the count must be even is the standard's limit (leveling/profiles).
    sheet.setText(firstRow, kSecondLabel, "测站数");
    putTotal(sheet, firstRow, kSecondValue, summary.stations, kCountFormat);
    sheet.setText(firstRow, kSecondUnit, !summary.evenRequired ? "站" : summary.stations % 2 ? "站，奇数" : "站，偶数");

    const int heights = firstRow + kTotalsRows;
    sheet.setText(heights, kLabel, "起点高程");
    sheet.setText(heights, kUnit, "m");
    sheet.setText(heights, kSecondLabel, "终点高程");
    sheet.setText(heights, kSecondUnit, "m");
    if (summary.startHeight) {
        putTotal(sheet, heights, kValue, *summary.startHeight, kHeightFormat);
        putTotal(sheet, heights, kSecondValue, *summary.startHeight + summary.totals.sums.heightDifference,
                 kHeightFormat);
    }

    int row = heights + 1;
    if (summary.pair) {
        sheet.setText(row, kLabel, "往返较差");
        putTotal(sheet, row, kValue, summary.pair->valueMm, kMillimetreFormat);
        sheet.setText(row, kUnit, "mm");
        if (summary.pair->limitMm) {
            sheet.setText(row, kSecondLabel, "限差");
            putTotal(sheet, row, kSecondValue, *summary.pair->limitMm, kLimitFormat);
            sheet.setText(row, kSecondUnit, "mm");
        }
        ++row;
    }
    writeFindings(sheet, row, summary.findings, layout);
    sheet.setThinBorders({firstRow, kLabel, lastRow, layout.lastBorderedColumn});
    return lastRow + 1;
}

int bookSummaryRows(std::size_t findings) { return kTotalsRows + int(findings) + 1; }

int writeBookSummary(xls::Worksheet& sheet, int firstRow, std::string_view title, const SummaryTotals& totals,
                     const std::vector<std::string>& findings, const SummaryLayout& layout)
{
    const int lastRow = firstRow + kTotalsRows + int(findings.size()) - 1, signOff = lastRow + 1;
    writeTitle(sheet, firstRow, lastRow, title);
    writeTotalsLabels(sheet, firstRow, layout);
    writeFindings(sheet, firstRow + kTotalsRows, findings, layout);
    sheet.setThinBorders({firstRow, kLabel, lastRow, layout.lastBorderedColumn});

    sheet.merge({signOff, kSigner, signOff, layout.signerLastColumn});
    sheet.setText(signOff, kSigner, "测量责任人：");
    sheet.merge({signOff, layout.mergedFirstColumn, signOff, layout.mergedLastColumn});
    // 观测者, 记簿者 and 检查者 sign a record form (GB/T 12898-2009, 附录 of the 水准观测
    // 记录手簿); the first two sign each page in the footer.
    sheet.setText(signOff, layout.checkerColumn, "检查者：");
    sheet.setText(signOff, layout.dateColumn, "日期：");

    writeTotalsValues(sheet, firstRow, totals);
    return signOff;
}

}  // namespace levara::books
