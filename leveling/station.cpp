#include "leveling/station.h"

#include "leveling/exact_units.h"

namespace levara::leveling {

namespace {

// The readers have checked every reading and distance as a typed number within ±1e6 m.
Micrometres entered(std::string_view text) { return micrometres(text); }

// The printed units of a station's values.
Micrometres distance(Micrometres value) { return roundedTo(value, kMillimetre); }
Micrometres height(Micrometres value) { return roundedTo(value, kHundredthMm); }

}  // namespace

std::vector<Station> computedStations(std::vector<StationReadings> readings, ObservationOrder order)
{
    std::vector<Station> stations;
    stations.reserve(readings.size());
    const bool twice = readsTwice(order);
    Micrometres sum = 0;
    for (StationReadings& s : readings) {
        Station& station = stations.emplace_back();
        station.readings = s;
        station.number = int(stations.size());
        const Micrometres b1 = entered(s.back1.reading), f1 = entered(s.fore1.reading);
        const Micrometres b1Distance = entered(s.back1.distance), f1Distance = entered(s.fore1.distance);
        // back and fore: the staffs' distances (their means, to the micrometre); d and
        // the sight length from them, rounded as printed.
        Micrometres back = 0, fore = 0, d = 0, sight = 0, h1 = 0, h2 = 0, mean = 0;
        if (twice) {
            const Micrometres b2 = entered(s.back2.reading), f2 = entered(s.fore2.reading);
            const Micrometres b2Distance = entered(s.back2.distance), f2Distance = entered(s.fore2.distance);
            back = halfEvenQuotient(b1Distance + b2Distance, 2);
            fore = halfEvenQuotient(f1Distance + f2Distance, 2);
            d = halfEvenQuotient(b1Distance + b2Distance - f1Distance - f2Distance, 2 * kMillimetre) * kMillimetre;
            sight = halfEvenQuotient(b1Distance + b2Distance + f1Distance + f2Distance, 2 * kMillimetre) * kMillimetre;
            h1 = height(b1 - f1);
            h2 = height(b2 - f2);
            mean = halfEvenQuotient(h1 + h2, 2 * kHundredthMm) * kHundredthMm;
            station.backReadingsDiffer = millimetres(height(b1 - b2));
            station.foreReadingsDiffer = millimetres(height(f1 - f2));
            station.heightDifferencesDiffer = millimetres(h1 - h2);
            station.backReadings = metres(b1 + b2);
            station.foreReadings = metres(f1 + f2);
        } else {
            back = b1Distance;
            fore = f1Distance;
            d = distance(back - fore);
            sight = distance(back + fore);
            h1 = h2 = mean = height(b1 - f1);
            station.backReadings = metres(b1);
            station.foreReadings = metres(f1);
        }
        sum += d;
        station.backDistance = metres(back);
        station.foreDistance = metres(fore);
        station.distanceDifference = metres(d);
        station.distanceDifferenceSum = metres(sum);
        station.sightLength = metres(sight);
        station.heightDifference1 = metres(h1);
        station.heightDifference2 = metres(h2);
        station.meanHeightDifference = metres(mean);
    }
    return stations;
}

StationSums stationSums(std::span<const Station> stations)
{
    Micrometres back = 0, fore = 0, sight = 0, h = 0, h1 = 0, h2 = 0, backReadings = 0, foreReadings = 0;
    for (const Station& station : stations) {
        back += micrometresOf(station.backDistance);
        fore += micrometresOf(station.foreDistance);
        sight += micrometresOf(station.sightLength);
        h += micrometresOf(station.meanHeightDifference);
        h1 += micrometresOf(station.heightDifference1);
        h2 += micrometresOf(station.heightDifference2);
        backReadings += micrometresOf(station.backReadings);
        foreReadings += micrometresOf(station.foreReadings);
    }
    return {metres(back),  metres(fore),         metres(h),           metres(h1), metres(h2),
            metres(sight), metres(backReadings), metres(foreReadings)};
}

}  // namespace levara::leveling
