#include "chart/axis/axis.h"

#include "chart/axis/axis_labels.h"
#include "chart/axis/axis_owner.h"
#include "chart/canvas/chart_canvas3d.h"
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

TCustomChartAxis::TCustomChartAxis(TAxisOwner *owner, TAxisSide side)
    : m_owner(owner), m_changed([this] {
          if (m_owner)
              m_owner->AxisChanged();
      }),
      m_axisPen(m_changed), m_grid(m_changed), m_minorGrid(m_changed), m_minorTicks(m_changed),
      m_ticks(m_changed), m_ticksInner(m_changed), m_title(this, m_changed)
{
    SetDefaultFont(m_labelsFont);
    m_labelsFont.OnChange = m_changed;
    m_settings.IsHorizontal = side == TAxisSide::Top || side == TAxisSide::Bottom;
    m_settings.OnFarSide =
        side == TAxisSide::Top || side == TAxisSide::Right || side == TAxisSide::Depth;
    m_settings.IsDepth = side == TAxisSide::Depth;
    if (side == TAxisSide::Left)
        m_title.SetDefaultAngle(90);
    else if (side == TAxisSide::Right)
        m_title.SetDefaultAngle(270);
}

TCustomChartAxis::~TCustomChartAxis() = default;

TAxisPaintContext TCustomChartAxis::PaintContext() const
{
    if (m_owner)
        return m_owner->AxisPaintContext(*this);
    if (!m_ownCanvas)
        m_ownCanvas = std::make_unique<TChartCanvas3D>();
    return TAxisPaintContext(*m_ownCanvas);
}

TChartDepthAxis::TChartDepthAxis(TAxisOwner *owner) : TCustomChartAxis(owner, TAxisSide::Depth)
{
    SetVisible(false);
}

void TCustomChartAxis::SetAutomatic(bool value)
{
    SetAndInvalidate(m_changed, m_settings.Automatic, value);
    if (!ChartLoading(*this)) {
        SetAndInvalidate(m_changed, m_settings.AutomaticMinimum, value);
        SetAndInvalidate(m_changed, m_settings.AutomaticMaximum, value);
    }
}

void TCustomChartAxis::SetAutomaticMaximum(bool value)
{
    SetAndInvalidate(m_changed, m_settings.AutomaticMaximum, value);
    if (!value || m_settings.AutomaticMinimum)
        SetAndInvalidate(m_changed, m_settings.Automatic, value);
}

void TCustomChartAxis::SetAutomaticMinimum(bool value)
{
    SetAndInvalidate(m_changed, m_settings.AutomaticMinimum, value);
    if (!value || m_settings.AutomaticMaximum)
        SetAndInvalidate(m_changed, m_settings.Automatic, value);
}

bool TCustomChartAxis::IsAxisValuesFormatStored() const
{
    return m_settings.AxisValuesFormat != DefaultAxisValuesFormat;
}

void TCustomChartAxis::SetIncrement(double value)
{
    if (value < 0)
        throw AxisException(QStringLiteral("Axis increment must be >= 0"));
    SetAndInvalidate(m_changed, m_settings.Increment, value);
}

void TCustomChartAxis::SetLabelsAngle(int value)
{
    ValidateAngle(value, QStringLiteral("Axis Labels"));
    SetAndInvalidate(m_changed, m_settings.LabelsAngle, value);
}

bool TCustomChartAxis::IsLabelsFontStored() const
{
    return !MatchesDefaultFont(m_labelsFont);
}

void TCustomChartAxis::SetLabelsSeparation(int value)
{
    if (value < 0)
        throw AxisException(QStringLiteral("Labels Separation % must be greater than 0"));
    SetAndInvalidate(m_changed, m_settings.LabelsSeparation, value);
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
    SetAndInvalidate(m_changed, m_settings.Logarithmic, value);
}

void TCustomChartAxis::SetLogarithmicBase(int value)
{
    if (value < 2)
        throw AxisException(QStringLiteral("Axis Logarithmic Base should be >= 2"));
    SetAndInvalidate(m_changed, m_settings.LogarithmicBase, value);
}

void TCustomChartAxis::SetMaximum(double value)
{
    if (!ChartLoading(*this) && value < m_settings.Minimum)
        throw AxisException(QStringLiteral("Axis Maximum Value must be >= Minimum"));
    SetAndInvalidate(m_changed, m_settings.Maximum, value);
}

void TCustomChartAxis::SetMinimum(double value)
{
    if (!ChartLoading(*this) && value > m_settings.Maximum)
        throw AxisException(QStringLiteral("Axis Minimum Value must be <= Maximum"));
    SetAndInvalidate(m_changed, m_settings.Minimum, value);
}

void TCustomChartAxis::CopyFrom(const TCustomChartAxis &source)
{
    using Axis = TCustomChartAxis;
    if (!CopyParts(*this, source, &Axis::m_settings, &Axis::m_axisPen, &Axis::m_grid,
                   &Axis::m_labelsFont, &Axis::m_minorGrid, &Axis::m_minorTicks, &Axis::m_ticks,
                   &Axis::m_ticksInner, &Axis::m_title))
        return;
    m_map.SetRange(source.m_map.RangeMin, source.m_map.RangeMax);
    m_changed();
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
    m_map.SetRange(m_settings.Minimum, m_settings.Maximum);
}

void TCustomChartAxis::UpdatePixelSpan()
{
    const TAxisPaintContext context = PaintContext();
    m_chartDepth = context.Depth;
    const TRect r = context.ChartRect;
    const int origin = m_settings.IsHorizontal ? r.Left : r.Top;
    const double size = m_settings.IsHorizontal ? r.Width() : r.Height();
    m_map.SetPixelSpan(SaturatedAdd(origin, SaturatedRound(size * 0.01 * m_settings.StartPosition)),
                       SaturatedAdd(origin, SaturatedRound(size * 0.01 * m_settings.EndPosition)));
}

void TCustomChartAxis::FitToPixelMargins(const TRect &margins)
{
    const int startMargin = m_settings.IsHorizontal ? margins.Left : margins.Top;
    const int endMargin = m_settings.IsHorizontal ? margins.Right : margins.Bottom;
    const int oldStart = m_map.StartPixel;
    const int oldEnd = m_map.EndPixel;
    m_map.StartPixel = SaturatedAdd(oldStart, startMargin);
    m_map.EndPixel = SaturatedSub(oldEnd, endMargin);
    m_map.PixelSize = SaturatedSub(m_map.EndPixel, m_map.StartPixel);
    double vs = PosToValue(oldStart);
    double ve = PosToValue(oldEnd);
    // Back to the full span: the data now fills the inner part of it.
    m_map.SetPixelSpan(oldStart, oldEnd);
    if (vs > ve)
        std::swap(vs, ve);
    m_map.SetRange(vs, ve);
}

// ---------------------------------------------------------------------------
// Mouse support

bool TCustomChartAxis::ContainsPoint(int x, int y) const
{
    const int alongLo = std::min(m_map.StartPixel, m_map.EndPixel);
    const int alongHi = std::max(m_map.StartPixel, m_map.EndPixel);
    int acrossLo;
    int acrossHi;
    if (m_layout.LabelsPos < m_layout.AxisLinePos) {
        acrossLo = m_layout.LabelsPos;
        acrossHi = SaturatedAdd(m_layout.AxisLinePos, 3);
    } else {
        acrossLo = SaturatedAdd(m_layout.AxisLinePos, -3);
        acrossHi = m_layout.LabelsPos;
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
    SetAndInvalidate(m_changed, m_settings.Minimum, min);
    SetAndInvalidate(m_changed, m_settings.Maximum, max);
    if (m_settings.Maximum - m_settings.Minimum < 1e-10) {
        m_settings.Maximum = m_settings.Minimum + 1e-10;
        m_changed();
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
    m_changed();
}

} // namespace kov
