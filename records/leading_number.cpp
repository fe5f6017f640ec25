#include "records/leading_number.h"

#include <charconv>
#include <string>

#include "records/exact_decimal.h"

namespace levara {

namespace {

bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double leadingNumber(std::string_view text)
{
    // Most texts are a bare decimal: nothing to skip, nothing after it.
    if (double value = 0; detail::exactDecimal(text, value))
        return value;
    std::size_t i = 0;
    // The next character that is not skipped, '\0' at the end.
    const auto peek = [&]() -> char {
        while (i < text.size() && isSkipped(text[i]))
            ++i;
        return i < text.size() ? text[i] : '\0';
    };
    // The number's characters, with the blanks between them taken out.
    std::string number;
    std::size_t digits = 0;
    const auto takeDigits = [&](std::string& into) {
        std::size_t taken = 0;
        for (char c; isDigit(c = peek()); ++i, ++taken)
            into += c;
        return taken;
    };

    bool negative = false;
    if (const char c = peek(); c == '+' || c == '-') {
        negative = c == '-';
        ++i;
    }
    digits += takeDigits(number);
    if (peek() == '.') {
        ++i;
        number += '.';
        digits += takeDigits(number);
    }
    if (digits == 0)
        return 0;
    if (const char e = peek(); e == 'e' || e == 'E') {
        ++i;
        std::string exponent = "e";
        if (const char c = peek(); c == '+' || c == '-') {
            exponent += c;
            ++i;
        }
        if (takeDigits(exponent) > 0)  // "1.5e" and "1.5e+" read as 1.5
            number += exponent;
    }
    double value = 0;
    if (!detail::exactDecimal(number, value)) {
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (error != std::errc())
            return 0;  // beyond the range of a double: no usable number
    }
    return negative ? -value : value;
}

}  // namespace levara
