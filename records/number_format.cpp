#include "records/number_format.h"

#include <charconv>
#include <cmath>
#include <string>

#include "records/typed_number.h"

namespace levara {

namespace {

// A finite non-zero value as 15 significant decimal digits: value = 0.d1d2... x
// 10^(exponent + 1), i.e. the first digit stands at 10^exponent. Fifteen digits
// is what a double holds reliably, so 0.389715 (stored a hair below) rounds
// like the decimal number the surveyor sees.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal decimal(double value)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    Decimal d;
    for (char c : text.substr(0, e))
        if (c != '.')
            d.digits += c;
    std::from_chars(text.data() + e + 2, text.data() + text.size(), d.exponent);
    if (text[e + 1] == '-')
        d.exponent = -d.exponent;
    return d;
}

// The digit standing at 10^place, 0 outside the digits held.
char digitAt(const Decimal& d, int place)
{
    const int k = d.exponent - place;
    return k >= 0 && k < static_cast<int>(d.digits.size()) ? d.digits[static_cast<std::size_t>(k)] : '0';
}

// Rounds half to even (GB/T 8170-2008, 3.3) to the digit at 10^place.
void roundAt(Decimal& d, int place)
{
    const int keep = d.exponent - place + 1;  // digits that stay
    if (keep < 0) {
        d.digits = "0";
        return;
    }
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    const char first = d.digits[static_cast<std::size_t>(keep)];
    const bool beyondHalf = d.digits.find_first_not_of('0', static_cast<std::size_t>(keep) + 1) != std::string::npos;
    const bool odd = keep > 0 && (d.digits[static_cast<std::size_t>(keep - 1)] - '0') % 2 != 0;
    const bool up = first > '5' || (first == '5' && (beyondHalf || odd));
    d.digits.resize(static_cast<std::size_t>(keep));
    if (!up) {
        if (d.digits.empty())
            d.digits = "0";
        return;
    }
    int k = keep - 1;
    while (k >= 0 && d.digits[static_cast<std::size_t>(k)] == '9')
        d.digits[static_cast<std::size_t>(k--)] = '0';
    if (k >= 0)
        ++d.digits[static_cast<std::size_t>(k)];
    else {
        d.digits.insert(d.digits.begin(), '1');
        ++d.exponent;
    }
}

bool isZero(const Decimal& d) { return d.digits.find_first_not_of('0') == std::string::npos; }

std::string nonFinite(double value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string fiveDecimalText(std::string_view text)
{
    if (const auto number = typedNumber(text))
        return fiveDecimalText(*number);
    return std::string(text);
}

std::string fiveDecimalText(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    if (value == 0)
        return "0.00000";
    Decimal d = decimal(value);
    roundAt(d, -5);
    std::string text;
    if (value < 0 && !isZero(d))
        text += '-';
    for (int place = std::max(d.exponent, 0); place >= 0; --place)
        text += digitAt(d, place);
    text += '.';
    for (int place = -1; place >= -5; --place)
        text += digitAt(d, place);
    return text;
}

double nineDecimals(double value)
{
    constexpr double kNano = 1e9;
    // Below this, value * 1e9 is an integer a double holds exactly, and dividing it by
    // 1e9 (also exact) gives the double nearest the nine-decimal number.
    constexpr double kExactBelow = 9e6;
    // From here on a double has no digit left after the ninth decimal.
    constexpr double kWhole = 1e15;
    if (!std::isfinite(value) || std::fabs(value) >= kWhole)
        return value;
    double rounded;
    if (std::fabs(value) < kExactBelow) {
        rounded = std::round(value * kNano) / kNano;
    } else {
        char buffer[64];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 9);
        std::from_chars(buffer, written.ptr, rounded);
    }
    return rounded == 0 ? 0.0 : rounded;
}

std::string signedNumberText(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    if (value == 0)
        return " 0";
    Decimal d = decimal(value);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    std::string text(1, value < 0 ? '-' : ' ');
    const int last = d.exponent - static_cast<int>(d.digits.size()) + 1;  // place of the last digit
    if (d.exponent >= -4 && d.exponent < 15) {
        // No leading zero: a half is " .5".
        for (int place = d.exponent; place >= 0; --place)
            text += digitAt(d, place);
        if (last < 0) {
            text += '.';
            for (int place = -1; place >= last; --place)
                text += digitAt(d, place);
        }
        return text;
    }
    text += d.digits[0];
    if (d.digits.size() > 1) {
        text += '.';
        text.append(d.digits, 1);
    }
    const int exponent = std::abs(d.exponent);
    text += d.exponent < 0 ? "E-" : "E+";
    if (exponent < 10)
        text += '0';
    text += std::to_string(exponent);
    return text;
}

std::int64_t roundedHalfToEven(std::int64_t value, std::int64_t step)
{
    std::int64_t quotient = value / step, remainder = value % step;
    if (remainder < 0)
        remainder += step, --quotient;
    if (2 * remainder > step || (2 * remainder == step && quotient % 2 != 0))
        ++quotient;
    return quotient * step;
}

std::string halfEvenText(double value, int decimals)
{
    // Nanometres of a value below this fit an int64 with room to spare.
    constexpr double kLargest = 9e9;
    if (!std::isfinite(value) || std::fabs(value) >= kLargest) {
        char buffer[400];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
        return std::string(buffer, written.ptr);
    }
    // nineDecimals' form as whole units of 1e-9, read from its own text.
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, nineDecimals(value), std::chars_format::fixed, 9);
    std::int64_t units = 0;
    for (const char* c = buffer; c != written.ptr; ++c)
        if (*c >= '0' && *c <= '9')
            units = units * 10 + (*c - '0');
    std::int64_t step = 1;
    for (int k = decimals; k < 9; ++k)
        step *= 10;
    const std::int64_t rounded = roundedHalfToEven(units, step) / step;
    std::int64_t unit = 1;
    for (int k = 0; k < decimals; ++k)
        unit *= 10;
    std::string text = value < 0 && rounded != 0 ? "-" : "";
    text += std::to_string(rounded / unit);
    if (decimals > 0) {
        const std::string fraction = std::to_string(rounded % unit);
        text += "." + std::string(std::size_t(decimals) - fraction.size(), '0') + fraction;
    }
    return text;
}

}  // namespace levara
