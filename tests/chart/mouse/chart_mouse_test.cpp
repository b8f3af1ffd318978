#include "chart/axis/axis.h"
#include "chart/chart.h"
#include "chart/mouse/chart_mouse.h"
#include "chart/series/line_series.h"
#include "tests/chart/chart_picture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace kov;

namespace {

/// A series whose points are hit within 3 pixels of their screen position,
/// so the mouse tests do not depend on a series type's marker geometry.
class TMouseTestSeries : public TChartSeries
{
public:
    int HitTest(const TSeriesPaintContext &context, int x, int y) const override
    {
        for (int i = 0; i < PointCount(); ++i) {
            if (std::abs(context.XPos(PointX(i)) - x) <= 3 &&
                std::abs(context.YPos(PointY(i)) - y) <= 3)
                return i;
        }
        return -1;
    }
    void NotifySeriesMouseUp(TMouseButton, TShiftState, int, int) override { ++MouseUps; }
    int MouseUps = 0;
};

struct AxisRange
{
    double Min;
    double Max;
};

/// A 950 x 510 flat chart with a 256-point ramp 0..255, laid out by one paint.
class ChartMouseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        chart.resize(950, 510);
        chart.SetView3D(false);
        // The points spread over the whole width, no legend beside them.
        chart.Legend().SetVisible(false);
        series = AddSeries();
        for (int i = 0; i < 256; ++i)
            series->AppendPoint(i);
        Layout();
    }

    TMouseTestSeries *AddSeries() { return chart.AddSeries(std::make_unique<TMouseTestSeries>()); }

    /// Paints once off screen so ranges, pixel spans and the chart rectangle
    /// describe the current settings.
    void Layout() { kov::testing::DrawPicture(chart, chart.width(), chart.height(), QColor()); }

    TChartMouseHandler &Mouse() { return chart.Mouse(); }

    static Qt::MouseButton QtButton(TMouseButton b)
    {
        return b == mbRight ? Qt::RightButton : b == mbMiddle ? Qt::MiddleButton : Qt::LeftButton;
    }

    void Press(int x, int y, TMouseButton b = mbLeft)
    {
        held |= QtButton(b);
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(x, y), chart.mapToGlobal(QPointF(x, y)),
                      QtButton(b), held, Qt::NoModifier);
        QApplication::sendEvent(&chart, &e);
    }
    void Move(int x, int y)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(x, y), chart.mapToGlobal(QPointF(x, y)),
                      Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(&chart, &e);
    }
    void Release(int x, int y, TMouseButton b = mbLeft)
    {
        held &= ~QtButton(b);
        QMouseEvent e(QEvent::MouseButtonRelease, QPointF(x, y), chart.mapToGlobal(QPointF(x, y)),
                      QtButton(b), held, Qt::NoModifier);
        QApplication::sendEvent(&chart, &e);
    }
    void Wheel(int delta)
    {
        QWheelEvent e(QPointF(400, 200), chart.mapToGlobal(QPointF(400, 200)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&chart, &e);
    }
    /// A whole drag with one intermediate move, then a fresh layout.
    void Drag(int x0, int y0, int x1, int y1, TMouseButton b = mbLeft)
    {
        Press(x0, y0, b);
        Move((x0 + x1) / 2, (y0 + y1) / 2);
        Move(x1, y1);
        Release(x1, y1, b);
        Layout();
    }

    static AxisRange RangeOf(const TCustomChartAxis *axis)
    {
        return AxisRange{axis->Minimum(), axis->Maximum()};
    }
    std::vector<AxisRange> SideRanges() const
    {
        return {RangeOf(chart.TopAxis()), RangeOf(chart.BottomAxis()), RangeOf(chart.LeftAxis()),
                RangeOf(chart.RightAxis())};
    }
    static void ExpectSameRanges(const std::vector<AxisRange> &a, const std::vector<AxisRange> &b,
                                 double tolerance = 1e-9)
    {
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_NEAR(a[i].Min, b[i].Min, tolerance) << "axis " << i;
            EXPECT_NEAR(a[i].Max, b[i].Max, tolerance) << "axis " << i;
        }
    }

    /// A screen point inside the chart rectangle far from every data point.
    QPoint EmptySpot() const
    {
        const TRect r = chart.ChartRect();
        return QPoint(r.Left + 60, r.Top + 60);
    }

    /// Gives two axes the range 0..max, lays the chart out, keeps the side
    /// ranges in before, counts the OnScroll calls in scrolls and presses the
    /// panning (right) button on an empty spot, which it returns.
    QPoint PressToPan(TCustomChartAxis *first, TCustomChartAxis *second, double max,
                      std::vector<AxisRange> &before)
    {
        first->FixRange(0, max);
        second->FixRange(0, max);
        Layout();
        before = SideRanges();
        chart.OnScroll = [this](TCustomChartPanel *) { ++scrolls; };
        const QPoint p = EmptySpot() + QPoint(200, 100);
        Press(p.x(), p.y(), mbRight);
        return p;
    }

    TChart chart;
    TMouseTestSeries *series = nullptr;
    Qt::MouseButtons held = Qt::NoButton;
    int scrolls = 0;
};

// ---------------------------------------------------------------------------
// Zoom frame

struct FrameCase
{
    int x0, y0, x1, y1;
    enum { Zooms, Nothing, Undoes } Expect;
};

TEST_F(ChartMouseTest, ZoomFrameThresholdsAndDirections)
{
    const std::vector<AxisRange> initial = SideRanges();
    const FrameCase cases[] = {
        {100, 100, 117, 117, FrameCase::Zooms},   {100, 100, 116, 200, FrameCase::Nothing},
        {100, 100, 200, 116, FrameCase::Nothing}, {200, 200, 150, 150, FrameCase::Undoes},
        {200, 200, 250, 150, FrameCase::Undoes},  {200, 200, 150, 250, FrameCase::Undoes},
    };
    for (const FrameCase &c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "(" << c.x0 << "," << c.y0 << ")->(" << c.x1 << "," << c.y1 << ")");
        // Start every case from a zoomed chart, so both zooming further and
        // undoing are visible.
        Drag(120, 60, 600, 300);
        ASSERT_TRUE(chart.Zoomed());
        const std::vector<AxisRange> before = SideRanges();

        Drag(c.x0, c.y0, c.x1, c.y1);
        EXPECT_FALSE(chart.ZoomRecord().DragActive);
        switch (c.Expect) {
        case FrameCase::Zooms: {
            EXPECT_TRUE(chart.Zoomed());
            const AxisRange bottom = RangeOf(chart.BottomAxis());
            EXPECT_LT(bottom.Max - bottom.Min, (before[1].Max - before[1].Min) / 10);
            EXPECT_GT(bottom.Min, before[1].Min);
            break;
        }
        case FrameCase::Nothing:
            EXPECT_TRUE(chart.Zoomed());
            ExpectSameRanges(SideRanges(), before, 0);
            break;
        case FrameCase::Undoes:
            EXPECT_FALSE(chart.Zoomed());
            EXPECT_TRUE(chart.LeftAxis()->Automatic());
            EXPECT_TRUE(chart.BottomAxis()->Automatic());
            ExpectSameRanges(SideRanges(), initial);
            break;
        }
        chart.ResetZoom();
        Layout();
    }
}

TEST_F(ChartMouseTest, ZoomToFrameTakesTheValuesUnderTheFrameEdges)
{
    TCustomChartAxis *bottom = chart.BottomAxis();
    TCustomChartAxis *left = chart.LeftAxis();
    const double x0 = bottom->PosToValue(150), x1 = bottom->PosToValue(400);
    const double yTop = left->PosToValue(120), yBottom = left->PosToValue(300);
    int zooms = 0;
    chart.OnZoom = [&](TCustomChartPanel *) { ++zooms; };
    // Dragged from the bottom-right corner's side: normalised before use.
    Press(150, 120);
    Move(400, 300);
    Release(400, 300);
    EXPECT_EQ(zooms, 1);
    EXPECT_DOUBLE_EQ(bottom->Minimum(), x0);
    EXPECT_DOUBLE_EQ(bottom->Maximum(), x1);
    EXPECT_DOUBLE_EQ(left->Minimum(), yBottom);
    EXPECT_DOUBLE_EQ(left->Maximum(), yTop);
    EXPECT_FALSE(left->Automatic());
}

TEST_F(ChartMouseTest, UndoAfterTwoZoomsReturnsToTheRangesBeforeTheFirst)
{
    chart.LeftAxis()->FixRange(-10, 300);
    Layout();
    const std::vector<AxisRange> initial = SideRanges();
    int undos = 0;
    chart.OnUndoZoom = [&](TCustomChartPanel *) { ++undos; };
    Drag(100, 60, 700, 400);
    Drag(200, 100, 500, 300);
    EXPECT_TRUE(Mouse().AxisRangesSaved());
    Drag(500, 300, 200, 100);
    EXPECT_EQ(undos, 1);
    EXPECT_FALSE(Mouse().AxisRangesSaved());
    ExpectSameRanges(SideRanges(), initial);
    EXPECT_FALSE(chart.LeftAxis()->Automatic());
    EXPECT_TRUE(chart.BottomAxis()->Automatic());
}

TEST_F(ChartMouseTest, UndoKeepsAnAxisWithOneAutomaticEnd)
{
    TCustomChartAxis *left = chart.LeftAxis();
    left->SetAutomatic(false);
    left->SetMaximum(500);
    left->SetMinimum(0);
    left->SetAutomaticMinimum(true);
    Layout();
    Drag(100, 60, 700, 400);
    EXPECT_FALSE(left->AutomaticMinimum());
    chart.ResetZoom();
    EXPECT_FALSE(left->Automatic());
    EXPECT_TRUE(left->AutomaticMinimum());
    EXPECT_FALSE(left->AutomaticMaximum());
    EXPECT_DOUBLE_EQ(left->Maximum(), 500);
    // The automatic end follows the data again.
    series->SetPointY(0, -50);
    Layout();
    EXPECT_DOUBLE_EQ(left->Minimum(), -50);
}

TEST_F(ChartMouseTest, ZoomFrameFollowsThePointerAndSurvivesOnlyWhileDragging)
{
    chart.SetAnimatedZoom(false);
    const QPoint p = EmptySpot();
    Press(p.x(), p.y());
    TZoomPanningRecord &zoom = chart.ZoomRecord();
    ASSERT_TRUE(zoom.DragActive);
    EXPECT_EQ(chart.cursor().shape(), Qt::ArrowCursor);
    Move(p.x() + 40, p.y() + 30);
    EXPECT_EQ(zoom.StartX, p.x());
    EXPECT_EQ(zoom.EndX, p.x() + 40);
    EXPECT_EQ(zoom.EndY, p.y() + 30);

    // The frame on screen is exactly the current one: render the window and
    // look for inverted pixels on the frame's corners only.
    chart.show();
    QApplication::processEvents();
    const QImage shown = chart.grab().toImage();
    const QImage plain = [&] {
        QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        zoom.DragActive = false;
        chart.InvalidatePanel();
        chart.DrawToCanvas(&painter, TRect{0, 0, chart.width(), chart.height()});
        zoom.DragActive = true;
        return image;
    }();
    // The right edge is exclusive: the frame's last column is EndX - 1.
    EXPECT_NE(shown.pixel(p.x() + 39, p.y() + 10), plain.pixel(p.x() + 39, p.y() + 10));
    EXPECT_NE(shown.pixel(p.x() + 20, p.y()), plain.pixel(p.x() + 20, p.y()));
    EXPECT_EQ(shown.pixel(p.x() + 20, p.y() + 10), plain.pixel(p.x() + 20, p.y() + 10));
    chart.hide();

    // A second press of another button during the drag is ignored, and its
    // release ends no zoom drag.
    Press(p.x() + 40, p.y() + 30, mbRight);
    EXPECT_FALSE(chart.PanningRecord().DragActive);
    Release(p.x() + 40, p.y() + 30, mbRight);
    EXPECT_TRUE(zoom.DragActive);
    Release(p.x() + 40, p.y() + 30);
    EXPECT_FALSE(zoom.DragActive);
    EXPECT_EQ(chart.ChartCanvas().Pen().Mode(), pmCopy);
}

TEST_F(ChartMouseTest, AnimatedZoomPaintsIntermediatePicturesSynchronously)
{
    chart.show();
    QApplication::processEvents();
    chart.SetAnimatedZoom(true);
    TCustomChartAxis *left = chart.LeftAxis();

    struct Case
    {
        int Steps;
        int Pictures;
    };
    for (const Case c : {Case{0, 0}, Case{1, 0}, Case{2, 1}, Case{5, 4}}) {
        SCOPED_TRACE(c.Steps);
        chart.ResetZoom();
        chart.repaint();
        chart.SetAnimatedZoomSteps(c.Steps);
        left->FixRange(0, 300);
        std::vector<double> minimums;
        chart.OnAfterDraw = [&](TCustomChartPanel *) { minimums.push_back(left->Minimum()); };
        Mouse().ApplyZoomRanges(0, 1, 10, 20, 30, 60, 0, 1);
        chart.OnAfterDraw = nullptr;
        ASSERT_EQ(static_cast<int>(minimums.size()), c.Pictures);
        // Each picture has covered a third of the remaining way.
        double expected = 0;
        for (double seen : minimums) {
            expected += (30 - expected) / 3;
            EXPECT_DOUBLE_EQ(seen, expected);
        }
        EXPECT_DOUBLE_EQ(left->Minimum(), 30);
        EXPECT_DOUBLE_EQ(left->Maximum(), 60);
        EXPECT_DOUBLE_EQ(chart.BottomAxis()->Minimum(), 10);
        EXPECT_DOUBLE_EQ(chart.BottomAxis()->Maximum(), 20);
    }
}

// ---------------------------------------------------------------------------
// Clicks and hit testing

TEST_F(ChartMouseTest, PressOnAPointReportsItAndAConsumingHandlerStopsTheDrag)
{
    std::vector<std::string> calls;
    int clickedIndex = -1;
    TMouseButton clickedButton = mbMiddle;
    chart.SetAllowPanning(pmBoth);
    Mouse().OnMouseDown = [&](TCustomChart *, TMouseButton, TShiftState, int, int) {
        calls.push_back("down");
    };
    Mouse().OnClickSeries = [&](TCustomChart *sender, TChartSeries *s, int index, TMouseButton b,
                                TShiftState, int, int) {
        EXPECT_EQ(sender, &chart);
        EXPECT_EQ(s, series);
        clickedIndex = index;
        clickedButton = b;
        calls.push_back("series");
    };
    Mouse().OnClickBackground = [&](TCustomChart *, TMouseButton, TShiftState, int, int) {
        calls.push_back("background");
    };
    const int x = series->PointScreenX(40), y = series->PointScreenY(40);
    for (TMouseButton b : {mbLeft, mbRight}) {
        calls.clear();
        Press(x, y, b);
        EXPECT_EQ(calls, (std::vector<std::string>{"down", "series"}));
        EXPECT_EQ(clickedIndex, 40);
        EXPECT_EQ(clickedButton, b);
        EXPECT_FALSE(chart.ZoomRecord().DragActive);
        EXPECT_FALSE(chart.PanningRecord().DragActive);
        EXPECT_FALSE(chart.MouseConsumed());
        Release(x, y, b);
    }

    // Without any click handler on the series the same left press zooms.
    Mouse().OnClickSeries = nullptr;
    Mouse().OnClickBackground = nullptr;
    Press(x, y);
    EXPECT_TRUE(chart.ZoomRecord().DragActive);
    Release(x, y);

    // A handler that clears the flag lets the chart go on.
    Mouse().OnClickSeries = [&](TCustomChart *c, TChartSeries *, int, TMouseButton, TShiftState,
                                int, int) { c->SetMouseConsumed(false); };
    Press(x, y, mbRight);
    EXPECT_TRUE(chart.PanningRecord().DragActive);
    Release(x, y, mbRight);
}

TEST_F(ChartMouseTest, SeriesOwnClickEventConsumesThePress)
{
    int clicks = 0, doubleClicks = 0;
    series->OnClick = [&](TChartSeries *, int, TMouseButton, TShiftState, int, int) { ++clicks; };
    series->OnDblClick = [&](TChartSeries *, int, TMouseButton, TShiftState, int, int) {
        ++doubleClicks;
    };
    const int x = series->PointScreenX(10), y = series->PointScreenY(10);
    Press(x, y);
    Release(x, y);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(x, y), chart.mapToGlobal(QPointF(x, y)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &dbl);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_FALSE(chart.ZoomRecord().DragActive);
}

TEST_F(ChartMouseTest, OverlappingSeriesClickReportsTheLaterOneCursorTheEarlierOne)
{
    TMouseTestSeries *second = AddSeries();
    TMouseTestSeries *third = AddSeries();
    for (int i = 0; i < 256; ++i) {
        second->AppendPoint(i);
        third->AppendPoint(i);
    }
    second->SetCursor(Qt::CrossCursor);
    third->SetCursor(Qt::PointingHandCursor);
    Layout();
    TChartSeries *clicked = nullptr;
    Mouse().OnClickSeries = [&](TCustomChart *, TChartSeries *s, int, TMouseButton, TShiftState,
                                int, int) { clicked = s; };
    const int x = series->PointScreenX(100), y = series->PointScreenY(100);
    EXPECT_EQ(Mouse().HitTestChart(x, y).Series, third);
    Press(x, y);
    Release(x, y);
    EXPECT_EQ(clicked, third);

    third->SetActive(false);
    Layout();
    EXPECT_EQ(Mouse().HitTestChart(x, y).Series, second);

    Move(x, y);
    EXPECT_EQ(chart.cursor().shape(), Qt::CrossCursor);
    const QPoint empty = EmptySpot();
    Move(empty.x(), empty.y());
    EXPECT_EQ(chart.cursor().shape(), chart.OriginalCursor().shape());
}

TEST_F(ChartMouseTest, HitTestOrderAndPressesThatStartNoDrag)
{
    int backgrounds = 0;
    Mouse().OnClickBackground = [&](TCustomChart *c, TMouseButton, TShiftState, int, int) {
        ++backgrounds;
        c->SetMouseConsumed(false);
    };
    const QPoint inside = EmptySpot();
    EXPECT_EQ(Mouse().HitTestChart(inside.x(), inside.y()).Kind, hkPlotArea);

    // Axes come before the plot area; a press on an axis may zoom.
    TCustomChartAxis *left = chart.LeftAxis();
    const int ay = (left->Mapping().StartPixel + left->Mapping().EndPixel) / 2;
    const int ax = left->Layout().AxisLinePos - 1;
    const TChartHit axisHit = Mouse().HitTestChart(ax, ay);
    EXPECT_EQ(axisHit.Kind, hkAxis);
    EXPECT_EQ(axisHit.Axis, left);
    TCustomChartAxis *clickedAxis = nullptr;
    Mouse().OnClickAxis = [&](TCustomChart *, TCustomChartAxis *a, TMouseButton, TShiftState, int,
                              int) { clickedAxis = a; };
    Press(ax, ay);
    EXPECT_EQ(clickedAxis, left);
    EXPECT_FALSE(chart.ZoomRecord().DragActive); // the axis handler consumed it
    Release(ax, ay);

    // The title is hit where it was drawn and starts nothing; its press is a
    // background click.
    chart.Title().SetText(QStringList{QStringLiteral("Title")});
    chart.Title().SetVisible(true);
    Layout();
    const TRect title = chart.Title().TitleRect();
    ASSERT_FALSE(title.IsEmpty());
    const int tx = (title.Left + title.Right) / 2, ty = (title.Top + title.Bottom) / 2;
    EXPECT_EQ(Mouse().HitTestChart(tx, ty).Kind, hkTitle);
    Press(tx, ty);
    EXPECT_FALSE(chart.ZoomRecord().DragActive);
    Release(tx, ty);
    EXPECT_EQ(backgrounds, 1);
    chart.Title().SetVisible(false);
    EXPECT_NE(Mouse().HitTestChart(tx, ty).Kind, hkTitle);
    Layout();

    // Outside everything: the background click, no drag.
    EXPECT_EQ(Mouse().HitTestChart(2, 2).Kind, hkNone);
    Press(2, 2);
    EXPECT_FALSE(chart.ZoomRecord().DragActive);
    Release(2, 2);
    EXPECT_EQ(backgrounds, 2);

    // The legend is tested last.
    Mouse().LegendHitTest = [](int x, int) { return x < 5 ? 3 : -1; };
    const TChartHit legendHit = Mouse().HitTestChart(2, 2);
    EXPECT_EQ(legendHit.Kind, hkLegend);
    EXPECT_EQ(legendHit.ValueIndex, 3);

    // A plot-area press with a button that starts no drag reports the
    // background once.
    backgrounds = 0;
    Press(inside.x(), inside.y(), mbMiddle);
    Release(inside.x(), inside.y(), mbMiddle);
    EXPECT_EQ(backgrounds, 1);

    // Without an active series the chart rectangle is no plot area.
    series->SetActive(false);
    Layout();
    EXPECT_NE(Mouse().HitTestChart(inside.x(), inside.y()).Kind, hkPlotArea);
    Press(inside.x(), inside.y());
    EXPECT_FALSE(chart.ZoomRecord().DragActive);
    Release(inside.x(), inside.y());
}

TEST_F(ChartMouseTest, MouseDownHandlerCanSuppressTheChartAndThrowingHandlersLeaveNoFlag)
{
    Mouse().OnMouseDown = [&](TCustomChart *c, TMouseButton, TShiftState, int, int) {
        c->SetMouseConsumed(true);
    };
    const QPoint p = EmptySpot();
    Press(p.x(), p.y());
    EXPECT_FALSE(chart.ZoomRecord().DragActive);
    EXPECT_FALSE(chart.MouseConsumed());
    Release(p.x(), p.y());
    Mouse().OnMouseDown = nullptr;

    // A click handler that throws leaves MouseConsumed set at the moment it
    // throws; the next press must still work. The press goes straight to the
    // chart's handling: an exception must not unwind through Qt's event
    // delivery, which leaks the event.
    Mouse().OnClickBackground = [](TCustomChart *, TMouseButton, TShiftState, int, int) {
        throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(Mouse().MouseDown(mbLeft, ssLeft, p.x(), p.y()), std::runtime_error);
    Mouse().MouseUp(mbLeft, 0, p.x(), p.y());
    EXPECT_FALSE(chart.MouseConsumed());
    Mouse().OnClickBackground = nullptr;
    Press(p.x(), p.y());
    EXPECT_TRUE(chart.ZoomRecord().DragActive);
    Release(p.x(), p.y());
}

TEST_F(ChartMouseTest, LineSeriesMarkersAreHitAndShowTheSeriesCursor)
{
    series->SetActive(false);
    auto *line = chart.AddSeries(std::make_unique<TLineSeries>());
    line->Pointer().SetVisible(true);
    line->SetCursor(Qt::CrossCursor);
    for (int i = 1; i <= 256; ++i)
        line->AppendPoint(i);
    Layout();
    int clicked = -1;
    Mouse().OnClickSeries = [&](TCustomChart *, TChartSeries *s, int index, TMouseButton,
                                TShiftState, int, int) {
        EXPECT_EQ(s, line);
        clicked = index;
    };
    const int x = line->PointScreenX(200), y = line->PointScreenY(200);
    Move(x, y);
    EXPECT_EQ(chart.cursor().shape(), Qt::CrossCursor);
    Press(x, y);
    EXPECT_EQ(clicked, 200);
    EXPECT_FALSE(chart.ZoomRecord().DragActive);
    Release(x, y);
    const QPoint empty = EmptySpot();
    Move(empty.x(), empty.y());
    EXPECT_EQ(chart.cursor().shape(), chart.OriginalCursor().shape());
}

// ---------------------------------------------------------------------------
// Panning

TEST_F(ChartMouseTest, PanningLeftAndBackRestoresTheRanges)
{
    std::vector<AxisRange> before;
    const QPoint p = PressToPan(chart.BottomAxis(), chart.LeftAxis(), 255, before);
    ASSERT_TRUE(chart.PanningRecord().DragActive);
    Move(p.x() - 10, p.y());
    // The content follows the pointer: the value that was under it is there.
    const double perPixel = 255.0 / chart.BottomAxis()->Mapping().PixelSize;
    EXPECT_NEAR(chart.BottomAxis()->Minimum(), 10 * perPixel, 1e-9);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), 0);
    Move(p.x() - 20, p.y()); // left of the start as well
    Move(p.x(), p.y());
    Release(p.x(), p.y(), mbRight);
    EXPECT_EQ(scrolls, 3);
    EXPECT_FALSE(chart.PanningRecord().DragActive);
    ExpectSameRanges(SideRanges(), before, 1e-9);
    EXPECT_FALSE(chart.Zoomed());
    EXPECT_TRUE(Mouse().AxisRangesSaved());
}

TEST_F(ChartMouseTest, HorizontalPanningScrollsOnlyHorizontalAxes)
{
    chart.SetAllowPanning(pmHorizontal);
    // Top and right carry no series; give them a range of their own.
    std::vector<AxisRange> before;
    const QPoint p = PressToPan(chart.TopAxis(), chart.RightAxis(), 100, before);
    Move(p.x(), p.y() + 15); // vertical only: nothing
    EXPECT_EQ(scrolls, 0);
    Move(p.x() + 20, p.y() + 30);
    Release(p.x() + 20, p.y() + 30, mbRight);
    EXPECT_EQ(scrolls, 1);
    const std::vector<AxisRange> after = SideRanges();
    EXPECT_LT(after[1].Min, before[1].Min); // bottom moved
    EXPECT_LT(after[0].Min, before[0].Min); // top moved
    EXPECT_DOUBLE_EQ(after[2].Min, before[2].Min);
    EXPECT_DOUBLE_EQ(after[2].Max, before[2].Max);
    EXPECT_DOUBLE_EQ(after[3].Min, before[3].Min);
    EXPECT_DOUBLE_EQ(after[3].Max, before[3].Max);

    chart.SetAllowPanning(pmNone);
    Press(p.x(), p.y(), mbRight);
    EXPECT_FALSE(chart.PanningRecord().DragActive);
    Release(p.x(), p.y(), mbRight);
}

TEST_F(ChartMouseTest, AllowScrollHandlerCanChangeOrRefuseTheRange)
{
    chart.RightAxis()->FixRange(0, 100);
    Layout();
    Mouse().OnAllowScroll = [&](TCustomChartAxis *axis, double &min, double &max, bool &allow) {
        if (axis == chart.LeftAxis())
            allow = false;
        else if (axis == chart.BottomAxis()) {
            min = 1000;
            max = 2000;
        }
    };
    const std::vector<AxisRange> before = SideRanges();
    const QPoint p = EmptySpot() + QPoint(200, 100);
    Press(p.x(), p.y(), mbRight);
    Move(p.x() + 10, p.y() + 10);
    Release(p.x() + 10, p.y() + 10, mbRight);
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Minimum(), 1000);
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Maximum(), 2000);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), before[2].Min);
    EXPECT_TRUE(chart.LeftAxis()->Automatic());
    EXPECT_NE(chart.RightAxis()->Minimum(), before[3].Min);
}

TEST_F(ChartMouseTest, PanningEndsOutsideTheChartRectAndWhenThePointerLeaves)
{
    const TRect r = chart.ChartRect();
    const QPoint p = EmptySpot() + QPoint(200, 100);
    Press(p.x(), p.y(), mbRight);
    Move(r.Right, p.y()); // the right edge is outside
    EXPECT_FALSE(chart.PanningRecord().DragActive);
    Release(r.Right, p.y(), mbRight);

    Press(p.x(), p.y(), mbRight);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&chart, &leave);
    EXPECT_FALSE(chart.PanningRecord().DragActive);
    Release(p.x(), p.y(), mbRight);

    // A zoom drag survives the pointer leaving.
    Press(p.x(), p.y());
    QApplication::sendEvent(&chart, &leave);
    EXPECT_TRUE(chart.ZoomRecord().DragActive);
    Release(p.x(), p.y());
}

TEST_F(ChartMouseTest, ADragWhoseReleaseWentElsewhereEndsAtTheNextMove)
{
    const std::vector<AxisRange> before = SideRanges();
    const QPoint p = EmptySpot() + QPoint(200, 100);
    // The releases are lost, as when a popup menu takes them.
    Press(p.x(), p.y(), mbRight);
    held = Qt::NoButton;
    Move(p.x() + 30, p.y() + 30);
    EXPECT_FALSE(chart.PanningRecord().DragActive);
    ExpectSameRanges(SideRanges(), before, 0);

    Press(p.x(), p.y());
    Move(p.x() + 40, p.y() + 40);
    held = Qt::NoButton;
    Move(p.x() + 80, p.y() + 80);
    EXPECT_FALSE(chart.ZoomRecord().DragActive);
    EXPECT_FALSE(chart.Zoomed());
    ExpectSameRanges(SideRanges(), before, 0);
    // The frame is gone from the window: it matches a plain picture.
    chart.show();
    QApplication::processEvents();
    const QImage shown = chart.grab().toImage();
    chart.InvalidatePanel();
    const QImage redrawn = chart.grab().toImage();
    EXPECT_EQ(shown, redrawn);
}

TEST_F(ChartMouseTest, ReleaseNotifiesEverySeriesAndEndsPanningWhateverTheButton)
{
    const QPoint p = EmptySpot() + QPoint(200, 100);
    Press(p.x(), p.y(), mbRight);
    Release(p.x(), p.y(), mbMiddle);
    EXPECT_FALSE(chart.PanningRecord().DragActive);
    EXPECT_EQ(series->MouseUps, 1);
}

TEST_F(ChartMouseTest, ContextMenuFollowsTheRightReleaseNeverThePress)
{
    chart.setContextMenuPolicy(Qt::CustomContextMenu);
    std::vector<QPoint> menus;
    QObject::connect(&chart, &QWidget::customContextMenuRequested,
                     [&](const QPoint &pos) { menus.push_back(pos); });
    std::vector<std::string> order;
    Mouse().OnMouseUp = [&](TCustomChart *, TMouseButton, TShiftState, int, int) {
        order.push_back("up");
    };
    QObject::connect(&chart, &QWidget::customContextMenuRequested,
                     [&] { order.push_back("menu"); });

    // Some platforms ask for the menu right after the press, where its popup
    // would take the release from the chart: that request is dropped.
    const QPoint p(series->PointScreenX(40), series->PointScreenY(40));
    Press(p.x(), p.y(), mbRight);
    QContextMenuEvent onPress(QContextMenuEvent::Mouse, p, chart.mapToGlobal(p));
    QApplication::sendEvent(&chart, &onPress);
    EXPECT_TRUE(menus.empty());
    Release(p.x() + 2, p.y() + 1, mbRight);
    EXPECT_EQ(menus, std::vector<QPoint>{p + QPoint(2, 1)});
    EXPECT_EQ(order, (std::vector<std::string>{"up", "menu"}));

    // Only the right button asks; the keyboard's menu key still does.
    Press(p.x(), p.y());
    Release(p.x(), p.y());
    EXPECT_EQ(menus.size(), 1u);
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5),
                          chart.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&chart, &key);
    EXPECT_EQ(menus.size(), 2u);
}

// ---------------------------------------------------------------------------
// Wheel

TEST_F(ChartMouseTest, WheelShiftsVerticalAxesRegardlessOfPanningAndIsNotUndone)
{
    chart.SetAllowPanning(pmNone);
    chart.LeftAxis()->FixRange(0, 200);
    const AxisRange bottom = RangeOf(chart.BottomAxis());
    int downs = 0, ups = 0;
    Mouse().OnMouseWheelDown = [&](TCustomChart *, TShiftState, QPoint, bool &) { ++downs; };
    Mouse().OnMouseWheelUp = [&](TCustomChart *, TShiftState, QPoint, bool &) { ++ups; };
    Wheel(-120); // toward the user: the range moves up
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), 6);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Maximum(), 206);
    Wheel(120);
    Wheel(120);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), 6 - 2 * 6);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 2);
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Minimum(), bottom.Min);
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Maximum(), bottom.Max);
    EXPECT_FALSE(Mouse().AxisRangesSaved());
    chart.ResetZoom();
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), -6);

    // Fine-grained wheels add up to whole notches.
    Wheel(-60);
    EXPECT_EQ(downs, 1);
    Wheel(-60);
    EXPECT_EQ(downs, 2);
    EXPECT_EQ(Mouse().WheelRemainder(), 0);

    // A handled OnMouseWheel keeps the chart from scrolling.
    Mouse().OnMouseWheel = [](TCustomChart *, TShiftState, int, QPoint, bool &handled) {
        handled = true;
    };
    const double min = chart.LeftAxis()->Minimum();
    Wheel(-240);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), min);
}

} // namespace
