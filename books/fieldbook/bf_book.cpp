#include <optional>
#include <vector>

#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station_block.h"
#include "leveling/leveling.h"
#include "records/records.h"

namespace levara::books {

namespace {

// Columns of a BF station block: one reading on each staff.
constexpr int kStationNumber = 1;
constexpr int kPoint = 2;
constexpr int kDistance = 3;
constexpr int kReading = 4;
// Merged over the block's three rows.
constexpr int kHeightDifference = 5;
constexpr int kSightLength = 6;
constexpr int kElevation = 7;  // of the fore point
constexpr int kRemark = 8;
constexpr int kLastBfColumn = 8;
// The result row reuses the distance and reading columns.
constexpr int kDistanceDifference = kDistance;
constexpr int kDistanceDifferenceSum = kReading;

const SummaryLayout kBfSummary = {"视距累计差", 8, 2, 4, 4, 5, 7};

void markBfStation(xls::Worksheet& sheet, int n, const leveling::StationReadings& s, const BookMarks& marks)
{
    const int back = n + 5, fore = n + 6, result = n + 7;
    const unsigned backMarks = marks.at(s.back1.line), foreMarks = marks.at(s.fore1.line);
    const unsigned stationMarks = marks.at(s.firstLine());
    markCell(sheet, back, kDistance, backMarks & kSightLengthExceeded);
    markCell(sheet, back, kReading, backMarks & kStaffReadingExceeded);
    markCell(sheet, fore, kDistance, foreMarks & kSightLengthExceeded);
    markCell(sheet, fore, kReading, foreMarks & kStaffReadingExceeded);
    markCell(sheet, result, kDistanceDifference, stationMarks & kDistanceDifferenceExceeded);
    markCell(sheet, result, kDistanceDifferenceSum, stationMarks & kDistanceDifferenceSumExceeded);
    if (const unsigned all = backMarks | foreMarks | stationMarks)
        sheet.setText(back, kRemark, exceedanceRemark(all));
}

// A BF station uses back1 and fore1 only. With a start height, the fore point's
// elevation follows from it and the height differences stored so far.
void writeBfStationBlock(xls::Worksheet& sheet, int n, int k, const leveling::StationReadings& s, SectionTotals& totals,
                         std::optional<double> startHeight, const BookMarks* marks)
{
    const int back = n + 5, fore = n + 6, result = n + 7;
    sheet.setNumber(back, kStationNumber, k);

    sheet.setText(back, kPoint, s.back1.point);
    enter(sheet, back, kDistance, s.back1.distance);
    enter(sheet, back, kReading, s.back1.reading);
    sheet.setText(fore, kPoint, s.fore1.point);
    enter(sheet, fore, kDistance, s.fore1.distance);
    enter(sheet, fore, kReading, s.fore1.reading);

    const double d = leadingNumber(s.back1.distance) - leadingNumber(s.fore1.distance);
    putComputed(sheet, result, kDistanceDifference, d);
    totals.distanceDifferenceSum = totals.distanceDifferenceSum + d;
    putComputed(sheet, result, kDistanceDifferenceSum, totals.distanceDifferenceSum);
    // Σd shares its column with the readings: its own decimals.
    sheet.setNumberFormat({result, kDistanceDifferenceSum, result, kDistanceDifferenceSum}, kDistanceFormat);
    putComputed(sheet, back, kHeightDifference, numberAt(sheet, back, kReading) - numberAt(sheet, fore, kReading));
    putComputed(sheet, back, kSightLength, leadingNumber(s.back1.distance) + leadingNumber(s.fore1.distance));

    sheet.merge({back, kStationNumber, result, kStationNumber});
    sheet.setThinBorders({back, kStationNumber, result, kStationNumber});
    sheet.setThinBorders({back, kPoint, result, kReading});
    // Height difference and sight length stand once beside the three rows.
    for (int column = kHeightDifference; column <= kLastBfColumn; ++column) {
        sheet.merge({back, column, result, column});
        sheet.setThinBorders({back, column, result, column});
    }

    totals.backDistanceSum += numberAt(sheet, back, kDistance);
    totals.foreDistanceSum += numberAt(sheet, fore, kDistance);
    totals.heightDifferenceSum += numberAt(sheet, back, kHeightDifference);
    totals.sightLengthSum += numberAt(sheet, back, kSightLength);
    if (startHeight)
        putComputed(sheet, back, kElevation, *startHeight + totals.heightDifferenceSum);
    if (marks)
        markBfStation(sheet, n, s, *marks);
}

// The height on the first height line ("Z" without a reading) before the first
// station: the start point's.
std::optional<double> startHeight(const leveling::LineList& lines, std::size_t firstStation)
{
    for (std::size_t i = 0; i < firstStation; ++i) {
        if (lines[i].text.empty())
            continue;
        const MeasurementLine line(lines[i].text);
        if (line.heightTag() == "Z" && line.readingTagLetter().empty())
            return typedNumber(line.height());
    }
    return std::nullopt;
}

}  // namespace

void writeBfBook(xls::Worksheet& sheet, const TextLines& text, const BookMarks* marks)
{
    const leveling::LineList lines = leveling::numberedLines(text);
    const std::vector<leveling::StationReadings> stations = leveling::bfBookStations(lines);
    const std::optional<double> height =
        stations.empty() ? std::nullopt : startHeight(lines, std::size_t(stations.front().back1.position - 1));

    SectionTotals totals;
    int n = 1, k = 1;
    for (const leveling::StationReadings& station : stations) {
        writeBfStationBlock(sheet, n, k, station, totals, height, marks);
        n += 3, ++k;
    }
    writeSectionSummary(sheet, n, int(stations.size()), totals, kBfSummary);
    keepBlocksOnPages(sheet, int(stations.size()), n, kLastBfColumn);
}

}  // namespace levara::books
