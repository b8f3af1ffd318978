#include "chart/chart.h"
#include "chart/exceptions.h"
#include "chart/functions/series_function.h"
#include "chart/series/bar_series.h"
#include "tests/chart/recording_series.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

using namespace kov;
using kov::testing::TRecordingSeries;

namespace {

constexpr double Null = std::numeric_limits<double>::quiet_NaN();

using TFactory = std::function<std::unique_ptr<TSeriesFunction>()>;

template <class F> TFactory Make()
{
    return [] { return std::make_unique<F>(); };
}

/// Appends ys at X 0, 1, 2 ...; NaN appends a null point.
void Fill(TChartSeries &s, const std::vector<double> &ys)
{
    for (double y : ys) {
        if (std::isnan(y))
            s.AppendNullPoint();
        else
            s.AppendPoint(y);
    }
}

/// Every point as (x, y), a null point's y as NaN.
std::vector<std::pair<double, double>> Points(const TChartSeries &s)
{
    std::vector<std::pair<double, double>> out;
    for (int i = 0; i < s.PointCount(); ++i)
        out.emplace_back(s.PointX(i), s.IsNullPoint(i) ? Null : s.PointY(i));
    return out;
}

std::string Text(const std::vector<std::pair<double, double>> &points)
{
    std::string out;
    for (const auto &[x, y] : points)
        out += "(" + std::to_string(x) + ", " + (std::isnan(y) ? "null" : std::to_string(y)) + ") ";
    return out;
}

/// result with a function of the given kind and settings over sources.
void Attach(TChartSeries &result, const TFactory &make, int period, int moving,
            const std::vector<TChartSeries *> &sources)
{
    auto function = make();
    function->SetPeriod(period);
    if (moving >= 0)
        function->SetMoving(moving == 1);
    result.AttachFunction(std::move(function));
    for (TChartSeries *s : sources)
        result.AddDataSource(s);
}

struct TFunctionCase
{
    const char *Name;
    TFactory Kind;
    std::vector<std::vector<double>> Sources;
    int Period;
    int Moving; // -1: the kind's default
    std::vector<std::pair<double, double>> Expected;
};

} // namespace

// Each kind on tables worked out by hand: several sources point by point, one
// source by periods (grouped, moving, the whole series), with nulls, a zero
// divisor and sources of unequal length.
TEST(TSeriesFunctionValues, HandComputedTables)
{
    const std::vector<double> one = {2, 4, Null, 8, 6};
    const std::vector<TFunctionCase> cases = {
        {"add, shortest source",
         Make<TAddFunction>(),
         {{1, 2, 3}, {10, 20}},
         0,
         -1,
         {{0, 11}, {1, 22}}},
        {"subtract, null minuend",
         Make<TSubtractFunction>(),
         {{5, Null, 9}, {1, 2, 0}},
         0,
         -1,
         {{0, 4}, {1, Null}, {2, 9}}},
        {"subtract, three sources", Make<TSubtractFunction>(), {{10}, {1}, {2}}, 0, -1, {{0, 7}}},
        {"multiply", Make<TMultiplyFunction>(), {{2, 3}, {4, 5}}, 0, -1, {{0, 8}, {1, 15}}},
        {"divide, zero divisor",
         Make<TDivideFunction>(),
         {{6, 4, 3}, {2, 0, Null}},
         0,
         -1,
         {{0, 3}, {1, Null}, {2, 3}}},
        {"high, null skipped", Make<THighFunction>(), {{1, 5}, {3, Null}}, 0, -1, {{0, 3}, {1, 5}}},
        {"low, null skipped", Make<TLowFunction>(), {{1, 5}, {3, Null}}, 0, -1, {{0, 1}, {1, 5}}},
        {"average, null skipped",
         Make<TAverageFunction>(),
         {{1, 5}, {3, Null}},
         0,
         -1,
         {{0, 2}, {1, 5}}},
        {"average, period 0", Make<TAverageFunction>(), {one}, 0, -1, {{0, 5}, {4, 5}}},
        {"average, moving 2",
         Make<TAverageFunction>(),
         {one},
         2,
         -1,
         {{0.5, 3}, {1.5, 4}, {2.5, 8}, {3.5, 7}}},
        {"average, grouped 2", Make<TAverageFunction>(), {one}, 2, 0, {{0.5, 3}, {2.5, 8}, {4, 6}}},
        {"high, grouped 2", Make<THighFunction>(), {one}, 2, -1, {{0.5, 4}, {2.5, 8}, {4, 6}}},
        {"low, period 1",
         Make<TLowFunction>(),
         {one},
         1,
         -1,
         {{0, 2}, {1, 4}, {2, Null}, {3, 8}, {4, 6}}},
        {"add, period beyond the source", Make<TAddFunction>(), {one}, 10, -1, {{2, 20}}},
        {"average, moving period beyond the source", Make<TAverageFunction>(), {one}, 10, -1, {}},
        {"subtract, grouped 3", Make<TSubtractFunction>(), {one}, 3, -1, {{1, -2}, {3.5, 2}}},
        {"multiply, period 0", Make<TMultiplyFunction>(), {{2, 3, 4}}, 0, -1, {{0, 24}, {2, 24}}},
        {"divide, zero in a group",
         Make<TDivideFunction>(),
         {{8, 2, 5, 0}},
         2,
         -1,
         {{0.5, 4}, {2.5, Null}}},
        {"low, a group of nulls",
         Make<TLowFunction>(),
         {{Null, Null, 3}},
         2,
         -1,
         {{0.5, Null}, {2, 3}}},
        {"high, empty source", Make<THighFunction>(), {{}}, 0, -1, {}},
        {"high, the largest period", Make<THighFunction>(), {one}, INT_MAX, -1, {{2, 8}}},
    };
    for (const TFunctionCase &c : cases) {
        std::vector<std::unique_ptr<TRecordingSeries>> sources;
        std::vector<TChartSeries *> raw;
        for (const auto &ys : c.Sources) {
            sources.push_back(std::make_unique<TRecordingSeries>());
            Fill(*sources.back(), ys);
            raw.push_back(sources.back().get());
        }
        TRecordingSeries result;
        Attach(result, c.Kind, c.Period, c.Moving, raw);
        EXPECT_EQ(Text(Points(result)), Text(c.Expected)) << c.Name;
    }
}

TEST(TSeriesFunctionValues, SettingsAreCheckedAndRecalculate)
{
    TRecordingSeries source;
    Fill(source, {1, 2, 3, 4});
    TRecordingSeries result;
    Attach(result, Make<TAverageFunction>(), 2, -1, {&source});
    EXPECT_EQ(result.PointCount(), 3);
    try {
        result.Function()->SetPeriod(-1);
        FAIL() << "a negative period was taken";
    } catch (const ChartException &e) {
        EXPECT_EQ(e.Message(), "Function Period must be >= 0");
    }
    EXPECT_EQ(result.Function()->Period(), 2);
    result.Function()->SetMoving(false);
    EXPECT_EQ(Text(Points(result)), Text({{0.5, 1.5}, {2.5, 3.5}}));
    result.Function()->SetPeriod(0);
    EXPECT_EQ(Text(Points(result)), Text({{0, 2.5}, {3, 2.5}}));
    // Another kind in its place recalculates at once.
    result.AttachFunction(std::make_unique<THighFunction>());
    EXPECT_EQ(Text(Points(result)), Text({{0, 4}, {3, 4}}));
    result.AttachFunction(nullptr);
    EXPECT_EQ(result.Function(), nullptr);
    EXPECT_EQ(result.PointCount(), 4); // a plain copy again
}

// The result follows every kind of change of its sources, incrementally or
// not, exactly as a result calculated afresh from the changed sources would
// be.
TEST(TSeriesFunctionRecalculation, FollowsEverySourceChange)
{
    struct TSetup
    {
        const char *Name;
        TFactory Kind;
        int Sources;
        int Period;
        int Moving;
    };
    const std::vector<TSetup> setups = {
        {"grouped", Make<TAddFunction>(), 1, 3, 0},
        {"moving", Make<TAverageFunction>(), 1, 3, 1},
        {"whole", Make<THighFunction>(), 1, 0, 0},
        {"two sources", Make<TSubtractFunction>(), 2, 0, 0},
    };
    using TChange = std::function<void(TChartSeries &, TChartSeries &)>;
    const std::vector<std::pair<const char *, TChange>> changes = {
        {"append", [](TChartSeries &a, TChartSeries &) { a.AppendPoint(7); }},
        {"append twice",
         [](TChartSeries &a, TChartSeries &) {
             Fill(a, {3, -1});
         }},
        {"append null", [](TChartSeries &a, TChartSeries &) { a.AppendNullPoint(); }},
        {"append to second", [](TChartSeries &, TChartSeries &b) { b.AppendPoint(9); }},
        {"insert", [](TChartSeries &a, TChartSeries &) { a.AppendPointXY(0.5, 100); }},
        {"remove", [](TChartSeries &a, TChartSeries &) { a.RemovePoint(1); }},
        {"set y", [](TChartSeries &a, TChartSeries &) { a.SetPointY(2, 50); }},
        {"set y of second", [](TChartSeries &, TChartSeries &b) { b.SetPointY(0, 50); }},
        {"set x", [](TChartSeries &a, TChartSeries &) { a.XValues()->SetValueAt(4, 4.5); }},
        {"multiplier", [](TChartSeries &a, TChartSeries &) { a.YValues()->SetMultiplier(3); }},
        {"clear", [](TChartSeries &a, TChartSeries &) { a.RemoveAllPoints(); }},
        {"refill",
         [](TChartSeries &a, TChartSeries &) {
             Fill(a, {1, 2, 3, 4});
         }},
    };
    for (const TSetup &setup : setups) {
        TRecordingSeries a;
        TRecordingSeries b;
        Fill(a, {4, 8, Null, 2, 6, 5, 1});
        Fill(b, {1, 2, 3, 4, 5});
        std::vector<TChartSeries *> sources = {&a, &b};
        sources.resize(static_cast<size_t>(setup.Sources));
        TRecordingSeries result;
        Attach(result, setup.Kind, setup.Period, setup.Moving, sources);
        for (const auto &[name, change] : changes) {
            change(a, b);
            TRecordingSeries fresh;
            Attach(fresh, setup.Kind, setup.Period, setup.Moving, sources);
            ASSERT_EQ(Text(Points(result)), Text(Points(fresh))) << setup.Name << ", " << name;
        }
    }
}

TEST(TSeriesFunctionRecalculation, OptionsCanHoldTheResult)
{
    TRecordingSeries source;
    Fill(source, {1, 2});
    TRecordingSeries result;
    Attach(result, Make<TAddFunction>(), 1, -1, {&source});
    result.RecalcOptions() = {false, false, false, false};
    source.AppendPoint(3);
    source.SetPointY(0, 10);
    source.RemovePoint(1);
    EXPECT_EQ(Text(Points(result)), Text({{0, 1}, {1, 2}}));
    source.RemoveAllPoints();
    EXPECT_EQ(result.PointCount(), 2);
}

// A source that leaves the chart or is freed is no longer an input; the
// result is calculated from the sources left, and nothing points at the
// freed series (checked by the sanitizer build).
TEST(TSeriesFunctionSources, LeavingSourcesAndCycles)
{
    TChart chart;
    auto *a = chart.AddSeries(std::make_unique<TRecordingSeries>());
    auto *b = chart.AddSeries(std::make_unique<TRecordingSeries>());
    auto *c = chart.AddSeries(std::make_unique<TRecordingSeries>());
    auto *sum = chart.AddSeries(std::make_unique<TRecordingSeries>());
    Fill(*a, {1, 2});
    Fill(*b, {10, 20});
    Fill(*c, {100, 200});
    Attach(*sum, Make<TAddFunction>(), 1, -1, {a, b, c});
    EXPECT_EQ(Text(Points(*sum)), Text({{0, 111}, {1, 222}}));

    // A cycle through the function's sources is refused and changes nothing.
    auto *chain = chart.AddSeries(std::make_unique<TRecordingSeries>());
    chain->SetDataSource(sum);
    for (TChartSeries *target : {a, c}) {
        try {
            target->AddDataSource(chain);
            FAIL() << "a cycle was taken";
        } catch (const ChartException &e) {
            EXPECT_EQ(e.Message(), "Circular Series dependences are not allowed");
        }
        EXPECT_EQ(target->DataSource(), nullptr);
    }

    c->SetParentChart(nullptr);
    std::unique_ptr<TChartSeries> removed(c); // handed back to us
    EXPECT_EQ(Text(Points(*sum)), Text({{0, 11}, {1, 22}}));
    delete b;
    EXPECT_EQ(sum->DataSources(), std::vector<TChartSeries *>{a});
    EXPECT_EQ(Text(Points(*sum)), Text({{0, 1}, {1, 2}}));
    EXPECT_EQ(Text(Points(*chain)), Text({{0, 1}, {1, 2}}));
    removed->AppendPoint(300); // no longer reaches the function
    delete a;
    EXPECT_EQ(sum->PointCount(), 0);
    EXPECT_EQ(chain->PointCount(), 0);
    // The chart frees the result before its last dependent.
}

TEST(TSeriesFunctionSources, DateTimeFlagsComeFromTheSource)
{
    TRecordingSeries source;
    source.XValues()->SetDateTime(true);
    Fill(source, {1, 2});
    TRecordingSeries result;
    Attach(result, Make<TAverageFunction>(), 1, -1, {&source});
    EXPECT_TRUE(result.XValues()->DateTime());
    EXPECT_FALSE(result.YValues()->DateTime());
}

namespace {

/// The points of s, and those it has once filled anew from its sources.
void ExpectFresh(TChartSeries &s, const char *name)
{
    const std::string followed = Text(Points(s));
    s.RefreshFromDataSources();
    EXPECT_EQ(followed, Text(Points(s))) << name << " (" << s.Name().toStdString() << ")";
}

} // namespace

// Sequences of changes whose dependents went stale: after each the followed
// points are those of a fresh calculation.
TEST(TSeriesFunctionRecalculation, DependentsEndAsFreshlyCalculated)
{
    using TScenario = std::function<std::vector<TChartSeries *>(TChart &)>;
    const auto add = [](TChart &chart, const QString &name) {
        auto *s = chart.AddSeries(std::make_unique<TRecordingSeries>());
        s->SetName(name);
        return s;
    };
    const std::vector<std::pair<const char *, TScenario>> scenarios = {
        {"a null made in place is passed on",
         [&](TChart &chart) {
             auto *a = add(chart, "a");
             auto *b = add(chart, "b");
             Fill(*a, {6});
             Fill(*b, {3});
             auto *div = add(chart, "div");
             Attach(*div, Make<TDivideFunction>(), 0, -1, {a, b});
             auto *high = add(chart, "high");
             Attach(*high, Make<THighFunction>(), 1, -1, {div});
             auto *copy = add(chart, "copy");
             copy->SetDataSource(div);
             b->SetPointY(0, 0);
             EXPECT_EQ(Text(Points(*high)), Text({{0, Null}}));
             b->SetPointY(0, 2);
             return std::vector<TChartSeries *>{high, copy};
         }},
        {"positions out of the order their list claims",
         [&](TChart &chart) {
             auto *bars = chart.AddSeries(std::make_unique<THorizBarSeries>());
             auto *high = add(chart, "high");
             Attach(*high, Make<THighFunction>(), 1, -1, {bars});
             for (const auto &[value, position] :
                  std::vector<std::pair<double, double>>{{10, 3}, {20, 1}, {30, 2}})
                 bars->AppendPointXY(value, position);
             bars->XValues()->SetValueAt(0, 50);
             auto *line = add(chart, "line");
             Fill(*line, {1, 2, 3});
             auto *low = add(chart, "low");
             Attach(*low, Make<TLowFunction>(), 1, -1, {line});
             line->XValues()->SetValueAt(0, 10);
             line->SetPointY(1, 8);
             return std::vector<TChartSeries *>{high, low};
         }},
        {"a copy in another order follows a deleted point",
         [&](TChart &chart) {
             auto *source = add(chart, "source");
             auto *copy = add(chart, "copy");
             copy->XValues()->SetOrder(loNone);
             copy->SetDataSource(source);
             Fill(*source, {1, 2, 3});
             source->AppendPointXY(0.5, 9);
             source->RemovePoint(3);
             source->RemovePoint(0);
             return std::vector<TChartSeries *>{copy};
         }},
        {"swapped points, nulls made points, copied settings",
         [&](TChart &chart) {
             auto *a = add(chart, "a");
             auto *b = add(chart, "b");
             Fill(*a, {1, 2, 3});
             Fill(*b, {10, Null, 30});
             auto *sum = add(chart, "sum");
             Attach(*sum, Make<TAddFunction>(), 0, -1, {a, b});
             auto *avg = add(chart, "avg");
             Attach(*avg, Make<TAverageFunction>(), 2, -1, {b});
             b->SwapPoints(0, 2);
             b->SetColorEachPoint(false);
             TRecordingSeries settings;
             settings.YValues()->SetMultiplier(2);
             settings.XValues()->SetOrder(loNone);
             a->CopyFrom(settings);
             sum->CopyFrom(settings);
             return std::vector<TChartSeries *>{sum, avg};
         }},
        {"a plain series copies its first source only",
         [&](TChart &chart) {
             auto *a = add(chart, "a");
             auto *b = add(chart, "b");
             auto *copy = add(chart, "copy");
             copy->SetDataSource(a);
             copy->AddDataSource(b);
             Fill(*a, {1});
             Fill(*b, {2, 3});
             b->RemoveAllPoints();
             EXPECT_EQ(copy->PointCount(), 1);
             return std::vector<TChartSeries *>{copy};
         }},
    };
    for (const auto &[name, scenario] : scenarios) {
        TChart chart;
        for (TChartSeries *s : scenario(chart))
            ExpectFresh(*s, name);
    }
}

// A function without sources has no points however it lost them; one that
// combined several sources goes on combining those left.
TEST(TSeriesFunctionSources, LosingSourcesKeepsTheMeaning)
{
    TChart chart;
    auto *own = chart.AddSeries(std::make_unique<TRecordingSeries>());
    own->AppendPoint(5);
    own->AttachFunction(std::make_unique<TLowFunction>());
    EXPECT_EQ(own->PointCount(), 0);

    auto *a = chart.AddSeries(std::make_unique<TRecordingSeries>());
    auto *b = chart.AddSeries(std::make_unique<TRecordingSeries>());
    Fill(*a, {20, 30, 40});
    Fill(*b, {10, 20, 30});
    auto *average = chart.AddSeries(std::make_unique<TRecordingSeries>());
    Attach(*average, Make<TAverageFunction>(), 0, -1, {a});
    average->SetDataSource(nullptr);
    EXPECT_EQ(average->PointCount(), 0);

    auto *difference = chart.AddSeries(std::make_unique<TRecordingSeries>());
    Attach(*difference, Make<TSubtractFunction>(), 0, -1, {a, b});
    EXPECT_EQ(Text(Points(*difference)), Text({{0, 10}, {1, 10}, {2, 10}}));
    delete b;
    EXPECT_EQ(Text(Points(*difference)), Text({{0, 20}, {1, 30}, {2, 40}}));
    a->AppendPoint(50);
    EXPECT_EQ(difference->PointCount(), 4);
    // Sources set anew: the one-source rule again.
    difference->SetDataSource(a);
    EXPECT_EQ(Text(Points(*difference)), Text({{0, -100}, {3, -100}}));
}

// One change at the root reaches each dependent once: a chain, a ladder whose
// every series takes both of the level above, and appends to a source of a
// whole-source function, which never refill it.
TEST(TSeriesFunctionRecalculation, EachDependentFollowsOnce)
{
    std::vector<int> refills; // outlives the chart, whose series count into it
    TChart chart;
    const auto add = [&] {
        auto *s = chart.AddSeries(std::make_unique<TRecordingSeries>());
        const size_t slot = refills.size();
        refills.push_back(0);
        s->OnClearValues = [&refills, slot](TChartSeries *) { ++refills[slot]; };
        return s;
    };
    TChartSeries *root = add();
    Fill(*root, {1, 2, 3, 4});
    TChartSeries *left = root;
    TChartSeries *right = root;
    for (int level = 0; level < 8; ++level) {
        TChartSeries *l = add();
        TChartSeries *r = add();
        Attach(*l, Make<TAddFunction>(), 0, -1, {left, right});
        Attach(*r, Make<TAverageFunction>(), 0, -1, {left, right});
        left = l;
        right = r;
    }
    TChartSeries *chain = right;
    for (int level = 0; level < 8; ++level) {
        TChartSeries *next = add();
        Attach(*next, Make<TAverageFunction>(), 0, -1, {chain});
        chain = next;
    }
    std::fill(refills.begin(), refills.end(), 0);
    root->AppendPoint(5);
    root->SetPointY(0, 7);
    root->RemovePoint(1);
    for (size_t i = 0; i < refills.size(); ++i)
        EXPECT_LE(refills[i], 3) << "series " << i;
    std::fill(refills.begin(), refills.end(), 0);
    for (int i = 0; i < 50; ++i)
        root->AppendPoint(i);
    EXPECT_EQ(refills[1], 0); // grows point by point
    EXPECT_LE(refills.back(), 50);
    ExpectFresh(*chain, "chain");
    ExpectFresh(*left, "ladder");
}
