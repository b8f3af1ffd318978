#include "canvas_test_util.h"

#include <gtest/gtest.h>

using namespace kov;
using namespace kov::test;

namespace {

// Draws "88" at (10, 10) over a red field with the given brush and an opaque
// background, then reads the number of pixels of each colour in the text cell.
struct TextCell
{
    int Red = 0;
    int Blue = 0;
};

TextCell WriteOverRed(TBrushStyle brushStyle)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, 80, 40);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clRed);
    canvas.Pen().SetStyle(psClear);
    canvas.FillRectangle(TRect{0, 0, 80, 40});
    canvas.Brush().SetColor(clBlue);
    canvas.Brush().SetStyle(brushStyle);
    canvas.SetBackgroundMode(bmOpaque);
    canvas.Font().SetColor(clBlack);
    canvas.SetTextAlignment(taLeft);
    canvas.WriteText(10, 10, QStringLiteral("88"));

    TextCell cell;
    const int width = canvas.MeasureTextWidth(QStringLiteral("88"));
    const int height = canvas.MeasureTextHeight(QStringLiteral("88"));
    for (int y = 10; y < 10 + height; ++y)
        for (int x = 10; x < 10 + width; ++x) {
            const TColor c = PixelAt(canvas, x, y);
            cell.Red += c == clRed;
            cell.Blue += c == clBlue;
        }
    return cell;
}

} // namespace

TEST(TChartCanvas3DText, ClearBrushLeavesWhatLiesBeneathTheText)
{
    const TextCell cell = WriteOverRed(bsClear);
    EXPECT_GT(cell.Red, 0);
    EXPECT_EQ(cell.Blue, 0);
}

TEST(TChartCanvas3DText, SolidBrushOnOpaqueBackgroundFillsTheCellInTheBrushColour)
{
    const TextCell cell = WriteOverRed(bsSolid);
    EXPECT_EQ(cell.Red, 0);
    EXPECT_GT(cell.Blue, 0);
}
