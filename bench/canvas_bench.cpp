// Hot canvas primitives on a 950 x 510 buffered canvas, as a chart paint
// issues them while a point is dragged.
#include "chart/canvas/chart_canvas3d.h"

#include <benchmark/benchmark.h>

using namespace kov;

namespace {

constexpr int Width = 950;
constexpr int Height = 510;

struct Canvas
{
    Canvas()
    {
        TRect drawRect;
        canvas.BeginWindow(nullptr, nullptr, drawRect, TRect{0, 0, Width, Height}, false, clWhite);
        canvas.ResetDrawingState();
        canvas.SetProjection(0, drawRect, TRect{29, 20, 921, 490});
    }
    TChartCanvas3D canvas;
};

void BM_Segment(benchmark::State &state)
{
    Canvas c;
    int i = 0;
    for (auto _ : state) {
        const int x = 29 + (i * 7) % 880;
        c.canvas.DrawSegment(x, 20 + i % 400, x + 3, 470 - i % 400);
        ++i;
    }
}
BENCHMARK(BM_Segment);

void BM_LineTo3DFlat(benchmark::State &state)
{
    Canvas c;
    int i = 0;
    c.canvas.MovePenTo3D(29, 250, 0);
    for (auto _ : state) {
        c.canvas.DrawLineTo3D(29 + i % 890, 20 + (i * 37) % 470, 0);
        ++i;
    }
}
BENCHMARK(BM_LineTo3DFlat);

void BM_HorizontalLineDotted(benchmark::State &state)
{
    Canvas c;
    TDottedGrayPen grid;
    c.canvas.ApplyChartPen(grid);
    int i = 0;
    for (auto _ : state) {
        c.canvas.DrawHorizontalLine(29, 921, 20 + i % 470);
        ++i;
    }
}
BENCHMARK(BM_HorizontalLineDotted);

// Small filled shapes of 9 x 9 pixels spread over the chart rectangle, as
// markers are; draw(canvas, x, y) draws one at (x, y).
template <typename Draw> void SmallShapes(benchmark::State &state, TColor color, Draw draw)
{
    Canvas c;
    c.canvas.Brush().SetColor(color);
    int i = 0;
    for (auto _ : state) {
        const int x = 29 + (i * 13) % 880;
        const int y = 20 + (i * 7) % 460;
        draw(c.canvas, x, y);
        ++i;
    }
}

void BM_Ellipse(benchmark::State &state)
{
    SmallShapes(state, clRed, [](TChartCanvas3D &canvas, int x, int y) {
        canvas.DrawEllipse(x, y, x + 9, y + 9);
    });
}
BENCHMARK(BM_Ellipse);

void BM_Rectangle(benchmark::State &state)
{
    SmallShapes(state, clGreen, [](TChartCanvas3D &canvas, int x, int y) {
        canvas.DrawRectangle(x, y, x + 9, y + 9);
    });
}
BENCHMARK(BM_Rectangle);

void BM_Quad3DOrthogonal(benchmark::State &state)
{
    TView3DOptions options;
    TChartCanvas3D canvas;
    TRect drawRect;
    canvas.BeginWindow(nullptr, &options, drawRect, TRect{0, 0, Width, Height}, true, clWhite);
    canvas.SetProjection(20, drawRect, TRect{29, 20, 921, 490});
    int i = 0;
    for (auto _ : state) {
        const int x = 29 + (i * 13) % 860;
        canvas.DrawQuad3D({x, 100}, {x + 10, 100}, {x + 10, 110}, {x, 110}, 10);
        ++i;
    }
}
BENCHMARK(BM_Quad3DOrthogonal);

void BM_Text(benchmark::State &state)
{
    Canvas c;
    int i = 0;
    for (auto _ : state) {
        c.canvas.WriteText(29 + (i * 13) % 850, 20 + (i * 7) % 460, QStringLiteral("127.5"));
        ++i;
    }
}
BENCHMARK(BM_Text);

void BM_MeasureText(benchmark::State &state)
{
    Canvas c;
    for (auto _ : state)
        benchmark::DoNotOptimize(c.canvas.MeasureTextWidth(QStringLiteral("127.5")));
}
BENCHMARK(BM_MeasureText);

void BM_GradientFullCanvas(benchmark::State &state)
{
    Canvas c;
    for (auto _ : state)
        c.canvas.FillGradient(TRect{0, 0, Width, Height}, clWhite, clYellow, gdTopBottom);
}
BENCHMARK(BM_GradientFullCanvas);

void BM_PresentImage(benchmark::State &state)
{
    Canvas c;
    QImage window(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&window);
    TRect drawRect;
    for (auto _ : state) {
        c.canvas.BeginWindow(nullptr, nullptr, drawRect, TRect{0, 0, Width, Height}, false,
                             clWhite);
        c.canvas.PresentImage(&painter, nullptr, drawRect);
    }
}
BENCHMARK(BM_PresentImage);

} // namespace
