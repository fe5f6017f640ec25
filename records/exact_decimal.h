#pragma once
// Plain decimals such as "1.67078" or "45.870", the bulk of every raw file, read
// without the general parser. Their digits as an integer below 2^53 and a power of
// ten up to 1e22 are both exact doubles, so one IEEE division rounds the quotient
// once: the same correctly rounded value std::from_chars gives (Clinger's fast
// path, "How to read floating point numbers accurately", PLDI 1990).
#include <cstdint>
#include <string_view>

namespace levara::detail {

// Digits with at most one "." among them and nothing else; false for any other
// text, and for one with too many digits for the fast path.
inline bool exactDecimal(std::string_view text, double& value)
{
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = -1;  // -1 before the point
    for (const char c : text) {
        if (c == '.') {
            if (decimals >= 0)
                return false;
            decimals = 0;
            continue;
        }
        if (c < '0' || c > '9' || ++digits > 19)
            return false;
        mantissa = mantissa * 10 + std::uint64_t(c - '0');
        if (decimals >= 0)
            ++decimals;
    }
    if (digits == 0 || mantissa > (std::uint64_t{1} << 53) || decimals > 22)
        return false;
    value = double(mantissa) / kPowersOfTen[decimals < 0 ? 0 : decimals];
    return true;
}

}  // namespace levara::detail
