// Whole pictures of the area and pie series beside the line series: a flat
// 950 x 510 chart, one point changed per iteration so that nothing cached
// stands in for the paint, drawn into the chart's buffer.
#include "chart/chart.h"
#include "chart/series/area_series.h"
#include "chart/series/line_series.h"
#include "chart/series/pie_series.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>

using namespace kov;

namespace {

constexpr int Width = 950;
constexpr int Height = 510;

template <typename Series> void PaintLoop(benchmark::State &state, bool view3D = false)
{
    const int points = static_cast<int>(state.range(0));
    TChart chart;
    chart.SetView3D(view3D);
    chart.resize(Width, Height);
    auto *series = chart.AddSeries(std::make_unique<Series>());
    for (int i = 0; i < points; ++i)
        series->AppendPoint(1 + (i * 37) % 256);
    QImage surface(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&surface);
    int i = 0;
    for (auto _ : state) {
        series->SetPointY(i % points, 1 + (i * 7) % 256);
        chart.DrawToCanvas(&painter, TRect{0, 0, Width, Height});
        ++i;
    }
    painter.end();
    state.SetItemsProcessed(state.iterations());
}

void BM_LinePicture(benchmark::State &state)
{
    PaintLoop<TLineSeries>(state);
}
BENCHMARK(BM_LinePicture)->Arg(256)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_AreaPicture(benchmark::State &state)
{
    PaintLoop<TAreaSeries>(state);
}
BENCHMARK(BM_AreaPicture)->Arg(256)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_PiePicture(benchmark::State &state)
{
    PaintLoop<TPieSeries>(state);
}
BENCHMARK(BM_PiePicture)->Arg(16)->Arg(256)->Unit(benchmark::kMillisecond);

void BM_Pie3DPicture(benchmark::State &state)
{
    PaintLoop<TPieSeries>(state, true);
}
BENCHMARK(BM_Pie3DPicture)->Arg(16)->Arg(256)->Unit(benchmark::kMillisecond);

} // namespace
