#include "chart/axis.h"

#include "chart/axis_labels.h"
#include "chart/canvas/chart_canvas.h"
#include "chart/canvas/text_lines.h"
#include "chart/exceptions.h"
#include "chart/numeric.h"

#include <cmath>

namespace kov {

// ---------------------------------------------------------------------------
// TChartAxisTitle

void TChartAxisTitle::Changed()
{
    if (m_axis)
        m_axis->Repaint();
}

void TChartAxisTitle::SetAngle(int angle)
{
    ValidateAngle(angle, QStringLiteral("Axis Title"));
    SetAndInvalidate([this] { Changed(); }, m_settings.Angle, angle);
}

void TChartAxisTitle::SetCaption(const QString &caption)
{
    SetAndInvalidate([this] { Changed(); }, m_settings.Caption, caption);
}

bool TChartAxisTitle::IsAngleStored() const
{
    return m_settings.Angle != (m_axis ? m_axis->DefaultTitleAngle() : 0);
}

void TChartAxisTitle::CopyFrom(const TChartFontObject &source)
{
    if (&source == this)
        return;
    if (const auto *title = dynamic_cast<const TChartAxisTitle *>(&source)) {
        // A title that belongs to an axis stays with it: taking the source's
        // link would send this title's changes to another chart.
        if (!m_axis)
            m_axis = title->m_axis;
        m_settings = title->m_settings;
    }
    TChartFontObject::CopyFrom(source);
    Changed();
}

// ---------------------------------------------------------------------------
// TCustomChartAxis: construction and published properties

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel *chart)
    : m_chart(chart), m_changed([this] { Repaint(); }), m_axisPen(m_changed), m_grid(m_changed),
      m_minorGrid(m_changed), m_minorTicks(m_changed), m_ticks(m_changed), m_ticksInner(m_changed),
      m_title(this)
{
    SetDefaultFont(m_labelsFont);
    m_labelsFont.OnChange = m_changed;
}

TCustomChartAxis::~TCustomChartAxis() = default;

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel *chart) : TCustomChartAxis(chart)
{
    SetVisible(false);
}

void TCustomChartAxis::SetAutomatic(bool value)
{
    SetAndInvalidate(this, m_settings.Automatic, value);
    if (!IsLoadingChart()) {
        SetAndInvalidate(this, m_settings.AutomaticMinimum, value);
        SetAndInvalidate(this, m_settings.AutomaticMaximum, value);
    }
}

void TCustomChartAxis::SetAutomaticMaximum(bool value)
{
    SetAndInvalidate(this, m_settings.AutomaticMaximum, value);
    if (!value || m_settings.AutomaticMinimum)
        SetAndInvalidate(this, m_settings.Automatic, value);
}

void TCustomChartAxis::SetAutomaticMinimum(bool value)
{
    SetAndInvalidate(this, m_settings.AutomaticMinimum, value);
    if (!value || m_settings.AutomaticMaximum)
        SetAndInvalidate(this, m_settings.Automatic, value);
}

bool TCustomChartAxis::IsAxisValuesFormatStored() const
{
    return m_settings.AxisValuesFormat != DefaultAxisValuesFormat;
}

void TCustomChartAxis::SetIncrement(double value)
{
    if (value < 0)
        throw AxisException(QStringLiteral("Axis increment must be >= 0"));
    SetAndInvalidate(this, m_settings.Increment, value);
}

void TCustomChartAxis::SetLabelsAngle(int value)
{
    ValidateAngle(value, QStringLiteral("Axis Labels"));
    SetAndInvalidate(this, m_settings.LabelsAngle, value);
}

bool TCustomChartAxis::IsLabelsFontStored() const
{
    return !MatchesDefaultFont(m_labelsFont);
}

void TCustomChartAxis::SetLabelsSeparation(int value)
{
    if (value < 0)
        throw AxisException(QStringLiteral("Labels Separation % must be greater than 0"));
    SetAndInvalidate(this, m_settings.LabelsSeparation, value);
}

void TCustomChartAxis::SetLogarithmic(bool value)
{
    if (value) {
        if (UsesDateTime())
            throw AxisException(QStringLiteral("DateTime Axis cannot be Logarithmic"));
        RefreshRange();
        if (m_map.RangeMin < 0 || m_map.RangeMax < 0)
            throw AxisException(
                QStringLiteral("Logarithmic Axis Min and Max values should be >= 0"));
    }
    SetAndInvalidate(this, m_settings.Logarithmic, value);
}

void TCustomChartAxis::SetLogarithmicBase(int value)
{
    if (value < 2)
        throw AxisException(QStringLiteral("Axis Logarithmic Base should be >= 2"));
    SetAndInvalidate(this, m_settings.LogarithmicBase, value);
}

void TCustomChartAxis::SetMaximum(double value)
{
    if (!IsLoadingChart() && value < m_settings.Minimum)
        throw AxisException(QStringLiteral("Axis Maximum Value must be >= Minimum"));
    SetAndInvalidate(this, m_settings.Maximum, value);
}

void TCustomChartAxis::SetMinimum(double value)
{
    if (!IsLoadingChart() && value > m_settings.Maximum)
        throw AxisException(QStringLiteral("Axis Minimum Value must be <= Maximum"));
    SetAndInvalidate(this, m_settings.Minimum, value);
}

void TCustomChartAxis::SetDefaultTitleAngle(int angle)
{
    m_defaultTitleAngle = angle;
    m_title.SetAngle(angle);
}

void TCustomChartAxis::SetRange(double rangeMin, double rangeMax)
{
    m_map.SetRange(rangeMin, rangeMax);
}

void TCustomChartAxis::SetPixelSpan(int startPixel, int endPixel)
{
    m_map.SetPixelSpan(startPixel, endPixel);
}

void TCustomChartAxis::CopyFrom(const TCustomChartAxis &source)
{
    using Axis = TCustomChartAxis;
    if (!CopyParts(*this, source, &Axis::m_settings, &Axis::m_axisPen, &Axis::m_grid,
                   &Axis::m_labelsFont, &Axis::m_minorGrid, &Axis::m_minorTicks, &Axis::m_ticks,
                   &Axis::m_ticksInner, &Axis::m_title))
        return;
    SetRange(source.m_map.RangeMin, source.m_map.RangeMax);
    Repaint();
}

// ---------------------------------------------------------------------------
// Range and pixel span

void TCustomChartAxis::RefreshRange()
{
    if (m_settings.Automatic || m_settings.AutomaticMaximum)
        m_settings.Maximum = SeriesExtremeOf(false);
    if (m_settings.Automatic || m_settings.AutomaticMinimum)
        m_settings.Minimum = SeriesExtremeOf(true);
    SetRange(m_settings.Minimum, m_settings.Maximum);
}

void TCustomChartAxis::UpdatePixelSpan()
{
    const TRect r = ChartRect();
    const int origin = m_settings.IsHorizontal ? r.Left : r.Top;
    const double size = m_settings.IsHorizontal ? r.Width() : r.Height();
    SetPixelSpan(SaturatedAdd(origin, SaturatedRound(size * 0.01 * m_settings.StartPosition)),
                 SaturatedAdd(origin, SaturatedRound(size * 0.01 * m_settings.EndPosition)));
}

void TCustomChartAxis::FitToPixelMargins(const TRect &margins)
{
    if (m_settings.IsHorizontal)
        FitToPixelMargins(margins.Left, margins.Right);
    else
        FitToPixelMargins(margins.Top, margins.Bottom);
}

void TCustomChartAxis::FitToPixelMargins(int startMargin, int endMargin)
{
    const int oldStart = m_map.StartPixel;
    const int oldEnd = m_map.EndPixel;
    m_map.StartPixel = SaturatedAdd(oldStart, startMargin);
    m_map.EndPixel = SaturatedSub(oldEnd, endMargin);
    m_map.PixelSize = SaturatedSub(m_map.EndPixel, m_map.StartPixel);
    double vs = PosToValue(oldStart);
    double ve = PosToValue(oldEnd);
    // Back to the full span: the data now fills the inner part of it.
    SetPixelSpan(oldStart, oldEnd);
    if (vs > ve)
        std::swap(vs, ve);
    SetRange(vs, ve);
}

// ---------------------------------------------------------------------------
// Conversions

int TCustomChartAxis::DepthValueToPos(double value) const
{
    TAxisMapping depth = Mapping();
    depth.Depth3D = ChartDepth();
    return depth.DepthValueToPos(value);
}

// ---------------------------------------------------------------------------
// Label step and text

int TCustomChartAxis::LabelSpan(double value) const
{
    int lines = 1;
    const int width = WidestLineWidth(*Canvas(), FormatLabel(value), lines);
    const bool across = m_settings.IsHorizontal
                            ? (m_settings.LabelsAngle == 90 || m_settings.LabelsAngle == 270)
                            : (m_settings.LabelsAngle == 0 || m_settings.LabelsAngle == 180);
    return across ? LineHeight() * lines : width;
}

double TCustomChartAxis::ComputeLabelStep() const
{
    const int span = std::max(LabelSpan(m_map.RangeMax), LabelSpan(m_map.RangeMin));
    return LabelStepForCount(LabelCount(m_settings, m_map.PixelSize, span));
}

double TCustomChartAxis::LabelStepForCount(int count) const
{
    return kov::LabelStepForCount(m_settings, m_dateTimeMode, m_map.RangeSize, count);
}

QString TCustomChartAxis::FormatLabel(double value) const
{
    QString text = ValueLabelText(m_settings, m_dateTimeMode, m_map.RangeSize, value);
    if (HasGetAxisLabel())
        CallGetAxisLabel(nullptr, -1, text);
    if (m_settings.LabelsMultiLine)
        text.replace(QLatin1Char(' '), LineBreakChar);
    return text;
}

int TCustomChartAxis::LineHeight() const
{
    return Canvas()->TextLineHeight();
}

// ---------------------------------------------------------------------------
// Room beside the chart rectangle

int TCustomChartAxis::SideEdge(const TRect &rect) const
{
    if (m_settings.IsDepth)
        return rect.Right;
    if (m_settings.IsHorizontal)
        return m_settings.OnFarSide ? rect.Top : rect.Bottom;
    return m_settings.OnFarSide ? rect.Right : rect.Left;
}

int TCustomChartAxis::MovedOutward(int pos, int amount) const
{
    const bool plus = m_settings.IsDepth || (m_settings.IsHorizontal != m_settings.OnFarSide);
    return plus ? SaturatedAdd(pos, amount) : SaturatedSub(pos, amount);
}

void TCustomChartAxis::ShrinkAtSide(TRect &rect, int amount) const
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

int TCustomChartAxis::PositionApplied(int pos, const TRect &rect) const
{
    if (m_settings.PositionPercent == 0)
        return pos;
    const double extent = m_settings.IsHorizontal ? rect.Height() : rect.Width();
    int offset = SaturatedRound(m_settings.PositionPercent * 0.01 * extent);
    if (m_settings.OnFarSide)
        offset = -offset;
    return m_settings.IsHorizontal ? SaturatedSub(pos, offset) : SaturatedAdd(pos, offset);
}

int TCustomChartAxis::TickSpace() const
{
    int space = (m_axisPen.Visible() ? m_axisPen.Width() : 0) +
                (m_ticks.Visible() ? m_settings.TickLength : 0);
    if (m_minorTicks.Visible())
        space = std::max(space, m_settings.MinorTickLength);
    return space;
}

bool TCustomChartAxis::RunsAlongAxis(int angle) const
{
    if (m_settings.IsHorizontal)
        return angle == 0 || angle == 180;
    return angle == 90 || angle == 270;
}

int TCustomChartAxis::BandSize(const TFont &font, int angle, int fixedSize, const QString &text,
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
    return WidestLineWidth(*Canvas(), text, lines);
}

int TCustomChartAxis::MaxLabelExtent()
{
    switch (ResolvedLabelStyle()) {
    case talValue: {
        double lo = m_map.RangeMin;
        double hi = m_map.RangeMax;
        if ((UsesDateTime() && m_settings.ExactDateTime) || m_settings.RoundFirstLabel) {
            const double step = ComputeLabelStep();
            lo = std::trunc(m_map.RangeMin / step) * step;
            hi = std::trunc(m_map.RangeMax / step) * step;
        }
        // Measured without the label hook: the band must not depend on what a
        // handler does with texts that are never drawn.
        struct Detach
        {
            TCustomChartAxis *axis;
            bool saved;
            ~Detach() { axis->m_measuring = saved; }
        } detach{this, m_measuring};
        m_measuring = true;
        TChartCanvas3D &canvas = *Canvas();
        int lines = 0;
        const int hiWidth = WidestLineWidth(canvas, FormatLabel(hi), lines);
        const int loWidth = WidestLineWidth(canvas, FormatLabel(lo), lines);
        return std::max(hiWidth, loWidth) + canvas.MeasureTextWidth(QStringLiteral(" "));
    }
    case talMark:
    case talText:
        return PointLabelsExtent(ResolvedLabelStyle());
    default:
        return 0;
    }
}

void TCustomChartAxis::ReserveSpace(TRect &rect, bool shrink)
{
    m_dateTimeMode = UsesDateTime();
    const int tickSpace = TickSpace();
    if (!shrink) {
        m_axisLinePos = PositionApplied(SideEdge(rect), rect);
        m_labelsPos = MovedOutward(m_axisLinePos, tickSpace);
        m_titlePos = MovedOutward(m_labelsPos, BandSize(m_labelsFont, m_settings.LabelsAngle,
                                                        m_settings.LabelsSize, QString(), true));
        return;
    }
    if (m_settings.IsDepth) {
        m_titlePos = rect.Right;
    } else if (!m_title.Caption().isEmpty()) {
        ShrinkAtSide(rect, BandSize(m_title.Font(), m_title.Angle(), m_settings.TitleSize,
                                    m_title.Caption(), false));
        m_titlePos = SideEdge(rect);
    } else {
        // No title: keep the position at the edge instead of a stale one.
        m_titlePos = SideEdge(rect);
    }
    if (m_settings.Labels) {
        ShrinkAtSide(rect, BandSize(m_labelsFont, m_settings.LabelsAngle, m_settings.LabelsSize,
                                    QString(), true));
        m_labelsPos = SideEdge(rect);
    } else {
        m_labelsPos = SideEdge(rect);
    }
    const int t = tickSpace + WallThicknessOf(this);
    if (t > 0)
        ShrinkAtSide(rect, t);
    m_titlePos = PositionApplied(m_titlePos, rect);
    m_labelsPos = PositionApplied(m_labelsPos, rect);
}

// ---------------------------------------------------------------------------
// Mouse support

bool TCustomChartAxis::ContainsPoint(int x, int y) const
{
    if (!IsShown())
        return false;
    const int alongLo = std::min(m_map.StartPixel, m_map.EndPixel);
    const int alongHi = std::max(m_map.StartPixel, m_map.EndPixel);
    int acrossLo;
    int acrossHi;
    if (m_labelsPos < m_axisLinePos) {
        acrossLo = m_labelsPos;
        acrossHi = SaturatedAdd(m_axisLinePos, 3);
    } else {
        acrossLo = SaturatedAdd(m_axisLinePos, -3);
        acrossHi = m_labelsPos;
    }
    const int along = m_settings.IsHorizontal ? x : y;
    const int across = m_settings.IsHorizontal ? y : x;
    return along >= alongLo && along < alongHi && across >= acrossLo && across < acrossHi;
}

void TCustomChartAxis::FixRange(double min, double max)
{
    // A zoom computed from a degenerate picture must not poison the range.
    if (!std::isfinite(min) || !std::isfinite(max))
        return;
    m_settings.Automatic = false;
    m_settings.AutomaticMinimum = false;
    m_settings.AutomaticMaximum = false;
    if (min > max)
        std::swap(min, max);
    SetAndInvalidate(this, m_settings.Minimum, min);
    SetAndInvalidate(this, m_settings.Maximum, max);
    if (m_settings.Maximum - m_settings.Minimum < 1e-10) {
        m_settings.Maximum = m_settings.Minimum + 1e-10;
        Repaint();
    }
}

void TCustomChartAxis::ShiftRange(double delta, bool checkLimits)
{
    if (checkLimits) {
        const bool forward = delta > 0 && SeriesExtremeOf(false) > m_settings.Maximum;
        const bool backward = delta < 0 && SeriesExtremeOf(true) < m_settings.Minimum;
        if (!forward && !backward)
            return;
    }
    m_settings.Automatic = false;
    m_settings.AutomaticMinimum = false;
    m_settings.AutomaticMaximum = false;
    m_settings.Maximum += delta;
    m_settings.Minimum += delta;
    Repaint();
}

} // namespace kov
