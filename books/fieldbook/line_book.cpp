#include <vector>

#include "books/fieldbook/book_stations.h"
#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station.h"
#include "books/fieldbook/station_block.h"

namespace levara::books {

void writeLineBook(xls::Worksheet& sheet, const TextLines& text, StationOrder order, const BookMarks* marks)
{
    writeFourReadingBook(sheet, lineBookStations(numberedLines(text), order), marks);
}

}  // namespace levara::books
