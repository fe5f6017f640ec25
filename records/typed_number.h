#pragma once
// Whether a text reads as a number the way typed input into a cell does.
#include <optional>
#include <string_view>

namespace levara {

// After removing leading and trailing blanks: an optional sign, digits with an
// optional decimal point (or a point and digits), an optional exponent. Nothing
// else: no dates, times, percents or thousands separators, so point names such as
// "1-2" or "3/4" stay text; so does a number too large for a double. "-0" is 0.
// This is the one definition used wherever text is written into a cell.
std::optional<double> typedNumber(std::string_view text);

}  // namespace levara
