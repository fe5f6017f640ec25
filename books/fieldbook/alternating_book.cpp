#include <string>
#include <vector>

#include "books/fieldbook/book_stations.h"
#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station.h"
#include "books/fieldbook/station_block.h"

namespace levara::books {

void writeAlternatingBook(xls::Worksheet& sheet, const TextLines& text, const BookMarks* marks)
{
    writeFourReadingBook(sheet, alternatingBookStations(numberedLines(text)), marks);
}

void writeTwoWayBook(xls::Worksheet& forwardSheet, xls::Worksheet& returnSheet, const TextLines& text,
                     const BookMarks* marks)
{
    // Both books are read whole before either sheet is touched.
    const std::vector<Station> forward = twoWayForwardStations(numberedLines(text));
    const std::vector<Station> back = twoWayReturnStations(reversedNonEmptyLines(text));
    writeFourReadingBook(forwardSheet, forward, marks);
    writeFourReadingBook(returnSheet, back, marks);
}

std::string reversedWorkText(const TextLines& text)
{
    std::string reversed;
    for (const NumberedLine& line : reversedNonEmptyLines(text))
        reversed.append(line.text).append("\r\n");
    return reversed;
}

}  // namespace levara::books
