#include "chart/exceptions.h"
#include "chart/values/value_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

using namespace kov;

namespace {

std::vector<double> Values(const TChartValueList &list)
{
    std::vector<double> out;
    for (int i = 0; i < list.ValueCount(); ++i)
        out.push_back(list.ValueAt(i));
    return out;
}

void Fill(TChartValueList &list, std::initializer_list<double> values)
{
    for (double v : values)
        list.AppendOrdered(v);
}

} // namespace

TEST(TChartValueListStats, EmptyListGivesZeroes)
{
    TChartValueList list("Y");
    EXPECT_TRUE(list.StatsDirty());
    EXPECT_EQ(list.HighestValue(), 0);
    EXPECT_EQ(list.LowestValue(), 0);
    EXPECT_EQ(list.ValueSum(), 0);
    EXPECT_EQ(list.AbsValueSum(), 0);
    EXPECT_FALSE(list.StatsDirty());
}

TEST(TChartValueListStats, MixedSignsAndRecomputeAfterChange)
{
    TChartValueList list("Y");
    Fill(list, {3, -5, 2});
    EXPECT_EQ(list.HighestValue(), 3);
    EXPECT_EQ(list.LowestValue(), -5);
    EXPECT_EQ(list.ValueSum(), 0);
    EXPECT_EQ(list.AbsValueSum(), 10);
    EXPECT_FALSE(list.StatsDirty());

    // A change only marks the cache; the next read sees the new values.
    list.SetValueAt(1, 7);
    EXPECT_TRUE(list.StatsDirty());
    EXPECT_EQ(list.HighestValue(), 7);
    EXPECT_EQ(list.LowestValue(), 2);
    EXPECT_EQ(list.ValueSum(), 12);

    list.RemoveAt(1);
    EXPECT_EQ(list.HighestValue(), 3);
    list.RemoveAll();
    EXPECT_EQ(list.ValueCount(), 0);
    EXPECT_EQ(list.HighestValue(), 0);
}

TEST(TChartValueListStats, DescendingRunStillFindsHighest)
{
    // The first value seeds both extremes; a falling run must not lose the
    // highest one.
    TChartValueList list("Y");
    Fill(list, {9, 4, 1, -2});
    EXPECT_EQ(list.HighestValue(), 9);
    EXPECT_EQ(list.LowestValue(), -2);
}

TEST(TChartValueListMultiplier, ReadsScaleButStorageDoesNot)
{
    TChartValueList list("Y");
    Fill(list, {1, 5});
    EXPECT_EQ(list.HighestValue(), 5);
    list.SetMultiplier(2);
    EXPECT_TRUE(list.StatsDirty());
    list.SetValueAt(0, 4);
    EXPECT_EQ(list.ValueAt(0), 8);
    EXPECT_EQ(list.StoredValues()[0], 4);
    EXPECT_EQ(list.HighestValue(), 10);
    EXPECT_EQ(list.AbsValueSum(), 18);
    EXPECT_EQ(list.IndexOfValue(10), 1);
    EXPECT_EQ(list.IndexOfValue(5), -1);
}

TEST(TChartValueListOrder, AscendingInsertKeepsEqualValuesInArrivalOrder)
{
    TChartValueList list("X");
    list.SetOrder(loAscending);
    EXPECT_EQ(list.AppendOrdered(1), 0);
    EXPECT_EQ(list.AppendOrdered(3), 1);
    EXPECT_EQ(list.AppendOrdered(5), 2);
    EXPECT_EQ(list.AppendOrdered(3), 2); // after the existing 3
    EXPECT_EQ(list.AppendOrdered(0), 0); // ran off the front
    EXPECT_EQ(list.AppendOrdered(5), 5); // equal to the last: appended
    EXPECT_EQ(Values(list), (std::vector<double>{0, 1, 3, 3, 5, 5}));
}

TEST(TChartValueListOrder, DescendingAndNoneOrders)
{
    TChartValueList down("X");
    down.SetOrder(loDescending);
    for (double v : {5.0, 3.0, 4.0, 3.0, 9.0, 1.0})
        down.AppendOrdered(v);
    EXPECT_EQ(Values(down), (std::vector<double>{9, 5, 4, 3, 3, 1}));

    TChartValueList none("X");
    for (double v : {5.0, 3.0, 4.0}) {
        const int count = none.ValueCount();
        EXPECT_EQ(none.AppendOrdered(v), count);
    }
    EXPECT_EQ(Values(none), (std::vector<double>{5, 3, 4}));
}

TEST(TChartValueListErrors, OutOfBoundsLeavesListUnchanged)
{
    TChartValueList list("Y");
    Fill(list, {1, 2, 3});
    const std::vector<double> before = Values(list);

    try {
        list.ValueAt(3);
        FAIL() << "no error";
    } catch (const ListIndexError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (3)"));
    }
    EXPECT_THROW(list.ValueAt(-1), ListIndexError);
    EXPECT_THROW(list.SetValueAt(5, 1), ListIndexError);
    EXPECT_THROW(list.RemoveAt(3), ListIndexError);
    EXPECT_THROW(list.InsertAt(4, 1), ListIndexError);
    EXPECT_EQ(Values(list), before);

    TChartValueList empty("Y");
    EXPECT_THROW(empty.Last(), ListIndexError);
}

TEST(TChartValueListEdits, RenumberRotateInsertAndCopySettings)
{
    TChartValueList list("Y");
    Fill(list, {7, 8, 9});
    list.InsertAt(3, 10);
    list.InsertAt(0, 6);
    EXPECT_EQ(Values(list), (std::vector<double>{6, 7, 8, 9, 10}));
    EXPECT_EQ(list.Last(), 10);

    list.RotateFirstToLast();
    EXPECT_EQ(Values(list), (std::vector<double>{7, 8, 9, 10, 6}));

    list.Renumber();
    EXPECT_EQ(Values(list), (std::vector<double>{0, 1, 2, 3, 4}));

    TChartValueList source("Other");
    source.SetOrder(loDescending);
    source.SetDateTime(true);
    source.SetMultiplier(3);
    source.SetValueSource("Field");
    source.AppendOrdered(42);
    list.CopyFrom(source);
    EXPECT_EQ(list.Name(), "Y");
    EXPECT_EQ(list.Order(), loDescending);
    EXPECT_TRUE(list.DateTime());
    EXPECT_EQ(list.Multiplier(), 3);
    EXPECT_EQ(list.ValueSource(), "Field");
    EXPECT_EQ(list.ValueCount(), 5);
    EXPECT_EQ(list.HighestValue(), 12); // multiplier applies to the stats too
}

TEST(TChartValueListEdits, SortWithoutOwnerSortsThisList)
{
    TChartValueList list("X");
    Fill(list, {5, 1, 4, 1, 3, 9, 2, 6});
    list.SortValues(); // loNone: nothing happens
    EXPECT_EQ(Values(list), (std::vector<double>{5, 1, 4, 1, 3, 9, 2, 6}));
    list.SetOrder(loAscending);
    list.SortValues();
    EXPECT_EQ(Values(list), (std::vector<double>{1, 1, 2, 3, 4, 5, 6, 9}));
    list.SetOrder(loDescending);
    list.SortValues();
    EXPECT_EQ(Values(list), (std::vector<double>{9, 6, 5, 4, 3, 2, 1, 1}));
}

// A list tells whoever listens what changed, and hands every exchange of a
// sort to OnSwapPoints instead of moving its own values.
TEST(TChartValueListEvents, ReportsChangesAndHandsSortExchangesOver)
{
    TChartValueList list("X");
    Fill(list, {3, 1, 2});
    std::vector<std::pair<TValueListChange, int>> heard;
    list.OnChange = [&](TValueListChange change, int index) { heard.emplace_back(change, index); };
    list.SetValueAt(1, 7);
    list.SetDateTime(true);
    list.SetDateTime(true); // unchanged: nothing reported
    list.SetMultiplier(2);
    list.SetValueSource("Field");
    const std::vector<std::pair<TValueListChange, int>> expected{
        {vlcValue, 1}, {vlcDateTime, -1}, {vlcMultiplier, -1}, {vlcValueSource, -1}};
    EXPECT_EQ(heard, expected);

    std::vector<std::pair<int, int>> swaps;
    list.OnSwapPoints = [&](int i, int j) {
        swaps.emplace_back(i, j);
        list.SwapValues(i, j);
    };
    list.SetOrder(loAscending);
    list.SortValues();
    EXPECT_FALSE(swaps.empty());
    EXPECT_EQ(Values(list), (std::vector<double>{4, 6, 14}));
}

TEST(TChartValueLists, IndexedLookup)
{
    TChartValueLists lists;
    lists.Add(std::make_unique<TChartValueList>("X"));
    lists.Add(std::make_unique<TChartValueList>("Y"));
    EXPECT_EQ(lists.Count(), 2);
    EXPECT_EQ(lists.At(1)->Name(), "Y");
    EXPECT_THROW(lists.At(2), ListIndexError);
}

// The known order follows every kind of change: values set, added, removed,
// exchanged, and the multiplier's sign.
TEST(TChartValueListOrder, FollowsChanges)
{
    TChartValueList list("X");
    Fill(list, {1, 2, 3, 4});
    const std::pair<std::function<void()>, bool> steps[] = {
        {[] {}, true},
        {[&] { list.SetValueAt(1, 3.5); }, false},
        {[&] { list.SetValueAt(1, 2); }, true},
        {[&] { list.InsertAt(4, 4); }, true},
        {[&] { list.InsertAt(4, 3); }, false},
        {[&] { list.RemoveAt(4); }, true},
        {[&] { list.SwapValues(0, 1); }, false},
        {[&] { list.SwapValues(0, 1); }, true},
        {[&] { list.SetMultiplier(-1); }, false},
        {[&] { list.SetMultiplier(2); }, true},
        {[&] { list.RotateFirstToLast(); }, false},
    };
    int step = 0;
    for (const auto &[change, ascending] : steps) {
        change();
        EXPECT_EQ(list.IsAscending(), ascending) << "step " << step++;
    }
}
