#include "chart/series/line_series.h"

#include "chart/canvas/canvas3d.h"

namespace kov {

TLineSeries::TLineSeries()
{
    SetDrawLine(true);
    SetAllowSinglePoint(false);
    Pointer().SetVisible(false);
}

void TLineSeries::CopyFrom(const TChartSeries &source)
{
    TCustomSeries::CopyFrom(source);
    SetDrawArea(false);
    SetDrawLine(true);
    if (!dynamic_cast<const TLineSeries *>(&source))
        Pointer().SetVisible(false);
}

void TLineSeries::SetUpLegendCanvas(const TSeriesPaintContext &context, int /*index*/,
                                    TColor & /*backColor*/, TBrushStyle &style)
{
    context.Canvas.ApplyChartPen(LinePen());
    style = LineBrush();
}

TPointSeries::TPointSeries()
{
    SetDrawLine(false);
    SetClickableLine(false);
    Pointer().SetVisible(true);
    Marks().SetArrowLength(0);
}

void TPointSeries::SetColorEachPoint(bool value)
{
    TCustomSeries::SetColorEachPoint(value);
    if (value)
        Pointer().Brush().SetColor(clDefault);
}

void TPointSeries::CopyFrom(const TChartSeries &source)
{
    TCustomSeries::CopyFrom(source);
    Pointer().SetVisible(true);
    SetDrawLine(false);
    SetDrawArea(false);
    SetClickableLine(false);
}

} // namespace kov
