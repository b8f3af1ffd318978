#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/canvas/graphics.h"
#include "chart/canvas/rect.h"
#include "chart/kovchart_export.h"
#include "chart/series/series.h"

#include <cstdint>
#include <vector>

// Bars: one solid per point, growing from an origin value to the point's
// value, as vertical bars (TBarSeries) or along the vertical axis
// (THorizBarSeries). Several bar series of one type in a chart stand side by
// side, overlap, or stack (to their sum or to 100 %).
namespace kov {

/// The solid a bar is drawn as.
enum TBarStyle { bstRectangle, bstPyramid, bstInvPyramid, bstCylinder, bstEllipse };

/// How the bar series of one type in a chart share the space of a point.
enum TMultiBar { mbNone, mbSide, mbStacked, mbStacked100 };

/// Where a bar's mark sits: beyond the bar's end with an arrow, or on the
/// bar itself (just inside its end, or at its middle) without box or arrow,
/// in a text colour that reads on the bar.
enum TBarMarksLocation { bmlOutside, bmlInsideEnd, bmlCenter };

/// The settings of a bar series that copying takes besides its pen.
struct KOVCHART_EXPORT TBarSeriesSettings
{
    TBarStyle BarStyle = bstRectangle;
    /// Fill style of the bars (their colour is the point's).
    TBrushStyle BarBrush = bsSolid;
    /// Width of the bars of one point, in percent of the space per point.
    int BarWidthPercent = 70;
    /// Width of the bars of one point in units of the position axis; 0
    /// takes BarWidthPercent instead.
    double BarWidthUnits = 0;
    /// Shift of each bar along the positions, in percent of its width.
    int OffsetPercent = 0;
    TMultiBar MultiBar = mbSide;
    /// The value bars grow from when UseOrigin; else they grow from the
    /// small end of the value axis.
    double Origin = 0;
    bool UseOrigin = true;
    /// Darken the side and top faces of 3D bars.
    bool Dark3D = true;
    TBarMarksLocation MarksLocation = bmlOutside;
};

/// Where one bar lies on the screen: its box on the front plane (right and
/// bottom exclusive) and the pixel of its value end.
struct KOVCHART_EXPORT TBarBox
{
    TRect Box;
    /// The middle of the end away from the origin: where marks point.
    TPoint End;
    /// True when the value lies below (left of, for horizontal bars) the
    /// origin.
    bool Negative = false;
};

/// The base of vertical and horizontal bar series: bar style, width, offset, origin and stacking.
class KOVCHART_EXPORT TCustomBarSeries : public TChartSeries
{
public:
    TCustomBarSeries();
    ~TCustomBarSeries() override;

    // ---- properties ---------------------------------------------------------------
    TBarStyle BarStyle() const { return m_settings.BarStyle; }
    void SetBarStyle(TBarStyle value) { SetAndInvalidate(this, m_settings.BarStyle, value); }
    TBrushStyle BarBrush() const { return m_settings.BarBrush; }
    void SetBarBrush(TBrushStyle value) { SetAndInvalidate(this, m_settings.BarBrush, value); }
    int BarWidthPercent() const { return m_settings.BarWidthPercent; }
    /// 1 to 100, else ChartException "Bar width percent must be between 1 and
    /// 100".
    void SetBarWidthPercent(int value);
    double BarWidthUnits() const { return m_settings.BarWidthUnits; }
    /// A finite number not below 0 (0: the width follows BarWidthPercent),
    /// else ChartException "Bar width in axis units must be a finite number
    /// not below 0".
    void SetBarWidthUnits(double value);
    int OffsetPercent() const { return m_settings.OffsetPercent; }
    /// -100 to 100, else ChartException "Bar offset percent must be between
    /// -100 and 100".
    void SetOffsetPercent(int value);
    /// Side by side or stacked is a choice for all bar series of this type
    /// in a chart at once: the first of them in the chart holds it, so a
    /// series added later follows it too.
    TMultiBar MultiBar() const;
    /// Sets the value on every bar series of this type in the parent chart.
    void SetMultiBar(TMultiBar value);
    TBarMarksLocation MarksLocation() const { return m_settings.MarksLocation; }
    void SetMarksLocation(TBarMarksLocation value)
    {
        SetAndInvalidate(this, m_settings.MarksLocation, value);
    }
    double Origin() const { return m_settings.Origin; }
    /// A finite number, else ChartException "Bar origin must be a finite
    /// number".
    void SetOrigin(double value);
    bool UseOrigin() const { return m_settings.UseOrigin; }
    void SetUseOrigin(bool value) { SetAndInvalidate(this, m_settings.UseOrigin, value); }
    bool Dark3D() const { return m_settings.Dark3D; }
    void SetDark3D(bool value) { SetAndInvalidate(this, m_settings.Dark3D, value); }
    /// Outline of the bars.
    TChartPen &BarPen() { return m_barPen; }
    const TChartPen &BarPen() const { return m_barPen; }
    void SetBarPen(const TChartPen &value) { m_barPen.CopyFrom(value); }

    /// Copies the settings of another bar series (of either direction), then
    /// the base series' settings.
    void CopyFrom(const TChartSeries &source) override;

    // ---- values and ranges -----------------------------------------------------------
    /// The value a bar grows from in the stacking modes: the sum of the
    /// values of the active series of this type before this one at the
    /// position of point index (each series' first non-null point there)
    /// whose values have the sign of this one's (zero counting as positive),
    /// so negative values stack downwards. With sumAll: the sum of the
    /// absolute values of all of them (the column total of stacked-100 %).
    double StackBase(int index, bool sumAll) const override;
    /// The value at which the bar of index starts, and the value at which it
    /// ends, on the value axis (in percent for stacked-100 %); false when
    /// the point draws no bar (null, or a stacked-100 % column of zeros).
    bool BarValues(int index, double &start, double &end) const;
    double LargestX() const override;
    double LargestY() const override;
    double SmallestX() const override;
    double SmallestY() const override;
    /// The bars of points up to this far beyond the axis' range reach into
    /// the view: half the bars' width, and their offset.
    double PositionReach() const override;
    /// Half a bar space beside the first and the last position, so that the
    /// end bars are not cut at the chart's edges; with marks shown outside,
    /// room for them beyond the bars' ends on the pixel side the bars grow
    /// to, at most half the value axis between both ends.
    void ExtraHorizMargins(int &left, int &right) const override;
    void ExtraVertMargins(int &top, int &bottom) const override;
    /// Bar series sharing a point's space (side by side or stacked) share
    /// one depth in a 3D chart.
    void AssignZOrder() override;

    // ---- drawing and hit testing ---------------------------------------------------
    /// The bar of point index against the context's axes; false for a point
    /// that draws no bar.
    bool BarBounds(const TSeriesPaintContext &context, int index, TBarBox &bar) const;
    void BeforeDrawPoints() override;
    /// Draws every shown bar. Flat bars too thin to show their inside are
    /// solid blocks: runs of them in one column and colour are filled at
    /// once, which gives the same pixels.
    void DrawAllPoints(const TSeriesPaintContext &context) override;
    void DrawPoint(const TSeriesPaintContext &context, int index) override;
    /// The last shown point whose bar covers (x, y) as drawn, outline
    /// included; -1 when none does, or when the chart clips (x, y) away.
    int HitTest(const TSeriesPaintContext &context, int x, int y) const override;
    using TChartSeries::HitTest;
    /// The middle of the bar's value end.
    TPoint MarkPoint(const TSeriesPaintContext &context, int index) const override;
    /// Puts the mark beyond the bar's end: above a bar (below one growing
    /// down), right of a horizontal bar (left of one growing left),
    /// Marks.ArrowLength away; or on the bar as MarksLocation says.
    void DrawPointMark(const TSeriesPaintContext &context, int index, const QString &text,
                       TSeriesMarkPosition &position) override;
    /// The legend box takes BarPen and the BarBrush style.
    void SetUpLegendCanvas(const TSeriesPaintContext &context, int index, TColor &backColor,
                           TBrushStyle &style) override;
    QString EditorName() const override { return QStringLiteral("TBarSeriesEditor"); }
    /// Few enough bars that each shows as a bar in a small sample chart.
    int SamplePointCount() const override { return 8; }
    /// Whether 3D bars leave out the faces that later bars of the series
    /// paint over in the same paint (on by default: the picture is the same).
    /// Off draws every face, to compare pictures with.
    bool SkipsHiddenFaces() const { return m_skipHidden; }
    void SetSkipsHiddenFaces(bool value) { m_skipHidden = value; }
    /// The faces the last paint left out.
    int HiddenFacesSkipped() const { return m_facesSkipped; }

protected:
    /// The list that places the bars: X for vertical bars, Y for horizontal.
    TChartValueList *PositionList() const;

private:
    /// How wide the bars of this series are and where this one sits within
    /// a point's space, in pixels.
    struct Layout
    {
        int Width = 1;
        /// From the point's position to the bar's leading edge.
        int Shift = 0;
        /// MultiBar, read once for every bar of the paint.
        TMultiBar Multi = mbSide;
    };
    Layout ComputeLayout(const TSeriesPaintContext &context) const;
    /// BarValues with the given way of sharing a point's space.
    bool BarValuesAs(TMultiBar multi, int index, double &start, double &end) const;
    /// The distance between neighbouring positions, in values (1 with fewer
    /// than two distinct positions).
    double PositionSpacing() const;
    /// Pixels between neighbouring positions on the given axis.
    int SpaceInPixels(const TCustomChartAxis *axis) const;
    /// Width of the bars of one point in pixels on the given axis.
    int GroupInPixels(const TCustomChartAxis *axis) const;
    /// Width of the bars of one point in position values.
    double GroupInValues() const;
    /// The point of this series at position (the one at hint when it lies
    /// there), or -1.
    int IndexAtPosition(double position, int hint) const;
    /// Half a bar space in pixels on the position axis as it is laid out
    /// before the margins are taken.
    int HalfSpaceMargin() const;
    /// Pixels the marks outside need beyond the bars' ends at the value
    /// axis' start pixel side (left, or top) and at its end side (right, or
    /// bottom); 0 on a side no bar grows to. Together at most half the axis.
    void MarkMargins(int &startSide, int &endSide) const;
    /// Places the mark's box on the bar as MarksLocation says.
    void PlaceInside(const TBarBox &bar, TSeriesMarkPosition &position) const;
    /// Calls visit for each active series of this type in the parent chart
    /// in chart order (this one alone without a chart) until it returns
    /// false.
    template <typename Visit> void ForEachSibling(Visit visit) const;
    /// The number of active series of this type and this one's place among
    /// them.
    void SiblingPlace(int &count, int &place) const;
    bool BoxWith(const TSeriesPaintContext &context, int index, const Layout &layout,
                 TBarBox &bar) const;
    /// The smallest or largest value the bars reach on the value axis.
    double ValueExtreme(bool wantMaximum) const;
    double OriginValue() const;
    /// The faces of a 3D box, as bits; Planned marks a box whose faces
    /// PlanHiddenFaces chose, drawn face by face.
    enum BoxFace : unsigned { FrontFace = 1, SideFace = 2, TopFace = 4, AllFaces = 7, Planned = 8 };
    /// Draws the solid of bar with colour c; of a planned 3D box only the
    /// given faces.
    void DrawBar(const TSeriesPaintContext &context, const TBarBox &bar, TColor c,
                 unsigned faces = AllFaces) const;
    /// Whether (x, y) lies on the solid of bar as drawn.
    bool BarContains(const TSeriesPaintContext &context, const TBarBox &bar, int x, int y) const;

    TBarSeriesSettings m_settings;
    TChartPen m_barPen;
    /// Whether the bar drawing faces of box is one block of a single
    /// colour, and which; box becomes the block.
    bool IsSolidBlock(const TSeriesPaintContext &context, unsigned faces, TColor pointColor,
                      TRect &box, TColor &blockColor) const;
    void FlushBlock(const TSeriesPaintContext &context);

    // The layout of the current paint, taken at its first drawn point.
    Layout m_paintLayout;
    bool m_layoutStale = true;
    /// Whether the front face of a box whose faces are planned paints a
    /// rectangle of one colour, and which.
    bool FrontBlock(const TSeriesPaintContext &context, const TRect &box, TColor c, TRect &block,
                    TColor &blockColor) const;
    /// Draws the front face of a box whose faces are planned, with colour c.
    void DrawFrontFace(const TSeriesPaintContext &context, const TRect &box, TColor c) const;
    /// Finds, for the shown bars of a 3D paint, the faces that later bars
    /// paint over; m_faces holds what each bar draws.
    void PlanHiddenFaces(const TSeriesPaintContext &context);
    /// The faces of the box of bar index to draw now.
    unsigned FacesToDraw(int index);

    bool m_skipHidden = true;
    int m_facesSkipped = 0;
    // The faces each shown bar draws (from m_facesFirst on), and the last
    // point drawn: the plan holds while the paint goes forward.
    std::vector<std::uint8_t> m_faces;
    int m_facesFirst = 0;
    int m_lastDrawn = -1;
    // Solid blocks waiting to be filled as one, while DrawAllPoints draws.
    bool m_sweeping = false;
    bool m_blockPending = false;
    TRect m_block;
    TColor m_blockColor = clNone;
};

/// Vertical bars: positions along the horizontal axis, values up.
class KOVCHART_EXPORT TBarSeries : public TCustomBarSeries
{
public:
    TBarSeries() = default;
};

/// Horizontal bars: positions (the point index) up the vertical axis, values
/// along the horizontal axis.
class KOVCHART_EXPORT THorizBarSeries : public TCustomBarSeries
{
public:
    THorizBarSeries();

    /// The X list: values lie along the horizontal axis.
    TChartValueList *MainValueList() const override { return XValues(); }
};

} // namespace kov
