#pragma once
// Finding separators in raw lines, sixteen bytes at a time where the CPU allows.
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace levara::detail {

// First byte in [p, end) equal to a or b, or end.
inline const char* findEither(const char* p, const char* end, char a, char b)
{
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)));
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    while (p < end && *p != a && *p != b)
        ++p;
    return p;
}

// Calls visit(offset) for every byte in [begin, end) equal to c, in order, until
// visit returns false. Returns whether every byte it looked at was ASCII, which the
// same pass finds out for nothing.
template <typename Visit>
bool forEachByte(const char* begin, const char* end, char c, Visit visit)
{
    const char* p = begin;
    unsigned high = 0;
#if defined(__SSE2__)
    const __m128i vc = _mm_set1_epi8(c);
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        high |= static_cast<unsigned>(_mm_movemask_epi8(v));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, vc)));
        while (mask != 0) {
            if (!visit(static_cast<std::size_t>(p - begin) + static_cast<std::size_t>(__builtin_ctz(mask))))
                return high == 0;
            mask &= mask - 1;
        }
    }
#endif
    for (; p < end; ++p) {
        high |= static_cast<unsigned char>(*p) & 0x80u;
        if (*p == c && !visit(static_cast<std::size_t>(p - begin)))
            return high == 0;
    }
    return high == 0;
}

}  // namespace levara::detail
