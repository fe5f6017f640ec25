#include "books/fieldbook/station_block.h"

#include <string>
#include <vector>

#include "books/page_breaks.h"
#include "records/records.h"

namespace levara::books {

namespace {

// Columns of a station block. The back and fore rows hold each staff's point,
// distances and readings; the result row below them what both staffs give.
constexpr int kStationNumber = 1;
constexpr int kPoint = 2;
constexpr int kFirstDistance = 3;
constexpr int kSecondDistance = 4;
constexpr int kFirstReading = 5;
constexpr int kSecondReading = 6;
constexpr int kReadingDifference = 7;  // first less second, in millimetres
constexpr int kMeanHeightDifference = 8;
constexpr int kSightLength = 9;
constexpr int kRemark = 10;  // the observation order on the back row; the other rows stay free
constexpr int kLastBookColumn = 10;
// The result row reuses the distance and reading columns.
constexpr int kDistanceDifference = kFirstDistance;
constexpr int kDistanceDifferenceSum = kSecondDistance;
constexpr int kFirstHeightDifference = kFirstReading;
constexpr int kSecondHeightDifference = kSecondReading;

// Columns of the section summary: two label, value and unit triples side by side,
// under the title in column 1.
constexpr int kSummaryTitle = 1;
constexpr int kLabel = 2;
constexpr int kValue = 3;
constexpr int kUnit = 4;
constexpr int kSecondLabel = 5;
constexpr int kSecondValue = 6;
constexpr int kSecondUnit = 7;
constexpr int kSigner = 1;  // merged up to the layout's signerLastColumn

const SummaryLayout kLineBookSummary = {"累计视距差", 10, 3, 5, 6, 7, 8};

void copyValue(xls::Worksheet& sheet, int row, int column, const xls::Value& value)
{
    if (const double* number = std::get_if<double>(&value))
        sheet.setNumber(row, column, *number);
    else if (const std::string* text = std::get_if<std::string>(&value))
        sheet.setText(row, column, *text);
}

// A point name is an identifier: "0012" and "1E3" stay as written.
void enterReading(xls::Worksheet& sheet, int row, const leveling::StaffReading& reading, int distanceColumn,
                  int readingColumn)
{
    sheet.setText(row, kPoint, reading.point);
    enter(sheet, row, distanceColumn, reading.distance);
    enter(sheet, row, readingColumn, reading.reading);
}

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
std::string checkNumber(leveling::Micrometres value, int minDecimals)
{
    const leveling::Micrometres magnitude = value < 0 ? -value : value;
    std::string fraction = std::to_string(magnitude % leveling::kMicrometresPerMetre);
    fraction.insert(0, 6 - fraction.size(), '0');
    while (int(fraction.size()) > minDecimals && fraction.back() == '0')
        fraction.pop_back();
    return (value < 0 ? "-" : "") + std::to_string(magnitude / leveling::kMicrometresPerMetre) +
           (fraction.empty() ? "" : "." + fraction);
}

// An operand: a negative one in brackets.
std::string operand(leveling::Micrometres value, int minDecimals)
{
    return value < 0 ? "(" + checkNumber(value, minDecimals) + ")" : checkNumber(value, minDecimals);
}

// " = label" where the identity's side equals the printed total it stands for; else
// "，label = value，修约差 = r mm", r being what the rounding of the printed values left.
std::string against(leveling::Micrometres side, const char* label, leveling::Micrometres value, int decimals)
{
    if (side == value)
        return std::string(" = ") + label;
    return std::string("，") + label + " = " + checkNumber(value, decimals) +
           "，修约差 = " + checkNumber((side - value) * leveling::kMillimetre, 2) + " mm";
}

// Red values and the remark naming them. The remark goes on the back row, or below
// the order mark of the books that alternate.
void markStation(xls::Worksheet& sheet, int rowBase, const leveling::StationReadings& s, const BookMarks& marks)
{
    const int back = rowBase + 5, fore = rowBase + 6, result = rowBase + 7;
    struct Marked {
        const leveling::StaffReading& reading;
        int row, distanceColumn, readingColumn;
    };
    unsigned all = 0;
    for (const Marked& m :
         {Marked{s.back1, back, kFirstDistance, kFirstReading}, Marked{s.back2, back, kSecondDistance, kSecondReading},
          Marked{s.fore1, fore, kFirstDistance, kFirstReading},
          Marked{s.fore2, fore, kSecondDistance, kSecondReading}}) {
        const unsigned exceeded = marks.at(m.reading.line);
        markCell(sheet, m.row, m.distanceColumn, exceeded & kSightLengthExceeded);
        markCell(sheet, m.row, m.readingColumn, exceeded & kStaffReadingExceeded);
        all |= exceeded;
    }
    const unsigned station = marks.at(s.firstLine());
    markCell(sheet, result, kDistanceDifference, station & kDistanceDifferenceExceeded);
    markCell(sheet, result, kDistanceDifferenceSum, station & kDistanceDifferenceSumExceeded);
    markCell(sheet, result, kReadingDifference, station & kHeightDifferencesDifferExceeded);
    all |= station;
    if (all)
        sheet.setText(s.order.empty() ? back : fore, kRemark, exceedanceRemark(all));
}

// The station's block on rows rowBase+5 to rowBase+7: readings, computed values,
// merge and borders.
void writeStationBlock(xls::Worksheet& sheet, int rowBase, const leveling::Station& station, const BookMarks* marks)
{
    const int back = rowBase + 5, fore = rowBase + 6, result = rowBase + 7;
    const leveling::StationReadings& s = station.readings;
    sheet.setNumber(back, kStationNumber, station.number);

    // Second readings overwrite the first's point names: the rows end up with B2's and F2's.
    enterReading(sheet, back, s.back1, kFirstDistance, kFirstReading);
    enterReading(sheet, fore, s.fore1, kFirstDistance, kFirstReading);
    enterReading(sheet, fore, s.fore2, kSecondDistance, kSecondReading);
    enterReading(sheet, back, s.back2, kSecondDistance, kSecondReading);

    putComputed(sheet, result, kDistanceDifference, station.distanceDifference);
    putComputed(sheet, result, kDistanceDifferenceSum, station.distanceDifferenceSum);
    putComputed(sheet, result, kFirstHeightDifference, station.heightDifference1);
    putComputed(sheet, result, kSecondHeightDifference, station.heightDifference2);
    putComputed(sheet, back, kReadingDifference, station.backReadingsDiffer);
    putComputed(sheet, fore, kReadingDifference, station.foreReadingsDiffer);
    putComputed(sheet, result, kReadingDifference, station.heightDifferencesDiffer);
    putComputed(sheet, result, kMeanHeightDifference, station.meanHeightDifference);
    putComputed(sheet, result, kSightLength, station.sightLength);
    if (!s.order.empty())
        sheet.setText(back, kRemark, s.order);

    sheet.merge({back, kStationNumber, result, kStationNumber});
    sheet.setThinBorders({back, kStationNumber, result, kStationNumber});
    sheet.setThinBorders({back, kPoint, result, kLastBookColumn});
    if (marks)
        markStation(sheet, rowBase, s, *marks);
}

}  // namespace

CheckTotals checkTotals(std::span<const leveling::Station> stations, bool twice)
{
    return {leveling::stationSums(stations), stations.empty() ? 0 : stations.back().distanceDifferenceSum, twice};
}

int writeCheckRows(xls::Worksheet& sheet, int row, const CheckTotals& totals, int lastColumn)
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
                   against(backDistance - foreDistance, "Σd", lastSum, 3));
    rows.push_back("Σ后距 + Σ前距 = " + checkNumber(backDistance + foreDistance, 3) +
                   against(backDistance + foreDistance, "总视距", sight, 3));

    const int first = row, last = row + int(rows.size()) - 1;
    sheet.merge({first, kSummaryTitle, last, kSummaryTitle});
    sheet.setText(first, kSummaryTitle, "检查计算");
    sheet.setThinBorders({first, kSummaryTitle, last, kSummaryTitle});
    for (const std::string& text : rows) {
        sheet.merge({row, kLabel, row, lastColumn});
        sheet.setText(row, kLabel, text);
        ++row;
    }
    sheet.setThinBorders({first, kLabel, last, lastColumn});
    return row;
}

int writeSectionSummary(xls::Worksheet& sheet, int rowBase, std::span<const leveling::Station> stations,
                        const SummaryLayout& layout, bool twice)
{
    const int start = rowBase + 5, end = rowBase + 6, backSums = rowBase + 7, foreSums = rowBase + 8;
    const CheckTotals totals = checkTotals(stations, twice);
    const int signOff = writeCheckRows(sheet, rowBase + 9, totals, layout.lastBorderedColumn);
    sheet.merge({start, kSummaryTitle, foreSums, kSummaryTitle});
    sheet.setText(start, kSummaryTitle, "测段计算");
    sheet.setThinBorders({start, kSummaryTitle, foreSums, kSummaryTitle});

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

    sheet.setThinBorders({start, kLabel, foreSums, layout.lastBorderedColumn});

    sheet.merge({signOff, kSigner, signOff, layout.signerLastColumn});
    sheet.setText(signOff, kSigner, "测量责任人：");
    sheet.merge({signOff, layout.mergedFirstColumn, signOff, layout.mergedLastColumn});
    // 观测者, 记簿者 and 检查者 sign a record form (GB/T 12898-2009, 附录 of the 水准观测
    // 记录手簿); the first two sign each page in the footer.
    sheet.setText(signOff, layout.checkerColumn, "检查者：");
    sheet.setText(signOff, layout.dateColumn, "日期：");

    // The first station's back point and the last one's fore point. Without a station,
    // those cells are the label just written and a heading cell.
    const int firstBackRow = 6, lastForeRow = rowBase + 3;
    if (!stations.empty()) {
        copyValue(sheet, start, kValue, sheet.value(firstBackRow, kPoint));
        copyValue(sheet, end, kValue, sheet.value(lastForeRow, kPoint));
    }
    const leveling::StationSums& sums = totals.sums;
    putTotal(sheet, backSums, kValue, kilometres(sums.backDistance), kKilometreFormat);
    putTotal(sheet, foreSums, kValue, kilometres(sums.foreDistance), kKilometreFormat);
    putTotal(sheet, end, kSecondValue, totals.lastDistanceDifferenceSum, kDistanceFormat);
    putTotal(sheet, backSums, kSecondValue, sums.heightDifference, kHeightFormat);
    putTotal(sheet, foreSums, kSecondValue, kilometres(sums.sightLength), kKilometreFormat);
    return signOff;
}

void keepBlocksOnPages(xls::Worksheet& sheet, int stationCount, int rowBase, int lastRow, int lastColumn)
{
    std::vector<int> starts;
    starts.reserve(std::size_t(stationCount) + 1);
    for (int k = 0; k < stationCount; ++k)
        starts.push_back(kFirstBlockRow + 3 * k);
    starts.push_back(rowBase + 5);  // the summary with its sign-off row
    keepUnitsOnPages(sheet, starts, lastRow, lastColumn);
}

void checkStationsFit(std::span<const leveling::StationReadings> stations, const char* book)
{
    if (stations.size() <= std::size_t(kMaxStations))
        return;
    const leveling::StationReadings& first = stations[std::size_t(kMaxStations)];
    int opening = first.firstLine();
    if (book == leveling::kReturnBook)
        for (const leveling::StaffReading* reading : {&first.back1, &first.back2, &first.fore1, &first.fore2})
            opening = std::max(opening, reading->line);
    const leveling::StationName name{book, kMaxStations + 1, opening, nullptr};
    throw leveling::stationError(opening, name,
                                 Message(QT_TRANSLATE_NOOP("levara",
                                                           "too many stations for one worksheet: a book holds at most "
                                                           "%1 stations, so that its summary ends by row %2"),
                                         kMaxStations, xls::kMaxRows));
}

void markCell(xls::Worksheet& sheet, int row, int column, bool marked)
{
    if (marked)
        sheet.setFontColour({row, column, row, column}, xls::kRedFontColour);
}

void writeFourReadingBook(xls::Worksheet& sheet, std::span<const leveling::Station> stations, const BookMarks* marks)
{
    int rowBase = 1;
    for (const leveling::Station& station : stations) {
        writeStationBlock(sheet, rowBase, station, marks);
        rowBase += 3;
    }
    const int lastRow = writeSectionSummary(sheet, rowBase, stations, kLineBookSummary, true);
    keepBlocksOnPages(sheet, int(stations.size()), rowBase, lastRow, kLastBookColumn);
}

}  // namespace levara::books
