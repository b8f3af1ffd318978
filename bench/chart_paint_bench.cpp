// Full paint of a chart: background, layout, axes with labels, ticks and
// grid, and one 256-point series, into the chart's off-screen buffer.
#include "chart/canvas/canvas3d.h"
#include "chart/chart.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>

using namespace kov;

namespace {

/// The smallest useful series type: a segment to each point and a small
/// square on it, in the point's colour.
class TMinimalSeries : public TChartSeries
{
public:
    void DrawPoint(const TSeriesPaintContext &context, int index) override
    {
        TCanvas3D &canvas = context.Canvas;
        const int x = context.XPos(PointX(index));
        const int y = context.YPos(PointY(index));
        const TColor color = EffectivePointColor(index);
        if (index > FirstShownIndex()) {
            canvas.Pen().SetColor(color);
            canvas.DrawSegment(context.XPos(PointX(index - 1)), context.YPos(PointY(index - 1)), x,
                               y);
        }
        canvas.Brush().SetColor(color);
        canvas.Brush().SetStyle(bsSolid);
        canvas.FillRectangle(TRect{x - 2, y - 2, x + 3, y + 3});
    }
};

void BM_ChartFullPaint(benchmark::State &state)
{
    const int points = static_cast<int>(state.range(0));
    TChart chart;
    chart.SetView3D(false);
    chart.resize(950, 510);
    auto *series = chart.AddSeries(std::make_unique<TMinimalSeries>());
    for (int i = 0; i < points; ++i)
        series->AppendPoint(i % 256);
    QImage surface(950, 510, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&surface);
    int i = 0;
    for (auto _ : state) {
        // A changed point, as while a point is dragged, so nothing cached
        // can stand in for the paint.
        series->SetPointY(i % points, (i * 7) % 256);
        chart.DrawToCanvas(&painter, TRect{0, 0, 950, 510});
        ++i;
    }
    painter.end();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ChartFullPaint)->Arg(256)->Unit(benchmark::kMicrosecond);

} // namespace
