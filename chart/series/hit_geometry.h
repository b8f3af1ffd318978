#pragma once

#include "chart/canvas/rect.h"

// Integer geometry for hit testing series: is a mouse position on a line
// segment, inside a polygon, a triangle or an ellipse. Coordinates are screen
// pixels; intermediate products are taken in 64 bits so that points anywhere
// in the drawable range (up to +-32766) cannot overflow.
namespace kov {

/// True when p lies on the segment (x0, y0)-(x1, y1), allowing `tolerance`
/// pixels beyond the segment's ends along each axis. "On" means within about
/// one pixel of the line through both ends; a segment of zero length never
/// matches.
bool PointNearSegment(TPoint p, int x0, int y0, int x1, int y1, int tolerance);

/// PointNearSegment with no tolerance beyond the ends.
bool PointOnSegment(TPoint p, int x0, int y0, int x1, int y1);

/// Even-odd test of p against the polygon points[0..lastIndex]. A negative
/// last index (an empty polygon) contains nothing.
bool PolygonContains(TPoint p, const TPoint *points, int lastIndex);

/// The upright triangle with its base on y0 from x0 to x1 and its apex at the
/// middle of the base, height y1 (bars drawn as triangles).
bool PointInTriangle(TPoint p, int x0, int y0, int x1, int y1);

/// The sideways triangle with its base on x1 from y0 to y1 and its apex at x0,
/// half-way between y0 and y1 (horizontal bars drawn as triangles).
bool PointInHorizTriangle(TPoint p, int x0, int y0, int x1, int y1);

/// True when p lies inside or on the ellipse inscribed in the box (left, top,
/// right, bottom); a box of zero width or height contains nothing.
bool PointInEllipse(TPoint p, int left, int top, int right, int bottom);

} // namespace kov
