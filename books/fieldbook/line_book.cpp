#include <vector>

#include "books/fieldbook/book_stations.h"
#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station.h"
#include "books/fieldbook/station_block.h"

namespace levara::books {

namespace {

LineOrder lineOrder(StationOrder order)
{
    switch (order) {
    case StationOrder::BBFF: return {Reading::B1, Reading::B2, Reading::F1, Reading::F2};
    case StationOrder::BFBF: return {Reading::B1, Reading::F1, Reading::B2, Reading::F2};
    case StationOrder::BFFB: break;
    }
    return {Reading::B1, Reading::F1, Reading::F2, Reading::B2};
}

}  // namespace

std::vector<Station> lineBookStations(const LineList& lines, StationOrder order, bool forBook)
{
    const LineOrder assignment = lineOrder(order);
    std::vector<Station> stations;
    for (const StationStart& start : findLineBookStations(lines, assignment.size(), forBook))
        stations.push_back(readStation(lines, start.index, assignment, start.name));
    return stations;
}

void writeLineBook(xls::Worksheet& sheet, const TextLines& text, StationOrder order, const BookMarks* marks)
{
    writeFourReadingBook(sheet, lineBookStations(numberedLines(text), order), marks);
}

}  // namespace levara::books
