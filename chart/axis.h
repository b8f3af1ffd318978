#pragma once

#include "chart/axis_steps.h"
#include "chart/canvas/chart_pen.h"
#include "chart/canvas/graphics.h"
#include "chart/canvas/rect.h"
#include "chart/chart_font.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

// Chart axes: each maps one direction of the chart rectangle onto a range of
// values, picks a label increment that fits, formats and paints its labels,
// ticks, grid and axis line, and reserves room for them beside the chart
// rectangle.
namespace kov {

class TCustomAxisPanel;
class TChartSeries;
class TCustomChartAxis;
class TChartCanvas3D;

/// What the labels of an axis show.
enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

/// Chart event: the text of one axis label, which the handler may change.
/// Series is null and ValueIndex -1 for value labels.
using TAxisOnGetLabel = std::function<void(TCustomChartAxis *Sender, TChartSeries *Series,
                                           int ValueIndex, QString &LabelText)>;

/// Chart event: the value of label LabelIndex; the handler sets LabelValue, or
/// leaves Stop set to end the sequence.
using TAxisOnGetNextLabel =
    std::function<void(TCustomChartAxis *Sender, int LabelIndex, double &LabelValue, bool &Stop)>;

/// Title of an axis: caption, angle and font (a chart font object of the
/// axis' chart). Knows its axis, through which changes reach the chart.
class TChartAxisTitle : public TChartFontObject
{
public:
    explicit TChartAxisTitle(TCustomChartAxis *axis = nullptr);

    TCustomChartAxis *Axis() const { return m_axis; }
    void SetAxis(TCustomChartAxis *axis) { m_axis = axis; }

    int Angle() const { return m_angle; }
    /// Rejects angles outside 0..359 with ChartException ("Axis Title").
    void SetAngle(int angle);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);

    /// True when the angle differs from the axis' default title angle.
    bool IsAngleStored() const;
    /// Copies the axis link (when this title has none), angle, caption and font.
    void CopyFrom(const TChartFontObject &source) override;

private:
    void Changed();

    TCustomChartAxis *m_axis = nullptr;
    int m_angle = 0;
    QString m_caption;
};

/// An axis of a chart. The chart owns its axes; the axis owns its pens, font
/// and title. Range, pixel span and label positions are recomputed at every
/// paint and kept until the next one, so pixel/value conversions between paints
/// describe the picture on screen.
class TCustomChartAxis
{
public:
    explicit TCustomChartAxis(TCustomAxisPanel *chart = nullptr);
    virtual ~TCustomChartAxis();
    TCustomChartAxis(const TCustomChartAxis &) = delete;
    TCustomChartAxis &operator=(const TCustomChartAxis &) = delete;

    TCustomAxisPanel *ParentChart() const { return m_chart; }

    // ---- published properties -------------------------------------------
    bool Automatic() const { return m_automatic; }
    void SetAutomatic(bool value);
    bool AutomaticMaximum() const { return m_automaticMaximum; }
    void SetAutomaticMaximum(bool value);
    bool AutomaticMinimum() const { return m_automaticMinimum; }
    void SetAutomaticMinimum(bool value);
    /// Pen of the axis line.
    TChartAxisPen &Axis() { return m_axisPen; }
    const TChartAxisPen &Axis() const { return m_axisPen; }
    void SetAxis(const TChartPen &pen);
    QString AxisValuesFormat() const { return m_axisValuesFormat; }
    void SetAxisValuesFormat(const QString &value);
    bool IsAxisValuesFormatStored() const;
    QString DateTimeFormat() const { return m_dateTimeFormat; }
    void SetDateTimeFormat(const QString &value);
    bool ExactDateTime() const { return m_exactDateTime; }
    void SetExactDateTime(bool value);
    TDottedGrayPen &Grid() { return m_grid; }
    const TDottedGrayPen &Grid() const { return m_grid; }
    void SetGrid(const TChartPen &pen);
    bool GridCentered() const { return m_gridCentered; }
    void SetGridCentered(bool value);
    double Increment() const { return m_increment; }
    /// Negative values raise AxisException.
    void SetIncrement(double value);
    bool Inverted() const { return m_inverted; }
    void SetInverted(bool value);
    bool Labels() const { return m_labels; }
    void SetLabels(bool value);
    int LabelsAngle() const { return m_labelsAngle; }
    /// Angles outside 0..359 raise ChartException ("Axis Labels").
    void SetLabelsAngle(int value);
    TFont &LabelsFont() { return m_labelsFont; }
    const TFont &LabelsFont() const { return m_labelsFont; }
    /// Copies the given font's properties into the labels font.
    void SetLabelsFont(const TFont &font);
    bool IsLabelsFontStored() const;
    bool LabelsMultiLine() const { return m_labelsMultiLine; }
    void SetLabelsMultiLine(bool value);
    bool LabelsOnAxis() const { return m_labelsOnAxis; }
    void SetLabelsOnAxis(bool value);
    int LabelsSeparation() const { return m_labelsSeparation; }
    /// Negative values raise AxisException; 0 is accepted.
    void SetLabelsSeparation(int value);
    int LabelsSize() const { return m_labelsSize; }
    void SetLabelsSize(int value);
    TAxisLabelStyle LabelStyle() const { return m_labelStyle; }
    void SetLabelStyle(TAxisLabelStyle value);
    bool Logarithmic() const { return m_logarithmic; }
    /// Turning it on fails on a date-time axis and on a range with a negative end.
    void SetLogarithmic(bool value);
    int LogarithmicBase() const { return m_logarithmicBase; }
    /// Values below 2 raise AxisException.
    void SetLogarithmicBase(int value);
    double Maximum() const { return m_maximum; }
    /// Below Minimum raises AxisException, except while the chart is loading.
    void SetMaximum(double value);
    bool IsMaximumStored() const { return !m_automatic && !m_automaticMaximum; }
    double Minimum() const { return m_minimum; }
    /// Above Maximum raises AxisException, except while the chart is loading.
    void SetMinimum(double value);
    bool IsMinimumStored() const { return !m_automatic && !m_automaticMinimum; }
    TChartHiddenPen &MinorGrid() { return m_minorGrid; }
    const TChartHiddenPen &MinorGrid() const { return m_minorGrid; }
    void SetMinorGrid(const TChartPen &pen);
    int MinorTickCount() const { return m_minorTickCount; }
    void SetMinorTickCount(int value);
    int MinorTickLength() const { return m_minorTickLength; }
    void SetMinorTickLength(int value);
    TDarkGrayPen &MinorTicks() { return m_minorTicks; }
    const TDarkGrayPen &MinorTicks() const { return m_minorTicks; }
    void SetMinorTicks(const TChartPen &pen);
    double StartPosition() const { return m_startPosition; }
    void SetStartPosition(double value);
    double EndPosition() const { return m_endPosition; }
    void SetEndPosition(double value);
    double PositionPercent() const { return m_positionPercent; }
    void SetPositionPercent(double value);
    bool RoundFirstLabel() const { return m_roundFirstLabel; }
    void SetRoundFirstLabel(bool value);
    int TickInnerLength() const { return m_tickInnerLength; }
    void SetTickInnerLength(int value);
    int TickLength() const { return m_tickLength; }
    void SetTickLength(int value);
    bool TickOnLabelsOnly() const { return m_tickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool value);
    TDarkGrayPen &Ticks() { return m_ticks; }
    const TDarkGrayPen &Ticks() const { return m_ticks; }
    void SetTicks(const TChartPen &pen);
    TDarkGrayPen &TicksInner() { return m_ticksInner; }
    const TDarkGrayPen &TicksInner() const { return m_ticksInner; }
    void SetTicksInner(const TChartPen &pen);
    TChartAxisTitle &Title() { return m_title; }
    const TChartAxisTitle &Title() const { return m_title; }
    void SetTitle(const TChartAxisTitle &title);
    int TitleSize() const { return m_titleSize; }
    void SetTitleSize(int value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    // ---- unpublished state -----------------------------------------------
    bool IsHorizontal() const { return m_isHorizontal; }
    void SetIsHorizontal(bool value) { m_isHorizontal = value; }
    bool OnFarSide() const { return m_onFarSide; }
    void SetOnFarSide(bool value) { m_onFarSide = value; }
    bool IsDepth() const { return m_isDepth; }
    void SetIsDepth(bool value) { m_isDepth = value; }
    int DefaultTitleAngle() const { return m_defaultTitleAngle; }
    /// Sets the default title angle and the title's angle with it.
    void SetDefaultTitleAngle(int angle);

    double RangeMin() const { return m_rangeMin; }
    double RangeMax() const { return m_rangeMax; }
    double RangeSize() const { return m_rangeSize; }
    /// Sets the effective range directly (until the next RefreshRange).
    void SetRange(double rangeMin, double rangeMax);

    int StartPixel() const { return m_startPixel; }
    int EndPixel() const { return m_endPixel; }
    int PixelSize() const { return m_pixelSize; }
    int CenterPixel() const { return m_centerPixel; }
    /// Sets the pixel span directly (until the next UpdatePixelSpan).
    void SetPixelSpan(int startPixel, int endPixel);

    int AxisLinePos() const { return m_axisLinePos; }
    void SetAxisLinePos(int value) { m_axisLinePos = value; }
    int LabelsPos() const { return m_labelsPos; }
    void SetLabelsPos(int value) { m_labelsPos = value; }
    int TitlePos() const { return m_titlePos; }
    void SetTitlePos(int value) { m_titlePos = value; }

    bool DateTimeMode() const { return m_dateTimeMode; }
    void SetDateTimeMode(bool value) { m_dateTimeMode = value; }

    /// Pixel positions of the ticks of the last paint, in label order.
    const std::vector<int> &TickPositions() const { return m_tickPositions; }
    static constexpr int MaxTickPositions = 2000;

    /// A label drawn by the last paint: its position along the axis and text.
    struct TPaintedLabel
    {
        int Pos = 0;
        QString Text;
    };
    const std::vector<TPaintedLabel> &PaintedLabels() const { return m_paintedLabels; }

    /// The canvas the axis measures and draws with: the chart's, or, for an
    /// axis without a chart, a canvas of its own (no surface until one is set).
    TChartCanvas3D *Canvas() const;

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
    /// Widens the range for start and end pixel margins.
    void FitToPixelMargins(int startMargin, int endMargin);

    int ValueToPos(double value) const;
    double PosToValue(int pos) const;
    /// Depth coordinate (0 front .. chart depth) of a value on the depth axis.
    int DepthValueToPos(double value) const;

    /// The label increment for the current range (the canvas font must be the
    /// labels font when the axis belongs to a chart).
    double ComputeLabelStep() const;
    /// The increment that fits count labels into the range.
    double LabelStepForCount(int count) const;
    /// The label text of a value (numbers or date-times, through
    /// OnGetAxisLabel, split into lines with LabelsMultiLine).
    QString FormatLabel(double value) const;
    /// The widest label the axis can produce, plus a space.
    int MaxLabelExtent();

    TAxisLabelStyle ResolvedLabelStyle() const;
    bool UsesDateTime() const;

    /// Paints title, labels, ticks, grid and axis line.
    void PaintAxis(bool placeLine);
    /// Writes one (possibly multi-line) text beside the axis at the given
    /// angle, aligned for the axis' kind and side.
    void DrawLabelAt(int x, int y, int angle, const QString &text);

    /// True when (x, y) lies on the axis' line-and-labels band.
    bool ContainsPoint(int x, int y) const;
    /// Fixes the range at min..max, switching the automatic ends off.
    void FixRange(double min, double max);
    /// Scrolls the range by delta (with checkLimits only towards data that
    /// lies beyond the current range).
    void ShiftRange(double delta, bool checkLimits);

    /// Moves a label value one step down (calendar steps for date-times).
    double StepBackDate(double value, TTimeStep step, double length) const;

    /// Copies every published property, the automatic flags, range, kind,
    /// position percents and title.
    virtual void CopyFrom(const TCustomChartAxis &source);

    /// Asks the chart to repaint (nothing without a chart).
    void Repaint();

protected:
    /// Stores a changed value and repaints the chart; an equal value is left alone.
    template <typename T> void SetAndInvalidate(T &field, const T &value)
    {
        if (field != value) {
            field = value;
            Repaint();
        }
    }

private:
    friend class TChartAxisTitle;

    // Label generation (paint).
    void AddTickPosition(int pos);
    void EmitValue(double value);
    void DrawLabel(int pos, const QString &text);
    void SteppedLabels(double step, TTimeStep timeStep);
    void LogarithmicLabels();
    void DefaultValueLabels(double step, TTimeStep timeStep);
    void CustomLabels(double step, TTimeStep timeStep);
    void PointLabels(TAxisLabelStyle style);
    void DepthSeriesLabels();
    void DrawTitle();
    void DrawTicksGridAndLine();
    void DrawTick(int pos, int offset, int length, int wall, int depth);
    void DrawGridLine(int pos, int depth);
    void DrawMinors();

    // Measurement.
    int LabelSpan(double value) const;
    int LineHeight() const;
    void SelectFont(const TFont &font) const;
    int PositionApplied(int pos, const TRect &rect) const;
    int SideEdge(const TRect &rect) const;
    int MovedOutward(int pos, int amount) const;
    void ShrinkAtSide(TRect &rect, int amount) const;
    int TickSpace() const;
    int BandSize(const TFont &font, int angle, int fixedSize, const QString &text, bool labels);
    bool RunsAlongAxis(int angle) const;
    void PrepareText(const TFont &font);

    // Questions to the chart (answered without one for a stand-alone axis).
    bool IsLoadingChart() const;
    int ChartDepth() const;
    TRect ChartRect() const;
    bool IsView3D() const;
    bool IsPrinting() const;
    int WallThicknessOf(const TCustomChartAxis *axis) const;
    const TCustomChartAxis *SiblingAxis(bool horizontal) const;
    bool IsShown() const;
    double SeriesExtremeOf(bool wantMinimum) const;
    bool HasGetAxisLabel() const;
    bool HasGetNextAxisLabel() const;
    void CallGetAxisLabel(TChartSeries *series, int valueIndex, QString &text) const;
    void CallGetNextAxisLabel(int labelIndex, double &value, bool &stop) const;
    int PointLabelsExtent(TAxisLabelStyle style) const;
    void AdjustGridPen();
    void PrepareLabelBrush();

    TCustomAxisPanel *m_chart = nullptr;

    bool m_automatic = true;
    bool m_automaticMaximum = true;
    bool m_automaticMinimum = true;
    TChartAxisPen m_axisPen;
    QString m_axisValuesFormat;
    QString m_dateTimeFormat;
    bool m_exactDateTime = true;
    TDottedGrayPen m_grid;
    bool m_gridCentered = false;
    double m_increment = 0;
    bool m_inverted = false;
    bool m_labels = true;
    int m_labelsAngle = 0;
    TFont m_labelsFont;
    bool m_labelsMultiLine = false;
    bool m_labelsOnAxis = true;
    int m_labelsSeparation = 10;
    int m_labelsSize = 0;
    TAxisLabelStyle m_labelStyle = talAuto;
    bool m_logarithmic = false;
    int m_logarithmicBase = 10;
    double m_maximum = 0;
    double m_minimum = 0;
    TChartHiddenPen m_minorGrid;
    int m_minorTickCount = 3;
    int m_minorTickLength = 2;
    TDarkGrayPen m_minorTicks;
    double m_startPosition = 0;
    double m_endPosition = 100;
    double m_positionPercent = 0;
    bool m_roundFirstLabel = true;
    int m_tickInnerLength = 0;
    int m_tickLength = 4;
    bool m_tickOnLabelsOnly = true;
    TDarkGrayPen m_ticks;
    TDarkGrayPen m_ticksInner;
    TChartAxisTitle m_title;
    int m_titleSize = 0;
    bool m_visible = true;

    bool m_isHorizontal = false;
    bool m_onFarSide = false;
    bool m_isDepth = false;
    int m_defaultTitleAngle = 0;
    double m_rangeMin = 0;
    double m_rangeMax = 0;
    double m_rangeSize = 0;
    int m_startPixel = 0;
    int m_endPixel = 0;
    int m_pixelSize = 0;
    int m_centerPixel = 0;
    int m_axisLinePos = 0;
    int m_labelsPos = 0;
    int m_titlePos = 0;
    bool m_dateTimeMode = false;
    std::vector<int> m_tickPositions;
    std::vector<TPaintedLabel> m_paintedLabels;
    mutable std::unique_ptr<TChartCanvas3D> m_ownCanvas;

    // Set while MaxLabelExtent measures: OnGetAxisLabel is not called then.
    bool m_measuring = false;

    // Label overlap state of the paint in progress (point labels).
    bool m_haveLastLabel = false;
    int m_lastLabelPos = 0;
    int m_lastLabelHalf = 0;
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
    explicit TChartDepthAxis(TCustomAxisPanel *chart = nullptr);
};

} // namespace kov
