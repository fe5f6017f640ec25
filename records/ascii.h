#pragma once
// ASCII bytes mean the same in GB18030 and UTF-8, and raw files are almost all
// ASCII: finding where the ASCII ends lets every conversion skip the bulk.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace levara::detail {

// How many bytes at the start of text are ASCII.
inline std::size_t asciiPrefixLength(std::string_view text)
{
    constexpr std::uint64_t high = 0x8080808080808080ull;
    const char* p = text.data();
    const std::size_t n = text.size();
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        std::uint64_t w[4];
        std::memcpy(w, p + i, sizeof w);
        if ((w[0] | w[1] | w[2] | w[3]) & high)
            break;
    }
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, sizeof w);
        if (w & high)
            break;
    }
    while (i < n && static_cast<unsigned char>(p[i]) < 0x80)
        ++i;
    return i;
}

inline bool isAscii(std::string_view text) { return asciiPrefixLength(text) == text.size(); }

}  // namespace levara::detail
