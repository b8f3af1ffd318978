#pragma once

#include "chart/axis/axis_mapping.h"
#include "chart/axis/axis_paint_context.h"
#include "chart/axis/axis_settings.h"
#include "chart/axis/axis_title.h"
#include "chart/canvas/chart_pen.h"
#include "chart/canvas/graphics.h"
#include "chart/canvas/rect.h"

#include <QString>
#include <QtGlobal>
#include <memory>
#include <utility>
#include <vector>

// Chart axes: each maps one direction of the chart rectangle onto a range of
// values, picks a label increment that fits, formats and paints its labels,
// ticks, grid and axis line, and reserves room for them beside the chart
// rectangle.
namespace kov {

class TAxisOwner;
class TChartCanvas3D;

/// An axis of a chart. The chart owns its axes; the axis owns its pens, font
/// and title. Range, pixel span and label positions are recomputed at every
/// paint and kept until the next one, so pixel/value conversions between paints
/// describe the picture on screen. Laying out, measuring and painting are the
/// axis painter's (axis_painter.h), in the context the owner hands over.
class TCustomChartAxis
{
public:
    /// The side fixes the axis' direction, the side of the chart rectangle
    /// it lies on and its title's default angle.
    explicit TCustomChartAxis(TAxisOwner *owner = nullptr, TAxisSide side = TAxisSide::Left);
    virtual ~TCustomChartAxis();

    /// The chart that owns the axis (null for an axis on its own).
    TAxisOwner *ParentChart() const { return m_owner; }

    // ---- published properties -------------------------------------------
    bool Automatic() const { return m_settings.Automatic; }
    void SetAutomatic(bool value);
    bool AutomaticMaximum() const { return m_settings.AutomaticMaximum; }
    void SetAutomaticMaximum(bool value);
    bool AutomaticMinimum() const { return m_settings.AutomaticMinimum; }
    void SetAutomaticMinimum(bool value);
    /// Pen of the axis line.
    TChartAxisPen &Axis() { return m_axisPen; }
    const TChartAxisPen &Axis() const { return m_axisPen; }
    void SetAxis(const TChartPen &pen) { m_axisPen.CopyFrom(pen); }
    QString AxisValuesFormat() const { return m_settings.AxisValuesFormat; }
    void SetAxisValuesFormat(const QString &value)
    {
        SetAndInvalidate(m_changed, m_settings.AxisValuesFormat, value);
    }
    bool IsAxisValuesFormatStored() const;
    QString DateTimeFormat() const { return m_settings.DateTimeFormat; }
    void SetDateTimeFormat(const QString &value)
    {
        SetAndInvalidate(m_changed, m_settings.DateTimeFormat, value);
    }
    bool ExactDateTime() const { return m_settings.ExactDateTime; }
    void SetExactDateTime(bool value)
    {
        SetAndInvalidate(m_changed, m_settings.ExactDateTime, value);
    }
    TDottedGrayPen &Grid() { return m_grid; }
    const TDottedGrayPen &Grid() const { return m_grid; }
    void SetGrid(const TChartPen &pen) { m_grid.CopyFrom(pen); }
    bool GridCentered() const { return m_settings.GridCentered; }
    void SetGridCentered(bool value)
    {
        SetAndInvalidate(m_changed, m_settings.GridCentered, value);
    }
    double Increment() const { return m_settings.Increment; }
    /// Negative values raise AxisException.
    void SetIncrement(double value);
    bool Inverted() const { return m_settings.Inverted; }
    void SetInverted(bool value) { SetAndInvalidate(m_changed, m_settings.Inverted, value); }
    bool Labels() const { return m_settings.Labels; }
    void SetLabels(bool value) { SetAndInvalidate(m_changed, m_settings.Labels, value); }
    int LabelsAngle() const { return m_settings.LabelsAngle; }
    /// Angles outside 0..359 raise ChartException ("Axis Labels").
    void SetLabelsAngle(int value);
    TFont &LabelsFont() { return m_labelsFont; }
    const TFont &LabelsFont() const { return m_labelsFont; }
    /// Copies the given font's properties into the labels font.
    void SetLabelsFont(const TFont &font) { m_labelsFont.CopyFrom(font); }
    bool IsLabelsFontStored() const;
    bool LabelsMultiLine() const { return m_settings.LabelsMultiLine; }
    void SetLabelsMultiLine(bool value)
    {
        SetAndInvalidate(m_changed, m_settings.LabelsMultiLine, value);
    }
    bool LabelsOnAxis() const { return m_settings.LabelsOnAxis; }
    void SetLabelsOnAxis(bool value)
    {
        SetAndInvalidate(m_changed, m_settings.LabelsOnAxis, value);
    }
    int LabelsSeparation() const { return m_settings.LabelsSeparation; }
    /// Negative values raise AxisException; 0 is accepted.
    void SetLabelsSeparation(int value);
    int LabelsSize() const { return m_settings.LabelsSize; }
    void SetLabelsSize(int value) { SetAndInvalidate(m_changed, m_settings.LabelsSize, value); }
    TAxisLabelStyle LabelStyle() const { return m_settings.LabelStyle; }
    void SetLabelStyle(TAxisLabelStyle value)
    {
        SetAndInvalidate(m_changed, m_settings.LabelStyle, value);
    }
    bool Logarithmic() const { return m_settings.Logarithmic; }
    /// Turning it on fails on a date-time axis and on a range with a negative end.
    void SetLogarithmic(bool value);
    int LogarithmicBase() const { return m_settings.LogarithmicBase; }
    /// Values below 2 raise AxisException.
    void SetLogarithmicBase(int value);
    double Maximum() const { return m_settings.Maximum; }
    /// Below Minimum raises AxisException, except while the chart is loading.
    void SetMaximum(double value);
    bool IsMaximumStored() const { return !m_settings.Automatic && !m_settings.AutomaticMaximum; }
    double Minimum() const { return m_settings.Minimum; }
    /// Above Maximum raises AxisException, except while the chart is loading.
    void SetMinimum(double value);
    bool IsMinimumStored() const { return !m_settings.Automatic && !m_settings.AutomaticMinimum; }
    TChartHiddenPen &MinorGrid() { return m_minorGrid; }
    const TChartHiddenPen &MinorGrid() const { return m_minorGrid; }
    void SetMinorGrid(const TChartPen &pen) { m_minorGrid.CopyFrom(pen); }
    int MinorTickCount() const { return m_settings.MinorTickCount; }
    void SetMinorTickCount(int value)
    {
        SetAndInvalidate(m_changed, m_settings.MinorTickCount, value);
    }
    int MinorTickLength() const { return m_settings.MinorTickLength; }
    void SetMinorTickLength(int value)
    {
        SetAndInvalidate(m_changed, m_settings.MinorTickLength, value);
    }
    TDarkGrayPen &MinorTicks() { return m_minorTicks; }
    const TDarkGrayPen &MinorTicks() const { return m_minorTicks; }
    void SetMinorTicks(const TChartPen &pen) { m_minorTicks.CopyFrom(pen); }
    double StartPosition() const { return m_settings.StartPosition; }
    void SetStartPosition(double value)
    {
        SetAndInvalidate(m_changed, m_settings.StartPosition, value);
    }
    double EndPosition() const { return m_settings.EndPosition; }
    void SetEndPosition(double value)
    {
        SetAndInvalidate(m_changed, m_settings.EndPosition, value);
    }
    double PositionPercent() const { return m_settings.PositionPercent; }
    void SetPositionPercent(double value)
    {
        SetAndInvalidate(m_changed, m_settings.PositionPercent, value);
    }
    bool RoundFirstLabel() const { return m_settings.RoundFirstLabel; }
    void SetRoundFirstLabel(bool value)
    {
        SetAndInvalidate(m_changed, m_settings.RoundFirstLabel, value);
    }
    int TickInnerLength() const { return m_settings.TickInnerLength; }
    void SetTickInnerLength(int value)
    {
        SetAndInvalidate(m_changed, m_settings.TickInnerLength, value);
    }
    int TickLength() const { return m_settings.TickLength; }
    void SetTickLength(int value) { SetAndInvalidate(m_changed, m_settings.TickLength, value); }
    bool TickOnLabelsOnly() const { return m_settings.TickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool value)
    {
        SetAndInvalidate(m_changed, m_settings.TickOnLabelsOnly, value);
    }
    TDarkGrayPen &Ticks() { return m_ticks; }
    const TDarkGrayPen &Ticks() const { return m_ticks; }
    void SetTicks(const TChartPen &pen) { m_ticks.CopyFrom(pen); }
    TDarkGrayPen &TicksInner() { return m_ticksInner; }
    const TDarkGrayPen &TicksInner() const { return m_ticksInner; }
    void SetTicksInner(const TChartPen &pen) { m_ticksInner.CopyFrom(pen); }
    TChartAxisTitle &Title() { return m_title; }
    const TChartAxisTitle &Title() const { return m_title; }
    void SetTitle(const TChartAxisTitle &title) { m_title.CopyFrom(title); }
    int TitleSize() const { return m_settings.TitleSize; }
    void SetTitleSize(int value) { SetAndInvalidate(m_changed, m_settings.TitleSize, value); }
    bool Visible() const { return m_settings.Visible; }
    void SetVisible(bool value) { SetAndInvalidate(m_changed, m_settings.Visible, value); }

    // ---- unpublished state -----------------------------------------------
    bool IsHorizontal() const { return m_settings.IsHorizontal; }
    bool OnFarSide() const { return m_settings.OnFarSide; }
    bool IsDepth() const { return m_settings.IsDepth; }

    /// The value/pixel mapping of the last paint (effective range RangeMin ..
    /// RangeMax, pixel span StartPixel .. EndPixel), with the axis' current
    /// direction, inversion and logarithm switches.
    const TAxisMapping &Mapping() const
    {
        m_map.Horizontal = m_settings.IsHorizontal;
        m_map.Inverted = m_settings.Inverted;
        m_map.Logarithmic = m_settings.Logarithmic;
        m_map.Depth = m_settings.IsDepth;
        m_map.Depth3D = m_settings.IsDepth ? m_chartDepth : 0;
        return m_map;
    }
    /// The mapping to set a range or pixel span on directly: they hold until
    /// the next RefreshRange and UpdatePixelSpan.
    TAxisMapping &Mapping()
    {
        std::as_const(*this).Mapping();
        return m_map;
    }

    static constexpr int MaxTickPositions = 2000;

    /// A label drawn by the last paint: its position along the axis and text.
    struct TPaintedLabel
    {
        int Pos = 0;
        QString Text;
    };
    /// What the last layout and paint left: where the axis line, the labels
    /// band's inner edge and the title lie across the axis, the ticks' pixel
    /// positions in label order (at most MaxTickPositions) and the labels.
    struct TLayout
    {
        int AxisLinePos = 0;
        int LabelsPos = 0;
        int TitlePos = 0;
        std::vector<int> TickPositions;
        std::vector<TPaintedLabel> PaintedLabels;
    };
    const TLayout &Layout() const { return m_layout; }

    /// The labels are date-times for the current layout or paint: set from
    /// the series at each one, and by hand for an axis without a chart.
    bool DateTimeMode() const { return m_dateTimeMode; }
    void SetDateTimeMode(bool value) { m_dateTimeMode = value; }

    /// The context the axis lays out and paints in: its owner's, or, for an
    /// axis without a chart, one over a canvas of its own (no surface until
    /// one is set).
    TAxisPaintContext PaintContext() const;

    // ---- operations ------------------------------------------------------
    /// Effective range from Minimum/Maximum, taking automatic ends from the
    /// series drawn against the axis.
    void RefreshRange();
    /// Places title, labels and ticks beside rect; with shrink also takes
    /// their room out of rect.
    void ReserveSpace(TRect &rect, bool shrink);
    /// Pixel span from the chart's chart rectangle and the position percents.
    void UpdatePixelSpan();
    /// Widens the range so the data keeps the given pixel margins from both
    /// ends (Left/Right for a horizontal axis, Top/Bottom for a vertical one).
    void FitToPixelMargins(const TRect &margins);

    int ValueToPos(double value) const { return Mapping().ValueToPos(value); }
    double PosToValue(int pos) const { return Mapping().PosToValue(pos); }

    /// The label increment for the current range (the canvas font must be the
    /// labels font).
    double ComputeLabelStep() const;
    /// The label text of a value (numbers or date-times, through
    /// OnGetAxisLabel, split into lines with LabelsMultiLine).
    QString FormatLabel(double value) const;
    /// The widest label the axis can produce, plus a space.
    int MaxLabelExtent();

    TAxisLabelStyle ResolvedLabelStyle() const;
    bool UsesDateTime() const;

    /// Paints title, labels, ticks, grid and axis line.
    void PaintAxis(bool placeLine);

    /// True when (x, y) lies on the axis' line-and-labels band.
    bool ContainsPoint(int x, int y) const;
    /// Fixes the range at min..max, switching the automatic ends off.
    void FixRange(double min, double max);
    /// Scrolls the range by delta (with checkLimits only towards data that
    /// lies beyond the current range).
    void ShiftRange(double delta, bool checkLimits);

    /// Copies every published property, the automatic flags, range, kind,
    /// position percents and title.
    virtual void CopyFrom(const TCustomChartAxis &source);

private:
    Q_DISABLE_COPY(TCustomChartAxis)
    friend class TAxisPainter;

    TAxisOwner *m_owner = nullptr;
    /// Asks the chart to repaint (nothing without a chart): the change
    /// handler of the axis' settings and of every pen and font it owns.
    TChangeHandler m_changed;

    TAxisSettings m_settings;
    TChartAxisPen m_axisPen;
    TDottedGrayPen m_grid;
    TFont m_labelsFont;
    TChartHiddenPen m_minorGrid;
    TDarkGrayPen m_minorTicks;
    TDarkGrayPen m_ticks;
    TDarkGrayPen m_ticksInner;
    TChartAxisTitle m_title;

    /// The chart's depth at the last layout: the depth axis spans it.
    int m_chartDepth = 0;
    /// Range and pixel span of the last paint; its switches follow the
    /// settings whenever Mapping() hands it out.
    mutable TAxisMapping m_map;
    TLayout m_layout;
    bool m_dateTimeMode = false;
    mutable std::unique_ptr<TChartCanvas3D> m_ownCanvas;
};

/// One of the four side axes.
class TChartAxis : public TCustomChartAxis
{
public:
    using TCustomChartAxis::TCustomChartAxis;
};

/// The depth axis of a 3D view; hidden by default.
class TChartDepthAxis : public TCustomChartAxis
{
public:
    explicit TChartDepthAxis(TAxisOwner *owner = nullptr);
};

} // namespace kov
