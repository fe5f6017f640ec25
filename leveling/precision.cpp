#include "leveling/precision.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "leveling/exact_units.h"
#include "leveling/units.h"

namespace levara::leveling {

namespace {

// The precision sheet prints R and F to 0.001 km, Δ and W to 0.01 mm, ΔΔ/R, WW/F, their
// sums and M to 0.01: each value is stored as printed, rounded half to even from its
// exact decimal, and the sums and M come from the printed rows.
constexpr double kHundredths = 100;

// A length in km of nine decimals (sums of whole millimetres and their halves) in
// whole metres, half to even.
std::int64_t printedMetres(double kilometres)
{
    return halfEvenQuotient(std::llround(kilometres * 1e9), kMicrometresPerMetre);
}

// Δ²/R in hundredths of mm²/km, half to even, of Δ in hundredths of a mm and R in
// metres: (d/100)² / (r/1000) = d²/(10 r), a hundredth of it 10 d²/r. A discrepancy
// beyond some 9 km, whose square leaves an int64, is rounded from the double.
double weightedSquareHundredths(std::int64_t hundredthsOfMm, std::int64_t metres)
{
    if (std::abs(hundredthsOfMm) < 900'000'000)
        return double(halfEvenQuotient(10 * hundredthsOfMm * hundredthsOfMm, metres));
    return std::nearbyint(10.0 * double(hundredthsOfMm) * double(hundredthsOfMm) / double(metres));
}

// ±√(sum / divisor) to 0.01, sum in mm²/km as printed.
double printedError(double printedSum, double divisor)
{
    return std::nearbyint(std::sqrt(printedSum / divisor) * kHundredths) / kHundredths;
}

template <typename Row>
double sumOfPrinted(const std::vector<Row>& rows)
{
    double hundredths = 0;  // whole numbers, exact in a double
    for (const Row& row : rows)
        hundredths += std::nearbyint(row.weightedSquare * kHundredths);
    return hundredths / kHundredths;
}

}  // namespace

double weightedSquareSum(const std::vector<PairPrecision>& pairs) { return sumOfPrinted(pairs); }
double weightedSquareSum(const std::vector<LoopPrecision>& loops) { return sumOfPrinted(loops); }

std::optional<double> randomErrorPerKm(const std::vector<PairPrecision>& pairs)
{
    if (pairs.empty())
        return std::nullopt;
    return printedError(weightedSquareSum(pairs), 4.0 * double(pairs.size()));
}

std::optional<double> totalErrorPerKm(const std::vector<LoopPrecision>& loops)
{
    if (loops.empty())
        return std::nullopt;
    return printedError(weightedSquareSum(loops), double(loops.size()));
}

Precision assessPrecision(const std::vector<Section>& sections, const std::vector<Leg>& legs,
                          const std::vector<Loop>& loops)
{
    Precision precision;
    for (const Leg& leg : legs) {
        const std::int64_t metres = printedMetres(leg.lengthKm);
        if (!leg.pair() || leg.repeats >= 0 || metres <= 0)
            continue;
        const Section& forward = sections[std::size_t(leg.forward)];
        const Section& back = sections[std::size_t(leg.back)];
        PairPrecision& row = precision.pairs.emplace_back();
        row.from = leg.from;
        row.to = leg.to;
        row.line = back.lastLine;
        row.lengthKm = double(metres) / kMetresPerKilometre;
        const std::int64_t discrepancy =
            halfEvenQuotient(micrometresOf(forward.heightDifference) + micrometresOf(back.heightDifference),
                             kHundredthMm);
        row.discrepancyMm = double(discrepancy) / kHundredths;
        row.weightedSquare = weightedSquareHundredths(discrepancy, metres) / kHundredths;
    }
    for (const Loop& loop : loops) {
        const std::int64_t metres = printedMetres(loop.lengthKm);
        if (metres <= 0)
            continue;
        LoopPrecision& row = precision.loops.emplace_back();
        row.loop = loop.name;
        row.line = legs[loop.closing].lastLine;
        row.perimeterKm = double(metres) / kMetresPerKilometre;
        row.misclosureMm = double(loop.misclosure) / kHundredths;
        row.weightedSquare = weightedSquareHundredths(loop.misclosure, metres) / kHundredths;
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
