// The animated zoom of the main window's chart: a 950 x 510 chart with a
// 256-point line series with circle markers, zoomed with five steps, which is
// four intermediate pictures painted synchronously plus the final one. Every
// picture is a full redraw into the chart's buffer and onto the window.
#include "chart/axis/axis.h"
#include "chart/chart.h"
#include "chart/mouse/chart_mouse.h"
#include "chart/series/line_series.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>

using namespace kov;

namespace {

void BM_AnimatedZoomFivePictures(benchmark::State &state)
{
    TChart chart;
    chart.resize(950, 510);
    chart.SetView3D(false);
    chart.SetAnimatedZoom(true);
    chart.SetAnimatedZoomSteps(5);
    auto *series = chart.AddSeries(std::make_unique<TLineSeries>());
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(psCircle);
    for (int i = 1; i <= 256; ++i)
        series->AppendPoint(i, QString::number(i));
    TChartMouseHandler &mouse = chart.Mouse();
    chart.show();
    QApplication::processEvents();
    chart.repaint();

    int pictures = 0;
    chart.OnAfterDraw = [&](TCustomChartPanel *) { ++pictures; };
    for (auto _ : state) {
        mouse.ApplyZoomRanges(0, 1, 60, 140, 80, 200, 0, 1);
        chart.repaint(); // the final picture
        state.PauseTiming();
        mouse.ResetZoom();
        chart.repaint();
        state.ResumeTiming();
    }
    // Each iteration painted five zoom pictures and one after the undo.
    state.counters["pictures"] =
        benchmark::Counter(static_cast<double>(pictures) / state.iterations() - 1);
}
BENCHMARK(BM_AnimatedZoomFivePictures)->Unit(benchmark::kMillisecond);

} // namespace
