#include "chart/series/hit_geometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace kov {

namespace {

/// True when v lies inside the span of a and b widened by t, or when the span
/// is too short (within t) to constrain v at all.
bool WithinSpan(int v, int a, int b, int t)
{
    const std::int64_t lo = a, hi = b;
    if (lo > hi + t)
        return v >= hi - t && v <= lo + t;
    if (hi > lo + t)
        return v >= lo - t && v <= hi + t;
    return true;
}

} // namespace

bool PointNearSegment(TPoint p, int x0, int y0, int x1, int y1, int tolerance)
{
    const std::int64_t dx = std::int64_t(x1) - x0;
    const std::int64_t dy = std::int64_t(y1) - y0;
    const std::int64_t m = std::max(std::llabs(dx), std::llabs(dy));
    // The cross product is the distance from the line times the segment's
    // length; comparing it with the longer extent keeps the point within about
    // a pixel of the line, whatever the slope.
    const std::int64_t cr = (std::int64_t(p.X) - x0) * dy - (std::int64_t(p.Y) - y0) * dx;
    if (std::llabs(cr) >= m)
        return false;
    return WithinSpan(p.X, x0, x1, tolerance) && WithinSpan(p.Y, y0, y1, tolerance);
}

bool PointOnSegment(TPoint p, int x0, int y0, int x1, int y1)
{
    return PointNearSegment(p, x0, y0, x1, y1, 0);
}

bool PolygonContains(TPoint p, const TPoint *points, int lastIndex)
{
    if (lastIndex < 0 || points == nullptr)
        return false;
    bool inside = false;
    for (int i = 0, j = lastIndex; i <= lastIndex; j = i++) {
        const int yi = points[i].Y, yj = points[j].Y;
        if ((p.Y >= yi && p.Y < yj) || (p.Y >= yj && p.Y < yi)) {
            const std::int64_t num =
                (std::int64_t(points[j].X) - points[i].X) * (std::int64_t(p.Y) - yi);
            const long double crossX =
                static_cast<long double>(num) / (std::int64_t(yj) - yi) + points[i].X;
            if (p.X < crossX)
                inside = !inside;
        }
    }
    return inside;
}

bool PointInTriangle(TPoint p, int x0, int y0, int x1, int y1)
{
    const TPoint tri[3] = {{x0, y0}, {(x0 + x1) / 2, y1}, {x1, y0}};
    return PolygonContains(p, tri, 2);
}

bool PointInHorizTriangle(TPoint p, int x0, int y0, int x1, int y1)
{
    const TPoint tri[3] = {{x1, y0}, {x0, (y0 + y1) / 2}, {x1, y1}};
    return PolygonContains(p, tri, 2);
}

bool PointInEllipse(TPoint p, int left, int top, int right, int bottom)
{
    const int cx = (left + right) / 2;
    const int cy = (top + bottom) / 2;
    const double a2 = double(cx - left) * double(cx - left);
    const double b2 = double(cy - top) * double(cy - top);
    if (a2 == 0 || b2 == 0)
        return false;
    const double dx = double(p.X) - cx;
    const double dy = double(p.Y) - cy;
    return dx * dx / a2 + dy * dy / b2 <= 1.0;
}

} // namespace kov
