#include "leveling/precision.h"

#include <cmath>

#include "leveling/units.h"

namespace levara::leveling {

std::optional<double> randomErrorPerKm(const std::vector<PairPrecision>& pairs)
{
    if (pairs.empty())
        return std::nullopt;
    double sum = 0;
    for (const PairPrecision& pair : pairs)
        sum += pair.weightedSquare;
    return nineDecimals(std::sqrt(sum / (4.0 * double(pairs.size()))));
}

std::optional<double> totalErrorPerKm(const std::vector<LoopPrecision>& loops)
{
    if (loops.empty())
        return std::nullopt;
    double sum = 0;
    for (const LoopPrecision& loop : loops)
        sum += loop.weightedSquare;
    return nineDecimals(std::sqrt(sum / double(loops.size())));
}

Precision assessPrecision(const std::vector<Section>& sections, const std::vector<Leg>& legs,
                          const std::vector<Loop>& loops)
{
    Precision precision;
    for (const Leg& leg : legs) {
        if (!leg.pair() || leg.repeats >= 0 || leg.lengthKm <= 0)
            continue;
        const Section& forward = sections[std::size_t(leg.forward)];
        const Section& back = sections[std::size_t(leg.back)];
        PairPrecision& row = precision.pairs.emplace_back();
        row.from = leg.from;
        row.to = leg.to;
        row.line = back.lastLine;
        row.lengthKm = leg.lengthKm;
        row.discrepancyMm = nineDecimals((forward.heightDifference + back.heightDifference) * kMillimetresPerMetre);
        row.weightedSquare = nineDecimals(row.discrepancyMm * row.discrepancyMm / row.lengthKm);
    }
    for (const Loop& loop : loops) {
        if (loop.lengthKm <= 0)
            continue;
        LoopPrecision& row = precision.loops.emplace_back();
        row.loop = loop.name;
        row.line = legs[loop.closing].lastLine;
        row.perimeterKm = loop.lengthKm;
        row.misclosureMm = nineDecimals(toMetres(loop.misclosure) * kMillimetresPerMetre);
        row.weightedSquare = nineDecimals(row.misclosureMm * row.misclosureMm / row.perimeterKm);
    }
    precision.randomErrorMm = randomErrorPerKm(precision.pairs);
    precision.totalErrorMm = totalErrorPerKm(precision.loops);
    return precision;
}

Precision precisionOf(const std::vector<Section>& sections)
{
    const std::vector<Leg> legs = legsOf(sections);
    return assessPrecision(sections, legs, loopsOf(legs));
}

}  // namespace levara::leveling
