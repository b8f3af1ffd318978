#include "chart/canvas/chart_canvas3d.h"

#include <gtest/gtest.h>

// The canvas remembers the widths it measured; a change of its font must give
// the widths of the new font.
using namespace kov;

namespace {

int FreshWidth(const QString &text, int size, TFontStyles style)
{
    TChartCanvas3D canvas;
    canvas.Font().SetSize(size);
    canvas.Font().SetStyle(style);
    return canvas.MeasureTextWidth(text);
}

} // namespace

TEST(TChartCanvasTextWidth, RemeasuresAfterEachFontChange)
{
    const QString text = QStringLiteral("Мощность 1234567890");
    TChartCanvas3D canvas;
    canvas.Font().SetSize(8);
    const int small = canvas.MeasureTextWidth(text);
    EXPECT_EQ(canvas.MeasureTextWidth(text), small);

    canvas.Font().SetSize(20);
    const int large = canvas.MeasureTextWidth(text);
    EXPECT_GT(large, small);
    EXPECT_EQ(large, FreshWidth(text, 20, 0));

    canvas.Font().SetStyle(fsBold);
    EXPECT_EQ(canvas.MeasureTextWidth(text), FreshWidth(text, 20, fsBold));

    TFont other;
    other.CopyFrom(canvas.Font());
    other.SetSize(8);
    other.SetStyle(0);
    canvas.Font().CopyFrom(other);
    EXPECT_EQ(canvas.MeasureTextWidth(text), small);
    EXPECT_EQ(canvas.MeasureTextWidth(QString()), 0);
}
