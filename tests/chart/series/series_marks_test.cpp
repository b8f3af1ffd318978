#include "chart/axis/axis.h"
#include "chart/canvas/text_lines.h"
#include "chart/canvas/view3d_options.h"
#include "chart/chart.h"
#include "chart/format/number_format.h"
#include "chart/series/area_series.h"
#include "chart/series/line_series.h"
#include "chart/series/series_marks.h"
#include "tests/chart/flat_chart_test.h"

#include <QImage>
#include <QLocale>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace kov;

namespace {

/// A flat 400 x 300 chart without axes or legend, one line series of three
/// points at Y 5 (X 0, 1, 2) on fixed ranges, its marks shown; painted into
/// an image.
class MarksTest : public kov::testing::FlatChartTest
{
protected:
    void SetUp() override
    {
        MakeBare(400, 300);
        series = chart.AddSeries(std::make_unique<TLineSeries>());
        series->SetSeriesColor(clRed);
        for (int i = 0; i < 3; ++i)
            series->AppendPoint(5, QStringLiteral("L%1").arg(i));
        FixRange(chart.LeftAxis(), 0, 10);
        FixRange(chart.BottomAxis(), -1, 3);
        series->Marks().SetVisible(true);
        series->Marks().SetStyle(smsValue);
    }

    /// Whether any pixel of rect is neither white nor the box colour: text.
    bool HasInk(const TRect &r) const
    {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (Pixel(x, y) != clWhite && Pixel(x, y) != series->Marks().BackColor())
                    return true;
        return false;
    }
    int LineHeight() { return LineHeightOf(series->Marks().Font()); }
    const TSeriesMarkPosition &Stored(int i) const
    {
        const TSeriesMarkPosition *p = series->Marks().Positions().At(i);
        EXPECT_NE(p, nullptr) << i;
        static const TSeriesMarkPosition none;
        return p ? *p : none;
    }

    TLineSeries *series = nullptr;
};

// ---- texts -----------------------------------------------------------------------------

TEST_F(MarksTest, TextOfEveryStyle)
{
    const QLocale locale = QLocale::system();
    const QString group = locale.groupSeparator();
    const QString point = locale.decimalPoint();
    series->RemoveAllPoints();
    series->AppendPointXY(2, 1234.5, QStringLiteral("A"));
    series->AppendPointXY(3, 7, QString());
    series->AppendPointXY(4, -1241.5, QStringLiteral("C"));
    // |1234.5| + 7 + |-1241.5| = 2483; 7 is 0.28 % of it.
    const QString total = QStringLiteral("2") + group + QStringLiteral("483");
    const QString value0 = QStringLiteral("1") + group + QStringLiteral("234") + point + "5";
    struct Case
    {
        TSeriesMarksStyle Style;
        int Index;
        QString Text;
    };
    const std::vector<Case> cases = {
        {smsValue, 0, value0},
        {smsLabel, 0, QStringLiteral("A")},
        {smsLabel, 1, QStringLiteral("7")}, // no label: the value
        {smsLabelValue, 0, QStringLiteral("A ") + value0},
        {smsLabelValue, 1, QStringLiteral("7 7")},
        {smsPercent, 1, QStringLiteral("0") + point + QStringLiteral("28 %")},
        {smsLabelPercent, 1, QStringLiteral("7 0") + point + QStringLiteral("28 %")},
        {smsPercentTotal, 1, QStringLiteral("0") + point + QStringLiteral("28 % of ") + total},
        {smsLabelPercentTotal, 0,
         QStringLiteral("A 49") + point + QStringLiteral("72 % of ") + total},
        {smsXValue, 2, chart.BottomAxis()->FormatLabel(4)},
        {smsLegend, 0, value0 + QStringLiteral(" A")}, // the legend's ltsLeftValue
    };
    for (const Case &c : cases) {
        series->Marks().SetStyle(c.Style);
        EXPECT_EQ(series->MarkText(c.Index), c.Text) << int(c.Style) << " " << c.Index;
    }

    // A series whose values add up to 0 shows 100 %.
    series->RemoveAllPoints();
    series->AppendPoint(0);
    series->Marks().SetStyle(smsPercent);
    EXPECT_EQ(series->MarkText(0), QStringLiteral("100 %"));

    // The handler has the last word.
    series->OnGetMarkText = [](TChartSeries *, int index, QString &text) {
        text = QStringLiteral("#%1 %2").arg(index).arg(text);
    };
    EXPECT_EQ(series->MarkText(0), QStringLiteral("#0 100 %"));
}

TEST_F(MarksTest, RememberedValueTextsFollowTheFormatAndTheLocale)
{
    series->SetPointY(0, 2.5);
    EXPECT_EQ(series->MarkText(0), QStringLiteral("2") + QLocale::system().decimalPoint() + "5");
    series->SetValueFormat(QStringLiteral("0.00"));
    EXPECT_EQ(series->MarkText(0), QStringLiteral("2") + QLocale::system().decimalPoint() + "50");
    TFormatMemo memo;
    const QLocale german(QLocale::German);
    EXPECT_EQ(memo.Format(QStringLiteral("0.0"), 2.5, QLocale::c()), QStringLiteral("2.5"));
    EXPECT_EQ(memo.Format(QStringLiteral("0.0"), 2.5, german), QStringLiteral("2,5"));
    EXPECT_EQ(memo.Format(QStringLiteral("0.00"), 2.5, german), QStringLiteral("2,50"));
    EXPECT_EQ(memo.Format(QStringLiteral("0.00"), -0.0, german), FormatFloat("0.00", -0.0, german));
}

// ---- the picture ---------------------------------------------------------------------------

TEST_F(MarksTest, BoxSitsArrowLengthAboveThePointWithItsTextInside)
{
    series->Marks().Arrow().SetColor(clBlue);
    Paint();
    const int x = series->PointScreenX(1);
    const int y = series->PointScreenY(1);
    const TSeriesMarkPosition &p = Stored(1);
    const TRect box = p.Bounds();
    const int h = LineHeight();
    EXPECT_EQ(p.Height, h + 2); // one line and the frame
    EXPECT_EQ(box.Bottom - 1, y - 8);
    EXPECT_EQ(p.ArrowFrom, (TPoint{x, y}));
    EXPECT_EQ(p.ArrowTo, (TPoint{x, y - 8}));
    EXPECT_NEAR((box.Left + box.Right) / 2, x, 1);

    // The frame's bottom edge 8 pixels above the point, the yellow box
    // above it, the blue arrow between box and point.
    const int left = box.Left + 1;
    EXPECT_EQ(Pixel(left, y - 8), clBlack);
    EXPECT_EQ(Pixel(left, y - 7), clWhite);
    EXPECT_EQ(Pixel(left, y - 9), series->Marks().BackColor());
    EXPECT_EQ(Pixel(box.Left, (box.Top + box.Bottom) / 2), clBlack);
    EXPECT_EQ(Pixel(box.Left - 1, (box.Top + box.Bottom) / 2), clWhite);
    EXPECT_EQ(Pixel(x, y - 4), clBlue);
    EXPECT_TRUE(HasInk(TRect{box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1}));

    // ArrowLength 0 sets the box on the point.
    series->Marks().SetArrowLength(0);
    Paint();
    EXPECT_EQ(Stored(1).Bounds().Bottom - 1, y);
}

TEST_F(MarksTest, TwoLineMarkIsTwoLinesHighAndATrailingBreakAddsNone)
{
    series->OnGetMarkText = [](TChartSeries *, int index, QString &text) {
        text = index == 1 ? QStringLiteral("a") + LineBreakChar + QStringLiteral("b")
                          : QStringLiteral("a") + LineBreakChar;
    };
    Paint();
    const int h = LineHeight();
    EXPECT_EQ(Stored(1).Height, 2 * h + 2);
    EXPECT_EQ(Stored(0).Height, h + 2);
    const TRect box = Stored(1).Bounds();
    // Text in the upper line and in the lower one.
    EXPECT_TRUE(HasInk(TRect{box.Left + 1, box.Top + 1, box.Right - 1, box.Top + 1 + h}));
    EXPECT_TRUE(HasInk(TRect{box.Left + 1, box.Top + 1 + h, box.Right - 1, box.Bottom - 1}));
    const TRect one = Stored(0).Bounds();
    EXPECT_TRUE(HasInk(TRect{one.Left + 1, one.Top + 1, one.Right - 1, one.Bottom - 1}));
}

TEST_F(MarksTest, ArrowStandsOutFromPointAndBackground)
{
    struct Case
    {
        TColor Background;
        TColor Arrow;
        TColor Drawn;
    };
    const std::vector<Case> cases = {
        {clWhite, clRed, clBlack},   // the point's colour on a light chart
        {clBlack, clRed, clWhite},   // ... and on a black one
        {clWhite, clWhite, clBlack}, // the background's colour (the default arrow)
        {clSilver, clBlue, clBlue},  // a colour of its own stays
    };
    for (const Case &c : cases) {
        chart.SetColor(c.Background);
        series->Marks().Arrow().SetColor(c.Arrow);
        Paint();
        const int x = series->PointScreenX(1);
        const int y = series->PointScreenY(1);
        EXPECT_EQ(Pixel(x, y - 4), c.Drawn) << c.Background << " " << c.Arrow;
    }
}

TEST_F(MarksTest, TransparentMarkWithoutFrameIsTextAndArrowOnly)
{
    series->Marks().SetTransparent(true);
    series->Marks().Frame().SetVisible(false);
    series->Marks().Arrow().SetColor(clBlue);
    Paint();
    const int x = series->PointScreenX(1);
    const int y = series->PointScreenY(1);
    const TRect box = Stored(1).Bounds();
    EXPECT_EQ(Stored(1).Height, LineHeight()); // no frame to make room for
    int fill = 0;
    for (int yy = box.Top; yy < box.Bottom; ++yy)
        for (int xx = box.Left; xx < box.Right; ++xx)
            fill += Pixel(xx, yy) == series->Marks().BackColor() ? 1 : 0;
    EXPECT_EQ(fill, 0);
    EXPECT_EQ(Pixel(box.Left, (box.Top + box.Bottom) / 2), clWhite);
    EXPECT_TRUE(HasInk(box));
    EXPECT_EQ(Pixel(x, y - 4), clBlue);

    // Transparent with its frame: the outline without a fill.
    series->Marks().Frame().SetVisible(true);
    Paint();
    const TRect framed = Stored(1).Bounds();
    EXPECT_EQ(Pixel(framed.Left, (framed.Top + framed.Bottom) / 2), clBlack);
    EXPECT_EQ(Pixel(framed.Left + 1, framed.Bottom - 2), clWhite);
}

TEST_F(MarksTest, HiddenMarksNullPointsAndEmptyTextsGetNoMark)
{
    series->Marks().SetVisible(false);
    Paint();
    EXPECT_EQ(series->Marks().Positions().Count(), 0);

    series->Marks().SetVisible(true);
    series->SetPointColor(0, clNone);
    series->OnGetMarkText = [](TChartSeries *, int index, QString &text) {
        if (index == 2)
            text.clear();
    };
    Paint();
    EXPECT_EQ(series->Marks().Positions().At(0), nullptr);
    EXPECT_NE(series->Marks().Positions().At(1), nullptr);
    EXPECT_EQ(series->Marks().Positions().At(2), nullptr);
}

TEST_F(MarksTest, PositionsFollowRemovedPointsAndPinnedOnesStay)
{
    series->SetPointY(2, 8); // a different box from point 1's
    Paint();
    ASSERT_EQ(series->Marks().Positions().Count(), 3);
    const TSeriesMarkPosition second = Stored(2);
    series->RemovePoint(1);
    EXPECT_EQ(series->Marks().Positions().Count(), 2);
    EXPECT_EQ(Stored(1).LeftTop, second.LeftTop); // point 2 is point 1 now
    series->RemovePoint(1);
    EXPECT_EQ(series->Marks().Positions().Count(), 1);

    // A pinned position is drawn where it was pinned, paint after paint.
    TSeriesMarkPosition &stored = series->Marks().Positions().Ensure(0);
    stored.Pinned = true;
    stored.LeftTop = TPoint{20, 30};
    stored.Width = 40;
    stored.Height = 16;
    Paint();
    EXPECT_EQ(Stored(0).LeftTop, (TPoint{20, 30}));
    EXPECT_EQ(Pixel(21, 40), series->Marks().BackColor());

    series->RemoveAllPoints();
    EXPECT_EQ(series->Marks().Positions().Count(), 0);
}

TEST_F(MarksTest, PointsOutsideTheChartRectangleKeepTheirMarks)
{
    // Just below the rectangle, the box lifted by the arrow lies inside it:
    // drawn whether Clip is on or off. A point far beyond the drawable range
    // has none.
    series->SetPointY(1, -0.1);
    series->SetPointY(2, 1e4);
    for (const bool clip : {false, true}) {
        SCOPED_TRACE(clip);
        series->Marks().SetClip(clip);
        Paint();
        ASSERT_GE(series->PointScreenY(1), chart.ChartRect().Bottom);
        ASSERT_NE(series->Marks().Positions().At(1), nullptr);
        const TRect box = Stored(1).Bounds();
        EXPECT_LT(box.Bottom, chart.ChartRect().Bottom);
        EXPECT_TRUE(HasInk(box));
        EXPECT_EQ(series->Marks().Positions().At(2), nullptr);
    }
}

TEST_F(MarksTest, ClipKeepsMarksInsideTheChartArea)
{
    chart.SetMarginTop(30);
    series->SetPointY(1, 10); // on the top edge: its box lies above the area
    Paint();
    const TRect box = Stored(1).Bounds();
    const int top = chart.ChartRect().Top;
    ASSERT_LT(box.Top, top - 2);
    EXPECT_EQ(Pixel(box.Left + 1, box.Top + 1), series->Marks().BackColor());
    series->Marks().SetClip(true);
    Paint();
    EXPECT_EQ(Pixel(box.Left + 1, box.Top + 1), clWhite);
}

TEST_F(MarksTest, In3DTheBoxFollowsTheProjectedArrowEndWithZoomedText)
{
    chart.SetView3D(true);
    TView3DOptions &view = chart.View3DOptions();
    view.SetOrthogonal(false);
    view.SetRotation(340);
    view.SetElevation(340);
    series->Marks().Arrow().SetColor(clBlue);
    const struct
    {
        int Zoom;
        bool ZoomText;
        int FontSize;
    } rows[] = {{100, true, 8}, {150, true, 12}, {150, false, 8}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.Zoom);
        SCOPED_TRACE(r.ZoomText);
        view.SetZoom(r.Zoom);
        view.SetZoomText(r.ZoomText);
        Paint();
        TFont font;
        font.CopyFrom(series->Marks().Font());
        font.SetSize(r.FontSize);
        EXPECT_EQ(Stored(1).Height, LineHeightOf(font) + 2); // frame of width 1
        // The remembered position is the flat one; the box is drawn where
        // the arrow's end is projected at the marks' depth.
        const TSeriesMarkPosition &flat = Stored(1);
        const int z = series->Marks().ZPosition();
        TPoint from, to;
        chart.ChartCanvas().ProjectToPoint(flat.ArrowFrom.X, flat.ArrowFrom.Y, from, z);
        chart.ChartCanvas().ProjectToPoint(flat.ArrowTo.X, flat.ArrowTo.Y, to, z);
        ASSERT_NE(to, flat.ArrowTo);
        const int left = to.X + flat.LeftTop.X - flat.ArrowTo.X;
        const int top = to.Y - (flat.ArrowTo.Y - flat.LeftTop.Y);
        EXPECT_EQ(Pixel(left + 1, top + 1), series->Marks().BackColor());
        EXPECT_EQ(Pixel(left + flat.Width - 2, top + flat.Height - 2), series->Marks().BackColor());
        EXPECT_EQ(Pixel(left - 1, top + 1), clWhite);
        // The arrow joins the projected ends.
        EXPECT_EQ(Pixel((from.X + to.X) / 2, (from.Y + to.Y) / 2), clBlue);
    }
}

TEST_F(MarksTest, CopyTakesEverySettingAndTheSeriesCopyTakesTheMarks)
{
    TLineSeries other;
    other.Marks().SetStyle(smsLabelPercent);
    other.Marks().SetArrowLength(3);
    other.Marks().SetBackColor(clAqua);
    other.Marks().SetTransparent(true);
    other.Marks().SetClip(true);
    other.Marks().Frame().SetColor(clBlue);
    other.Marks().Arrow().SetWidth(2);
    other.Marks().Font().SetSize(12);
    series->CopyFrom(other);
    const TSeriesMarks &m = series->Marks();
    EXPECT_EQ(m.Style(), smsLabelPercent);
    EXPECT_EQ(m.ArrowLength(), 3);
    EXPECT_EQ(m.BackColor(), clAqua);
    EXPECT_TRUE(m.Transparent());
    EXPECT_TRUE(m.Clip());
    EXPECT_FALSE(m.Visible());
    EXPECT_EQ(m.Frame().Color(), clBlue);
    EXPECT_EQ(m.Arrow().Width(), 2);
    EXPECT_EQ(m.Font().Size(), 12);
    EXPECT_TRUE(m.IsFontStored());
}

// ---- series types ----------------------------------------------------------------------

TEST(PointSeriesMarks, PointSeriesDefaultsAndColourEachPoint)
{
    TPointSeries points;
    EXPECT_EQ(points.Marks().ArrowLength(), 0);
    points.Pointer().Brush().SetColor(clBlue);
    points.SetColorEachPoint(false);
    EXPECT_EQ(points.Pointer().Brush().Color(), clBlue);
    points.SetColorEachPoint(true);
    EXPECT_EQ(points.Pointer().Brush().Color(), clDefault);

    TLineSeries line;
    EXPECT_EQ(line.Marks().ArrowLength(), 8);
    EXPECT_EQ(line.Marks().Style(), smsLabel);
    EXPECT_FALSE(line.Marks().Visible());
    line.Pointer().Brush().SetColor(clBlue);
    line.SetColorEachPoint(true);
    EXPECT_EQ(line.Pointer().Brush().Color(), clBlue);
}

TEST(PointSeriesMarks, SeriesThatNeedTwoPointsGetTwoSamplePoints)
{
    TLineSeries line;
    TAreaSeries area;
    TPointSeries points;
    EXPECT_FALSE(line.AllowSinglePoint());
    line.FillSamplePoints(1);
    EXPECT_EQ(line.PointCount(), 2);
    area.FillSamplePoints(1);
    EXPECT_EQ(area.PointCount(), 2);
    points.FillSamplePoints(1);
    EXPECT_EQ(points.PointCount(), 1);
    line.FillSamplePoints(5);
    EXPECT_EQ(line.PointCount(), 5);
}

} // namespace
