#include "chart/canvas/chart_pen.h"
#include "chart/change.h"
#include "chart/exceptions.h"
#include "chart/panel/chart_panel.h"
#include "tests/chart/chart_picture.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <optional>

using namespace kov;

namespace {

/// The panel as the axis panel will use it: PaintChart counted, the rest of
/// the content optional.
class CountingPanel : public TCustomChartPanelExtended
{
public:
    int PaintCount = 0;
    int InnerXorFrames = 0;

    void PaintChart(const TRect &bounds) override
    {
        ++PaintCount;
        TCustomChartPanelExtended::PaintChart(bounds);
        for (int i = 0; i < InnerXorFrames; ++i)
            XorZoomFrame();
    }
};

/// Draws a full picture of panel into a new image of the given size.
QImage Draw(TCustomChartPanel &panel, int width, int height)
{
    return kov::testing::DrawPicture(panel, width, height, Qt::black);
}

/// What the window shows, through the panel's own paint event.
QImage Shown(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TColor PixelAt(const QImage &image, int x, int y)
{
    return FromQColor(image.pixelColor(x, y));
}

/// A plain image of the given size and colour.
QImage Plain(int width, int height, TColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(ToQColor(color));
    return image;
}

} // namespace

// ---------------------------------------------------------------------------
// Chart rectangle from the margins

TEST(TCustomChartPanelLayout, DefaultMarginsGiveTheChartRectangle)
{
    TCustomChartPanelExtended panel;
    Draw(panel, 950, 510);
    EXPECT_EQ(panel.ChartBounds(), (TRect{0, 0, 950, 510}));
    EXPECT_EQ(panel.ChartRect(), (TRect{29, 20, 921, 490}));
    EXPECT_EQ(panel.ChartWidth(), 892);
    EXPECT_EQ(panel.ChartHeight(), 470);
    EXPECT_EQ(panel.ChartXCenter(), 475);
    EXPECT_EQ(panel.ChartYCenter(), 255);
}

TEST(TCustomChartPanelLayout, BorderAndMarginsRoundHalvesAwayFromZero)
{
    TCustomChartPanelExtended panel;
    panel.SetBorderWidth(2);
    panel.SetMarginLeft(5); // 5 * 50 / 100 = 2.5 -> 3
    panel.SetMarginTop(10); // 10 * 25 / 100 = 2.5 -> 3
    panel.SetMarginRight(0);
    panel.SetMarginBottom(0);
    Draw(panel, 50, 25);
    EXPECT_EQ(panel.ChartRect(), (TRect{5, 5, 48, 23}));
}

TEST(TCustomChartPanelLayout, RecalcChartSizeKeepsTheRectangleUsable)
{
    TCustomChartPanelExtended panel;
    panel.resize(400, 250);
    Draw(panel, 200, 100);

    panel.SetChartRect(TRect{-5, -7, 50, 60});
    panel.RecalcChartSize();
    EXPECT_EQ(panel.ChartRect(), (TRect{0, 0, 50, 60})) << "clamped into the bounds";

    panel.SetChartRect(TRect{30, 40, 30, 40});
    panel.RecalcChartSize();
    EXPECT_EQ(panel.ChartRect(), (TRect{30, 40, 430, 290})) << "empty: the control's size";

    panel.SetChartRect(TRect{30, 40, 20, 10});
    panel.RecalcChartSize();
    EXPECT_EQ(panel.ChartRect(), (TRect{30, 40, 31, 41})) << "inverted: one pixel";
    EXPECT_EQ(panel.ChartWidth(), 1);
    EXPECT_EQ(panel.ChartHeight(), 1);

    panel.SetChartRect(TRect{-9, -9, 0, 0});
    panel.RecalcChartSize();
    EXPECT_EQ(panel.ChartXCenter(), 200) << "halving of (0 + 400)";
}

// ---------------------------------------------------------------------------
// Background, bevels and border

TEST(TCustomChartPanelBackground, ColourFillAndRaisedBevel)
{
    TCustomChartPanelExtended panel;
    panel.SetColor(clRed);
    const QImage image = Draw(panel, 100, 60);
    const TColor light = ColorToRGB(clBtnHighlight);
    const TColor shadow = ColorToRGB(clBtnShadow);
    ASSERT_NE(light, shadow);

    kov::testing::ExpectPixels(image, {{50, 30, clRed},
                                       {1, 1, clRed},
                                       {0, 0, light},
                                       {50, 0, light},
                                       {0, 30, light},
                                       {99, 30, shadow},
                                       {50, 59, shadow},
                                       {99, 59, shadow}});
}

TEST(TCustomChartPanelBackground, BevelsAndBorderNestInward)
{
    TCustomChartPanelExtended panel;
    panel.SetColor(clRed);
    panel.SetBevelOuter(bvLowered);
    panel.SetBevelInner(bvRaised);
    panel.SetBevelWidth(2);
    panel.SetBorderWidth(3);
    const QImage image = Draw(panel, 100, 60);
    const TColor light = ColorToRGB(clBtnHighlight);
    const TColor shadow = ColorToRGB(clBtnShadow);

    // Outer lowered bevel: 2 pixels, dark at top and left, light at bottom.
    kov::testing::ExpectPixels(
        image, {{0, 30, shadow},
                {1, 30, shadow},
                {50, 59, light},
                {50, 58, light},
                // Border in the panel colour: pixels 2 to 4.
                {2, 30, clRed},
                {4, 30, clRed},
                // Inner raised bevel: pixels 5 and 6, light top and left, dark bottom.
                {5, 30, light},
                {6, 30, light},
                {94, 30, shadow},
                {50, 53, shadow},
                {7, 30, clRed}});
}

TEST(TCustomChartPanelBackground, NoBevelLeavesThePlainColour)
{
    TCustomChartPanelExtended panel;
    panel.SetColor(clBlue);
    panel.SetBevelOuter(bvNone);
    const QImage image = Draw(panel, 40, 20);
    for (const QPoint p : {QPoint(0, 0), QPoint(39, 19), QPoint(20, 10)})
        EXPECT_EQ(PixelAt(image, p.x(), p.y()), clBlue) << p.x() << "," << p.y();
}

TEST(TCustomChartPanelBackground, GradientDirectionsMirrorEachOther)
{
    TCustomChartPanelExtended panel;
    panel.SetBevelOuter(bvNone);
    panel.Gradient().SetStartColor(clWhite);
    panel.Gradient().SetEndColor(clBlack);
    panel.Gradient().SetVisible(true);

    panel.Gradient().SetDirection(gdTopBottom);
    const QImage down = Draw(panel, 30, 100);
    panel.Gradient().SetDirection(gdBottomTop);
    const QImage up = Draw(panel, 30, 100);

    EXPECT_NE(PixelAt(down, 5, 0), PixelAt(down, 5, 99));
    EXPECT_EQ(PixelAt(down, 5, 0), PixelAt(up, 5, 99));
    EXPECT_EQ(PixelAt(down, 5, 99), PixelAt(up, 5, 0));
    EXPECT_EQ(down, up.mirrored(false, true));

    panel.Gradient().SetDirection(gdLeftRight);
    const QImage right = Draw(panel, 100, 30);
    panel.Gradient().SetDirection(gdRightLeft);
    const QImage left = Draw(panel, 100, 30);
    EXPECT_EQ(right, left.mirrored(true, false));
}

TEST(TCustomChartPanelBackground, PictureModes)
{
    TCustomChartPanelExtended panel;
    panel.SetColor(clBlue);
    panel.SetBevelOuter(bvNone);

    panel.BackImage().SetImage(Plain(2, 2, clRed));
    QImage image = Draw(panel, 40, 30);
    EXPECT_EQ(PixelAt(image, 0, 0), clRed) << "stretched over the whole panel";
    EXPECT_EQ(PixelAt(image, 39, 29), clRed);

    panel.SetBackImageMode(pbmCenter);
    panel.BackImage().SetImage(Plain(10, 6, clRed));
    image = Draw(panel, 40, 30);
    kov::testing::ExpectPixels(
        image,
        {{15, 12, clRed}, {24, 17, clRed}, {14, 12, clBlue}, {25, 17, clBlue}, {15, 18, clBlue}});

    // Tiles of two colours side by side show the repetition.
    QImage tile(10, 10, QImage::Format_RGB32);
    tile.fill(Qt::green);
    QPainter(&tile).fillRect(0, 0, 5, 10, Qt::red);
    TPicture tiled;
    tiled.SetImage(tile);
    panel.SetBackImage(tiled);
    panel.SetBackImageMode(pbmTile);
    image = Draw(panel, 25, 15);
    kov::testing::ExpectPixels(
        image, {{0, 0, clRed}, {7, 0, clLime}, {12, 12, clRed}, {24, 14, clRed}, {19, 14, clLime}});
}

TEST(TCustomChartPanelBackground, EmptyPictureDrawsNothing)
{
    TCustomChartPanelExtended panel;
    panel.SetColor(clBlue);
    panel.SetBevelOuter(bvNone);
    for (TChartBackImageMode mode : {pbmStretch, pbmTile, pbmCenter}) {
        panel.SetBackImageMode(mode);
        const QImage image = Draw(panel, 20, 20);
        EXPECT_EQ(PixelAt(image, 10, 10), clBlue) << mode;
    }
}

// ---------------------------------------------------------------------------
// Buffered repaint and invalidation

TEST(TCustomChartPanelRepaint, UnchangedPanelIsCopiedFromTheBuffer)
{
    CountingPanel panel;
    panel.resize(120, 80);
    panel.SetColor(clRed);
    const QImage first = Shown(panel);
    EXPECT_EQ(panel.PaintCount, 1);
    EXPECT_EQ(PixelAt(first, 60, 40), clRed);

    const QImage second = Shown(panel);
    EXPECT_EQ(panel.PaintCount, 1) << "nothing changed: the buffer is copied";
    EXPECT_EQ(first, second);

    panel.SetColor(clRed);
    Shown(panel);
    EXPECT_EQ(panel.PaintCount, 1) << "the same value does not invalidate";

    panel.SetColor(clBlue);
    const QImage third = Shown(panel);
    EXPECT_EQ(panel.PaintCount, 2);
    EXPECT_EQ(PixelAt(third, 60, 40), clBlue);
}

TEST(TCustomChartPanelRepaint, ShownWindowRepaintsFromItsBuffer)
{
    CountingPanel panel;
    panel.resize(80, 50);
    panel.show();
    QCoreApplication::processEvents();
    panel.repaint();
    const int painted = panel.PaintCount;
    EXPECT_GE(painted, 1);
    panel.repaint();
    panel.repaint();
    EXPECT_EQ(panel.PaintCount, painted);
    panel.SetMarginTop(9);
    panel.repaint();
    EXPECT_EQ(panel.PaintCount, painted + 1);
    panel.hide();
}

TEST(TCustomChartPanelRepaint, SubObjectsInvalidateThePanel)
{
    CountingPanel panel;
    panel.resize(60, 40);
    Shown(panel);
    const int painted = panel.PaintCount;

    panel.Gradient().SetVisible(true);
    Shown(panel);
    EXPECT_EQ(panel.PaintCount, painted + 1) << "gradient";
    panel.View3DOptions().SetZoom(50);
    Shown(panel);
    EXPECT_EQ(panel.PaintCount, painted + 2) << "3D settings";
    panel.BackImage().SetImage(QImage(4, 4, QImage::Format_RGB32));
    Shown(panel);
    EXPECT_EQ(panel.PaintCount, painted + 3) << "background picture";
    panel.Gradient().SetVisible(true);
    Shown(panel);
    EXPECT_EQ(panel.PaintCount, painted + 3) << "unchanged gradient";
}

TEST(TCustomChartPanelRepaint, InvalidationSwitchSuppressesRequests)
{
    CountingPanel panel;
    panel.resize(60, 40);
    panel.SetColor(clRed);
    Shown(panel);
    ASSERT_EQ(panel.PaintCount, 1);

    panel.SetInvalidationEnabled(false);
    panel.SetColor(clBlue);
    EXPECT_EQ(panel.Color(), clBlue) << "the value is stored all the same";
    EXPECT_FALSE(panel.ChartCanvas().IsDirty());
    const QImage stale = Shown(panel);
    EXPECT_EQ(panel.PaintCount, 1);
    EXPECT_EQ(PixelAt(stale, 30, 20), clRed);

    panel.SetInvalidationEnabled(true);
    panel.InvalidatePanel();
    const QImage fresh = Shown(panel);
    EXPECT_EQ(panel.PaintCount, 2);
    EXPECT_EQ(PixelAt(fresh, 30, 20), clBlue);
}

TEST(TCustomChartPanelRepaint, UnbufferedPanelDrawsEveryTime)
{
    CountingPanel panel;
    panel.resize(60, 40);
    panel.SetColor(clRed);
    panel.SetBuffered(false);
    EXPECT_FALSE(panel.IsBuffered());
    const QImage a = Shown(panel);
    const QImage b = Shown(panel);
    EXPECT_EQ(panel.PaintCount, 2);
    EXPECT_EQ(PixelAt(b, 30, 20), clRed);
    EXPECT_EQ(a, b);
}

TEST(TCustomChartPanelRepaint, NothingIsPaintedWhilePrinting)
{
    CountingPanel panel;
    panel.resize(60, 40);
    panel.SetPrinting(true);
    Shown(panel);
    EXPECT_EQ(panel.PaintCount, 0);
}

namespace {

/// A panel whose picture fails half-way when asked: it fills the buffer with
/// FailColor, leaves the pen inverting, and throws.
class FailingPanel : public CountingPanel
{
public:
    std::optional<TColor> FailColor;

    void PaintChart(const TRect &bounds) override
    {
        CountingPanel::PaintChart(bounds);
        if (!FailColor)
            return;
        ChartCanvas().Surface()->fillRect(0, 0, width(), height(), ToQColor(*FailColor));
        ChartCanvas().Pen().SetMode(pmNotXor);
        throw ChartException(QStringLiteral("paint failed"));
    }
};

/// What a window repaint shows, painted onto an image standing for the window.
QImage WindowPaint(TCustomChartPanel &panel)
{
    QImage image(panel.width(), panel.height(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    panel.PaintWindow(painter);
    return image;
}

} // namespace

TEST(TCustomChartPanelRepaint, FailedPictureLeavesNoPainterAndTheNextPaintStartsOver)
{
    FailingPanel panel;
    panel.resize(60, 40);
    panel.SetColor(clRed);
    EXPECT_EQ(PixelAt(WindowPaint(panel), 30, 20), clRed);
    ASSERT_FALSE(panel.ChartCanvas().IsDirty());

    // A picture drawn outside a paint (an export) fails half-way: its half
    // picture must never be shown as the window's.
    panel.FailColor = clBlue;
    EXPECT_THROW(Draw(panel, 60, 40), ChartException);
    EXPECT_EQ(panel.ChartCanvas().Surface(), nullptr);
    EXPECT_EQ(panel.ChartCanvas().Pen().Mode(), pmCopy);
    panel.FailColor.reset();
    const int painted = panel.PaintCount;
    EXPECT_EQ(PixelAt(WindowPaint(panel), 30, 20), clRed);
    EXPECT_EQ(panel.PaintCount, painted + 1);

    // A window paint fails: its painter ends with it, and neither the panel
    // nor the canvas may keep it for the next picture drawn outside a paint.
    panel.FailColor = clBlue;
    panel.InvalidatePanel();
    EXPECT_THROW(WindowPaint(panel), ChartException);
    EXPECT_EQ(panel.ChartCanvas().Surface(), nullptr);
    panel.FailColor.reset();
    EXPECT_EQ(PixelAt(Draw(panel, 60, 40), 30, 20), clRed);
    EXPECT_EQ(panel.ChartCanvas().Surface(), nullptr);
    EXPECT_EQ(PixelAt(WindowPaint(panel), 30, 20), clRed);
}

// ---------------------------------------------------------------------------
// Zoom frame

TEST(TCustomChartPanelRepaint, PictureOfAnotherSizeIsNotShownOnTheWindow)
{
    CountingPanel panel;
    panel.resize(60, 40);
    panel.SetColor(clRed);
    const QImage shown = Shown(panel);
    Draw(panel, 30, 20); // e.g. an export at another size
    EXPECT_EQ(Shown(panel), shown);
    EXPECT_EQ(panel.PaintCount, 3) << "the window picture was drawn again";
    Draw(panel, 60, 40);
    EXPECT_FALSE(panel.ChartCanvas().IsDirty()) << "same size: the buffer serves the window";
}

TEST(TCustomChartPanelRepaint, NewSizeIsDrawnAfreshAndThenCopied)
{
    CountingPanel panel;
    panel.SetColor(clRed);
    for (const QSize size : {QSize(120, 80), QSize(200, 130), QSize(90, 60), QSize(90, 61)}) {
        panel.resize(size);
        const int painted = panel.PaintCount;
        const QImage shown = Shown(panel);
        EXPECT_EQ(panel.PaintCount, painted + 1) << size.width() << " x " << size.height();
        EXPECT_EQ(shown, Draw(panel, size.width(), size.height()).convertToFormat(shown.format()))
            << "a kept picture of another size was shown at " << size.width() << " x "
            << size.height();
        Shown(panel);
        EXPECT_EQ(panel.PaintCount, painted + 2) << "the picture of this size is copied";
    }
}

TEST(TCustomChartPanelZoomFrame, DrawnTwiceOnTheWindowRestoresThePicture)
{
    CountingPanel panel;
    panel.resize(120, 80);
    panel.SetColor(clRed);
    const QImage plain = Shown(panel);

    panel.ZoomRecord().StartDrag(70, 60);
    panel.ZoomRecord().EndX = 10;
    panel.ZoomRecord().EndY = 20;
    panel.XorZoomFrame();
    const QImage framed = Shown(panel);
    EXPECT_EQ(PixelAt(framed, 10, 20), clWhite) << "red inverted against red";
    EXPECT_EQ(PixelAt(framed, 40, 20), clWhite);
    EXPECT_EQ(PixelAt(framed, 10, 40), clWhite);
    EXPECT_EQ(PixelAt(framed, 40, 40), clRed) << "the inside is left alone";
    EXPECT_EQ(Shown(panel), framed) << "the frame survives a repaint";
    EXPECT_EQ(panel.PaintCount, 1) << "showing the frame does not redraw the chart";

    panel.XorZoomFrame();
    EXPECT_EQ(Shown(panel), plain);
}

TEST(TCustomChartPanelZoomFrame, MovingFrameIsShownOnceAtTheCurrentCorners)
{
    CountingPanel panel;
    panel.resize(120, 80);
    panel.SetColor(clRed);
    TZoomPanningRecord &zoom = panel.ZoomRecord();
    zoom.StartDrag(10, 10);
    zoom.EndX = 50;
    zoom.EndY = 50;
    panel.XorZoomFrame();
    Shown(panel);
    // A full redraw in the middle of the drag draws the frame into the
    // picture once, and not again on top of it.
    panel.InvalidatePanel();
    const QImage redrawn = Shown(panel);
    EXPECT_EQ(PixelAt(redrawn, 10, 30), clWhite);

    panel.XorZoomFrame(); // remove at the old corners
    zoom.EndX = 80;
    zoom.EndY = 70;
    panel.XorZoomFrame(); // draw at the new ones
    const QImage moved = Shown(panel);
    EXPECT_EQ(PixelAt(moved, 50, 30), clRed) << "old right edge gone";
    EXPECT_EQ(PixelAt(moved, 10, 60), clWhite);
    EXPECT_EQ(PixelAt(moved, 79, 30), clWhite) << "new right edge";

    zoom.DragActive = false;
    panel.XorZoomFrame(); // removed on release
    const QImage released = Shown(panel);
    EXPECT_EQ(PixelAt(released, 10, 60), clRed);
    EXPECT_EQ(PixelAt(released, 79, 30), clRed);
}

TEST(TCustomChartPanelZoomFrame, InsideAPaintItIsPartOfThePicture)
{
    CountingPanel panel;
    panel.SetColor(clWhite);
    panel.SetBevelOuter(bvNone);
    panel.ZoomRecord().StartDrag(5, 5);
    panel.ZoomRecord().EndX = 30;
    panel.ZoomRecord().EndY = 20;
    panel.ZoomRecord().DragActive = false;
    const QImage plain = Draw(panel, 40, 30);

    panel.InnerXorFrames = 1;
    const QImage once = Draw(panel, 40, 30);
    EXPECT_EQ(PixelAt(once, 5, 5), clBlack) << "a white panel gets a black frame";
    EXPECT_EQ(PixelAt(once, 29, 19), clBlack);
    EXPECT_EQ(PixelAt(once, 15, 12), clWhite);

    panel.InnerXorFrames = 2;
    EXPECT_EQ(Draw(panel, 40, 30), plain);
}

// ---------------------------------------------------------------------------
// Setters and shared helpers

TEST(TCustomChartPanelSetters, Chart3DPercentBounds)
{
    TCustomChartPanelExtended panel;
    EXPECT_EQ(panel.Chart3DPercent(), 15);
    for (int bad : {0, 101, -5}) {
        try {
            panel.SetChart3DPercent(bad);
            ADD_FAILURE() << bad << " accepted";
        } catch (const ChartException &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("3D effect percent must be between 1 and 100"));
        }
        EXPECT_EQ(panel.Chart3DPercent(), 15);
    }
    panel.SetChart3DPercent(1);
    EXPECT_EQ(panel.Chart3DPercent(), 1);
    panel.SetChart3DPercent(100);
    EXPECT_EQ(panel.Chart3DPercent(), 100);
}

TEST(TCustomChartPanelSetters, BadBevelAndBorderWidthsKeepTheOldValue)
{
    TCustomChartPanelExtended panel;
    panel.SetBevelWidth(3);
    panel.SetBevelWidth(0);
    EXPECT_EQ(panel.BevelWidth(), 3);
    panel.SetBorderWidth(2);
    panel.SetBorderWidth(-1);
    EXPECT_EQ(panel.BorderWidth(), 2);
}

TEST(TCustomChartPanelSetters, DefaultsOfANewPanel)
{
    TCustomChartPanelExtended panel;
    EXPECT_EQ(panel.size(), QSize(400, 250));
    EXPECT_EQ(panel.MarginLeft(), 3);
    EXPECT_EQ(panel.MarginTop(), 4);
    EXPECT_EQ(panel.MarginRight(), 3);
    EXPECT_EQ(panel.MarginBottom(), 4);
    EXPECT_TRUE(panel.View3D());
    EXPECT_TRUE(panel.IsBuffered());
    EXPECT_FALSE(panel.Monochrome());
    EXPECT_EQ(panel.Color(), clBtnFace);
    EXPECT_EQ(panel.BevelOuter(), bvRaised);
    EXPECT_EQ(panel.BevelInner(), bvNone);
    EXPECT_EQ(panel.PrintMargins(), (TRect{15, 15, 15, 15}));
    EXPECT_TRUE(panel.InvalidationEnabled());
    EXPECT_EQ(panel.AnimatedZoomSteps(), 8);
    EXPECT_FALSE(panel.AnimatedZoom());
    EXPECT_TRUE(panel.AllowZoom());
    EXPECT_EQ(panel.AllowPanning(), pmBoth);
    EXPECT_EQ(panel.BackImageMode(), pbmStretch);
    EXPECT_FALSE(panel.Gradient().Visible());
    EXPECT_EQ(panel.Gradient().StartColor(), clWhite);
    EXPECT_EQ(panel.Gradient().EndColor(), clYellow);
    EXPECT_EQ(panel.Gradient().Direction(), gdTopBottom);
    EXPECT_FALSE(panel.ZoomRecord().DragActive);
    EXPECT_FALSE(panel.PanningRecord().DragActive);
}

TEST(TCustomChartPanelHelpers, SetAndInvalidateStoresOnlyChanges)
{
    CountingPanel panel;
    panel.resize(20, 20);
    Shown(panel);
    double d = 1.5;
    QString s = QStringLiteral("a");
    EXPECT_FALSE(SetAndInvalidate(&panel, d, 1.5));
    EXPECT_FALSE(SetAndInvalidate(&panel, s, QStringLiteral("a")));
    EXPECT_FALSE(panel.ChartCanvas().IsDirty());
    EXPECT_TRUE(SetAndInvalidate(&panel, d, 2.0));
    EXPECT_EQ(d, 2.0);
    EXPECT_TRUE(panel.ChartCanvas().IsDirty());
    int i = 0;
    EXPECT_TRUE(SetAndInvalidate(static_cast<TCustomChartPanel *>(nullptr), i, 7))
        << "no panel: only stored";
    EXPECT_EQ(i, 7);
}

TEST(TCustomChartPanelHelpers, CopyPartsCopiesEachNamedPartAndNothingOntoItself)
{
    struct Settings
    {
        int Size = 1;
        TColor Color = clBlack;
        bool operator==(const Settings &) const = default;
    };
    struct Part
    {
        Settings Plain;
        TChartPen Pen;
        TChartPen Unlisted;
    };
    int penChanges = 0;
    Part source;
    source.Plain = {5, clRed};
    source.Pen.SetColor(clBlue);
    source.Pen.SetVisible(false);
    source.Unlisted.SetColor(clGreen);
    Part target;
    target.Pen.OnChange = [&penChanges] { ++penChanges; };

    EXPECT_TRUE(CopyParts(target, source, &Part::Plain, &Part::Pen));
    EXPECT_EQ(target.Plain, source.Plain);
    EXPECT_EQ(target.Pen.Color(), clBlue);
    EXPECT_FALSE(target.Pen.Visible()) << "a chart pen copies its chart settings too";
    EXPECT_GT(penChanges, 0) << "an owned part is copied through its CopyFrom and reports";
    EXPECT_NE(target.Unlisted.Color(), clGreen) << "a part not named stays as it was";
    ASSERT_TRUE(target.Pen.OnChange) << "copying keeps the target's own change handler";

    penChanges = 0;
    EXPECT_FALSE(CopyParts(target, target, &Part::Plain, &Part::Pen));
    EXPECT_EQ(penChanges, 0);
}

TEST(TCustomChartPanelHelpers, SetCanvasBrushForHatches)
{
    TCustomChartPanelExtended panel;
    TChartCanvas3D &canvas = panel.ChartCanvas();

    SetCanvasBrush(canvas, clBlack, bsCross, clBlack);
    EXPECT_EQ(canvas.Brush().Color(), clWhite);
    EXPECT_EQ(canvas.Brush().Style(), bsCross);
    EXPECT_EQ(canvas.GetBackgroundMode(), bmOpaque);
    EXPECT_EQ(canvas.GetBackgroundColor(), clBlack);

    SetCanvasBrush(canvas, clGreen, bsFDiagonal, clGreen);
    EXPECT_EQ(canvas.Brush().Color(), clBlack);
    EXPECT_EQ(canvas.GetBackgroundColor(), clGreen);

    SetCanvasBrush(canvas, clGreen, bsFDiagonal, clRed);
    EXPECT_EQ(canvas.Brush().Color(), clGreen);

    SetCanvasBrush(canvas, clRed, bsSolid, clRed);
    EXPECT_EQ(canvas.Brush().Color(), clRed);
    EXPECT_EQ(canvas.Brush().Style(), bsSolid);
    EXPECT_EQ(canvas.GetBackgroundMode(), bmTransparent);
}

TEST(TCustomChartPanelHelpers, PrintingPenAndClipping)
{
    TCustomChartPanelExtended panel;
    TPen dotted;
    dotted.SetStyle(psDot);
    TPen solid;
    panel.AdjustPenForPrinting(dotted);
    EXPECT_EQ(dotted.Width(), 1) << "not printing";
    EXPECT_TRUE(panel.ClippingAllowed());

    panel.SetPrinting(true);
    panel.AdjustPenForPrinting(dotted);
    panel.AdjustPenForPrinting(solid);
    EXPECT_EQ(dotted.Width(), 0);
    EXPECT_EQ(solid.Width(), 1);
    EXPECT_TRUE(panel.ClippingAllowed());
    PrintClipping = false;
    EXPECT_FALSE(panel.ClippingAllowed());
    PrintClipping = true;

    panel.SetPrinting(false);
    panel.ChartCanvas().Metafiling = true;
    EXPECT_TRUE(panel.ClippingAllowed());
    MetafileClipping = false;
    EXPECT_FALSE(panel.ClippingAllowed());
    MetafileClipping = true;
}

TEST(TCustomChartPanelHelpers, SelectFontKeepsTheCanvasResolution)
{
    TCustomChartPanelExtended panel;
    TFont &canvasFont = panel.ChartCanvas().Font();
    const int ppi = canvasFont.PixelsPerInch();
    TFont font;
    font.SetName(QStringLiteral("Courier"));
    font.SetSize(14);
    font.SetColor(clRed);
    font.SetPixelsPerInch(ppi + 48);
    panel.SelectFont(font);
    EXPECT_EQ(canvasFont.Name(), QStringLiteral("Courier"));
    EXPECT_EQ(canvasFont.Size(), 14);
    EXPECT_EQ(canvasFont.Color(), clRed);
    EXPECT_EQ(canvasFont.PixelsPerInch(), ppi);
}

TEST(TCustomChartPanelHelpers, LeavingEndsAPanningDragOnly)
{
    TCustomChartPanelExtended panel;
    panel.PanningRecord().StartDrag(1, 2);
    panel.ZoomRecord().StartDrag(3, 4);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&panel, &leave);
    EXPECT_FALSE(panel.PanningRecord().DragActive);
    EXPECT_TRUE(panel.ZoomRecord().DragActive);
}

TEST(TCustomChartPanelExtendedZoom, ResetZoomFiresAndRepaints)
{
    CountingPanel panel;
    panel.resize(20, 20);
    Shown(panel);
    panel.SetZoomed(true);
    bool zoomedDuringEvent = false;
    int fired = 0;
    panel.OnUndoZoom = [&](TCustomChartPanel *sender) {
        ++fired;
        EXPECT_EQ(sender, &panel);
        zoomedDuringEvent = panel.Zoomed();
    };
    panel.ResetZoom();
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(zoomedDuringEvent);
    EXPECT_FALSE(panel.Zoomed());
    EXPECT_TRUE(panel.ChartCanvas().IsDirty());
}

TEST(TCustomChartPanelExtendedCopy, CopyFromTakesEveryCopiedSetting)
{
    TCustomChartPanelExtended source;
    source.SetMarginLeft(7);
    source.SetMarginTop(8);
    source.SetMarginRight(9);
    source.SetMarginBottom(10);
    source.SetView3D(false);
    source.View3DOptions().SetRotation(20);
    source.SetChart3DPercent(40);
    source.SetColor(clAqua);
    source.SetBuffered(false);
    source.SetPrintProportional(false);
    source.SetPrintResolution(-3);
    source.SetAllowPanning(pmVertical);
    source.SetAllowZoom(false);
    source.SetAnimatedZoom(true);
    source.SetAnimatedZoomSteps(3);
    source.SetBackImageMode(pbmTile);
    source.BackImage().SetImage(QImage(3, 2, QImage::Format_RGB32));
    source.Gradient().SetVisible(true);
    source.Gradient().SetDirection(gdFromCenter);

    TCustomChartPanelExtended target;
    target.CopyFrom(source);
    EXPECT_EQ(target.MarginLeft(), 7);
    EXPECT_EQ(target.MarginTop(), 8);
    EXPECT_EQ(target.MarginRight(), 9);
    EXPECT_EQ(target.MarginBottom(), 10);
    EXPECT_FALSE(target.View3D());
    EXPECT_EQ(target.View3DOptions().Rotation(), 20);
    EXPECT_EQ(target.Chart3DPercent(), 40);
    EXPECT_EQ(target.Color(), clAqua);
    EXPECT_FALSE(target.IsBuffered());
    EXPECT_FALSE(target.PrintProportional());
    EXPECT_EQ(target.PrintResolution(), -3);
    EXPECT_EQ(target.AllowPanning(), pmVertical);
    EXPECT_FALSE(target.AllowZoom());
    EXPECT_TRUE(target.AnimatedZoom());
    EXPECT_EQ(target.AnimatedZoomSteps(), 3);
    EXPECT_EQ(target.BackImageMode(), pbmTile);
    EXPECT_EQ(target.BackImage().Width(), 3);
    EXPECT_TRUE(target.Gradient().Visible());
    EXPECT_EQ(target.Gradient().Direction(), gdFromCenter);
    // The gradient stays the target's own: its changes repaint the target
    // (buffered again, so that a finished picture leaves a panel clean).
    source.SetBuffered(true);
    target.SetBuffered(true);
    Draw(source, source.width(), source.height());
    Draw(target, target.width(), target.height());
    target.Gradient().SetEndColor(clRed);
    EXPECT_TRUE(target.ChartCanvas().IsDirty()) << "the gradient stays the target's own";
    EXPECT_FALSE(source.ChartCanvas().IsDirty()) << "the gradient stays the target's own";
}

TEST(TZoomPanningRecord, StartDragAndNormalize)
{
    TZoomPanningRecord r;
    r.StartDrag(40, 30);
    EXPECT_TRUE(r.DragActive);
    EXPECT_EQ(r.EndX, 40);
    EXPECT_EQ(r.EndY, 30);
    r.EndX = 10;
    r.EndY = 50;
    r.Normalize();
    EXPECT_EQ(r.StartX, 10);
    EXPECT_EQ(r.EndX, 40);
    EXPECT_EQ(r.StartY, 30);
    EXPECT_EQ(r.EndY, 50);
}
