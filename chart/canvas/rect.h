#pragma once

#include "chart/kovchart_export.h"

#include <QPoint>
#include <QRect>
#include <algorithm>
#include <utility>

// Engine-wide integer geometry. Rectangles are Left/Top/Right/Bottom with the
// right and bottom edges exclusive: a rectangle (0, 0, 10, 5) covers pixel
// columns 0..9 and rows 0..4, and its width is Right - Left.
namespace kov {

/// A point in pixels.
struct KOVCHART_EXPORT TPoint
{
    int X = 0;
    int Y = 0;

    friend bool operator==(const TPoint &, const TPoint &) = default;
};

/// A logical point with a depth, as taken by the shaded-triangle operation.
struct KOVCHART_EXPORT TPoint3D
{
    int X = 0;
    int Y = 0;
    int Z = 0;

    friend bool operator==(const TPoint3D &, const TPoint3D &) = default;
};

/// A rectangle in pixels: Left, Top, Right and Bottom, the right and bottom edges exclusive.
struct KOVCHART_EXPORT TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }

    friend bool operator==(const TRect &, const TRect &) = default;
};

/// True when the non-empty rectangle inner lies wholly within outer. The
/// pixel paths ask it for every stamp they copy; it is QRect::contains for
/// the non-empty rectangles they hand in, kept inline.
inline bool Encloses(const QRect &outer, const QRect &inner)
{
    return !inner.isEmpty() && inner.left() >= outer.left() && inner.right() <= outer.right() &&
           inner.top() >= outer.top() && inner.bottom() <= outer.bottom();
}

/// Width and height of a rectangle: right - left and bottom - top.
inline void RectSize(const TRect &r, int &width, int &height)
{
    width = r.Right - r.Left;
    height = r.Bottom - r.Top;
}

/// Centre of a rectangle, halving truncated toward zero.
inline void RectCenter(const TRect &r, int &x, int &y)
{
    x = (r.Left + r.Right) / 2;
    y = (r.Top + r.Bottom) / 2;
}

/// Same rectangle with left <= right and top <= bottom.
inline TRect NormalizedRect(const TRect &r)
{
    TRect n = r;
    if (n.Right < n.Left)
        std::swap(n.Left, n.Right);
    if (n.Bottom < n.Top)
        std::swap(n.Top, n.Bottom);
    return n;
}

/// Intersection of two rectangles; false (and r1 unchanged) when they do not
/// overlap.
inline bool IntersectRect(TRect &result, const TRect &a, const TRect &b)
{
    const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                  std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) {
        result = TRect{};
        return false;
    }
    result = r;
    return true;
}

/// Screen coordinates beyond this are not drawn: the platform's 16-bit
/// drawing limits, and far outside any window anyway.
constexpr int MaxDrawableCoord = 32766;

/// Whether a screen point lies within the drawable coordinate range.
inline bool IsDrawable(int x, int y)
{
    return x >= -MaxDrawableCoord && x <= MaxDrawableCoord && y >= -MaxDrawableCoord &&
           y <= MaxDrawableCoord;
}

inline bool PointInRect(const TRect &r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

/// The Qt rectangle covering the same pixels (Qt's right() is inclusive).
inline QRect ToQRect(const TRect &r)
{
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

inline TRect FromQRect(const QRect &r)
{
    return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

inline QPoint ToQPoint(const TPoint &p)
{
    return QPoint(p.X, p.Y);
}

} // namespace kov
