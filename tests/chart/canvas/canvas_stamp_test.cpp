#include "canvas_test_util.h"

#include <QPainter>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

// Small ellipses and rectangles, short wide or dashed lines and texts over a
// plain background are copied into the buffer from a picture drawn once, and
// shapes wholly outside the buffer or clip are not drawn at all. These tests
// hold the buffer to the pixels Qt draws directly (an unbuffered canvas
// painting onto an image), check that ink was drawn and that the stamps were
// used, and check that a changed pen, brush or colour is not served an old
// picture.
using namespace kov;

namespace {

constexpr int W = 120;
constexpr int H = 90;

using Paint = std::function<void(TChartCanvas3D &)>;

struct Buffered
{
    QImage Image;
    TStampCache::Use Used;
};

Buffered DrawBuffered(const Paint &paint, qreal ratio = 1)
{
    TChartCanvas3D canvas;
    test::BeginPaint(canvas, W, H, nullptr, false, ratio);
    paint(canvas);
    return Buffered{canvas.BufferImage().copy(), canvas.StampsUsed()};
}

/// The kinds of stamp a picture must have been drawn from (at ratio 1).
struct Stamps
{
    bool Outlines = false;
    bool Lines = false;
    bool Texts = false;
};

int InkedPixels(const QImage &image)
{
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += (image.pixel(x, y) | 0xFF000000u) != 0xFFFFFFFFu;
    return inked;
}

QImage DrawDirect(const Paint &paint, qreal ratio = 1)
{
    QImage image(std::ceil(W * ratio), std::ceil(H * ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    TChartCanvas3D canvas;
    canvas.SetBuffered(false);
    TRect drawRect;
    canvas.BeginWindow(&painter, nullptr, drawRect, TRect{0, 0, W, H}, false, clWhite);
    canvas.ResetDrawingState();
    paint(canvas);
    canvas.SetSurface(nullptr);
    painter.end();
    return image;
}

void Marker(TChartCanvas3D &c, TColor penColor, TPenStyle penStyle, int penWidth, TColor fill,
            TBrushStyle fillStyle, int x, int y, int size)
{
    c.Pen().SetColor(penColor);
    c.Pen().SetStyle(penStyle);
    c.Pen().SetWidth(penWidth);
    c.Brush().SetColor(fill);
    c.Brush().SetStyle(fillStyle);
    c.DrawEllipse(x - size, y - size, x + size + 1, y + size + 1);
}

// At every device pixel ratio: on a high-density screen the copies are
// pictures in device pixels, and at a fractional ratio, where a copy cannot
// land on whole device pixels, ellipses are drawn directly.
void ExpectSamePixels(const Paint &paint, Stamps expected)
{
    for (const qreal ratio : {1.0, 2.0, 1.5}) {
        const auto [buffered, used] = DrawBuffered(paint, ratio);
        const QImage direct = DrawDirect(paint, ratio);
        ASSERT_GT(InkedPixels(buffered), buffered.width() * buffered.height() / 100)
            << "ratio " << ratio;
        if (ratio == 1) {
            EXPECT_TRUE(!expected.Outlines || used.Outlines > 0);
            EXPECT_TRUE(!expected.Lines || used.Lines > 0);
            EXPECT_TRUE(!expected.Texts || used.Texts > 0);
        }
        ASSERT_EQ(buffered.size(), direct.size()) << "ratio " << ratio;
        for (int y = 0; y < direct.height(); ++y)
            for (int x = 0; x < direct.width(); ++x)
                ASSERT_EQ(buffered.pixel(x, y) | 0xFF000000u, direct.pixel(x, y) | 0xFF000000u)
                    << "at " << x << "," << y << ", ratio " << ratio;
    }
}

} // namespace

TEST(TChartCanvas3DEllipseStamp, CopiesMatchDirectDrawingAtEveryOffsetAndStyle)
{
    // Every pen style and a few widths and sizes, at positions covering all
    // residues of the dash patterns, overlapping each other and the edges.
    const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear};
    for (const TPenStyle style : styles) {
        for (const int width : {1, 2, 3}) {
            const bool opaque = width != 2; // text leaves an opaque background behind
            SCOPED_TRACE(testing::Message() << "pen style " << style << ", width " << width);
            ExpectSamePixels(
                [&](TChartCanvas3D &c) {
                    c.SetBackgroundColor(clYellow);
                    c.SetBackgroundMode(opaque ? bmOpaque : bmTransparent);
                    int n = 0;
                    for (int size = 1; size <= 9; size += 2)
                        for (int y = -3; y < H + 3; y += 7)
                            for (int x = -2 + size; x < W + 3; x += 11 + size) {
                                const TColor fill = (n++ % 3 == 0) ? clRed : clLime;
                                Marker(c, clOlive, style, width, fill,
                                       n % 5 == 0 ? bsClear : bsSolid, x, y, size);
                            }
                },
                Stamps{.Outlines = style != psClear});
        }
    }
}

TEST(TChartCanvas3DEllipseStamp, CopiesAreClippedAsDirectDrawing)
{
    // Markers across the edges of the chart's clip rectangle, as at the ends
    // of a series.
    ExpectSamePixels(
        [](TChartCanvas3D &c) {
            c.ClipToRectangle(TRect{25, 20, 95, 70});
            for (int y = 15; y <= 75; y += 6)
                for (int x = 18; x <= 102; x += 7)
                    Marker(c, clOlive, psDot, 1, clRed, bsSolid, x, y, 4);
        },
        Stamps{.Outlines = true});
}

TEST(TChartCanvas3DEllipseStamp, ChangedPenOrBrushIsNotServedAnOldPicture)
{
    const auto paint = [](TChartCanvas3D &c) {
        Marker(c, clOlive, psDot, 1, clRed, bsSolid, 20, 20, 4);
        Marker(c, clOlive, psDot, 1, clBlue, bsSolid, 40, 20, 4); // brush colour
        Marker(c, clNavy, psDot, 1, clBlue, bsSolid, 60, 20, 4);  // pen colour
        Marker(c, clNavy, psDash, 1, clBlue, bsSolid, 80, 20, 4); // pen style
        Marker(c, clNavy, psDash, 2, clBlue, bsSolid, 20, 50, 4); // pen width
        Marker(c, clNavy, psDash, 2, clBlue, bsClear, 40, 50, 4); // brush style
        Marker(c, clNavy, psDash, 2, clBlue, bsClear, 60, 50, 6); // size
        Marker(c, clOlive, psDot, 1, clRed, bsSolid, 80, 50, 4);  // the first again
    };
    ExpectSamePixels(paint, Stamps{.Outlines = true});
    const QImage image = DrawBuffered(paint).Image;
    EXPECT_EQ(test::PixelAt(image, 20, 20), clRed);
    EXPECT_EQ(test::PixelAt(image, 40, 20), clBlue);
    EXPECT_EQ(test::PixelAt(image, 40, 50), clWhite) << "a clear brush leaves the inside";
    EXPECT_EQ(test::PixelAt(image, 80, 50), clRed);
}

TEST(TChartCanvas3DEllipseStamp, InvertingPenAndHatchedBrushDrawDirectly)
{
    // States a copy cannot reproduce: the inverting pen reads the picture
    // below, and a hatch is aligned to the buffer, not to the ellipse.
    const auto paint = [](TChartCanvas3D &c) {
        c.Brush().SetColor(clRed);
        c.FillRectangle(TRect{0, 0, W / 2, H});
        c.Pen().SetMode(pmNotXor);
        Marker(c, clBlue, psDot, 1, clLime, bsSolid, 50, 40, 8);
        c.Pen().SetMode(pmCopy);
        Marker(c, clBlue, psSolid, 1, clLime, bsDiagCross, 21, 20, 8);
        Marker(c, clBlue, psSolid, 1, clLime, bsDiagCross, 80, 23, 8);
    };
    ExpectSamePixels(paint, Stamps{});
    EXPECT_EQ(DrawBuffered(paint).Used.Outlines, 0);
}

TEST(TChartCanvas3DStamp, FramesTicksAndOutsideShapesMatchDirectDrawing)
{
    // Mark frames of every pen style over solid and clear brushes, wide
    // dashed ticks in all four directions, and shapes wholly beyond the
    // edges and the clip, at positions covering the dash residues.
    const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot};
    for (const TPenStyle style : styles) {
        for (const int width : {1, 4}) {
            SCOPED_TRACE(testing::Message() << "pen style " << style << ", width " << width);
            ExpectSamePixels(
                [&](TChartCanvas3D &c) {
                    c.Brush().SetColor(clYellow);
                    c.FillRectangle(TRect{0, 0, W / 3, H});
                    c.Pen().SetColor(clNavy);
                    c.Pen().SetStyle(style);
                    c.Pen().SetWidth(width);
                    int n = 0;
                    for (int y = -4; y < H + 4; y += 9)
                        for (int x = -5; x < W + 5; x += 13) {
                            c.Brush().SetStyle(n++ % 2 ? bsClear : bsSolid);
                            c.DrawRectangle(x, y, x + 5 + n % 11, y + 4 + n % 5);
                            const int length = 2 + n % 7;
                            const int dx = n % 4 == 0 ? length : n % 4 == 1 ? -length : 0;
                            const int dy = n % 4 == 2 ? length : n % 4 == 3 ? -length : 0;
                            c.DrawSegment(x + 3, y + 2, x + 3 + dx, y + 2 + dy);
                        }
                    c.ClipToRectangle(TRect{20, 15, 90, 60});
                    for (const int x : {-40, 5, 100, 200})
                        for (const int y : {-30, 8, 70, 150}) {
                            c.DrawEllipse(x, y, x + 9, y + 9);
                            c.MovePenTo(x, y);
                            c.DrawLineTo(x + 12, y + 3);
                        }
                },
                Stamps{.Outlines = true, .Lines = width > 1});
        }
    }
}

TEST(TChartCanvas3DStamp, TextsMatchDirectDrawingOverAnyBackground)
{
    // Labels over the plain background, over lines and fills (where they are
    // drawn directly), across the clip, in changing colours and an opaque
    // background mode, drawn again at other positions.
    ExpectSamePixels(
        [](TChartCanvas3D &c) {
            c.Brush().SetColor(clSilver);
            c.FillRectangle(TRect{60, 0, W, 30});
            c.Pen().SetColor(clRed);
            c.DrawHorizontalLine(0, W, 47);
            c.ClipToRectangle(TRect{5, 5, W - 20, H - 12});
            c.Brush().SetStyle(bsClear);
            const QString texts[] = {QStringLiteral("128"), QStringLiteral("Wg"),
                                     QStringLiteral("-0,5")};
            int n = 0;
            for (int y = -2; y < H; y += 11)
                for (int x = -6; x < W; x += 23) {
                    c.Font().SetColor(n % 5 == 0 ? clBlue : clBlack);
                    c.SetBackgroundMode(n % 7 == 0 ? bmOpaque : bmTransparent);
                    c.WriteText(x, y, texts[n++ % 3]);
                }
        },
        Stamps{.Texts = true});
}

TEST(TChartCanvas3DStamp, TextsKeepThePenThatWaitsToBeLoaded)
{
    // Marks change the pen between their texts. A text copied from its
    // stamp leaves that pen waiting; it must still decide whether the text
    // may be copied (not under an inverting pen) and reach the line after.
    ExpectSamePixels(
        [](TChartCanvas3D &c) {
            c.Brush().SetStyle(bsClear);
            int n = 0;
            for (int y = 0; y < H - 12; y += 12)
                for (int x = 0; x < W - 24; x += 30, ++n) {
                    c.Pen().SetColor(n % 2 ? clRed : clGreen);
                    c.Pen().SetMode(n % 3 == 0 ? pmXor : pmCopy);
                    c.WriteText(x, y, QStringLiteral("42"));
                    c.DrawHorizontalLine(x, x + 20, y + 10);
                }
        },
        Stamps{.Texts = true});
}
