#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/canvas/graphics.h"
#include "chart/canvas/rect.h"
#include "chart/chart_brush.h"
#include "chart/color.h"

// The marker a line or point series draws at each of its points: one of nine
// shapes, flat in a 2D chart and as boxes, pyramids or shapes at the series'
// depth in a 3D chart.
namespace kov {

class TCustomSeries;

enum TSeriesPointerStyle {
    psRectangle,
    psCircle,
    psTriangle,
    psDownTriangle,
    psCross,
    psDiagCross,
    psStar,
    psDiamond,
    psSmallDot
};

/// The markers of a series. Owned by its series, which it asks to repaint on
/// every change. Sizes are half sizes: a marker spans x - HorizSize ..
/// x + HorizSize and y - VertSize .. y + VertSize.
class TSeriesPointer
{
public:
    explicit TSeriesPointer(TCustomSeries *owner);
    ~TSeriesPointer();
    TSeriesPointer(const TSeriesPointer &) = delete;
    TSeriesPointer &operator=(const TSeriesPointer &) = delete;

    /// Marker fill; colour clDefault means the colour of the point.
    TChartBrush &Brush() { return m_brush; }
    const TChartBrush &Brush() const { return m_brush; }
    void SetBrush(const TBrush &value) { m_brush.CopyFrom(value); }
    /// Darken the side and top faces of 3D markers.
    bool Dark3D() const { return m_dark3D; }
    void SetDark3D(bool value);
    /// In a 3D chart draw boxes and pyramids instead of flat shapes.
    bool Draw3D() const { return m_draw3D; }
    void SetDraw3D(bool value);
    int HorizSize() const { return m_horizSize; }
    /// Below 1 raises ChartException "Pointer size must be greater than zero"
    /// and keeps the old size.
    void SetHorizSize(int value);
    /// Ask the axes for room so that markers at the ends are not cut.
    bool InflateMargins() const { return m_inflateMargins; }
    void SetInflateMargins(bool value);
    /// Marker outline; colour clDefault means the colour of the point.
    TChartPen &Pen() { return m_pen; }
    const TChartPen &Pen() const { return m_pen; }
    void SetPen(const TChartPen &value) { m_pen.CopyFrom(value); }
    TSeriesPointerStyle Style() const { return m_style; }
    void SetStyle(TSeriesPointerStyle value);
    int VertSize() const { return m_vertSize; }
    void SetVertSize(int value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    TCustomSeries *ParentSeries() const { return m_owner; }

    /// Copies brush, pen, sizes, style and the flags of another pointer.
    void CopyFrom(const TSeriesPointer &source);

    /// Loads the pointer's pen and brush into the chart canvas, putting the
    /// point colour wherever they say clDefault.
    void PrepareMarkerCanvas(TColor color);
    /// Draws one marker centred on (x, y) with the prepared pen and brush;
    /// is3D selects the depth shapes.
    void DrawMarkerShape(bool is3D, int x, int y, int halfWidth, int halfHeight, TColor color,
                         TSeriesPointerStyle style);
    /// Widens the margins so that a marker at either end fits (when visible
    /// and InflateMargins).
    void CalcHorizMargins(int &left, int &right) const;
    void CalcVertMargins(int &top, int &bottom) const;
    /// A marker for a legend entry in the centre of rect, smaller when a line
    /// is drawn through it.
    void DrawLegendShape(TColor color, const TRect &rect, bool linePenVisible);

private:
    void Changed();

    TCustomSeries *m_owner;
    TChartBrush m_brush;
    bool m_dark3D = true;
    bool m_draw3D = true;
    int m_horizSize = 4;
    bool m_inflateMargins = true;
    TChartPen m_pen;
    TSeriesPointerStyle m_style = psRectangle;
    int m_vertSize = 4;
    bool m_visible = true;
};

} // namespace kov
