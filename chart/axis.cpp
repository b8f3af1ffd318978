#include "chart/axis.h"

#include "chart/axis_labels.h"
#include "chart/axis_owner.h"
#include "chart/canvas/chart_canvas.h"
#include "chart/exceptions.h"
#include "chart/numeric.h"

#include <cmath>

namespace kov {

namespace {

// The series' smallest or largest value on the axis (0 without series).
double SeriesExtremeOf(const TAxisPaintContext &context, bool wantMinimum)
{
    return context.SeriesExtreme ? context.SeriesExtreme(wantMinimum) : 0;
}

// True while the axis' chart is being loaded (never for an axis on its own).
bool ChartLoading(const TCustomChartAxis &axis)
{
    return axis.ParentChart() && axis.PaintContext().Loading;
}

} // namespace

// ---------------------------------------------------------------------------
// TCustomChartAxis: construction and published properties

TCustomChartAxis::TCustomChartAxis(TAxisOwner *owner)
    : m_owner(owner), m_changed([this] { Repaint(); }), m_axisPen(m_changed), m_grid(m_changed),
      m_minorGrid(m_changed), m_minorTicks(m_changed), m_ticks(m_changed), m_ticksInner(m_changed),
      m_title(this, m_changed)
{
    SetDefaultFont(m_labelsFont);
    m_labelsFont.OnChange = m_changed;
}

TCustomChartAxis::~TCustomChartAxis() = default;

TAxisPaintContext TCustomChartAxis::PaintContext() const
{
    if (m_owner)
        return m_owner->AxisPaintContext(*this);
    return TAxisPaintContext(*Canvas());
}

TChartCanvas3D *TCustomChartAxis::Canvas() const
{
    if (!m_ownCanvas)
        m_ownCanvas = std::make_unique<TChartCanvas3D>();
    return m_ownCanvas.get();
}

void ReportChange(TCustomChartAxis *axis)
{
    axis->Repaint();
}

void TCustomChartAxis::Repaint()
{
    if (m_owner)
        m_owner->AxisChanged();
}

TChartDepthAxis::TChartDepthAxis(TAxisOwner *owner) : TCustomChartAxis(owner)
{
    SetVisible(false);
}

void TCustomChartAxis::SetAutomatic(bool value)
{
    SetAndInvalidate(this, m_settings.Automatic, value);
    if (!ChartLoading(*this)) {
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
    if (!ChartLoading(*this) && value < m_settings.Minimum)
        throw AxisException(QStringLiteral("Axis Maximum Value must be >= Minimum"));
    SetAndInvalidate(this, m_settings.Maximum, value);
}

void TCustomChartAxis::SetMinimum(double value)
{
    if (!ChartLoading(*this) && value > m_settings.Maximum)
        throw AxisException(QStringLiteral("Axis Minimum Value must be <= Maximum"));
    SetAndInvalidate(this, m_settings.Minimum, value);
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
    if (m_settings.Automatic || m_settings.AutomaticMaximum || m_settings.AutomaticMinimum) {
        const TAxisPaintContext context = PaintContext();
        if (m_settings.Automatic || m_settings.AutomaticMaximum)
            m_settings.Maximum = SeriesExtremeOf(context, false);
        if (m_settings.Automatic || m_settings.AutomaticMinimum)
            m_settings.Minimum = SeriesExtremeOf(context, true);
    }
    SetRange(m_settings.Minimum, m_settings.Maximum);
}

void TCustomChartAxis::UpdatePixelSpan()
{
    const TAxisPaintContext context = PaintContext();
    m_chartDepth = context.Depth;
    const TRect r = context.ChartRect;
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
    depth.Depth3D = m_chartDepth;
    return depth.DepthValueToPos(value);
}

// ---------------------------------------------------------------------------
// Label step and text

double TCustomChartAxis::LabelStepForCount(int count) const
{
    return kov::LabelStepForCount(m_settings, m_dateTimeMode, m_map.RangeSize, count);
}

// ---------------------------------------------------------------------------
// Mouse support

bool TCustomChartAxis::ContainsPoint(int x, int y) const
{
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
    if (!(along >= alongLo && along < alongHi && across >= acrossLo && across < acrossHi))
        return false;
    // Only a point on the band asks whether the chart shows the axis: that
    // takes the chart's whole context, and hit tests try every axis.
    return m_owner ? PaintContext().Shown : m_settings.Visible;
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
        const TAxisPaintContext context = PaintContext();
        const bool forward = delta > 0 && SeriesExtremeOf(context, false) > m_settings.Maximum;
        const bool backward = delta < 0 && SeriesExtremeOf(context, true) < m_settings.Minimum;
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
