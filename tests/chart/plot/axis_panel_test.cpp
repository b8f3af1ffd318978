#include "chart/chart.h"
#include "chart/exceptions.h"
#include "tests/chart/recording_series.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kov;
using kov::testing::TRecordingSeries;

namespace {

TRecordingSeries *AddRamp(TChart &chart, int count, double step = 1.0)
{
    auto *s = chart.AddSeries(std::make_unique<TRecordingSeries>());
    for (int i = 0; i < count; ++i)
        s->AppendPointXY(i * step, 100 + i);
    return s;
}

} // namespace

TEST(TCustomAxisPanelAxes, FiveAxesInCreationOrder)
{
    TChart chart;
    const auto &axes = chart.AxesList();
    ASSERT_EQ(axes.size(), 5u);
    EXPECT_EQ(axes[0], chart.BottomAxis());
    EXPECT_EQ(axes[1], chart.TopAxis());
    EXPECT_EQ(axes[2], chart.LeftAxis());
    EXPECT_EQ(axes[3], chart.RightAxis());
    EXPECT_EQ(axes[4], chart.DepthAxis());
    EXPECT_TRUE(chart.BottomAxis()->IsHorizontal());
    EXPECT_FALSE(chart.BottomAxis()->OnFarSide());
    EXPECT_TRUE(chart.TopAxis()->IsHorizontal());
    EXPECT_TRUE(chart.TopAxis()->OnFarSide());
    EXPECT_FALSE(chart.LeftAxis()->IsHorizontal());
    EXPECT_EQ(chart.LeftAxis()->Title().Angle(), 90);
    EXPECT_EQ(chart.RightAxis()->Title().Angle(), 270);
    EXPECT_TRUE(chart.RightAxis()->OnFarSide());
    EXPECT_TRUE(chart.DepthAxis()->IsDepth());
    EXPECT_FALSE(chart.DepthAxis()->Visible());
    EXPECT_TRUE(chart.AxisVisible());
    EXPECT_TRUE(chart.ClipPoints());
    EXPECT_TRUE(chart.View3DWalls());
    EXPECT_TRUE(chart.ScaleLastPage());
    EXPECT_EQ(chart.Page(), 1);
    EXPECT_EQ(chart.MaxPointsPerPage(), 0);
}

TEST(TCustomAxisPanelSeries, AttachGivesFreeColoursAndOwnership)
{
    bool destroyed = false;
    {
        TChart chart;
        auto *a = chart.AddSeries(std::make_unique<TRecordingSeries>());
        auto *b = chart.AddSeries(std::make_unique<TRecordingSeries>(nullptr, &destroyed));
        EXPECT_EQ(a->SeriesColor(), clRed);
        EXPECT_EQ(b->SeriesColor(), clGreen);
        EXPECT_EQ(chart.NextFreeSeriesColor(true), clYellow);
        EXPECT_EQ(chart.CountSeries(), 2);
        EXPECT_EQ(chart.SeriesAt(1), b);
        EXPECT_EQ(b->ParentChart(), &chart);
        EXPECT_EQ(b->GetHorizAxis(), chart.BottomAxis());
        EXPECT_EQ(b->GetVertAxis(), chart.LeftAxis());

        // A series with a colour of its own keeps it; attaching twice does
        // nothing.
        auto own = std::make_unique<TRecordingSeries>();
        own->SetSeriesColor(clBlue);
        TRecordingSeries *c = chart.AddSeries(std::move(own));
        chart.AttachSeries(c);
        EXPECT_EQ(c->SeriesColor(), clBlue);
        EXPECT_EQ(chart.CountSeries(), 3);

        // Taken out again, the caller owns it.
        std::unique_ptr<TRecordingSeries> back(c);
        c->SetParentChart(nullptr);
        EXPECT_EQ(chart.CountSeries(), 2);
        EXPECT_EQ(c->GetHorizAxis(), nullptr);
        EXPECT_EQ(chart.SeriesList().IndexOf(c), -1);
        EXPECT_FALSE(destroyed);
    }
    EXPECT_TRUE(destroyed); // the chart freed the series it owned
}

TEST(TCustomAxisPanelSeries, FreeSeriesLeavesItsChart)
{
    TChart chart;
    auto *a = chart.AddSeries(std::make_unique<TRecordingSeries>());
    chart.AddSeries(std::make_unique<TRecordingSeries>());
    delete a; // a series freed by someone else detaches itself
    EXPECT_EQ(chart.CountSeries(), 1);
}

TEST(TCustomAxisPanelSeries, ColorIsFreeAndBackground)
{
    TChart chart;
    chart.SetColor(clWhite);
    EXPECT_TRUE(chart.ColorIsFree(clRed, true));
    EXPECT_TRUE(chart.ColorIsFree(clWhite, false));
    EXPECT_FALSE(chart.ColorIsFree(clWhite, true));
    AddRamp(chart, 1);
    EXPECT_FALSE(chart.ColorIsFree(clRed, false));
}

TEST(TCustomAxisPanelSeries, LegendSeriesSkipsHiddenAndInactive)
{
    TChart chart;
    auto *a = AddRamp(chart, 1);
    auto *hidden = AddRamp(chart, 1);
    auto *b = AddRamp(chart, 1);
    auto *c = AddRamp(chart, 1);
    auto *off = AddRamp(chart, 1);
    hidden->SetShowInLegend(false);
    off->SetActive(false);
    a->SetTitle("First");
    b->SetName("Named");
    EXPECT_EQ(chart.LegendSeries(1), b);
    EXPECT_EQ(chart.LegendSeriesTitle(0), "First");
    EXPECT_EQ(chart.LegendSeriesTitle(1), "Named");
    EXPECT_EQ(chart.LegendSeriesTitle(2), "Series 2");
    EXPECT_EQ(chart.LegendSeries(2), c);
    EXPECT_EQ(chart.LegendSeries(3), nullptr);
    EXPECT_EQ(chart.LegendSeriesTitle(3), "");
}

TEST(TCustomAxisPanelAxisSupport, AxisShownFollowsActiveSeries)
{
    TChart chart;
    chart.SetView3D(false);
    chart.DepthAxis()->SetVisible(true);
    // No series at all: the four side axes, never the flat chart's depth axis.
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(chart.AxisShown(chart.AxesList()[i])) << i;
    EXPECT_FALSE(chart.AxisShown(chart.DepthAxis()));

    auto *s = AddRamp(chart, 3);
    EXPECT_TRUE(chart.AxisShown(chart.BottomAxis()));
    EXPECT_TRUE(chart.AxisShown(chart.LeftAxis()));
    EXPECT_FALSE(chart.AxisShown(chart.TopAxis()));
    EXPECT_FALSE(chart.AxisShown(chart.RightAxis()));
    s->SetVertAxis(aBothVertAxis);
    EXPECT_TRUE(chart.AxisShown(chart.RightAxis()));

    s->SetActive(false); // no active series: all side axes again
    EXPECT_TRUE(chart.AxisShown(chart.TopAxis()));

    chart.SetView3D(true);
    EXPECT_TRUE(chart.AxisShown(chart.DepthAxis()));
    chart.SetAxisVisible(false);
    EXPECT_FALSE(chart.AxisShown(chart.BottomAxis()));
    EXPECT_FALSE(chart.AxisShown(chart.DepthAxis()));
}

TEST(TCustomAxisPanelAxisSupport, ExtremesCountActiveSeriesOnly)
{
    TChart chart;
    auto *a = chart.AddSeries(std::make_unique<TRecordingSeries>());
    auto *b = chart.AddSeries(std::make_unique<TRecordingSeries>());
    a->AppendPointXY(1, 10);
    a->AppendPointXY(2, 20);
    b->AppendPointXY(-5, -50);
    b->AppendPointXY(9, 90);
    b->SetActive(false);
    TCustomChartAxis *left = chart.LeftAxis();
    EXPECT_EQ(chart.LeadSeriesOf(left), a);
    EXPECT_EQ(chart.MinYValue(left), 10);
    EXPECT_EQ(chart.MaxYValue(left), 20);
    EXPECT_EQ(chart.MinXValue(chart.BottomAxis()), 1);

    a->SetActive(false); // none active: every series counts
    EXPECT_EQ(chart.LeadSeriesOf(left), a);
    EXPECT_EQ(chart.MinYValue(left), -50);
    EXPECT_EQ(chart.MaxYValue(left), 90);

    // A series on the right axis does not count for the left one.
    b->SetActive(true);
    b->SetVertAxis(aRightAxis);
    EXPECT_EQ(chart.LeadSeriesOf(left), a);
    EXPECT_EQ(chart.MaxYValue(left), 20);
    EXPECT_EQ(chart.MaxYValue(chart.RightAxis()), 90);
    EXPECT_EQ(chart.MaxYValue(chart.TopAxis()), 0); // nothing there
}

TEST(TCustomAxisPanelPaging, TenPointsFourPerPage)
{
    TChart chart;
    AddRamp(chart, 10, 2.0); // X = 0, 2, ... 18
    TCustomChartAxis *bottom = chart.BottomAxis();
    EXPECT_EQ(chart.PageCount(), 1);
    EXPECT_THROW(chart.SetMaxPointsPerPage(-1), ChartException);
    EXPECT_EQ(chart.MaxPointsPerPage(), 0);

    int changes = 0;
    chart.OnPageChange = [&](TCustomAxisPanel *) { ++changes; };
    chart.SetMaxPointsPerPage(4);
    EXPECT_EQ(chart.PageCount(), 3);
    EXPECT_EQ(chart.MinXValue(bottom), 0);
    EXPECT_EQ(chart.MaxXValue(bottom), 6);
    // Paging spreads along X only: the left axis still sees every point.
    EXPECT_EQ(chart.MaxYValue(chart.LeftAxis()), 109);

    chart.SetPage(7);
    EXPECT_EQ(chart.Page(), 3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(chart.MinXValue(bottom), 16);
    EXPECT_EQ(chart.MaxXValue(bottom), 18);
    chart.SetScaleLastPage(false);
    EXPECT_EQ(chart.MaxXValue(bottom), 16 + (18 - 16) * 4 / 2.0);

    chart.SetPage(3); // unchanged: no event
    EXPECT_EQ(changes, 1);
    chart.SetPage(0);
    EXPECT_EQ(chart.Page(), 1);
    EXPECT_EQ(changes, 2);

    chart.SetPage(3);
    chart.SetMaxPointsPerPage(0);
    EXPECT_EQ(chart.PageCount(), 1);
    EXPECT_EQ(chart.Page(), 1);
    EXPECT_EQ(chart.MaxXValue(bottom), 18);
}

TEST(TCustomAxisPanelPaging, FewerPointsThanOnePage)
{
    TChart chart;
    AddRamp(chart, 3);
    chart.SetMaxPointsPerPage(4);
    chart.SetScaleLastPage(false);
    EXPECT_EQ(chart.PageCount(), 1);
    EXPECT_EQ(chart.MinXValue(chart.BottomAxis()), 0);
    EXPECT_EQ(chart.MaxXValue(chart.BottomAxis()), 0 + (2 - 0) * 4 / 3.0);

    TChart empty;
    empty.AddSeries(std::make_unique<TRecordingSeries>());
    empty.SetMaxPointsPerPage(4);
    EXPECT_EQ(empty.PageCount(), 1);
    EXPECT_EQ(empty.MaxXValue(empty.BottomAxis()), 0);
}

TEST(TCustomAxisPanelDataSource, CircularChainsAreRefused)
{
    TChart chart;
    auto *a = AddRamp(chart, 2);
    auto *b = chart.AddSeries(std::make_unique<TRecordingSeries>());
    auto *c = chart.AddSeries(std::make_unique<TRecordingSeries>());
    b->SetDataSource(a);
    c->SetDataSource(b);
    EXPECT_EQ(c->PointCount(), 2);
    try {
        a->SetDataSource(c);
        FAIL() << "no error";
    } catch (const ChartException &e) {
        EXPECT_EQ(e.Message(), "Circular Series dependences are not allowed");
    }
    EXPECT_EQ(a->DataSource(), nullptr);
    EXPECT_TRUE(chart.IsValidDataSource(b, a));
    EXPECT_FALSE(chart.IsValidDataSource(a, a));

    // Detaching a source drops its dependents' links.
    std::unique_ptr<TChartSeries> owned(a);
    a->SetParentChart(nullptr);
    EXPECT_EQ(b->DataSource(), nullptr);
}

TEST(TCustomAxisPanelDataSource, CustomAndTopAxesResolve)
{
    TChart chart;
    auto *s = AddRamp(chart, 2);
    s->SetHorizAxis(aTopAxis);
    s->SetVertAxis(aRightAxis);
    EXPECT_EQ(s->GetHorizAxis(), chart.TopAxis());
    EXPECT_EQ(s->GetVertAxis(), chart.RightAxis());
    EXPECT_TRUE(s->IsOnAxis(chart.TopAxis()));
    EXPECT_FALSE(s->IsOnAxis(chart.BottomAxis()));

    TCustomChartAxis *custom = chart.AddAxis(std::make_unique<TChartAxis>(&chart));
    s->SetVertAxis(aCustomVertAxis);
    EXPECT_EQ(s->GetVertAxis(), chart.LeftAxis()); // none assigned yet
    s->SetCustomVertAxis(custom);
    EXPECT_EQ(s->GetVertAxis(), custom);
    EXPECT_EQ(chart.AxesList().size(), 6u);
}
