#include "books/fieldbook/station_block.h"

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

// Red values and the remark naming them. The remark goes on the back row, or below
// the order mark of the books that alternate.
void markStation(xls::Worksheet& sheet, int n, const leveling::StationReadings& s, const BookMarks& marks)
{
    const int back = n + 5, fore = n + 6, result = n + 7;
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

// Station number k's block on rows n+5 to n+7: readings, computed values, merge and
// borders; adds the station to totals.
void writeStationBlock(xls::Worksheet& sheet, int n, int k, const leveling::StationReadings& s, SectionTotals& totals,
                       const BookMarks* marks)
{
    const int back = n + 5, fore = n + 6, result = n + 7;
    sheet.setNumber(back, kStationNumber, k);

    // Second readings overwrite the first's point names: the rows end up with B2's and F2's.
    enterReading(sheet, back, s.back1, kFirstDistance, kFirstReading);
    enterReading(sheet, fore, s.fore1, kFirstDistance, kFirstReading);
    enterReading(sheet, fore, s.fore2, kSecondDistance, kSecondReading);
    enterReading(sheet, back, s.back2, kSecondDistance, kSecondReading);

    const double meanBack = (leadingNumber(s.back1.distance) + leadingNumber(s.back2.distance)) / 2;
    const double meanFore = (leadingNumber(s.fore1.distance) + leadingNumber(s.fore2.distance)) / 2;
    putComputed(sheet, result, kDistanceDifference, meanBack - meanFore);
    totals.distanceDifferenceSum = (totals.distanceDifferenceSum + meanBack) - meanFore;
    putComputed(sheet, result, kDistanceDifferenceSum, totals.distanceDifferenceSum);

    // Read back from the cells: a value computes as it was stored.
    const auto at = [&](int row, int column) { return numberAt(sheet, row, column); };
    putComputed(sheet, result, kFirstHeightDifference, at(back, kFirstReading) - at(fore, kFirstReading));
    putComputed(sheet, result, kSecondHeightDifference, at(back, kSecondReading) - at(fore, kSecondReading));
    putComputed(sheet, back, kReadingDifference,
                (at(back, kFirstReading) - at(back, kSecondReading)) * leveling::kMillimetresPerMetre);
    putComputed(sheet, fore, kReadingDifference,
                (at(fore, kFirstReading) - at(fore, kSecondReading)) * leveling::kMillimetresPerMetre);
    putComputed(sheet, result, kReadingDifference,
                (at(result, kFirstHeightDifference) - at(result, kSecondHeightDifference)) *
                    leveling::kMillimetresPerMetre);
    putComputed(sheet, result, kMeanHeightDifference,
                (at(result, kFirstHeightDifference) + at(result, kSecondHeightDifference)) / 2);
    putComputed(sheet, result, kSightLength,
                (leadingNumber(s.back1.distance) + leadingNumber(s.back2.distance) + leadingNumber(s.fore1.distance) +
                 leadingNumber(s.fore2.distance)) /
                    2);
    if (!s.order.empty())
        sheet.setText(back, kRemark, s.order);

    sheet.merge({back, kStationNumber, result, kStationNumber});
    sheet.setThinBorders({back, kStationNumber, result, kStationNumber});
    sheet.setThinBorders({back, kPoint, result, kLastBookColumn});

    totals.backDistanceSum += (at(back, kFirstDistance) + at(back, kSecondDistance)) / 2;
    totals.foreDistanceSum += (at(fore, kFirstDistance) + at(fore, kSecondDistance)) / 2;
    totals.heightDifferenceSum += at(result, kMeanHeightDifference);
    totals.sightLengthSum += at(result, kSightLength);
    if (marks)
        markStation(sheet, n, s, *marks);
}

}  // namespace

void writeSectionSummary(xls::Worksheet& sheet, int n, int stationCount, const SectionTotals& totals,
                         const SummaryLayout& layout)
{
    const int start = n + 5, end = n + 6, backSums = n + 7, foreSums = n + 8, signOff = n + 9;

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
    const int firstBackRow = 6, lastForeRow = n + 3;
    if (stationCount > 0) {
        copyValue(sheet, start, kValue, sheet.value(firstBackRow, kPoint));
        copyValue(sheet, end, kValue, sheet.value(lastForeRow, kPoint));
    }
    putTotal(sheet, backSums, kValue, totals.backDistanceSum / leveling::kMetresPerKilometre, kKilometreFormat);
    putTotal(sheet, foreSums, kValue, totals.foreDistanceSum / leveling::kMetresPerKilometre, kKilometreFormat);
    putTotal(sheet, end, kSecondValue, totals.distanceDifferenceSum, kDistanceFormat);
    putTotal(sheet, backSums, kSecondValue, totals.heightDifferenceSum, kHeightFormat);
    putTotal(sheet, foreSums, kSecondValue, totals.sightLengthSum / leveling::kMetresPerKilometre, kKilometreFormat);
}

void keepBlocksOnPages(xls::Worksheet& sheet, int stationCount, int n, int lastColumn)
{
    std::vector<int> starts;
    starts.reserve(std::size_t(stationCount) + 1);
    for (int k = 0; k < stationCount; ++k)
        starts.push_back(kFirstBlockRow + 3 * k);
    starts.push_back(n + 5);  // the summary with its sign-off row
    keepUnitsOnPages(sheet, starts, n + 9, lastColumn);
}

void markCell(xls::Worksheet& sheet, int row, int column, bool marked)
{
    if (marked)
        sheet.setFontColour({row, column, row, column}, xls::kRedFontColour);
}

void writeFourReadingBook(xls::Worksheet& sheet, std::span<const leveling::StationReadings> stations,
                          const BookMarks* marks)
{
    SectionTotals totals;
    int n = 1, k = 1;
    for (const leveling::StationReadings& station : stations) {
        writeStationBlock(sheet, n, k, station, totals, marks);
        n += 3, ++k;
    }
    writeSectionSummary(sheet, n, int(stations.size()), totals, kLineBookSummary);
    keepBlocksOnPages(sheet, int(stations.size()), n, kLastBookColumn);
}

}  // namespace levara::books
