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

const BookFrame kBfFrame = {{"视距累计差", 8, 2, 4, 4, 5, 7, false}, kLastBfColumn};

unsigned bfExceedances(const leveling::StationReadings& s, const BookMarks& marks)
{
    return marks.at(s.back1.line) | marks.at(s.fore1.line) | marks.at(s.firstLine());
}

xls::Range bfRemarkArea(int rowBase) { return {rowBase + 5, kRemark, rowBase + 7, kRemark}; }

void markBfStation(xls::Worksheet& sheet, int rowBase, const leveling::StationReadings& s, const BookMarks& marks)
{
    const int back = rowBase + 5, fore = rowBase + 6, result = rowBase + 7;
    const unsigned backMarks = marks.at(s.back1.line), foreMarks = marks.at(s.fore1.line);
    const unsigned stationMarks = marks.at(s.firstLine());
    markCell(sheet, back, kDistance, backMarks & kSightLengthExceeded);
    markCell(sheet, back, kReading, backMarks & kStaffReadingExceeded);
    markCell(sheet, fore, kDistance, foreMarks & kSightLengthExceeded);
    markCell(sheet, fore, kReading, foreMarks & kStaffReadingExceeded);
    markCell(sheet, result, kDistanceDifference, stationMarks & kDistanceDifferenceExceeded);
    markCell(sheet, result, kDistanceDifferenceSum, stationMarks & kDistanceDifferenceSumExceeded);
    markCell(sheet, back, kHeightDifference, stationMarks & (kInstrumentDiffers | kStationMissing));
    if (const unsigned all = bfExceedances(s, marks))
        writeRemark(sheet, bfRemarkArea(rowBase), all);
}

// A BF station uses back1 and fore1 only. With a start height, the fore point's
// elevation follows from it and the height differences up to this station.
void writeBfStationBlock(xls::Worksheet& sheet, int rowBase, const leveling::Station& station,
                         std::optional<double> elevation, const BookMarks* marks)
{
    const int back = rowBase + 5, fore = rowBase + 6, result = rowBase + 7;
    const leveling::StationReadings& s = station.readings;
    sheet.setNumber(back, kStationNumber, station.number);

    sheet.setText(back, kPoint, s.back1.point);
    enter(sheet, back, kDistance, s.back1.distance);
    enter(sheet, back, kReading, s.back1.reading);
    sheet.setText(fore, kPoint, s.fore1.point);
    enter(sheet, fore, kDistance, s.fore1.distance);
    enter(sheet, fore, kReading, s.fore1.reading);

    putComputed(sheet, result, kDistanceDifference, station.distanceDifference);
    putComputed(sheet, result, kDistanceDifferenceSum, station.distanceDifferenceSum);
    // Σd shares its column with the readings: its own decimals.
    sheet.setNumberFormat({result, kDistanceDifferenceSum, result, kDistanceDifferenceSum}, kDistanceFormat);
    putComputed(sheet, back, kHeightDifference, station.meanHeightDifference);
    putComputed(sheet, back, kSightLength, station.sightLength);

    sheet.merge({back, kStationNumber, result, kStationNumber});
    sheet.setThinBorders({back, kStationNumber, result, kStationNumber});
    sheet.setThinBorders({back, kPoint, result, kReading});
    // Height difference and sight length stand once beside the three rows.
    for (int column = kHeightDifference; column <= kLastBfColumn; ++column) {
        sheet.merge({back, column, result, column});
        sheet.setThinBorders({back, column, result, column});
    }

    if (elevation)
        putComputed(sheet, back, kElevation, *elevation);
    if (marks)
        markBfStation(sheet, rowBase, s, *marks);
}

}  // namespace

void writeBfBook(xls::Worksheet& sheet, const TextLines& text, const BookMarks* marks, const Sections* read)
{
    const Sections sections =
        read ? Sections() : leveling::readSections(text, leveling::ObservationOrder::BF, leveling::LinesRead::AsBook);
    std::vector<BookSection> parts = bookSections(read ? *read : sections);
    checkSectionsFit(parts, marks);
    fillStartHeights(parts, text);

    // Each line's elevations run from its own start height by the printed height
    // differences, to the column's 0.01 mm.
    const BookSection* line = nullptr;
    leveling::Micrometres heightDifferenceSum = 0;
    const auto writeBlock = [&](xls::Worksheet& sheet, int rowBase, const leveling::Station& station,
                                const BookSection& part) {
        if (line != &part) {
            line = &part;
            heightDifferenceSum = 0;
        }
        heightDifferenceSum += leveling::micrometresOf(station.meanHeightDifference);
        const auto elevation = [&] {
            return leveling::metres(
                leveling::roundedTo(leveling::micrometresOf(*part.startHeight) + heightDifferenceSum,
                                    leveling::kHundredthMm));
        };
        writeBfStationBlock(sheet, rowBase, station, part.startHeight ? std::optional(elevation()) : std::nullopt,
                            marks);
    };
    const auto height = [marks](const xls::Worksheet& sheet, int rowBase, const leveling::Station& station) {
        return blockHeight(sheet, rowBase, bfRemarkArea(rowBase), marks ? bfExceedances(station.readings, *marks) : 0);
    };
    writeSectionedBook(sheet, parts, marks, kBfFrame, {writeBlock, height});
}

}  // namespace levara::books
