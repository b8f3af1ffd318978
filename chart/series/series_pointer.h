#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/canvas/graphics.h"
#include "chart/canvas/rect.h"
#include "chart/color.h"
#include "chart/panel/chart_brush.h"
#include "chart/series/series_paint_context.h"

// The marker a line or point series draws at each of its points: one of nine
// shapes, flat in a 2D chart and as boxes, pyramids or shapes at the series'
// depth in a 3D chart.
namespace kov {

class TCanvas3D;

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

/// The settings of a pointer that CopyFrom copies besides its brush and pen.
struct TSeriesPointerSettings
{
    /// Darken the side and top faces of 3D markers.
    bool Dark3D = true;
    /// In a 3D chart draw boxes and pyramids instead of flat shapes.
    bool Draw3D = true;
    int HorizSize = 4;
    /// Ask the axes for room so that markers at the ends are not cut.
    bool InflateMargins = true;
    TSeriesPointerStyle Style = psRectangle;
    int VertSize = 4;
    bool Visible = true;
};

/// The markers of a series. Owned by its series, which hears of every change
/// through the pointer's change handler. Sizes are half sizes: a marker spans x - HorizSize ..
/// x + HorizSize and y - VertSize .. y + VertSize.
class TSeriesPointer
{
public:
    /// onChange hears of every change (the owning series repaints).
    explicit TSeriesPointer(TChangeHandler onChange);
    ~TSeriesPointer();
    TSeriesPointer(const TSeriesPointer &) = delete;
    TSeriesPointer &operator=(const TSeriesPointer &) = delete;

    /// Marker fill; colour clDefault means the colour of the point.
    TChartBrush &Brush() { return m_brush; }
    const TChartBrush &Brush() const { return m_brush; }
    void SetBrush(const TBrush &value) { m_brush.CopyFrom(value); }
    bool Dark3D() const { return m_settings.Dark3D; }
    void SetDark3D(bool value) { SetAndInvalidate(m_changed, m_settings.Dark3D, value); }
    bool Draw3D() const { return m_settings.Draw3D; }
    void SetDraw3D(bool value) { SetAndInvalidate(m_changed, m_settings.Draw3D, value); }
    int HorizSize() const { return m_settings.HorizSize; }
    /// Below 1 raises ChartException "Pointer size must be greater than zero"
    /// and keeps the old size.
    void SetHorizSize(int value);
    bool InflateMargins() const { return m_settings.InflateMargins; }
    void SetInflateMargins(bool value)
    {
        SetAndInvalidate(m_changed, m_settings.InflateMargins, value);
    }
    /// Marker outline; colour clDefault means the colour of the point.
    TChartPen &Pen() { return m_pen; }
    const TChartPen &Pen() const { return m_pen; }
    void SetPen(const TChartPen &value) { m_pen.CopyFrom(value); }
    TSeriesPointerStyle Style() const { return m_settings.Style; }
    void SetStyle(TSeriesPointerStyle value)
    {
        SetAndInvalidate(m_changed, m_settings.Style, value);
    }
    int VertSize() const { return m_settings.VertSize; }
    void SetVertSize(int value);
    bool Visible() const { return m_settings.Visible; }
    void SetVisible(bool value) { SetAndInvalidate(m_changed, m_settings.Visible, value); }

    /// Copies brush, pen, sizes, style and the flags of another pointer.
    void CopyFrom(const TSeriesPointer &source);

    /// Loads the pointer's pen and brush into canvas, putting the point
    /// colour wherever they say clDefault.
    void PrepareMarkerCanvas(TCanvas3D &canvas, TColor color) const;
    /// Draws one marker centred on (x, y) with the prepared pen and brush;
    /// is3D selects the depth shapes, drawn at the context's series depth.
    void DrawMarkerShape(const TSeriesPaintContext &context, bool is3D, int x, int y, int halfWidth,
                         int halfHeight, TColor color, TSeriesPointerStyle style) const;
    /// Widens the margins so that a marker at either end fits (when visible
    /// and InflateMargins).
    void CalcHorizMargins(int &left, int &right) const;
    void CalcVertMargins(int &top, int &bottom) const;
    /// A marker for a legend entry in the centre of rect, smaller when a line
    /// is drawn through it.
    void DrawLegendShape(const TSeriesPaintContext &context, TColor color, const TRect &rect,
                         bool linePenVisible) const;

private:
    /// The owner's change handler, heard by the settings, the brush and the
    /// pen.
    TChangeHandler m_changed;
    TSeriesPointerSettings m_settings;
    TChartBrush m_brush;
    TChartPen m_pen;
};

} // namespace kov
