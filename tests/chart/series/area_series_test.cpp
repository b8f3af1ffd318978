#include "chart/canvas/canvas3d.h"
#include "chart/exceptions.h"
#include "chart/series/area_series.h"
#include "tests/chart/flat_chart_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace kov;

namespace {

constexpr TColor Fill = clRed;
constexpr TColor Other = clBlue;

/// A flat 400 x 300 chart without axes or legend, the vertical axis fixed at
/// 0..10 and the horizontal at -1..4, holding area series painted into an
/// image.
class AreaSeriesTest : public kov::testing::FlatChartTest
{
protected:
    void SetUp() override
    {
        MakeBare(400, 300);
        FixRange(chart.LeftAxis(), 0, 10);
        FixRange(chart.BottomAxis(), -1, 4);
    }

    TAreaSeries *AddArea(const std::vector<double> &values, TColor color, TMultiArea multi = maNone)
    {
        auto *s = chart.AddSeries(std::make_unique<TAreaSeries>());
        s->SetSeriesColor(color);
        s->SetMultiArea(multi);
        s->AreaLinesPen().SetVisible(false);
        for (double v : values)
            s->AppendPoint(v);
        return s;
    }

    int XAt(double x) const { return chart.BottomAxis()->ValueToPos(x); }
    int YAt(double y) const { return chart.LeftAxis()->ValueToPos(y); }
    int Hit(const TAreaSeries *s, double x, double y) const { return s->HitTest(XAt(x), YAt(y)); }
};

TEST_F(AreaSeriesTest, FillsBetweenTheLineAndItsOrigin)
{
    // Points 4 and 6: the edge at x = 0.5 lies at 5.
    struct Case
    {
        bool useOrigin;
        double origin;
        double emptyBelow; // a value under the area: empty (-1: none)
    };
    for (const Case c : {Case{false, 0, -1}, Case{true, 3, 1}}) {
        SCOPED_TRACE(c.useOrigin);
        chart.DestroyAllSeries();
        TAreaSeries *s = AddArea({4, 6}, Fill);
        s->SetUseYOrigin(c.useOrigin);
        s->SetYOrigin(c.origin);
        Paint();
        const int x = XAt(0.5);
        EXPECT_EQ(Pixel(x, YAt(5) + 2), Fill);
        EXPECT_EQ(Pixel(x, YAt(5) - 2), clWhite);
        EXPECT_EQ(Pixel(x, YAt(c.useOrigin ? 3.3 : 0.2)), Fill);
        if (c.emptyBelow >= 0) {
            EXPECT_EQ(Pixel(x, YAt(c.emptyBelow)), clWhite);
        }
        EXPECT_EQ(Hit(s, 0.5, 4.5), 0);
        EXPECT_EQ(Hit(s, 0.5, 5.5), -1);
    }
}

TEST_F(AreaSeriesTest, StackedAreasDrawOnTheSumBelowThem)
{
    TAreaSeries *a = AddArea({2, 3, 1}, Other, maStacked);
    TAreaSeries *b = AddArea({3, 1, -1}, Fill, maStacked);
    Paint();
    const std::vector<double> top{5, 4, 0};
    for (int i = 0; i < 3; ++i)
        EXPECT_DOUBLE_EQ(b->DrawnY(i), top[i]) << i;
    EXPECT_EQ(Pixel(XAt(0.5), YAt(4.5) + 2), Fill);
    EXPECT_EQ(Pixel(XAt(0.5), YAt(2.5) + 2), Other);
    EXPECT_EQ(Pixel(XAt(0.5), YAt(4.5) - 3), clWhite);
    EXPECT_EQ(b->MarkPoint(chart.SeriesPaintContext(*b), 0), (TPoint{XAt(0), YAt(5)}));
    // The range reaches the highest sum and the stack's foot.
    EXPECT_DOUBLE_EQ(b->LargestY(), 5);
    EXPECT_DOUBLE_EQ(a->SmallestY(), 0);
    EXPECT_EQ(Hit(b, 0.5, 4), 0);
    EXPECT_EQ(Hit(a, 0.5, 2), 0);
}

TEST_F(AreaSeriesTest, AStackSkipsANullPointBelow)
{
    TAreaSeries *a = AddArea({1, 1, 1}, Other, maStacked);
    TAreaSeries *b = AddArea({2, 2, 2}, Fill, maStacked);
    a->SetPointColor(1, clNone);
    EXPECT_DOUBLE_EQ(b->DrawnY(1), 2);
    EXPECT_DOUBLE_EQ(b->DrawnY(0), 3);
    b->SetMultiArea(maStacked100);
    a->SetMultiArea(maStacked100);
    EXPECT_DOUBLE_EQ(b->DrawnY(1), 100);
}

TEST_F(AreaSeriesTest, StackedToHundredSurvivesAnAllZeroColumn)
{
    TAreaSeries *a = AddArea({0, 1, 3}, Other, maStacked100);
    TAreaSeries *b = AddArea({0, 3, 1}, Fill, maStacked100);
    FixRange(chart.LeftAxis(), 0, 100);
    EXPECT_NO_THROW(Paint());
    const double aTop[] = {0, 25, 75};
    const double bTop[] = {0, 100, 100};
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(a->DrawnY(i), aTop[i]) << i;
        EXPECT_DOUBLE_EQ(b->DrawnY(i), bTop[i]) << i;
    }
    EXPECT_DOUBLE_EQ(b->LargestY(), 100);
    EXPECT_EQ(Pixel(XAt(1.5), YAt(95)), Fill);
    EXPECT_EQ(Pixel(XAt(1.5), YAt(45)), Other);
}

TEST_F(AreaSeriesTest, ANullPointBreaksTheArea)
{
    TAreaSeries *s = AddArea({5, 5}, Fill);
    s->AppendNullPoint();
    s->AppendPoint(5);
    Paint();
    EXPECT_EQ(Pixel(XAt(0.5), YAt(2)), Fill);
    for (double x : {1.5, 2.5}) {
        EXPECT_EQ(Pixel(XAt(x), YAt(2)), clWhite) << x;
        EXPECT_EQ(Hit(s, x, 2), -1) << x;
    }
    EXPECT_EQ(Hit(s, 0.5, 2), 0);
}

TEST_F(AreaSeriesTest, ThreeDAreaIsASolidWithTopFrontAndEndFaces)
{
    chart.SetView3D(true);
    chart.View3DOptions().SetOrthogonal(true);
    TAreaSeries *s = AddArea({4, 4}, Fill);
    s->LinePen().SetVisible(false);
    Paint();
    const TSeriesPaintContext context = chart.SeriesPaintContext(*s);
    int x = XAt(0.5), y = YAt(2);
    chart.ChartCanvas().ProjectPoint(x, y, context.Depth.Start);
    EXPECT_EQ(Pixel(x, y), Fill) << "front face";
    EXPECT_EQ(s->HitTest(x, y), 0);
    // The top, seen from above, lies up and right of the front edge.
    int tx = XAt(0.5), ty = YAt(4);
    chart.ChartCanvas().ProjectPoint(tx, ty, context.Depth.Middle);
    EXPECT_EQ(Pixel(tx, ty), Fill) << "top";
    int ex = XAt(1), ey = YAt(2);
    chart.ChartCanvas().ProjectPoint(ex, ey, context.Depth.Middle);
    EXPECT_EQ(Pixel(ex, ey), DarkenColor(Fill, SideDarkness)) << "end face";
    int ox = XAt(0.5), oy = YAt(6);
    chart.ChartCanvas().ProjectPoint(ox, oy, context.Depth.Start);
    EXPECT_EQ(s->HitTest(ox, oy), -1);
}

TEST_F(AreaSeriesTest, ManyPointsAreNotCoveredByTheirOwnOutline)
{
    TAreaSeries *s = AddArea({}, Fill);
    s->AreaLinesPen().SetVisible(true);
    s->AreaLinesPen().SetColor(clBlack);
    for (int i = 0; i < 2000; ++i)
        s->AppendPointXY(i / 1000.0, 6);
    Paint();
    int fill = 0, total = 0;
    for (int x = XAt(0.1); x < XAt(0.9); ++x, ++total)
        fill += Pixel(x, YAt(3)) == Fill ? 1 : 0;
    EXPECT_GT(fill, total * 3 / 5);
    EXPECT_EQ(Pixel(XAt(0.5), YAt(6)), clBlack) << "the edge along the points";
}

TEST_F(AreaSeriesTest, OriginMustBeFinite)
{
    TAreaSeries *s = AddArea({1}, Fill);
    s->SetYOrigin(2);
    for (double bad : {std::numeric_limits<double>::infinity(), std::nan("")}) {
        try {
            s->SetYOrigin(bad);
            FAIL() << bad;
        } catch (const ChartException &e) {
            EXPECT_EQ(e.Message(), "Area origin must be a finite number");
        }
    }
    EXPECT_EQ(s->YOrigin(), 2);
    TAreaSeries copy;
    copy.CopyFrom(*s);
    EXPECT_EQ(copy.YOrigin(), 2);
}

} // namespace
