#pragma once

#include <cmath>
#include <cstdint>

// The engine's rounding rules in one place: rounding to an integer goes to the
// nearest value with halves to the even neighbour, truncation goes toward zero,
// integer halving is "/ 2" on signed ints, and MulDiv rounds halves away from
// zero in 64 bits. Every conversion from double to pixel uses these.
namespace kov {

/// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline int RoundToInt(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

/// Nearest 64-bit integer, halves to even.
inline std::int64_t RoundToInt64(double v)
{
    return static_cast<std::int64_t>(std::nearbyint(v));
}

/// Integer part, truncated toward zero (-0.6 -> 0, 70.8 -> 70).
inline int TruncToInt(double v)
{
    return static_cast<int>(std::trunc(v));
}

/// a * b / c computed in 64 bits, rounded to the nearest with halves away from
/// zero; -1 when c is 0.
inline int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const std::int64_t num = static_cast<std::int64_t>(a) * b;
    const bool negative = (num < 0) != (c < 0);
    const std::int64_t n = num < 0 ? -num : num;
    const std::int64_t d = c < 0 ? -static_cast<std::int64_t>(c) : c;
    std::int64_t q = (2 * n + d) / (2 * d);
    return static_cast<int>(negative ? -q : q);
}

} // namespace kov
