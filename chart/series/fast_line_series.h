#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/canvas/rect.h"
#include "chart/series/series.h"

#include <cstdint>
#include <vector>

// A line through very many points (a scope capture, a day of samples) whose
// drawing cost grows with the pixels of the chart rather than with the
// points: consecutive points that land in one pixel column are drawn as one
// vertical span, and only the segments between columns are drawn as lines.
namespace kov {

/// The settings of a fast line that copying takes besides its pen.
struct TFastLineSeriesSettings
{
    /// A click on the line hits the series (the point the clicked segment
    /// starts at).
    bool ClickableLine = true;
};

/// Points joined by straight segments in one pen, without markers. The line
/// takes the series colour (per-point colours are not drawn; a point of
/// colour clNone is null and breaks the line). In a 3D view the line lies
/// flat at the middle of the series' depth.
///
/// With a solid pen in copy mode the line is drawn column by column: the
/// points of one pixel column as the vertical span their segments cover,
/// and the segments between columns as they are. With a one-pixel pen this
/// sets exactly the pixels that drawing every segment with the canvas's
/// one-pixel line sets: the segments inside a column are vertical, each
/// covering its start pixel and not its end, so between them they cover the
/// column from its lowest to its highest point, less the last point's pixel
/// when that lies beyond all points before it. The segments between columns
/// are drawn exactly as drawing every segment draws them (whichever of
/// their end pixels the canvas sets). A wider pen covers both ends of its
/// segments, and its column spans run from the lowest to the highest point.
/// Other pens (dashes, dots, non-copy modes), whose look depends on each
/// segment, draw every segment.
///
/// The columns are kept from paint to paint: a paint with the same axes,
/// view and shown range after a change of single Y values recomputes only
/// the columns of those points; any other change builds them again in one
/// pass. Hit testing reads the same columns, so a mouse move looks only at
/// the columns next to the cursor.
class TFastLineSeries : public TChartSeries
{
public:
    TFastLineSeries();
    ~TFastLineSeries() override;

    /// The line's pen: width, style, visibility (its colour is not used; the
    /// line takes the series colour).
    TChartPen &LinePen() { return m_linePen; }
    const TChartPen &LinePen() const { return m_linePen; }
    void SetLinePen(const TChartPen &value) { m_linePen.CopyFrom(value); }
    bool ClickableLine() const { return m_settings.ClickableLine; }
    void SetClickableLine(bool value) { SetAndInvalidate(this, m_settings.ClickableLine, value); }

    /// From another fast line: its settings and pen; from a line, point or
    /// area series: its line pen and clickable line; then the base series'
    /// settings.
    void CopyFrom(const TChartSeries &source) override;

    // ---- drawing and hit testing ------------------------------------------------
    /// Draws the whole line, column by column where the pen allows.
    void DrawAllPoints(const TSeriesPaintContext &context) override;
    /// Draws the segment from the previously drawn point to point index (the
    /// way a chart drawing several series point by point calls it).
    void DrawPoint(const TSeriesPaintContext &context, int index) override;
    /// As the line series answers, point by point in ascending order: a
    /// drawn point at (x, y), else the point the drawn segment into it under
    /// (x, y) starts at; -1 when the line is not hit or not clickable. Only
    /// the columns next to x are looked at when the columns run in order.
    int HitTest(const TSeriesPaintContext &context, int x, int y) const override;
    using TChartSeries::HitTest;
    /// A horizontal line through the middle of rect in the line's pen.
    /// The line is drawn in the series' colour alone: so are its values in
    /// the legend (none for a null point, which the line skips).
    TColor LegendEntryColor(int i) const override;
    void DrawLegendSymbol(const TSeriesPaintContext &context, int index,
                          const TRect &rect) override;
    /// Marks stand at the line's depth.
    void DrawPointMark(const TSeriesPaintContext &context, int index, const QString &text,
                       TSeriesMarkPosition &position) override;

    void RemoveAllPoints() override;
    void RemovePoint(int index) override;
    void SwapPoints(int i, int j) override;

protected:
    /// Whether the line may be drawn column by column with the pen in force:
    /// a visible solid pen in copy mode.
    virtual bool DrawsColumns() const;

    void PointAdded(int index) override;
    void EmptyLists() override;

private:
    /// The drawn points of one pixel column that follow each other: indices
    /// First..Last (points skipped as undrawable may lie between), the
    /// column X, the pixels the one-pixel segments inside it cover (Top >
    /// Bottom: none), the first and last point's y, the lowest and highest
    /// y, and whether a segment leads into it from the previous column.
    struct TColumnRun
    {
        int First;
        int Last;
        int X;
        int Top;
        int Bottom;
        int FirstY;
        int LastY;
        int Low;
        int High;
        bool Joined;
    };

    /// Everything the screen positions of the points depend on.
    struct TGeometryKey
    {
        int First = -1;
        int Last = -1;
        int Count = 0;
        const void *HorizAxis = nullptr;
        const void *VertAxis = nullptr;
        double Ranges[4] = {};
        int Pixels[4] = {};
        int AxisFlags = 0;
        bool NullByDefault = false;
        bool View3D = false;
        int Depth = 0;
        double Projection[16] = {};
        friend bool operator==(const TGeometryKey &, const TGeometryKey &) = default;
    };

    /// The screen position of point index, projected to the line's depth in
    /// a 3D view; false when the point lies too far off screen to draw.
    bool ScreenPoint(const TSeriesPaintContext &context, int index, TPoint &point) const;
    bool NullAt(int index) const;
    /// Where the line enters from the chart edge when points lie left of the
    /// shown range (the right edge with an inverted axis); false when it does
    /// not.
    bool EntryPoint(const TSeriesPaintContext &context, TPoint &point) const;
    void PrepareLinePen(const TSeriesPaintContext &context, TColor color) const;
    /// The columns, brought up to date for context (or built again); a
    /// paint also looks for points turned null or back.
    void RefreshColumns(const TSeriesPaintContext &context, bool painting) const;
    /// False when the key cannot describe the view (an unknown canvas).
    bool MakeKey(const TSeriesPaintContext &context, TGeometryKey &key) const;
    void BuildColumns(const TSeriesPaintContext &context) const;
    /// Builds the columns of a flat line whose X values rise, reading only
    /// the shown points: each column's points found by halving along X,
    /// its span from the lowest and highest of their values. False, with
    /// nothing built, when the view or the values do not allow it.
    bool BuildOrderedColumns(const TSeriesPaintContext &context, int first, int last) const;
    /// Adds the column of points first..last, which all lie at screen x.
    void AddColumn(const TSeriesPaintContext &context, int first, int last, int x,
                   bool &joined) const;
    /// The indices of the points coloured clNone, kept until the colours
    /// change.
    const std::vector<int> &NullPoints() const;
    /// Recomputes the column holding point index; false when the columns
    /// must be built again.
    bool UpdateColumnOf(const TSeriesPaintContext &context, int index) const;
    /// Fills run's span and end points from its points; false when one of
    /// them left its column.
    bool MeasureRun(const TSeriesPaintContext &context, TColumnRun &run) const;
    void DrawColumns(const TSeriesPaintContext &context);
    /// The segment from the previously drawn point to point index, in the
    /// pen already loaded.
    void DrawSegmentTo(const TSeriesPaintContext &context, int index);
    /// A change of the point values or of the points themselves.
    void HeardValueChange(bool yList, int index);
    void ForgetColumns() { m_columnsStale = true; }
    /// The hit test of run k: its first point, the segment into it, and
    /// the points and segments inside it; -1 when none holds (x, y).
    int HitIn(const TSeriesPaintContext &context, int k, int x, int y) const;

    TFastLineSeriesSettings m_settings;
    TChartPen m_linePen;

    // Per-point drawing state for DrawPoint.
    TPoint m_prev;
    bool m_hasPrev = false;

    // The column cache and what it was built for.
    mutable std::vector<TColumnRun> m_runs;
    mutable TGeometryKey m_key;
    mutable bool m_columnsStale = true;
    /// -1, 0, 1: the columns' X fall, wander, rise along the runs.
    mutable int m_runOrder = 0;
    mutable std::vector<int> m_changedPoints;
    mutable std::uint64_t m_colorsSeen = UINT64_MAX;
    mutable std::vector<int> m_nullPoints;
    mutable std::uint64_t m_nullPointsVersion = UINT64_MAX;
};

} // namespace kov
