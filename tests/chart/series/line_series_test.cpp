#include "chart/chart.h"
#include "chart/exceptions.h"
#include "chart/series/area_series.h"
#include "chart/series/line_series.h"
#include "tests/chart/flat_chart_test.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace kov;

namespace {

constexpr TColor Background = clWhite;

/// A flat 400 x 300 chart on a white background with one line series, the
/// vertical axis fixed at 0..10 and the horizontal at -1..10, painted into an
/// image.
class LineSeriesTest : public kov::testing::FlatChartTest
{
protected:
    void SetUp() override
    {
        MakeFlat(400, 300);
        chart.SetColor(Background);
        chart.SetAxisVisible(false);
        series = chart.AddSeries(std::make_unique<TLineSeries>());
        series->SetSeriesColor(clRed);
        FixRange(chart.LeftAxis(), 0, 10);
        // Room on both sides so that no marker touches the chart's edges.
        FixRange(chart.BottomAxis(), -1, 10);
    }

    int X(int i) const { return series->PointScreenX(i); }
    int Y(int i) const { return series->PointScreenY(i); }

    /// Number of pixels of colour c in the box around (x, y).
    int CountAround(int x, int y, int radius, TColor c) const
    {
        int n = 0;
        for (int yy = y - radius; yy <= y + radius; ++yy)
            for (int xx = x - radius; xx <= x + radius; ++xx)
                if (Pixel(xx, yy) == c)
                    ++n;
        return n;
    }

    /// Points at X 0..n-1, all at the same height, coloured from colours.
    void AddFlatPoints(const std::vector<TColor> &colours, double y = 5)
    {
        for (TColor c : colours)
            series->AppendPoint(y, QString(), c);
    }

    TLineSeries *series = nullptr;
};

} // namespace

TEST_F(LineSeriesTest, CreationDefaultsOfTheSeriesTypes)
{
    EXPECT_TRUE(series->DrawLine());
    EXPECT_FALSE(series->Pointer().Visible());
    EXPECT_FALSE(series->DrawArea());
    EXPECT_TRUE(series->ClickableLine());
    EXPECT_TRUE(series->DrawsBetweenPoints());
    EXPECT_EQ(series->Pointer().Style(), psRectangle);
    EXPECT_EQ(series->Pointer().Brush().Color(), clDefault);
    EXPECT_EQ(series->Pointer().HorizSize(), 4);
    EXPECT_EQ(series->Pointer().Pen().Color(), clBlack);

    TPointSeries points;
    EXPECT_FALSE(points.DrawLine());
    EXPECT_FALSE(points.ClickableLine());
    EXPECT_TRUE(points.Pointer().Visible());
    EXPECT_EQ(points.EditorName(), "TSeriesPointerEditor");

    TAreaSeries area;
    EXPECT_TRUE(area.DrawArea());
    EXPECT_FALSE(area.Pointer().Visible());
    EXPECT_EQ(area.MultiArea(), maNone);
}

TEST_F(LineSeriesTest, AssigningKeepsEachTypeItsNature)
{
    TPointSeries points;
    points.SetStairs(true);
    points.Pointer().SetStyle(psDiamond);
    series->CopyFrom(points);
    EXPECT_TRUE(series->Stairs());
    EXPECT_EQ(series->Pointer().Style(), psDiamond);
    EXPECT_TRUE(series->DrawLine());
    EXPECT_FALSE(series->Pointer().Visible()); // source is not a line series

    TLineSeries other;
    other.Pointer().SetVisible(true);
    series->CopyFrom(other);
    EXPECT_TRUE(series->Pointer().Visible());

    TAreaSeries area;
    series->CopyFrom(area);
    EXPECT_FALSE(series->DrawArea());

    points.CopyFrom(*series);
    EXPECT_TRUE(points.Pointer().Visible());
    EXPECT_FALSE(points.DrawLine());
    EXPECT_FALSE(points.ClickableLine());
}

TEST_F(LineSeriesTest, PointerSizeMustBePositive)
{
    TSeriesPointer &p = series->Pointer();
    for (int bad : {0, -1}) {
        try {
            p.SetHorizSize(bad);
            FAIL() << "accepted horizontal size " << bad;
        } catch (const ChartException &e) {
            EXPECT_EQ(e.Message(), "Pointer size must be greater than zero");
        }
        EXPECT_THROW(p.SetVertSize(bad), ChartException);
    }
    EXPECT_EQ(p.HorizSize(), 4);
    EXPECT_EQ(p.VertSize(), 4);
    p.SetHorizSize(1);
    EXPECT_EQ(p.HorizSize(), 1);
}

TEST_F(LineSeriesTest, MarginsFollowPointerStairsAndLineHeight)
{
    int l = 0, r = 0, t = 0, b = 0;
    series->ExtraHorizMargins(l, r);
    series->ExtraVertMargins(t, b);
    EXPECT_EQ((std::vector<int>{l, r, t, b}), (std::vector<int>{0, 0, 0, 0}));

    series->Pointer().SetVisible(true);
    series->Pointer().SetHorizSize(6);
    l = r = t = b = 0;
    series->ExtraHorizMargins(l, r);
    series->ExtraVertMargins(t, b);
    EXPECT_EQ((std::vector<int>{l, r, t, b}), (std::vector<int>{7, 7, 5, 5}));

    // The main window's pointer asks for no room.
    series->Pointer().SetInflateMargins(false);
    l = r = t = b = 0;
    series->ExtraHorizMargins(l, r);
    series->ExtraVertMargins(t, b);
    EXPECT_EQ((std::vector<int>{l, r, t, b}), (std::vector<int>{0, 0, 0, 0}));

    series->SetStairs(true);
    series->LinePen().SetWidth(3);
    series->SetLineHeight(9);
    l = r = t = b = 0;
    series->ExtraHorizMargins(l, r);
    series->ExtraVertMargins(t, b);
    EXPECT_EQ((std::vector<int>{l, r, t, b}), (std::vector<int>{3, 3, 3, 9}));
}

TEST_F(LineSeriesTest, SegmentsTakeTheColourOfThePointTheyLeadTo)
{
    series->LinePen().SetColor(clYellow); // not used in a flat chart
    AddFlatPoints({clRed, clGreen, clBlue});
    Paint();
    ASSERT_EQ(Y(0), Y(2));
    const int y = Y(0);
    EXPECT_EQ(Pixel((X(0) + X(1)) / 2, y), clGreen);
    EXPECT_EQ(Pixel((X(1) + X(2)) / 2, y), clBlue);
    EXPECT_EQ(Pixel((X(1) + X(2)) / 2, y - 2), Background);
}

TEST_F(LineSeriesTest, NullPointBreaksTheLineAndHasNoMarker)
{
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(psCircle);
    AddFlatPoints({clRed, clRed, clNone, clBlue, clBlue});
    Paint();
    const int y = Y(0);
    EXPECT_EQ(Pixel((X(0) + X(1)) / 2, y), clRed);
    EXPECT_EQ(Pixel((X(1) + X(2)) / 2, y), Background);
    EXPECT_EQ(Pixel((X(2) + X(3)) / 2, y), Background);
    EXPECT_EQ(Pixel((X(3) + X(4)) / 2, y), clBlue);
    // Every drawn point has its filled marker; the null point none at all.
    for (int i : {0, 1, 3, 4})
        EXPECT_EQ(Pixel(X(i), y), series->EffectivePointColor(i)) << i;
    EXPECT_EQ(CountAround(X(2), y, 5, Background), 11 * 11);
}

TEST_F(LineSeriesTest, MarkersLieOnTopOfTheLine)
{
    // Black outline, red fill: the segments through the markers' centres are
    // green and must be hidden under every marker, the last one included.
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(psRectangle);
    AddFlatPoints({clRed, clGreen, clGreen});
    series->Pointer().Brush().SetColor(clRed);
    Paint();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Pixel(X(i) - 2, Y(i)), clRed) << i;
        EXPECT_EQ(Pixel(X(i) + 2, Y(i)), clRed) << i;
    }
}

TEST_F(LineSeriesTest, MainWindowMarkerIsAnEightPixelCircleWithDottedOliveOutline)
{
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(psCircle);
    series->Pointer().SetInflateMargins(false);
    series->Pointer().Pen().SetColor(clOlive);
    series->Pointer().Pen().SetStyle(psDot);
    series->LinePen().SetVisible(false); // markers alone
    series->AppendPoint(2, QString(), clRed);
    series->AppendPoint(8, QString(), clGreen);
    Paint();
    for (int i = 0; i < 2; ++i) {
        const int x = X(i), y = Y(i);
        const TColor fill = series->EffectivePointColor(i);
        EXPECT_EQ(Pixel(x, y), fill);
        EXPECT_EQ(Pixel(x - 2, y - 2), fill);
        // The outline: olive dots on the rim, not all of it.
        int olive = 0, rim = 0;
        for (int yy = y - 4; yy <= y + 4; ++yy)
            for (int xx = x - 4; xx <= x + 4; ++xx) {
                const TColor c = Pixel(xx, yy);
                if (c == clOlive)
                    ++olive;
                if (c != Background && c != fill)
                    ++rim;
            }
        EXPECT_GT(olive, 4) << i;
        EXPECT_LT(olive, 28) << i;
        // Nothing outside the 8 x 8 box.
        for (int d = -6; d <= 6; ++d) {
            EXPECT_EQ(Pixel(x + d, y - 5), Background);
            EXPECT_EQ(Pixel(x + d, y + 5), Background);
            EXPECT_EQ(Pixel(x - 5, y + d), Background);
            EXPECT_EQ(Pixel(x + 5, y + d), Background);
        }
    }
}

TEST_F(LineSeriesTest, PerPointStyleDrawsSmallDots)
{
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(psCircle);
    series->LinePen().SetVisible(false);
    series->OnGetPointerStyle = [](TChartSeries *, int index) {
        return index == 1 ? psSmallDot : psCircle;
    };
    series->AppendPoint(2);
    series->AppendPoint(5);
    series->AppendPoint(8);
    Paint();
    EXPECT_EQ(Pixel(X(1), Y(1)), clRed);
    EXPECT_EQ(CountAround(X(1), Y(1), 3, clRed), 1);
    EXPECT_GT(CountAround(X(0), Y(0), 3, clRed), 9);
    EXPECT_GT(CountAround(X(2), Y(2), 3, clRed), 9);
}

TEST_F(LineSeriesTest, StairsRunThenRiseOrRiseThenRun)
{
    series->SetStairs(true);
    series->AppendPoint(2);
    series->AppendPoint(8);
    Paint();
    const int mx = (X(0) + X(1)) / 2, my = (Y(0) + Y(1)) / 2;
    EXPECT_EQ(Pixel(mx, Y(0)), clRed); // run at the old height
    EXPECT_EQ(Pixel(X(1), my), clRed); // rise at the new point
    EXPECT_EQ(Pixel(mx, Y(1)), Background);
    EXPECT_EQ(Pixel(mx, my), Background);

    series->SetInvertedStairs(true);
    Paint();
    EXPECT_EQ(Pixel(X(0), my), clRed);
    EXPECT_EQ(Pixel(mx, Y(1)), clRed);
    EXPECT_EQ(Pixel(mx, Y(0)), Background);
}

TEST_F(LineSeriesTest, ZoomedLineEntersFromTheChartEdge)
{
    // Points 0..10 at X 0..10 rising from Y 0 to 10; the bottom axis shows
    // 2.5..10, so the first shown point is 3 and the line must start at the
    // left edge at Y 2.5.
    for (int i = 0; i <= 10; ++i)
        series->AppendPoint(i);
    FixRange(chart.BottomAxis(), 2.5, 10);
    Paint();
    ASSERT_EQ(series->FirstShownIndex(), 3);
    const int left = chart.ChartRect().Left;
    const int entryY = series->ValueScreenY(2.5);
    EXPECT_EQ(
        series->EdgeEntryY(chart.SeriesPaintContext(*series), 2, series->ScreenXToValue(left)),
        entryY);
    EXPECT_GT(CountAround(left + 3, entryY, 2, clRed), 0);

    // With stairs the entry runs at the height of point 2.
    series->SetStairs(true);
    Paint();
    EXPECT_EQ(Pixel(left + 2, Y(2)), clRed);
    EXPECT_EQ(Pixel((left + X(3)) / 2, Y(2)), clRed);
}

TEST_F(LineSeriesTest, FarOffPointIsSkippedWithoutMisplacingMarkers)
{
    // Point 1 lies far above the axis range (beyond the drawable range), so
    // it is skipped: the line joins points 0 and 2, and point 0 keeps its
    // own marker colour.
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(psRectangle);
    series->AppendPoint(5, QString(), clGreen);
    series->AppendPoint(1e7, QString(), clBlue);
    series->AppendPoint(5, QString(), clRed);
    Paint();
    ASSERT_LT(Y(1), -32766);
    EXPECT_EQ(Pixel(X(0), Y(0)), clGreen);
    EXPECT_EQ(Pixel(X(2), Y(2)), clRed);
    EXPECT_EQ(Pixel((X(0) + X(2)) / 2, Y(0)), clRed);
}

TEST_F(LineSeriesTest, FarOffPointAfterANullKeepsTheBreak)
{
    series->AppendPointXY(0, 5);
    series->AppendNullPointXY(1, 5);
    series->AppendPointXY(2, 1e7);
    series->AppendPointXY(3, 5);
    Paint();
    ASSERT_LT(Y(2), -32766);
    EXPECT_EQ(Pixel((X(1) + X(3)) / 2, Y(3)), Background);
    EXPECT_EQ(Pixel((X(2) + X(3)) / 2, Y(3)), Background);
}

// A picture depends on the chart's state alone: the first one equals the
// same state drawn again (the labels' band was measured with the label step
// of the pixel span an earlier picture left).
TEST(ChartPictures, TheFirstPictureEqualsTheNext)
{
    for (const double amplitude : {1.0, 1000.0}) {
        TChart chart;
        chart.resize(640, 480);
        TLineSeries *s = chart.AddSeries(std::make_unique<TLineSeries>());
        for (int i = 0; i < 2000; ++i)
            s->AppendPointXY(i, amplitude * std::sin(i * 0.01));
        const QImage first = kov::testing::DrawPicture(chart, 640, 480);
        const int left = chart.ChartRect().Left;
        EXPECT_EQ(kov::testing::DrawPicture(chart, 640, 480), first) << amplitude;
        EXPECT_EQ(chart.ChartRect().Left, left) << amplitude;
    }
}

TEST_F(LineSeriesTest, MarkerHitIsStrictlyInsideThePointerSize)
{
    series->Pointer().SetVisible(true);
    AddFlatPoints({clRed, clRed, clRed});
    series->AppendPoint(9);
    Paint();
    const int x = X(0), y = Y(0);
    EXPECT_EQ(series->HitTest(x - 4, y), -1);
    EXPECT_EQ(series->HitTest(x - 3, y), 0);
    EXPECT_EQ(series->HitTest(x - 3, y - 3), 0);
    EXPECT_EQ(series->HitTest(x - 3, y + 4), -1);

    int clicked = -2;
    series->OnClickPointer = [&](TCustomSeries *, int index, int, int) { clicked = index; };
    EXPECT_EQ(series->HitTest(X(3) + 3, Y(3) - 2), 3);
    EXPECT_EQ(clicked, 3);
}

TEST_F(LineSeriesTest, SegmentClickReportsItsFirstPoint)
{
    for (int i = 0; i < 8; ++i)
        series->AppendPoint(i == 5 ? 4 : i);
    Paint();
    // Points 4 and 5 are at the same height: a click half-way hits.
    ASSERT_EQ(Y(4), Y(5));
    EXPECT_EQ(series->HitTest((X(4) + X(5)) / 2, Y(4)), 4);
    EXPECT_EQ(series->HitTest((X(4) + X(5)) / 2, Y(4) + 1), -1);
    EXPECT_EQ(series->HitTest(X(6), Y(6)), 6); // on a point
    series->SetClickableLine(false);
    EXPECT_EQ(series->HitTest((X(4) + X(5)) / 2, Y(4)), -1);

    // Stairs are hit on their two pieces only.
    series->SetClickableLine(true);
    series->SetStairs(true);
    const int mx = (X(2) + X(3)) / 2;
    const int my = (Y(2) + Y(3)) / 2;
    EXPECT_EQ(series->HitTest(mx, Y(2)), 2);
    EXPECT_EQ(series->HitTest(X(3), my), 2);
    EXPECT_EQ(series->HitTest(mx, Y(3)), -1);
    series->SetInvertedStairs(true);
    EXPECT_EQ(series->HitTest(X(2), my), 2);
    EXPECT_EQ(series->HitTest(mx, Y(3)), 2);
    EXPECT_EQ(series->HitTest(mx, Y(2)), -1);
}

TEST_F(LineSeriesTest, HitTestWithoutChartOrPointsAnswersNothing)
{
    TLineSeries loose;
    loose.AppendPoint(1);
    EXPECT_EQ(loose.HitTest(0, 0), -1);
    Paint(); // the chart's series has no points
    EXPECT_EQ(series->HitTest(100, 100), -1);
}

TEST_F(LineSeriesTest, RibbonIn3DShadesTheRisingUndersideAndIsHitAsAPlane)
{
    chart.SetView3D(true);
    series->SetSeriesColor(clRed);
    series->AppendPoint(1);
    series->AppendPoint(9); // steep rise: underside visible, darkened
    series->AppendPoint(9);
    Paint();
    const TColor dark = DarkenColor(clRed, TopDarkness);
    int darkPixels = 0, redPixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const TColor c = Pixel(x, y);
            darkPixels += c == dark;
            redPixels += c == clRed;
        }
    EXPECT_GT(darkPixels, 50);
    EXPECT_GT(redPixels, 50);

    series->SetDark3D(false);
    Paint();
    int darkAfter = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkAfter += Pixel(x, y) == dark;
    EXPECT_EQ(darkAfter, 0);

    // The flat segment 1 -> 2 is hit anywhere on its ribbon, which runs one
    // depth step back (right and up), and not above it.
    const int h = chart.SeriesWidth3D();
    const int v = chart.SeriesHeight3D();
    ASSERT_GT(h, 2);
    ASSERT_GT(v, 2);
    const int mx = (X(1) + X(2)) / 2;
    EXPECT_EQ(series->HitTest(mx + h / 2, Y(1) - v / 2), 1);
    EXPECT_EQ(series->HitTest(mx + h / 2, Y(1) - v - 3), -1);
}

namespace {

/// Draws the legend symbol of point index (or of the series with -1) into a
/// 40 x 20 white image through the chart's canvas.
QImage LegendSymbol(TChart &chart, TCustomSeries &series, int index)
{
    QImage img(40, 20, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter painter(&img);
    TChartCanvas3D &canvas = chart.ChartCanvas();
    canvas.SetSurface(&painter);
    canvas.ResetDrawingState();
    series.DrawLegendSymbol(chart.SeriesPaintContext(series), index, TRect{0, 0, 30, 12});
    canvas.SetSurface(nullptr);
    return img;
}

} // namespace

TEST_F(LineSeriesTest, LegendSymbolIsALineWithAMarkerInThePointColour)
{
    series->AppendPoint(1, QString(), clBlue);
    Paint();

    // Line only: a horizontal line through the middle, in the point's colour.
    QImage img = LegendSymbol(chart, *series, 0);
    kov::testing::ExpectPixels(img, {{2, 6, clBlue}, {27, 6, clBlue}, {15, 2, clWhite}});

    // With markers the marker sits in the centre, limited to a third of the
    // rectangle (10 x 4 half sizes) because the line runs through it.
    series->Pointer().SetVisible(true);
    series->Pointer().SetHorizSize(20);
    series->Pointer().SetVertSize(20);
    img = LegendSymbol(chart, *series, -1); // the series: its own colour
    kov::testing::ExpectPixels(
        img, {{15, 4, clRed}, {8, 4, clRed}, {15, 1, clWhite}, {2, 4, clWhite}, {2, 6, clRed}});
}

TEST_F(LineSeriesTest, EveryMarkerShapeStaysInItsBoxIn2DAndDrawsIn3D)
{
    series->Pointer().SetVisible(true);
    series->LinePen().SetVisible(false);
    series->AppendPoint(5, QString(), clBlue);
    const TSeriesPointerStyle styles[] = {psRectangle,    psCircle,  psTriangle,
                                          psDownTriangle, psCross,   psDiagCross,
                                          psStar,         psDiamond, psSmallDot};
    for (bool view3D : {false, true}) {
        chart.SetView3D(view3D);
        for (TSeriesPointerStyle style : styles) {
            series->Pointer().SetStyle(style);
            Paint();
            const int x = X(0), y = Y(0);
            const int reach = view3D ? 12 : 5; // depth shifts the 3D shapes
            EXPECT_GT(CountAround(x, y, reach, clBlue), 0) << style << " 3D " << view3D;
            EXPECT_EQ(CountAround(x, y, reach + 6, clBlue), CountAround(x, y, reach, clBlue))
                << style << " 3D " << view3D;
            if (!view3D) {
                // Flat shapes: the cross arms reach exactly HorizSize each way.
                if (style == psCross || style == psStar) {
                    EXPECT_EQ(Pixel(x - 4, y), clBlue);
                    EXPECT_EQ(Pixel(x + 4, y), clBlue);
                    EXPECT_EQ(Pixel(x, y - 4), clBlue);
                    EXPECT_EQ(Pixel(x, y + 4), clBlue);
                }
                if (style == psSmallDot) {
                    EXPECT_EQ(CountAround(x, y, 5, clBlue), 1);
                }
            }
        }
    }
}

TEST_F(LineSeriesTest, AssigningSettingsKeepsPointColours)
{
    series->AppendPoint(1, QString(), clBlue);
    TLineSeries source;
    source.SetStairs(true);
    series->CopyFrom(source);
    EXPECT_TRUE(series->Stairs());
    EXPECT_EQ(series->EffectivePointColor(0), clBlue);
}

// A series draws and hit-tests with nothing but what it is handed: here a
// canvas and two axes of no chart.
TEST(TLineSeriesAlone, DrawsAndHitTestsWithTheCanvasAndAxesItIsHanded)
{
    TLineSeries series;
    series.AppendPoint(0, QString(), clRed);
    series.AppendPoint(10, QString(), clRed);
    series.ComputeShownRange();
    TChartAxis horiz(nullptr, TAxisSide::Bottom);
    horiz.Mapping().SetRange(0, 1);
    horiz.Mapping().SetPixelSpan(10, 90);
    TChartAxis vert;
    vert.Mapping().SetRange(0, 10);
    vert.Mapping().SetPixelSpan(10, 90);

    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    TChartCanvas3D canvas;
    canvas.SetSurface(&painter);
    canvas.ResetDrawingState();
    TSeriesPaintContext context{canvas};
    context.HorizAxis = &horiz;
    context.VertAxis = &vert;
    context.ChartRect = TRect{10, 10, 90, 90};
    series.DrawAllPoints(context);
    canvas.SetSurface(nullptr);
    painter.end();

    // The segment from (10, 90) to (90, 10), in the colour of its point.
    int red = 0;
    for (int d = -1; d <= 1; ++d)
        red += FromQColor(image.pixelColor(50 + d, 50)) == clRed ? 1 : 0;
    EXPECT_GT(red, 0);
    EXPECT_EQ(FromQColor(image.pixelColor(30, 30)), clWhite);
    EXPECT_EQ(series.HitTest(context, 50, 50), 0);
    EXPECT_EQ(series.HitTest(context, 30, 30), -1);
    EXPECT_EQ(series.HitTest(50, 50), -1) << "no chart hands out anything between paints";
}
