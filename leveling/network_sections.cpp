#include "leveling/network_sections.h"

#include <cmath>

#include "leveling/start_height.h"

namespace levara::leveling {

namespace {

struct RandomError {
    const char* order;
    double perKmMm;
};

// M_Δ by order: 一等 0.45, 二等 1.0 (GB/T 12897-2006), 三等 3.0, 四等 5.0 mm
// (GB/T 12898-2009), the values textbooks quote from the standards' precision tables.
// No public copy of either table was found to confirm them: unconfirmed.
constexpr RandomError kRandomErrors[] = {{"一等", 0.45}, {"二等", 1.0}, {"三等", 3.0}, {"四等", 5.0}};

}  // namespace

std::optional<double> randomErrorPerKmMm(const Standard& standard)
{
    for (const RandomError& error : kRandomErrors)
        if (standard.limits.name == error.order)
            return error.perKmMm;
    return std::nullopt;
}

NetworkInput networkOf(const std::vector<Section>& sections, const TextLines& lines, const KnownPoints* known,
                       Distribution distribution, const Standard* standard, PairUse pairs)
{
    const std::vector<RouteSection> measured = routeSections(sections, standard, pairs == PairUse::Mean);
    if (measured.empty())
        throw inputErrorIn(lines.file(), lastLineNumber(lines),
                           Message(QT_TRANSLATE_NOOP("levara", "the text holds no leveling section to adjust")));
    NetworkInput input;
    input.weighting = distribution == Distribution::ByDistance ? Weighting::ByDistance : Weighting::ByStations;
    double kilometres = 0, stations = 0;
    for (const RouteSection& section : measured) {
        input.observations.push_back({section.from, section.to, toMetres(section.measured), section.lengthKm,
                                      section.stations, section.firstLine, section.lastLine, section.file});
        kilometres += section.lengthKm;
        stations += section.stations;
    }
    if (known) {
        for (const KnownPoint& point : known->points)
            input.known.push_back({point.name, point.height});
    } else {
        const RecordedHeight recorded = recordedStartHeight(lines, measured.front().from);
        input.known.push_back({recorded.point, recorded.height});
    }
    if (const std::optional<double> perKm = standard ? randomErrorPerKmMm(*standard) : std::nullopt) {
        // One run alone is √2 less precise than the mean of two.
        const double run = pairs == PairUse::Mean ? *perKm : *perKm * std::sqrt(2.0);
        if (distribution == Distribution::ByDistance)
            input.aprioriSigmaMm = run;
        else if (stations > 0)  // per station, by the network's mean km per station
            input.aprioriSigmaMm = run * std::sqrt(kilometres / stations);
    }
    return input;
}

}  // namespace levara::leveling
