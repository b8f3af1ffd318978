#include "chart/chart.h"
#include "chart/series/line_series.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The picture behind the series is kept from paint to paint: every change of
// what it shows must make the next picture a whole one, and only point values
// and colours may leave it in use.
using namespace kov;

namespace {

struct LayeredChart
{
    TChart chart;
    TLineSeries *series = nullptr;
    int width = 600;
    int height = 400;

    LayeredChart()
    {
        chart.SetView3D(false);
        // Shown by default; a visible legend keeps every paint whole.
        chart.Legend().SetVisible(false);
        auto owned = std::make_unique<TLineSeries>();
        series = owned.get();
        chart.AddSeries(std::move(owned));
        series->Pointer().SetVisible(true);
        for (int i = 0; i < 40; ++i)
            series->AppendPoint(10 + (i * 7) % 50, QString(), clDefault);
    }

    QImage Paint()
    {
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        chart.DrawToCanvas(&painter, TRect{0, 0, width, height});
        painter.end();
        return image;
    }

    QImage WholePicture()
    {
        chart.InvalidatePanel();
        return Paint();
    }
};

/// Paints, makes a change, paints again: the second picture must be a whole
/// one, show the change and equal a whole repaint.
void ExpectChangeRedrawsLayer(const char *what, const std::function<void(LayeredChart &)> &change,
                              bool view3D = false)
{
    SCOPED_TRACE(what);
    LayeredChart c;
    c.chart.SetView3D(view3D);
    c.Paint();
    // A point edit first, to be sure the layer is in use before the change.
    c.series->SetPointY(3, 30);
    const QImage before = c.Paint();
    ASSERT_TRUE(c.chart.PaintedOverLayer());
    change(c);
    const QImage after = c.Paint();
    EXPECT_FALSE(c.chart.PaintedOverLayer());
    EXPECT_NE(after, before) << "the change shows nowhere: the test would prove nothing";
    EXPECT_EQ(after, c.WholePicture());
}

} // namespace

TEST(ChartLayer, PointEditsDrawOverTheKeptPicture)
{
    LayeredChart c;
    const QImage first = c.Paint();
    EXPECT_FALSE(c.chart.PaintedOverLayer());
    c.series->SetPointY(5, 20);
    c.series->SetPointColor(6, clBlue);
    const QImage edited = c.Paint();
    EXPECT_TRUE(c.chart.PaintedOverLayer());
    EXPECT_NE(edited, first);
    EXPECT_EQ(edited, c.WholePicture());
}

TEST(ChartLayer, EachKindOfChangeRedrawsIt)
{
    // Axis range, grid pen, wall colour, 3D on and off, panel size, margins,
    // labels, panel colour.
    ExpectChangeRedrawsLayer("axis range", [](LayeredChart &c) {
        TChartAxis &axis = *c.chart.LeftAxis();
        axis.SetAutomatic(false);
        axis.SetMaximum(200);
        axis.SetMinimum(0);
    });
    ExpectChangeRedrawsLayer("grid colour",
                             [](LayeredChart &c) { c.chart.LeftAxis()->Grid().SetColor(clRed); });
    ExpectChangeRedrawsLayer("grid width",
                             [](LayeredChart &c) { c.chart.BottomAxis()->Grid().SetWidth(3); });
    ExpectChangeRedrawsLayer("wall outline colour",
                             [](LayeredChart &c) { c.chart.BackWall().Pen().SetColor(clRed); });
    ExpectChangeRedrawsLayer("3D on", [](LayeredChart &c) { c.chart.SetView3D(true); });
    ExpectChangeRedrawsLayer(
        "3D off", [](LayeredChart &c) { c.chart.SetView3D(false); }, true);
    ExpectChangeRedrawsLayer("panel size", [](LayeredChart &c) { c.width = 500; });
    ExpectChangeRedrawsLayer("margin", [](LayeredChart &c) { c.chart.SetMarginLeft(10); });
    ExpectChangeRedrawsLayer("labels off",
                             [](LayeredChart &c) { c.chart.LeftAxis()->SetLabels(false); });
    ExpectChangeRedrawsLayer("panel colour", [](LayeredChart &c) { c.chart.SetColor(clAqua); });
    ExpectChangeRedrawsLayer(
        "labels font", [](LayeredChart &c) { c.chart.BottomAxis()->LabelsFont().SetColor(clRed); });
}

TEST(ChartLayer, AnEditThatMovesAnAutomaticRangeRedrawsTheAxes)
{
    LayeredChart c;
    c.Paint();
    c.series->SetPointY(3, 500);
    const QImage grown = c.Paint();
    EXPECT_FALSE(c.chart.PaintedOverLayer());
    EXPECT_EQ(grown, c.WholePicture());
    // Back inside the range the new picture is kept and used again.
    c.series->SetPointY(4, 499);
    EXPECT_EQ(c.Paint(), c.WholePicture());
}

TEST(ChartLayer, LabelsTakenFromPointValuesFollowEdits)
{
    // Marks as labels of the left axis are drawn at the points' values: an
    // edit must redraw them even when the range stays.
    LayeredChart c;
    c.chart.LeftAxis()->SetLabelStyle(talMark);
    c.Paint();
    c.series->SetPointY(3, 31);
    const QImage edited = c.Paint();
    EXPECT_FALSE(c.chart.PaintedOverLayer());
    EXPECT_EQ(edited, c.WholePicture());

    // So must a drawing event, whose handler may read them.
    LayeredChart d;
    int calls = 0;
    d.chart.OnBeforeDrawAxes = [&calls](TCustomAxisPanel *) { ++calls; };
    d.Paint();
    d.series->SetPointY(3, 31);
    d.Paint();
    EXPECT_FALSE(d.chart.PaintedOverLayer());
    EXPECT_EQ(calls, 2);
}

TEST(ChartLayer, AVisibleLegendIsKeptUntilOneOfItsRowsChanges)
{
    // The legend is drawn behind the series: an edit that changes a row it
    // shows (text or symbol colour) draws the whole picture, any other edit
    // draws over the kept one. The 40 values do not all fit beside the chart.
    struct Case
    {
        const char *what;
        TLegendStyle style;
        TLegendTextStyle text;
        std::function<void(TLineSeries &)> edit;
        bool overLayer;
    };
    const Case cases[] = {
        {"shown value", lsValues, ltsLeftValue, [](TLineSeries &s) { s.SetPointY(3, 12.5); },
         false},
        {"shown colour", lsValues, ltsPlain, [](TLineSeries &s) { s.SetPointColor(2, clAqua); },
         false},
        {"value not shown", lsValues, ltsLeftValue, [](TLineSeries &s) { s.SetPointY(39, 12.5); },
         true},
        {"label text only", lsValues, ltsPlain, [](TLineSeries &s) { s.SetPointY(3, 12.5); }, true},
        {"percent of every row", lsValues, ltsLeftPercent,
         [](TLineSeries &s) { s.SetPointY(39, 12.5); }, false},
        {"series title", lsSeries, ltsLeftValue, [](TLineSeries &s) { s.SetPointY(3, 12.5); },
         true},
        {"last value", lsLastValues, ltsLeftValue, [](TLineSeries &s) { s.SetPointY(39, 12.5); },
         false},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.what);
        LayeredChart c;
        c.chart.Legend().SetVisible(true);
        c.chart.Legend().SetLegendStyle(k.style);
        c.chart.Legend().SetTextStyle(k.text);
        for (int i = 0; i < 40; ++i)
            c.series->SetPointLabel(i, QStringLiteral("P%1").arg(i));
        const QImage before = c.Paint();
        ASSERT_LT(c.chart.Legend().RowCount(), 40);
        k.edit(*c.series);
        const QImage edited = c.Paint();
        EXPECT_EQ(c.chart.PaintedOverLayer(), k.overLayer);
        EXPECT_NE(edited, before);
        EXPECT_EQ(edited, c.WholePicture());
    }

    // Events that place the legend may read anything: every edit draws whole.
    LayeredChart d;
    d.chart.Legend().SetVisible(true);
    d.chart.OnGetLegendRect = [](TCustomChart *, TRect &) {};
    d.Paint();
    d.series->SetPointY(39, 12.5);
    d.Paint();
    EXPECT_FALSE(d.chart.PaintedOverLayer());
}

TEST(ChartLayer, UnbufferedAndOtherSurfacesDrawWholePictures)
{
    LayeredChart c;
    c.Paint();
    c.series->SetPointY(3, 30);
    c.width = 300;
    c.Paint();
    EXPECT_FALSE(c.chart.PaintedOverLayer());
    c.chart.SetBuffered(false);
    c.series->SetPointY(3, 32);
    c.Paint();
    c.series->SetPointY(3, 33);
    c.Paint();
    EXPECT_FALSE(c.chart.PaintedOverLayer());
}
