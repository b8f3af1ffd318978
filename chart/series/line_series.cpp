#include "chart/series/line_series.h"

#include "chart/axis_panel.h"

namespace kov {

TLineSeries::TLineSeries()
{
    SetDrawLine(true);
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

void TLineSeries::SetUpLegendCanvas(int /*index*/, TColor & /*backColor*/, TBrushStyle &style)
{
    if (TCustomAxisPanel *chart = ParentChart())
        chart->ChartCanvas().ApplyChartPen(LinePen());
    style = LineBrush();
}

TPointSeries::TPointSeries()
{
    SetDrawLine(false);
    SetClickableLine(false);
    Pointer().SetVisible(true);
}

void TPointSeries::CopyFrom(const TChartSeries &source)
{
    TCustomSeries::CopyFrom(source);
    Pointer().SetVisible(true);
    SetDrawLine(false);
    SetDrawArea(false);
    SetClickableLine(false);
}

TAreaSeries::TAreaSeries()
{
    SetDrawArea(true);
    Pointer().SetVisible(false);
}

void TAreaSeries::SetMultiArea(TMultiArea value)
{
    SetAndInvalidate(this, m_multiArea, value);
}

} // namespace kov
