#include "canvas_test_util.h"

#include <QSet>
#include <array>
#include <functional>
#include <gtest/gtest.h>

using namespace kov;
using kov::test::BeginPaint;
using kov::test::CountInk;
using kov::test::PixelAt;

namespace {

constexpr int W = 60;
constexpr int H = 40;

QImage Draw(const std::function<void(TChartCanvas3D &)> &paint, bool is3D = false,
            TView3DOptions *options = nullptr)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, W, H, options, is3D);
    canvas.SetProjection(10, TRect{0, 0, W, H}, TRect{0, 0, W, H});
    paint(canvas);
    return canvas.BufferImage().copy();
}

} // namespace

TEST(TChartCanvas3DDrawing, LinesLeaveOutTheirLastPixel)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, W, H);
    canvas.DrawHorizontalLine(5, 15, 3);
    canvas.DrawVerticalLine(20, 5, 10);
    EXPECT_EQ(PixelAt(canvas, 5, 3), clBlack);
    EXPECT_EQ(PixelAt(canvas, 14, 3), clBlack);
    EXPECT_EQ(PixelAt(canvas, 15, 3), clWhite);
    EXPECT_EQ(PixelAt(canvas, 20, 5), clBlack);
    EXPECT_EQ(PixelAt(canvas, 20, 9), clBlack);
    EXPECT_EQ(PixelAt(canvas, 20, 10), clWhite);
    EXPECT_EQ(CountInk(canvas.BufferImage()), 15);
}

TEST(TChartCanvas3DDrawing, RectangleCoversItsBoxWithoutRightAndBottomEdges)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, W, H);
    canvas.Brush().SetColor(clRed);
    canvas.Pen().SetColor(clBlue);
    canvas.DrawRectangle(10, 10, 20, 15);
    EXPECT_EQ(PixelAt(canvas, 10, 10), clBlue);
    EXPECT_EQ(PixelAt(canvas, 19, 14), clBlue);
    EXPECT_EQ(PixelAt(canvas, 20, 14), clWhite);
    EXPECT_EQ(PixelAt(canvas, 19, 15), clWhite);
    EXPECT_EQ(PixelAt(canvas, 15, 12), clRed);

    // Without an outline the fill covers the same box.
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetColor(clGreen);
    canvas.DrawRectangle(30, 10, 40, 15);
    EXPECT_EQ(PixelAt(canvas, 30, 10), clGreen);
    EXPECT_EQ(PixelAt(canvas, 39, 14), clGreen);
    EXPECT_EQ(PixelAt(canvas, 40, 14), clWhite);

    canvas.FillRectangle(TRect{50, 10, 45, 20});
    EXPECT_EQ(PixelAt(canvas, 47, 12), clWhite) << "an inverted rectangle fills nothing";
}

TEST(TChartCanvas3DDrawing, FlatDepthOperationsMatchTheir2DTwins)
{
    TView3DOptions options;
    auto same = [&](const char *name, const std::function<void(TChartCanvas3D &)> &flat,
                    const std::function<void(TChartCanvas3D &)> &plain) {
        const QImage a = Draw(flat, false, &options);
        const QImage b = Draw(plain, false, &options);
        EXPECT_GT(CountInk(a), 0) << name;
        EXPECT_EQ(a, b) << name;
    };
    auto withBrush = [](TChartCanvas3D &c) {
        c.Brush().SetColor(clYellow);
        c.Pen().SetColor(clNavy);
    };
    // A filled shape at depth against the flat polygon through its corners.
    auto sameFilled = [&](const char *name, const std::function<void(TChartCanvas3D &)> &flat,
                          std::array<TPoint, 4> corners) {
        same(
            name,
            [&](TChartCanvas3D &c) {
                withBrush(c);
                flat(c);
            },
            [&](TChartCanvas3D &c) {
                withBrush(c);
                c.DrawPolygon(corners.data(), 3);
            });
    };
    same(
        "horizontal line", [](TChartCanvas3D &c) { c.DrawHorizontalLine3D(3, 40, 7, 25); },
        [](TChartCanvas3D &c) { c.DrawHorizontalLine(3, 40, 7); });
    same(
        "vertical line", [](TChartCanvas3D &c) { c.DrawVerticalLine3D(9, 2, 30, -4); },
        [](TChartCanvas3D &c) { c.DrawVerticalLine(9, 2, 30); });
    same(
        "segment", [](TChartCanvas3D &c) { c.DrawSegment3D(1, 2, 50, 33, 8); },
        [](TChartCanvas3D &c) { c.DrawSegment(1, 2, 50, 33); });
    same(
        "pen moves",
        [](TChartCanvas3D &c) {
            c.MovePenTo3D(4, 4, 9);
            c.DrawLineTo3D(30, 20, 9);
            c.DrawLineTo3D(50, 5, 2);
        },
        [](TChartCanvas3D &c) {
            c.MovePenTo(4, 4);
            c.DrawLineTo(30, 20);
            c.DrawLineTo(50, 5);
        });
    same(
        "pixel", [](TChartCanvas3D &c) { c.PlotPixel3D(7, 8, 30, clRed); },
        [](TChartCanvas3D &c) { c.PlotPixel(7, 8, clRed); });
    sameFilled("quadrilateral",
               [](TChartCanvas3D &c) {
                   c.DrawQuad3D({5, 5}, {40, 8}, {35, 30}, {8, 25}, 17);
               },
               {{{5, 5}, {40, 8}, {35, 30}, {8, 25}}});
    sameFilled("rectangle at depth",
               [](TChartCanvas3D &c) {
                   c.DrawRectangle3D(TRect{5, 6, 30, 20}, 12);
               },
               {{{5, 6}, {30, 6}, {30, 20}, {5, 20}}});
    sameFilled("box", [](TChartCanvas3D &c) { c.DrawCube(5, 30, 6, 20, 0, 10, true); },
               {{{5, 6}, {30, 6}, {30, 20}, {5, 20}}});
    same(
        "text", [](TChartCanvas3D &c) { c.WriteText3D(5, 5, 20, "Wg"); },
        [](TChartCanvas3D &c) { c.WriteText(5, 5, "Wg"); });
}

TEST(TChartCanvas3DDrawing, FlatEllipseAtDepthIsOnePixelLarger)
{
    const QRect plain = test::InkBox(Draw([](TChartCanvas3D &c) { c.DrawEllipse(10, 5, 30, 25); }));
    const QRect deep =
        test::InkBox(Draw([](TChartCanvas3D &c) { c.DrawEllipse3D(10, 5, 30, 25, 9); }));
    EXPECT_EQ(plain, QRect(10, 5, 20, 20));
    EXPECT_EQ(deep, QRect(10, 5, 21, 21));
}

TEST(TChartCanvas3DDrawing, XorPenDrawnTwiceRestoresThePicture)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, W, H);
    canvas.FillGradient(TRect{0, 0, W, H}, clRed, clBlue, gdLeftRight);
    canvas.Brush().SetColor(clGreen);
    canvas.DrawEllipse(5, 5, 25, 25);
    const QImage before = canvas.BufferImage().copy();

    canvas.Pen().SetMode(pmNotXor);
    canvas.Pen().SetColor(clBlack);
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawRectangle(3, 4, 50, 30);
    const QImage shown = canvas.BufferImage().copy();
    EXPECT_NE(shown, before);
    // A black inverting pen over white-ish gives the inverse, once per pixel
    // even at the corners.
    EXPECT_NE(PixelAt(shown, 3, 4), PixelAt(before, 3, 4));
    EXPECT_NE(PixelAt(shown, 49, 29), PixelAt(before, 49, 29));
    EXPECT_EQ(PixelAt(shown, 50, 30), PixelAt(before, 50, 30));
    canvas.DrawRectangle(3, 4, 50, 30);
    EXPECT_EQ(canvas.BufferImage(), before);
}

TEST(TChartCanvas3DDrawing, SmallDotsPenSetsEveryOtherPixel)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, W, H);
    TChartPen pen;
    pen.SetColor(clRed);
    pen.SetSmallDots(true);
    canvas.ApplyChartPen(pen);
    canvas.DrawHorizontalLine(10, 30, 5);
    for (int x = 10; x < 30; ++x)
        EXPECT_EQ(PixelAt(canvas, x, 5), (x - 10) % 2 == 0 ? clRed : clWhite) << x;

    // A wider pen ignores the small-dots mode.
    pen.SetWidth(3);
    canvas.ApplyChartPen(pen);
    canvas.DrawHorizontalLine(10, 30, 20);
    for (int x = 12; x < 28; ++x)
        EXPECT_EQ(PixelAt(canvas, x, 20), clRed) << x;
    EXPECT_EQ(canvas.Pen().Width(), 3);

    // A later plain pen leaves the dotted mode.
    pen.SetWidth(1);
    pen.SetSmallDots(false);
    canvas.ApplyChartPen(pen);
    canvas.DrawHorizontalLine(10, 30, 30);
    for (int x = 10; x < 30; ++x)
        EXPECT_EQ(PixelAt(canvas, x, 30), clRed) << x;
}

TEST(TChartCanvas3DDrawing, InvisibleChartPenChangesOnlyTheStyle)
{
    TChartCanvas3D canvas;
    canvas.Pen().SetColor(clRed);
    canvas.Pen().SetWidth(3);
    canvas.Pen().SetMode(pmNotXor);
    TChartHiddenPen pen;
    pen.SetColor(clBlue);
    canvas.ApplyChartPen(pen);
    EXPECT_EQ(canvas.Pen().Style(), psClear);
    EXPECT_EQ(canvas.Pen().Color(), clRed);
    EXPECT_EQ(canvas.Pen().Width(), 3);
    EXPECT_EQ(canvas.Pen().Mode(), pmNotXor);
}

TEST(TChartCanvas3DDrawing, ClippingToRectangleAndToTheFlatBox)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, W, H);
    canvas.Brush().SetColor(clRed);
    canvas.ClipToRectangle(TRect{10, 10, 20, 20});
    canvas.FillRectangle(TRect{0, 0, W, H});
    EXPECT_EQ(PixelAt(canvas, 10, 10), clRed);
    EXPECT_EQ(PixelAt(canvas, 19, 19), clRed);
    EXPECT_EQ(PixelAt(canvas, 20, 19), clWhite);
    EXPECT_EQ(PixelAt(canvas, 9, 15), clWhite);

    // Clips intersect.
    canvas.ClipToRectangle(TRect{15, 0, 40, 40});
    canvas.Brush().SetColor(clBlue);
    canvas.FillRectangle(TRect{0, 0, W, H});
    EXPECT_EQ(PixelAt(canvas, 14, 15), clRed);
    EXPECT_EQ(PixelAt(canvas, 15, 15), clBlue);
    EXPECT_EQ(PixelAt(canvas, 25, 15), clWhite);

    canvas.RemoveClipping();
    canvas.ClipToCube(TRect{30, 5, 50, 25}, 0, 10);
    canvas.Brush().SetColor(clGreen);
    canvas.FillRectangle(TRect{0, 0, W, H});
    // Flat box clip: (left + 1, top + 1, right, bottom - 1).
    EXPECT_EQ(PixelAt(canvas, 30, 10), clWhite);
    EXPECT_EQ(PixelAt(canvas, 31, 6), clGreen);
    EXPECT_EQ(PixelAt(canvas, 31, 5), clWhite);
    EXPECT_EQ(PixelAt(canvas, 49, 23), clGreen);
    EXPECT_EQ(PixelAt(canvas, 49, 24), clWhite);

    canvas.RemoveClipping();
    canvas.FillRectangle(TRect{0, 0, W, H});
    EXPECT_EQ(PixelAt(canvas, 0, 0), clGreen);
}

TEST(TChartCanvas3DDrawing, ClipToCubeIn3DKeepsTheBoxSides)
{
    TChartCanvas3D canvas;
    TView3DOptions options;
    BeginPaint(canvas, W, H, &options, true);
    canvas.SetProjection(10, TRect{0, 0, W, H}, TRect{10, 15, 40, 35});
    canvas.ClipToCube(TRect{10, 15, 40, 35}, 0, 10);
    canvas.Brush().SetColor(clRed);
    canvas.FillRectangle(TRect{0, 0, W, H});
    // Orthogonal: the back plane is 10 pixels right and up of the front.
    EXPECT_EQ(PixelAt(canvas, 20, 25), clRed) << "front face";
    EXPECT_EQ(PixelAt(canvas, 45, 15), clRed) << "right side";
    EXPECT_EQ(PixelAt(canvas, 25, 10), clRed) << "top";
    EXPECT_EQ(PixelAt(canvas, 5, 25), clWhite);
    EXPECT_EQ(PixelAt(canvas, 12, 7), clWhite) << "outside the top-left slant";
    EXPECT_EQ(PixelAt(canvas, 48, 33), clWhite) << "outside the bottom-right slant";
}

TEST(TChartCanvas3DDrawing, VerticalGradientOf300PixelsIn256Bands)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, 4, 300);
    canvas.FillGradient(TRect{0, 0, 4, 300}, clBlack, RGBColor(255, 0, 0), gdTopBottom);
    QSet<TColor> colours;
    for (int y = 0; y < 300; ++y) {
        colours.insert(PixelAt(canvas, 0, y));
        EXPECT_EQ(PixelAt(canvas, 0, y), PixelAt(canvas, 3, y));
    }
    EXPECT_EQ(colours.size(), 256);
    EXPECT_EQ(PixelAt(canvas, 0, 299), clBlack) << "step 0 lies at the bottom edge";
    EXPECT_EQ(PixelAt(canvas, 0, 0), RGBColor(255, 0, 0));
    // Red never decreases upward.
    for (int y = 299; y > 0; --y)
        EXPECT_LE(RedOf(PixelAt(canvas, 0, y)), RedOf(PixelAt(canvas, 0, y - 1)));
}

TEST(TChartCanvas3DDrawing, GradientDirectionsAndDegenerateRectangles)
{
    auto gradient = [](TRect r, TGradientDirection d) {
        return Draw([=](TChartCanvas3D &c) { c.FillGradient(r, clRed, clBlue, d); });
    };
    const QImage normal = gradient(TRect{5, 5, 45, 35}, gdTopBottom);
    EXPECT_EQ(gradient(TRect{45, 35, 5, 5}, gdTopBottom), normal);
    EXPECT_EQ(PixelAt(normal, 10, 34), clRed);
    EXPECT_EQ(PixelAt(normal, 10, 5), clBlue);
    EXPECT_EQ(PixelAt(normal, 4, 20), clWhite);
    EXPECT_EQ(PixelAt(normal, 45, 20), clWhite);

    const QImage flipped = gradient(TRect{5, 5, 45, 35}, gdBottomTop);
    EXPECT_EQ(PixelAt(flipped, 10, 34), clBlue);
    EXPECT_EQ(PixelAt(flipped, 10, 5), clRed);

    EXPECT_EQ(CountInk(gradient(TRect{5, 5, 45, 5}, gdTopBottom)), 0) << "zero height";

    const QImage across = gradient(TRect{5, 5, 45, 35}, gdLeftRight);
    EXPECT_EQ(PixelAt(across, 44, 10), clRed) << "step 0 lies at the right edge";
    EXPECT_EQ(PixelAt(across, 5, 10), clBlue);
    const QImage back = gradient(TRect{5, 5, 45, 35}, gdRightLeft);
    EXPECT_EQ(PixelAt(back, 44, 10), clBlue);

    for (TGradientDirection d : {gdFromCenter, gdFromTopLeft, gdFromBottomLeft}) {
        const QImage img = gradient(TRect{5, 5, 45, 35}, d);
        EXPECT_EQ(CountInk(img), 40 * 30) << d << ": fills exactly the rectangle";
    }
    const QImage centre = gradient(TRect{5, 5, 45, 35}, gdFromCenter);
    EXPECT_EQ(PixelAt(centre, 5, 5), clBlue) << "outer ring is step 0 of the exchanged colours";
    const QImage corner = gradient(TRect{5, 5, 45, 35}, gdFromTopLeft);
    EXPECT_EQ(PixelAt(corner, 5, 5), clBlue);
    EXPECT_EQ(PixelAt(corner, 20, 10), PixelAt(corner, 10, 20)) << "bands run along diagonals";
    const QImage bottomCorner = gradient(TRect{5, 5, 45, 35}, gdFromBottomLeft);
    EXPECT_EQ(PixelAt(bottomCorner, 5, 34), clBlue);
}

TEST(TChartCanvas3DDrawing, GradientIgnoresTheInvertingPen)
{
    const QImage plain = Draw([](TChartCanvas3D &c) {
        c.FillGradient(TRect{0, 0, W, H}, clRed, clLime, gdTopBottom);
    });
    const QImage inverted = Draw([](TChartCanvas3D &c) {
        c.Pen().SetMode(pmNotXor);
        c.FillGradient(TRect{0, 0, W, H}, clRed, clLime, gdTopBottom);
    });
    EXPECT_EQ(plain, inverted);
}

TEST(TChartCanvas3DDrawing, BevelFrames)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, W, H);
    canvas.DrawBevel(TRect{10, 10, 30, 20}, clRed, clBlue, 2);
    // Outer frame: top and left in the first colour, bottom and right in the
    // second, the bottom-left corner in the second.
    EXPECT_EQ(PixelAt(canvas, 10, 10), clRed);
    EXPECT_EQ(PixelAt(canvas, 28, 10), clRed);
    EXPECT_EQ(PixelAt(canvas, 29, 10), clBlue);
    EXPECT_EQ(PixelAt(canvas, 29, 19), clBlue);
    EXPECT_EQ(PixelAt(canvas, 10, 19), clBlue);
    EXPECT_EQ(PixelAt(canvas, 10, 18), clRed);
    // Inner frame, one pixel in.
    EXPECT_EQ(PixelAt(canvas, 11, 11), clRed);
    EXPECT_EQ(PixelAt(canvas, 28, 18), clBlue);
    EXPECT_EQ(PixelAt(canvas, 12, 12), clWhite);
    EXPECT_EQ(PixelAt(canvas, 30, 20), clWhite);
    EXPECT_EQ(canvas.Pen().Width(), 1);
}

TEST(TChartCanvas3DDrawing, OrthogonalCubeShadesSidesAndTop)
{
    TView3DOptions options;
    TChartCanvas3D canvas;
    BeginPaint(canvas, W, H, &options, true);
    canvas.SetProjection(0, TRect{0, 0, W, H}, TRect{0, 0, W, H});
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetColor(clWhite);
    canvas.Brush().SetColor(RGBColor(200, 200, 200));
    canvas.DrawCube(10, 30, 15, 35, 0, 8, true);
    EXPECT_EQ(PixelAt(canvas, 20, 25), RGBColor(200, 200, 200)) << "front";
    EXPECT_EQ(PixelAt(canvas, 33, 25), RGBColor(72, 72, 72)) << "right side darkened by 128";
    EXPECT_EQ(PixelAt(canvas, 22, 12), RGBColor(136, 136, 136)) << "top darkened by 64";
    EXPECT_EQ(canvas.Brush().Color(), RGBColor(136, 136, 136)) << "the colour is not restored";
}

TEST(TChartCanvas3DDrawing, ArrowOfZeroLengthDrawsNothing)
{
    EXPECT_EQ(CountInk(Draw([](TChartCanvas3D &c) {
                  c.DrawArrow(true, {20, 20}, {20, 20}, 8, 8, 0);
              })),
              0);
    const QImage open = Draw([](TChartCanvas3D &c) {
        c.DrawArrow(false, {5, 20}, {45, 20}, 10, 10, 0);
    });
    EXPECT_EQ(PixelAt(open, 20, 20), clBlack) << "shaft";
    EXPECT_EQ(PixelAt(open, 39, 17), clBlack) << "one side of the head";
    EXPECT_EQ(PixelAt(open, 39, 23), clBlack) << "other side of the head";
    const QImage filled = Draw([](TChartCanvas3D &c) {
        c.Brush().SetColor(clRed);
        c.DrawArrow(true, {5, 20}, {45, 20}, 10, 12, 0);
    });
    EXPECT_EQ(PixelAt(filled, 20, 20), clRed) << "inside the shaft";
    EXPECT_EQ(PixelAt(filled, 38, 23), clRed) << "inside the head";
    EXPECT_EQ(PixelAt(filled, 20, 25), clWhite) << "beside the shaft";
}

TEST(TChartCanvas3DDrawing, TextAlignment)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, 200, 60);
    canvas.Font().SetColor(clRed);
    const int width = canvas.MeasureTextWidth("WWW");
    const int height = canvas.TextLineHeight();
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
    canvas.SetTextAlignment(taRight | taBottom);
    canvas.WriteText(150, 50, "WWW");
    QRect box;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if (PixelAt(canvas, x, y) != clWhite)
                box |= QRect(x, y, 1, 1);
    EXPECT_LE(box.right(), 150);
    EXPECT_GE(box.right(), 150 - 3);
    EXPECT_LE(box.bottom(), 50);
    EXPECT_GE(box.left(), 150 - width - 1);
    EXPECT_GE(box.top(), 50 - height);
}

TEST(TChartCanvas3DDrawing, RotatedTextRunsUpward)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, 100, 100);
    canvas.WriteRotatedText(50, 90, "WWWW", 90);
    QRect box;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (PixelAt(canvas, x, y) != clWhite)
                box |= QRect(x, y, 1, 1);
    EXPECT_GT(box.height(), box.width()) << "text at 90 degrees is taller than wide";
    EXPECT_LE(box.bottom(), 90);
    EXPECT_EQ(canvas.Brush().Style(), bsClear);
}

TEST(TChartCanvas3DDrawing, ZoomedTextIsLarger)
{
    TView3DOptions options;
    options.SetZoom(200);
    auto inkOf = [&](bool zoomText) {
        options.SetZoomText(zoomText);
        return CountInk(
            Draw([](TChartCanvas3D &c) { c.WriteText3D(20, 10, 0, "W"); }, true, &options));
    };
    EXPECT_GT(inkOf(true), inkOf(false) * 2);
}

TEST(TChartCanvas3DBuffer, RepaintCopiesTheBufferUntilMarkedDirty)
{
    TChartCanvas3D canvas;
    EXPECT_TRUE(canvas.IsDirty());
    EXPECT_FALSE(canvas.RepaintFromBuffer()) << "nothing painted yet";

    BeginPaint(canvas, W, H);
    canvas.Brush().SetColor(clRed);
    canvas.FillRectangle(TRect{0, 0, W, H});
    QImage window(W, H, QImage::Format_ARGB32_Premultiplied);
    window.fill(Qt::white);
    {
        QPainter windowPainter(&window);
        canvas.PresentImage(&windowPainter, &windowPainter, TRect{0, 0, W, H});
        EXPECT_FALSE(canvas.IsDirty());
        EXPECT_EQ(canvas.Surface(), &windowPainter);
    }
    EXPECT_EQ(PixelAt(window, 10, 10), clRed);

    QImage again(W, H, QImage::Format_ARGB32_Premultiplied);
    again.fill(Qt::white);
    {
        QPainter windowPainter(&again);
        canvas.SetSurface(&windowPainter);
        EXPECT_TRUE(canvas.RepaintFromBuffer());
        canvas.MarkDirty();
        EXPECT_FALSE(canvas.RepaintFromBuffer());
        canvas.SetSurface(nullptr);
    }
    EXPECT_EQ(PixelAt(again, 10, 10), clRed);
}

TEST(TChartCanvas3DBuffer, BufferIsReusedUntilTheSizeChanges)
{
    TChartCanvas3D canvas;
    TRect drawRect;
    canvas.BeginWindow(nullptr, nullptr, drawRect, TRect{100, 50, 300, 150}, false, clWhite);
    EXPECT_EQ(drawRect, (TRect{0, 0, 200, 100}));
    const uchar *bits = canvas.BufferImage().constBits();
    canvas.BeginWindow(nullptr, nullptr, drawRect, TRect{0, 0, 200, 100}, false, clWhite);
    EXPECT_EQ(canvas.BufferImage().constBits(), bits);
    canvas.BeginWindow(nullptr, nullptr, drawRect, TRect{0, 0, 201, 100}, false, clWhite);
    EXPECT_EQ(canvas.BufferImage().width(), 201);

    canvas.SetBuffered(false);
    EXPECT_TRUE(canvas.BufferImage().isNull());
    EXPECT_TRUE(canvas.IsDirty());
    canvas.BeginWindow(nullptr, nullptr, drawRect, TRect{5, 6, 50, 60}, false, clWhite);
    EXPECT_EQ(drawRect, (TRect{5, 6, 50, 60})) << "unbuffered paints draw into the bounds";
    EXPECT_FALSE(canvas.RepaintFromBuffer());
}

TEST(TChartCanvas3DBuffer, MonochromeChangeRepaintsThroughTheSettings)
{
    int repaints = 0;
    TView3DOptions options([&] { ++repaints; });
    TChartCanvas3D canvas;
    TRect drawRect;
    canvas.BeginWindow(nullptr, &options, drawRect, TRect{0, 0, 20, 20}, false, clWhite);
    canvas.SetMonochromeBuffer(false);
    EXPECT_EQ(repaints, 0);
    canvas.SetMonochromeBuffer(true);
    EXPECT_EQ(repaints, 1);
    EXPECT_TRUE(canvas.IsDirty());
    EXPECT_TRUE(canvas.BufferImage().isNull());

    TChartCanvas3D other;
    other.AssignCanvas(canvas);
    EXPECT_TRUE(other.IsMonochrome());
}

TEST(TChartCanvas3DBuffer, DrawingWithoutSurfaceIsHarmless)
{
    TChartCanvas3D canvas;
    canvas.DrawRectangle(0, 0, 10, 10);
    canvas.WriteText(0, 0, "x");
    canvas.FillGradient(TRect{0, 0, 10, 10}, clRed, clBlue, gdFromCenter);
    canvas.ClipToCube(TRect{0, 0, 10, 10}, 0, 5);
    TRect drawRect;
    canvas.BeginWindow(nullptr, nullptr, drawRect, TRect{0, 0, 0, 0}, false, clWhite);
    canvas.DrawEllipse(0, 0, 5, 5);
    EXPECT_TRUE(canvas.BufferImage().isNull());
    EXPECT_GT(canvas.MeasureTextWidth("abc"), 0) << "measuring needs no surface";
}

TEST(TChartCanvas3DDrawing, LinesInEveryDirectionCoverStartButNotEnd)
{
    struct Case
    {
        int x1, y1, x2, y2;
    };
    for (const Case c :
         {Case{5, 5, 25, 5}, Case{25, 5, 5, 5}, Case{10, 2, 10, 30}, Case{10, 30, 10, 2},
          Case{5, 5, 25, 15}, Case{25, 15, 5, 5}, Case{40, 30, 30, 5}, Case{30, 5, 40, 30}}) {
        const QImage img =
            Draw([&](TChartCanvas3D &cv) { cv.DrawSegment(c.x1, c.y1, c.x2, c.y2); });
        EXPECT_EQ(PixelAt(img, c.x1, c.y1), clBlack) << c.x1 << "," << c.y1;
        EXPECT_EQ(PixelAt(img, c.x2, c.y2), clWhite) << c.x2 << "," << c.y2;
        const int len = std::max(std::abs(c.x2 - c.x1), std::abs(c.y2 - c.y1));
        EXPECT_EQ(CountInk(img), len) << "one pixel per step of the major axis";
    }
}

TEST(TChartCanvas3DDrawing, FlatPyramidShowsOnlyItsFrontFace)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, W, H);
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetColor(RGBColor(200, 150, 100));
    canvas.DrawPyramid(true, 10, 5, 40, 35, 0, 10, true);
    EXPECT_EQ(PixelAt(canvas, 25, 30), RGBColor(200, 150, 100)) << "front face in the base colour";
    EXPECT_EQ(PixelAt(canvas, 12, 8), clWhite) << "outside the slanted side";
    EXPECT_EQ(canvas.Brush().Color(), RGBColor(72, 22, 0)) << "sides darkened by 128";

    // Hatched brushes darken the background colour instead.
    canvas.Brush().SetStyle(bsCross);
    canvas.SetBackgroundColor(RGBColor(100, 100, 100));
    canvas.DrawCone(true, 10, 5, 40, 35, 0, 10, 0);
    EXPECT_EQ(canvas.GetBackgroundColor(), RGBColor(0, 0, 0));
}

TEST(TChartCanvas3DDrawing, RotatedEllipseWithIdentityRotationCoversTheBox)
{
    TView3DOptions options;
    options.SetOrthogonal(false);
    options.SetElevation(0);
    options.SetRotation(0);
    options.SetPerspective(0);
    const QImage img = Draw(
        [](TChartCanvas3D &c) {
            c.Brush().SetColor(clRed);
            c.DrawEllipse3D(10, 5, 40, 35, 5);
        },
        true, &options);
    EXPECT_EQ(PixelAt(img, 25, 20), clRed) << "centre filled";
    EXPECT_EQ(PixelAt(img, 15, 20), clRed);
    EXPECT_EQ(PixelAt(img, 35, 20), clRed);
    EXPECT_EQ(PixelAt(img, 11, 6), clWhite) << "box corner outside the ellipse";
    EXPECT_EQ(PixelAt(img, 25, 35), clBlack) << "outline point 0 is the bottom centre";
    EXPECT_EQ(PixelAt(img, 45, 20), clWhite);
}

TEST(TChartCanvas3DDrawing, RotatedSolidsStayInsideTheirProjectedBox)
{
    TView3DOptions options;
    options.SetOrthogonal(false);
    for (int rotation : {0, 30, 345}) {
        options.SetRotation(rotation);
        const QImage img = Draw(
            [](TChartCanvas3D &c) {
                c.Brush().SetColor(clRed);
                c.DrawCube(20, 40, 10, 30, 0, 10, true);
                c.DrawPyramid(false, 5, 5, 15, 15, 0, 5, true);
                c.DrawCylinder(true, 42, 5, 55, 20, 0, 6, true);
                c.DrawPie3D({30, 20}, 8, 8, 0, 5, 0, 2, true);
                c.DrawSphere(10, 30, 4.5, 3);
            },
            true, &options);
        EXPECT_GT(CountInk(img), 200) << rotation;
        EXPECT_NE(PixelAt(img, 30, 20), clWhite) << rotation;
    }
}

TEST(TChartCanvas3DDrawing, DottedPenDrawsDashesInEveryDirection)
{
    TChartCanvas3D canvas;
    BeginPaint(canvas, W, H);
    TDottedGrayPen grid;
    canvas.ApplyChartPen(grid);
    canvas.DrawVerticalLine(10, 2, 38);
    canvas.DrawVerticalLine(20, 38, 2);
    canvas.DrawHorizontalLine(2, 58, 30);
    auto countColumn = [&](int x) {
        int n = 0;
        for (int y = 2; y < 28; ++y)
            n += PixelAt(canvas, x, y) == clGray ? 1 : 0;
        return n;
    };
    EXPECT_GT(countColumn(10), 8);
    EXPECT_LT(countColumn(10), 18);
    EXPECT_GT(countColumn(20), 8);
    EXPECT_LT(countColumn(20), 18);
}

TEST(TChartCanvas3DBuffer, MonochromeBufferPresentsBlackAndWhite)
{
    TChartCanvas3D canvas;
    canvas.SetMonochromeBuffer(true);
    BeginPaint(canvas, W, H);
    canvas.FillGradient(TRect{0, 0, W, H}, clRed, clYellow, gdLeftRight);
    QImage window(W, H, QImage::Format_ARGB32_Premultiplied);
    window.fill(Qt::blue);
    {
        QPainter painter(&window);
        canvas.PresentImage(&painter, nullptr, TRect{0, 0, W, H});
    }
    QSet<TColor> colours;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            colours.insert(PixelAt(window, x, y));
    EXPECT_TRUE(colours.size() <= 2 && colours.contains(clWhite)) << colours.size();
    EXPECT_FALSE(colours.contains(clBlue)) << "the whole window area is covered";
}
