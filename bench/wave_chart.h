#pragma once

#include "app/chart_setup.h"
#include "chart/chart.h"
#include "chart/series/fast_line_series.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

// The picture the fast-line benchmarks draw: the main window's chart, its
// size, and a long recording on it.
namespace kov::bench {

constexpr int Width = 950;
constexpr int Height = 510;

/// The main window's chart, Width x Height, with a red fast line of n points
/// of a noisy wave (three periods; the same points on every run), whose Y
/// values y keeps.
struct WaveChart
{
    TChart chart;
    TFastLineSeries *series = nullptr;
    std::vector<double> y;

    explicit WaveChart(int n) : y(static_cast<std::size_t>(n))
    {
        SetUpChart1(chart);
        series = chart.AddSeries(std::make_unique<TFastLineSeries>());
        series->SetSeriesColor(clRed);
        chart.resize(Width, Height);
        std::uint32_t r = 12345;
        for (int i = 0; i < n; ++i) {
            r = r * 1664525u + 1013904223u;
            y[static_cast<std::size_t>(i)] = 128 + 90 * std::sin(i * 6.283185307179586 * 3 / n) +
                                             double(r >> 24) / 255.0 * 30 - 15;
            series->AppendPointXY(i, y[static_cast<std::size_t>(i)]);
        }
    }
};

} // namespace kov::bench
