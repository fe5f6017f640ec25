#include <string>
#include <vector>

#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station_block.h"
#include "leveling/leveling.h"

namespace levara::books {

void writeAlternatingBook(xls::Worksheet& sheet, const TextLines& text, const BookMarks* marks)
{
    writeFourReadingBook(sheet, leveling::alternatingBookStations(leveling::numberedLines(text)), marks);
}

void writeTwoWayBook(xls::Worksheet& forwardSheet, xls::Worksheet& returnSheet, const TextLines& text,
                     const BookMarks* marks)
{
    // Both books are read whole before either sheet is touched.
    const std::vector<leveling::StationReadings> forward =
        leveling::twoWayForwardStations(leveling::numberedLines(text));
    const std::vector<leveling::StationReadings> back =
        leveling::twoWayReturnStations(leveling::reversedNonEmptyLines(text));
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
