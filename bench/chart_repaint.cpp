// Repaint of the main window's chart: Chart1 and Series1 set up as the
// window sets them up, 950 x 510, one point changed per iteration (as while a
// point is dragged) and the whole picture drawn again into the chart's buffer
// and onto a window-sized image, as a paint event does.
#include "app/chart_setup.h"
#include "app/display_modes.h"
#include "bench/wave_chart.h"
#include "chart/chart.h"
#include "chart/series/bar_series.h"
#include "chart/series/fast_line_series.h"
#include "chart/series/line_series.h"

#include <QImage>
#include <QLocale>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace kov;

using kov::bench::Height;
using kov::bench::Width;

struct Chart1Fixture
{
    TChart chart;
    TLineSeries *series = nullptr;

    Chart1Fixture()
    {
        SetUpChart1(chart);
        auto owned = std::make_unique<TLineSeries>();
        SetUpSeries1(*owned);
        series = owned.get();
        chart.AddSeries(std::move(owned));
        chart.resize(Width, Height);
    }
};

/// Changes point index to y, then draws the whole chart as a paint event does
/// when its buffer no longer holds the picture.
void RepaintLoop(benchmark::State &state, Chart1Fixture &f, const std::vector<int> &indexes,
                 int low, int high)
{
    QImage window(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&window);
    const int span = high - low + 1;
    std::size_t i = 0;
    std::size_t overLayer = 0;
    for (auto _ : state) {
        const int index = indexes[i % indexes.size()];
        f.series->SetPointY(index,
                            low + static_cast<int>((i * 37) % static_cast<std::size_t>(span)));
        f.chart.DrawToCanvas(&painter, TRect{0, 0, Width, Height});
        benchmark::DoNotOptimize(window.constBits());
        overLayer += f.chart.PaintedOverLayer() ? 1 : 0;
        ++i;
    }
    painter.end();
    state.SetItemsProcessed(state.iterations());
    // Share of the pictures drawn over the kept picture behind the series.
    state.counters["over_layer"] = static_cast<double>(overLayer) / static_cast<double>(i);
}

void BM_Chart1Repaint(benchmark::State &state)
{
    const int points = static_cast<int>(state.range(0));
    Chart1Fixture f;
    std::vector<int> indexes;
    for (int i = 0; i < points; ++i) {
        const int v = i % 256;
        const int index = f.series->AppendPoint(v, QString::number(i), clDefault);
        f.series->SetPointColor(index, ColorForValue(dmCountSize, v));
        indexes.push_back((i * 97) % points);
    }
    RepaintLoop(state, f, indexes, 0, 255);
}
BENCHMARK(BM_Chart1Repaint)->Arg(256)->Arg(10000)->Unit(benchmark::kMicrosecond);

/// A pan step: the data of BM_Chart1Repaint unchanged, the bottom axis fixed
/// at x0 .. x0 + n - 1 with x0 the picture's number modulo 100, so that every
/// picture shows other axes, labels, grid and series, as while panning,
/// zooming or resizing.
void BM_Chart1Pan(benchmark::State &state)
{
    const int points = static_cast<int>(state.range(0));
    Chart1Fixture f;
    for (int i = 0; i < points; ++i) {
        const int v = i % 256;
        const int index = f.series->AppendPoint(v, QString::number(i), clDefault);
        f.series->SetPointColor(index, ColorForValue(dmCountSize, v));
    }
    QImage window(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&window);
    int picture = 0;
    for (auto _ : state) {
        const double x0 = picture % 100;
        f.chart.BottomAxis()->FixRange(x0, x0 + points - 1);
        f.chart.DrawToCanvas(&painter, TRect{0, 0, Width, Height});
        benchmark::DoNotOptimize(window.constBits());
        ++picture;
    }
    painter.end();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Chart1Pan)->Arg(256)->Arg(10000)->Unit(benchmark::kMicrosecond);

/// A resize step: the data of BM_Chart1Repaint/256 unchanged, the chart one
/// pixel wider each picture (900 to 999 pixels, then back to 900), as while
/// the window's edge is dragged: a new buffer, layout, axes and series every
/// picture.
void BM_Chart1Resize(benchmark::State &state)
{
    Chart1Fixture f;
    for (int i = 0; i < 256; ++i) {
        const int index = f.series->AppendPoint(i, QString::number(i), clDefault);
        f.series->SetPointColor(index, ColorForValue(dmCountSize, i));
    }
    QImage window(1000, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&window);
    int picture = 0;
    for (auto _ : state) {
        const int width = 900 + picture % 100;
        f.chart.resize(width, Height);
        f.chart.DrawToCanvas(&painter, TRect{0, 0, width, Height});
        benchmark::DoNotOptimize(window.constBits());
        ++picture;
    }
    painter.end();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Chart1Resize)->Unit(benchmark::kMicrosecond);

/// The 256-point ramp with a legend of its 256 values at the right and a
/// value mark on every point (state.range(0) 1), against the same chart with
/// both hidden as the main window has them (0), and with the legend alone (2)
/// or the marks alone (3), which tell the two costs apart.
void BM_Chart1RepaintLegendMarks(benchmark::State &state)
{
    const int shown = static_cast<int>(state.range(0));
    Chart1Fixture f;
    std::vector<int> indexes;
    for (int i = 0; i < 256; ++i) {
        const int index = f.series->AppendPoint(i, QString::number(i + 1), clDefault);
        f.series->SetPointColor(index, ColorForValue(dmCountSize, i));
        indexes.push_back((i * 97) % 256);
    }
    f.chart.Legend().SetVisible(shown == 1 || shown == 2);
    f.chart.Legend().SetResizeChart(true);
    f.series->SetShowInLegend(true);
    f.series->Marks().SetVisible(shown == 1 || shown == 3);
    // One picture first, so that loading fonts and shaping caches is not
    // counted against either variant.
    QImage warmUp(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&warmUp);
    f.chart.DrawToCanvas(&painter, TRect{0, 0, Width, Height});
    painter.end();
    RepaintLoop(state, f, indexes, 0, 255);
}
BENCHMARK(BM_Chart1RepaintLegendMarks)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMicrosecond);

void BM_Chart1RepaintTimePower(benchmark::State &state)
{
    Chart1Fixture f;
    const QLocale locale = QLocale::system();
    for (int j = 0; j < kTimeSteps; ++j)
        f.series->AppendNullPoint(TimeLabel(j, locale));
    std::vector<std::uint8_t> table(256);
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    std::vector<int> filled;
    for (const TimePowerEntry &entry : TimePowerEntries(table, 175)) {
        f.series->SetPointY(entry.Point, entry.Percent);
        f.series->SetPointColor(entry.Point, entry.Color);
        filled.push_back(entry.Point);
    }
    RepaintLoop(state, f, filled, -100, 100);
}
BENCHMARK(BM_Chart1RepaintTimePower)->Unit(benchmark::kMicrosecond);

/// A long recording as a fast line on the main window's chart: n points of
/// a noisy wave (three periods, noise of 30), one point changed per picture
/// as the peers' bigline scene changes it, the whole chart drawn again onto a
/// window-sized image.
using FastLineFixture = kov::bench::WaveChart;

/// Draws pictures of chart into a window-sized image for as long as the
/// benchmark runs, calling change(picture number) before each.
template <class Change> void DrawPictures(benchmark::State &state, TChart &chart, Change change)
{
    QImage window(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&window);
    std::int64_t picture = 0;
    for (auto _ : state) {
        change(picture);
        chart.DrawToCanvas(&painter, TRect{0, 0, Width, Height});
        benchmark::DoNotOptimize(window.constBits());
        ++picture;
    }
    painter.end();
    state.SetItemsProcessed(state.iterations());
}

void BM_FastLineRepaint(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    FastLineFixture fixture(n);
    TChart &chart = fixture.chart;
    TChartSeries *series = fixture.series;
    std::vector<double> &y = fixture.y;
    DrawPictures(state, chart, [&](std::int64_t f) {
        const auto i = static_cast<std::size_t>((f * 7919) % n);
        y[i] = 128 + (y[i] - 128) * -0.5;
        series->SetPointY(static_cast<int>(i), y[i]);
    });
}
BENCHMARK(BM_FastLineRepaint)->Arg(1000000)->Unit(benchmark::kMicrosecond);

/// Panning over a long recording: the data of BM_FastLineRepaint unchanged,
/// the bottom axis showing half of it, x0 .. x0 + n / 2 with x0 the
/// picture's number modulo 100 times n / 200, so that every picture passes
/// over half a million points it has not drawn before.
void BM_FastLineBigPan(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    FastLineFixture fixture(n);
    DrawPictures(state, fixture.chart, [&](std::int64_t picture) {
        const double x0 = static_cast<double>(picture % 100) * (n / 200.0);
        fixture.chart.BottomAxis()->FixRange(x0, x0 + n / 2.0);
    });
}
BENCHMARK(BM_FastLineBigPan)->Arg(1000000)->Unit(benchmark::kMicrosecond);

/// n bars of the drag scene's values, (i * 37) % 256, 70 % wide, red with a
/// black outline, growing from 0, on the main window's chart (axes and grid,
/// flat); one bar changed per picture, the drag scene's bar and step.
void BM_BarRepaint(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    TChart chart;
    SetUpChart1(chart);
    auto bars = std::make_unique<TBarSeries>();
    bars->SetSeriesColor(clRed);
    bars->SetBarWidthPercent(70);
    bars->BarPen().SetColor(clBlack);
    bars->SetUseOrigin(true);
    bars->SetOrigin(0);
    TBarSeries *series = bars.get();
    chart.AddSeries(std::move(bars));
    chart.resize(Width, Height);
    std::vector<double> y(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        y[static_cast<std::size_t>(i)] = (i * 37) % 256;
        series->AppendPointXY(i, y[static_cast<std::size_t>(i)]);
    }
    DrawPictures(state, chart, [&](std::int64_t f) {
        const auto i = static_cast<std::size_t>((f * 7919) % n);
        y[i] = (y[i] + 91) - 256 * ((y[i] + 91) >= 256);
        series->SetPointY(static_cast<int>(i), y[i]);
    });
}
BENCHMARK(BM_BarRepaint)->Arg(256)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
