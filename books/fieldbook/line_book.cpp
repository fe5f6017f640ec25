#include <vector>

#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station_block.h"
#include "leveling/leveling.h"

namespace levara::books {

void writeLineBook(xls::Worksheet& sheet, const TextLines& text, leveling::ObservationOrder order,
                   const BookMarks* marks, const Sections* read)
{
    const Sections sections = read ? Sections() : leveling::readSections(text, order, leveling::LinesRead::AsBook);
    std::vector<BookSection> parts = bookSections(read ? *read : sections);
    checkSectionsFit(parts, marks);
    if (parts.size() > 1)
        fillStartHeights(parts, text);
    writeFourReadingBook(sheet, parts, marks);
}

}  // namespace levara::books
