#pragma once
// The number a text starts with, as the books compute with it.
#include <string_view>

namespace levara {

// Blanks, tabs and line feeds are skipped wherever they stand; an optional sign,
// digits, an optional "." with digits and an optional exponent are read; reading
// stops at the first other character (so a trailing unit is ignored). "." is always
// the decimal point. No number at all, or one beyond the range of a double, gives 0.
double leadingNumber(std::string_view text);

}  // namespace levara
