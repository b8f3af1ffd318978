#include "chart/axis/axis.h"
#include "chart/chart.h"
#include "chart/exceptions.h"
#include "chart/series/bar_series.h"
#include "tests/chart/flat_chart_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace kov;

namespace {

/// A flat 400 x 300 chart on white without axes, the values fixed at -10..10
/// and the positions at -1..4, its bars without outline.
class BarSeriesTest : public kov::testing::FlatChartTest
{
protected:
    void SetUp() override
    {
        MakeBare(400, 300);
        bars = Add<TBarSeries>(clRed);
        FixRange(chart.LeftAxis(), -10, 10);
        FixRange(chart.BottomAxis(), -1, 4);
    }

    template <typename T> T *Add(TColor color)
    {
        T *s = chart.AddSeries(std::make_unique<T>());
        s->SetSeriesColor(color);
        s->BarPen().SetVisible(false);
        return s;
    }

    int X(double v) const { return chart.BottomAxis()->ValueToPos(v); }
    int Y(double v) const { return chart.LeftAxis()->ValueToPos(v); }
    /// Pixels of colour c in row y from x0 to x1.
    int CountInRow(int y, int x0, int x1, TColor c) const
    {
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            n += Pixel(x, y) == c;
        return n;
    }
    /// Every mark of s lies inside the chart rectangle as the last paint left it.
    void ExpectMarksInsideTheChart(const TCustomBarSeries &s) const
    {
        const TRect r = chart.ChartRect();
        for (int i = 0; i < s.PointCount(); ++i) {
            const TSeriesMarkPosition *m = s.Marks().Positions().At(i);
            ASSERT_TRUE(m) << i;
            const TRect box = m->Bounds();
            EXPECT_TRUE(box.Left >= r.Left && box.Right <= r.Right && box.Top >= r.Top &&
                        box.Bottom <= r.Bottom)
                << i << " " << box.Left << "," << box.Top << " " << box.Right << "," << box.Bottom;
        }
    }

    TBarSeries *bars = nullptr;
};

} // namespace

TEST_F(BarSeriesTest, SettersRejectBadValuesAndKeepTheOldOne)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        std::function<void()> Set;
        const char *Message;
    } cases[] = {
        {[&] { bars->SetBarWidthPercent(0); }, "Bar width percent must be between 1 and 100"},
        {[&] { bars->SetBarWidthPercent(101); }, "Bar width percent must be between 1 and 100"},
        {[&] { bars->SetOffsetPercent(-101); }, "Bar offset percent must be between -100 and 100"},
        {[&] { bars->SetOffsetPercent(101); }, "Bar offset percent must be between -100 and 100"},
        {[&] { bars->SetOrigin(inf); }, "Bar origin must be a finite number"},
        {[&] { bars->SetOrigin(std::nan("")); }, "Bar origin must be a finite number"},
        {[&] { bars->SetBarWidthUnits(-1); },
         "Bar width in axis units must be a finite number not below 0"},
        {[&] { bars->SetBarWidthUnits(inf); },
         "Bar width in axis units must be a finite number not below 0"},
    };
    for (const Case &c : cases) {
        try {
            c.Set();
            ADD_FAILURE() << "accepted: " << c.Message;
        } catch (const ChartException &e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(c.Message));
        }
    }
    EXPECT_EQ(bars->BarWidthPercent(), 70);
    EXPECT_EQ(bars->OffsetPercent(), 0);
    EXPECT_EQ(bars->Origin(), 0);
    bars->SetBarWidthPercent(100);
    bars->SetOffsetPercent(-100);
    EXPECT_EQ(bars->BarWidthPercent(), 100);
    EXPECT_EQ(bars->OffsetPercent(), -100);
}

TEST_F(BarSeriesTest, CopyFromTakesTheBarSettingsAcrossDirectionsAndMultiBarIsShared)
{
    THorizBarSeries source;
    source.SetBarStyle(bstCylinder);
    source.SetBarWidthPercent(40);
    source.SetOrigin(2);
    source.BarPen().SetWidth(3);
    source.SetTitle(QStringLiteral("h"));
    bars->CopyFrom(source);
    EXPECT_EQ(bars->BarStyle(), bstCylinder);
    EXPECT_EQ(bars->BarWidthPercent(), 40);
    EXPECT_EQ(bars->Origin(), 2);
    EXPECT_EQ(bars->BarPen().Width(), 3);
    EXPECT_EQ(bars->Title(), "h");
    EXPECT_TRUE(bars->ValuesAreVertical());
    EXPECT_FALSE(source.ValuesAreVertical());

    auto *second = Add<TBarSeries>(clGreen);
    auto *other = Add<THorizBarSeries>(clBlue);
    second->SetMultiBar(mbStacked);
    EXPECT_EQ(bars->MultiBar(), mbStacked);
    EXPECT_EQ(other->MultiBar(), mbSide);
}

TEST_F(BarSeriesTest, ABarCoversFromItsEndUpToTheOriginAcrossItsShareOfTheSpace)
{
    // Values 5 and -4 at positions 0 and 1; a zero and a null point draw
    // no bar.
    bars->AppendPoint(5);
    bars->AppendPoint(-4);
    bars->AppendPoint(0);
    bars->AppendNullPoint();
    Paint();
    const double space = chart.BottomAxis()->Mapping().PixelSize / 5.0;
    const int width = static_cast<int>(std::lround(space * 0.7));
    for (int i : {0, 1}) {
        const int cx = X(i);
        const int end = Y(i == 0 ? 5 : -4);
        const int origin = Y(0);
        const int row = (end + origin) / 2;
        EXPECT_NEAR(CountInRow(row, cx - width, cx + width, clRed), width, 1) << i;
        if (i == 0) {
            EXPECT_EQ(Pixel(cx, end), clRed);
            EXPECT_EQ(Pixel(cx, end - 1), clWhite);
            EXPECT_EQ(Pixel(cx, origin - 1), clRed);
            EXPECT_EQ(Pixel(cx, origin), clWhite);
        } else {
            EXPECT_EQ(Pixel(cx, end), clRed);
            EXPECT_EQ(Pixel(cx, end + 1), clWhite);
            EXPECT_EQ(Pixel(cx, origin + 1), clRed);
            EXPECT_EQ(Pixel(cx, origin), clWhite);
        }
    }
    for (int i : {2, 3})
        EXPECT_EQ(CountInRow(Y(0) - 1, X(i) - width, X(i) + width, clRed), 0) << i;

    // The origin moves the base.
    bars->SetOrigin(2);
    Paint();
    EXPECT_EQ(Pixel(X(0), Y(2) - 1), clRed);
    EXPECT_EQ(Pixel(X(0), Y(2) + 2), clWhite);
    EXPECT_EQ(Pixel(X(1), Y(2) + 2), clRed);
}

TEST_F(BarSeriesTest, SideBySideBarsSplitTheSpaceAndStackedOnesMeetAtTheSum)
{
    auto *green = Add<TBarSeries>(clGreen);
    for (double v : {3.0, -2.0}) {
        bars->AppendPoint(v);
        green->AppendPoint(v + 1);
    }
    Paint();
    const int row = Y(1);
    // Side by side: red left of the position, green right of it.
    EXPECT_EQ(Pixel(X(0) - 3, row), clRed);
    EXPECT_EQ(Pixel(X(0) + 3, row), clGreen);

    bars->SetMultiBar(mbStacked);
    Paint();
    // Green from 3 up to 3 + 4 = 7; red from 0 to 3. Negatives stack down:
    // red 0..-2, green -2..-3 (its -1).
    EXPECT_EQ(Pixel(X(0), Y(7)), clGreen);
    EXPECT_EQ(Pixel(X(0), Y(7) - 1), clWhite);
    EXPECT_EQ(Pixel(X(0), Y(3) - 1), clGreen);
    EXPECT_EQ(Pixel(X(0), Y(3)), clRed);
    EXPECT_EQ(Pixel(X(1), Y(-2)), clRed);
    EXPECT_EQ(Pixel(X(1), Y(-2) + 1), clGreen);
    EXPECT_EQ(Pixel(X(1), Y(-3)), clGreen);
    EXPECT_EQ(Pixel(X(1), Y(-3) + 1), clWhite);
    EXPECT_EQ(green->LargestY(), 7);
    EXPECT_EQ(green->SmallestY(), -3);
}

TEST_F(BarSeriesTest, StackedTo100PercentSharesAColumnAndAZeroColumnDrawsNothing)
{
    auto *green = Add<TBarSeries>(clGreen);
    bars->AppendPoint(1);
    green->AppendPoint(3);
    bars->AppendPoint(0);
    green->AppendPoint(0);
    bars->SetMultiBar(mbStacked100);
    double start = 0, end = 0;
    ASSERT_TRUE(green->BarValues(0, start, end));
    EXPECT_EQ(start, 25);
    EXPECT_EQ(end, 100);
    EXPECT_FALSE(green->BarValues(1, start, end));
    EXPECT_FALSE(bars->BarValues(1, start, end));
    EXPECT_EQ(green->LargestY(), 100);

    FixRange(chart.LeftAxis(), 0, 100);
    EXPECT_NO_THROW(Paint());
    EXPECT_EQ(Pixel(X(0), Y(25) - 1), clGreen);
    EXPECT_EQ(Pixel(X(0), Y(25)), clRed);
    EXPECT_EQ(CountInRow(Y(50), X(1) - 40, X(1) + 40, clRed) +
                  CountInRow(Y(50), X(1) - 40, X(1) + 40, clGreen),
              0);
}

TEST_F(BarSeriesTest, HorizontalBarsRunAlongTheBottomAxisFromTheirIndexOnTheLeft)
{
    bars->SetActive(false);
    auto *h = Add<THorizBarSeries>(clBlue);
    EXPECT_EQ(h->AppendPoint(6), 0);
    EXPECT_EQ(h->AppendPoint(-3), 1);
    EXPECT_EQ(h->PointX(1), -3);
    EXPECT_EQ(h->PointY(1), 1);
    FixRange(chart.BottomAxis(), -10, 10);
    FixRange(chart.LeftAxis(), -1, 2);
    Paint();
    const int y0 = Y(0);
    EXPECT_EQ(Pixel(X(6), y0), clBlue);
    EXPECT_EQ(Pixel(X(6) + 1, y0), clWhite);
    EXPECT_EQ(Pixel(X(0) + 1, y0), clBlue);
    EXPECT_EQ(Pixel(X(0), y0), clWhite);
    EXPECT_EQ(Pixel(X(-3), Y(1)), clBlue);
    EXPECT_EQ(Pixel(X(-3) - 1, Y(1)), clWhite);
    EXPECT_EQ(h->SmallestX(), -3);
    EXPECT_EQ(h->LargestX(), 6);
}

TEST_F(BarSeriesTest, AutomaticAxesLeaveHalfASpaceBesideTheEndBars)
{
    chart.BottomAxis()->SetAutomatic(true);
    chart.LeftAxis()->SetAutomatic(true);
    for (double v : {4.0, 7.0, 2.0})
        bars->AppendPoint(v);
    Paint();
    // The value axis reaches down to the origin; the ends lie half a space
    // inside the chart.
    EXPECT_EQ(chart.LeftAxis()->Mapping().RangeMin, 0);
    const TRect r = chart.ChartRect();
    const double space = (X(2) - X(0)) / 2.0;
    EXPECT_NEAR(X(0) - r.Left, space / 2, 2);
    EXPECT_NEAR(r.Right - X(2), space / 2, 2);

    // One point: a single bar in the middle, not cut.
    bars->RemoveAllPoints();
    bars->AppendPoint(5);
    Paint();
    EXPECT_NEAR(X(0), (r.Left + r.Right) / 2, 2);
    EXPECT_EQ(Pixel(X(0), Y(2)), clRed);
    EXPECT_EQ(Pixel(r.Left + 2, Y(2)), clWhite);

    // Pages of two points: the bars at the page's ends are whole.
    bars->RemoveAllPoints();
    for (int i = 0; i < 6; ++i)
        bars->AppendPoint(3);
    chart.SetMaxPointsPerPage(2);
    Paint();
    EXPECT_GT(X(0) - r.Left, (X(1) - X(0)) * 0.35);
    EXPECT_GT(r.Right - X(1), (X(1) - X(0)) * 0.35);

    // No points at all.
    bars->RemoveAllPoints();
    EXPECT_NO_THROW(Paint());
}

TEST_F(BarSeriesTest, MarksSitBeyondTheBarsEnd)
{
    bars->AppendPoint(5);
    bars->AppendPoint(-4);
    bars->Marks().SetVisible(true);
    bars->Marks().SetStyle(smsValue);
    Paint();
    const int length = bars->Marks().ArrowLength();
    const TSeriesMarkPosition *up = bars->Marks().Positions().At(0);
    const TSeriesMarkPosition *down = bars->Marks().Positions().At(1);
    ASSERT_TRUE(up && down);
    EXPECT_EQ(up->ArrowFrom.Y, Y(5));
    EXPECT_EQ(up->LeftTop.Y + up->Height - 1, Y(5) - length);
    EXPECT_EQ(down->ArrowFrom.Y, Y(-4));
    EXPECT_EQ(down->LeftTop.Y, Y(-4) + length);
    EXPECT_NEAR(up->ArrowFrom.X, X(0), 1);

    bars->SetActive(false);
    auto *h = Add<THorizBarSeries>(clBlue);
    h->AppendPoint(-5);
    h->Marks().SetVisible(true);
    FixRange(chart.BottomAxis(), -10, 10);
    FixRange(chart.LeftAxis(), -1, 1);
    Paint();
    const TSeriesMarkPosition *left = h->Marks().Positions().At(0);
    ASSERT_TRUE(left);
    EXPECT_EQ(left->ArrowFrom.X, X(-5));
    EXPECT_EQ(left->LeftTop.X + left->Width, X(-5) - length);

    // Automatic axes leave the marks room inside the chart, both ways.
    for (TCustomBarSeries *s : std::initializer_list<TCustomBarSeries *>{bars, h}) {
        bars->SetActive(s == bars);
        h->SetActive(s == h);
        s->AppendPoint(8);
        chart.LeftAxis()->SetAutomatic(true);
        chart.BottomAxis()->SetAutomatic(true);
        Paint();
        SCOPED_TRACE(s == bars ? "vertical" : "horizontal");
        ExpectMarksInsideTheChart(*s);
    }
}

TEST_F(BarSeriesTest, LegendListsTheSeriesWithTheirColours)
{
    auto *green = Add<TBarSeries>(clGreen);
    bars->SetTitle(QStringLiteral("Red bars"));
    green->SetTitle(QStringLiteral("Green bars"));
    bars->AppendPoint(1);
    green->AppendPoint(2);
    chart.Legend().SetVisible(true);
    Paint();
    EXPECT_EQ(chart.LegendText(0), "Red bars");
    EXPECT_EQ(chart.LegendText(1), "Green bars");
    const TRect box = chart.Legend().LegendRect();
    int red = 0, green_ = 0;
    for (int y = box.Top; y < box.Bottom; ++y) {
        red += CountInRow(y, box.Left, box.Right - 1, clRed);
        green_ += CountInRow(y, box.Left, box.Right - 1, clGreen);
    }
    EXPECT_GT(red, 4);
    EXPECT_GT(green_, 4);
}

// Every pixel a bar paints answers its hit test, and a hit lies on a painted
// pixel or within two pixels of one (the thin tip of a pyramid paints no
// pixel): for each style, flat and in 3D, with a thin and
// a wide outline.
TEST_F(BarSeriesTest, HitTestAnswersForThePixelsEachStylePaints)
{
    FixRange(chart.LeftAxis(), -10, 10);
    FixRange(chart.BottomAxis(), -1, 1);
    bars->AppendPoint(6);
    for (bool view3D : {false, true})
        for (TBarStyle style : {bstRectangle, bstPyramid, bstInvPyramid, bstCylinder, bstEllipse})
            for (int pen : {0, 1, 5}) {
                chart.SetView3D(view3D);
                bars->SetBarStyle(style);
                bars->BarPen().SetVisible(pen > 0);
                bars->BarPen().SetWidth(std::max(pen, 1));
                bars->SetActive(false);
                Paint();
                const QImage without = image;
                bars->SetActive(true);
                Paint();
                int painted = 0, missed = 0, stray = 0;
                for (int y = 30; y < 200; ++y)
                    for (int x = 100; x < 320; ++x) {
                        const bool drawn = image.pixel(x, y) != without.pixel(x, y);
                        const bool hit = bars->HitTest(x, y) == 0;
                        painted += drawn;
                        missed += drawn && !hit;
                        if (hit && !drawn) {
                            bool near = false;
                            for (int dy = -2; dy <= 2; ++dy)
                                for (int dx = -2; dx <= 2; ++dx)
                                    near |= image.pixel(x + dx, y + dy) !=
                                            without.pixel(x + dx, y + dy);
                            stray += !near;
                        }
                    }
                const auto what = ::testing::Message()
                                  << "style " << style << " 3D " << view3D << " pen " << pen;
                EXPECT_GT(painted, 100) << what;
                EXPECT_EQ(missed, 0) << what;
                EXPECT_EQ(stray, 0) << what;
            }
}

// Bars too thin to have an inside are filled as blocks, runs of them in one
// column at once: what shows is still every bar, the last drawn on top.
TEST_F(BarSeriesTest, ThinBarsSharingAColumnShowAsEachWouldAlone)
{
    bars->SetBarWidthPercent(1);
    const struct
    {
        double X, Value;
        TColor Color;
    } points[] = {{0, 7, clRed}, {0.001, 3, clRed}, {0.002, -4, clRed}, {0.003, 2, clBlue}};
    for (const auto &p : points)
        bars->AppendPointXY(p.X, p.Value, QString(), p.Color);
    for (bool pen : {false, true}) {
        bars->BarPen().SetVisible(pen);
        Paint();
        const int x = X(0);
        const TColor red = pen ? clBlack : clRed;
        const TColor blue = pen ? clBlack : clBlue;
        EXPECT_EQ(Pixel(x, Y(7)), red) << pen;
        EXPECT_EQ(Pixel(x, Y(7) - 1), clWhite) << pen;
        EXPECT_EQ(Pixel(x, Y(5)), red) << pen;
        EXPECT_EQ(Pixel(x, Y(1)), blue) << pen;
        EXPECT_EQ(Pixel(x, Y(-4)), red) << pen;
        EXPECT_EQ(Pixel(x, Y(-4) + 1), clWhite) << pen;
    }
}

// Stacks are matched by position; a series added after the choice follows it.
TEST_F(BarSeriesTest, StacksMatchPositionsAndReachSeriesAddedLater)
{
    auto *b = Add<TBarSeries>(clBlue);
    for (int x = 0; x < 4; ++x) {
        bars->AppendPointXY(x, 1);
        b->AppendPointXY(x + 2, 2);
    }
    bars->SetMultiBar(mbStacked);
    auto *c = Add<TBarSeries>(clGreen);
    c->AppendPointXY(2, 4);
    EXPECT_EQ(c->MultiBar(), mbStacked);
    struct Case
    {
        TCustomBarSeries *Series;
        int Index;
        double Start, End;
    } cases[] = {{b, 0, 1, 3}, {b, 2, 0, 2}, {b, 3, 0, 2}, {c, 0, 3, 7}};
    for (const Case &k : cases) {
        double start = -1, end = -1;
        ASSERT_TRUE(k.Series->BarValues(k.Index, start, end));
        EXPECT_EQ(start, k.Start) << k.Index;
        EXPECT_EQ(end, k.End) << k.Index;
    }
    // A null point below stacks nothing.
    bars->SetPointColor(2, clNone);
    double start = -1, end = -1;
    ASSERT_TRUE(b->BarValues(0, start, end));
    EXPECT_EQ(start, 0);
    // Stacked to 100 %, the column total counts the bars at that position.
    bars->SetMultiBar(mbStacked100);
    ASSERT_TRUE(b->BarValues(1, start, end));
    EXPECT_DOUBLE_EQ(end - start, 100.0 * 2 / 3);
}

// Bars of points outside the axis' range that reach into the view are drawn
// (cut at the edge), in both directions.
TEST_F(BarSeriesTest, BarsPartlyInViewAreDrawn)
{
    for (const bool horizontal : {false, true}) {
        TCustomBarSeries *s = bars;
        if (horizontal) {
            bars->SetActive(false);
            s = Add<THorizBarSeries>(clBlue);
        }
        for (int i = 0; i < 10; ++i)
            s->AppendPoint(5);
        FixRange(horizontal ? chart.LeftAxis() : chart.BottomAxis(), 2.2, 7.8);
        FixRange(horizontal ? chart.BottomAxis() : chart.LeftAxis(), -10, 10);
        Paint();
        EXPECT_EQ(s->FirstShownIndex(), 2) << horizontal;
        EXPECT_EQ(s->LastShownIndex(), 8) << horizontal;
        for (double p : {2.3, 7.7}) {
            const TColor c = horizontal ? Pixel(X(2), Y(p)) : Pixel(X(p), Y(2));
            EXPECT_EQ(c, s->SeriesColor()) << horizontal << " " << p;
        }
    }
}

TEST_F(BarSeriesTest, ClicksOnTheClippedPartOfABarMiss)
{
    bars->AppendPoint(10);
    FixRange(chart.LeftAxis(), 0, 5);
    chart.SetMarginTop(10);
    Paint();
    const TRect r = chart.ChartRect();
    ASSERT_GT(r.Top, 3);
    EXPECT_EQ(bars->HitTest(X(0), r.Top + 5), 0);
    EXPECT_EQ(bars->HitTest(X(0), r.Top - 3), -1);
}

// Marks outside never take more than half the value axis, and sit on the
// side the bars grow to, also on an inverted axis.
TEST_F(BarSeriesTest, MarksRoomIsCappedAndFollowsThePixelDirection)
{
    struct Case
    {
        bool Horizontal;
        bool Inverted;
        double Value;
        bool LongLabel;
    } cases[] = {{true, false, 5, true}, {true, false, 1e300, false}, {false, false, 1e300, false},
                 {true, true, 5, false}, {false, true, 5, false},     {true, true, -5, false}};
    chart.resize(500, 350);
    for (const Case &k : cases) {
        for (TChartSeries *old : chart.SeriesList().Items())
            old->SetActive(false);
        TCustomBarSeries *s = k.Horizontal
                                  ? static_cast<TCustomBarSeries *>(Add<THorizBarSeries>(clBlue))
                                  : Add<TBarSeries>(clBlue);
        for (int i = 0; i < 5; ++i)
            s->AppendPoint(k.Value * (i + 1) / 5,
                           k.LongLabel ? QString(47, QLatin1Char('W')) : QString());
        s->Marks().SetVisible(true);
        s->Marks().SetStyle(k.LongLabel ? smsLabel : smsValue);
        TCustomChartAxis *values = k.Horizontal ? chart.BottomAxis() : chart.LeftAxis();
        chart.LeftAxis()->SetAutomatic(true);
        chart.BottomAxis()->SetAutomatic(true);
        values->SetInverted(k.Inverted);
        Paint();
        const TRect r = chart.ChartRect();
        const int length = k.Horizontal ? r.Width() : r.Height();
        const int origin = values->ValueToPos(0);
        const int end = values->ValueToPos(k.Value);
        EXPECT_GE(std::abs(end - origin), length / 2 - 1) << k.Horizontal << k.Inverted << k.Value;
        if (k.LongLabel || k.Value > 1e9)
            continue;
        SCOPED_TRACE(::testing::Message() << k.Horizontal << k.Inverted);
        ExpectMarksInsideTheChart(*s);
    }
}

// Marks on the bar: just inside its end or at its middle, with no box, in a
// colour that reads on the bar.
TEST_F(BarSeriesTest, MarksInsideSitOnTheBarInAReadableColour)
{
    struct Case
    {
        TBarMarksLocation Location;
        double Value;
        TColor Bar, Text;
    } cases[] = {{bmlInsideEnd, 8, clNavy, clWhite},
                 {bmlInsideEnd, -8, clYellow, clBlack},
                 {bmlCenter, 8, clYellow, clBlack},
                 {bmlCenter, -8, clNavy, clWhite}};
    bars->Marks().SetVisible(true);
    bars->Marks().SetStyle(smsValue);
    bars->AppendPoint(0);
    for (const Case &k : cases) {
        bars->SetMarksLocation(k.Location);
        bars->SetSeriesColor(k.Bar);
        bars->MainValueList()->SetValueAt(0, k.Value);
        Paint();
        const TSeriesMarkPosition *m = bars->Marks().Positions().At(0);
        ASSERT_TRUE(m);
        TBarBox bar;
        ASSERT_TRUE(bars->BarBounds(chart.SeriesPaintContext(*bars), 0, bar));
        const TRect box = m->Bounds();
        const TRect &b = bar.Box;
        EXPECT_TRUE(box.Top >= b.Top && box.Bottom <= b.Bottom) << k.Location << " " << k.Value;
        const int toEnd = k.Value > 0 ? box.Top - b.Top : b.Bottom - box.Bottom;
        const int toOrigin = k.Value > 0 ? b.Bottom - box.Bottom : box.Top - b.Top;
        if (k.Location == bmlInsideEnd)
            EXPECT_LT(toEnd, 5) << k.Value;
        else
            EXPECT_LE(std::abs(toEnd - toOrigin), 2) << k.Value;
        // Smoothed text: pixels nearer the text's colour than the bar's.
        auto grey = [](TColor c) { return (RedOf(c) + GreenOf(c) + BlueOf(c)) / 3; };
        int text = 0, back = 0;
        for (int y = box.Top; y < box.Bottom; ++y)
            for (int x = box.Left; x < box.Right; ++x) {
                const TColor c = Pixel(x, y);
                text += std::abs(grey(c) - grey(k.Text)) < std::abs(grey(c) - grey(k.Bar)) / 2;
                back += c == bars->Marks().BackColor();
            }
        EXPECT_GT(text, 3) << k.Location << " " << k.Value;
        EXPECT_EQ(back, 0);
    }
}

// Bars in axis units keep their width whatever the spacing of the positions.
TEST_F(BarSeriesTest, WidthInAxisUnitsIgnoresTheSpacing)
{
    FixRange(chart.BottomAxis(), -1, 101);
    for (double x : {0, 1, 2, 3, 100})
        bars->AppendPointXY(x, 5);
    bars->SetBarWidthUnits(0.5);
    Paint();
    const TSeriesPaintContext context = chart.SeriesPaintContext(*bars);
    TBarBox first, second;
    ASSERT_TRUE(bars->BarBounds(context, 0, first) && bars->BarBounds(context, 1, second));
    EXPECT_NEAR(first.Box.Width(), X(0.5) - X(0), 1);
    EXPECT_LT(first.Box.Right, second.Box.Left);
}
