#include "chart/panel/chart_panel.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

// Cost of one full picture of a 950 x 510 chart panel (background and bevels,
// no chart content) and of a repaint that only copies the buffer.
namespace {

using namespace kov;

constexpr int Width = 950;
constexpr int Height = 510;

void DrawLoop(benchmark::State &state, TCustomChartPanelExtended &panel)
{
    QImage target(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&target);
    for (auto _ : state) {
        panel.DrawToCanvas(&painter, TRect{0, 0, Width, Height});
        benchmark::DoNotOptimize(target.constBits());
    }
}

void BM_PanelDrawColourAndBevels(benchmark::State &state)
{
    TCustomChartPanelExtended panel;
    panel.SetBevelInner(bvLowered);
    panel.SetBorderWidth(2);
    DrawLoop(state, panel);
}
BENCHMARK(BM_PanelDrawColourAndBevels);

void BM_PanelDrawGradientAndBevels(benchmark::State &state)
{
    TCustomChartPanelExtended panel;
    panel.Gradient().SetVisible(true);
    panel.SetBevelInner(bvLowered);
    DrawLoop(state, panel);
}
BENCHMARK(BM_PanelDrawGradientAndBevels);

void BM_PanelRepaintFromBuffer(benchmark::State &state)
{
    TCustomChartPanelExtended panel;
    panel.resize(Width, Height); // a picture of the window's own size is kept
    QImage window(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&window);
    panel.DrawToCanvas(&painter, TRect{0, 0, Width, Height});
    for (auto _ : state) {
        panel.ChartCanvas().SetSurface(&painter);
        benchmark::DoNotOptimize(panel.ChartCanvas().RepaintFromBuffer());
    }
    panel.ChartCanvas().SetSurface(nullptr);
}
BENCHMARK(BM_PanelRepaintFromBuffer);

} // namespace
