// Painting of an axis: value, logarithmic and custom labels, the title, ticks,
// minor ticks, grid and axis line.
#include "chart/axis.h"

#include "chart/axis_labels.h"
#include "chart/canvas/chart_canvas.h"
#include "chart/canvas/text_lines.h"
#include "chart/numeric.h"

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

void TCustomChartAxis::AddTickPosition(int pos)
{
    if (static_cast<int>(m_tickPositions.size()) < MaxTickPositions)
        m_tickPositions.push_back(pos);
}

void TCustomChartAxis::PrepareText(const TFont &font)
{
    SelectFont(font);
    PrepareLabelBrush();
}

void TCustomChartAxis::PaintAxis(bool placeLine)
{
    m_dateTimeMode = UsesDateTime();
    SelectFont(m_labelsFont);
    const double step = ComputeLabelStep();
    if (placeLine) {
        const TRect r = ChartRect();
        m_axisLinePos = PositionApplied(SideEdge(r), r);
    }
    m_tickPositions.clear();
    m_paintedLabels.clear();
    m_haveLastLabel = false;
    if (!m_title.Caption().isEmpty())
        DrawTitle();

    const TAxisLabelStyle style = ResolvedLabelStyle();
    const TTimeStep timeStep = LabelTimeStep(m_settings, m_dateTimeMode, step);

    const bool calendarStep = timeStep >= dsHalfMonth && timeStep <= dsOneYear;
    if ((step > 0 || calendarStep) && m_map.RangeMax >= m_map.RangeMin) {
        switch (style) {
        case talValue:
            if (HasGetNextAxisLabel())
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

void TCustomChartAxis::DefaultValueLabels(double step, TTimeStep timeStep)
{
    std::vector<double> values;
    if (!m_settings.Logarithmic || m_settings.Increment != 0) {
        SteppedLabelValues(m_settings, m_dateTimeMode, m_map.RangeMin, m_map.RangeMax, step,
                           timeStep, values);
    } else {
        // The scale cannot reach 0: the smallest label stands in for it for
        // the rest of this paint and the conversions after it.
        const double rangeMin =
            LogarithmicLabelValues(m_settings, m_map.RangeMin, m_map.RangeMax, values);
        if (rangeMin != m_map.RangeMin)
            SetRange(rangeMin, m_map.RangeMax);
    }
    for (double value : values)
        EmitValue(value);
}

void TCustomChartAxis::EmitValue(double value)
{
    const int pos = ValueToPos(value);
    if (m_settings.LabelsOnAxis || (m_map.StartPixel < pos && pos < m_map.EndPixel)) {
        if (!m_settings.TickOnLabelsOnly)
            AddTickPosition(pos);
        if (m_settings.Labels)
            DrawLabel(pos, FormatLabel(value));
    }
}

void TCustomChartAxis::CustomLabels(double step, TTimeStep timeStep)
{
    double v = m_map.RangeMin;
    bool stop = true;
    int i = 0;
    for (;;) {
        CallGetNextAxisLabel(i, v, stop);
        if (stop) {
            if (i == 0)
                DefaultValueLabels(step, timeStep);
            return;
        }
        if (!(m_map.RangeMin - 1e-7 <= v && v <= m_map.RangeMax + 1e-7))
            return;
        EmitValue(v);
        ++i;
        if (i > MaxCustomLabelIndex)
            return;
    }
}

void TCustomChartAxis::DrawLabel(int pos, const QString &text)
{
    if (m_settings.TickOnLabelsOnly)
        AddTickPosition(pos);
    m_paintedLabels.push_back(TPaintedLabel{pos, text});
    PrepareText(m_labelsFont);
    TChartCanvas3D *canvas = Canvas();
    if (m_settings.IsDepth) {
        canvas->SetTextAlignment(taLeft);
        canvas->WriteText3D(m_labelsPos, ChartRect().Bottom, pos, text);
    } else if (m_settings.IsHorizontal) {
        DrawLabelAt(pos, m_labelsPos, m_settings.LabelsAngle, text);
    } else {
        DrawLabelAt(m_labelsPos, pos, m_settings.LabelsAngle, text);
    }
}

void TCustomChartAxis::DrawTitle()
{
    PrepareText(m_title.Font());
    TChartCanvas3D *canvas = Canvas();
    if (m_settings.IsDepth) {
        canvas->SetTextAlignment(taLeft);
        canvas->WriteText3D(m_titlePos, ChartRect().Bottom, ChartDepth() / 2, m_title.Caption());
    } else if (m_settings.IsHorizontal) {
        DrawLabelAt(m_map.CenterPixel, m_titlePos, m_title.Angle(), m_title.Caption());
    } else {
        DrawLabelAt(m_titlePos, m_map.CenterPixel, m_title.Angle(), m_title.Caption());
    }
}

void TCustomChartAxis::DrawLabelAt(int x, int y, int angle, const QString &text)
{
    TChartCanvas3D *canvas = Canvas();
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
    canvas->SetTextAlignment(align);

    const int z = far ? ChartDepth() : 0;
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
            canvas->WriteText3D(x, y, z, line);
            continue;
        }
        if (angle == 90 || angle == 270)
            x += l;
        else if (angle == 180)
            y += l;
        canvas->WriteRotatedText3D(x, y, z, line, angle);
    }
    canvas->SetTextAlignment(taLeft);
}

// ---------------------------------------------------------------------------
// Ticks, grid and axis line

void TCustomChartAxis::DrawTick(int pos, int offset, int length, int wall, int depth)
{
    TChartCanvas3D *canvas = Canvas();
    const TRect r = ChartRect();
    if (m_settings.IsDepth) {
        canvas->DrawHorizontalLine3D(m_axisLinePos + offset, m_axisLinePos + offset + length,
                                     r.Bottom, pos);
    } else if (m_settings.IsHorizontal && !m_settings.OnFarSide) {
        const int y0 = m_axisLinePos + wall + offset;
        canvas->DrawVerticalLine3D(pos, y0, y0 + length, 0);
    } else if (m_settings.IsHorizontal) {
        const int y0 = m_axisLinePos - offset;
        canvas->DrawVerticalLine3D(pos, y0, y0 - length, depth);
    } else if (!m_settings.OnFarSide) {
        const int x0 = m_axisLinePos - wall - offset;
        canvas->DrawHorizontalLine3D(x0, x0 - length, pos, 0);
    } else {
        const int x0 = m_axisLinePos + offset;
        canvas->DrawHorizontalLine3D(x0, x0 + length, pos, depth);
    }
}

void TCustomChartAxis::DrawGridLine(int pos, int depth)
{
    TChartCanvas3D *canvas = Canvas();
    const TRect r = ChartRect();
    if (!IsView3D()) {
        if (m_settings.IsHorizontal)
            canvas->DrawVerticalLine3D(pos, r.Top, r.Bottom, 0);
        else
            canvas->DrawHorizontalLine3D(r.Left, r.Right, pos, 0);
        return;
    }
    if (m_settings.IsDepth) {
        canvas->DrawVerticalLine3D(r.Left, r.Top, r.Bottom, pos);
        canvas->DrawHorizontalLine3D(r.Left, r.Right, r.Bottom, pos);
    } else if (m_settings.IsHorizontal) {
        if (!m_settings.OnFarSide)
            canvas->DrawDepthLine(pos, m_axisLinePos, 0, depth);
        canvas->DrawVerticalLine3D(pos, r.Top, r.Bottom, depth);
    } else {
        if (!m_settings.OnFarSide)
            canvas->DrawDepthLine(m_axisLinePos, pos, 0, depth);
        canvas->DrawHorizontalLine3D(r.Left, r.Right, pos, depth);
    }
}

void TCustomChartAxis::DrawMinors()
{
    const std::vector<int> &p = m_tickPositions;
    if (p.empty() || (!m_minorTicks.Visible() && !m_minorGrid.Visible()))
        return;
    const int k = m_settings.MinorTickCount;
    std::vector<int> minors;
    auto add = [&](int pos) {
        if (m_map.StartPixel < pos && pos < m_map.EndPixel)
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
            double v = PosToValue(p[i - 1]);
            const double dv = (m_settings.LogarithmicBase * v - v) / (k + 1);
            for (int j = 1; j <= k; ++j) {
                v += dv;
                if (v > m_map.RangeMax)
                    break;
                add(ValueToPos(v));
            }
        } else {
            const double delta = (p[i] - p[i - 1]) / (k + 1.0);
            for (int j = 1; j <= k; ++j)
                add(p[i] - RoundToInt(j * delta));
        }
    }
    TChartCanvas3D *canvas = Canvas();
    const int wall = WallThicknessOf(this);
    const int depth = ChartDepth();
    if (m_minorTicks.Visible()) {
        canvas->ApplyChartPen(m_minorTicks);
        for (int pos : minors)
            DrawTick(pos, 1, m_settings.MinorTickLength, wall, depth);
    }
    if (m_minorGrid.Visible()) {
        canvas->ApplyChartPen(m_minorGrid);
        for (int pos : minors)
            DrawGridLine(pos, depth);
    }
}

void TCustomChartAxis::DrawTicksGridAndLine()
{
    TChartCanvas3D *canvas = Canvas();
    const int wall = WallThicknessOf(this);
    const int depth = ChartDepth();
    const TRect r = ChartRect();

    if (m_axisPen.Visible()) {
        canvas->ApplyChartPen(m_axisPen);
        if (m_settings.IsDepth) {
            const TCustomChartAxis *bottom = SiblingAxis(true);
            canvas->DrawDepthLine(r.Right, r.Bottom + WallThicknessOf(bottom), 0, depth);
        } else if (m_settings.IsHorizontal && !m_settings.OnFarSide) {
            const TCustomChartAxis *left = SiblingAxis(false);
            canvas->DrawHorizontalLine3D(m_map.StartPixel - WallThicknessOf(left), m_map.EndPixel,
                                         m_axisLinePos + wall, 0);
        } else if (m_settings.IsHorizontal) {
            canvas->DrawHorizontalLine3D(m_map.StartPixel, m_map.EndPixel, m_axisLinePos, depth);
        } else if (!m_settings.OnFarSide) {
            const TCustomChartAxis *bottom = SiblingAxis(true);
            canvas->DrawVerticalLine3D(m_axisLinePos - wall, m_map.StartPixel,
                                       m_map.EndPixel + WallThicknessOf(bottom), 0);
        } else {
            canvas->DrawVerticalLine3D(m_axisLinePos, m_map.StartPixel, m_map.EndPixel, depth);
        }
    }

    if (m_ticks.Visible()) {
        canvas->ApplyChartPen(m_ticks);
        for (int pos : m_tickPositions)
            DrawTick(pos, 1, m_settings.TickLength, wall, depth);
    }

    if (m_grid.Visible()) {
        canvas->Brush().SetStyle(bsClear);
        canvas->SetBackgroundMode(bmTransparent);
        canvas->ApplyChartPen(m_grid);
        AdjustGridPen();
        if (m_settings.GridCentered) {
            for (size_t i = 1; i < m_tickPositions.size(); ++i)
                DrawGridLine(
                    RoundToInt((static_cast<double>(m_tickPositions[i]) + m_tickPositions[i - 1]) *
                               0.5),
                    depth);
        } else {
            for (int pos : m_tickPositions)
                DrawGridLine(pos, depth);
        }
        canvas->SetBackgroundMode(bmOpaque);
    }

    if (m_ticksInner.Visible()) {
        canvas->ApplyChartPen(m_ticksInner);
        for (int pos : m_tickPositions)
            DrawTick(pos, -1, -m_settings.TickInnerLength, wall, depth);
    }

    DrawMinors();
}

} // namespace kov
