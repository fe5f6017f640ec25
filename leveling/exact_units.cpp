#include "leveling/exact_units.h"

#include <cmath>

#include "records/records.h"

namespace levara::leveling {

namespace {

// The bulk of every raw file: digits with one point and at most six decimals, such as
// "1.67078" or "45.870". False for any other text.
bool plainDecimal(std::string_view text, Micrometres& value)
{
    constexpr Micrometres kScale[] = {1000000, 100000, 10000, 1000, 100, 10, 1};
    Micrometres digits = 0;
    int decimals = -1;  // -1 before the point
    for (const char c : text) {
        if (c == '.' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (c < '0' || c > '9' || decimals == 6 || digits > 99999999999)
            return false;
        digits = digits * 10 + (c - '0');
        if (decimals >= 0)
            ++decimals;
    }
    if (text.empty() || decimals == 0 || (decimals < 0 && digits > 999999))
        return false;
    value = digits * kScale[decimals < 0 ? 0 : decimals];
    return true;
}

}  // namespace

Micrometres micrometres(std::string_view text)
{
    if (Micrometres value = 0; plainDecimal(text, value))
        return value;
    text = stripBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int exponent = 0;
    if (const std::size_t e = text.find_first_of("eE"); e != std::string_view::npos) {
        const std::string_view digits = text.substr(e + 1);
        std::size_t k = digits.empty() || digits[0] == '+' || digits[0] == '-' ? 1 : 0;
        for (; k < digits.size() && exponent < 1000; ++k)
            exponent = exponent * 10 + (digits[k] - '0');
        if (!digits.empty() && digits[0] == '-')
            exponent = -exponent;
        text = text.substr(0, e);
    }
    // The first digit's place: 10^place metres.
    const std::size_t point = text.find('.');
    int place = int(point == std::string_view::npos ? text.size() : point) - 1 + exponent;
    Micrometres value = 0;
    int roundingDigit = -1;  // the digit at 10^-7, -1 before it is met
    bool sticky = false;     // any non-zero digit after it
    for (const char c : text) {
        if (c == '.')
            continue;
        if (c < '0' || c > '9')
            return 0;
        const int digit = c - '0';
        if (place >= -6) {
            // Leading zeros stand at any place; a non-zero digit from 10^12 m on is not
            // a number the readers take (and would not fit).
            if (digit != 0 && place > 11)
                return 0;
            if (place <= 11)
                value = value * 10 + digit;
        } else if (roundingDigit < 0) {
            roundingDigit = digit;
        } else if (digit != 0) {
            sticky = true;
        }
        --place;
    }
    // Digits that end before the micrometre: scale up.
    for (; place >= -6; --place)
        value *= 10;
    if (roundingDigit > 5 || (roundingDigit == 5 && (sticky || value % 2 != 0)))
        ++value;
    return negative ? -value : value;
}

}  // namespace levara::leveling
