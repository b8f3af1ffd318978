#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/canvas/graphics.h"
#include "chart/canvas/rect.h"
#include "chart/series/series.h"
#include "chart/series/series_pointer.h"

#include <functional>

// The shared base of the line, point and area series: points joined by
// segments (straight or as stairs, flat or as a 3D ribbon), a marker at each
// point, and the hit test that turns a mouse position into a point index.
namespace kov {

class TCustomSeries;
class TCanvas3D;

/// A click landed on the marker of point ValueIndex.
using TSeriesClickPointerEvent =
    std::function<void(TCustomSeries *Sender, int ValueIndex, int X, int Y)>;
/// The marker shape of one point.
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries *Sender, int ValueIndex)>;

/// The settings of a custom series that copying takes besides its pens and
/// pointer.
struct TCustomSeriesSettings
{
    /// Fill style and colour of an area series (clDefault: the point colour).
    TBrushStyle AreaBrush = bsSolid;
    TColor AreaColor = clDefault;
    /// Segments between points count as hits.
    bool ClickableLine = true;
    /// Darken the underside of a 3D line ribbon.
    bool Dark3D = true;
    /// Fill down to the origin (area series).
    bool DrawArea = false;
    /// Draw segments between points.
    bool DrawLine = false;
    /// Stairs rise first, then run.
    bool InvertedStairs = false;
    /// Fill of the 3D line ribbon; bsClear draws no ribbon.
    TBrushStyle LineBrush = bsSolid;
    /// Thickness of a 3D line in pixels.
    int LineHeight = 0;
    /// Steps instead of straight segments: run, then rise.
    bool Stairs = false;
};

class TCustomSeries : public TChartSeries
{
public:
    TCustomSeries();
    ~TCustomSeries() override;

    // ---- properties ---------------------------------------------------------
    TBrushStyle AreaBrush() const { return m_settings.AreaBrush; }
    void SetAreaBrush(TBrushStyle value) { SetAndInvalidate(this, m_settings.AreaBrush, value); }
    TColor AreaColor() const { return m_settings.AreaColor; }
    void SetAreaColor(TColor value) { SetAndInvalidate(this, m_settings.AreaColor, value); }
    TChartPen &AreaLinesPen() { return m_areaLinesPen; }
    const TChartPen &AreaLinesPen() const { return m_areaLinesPen; }
    void SetAreaLinesPen(const TChartPen &value) { m_areaLinesPen.CopyFrom(value); }
    bool ClickableLine() const { return m_settings.ClickableLine; }
    void SetClickableLine(bool value) { m_settings.ClickableLine = value; }
    bool Dark3D() const { return m_settings.Dark3D; }
    void SetDark3D(bool value) { SetAndInvalidate(this, m_settings.Dark3D, value); }
    bool DrawArea() const { return m_settings.DrawArea; }
    void SetDrawArea(bool value) { SetAndInvalidate(this, m_settings.DrawArea, value); }
    bool DrawLine() const { return m_settings.DrawLine; }
    void SetDrawLine(bool value) { SetAndInvalidate(this, m_settings.DrawLine, value); }
    bool InvertedStairs() const { return m_settings.InvertedStairs; }
    void SetInvertedStairs(bool value) { SetAndInvalidate(this, m_settings.InvertedStairs, value); }
    TBrushStyle LineBrush() const { return m_settings.LineBrush; }
    void SetLineBrush(TBrushStyle value) { SetAndInvalidate(this, m_settings.LineBrush, value); }
    int LineHeight() const { return m_settings.LineHeight; }
    void SetLineHeight(int value) { SetAndInvalidate(this, m_settings.LineHeight, value); }
    /// Pen of the segments. In a flat chart each segment is drawn in the
    /// colour of the point it leads to, not in this pen's colour.
    TChartPen &LinePen() { return m_linePen; }
    const TChartPen &LinePen() const { return m_linePen; }
    void SetLinePen(const TChartPen &value) { m_linePen.CopyFrom(value); }
    TSeriesPointer &Pointer() { return m_pointer; }
    const TSeriesPointer &Pointer() const { return m_pointer; }
    void SetPointer(const TSeriesPointer &value) { m_pointer.CopyFrom(value); }
    bool Stairs() const { return m_settings.Stairs; }
    void SetStairs(bool value) { SetAndInvalidate(this, m_settings.Stairs, value); }

    TSeriesClickPointerEvent OnClickPointer;
    TOnGetPointerStyle OnGetPointerStyle;

    /// Copies the settings of another custom series (not its points, events
    /// or drawing state), then the base series' settings.
    void CopyFrom(const TChartSeries &source) override;

    // ---- drawing and hit testing -----------------------------------------------
    // Everything is drawn and hit-tested against the context's canvas and
    // axes (screen positions here are the context's, not PointScreenX's).
    /// Draws point i: the segment from the previously drawn point and the
    /// marker of that previous point, so that markers lie on top of both
    /// segments meeting at them. Called for every shown index in ascending
    /// order within one paint.
    void DrawPoint(const TSeriesPaintContext &context, int index) override;
    /// The first point (in ascending order) whose marker or incoming segment
    /// contains (x, y); a click on the segment from i - 1 to i gives i - 1.
    /// -1 when nothing is hit.
    int HitTest(const TSeriesPaintContext &context, int x, int y) const override;
    using TChartSeries::HitTest;
    void DrawLegendSymbol(const TSeriesPaintContext &context, int index,
                          const TRect &rect) override;
    /// Draws the mark at the series' front depth, its box and arrow end
    /// lifted by Marks.ArrowLength above the point.
    void DrawPointMark(const TSeriesPaintContext &context, int index, const QString &text,
                       TSeriesMarkPosition &position) override;
    void ExtraHorizMargins(int &left, int &right) const override;
    void ExtraVertMargins(int &top, int &bottom) const override;
    QString EditorName() const override { return QStringLiteral("TCustomSeriesEditor"); }

    /// True when (x, y) lies strictly within the marker sizes of the point at
    /// (px, py).
    virtual bool MarkerHit(int index, int px, int py, int x, int y) const;
    /// Draws the marker of point index at (x, y) in colour.
    virtual void DrawMarker(const TSeriesPaintContext &context, int x, int y, TColor color,
                            int index);
    /// Screen y of the series' origin for point index: the bottom pixel of the
    /// vertical axis.
    virtual int OriginPosition(const TSeriesPaintContext &context, int index) const;

    /// The Y value point index is drawn at: its own value here; a stacked
    /// area draws it on top of the series below.
    virtual double DrawnY(int index) const { return PointY(index); }
    /// The drawn point.
    TPoint MarkPoint(const TSeriesPaintContext &context, int index) const override;

    /// Screen y at which the segment from point j to point j + 1 crosses the
    /// vertical line at X value xValue (the chart edge when the first shown
    /// point is not the first point).
    int EdgeEntryY(const TSeriesPaintContext &context, int j, double xValue) const;

protected:
    /// Loads LinePen for a flat segment in colour.
    void PrepareLinePen(const TSeriesPaintContext &context, TColor color) const;
    /// True when the click lies on the connection from (qx, qy) to (px, py)
    /// as drawn (straight, stairs, or the 3D ribbon).
    bool SegmentHit(const TSeriesPaintContext &context, int x, int y, int px, int py, int qx,
                    int qy) const;

private:
    void DrawConnection(const TSeriesPaintContext &context, int index, int x, int y, TColor c,
                        bool last, bool withMarkers);
    void DrawRibbon(const TSeriesPaintContext &context, int x, int y, TColor c, bool last);
    void DrawAreaPiece(const TSeriesPaintContext &context, int x, int y, TColor c, bool last);
    void DrawAreaFront(const TSeriesPaintContext &context, int x, int y, TColor c, bool last);
    void FlushPendingMarker(const TSeriesPaintContext &context);
    TCustomSeriesSettings m_settings;
    TChartPen m_areaLinesPen;
    TChartPen m_linePen;
    TSeriesPointer m_pointer;

    // Drawing state carried from one DrawPoint to the next within a paint.
    int m_baseline = 0;
    int m_prevBaseline = 0;
    TPoint m_prev;
    TColor m_prevColor = clNone;
    double m_slope3D = 1.0;
    // Where the last dividing line of a flat area was drawn, and whether the
    // current run of area pieces has one yet.
    int m_dividerX = 0;
    bool m_dividerDrawn = false;
    // The marker of the last drawn point waits until the segment out of it is
    // drawn. Kept apart from the previous colour so that a point skipped for
    // lying far off screen neither loses nor misplaces that marker.
    bool m_markerPending = false;
    TPoint m_marker;
    TColor m_markerColor = clNone;
    int m_markerIndex = -1;
};

} // namespace kov
