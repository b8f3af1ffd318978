#include "chart/canvas/text_lines.h"
#include "chart/chart.h"
#include "chart/exceptions.h"
#include "chart/legend/chart_legend.h"
#include "chart/numeric.h"
#include "chart/series/line_series.h"
#include "tests/chart/canvas/canvas_test_util.h"
#include "tests/chart/flat_chart_test.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

using namespace kov;

namespace {

/// One item as the legend placed it: OnGetLegendPos reports every drawn item.
struct Placed
{
    int Index;
    int X;
    int Y;
};

/// A flat 600 x 400 chart on a white background, its legend at the default
/// place (right), painted into an image.
class LegendTest : public kov::testing::FlatChartTest
{
protected:
    void SetUp() override
    {
        MakeFlat(600, 400);
        chart.SetColor(clWhite);
        chart.OnGetLegendPos = [this](TCustomChart *, int index, int &x, int &y, int &) {
            placed.push_back({index, x, y});
        };
    }

    TLineSeries *AddSeries(const QString &title, int points, TColor color)
    {
        auto *s = chart.AddSeries(std::make_unique<TLineSeries>());
        s->SetTitle(title);
        s->SetSeriesColor(color);
        for (int i = 0; i < points; ++i)
            s->AppendPoint(10 * (i + 1), QStringLiteral("P%1").arg(i));
        return s;
    }

    /// Paints the chart; RectBefore is the chart rectangle the legend found
    /// (after the title, which this chart hides, and before the axes).
    void Paint()
    {
        placed.clear();
        FlatChartTest::Paint();
    }

    /// The chart rectangle as the legend finds it and as it leaves it, and
    /// the line height of the legend's font.
    void PaintLegendOnly(TRect &before, TRect &after)
    {
        chart.SetChartRect(TRect{18, 16, 582, 384});
        chart.RecalcChartSize();
        before = chart.ChartRect();
        chart.DrawLegend();
        after = chart.ChartRect();
    }

    int LineHeight() { return LineHeightOf(chart.Legend().Font()); }

    std::vector<Placed> placed;
};

// ---- settings ---------------------------------------------------------------------------

TEST_F(LegendTest, BadSettingsFailWithTheirMessageAndKeepTheOldValue)
{
    TChartLegend &legend = chart.Legend();
    struct Case
    {
        const char *Message;
        std::function<void(int)> Set;
        std::function<int()> Get;
        int Bad;
        int Edge;
    };
    const std::vector<Case> cases = {
        {"Top Legend Position must be between 0 and 100 %", [&](int v) { legend.SetTopPos(v); },
         [&] { return legend.TopPos(); }, 101, 100},
        {"Top Legend Position must be between 0 and 100 %", [&](int v) { legend.SetTopPos(v); },
         [&] { return legend.TopPos(); }, -1, 0},
        {"Legend Color Width must be between 0 and 100 %", [&](int v) { legend.SetColorWidth(v); },
         [&] { return legend.ColorWidth(); }, 101, 100},
        {"Legend Color Width must be between 0 and 100 %", [&](int v) { legend.SetColorWidth(v); },
         [&] { return legend.ColorWidth(); }, -1, 0},
        {"First Legend Value must be > 0", [&](int v) { legend.SetFirstValue(v); },
         [&] { return legend.FirstValue(); }, -1, 0},
    };
    for (const Case &c : cases) {
        c.Set(c.Edge == 0 ? 7 : 42);
        const int old = c.Get();
        try {
            c.Set(c.Bad);
            ADD_FAILURE() << c.Message << ": " << c.Bad << " was accepted";
        } catch (const LegendException &e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(c.Message));
        }
        EXPECT_EQ(c.Get(), old) << c.Message;
        c.Set(c.Edge); // the limits themselves are accepted
        EXPECT_EQ(c.Get(), c.Edge) << c.Message;
    }
}

TEST_F(LegendTest, ChartCopyTakesTheLegendAlong)
{
    TChart other;
    other.Legend().SetAlignment(laBottom);
    other.Legend().SetInverted(true);
    other.Legend().SetTopPos(55);
    other.Legend().Frame().SetColor(clBlue);
    other.Legend().Font().SetSize(14);
    chart.CopyFrom(other);
    EXPECT_EQ(chart.Legend().Alignment(), laBottom);
    EXPECT_TRUE(chart.Legend().Inverted());
    EXPECT_EQ(chart.Legend().TopPos(), 55);
    EXPECT_EQ(chart.Legend().Frame().Color(), clBlue);
    EXPECT_EQ(chart.Legend().Font().Size(), 14);
}

TEST_F(LegendTest, CopyBetweenTitleAndLegendTakesOnlyTheFont)
{
    // Title and legend share their colour, brush, frame and visibility, but
    // one copied into the other hands over its font alone.
    const auto box = [](const TChartTextBox &b) {
        return std::tuple(b.Color(), b.Visible(), b.Brush().Style(), b.Frame().Color(),
                          b.Frame().Visible());
    };
    TChartTitle &title = chart.Title();
    title.SetColor(clYellow);
    title.SetVisible(false);
    title.Brush().SetStyle(bsCross);
    title.Frame().SetVisible(true);
    title.Frame().SetColor(clRed);
    title.Font().SetSize(15);
    TChartLegend &legend = chart.Legend();
    const auto legendBox = box(legend);
    ASSERT_NE(legendBox, box(title));

    legend.CopyFrom(title);
    EXPECT_EQ(legend.Font().Size(), 15);
    EXPECT_EQ(box(legend), legendBox);

    legend.Font().SetSize(9);
    const auto titleBox = box(title);
    title.CopyFrom(legend);
    EXPECT_EQ(title.Font().Size(), 9);
    EXPECT_EQ(box(title), titleBox);
}

// ---- content ---------------------------------------------------------------------------

TEST_F(LegendTest, AutoStyleListsTheValuesOfOneSeriesAndTheSeriesOfSeveral)
{
    TLineSeries *a = AddSeries(QStringLiteral("Alpha"), 5, clRed);
    Paint();
    EXPECT_EQ(chart.Legend().EffectiveStyle(), lsValues);
    EXPECT_EQ(chart.Legend().LegendItemTotal(), 5);
    EXPECT_EQ(chart.LegendText(0), QStringLiteral("10 P0")); // ltsLeftValue

    AddSeries(QStringLiteral("Beta"), 3, clBlue);
    Paint();
    EXPECT_EQ(chart.Legend().EffectiveStyle(), lsSeries);
    EXPECT_EQ(chart.Legend().LegendItemTotal(), 2);
    EXPECT_EQ(chart.LegendText(1), QStringLiteral("Beta"));
    ASSERT_EQ(placed.size(), 2u);

    // A series kept out of the legend takes no row; with one active series
    // left the legend lists values again.
    a->SetShowInLegend(false);
    Paint();
    EXPECT_EQ(chart.Legend().LegendItemTotal(), 1);
    a->SetActive(false);
    Paint();
    EXPECT_EQ(chart.Legend().EffectiveStyle(), lsValues);
    EXPECT_EQ(chart.Legend().LegendItemTotal(), 3);
}

TEST_F(LegendTest, LastValuesRowShowsTheLastValueOfTheSeriesWhoseSymbolItCarries)
{
    TLineSeries *hidden = AddSeries(QStringLiteral("Hidden"), 2, clRed);
    AddSeries(QStringLiteral("Shown"), 4, clBlue);
    hidden->SetShowInLegend(false);
    chart.Legend().SetLegendStyle(lsLastValues);
    chart.Legend().SetTextStyle(ltsRightValue);
    Paint();
    ASSERT_EQ(chart.Legend().LegendItemTotal(), 1);
    // Row 0 is the series "Shown" (the first series in the legend), so its
    // text is that series' last point, not the last point of the first
    // series in the chart's list.
    EXPECT_EQ(chart.LegendText(0), QStringLiteral("P3 40"));
}

TEST_F(LegendTest, TextHandlerAndLineBreaksInValueTexts)
{
    TLineSeries *a = AddSeries(QStringLiteral("Alpha"), 2, clRed);
    a->SetPointLabel(1, QStringLiteral("two") + LineBreakChar + QStringLiteral("lines"));
    chart.Legend().SetTextStyle(ltsPlain);
    EXPECT_EQ(chart.LegendText(1), QStringLiteral("two lines"));
    chart.OnGetLegendText = [](TCustomAxisPanel *, TLegendStyle style, int index, QString &text) {
        text = QStringLiteral("%1:%2:%3").arg(int(style)).arg(index).arg(text);
    };
    Paint();
    EXPECT_EQ(chart.LegendText(0), QStringLiteral("%1:0:P0").arg(int(lsValues)));
}

TEST_F(LegendTest, InvertedAndFirstValueChooseWhichItemGoesWhere)
{
    AddSeries(QStringLiteral("Alpha"), 5, clRed);
    chart.Legend().SetFirstValue(2);
    Paint();
    EXPECT_EQ(chart.Legend().LegendItemTotal(), 3);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(placed[0].Index, 2);
    EXPECT_EQ(placed[2].Index, 4);

    chart.Legend().SetInverted(true);
    Paint();
    ASSERT_EQ(placed.size(), 3u);
    const int h = LineHeight();
    // Drawn from the last item down: item 4 is at position 0, the top row.
    EXPECT_EQ(placed[0].Index, 4);
    EXPECT_EQ(placed[2].Index, 2);
    EXPECT_EQ(placed[0].Y, chart.Legend().LegendRect().Top + 1);
    EXPECT_EQ(placed[2].Y, placed[0].Y + 2 * h);
}

// ---- layout and picture -------------------------------------------------------------------

TEST_F(LegendTest, RightLegendIsFramedShadowedAndTakesItsBand)
{
    AddSeries(QStringLiteral("Alpha"), 3, clRed);
    AddSeries(QStringLiteral("Beta"), 3, clBlue);
    TRect before, after;
    image = QImage(600, 400, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.DrawToCanvas(&painter, TRect{0, 0, 600, 400}); // sets up the canvas
    PaintLegendOnly(before, after);
    painter.end();

    const TLegendStyle style = chart.Legend().EffectiveStyle();
    ASSERT_EQ(style, lsSeries);
    const TRect r = chart.Legend().LegendRect();
    const int h = LineHeight();
    const int w = std::max(chart.ChartCanvas().MeasureTextWidth(QStringLiteral("Alpha")),
                           chart.ChartCanvas().MeasureTextWidth(QStringLiteral("Beta")));
    // Frame width 1 and shadow 3 keep the box off the rectangle's right edge.
    EXPECT_EQ(r.Right, before.Right - 2 - 3);
    EXPECT_EQ(r.Top, RoundToInt(10 * 400 * 0.01));
    EXPECT_EQ(r.Bottom, r.Top + 2 * h + 2);
    EXPECT_EQ(r.Left, r.Right - w - 2 - chart.Legend().SymbolWidth() - 8);
    // The chart rectangle ends at the box, less 3 % of its width.
    EXPECT_EQ(after.Right, r.Left - MulDiv(3, before.Right - before.Left, 100));
    EXPECT_EQ(after.Left, before.Left);
    EXPECT_EQ(after.Top, before.Top);

    // Frame just outside the box, white inside, black shadow below and to the right.
    const int midY = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(Pixel(r.Left - 1, midY), clBlack);
    EXPECT_EQ(Pixel(r.Left, r.Top + 1), clWhite);
    EXPECT_EQ(Pixel(r.Right, midY), clBlack);
    EXPECT_EQ(Pixel((r.Left + r.Right) / 2, r.Top - 1), clBlack);
    EXPECT_EQ(Pixel((r.Left + r.Right) / 2, r.Bottom + 2), clBlack); // shadow
    EXPECT_EQ(Pixel(r.Right + 3, midY), clBlack);                    // shadow
    EXPECT_EQ(Pixel(r.Left + 1, r.Bottom + 2), clWhite);             // shadow starts 3 px in
    EXPECT_EQ(Pixel(r.Right + 5, midY), clWhite);
    // Each row carries its series' colour in its symbol.
    auto rowHas = [&](int row, TColor c) {
        for (int y = r.Top + 1 + row * h; y < r.Top + 1 + (row + 1) * h; ++y)
            for (int x = r.Left; x < r.Left + 4 + chart.Legend().SymbolWidth() + 4; ++x)
                if (Pixel(x, y) == c)
                    return true;
        return false;
    };
    EXPECT_TRUE(rowHas(0, clRed));
    EXPECT_FALSE(rowHas(0, clBlue));
    EXPECT_TRUE(rowHas(1, clBlue));
}

TEST_F(LegendTest, SideLegendBelowTheChartRectangleDrawsNothing)
{
    AddSeries(QStringLiteral("Alpha"), 3, clRed);
    chart.Legend().SetTopPos(100);
    TRect before, after;
    image = QImage(600, 400, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.DrawToCanvas(&painter, TRect{0, 0, 600, 400});
    image.fill(Qt::white);
    PaintLegendOnly(before, after);
    painter.end();
    EXPECT_EQ(chart.Legend().RowCount(), 0);
    EXPECT_EQ(after, before); // not even the margin
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), [] {
        QImage white(600, 400, QImage::Format_RGB32);
        white.fill(Qt::white);
        return white;
    }());
    EXPECT_EQ(chart.Legend().LegendHitTest(580, 395), -1);
}

TEST_F(LegendTest, MarginsApplyWithoutResizeChart)
{
    AddSeries(QStringLiteral("Alpha"), 3, clRed);
    // Side: the side of the chart rectangle that faces the legend, moved
    // inward (Inward, +1 or -1) by the margin; LegendEdge: the legend's side
    // it rests against when the legend takes its room.
    struct Case
    {
        TLegendAlignment Alignment;
        int HorizMargin;
        int VertMargin;
        int TRect::*Side;
        int TRect::*LegendEdge;
        int Inward;
    };
    for (const Case c : {Case{laRight, 0, 0, &TRect::Right, &TRect::Left, -1},
                         Case{laLeft, 11, 0, &TRect::Left, &TRect::Right, 1},
                         Case{laTop, 0, 0, &TRect::Top, &TRect::Bottom, 1},
                         Case{laBottom, 0, 9, &TRect::Bottom, &TRect::Top, -1}}) {
        chart.Legend().SetAlignment(c.Alignment);
        chart.Legend().SetResizeChart(false);
        chart.Legend().SetHorizMargin(c.HorizMargin);
        chart.Legend().SetVertMargin(c.VertMargin);
        TRect before, after;
        image = QImage(600, 400, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        chart.DrawToCanvas(&painter, TRect{0, 0, 600, 400});
        PaintLegendOnly(before, after);
        const int hm = c.HorizMargin ? c.HorizMargin : MulDiv(3, before.Right - before.Left, 100);
        const int vm = c.VertMargin ? c.VertMargin : MulDiv(4, before.Bottom - before.Top, 100);
        const int margin = c.Alignment == laLeft || c.Alignment == laRight ? hm : vm;
        TRect expected = before;
        expected.*c.Side += c.Inward * margin;
        EXPECT_EQ(after, expected) << int(c.Alignment);

        chart.Legend().SetResizeChart(true);
        chart.DrawToCanvas(&painter, TRect{0, 0, 600, 400});
        PaintLegendOnly(before, after);
        const TRect r = chart.Legend().LegendRect();
        // A top legend's shadow stays clear of the chart too.
        const int shadow = c.Alignment == laTop ? chart.Legend().ShadowSize() : 0;
        EXPECT_EQ(after.*c.Side, r.*c.LegendEdge + shadow + c.Inward * margin) << int(c.Alignment);
    }
}

TEST_F(LegendTest, BottomLegendIsAGridOfColumnsAndAtMostMaxNumRows)
{
    AddSeries(QStringLiteral("Alpha"), 40, clRed);
    chart.Legend().SetAlignment(laBottom);
    chart.Legend().SetMaxNumRows(3);
    Paint();
    const TChartLegend &legend = chart.Legend();
    ASSERT_GT(legend.ColumnCount(), 1);
    EXPECT_EQ(legend.RowCount(), 3);
    const int h = LineHeight();
    const TRect r = legend.LegendRect();
    EXPECT_EQ(r.Bottom - r.Top, 3 * h + 2);
    // Row by row: item ColumnCount starts the second row under item 0.
    const size_t shown = std::min<size_t>(40, 3 * legend.ColumnCount());
    ASSERT_EQ(placed.size(), shown);
    EXPECT_EQ(placed[legend.ColumnCount()].X, placed[0].X);
    EXPECT_EQ(placed[legend.ColumnCount()].Y, placed[0].Y + h);
    EXPECT_GT(placed[1].X, placed[0].X);
    // The frame lies below the box's bottom line, above the chart's bottom.
    EXPECT_EQ(Pixel(r.Left + 2, r.Bottom), clBlack);
    EXPECT_LT(r.Bottom, chart.height());
}

TEST_F(LegendTest, TopLegendShiftedByTopPosStaysInsideThePicture)
{
    AddSeries(QStringLiteral("Alpha"), 2, clRed);
    AddSeries(QStringLiteral("Beta"), 2, clBlue);
    chart.Legend().SetAlignment(laTop);
    chart.Legend().SetTopPos(0);
    Paint();
    const TRect centred = chart.Legend().LegendRect();
    EXPECT_NEAR((centred.Left + centred.Right) / 2, chart.width() / 2, 1);
    for (int topPos : {50, 100}) {
        chart.Legend().SetTopPos(topPos);
        Paint();
        const TRect r = chart.Legend().LegendRect();
        EXPECT_GT(r.Left, centred.Left) << topPos;
        // Box, frame and shadow all within the picture: the shadow reaches
        // 4 pixels right of the box with a frame of width 1.
        EXPECT_LE(r.Right + 4, chart.width()) << topPos;
        EXPECT_EQ(Pixel(r.Right + 3, (r.Top + r.Bottom) / 2), clBlack) << topPos;
        EXPECT_EQ(Pixel(r.Left - 1, (r.Top + r.Bottom) / 2), clBlack) << topPos;
    }
}

TEST_F(LegendTest, MovedLegendRectTakesItsItems)
{
    AddSeries(QStringLiteral("Alpha"), 2, clRed);
    AddSeries(QStringLiteral("Beta"), 2, clBlue);
    Paint();
    const TRect normal = chart.Legend().LegendRect();
    const int normalX = placed.at(0).X;
    chart.OnGetLegendRect = [](TCustomChart *, TRect &r) {
        const int w = r.Right - r.Left;
        const int h = r.Bottom - r.Top;
        r = TRect{40, 60, 40 + w, 60 + h};
    };
    Paint();
    const TRect moved = chart.Legend().LegendRect();
    EXPECT_EQ(moved.Left, 40);
    EXPECT_EQ(placed.at(0).X - moved.Left, normalX - normal.Left);
    EXPECT_EQ(placed.at(0).Y, 61);
    EXPECT_EQ(Pixel(39, 65), clBlack);
    EXPECT_EQ(chart.Legend().LegendHitTest(45, 62), 0);
}

TEST_F(LegendTest, SymbolWidthColumnsAndDividingLinesFollowTheWidestText)
{
    // 40 items of one text width; dividing lines in blue, nothing else is.
    AddSeries(QStringLiteral("Alpha"), 40, clRed);
    chart.OnGetLegendText = [](TCustomAxisPanel *, TLegendStyle, int index, QString &text) {
        text = QStringLiteral("Item %1").arg(index, 2, 10, QLatin1Char('0'));
    };
    TChartLegend &legend = chart.Legend();
    legend.DividingLines().SetVisible(true);
    legend.DividingLines().SetColor(clBlue);
    const struct
    {
        TLegendAlignment Alignment;
        int ColorWidth;
    } rows[] = {{laRight, 12}, {laLeft, 50}, {laBottom, 12}, {laTop, 30}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.Alignment);
        legend.SetAlignment(row.Alignment);
        legend.SetColorWidth(row.ColorWidth);
        Paint();
        chart.SelectFont(legend.Font());
        const int w = chart.ChartCanvas().MeasureTextWidth(QStringLiteral("Item 00"));
        const int h = chart.ChartCanvas().TextLineHeight();
        const TRect r = legend.LegendRect();
        const bool side = row.Alignment == laLeft || row.Alignment == laRight;
        if (side) {
            // round((W + 10) x ColorWidth %), one column, a line above every row but the first.
            EXPECT_EQ(legend.SymbolWidth(), std::lrint((w + 10) * row.ColorWidth * 0.01));
            EXPECT_EQ(legend.ColumnCount(), 1);
            for (int position = 0; position < legend.RowCount(); ++position) {
                const int y = r.Top + 1 + position * h;
                EXPECT_EQ(Pixel(r.Left + 1, y) == clBlue, position > 0) << position;
                EXPECT_EQ(Pixel(r.Right - 2, y) == clBlue, position > 0) << position;
            }
            continue;
        }
        // T = W + 4; round(T x ColorWidth %); as many columns of T + symbol
        // + 8 as the chart's width less the frame and 8 takes.
        const int t = w + 4;
        const int symbol = std::lrint(t * row.ColorWidth * 0.01);
        EXPECT_EQ(legend.SymbolWidth(), symbol);
        EXPECT_EQ(legend.ColumnCount(), (600 - 2 - 8) / (t + symbol + 8));
        // A full-height line left of every item but the first: at the box's
        // left edge too once there is a second row.
        ASSERT_GT(legend.RowCount(), 1);
        for (int column = 0; column < legend.ColumnCount(); ++column) {
            const int x = r.Left + column * (t + symbol + 4);
            EXPECT_EQ(Pixel(x, r.Top + 1), clBlue) << column;
            EXPECT_EQ(Pixel(x, r.Bottom - 1), clBlue) << column;
            EXPECT_NE(Pixel(x + 2, r.Top + 1), clBlue) << column;
        }
    }
}

TEST_F(LegendTest, MainWindowSettingsDrawNoLegendAndLeaveTheRectangle)
{
    AddSeries(QStringLiteral("Alpha"), 5, clRed);
    Paint();
    const QImage withLegend = image;
    chart.Legend().SetVisible(false);
    chart.Legend().SetResizeChart(false);
    Paint();
    EXPECT_TRUE(placed.empty());
    EXPECT_EQ(chart.Legend().LegendHitTest(550, 60), -1);
    EXPECT_NE(image, withLegend);
    TChart plain;
    plain.resize(600, 400);
    plain.SetView3D(false);
    plain.SetColor(clWhite);
    plain.Legend().SetVisible(false);
    auto *s = plain.AddSeries(std::make_unique<TLineSeries>());
    s->SetTitle(QStringLiteral("Alpha"));
    s->SetSeriesColor(clRed);
    for (int i = 0; i < 5; ++i)
        s->AppendPoint(10 * (i + 1), QStringLiteral("P%1").arg(i));
    QImage other(600, 400, QImage::Format_ARGB32_Premultiplied);
    other.fill(Qt::white);
    QPainter painter(&other);
    plain.DrawToCanvas(&painter, TRect{0, 0, 600, 400});
    EXPECT_EQ(image, other);
}

// ---- hit test and mouse ----------------------------------------------------------------------

TEST_F(LegendTest, HitTestAnswersTheDrawingPosition)
{
    AddSeries(QStringLiteral("Alpha"), 6, clRed);
    chart.Legend().SetInverted(true);
    chart.Legend().SetFirstValue(1);
    Paint();
    const TRect r = chart.Legend().LegendRect();
    const int rh = (r.Bottom - r.Top) / chart.Legend().RowCount();
    const int x = (r.Left + r.Right) / 2;
    EXPECT_EQ(chart.Legend().LegendHitTest(x, r.Top + 1), 0); // item 5 is drawn here
    EXPECT_EQ(chart.Legend().LegendHitTest(x, r.Top + 1 + rh + 2), 1);
    EXPECT_EQ(chart.Legend().LegendHitTest(x, r.Top), -1); // the first pixel row belongs to no row
    EXPECT_EQ(chart.Legend().LegendHitTest(r.Left - 1, r.Top + 3), -1);
    EXPECT_EQ(chart.Legend().LegendHitTest(r.Right, r.Top + 3), -1);

    chart.Legend().SetAlignment(laTop);
    chart.Legend().SetInverted(false);
    Paint();
    const TRect g = chart.Legend().LegendRect();
    const int cw = (g.Right - g.Left) / chart.Legend().ColumnCount();
    ASSERT_GE(chart.Legend().ColumnCount(), 2);
    EXPECT_EQ(chart.Legend().LegendHitTest(g.Left + cw + cw / 2, g.Top + 3), 1);
}

TEST_F(LegendTest, ClickOnALegendRowReachesOnClickLegendAndStartsNoZoom)
{
    AddSeries(QStringLiteral("Alpha"), 2, clRed);
    AddSeries(QStringLiteral("Beta"), 2, clBlue);
    Paint();
    const TRect r = chart.Legend().LegendRect();
    const int h = LineHeight();
    int clicks = 0;
    int row = -2;
    chart.Mouse().OnClickLegend = [&](TCustomChart *sender, TMouseButton button, TShiftState, int x,
                                      int y) {
        ++clicks;
        EXPECT_EQ(sender, &chart);
        EXPECT_EQ(button, mbLeft);
        row = sender->Legend().LegendHitTest(x, y);
    };
    const QPointF at((r.Left + r.Right) / 2, r.Top + 1 + h + h / 2); // the second row
    QMouseEvent press(QEvent::MouseButtonPress, at, chart.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, chart.mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &release);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(row, 1);
    EXPECT_FALSE(chart.ZoomRecord().DragActive);

    // Hidden, the legend answers no click.
    chart.Legend().SetVisible(false);
    Paint();
    QApplication::sendEvent(&chart, &press);
    QApplication::sendEvent(&chart, &release);
    EXPECT_EQ(clicks, 1);
}

} // namespace

TEST(LegendWithoutChart, DrawsTheRowsItsContextHandsIn)
{
    // No chart, no series: a canvas and three rows, the middle one without a
    // text (it takes its place but draws no symbol).
    TChartCanvas3D canvas;
    kov::test::BeginPaint(canvas, 300, 200);
    TChartLegend legend(nullptr);
    legend.SetShadowSize(0);
    std::vector<TLegendRow> rows(3);
    rows[0].Text = QStringLiteral("Alpha");
    rows[0].Color = clRed;
    rows[2].Text = QStringLiteral("Gamma");
    rows[2].Color = clBlue;
    std::vector<Placed> placed;
    TLegendPaintContext context{canvas};
    context.ChartRect = TRect{10, 10, 290, 190};
    context.ChartWidth = 280;
    context.ChartHeight = 180;
    context.ChartXCenter = 150;
    context.ChartBounds = TRect{0, 0, 300, 200};
    context.Style = lsValues;
    context.ItemCount = 3;
    context.Row = [&rows](int index) { return rows[static_cast<size_t>(index)]; };
    context.AdjustPosition = [&placed](int index, int &x, int &y, int &) {
        placed.push_back({index, x, y});
    };

    TRect chartRect = context.ChartRect;
    ASSERT_TRUE(legend.Draw(context, chartRect));
    const TRect &box = legend.LegendRect();
    EXPECT_EQ(legend.LegendItemTotal(), 3);
    EXPECT_EQ(legend.RowCount(), 3);
    EXPECT_EQ(chartRect.Right, box.Left - MulDiv(3, 280, 100));
    ASSERT_EQ(placed.size(), 3u);
    const int h = (box.Bottom - box.Top - 2) / 3;
    const int symbolX = placed[0].X - 4 - legend.SymbolWidth() / 2;
    const TColor expected[] = {clRed, clWhite, clBlue};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(kov::test::PixelAt(canvas, symbolX, placed[i].Y + h / 2), expected[i]) << i;

    // The same rows draw the same legend; another colour does not.
    EXPECT_TRUE(legend.ShowsSameRows(context));
    rows[2].Color = clGreen;
    EXPECT_FALSE(legend.ShowsSameRows(context));
}
