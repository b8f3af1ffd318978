#include "chart/series/custom_series.h"

#include "chart/canvas/canvas3d.h"
#include "chart/series/hit_geometry.h"

#include <algorithm>
#include <cmath>

namespace kov {

namespace {

/// Fewest pixels between two dividing lines of an area.
constexpr int MinDividerGap = 3;

} // namespace

TCustomSeries::TCustomSeries()
    : m_areaLinesPen([this] { RequestRepaint(); }), m_linePen([this] { RequestRepaint(); }),
      m_pointer([this] { RequestRepaint(); })
{
    SetDrawsBetweenPoints(true);
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::CopyFrom(const TChartSeries &source)
{
    if (&source == this)
        return;
    if (const auto *custom = dynamic_cast<const TCustomSeries *>(&source)) {
        m_settings = custom->m_settings;
        m_areaLinesPen.CopyFrom(custom->m_areaLinesPen);
        m_linePen.CopyFrom(custom->m_linePen);
        m_pointer.CopyFrom(custom->m_pointer);
    }
    TChartSeries::CopyFrom(source);
}

// ---- drawing ------------------------------------------------------------------

void TCustomSeries::DrawPoint(const TSeriesPaintContext &context, int index)
{
    const bool first = index == FirstShownIndex();
    const bool last = index == LastShownIndex();
    if (first)
        m_markerPending = false;

    const TColor c = EffectivePointColor(index);
    const int x = context.XPos(PointX(index));
    const int y = context.YPos(DrawnY(index));

    if (!IsDrawable(x, y)) {
        // The line goes on from the last drawn point. Nothing was drawn yet
        // when this is the first shown point, so the next one starts afresh
        // instead of joining whatever the previous paint left behind; a
        // null point before keeps its break.
        m_prevColor = first || m_prevColor == clNone ? clNone : c;
        if (last)
            FlushPendingMarker(context);
        return;
    }

    TCanvas3D &canvas = context.Canvas;
    canvas.Pen().SetColor(clBlack);
    canvas.Brush().SetColor(c);

    if (m_prevColor == clNone)
        m_prev = {x, y};
    if (m_prevColor == clNone || first)
        m_dividerDrawn = false;
    m_baseline = OriginPosition(context, index);

    if (first) {
        if (m_settings.Dark3D) {
            const int h = context.SeriesWidth3D;
            const int v = context.SeriesHeight3D;
            m_slope3D = h == 0 ? 1.0 : std::fabs(double(v) / double(h));
        }
        if (index > 0) {
            // Points lie left of the visible range: enter from the chart edge.
            if (m_settings.DrawArea) {
                m_prev = {context.XPos(PointX(index - 1)), context.YPos(DrawnY(index - 1))};
                m_prevBaseline = OriginPosition(context, index - 1);
            } else {
                const TRect &r = context.ChartRect;
                m_prev.X = context.HorizInverted() ? r.Right : r.Left;
                m_prev.Y = m_settings.Stairs
                               ? context.YPos(DrawnY(index - 1))
                               : EdgeEntryY(context, index - 1, context.XValue(m_prev.X));
            }
            if (!IsNullPoint(index - 1))
                DrawConnection(context, index, x, y, c, last, false);
        }
        if (last && m_pointer.Visible() && c != clNone)
            DrawMarker(context, x, y, c, index);
    } else {
        DrawConnection(context, index, x, y, c, last, true);
    }

    m_prev = {x, y};
    m_prevBaseline = m_baseline;
    m_prevColor = c;
    // The marker of this point waits for the segment out of it; the last
    // point's marker is already drawn.
    m_markerPending = c != clNone && !last;
    m_marker = {x, y};
    m_markerColor = c;
    m_markerIndex = index;
}

void TCustomSeries::FlushPendingMarker(const TSeriesPaintContext &context)
{
    if (!m_markerPending)
        return;
    m_markerPending = false;
    if (m_pointer.Visible())
        DrawMarker(context, m_marker.X, m_marker.Y, m_markerColor, m_markerIndex);
}

void TCustomSeries::PrepareLinePen(const TSeriesPaintContext &context, TColor color) const
{
    TCanvas3D &canvas = context.Canvas;
    canvas.ApplyChartPen(m_linePen);
    context.AdjustPenForPrinting(canvas.Pen());
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetColor(color);
}

void TCustomSeries::DrawConnection(const TSeriesPaintContext &context, int index, int x, int y,
                                   TColor c, bool last, bool withMarkers)
{
    TCanvas3D &canvas = context.Canvas;
    const bool view3D = context.View3D;

    if ((x != m_prev.X || y != m_prev.Y) && c != clNone) {
        if (view3D &&
            (m_settings.DrawArea || (m_settings.DrawLine && m_settings.LineBrush != bsClear))) {
            DrawRibbon(context, x, y, c, last);
            if (m_settings.DrawArea)
                DrawAreaFront(context, x, y, c, last);
        } else if (m_settings.DrawArea) {
            DrawAreaPiece(context, x, y, c, last);
        } else if (!view3D && m_settings.DrawLine) {
            PrepareLinePen(context, c);
            if (m_settings.Stairs && m_settings.InvertedStairs) {
                canvas.DrawVerticalLine(m_prev.X, m_prev.Y, y);
                canvas.DrawLineTo(x, y);
            } else if (m_settings.Stairs) {
                canvas.DrawHorizontalLine(m_prev.X, x, m_prev.Y);
                canvas.DrawLineTo(x, y);
            } else {
                canvas.DrawSegment(m_prev.X, m_prev.Y, x, y);
            }
        }
    }

    if (!withMarkers)
        return;
    FlushPendingMarker(context);
    if (last && c != clNone && m_pointer.Visible())
        DrawMarker(context, x, y, c, index);
}

void TCustomSeries::DrawRibbon(const TSeriesPaintContext &context, int x, int y, TColor c,
                               bool last)
{
    TCanvas3D &canvas = context.Canvas;
    const TColor b =
        (m_settings.AreaColor != clDefault && !ColorEachPoint()) ? m_settings.AreaColor : c;
    canvas.Brush().SetColor(b);
    canvas.ApplyChartPen(m_linePen);
    if (m_linePen.Visible())
        context.AdjustPenForPrinting(canvas.Pen());
    canvas.Brush().SetStyle(m_settings.LineBrush);
    const int z0 = context.Depth.Start;
    const int z1 = context.Depth.End;

    if (m_settings.Stairs) {
        if (m_settings.InvertedStairs) {
            if (m_settings.Dark3D)
                canvas.Brush().SetColor(DarkenColor(b, TopDarkness));
            canvas.DrawSidePlane(m_prev.X, m_prev.Y, y, z0, z1);
            canvas.Brush().SetColor(b);
            canvas.DrawFloorPlane(x, y, m_prev.X, z0, z1);
        } else {
            canvas.DrawFloorPlane(m_prev.X, m_prev.Y, x, z0, z1);
            if (m_settings.Dark3D)
                canvas.Brush().SetColor(DarkenColor(b, TopDarkness));
            canvas.DrawSidePlane(x, y, m_prev.Y, z0, z1);
            canvas.Brush().SetColor(b);
        }
        return;
    }

    const int lineHeight = m_settings.LineHeight;
    const bool thick = lineHeight > 0 && !m_settings.DrawArea;
    if (thick) {
        // The front face of the thick line, and its end cap at the last point.
        canvas.DrawDepthQuad(TPoint{x, y}, m_prev, TPoint{m_prev.X, m_prev.Y + lineHeight},
                             TPoint{x, y + lineHeight}, z0, z0);
        if (last)
            canvas.DrawSidePlane(x, y, y + lineHeight, z0, z1);
    }
    int ay = y;
    int py = m_prev.Y;
    bool darkened = false;
    // A segment rising more steeply than the depth direction shows its
    // underside, which is shaded.
    if (m_settings.Dark3D && !canvas.IsHardware3D() && x != m_prev.X && m_slope3D != 0 &&
        double(m_prev.Y - y) / double(x - m_prev.X) > m_slope3D) {
        canvas.Brush().SetColor(DarkenColor(b, TopDarkness));
        darkened = true;
        if (thick) {
            ay += lineHeight;
            py += lineHeight;
        }
    }
    canvas.DrawDepthPlane(TPoint{x, ay}, TPoint{m_prev.X, py}, z0, z1);
    if (darkened)
        canvas.Brush().SetColor(b);
}

void TCustomSeries::DrawAreaPiece(const TSeriesPaintContext &context, int x, int y, TColor c,
                                  bool last)
{
    TCanvas3D &canvas = context.Canvas;
    canvas.ApplyChartPen(m_areaLinesPen);
    canvas.Brush().SetStyle(m_settings.AreaBrush);
    canvas.Brush().SetColor(
        m_settings.AreaColor != clDefault && !ColorEachPoint() ? m_settings.AreaColor : c);
    const TPoint piece[4] = {
        {m_prev.X, m_prev.Y}, {x, y}, {x, m_baseline}, {m_prev.X, m_prevBaseline}};
    if (context.View3D) {
        canvas.DrawDepthQuad(piece[0], piece[1], piece[2], piece[3], context.Depth.Start,
                             context.Depth.Start);
        return;
    }
    if (!m_areaLinesPen.Visible()) {
        canvas.DrawPolygon(piece, 3);
        return;
    }
    // The fill, then its outline: the edges along the line and the origin,
    // and the dividing lines down from the points. Dividing lines closer than
    // MinDividerGap to the last one are left out, so that an area of many
    // points is not covered by its own outline.
    canvas.Pen().SetStyle(psClear);
    canvas.DrawPolygon(piece, 3);
    canvas.ApplyChartPen(m_areaLinesPen);
    canvas.DrawSegment(m_prev.X, m_prev.Y, x, y);
    canvas.DrawSegment(x, m_baseline, m_prev.X, m_prevBaseline);
    // Each piece's fill covers the column of its left edge, so the dividing
    // line there is drawn with the piece; the last one closes the area.
    if (!m_dividerDrawn || std::abs(m_prev.X - m_dividerX) >= MinDividerGap) {
        canvas.DrawSegment(m_prev.X, m_prevBaseline, m_prev.X, m_prev.Y);
        m_dividerX = m_prev.X;
        m_dividerDrawn = true;
    }
    if (last)
        canvas.DrawSegment(x, y, x, m_baseline);
}

void TCustomSeries::DrawAreaFront(const TSeriesPaintContext &context, int x, int y, TColor c,
                                  bool last)
{
    // Under the ribbon's front edge: the front face down to the origin, and
    // at the last point the shaded end face closing the solid.
    DrawAreaPiece(context, x, y, c, last);
    if (!last || y == m_baseline)
        return;
    TCanvas3D &canvas = context.Canvas;
    if (m_settings.Dark3D)
        canvas.Brush().SetColor(DarkenColor(canvas.Brush().Color(), SideDarkness));
    canvas.DrawSidePlane(x, y, m_baseline, context.Depth.Start, context.Depth.End);
}

int TCustomSeries::EdgeEntryY(const TSeriesPaintContext &context, int j, double xValue) const
{
    const double xa = PointX(j);
    const double xb = PointX(j + 1);
    if (xb == xa)
        return context.YPos(DrawnY(j));
    const double ya = DrawnY(j);
    const double yb = DrawnY(j + 1);
    return context.YPos(ya + (yb - ya) * (xValue - xa) / (xb - xa));
}

bool TCustomSeries::MarkerHit(int /*index*/, int px, int py, int x, int y) const
{
    return std::abs(px - x) < m_pointer.HorizSize() && std::abs(py - y) < m_pointer.VertSize();
}

void TCustomSeries::DrawMarker(const TSeriesPaintContext &context, int x, int y, TColor color,
                               int index)
{
    m_pointer.PrepareMarkerCanvas(context.Canvas, color);
    const TSeriesPointerStyle style =
        OnGetPointerStyle ? OnGetPointerStyle(this, index) : m_pointer.Style();
    m_pointer.DrawMarkerShape(context, context.View3D, x, y, m_pointer.HorizSize(),
                              m_pointer.VertSize(), color, style);
}

int TCustomSeries::OriginPosition(const TSeriesPaintContext &context, int /*index*/) const
{
    return context.VertEndPixel();
}

// ---- hit testing ----------------------------------------------------------------

bool TCustomSeries::SegmentHit(const TSeriesPaintContext &context, int x, int y, int px, int py,
                               int qx, int qy) const
{
    const TPoint click{x, y};
    if (context.View3D) {
        const int h = context.SeriesWidth3D;
        const int v = context.SeriesHeight3D;
        const TPoint ribbon[4] = {{px, py}, {px + h, py - v}, {qx + h, qy - v}, {qx, qy}};
        return PolygonContains(click, ribbon, 3);
    }
    if (m_settings.Stairs && m_settings.InvertedStairs)
        return PointOnSegment(click, qx, qy, qx, py) || PointOnSegment(click, qx, py, px, py);
    if (m_settings.Stairs)
        return PointOnSegment(click, qx, qy, px, qy) || PointOnSegment(click, px, qy, px, py);
    return PointOnSegment(click, px, py, qx, qy);
}

int TCustomSeries::HitTest(const TSeriesPaintContext &context, int x, int y) const
{
    context.Canvas.ScreenToPlane(x, y, context.Depth.Start);

    const int result = TChartSeries::HitTest(context, x, y);
    const int first = FirstShownIndex();
    const int last = LastShownIndex();
    if (result != -1 || first < 0 || last < 0)
        return result;

    int qx = 0, qy = 0;
    for (int i = first; i <= last; ++i) {
        const int px = context.XPos(PointX(i));
        const int py = context.YPos(DrawnY(i));
        if (m_pointer.Visible() && MarkerHit(i, px, py, x, y)) {
            // The event hands out the series as sender; hit testing itself
            // leaves the series unchanged.
            if (OnClickPointer)
                OnClickPointer(const_cast<TCustomSeries *>(this), i, x, y);
            return i;
        }
        if (px == x && py == y)
            return i;
        // A null point breaks an area: nothing is drawn next to it.
        const bool gap = m_settings.DrawArea && (IsNullPoint(i) || IsNullPoint(i - 1));
        if (i > first && m_settings.ClickableLine && !gap) {
            if (SegmentHit(context, x, y, px, py, qx, qy))
                return i - 1;
            if (m_settings.DrawArea) {
                const TPoint area[4] = {{qx, qy},
                                        {px, py},
                                        {px, OriginPosition(context, i)},
                                        {qx, OriginPosition(context, i - 1)}};
                if (PolygonContains(TPoint{x, y}, area, 3))
                    return i - 1;
            }
        }
        qx = px;
        qy = py;
    }
    return -1;
}

TPoint TCustomSeries::MarkPoint(const TSeriesPaintContext &context, int index) const
{
    return {context.XPos(PointX(index)), context.YPos(DrawnY(index))};
}

void TCustomSeries::DrawPointMark(const TSeriesPaintContext &context, int index,
                                  const QString &text, TSeriesMarkPosition &position)
{
    Marks().SetZPosition(context.Depth.Start);
    position.ArrowTo.Y -= Marks().ArrowLength();
    position.LeftTop.Y -= Marks().ArrowLength();
    TChartSeries::DrawPointMark(context, index, text, position);
}

// ---- margins and legend -----------------------------------------------------------

void TCustomSeries::ExtraHorizMargins(int &left, int &right) const
{
    TChartSeries::ExtraHorizMargins(left, right);
    m_pointer.CalcHorizMargins(left, right);
    if (m_settings.Stairs && m_settings.DrawLine) {
        left = std::max(left, m_linePen.Width());
        right = std::max(right, m_linePen.Width());
    }
}

void TCustomSeries::ExtraVertMargins(int &top, int &bottom) const
{
    TChartSeries::ExtraVertMargins(top, bottom);
    m_pointer.CalcVertMargins(top, bottom);
    if (m_settings.Stairs && m_settings.DrawLine) {
        top = std::max(top, m_linePen.Width());
        bottom = std::max(bottom, m_linePen.Width() + 1);
    }
    if (m_settings.LineHeight > 0 && !m_settings.DrawArea && bottom < m_settings.LineHeight)
        bottom = m_settings.LineHeight;
}

void TCustomSeries::DrawLegendSymbol(const TSeriesPaintContext &context, int index,
                                     const TRect &rect)
{
    TCanvas3D &canvas = context.Canvas;
    const TColor color = index == -1 ? SeriesColor() : EffectivePointColor(index);
    auto middleLine = [&] {
        PrepareLinePen(context, color);
        canvas.DrawHorizontalLine(rect.Left, rect.Right, (rect.Top + rect.Bottom) / 2);
    };

    if (m_pointer.Visible()) {
        if (m_settings.DrawLine)
            middleLine();
        m_pointer.DrawLegendShape(context, color, rect, m_linePen.Visible());
    } else if (!m_settings.DrawLine || m_settings.DrawArea) {
        TChartSeries::DrawLegendSymbol(context, index, rect);
    } else if (context.View3D) {
        canvas.Brush().SetColor(color);
        canvas.DrawRect(rect);
    } else {
        middleLine();
    }
}

} // namespace kov
