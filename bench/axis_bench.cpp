// Label step search of an axis over a sweep of ranges: the search runs at
// every layout and paint, for every shown axis.
#include "chart/axis/axis.h"
#include "chart/canvas/chart_canvas3d.h"

#include <benchmark/benchmark.h>

using namespace kov;

namespace {

void BM_ComputeLabelStepSweep(benchmark::State &state)
{
    TChartAxis left;
    left.SetAutomatic(false);
    left.Mapping().SetPixelSpan(20, 420);
    left.PaintContext().Canvas.Font().CopyFrom(left.LabelsFont());
    // 64 ranges from 1e-6 to 1e9 wide, each starting at a different offset.
    std::vector<std::pair<double, double>> ranges;
    for (int i = 0; i < 64; ++i) {
        const double size = std::pow(10.0, -6 + 15.0 * i / 63);
        const double start = (i % 7 - 3) * size * 0.37;
        ranges.emplace_back(start, start + size);
    }
    double sum = 0;
    for (auto _ : state) {
        for (const auto &[lo, hi] : ranges) {
            left.Mapping().SetRange(lo, hi);
            sum += left.ComputeLabelStep();
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(ranges.size()));
}
BENCHMARK(BM_ComputeLabelStepSweep);

void BM_PaintLeftAxisLabels(benchmark::State &state)
{
    TChartAxis left;
    left.SetAutomatic(false);
    left.SetMaximum(255);
    left.RefreshRange();
    left.Mapping().SetPixelSpan(20, 420);
    for (auto _ : state)
        left.PaintAxis(false);
    benchmark::DoNotOptimize(left.Layout().PaintedLabels.size());
}
BENCHMARK(BM_PaintLeftAxisLabels);

} // namespace
