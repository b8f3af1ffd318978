#include "chart/axis.h"

#include "chart/canvas/chart_canvas.h"
#include "chart/canvas/text_lines.h"
#include "chart/date_time_format.h"
#include "chart/exceptions.h"
#include "chart/number_format.h"
#include "chart/numeric.h"

#include <cmath>

namespace kov {

namespace {

const QString DefaultAxisValuesFormat = QStringLiteral("#,##0.###");

// Bound on the step search, so that no range can make it loop for long.
constexpr int MaxLabelLoops = 100000;

} // namespace

// ---------------------------------------------------------------------------
// TChartAxisTitle

void TChartAxisTitle::Changed()
{
    if (m_axis)
        m_axis->Repaint();
}

void TChartAxisTitle::SetAngle(int angle)
{
    if (angle == m_angle)
        return;
    ValidateAngle(angle, QStringLiteral("Axis Title"));
    m_angle = angle;
    Changed();
}

void TChartAxisTitle::SetCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    Changed();
}

bool TChartAxisTitle::IsAngleStored() const
{
    return m_axis ? m_angle != m_axis->DefaultTitleAngle() : m_angle != 0;
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
        m_angle = title->m_angle;
        m_caption = title->m_caption;
    }
    TChartFontObject::CopyFrom(source);
    Changed();
}

// ---------------------------------------------------------------------------
// TCustomChartAxis: construction and published properties

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel *chart)
    : m_chart(chart), m_axisValuesFormat(DefaultAxisValuesFormat), m_title(this)
{
    const TChangeHandler changed = [this] { Repaint(); };
    m_axisPen.OnChange = changed;
    m_grid.OnChange = changed;
    m_minorGrid.OnChange = changed;
    m_minorTicks.OnChange = changed;
    m_ticks.OnChange = changed;
    m_ticksInner.OnChange = changed;
    SetDefaultFont(m_labelsFont);
    m_labelsFont.OnChange = changed;
}

TCustomChartAxis::~TCustomChartAxis() = default;

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel *chart) : TCustomChartAxis(chart)
{
    SetVisible(false);
}

void TCustomChartAxis::SetAutomatic(bool value)
{
    SetAndInvalidate(m_automatic, value);
    if (!IsLoadingChart()) {
        SetAndInvalidate(m_automaticMinimum, value);
        SetAndInvalidate(m_automaticMaximum, value);
    }
}

void TCustomChartAxis::SetAutomaticMaximum(bool value)
{
    SetAndInvalidate(m_automaticMaximum, value);
    if (!value || m_automaticMinimum)
        SetAndInvalidate(m_automatic, value);
}

void TCustomChartAxis::SetAutomaticMinimum(bool value)
{
    SetAndInvalidate(m_automaticMinimum, value);
    if (!value || m_automaticMaximum)
        SetAndInvalidate(m_automatic, value);
}

void TCustomChartAxis::SetAxis(const TChartPen &pen)
{
    m_axisPen.CopyFrom(pen);
}

void TCustomChartAxis::SetAxisValuesFormat(const QString &value)
{
    SetAndInvalidate(m_axisValuesFormat, value);
}

bool TCustomChartAxis::IsAxisValuesFormatStored() const
{
    return m_axisValuesFormat != DefaultAxisValuesFormat;
}

void TCustomChartAxis::SetDateTimeFormat(const QString &value)
{
    SetAndInvalidate(m_dateTimeFormat, value);
}

void TCustomChartAxis::SetExactDateTime(bool value)
{
    SetAndInvalidate(m_exactDateTime, value);
}

void TCustomChartAxis::SetGrid(const TChartPen &pen)
{
    m_grid.CopyFrom(pen);
}

void TCustomChartAxis::SetGridCentered(bool value)
{
    SetAndInvalidate(m_gridCentered, value);
}

void TCustomChartAxis::SetIncrement(double value)
{
    if (value < 0)
        throw AxisException(QStringLiteral("Axis increment must be >= 0"));
    SetAndInvalidate(m_increment, value);
}

void TCustomChartAxis::SetInverted(bool value)
{
    SetAndInvalidate(m_inverted, value);
}

void TCustomChartAxis::SetLabels(bool value)
{
    SetAndInvalidate(m_labels, value);
}

void TCustomChartAxis::SetLabelsAngle(int value)
{
    ValidateAngle(value, QStringLiteral("Axis Labels"));
    SetAndInvalidate(m_labelsAngle, value);
}

void TCustomChartAxis::SetLabelsFont(const TFont &font)
{
    m_labelsFont.CopyFrom(font);
}

bool TCustomChartAxis::IsLabelsFontStored() const
{
    return !MatchesDefaultFont(m_labelsFont);
}

void TCustomChartAxis::SetLabelsMultiLine(bool value)
{
    SetAndInvalidate(m_labelsMultiLine, value);
}

void TCustomChartAxis::SetLabelsOnAxis(bool value)
{
    SetAndInvalidate(m_labelsOnAxis, value);
}

void TCustomChartAxis::SetLabelsSeparation(int value)
{
    if (value < 0)
        throw AxisException(QStringLiteral("Labels Separation % must be greater than 0"));
    SetAndInvalidate(m_labelsSeparation, value);
}

void TCustomChartAxis::SetLabelsSize(int value)
{
    SetAndInvalidate(m_labelsSize, value);
}

void TCustomChartAxis::SetLabelStyle(TAxisLabelStyle value)
{
    SetAndInvalidate(m_labelStyle, value);
}

void TCustomChartAxis::SetLogarithmic(bool value)
{
    if (value) {
        if (UsesDateTime())
            throw AxisException(QStringLiteral("DateTime Axis cannot be Logarithmic"));
        RefreshRange();
        if (m_rangeMin < 0 || m_rangeMax < 0)
            throw AxisException(
                QStringLiteral("Logarithmic Axis Min and Max values should be >= 0"));
    }
    SetAndInvalidate(m_logarithmic, value);
}

void TCustomChartAxis::SetLogarithmicBase(int value)
{
    if (value < 2)
        throw AxisException(QStringLiteral("Axis Logarithmic Base should be >= 2"));
    SetAndInvalidate(m_logarithmicBase, value);
}

void TCustomChartAxis::SetMaximum(double value)
{
    if (!IsLoadingChart() && value < m_minimum)
        throw AxisException(QStringLiteral("Axis Maximum Value must be >= Minimum"));
    SetAndInvalidate(m_maximum, value);
}

void TCustomChartAxis::SetMinimum(double value)
{
    if (!IsLoadingChart() && value > m_maximum)
        throw AxisException(QStringLiteral("Axis Minimum Value must be <= Maximum"));
    SetAndInvalidate(m_minimum, value);
}

void TCustomChartAxis::SetMinorGrid(const TChartPen &pen)
{
    m_minorGrid.CopyFrom(pen);
}

void TCustomChartAxis::SetMinorTickCount(int value)
{
    SetAndInvalidate(m_minorTickCount, value);
}

void TCustomChartAxis::SetMinorTickLength(int value)
{
    SetAndInvalidate(m_minorTickLength, value);
}

void TCustomChartAxis::SetMinorTicks(const TChartPen &pen)
{
    m_minorTicks.CopyFrom(pen);
}

void TCustomChartAxis::SetStartPosition(double value)
{
    SetAndInvalidate(m_startPosition, value);
}

void TCustomChartAxis::SetEndPosition(double value)
{
    SetAndInvalidate(m_endPosition, value);
}

void TCustomChartAxis::SetPositionPercent(double value)
{
    SetAndInvalidate(m_positionPercent, value);
}

void TCustomChartAxis::SetRoundFirstLabel(bool value)
{
    SetAndInvalidate(m_roundFirstLabel, value);
}

void TCustomChartAxis::SetTickInnerLength(int value)
{
    SetAndInvalidate(m_tickInnerLength, value);
}

void TCustomChartAxis::SetTickLength(int value)
{
    SetAndInvalidate(m_tickLength, value);
}

void TCustomChartAxis::SetTickOnLabelsOnly(bool value)
{
    SetAndInvalidate(m_tickOnLabelsOnly, value);
}

void TCustomChartAxis::SetTicks(const TChartPen &pen)
{
    m_ticks.CopyFrom(pen);
}

void TCustomChartAxis::SetTicksInner(const TChartPen &pen)
{
    m_ticksInner.CopyFrom(pen);
}

void TCustomChartAxis::SetTitle(const TChartAxisTitle &title)
{
    m_title.CopyFrom(title);
}

void TCustomChartAxis::SetTitleSize(int value)
{
    SetAndInvalidate(m_titleSize, value);
}

void TCustomChartAxis::SetVisible(bool value)
{
    SetAndInvalidate(m_visible, value);
}

void TCustomChartAxis::SetDefaultTitleAngle(int angle)
{
    m_defaultTitleAngle = angle;
    m_title.SetAngle(angle);
}

void TCustomChartAxis::SetRange(double rangeMin, double rangeMax)
{
    m_rangeMin = rangeMin;
    m_rangeMax = rangeMax;
    m_rangeSize = rangeMax - rangeMin;
}

void TCustomChartAxis::SetPixelSpan(int startPixel, int endPixel)
{
    m_startPixel = startPixel;
    m_endPixel = endPixel;
    m_pixelSize = SaturatedSub(endPixel, startPixel);
    m_centerPixel = static_cast<int>((static_cast<long long>(startPixel) + endPixel) / 2);
}

void TCustomChartAxis::CopyFrom(const TCustomChartAxis &source)
{
    if (&source == this)
        return;
    m_automatic = source.m_automatic;
    m_automaticMaximum = source.m_automaticMaximum;
    m_automaticMinimum = source.m_automaticMinimum;
    m_axisPen.CopyFrom(source.m_axisPen);
    m_axisValuesFormat = source.m_axisValuesFormat;
    m_dateTimeFormat = source.m_dateTimeFormat;
    m_exactDateTime = source.m_exactDateTime;
    m_grid.CopyFrom(source.m_grid);
    m_gridCentered = source.m_gridCentered;
    m_increment = source.m_increment;
    m_inverted = source.m_inverted;
    m_labels = source.m_labels;
    m_labelsAngle = source.m_labelsAngle;
    m_labelsFont.CopyFrom(source.m_labelsFont);
    m_labelsMultiLine = source.m_labelsMultiLine;
    m_labelsOnAxis = source.m_labelsOnAxis;
    m_labelsSeparation = source.m_labelsSeparation;
    m_labelsSize = source.m_labelsSize;
    m_labelStyle = source.m_labelStyle;
    m_logarithmic = source.m_logarithmic;
    m_logarithmicBase = source.m_logarithmicBase;
    m_maximum = source.m_maximum;
    m_minimum = source.m_minimum;
    m_minorGrid.CopyFrom(source.m_minorGrid);
    m_minorTickCount = source.m_minorTickCount;
    m_minorTickLength = source.m_minorTickLength;
    m_minorTicks.CopyFrom(source.m_minorTicks);
    m_startPosition = source.m_startPosition;
    m_endPosition = source.m_endPosition;
    m_positionPercent = source.m_positionPercent;
    m_roundFirstLabel = source.m_roundFirstLabel;
    m_tickInnerLength = source.m_tickInnerLength;
    m_tickLength = source.m_tickLength;
    m_tickOnLabelsOnly = source.m_tickOnLabelsOnly;
    m_ticks.CopyFrom(source.m_ticks);
    m_ticksInner.CopyFrom(source.m_ticksInner);
    m_titleSize = source.m_titleSize;
    m_visible = source.m_visible;
    m_rangeMin = source.m_rangeMin;
    m_rangeMax = source.m_rangeMax;
    m_rangeSize = source.m_rangeSize;
    m_isDepth = source.m_isDepth;
    m_isHorizontal = source.m_isHorizontal;
    m_onFarSide = source.m_onFarSide;
    m_title.CopyFrom(source.m_title);
    Repaint();
}

// ---------------------------------------------------------------------------
// Range and pixel span

void TCustomChartAxis::RefreshRange()
{
    if (m_automatic || m_automaticMaximum)
        m_maximum = SeriesExtremeOf(false);
    if (m_automatic || m_automaticMinimum)
        m_minimum = SeriesExtremeOf(true);
    SetRange(m_minimum, m_maximum);
}

void TCustomChartAxis::UpdatePixelSpan()
{
    const TRect r = ChartRect();
    const int origin = m_isHorizontal ? r.Left : r.Top;
    const double size = m_isHorizontal ? r.Width() : r.Height();
    SetPixelSpan(SaturatedAdd(origin, SaturatedRound(size * 0.01 * m_startPosition)),
                 SaturatedAdd(origin, SaturatedRound(size * 0.01 * m_endPosition)));
}

void TCustomChartAxis::FitToPixelMargins(const TRect &margins)
{
    if (m_isHorizontal)
        FitToPixelMargins(margins.Left, margins.Right);
    else
        FitToPixelMargins(margins.Top, margins.Bottom);
}

void TCustomChartAxis::FitToPixelMargins(int startMargin, int endMargin)
{
    const int oldStart = m_startPixel;
    const int oldEnd = m_endPixel;
    m_startPixel = SaturatedAdd(oldStart, startMargin);
    m_endPixel = SaturatedSub(oldEnd, endMargin);
    m_pixelSize = SaturatedSub(m_endPixel, m_startPixel);
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

int TCustomChartAxis::ValueToPos(double value) const
{
    if (m_isDepth)
        return DepthValueToPos(value);
    // Values at the small end: the bottom of a vertical axis, the left of a
    // horizontal one, swapped by Inverted.
    const bool fromEnd = m_inverted == m_isHorizontal;
    if (m_logarithmic) {
        const double lmin = m_rangeMin > 0 ? std::log(m_rangeMin) : 0;
        const double lmax = m_rangeMax > 0 ? std::log(m_rangeMax) : 0;
        const double span = lmax - lmin;
        if (span == 0)
            return m_centerPixel;
        if (!(value > 0))
            return fromEnd ? m_endPixel : m_startPixel;
        const double t = m_inverted ? lmax - std::log(value) : std::log(value) - lmin;
        const double r = t * m_pixelSize / span;
        if (!FitsInt(r))
            return m_centerPixel;
        return m_isHorizontal ? SaturatedAdd(m_startPixel, RoundToInt(r))
                              : SaturatedSub(m_endPixel, RoundToInt(r));
    }
    if (m_rangeSize == 0)
        return m_centerPixel;
    double t = (value - m_rangeMin) * m_pixelSize / m_rangeSize;
    // Near the limits of a double the product overflows although the pixel
    // does not: scale by the range first.
    if (!std::isfinite(t))
        t = (value / m_rangeSize - m_rangeMin / m_rangeSize) * m_pixelSize;
    if (!FitsInt(t))
        return m_centerPixel;
    const int r = RoundToInt(t);
    return fromEnd ? SaturatedSub(m_endPixel, r) : SaturatedAdd(m_startPixel, r);
}

double TCustomChartAxis::PosToValue(int pos) const
{
    if (m_logarithmic) {
        const bool maxAtStart = m_isHorizontal == m_inverted;
        if (pos == m_startPixel)
            return maxAtStart ? m_rangeMax : m_rangeMin;
        if (pos == m_endPixel)
            return maxAtStart ? m_rangeMin : m_rangeMax;
        const double lmin = m_rangeMin > 0 ? std::log(m_rangeMin) : 0;
        const double lmax = m_rangeMax > 0 ? std::log(m_rangeMax) : 0;
        const double span = lmax - lmin;
        if (span == 0 || m_pixelSize == 0)
            return m_rangeMin;
        const double d = m_inverted
                             ? span * (static_cast<double>(m_endPixel) - pos) / m_pixelSize
                             : span * (static_cast<double>(pos) - m_startPixel) / m_pixelSize;
        return m_isHorizontal ? std::exp(lmin + d) : std::exp(lmax - d);
    }
    if (m_pixelSize <= 0)
        return 0;
    const double d = m_inverted ? static_cast<double>(m_endPixel) - pos
                                : static_cast<double>(pos) - m_startPixel;
    double t = d * m_rangeSize / m_pixelSize;
    if (!std::isfinite(t))
        t = d / m_pixelSize * m_rangeSize;
    return m_isHorizontal ? m_rangeMin + t : m_rangeMax - t;
}

int TCustomChartAxis::DepthValueToPos(double value) const
{
    const int depth = ChartDepth();
    if (m_rangeSize == 0)
        return depth / 2;
    const double d = m_inverted ? m_rangeMax - value : value - m_rangeMin;
    return SaturatedRound(depth * d / m_rangeSize);
}

// ---------------------------------------------------------------------------
// Label step and text

int TCustomChartAxis::LabelSpan(double value) const
{
    int lines = 1;
    const int width = WidestLineWidth(*Canvas(), FormatLabel(value), lines);
    const bool across = m_isHorizontal ? (m_labelsAngle == 90 || m_labelsAngle == 270)
                                       : (m_labelsAngle == 0 || m_labelsAngle == 180);
    return across ? LineHeight() * lines : width;
}

double TCustomChartAxis::ComputeLabelStep() const
{
    double s = std::max(LabelSpan(m_rangeMax), LabelSpan(m_rangeMin));
    int count;
    if (s <= 0) {
        count = 1;
    } else {
        if (m_labelsSeparation > 0)
            s += RoundToInt(m_labelsSeparation * 0.01 * s);
        count = SaturatedRound(m_pixelSize / s);
    }
    return LabelStepForCount(count);
}

double TCustomChartAxis::LabelStepForCount(int count) const
{
    if (count < 1)
        return m_dateTimeMode ? OneSecond : 1e-12;
    if (m_dateTimeMode) {
        double step = std::max(OneSecond, m_increment);
        if (!std::isfinite(m_rangeSize) || !std::isfinite(step))
            return step;
        if (m_rangeSize / step > 1000000)
            step = m_rangeSize / 1000000;
        for (int loops = 0; std::nearbyint(m_rangeSize / step) > count && loops < MaxLabelLoops;
             ++loops)
            step = step >= 365 ? step * 2 : NextTimeStep(step);
        return std::max(OneSecond, step);
    }
    double step;
    if (m_increment > 0)
        step = m_increment;
    else
        step = std::fabs(m_rangeSize) < 1 ? 1e-12 : 1;
    if (m_labelsSeparation > 0 && std::isfinite(m_rangeSize) && std::isfinite(step)) {
        double c = count + 1.0;
        for (int loops = 0; c > count && loops < MaxLabelLoops; ++loops) {
            const double q = m_rangeSize / step;
            if (FitsInt(q)) {
                c = std::nearbyint(q);
                if (c > count)
                    step = NextNiceStep(step);
            } else {
                step = NextNiceStep(step);
            }
        }
    }
    return std::max(step, 1e-12);
}

QString TCustomChartAxis::FormatLabel(double value) const
{
    QString text;
    if (!m_dateTimeMode) {
        text = FormatFloat(m_axisValuesFormat, value);
    } else if (value >= 0) {
        if (!m_dateTimeFormat.isEmpty())
            text = FormatDateTime(m_dateTimeFormat, value);
        else if (m_rangeSize > 1)
            text = ShortDateText(value);
        else
            text = ShortTimeText(value);
    }
    if (HasGetAxisLabel())
        CallGetAxisLabel(nullptr, -1, text);
    if (m_labelsMultiLine)
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
    if (m_isDepth)
        return rect.Right;
    if (m_isHorizontal)
        return m_onFarSide ? rect.Top : rect.Bottom;
    return m_onFarSide ? rect.Right : rect.Left;
}

int TCustomChartAxis::MovedOutward(int pos, int amount) const
{
    const bool plus = m_isDepth || (m_isHorizontal != m_onFarSide);
    return plus ? SaturatedAdd(pos, amount) : SaturatedSub(pos, amount);
}

void TCustomChartAxis::ShrinkAtSide(TRect &rect, int amount) const
{
    if (m_isDepth)
        rect.Right -= amount;
    else if (m_isHorizontal && m_onFarSide)
        rect.Top += amount;
    else if (m_isHorizontal)
        rect.Bottom -= amount;
    else if (m_onFarSide)
        rect.Right -= amount;
    else
        rect.Left += amount;
}

int TCustomChartAxis::PositionApplied(int pos, const TRect &rect) const
{
    if (m_positionPercent == 0)
        return pos;
    const double extent = m_isHorizontal ? rect.Height() : rect.Width();
    int offset = SaturatedRound(m_positionPercent * 0.01 * extent);
    if (m_onFarSide)
        offset = -offset;
    return m_isHorizontal ? SaturatedSub(pos, offset) : SaturatedAdd(pos, offset);
}

int TCustomChartAxis::TickSpace() const
{
    int space =
        (m_axisPen.Visible() ? m_axisPen.Width() : 0) + (m_ticks.Visible() ? m_tickLength : 0);
    if (m_minorTicks.Visible())
        space = std::max(space, m_minorTickLength);
    return space;
}

bool TCustomChartAxis::RunsAlongAxis(int angle) const
{
    if (m_isHorizontal)
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
        double lo = m_rangeMin;
        double hi = m_rangeMax;
        if ((UsesDateTime() && m_exactDateTime) || m_roundFirstLabel) {
            const double step = ComputeLabelStep();
            lo = std::trunc(m_rangeMin / step) * step;
            hi = std::trunc(m_rangeMax / step) * step;
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
        m_titlePos = MovedOutward(
            m_labelsPos, BandSize(m_labelsFont, m_labelsAngle, m_labelsSize, QString(), true));
        return;
    }
    if (m_isDepth) {
        m_titlePos = rect.Right;
    } else if (!m_title.Caption().isEmpty()) {
        ShrinkAtSide(
            rect, BandSize(m_title.Font(), m_title.Angle(), m_titleSize, m_title.Caption(), false));
        m_titlePos = SideEdge(rect);
    } else {
        // No title: keep the position at the edge instead of a stale one.
        m_titlePos = SideEdge(rect);
    }
    if (m_labels) {
        ShrinkAtSide(rect, BandSize(m_labelsFont, m_labelsAngle, m_labelsSize, QString(), true));
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
    const int alongLo = std::min(m_startPixel, m_endPixel);
    const int alongHi = std::max(m_startPixel, m_endPixel);
    int acrossLo;
    int acrossHi;
    if (m_labelsPos < m_axisLinePos) {
        acrossLo = m_labelsPos;
        acrossHi = SaturatedAdd(m_axisLinePos, 3);
    } else {
        acrossLo = SaturatedAdd(m_axisLinePos, -3);
        acrossHi = m_labelsPos;
    }
    const int along = m_isHorizontal ? x : y;
    const int across = m_isHorizontal ? y : x;
    return along >= alongLo && along < alongHi && across >= acrossLo && across < acrossHi;
}

void TCustomChartAxis::FixRange(double min, double max)
{
    // A zoom computed from a degenerate picture must not poison the range.
    if (!std::isfinite(min) || !std::isfinite(max))
        return;
    m_automatic = false;
    m_automaticMinimum = false;
    m_automaticMaximum = false;
    if (min > max)
        std::swap(min, max);
    SetAndInvalidate(m_minimum, min);
    SetAndInvalidate(m_maximum, max);
    if (m_maximum - m_minimum < 1e-10) {
        m_maximum = m_minimum + 1e-10;
        Repaint();
    }
}

void TCustomChartAxis::ShiftRange(double delta, bool checkLimits)
{
    if (checkLimits) {
        const bool forward = delta > 0 && SeriesExtremeOf(false) > m_maximum;
        const bool backward = delta < 0 && SeriesExtremeOf(true) < m_minimum;
        if (!forward && !backward)
            return;
    }
    m_automatic = false;
    m_automaticMinimum = false;
    m_automaticMaximum = false;
    m_maximum += delta;
    m_minimum += delta;
    Repaint();
}

double TCustomChartAxis::StepBackDate(double value, TTimeStep step, double length) const
{
    if (m_exactDateTime && m_dateTimeMode && step >= dsHalfMonth && step <= dsOneYear)
        return CalendarStepBack(step, value);
    return value - length;
}

} // namespace kov
