#include "chart/canvas/chart_canvas3d.h"
#include "chart/exceptions.h"

#include <QFontMetricsF>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace kov;

TEST(TChartCanvasUtils, DarkenColorFloorsEachChannelAtZero)
{
    EXPECT_EQ(DarkenColor(0x808080, 128), 0x000000);
    EXPECT_EQ(DarkenColor(clWhite, 64), RGBColor(191, 191, 191));
    EXPECT_EQ(DarkenColor(RGBColor(200, 100, 30), 64), RGBColor(136, 36, 0));
    EXPECT_EQ(DarkenColor(clRed, 0), clRed);
    // System colours are resolved before darkening.
    EXPECT_EQ(DarkenColor(clBtnFace, 0), ColorToRGB(clBtnFace));
}

TEST(TChartCanvasUtils, PaletteWrapsEverySixteen)
{
    EXPECT_EQ(PaletteColor(0), clRed);
    EXPECT_EQ(PaletteColor(16), clRed);
    EXPECT_EQ(PaletteColor(3), clBlue);
    EXPECT_EQ(PaletteColor(9), clMaroon);
    EXPECT_EQ(PaletteColor(15), clBlack);
    EXPECT_EQ(PaletteColor(31), clBlack);
    EXPECT_EQ(PaletteColor(-1), clBlack) << "a negative index must not read outside the table";
}

TEST(TChartCanvasUtils, ValidateAngleBounds)
{
    EXPECT_NO_THROW(ValidateAngle(0, "Axis Title"));
    EXPECT_NO_THROW(ValidateAngle(359, "Axis Title"));
    for (int bad : {-1, 360}) {
        try {
            ValidateAngle(bad, "Axis Labels");
            ADD_FAILURE() << bad << " accepted";
        } catch (const ChartException &e) {
            EXPECT_EQ(e.Message(), "Axis Labels Angle must be between 0 and 359 degrees");
        }
    }
}

TEST(TChartCanvasUtils, RectangleHelpers)
{
    int w = 0, h = 0, x = 0, y = 0;
    RectSize(TRect{10, 20, 40, 25}, w, h);
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 5);
    RectCenter(TRect{-5, -5, 0, 0}, x, y);
    EXPECT_EQ(x, -2) << "halving truncates toward zero";
    EXPECT_EQ(y, -2);
    EXPECT_EQ(NormalizedRect(TRect{10, 8, 2, 1}), (TRect{2, 1, 10, 8}));
    EXPECT_EQ(ToQRect(TRect{1, 2, 11, 7}), QRect(1, 2, 10, 5));
    EXPECT_EQ(FromQRect(QRect(1, 2, 10, 5)), (TRect{1, 2, 11, 7}));
}

TEST(TChartCanvasUtils, DefaultFont)
{
    EXPECT_EQ(ChartFontName(), "Arial");
    EXPECT_EQ(ChartFontSize(), 8);
    int changes = 0;
    auto font = NewDefaultFont([&] { ++changes; });
    EXPECT_TRUE(MatchesDefaultFont(*font));
    EXPECT_EQ(changes, 0);
    font->SetStyle(fsBold);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(MatchesDefaultFont(*font));
    font->SetStyle(0);
    font->SetName("arial");
    EXPECT_FALSE(MatchesDefaultFont(*font)) << "the name comparison is case-sensitive";
}

TEST(TChartPenTest, VariantDefaultsAndNoChangeOnConstruction)
{
    int changes = 0;
    auto count = [&] { ++changes; };
    TChartPen pen(count);
    TChartHiddenPen hidden(count);
    TDottedGrayPen dotted(count);
    TDarkGrayPen dark(count);
    TChartAxisPen axis(count);
    TChartArrowPen arrow(count);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(pen.Visible());
    EXPECT_FALSE(pen.SmallDots());
    EXPECT_EQ(pen.Color(), clBlack);
    EXPECT_FALSE(hidden.Visible());
    EXPECT_EQ(dotted.Color(), clGray);
    EXPECT_EQ(dotted.Style(), psDot);
    EXPECT_EQ(dark.Color(), clGray);
    EXPECT_EQ(dark.Style(), psSolid);
    EXPECT_EQ(axis.Width(), 2);
    EXPECT_EQ(arrow.Color(), clWhite);
}

TEST(TChartPenTest, NotifiesOnlyRealChanges)
{
    int changes = 0;
    TChartPen pen([&] { ++changes; });
    pen.SetVisible(true);
    pen.SetSmallDots(false);
    pen.SetColor(clBlack);
    EXPECT_EQ(changes, 0);
    pen.SetVisible(false);
    pen.SetSmallDots(true);
    pen.SetWidth(3);
    pen.SetStyle(psDash);
    EXPECT_EQ(changes, 4);
}

TEST(TChartPenTest, CopyFromChartPenTakesVisibleAndSmallDots)
{
    TChartPen source;
    source.SetVisible(false);
    source.SetSmallDots(true);
    source.SetColor(clRed);
    source.SetWidth(4);
    int changes = 0;
    TChartPen target([&] { ++changes; });
    target.CopyFrom(source);
    EXPECT_FALSE(target.Visible());
    EXPECT_TRUE(target.SmallDots());
    EXPECT_EQ(target.Color(), clRed);
    EXPECT_EQ(target.Width(), 4);
    EXPECT_GE(changes, 1);

    TPen plain;
    plain.SetColor(clBlue);
    target.CopyFrom(plain);
    EXPECT_EQ(target.Color(), clBlue);
    EXPECT_FALSE(target.Visible()) << "a plain pen has no visibility to copy";
}

TEST(TView3DOptionsTest, DefaultsAndRepaintOnChange)
{
    int repaints = 0;
    TView3DOptions options([&] { ++repaints; });
    EXPECT_EQ(options.Elevation(), 345);
    EXPECT_EQ(options.Rotation(), 345);
    EXPECT_EQ(options.Tilt(), 0);
    EXPECT_EQ(options.Perspective(), 15);
    EXPECT_EQ(options.Zoom(), 100);
    EXPECT_TRUE(options.Orthogonal());
    EXPECT_TRUE(options.ZoomText());
    EXPECT_EQ(options.HorizOffset(), 0);
    EXPECT_EQ(options.VertOffset(), 0);

    options.SetElevation(345);
    options.SetOrthogonal(true);
    EXPECT_EQ(repaints, 0);
    options.SetElevation(300);
    options.SetRotation(10);
    options.SetTilt(5);
    options.SetPerspective(0);
    options.SetOrthogonal(false);
    options.SetZoomText(false);
    EXPECT_EQ(repaints, 6);
}

TEST(TView3DOptionsTest, NotificationOrder)
{
    std::vector<QString> events;
    TView3DOptions options([&] { events.push_back("repaint"); });
    options.OnScrolled = [&](bool horizontal) {
        events.push_back(horizontal ? "scrolled h" : "scrolled v");
    };
    options.OnZoomed = [&](int zoom) {
        events.push_back(QString("zoomed %1 stored %2").arg(zoom).arg(options.Zoom()));
    };
    options.SetHorizOffset(0);
    EXPECT_TRUE(events.empty()) << "an unchanged offset fires nothing";
    options.SetHorizOffset(7);
    options.SetVertOffset(-3);
    options.SetZoom(150);
    options.SetZoom(150);
    const std::vector<QString> expected = {
        "repaint", "scrolled h", "repaint", "scrolled v", "zoomed 150 stored 100", "repaint"};
    EXPECT_EQ(events, expected);
}

TEST(TView3DOptionsTest, CopyFromIsSilent)
{
    TView3DOptions source;
    source.SetZoom(50);
    source.SetHorizOffset(4);
    source.SetOrthogonal(false);
    int events = 0;
    TView3DOptions target([&] { ++events; });
    target.OnZoomed = [&](int) { ++events; };
    target.OnScrolled = [&](bool) { ++events; };
    target.CopyFrom(source);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(target.Zoom(), 50);
    EXPECT_EQ(target.HorizOffset(), 4);
    EXPECT_FALSE(target.Orthogonal());
}

TEST(TChartCanvasUtils, DefaultFontLineHeightRoundsTheCellUp)
{
    // 8 points at 96 pixels per inch is an 11-pixel font; its cell, ascent and
    // descent each rounded up, is the chart's line height.
    TChartCanvas3D canvas;
    QFont font("Arial");
    font.setPixelSize(11);
    const QFontMetricsF m(font);
    EXPECT_EQ(canvas.TextLineHeight(),
              static_cast<int>(std::ceil(m.ascent() - 1e-6) + std::ceil(m.descent() - 1e-6)));
    EXPECT_GE(canvas.TextLineHeight(), QFontMetrics(font).height());
    canvas.Font().SetSize(16);
    EXPECT_GT(canvas.TextLineHeight(), 20) << "the cached height follows font changes";
}
