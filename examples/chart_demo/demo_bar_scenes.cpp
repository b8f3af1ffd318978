#include "demo_bar_scenes.h"

#include "chart/chart.h"
#include "chart/series/bar_series.h"

#include <QStringList>
#include <algorithm>
#include <memory>

namespace kov {

namespace {

const char *const Quarters[] = {"Q1 2025", "Q2 2025", "Q3 2025", "Q4 2025", "Q1 2026", "Q2 2026"};
constexpr int QuarterCount = 6;
// Sales by region, with a loss in one quarter to show bars below the origin.
const double North[] = {42.0, 55.5, 61.2, 48.9, 66.0, 71.3};
const double South[] = {30.5, 28.0, -12.4, 35.1, 40.2, 38.8};
const double West[] = {18.2, 22.9, 25.4, 31.0, 27.5, 33.6};

template <typename Bars> void AddRegions(TChart &chart, int regions)
{
    const double *data[] = {North, South, West};
    const char *titles[] = {"North", "South", "West"};
    for (int r = 0; r < regions; ++r) {
        auto series = std::make_unique<Bars>();
        series->SetTitle(QString::fromLatin1(titles[r]));
        for (int q = 0; q < QuarterCount; ++q)
            series->AppendPoint(data[r][q], QString::fromLatin1(Quarters[q]));
        chart.AddSeries(std::move(series));
    }
}

TCustomBarSeries *BarsOf(TChart &chart, int i)
{
    return dynamic_cast<TCustomBarSeries *>(chart.SeriesAt(i));
}

} // namespace

const std::vector<TDemoScene> &BarDemoScenes()
{
    static const std::vector<TDemoScene> scenes = {
        {QStringLiteral("bars-side"),
         QStringLiteral("three bar series side by side, one value below the origin, value marks")},
        {QStringLiteral("bars-stacked"),
         QStringLiteral("the bar series stacked, the negative value below the axis")},
        {QStringLiteral("bars-100"), QStringLiteral("the bar series stacked to 100 %")},
        {QStringLiteral("hbars"),
         QStringLiteral("horizontal bars side by side with marks beyond their ends")},
        {QStringLiteral("bars-inside"),
         QStringLiteral("stacked bars with their values centred on each bar")},
        {QStringLiteral("hbars-inside"),
         QStringLiteral("horizontal bars with their values just inside the bars' ends")},
        {QStringLiteral("bars-3d"),
         QStringLiteral("3D bars: cubes, a pyramid and a cylinder series, stacked")},
    };
    return scenes;
}

bool ApplyBarScene(TChart &chart, const QString &name)
{
    const auto &scenes = BarDemoScenes();
    if (std::none_of(scenes.begin(), scenes.end(),
                     [&](const TDemoScene &scene) { return scene.Name == name; }))
        return false;
    chart.DestroyAllSeries();
    chart.Title().SetText(QStringList{QStringLiteral("Sales by region (k€)")});

    if (name == QLatin1String("hbars") || name == QLatin1String("hbars-inside")) {
        AddRegions<THorizBarSeries>(chart, 2);
        for (int i = 0; i < 2; ++i) {
            BarsOf(chart, i)->Marks().SetStyle(smsValue);
            BarsOf(chart, i)->Marks().SetVisible(true);
            if (name == QLatin1String("hbars-inside"))
                BarsOf(chart, i)->SetMarksLocation(bmlInsideEnd);
        }
        return true;
    }
    AddRegions<TBarSeries>(chart, 3);
    TCustomBarSeries *north = BarsOf(chart, 0);
    if (name == QLatin1String("bars-side")) {
        for (int i = 0; i < 3; ++i) {
            BarsOf(chart, i)->Marks().SetStyle(smsValue);
            BarsOf(chart, i)->Marks().SetVisible(true);
        }
    } else if (name == QLatin1String("bars-stacked")) {
        north->SetMultiBar(mbStacked);
    } else if (name == QLatin1String("bars-100")) {
        north->SetMultiBar(mbStacked100);
        for (int i = 0; i < 3; ++i)
            BarsOf(chart, i)->SetBarWidthPercent(90);
        chart.Legend().SetAlignment(laBottom);
    } else if (name == QLatin1String("bars-inside")) {
        north->SetMultiBar(mbStacked);
        for (int i = 0; i < 3; ++i) {
            BarsOf(chart, i)->SetBarWidthPercent(80);
            BarsOf(chart, i)->Marks().SetStyle(smsValue);
            BarsOf(chart, i)->Marks().SetVisible(true);
            BarsOf(chart, i)->SetMarksLocation(bmlCenter);
        }
    } else if (name == QLatin1String("bars-3d")) {
        chart.SetView3D(true);
        north->SetMultiBar(mbStacked);
        BarsOf(chart, 1)->SetBarStyle(bstPyramid);
        BarsOf(chart, 2)->SetBarStyle(bstCylinder);
    }
    return true;
}

} // namespace kov
