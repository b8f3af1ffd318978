#include "app/main_form.h"
#include "chart/series/line_series.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <benchmark/benchmark.h>

// One step of dragging a point on the main window's chart: a mouse move with
// the button held goes into Chart1, the window stores the new value in the
// point and the table, and the chart paints its whole picture again.
namespace {

using namespace kov;

// Mouse events as the window system delivers them to the chart, the left
// button held from the press to the release.
void SendMouse(QWidget *chart, QEvent::Type type, QPoint at)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(chart->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(chart, &event);
}

// With repaint false only the mouse move is timed: the window's share of the
// step, apart from the chart's picture.
void DragStep(benchmark::State &state, bool repaint)
{
    TForm1 form;
    form.show();
    QApplication::processEvents();
    // A 256-entry table in the count/size view spanning 0 to 255, so the
    // scale under the mouse stays put while one point is dragged.
    for (int i = 0; i < 256; ++i)
        form.Table[i] = static_cast<std::uint8_t>((i * 37) % 256);
    form.Table[0] = 0;
    form.Table[1] = 255;
    form.EntryCount = 256;
    form.RadioGroup1Click(nullptr);
    TChart *chart = form.Chart1;
    const int w = chart->width(), h = chart->height();
    QImage buffer(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&buffer);
    chart->DrawToCanvas(&painter, TRect{0, 0, w, h});

    const int index = 128;
    const QPoint start(form.Series1->PointScreenX(index), form.Series1->PointScreenY(index));
    SendMouse(chart, QEvent::MouseButtonPress, start);
    if (form.DragSeries == nullptr) {
        state.SkipWithError("press did not pick the point");
        return;
    }
    const int rows[] = {form.Series1->ValueScreenY(100.5), form.Series1->ValueScreenY(150.5)};
    int k = 0;
    for (auto _ : state) {
        SendMouse(chart, QEvent::MouseMove, QPoint(start.x(), rows[k ^= 1]));
        if (repaint)
            chart->DrawToCanvas(&painter, TRect{0, 0, w, h});
        benchmark::DoNotOptimize(buffer.constBits());
    }
    SendMouse(chart, QEvent::MouseButtonRelease, start);
    const int stored = form.Table[index];
    if (stored != 100 && stored != 150)
        state.SkipWithError("the drag did not store the value under the mouse");
    state.counters["width"] = w;
    state.counters["height"] = h;
}
void BM_DragStep(benchmark::State &state)
{
    DragStep(state, true);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

void BM_DragMoveOnly(benchmark::State &state)
{
    DragStep(state, false);
}
BENCHMARK(BM_DragMoveOnly)->Unit(benchmark::kMicrosecond);

} // namespace
