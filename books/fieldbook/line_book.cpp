#include <vector>

#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station_block.h"
#include "leveling/leveling.h"

namespace levara::books {

void writeLineBook(xls::Worksheet& sheet, const TextLines& text, leveling::ObservationOrder order,
                   const BookMarks* marks)
{
    const std::vector<leveling::Section> sections = leveling::readSections(text, order, leveling::LinesRead::AsBook);
    std::vector<BookSection> parts = bookSections(sections);
    checkSectionsFit(parts, marks);
    if (parts.size() > 1)
        fillStartHeights(parts, text);
    writeFourReadingBook(sheet, parts, marks);
}

}  // namespace levara::books
