#include <charconv>
#include <string>

#include "records/number_text.h"

namespace levara {

namespace {

bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double leadingNumber(std::string_view text)
{
    // The number's characters, with the blanks between them taken out.
    std::string number;
    std::size_t i = 0;
    const auto next = [&]() -> char {
        while (i < text.size() && isSkipped(text[i]))
            ++i;
        return i < text.size() ? text[i] : '\0';
    };
    bool negative = false;
    if (const char c = next(); c == '+' || c == '-') {
        negative = c == '-';
        ++i;
    }
    std::size_t digits = 0;
    for (char c = next(); isDigit(c); c = next(), ++digits, ++i)
        number += c;
    if (next() == '.') {
        ++i;
        number += '.';
        for (char c = next(); isDigit(c); c = next(), ++digits, ++i)
            number += c;
    }
    if (digits == 0)
        return 0;
    if (const char e = next(); e == 'e' || e == 'E') {
        ++i;
        std::string exponent = "e";
        if (const char c = next(); c == '+' || c == '-') {
            exponent += c;
            ++i;
        }
        bool any = false;
        for (char c = next(); isDigit(c); c = next(), ++i) {
            exponent += c;
            any = true;
        }
        if (any)  // "1.5e" and "1.5e+" read as 1.5
            number += exponent;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc())
        return 0;  // beyond the range of a double: no usable number
    return negative ? -value : value;
}

}  // namespace levara
