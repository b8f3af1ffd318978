#include "chart/plot/chart_wall.h"

#include "chart/canvas/chart_canvas3d.h"
#include "chart/plot/axis_panel.h"

namespace kov {

TCustomChartWall::TCustomChartWall(TCustomAxisPanel *owner, TColor defaultColor)
    : m_owner(owner), m_brush(SubObjectHandler(owner)), m_pen(SubObjectHandler(owner)),
      m_defaultColor(defaultColor)
{
    m_settings.Color = defaultColor;
}

TCustomChartWall::~TCustomChartWall()
{
    m_brush.OnChange = nullptr;
    m_pen.OnChange = nullptr;
}

void TCustomChartWall::SetColor(TColor value)
{
    SetAndInvalidate(m_owner, m_settings.Color, value);
}

void TCustomChartWall::SetBrush(const TBrush &value)
{
    if (&value != &m_brush)
        m_brush.CopyFrom(value);
}

void TCustomChartWall::SetDark3D(bool value)
{
    SetAndInvalidate(m_owner, m_settings.Dark3D, value);
}

void TCustomChartWall::SetPen(const TPen &value)
{
    if (&value != &m_pen)
        m_pen.CopyFrom(value);
}

void TCustomChartWall::SetSize(int value)
{
    SetAndInvalidate(m_owner, m_settings.Size, value);
}

bool TCustomChartWall::WallShaded() const
{
    return m_brush.Style() != bsClear && !m_brush.HasBitmap() && m_settings.Dark3D;
}

void TCustomChartWall::PrepareCanvas()
{
    if (!m_owner)
        return;
    TChartCanvas3D &canvas = m_owner->ChartCanvas();
    canvas.ApplyChartPen(m_pen);
    if (m_brush.HasBitmap()) {
        canvas.Brush().SetBitmap(m_brush.Bitmap());
        return;
    }
    canvas.Brush().SetBitmap(QImage());
    if (m_settings.Color == clDefault && m_brush.Style() == bsSolid)
        canvas.Brush().SetStyle(bsClear);
    else
        SetCanvasBrush(canvas, m_settings.Color, m_brush.Style(), m_brush.Color());
}

void TCustomChartWall::CopyFrom(const TCustomChartWall &source)
{
    using Wall = TCustomChartWall;
    if (CopyParts(*this, source, &Wall::m_settings, &Wall::m_brush, &Wall::m_pen) && m_owner)
        m_owner->InvalidatePanel();
}

int ChartWallThickness(const TCustomAxisPanel &chart, const TCustomChartWall &leftWall,
                       const TCustomChartWall &bottomWall, const TCustomChartAxis *axis)
{
    if (!chart.View3D() || !chart.View3DWalls() || !axis)
        return 0;
    if (axis == chart.LeftAxis())
        return leftWall.Size();
    if (axis == chart.BottomAxis())
        return bottomWall.Size();
    return 0;
}

void PaintChartWalls(TCustomAxisPanel &chart, TCustomChartWall &backWall,
                     TCustomChartWall &leftWall, TCustomChartWall &bottomWall, bool backImageInside)
{
    TChartCanvas3D &canvas = chart.ChartCanvas();
    const TRect rect = chart.ChartRect();
    const int l = rect.Left;
    const int t = rect.Top;
    const int r = rect.Right;
    const int b = rect.Bottom;
    const int d = chart.Width3D();
    const bool walls3D = chart.View3D() && chart.View3DWalls();
    const int leftThickness = ChartWallThickness(chart, leftWall, bottomWall, chart.LeftAxis());
    const int bottomThickness = ChartWallThickness(chart, leftWall, bottomWall, chart.BottomAxis());

    backWall.PrepareCanvas();
    if (!chart.View3D()) {
        // The outline covers the chart rectangle including its right and
        // bottom edge pixels.
        canvas.DrawRectangle(l, t, r + 1, b + 1);
    } else if (walls3D) {
        if (backWall.Size() > 0) {
            const int s = d < 0 ? -backWall.Size() : backWall.Size();
            canvas.DrawCube(l - leftThickness, r, t, b + bottomThickness, d, d + s,
                            backWall.WallShaded());
        } else {
            canvas.DrawRectangle3D(TRect{l + 1, t - 1, r, b}, d);
        }
    }

    if (backImageInside && !chart.BackImage().IsEmpty()) {
        // Keep the picture inside the back wall's outline so the frame stays
        // whole on every side.
        TRect inside = rect;
        if (backWall.Pen().Visible()) {
            ++inside.Left;
            ++inside.Top;
        }
        chart.DrawBackImageAt(inside, d);
    }

    if (!walls3D)
        return;

    leftWall.PrepareCanvas();
    if (leftWall.Size() > 0)
        canvas.DrawCube(l - leftWall.Size(), l, t, b + bottomThickness, 0, d,
                        leftWall.WallShaded());
    else
        canvas.DrawSidePlane(l, t, b + bottomThickness, 0, d + 1);

    bottomWall.PrepareCanvas();
    const int y = canvas.IsHardware3D() ? b + 1 : b;
    if (bottomWall.Size() > 0)
        canvas.DrawCube(l, r, y, y + bottomWall.Size(), 0, d, bottomWall.WallShaded());
    else
        canvas.DrawFloorPlane(l, y, r, 0, d);
}

} // namespace kov
