#include "chart/series/series_paint_context.h"

#include "chart/axis/axis.h"
#include "chart/axis/axis_mapping.h"
#include "chart/canvas/chart_canvas.h"
#include "chart/canvas/graphics.h"

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

void TSeriesPaintContext::SelectFont(const TFont &font) const
{
    SelectCanvasFont(Canvas.Font(), font);
}

void TSeriesPaintContext::AdjustPenForPrinting(TPen &pen) const
{
    kov::AdjustPenForPrinting(pen, Printing);
}

} // namespace kov
