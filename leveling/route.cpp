#include "leveling/route.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "leveling/exact_units.h"
#include "leveling/start_height.h"
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

std::string lines(LineNumber first, LineNumber last) { return first.text() + "–" + last.text(); }

// A route section with the weights its correction is shared by: in millimetres or
// stations, twice over so that a pair's mean stays whole.
struct RouteLeg {
    RouteSection section;
    std::int64_t distanceWeight = 0, stationWeight = 0;
};

std::int64_t millimetres(const Section& section) { return std::llround(section.length() * kMillimetresPerMetre); }

RouteLeg routeLegOf(const Leg& leg, const std::vector<Section>& sections, const Standard* standard)
{
    const Section& forward = sections[std::size_t(leg.forward)];
    RouteLeg routeLeg;
    RouteSection& section = routeLeg.section;
    section.from = leg.from;
    section.to = leg.to;
    section.firstLine = forward.firstLine;
    section.lastLine = forward.lastLine;
    section.file = forward.file;
    section.lengthKm = leg.lengthKm;
    section.stations = leg.stations;
    section.measured = leg.measured;
    if (!leg.pair()) {
        routeLeg.distanceWeight = 2 * millimetres(forward);
        routeLeg.stationWeight = 2 * std::int64_t(forward.stationCount());
        return routeLeg;
    }
    const Section& back = sections[std::size_t(leg.back)];
    routeLeg.distanceWeight = millimetres(forward) + millimetres(back);
    routeLeg.stationWeight = forward.stationCount() + back.stationCount();
    PairCheck check;
    check.returnFirstLine = back.firstLine;
    check.returnLastLine = back.lastLine;
    check.returnFile = back.file;
    check.discrepancyMm = nineDecimals((forward.heightDifference + back.heightDifference) * kMillimetresPerMetre);
    if (standard)
        check.limitMm = rootLimit(standard->limits.forwardReturn, standard->mountain, leg.lengthKm);
    check.over = check.limitMm && above(std::abs(check.discrepancyMm), *check.limitMm);
    section.pair = check;
    return routeLeg;
}

void checkChained(const std::vector<RouteLeg>& legs)
{
    for (std::size_t i = 1; i < legs.size(); ++i) {
        const RouteSection& before = legs[i - 1].section;
        const RouteSection& section = legs[i].section;
        if (section.from != before.to)
            throw inputErrorIn(
                section.file, section.firstLine,
                Message(QT_TRANSLATE_NOOP("levara", "the section of lines %1 starts at %2, but the section before "
                                                    "it (lines %3) ends at %4: the sections must follow each other "
                                                    "as one route or one loop, each starting where the one before "
                                                    "ends"),
                        lines(section.firstLine, section.lastLine), section.from,
                        lineRange(before.firstLine, before.lastLine,
                                  before.file == section.file ? nullptr : before.file),
                        before.to));
    }
}

// Shares total among the legs in proportion to their weights, each share cut toward
// zero, the units left over given one at a time to the heaviest legs (the earlier of
// equals first).
// Wide enough for a misclosure times a weight (both within 64 bits).
__extension__ typedef __int128 WideProduct;

void distribute(std::vector<RouteLeg>& legs, HundredthsOfMm total, Distribution distribution, LineNumber line,
                const std::filesystem::path* file)
{
    auto weight = [&](const RouteLeg& leg) {
        return distribution == Distribution::ByDistance ? leg.distanceWeight : leg.stationWeight;
    };
    const std::int64_t sum = std::accumulate(legs.begin(), legs.end(), std::int64_t(0),
                                             [&](auto s, const RouteLeg& l) { return s + weight(l); });
    if (total == 0)
        return;
    if (sum <= 0)
        throw inputErrorIn(file, line,
                           Message(QT_TRANSLATE_NOOP("levara", "the route has no length to share its misclosure "
                                                               "by: its sight distances are all zero")));
    HundredthsOfMm given = 0;
    for (RouteLeg& leg : legs) {
        // C++ division cuts toward zero; the product may pass 64 bits before it.
        leg.section.correction = HundredthsOfMm(static_cast<WideProduct>(total) * weight(leg) / sum);
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

std::vector<RouteSection> routeSections(const std::vector<Section>& sections, const Standard* standard, bool pairs)
{
    std::vector<RouteSection> result;
    if (pairs) {
        for (const Leg& leg : legsOf(sections))
            result.push_back(routeLegOf(leg, sections, standard).section);
    } else {
        for (std::size_t i = 0; i < sections.size(); ++i)
            if (!sections[i].stations.empty())
                result.push_back(routeLegOf(legOf(sections[i], int(i)), sections, standard).section);
    }
    return result;
}

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

Adjustment adjustRoute(const std::vector<Section>& sections, const TextLines& lines, const KnownPoints* known,
                       Distribution distribution, const Standard* standard)
{
    const std::vector<Leg> shared = legsOf(sections);
    std::vector<RouteLeg> legs;
    for (const Leg& leg : shared)
        legs.push_back(routeLegOf(leg, sections, standard));
    if (legs.empty())
        throw inputErrorIn(lines.file(), lastLineNumber(lines),
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
                                    first.from,
                                    (first.file ? first.file->string() + ":" : "") + first.firstLine.text()));
        start = toHundredthsOfMm(given->height);
        for (std::size_t i = 0; i + 1 < legs.size(); ++i) {
            const RouteSection& section = legs[i].section;
            if (section.to != first.from && known->find(section.to))
                throw inputErrorIn(
                    section.file, section.lastLine,
                    Message(QT_TRANSLATE_NOOP("levara", "%1 gives a height for %2 inside the route too: Levara "
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
        if (recorded.file)
            adjustment.startHeightFile = *recorded.file;
    }

    // The table prints a section's length to the metre (0.001 km), half to even from its
    // millimetres, and ΣL as the sum of the printed lengths. The limits stay those the
    // checks hold: from the lengths in millimetres.
    double measuredKm = 0;
    std::int64_t printedMetres = 0;
    for (RouteLeg& leg : legs) {
        measuredKm += leg.section.lengthKm;
        const std::int64_t metres = halfEvenQuotient(leg.distanceWeight, 2 * std::int64_t(kMillimetresPerMetre));
        leg.section.lengthKm = double(metres) / kMetresPerKilometre;
        printedMetres += metres;
        adjustment.stations += leg.section.stations;
        adjustment.measured += leg.section.measured;
    }
    measuredKm = nineDecimals(measuredKm);
    adjustment.lengthKm = double(printedMetres) / kMetresPerKilometre;
    if (last.to == first.from) {
        adjustment.kind = RouteKind::Loop;
        // As the checks close it.
        adjustment.misclosure = routeLoop(shared).misclosure;
    } else if (end) {
        adjustment.kind = RouteKind::Connecting;
        adjustment.misclosure = adjustment.measured - (toHundredthsOfMm(end->height) - start);
    }
    if (adjustment.misclosure) {
        if (standard)
            adjustment.limitMm = rootLimit(standard->limits.loopMisclosure, standard->mountain, measuredKm);
        const double misclosureMm = toMetres(*adjustment.misclosure) * kMillimetresPerMetre;
        adjustment.misclosureOver = adjustment.limitMm && above(std::abs(misclosureMm), *adjustment.limitMm);
        distribute(legs, -*adjustment.misclosure, distribution, last.lastLine, last.file);
    }

    adjustment.precision = assessPrecision(sections, shared, loopsOf(shared));
    if (standard && standard->limits.randomError)
        adjustment.randomErrorLimitMm = standard->limits.randomError->max->value;
    if (standard && standard->limits.totalError)
        adjustment.totalErrorLimitMm = standard->limits.totalError->max->value;

    adjustment.points.push_back({first.from, start, true});
    HundredthsOfMm height = start;
    for (RouteLeg& leg : legs) {
        height += leg.section.corrected();
        adjustment.points.push_back({leg.section.to, height, false});
        adjustment.sections.push_back(std::move(leg.section));
    }
    adjustment.points.back().known = adjustment.kind != RouteKind::Open;
    return adjustment;
}

}  // namespace levara::leveling
