#include "chart/chart.h"
#include "chart/numeric.h"
#include "chart/panel/chart_title.h"
#include "tests/chart/chart_picture.h"

#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

using namespace kov;

namespace {

/// A chart whose picture is a white background plus whatever the test draws,
/// so its titles are seen without axes or series.
class TitleChart : public TChart
{
public:
    std::function<void()> Content;

    TitleChart() { SetView3D(false); }

    void PaintChart(const TRect &bounds) override
    {
        ChartCanvas().ResetDrawingState();
        ChartCanvas().FillRectangle(bounds);
        if (Content)
            Content();
    }

    /// Paints a 400 x 250 picture and returns it.
    QImage Draw()
    {
        return kov::testing::DrawPicture(*this, 400, 250, Qt::white, QImage::Format_RGB32);
    }

    /// Line height and "W" width of a title's font, as the canvas measures.
    void Measure(const TChartTitle &title, int &h, int &w)
    {
        SelectFont(title.Font());
        h = ChartCanvas().TextLineHeight();
        w = ChartCanvas().MeasureTextWidth(QStringLiteral("W"));
    }
};

/// The chart rectangle before and after one title was drawn, with the font
/// metrics in force.
struct Band
{
    TRect Before;
    TRect After;
    int H = 0;
    int W = 0;
    QImage Image;
};

Band DrawOne(TitleChart &chart, TChartTitle &title, bool onTop)
{
    Band band;
    chart.Content = [&] {
        chart.Measure(title, band.H, band.W);
        band.Before = chart.ChartRect();
        title.DrawTitle(onTop);
        band.After = chart.ChartRect();
    };
    band.Image = chart.Draw();
    chart.Content = nullptr; // it refers to this call's locals
    return band;
}

TColor Pixel(const QImage &image, int x, int y)
{
    return FromQColor(image.pixelColor(x, y));
}

/// Bounding columns of non-white pixels within rows [top, bottom) and
/// columns [left, right); false when there is none.
bool InkColumns(const QImage &image, int left, int top, int right, int bottom, int &first,
                int &last)
{
    first = right;
    last = left - 1;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (Pixel(image, x, y) != clWhite) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return first <= last;
}

int CountInk(const QImage &image, int top, int bottom)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Pixel(image, x, y) != clWhite)
                ++n;
    return n;
}

} // namespace

TEST(TChartTitleTest, Defaults)
{
    TitleChart chart;
    const TChartTitle &t = chart.Title();
    EXPECT_TRUE(t.AdjustFrame());
    EXPECT_EQ(t.Alignment(), TAlignment::taCenter);
    EXPECT_EQ(t.Brush().Color(), clDefault);
    EXPECT_EQ(t.Brush().Style(), bsSolid);
    EXPECT_EQ(t.Color(), clDefault);
    EXPECT_FALSE(t.Frame().Visible());
    EXPECT_TRUE(t.Text().isEmpty());
    EXPECT_TRUE(t.Visible());
    EXPECT_EQ(t.Font().Color(), clBlue);
    EXPECT_EQ(t.Font().Style(), 0u);
    EXPECT_FALSE(t.IsFontStored());
}

TEST(TChartTitleTest, FontIsStoredWhenItDiffersFromTheTitleDefaults)
{
    TitleChart chart;
    chart.Title().Font().SetColor(clBlack); // the engine default, not the title's
    EXPECT_TRUE(chart.Title().IsFontStored());
    chart.Title().Font().SetColor(clBlue);
    chart.Title().Font().SetStyle(fsBold);
    EXPECT_TRUE(chart.Title().IsFontStored());
    chart.Title().Font().SetStyle(0);
    chart.Title().Font().SetSize(12);
    EXPECT_TRUE(chart.Title().IsFontStored());
}

TEST(TChartTitleTest, TopTitleTakesLinesAndGap)
{
    TitleChart chart;
    chart.Title().SetText({QStringLiteral("First"), QStringLiteral("Second")});
    const Band band = DrawOne(chart, chart.Title(), true);
    ASSERT_GT(band.H, 0);
    EXPECT_EQ(band.After.Top, band.Before.Top + 2 * band.H + TitleGap);
    EXPECT_EQ(band.After.Bottom, band.Before.Bottom);
    EXPECT_EQ(band.After.Left, band.Before.Left);
    EXPECT_EQ(band.After.Right, band.Before.Right);
    // No fill and no frame: the title rectangle is the band of the lines.
    EXPECT_EQ(chart.Title().TitleRect(), (TRect{band.Before.Left, band.Before.Top,
                                                band.Before.Right, band.Before.Top + 2 * band.H}));
    EXPECT_EQ(chart.ChartHeight(), band.After.Bottom - band.After.Top);
}

TEST(TChartTitleTest, FrameAddsItsWidthOnBothSides)
{
    TitleChart chart;
    chart.Title().SetText({QStringLiteral("Framed"), QStringLiteral("Two")});
    chart.Title().Frame().SetVisible(true);
    chart.Title().Frame().SetWidth(3);
    const Band framed = DrawOne(chart, chart.Title(), true);
    EXPECT_EQ(framed.After.Top, framed.Before.Top + 2 * framed.H + 2 * 3 + TitleGap);

    // A visible frame without a colour of its own counts as no frame.
    chart.Title().Frame().SetColor(clDefault);
    const Band plain = DrawOne(chart, chart.Title(), true);
    EXPECT_EQ(plain.After.Top, plain.Before.Top + 2 * plain.H + TitleGap);

    // At the bottom the same band is taken upwards.
    chart.Foot().SetText({QStringLiteral("Foot")});
    chart.Foot().Frame().SetVisible(true);
    chart.Foot().Frame().SetWidth(2);
    const Band foot = DrawOne(chart, chart.Foot(), false);
    EXPECT_EQ(foot.After.Bottom, foot.Before.Bottom - foot.H - 2 * 2 - TitleGap);
    EXPECT_EQ(foot.After.Top, foot.Before.Top);
}

TEST(TChartTitleTest, EmptyFootLineTakesItsBandAndDrawsNothing)
{
    TitleChart chart;
    chart.Foot().SetText({QString()});
    Band band;
    chart.Content = [&] {
        chart.Measure(chart.Foot(), band.H, band.W);
        band.Before = chart.ChartRect();
        PaintChartTitles(chart, chart.Title(), chart.Foot(), TLegendPlacement::lpNone, {});
        band.After = chart.ChartRect();
    };
    chart.Title().SetVisible(false);
    const QImage image = chart.Draw();
    EXPECT_EQ(band.After.Bottom, band.Before.Bottom - band.H - TitleGap);
    EXPECT_EQ(band.After.Top, band.Before.Top); // the hidden title took nothing
    EXPECT_EQ(CountInk(image, 0, image.height()), 0);
}

TEST(TChartTitleTest, NoLinesAndNoFrameLeaveTheRectangle)
{
    TitleChart chart;
    const Band top = DrawOne(chart, chart.Title(), true);
    EXPECT_EQ(top.After, top.Before);
    const Band bottom = DrawOne(chart, chart.Foot(), false);
    EXPECT_EQ(bottom.After, bottom.Before);
}

TEST(TChartTitleTest, FootWritesItsFirstLineAboveTheLast)
{
    TitleChart chart;
    chart.Foot().SetText({QStringLiteral("Upper"), QString()});
    Band band;
    chart.Content = [&] {
        chart.Measure(chart.Foot(), band.H, band.W);
        band.Before = chart.ChartRect();
        chart.Foot().DrawTitle(false);
    };
    const QImage image = chart.Draw();
    const int b = band.Before.Bottom;
    EXPECT_GT(CountInk(image, b - 2 * band.H, b - band.H), 0);
    EXPECT_EQ(CountInk(image, b - band.H, image.height()), 0);
}

TEST(TChartTitleTest, AlignmentPlacesLinesFromTheUnadjustedEdges)
{
    struct Row
    {
        TAlignment Alignment;
        bool Frame;
    };
    for (const Row row : {Row{TAlignment::taLeftJustify, false},
                          Row{TAlignment::taRightJustify, false}, Row{TAlignment::taCenter, false},
                          Row{TAlignment::taRightJustify, true}, Row{TAlignment::taCenter, true}}) {
        SCOPED_TRACE(static_cast<int>(row.Alignment) * 10 + row.Frame);
        TitleChart chart;
        chart.Title().SetText({QStringLiteral("HHHH")});
        chart.Title().SetAlignment(row.Alignment);
        chart.Title().Frame().SetVisible(row.Frame);
        const Band band = DrawOne(chart, chart.Title(), true);
        const QImage &image = band.Image;
        const int f = row.Frame ? 1 : 0;
        const int L = band.Before.Left + f;
        const int R = band.Before.Right - f;
        const int top = band.Before.Top + f;
        int first = 0;
        int last = 0;
        // Look inside the frame only.
        ASSERT_TRUE(InkColumns(image, L + 1, top + 1, R - 1, top + band.H - 1, first, last));
        if (row.Frame) {
            // The frame itself hugs the widest line plus the width of "W".
            const TRect &rect = chart.Title().TitleRect();
            ASSERT_TRUE(InkColumns(image, 0, top + band.H / 2, image.width(), top + band.H / 2 + 1,
                                   first, last));
            EXPECT_EQ(first, rect.Left);
            EXPECT_EQ(last, rect.Right - 1);
            ASSERT_TRUE(InkColumns(image, rect.Left + 1, top + 1, rect.Right - 1, top + band.H,
                                   first, last));
        }
        switch (row.Alignment) {
        case TAlignment::taLeftJustify:
            EXPECT_GE(first, L + band.W / 2);
            EXPECT_LE(first, L + band.W / 2 + 3);
            break;
        case TAlignment::taRightJustify:
            EXPECT_LE(last, R - band.W / 2 - 1);
            EXPECT_GE(last, R - band.W / 2 - 4);
            break;
        case TAlignment::taCenter:
            EXPECT_NEAR((first + last) / 2.0, (L + R) / 2.0, 3.0);
            break;
        }
    }
}

TEST(TChartTitleTest, AdjustFrameFitsTheWidestLine)
{
    TitleChart chart;
    chart.Title().SetText({QStringLiteral("Short"), QStringLiteral("A longer line")});
    chart.Title().Frame().SetVisible(true);
    chart.Title().SetAlignment(TAlignment::taRightJustify);
    int widest = 0;
    Band band;
    chart.Content = [&] {
        chart.Measure(chart.Title(), band.H, band.W);
        widest = chart.ChartCanvas().MeasureTextWidth(QStringLiteral("A longer line"));
        band.Before = chart.ChartRect();
        chart.Title().DrawTitle(true);
    };
    chart.Draw();
    const int right = band.Before.Right; // R + f grown back by f
    EXPECT_EQ(chart.Title().TitleRect().Right, right);
    EXPECT_EQ(chart.Title().TitleRect().Left, right - (widest + band.W));

    chart.Title().SetAlignment(TAlignment::taLeftJustify);
    chart.Draw();
    EXPECT_EQ(chart.Title().TitleRect().Left, band.Before.Left);
    EXPECT_EQ(chart.Title().TitleRect().Right, band.Before.Left + widest + band.W);

    // Without AdjustFrame the frame spans the chart rectangle's full width.
    chart.Title().SetAdjustFrame(false);
    chart.Draw();
    EXPECT_EQ(chart.Title().TitleRect().Left, band.Before.Left);
    EXPECT_EQ(chart.Title().TitleRect().Right, band.Before.Right);
}

TEST(TChartTitleTest, BackgroundComesFromColorOrBrush)
{
    TitleChart chart;
    chart.Title().SetText({QStringLiteral("x")});
    chart.Title().SetAdjustFrame(false);
    Band band;
    chart.Content = [&] {
        band.Before = chart.ChartRect();
        chart.Title().DrawTitle(true);
    };
    auto fillAt = [&] {
        const QImage image = chart.Draw();
        return Pixel(image, band.Before.Right - 3, band.Before.Top + 2);
    };

    // Solid brush without a colour: no fill.
    EXPECT_EQ(fillAt(), clWhite);
    // A solid brush colour fills; a later change of it shows too.
    chart.Title().Brush().SetColor(clRed);
    EXPECT_EQ(fillAt(), clRed);
    chart.Title().Brush().SetColor(clGreen);
    EXPECT_EQ(fillAt(), clGreen);
    EXPECT_EQ(chart.Title().Color(), clDefault);
    // Color wins over the brush colour with a solid brush.
    chart.Title().SetColor(clYellow);
    EXPECT_EQ(fillAt(), clYellow);

    // A hatched brush on an opaque Color background: both colours appear.
    chart.Title().Brush().SetStyle(bsCross);
    chart.Title().Brush().SetColor(clRed);
    const QImage image = chart.Draw();
    int red = 0;
    int yellow = 0;
    for (int x = band.Before.Left + 2; x < band.Before.Right - 2; ++x)
        for (int y = band.Before.Top + 1; y < band.Before.Top + 6; ++y) {
            red += Pixel(image, x, y) == clRed;
            yellow += Pixel(image, x, y) == clYellow;
        }
    EXPECT_GT(red, 0);
    EXPECT_GT(yellow, 0);
}

TEST(TChartTitleTest, HitTestUsesTheLastRectangleWhileVisible)
{
    TitleChart chart;
    chart.Title().SetText({QStringLiteral("Hit")});
    chart.Title().Frame().SetVisible(true);
    chart.Title().SetAdjustFrame(false);
    DrawOne(chart, chart.Title(), true);
    const TRect r = chart.Title().TitleRect();
    ASSERT_FALSE(r.IsEmpty());
    EXPECT_TRUE(chart.Title().Clicked(r.Left, r.Top));
    EXPECT_TRUE(chart.Title().Clicked(r.Right - 1, r.Bottom - 1));
    EXPECT_FALSE(chart.Title().Clicked(r.Right, r.Top));
    EXPECT_FALSE(chart.Title().Clicked(r.Left, r.Bottom));
    EXPECT_FALSE(chart.Title().Clicked(r.Left - 1, r.Top));

    chart.Title().SetVisible(false);
    EXPECT_FALSE(chart.Title().Clicked(r.Left, r.Top));
    EXPECT_EQ(chart.Title().TitleRect(), r); // kept from the last drawing
}

TEST(TChartTitleTest, TitlesAndLegendTakeTheirBandsInOrder)
{
    TitleChart chart;
    chart.SetView3D(true);
    chart.Title().SetText({QStringLiteral("Title")});
    chart.Foot().SetText({QStringLiteral("Foot")});

    struct Seen
    {
        TRect Rect;
        bool Projected = true;
        bool ProjectedAfter = false;
    };
    auto run = [&](TLegendPlacement placement, Seen &seen, TRect &before) {
        chart.Content = [&] {
            before = chart.ChartRect();
            PaintChartTitles(chart, chart.Title(), chart.Foot(), placement, [&] {
                seen.Rect = chart.ChartRect();
                seen.Projected = chart.ChartCanvas().Is3D();
            });
            seen.ProjectedAfter = chart.ChartCanvas().Is3D();
        };
        chart.Draw();
    };

    Seen side;
    TRect before;
    run(TLegendPlacement::lpSide, side, before);
    EXPECT_EQ(side.Rect, before); // legend first, titles take what it leaves
    EXPECT_FALSE(side.Projected); // drawn on the front plane
    EXPECT_TRUE(side.ProjectedAfter);

    Seen topBottom;
    run(TLegendPlacement::lpTopOrBottom, topBottom, before);
    EXPECT_GT(topBottom.Rect.Top, before.Top); // titles first
    EXPECT_LT(topBottom.Rect.Bottom, before.Bottom);
    EXPECT_EQ(topBottom.Rect, chart.ChartRect());

    Seen none;
    run(TLegendPlacement::lpNone, none, before);
    EXPECT_EQ(none.Rect, TRect{}); // the legend is not asked to draw
}

TEST(TChartTitleTest, SettersRepaintOnlyOnChange)
{
    TitleChart chart;
    chart.Draw();
    ASSERT_FALSE(chart.ChartCanvas().IsDirty());
    chart.Title().SetVisible(true);
    chart.Title().SetAlignment(TAlignment::taCenter);
    chart.Title().SetColor(clDefault);
    chart.Title().SetText({});
    EXPECT_FALSE(chart.ChartCanvas().IsDirty());
    chart.Title().SetText({QStringLiteral("new")});
    EXPECT_TRUE(chart.ChartCanvas().IsDirty());
    chart.Draw();
    chart.Title().Frame().SetWidth(2); // owned pen reports to the chart
    EXPECT_TRUE(chart.ChartCanvas().IsDirty());
    chart.Draw();
    chart.Title().Brush().SetStyle(bsCross);
    EXPECT_TRUE(chart.ChartCanvas().IsDirty());
}

TEST(TChartTitleTest, CopyFromCopiesEverySetting)
{
    TitleChart chart;
    TChartTitle &source = chart.Title();
    source.SetAdjustFrame(false);
    source.SetAlignment(TAlignment::taRightJustify);
    source.Brush().SetStyle(bsBDiagonal);
    source.Brush().SetColor(clRed);
    source.SetColor(clYellow);
    source.Frame().SetVisible(true);
    source.Frame().SetStyle(psDash);
    source.SetText({QStringLiteral("a"), QStringLiteral("b")});
    source.SetVisible(false);
    source.Font().SetSize(14);

    TChartTitle &copy = chart.Foot();
    copy.CopyFrom(source);
    EXPECT_FALSE(copy.AdjustFrame());
    EXPECT_EQ(copy.Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(copy.Brush().Style(), bsBDiagonal);
    EXPECT_EQ(copy.Brush().Color(), clRed);
    EXPECT_EQ(copy.Color(), clYellow);
    EXPECT_TRUE(copy.Frame().Visible());
    EXPECT_EQ(copy.Frame().Style(), psDash);
    EXPECT_EQ(copy.Text(), source.Text());
    EXPECT_FALSE(copy.Visible());
    EXPECT_EQ(copy.Font().Size(), 14);
}

TEST(TChartTitleTest, ChartPaintsItsTitleAndFoot)
{
    TChart chart;
    chart.SetView3D(false);
    chart.Title().SetText({QStringLiteral("One"), QStringLiteral("Two")});
    chart.Foot().SetText({QString()});
    QImage image(400, 250, QImage::Format_RGB32);
    QPainter painter(&image);
    chart.DrawToCanvas(&painter, TRect{0, 0, 400, 250});
    painter.end();

    chart.SelectFont(chart.Title().Font());
    const int h = chart.ChartCanvas().TextLineHeight();
    const int top = MulDiv(chart.MarginTop(), 250, 100);
    const int bottom = 250 - MulDiv(chart.MarginBottom(), 250, 100);
    EXPECT_EQ(chart.Title().TitleRect().Top, top);
    EXPECT_EQ(chart.Title().TitleRect().Bottom, top + 2 * h);
    EXPECT_EQ(chart.Foot().TitleRect().Bottom, bottom);
    EXPECT_EQ(chart.Foot().TitleRect().Top, bottom - h);
    // The axes lay out inside what the titles left.
    EXPECT_GE(chart.ChartRect().Top, top + 2 * h + TitleGap);
    EXPECT_LE(chart.ChartRect().Bottom, bottom - h - TitleGap);
    EXPECT_TRUE(chart.Title().Clicked(200, top));
    EXPECT_FALSE(chart.Title().Clicked(200, top + 2 * h));
}
