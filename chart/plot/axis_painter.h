#pragma once

#include "chart/axis/axis_paint_context.h"
#include "chart/axis/axis_settings.h"
#include "chart/axis/axis_steps.h"
#include "chart/canvas/rect.h"

#include <QString>

namespace kov {

class TCustomChartAxis;
class TFont;

/// Lays out, measures and paints one axis in a paint context: its labels'
/// texts and increment, the room it takes beside the chart rectangle, and
/// its title, labels, ticks, grid and axis line. It reads the axis' settings
/// and mapping, and leaves on the axis what a paint leaves there (label
/// positions, ticks, painted labels); everything else comes from the context.
class TAxisPainter
{
public:
    TAxisPainter(TCustomChartAxis &axis, const TAxisPaintContext &context);

    /// Paints title, labels, ticks, grid and axis line; with placeLine the
    /// axis line first goes to the chart rectangle's edge.
    void Paint(bool placeLine);
    /// Places title, labels and ticks beside rect; with shrink also takes
    /// their room out of rect.
    void ReserveSpace(TRect &rect, bool shrink);

    /// The label increment for the current range (the canvas font must be the
    /// labels font).
    double ComputeLabelStep() const;
    /// The increment that fits count labels into the range.
    double LabelStepForCount(int count) const;
    /// The label text of a value, through the label event.
    QString FormatLabel(double value) const;
    /// The widest label the axis can produce, plus a space.
    int MaxLabelExtent();
    TAxisLabelStyle ResolvedLabelStyle() const;
    /// Whether the series drawn against the axis hold date-times.
    bool UsesDateTime() const;

private:
    // Labels.
    void AddTickPosition(int pos);
    void EmitValue(double value);
    void DefaultValueLabels(double step, TTimeStep timeStep);
    void CustomLabels(double step, TTimeStep timeStep);
    void PointLabels(TAxisLabelStyle style);
    void DepthSeriesLabels();
    void DrawLabel(int pos, const QString &text);
    void DrawTitle();
    void DrawLabelAt(int x, int y, int angle, const QString &text);
    void PrepareText(const TFont &font);
    /// Hands text to the chart's label event, when one is assigned.
    void CallGetAxisLabel(TChartSeries *series, int valueIndex, QString &text) const;

    // Ticks, grid and axis line.
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

    TCustomChartAxis &m_axis;
    const TAxisSettings &m_settings;
    const TAxisPaintContext &m_context;

    // Set while MaxLabelExtent measures: the label event is not called then.
    bool m_measuring = false;
    // Label overlap state of the paint in progress (point labels).
    bool m_haveLastLabel = false;
    int m_lastLabelPos = 0;
    int m_lastLabelHalf = 0;
};

} // namespace kov
