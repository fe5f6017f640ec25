#include <vector>

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

void writeLineBook(xls::Worksheet& sheet, const TextLines& text, StationOrder order)
{
    const LineList lines = numberedLines(text);
    const LineOrder assignment = lineOrder(order);
    const std::vector<StationStart> starts = findLineBookStations(lines, assignment.size());
    std::vector<Station> stations;
    stations.reserve(starts.size());
    for (const StationStart& start : starts)  // checked whole by the search
        stations.push_back(readCheckedStation(lines, start.index, assignment, start.name));
    writeFourReadingBook(sheet, stations);
}

}  // namespace levara::books
