#include "demo_scenes.h"

#include "demo_area_pie_scenes.h"
#include "demo_bar_scenes.h"

#include "chart/canvas/text_lines.h"
#include "chart/chart.h"
#include "chart/functions/series_function.h"
#include "chart/gallery/series_gallery.h"
#include "chart/series/fast_line_series.h"
#include "chart/series/line_series.h"
#include "chart/series/series_registry.h"

#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace kov {

namespace {

const double BuildingA[] = {1234.5, 1180.2, 1050.8, 890.4, 760.0,  640.3,
                            610.9,  655.2,  780.6,  950.1, 1120.7, 1260.3};
const double BuildingB[] = {820.4, 790.1, 740.6, 650.3, 590.8, 560.2,
                            575.5, 600.9, 640.0, 700.2, 760.8, 810.5};
const char *const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

TLineSeries *SeriesOf(TChart &chart, int i)
{
    return i < chart.CountSeries() ? dynamic_cast<TLineSeries *>(chart.SeriesAt(i)) : nullptr;
}

/// A million samples of a noisy wave in place of the demo's two series.
void ShowMillionSamples(TChart &chart)
{
    for (int i = 0; i < chart.CountSeries(); ++i)
        chart.SeriesAt(i)->SetActive(false);
    chart.Legend().SetVisible(false);
    chart.Title().SetText(QStringList{QStringLiteral("A million samples of a noisy wave")});
    auto *series = chart.AddSeries(std::make_unique<TFastLineSeries>());
    series->SetTitle(QStringLiteral("Samples"));
    series->SetSeriesColor(clNavy);
    constexpr int Count = 1000000;
    std::uint32_t r = 12345;
    for (int i = 0; i < Count; ++i) {
        r = r * 1664525u + 1013904223u;
        series->AppendPointXY(i, 128 + 90 * std::sin(i * 6.283185307179586 * 3 / Count) +
                                     double(r >> 24) / 255.0 * 30 - 15);
    }
}

void ShowValueMarks(TChartSeries &series)
{
    series.Marks().SetStyle(smsValue);
    series.Marks().SetVisible(true);
}

} // namespace

const std::vector<TDemoScene> &DemoScenes()
{
    static const std::vector<TDemoScene> scenes = {
        {QStringLiteral("legend-right"),
         QStringLiteral("two line series, the legend of series at the right (the default)")},
        {QStringLiteral("legend-left"), QStringLiteral("the legend of series at the left")},
        {QStringLiteral("legend-top"),
         QStringLiteral("the legend at the top, its items in a row below the title")},
        {QStringLiteral("legend-bottom"),
         QStringLiteral("the legend at the bottom, with dividing lines between the items")},
        {QStringLiteral("legend-values"),
         QStringLiteral("one series shown: the legend lists its values, inverted")},
        {QStringLiteral("marks-value"),
         QStringLiteral("value marks in boxes with arrows over both series")},
        {QStringLiteral("marks-label"),
         QStringLiteral("label and value marks in two lines, transparent, without frames")},
        {QStringLiteral("view-3d"),
         QStringLiteral("the 3D view, the legend at the bottom, value marks on one series")},
        {QStringLiteral("zoomed"),
         QStringLiteral("zoomed into the middle of the year, as after a zoom drag, with marks")},
        {QStringLiteral("fastline-1m"),
         QStringLiteral(
             "a million samples as a fast line, drawn by pixel columns; zoom and pan it")},
        {QStringLiteral("functions"),
         QStringLiteral("one series with its moving average and its quarterly high and low")},
        {QStringLiteral("gallery"),
         QStringLiteral("the series gallery, as the Add series button opens it")},
        {QStringLiteral("area-stacked"), QStringLiteral("three area series stacked")},
        {QStringLiteral("area-3d"), QStringLiteral("two area series in the 3D view, marks on one")},
        {QStringLiteral("pie"), QStringLiteral("a pie with marks and its biggest slice exploded")},
        {QStringLiteral("pie-3d"), QStringLiteral("a 3D pie, turned, one slice exploded")},
        {QStringLiteral("donut"),
         QStringLiteral("a donut: a pie with a hole of half its radius, marks on leader lines")},
    };
    static const std::vector<TDemoScene> all = [] {
        std::vector<TDemoScene> list = scenes;
        list.insert(list.end(), BarDemoScenes().begin(), BarDemoScenes().end());
        return list;
    }();
    return all;
}

bool IsDemoScene(const QString &name)
{
    const auto &scenes = DemoScenes();
    return std::any_of(scenes.begin(), scenes.end(),
                       [&](const TDemoScene &scene) { return scene.Name == name; });
}

void BuildDemoChart(TChart &chart)
{
    chart.SetView3D(false);
    chart.Title().SetText(QStringList{QStringLiteral("Monthly energy use (kWh)")});
    chart.BackWall().Brush().SetStyle(bsClear);

    const double *data[] = {BuildingA, BuildingB};
    const char *titles[] = {"Building A", "Building B"};
    const TSeriesPointerStyle shapes[] = {psCircle, psRectangle};
    for (int s = 0; s < 2; ++s) {
        auto series = std::make_unique<TLineSeries>();
        series->SetTitle(QString::fromLatin1(titles[s]));
        series->Pointer().SetVisible(true);
        series->Pointer().SetStyle(shapes[s]);
        series->LinePen().SetWidth(2);
        for (int m = 0; m < 12; ++m)
            series->AppendPoint(data[s][m], QString::fromLatin1(Months[m]));
        chart.AddSeries(std::move(series));
    }
}

bool ApplyDemoScene(TChart &chart, const QString &name, const std::function<void()> &draw)
{
    if (!IsDemoScene(name))
        return false;
    if (ApplyAreaPieScene(chart, name) || ApplyBarScene(chart, name))
        return true;
    TChartLegend &legend = chart.Legend();
    TLineSeries *a = SeriesOf(chart, 0);
    TLineSeries *b = SeriesOf(chart, 1);
    if (!a || !b)
        return false;

    if (name == QLatin1String("legend-left")) {
        legend.SetAlignment(laLeft);
    } else if (name == QLatin1String("legend-top")) {
        legend.SetAlignment(laTop);
    } else if (name == QLatin1String("legend-bottom")) {
        legend.SetAlignment(laBottom);
        legend.DividingLines().SetVisible(true);
        legend.DividingLines().SetColor(clGray);
    } else if (name == QLatin1String("legend-values")) {
        b->SetActive(false);
        legend.SetInverted(true);
        legend.SetTextStyle(ltsRightValue);
        a->SetColorEachPoint(true);
    } else if (name == QLatin1String("marks-value")) {
        ShowValueMarks(*a);
        ShowValueMarks(*b);
        b->Marks().SetBackColor(0xE0FFE0);
    } else if (name == QLatin1String("marks-label")) {
        a->Marks().SetStyle(smsLabelValue);
        a->Marks().SetTransparent(true);
        a->Marks().Frame().SetVisible(false);
        a->Marks().SetVisible(true);
        // "Jan 1,234.5": the label goes on a line of its own above the value.
        a->OnGetMarkText = [](TChartSeries *, int, QString &text) {
            SplitIntoLines(text, QStringLiteral(" "));
        };
        a->Marks().Font().SetStyle(fsBold);
    } else if (name == QLatin1String("view-3d")) {
        chart.SetView3D(true);
        legend.SetAlignment(laBottom);
        ShowValueMarks(*a);
    } else if (name == QLatin1String("fastline-1m")) {
        ShowMillionSamples(chart);
    } else if (name == QLatin1String("zoomed")) {
        ShowValueMarks(*a);
        ShowValueMarks(*b);
        if (draw)
            draw();
        // The frame a user would drag from March to September, top to bottom.
        TZoomPanningRecord &zoom = chart.ZoomRecord();
        const TRect r = chart.ChartRect();
        zoom.StartX = chart.BottomAxis()->ValueToPos(2.5);
        zoom.EndX = chart.BottomAxis()->ValueToPos(8.5);
        zoom.StartY = r.Top;
        zoom.EndY = r.Bottom - 1;
        chart.Mouse().ZoomToFrame();
    } else if (name == QLatin1String("functions")) {
        b->SetActive(false);
        a->SetTitle(QStringLiteral("Building A"));
        struct
        {
            std::unique_ptr<TSeriesFunction> Function;
            const char *Title;
            TColor Color;
        } derived[] = {
            {std::make_unique<TAverageFunction>(), "Moving average (3 months)", clBlue},
            {std::make_unique<THighFunction>(), "Quarterly high", clGreen},
            {std::make_unique<TLowFunction>(), "Quarterly low", clMaroon},
        };
        for (auto &d : derived) {
            d.Function->SetPeriod(3);
            auto series = std::make_unique<TLineSeries>();
            series->SetTitle(QString::fromLatin1(d.Title));
            series->SetSeriesColor(d.Color);
            series->LinePen().SetWidth(2);
            series->AttachFunction(std::move(d.Function));
            series->SetDataSource(a);
            chart.AddSeries(std::move(series));
        }
        chart.Legend().SetAlignment(laBottom);
    }
    return true;
}

TChartSeries *AddDemoSeries(TChart &chart, const QString &className)
{
    const TSeriesRegistration *entry = TSeriesRegistry::Instance().Find(className);
    if (!entry || chart.CountSeries() < 2)
        return nullptr;
    std::unique_ptr<TChartSeries> series = TSeriesRegistry::Instance().CreateSeries(className);
    series->SetTitle(entry->DisplayName);
    if (auto *line = dynamic_cast<TCustomSeries *>(series.get()))
        line->LinePen().SetWidth(2);
    TChartSeries *added = chart.AddSeries(std::move(series));
    if (entry->IsFunction()) {
        added->AddDataSource(chart.SeriesAt(0));
        added->AddDataSource(chart.SeriesAt(1));
    } else {
        added->CopyAllPointsFrom(chart.SeriesAt(0));
    }
    return added;
}

QImage RenderDemoScene(const QString &name, QSize size)
{
    if (!IsDemoScene(name) || size.isEmpty())
        return QImage();
    if (name == QLatin1String("gallery")) {
        TSeriesGalleryDialog dialog;
        dialog.resize(size);
        dialog.Gallery()->SetCurrentIndex(1);
        return dialog.grab().toImage();
    }
    TChart chart;
    chart.resize(size);
    BuildDemoChart(chart);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    auto draw = [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        chart.DrawToCanvas(&painter, TRect{0, 0, size.width(), size.height()});
    };
    ApplyDemoScene(chart, name, draw);
    draw();
    return image;
}

} // namespace kov
