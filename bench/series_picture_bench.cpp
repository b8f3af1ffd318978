// A whole 950 x 510 picture of one series of each type, flat and in 3D (the
// chart's default view), with the points (i * 37) % 256 + 10 and one point
// changed per picture, so that nothing cached stands in for the paint. The
// 3D figure over the flat one is what a 3D view costs for that type.
// Names: BM_SeriesPicture/<Type>/<Flat|3D>/<points>.
#include "chart/chart.h"
#include "chart/series/area_series.h"
#include "chart/series/bar_series.h"
#include "chart/series/fast_line_series.h"
#include "chart/series/line_series.h"
#include "chart/series/pie_series.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace kov;

namespace {

constexpr int Width = 950;
constexpr int Height = 510;

template <typename Series> void SeriesPicture(benchmark::State &state, bool view3D)
{
    const int n = static_cast<int>(state.range(0));
    TChart chart;
    chart.SetView3D(view3D);
    chart.resize(Width, Height);
    auto *series = chart.AddSeries(std::make_unique<Series>());
    std::vector<double> y(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        y[static_cast<std::size_t>(i)] = (i * 37) % 256 + 10;
        series->AppendPoint(y[static_cast<std::size_t>(i)]);
    }
    QImage window(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&window);
    std::int64_t f = 0;
    for (auto _ : state) {
        // The drag scene's step: point (f * 7919) % n moves by 91 within
        // 10 .. 265.
        const auto i = static_cast<std::size_t>((f * 7919) % n);
        y[i] = y[i] + 91 >= 266 ? y[i] + 91 - 256 : y[i] + 91;
        series->MainValueList()->SetValueAt(static_cast<int>(i), y[i]);
        chart.DrawToCanvas(&painter, TRect{0, 0, Width, Height});
        benchmark::DoNotOptimize(window.constBits());
        ++f;
    }
    painter.end();
    state.SetItemsProcessed(state.iterations());
}

template <typename Series> void Register(const char *type, int points)
{
    for (const bool view3D : {false, true}) {
        const std::string name =
            std::string("BM_SeriesPicture/") + type + (view3D ? "/3D" : "/Flat");
        benchmark::RegisterBenchmark(
            name.c_str(),
            [view3D](benchmark::State &state) { SeriesPicture<Series>(state, view3D); })
            ->Arg(points)
            ->Unit(benchmark::kMillisecond);
    }
}

const bool registered = [] {
    Register<TLineSeries>("Line", 10000);
    Register<TBarSeries>("Bar", 10000);
    Register<THorizBarSeries>("HorizBar", 10000);
    Register<TAreaSeries>("Area", 10000);
    Register<TFastLineSeries>("FastLine", 10000);
    Register<TPieSeries>("Pie", 256);
    return true;
}();

} // namespace
