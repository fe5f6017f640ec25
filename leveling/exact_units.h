#pragma once
// Readings and distances as exact decimals in whole micrometres, and the one rounding
// rule for every value a book, table or file prints: half to even at the printed
// decimals (四舍六入五成双, GB/T 8170-2008 数值修约规则 3.3), from the exact decimal
// value, never from a binary double.
#include <cmath>
#include <cstdint>
#include <string_view>

namespace levara::leveling {

// Units of 0.001 mm (0.000001 m). A value within ±1e6 m (what the station readers
// take) is below 1e12 of them, so the sums of a worksheet's stations stay far within
// an int64.
using Micrometres = std::int64_t;
inline constexpr Micrometres kMicrometresPerMetre = 1000000;
// The printed units: 0.01 mm (five decimals of a metre) and 1 mm (three).
inline constexpr Micrometres kHundredthMm = 10;
inline constexpr Micrometres kMillimetre = 1000;

// A number as typed input takes it (typedNumber: sign, digits, point, exponent) in
// micrometres. Digits beyond the sixth decimal are rounded half to even, which no
// level records; 0 for a text that is not such a number.
Micrometres micrometres(std::string_view text);

// numerator / divisor (divisor > 0) rounded half to even. Inline, so that the books'
// constant divisors compile to multiplications.
inline std::int64_t halfEvenQuotient(std::int64_t numerator, std::int64_t divisor)
{
    std::int64_t quotient = numerator / divisor, remainder = numerator % divisor;
    if (remainder < 0) {  // floor division: 0 <= remainder < divisor
        --quotient;
        remainder += divisor;
    }
    const std::int64_t twice = 2 * remainder;
    if (twice > divisor || (twice == divisor && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

// The value rounded half to even to a multiple of unit.
inline Micrometres roundedTo(Micrometres value, Micrometres unit) { return halfEvenQuotient(value, unit) * unit; }

// The double nearest the decimal value (one correctly rounded IEEE division), in
// metres: what a cell stores so that it prints as that decimal.
inline double metres(Micrometres value) { return double(value) / double(kMicrometresPerMetre); }
inline double millimetres(Micrometres value) { return double(value) / double(kMillimetre); }
// A value in metres that is the nearest double to a decimal of at most six decimals
// (every value computedStations gives) back in micrometres: rounded half away from
// zero as std::llround rounds, inline as the sums call it for every station.
inline Micrometres micrometresOf(double metres)
{
    const double scaled = metres * double(kMicrometresPerMetre);
    // Below 2^52 the integer part and the fraction are exact doubles.
    if (!(std::fabs(scaled) < 0x1p52))
        return std::llround(scaled);
    auto whole = static_cast<Micrometres>(scaled);  // toward zero
    const double fraction = scaled - double(whole);
    if (fraction >= 0.5)
        ++whole;
    else if (fraction <= -0.5)
        --whole;
    return whole;
}

}  // namespace levara::leveling
