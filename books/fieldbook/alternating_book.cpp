#include <algorithm>
#include <string>
#include <vector>

#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station_block.h"
#include "leveling/leveling.h"

namespace levara::books {

void writeAlternatingBook(xls::Worksheet& sheet, const TextLines& text, const BookMarks* marks, const Sections* read)
{
    const Sections sections =
        read ? Sections()
             : leveling::readSections(text, leveling::ObservationOrder::aBFFB, leveling::LinesRead::AsBook);
    std::vector<BookSection> parts = bookSections(read ? *read : sections);
    checkSectionsFit(parts, marks);
    if (parts.size() > 1)
        fillStartHeights(parts, text);
    writeFourReadingBook(sheet, parts, marks);
}

void writeTwoWayBook(xls::Worksheet& forwardSheet, xls::Worksheet& returnSheet, const TextLines& text,
                     const BookMarks* marks, const Sections* read)
{
    // Each line's forward sections, then its return sections (leveling::readTwoWaySections);
    // the return book reads the lines last first. Both books are read whole before
    // either sheet is touched.
    const Sections sections = read ? Sections() : leveling::readTwoWaySections(text);
    std::vector<BookSection> forward, back;
    for (const BookSection& part : bookSections(read ? *read : sections))
        (part.index % 2 == 0 ? forward : back).push_back(part);
    std::reverse(back.begin(), back.end());
    checkSectionsFit(forward, marks, leveling::kForwardBook);
    checkSectionsFit(back, marks, leveling::kReturnBook);
    // The forward book reads the lines in order; the return book's start heights are
    // not among its lines before its stations.
    if (forward.size() > 1)
        fillStartHeights(forward, text);
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
