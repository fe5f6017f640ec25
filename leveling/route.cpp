#include "leveling/route.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "leveling/units.h"

namespace levara::leveling {

namespace {

// As the checks hold a value to a limit: past it at nine decimals.
bool above(double value, double limit) { return nineDecimals(value) > nineDecimals(limit); }

std::optional<double> rootLimit(const std::optional<Limit>& limit, bool mountain, double kilometres)
{
    if (!limit)
        return std::nullopt;
    const Bound& factor = mountain && limit->mountainFactor ? *limit->mountainFactor : *limit->factor;
    return nineDecimals(factor.value * std::sqrt(kilometres));
}

std::string lines(int first, int last) { return std::to_string(first) + "–" + std::to_string(last); }

// A route section with the weights its correction is shared by: in millimetres or
// stations, twice over so that a pair's mean stays whole.
struct Leg {
    RouteSection section;
    std::int64_t distanceWeight = 0, stationWeight = 0;
};

Leg legOf(const Section& section)
{
    Leg leg;
    leg.section.from = pointName(section.startPoint);
    leg.section.to = pointName(section.endPoint);
    leg.section.firstLine = section.firstLine;
    leg.section.lastLine = section.lastLine;
    leg.section.lengthKm = nineDecimals(section.length() / kMetresPerKilometre);
    leg.section.stations = section.stationCount();
    leg.section.measured = toHundredthsOfMm(section.heightDifference);
    leg.distanceWeight = 2 * std::llround(section.length() * kMillimetresPerMetre);
    leg.stationWeight = 2 * std::int64_t(section.stationCount());
    return leg;
}

Leg pairOf(const Section& forward, const Section& back, const Standard* standard)
{
    Leg leg = legOf(forward);
    const double length = (forward.length() + back.length()) / 2;
    leg.section.lengthKm = nineDecimals(length / kMetresPerKilometre);
    leg.section.stations = (forward.stationCount() + back.stationCount()) / 2.0;
    leg.section.measured = toHundredthsOfMm((forward.heightDifference - back.heightDifference) / 2);
    leg.distanceWeight =
        std::llround(forward.length() * kMillimetresPerMetre) + std::llround(back.length() * kMillimetresPerMetre);
    leg.stationWeight = forward.stationCount() + back.stationCount();
    PairCheck check;
    check.returnFirstLine = back.firstLine;
    check.returnLastLine = back.lastLine;
    check.discrepancyMm = nineDecimals((forward.heightDifference + back.heightDifference) * kMillimetresPerMetre);
    if (standard)
        check.limitMm = rootLimit(standard->limits.forwardReturn, standard->mountain, leg.section.lengthKm);
    check.over = check.limitMm && above(std::abs(check.discrepancyMm), *check.limitMm);
    leg.section.pair = check;
    return leg;
}

// The sections with stations in the text's order, each pair as one at its forward run.
std::vector<Leg> legsOf(const std::vector<Section>& sections, const Standard* standard)
{
    std::vector<const Section*> measured;
    for (const Section& section : sections)
        if (!section.stations.empty())
            measured.push_back(&section);
    // Paired as the checks pair them: each with the first later one the other way round.
    std::vector<int> partner(measured.size(), -1);
    for (std::size_t i = 0; i < measured.size(); ++i) {
        const Section& forward = *measured[i];
        if (partner[i] >= 0 || forward.startPoint == forward.endPoint)
            continue;
        for (std::size_t j = i + 1; j < measured.size(); ++j) {
            if (partner[j] < 0 && measured[j]->startPoint == forward.endPoint &&
                measured[j]->endPoint == forward.startPoint) {
                partner[i] = int(j);
                partner[j] = int(i);
                break;
            }
        }
    }
    std::vector<Leg> legs;
    for (std::size_t i = 0; i < measured.size(); ++i) {
        if (partner[i] < 0)
            legs.push_back(legOf(*measured[i]));
        else if (std::size_t(partner[i]) > i)
            legs.push_back(pairOf(*measured[i], *measured[std::size_t(partner[i])], standard));
    }
    return legs;
}

void checkChained(const std::vector<Leg>& legs)
{
    for (std::size_t i = 1; i < legs.size(); ++i) {
        const RouteSection& before = legs[i - 1].section;
        const RouteSection& section = legs[i].section;
        if (section.from != before.to)
            throw InputError(section.firstLine,
                             Message(QT_TRANSLATE_NOOP("levara",
                                                       "the section of lines %1 starts at %2, but the section before "
                                                       "it (lines %3) ends at %4: the sections must follow each other "
                                                       "as one route or one loop, each starting where the one before "
                                                       "ends"),
                                     lines(section.firstLine, section.lastLine), section.from,
                                     lines(before.firstLine, before.lastLine), before.to));
    }
}

// Shares total among the legs in proportion to their weights, each share cut toward
// zero, the units left over given one at a time to the heaviest legs (the earlier of
// equals first).
void distribute(std::vector<Leg>& legs, HundredthsOfMm total, Distribution distribution, int line)
{
    auto weight = [&](const Leg& leg) {
        return distribution == Distribution::ByDistance ? leg.distanceWeight : leg.stationWeight;
    };
    const std::int64_t sum =
        std::accumulate(legs.begin(), legs.end(), std::int64_t(0), [&](auto s, const Leg& l) { return s + weight(l); });
    if (total == 0)
        return;
    if (sum <= 0)
        throw InputError(line, Message(QT_TRANSLATE_NOOP("levara", "the route has no length to share its misclosure "
                                                                   "by: its sight distances are all zero")));
    HundredthsOfMm given = 0;
    for (Leg& leg : legs) {
        leg.section.correction = total * weight(leg) / sum;  // C++ division cuts toward zero
        given += leg.section.correction;
    }
    std::vector<std::size_t> order(legs.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return weight(legs[a]) > weight(legs[b]); });
    const HundredthsOfMm left = total - given;
    const HundredthsOfMm step = left < 0 ? -1 : 1;
    for (HundredthsOfMm k = 0; k < std::abs(left); ++k)
        legs[order[std::size_t(k) % order.size()]].section.correction += step;
}

}  // namespace

HundredthsOfMm toHundredthsOfMm(double metres) { return std::llround(nineDecimals(metres) * kHundredthsOfMmPerMetre); }

double toMetres(HundredthsOfMm value) { return nineDecimals(double(value) / kHundredthsOfMmPerMetre); }

bool Adjustment::overLimit() const
{
    return misclosureOver ||
           std::any_of(sections.begin(), sections.end(), [](const RouteSection& s) { return s.pair && s.pair->over; });
}

std::optional<double> Adjustment::correctionPerUnitMm() const
{
    if (!misclosure)
        return std::nullopt;
    const double per = distribution == Distribution::ByDistance ? lengthKm : stations;
    if (per <= 0)
        return std::nullopt;
    return nineDecimals(-toMetres(*misclosure) * kMillimetresPerMetre / per);
}

std::string pointName(std::string_view window)
{
    window = stripLeadingBlanks(window);
    while (!window.empty() && window.back() == ' ')
        window.remove_suffix(1);
    return std::string(window);
}

RecordedHeight recordedStartHeight(const TextLines& lines, const std::string& start)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const MeasurementLine line(lines[i]);
        if (line.heightTag() != "Z")
            continue;
        const std::optional<double> height = typedNumber(line.height());
        if (!height)
            throw InputError(lines.number(i), Message(QT_TRANSLATE_NOOP("levara", "the height \"%1\" is not a number"),
                                                      pointName(line.height())));
        RecordedHeight recorded{pointName(line.pointNumber()), *height, lines.number(i)};
        if (recorded.point != start)
            throw InputError(recorded.line,
                             Message(QT_TRANSLATE_NOOP("levara", "the first height line is of point %1, not of %2, the "
                                                                 "start of the route: choose a known-points file"),
                                     recorded.point, start));
        return recorded;
    }
    throw InputError(firstLineNumber(lines),
                     Message(QT_TRANSLATE_NOOP("levara", "the text records no height for the route's start: "
                                                         "choose a known-points file")));
}

Adjustment adjustRoute(const std::vector<Section>& sections, const TextLines& lines, const KnownPoints* known,
                       Distribution distribution, const Standard* standard)
{
    std::vector<Leg> legs = legsOf(sections, standard);
    if (legs.empty())
        throw InputError(lastLineNumber(lines),
                         Message(QT_TRANSLATE_NOOP("levara", "the text holds no leveling section to adjust")));
    checkChained(legs);
    const RouteSection& first = legs.front().section;
    const RouteSection& last = legs.back().section;

    Adjustment adjustment;
    adjustment.distribution = distribution;
    if (standard)
        adjustment.standard = standard->limits.name + (standard->mountain ? "(山区)" : "");

    HundredthsOfMm start = 0;
    const KnownPoint* end = nullptr;
    if (known) {
        adjustment.knownFile = known->file;
        const KnownPoint* given = known->find(first.from);
        if (!given)
            throw FileError(known->file,
                            Message(QT_TRANSLATE_NOOP("levara", "gives no height for %1, the start of the route "
                                                                "(line %2)"),
                                    first.from, first.firstLine));
        start = toHundredthsOfMm(given->height);
        for (std::size_t i = 0; i + 1 < legs.size(); ++i) {
            const RouteSection& section = legs[i].section;
            if (section.to != first.from && known->find(section.to))
                throw InputError(section.lastLine,
                                 Message(QT_TRANSLATE_NOOP("levara",
                                                           "%1 gives a height for %2 inside the route too: Levara "
                                                           "distributes the misclosure of one route with known heights "
                                                           "at its ends only; save the sections for adjustment "
                                                           "software to adjust a network"),
                                         known->file, section.to));
        }
        end = known->find(last.to);
    } else {
        const RecordedHeight recorded = recordedStartHeight(lines, first.from);
        start = toHundredthsOfMm(recorded.height);
        adjustment.startHeightLine = recorded.line;
    }

    for (const Leg& leg : legs) {
        adjustment.lengthKm += leg.section.lengthKm;
        adjustment.stations += leg.section.stations;
        adjustment.measured += leg.section.measured;
    }
    adjustment.lengthKm = nineDecimals(adjustment.lengthKm);
    if (last.to == first.from) {
        adjustment.kind = RouteKind::Loop;
        adjustment.misclosure = adjustment.measured;
    } else if (end) {
        adjustment.kind = RouteKind::Connecting;
        adjustment.misclosure = adjustment.measured - (toHundredthsOfMm(end->height) - start);
    }
    if (adjustment.misclosure) {
        if (standard)
            adjustment.limitMm = rootLimit(standard->limits.loopMisclosure, standard->mountain, adjustment.lengthKm);
        const double misclosureMm = toMetres(*adjustment.misclosure) * kMillimetresPerMetre;
        adjustment.misclosureOver = adjustment.limitMm && above(std::abs(misclosureMm), *adjustment.limitMm);
        distribute(legs, -*adjustment.misclosure, distribution, last.lastLine);
    }

    adjustment.points.push_back({first.from, start, true});
    HundredthsOfMm height = start;
    for (Leg& leg : legs) {
        height += leg.section.corrected();
        adjustment.points.push_back({leg.section.to, height, false});
        adjustment.sections.push_back(std::move(leg.section));
    }
    adjustment.points.back().known = adjustment.kind != RouteKind::Open;
    return adjustment;
}

}  // namespace levara::leveling
