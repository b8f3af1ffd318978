#include "app/chart_setup.h"
#include "app/display_modes.h"
#include "app/main_form.h"
#include "chart/chart.h"
#include "chart/series/line_series.h"
#include "test_support.h"
#include "tests/chart/chart_picture.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

// A picture drawn over the kept picture behind the series must be the very
// picture a whole repaint draws, whatever happened before it: random drags,
// zooms, scrolls, view switches and property changes on the main window's
// chart, each picture compared pixel for pixel with a whole repaint.
using namespace kov;

namespace {

QImage Picture(TChart &chart, int width, int height, qreal ratio)
{
    return kov::testing::DrawPicture(chart, width, height, Qt::black,
                                     QImage::Format_ARGB32_Premultiplied, ratio);
}

/// The first differing pixel, or an empty text when the pictures are equal.
std::string Difference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "first differing pixel at " + std::to_string(x) + "," + std::to_string(y);
    return {};
}

/// With legend set, the chart shows a legend of the values at the right,
/// behind the series; now and then its text style changes.
void RandomEditsMatchWholeRepaints(qreal ratio, int steps, bool legend = false)
{
    TForm1 form;
    form.OpenFile(test::DataFile(QStringLiteral("ramp.inc")));
    TChart &chart = *form.Chart1;
    TLineSeries &series = *form.Series1;
    chart.SetAnimatedZoom(false);
    if (legend) {
        chart.Legend().SetVisible(true);
        chart.Legend().SetResizeChart(true);
        series.SetShowInLegend(true);
    }
    std::mt19937 random(1234);
    auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    int width = 950;
    int height = 510;
    int overLayer = 0;
    Picture(chart, width, height, ratio);
    for (int step = 0; step < steps; ++step) {
        const int kind = below(100);
        std::string what;
        if (kind < 70 && series.PointCount() > 0) {
            // A drag step: one point moves and takes the colour of its value.
            const int index = below(series.PointCount());
            const bool timePower = form.RadioGroup1->ItemIndex() == 1;
            const int v = timePower ? below(201) - 100 : below(256);
            series.SetPointY(index, v);
            series.SetPointColor(index,
                                 below(10) == 0 ? clNone : ColorForValue(timePower ? 1 : 0, v));
            what = "point " + std::to_string(index) + " to " + std::to_string(v);
        } else if (kind < 76) {
            chart.Mouse().WheelScrollAxes(below(2) == 0);
            what = "wheel scroll";
        } else if (kind < 82) {
            if (below(3) == 0) {
                chart.ResetZoom();
                what = "zoom undone";
            } else {
                const double low = below(100);
                chart.Mouse().ApplyZoomRanges(0, 1, low, low + 20 + below(200), below(50),
                                              60 + below(200), 0, 1);
                what = "zoom";
            }
        } else if (kind < 86) {
            form.RadioGroup1->SetItemIndex(below(2));
            what = "view switch";
        } else if (kind < 90) {
            if (legend && below(2) == 0) {
                chart.Legend().SetTextStyle(below(2) == 0 ? ltsLeftValue : ltsPlain);
                what = "legend text style";
            } else {
                chart.LeftAxis()->Grid().SetColor(below(2) == 0 ? clGray : clBlue);
                what = "grid colour";
            }
        } else if (kind < 93) {
            series.Pointer().SetHorizSize(3 + below(3));
            what = "marker size";
        } else if (kind < 96) {
            width = 900 + below(60);
            height = 480 + below(40);
            what = "size";
        } else {
            chart.SetView3D(!chart.View3D());
            what = "3D";
        }
        const QImage fast = Picture(chart, width, height, ratio);
        overLayer += chart.PaintedOverLayer() ? 1 : 0;
        chart.InvalidatePanel();
        const QImage whole = Picture(chart, width, height, ratio);
        ASSERT_FALSE(chart.PaintedOverLayer());
        const std::string difference = Difference(fast, whole);
        ASSERT_TRUE(difference.empty())
            << "after step " << step << " (" << what << "): " << difference;
    }
    // The kept picture was really used, for many of the edits (an edit that
    // moves an extreme of the ramp changes the axes and is drawn whole).
    EXPECT_GT(overLayer, steps / 5);
}

} // namespace

TEST(LayerPicture, RandomEditsOnTheMainWindowChartMatchWholeRepaints)
{
    RandomEditsMatchWholeRepaints(1.0, 400);
}

TEST(LayerPicture, RandomEditsMatchWholeRepaintsOnADenseScreen)
{
    RandomEditsMatchWholeRepaints(2.0, 120);
}

TEST(LayerPicture, RandomEditsBesideAVisibleLegendMatchWholeRepaints)
{
    RandomEditsMatchWholeRepaints(1.0, 300, true);
}

TEST(LayerPicture, TenThousandPointsMatchWholeRepaints)
{
    TForm1 form;
    TChart &chart = *form.Chart1;
    TLineSeries &series = *form.Series1;
    series.RemoveAllPoints();
    for (int i = 0; i < 10000; ++i)
        series.AppendPoint((i * 37) % 256, QString::number(i), ColorForValue(0, (i * 37) % 256));
    std::mt19937 random(99);
    Picture(chart, 950, 510, 1.0);
    for (int step = 0; step < 40; ++step) {
        const int index = static_cast<int>(random() % 10000);
        const int v = static_cast<int>(random() % 256);
        series.SetPointY(index, v);
        series.SetPointColor(index, ColorForValue(0, v));
        const QImage fast = Picture(chart, 950, 510, 1.0);
        EXPECT_TRUE(chart.PaintedOverLayer());
        chart.InvalidatePanel();
        const QImage whole = Picture(chart, 950, 510, 1.0);
        const std::string difference = Difference(fast, whole);
        ASSERT_TRUE(difference.empty()) << "after step " << step << ": " << difference;
    }
}

namespace {

/// The main window's chart as the window sets it up, with a legend of its
/// values at the right: each picture after pans, wheel turns, zoom steps,
/// resizes and edits must equal the picture of a chart built afresh in the
/// same state, whose canvas kept no texts, fonts or layer of those steps.
struct LegendChart
{
    TChart chart;
    TLineSeries *series = nullptr;

    explicit LegendChart(int points)
    {
        SetUpChart1(chart);
        auto owned = std::make_unique<TLineSeries>();
        SetUpSeries1(*owned);
        series = chart.AddSeries(std::move(owned));
        for (int i = 0; i < points; ++i)
            series->AppendPoint((i * 37) % 256, QString::number(i), ColorForValue(0, i % 256));
        chart.Legend().SetVisible(true);
        chart.Legend().SetResizeChart(true);
        series->SetShowInLegend(true);
    }

    void TakeStateOf(const LegendChart &other)
    {
        for (int i = 0; i < series->PointCount(); ++i) {
            series->SetPointY(i, other.series->YValues()->ValueAt(i));
            series->SetPointColor(i, other.series->ColorList()[static_cast<std::size_t>(i)]);
        }
        for (const auto axis : {&TCustomAxisPanel::BottomAxis, &TCustomAxisPanel::LeftAxis}) {
            const TChartAxis &from = *(other.chart.*axis)();
            if (!from.Automatic())
                (chart.*axis)()->FixRange(from.Minimum(), from.Maximum());
        }
    }
};

} // namespace

TEST(LayerPicture, PansWheelZoomAndResizeWithALegendMatchAFreshChart)
{
    // Each kind of step alone and all mixed, over random sequences.
    enum Step { Pan, Wheel, Zoom, Resize, Edit, Mixed };
    for (const Step kind : {Pan, Wheel, Zoom, Resize, Mixed}) {
        SCOPED_TRACE(static_cast<int>(kind));
        LegendChart c(256);
        std::mt19937 random(77 + kind);
        auto below = [&random](int n) {
            return static_cast<int>(random() % static_cast<unsigned>(n));
        };
        int width = 950;
        int height = 510;
        Picture(c.chart, width, height, 1.0);
        for (int step = 0; step < 8; ++step) {
            const Step now = kind == Mixed ? static_cast<Step>(below(5)) : kind;
            switch (now) {
            case Pan:
                c.chart.BottomAxis()->ShiftRange(below(21) - 10, false);
                break;
            case Wheel:
                c.chart.Mouse().WheelScrollAxes(below(2) == 0);
                break;
            case Zoom: {
                const double low = below(100);
                c.chart.Mouse().ApplyZoomRanges(0, 1, low, low + 20 + below(200), below(50),
                                                60 + below(200), 0, 1);
                break;
            }
            case Resize:
                width = 700 + below(300);
                height = 400 + below(150);
                break;
            default:
                c.series->SetPointY(below(256), below(256));
                break;
            }
            const QImage kept = Picture(c.chart, width, height, 1.0);
            // The fresh chart draws once as it was built, as the kept one did.
            LegendChart fresh(256);
            Picture(fresh.chart, width, height, 1.0);
            fresh.TakeStateOf(c);
            const QImage other = Picture(fresh.chart, width, height, 1.0);
            const std::string difference = Difference(kept, other);
            ASSERT_TRUE(difference.empty()) << "after step " << step << ": " << difference;
        }
    }
}
