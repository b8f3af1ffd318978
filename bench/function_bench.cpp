// A series function following a growing source: a point appended at the end
// of the source adds or changes the result's last point only, so filling a
// source point by point stays linear; a full recalculation per point (what a
// change anywhere else costs) is the comparison.
#include "chart/functions/series_function.h"
#include "chart/series/line_series.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace kov;

namespace {

/// Appends state.range(0) points to a source followed by a moving average
/// (Moving) or a grouped high over periods of 10.
template <bool Moving> void BM_AppendFollowedByFunction(benchmark::State &state)
{
    const int points = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TLineSeries source;
        TLineSeries result;
        std::unique_ptr<TSeriesFunction> function;
        if (Moving)
            function = std::make_unique<TAverageFunction>();
        else
            function = std::make_unique<THighFunction>();
        function->SetPeriod(10);
        result.AttachFunction(std::move(function));
        result.SetDataSource(&source);
        for (int i = 0; i < points; ++i)
            source.AppendPoint(i % 37);
        benchmark::DoNotOptimize(result.PointCount());
    }
    state.SetItemsProcessed(state.iterations() * points);
}
BENCHMARK(BM_AppendFollowedByFunction<true>)->Arg(1000)->Arg(4000);
BENCHMARK(BM_AppendFollowedByFunction<false>)->Arg(1000)->Arg(4000);

/// The same appends to a source nothing follows: the floor.
void BM_AppendAlone(benchmark::State &state)
{
    const int points = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TLineSeries source;
        for (int i = 0; i < points; ++i)
            source.AppendPoint(i % 37);
        benchmark::DoNotOptimize(source.PointCount());
    }
    state.SetItemsProcessed(state.iterations() * points);
}
BENCHMARK(BM_AppendAlone)->Arg(1000)->Arg(4000);

/// The same appends, each followed by a full recalculation.
void BM_AppendWithFullRecalculation(benchmark::State &state)
{
    const int points = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TLineSeries source;
        TLineSeries result;
        auto function = std::make_unique<TAverageFunction>();
        function->SetPeriod(10);
        result.AttachFunction(std::move(function));
        result.SetDataSource(&source);
        result.RecalcOptions().OnInsert = false;
        for (int i = 0; i < points; ++i) {
            source.AppendPoint(i % 37);
            result.RefreshFromDataSources();
        }
        benchmark::DoNotOptimize(result.PointCount());
    }
    state.SetItemsProcessed(state.iterations() * points);
}
BENCHMARK(BM_AppendWithFullRecalculation)->Arg(1000)->Arg(4000);

} // namespace

namespace {

std::unique_ptr<TSeriesFunction> MakeFunction(int kind)
{
    switch (kind) {
    case 0:
        return std::make_unique<TAddFunction>();
    case 1:
        return std::make_unique<TSubtractFunction>();
    case 2:
        return std::make_unique<TMultiplyFunction>();
    case 3:
        return std::make_unique<TDivideFunction>();
    case 4:
        return std::make_unique<THighFunction>();
    case 5:
        return std::make_unique<TLowFunction>();
    default:
        return std::make_unique<TAverageFunction>();
    }
}

/// Fills a source with 5 000 points, a function of kind range(0) (add,
/// subtract, multiply, divide, high, low, average) with period range(1)
/// attached: the whole source for period 0.
void BM_FillWithFunction(benchmark::State &state)
{
    const int points = 5000;
    for (auto _ : state) {
        TLineSeries source;
        TLineSeries result;
        auto function = MakeFunction(static_cast<int>(state.range(0)));
        function->SetPeriod(static_cast<int>(state.range(1)));
        result.AttachFunction(std::move(function));
        result.SetDataSource(&source);
        for (int i = 0; i < points; ++i)
            source.AppendPoint(1 + i % 37);
        benchmark::DoNotOptimize(result.PointCount());
    }
    state.SetItemsProcessed(state.iterations() * points);
}
BENCHMARK(BM_FillWithFunction)->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {0, 10}});

/// One point appended to, then one changed in, the root of a chain of
/// range(0) averages over the whole of the level below (the root has 20
/// points).
void BM_ChangeAtChainRoot(benchmark::State &state)
{
    const int levels = static_cast<int>(state.range(0));
    TLineSeries root;
    for (int i = 0; i < 20; ++i)
        root.AppendPoint(i);
    std::vector<std::unique_ptr<TLineSeries>> chain;
    TChartSeries *below = &root;
    for (int level = 0; level < levels; ++level) {
        chain.push_back(std::make_unique<TLineSeries>());
        chain.back()->AttachFunction(std::make_unique<TAverageFunction>());
        chain.back()->Function()->SetPeriod(0);
        chain.back()->SetDataSource(below);
        below = chain.back().get();
    }
    for (auto _ : state) {
        root.AppendPoint(7);
        root.SetPointY(0, root.PointY(0) + 1);
        root.RemovePoint(root.PointCount() - 1);
        benchmark::DoNotOptimize(below->PointY(0));
    }
}
BENCHMARK(BM_ChangeAtChainRoot)->Arg(8)->Arg(12)->Arg(20);

} // namespace
