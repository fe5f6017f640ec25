#include <string>
#include <vector>

#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station_block.h"
#include "leveling/leveling.h"

namespace levara::books {

void writeAlternatingBook(xls::Worksheet& sheet, const TextLines& text, const BookMarks* marks)
{
    std::vector<leveling::StationReadings> stations = leveling::alternatingBookStations(leveling::numberedLines(text));
    checkStationsFit(stations);
    writeFourReadingBook(sheet, leveling::computedStations(std::move(stations), leveling::ObservationOrder::aBFFB),
                         marks);
}

void writeTwoWayBook(xls::Worksheet& forwardSheet, xls::Worksheet& returnSheet, const TextLines& text,
                     const BookMarks* marks)
{
    // Both books are read whole before either sheet is touched.
    std::vector<leveling::StationReadings> forwardReadings =
        leveling::twoWayForwardStations(leveling::numberedLines(text));
    checkStationsFit(forwardReadings, leveling::kForwardBook);
    std::vector<leveling::StationReadings> returnReadings =
        leveling::twoWayReturnStations(leveling::reversedNonEmptyLines(text));
    checkStationsFit(returnReadings, leveling::kReturnBook);
    const std::vector<leveling::Station> forward =
        leveling::computedStations(std::move(forwardReadings), leveling::ObservationOrder::aBFFB);
    const std::vector<leveling::Station> back =
        leveling::computedStations(std::move(returnReadings), leveling::ObservationOrder::aBFFB);
    writeFourReadingBook(forwardSheet, forward, marks);
    writeFourReadingBook(returnSheet, back, marks);
}

std::string reversedWorkText(const TextLines& text)
{
    std::string reversed;
    for (const leveling::NumberedLine& line : leveling::reversedNonEmptyLines(text))
        reversed.append(line.text).append("\r\n");
    return reversed;
}

}  // namespace levara::books
