#include "canvas_test_util.h"

#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

// The canvas on a high-density screen: its buffer has the device pixels of
// the surface the picture goes to, while every coordinate stays logical.
// Lines and fills on whole logical pixels cover exactly the device pixels of
// those logical pixels; text is drawn at the device's full resolution.
using namespace kov;
using kov::test::InkBox;

namespace {

constexpr int W = 120;
constexpr int H = 90;

using Paint = std::function<void(TChartCanvas3D &)>;

QImage DrawAt(qreal ratio, const Paint &paint)
{
    TChartCanvas3D canvas;
    test::BeginPaint(canvas, W, H, nullptr, false, ratio);
    paint(canvas);
    return canvas.BufferImage().convertToFormat(QImage::Format_RGB32);
}

/// A painter on an image of the given ratio, standing for a window's surface.
struct Screen
{
    explicit Screen(qreal ratio) : Image(1, 1, QImage::Format_ARGB32_Premultiplied)
    {
        Image.setDevicePixelRatio(ratio);
        Painter.begin(&Image);
    }
    QImage Image;
    QPainter Painter;
};

} // namespace

TEST(TChartCanvas3DDeviceRatio, BufferHasTheDevicePixelsOfTheSurface)
{
    TChartCanvas3D canvas;
    TRect drawRect;
    const struct
    {
        qreal Ratio;
        QSize Device;
    } cases[] = {{2, {2 * W, 2 * H}}, {1, {W, H}}, {1.5, {180, 135}}, {3, {3 * W, 3 * H}}};
    for (const auto &c : cases) {
        Screen screen(c.Ratio);
        canvas.BeginWindow(&screen.Painter, nullptr, drawRect, TRect{0, 0, W, H}, false, clWhite);
        EXPECT_EQ(canvas.BufferImage().size(), c.Device) << "ratio " << c.Ratio;
        EXPECT_EQ(canvas.BufferImage().devicePixelRatio(), c.Ratio);
        EXPECT_EQ(canvas.DevicePixelRatio(), c.Ratio);
        EXPECT_EQ(drawRect, (TRect{0, 0, W, H})) << "geometry stays logical";
    }
    // A fractional ratio rounds the device size up to cover every logical pixel.
    Screen screen(1.5);
    canvas.BeginWindow(&screen.Painter, nullptr, drawRect, TRect{0, 0, 121, 91}, false, clWhite);
    EXPECT_EQ(canvas.BufferImage().size(), QSize(182, 137));
    // Without a surface (an export) the picture is the plain one.
    canvas.BeginWindow(nullptr, nullptr, drawRect, TRect{0, 0, W, H}, false, clWhite);
    EXPECT_EQ(canvas.BufferImage().size(), QSize(W, H));
    EXPECT_EQ(canvas.DevicePixelRatio(), 1);
}

TEST(TChartCanvas3DDeviceRatio, LinesAndFillsOnLogicalPixelsCoverTheirDevicePixels)
{
    // What the frame, grid, ticks, walls and backgrounds are made of: at an
    // integer ratio each logical pixel becomes a solid ratio x ratio block,
    // never a blurred or shifted line.
    const Paint paint = [](TChartCanvas3D &c) {
        c.Pen().SetColor(clBlack);
        c.DrawHorizontalLine(5, 60, 3); // rightwards
        c.DrawHorizontalLine(60, 5, 6); // leftwards: the start is covered, not the end
        c.DrawVerticalLine(3, 10, 80);  // downwards
        c.DrawVerticalLine(7, 80, 10);  // upwards
        c.Pen().SetColor(clNavy);
        c.Brush().SetStyle(bsClear);
        c.DrawRectangle(12, 12, 50, 40); // outline
        c.Pen().SetStyle(psDot);
        c.DrawHorizontalLine(12, 110, 45);
        c.Pen().SetStyle(psSolid);
        TChartPen dots([] {});
        dots.SetSmallDots(true);
        dots.SetColor(clGreen);
        c.ApplyChartPen(dots);
        c.DrawVerticalLine(100, 5, 85);
        c.Pen().SetStyle(psSolid);
        c.Pen().SetColor(clBlack);
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(clRed);
        c.FillRectangle(TRect{60, 10, 75, 30});
        c.DrawBevel(TRect{80, 10, 95, 30}, clWhite, clGray, 2);
        c.PlotPixel(115, 5, clBlue);
        c.FillGradient(TRect{20, 55, 90, 85}, clYellow, clBlue, gdTopBottom);
        c.ClipToRectangle(TRect{30, 48, 50, 52});
        c.Brush().SetColor(clLime);
        c.FillRectangle(TRect{0, 0, W, H});
        c.RemoveClipping();
    };
    const QImage plain = DrawAt(1, paint);
    for (const int ratio : {2, 3}) {
        const QImage dense = DrawAt(ratio, paint);
        const QImage expected = test::BlownUp(plain, ratio);
        ASSERT_EQ(dense.size(), expected.size());
        QPoint first;
        const int differing = test::DifferingPixels(dense, expected, first);
        EXPECT_EQ(differing, 0) << "ratio " << ratio << ", first at " << first.x() << ","
                                << first.y();
    }
}

TEST(TChartCanvas3DDeviceRatio, TextIsDrawnAtFullResolutionWhereItIsMeasured)
{
    // Labels are placed from measured widths and cell heights, which the
    // canvas keeps between paints: on a dense screen the same measurements
    // must place the text on the same logical spot, drawn with finer glyphs.
    const QString text = QStringLiteral("0.15ms -140 Мощность");
    const unsigned alignments[] = {taLeft | taTop, taRight | taTop, taCenter | taBottom,
                                   taRight | taBaseline};
    for (const unsigned alignment : alignments) {
        SCOPED_TRACE(testing::Message() << "alignment " << alignment);
        const Paint paint = [&](TChartCanvas3D &c) {
            c.Font().SetSize(9);
            c.SetTextAlignment(alignment);
            c.Brush().SetStyle(bsClear);
            c.WriteText(W / 2, H / 2, text);
        };
        // The same canvas draws both, so that its kept measurements serve both.
        TChartCanvas3D canvas;
        test::BeginPaint(canvas, W, H);
        paint(canvas);
        const QImage plain = canvas.BufferImage().convertToFormat(QImage::Format_RGB32);
        test::BeginPaint(canvas, W, H, nullptr, false, 2);
        paint(canvas);
        const QImage dense = canvas.BufferImage().convertToFormat(QImage::Format_RGB32);

        const QRect plainBox = InkBox(plain);
        const QRect denseBox = InkBox(dense);
        ASSERT_FALSE(plainBox.isEmpty());
        ASSERT_FALSE(denseBox.isEmpty());
        // Same place to within a logical pixel at each edge.
        EXPECT_NEAR(denseBox.left() / 2.0, plainBox.left(), 1.0);
        EXPECT_NEAR((denseBox.right() + 1) / 2.0, plainBox.right() + 1, 1.0);
        EXPECT_NEAR(denseBox.top() / 2.0, plainBox.top(), 1.0);
        EXPECT_NEAR((denseBox.bottom() + 1) / 2.0, plainBox.bottom() + 1, 1.0);

        // A blown-up picture is made of uniform 2 x 2 blocks; glyphs drawn at
        // the device's resolution have edges inside the blocks.
        int inked = 0, split = 0;
        for (int y = 0; y + 1 < dense.height(); y += 2)
            for (int x = 0; x + 1 < dense.width(); x += 2) {
                const QRgb a = dense.pixel(x, y), b = dense.pixel(x + 1, y),
                           d = dense.pixel(x, y + 1), e = dense.pixel(x + 1, y + 1);
                if ((a & b & d & e & 0xFFFFFF) == 0xFFFFFF)
                    continue;
                ++inked;
                split += !(a == b && a == d && a == e);
            }
        EXPECT_GT(split * 4, inked) << split << " of " << inked << " inked blocks are split";
    }
}

TEST(TChartCanvas3DDeviceRatio, AWindowOfAnotherRatioGetsANewPicture)
{
    // A window moved to a screen of another ratio must not be shown the old
    // screen's pixels: the buffer is drawn again, then copied as usual.
    TChartCanvas3D canvas;
    Screen low(1), high(2);
    TRect drawRect;
    canvas.BeginWindow(&low.Painter, nullptr, drawRect, TRect{0, 0, W, H}, false, clWhite);
    canvas.PresentImage(&low.Painter, &low.Painter, drawRect);
    EXPECT_TRUE(canvas.RepaintFromBuffer());
    canvas.SetSurface(&high.Painter);
    EXPECT_FALSE(canvas.RepaintFromBuffer());
    canvas.BeginWindow(&high.Painter, nullptr, drawRect, TRect{0, 0, W, H}, false, clWhite);
    canvas.PresentImage(&high.Painter, &high.Painter, drawRect);
    EXPECT_TRUE(canvas.RepaintFromBuffer());
    canvas.SetSurface(&low.Painter);
    EXPECT_FALSE(canvas.RepaintFromBuffer());
    canvas.SetSurface(nullptr);
}

// Solid rectangles written straight into the buffer set the pixels the
// painter's own fill sets: inside, across the buffer's edges, across a clip,
// and empty, at whole ratios.
TEST(TChartCanvas3DDeviceRatio, SolidFillsAsThePainterFills)
{
    const TRect clip{20, 15, 70, 60};
    const TRect rects[] = {{10, 10, 40, 30}, {-5, -5, 8, 100}, {100, 80, 130, 95},
                           {0, 40, W, 50},   {50, 50, 50, 70}, {30, 30, 20, 20}};
    for (const int ratio : {1, 2, 3}) {
        const QImage canvas = DrawAt(ratio, [&](TChartCanvas3D &c) {
            c.Brush().SetStyle(bsSolid);
            for (const TRect &r : rects) {
                c.Brush().SetColor(clRed);
                c.FillRectangle(r);
                c.ClipToRectangle(clip);
                c.Brush().SetColor(clNavy);
                c.FillRectangle(TRect{r.Left + 3, r.Top + 3, r.Right + 3, r.Bottom + 3});
                c.RemoveClipping();
            }
        });
        QImage expected(W * ratio, H * ratio, QImage::Format_ARGB32_Premultiplied);
        expected.setDevicePixelRatio(ratio);
        expected.fill(Qt::white);
        {
            QPainter p(&expected);
            for (const TRect &r : rects) {
                const QRect shifted(r.Left + 3, r.Top + 3, r.Right - r.Left, r.Bottom - r.Top);
                if (r.Right > r.Left && r.Bottom > r.Top) {
                    p.fillRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), Qt::red);
                    p.setClipRect(QRect(clip.Left, clip.Top, 50, 45));
                    p.fillRect(shifted, QColor(0, 0, 128));
                    p.setClipping(false);
                }
            }
        }
        QPoint first;
        EXPECT_EQ(
            test::DifferingPixels(canvas, expected.convertToFormat(QImage::Format_RGB32), first), 0)
            << "ratio " << ratio << ", first at " << first.x() << "," << first.y();
    }
}
