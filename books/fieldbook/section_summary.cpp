#include "books/fieldbook/section_summary.h"

#include "books/sheet_cells.h"

#include <charconv>
#include <string>
#include <vector>

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

// A distance total in kilometres to the summary's five decimals (0.01 m), half to even.
double kilometres(double metres)
{
    constexpr leveling::Micrometres kUnit = 10 * leveling::kMillimetre;
    return double(leveling::roundedTo(leveling::micrometresOf(metres), kUnit)) / 1e9;
}

// A value of the check rows, exact: with at least minDecimals, more where it has them.
// Written into a buffer: a book has check rows on every page.
std::string checkNumber(leveling::Micrometres value, int minDecimals)
{
    const leveling::Micrometres magnitude = value < 0 ? -value : value;
    leveling::Micrometres fraction = magnitude % leveling::kMicrometresPerMetre;
    int decimals = 6;
    while (decimals > minDecimals && fraction % 10 == 0) {
        fraction /= 10;
        --decimals;
    }
    char buffer[32];
    char* end = buffer;
    if (value < 0)
        *end++ = '-';
    end = std::to_chars(end, buffer + sizeof buffer, magnitude / leveling::kMicrometresPerMetre).ptr;
    if (decimals > 0) {
        *end++ = '.';
        for (int digit = decimals - 1; digit >= 0; --digit, fraction /= 10)
            end[digit] = char('0' + fraction % 10);
        end += decimals;
    }
    return std::string(buffer, end);
}

// An operand: a negative one in brackets.
std::string operand(leveling::Micrometres value, int minDecimals)
{
    return value < 0 ? "(" + checkNumber(value, minDecimals) + ")" : checkNumber(value, minDecimals);
}

// " = label" where the identity's side equals the printed total it stands for; else
// "，label = value，修约差 = r mm", r being what the rounding of the printed values left.
std::string against(leveling::Micrometres side, std::string_view label, leveling::Micrometres value, int decimals)
{
    if (side == value)
        return " = " + std::string(label);
    return "，" + std::string(label) + " = " + checkNumber(value, decimals) +
           "，修约差 = " + checkNumber((side - value) * leveling::kMillimetre, 2) + " mm";
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
    putTotal(sheet, backSums, kValue, kilometres(totals.sums.backDistance), kKilometreFormat);
    putTotal(sheet, foreSums, kValue, kilometres(totals.sums.foreDistance), kKilometreFormat);
    putTotal(sheet, end, kSecondValue, totals.distanceDifferenceSum, kDistanceFormat);
    putTotal(sheet, backSums, kSecondValue, totals.sums.heightDifference, kHeightFormat);
    putTotal(sheet, foreSums, kSecondValue, kilometres(totals.sums.sightLength), kKilometreFormat);
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

int checkRowCount(bool twice) { return twice ? kMostCheckRows : 3; }

CheckTotals checkTotals(const SummaryTotals& totals, bool twice)
{
    return {totals.sums, totals.distanceDifferenceSum, twice};
}

void addSums(leveling::StationSums& to, const leveling::StationSums& from)
{
    to.backDistance += from.backDistance;
    to.foreDistance += from.foreDistance;
    to.heightDifference += from.heightDifference;
    to.heightDifference1 += from.heightDifference1;
    to.heightDifference2 += from.heightDifference2;
    to.sightLength += from.sightLength;
    to.backReadings += from.backReadings;
    to.foreReadings += from.foreReadings;
}

int writeCheckRows(xls::Worksheet& sheet, int row, const CheckTotals& totals, int lastColumn,
                   const CheckWording& wording)
{
    // The record forms' 检查计算 (GB/T 12898-2009, 附录 四等水准观测手簿, each page:
    // Σ(3)+Σ(8) − Σ(6)−Σ(7) = Σ(15)+Σ(16) = 2Σ(18); Σ(9) − Σ(10) = the last (12);
    // 总视距 = Σ(9) + Σ(10)), as quoted at https://www.xiaomilidoc.com/p-11869615.html.
    // The printed values are rounded half to even (d, the sight lengths, the means), so
    // each side may differ from the other by what the rounding left: printed as 修约差,
    // with which each row holds exactly.
    using leveling::micrometresOf;
    const leveling::StationSums& s = totals.sums;
    const leveling::Micrometres back = micrometresOf(s.backReadings), fore = micrometresOf(s.foreReadings),
                                h1 = micrometresOf(s.heightDifference1), h2 = micrometresOf(s.heightDifference2),
                                mean = micrometresOf(s.heightDifference), backDistance = micrometresOf(s.backDistance),
                                foreDistance = micrometresOf(s.foreDistance);
    const leveling::Micrometres sight = micrometresOf(s.sightLength),
                                lastSum = micrometresOf(totals.lastDistanceDifferenceSum);
    std::vector<std::string> rows;
    const std::string readings =
        "Σ后视 - Σ前视 = " + operand(back, 5) + " - " + operand(fore, 5) + " = " + checkNumber(back - fore, 5);
    if (totals.twice) {
        rows.push_back("Σh1 + Σh2 = " + operand(h1, 5) + " + " + operand(h2, 5) + " = " + checkNumber(h1 + h2, 5));
        rows.push_back(readings + against(back - fore, "Σh1 + Σh2", h1 + h2, 5));
        rows.push_back("2Σh中数 = 2 × " + operand(mean, 5) + " = " + checkNumber(2 * mean, 5) +
                       against(2 * mean, "Σh1 + Σh2", h1 + h2, 5));
    } else {
        rows.push_back(readings + against(back - fore, "Σh", mean, 5));
    }
    rows.push_back("Σ后距 - Σ前距 = " + operand(backDistance, 3) + " - " + operand(foreDistance, 3) + " = " +
                   checkNumber(backDistance - foreDistance, 3) +
                   against(backDistance - foreDistance, wording.distanceDifference, lastSum, 3));
    rows.push_back("Σ后距 + Σ前距 = " + checkNumber(backDistance + foreDistance, 3) +
                   against(backDistance + foreDistance, wording.sightLength, sight, 3));

    const int first = row, last = row + int(rows.size()) - 1;
    sheet.merge({first, kSummaryTitle, last, kSummaryTitle});
    sheet.setText(first, kSummaryTitle, wording.title);
    sheet.setThinBorders({first, kSummaryTitle, last, kSummaryTitle});
    for (const std::string& text : rows) {
        sheet.merge({row, kLabel, row, lastColumn});
        sheet.setText(row, kLabel, text);
        ++row;
    }
    sheet.setThinBorders({first, kLabel, last, lastColumn});
    return row;
}

namespace {

// The rows of a line's summary above its check rows.
int lineTotalsRows(const LineSummary& summary)
{
    return kTotalsRows + 1 + (summary.pair ? 1 : 0) + int(summary.findings.size());
}

}  // namespace

int lineSummaryRows(const LineSummary& summary, bool twice) { return lineTotalsRows(summary) + checkRowCount(twice); }

int writeLineSummary(xls::Worksheet& sheet, int firstRow, const LineSummary& summary, const SummaryLayout& layout)
{
    const int lastRow = firstRow + lineTotalsRows(summary) - 1;
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
    return writeCheckRows(sheet, lastRow + 1, checkTotals(summary.totals, layout.twice), layout.lastBorderedColumn);
}

int bookSummaryRows(std::size_t findings, bool twice) { return kTotalsRows + int(findings) + checkRowCount(twice) + 1; }

int writeBookSummary(xls::Worksheet& sheet, int firstRow, std::string_view title, const SummaryTotals& totals,
                     const std::vector<std::string>& findings, const SummaryLayout& layout)
{
    const int lastRow = firstRow + kTotalsRows + int(findings.size()) - 1;
    writeTitle(sheet, firstRow, lastRow, title);
    writeTotalsLabels(sheet, firstRow, layout);
    writeFindings(sheet, firstRow + kTotalsRows, findings, layout);
    sheet.setThinBorders({firstRow, kLabel, lastRow, layout.lastBorderedColumn});
    const int signOff =
        writeCheckRows(sheet, lastRow + 1, checkTotals(totals, layout.twice), layout.lastBorderedColumn);

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
