#include "chart/chart.h"
#include "tests/chart/chart_picture.h"
#include "tests/chart/recording_series.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

using namespace kov;
using kov::testing::TRecordingSeries;

namespace {

/// A chart that logs the pipeline steps it is asked to run.
class TLoggingChart : public TChart
{
public:
    QStringList Log;

    void PaintBackground(const TRect &rect) override
    {
        Log << "PaintBackground";
        TChart::PaintBackground(rect);
    }
    void PaintTitlesAndLegend() override
    {
        Log << "PaintTitlesAndLegend";
        TChart::PaintTitlesAndLegend();
    }
    void LayoutAxes() override
    {
        Log << "LayoutAxes";
        TChart::LayoutAxes();
    }
    void LayoutSeriesArea() override
    {
        Log << "LayoutSeriesArea";
        TChart::LayoutSeriesArea();
    }
    void PaintWalls() override
    {
        Log << "PaintWalls";
        TChart::PaintWalls();
    }
};

QImage Paint(TCustomChartPanel &chart, int width = 950, int height = 510)
{
    chart.resize(width, height);
    return kov::testing::DrawPicture(chart, width, height, Qt::magenta);
}

TRecordingSeries *AddSeries(TCustomAxisPanel &chart, QStringList *log, const QString &title,
                            int points)
{
    auto *s = chart.AddSeries(std::make_unique<TRecordingSeries>(log));
    s->SetTitle(title);
    for (int i = 0; i < points; ++i)
        s->AppendPoint(i * 10);
    return s;
}

} // namespace

TEST(TCustomAxisPanelPipeline, StepsRunInOrder)
{
    TLoggingChart chart;
    chart.SetView3D(false);
    QStringList &log = chart.Log;
    AddSeries(chart, &log, "A", 2);
    AddSeries(chart, &log, "Off", 2)->SetActive(false);
    AddSeries(chart, &log, "Empty", 0);
    AddSeries(chart, &log, "B", 1);
    chart.OnBeforeDrawAxes = [&](TCustomAxisPanel *) { log << "OnBeforeDrawAxes"; };
    chart.OnBeforeDrawSeries = [&](TCustomAxisPanel *) { log << "OnBeforeDrawSeries"; };
    chart.OnAfterDraw = [&](TCustomChartPanel *) { log << "OnAfterDraw"; };
    Paint(chart);

    const QStringList expected{
        "PaintBackground",      "A:BeforeDrawChart",  "Empty:BeforeDrawChart", "B:BeforeDrawChart",
        "PaintTitlesAndLegend", "LayoutAxes",         "LayoutSeriesArea",      "PaintWalls",
        "OnBeforeDrawAxes",     "OnBeforeDrawSeries", "A:BeforeDrawPoints",    "A:DrawPoint 0",
        "A:DrawPoint 1",        "A:AfterDrawPoints",  "B:BeforeDrawPoints",    "B:DrawPoint 0",
        "B:AfterDrawPoints",    "OnAfterDraw"};
    EXPECT_EQ(log, expected);

    // Without axes the axis event is not raised, the rest stays.
    log.clear();
    chart.SetAxisVisible(false);
    Paint(chart);
    EXPECT_FALSE(log.contains("OnBeforeDrawAxes"));
    EXPECT_TRUE(log.contains("OnBeforeDrawSeries"));
}

TEST(TCustomAxisPanelPipeline, LayoutGivesAxesTheirRoomAndRanges)
{
    TChart chart;
    chart.SetView3D(false);
    chart.Legend().SetVisible(false);
    auto *s = AddSeries(chart, nullptr, "", 10); // X 0..9, Y 0..90
    Paint(chart);

    const TRect r = chart.ChartRect();
    // The margins give 29, 20, 921, 490; the left and bottom axes then take
    // their labels and ticks out of it, the top and right axes nothing.
    EXPECT_GT(r.Left, 29);
    EXPECT_LT(r.Bottom, 490);
    EXPECT_EQ(r.Top, 20);
    EXPECT_EQ(r.Right, 921);
    TCustomChartAxis *bottom = chart.BottomAxis();
    TCustomChartAxis *left = chart.LeftAxis();
    EXPECT_EQ(bottom->Mapping().StartPixel, r.Left);
    EXPECT_EQ(bottom->Mapping().EndPixel, r.Right);
    EXPECT_EQ(left->Mapping().StartPixel, r.Top);
    EXPECT_EQ(left->Mapping().EndPixel, r.Bottom);
    EXPECT_EQ(bottom->Mapping().RangeMin, 0);
    EXPECT_EQ(bottom->Mapping().RangeMax, 9);
    EXPECT_EQ(left->Mapping().RangeMin, 0);
    EXPECT_EQ(left->Mapping().RangeMax, 90);
    // Series conversions go through the same axes.
    EXPECT_EQ(s->PointScreenX(0), r.Left);
    EXPECT_EQ(s->PointScreenY(0), r.Bottom);
    EXPECT_DOUBLE_EQ(s->ScreenYToValue(r.Top), 90);
    s->ComputeShownRange();
    EXPECT_EQ(s->FirstShownIndex(), 0);
    EXPECT_EQ(s->LastShownIndex(), 9);
}

TEST(TCustomAxisPanelPipeline, SeriesMarginsWidenTheRange)
{
    TChart chart;
    chart.SetView3D(false);
    auto *s = AddSeries(chart, nullptr, "", 10);
    s->HorizMargin = 20;
    s->VertMargin = 15;
    Paint(chart);
    const TRect r = chart.ChartRect();
    EXPECT_LT(chart.BottomAxis()->Mapping().RangeMin, 0);
    EXPECT_GT(chart.BottomAxis()->Mapping().RangeMax, 9);
    // The data's ends land the margins away from the axis ends.
    EXPECT_NEAR(s->PointScreenX(0), r.Left + 20, 1);
    EXPECT_NEAR(s->PointScreenX(9), r.Right - 20, 1);
    EXPECT_NEAR(s->PointScreenY(9), r.Top + 15, 1);
    EXPECT_NEAR(s->PointScreenY(0), r.Bottom - 15, 1);
}

TEST(TCustomAxisPanelPipeline, ShownRangeFollowsAFixedAxis)
{
    TChart chart;
    chart.SetView3D(false);
    auto *s = AddSeries(chart, nullptr, "", 20);
    chart.BottomAxis()->FixRange(5, 12);
    Paint(chart);
    EXPECT_EQ(s->FirstShownIndex(), 5);
    EXPECT_EQ(s->LastShownIndex(), 12);
    EXPECT_EQ(s->Drawn.first(), "5");
    EXPECT_EQ(s->Drawn.last(), "12");
}

// Ascending X is searched by halving: repeated values at the range's start,
// a range between points, and a list that setting values put out of order
// (walked instead) give what walking the list gives.
TEST(TCustomAxisPanelPipeline, ShownRangeOfRepeatedAndDisorderedX)
{
    struct Case
    {
        std::vector<double> X;
        std::vector<std::pair<int, double>> Set;
        double From, To;
        int First, Last;
    };
    const Case cases[] = {
        {{0, 1, 1, 1, 2, 3, 3, 4}, {}, 1, 3.5, 1, 6},
        {{0, 1, 1, 1, 2, 3, 3, 4}, {}, 1.5, 2.5, 4, 4},
        {{0, 5, 10, 20, 30}, {{1, 10}, {2, 5}}, 6, 25, 1, 3},
    };
    for (const Case &c : cases) {
        TChart chart;
        chart.SetView3D(false);
        auto *s = AddSeries(chart, nullptr, "", 0);
        s->XValues()->SetOrder(loAscending);
        for (double x : c.X)
            s->AppendPointXY(x, 1);
        for (const auto &[i, x] : c.Set)
            s->XValues()->SetValueAt(i, x);
        chart.BottomAxis()->FixRange(c.From, c.To);
        Paint(chart);
        EXPECT_EQ(s->FirstShownIndex(), c.First) << c.From;
        EXPECT_EQ(s->LastShownIndex(), c.Last) << c.From;
    }
}

TEST(TCustomAxisPanelPipeline, PagingSetsTheBottomRange)
{
    TChart chart;
    chart.SetView3D(false);
    AddSeries(chart, nullptr, "", 10);
    chart.SetMaxPointsPerPage(4);
    chart.SetScaleLastPage(false);
    chart.SetPage(3);
    Paint(chart);
    EXPECT_EQ(chart.BottomAxis()->Mapping().RangeMin, 8);
    EXPECT_EQ(chart.BottomAxis()->Mapping().RangeMax, 10); // 8 + (9 - 8) * 4 / 2
}

TEST(TCustomAxisPanelPipeline, DepthOrderAndPositionsIn3D)
{
    TChart chart;
    chart.SetView3D(true);
    auto *a = AddSeries(chart, nullptr, "A", 3);
    auto *b = AddSeries(chart, nullptr, "B", 3);
    auto *fixed = AddSeries(chart, nullptr, "F", 3);
    fixed->SetZOrderSetting(4);
    Paint(chart);
    EXPECT_EQ(a->ZOrder(), 0);
    EXPECT_EQ(b->ZOrder(), 1);
    EXPECT_EQ(chart.MaxZOrder(), 4);
    EXPECT_EQ(a->DepthSlot(), 4);
    EXPECT_EQ(fixed->DepthSlot(), 0);
    const int step = chart.SeriesWidth3D();
    EXPECT_GT(step, 0);
    EXPECT_EQ(chart.Width3D(), 5 * step);
    EXPECT_EQ(chart.Height3D(), 5 * step);
    EXPECT_EQ(a->DepthStart(), 4 * step);
    EXPECT_EQ(a->DepthEnd(), 5 * step);
    EXPECT_EQ(a->DepthMiddle(), (4 * step + 5 * step) / 2);

    chart.SetView3D(false);
    Paint(chart);
    EXPECT_EQ(chart.MaxZOrder(), 0);
    EXPECT_EQ(chart.Width3D(), 0);
    EXPECT_EQ(a->DepthSlot(), 0);
    EXPECT_EQ(a->DepthStart(), 0);
}

TEST(TCustomAxisPanelPipeline, SeriesSharingADepthPaintTogether)
{
    TChart chart;
    chart.SetView3D(true);
    QStringList log;
    auto *a = AddSeries(chart, &log, "A", 2);
    auto *b = AddSeries(chart, &log, "B", 3);
    a->SetZOrderSetting(0);
    b->SetZOrderSetting(0);
    Paint(chart);
    // The first member draws point by point for the whole group.
    const QStringList drawn = log.filter("DrawPoint ");
    EXPECT_EQ(drawn, (QStringList{"A:DrawPoint 0", "B:DrawPoint 0", "A:DrawPoint 1",
                                  "B:DrawPoint 1", "B:DrawPoint 2"}));
    EXPECT_EQ(log.filter("AfterDrawPoints"),
              (QStringList{"A:AfterDrawPoints", "B:AfterDrawPoints"}));
}

TEST(TCustomAxisPanelPipeline, PictureShowsAxesGridAndPoints)
{
    TChart chart;
    chart.SetView3D(false);
    chart.SetColor(clWhite);
    auto *s = AddSeries(chart, nullptr, "", 26); // Y 0..250
    s->SetSeriesColor(clBlue);
    s->MarkerHalf = 3;
    s->VertMargin = 10;
    s->HorizMargin = 10;
    const QImage image = Paint(chart);
    const TRect r = chart.ChartRect();
    const QRgb blue = qRgb(0, 0, 255);

    // Background in the panel colour outside the chart rectangle.
    EXPECT_EQ(image.pixel(2, 2) & 0xFFFFFF, 0xFFFFFFu);
    // A point's square in its colour.
    const int x = s->PointScreenX(12);
    const int y = s->PointScreenY(12);
    EXPECT_EQ(image.pixel(x, y), blue);

    auto isDark = [&](int px, int py) { return qGray(image.pixel(px, py)) < 128; };
    auto darkNear = [&](int px, int py) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (isDark(px + dx, py + dy))
                    return true;
        return false;
    };
    // The bottom axis line below the chart rectangle and the left axis line
    // beside it (the default axis pen is black).
    EXPECT_TRUE(darkNear(r.Left + r.Width() / 3, chart.BottomAxis()->Layout().AxisLinePos));
    EXPECT_TRUE(darkNear(chart.LeftAxis()->Layout().AxisLinePos, r.Top + r.Height() / 3));
    // Labels to the left of the left axis: some dark pixels in their band,
    // which ends at LabelsPos.
    int dark = 0;
    for (int px = 3; px < chart.LeftAxis()->Layout().LabelsPos; ++px)
        for (int py = r.Top; py < r.Bottom; ++py)
            dark += isDark(px, py) ? 1 : 0;
    EXPECT_GT(dark, 20);
    // Dashed grid lines cross the plot area: columns of a band through the
    // middle of the plot hold pixels that are neither white nor blue.
    int gridColumns = 0;
    for (int px = r.Left + 2; px < r.Right - 2; ++px) {
        bool grid = false;
        for (int py = r.Top + r.Height() / 2; py < r.Top + r.Height() / 2 + 12; ++py) {
            const QRgb p = image.pixel(px, py);
            grid = grid || (p != qRgb(255, 255, 255) && p != blue);
        }
        gridColumns += grid ? 1 : 0;
    }
    EXPECT_GT(gridColumns, 5);
}

TEST(TCustomAxisPanelPipeline, ClipPointsKeepsMarkersInsideTheChartRectangle)
{
    for (bool clip : {true, false}) {
        TChart chart;
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        chart.SetClipPoints(clip);
        auto *s = AddSeries(chart, nullptr, "", 11); // Y 0..100
        s->SetSeriesColor(clBlue);
        s->MarkerHalf = 6;
        chart.LeftAxis()->FixRange(0, 50);
        const QImage image = Paint(chart);
        const TRect r = chart.ChartRect();
        // Point 10 (Y 100) lies far above the top; point 5 (Y 50) sits on
        // the top edge, its square half outside.
        const int x = s->PointScreenX(5);
        EXPECT_EQ(s->PointScreenY(5), r.Top);
        const bool aboveTopIsBlue = image.pixel(x, r.Top - 3) == qRgb(0, 0, 255);
        EXPECT_EQ(aboveTopIsBlue, !clip) << "clip " << clip;
    }
}
