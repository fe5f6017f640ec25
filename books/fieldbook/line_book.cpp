#include <vector>

#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station_block.h"
#include "leveling/leveling.h"

namespace levara::books {

void writeLineBook(xls::Worksheet& sheet, const TextLines& text, leveling::ObservationOrder order,
                   const BookMarks* marks)
{
    writeFourReadingBook(sheet, leveling::lineBookStations(leveling::numberedLines(text), order), marks);
}

}  // namespace levara::books
