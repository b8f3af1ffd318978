#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/series/series.h"

#include <vector>

// The pie series: one slice per point, its angle proportional to the point's
// absolute value, drawn flat or as a tilted 3D pie, without axes.
namespace kov {

/// The settings of a pie series that copying takes besides its pen.
struct TPieSeriesSettings
{
    /// Round even in a wide or tall chart rectangle (else an ellipse filling
    /// it).
    bool Circled = true;
    /// Shade the rim and cut faces of a 3D pie.
    bool Dark3D = true;
    /// Percent of the radius the biggest slice is moved out by.
    int ExplodeBiggest = 0;
    /// Degrees counter-clockwise from 3 o'clock at which the first slice
    /// starts.
    int RotationAngle = 0;
    /// Degrees the 3D pie is tilted towards the viewer (90: seen from above).
    int Tilt3D = 40;
    /// Height of the 3D pie's walls, in percent of its radius.
    int Thickness3D = 15;
    /// The hole in the middle, in percent of the radius (0: a whole pie).
    int DonutPercent = 0;
};

/// One slice of the pie as laid out for a paint.
struct TPieSlice
{
    /// The point the slice shows.
    int Index = 0;
    /// Angles in radians, counter-clockwise from 3 o'clock; End > Start.
    double Start = 0;
    double End = 0;
    /// The slice's own centre (moved out when exploded).
    TPoint Centre;

    double Middle() const { return (Start + End) / 2; }
};

/// The mark of one slice as placed by a paint: in a column left or right of
/// the pie, reached by a leader line bent once.
struct TPieLabel
{
    int Index = 0;
    /// The mark text, shortened with "…" where the column is too narrow.
    QString Text;
    /// The box, the point on the rim the leader starts at, its bend and its
    /// end at the box.
    TRect Box;
    TPoint Rim;
    TPoint Bend;
    TPoint End;
};

/// Where the pie lies in the chart rectangle and its slices in point order.
struct TPieLayout
{
    TPoint Centre;
    int XRadius = 0;
    int YRadius = 0;
    /// How far exploded slices reach out from the centre, across.
    int OuterXRadius = 0;
    /// Height of the walls (0 in a flat chart).
    int Thickness = 0;
    std::vector<TPieSlice> Slices;
};

/// Slices run counter-clockwise from RotationAngle in point order, each as
/// large as its point's share of the absolute values of the slices; a zero or
/// null point takes no slice (and has no legend entry or mark, and counts in
/// no percentage), and a pie whose points are all zero draws nothing. Slices
/// take the palette colours (ColorEachPoint is on at creation) and are
/// outlined with PiePen. The pie fills the chart rectangle, leaving room for
/// the marks, which stand in a column left and one right of it on leader
/// lines; the marks never make the pie smaller than half the radius it has
/// without them, and a text too wide for its column is shortened with "…".
/// The chart draws no axes for it and its values take no part in axis ranges.
class TPieSeries : public TChartSeries
{
public:
    TPieSeries();

    // ---- properties -----------------------------------------------------------
    bool Circled() const { return m_pie.Circled; }
    void SetCircled(bool value) { SetAndInvalidate(this, m_pie.Circled, value); }
    bool Dark3D() const { return m_pie.Dark3D; }
    void SetDark3D(bool value) { SetAndInvalidate(this, m_pie.Dark3D, value); }
    int ExplodeBiggest() const { return m_pie.ExplodeBiggest; }
    /// ChartException "Pie Explode must be between 0 and 100 %".
    void SetExplodeBiggest(int value);
    int RotationAngle() const { return m_pie.RotationAngle; }
    /// ChartException "Pie Rotation Angle must be between 0 and 359 degrees".
    void SetRotationAngle(int value);
    int Tilt3D() const { return m_pie.Tilt3D; }
    /// ChartException "Pie Tilt must be between 10 and 90 degrees".
    void SetTilt3D(int value);
    int Thickness3D() const { return m_pie.Thickness3D; }
    /// ChartException "Pie Thickness must be between 0 and 100 %".
    void SetThickness3D(int value);
    int DonutPercent() const { return m_pie.DonutPercent; }
    /// ChartException "Pie Donut must be between 0 and 99 %".
    void SetDonutPercent(int value);
    TChartPen &PiePen() { return m_piePen; }
    const TChartPen &PiePen() const { return m_piePen; }
    void SetPiePen(const TChartPen &value) { m_piePen.CopyFrom(value); }
    /// Percent of the radius slice index is moved out by (0 unless set).
    int SliceExplode(int index) const;
    /// ListIndexError for an index that is not a point; ChartException "Pie
    /// Explode must be between 0 and 100 %" for a bad percent.
    void SetSliceExplode(int index, int percent);

    /// Copies the settings of another pie series, then the base series'.
    void CopyFrom(const TChartSeries &source) override;

    // ---- layout, drawing and hit testing ------------------------------------
    /// The pie as it lies in the context's chart rectangle (marks' room as
    /// measured at the last paint).
    void Layout(const TSeriesPaintContext &context, TPieLayout &layout) const;
    /// Draws every slice, in a 3D chart from the back to the front.
    void DrawAllPoints(const TSeriesPaintContext &context) override;
    /// Draws the slice of point index as laid out by the current paint.
    void DrawPoint(const TSeriesPaintContext &context, int index) override;
    /// The point whose slice (top face, or a wall facing the viewer) covers
    /// (x, y); -1 for none.
    int HitTest(const TSeriesPaintContext &context, int x, int y) const override;
    using TChartSeries::HitTest;
    bool HasAxes() const override { return false; }

    // ---- marks and legend -----------------------------------------------------------
    /// The rim of the slice in the middle of its arc (at the foot of the wall
    /// on the front half of a 3D pie).
    TPoint MarkPoint(const TSeriesPaintContext &context, int index) const override;
    /// The leader line runs ArrowLength further out; the box sits beyond its
    /// end.
    void DrawPointMark(const TSeriesPaintContext &context, int index, const QString &text,
                       TSeriesMarkPosition &position) override;
    /// Empty for a point without a slice.
    QString MarkText(int index) const override;
    /// The share of the slice in the pie (0 for a point without a slice).
    double PointPercent(int index) const override;
    /// The sum of the slices' absolute values.
    double PercentTotal() const override;
    /// The marks as the last paint placed them, in point order.
    const std::vector<TPieLabel> &Labels() const { return m_labels; }
    /// The slices, in point order.
    int LegendItemCount() const override;
    int LegendToPointIndex(int i) const override;

    void FillSamplePoints(int count) override;
    /// A handful of slices: a sample pie of many reads as noise.
    int SamplePointCount() const override { return 6; }
    void RemovePoint(int index) override;
    /// Swaps the slices' explode values with the points.
    void SwapPoints(int i, int j) override;

protected:
    /// A point inserted before others moves their explode values along.
    void PointAdded(int index) override;
    void EmptyLists() override;

private:
    bool HasSlice(int index) const;
    /// The largest absolute value of a slice, the sum of the slices'
    /// absolute values in units of it (so that no sum overflows) and the
    /// index of the biggest slice (-1 without slices).
    struct TShares
    {
        double Largest = 0;
        double Sum = 0;
        int Biggest = -1;
    };
    TShares Shares() const;
    /// The slice of point index in the current paint's layout, or null.
    const TPieSlice *SliceOf(int index) const;
    void DrawSlice(const TSeriesPaintContext &context, const TPieSlice &slice);
    /// Lays the pie out leaving room for the marks, and places the marks.
    void LayOutWithMarks(const TSeriesPaintContext &context);
    /// Places the marks in two columns beside the pie as laid out.
    void PlaceLabels(const TSeriesPaintContext &context, int padding, int frame);
    /// Whether (x, y), in the plane of the pie, lies on the slice.
    bool SliceHit(const TPieLayout &layout, const TPieSlice &slice, int x, int y) const;

    TPieSeriesSettings m_pie;
    TChartPen m_piePen;
    std::vector<int> m_sliceExplode;
    // The layout of the current paint, and the drawing order of its slices.
    TPieLayout m_layout;
    std::vector<int> m_order;
    std::vector<TPieLabel> m_labels;
    int m_markRoomX = 0;
    int m_markRoomY = 0;
};

} // namespace kov
