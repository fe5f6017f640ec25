#include "records/typed_number.h"

#include <charconv>

#include "records/exact_decimal.h"

namespace levara {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

}  // namespace

std::optional<double> typedNumber(std::string_view text)
{
    // Most texts are a bare decimal: no blanks, sign or exponent to look at.
    if (double value = 0; detail::exactDecimal(text, value))
        return value;
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);

    std::size_t i = 0;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        ++i;
    }
    const std::size_t mantissa = i;
    i = skipDigits(text, i);
    std::size_t digits = i - mantissa;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fraction = i + 1;
        i = skipDigits(text, fraction);
        digits += i - fraction;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t exponent = i;
        i = skipDigits(text, i);
        if (i == exponent)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;

    double value = 0;
    if (!detail::exactDecimal(text.substr(mantissa), value)) {
        const auto [end, error] = std::from_chars(text.data() + mantissa, text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size())
            return std::nullopt;  // too large for a number cell: it stays text
    }
    if (value == 0)
        return 0.0;  // "-0" is 0
    return negative ? -value : value;
}

}  // namespace levara
