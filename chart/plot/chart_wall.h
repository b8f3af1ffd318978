#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/color.h"
#include "chart/panel/chart_brush.h"

// The chart's walls: the back wall behind the plot (in a flat chart just the
// outline around the chart rectangle) and, in a 3D view, the left and bottom
// walls along the left and bottom axes. A wall is a flat plane or, with a
// Size, a box whose sides can be shaded.
namespace kov {

class TCustomAxisPanel;
class TCustomChartAxis;

/// The settings of a wall that CopyFrom copies besides its brush and pen.
struct TChartWallSettings
{
    /// Fill colour; clDefault leaves the wall unfilled unless its brush has
    /// another style or a bitmap.
    TColor Color = clDefault;
    /// Shade the sides of a wall drawn as a box.
    bool Dark3D = true;
    /// Thickness in pixels; 0 draws the wall as a flat plane.
    int Size = 0;
};

class TCustomChartWall
{
public:
    /// owner may be null (a free-standing wall only stores its settings);
    /// defaultColor is the colour the wall starts with and is not stored as.
    explicit TCustomChartWall(TCustomAxisPanel *owner, TColor defaultColor = clDefault);
    TCustomChartWall(const TCustomChartWall &) = delete;
    TCustomChartWall &operator=(const TCustomChartWall &) = delete;
    virtual ~TCustomChartWall();

    /// Fill colour; clDefault leaves the wall unfilled unless its brush has
    /// another style or a bitmap.
    TColor Color() const { return m_settings.Color; }
    void SetColor(TColor value);
    /// Fill pattern, pattern colour or bitmap.
    TChartBrush &Brush() { return m_brush; }
    const TChartBrush &Brush() const { return m_brush; }
    void SetBrush(const TBrush &value);
    /// Shade the sides of a wall drawn as a box.
    bool Dark3D() const { return m_settings.Dark3D; }
    void SetDark3D(bool value);
    /// Outline (visible, black, solid, width 1).
    TChartPen &Pen() { return m_pen; }
    const TChartPen &Pen() const { return m_pen; }
    void SetPen(const TPen &value);
    /// Thickness in pixels; 0 draws the wall as a flat plane.
    int Size() const { return m_settings.Size; }
    void SetSize(int value);
    TCustomAxisPanel *ParentChart() const { return m_owner; }

    TColor DefaultColor() const { return m_defaultColor; }
    /// Color is stored only when it differs from the default colour.
    bool IsColorStored() const { return m_settings.Color != m_defaultColor; }
    /// Box sides are darkened unless the brush is clear, has a bitmap, or
    /// Dark3D is off.
    bool WallShaded() const;

    /// Loads the wall's pen and fill into the owning chart's canvas.
    void PrepareCanvas();

    /// From another wall: Brush, Color, Dark3D, Pen, Size.
    virtual void CopyFrom(const TCustomChartWall &source);

private:
    TCustomAxisPanel *m_owner;
    TChartWallSettings m_settings;
    TChartBrush m_brush;
    TChartPen m_pen;
    TColor m_defaultColor;
};

/// The wall as a chart publishes it.
class TChartWall : public TCustomChartWall
{
public:
    using TCustomChartWall::TCustomChartWall;
};

/// Default colours of the left and bottom walls.
inline constexpr TColor LeftWallDefaultColor = 0x80FFFF;
inline constexpr TColor BottomWallDefaultColor = 0xFFFFFF;

/// Room a wall takes beside an axis: 0 unless View3D and View3DWalls are both
/// on; then the left wall's size for the left axis, the bottom wall's size for
/// the bottom axis, 0 for any other axis.
int ChartWallThickness(const TCustomAxisPanel &chart, const TCustomChartWall &leftWall,
                       const TCustomChartWall &bottomWall, const TCustomChartAxis *axis);

/// Draws the walls of a chart around its current chart rectangle: the back
/// wall (outline in a flat chart, plane or box in 3D with walls), the
/// background picture inside the chart rectangle when backImageInside is set,
/// then in 3D with walls the left and bottom walls.
void PaintChartWalls(TCustomAxisPanel &chart, TCustomChartWall &backWall,
                     TCustomChartWall &leftWall, TCustomChartWall &bottomWall,
                     bool backImageInside);

} // namespace kov
