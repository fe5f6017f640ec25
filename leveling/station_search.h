#pragma once
// The stations each field book reads from its lines, in the book's order: what the
// books write and what the checks hold to a standard. Each station is checked whole.
#include <vector>

#include "leveling/observation_order.h"
#include "leveling/station_readings.h"

namespace levara::leveling {

// The two-way book's two books as messages name them (message sources).
extern const char* const kForwardBook;  // "forward book"
extern const char* const kReturnBook;   // "return book"

// With asRecorded, a station whose recorded staffs contradict the order is refused
// (checkRecordedOrder); without, the lines are read whatever their tags, as the
// books read them.

// BFFB, BBFF or BFBF.
std::vector<StationReadings> lineBookStations(const LineList& lines, ObservationOrder order, bool asRecorded = false);
std::vector<StationReadings> bfBookStations(const LineList& lines, bool asRecorded = false);
// aBFFB: back-first and fore-first stations alike, each with its order mark.
std::vector<StationReadings> alternatingBookStations(const LineList& lines, bool asRecorded = false);
// The two-way book's forward stations (the back-first ones) from the lines in text
// order, and its return stations (the fore-first ones, staffs swapped) from the
// reversed non-empty lines (reversedNonEmptyLines). With asRecorded the forward search
// holds the fore-first stations it passes over to their recorded staffs too, as the
// aBFFB book's search does.
std::vector<StationReadings> twoWayForwardStations(const LineList& lines, bool asRecorded = false);
std::vector<StationReadings> twoWayReturnStations(const LineList& reversed);

}  // namespace levara::leveling
