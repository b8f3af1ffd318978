#include "demo_area_pie_scenes.h"

#include "chart/chart.h"
#include "chart/series/area_series.h"
#include "chart/series/pie_series.h"

#include <QStringList>
#include <memory>

namespace kov {

namespace {

const char *const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// Monthly energy use of one building by what it went to (kWh).
const double Heating[] = {610, 560, 450, 300, 150, 40, 20, 30, 120, 290, 470, 590};
const double Lighting[] = {260, 230, 200, 170, 140, 120, 115, 130, 165, 205, 240, 265};
const double Equipment[] = {360, 350, 365, 355, 350, 330, 300, 310, 360, 370, 365, 350};

// A year's energy use by source (kWh); solar gave nothing that year.
const char *const Sources[] = {"Gas", "Grid", "Heat pump", "Solar", "Wood", "Oil"};
const double BySource[] = {4200, 3100, 1800, 0, 950, 400};

void AddArea(TChart &chart, const char *title, const double *values, TColor color,
             TMultiArea multiArea)
{
    auto series = std::make_unique<TAreaSeries>();
    series->SetTitle(QString::fromLatin1(title));
    series->SetSeriesColor(color);
    series->SetMultiArea(multiArea);
    for (int m = 0; m < 12; ++m)
        series->AppendPoint(values[m], QString::fromLatin1(Months[m]));
    chart.AddSeries(std::move(series));
}

TPieSeries *AddPie(TChart &chart)
{
    auto series = std::make_unique<TPieSeries>();
    series->SetTitle(QStringLiteral("Sources"));
    for (int i = 0; i < 6; ++i)
        series->AppendPoint(BySource[i], QString::fromLatin1(Sources[i]));
    series->Marks().SetStyle(smsLabelPercent);
    series->Marks().SetVisible(true);
    // Leader lines that read on the light background.
    series->Marks().Arrow().SetColor(clGray);
    return chart.AddSeries(std::move(series));
}

} // namespace

bool ApplyAreaPieScene(TChart &chart, const QString &name)
{
    if (name == QLatin1String("area-stacked")) {
        chart.DestroyAllSeries();
        chart.Title().SetText(QStringList{QStringLiteral("Energy use by purpose (kWh)")});
        AddArea(chart, "Equipment", Equipment, 0x4080C0, maStacked);
        AddArea(chart, "Lighting", Lighting, 0x40C0E0, maStacked);
        AddArea(chart, "Heating", Heating, 0x3050D0, maStacked);
    } else if (name == QLatin1String("area-3d")) {
        chart.DestroyAllSeries();
        chart.SetView3D(true);
        chart.Title().SetText(QStringList{QStringLiteral("Heating and lighting (kWh)")});
        AddArea(chart, "Heating", Heating, 0x3050D0, maNone);
        AddArea(chart, "Lighting", Lighting, 0x40C0E0, maNone);
        chart.SeriesAt(1)->Marks().SetVisible(true);
    } else if (name == QLatin1String("pie")) {
        chart.DestroyAllSeries();
        chart.Title().SetText(QStringList{QStringLiteral("Energy by source (kWh)")});
        AddPie(chart)->SetExplodeBiggest(12);
        chart.Legend().SetTextStyle(ltsRightValue);
    } else if (name == QLatin1String("pie-3d")) {
        chart.DestroyAllSeries();
        chart.SetView3D(true);
        chart.Title().SetText(QStringList{QStringLiteral("Energy by source (kWh)")});
        TPieSeries *pie = AddPie(chart);
        pie->SetRotationAngle(30);
        pie->SetSliceExplode(4, 20);
        chart.Legend().SetTextStyle(ltsRightPercent);
    } else if (name == QLatin1String("donut")) {
        chart.DestroyAllSeries();
        chart.Title().SetText(QStringList{QStringLiteral("Energy by source (kWh)")});
        TPieSeries *pie = AddPie(chart);
        pie->SetDonutPercent(50);
        pie->SetRotationAngle(90);
        pie->Marks().SetStyle(smsLabelValue);
        chart.Legend().SetTextStyle(ltsRightPercent);
    } else {
        return false;
    }
    return true;
}

} // namespace kov
