#pragma once

#include "chart/axis/axis.h"
#include "chart/chart.h"
#include "chart/panel/chart_font.h"
#include "tests/chart/chart_picture.h"

#include <QImage>
#include <gtest/gtest.h>

// The fixture the chart picture tests share: a chart drawn flat (no depth
// view) at a fixed size, painted into an image whose pixels the tests read.
namespace kov::testing {

/// Fixes an axis' range to min..max whatever its range was, in the order
/// that never puts the minimum above the maximum.
inline void FixAxisRange(TCustomChartAxis *axis, double min, double max)
{
    axis->SetAutomatic(false);
    if (max >= axis->Minimum()) {
        axis->SetMaximum(max);
        axis->SetMinimum(min);
    } else {
        axis->SetMinimum(min);
        axis->SetMaximum(max);
    }
}

class FlatChartTest : public ::testing::Test
{
protected:
    /// Sizes the chart and turns its depth view off.
    void MakeFlat(int width, int height)
    {
        chart.resize(width, height);
        chart.SetView3D(false);
    }

    /// A flat chart of width x height on white with neither axes nor
    /// legend: nothing but the series in the picture.
    void MakeBare(int width, int height)
    {
        MakeFlat(width, height);
        chart.SetColor(clWhite);
        chart.SetAxisVisible(false);
        chart.Legend().SetVisible(false);
    }

    static void FixRange(TCustomChartAxis *axis, double min, double max)
    {
        FixAxisRange(axis, min, max);
    }

    /// A whole paint of the chart into image, on white.
    void Paint() { image = DrawPicture(chart, chart.width(), chart.height()); }
    TColor Pixel(int x, int y) const { return FromQColor(image.pixelColor(x, y)); }

    /// Line height of font on the chart's canvas.
    int LineHeightOf(const TFont &font)
    {
        chart.SelectFont(font);
        return chart.ChartCanvas().TextLineHeight();
    }

    TChart chart;
    QImage image;
};

} // namespace kov::testing
