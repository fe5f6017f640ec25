#include <vector>

#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station_block.h"
#include "leveling/leveling.h"

namespace levara::books {

void writeLineBook(xls::Worksheet& sheet, const TextLines& text, leveling::ObservationOrder order,
                   const BookMarks* marks)
{
    std::vector<leveling::StationReadings> stations = leveling::lineBookStations(leveling::numberedLines(text), order);
    checkStationsFit(stations);
    writeFourReadingBook(sheet, leveling::computedStations(std::move(stations), order), marks);
}

}  // namespace levara::books
