// Laying out, measuring and painting an axis: value, logarithmic, custom and
// point labels, the room beside the chart rectangle, the title, ticks, minor
// ticks, grid and axis line.
#include "chart/plot/axis_painter.h"

#include "chart/axis/axis.h"
#include "chart/axis/axis_labels.h"
#include "chart/canvas/chart_canvas3d.h"
#include "chart/canvas/text_lines.h"
#include "chart/numeric.h"
#include "chart/series/series.h"

#include <cmath>

namespace kov {

namespace {

constexpr int MaxCustomLabelIndex = 2000;

// Text alignment of a label beside an axis of the given kind and side.
unsigned SideAlignment(bool horizontal, bool farSide)
{
    if (horizontal)
        return farSide ? (taCenter | taBottom) : taCenter;
    return farSide ? taLeft : taRight;
}

} // namespace

// The axis' own layout, measuring and painting operations: each hands over to
// a painter in the context the axis' owner gives (axis.h).

double TCustomChartAxis::ComputeLabelStep() const
{
    const TAxisPaintContext context = PaintContext();
    return TAxisPainter(const_cast<TCustomChartAxis &>(*this), context).ComputeLabelStep();
}

QString TCustomChartAxis::FormatLabel(double value) const
{
    const TAxisPaintContext context = PaintContext();
    return TAxisPainter(const_cast<TCustomChartAxis &>(*this), context).FormatLabel(value);
}

int TCustomChartAxis::MaxLabelExtent()
{
    const TAxisPaintContext context = PaintContext();
    return TAxisPainter(*this, context).MaxLabelExtent();
}

TAxisLabelStyle TCustomChartAxis::ResolvedLabelStyle() const
{
    const TAxisPaintContext context = PaintContext();
    return TAxisPainter(const_cast<TCustomChartAxis &>(*this), context).ResolvedLabelStyle();
}

bool TCustomChartAxis::UsesDateTime() const
{
    const TAxisPaintContext context = PaintContext();
    return TAxisPainter(const_cast<TCustomChartAxis &>(*this), context).UsesDateTime();
}

void TCustomChartAxis::ReserveSpace(TRect &rect, bool shrink)
{
    const TAxisPaintContext context = PaintContext();
    TAxisPainter(*this, context).ReserveSpace(rect, shrink);
}

void TCustomChartAxis::PaintAxis(bool placeLine)
{
    const TAxisPaintContext context = PaintContext();
    TAxisPainter(*this, context).Paint(placeLine);
}

// ---------------------------------------------------------------------------
// The painter

TAxisPainter::TAxisPainter(TCustomChartAxis &axis, const TAxisPaintContext &context)
    : m_axis(axis), m_settings(axis.m_settings), m_context(context)
{
}

void TAxisPainter::AddTickPosition(int pos)
{
    if (static_cast<int>(m_axis.m_layout.TickPositions.size()) < TCustomChartAxis::MaxTickPositions)
        m_axis.m_layout.TickPositions.push_back(pos);
}

void TAxisPainter::PrepareText(const TFont &font)
{
    SelectFont(font);
    TChartCanvas3D &canvas = m_context.Canvas;
    if (m_context.LabelBackground)
        canvas.Brush().SetColor(*m_context.LabelBackground);
    canvas.Brush().SetStyle(bsClear);
    if (m_context.Printing && ColorToRGB(canvas.Font().Color()) == clWhite)
        canvas.Font().SetColor(clBlack);
}

void TAxisPainter::Paint(bool placeLine)
{
    m_axis.m_dateTimeMode = UsesDateTime();
    SelectFont(m_axis.m_labelsFont);
    const double step = ComputeLabelStep();
    if (placeLine) {
        const TRect r = m_context.ChartRect;
        m_axis.m_layout.AxisLinePos = PositionApplied(SideEdge(r), r);
    }
    m_axis.m_layout.TickPositions.clear();
    m_axis.m_layout.PaintedLabels.clear();
    m_haveLastLabel = false;
    if (!m_axis.m_title.Caption().isEmpty())
        DrawTitle();

    const TAxisLabelStyle style = ResolvedLabelStyle();
    const TTimeStep timeStep = LabelTimeStep(m_settings, m_axis.m_dateTimeMode, step);

    const bool calendarStep = timeStep >= dsHalfMonth && timeStep <= dsOneYear;
    if ((step > 0 || calendarStep) && m_axis.m_map.RangeMax >= m_axis.m_map.RangeMin) {
        switch (style) {
        case talValue:
            if (m_context.OnGetNextLabel && *m_context.OnGetNextLabel)
                CustomLabels(step, timeStep);
            else
                DefaultValueLabels(step, timeStep);
            break;
        case talMark:
        case talText:
            if (m_settings.IsDepth && style == talText)
                DepthSeriesLabels();
            else
                PointLabels(style);
            break;
        default:
            break;
        }
    }
    DrawTicksGridAndLine();
}

void TAxisPainter::DefaultValueLabels(double step, TTimeStep timeStep)
{
    std::vector<double> values;
    if (!m_settings.Logarithmic || m_settings.Increment != 0) {
        SteppedLabelValues(m_settings, m_axis.m_dateTimeMode, m_axis.m_map.RangeMin,
                           m_axis.m_map.RangeMax, step, timeStep, values);
    } else {
        // The scale cannot reach 0: the smallest label stands in for it for
        // the rest of this paint and the conversions after it.
        const double rangeMin = LogarithmicLabelValues(m_settings, m_axis.m_map.RangeMin,
                                                       m_axis.m_map.RangeMax, values);
        if (rangeMin != m_axis.m_map.RangeMin)
            m_axis.m_map.SetRange(rangeMin, m_axis.m_map.RangeMax);
    }
    for (double value : values)
        EmitValue(value);
}

void TAxisPainter::EmitValue(double value)
{
    const int pos = m_axis.ValueToPos(value);
    if (m_settings.LabelsOnAxis || (m_axis.m_map.StartPixel < pos && pos < m_axis.m_map.EndPixel)) {
        if (!m_settings.TickOnLabelsOnly)
            AddTickPosition(pos);
        if (m_settings.Labels)
            DrawLabel(pos, FormatLabel(value));
    }
}

void TAxisPainter::CustomLabels(double step, TTimeStep timeStep)
{
    double v = m_axis.m_map.RangeMin;
    bool stop = true;
    int i = 0;
    for (;;) {
        if (m_context.OnGetNextLabel && *m_context.OnGetNextLabel)
            (*m_context.OnGetNextLabel)(&m_axis, i, v, stop);
        else
            stop = true;
        if (stop) {
            if (i == 0)
                DefaultValueLabels(step, timeStep);
            return;
        }
        if (!(m_axis.m_map.RangeMin - 1e-7 <= v && v <= m_axis.m_map.RangeMax + 1e-7))
            return;
        EmitValue(v);
        ++i;
        if (i > MaxCustomLabelIndex)
            return;
    }
}

void TAxisPainter::DrawLabel(int pos, const QString &text)
{
    if (m_settings.TickOnLabelsOnly)
        AddTickPosition(pos);
    m_axis.m_layout.PaintedLabels.push_back(TCustomChartAxis::TPaintedLabel{pos, text});
    PrepareText(m_axis.m_labelsFont);
    TChartCanvas3D &canvas = m_context.Canvas;
    if (m_settings.IsDepth) {
        canvas.SetTextAlignment(taLeft);
        canvas.WriteText3D(m_axis.m_layout.LabelsPos, m_context.ChartRect.Bottom, pos, text);
    } else if (m_settings.IsHorizontal) {
        DrawLabelAt(pos, m_axis.m_layout.LabelsPos, m_settings.LabelsAngle, text);
    } else {
        DrawLabelAt(m_axis.m_layout.LabelsPos, pos, m_settings.LabelsAngle, text);
    }
}

void TAxisPainter::DrawTitle()
{
    PrepareText(m_axis.m_title.Font());
    TChartCanvas3D &canvas = m_context.Canvas;
    if (m_settings.IsDepth) {
        canvas.SetTextAlignment(taLeft);
        canvas.WriteText3D(m_axis.m_layout.TitlePos, m_context.ChartRect.Bottom,
                           m_context.Depth / 2, m_axis.m_title.Caption());
    } else if (m_settings.IsHorizontal) {
        DrawLabelAt(m_axis.m_map.CenterPixel, m_axis.m_layout.TitlePos, m_axis.m_title.Angle(),
                    m_axis.m_title.Caption());
    } else {
        DrawLabelAt(m_axis.m_layout.TitlePos, m_axis.m_map.CenterPixel, m_axis.m_title.Angle(),
                    m_axis.m_title.Caption());
    }
}

void TAxisPainter::DrawLabelAt(int x, int y, int angle, const QString &text)
{
    TChartCanvas3D &canvas = m_context.Canvas;
    const int lineHeight = LineHeight();
    const int half = lineHeight / 2;
    const bool far = m_settings.OnFarSide;
    unsigned align = taLeft;
    switch (angle) {
    case 0:
        align = SideAlignment(m_settings.IsHorizontal, far);
        if (!m_settings.IsHorizontal)
            y -= half;
        break;
    case 90:
        if (m_settings.IsHorizontal) {
            align = SideAlignment(false, far);
            x -= half;
        } else {
            align = SideAlignment(true, !far);
        }
        break;
    case 180:
        align = SideAlignment(m_settings.IsHorizontal, !far);
        if (!m_settings.IsHorizontal)
            y += half;
        break;
    case 270:
        if (m_settings.IsHorizontal) {
            align = SideAlignment(false, !far);
            x += half;
        } else {
            align = SideAlignment(true, far);
        }
        break;
    default:
        break;
    }
    canvas.SetTextAlignment(align);

    const int z = far ? m_context.Depth : 0;
    const QStringList lines = SplitLines(text);
    const int n = static_cast<int>(lines.size());
    const int l = (angle == 180 || angle == 270) ? -lineHeight : lineHeight;
    if (m_settings.IsHorizontal) {
        if (angle == 0)
            y -= far ? RoundToInt(n * static_cast<double>(l)) : l;
        else if (angle == 90 || angle == 270)
            x -= RoundToInt(l * 0.5 * (n + 1));
        else if (angle == 180)
            y -= far ? l : RoundToInt(n * static_cast<double>(l));
    } else {
        if (angle == 0 || angle == 180)
            y -= RoundToInt(l * 0.5 * (n + 1));
        else if (angle == 90)
            x -= far ? l : RoundToInt(n * static_cast<double>(l));
        else if (angle == 270)
            x -= far ? RoundToInt(n * static_cast<double>(l)) : l;
    }
    for (const QString &line : lines) {
        if (angle == 0) {
            y += l;
            canvas.WriteText3D(x, y, z, line);
            continue;
        }
        if (angle == 90 || angle == 270)
            x += l;
        else if (angle == 180)
            y += l;
        canvas.WriteRotatedText3D(x, y, z, line, angle);
    }
    canvas.SetTextAlignment(taLeft);
}

// ---------------------------------------------------------------------------
// Ticks, grid and axis line

void TAxisPainter::DrawTick(int pos, int offset, int length, int wall, int depth)
{
    TChartCanvas3D &canvas = m_context.Canvas;
    const TRect r = m_context.ChartRect;
    if (m_settings.IsDepth) {
        canvas.DrawHorizontalLine3D(m_axis.m_layout.AxisLinePos + offset,
                                    m_axis.m_layout.AxisLinePos + offset + length, r.Bottom, pos);
    } else if (m_settings.IsHorizontal && !m_settings.OnFarSide) {
        const int y0 = m_axis.m_layout.AxisLinePos + wall + offset;
        canvas.DrawVerticalLine3D(pos, y0, y0 + length, 0);
    } else if (m_settings.IsHorizontal) {
        const int y0 = m_axis.m_layout.AxisLinePos - offset;
        canvas.DrawVerticalLine3D(pos, y0, y0 - length, depth);
    } else if (!m_settings.OnFarSide) {
        const int x0 = m_axis.m_layout.AxisLinePos - wall - offset;
        canvas.DrawHorizontalLine3D(x0, x0 - length, pos, 0);
    } else {
        const int x0 = m_axis.m_layout.AxisLinePos + offset;
        canvas.DrawHorizontalLine3D(x0, x0 + length, pos, depth);
    }
}

void TAxisPainter::DrawGridLine(int pos, int depth)
{
    TChartCanvas3D &canvas = m_context.Canvas;
    const TRect r = m_context.ChartRect;
    if (!m_context.View3D) {
        if (m_settings.IsHorizontal)
            canvas.DrawVerticalLine3D(pos, r.Top, r.Bottom, 0);
        else
            canvas.DrawHorizontalLine3D(r.Left, r.Right, pos, 0);
        return;
    }
    if (m_settings.IsDepth) {
        canvas.DrawVerticalLine3D(r.Left, r.Top, r.Bottom, pos);
        canvas.DrawHorizontalLine3D(r.Left, r.Right, r.Bottom, pos);
    } else if (m_settings.IsHorizontal) {
        if (!m_settings.OnFarSide)
            canvas.DrawDepthLine(pos, m_axis.m_layout.AxisLinePos, 0, depth);
        canvas.DrawVerticalLine3D(pos, r.Top, r.Bottom, depth);
    } else {
        if (!m_settings.OnFarSide)
            canvas.DrawDepthLine(m_axis.m_layout.AxisLinePos, pos, 0, depth);
        canvas.DrawHorizontalLine3D(r.Left, r.Right, pos, depth);
    }
}

void TAxisPainter::DrawMinors()
{
    const std::vector<int> &p = m_axis.m_layout.TickPositions;
    if (p.empty() || (!m_axis.m_minorTicks.Visible() && !m_axis.m_minorGrid.Visible()))
        return;
    const int k = m_settings.MinorTickCount;
    std::vector<int> minors;
    auto add = [&](int pos) {
        if (m_axis.m_map.StartPixel < pos && pos < m_axis.m_map.EndPixel)
            minors.push_back(pos);
    };
    const int last = static_cast<int>(p.size()) - 1;
    if (!m_settings.Logarithmic && last >= 1) {
        const double delta = (p[1] - p[0]) / (k + 1.0);
        for (int j = 1; j <= k; ++j) {
            add(p[0] - RoundToInt(j * delta));
            add(p[last] + RoundToInt(j * delta));
        }
    }
    for (int i = 1; i <= last; ++i) {
        if (m_settings.Logarithmic) {
            double v = m_axis.PosToValue(p[i - 1]);
            const double dv = (m_settings.LogarithmicBase * v - v) / (k + 1);
            for (int j = 1; j <= k; ++j) {
                v += dv;
                if (v > m_axis.m_map.RangeMax)
                    break;
                add(m_axis.ValueToPos(v));
            }
        } else {
            const double delta = (p[i] - p[i - 1]) / (k + 1.0);
            for (int j = 1; j <= k; ++j)
                add(p[i] - RoundToInt(j * delta));
        }
    }
    TChartCanvas3D &canvas = m_context.Canvas;
    const int wall = m_context.Wall;
    const int depth = m_context.Depth;
    if (m_axis.m_minorTicks.Visible()) {
        canvas.ApplyChartPen(m_axis.m_minorTicks);
        for (int pos : minors)
            DrawTick(pos, 1, m_settings.MinorTickLength, wall, depth);
    }
    if (m_axis.m_minorGrid.Visible()) {
        canvas.ApplyChartPen(m_axis.m_minorGrid);
        for (int pos : minors)
            DrawGridLine(pos, depth);
    }
}

void TAxisPainter::DrawTicksGridAndLine()
{
    TChartCanvas3D &canvas = m_context.Canvas;
    const int wall = m_context.Wall;
    const int depth = m_context.Depth;
    const TRect r = m_context.ChartRect;

    if (m_axis.m_axisPen.Visible()) {
        canvas.ApplyChartPen(m_axis.m_axisPen);
        if (m_settings.IsDepth) {
            canvas.DrawDepthLine(r.Right, r.Bottom + m_context.BottomWall, 0, depth);
        } else if (m_settings.IsHorizontal && !m_settings.OnFarSide) {
            canvas.DrawHorizontalLine3D(m_axis.m_map.StartPixel - m_context.LeftWall,
                                        m_axis.m_map.EndPixel, m_axis.m_layout.AxisLinePos + wall,
                                        0);
        } else if (m_settings.IsHorizontal) {
            canvas.DrawHorizontalLine3D(m_axis.m_map.StartPixel, m_axis.m_map.EndPixel,
                                        m_axis.m_layout.AxisLinePos, depth);
        } else if (!m_settings.OnFarSide) {
            canvas.DrawVerticalLine3D(m_axis.m_layout.AxisLinePos - wall, m_axis.m_map.StartPixel,
                                      m_axis.m_map.EndPixel + m_context.BottomWall, 0);
        } else {
            canvas.DrawVerticalLine3D(m_axis.m_layout.AxisLinePos, m_axis.m_map.StartPixel,
                                      m_axis.m_map.EndPixel, depth);
        }
    }

    if (m_axis.m_ticks.Visible()) {
        canvas.ApplyChartPen(m_axis.m_ticks);
        for (int pos : m_axis.m_layout.TickPositions)
            DrawTick(pos, 1, m_settings.TickLength, wall, depth);
    }

    if (m_axis.m_grid.Visible()) {
        canvas.Brush().SetStyle(bsClear);
        canvas.SetBackgroundMode(bmTransparent);
        canvas.ApplyChartPen(m_axis.m_grid);
        AdjustPenForPrinting(canvas.Pen(), m_context.Printing);
        if (canvas.Pen().Color() == clDefault)
            canvas.Pen().SetColor(clGray);
        if (m_settings.GridCentered) {
            for (size_t i = 1; i < m_axis.m_layout.TickPositions.size(); ++i)
                DrawGridLine(RoundToInt((static_cast<double>(m_axis.m_layout.TickPositions[i]) +
                                         m_axis.m_layout.TickPositions[i - 1]) *
                                        0.5),
                             depth);
        } else {
            for (int pos : m_axis.m_layout.TickPositions)
                DrawGridLine(pos, depth);
        }
        canvas.SetBackgroundMode(bmOpaque);
    }

    if (m_axis.m_ticksInner.Visible()) {
        canvas.ApplyChartPen(m_axis.m_ticksInner);
        for (int pos : m_axis.m_layout.TickPositions)
            DrawTick(pos, -1, -m_settings.TickInnerLength, wall, depth);
    }

    DrawMinors();
}

int TAxisPainter::LabelSpan(double value) const
{
    int lines = 1;
    const int width = WidestLineWidth(m_context.Canvas, FormatLabel(value), lines);
    const bool across = m_settings.IsHorizontal
                            ? (m_settings.LabelsAngle == 90 || m_settings.LabelsAngle == 270)
                            : (m_settings.LabelsAngle == 0 || m_settings.LabelsAngle == 180);
    return across ? LineHeight() * lines : width;
}

double TAxisPainter::ComputeLabelStep() const
{
    const int span = std::max(LabelSpan(m_axis.m_map.RangeMax), LabelSpan(m_axis.m_map.RangeMin));
    return LabelStepForCount(LabelCount(m_settings, m_axis.m_map.PixelSize, span));
}

double TAxisPainter::LabelStepForCount(int count) const
{
    return kov::LabelStepForCount(m_settings, m_axis.m_dateTimeMode, m_axis.m_map.RangeSize, count);
}

QString TAxisPainter::FormatLabel(double value) const
{
    QString text = ValueLabelText(m_settings, m_axis.m_dateTimeMode, m_axis.m_map.RangeSize, value);
    if (!m_measuring)
        CallGetAxisLabel(nullptr, -1, text);
    if (m_settings.LabelsMultiLine)
        text.replace(QLatin1Char(' '), LineBreakChar);
    return text;
}

int TAxisPainter::LineHeight() const
{
    return m_context.Canvas.TextLineHeight();
}

// ---------------------------------------------------------------------------
// Room beside the chart rectangle

int TAxisPainter::SideEdge(const TRect &rect) const
{
    if (m_settings.IsDepth)
        return rect.Right;
    if (m_settings.IsHorizontal)
        return m_settings.OnFarSide ? rect.Top : rect.Bottom;
    return m_settings.OnFarSide ? rect.Right : rect.Left;
}

int TAxisPainter::MovedOutward(int pos, int amount) const
{
    const bool plus = m_settings.IsDepth || (m_settings.IsHorizontal != m_settings.OnFarSide);
    return plus ? SaturatedAdd(pos, amount) : SaturatedSub(pos, amount);
}

void TAxisPainter::ShrinkAtSide(TRect &rect, int amount) const
{
    if (m_settings.IsDepth)
        rect.Right -= amount;
    else if (m_settings.IsHorizontal && m_settings.OnFarSide)
        rect.Top += amount;
    else if (m_settings.IsHorizontal)
        rect.Bottom -= amount;
    else if (m_settings.OnFarSide)
        rect.Right -= amount;
    else
        rect.Left += amount;
}

int TAxisPainter::PositionApplied(int pos, const TRect &rect) const
{
    if (m_settings.PositionPercent == 0)
        return pos;
    const double extent = m_settings.IsHorizontal ? rect.Height() : rect.Width();
    int offset = SaturatedRound(m_settings.PositionPercent * 0.01 * extent);
    if (m_settings.OnFarSide)
        offset = -offset;
    return m_settings.IsHorizontal ? SaturatedSub(pos, offset) : SaturatedAdd(pos, offset);
}

int TAxisPainter::TickSpace() const
{
    int space = (m_axis.m_axisPen.Visible() ? m_axis.m_axisPen.Width() : 0) +
                (m_axis.m_ticks.Visible() ? m_settings.TickLength : 0);
    if (m_axis.m_minorTicks.Visible())
        space = std::max(space, m_settings.MinorTickLength);
    return space;
}

bool TAxisPainter::RunsAlongAxis(int angle) const
{
    if (m_settings.IsHorizontal)
        return angle == 0 || angle == 180;
    return angle == 90 || angle == 270;
}

int TAxisPainter::BandSize(const TFont &font, int angle, int fixedSize, const QString &text,
                           bool labels)
{
    if (fixedSize != 0)
        return fixedSize;
    SelectFont(font);
    if (RunsAlongAxis(angle))
        return LineHeight();
    if (labels)
        return MaxLabelExtent();
    int lines = 0;
    return WidestLineWidth(m_context.Canvas, text, lines);
}

int TAxisPainter::MaxLabelExtent()
{
    switch (ResolvedLabelStyle()) {
    case talValue: {
        double lo = m_axis.m_map.RangeMin;
        double hi = m_axis.m_map.RangeMax;
        if ((UsesDateTime() && m_settings.ExactDateTime) || m_settings.RoundFirstLabel) {
            const double step = ComputeLabelStep();
            lo = std::trunc(m_axis.m_map.RangeMin / step) * step;
            hi = std::trunc(m_axis.m_map.RangeMax / step) * step;
        }
        // Measured without the label hook: the band must not depend on what a
        // handler does with texts that are never drawn.
        struct Detach
        {
            TAxisPainter *painter;
            bool saved;
            ~Detach() { painter->m_measuring = saved; }
        } detach{this, m_measuring};
        m_measuring = true;
        TChartCanvas3D &canvas = m_context.Canvas;
        int lines = 0;
        const int hiWidth = WidestLineWidth(canvas, FormatLabel(hi), lines);
        const int loWidth = WidestLineWidth(canvas, FormatLabel(lo), lines);
        return std::max(hiWidth, loWidth) + canvas.MeasureTextWidth(QStringLiteral(" "));
    }
    case talMark:
    case talText:
        return m_context.PointLabelsExtent ? m_context.PointLabelsExtent(ResolvedLabelStyle()) : 0;
    default:
        return 0;
    }
}

void TAxisPainter::ReserveSpace(TRect &rect, bool shrink)
{
    m_axis.m_dateTimeMode = UsesDateTime();
    const int tickSpace = TickSpace();
    if (!shrink) {
        m_axis.m_layout.AxisLinePos = PositionApplied(SideEdge(rect), rect);
        m_axis.m_layout.LabelsPos = MovedOutward(m_axis.m_layout.AxisLinePos, tickSpace);
        m_axis.m_layout.TitlePos = MovedOutward(
            m_axis.m_layout.LabelsPos, BandSize(m_axis.m_labelsFont, m_settings.LabelsAngle,
                                                m_settings.LabelsSize, QString(), true));
        return;
    }
    if (m_settings.IsDepth) {
        m_axis.m_layout.TitlePos = rect.Right;
    } else if (!m_axis.m_title.Caption().isEmpty()) {
        ShrinkAtSide(rect, BandSize(m_axis.m_title.Font(), m_axis.m_title.Angle(),
                                    m_settings.TitleSize, m_axis.m_title.Caption(), false));
        m_axis.m_layout.TitlePos = SideEdge(rect);
    } else {
        // No title: keep the position at the edge instead of a stale one.
        m_axis.m_layout.TitlePos = SideEdge(rect);
    }
    if (m_settings.Labels) {
        ShrinkAtSide(rect, BandSize(m_axis.m_labelsFont, m_settings.LabelsAngle,
                                    m_settings.LabelsSize, QString(), true));
        m_axis.m_layout.LabelsPos = SideEdge(rect);
    } else {
        m_axis.m_layout.LabelsPos = SideEdge(rect);
    }
    const int t = tickSpace + m_context.Wall;
    if (t > 0)
        ShrinkAtSide(rect, t);
    m_axis.m_layout.TitlePos = PositionApplied(m_axis.m_layout.TitlePos, rect);
    m_axis.m_layout.LabelsPos = PositionApplied(m_axis.m_layout.LabelsPos, rect);
}

void TAxisPainter::SelectFont(const TFont &font) const
{
    SelectCanvasFont(m_context.Canvas.Font(), font);
}

bool TAxisPainter::UsesDateTime() const
{
    // An axis without a chart keeps the mode it was given.
    if (!m_context.Series)
        return m_axis.m_dateTimeMode;
    for (const TChartSeries *s : *m_context.Series) {
        if (s->Active() && s->IsOnAxis(&m_axis))
            return m_settings.IsHorizontal ? s->XValues()->DateTime() : s->YValues()->DateTime();
    }
    return false;
}

TAxisLabelStyle TAxisPainter::ResolvedLabelStyle() const
{
    if (m_settings.LabelStyle != talAuto)
        return m_settings.LabelStyle;
    if (!m_context.Series)
        return m_settings.IsDepth ? talText : talValue;
    if (m_settings.IsDepth) {
        for (const TChartSeries *s : *m_context.Series)
            if (s->Active() && s->HasOwnDepthValues())
                return talValue;
        return talText;
    }
    TAxisLabelStyle result = talNone;
    for (const TChartSeries *s : *m_context.Series) {
        if (!s->Active() || !s->IsOnAxis(&m_axis))
            continue;
        const bool spreadAlong = m_settings.IsHorizontal == s->ValuesAreVertical();
        if (spreadAlong && !s->LabelList().empty() && !s->LabelList().front().isEmpty())
            return talText;
        result = talValue;
    }
    return result;
}

void TAxisPainter::CallGetAxisLabel(TChartSeries *series, int valueIndex, QString &text) const
{
    if (m_context.OnGetLabel && *m_context.OnGetLabel)
        (*m_context.OnGetLabel)(&m_axis, series, valueIndex, text);
}

void TAxisPainter::PointLabels(TAxisLabelStyle style)
{
    if (!m_context.Series)
        return;
    std::vector<TChartSeries *> labelSeries;
    int first = -1;
    int last = -1;
    for (TChartSeries *s : *m_context.Series) {
        if (!s->Active() || !s->IsOnAxis(&m_axis) || s->LabelList().empty())
            continue;
        labelSeries.push_back(s);
        s->ComputeShownRange();
        if (s->FirstShownIndex() != -1 && (first == -1 || s->FirstShownIndex() < first))
            first = s->FirstShownIndex();
        last = std::max(last, s->LastShownIndex());
    }
    if (first == -1)
        return;
    const bool upright = m_settings.LabelsAngle == 90 || m_settings.LabelsAngle == 270;
    const bool across = m_settings.IsHorizontal ? upright : !upright;
    for (int i = first; i <= last; ++i) {
        TChartSeries *owner = nullptr;
        for (TChartSeries *s : labelSeries) {
            if (static_cast<int>(s->LabelList().size()) > i) {
                owner = s;
                break;
            }
        }
        if (!owner || i >= owner->PointCount())
            continue;
        QString text = style == talMark ? owner->MarkText(i) : owner->PointLabel(i);
        CallGetAxisLabel(owner, i, text);
        const double value =
            m_settings.IsHorizontal ? owner->XValues()->ValueAt(i) : owner->YValues()->ValueAt(i);
        if (value < m_axis.m_map.RangeMin || value > m_axis.m_map.RangeMax)
            continue;
        const int pos = m_axis.ValueToPos(value);
        if (!m_settings.TickOnLabelsOnly)
            AddTickPosition(pos);
        if (!m_settings.Labels)
            continue;
        // A label whose position lies within the last label drawn overlaps
        // it whatever its size: left out without being measured (thousands
        // of points share a few hundred pixels).
        if (m_haveLastLabel && m_settings.LabelsSeparation > 0 &&
            (pos >= m_lastLabelPos ? pos < m_lastLabelPos + m_lastLabelHalf
                                   : pos > m_lastLabelPos - m_lastLabelHalf))
            continue;
        SelectFont(m_axis.m_labelsFont);
        int lines = 1;
        const int width = WidestLineWidth(m_context.Canvas, text, lines);
        const int size = across ? LineHeight() * lines : width;
        int half;
        if (!m_haveLastLabel || m_settings.LabelsSeparation == 0) {
            half = size / 2;
        } else {
            half = (size + TruncToInt(size * 0.02 * m_settings.LabelsSeparation)) / 2;
            const bool clear = pos >= m_lastLabelPos
                                   ? pos - half >= m_lastLabelPos + m_lastLabelHalf
                                   : pos + half <= m_lastLabelPos - m_lastLabelHalf;
            if (!clear)
                continue;
        }
        DrawLabel(pos, text);
        m_haveLastLabel = true;
        m_lastLabelPos = pos;
        m_lastLabelHalf = half;
    }
}

void TAxisPainter::DepthSeriesLabels()
{
    if (!m_context.Series || std::none_of(m_context.Series->begin(), m_context.Series->end(),
                                          [](const TChartSeries *s) { return s->Active(); }))
        return;
    TAxisMapping depth = m_axis.Mapping();
    depth.Depth3D = m_context.Depth;
    const int from = TruncToInt(m_axis.m_map.RangeMin);
    const int to = TruncToInt(m_axis.m_map.RangeMax);
    for (int i = from; i <= to && i - from <= TCustomChartAxis::MaxTickPositions; ++i) {
        const int pos = depth.DepthValueToPos(m_axis.m_map.RangeMax - i - 0.5);
        if (!m_settings.TickOnLabelsOnly)
            AddTickPosition(pos);
        if (m_settings.Labels) {
            QString text = m_context.SeriesTitle ? m_context.SeriesTitle(i) : QString();
            CallGetAxisLabel(nullptr, i, text);
            DrawLabel(pos, text);
        }
    }
}

} // namespace kov
