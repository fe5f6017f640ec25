#pragma once
// What a station gives, computed once for the field books, the checks and the route:
// each value as a book's cell stores and prints it, rounded half to even to its
// column's decimals from the readings' exact decimals (leveling/exact_units.h), and
// the running sums of those printed values.
#include <span>
#include <vector>

#include "leveling/observation_order.h"
#include "leveling/station_readings.h"

namespace levara::leveling {

// Values in metres unless said otherwise. Each printed one is the double nearest its
// printed decimal, rounded half to even from its exact value: d, Σd and the sight
// length to the millimetre (the books' "0.000"), height differences to 0.01 mm
// ("0.00000"), reading differences in millimetres to 0.01 mm ("0.00"). A checker
// recomputes each from the readings the row prints; the sums are of printed values.
// BF reads each staff once: its one height difference stands in all three, its
// reading differences are 0.
struct Station {
    StationReadings readings;
    int number = 0;  // in its line, from 1
    // 后距 and 前距, not printed: the means of the two readings' distances (BF: the one
    // reading's), exact. d and the sight length are rounded from their difference and sum.
    double backDistance = 0, foreDistance = 0;
    double distanceDifference = 0;     // d
    double distanceDifferenceSum = 0;  // Σd of the line up to this station: the printed d added
    // h1 = B1 − F1, h2 = B2 − F2; the mean of the printed h1 and h2.
    double heightDifference1 = 0, heightDifference2 = 0, meanHeightDifference = 0;
    double heightDifferencesDiffer = 0;  // the printed h1 less the printed h2, in millimetres
    // The first less the second reading on each staff, in millimetres.
    double backReadingsDiffer = 0, foreReadingsDiffer = 0;
    double sightLength = 0;  // the back and fore distances added (all four halved)
    // The sums of the station's readings on each staff (BF: its one reading), for the
    // computation check.
    double backReadings = 0, foreReadings = 0;
};

// The stations of one line, numbered from 1, read in order.
std::vector<Station> computedStations(std::vector<StationReadings> readings, ObservationOrder order);

// The sums over a line's stations, exact: what a section summary and its check rows
// print.
struct StationSums {
    double backDistance = 0, foreDistance = 0;            // Σ后距, Σ前距
    double heightDifference = 0;                          // Σ of the printed means
    double heightDifference1 = 0, heightDifference2 = 0;  // Σh1, Σh2 (BF: both Σh)
    double sightLength = 0;                               // Σ of the printed sight lengths
    double backReadings = 0, foreReadings = 0;            // Σ后视, Σ前视 (both readings)
};
StationSums stationSums(std::span<const Station> stations);

}  // namespace levara::leveling
