#include "books/fieldbook/station_block.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "books/page_breaks.h"
#include "books/wrapped_text.h"
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
constexpr int kRemark = 10;  // the aBFFB order on the back row; a remark merged over the rows below it
constexpr int kLastBookColumn = 10;
// The result row reuses the distance and reading columns.
constexpr int kDistanceDifference = kFirstDistance;
constexpr int kDistanceDifferenceSum = kSecondDistance;
constexpr int kFirstHeightDifference = kFirstReading;
constexpr int kSecondHeightDifference = kSecondReading;

const BookFrame kLineBookFrame = {{"累计视距差", 10, 3, 5, 6, 7, 8, true}, kLastBookColumn};

// A point name is an identifier: "0012" and "1E3" stay as written.
void enterReading(xls::Worksheet& sheet, int row, const leveling::StaffReading& reading, int distanceColumn,
                  int readingColumn)
{
    sheet.setText(row, kPoint, reading.point);
    enter(sheet, row, distanceColumn, reading.distance);
    enter(sheet, row, readingColumn, reading.reading);
}

// Every exceedance of a station: its readings' and its own.
unsigned stationExceedances(const leveling::StationReadings& s, const BookMarks& marks)
{
    unsigned all = marks.at(s.firstLine());
    for (const leveling::StaffReading* reading : {&s.back1, &s.back2, &s.fore1, &s.fore2})
        all |= marks.at(reading->line);
    return all;
}

// The remark goes on the back row, or below the order mark of the books that alternate.
xls::Range remarkArea(int rowBase, const leveling::StationReadings& s)
{
    return {s.order.empty() ? rowBase + 5 : rowBase + 6, kRemark, rowBase + 7, kRemark};
}

// Red values and the remark naming them.
void markStation(xls::Worksheet& sheet, int rowBase, const leveling::StationReadings& s, const BookMarks& marks)
{
    const int back = rowBase + 5, fore = rowBase + 6, result = rowBase + 7;
    struct Marked {
        const leveling::StaffReading& reading;
        int row, distanceColumn, readingColumn;
    };
    for (const Marked& m :
         {Marked{s.back1, back, kFirstDistance, kFirstReading}, Marked{s.back2, back, kSecondDistance, kSecondReading},
          Marked{s.fore1, fore, kFirstDistance, kFirstReading},
          Marked{s.fore2, fore, kSecondDistance, kSecondReading}}) {
        const unsigned exceeded = marks.at(m.reading.line);
        markCell(sheet, m.row, m.distanceColumn, exceeded & kSightLengthExceeded);
        markCell(sheet, m.row, m.readingColumn, exceeded & kStaffReadingExceeded);
    }
    const unsigned station = marks.at(s.firstLine());
    markCell(sheet, result, kDistanceDifference, station & kDistanceDifferenceExceeded);
    markCell(sheet, result, kDistanceDifferenceSum, station & kDistanceDifferenceSumExceeded);
    markCell(sheet, result, kReadingDifference, station & kHeightDifferencesDifferExceeded);
    markCell(sheet, result, kMeanHeightDifference, station & (kInstrumentDiffers | kStationMissing));
    if (const unsigned all = stationExceedances(s, marks))
        writeRemark(sheet, remarkArea(rowBase, s), all);
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

double remarkGrowth(const xls::Worksheet& sheet, const xls::Range& area, unsigned exceeded)
{
    if (!exceeded)
        return 0;
    return rowGrowthToFit(sheet, area, exceedanceRemark(exceeded));
}

void writeRemark(xls::Worksheet& sheet, const xls::Range& area, unsigned exceeded)
{
    const std::string remark = exceedanceRemark(exceeded);
    sheet.merge(area);
    sheet.setText(area.firstRow, area.firstColumn, remark);
    growRowsToFit(sheet, area, remark);
}

double blockHeight(const xls::Worksheet& sheet, int rowBase, const xls::Range& remark, unsigned exceeded)
{
    return rowsHeight(sheet, rowBase + 5, rowBase + 7) +
           remarkGrowth(sheet, remark, exceeded) * (remark.lastRow - remark.firstRow + 1);
}

void markCell(xls::Worksheet& sheet, int row, int column, bool marked)
{
    if (marked)
        sheet.setFontColour({row, column, row, column}, xls::kRedFontColour);
}

void writeFourReadingBook(xls::Worksheet& sheet, std::span<const BookSection> sections, const BookMarks* marks)
{
    writeSectionedBook(sheet, sections, marks, kLineBookFrame,
                       {[marks](xls::Worksheet& sheet, int rowBase, const leveling::Station& station,
                                const BookSection&) { writeStationBlock(sheet, rowBase, station, marks); },
                        [marks](const xls::Worksheet& sheet, int rowBase, const leveling::Station& station) {
                            const leveling::StationReadings& s = station.readings;
                            return blockHeight(sheet, rowBase, remarkArea(rowBase, s),
                                               marks ? stationExceedances(s, *marks) : 0);
                        }});
}

}  // namespace levara::books
