// The solids of the bar series: drawing each bar style through the canvas,
// and the hit test that answers for the pixels each style covers.
#include "chart/series/bar_series.h"

#include "chart/canvas/canvas3d.h"
#include "chart/numeric.h"
#include "chart/series/hit_geometry.h"

#include <algorithm>
#include <cmath>

namespace kov {

namespace {

/// Points on the ellipse inscribed in a box, as the outlines of round solids
/// are sampled for hit testing.
constexpr int EllipseSamples = 32;

struct TPointF
{
    double X = 0;
    double Y = 0;
};

double SegmentDistance(const TPointF &p, const TPointF &a, const TPointF &b)
{
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 == 0 ? 0 : ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

/// Whether pixel p is painted by the polygon through corners: filled, the
/// platform paints the pixels whose centres lie inside (or on its edges);
/// outlined by a pen penReach wide on either side, it strokes the edges on
/// the pixels right of and below them.
bool PolygonHit(TPoint p, const TPointF *corners, int count, double penReach)
{
    const TPointF c{p.X + 0.5, p.Y + 0.5};
    const TPointF pixel{double(p.X), double(p.Y)};
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        const TPointF &a = corners[i];
        const TPointF &b = corners[j];
        if (SegmentDistance(c, a, b) <= std::max(0.3, penReach) ||
            (penReach > 0 && SegmentDistance(pixel, a, b) <= penReach + 0.5))
            return true;
        if ((a.Y > c.Y) != (b.Y > c.Y) && c.X < (b.X - a.X) * (c.Y - a.Y) / (b.Y - a.Y) + a.X)
            inside = !inside;
    }
    return inside;
}

/// Whether pixel p is painted by the ellipse the canvas draws for the box
/// (left, top, right, bottom), right and bottom exclusive: filled, it covers
/// the pixels whose centres lie inside; outlined, its curve runs one pixel
/// in from the right and bottom and the pen reaches penReach either side.
bool EllipseHit(TPoint p, int left, int top, int right, int bottom, double penReach)
{
    auto within = [](double x, double y, double x0, double y0, double x1, double y1) {
        const double rx = (x1 - x0) / 2, ry = (y1 - y0) / 2;
        if (rx <= 0 || ry <= 0)
            return false;
        const double dx = (x - (x0 + x1) / 2) / rx, dy = (y - (y0 + y1) / 2) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    // A pixel more either way: the platform's curves are polygons of its
    // own.
    const double cx = p.X + 0.5, cy = p.Y + 0.5;
    if (penReach <= 0)
        return within(cx, cy, left - 1, top - 1, right + 1, bottom + 1);
    const double grow = penReach + 1;
    return within(cx, cy, left, top, right - 1, bottom - 1) ||
           within(p.X, p.Y, left - grow, top - grow, right - 1 + grow, bottom - 1 + grow);
}

} // namespace

void TCustomBarSeries::BeforeDrawPoints()
{
    m_layoutStale = true;
    TChartSeries::BeforeDrawPoints();
}

void TCustomBarSeries::DrawAllPoints(const TSeriesPaintContext &context)
{
    m_blockPending = false;
    // Nothing else draws between the points of this series: fills may wait.
    m_sweeping = true;
    TChartSeries::DrawAllPoints(context);
    m_sweeping = false;
    FlushBlock(context);
}

void TCustomBarSeries::DrawPoint(const TSeriesPaintContext &context, int index)
{
    if (m_layoutStale || index == FirstShownIndex()) {
        // A paint of a group of series may start before this series' first
        // shown point: the plan made then still holds when it comes to it.
        const bool sweepGoesOn =
            !m_layoutStale && !m_faces.empty() && index == m_facesFirst && m_lastDrawn < index;
        m_paintLayout = ComputeLayout(context);
        m_layoutStale = false;
        if (!sweepGoesOn)
            PlanHiddenFaces(context);
    } else if (index <= m_lastDrawn) {
        // Drawn out of order, later bars may not come after this one.
        m_faces.clear();
    }
    m_lastDrawn = index;
    const unsigned faces = FacesToDraw(index);
    if (faces == Planned)
        return;
    TBarBox bar;
    if (!BoxWith(context, index, m_paintLayout, bar) || bar.Box.IsEmpty())
        return;
    const TColor c = EffectivePointColor(index);
    TColor block = clNone;
    TRect b = bar.Box;
    if (IsSolidBlock(context, faces, c, b, block)) {
        // Filling a solid block over another of the same colour in the same
        // columns (or rows, in 3D), overlapping or touching it, paints their
        // union.
        const TRect &m = m_block;
        const bool columns =
            b.Left == m.Left && b.Right == m.Right && b.Top <= m.Bottom && b.Bottom >= m.Top;
        const bool rows = context.View3D && b.Top == m.Top && b.Bottom == m.Bottom &&
                          b.Left <= m.Right && b.Right >= m.Left;
        if (m_blockPending && block == m_blockColor && (columns || rows)) {
            m_block = TRect{std::min(m.Left, b.Left), std::min(m.Top, b.Top),
                            std::max(m.Right, b.Right), std::max(m.Bottom, b.Bottom)};
            return;
        }
        FlushBlock(context);
        m_blockPending = true;
        m_block = b;
        m_blockColor = block;
        return;
    }
    FlushBlock(context);
    DrawBar(context, bar, c, faces);
}

bool TCustomBarSeries::IsSolidBlock(const TSeriesPaintContext &context, unsigned faces,
                                    TColor pointColor, TRect &box, TColor &blockColor) const
{
    // A planned 3D bar showing its front alone, while the fills may wait.
    if (context.View3D) {
        const TRect front = box;
        return faces == (FrontFace | Planned) && m_sweeping &&
               FrontBlock(context, front, pointColor, box, blockColor);
    }
    if (m_settings.BarStyle != bstRectangle || context.Printing)
        return false;
    if (!m_barPen.Visible()) {
        blockColor = pointColor;
        return m_settings.BarBrush == bsSolid;
    }
    // A one-pixel outline of a box at most two pixels across leaves no
    // inside to fill.
    blockColor = m_barPen.Color();
    return m_barPen.Width() <= 1 && m_barPen.Style() == psSolid && !m_barPen.SmallDots() &&
           (box.Width() <= 2 || box.Height() <= 2);
}

void TCustomBarSeries::FlushBlock(const TSeriesPaintContext &context)
{
    if (!m_blockPending)
        return;
    m_blockPending = false;
    TCanvas3D &canvas = context.Canvas;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(m_blockColor);
    canvas.FillRectangle(m_block);
}

void TCustomBarSeries::DrawBar(const TSeriesPaintContext &context, const TBarBox &bar, TColor c,
                               unsigned faces) const
{
    TCanvas3D &canvas = context.Canvas;
    canvas.ApplyChartPen(m_barPen);
    if (m_barPen.Visible())
        context.AdjustPenForPrinting(canvas.Pen());
    canvas.Brush().SetStyle(m_settings.BarBrush);
    canvas.Brush().SetColor(c);

    const TRect &b = bar.Box;
    const bool vertical = ValuesAreVertical();
    const bool dark = m_settings.Dark3D && context.View3D;
    const int z0 = context.Depth.Start;
    const int z1 = context.Depth.End;
    switch (m_settings.BarStyle) {
    case bstRectangle:
        if (context.View3D && !(faces & Planned)) {
            canvas.DrawCube(b.Left, b.Right, b.Top, b.Bottom, z0, z1, dark);
        } else if (context.View3D) {
            // The faces the box draws, in its order, each with the corners
            // in the order it takes them: the same pixels.
            if (faces & FrontFace)
                DrawFrontFace(context, b, c);
            if (faces & SideFace) {
                canvas.Brush().SetColor(dark ? DarkenColor(c, SideDarkness) : c);
                canvas.DrawSidePlane(b.Right, b.Top, b.Bottom, z0, z1);
            }
            if (faces & TopFace) {
                canvas.Brush().SetColor(dark ? DarkenColor(c, TopDarkness) : c);
                canvas.DrawFloorPlane(b.Left, b.Top, b.Right, z0, z1);
            }
        } else
            canvas.DrawRectangle(b.Left, b.Top, b.Right, b.Bottom);
        break;
    case bstPyramid:
    case bstInvPyramid: {
        // The apex at the value end (the origin for the inverted pyramid).
        const bool apexAtEnd = m_settings.BarStyle == bstPyramid;
        if (vertical) {
            const bool apexUp = apexAtEnd != bar.Negative;
            canvas.DrawPyramid(true, b.Left, apexUp ? b.Top : b.Bottom, b.Right,
                               apexUp ? b.Bottom : b.Top, z0, z1, dark);
        } else {
            const bool apexRight = apexAtEnd != bar.Negative;
            canvas.DrawPyramid(false, apexRight ? b.Left : b.Right, b.Top,
                               apexRight ? b.Right : b.Left, b.Bottom, z0, z1, dark);
        }
        break;
    }
    case bstCylinder:
        canvas.DrawCylinder(vertical, b.Left, b.Top, b.Right, b.Bottom, z0, z1, dark);
        break;
    case bstEllipse:
        canvas.DrawEllipse3D(b.Left, b.Top, b.Right - 1, b.Bottom - 1, (z0 + z1) / 2);
        break;
    }
}

bool TCustomBarSeries::FrontBlock(const TSeriesPaintContext &context, const TRect &b, TColor c,
                                  TRect &block, TColor &blockColor) const
{
    // Only bars whose faces are planned come here: seen without rotation at
    // full size, painting whole pixels. The front face then paints the
    // pixels whose centres lie inside it, and a one-pixel outline the pixels
    // right of and below its edges: a box one pixel across or high is all
    // outline.
    const bool outlined = m_barPen.Visible();
    if (outlined && b.Width() > 1 && b.Height() > 1)
        return false;
    const TCanvas3D &canvas = context.Canvas;
    TPoint topLeft, bottomRight;
    canvas.ProjectToPoint(b.Left, b.Top, topLeft, context.Depth.Start);
    canvas.ProjectToPoint(b.Right, b.Bottom, bottomRight, context.Depth.Start);
    const int grow = outlined ? 1 : 0;
    block = TRect{topLeft.X, topLeft.Y, bottomRight.X + grow, bottomRight.Y + grow};
    blockColor = outlined ? m_barPen.Color() : c;
    return true;
}

void TCustomBarSeries::DrawFrontFace(const TSeriesPaintContext &context, const TRect &b,
                                     TColor c) const
{
    // A rectangle of one colour is filled, far faster than a polygon.
    TCanvas3D &canvas = context.Canvas;
    TRect block;
    TColor color = clNone;
    if (!FrontBlock(context, b, c, block, color)) {
        canvas.DrawRectangle3D(b, context.Depth.Start);
        return;
    }
    canvas.Brush().SetColor(color);
    canvas.FillRectangle(block);
}

bool TCustomBarSeries::BarContains(const TSeriesPaintContext &context, const TBarBox &bar, int x,
                                   int y) const
{
    const TRect &b = bar.Box;
    // The outline is centred on the shape's edges: half the pen reaches out.
    const double reach = m_barPen.Visible() ? std::max(1, m_barPen.Width()) / 2.0 : 0.0;
    const TCanvas3D &canvas = context.Canvas;
    const int z0 = context.Depth.Start;
    const int z1 = context.Depth.End;
    const int zMid = (z0 + z1) / 2;
    const bool vertical = ValuesAreVertical();

    // Corners of the solid on the screen; their hull is what the solid
    // covers (every face drawn is convex and the solids are seen from
    // outside).
    QPoint projected[2 * EllipseSamples + 8];
    int n = 0;
    auto add = [&](int px, int py, int z) {
        TPoint s;
        canvas.ProjectToPoint(px, py, s, z);
        projected[n++] = QPoint(s.X, s.Y);
    };
    auto addBox = [&](int l, int t, int r, int bt, int za, int zb) {
        for (int z : {za, zb}) {
            add(l, t, z);
            add(r, t, z);
            add(r, bt, z);
            add(l, bt, z);
        }
    };
    auto addEllipse = [&](double cx, double cy, double rx, double ry, int z) {
        for (int k = 0; k < EllipseSamples; ++k) {
            const double a = 2 * Pi * k / EllipseSamples;
            add(RoundToInt(cx + rx * std::cos(a)), RoundToInt(cy + ry * std::sin(a)), z);
        }
    };

    if (!context.View3D) {
        // Flat solids: the front face alone. A box covers its pixels up to,
        // not onto, its right and bottom edges.
        const double r = b.Right - 1 + 0.5 + reach;
        const double btm = b.Bottom - 1 + 0.5 + reach;
        const double cx = x + 0.5, cy = y + 0.5;
        switch (m_settings.BarStyle) {
        case bstRectangle:
            return cx >= b.Left + 0.5 - reach && cx <= r && cy >= b.Top + 0.5 - reach && cy <= btm;
        case bstEllipse:
            return EllipseHit(TPoint{x, y}, b.Left, b.Top, b.Right, b.Bottom, reach);
        default:
            break;
        }
    }

    switch (m_settings.BarStyle) {
    case bstRectangle:
        addBox(b.Left, b.Top, b.Right, b.Bottom, z0, z1);
        break;
    case bstPyramid:
    case bstInvPyramid: {
        const bool apexAtEnd = m_settings.BarStyle == bstPyramid;
        const bool toEnd = apexAtEnd != bar.Negative;
        if (vertical) {
            const int apexY = toEnd ? b.Top : b.Bottom;
            const int baseY = toEnd ? b.Bottom : b.Top;
            add((b.Left + b.Right) / 2, apexY, zMid);
            for (int z : {z0, z1}) {
                add(b.Left, baseY, z);
                add(b.Right, baseY, z);
            }
        } else {
            const int apexX = toEnd ? b.Right : b.Left;
            const int baseX = toEnd ? b.Left : b.Right;
            add(apexX, (b.Top + b.Bottom) / 2, zMid);
            for (int z : {z0, z1}) {
                add(baseX, b.Top, z);
                add(baseX, b.Bottom, z);
            }
        }
        break;
    }
    case bstCylinder: {
        // Both round ends, sampled as the canvas draws them.
        const double midZ = (z0 + z1) / 2.0;
        const double depthRadius = (z1 - z0) / 2.0;
        const double centre = vertical ? (b.Left + b.Right) / 2.0 : (b.Top + b.Bottom) / 2.0;
        const double radius = vertical ? (b.Right - b.Left) / 2.0 : (b.Bottom - b.Top) / 2.0;
        for (int k = 0; k < EllipseSamples; ++k) {
            const double a = 2 * Pi * k / EllipseSamples;
            const int across = RoundToInt(centre + radius * std::cos(a));
            const int z = RoundToInt(midZ + depthRadius * std::sin(a));
            if (vertical) {
                add(across, b.Top, z);
                add(across, b.Bottom, z);
            } else {
                add(b.Right, across, z);
                add(b.Left, across, z);
            }
        }
        break;
    }
    case bstEllipse: {
        TPoint p1, p2;
        canvas.ProjectToPoint(b.Left, b.Top, p1, zMid);
        canvas.ProjectToPoint(b.Right - 1, b.Bottom - 1, p2, zMid);
        // Seen without rotation the ellipse is drawn upright in the box its
        // corners project to; rotated, as the polygon through its outline.
        if (canvas.IsOrthogonal())
            return EllipseHit(TPoint{x, y}, p1.X, p1.Y, p2.X, p2.Y, reach);
        const double scale = 1 / std::cos(Pi / EllipseSamples);
        addEllipse((b.Left + b.Right - 1) / 2.0, (b.Top + b.Bottom - 1) / 2.0,
                   scale * (b.Right - 1 - b.Left) / 2.0, scale * (b.Bottom - 1 - b.Top) / 2.0,
                   zMid);
        break;
    }
    }
    n = ConvexHull(projected, n);
    if (n < 1)
        return false;
    TPointF corners[2 * EllipseSamples + 8];
    for (int i = 0; i < n; ++i)
        corners[i] = {double(projected[i].x()), double(projected[i].y())};
    return PolygonHit(TPoint{x, y}, corners, n, reach);
}

int TCustomBarSeries::HitTest(const TSeriesPaintContext &context, int x, int y) const
{
    const int first = FirstShownIndex();
    const int last = LastShownIndex();
    if (first < 0 || last < 0 || !context.ShowsPixel(x, y))
        return -1;
    const Layout layout = ComputeLayout(context);
    // The last drawn bar lies on top.
    for (int i = std::min(last, PointCount() - 1); i >= first; --i) {
        TBarBox bar;
        if (!BoxWith(context, i, layout, bar) || bar.Box.IsEmpty())
            continue;
        if (BarContains(context, bar, x, y))
            return i;
    }
    return -1;
}

} // namespace kov
