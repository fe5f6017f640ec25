#pragma once
// How texts become numbers, and numbers texts.
#include <optional>
#include <string>
#include <string_view>

namespace levara {

// The leading-number rule used for computation: blanks, tabs and line feeds are
// skipped wherever they stand; an optional sign, digits, an optional "." with digits
// and an optional exponent are read; reading stops at the first other character
// (so a trailing unit is ignored). "." is always the decimal point. No number at
// all, or one beyond the range of a double, gives 0.
double leadingNumber(std::string_view text);

// Whether a text reads as a number the way typed input into a cell does, and which.
// After removing leading and trailing blanks: an optional sign, digits with an
// optional decimal point (or a point and digits), an optional exponent. Nothing
// else: no dates, times, percents or thousands separators, so point names such as
// "1-2" or "3/4" stay text; so does a number too large for a double. "-0" is 0.
// This is the one definition used wherever text is written into a cell.
std::optional<double> typedNumber(std::string_view text);

// Pattern "0.00000": a text that reads as a number (typedNumber) written with five
// decimals, rounded to the nearest 0.00001; any other text comes back unchanged.
// Rounding is half away from zero on the number's 15-digit decimal form, so
// 0.389715 gives 0.38972 although the double lies a hair below; a value that
// rounds to zero is "0.00000", never "-0.00000".
std::string fiveDecimalText(std::string_view text);
std::string fiveDecimalText(double value);

// A number written without leading zeros and with its sign position first: a blank
// before a number that is not negative (" 12", "-3", " 1.5", " .5"). Up to 15
// significant digits, no trailing zeros; below 0.0001 and from 1E+15 on in
// exponent form (" 1E+20", "-1.25E-07").
std::string signedNumberText(double value);

}  // namespace levara
