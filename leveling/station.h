#pragma once
// What a station gives, computed once for the field books, the checks and the route:
// each value as a book's cell stores it (cleaned to nine decimals, nineDecimals), in
// the books' order of operations, and the running sums of a line's stations.
#include <span>
#include <vector>

#include "leveling/observation_order.h"
#include "leveling/station_readings.h"

namespace levara::leveling {

// Values in metres unless said otherwise. BF reads each staff once: its one height
// difference stands in all three, its reading differences are 0.
struct Station {
    StationReadings readings;
    int number = 0;  // in its line, from 1
    // The means of the two readings' distances (BF: the one reading's), as summed.
    double backDistance = 0, foreDistance = 0;
    double distanceDifference = 0;     // d
    double distanceDifferenceSum = 0;  // Σd of the line up to this station
    double heightDifference1 = 0, heightDifference2 = 0, meanHeightDifference = 0;
    double heightDifferencesDiffer = 0;  // the first less the second, in millimetres
    // The first less the second reading on each staff, in millimetres.
    double backReadingsDiffer = 0, foreReadingsDiffer = 0;
    double sightLength = 0;  // the back and fore distances (their means) added
    // The sums of the station's readings on each staff (BF: its one reading), for the
    // computation check.
    double backReadings = 0, foreReadings = 0;
};

// The stations of one line, numbered from 1, read in order.
std::vector<Station> computedStations(std::vector<StationReadings> readings, ObservationOrder order);

// The sums over a line's stations, in their order, not yet cleaned.
struct StationSums {
    double backDistance = 0, foreDistance = 0;
    double heightDifference = 0;  // of the mean height differences
    double sightLength = 0;
};
StationSums stationSums(std::span<const Station> stations);

}  // namespace levara::leveling
