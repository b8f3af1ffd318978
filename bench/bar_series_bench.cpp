// A whole picture of a bar series and of a horizontal bar series, beside
// the line series with the same points: background, layout, axes with
// labels and grid, and every bar.
#include "chart/chart.h"
#include "chart/series/bar_series.h"
#include "chart/series/line_series.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>

using namespace kov;

namespace {

template <typename Series> void BM_WholePicture(benchmark::State &state)
{
    const int points = static_cast<int>(state.range(0));
    TChart chart;
    chart.SetView3D(false);
    chart.resize(950, 510);
    auto *series = chart.AddSeries(std::make_unique<Series>());
    for (int i = 0; i < points; ++i)
        series->AppendPoint((i * 37) % 256 - 64);
    QImage surface(950, 510, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&surface);
    int i = 0;
    for (auto _ : state) {
        // A changed value, so nothing cached can stand in for the paint.
        series->MainValueList()->SetValueAt(i % points, (i * 7) % 256);
        chart.DrawToCanvas(&painter, TRect{0, 0, 950, 510});
        ++i;
    }
    painter.end();
    state.SetItemsProcessed(state.iterations());
}
// Three stacked bar series: each bar finds its column in the series below.
void BM_StackedPicture(benchmark::State &state)
{
    const int points = static_cast<int>(state.range(0));
    TChart chart;
    chart.SetView3D(false);
    chart.resize(950, 510);
    TBarSeries *series[3];
    for (TBarSeries *&s : series) {
        s = chart.AddSeries(std::make_unique<TBarSeries>());
        for (int i = 0; i < points; ++i)
            s->AppendPoint((i * 37) % 256);
    }
    series[0]->SetMultiBar(mbStacked);
    QImage surface(950, 510, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&surface);
    int i = 0;
    for (auto _ : state) {
        series[2]->MainValueList()->SetValueAt(i % points, (i * 7) % 256);
        chart.DrawToCanvas(&painter, TRect{0, 0, 950, 510});
        ++i;
    }
    painter.end();
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_WholePicture<TLineSeries>)->Arg(256)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholePicture<TBarSeries>)->Arg(256)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholePicture<THorizBarSeries>)->Arg(256)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StackedPicture)->Arg(256)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
