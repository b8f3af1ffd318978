#include "chart/axis/axis.h"
#include "chart/canvas/chart_canvas3d.h"
#include "chart/exceptions.h"
#include "chart/series/series.h"
#include "chart/series/series_owner.h"
#include "tests/chart/recording_series.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace kov;
using kov::testing::TRecordingSeries;

namespace {

/// One coordinate of every point of s, first point first.
std::vector<double> Coordinates(const TChartSeries &s,
                                double (TChartSeries::*coordinate)(int) const)
{
    std::vector<double> out;
    for (int i = 0; i < s.PointCount(); ++i)
        out.push_back((s.*coordinate)(i));
    return out;
}

std::vector<double> Xs(const TChartSeries &s)
{
    return Coordinates(s, &TChartSeries::PointX);
}

std::vector<double> Ys(const TChartSeries &s)
{
    return Coordinates(s, &TChartSeries::PointY);
}

} // namespace

TEST(TChartSeriesDefaults, PublishedDefaults)
{
    TRecordingSeries s;
    EXPECT_TRUE(s.Active());
    EXPECT_FALSE(s.ColorEachPoint());
    EXPECT_EQ(s.HorizAxis(), aBottomAxis);
    EXPECT_EQ(s.VertAxis(), aLeftAxis);
    EXPECT_EQ(s.PercentFormat(), "##0.## %");
    EXPECT_EQ(s.ValueFormat(), "#,##0.###");
    EXPECT_EQ(s.SeriesColor(), clDefault);
    EXPECT_TRUE(s.ShowInLegend());
    EXPECT_EQ(s.XValues()->Name(), "X");
    EXPECT_EQ(s.YValues()->Name(), "Y");
    EXPECT_EQ(s.XValues()->Order(), loAscending);
    EXPECT_EQ(s.YValues()->Order(), loNone);
    EXPECT_EQ(s.FirstShownIndex(), -1);
    EXPECT_EQ(s.ZOrderSetting(), -1);
    EXPECT_TRUE(s.ValuesAreVertical());
    EXPECT_EQ(s.HitTest(0, 0), -1);
}

TEST(TChartSeriesAdd, AppendPointNumbersPointsInOrder)
{
    TRecordingSeries s;
    std::vector<int> afterAdd;
    s.OnAfterAdd = [&](TChartSeries *, int index) { afterAdd.push_back(index); };
    EXPECT_EQ(s.AppendPoint(10), 0);
    EXPECT_EQ(s.AppendPoint(20, "b", clRed), 1);
    EXPECT_EQ(s.AppendPoint(30), 2);
    EXPECT_EQ(Xs(s), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(Ys(s), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(afterAdd, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(s.PointLabel(1), "b");
    EXPECT_EQ(s.EffectivePointColor(1), clRed);
}

TEST(TChartSeriesAdd, OrderedInsertMovesColourAndLabelWithThePoint)
{
    TRecordingSeries s;
    s.AppendPointXY(1, 10, "a", clRed);
    s.AppendPointXY(3, 30, "c", clBlue);
    EXPECT_EQ(s.AppendPointXY(2, 20, "b", clGreen), 1);   // before the first greater X
    EXPECT_EQ(s.AppendPointXY(2, 21, "b2", clYellow), 2); // after the equal X
    EXPECT_EQ(s.AppendPointXY(0, 0, "z"), 0);
    EXPECT_EQ(Xs(s), (std::vector<double>{0, 1, 2, 2, 3}));
    EXPECT_EQ(Ys(s), (std::vector<double>{0, 10, 20, 21, 30}));
    EXPECT_EQ(s.PointLabel(2), "b");
    EXPECT_EQ(s.PointLabel(3), "b2");
    EXPECT_EQ(s.EffectivePointColor(3), clYellow);
    EXPECT_EQ(s.EffectivePointColor(4), clBlue);
}

TEST(TChartSeriesAdd, BeforeAddCanRefuse)
{
    TRecordingSeries s;
    bool afterAdd = false;
    s.OnAfterAdd = [&](TChartSeries *, int) { afterAdd = true; };
    s.OnBeforeAdd = [](TChartSeries *sender) { return sender->XValues()->PendingValue() < 5; };
    EXPECT_EQ(s.AppendPointXY(7, 1), -1);
    EXPECT_EQ(s.PointCount(), 0);
    EXPECT_FALSE(afterAdd);
    EXPECT_EQ(s.AppendPointXY(2, 1), 0);
    EXPECT_TRUE(afterAdd);
}

TEST(TChartSeriesColors, NullPointsAndPalette)
{
    TRecordingSeries s;
    s.SetSeriesColor(clRed);
    EXPECT_EQ(s.AppendNullPoint("gap"), 0);
    EXPECT_EQ(s.PointY(0), 0);
    EXPECT_EQ(s.PointLabel(0), "gap");
    EXPECT_TRUE(s.IsNullPoint(0));
    s.SetPointColor(0, clBlue);
    EXPECT_FALSE(s.IsNullPoint(0));

    for (int i = 1; i < 20; ++i)
        s.AppendPoint(i);
    EXPECT_EQ(s.EffectivePointColor(17), clRed); // clDefault: the series colour
    s.SetColorEachPoint(true);
    EXPECT_EQ(s.EffectivePointColor(17), clGreen); // palette entry 17 mod 16
    EXPECT_EQ(s.EffectivePointColor(0), clBlue);   // its own colour wins
    EXPECT_EQ(s.EffectivePointColor(99), clRed);   // beyond the colour list
    EXPECT_EQ(s.PointLabel(99), "");

    s.SetColorEachPoint(false);
    EXPECT_EQ(s.EffectivePointColor(0), clRed);
    // Already false: still resets every stored colour.
    s.SetPointColor(3, clAqua);
    s.SetColorEachPoint(false);
    EXPECT_EQ(s.EffectivePointColor(3), clRed);
}

TEST(TChartSeriesErrors, BadIndexFailsAndChangesNothing)
{
    TRecordingSeries s;
    s.AppendPoint(1, "a", clRed);
    s.AppendPoint(2, "b", clBlue);
    try {
        s.SetPointY(2, 5);
        FAIL() << "no error";
    } catch (const ListIndexError &e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (2)");
    }
    EXPECT_THROW(s.SetPointColor(-1, clRed), ListIndexError);
    EXPECT_THROW(s.RemovePoint(2), ListIndexError);
    EXPECT_THROW(s.PointY(5), ListIndexError);
    EXPECT_THROW(s.FillSamplePoints(0), ChartException);
    EXPECT_EQ(Ys(s), (std::vector<double>{1, 2}));
    EXPECT_EQ(s.EffectivePointColor(1), clBlue);
    EXPECT_EQ(s.PointLabel(1), "b");
}

TEST(TChartSeriesEdit, RemoveAndClear)
{
    // Declared before the series: its destructor raises the clear event too.
    int cleared = 0;
    TRecordingSeries s;
    s.OnClearValues = [&](TChartSeries *) { ++cleared; };
    s.AppendPoint(1, "a", clRed);
    s.AppendPoint(2, "b", clBlue);
    s.AppendPoint(3, "c", clGreen);
    s.RemovePoint(1);
    EXPECT_EQ(Ys(s), (std::vector<double>{1, 3}));
    EXPECT_EQ(s.PointLabel(1), "c");
    EXPECT_EQ(s.EffectivePointColor(1), clGreen);
    s.SetPointY(0, 9);
    EXPECT_EQ(s.PointY(0), 9);
    EXPECT_EQ(s.LargestY(), 9);
    s.RemoveAllPoints();
    EXPECT_EQ(s.PointCount(), 0);
    EXPECT_EQ(cleared, 1);
    EXPECT_TRUE(s.ColorList().empty());
    EXPECT_TRUE(s.LabelList().empty());
}

TEST(TChartSeriesEdit, SortMovesWholePoints)
{
    TRecordingSeries s;
    s.XValues()->SetOrder(loNone);
    const double xs[] = {5, 1, 4, 2, 3};
    for (double x : xs)
        s.AppendPointXY(x, x * 10, QString::number(x), static_cast<TColor>(x));
    s.XValues()->SetOrder(loDescending);
    s.XValues()->SortValues();
    EXPECT_EQ(Xs(s), (std::vector<double>{5, 4, 3, 2, 1}));
    for (int i = 0; i < s.PointCount(); ++i) {
        EXPECT_EQ(s.PointY(i), s.PointX(i) * 10);
        EXPECT_EQ(s.PointLabel(i), QString::number(s.PointX(i)));
        EXPECT_EQ(s.EffectivePointColor(i), static_cast<TColor>(s.PointX(i)));
    }
}

TEST(TChartSeriesShownRange, WithoutChartCoversAllPoints)
{
    TRecordingSeries s;
    TChartCanvas3D canvas;
    s.ComputeShownRange();
    EXPECT_EQ(s.FirstShownIndex(), -1);
    EXPECT_EQ(s.LastShownIndex(), -1);
    s.DrawAllPoints(TSeriesPaintContext{canvas});
    EXPECT_TRUE(s.Drawn.isEmpty());
    for (int i = 0; i < 4; ++i)
        s.AppendPoint(i);
    s.XValues()->SetOrder(loNone);
    s.ComputeShownRange();
    EXPECT_EQ(s.FirstShownIndex(), 0);
    EXPECT_EQ(s.LastShownIndex(), 3);
    s.DrawAllPoints(TSeriesPaintContext{canvas});
    EXPECT_EQ(s.Drawn, (QStringList{"0", "1", "2", "3"}));
}

TEST(TChartSeriesLegend, EntryTextsByStyle)
{
    TRecordingSeries s;
    s.SetValueFormat("0.0");
    s.SetPercentFormat("0 %");
    s.AppendPoint(30, "a");
    s.AppendPoint(-10, "b");
    // Percent of the absolute sum 40.
    EXPECT_EQ(s.LegendEntryText(0, ltsPlain), "a");
    EXPECT_EQ(s.LegendEntryText(0, ltsLeftValue), "30.0 a");
    EXPECT_EQ(s.LegendEntryText(1, ltsRightValue), "b -10.0");
    EXPECT_EQ(s.LegendEntryText(0, ltsLeftPercent), "75 % a");
    EXPECT_EQ(s.LegendEntryText(1, ltsRightPercent), "b -25 %");
    EXPECT_EQ(s.LegendEntryText(1, ltsXValue), "1.0");
}

TEST(TChartSeriesClick, DoubleClickFlagChoosesTheEvent)
{
    TRecordingSeries s;
    QStringList got;
    EXPECT_FALSE(s.NotifySeriesClick(&s, 0, mbLeft, 0, 1, 2));
    s.OnClick = [&](TChartSeries *, int index, TMouseButton, TShiftState, int x, int y) {
        got << QStringLiteral("click %1 %2 %3").arg(index).arg(x).arg(y);
    };
    EXPECT_TRUE(s.NotifySeriesClick(&s, 4, mbLeft, ssDouble, 5, 6)); // no OnDblClick: OnClick
    s.OnDblClick = [&](TChartSeries *, int index, TMouseButton, TShiftState, int, int) {
        got << QStringLiteral("double %1").arg(index);
    };
    EXPECT_TRUE(s.NotifySeriesClick(&s, 7, mbRight, ssDouble, 0, 0));
    EXPECT_TRUE(s.NotifySeriesClick(&s, 8, mbRight, 0, 0, 0));
    EXPECT_EQ(got, (QStringList{"click 4 5 6", "double 7", "click 8 0 0"}));
}

TEST(TChartSeriesLinked, DependentFollowsItsSource)
{
    TRecordingSeries source;
    TRecordingSeries copy;
    source.AppendPoint(1, "a", clRed);
    source.AppendPoint(2);
    copy.SetDataSource(&source);
    EXPECT_EQ(Ys(copy), (std::vector<double>{1, 2}));
    EXPECT_EQ(copy.PointLabel(0), "a");
    EXPECT_EQ(copy.EffectivePointColor(0), clRed);

    source.AppendPoint(3);
    EXPECT_EQ(Ys(copy), (std::vector<double>{1, 2, 3}));
    source.RemovePoint(0);
    EXPECT_EQ(Ys(copy), (std::vector<double>{2, 3}));
    source.SetPointY(0, 7);
    EXPECT_EQ(Ys(copy), (std::vector<double>{7, 3}));
    source.YValues()->SetMultiplier(2);
    EXPECT_EQ(Ys(copy), (std::vector<double>{14, 6}));
    source.RemoveAllPoints();
    EXPECT_EQ(copy.PointCount(), 0);

    copy.RecalcOptions().OnInsert = false;
    source.AppendPoint(5);
    EXPECT_EQ(copy.PointCount(), 0);
}

TEST(TChartSeriesLinked, CyclesAreRefusedAndDestructionUnlinks)
{
    TRecordingSeries a;
    auto b = std::make_unique<TRecordingSeries>();
    TRecordingSeries c;
    b->SetDataSource(&a);
    c.SetDataSource(b.get());
    EXPECT_THROW(a.SetDataSource(&c), ChartException);
    EXPECT_THROW(a.SetDataSource(&a), ChartException);
    EXPECT_EQ(a.DataSource(), nullptr);

    // Freeing the middle series leaves neither neighbour pointing at it.
    b.reset();
    EXPECT_EQ(c.DataSource(), nullptr);
    EXPECT_TRUE(a.LinkedSeries().empty());
    a.AppendPoint(1); // must not reach the freed series
    EXPECT_EQ(c.PointCount(), 0);
}

TEST(TChartValueListSort, SortValuesThroughOwnerKeepsStatsFresh)
{
    TRecordingSeries s;
    s.YValues()->SetOrder(loAscending);
    s.AppendPoint(3);
    s.AppendPoint(1);
    s.AppendPoint(2);
    EXPECT_EQ(s.YValues()->HighestValue(), 3);
    s.YValues()->SortValues();
    EXPECT_EQ(Ys(s), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Xs(s), (std::vector<double>{1, 2, 0}));
    EXPECT_EQ(s.YValues()->Last(), 3);
}

namespace {

/// An owner that is no chart: holds its series and counts what they ask.
class TFakeOwner : public TSeriesOwner
{
public:
    TCustomAxisPanel *AsAxisPanel() override { return nullptr; }
    void AttachSeries(TChartSeries *series) override { m_list.Add(series); }
    void DetachSeries(TChartSeries *series) override { m_list.Remove(series); }
    const TChartSeriesList &SeriesList() const override { return m_list; }
    bool IsDestroying() const override { return false; }
    TSideAxes SideAxes() const override { return {&Top, &Bottom, &Left, &Right}; }
    TRect SeriesRect() const override { return {}; }
    bool SeriesIn3D() const override { return false; }
    bool ZOrdersApplied() const override { return false; }
    int MaxZOrder() const override { return 0; }
    void SetMaxZOrder(int) override {}
    TSeriesPaintContext SeriesPaintContext(const TChartSeries &) override
    {
        return TSeriesPaintContext{m_canvas};
    }
    TChartCanvas &TextCanvas() override { return m_canvas; }
    void SelectTextFont(const TFont &) override {}
    QString FormattedValueLegend(TChartSeries *, int) const override { return {}; }
    bool ClickConsumed() const override { return Consumed; }
    void SetClickConsumed(bool value) override { Consumed = value; }
    void SeriesChanged() override { ++Changes; }
    void SeriesValuesChanged() override { ++ValueChanges; }
    void RefreshSeriesDataSource(TChartSeries *) override {}

    mutable TChartAxis Top, Bottom, Left, Right;
    bool Consumed = false;
    int Changes = 0;
    int ValueChanges = 0;

private:
    TChartSeriesList m_list;
    TChartCanvas3D m_canvas;
};

} // namespace

TEST(TChartSeriesOwner, SeriesAsksEverythingOfItsOwner)
{
    TFakeOwner owner;
    auto series = std::make_unique<TRecordingSeries>();
    series->SetVertAxis(aRightAxis);
    series->AppendPoint(1);
    series->SetParentChart(&owner);
    EXPECT_EQ(owner.SeriesList().Items(), std::vector<TChartSeries *>{series.get()});
    EXPECT_EQ(series->ParentChart(), nullptr); // no axis panel
    EXPECT_EQ(series->GetHorizAxis(), &owner.Bottom);
    EXPECT_EQ(series->GetVertAxis(), &owner.Right);

    series->SetTitle(QStringLiteral("moved"));
    series->SetPointY(0, 2);
    EXPECT_EQ(owner.Changes, 1);
    EXPECT_EQ(owner.ValueChanges, 1);
    series->OnClick = [](TChartSeries *, int, TMouseButton, TShiftState, int, int) {};
    EXPECT_TRUE(series->NotifySeriesClick(series.get(), 0, mbLeft, 0, 0, 0));
    EXPECT_TRUE(owner.Consumed);

    series.reset(); // a destroyed series leaves its owner's list
    EXPECT_EQ(owner.SeriesList().Count(), 0);
}
