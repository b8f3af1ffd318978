#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// The engine's rounding rules in one place: rounding to an integer goes to the
// nearest value with halves to the even neighbour, truncation goes toward zero,
// integer halving is "/ 2" on signed ints, and MulDiv rounds halves away from
// zero in 64 bits. Every conversion from double to pixel uses these; the
// saturated forms serve pixel arithmetic that must not overflow however far
// off screen a value lies.
namespace kov {

/// The ratio of a circle's circumference to its diameter, and a whole turn in
/// radians: the angles of round solids, pie slices and arcs.
constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2 * Pi;

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

/// Nearest integer (halves to even), held at the int range; 0 for NaN.
inline int SaturatedRound(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = std::nearbyint(v);
    if (r >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

/// a + b, held at the int range.
inline int SaturatedAdd(std::int64_t a, std::int64_t b)
{
    const std::int64_t r = a + b;
    if (r > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (r < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

/// a - b, held at the int range.
inline int SaturatedSub(std::int64_t a, std::int64_t b)
{
    return SaturatedAdd(a, -b);
}

/// True when v rounds to a value well inside the int range (false for NaN
/// and infinities): a pixel offset that can be added without saturating.
inline bool FitsInt(double v)
{
    return std::fabs(v) < 2147483647.0;
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
