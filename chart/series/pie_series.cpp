#include "chart/series/pie_series.h"

#include "chart/canvas/chart_canvas.h"
#include "chart/canvas/text_lines.h"
#include "chart/exceptions.h"
#include "chart/numeric.h"
#include "chart/series/hit_geometry.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

namespace kov {

namespace {

void CheckPercent(int value, const char *message)
{
    if (value < 0 || value > 100)
        throw ChartException(QString::fromLatin1(message));
}

const char *const ExplodeMessage = "Pie Explode must be between 0 and 100 %";

/// The slices in the order they are drawn: point order when flat; from the
/// back (the top of the picture) to the front in 3D, so that nearer walls
/// cover farther ones.
void DrawingOrder(const TPieLayout &layout, bool view3D, std::vector<int> &order)
{
    order.resize(layout.Slices.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = static_cast<int>(k);
    if (!view3D)
        return;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return std::sin(layout.Slices[a].Middle()) > std::sin(layout.Slices[b].Middle());
    });
}

} // namespace

TPieSeries::TPieSeries() : m_piePen([this] { RequestRepaint(); })
{
    SetColorEachPoint(true);
    // The points lie on no axis: every point is shown, whatever the axes say.
    SetClipToAxisRange(false);
}

// ---- settings ------------------------------------------------------------------------

void TPieSeries::SetExplodeBiggest(int value)
{
    CheckPercent(value, ExplodeMessage);
    SetAndInvalidate(this, m_pie.ExplodeBiggest, value);
}

void TPieSeries::SetRotationAngle(int value)
{
    if (value < 0 || value > 359)
        throw ChartException(
            QStringLiteral("Pie Rotation Angle must be between 0 and 359 degrees"));
    SetAndInvalidate(this, m_pie.RotationAngle, value);
}

void TPieSeries::SetTilt3D(int value)
{
    if (value < 10 || value > 90)
        throw ChartException(QStringLiteral("Pie Tilt must be between 10 and 90 degrees"));
    SetAndInvalidate(this, m_pie.Tilt3D, value);
}

void TPieSeries::SetThickness3D(int value)
{
    CheckPercent(value, "Pie Thickness must be between 0 and 100 %");
    SetAndInvalidate(this, m_pie.Thickness3D, value);
}

int TPieSeries::SliceExplode(int index) const
{
    return index >= 0 && index < static_cast<int>(m_sliceExplode.size()) ? m_sliceExplode[index]
                                                                         : 0;
}

void TPieSeries::SetSliceExplode(int index, int percent)
{
    if (index < 0 || index >= PointCount())
        throw ListIndexError(index);
    CheckPercent(percent, ExplodeMessage);
    if (index >= static_cast<int>(m_sliceExplode.size()))
        m_sliceExplode.resize(index + 1, 0);
    SetAndInvalidate(this, m_sliceExplode[index], percent);
}

void TPieSeries::CopyFrom(const TChartSeries &source)
{
    if (&source == this)
        return;
    if (const auto *pie = dynamic_cast<const TPieSeries *>(&source)) {
        m_pie = pie->m_pie;
        m_piePen.CopyFrom(pie->m_piePen);
    }
    TChartSeries::CopyFrom(source);
    // Slices of one colour cannot be told apart: a pie made from another
    // type colours each slice.
    if (!dynamic_cast<const TPieSeries *>(&source))
        SetColorEachPoint(true);
}

void TPieSeries::RemovePoint(int index)
{
    TChartSeries::RemovePoint(index);
    if (index < static_cast<int>(m_sliceExplode.size()))
        m_sliceExplode.erase(m_sliceExplode.begin() + index);
}

void TPieSeries::EmptyLists()
{
    TChartSeries::EmptyLists();
    m_sliceExplode.clear();
}

void TPieSeries::FillSamplePoints(int count)
{
    if (count <= 0)
        throw ChartException(QStringLiteral("FillSampleValues NumValues must be > 0"));
    RemoveAllPoints();
    QRandomGenerator *random = QRandomGenerator::global();
    for (int i = 0; i < count; ++i)
        AppendPoint(10 + random->bounded(90));
}

// ---- layout ---------------------------------------------------------------------------

bool TPieSeries::HasSlice(int index) const
{
    const double v = PointY(index);
    return v != 0 && std::isfinite(v) && !IsNullPoint(index);
}

void TPieSeries::Layout(const TSeriesPaintContext &context, TPieLayout &layout) const
{
    layout.Slices.clear();
    layout.XRadius = layout.YRadius = layout.Thickness = 0;
    const TRect &r = context.ChartRect;
    layout.Centre = {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};

    double total = 0;
    int biggest = -1;
    for (int i = 0; i < PointCount(); ++i) {
        if (!HasSlice(i))
            continue;
        const double v = std::fabs(PointY(i));
        total += v;
        if (biggest < 0 || v > std::fabs(PointY(biggest)))
            biggest = i;
    }
    const double halfWidth = (r.Right - r.Left) / 2.0 - m_markRoomX;
    const double halfHeight = (r.Bottom - r.Top) / 2.0 - m_markRoomY;
    if (biggest < 0 || !std::isfinite(total) || halfWidth < 1 || halfHeight < 1)
        return;

    auto explodeOf = [&](int i) {
        return std::max(SliceExplode(i), i == biggest ? m_pie.ExplodeBiggest : 0);
    };
    int maxExplode = 0;
    for (int i = 0; i < PointCount(); ++i)
        if (HasSlice(i))
            maxExplode = std::max(maxExplode, explodeOf(i));

    // Tilted, the circle of the pie becomes an ellipse sin(tilt) as high as
    // wide, and its walls add Thickness3D % of the radius below it.
    const double sinTilt = context.View3D ? std::sin(m_pie.Tilt3D * Pi / 180) : 1.0;
    const double thick = context.View3D ? m_pie.Thickness3D / 100.0 : 0.0;
    double rx = halfWidth;
    double ry = 2 * halfHeight / (2 * sinTilt + thick);
    if (m_pie.Circled)
        rx = ry = std::min(rx, ry);
    // Exploded slices must stay in the rectangle too.
    const double shrink = 1 + maxExplode / 100.0;
    rx /= shrink;
    ry /= shrink;
    layout.XRadius = TruncToInt(rx);
    layout.YRadius = TruncToInt(ry * sinTilt);
    layout.Thickness = TruncToInt(ry * thick);
    layout.Centre.Y -= layout.Thickness / 2;

    double angle = m_pie.RotationAngle * Pi / 180;
    for (int i = 0; i < PointCount(); ++i) {
        if (!HasSlice(i))
            continue;
        TPieSlice slice;
        slice.Index = i;
        slice.Start = angle;
        angle += TwoPi * std::fabs(PointY(i)) / total;
        slice.End = angle;
        const double out = explodeOf(i) / 100.0;
        const double m = slice.Middle();
        slice.Centre = {layout.Centre.X + RoundToInt(out * layout.XRadius * std::cos(m)),
                        layout.Centre.Y - RoundToInt(out * layout.YRadius * std::sin(m))};
        layout.Slices.push_back(slice);
    }
}

const TPieSlice *TPieSeries::SliceOf(int index) const
{
    const auto it = std::lower_bound(m_layout.Slices.begin(), m_layout.Slices.end(), index,
                                     [](const TPieSlice &slice, int i) { return slice.Index < i; });
    return it != m_layout.Slices.end() && it->Index == index ? &*it : nullptr;
}

// ---- drawing --------------------------------------------------------------------------

void TPieSeries::MeasureMarks(const TSeriesPaintContext &context)
{
    m_markRoomX = m_markRoomY = 0;
    if (!Marks().Visible())
        return;
    TCanvas3D &canvas = context.Canvas;
    context.SelectFont(Marks().Font());
    int widest = 0;
    int mostLines = 0;
    for (int i = 0; i < PointCount(); ++i) {
        const QString text = MarkText(i);
        if (text.isEmpty())
            continue;
        int lines = 0;
        widest = std::max(widest, WidestLineWidth(canvas, text, lines));
        mostLines = std::max(mostLines, lines);
    }
    if (widest == 0)
        return;
    // As the marks measure their boxes: a letter's width of padding and the
    // frame on both sides; then the leader line and a little air.
    const int frame = Marks().Frame().Visible() ? 2 * Marks().Frame().Width() : 0;
    const int reach = std::max(0, Marks().ArrowLength()) + 4;
    m_markRoomX = widest + canvas.MeasureTextWidth(QStringLiteral("W")) + frame + reach;
    m_markRoomY = mostLines * canvas.TextLineHeight() + frame + reach;
}

void TPieSeries::DrawAllPoints(const TSeriesPaintContext &context)
{
    MeasureMarks(context);
    Layout(context, m_layout);
    DrawingOrder(m_layout, context.View3D, m_order);
    for (const int k : m_order)
        DrawSlice(context, m_layout.Slices[k]);
}

void TPieSeries::DrawPoint(const TSeriesPaintContext &context, int index)
{
    if (const TPieSlice *slice = SliceOf(index))
        DrawSlice(context, *slice);
}

void TPieSeries::DrawSlice(const TSeriesPaintContext &context, const TPieSlice &slice)
{
    TCanvas3D &canvas = context.Canvas;
    canvas.ApplyChartPen(m_piePen);
    context.AdjustPenForPrinting(canvas.Pen());
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(EffectivePointColor(slice.Index));
    const int z0 = context.Depth.Start;
    canvas.DrawPie3D(slice.Centre, m_layout.XRadius, m_layout.YRadius, z0, z0 + m_layout.Thickness,
                     slice.Start, slice.End, m_pie.Dark3D);
}

// ---- hit testing ----------------------------------------------------------------------

bool TPieSeries::SliceHit(const TPieLayout &layout, const TPieSlice &slice, int x, int y) const
{
    const int rx = layout.XRadius;
    const int ry = layout.YRadius;
    if (rx <= 0 || ry <= 0)
        return false;
    const double sweep = slice.End - slice.Start;
    auto onArc = [&](double a) {
        const double rel = a - slice.Start;
        return rel - TwoPi * std::floor(rel / TwoPi) <= sweep;
    };
    const int cx = slice.Centre.X;
    const int cy = slice.Centre.Y;
    const double u = double(x - cx) / rx;
    const double w = double(cy - y) / ry;
    if (u * u + w * w <= 1 && onArc(std::atan2(w, u)))
        return true;

    const int h = layout.Thickness;
    if (h <= 0)
        return false;
    // The rim on the front half of the pie.
    if (std::fabs(u) <= 1) {
        const double top = cy + ry * std::sqrt(1 - u * u);
        if (y >= top && y <= top + h && onArc(-std::acos(u)))
            return true;
    }
    // The cut faces turned towards the viewer.
    if (sweep >= TwoPi)
        return false;
    for (const double a : {slice.Start, slice.End}) {
        const double c = std::cos(a);
        if (a == slice.Start ? c <= 0 : c >= 0)
            continue;
        const TPoint rim{cx + RoundToInt(rx * c), cy - RoundToInt(ry * std::sin(a))};
        const TPoint face[4] = {{cx, cy}, rim, {rim.X, rim.Y + h}, {cx, cy + h}};
        if (PolygonContains(TPoint{x, y}, face, 3))
            return true;
    }
    return false;
}

int TPieSeries::HitTest(const TSeriesPaintContext &context, int x, int y) const
{
    TPieLayout layout;
    Layout(context, layout);
    std::vector<int> order;
    DrawingOrder(layout, context.View3D, order);
    context.Canvas.ScreenToPlane(x, y, context.Depth.Start);
    // The slice drawn last lies on top.
    for (auto k = order.rbegin(); k != order.rend(); ++k)
        if (SliceHit(layout, layout.Slices[*k], x, y))
            return layout.Slices[*k].Index;
    return -1;
}

// ---- marks and legend -------------------------------------------------------------------

TPoint TPieSeries::MarkPoint(const TSeriesPaintContext &context, int index) const
{
    // The layout of the paint the marks belong to; laid out afresh for a
    // point the last paint did not see.
    const TPieLayout *layout = &m_layout;
    const TPieSlice *slice = SliceOf(index);
    TPieLayout fresh;
    if (!slice) {
        Layout(context, fresh);
        layout = &fresh;
        for (const TPieSlice &s : fresh.Slices)
            if (s.Index == index)
                slice = &s;
        if (!slice)
            return fresh.Centre;
    }
    const double m = slice->Middle();
    TPoint p{slice->Centre.X + RoundToInt(layout->XRadius * std::cos(m)),
             slice->Centre.Y - RoundToInt(layout->YRadius * std::sin(m))};
    if (std::sin(m) < 0)
        p.Y += layout->Thickness;
    return p;
}

void TPieSeries::DrawPointMark(const TSeriesPaintContext &context, int index, const QString &text,
                               TSeriesMarkPosition &position)
{
    const TPieSlice *slice = SliceOf(index);
    if (!slice)
        return;
    const double m = slice->Middle();
    const double c = std::cos(m);
    const double s = std::sin(m);
    const int length = Marks().ArrowLength();
    const TPoint to{position.ArrowFrom.X + RoundToInt(length * c),
                    position.ArrowFrom.Y - RoundToInt(length * s)};
    position.ArrowTo = to;
    const int w = position.Width;
    const int h = position.Height;
    if (std::fabs(c) < 0.25) {
        // Above or below the pie: the box centred over the line's end.
        position.LeftTop = {to.X - w / 2, s > 0 ? to.Y - h : to.Y};
    } else {
        position.LeftTop = {c > 0 ? to.X + 2 : to.X - w - 2, to.Y - h / 2};
    }
    Marks().SetZPosition(context.Depth.Start);
    TChartSeries::DrawPointMark(context, index, text, position);
}

QString TPieSeries::MarkText(int index) const
{
    return HasSlice(index) ? TChartSeries::MarkText(index) : QString();
}

int TPieSeries::LegendItemCount() const
{
    int n = 0;
    for (int i = 0; i < PointCount(); ++i)
        n += HasSlice(i) ? 1 : 0;
    return n;
}

int TPieSeries::LegendToPointIndex(int i) const
{
    int n = 0;
    for (int p = 0; p < PointCount(); ++p)
        if (HasSlice(p) && n++ == i)
            return p;
    return i;
}

} // namespace kov
