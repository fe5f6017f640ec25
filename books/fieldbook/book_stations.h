#pragma once
// The stations each field book reads from its lines, in the book's order: what the
// books write and what the checks (books/checks) hold to a standard. Each station is
// checked whole; with forBook, the stations must also fit one worksheet.
#include <vector>

#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station.h"

namespace levara::books {

std::vector<Station> lineBookStations(const LineList& lines, StationOrder order, bool forBook = true);
std::vector<Station> bfBookStations(const LineList& lines, bool forBook = true);
// aBFFB: back-first and fore-first stations alike, each with its order mark.
std::vector<Station> alternatingBookStations(const LineList& lines, bool forBook = true);
// The two-way book's forward stations (the back-first ones) from the lines in text
// order, and its return stations (the fore-first ones, staffs swapped) from the
// reversed non-empty lines (reversedNonEmptyLines).
std::vector<Station> twoWayForwardStations(const LineList& lines, bool forBook = true);
std::vector<Station> twoWayReturnStations(const LineList& reversed, bool forBook = true);

}  // namespace levara::books
