// A series function following a growing source: a point appended at the end
// of the source adds or changes the result's last point only, so filling a
// source point by point stays linear; a full recalculation per point (what a
// change anywhere else costs) is the comparison.
#include "chart/functions/series_function.h"
#include "chart/series/line_series.h"

#include <benchmark/benchmark.h>

#include <memory>

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
