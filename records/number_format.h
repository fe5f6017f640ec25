#pragma once
// Numbers written as the tables show them.
#include <cstdint>
#include <string>
#include <string_view>

namespace levara {

// Pattern "0.00000": a text that reads as a number (typedNumber) written with five
// decimals, rounded to the nearest 0.00001; any other text comes back unchanged.
// Rounding is half to even (四舍六入五成双, GB/T 8170) on the number's 15-digit
// decimal form, the text's own decimal when it has at most 15 digits: 0.389715
// gives 0.38972 although the double lies a hair below, 0.389725 gives 0.38972; a
// value that rounds to zero is "0.00000", never "-0.00000".
std::string fiveDecimalText(std::string_view text);
std::string fiveDecimalText(double value);

// A number written without leading zeros and with its sign position first: a blank
// before a number that is not negative (" 12", "-3", " 1.5", " .5"). Up to 15
// significant digits, no trailing zeros; below 0.0001 and from 1E+15 on in
// exponent form (" 1E+20", "-1.25E-07").
std::string signedNumberText(double value);

// A computed value as the books store it: rounded to nine decimals (half away from
// zero), i.e. the double nearest its nine-decimal form, so that binary noise such as
// 0.6000000000000014 or -3.55E-15 is gone and every spreadsheet rounds it for display
// the same way. -0 becomes 0; a value that is not finite is returned as it is.
double nineDecimals(double value);

// value rounded to a multiple of step (> 0), half to even (GB/T 8170): exact, on
// whole units.
std::int64_t roundedHalfToEven(std::int64_t value, std::int64_t step);

// A computed value written with decimals (0 to 9) decimals, rounded half to even from
// its nine-decimal form (nineDecimals), the exact decimal the books store: a mean of
// 0.123455 m gives "0.12346" at five, 0.123465 "0.12346". Never "-0.000"; a value
// that is not finite, or of 9e9 and more, as std::to_chars writes it.
std::string halfEvenText(double value, int decimals);

}  // namespace levara
