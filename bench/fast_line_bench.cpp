// The fast line at a million points beyond the one-point change of
// chart_repaint: a whole pass over the points (every picture while panning),
// and the hit test a mouse move runs.
#include "bench/wave_chart.h"
#include "chart/axis/axis.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

using namespace kov;

using kov::bench::Height;
using kov::bench::WaveChart;
using kov::bench::Width;

/// The bottom axis moves by one point per picture: every picture is drawn
/// whole and the columns are built again from all shown points.
void BM_FastLinePan(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    WaveChart w(n);
    TChartAxis &bottom = *w.chart.BottomAxis();
    bottom.SetAutomatic(false);
    bottom.SetMaximum(n);
    QImage window(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&window);
    int f = 0;
    for (auto _ : state) {
        bottom.SetMinimum(f % 100);
        bottom.SetMaximum(n - 1 + f % 100);
        w.chart.DrawToCanvas(&painter, TRect{0, 0, Width, Height});
        benchmark::DoNotOptimize(window.constBits());
        ++f;
    }
}
BENCHMARK(BM_FastLinePan)->Arg(1000000)->Unit(benchmark::kMillisecond);

/// Hit tests along the middle of the chart, one per mouse position, after
/// one picture.
void BM_FastLineHitTest(benchmark::State &state)
{
    WaveChart w(static_cast<int>(state.range(0)));
    QImage window(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&window);
    w.chart.DrawToCanvas(&painter, TRect{0, 0, Width, Height});
    const TRect r = w.chart.ChartRect();
    int x = r.Left;
    int hits = 0;
    for (auto _ : state) {
        hits += w.series->HitTest(x, (r.Top + r.Bottom) / 2) >= 0;
        x = x + 1 < r.Right ? x + 1 : r.Left;
    }
    state.counters["hits"] = hits;
}
BENCHMARK(BM_FastLineHitTest)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace
