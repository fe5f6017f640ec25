#include "leveling/exact_units.h"

#include <cmath>

#include "records/records.h"

namespace levara::leveling {

std::int64_t halfEvenQuotient(std::int64_t numerator, std::int64_t divisor)
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

Micrometres micrometresOf(double metres) { return std::llround(metres * double(kMicrometresPerMetre)); }

Micrometres micrometres(std::string_view text)
{
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
