#include "chart/series/pie_series.h"

#include "chart/canvas/canvas3d.h"
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

/// Room between the end of a leader line and its column of marks, and
/// between two marks of a column.
constexpr int ColumnGap = 2;

/// text with each line cut to at most width pixels, "…" standing for what
/// was cut; empty when a line would keep nothing but "…". lines counts the
/// lines.
QString ShortenedText(TChartCanvas &canvas, const QString &text, int width, int &lines)
{
    static const QString Ellipsis = QStringLiteral("\u2026");
    QStringList parts = SplitLines(text);
    lines = static_cast<int>(parts.size());
    for (QString &line : parts) {
        if (canvas.MeasureTextWidth(line) <= width)
            continue;
        // The longest beginning that fits with the ellipsis.
        qsizetype lo = 0, hi = line.size() - 1;
        while (lo < hi) {
            const qsizetype mid = (lo + hi + 1) / 2;
            if (canvas.MeasureTextWidth(line.left(mid) + Ellipsis) <= width)
                lo = mid;
            else
                hi = mid - 1;
        }
        line = line.left(lo).trimmed();
        if (line.isEmpty())
            return QString();
        line += Ellipsis;
    }
    return parts.join(LineBreakChar);
}

/// A mark in a column: where it is in the list of marks, and the size of
/// its slice (a full column leaves out the marks of the smallest slices).
struct TLabelSlot
{
    int Label;
    double Size;
};

/// Moves the boxes of one column up or down the least so that none
/// overlaps another and all lie between top and bottom; the marks of the
/// smallest slices are left out (their boxes emptied) while they cannot.
void StackColumn(std::vector<TLabelSlot> &column, std::vector<TPieLabel> &labels, int top,
                 int bottom)
{
    auto box = [&](const TLabelSlot &slot) -> TRect & { return labels[slot.Label].Box; };
    auto needed = [&] {
        int sum = 0;
        for (const TLabelSlot &slot : column)
            sum += box(slot).Bottom - box(slot).Top + ColumnGap;
        return sum - ColumnGap;
    };
    while (!column.empty() && needed() > bottom - top) {
        const auto smallest =
            std::min_element(column.begin(), column.end(),
                             [](const auto &a, const auto &b) { return a.Size < b.Size; });
        box(*smallest).Right = box(*smallest).Left;
        column.erase(smallest);
    }
    std::stable_sort(column.begin(), column.end(),
                     [&](const auto &a, const auto &b) { return box(a).Top < box(b).Top; });
    auto moveTo = [](TRect &r, int y) {
        r.Bottom += y - r.Top;
        r.Top = y;
    };
    int y = top;
    for (const TLabelSlot &slot : column) {
        TRect &r = box(slot);
        moveTo(r, std::max(r.Top, y));
        y = r.Bottom + ColumnGap;
    }
    y = bottom;
    for (auto it = column.rbegin(); it != column.rend(); ++it) {
        TRect &r = box(*it);
        if (r.Bottom > y)
            moveTo(r, y - (r.Bottom - r.Top));
        y = r.Top - ColumnGap;
    }
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

void TPieSeries::SetDonutPercent(int value)
{
    // A hole of the whole radius would leave nothing to see or click.
    if (value < 0 || value > 99)
        throw ChartException(QStringLiteral("Pie Donut must be between 0 and 99 %"));
    SetAndInvalidate(this, m_pie.DonutPercent, value);
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

void TPieSeries::PointAdded(int index)
{
    if (index < static_cast<int>(m_sliceExplode.size()))
        m_sliceExplode.insert(m_sliceExplode.begin() + index, 0);
    TChartSeries::PointAdded(index);
}

void TPieSeries::SwapPoints(int i, int j)
{
    TChartSeries::SwapPoints(i, j);
    if (i == j || (SliceExplode(i) == 0 && SliceExplode(j) == 0))
        return;
    const size_t hi = static_cast<size_t>(std::max(i, j));
    if (hi >= m_sliceExplode.size())
        m_sliceExplode.resize(hi + 1, 0);
    std::swap(m_sliceExplode[static_cast<size_t>(i)], m_sliceExplode[static_cast<size_t>(j)]);
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
    QRandomGenerator &random = SampleRandom();
    for (int i = 0; i < count; ++i)
        AppendPoint(10 + random.bounded(90));
}

// ---- layout ---------------------------------------------------------------------------

bool TPieSeries::HasSlice(int index) const
{
    const double v = PointY(index);
    return v != 0 && std::isfinite(v) && !IsNullPoint(index);
}

TPieSeries::TShares TPieSeries::Shares() const
{
    TShares shares;
    for (int i = 0; i < PointCount(); ++i) {
        if (HasSlice(i) && std::fabs(PointY(i)) > shares.Largest) {
            shares.Largest = std::fabs(PointY(i));
            shares.Biggest = i;
        }
    }
    if (shares.Biggest < 0)
        return shares;
    // In units of the largest value: the sum lies between 1 and the number
    // of slices, however large the values are.
    for (int i = 0; i < PointCount(); ++i)
        if (HasSlice(i))
            shares.Sum += std::fabs(PointY(i)) / shares.Largest;
    return shares;
}

double TPieSeries::PointPercent(int index) const
{
    if (!HasSlice(index))
        return 0;
    const TShares shares = Shares();
    return std::fabs(PointY(index)) / shares.Largest / shares.Sum * 100;
}

double TPieSeries::PercentTotal() const
{
    const TShares shares = Shares();
    return shares.Largest * shares.Sum;
}

void TPieSeries::Layout(const TSeriesPaintContext &context, TPieLayout &layout) const
{
    layout.Slices.clear();
    layout.XRadius = layout.YRadius = layout.Thickness = layout.OuterXRadius = 0;
    const TRect &r = context.ChartRect;
    layout.Centre = {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};

    const TShares shares = Shares();
    const double halfWidth = (r.Right - r.Left) / 2.0;
    const double halfHeight = (r.Bottom - r.Top) / 2.0;
    if (shares.Biggest < 0 || halfWidth < 1 || halfHeight < 1)
        return;

    auto explodeOf = [&](int i) {
        return std::max(SliceExplode(i), i == shares.Biggest ? m_pie.ExplodeBiggest : 0);
    };
    int maxExplode = 0;
    for (int i = 0; i < PointCount(); ++i)
        if (HasSlice(i))
            maxExplode = std::max(maxExplode, explodeOf(i));

    // Tilted, the circle of the pie becomes an ellipse sin(tilt) as high as
    // wide, and its walls add Thickness3D % of the radius below it. Exploded
    // slices must stay in the rectangle too.
    const double sinTilt = context.View3D ? std::sin(m_pie.Tilt3D * Pi / 180) : 1.0;
    const double thick = context.View3D ? m_pie.Thickness3D / 100.0 : 0.0;
    const double shrink = 1 + maxExplode / 100.0;
    auto radii = [&](double w, double h, double &rx, double &ry) {
        rx = w;
        ry = 2 * h / (2 * sinTilt + thick);
        if (m_pie.Circled)
            rx = ry = std::min(rx, ry);
        rx /= shrink;
        ry /= shrink;
    };
    // The marks take what room they need, but never more than half the
    // radius the pie has without them.
    double rx0 = 0, ry0 = 0, rx = 0, ry = 0;
    radii(halfWidth, halfHeight, rx0, ry0);
    radii(halfWidth - m_markRoomX, halfHeight - m_markRoomY, rx, ry);
    rx = std::max(rx, rx0 / 2);
    ry = std::max(ry, ry0 / 2);
    if (m_pie.Circled)
        rx = ry = std::min(rx, ry);
    layout.XRadius = TruncToInt(rx);
    layout.YRadius = TruncToInt(ry * sinTilt);
    layout.OuterXRadius = TruncToInt(rx * shrink);
    layout.Thickness = TruncToInt(ry * thick);
    layout.Centre.Y -= layout.Thickness / 2;

    const double start = m_pie.RotationAngle * Pi / 180;
    double done = 0; // the share of the turn the slices so far take
    for (int i = 0; i < PointCount(); ++i) {
        if (!HasSlice(i))
            continue;
        TPieSlice slice;
        slice.Index = i;
        slice.Start = start + TwoPi * done;
        done += std::fabs(PointY(i)) / shares.Largest / shares.Sum;
        slice.End = start + TwoPi * std::min(done, 1.0);
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

void TPieSeries::LayOutWithMarks(const TSeriesPaintContext &context)
{
    m_markRoomX = m_markRoomY = 0;
    m_labels.clear();
    if (!Marks().Visible()) {
        Layout(context, m_layout);
        return;
    }
    // Measured as the marks will be drawn: in their font, zoomed with the
    // text of a 3D chart.
    TCanvas3D &canvas = context.Canvas;
    context.SelectFont(Marks().Font());
    if (context.TextZoom != 100)
        canvas.Font().SetSize(
            std::max(1, RoundToInt(canvas.Font().Size() * context.TextZoom * 0.01)));
    const int padding = canvas.MeasureTextWidth(QStringLiteral("W"));
    const int frame = Marks().Frame().Visible() ? 2 * Marks().Frame().Width() : 0;
    int widest = 0;
    for (int i = 0; i < PointCount(); ++i) {
        const QString text = MarkText(i);
        int lines = 0;
        if (!text.isEmpty())
            widest = std::max(widest, WidestLineWidth(canvas, text, lines));
    }
    if (widest > 0) {
        // Across: the leader line and a column as wide as the widest box on
        // either side. Above and below: the leader line and half a line of
        // text, for the marks of the slices at the top and the bottom.
        const int reach = std::max(0, Marks().ArrowLength()) + ColumnGap;
        m_markRoomX = reach + widest + padding + frame;
        m_markRoomY = reach + canvas.TextLineHeight() / 2;
    }
    Layout(context, m_layout);
    if (widest > 0)
        PlaceLabels(context, padding, frame);
}

void TPieSeries::PlaceLabels(const TSeriesPaintContext &context, int padding, int frame)
{
    TCanvas3D &canvas = context.Canvas;
    const TRect &r = context.ChartRect;
    const int lineHeight = canvas.TextLineHeight();
    const int length = std::max(0, Marks().ArrowLength());
    const int reach = m_layout.OuterXRadius + length + ColumnGap;
    const int rightColumn = m_layout.Centre.X + reach;
    const int leftColumn = m_layout.Centre.X - reach;
    // Each column holds what lies between it and the chart rectangle's side.
    const int rightWidth = r.Right - rightColumn - padding - frame;
    const int leftWidth = leftColumn - r.Left - padding - frame;

    std::vector<TLabelSlot> right, left;
    for (const TPieSlice &slice : m_layout.Slices) {
        const QString text = MarkText(slice.Index);
        if (text.isEmpty())
            continue;
        const double m = slice.Middle();
        const bool onRight = std::cos(m) >= 0;
        TPieLabel label;
        label.Index = slice.Index;
        int lines = 0;
        label.Text = ShortenedText(canvas, text, onRight ? rightWidth : leftWidth, lines);
        if (label.Text.isEmpty())
            continue;
        label.Rim = MarkPoint(context, slice.Index);
        label.Bend = {label.Rim.X + RoundToInt(length * std::cos(m)),
                      label.Rim.Y - RoundToInt(length * std::sin(m))};
        int dummy = 0;
        const int width = WidestLineWidth(canvas, label.Text, dummy) + padding + frame;
        const int height = lines * lineHeight + frame;
        const int top = label.Bend.Y - height / 2;
        label.Box = onRight ? TRect{rightColumn, top, rightColumn + width, top + height}
                            : TRect{leftColumn - width, top, leftColumn, top + height};
        (onRight ? right : left)
            .push_back({static_cast<int>(m_labels.size()), std::fabs(PointY(slice.Index))});
        m_labels.push_back(label);
    }
    for (std::vector<TLabelSlot> *column : {&right, &left})
        StackColumn(*column, m_labels, r.Top, r.Bottom);
    // The leader bends towards the box's middle and ends at its near side.
    for (TPieLabel &label : m_labels) {
        if (label.Box.Right <= label.Box.Left)
            continue;
        const int y = (label.Box.Top + label.Box.Bottom) / 2;
        const bool onRight = label.Box.Left >= m_layout.Centre.X;
        label.Bend.Y = y;
        label.End = {onRight ? label.Box.Left : label.Box.Right, y};
    }
    // Marks a full column had no room for are left out.
    m_labels.erase(std::remove_if(m_labels.begin(), m_labels.end(),
                                  [](const TPieLabel &l) { return l.Box.Right <= l.Box.Left; }),
                   m_labels.end());
}

void TPieSeries::DrawAllPoints(const TSeriesPaintContext &context)
{
    LayOutWithMarks(context);
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
    // A slice too small to take any angle is not drawn (the canvas would
    // take an empty sweep for a whole turn).
    if (!(slice.End > slice.Start))
        return;
    TCanvas3D &canvas = context.Canvas;
    canvas.ApplyChartPen(m_piePen);
    context.AdjustPenForPrinting(canvas.Pen());
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(EffectivePointColor(slice.Index));
    const int z0 = context.Depth.Start;
    canvas.DrawPie3D(slice.Centre, m_layout.XRadius, m_layout.YRadius, z0, z0 + m_layout.Thickness,
                     slice.Start, slice.End, m_pie.Dark3D, m_pie.DonutPercent / 100.0);
}

// ---- hit testing ----------------------------------------------------------------------

bool TPieSeries::SliceHit(const TPieLayout &layout, const TPieSlice &slice, int x, int y) const
{
    const int rx = layout.XRadius;
    const int ry = layout.YRadius;
    if (rx <= 0 || ry <= 0)
        return false;
    const double hole = m_pie.DonutPercent / 100.0;
    const double sweep = slice.End - slice.Start;
    auto onArc = [&](double a) {
        const double rel = a - slice.Start;
        return rel - TwoPi * std::floor(rel / TwoPi) <= sweep;
    };
    const int cx = slice.Centre.X;
    const int cy = slice.Centre.Y;
    const double u = double(x - cx) / rx;
    const double w = double(cy - y) / ry;
    const double r2 = u * u + w * w;
    if (r2 <= 1 && r2 >= hole * hole && onArc(std::atan2(w, u)))
        return true;

    const int h = layout.Thickness;
    if (h <= 0)
        return false;
    // The outer rim on the front half of the pie, the inner one on the back
    // half of the hole.
    if (std::fabs(u) <= 1) {
        const double top = cy + ry * std::sqrt(1 - u * u);
        if (y >= top && y <= top + h && onArc(-std::acos(u)))
            return true;
    }
    if (hole > 0 && std::fabs(u) <= hole) {
        const double top = cy - ry * std::sqrt(hole * hole - u * u);
        if (y >= top && y <= top + h && onArc(std::acos(u / hole)))
            return true;
    }
    // The cut faces turned towards the viewer.
    if (sweep >= TwoPi)
        return false;
    for (const double a : {slice.Start, slice.End}) {
        const double c = std::cos(a);
        if (a == slice.Start ? c <= 0 : c >= 0)
            continue;
        const double s = std::sin(a);
        const TPoint inner{cx + RoundToInt(hole * rx * c), cy - RoundToInt(hole * ry * s)};
        const TPoint rim{cx + RoundToInt(rx * c), cy - RoundToInt(ry * s)};
        const TPoint face[4] = {inner, rim, {rim.X, rim.Y + h}, {inner.X, inner.Y + h}};
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

void TPieSeries::DrawPointMark(const TSeriesPaintContext &context, int index, const QString &,
                               TSeriesMarkPosition &position)
{
    const auto label = std::lower_bound(m_labels.begin(), m_labels.end(), index,
                                        [](const TPieLabel &l, int i) { return l.Index < i; });
    if (label == m_labels.end() || label->Index != index)
        return;
    Marks().SetZPosition(context.Depth.Start);
    // The leader's first leg runs out from the rim to the bend; the marks
    // draw the second, level with the box, with the box.
    Marks().PaintArrow(context, EffectivePointColor(index), label->Rim, label->Bend);
    position.ArrowFrom = label->Bend;
    position.ArrowTo = label->End;
    position.LeftTop = {label->Box.Left, label->Box.Top};
    position.Width = label->Box.Right - label->Box.Left;
    position.Height = label->Box.Bottom - label->Box.Top;
    TChartSeries::DrawPointMark(context, index, label->Text, position);
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
