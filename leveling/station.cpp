#include "leveling/station.h"

#include "leveling/units.h"
#include "records/records.h"

namespace levara::leveling {

namespace {

// The value a cell holds when a book enters the text: the readers have checked every
// reading and distance as a typed number.
double entered(std::string_view text) { return typedNumber(text).value_or(0); }

}  // namespace

std::vector<Station> computedStations(std::vector<StationReadings> readings, ObservationOrder order)
{
    std::vector<Station> stations;
    stations.reserve(readings.size());
    const bool twice = readsTwice(order);
    double sum = 0;
    for (StationReadings& s : readings) {
        Station& station = stations.emplace_back();
        station.readings = s;
        station.number = int(stations.size());
        const double b1 = entered(s.back1.reading), f1 = entered(s.fore1.reading);
        const double b1Distance = entered(s.back1.distance), f1Distance = entered(s.fore1.distance);
        if (twice) {
            const double b2 = entered(s.back2.reading), f2 = entered(s.fore2.reading);
            const double b2Distance = entered(s.back2.distance), f2Distance = entered(s.fore2.distance);
            station.backDistance = (b1Distance + b2Distance) / 2;
            station.foreDistance = (f1Distance + f2Distance) / 2;
            station.distanceDifference = nineDecimals(station.backDistance - station.foreDistance);
            sum = (sum + station.backDistance) - station.foreDistance;
            station.heightDifference1 = nineDecimals(b1 - f1);
            station.heightDifference2 = nineDecimals(b2 - f2);
            station.backReadingsDiffer = nineDecimals((b1 - b2) * kMillimetresPerMetre);
            station.foreReadingsDiffer = nineDecimals((f1 - f2) * kMillimetresPerMetre);
            station.heightDifferencesDiffer =
                nineDecimals((station.heightDifference1 - station.heightDifference2) * kMillimetresPerMetre);
            station.meanHeightDifference = nineDecimals((station.heightDifference1 + station.heightDifference2) / 2);
            station.sightLength = nineDecimals((b1Distance + b2Distance + f1Distance + f2Distance) / 2);
            station.backReadings = b1 + b2;
            station.foreReadings = f1 + f2;
        } else {
            const double d = b1Distance - f1Distance;
            station.distanceDifference = nineDecimals(d);
            sum = sum + d;
            station.heightDifference1 = nineDecimals(b1 - f1);
            station.heightDifference2 = station.meanHeightDifference = station.heightDifference1;
            station.backDistance = b1Distance;
            station.foreDistance = f1Distance;
            station.sightLength = nineDecimals(b1Distance + f1Distance);
            station.backReadings = b1;
            station.foreReadings = f1;
        }
        station.distanceDifferenceSum = nineDecimals(sum);
    }
    return stations;
}

StationSums stationSums(std::span<const Station> stations)
{
    StationSums sums;
    for (const Station& station : stations) {
        sums.backDistance += station.backDistance;
        sums.foreDistance += station.foreDistance;
        sums.heightDifference += station.meanHeightDifference;
        sums.sightLength += station.sightLength;
    }
    return sums;
}

}  // namespace levara::leveling
