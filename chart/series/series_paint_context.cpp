#include "chart/series/series_paint_context.h"

#include "chart/axis/axis.h"
#include "chart/axis/axis_mapping.h"
#include "chart/canvas/canvas3d.h"
#include "chart/canvas/graphics.h"

#include <QPolygon>

namespace kov {

namespace {

int AxisPos(const TCustomChartAxis *axis, double value)
{
    return axis ? axis->ValueToPos(value) : 0;
}

double AxisValue(const TCustomChartAxis *axis, int pos)
{
    return axis ? axis->PosToValue(pos) : 0.0;
}

} // namespace

int TSeriesAxes::XPos(double value) const
{
    return HorizMapping ? HorizMapping->ValueToPos(value) : AxisPos(HorizAxis, value);
}

int TSeriesAxes::YPos(double value) const
{
    return VertMapping ? VertMapping->ValueToPos(value) : AxisPos(VertAxis, value);
}

double TSeriesAxes::XValue(int x) const
{
    return HorizMapping ? HorizMapping->PosToValue(x) : AxisValue(HorizAxis, x);
}

double TSeriesAxes::YValue(int y) const
{
    return VertMapping ? VertMapping->PosToValue(y) : AxisValue(VertAxis, y);
}

bool TSeriesPaintContext::HorizInverted() const
{
    return HorizAxis && HorizAxis->Inverted();
}

int TSeriesPaintContext::VertEndPixel() const
{
    return VertAxis ? VertAxis->Mapping().EndPixel : 0;
}

bool TSeriesPaintContext::ShowsPixel(int x, int y) const
{
    if (!ClipPoints)
        return true;
    const TRect &r = ChartRect;
    if (!View3D) // the canvas clips a flat chart to the rectangle's inside
        return x > r.Left && x < r.Right && y > r.Top && y < r.Bottom - 1;
    // In depth the clip is the outline of the projected cube.
    QPoint corners[8];
    int n = 0;
    for (int z : {0, ChartDepth})
        for (const TPoint &c : {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top},
                                TPoint{r.Right, r.Bottom}, TPoint{r.Left, r.Bottom}}) {
            TPoint p;
            Canvas.ProjectToPoint(c.X, c.Y, p, z);
            corners[n++] = QPoint(p.X, p.Y);
        }
    n = ConvexHull(corners, n);
    return QPolygon(QList<QPoint>(corners, corners + n))
        .containsPoint(QPoint(x, y), Qt::OddEvenFill);
}

void TSeriesPaintContext::SelectFont(const TFont &font) const
{
    SelectCanvasFont(Canvas.Font(), font);
}

void TSeriesPaintContext::AdjustPenForPrinting(TPen &pen) const
{
    kov::AdjustPenForPrinting(pen, Printing);
}

} // namespace kov
