// Axes inside a real chart: ranges from series, labels through the chart's
// events, point labels, and what the paint leaves on the picture.
#include "chart/axis/axis.h"
#include "chart/canvas/chart_canvas3d.h"
#include "chart/chart.h"
#include "chart/exceptions.h"
#include "chart/format/date_time_format.h"
#include "chart/numeric.h"
#include "tests/chart/chart_picture.h"
#include "tests/chart/recording_series.h"

#include <QImage>
#include <QPainter>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

using namespace kov;
using kov::testing::TRecordingSeries;

namespace {

constexpr int ChartWidth = 600;
constexpr int ChartHeight = 400;

struct FlatChart
{
    FlatChart()
    {
        chart.resize(ChartWidth, ChartHeight);
        chart.SetView3D(false);
        series = chart.AddSeries(std::make_unique<TRecordingSeries>());
    }

    void Ramp(int count, double step = 1)
    {
        for (int i = 0; i < count; ++i)
            series->AppendPoint(i * step);
    }

    QImage Paint() { return kov::testing::DrawPicture(chart, ChartWidth, ChartHeight); }

    TChart chart;
    TRecordingSeries *series = nullptr;
};

QStringList LabelTexts(const TCustomChartAxis &axis)
{
    QStringList texts;
    for (const auto &label : axis.Layout().PaintedLabels)
        texts << label.Text;
    return texts;
}

bool IsColor(const QImage &image, int x, int y, TColor color)
{
    return image.pixelColor(x, y).rgb() == ToQColor(color).rgb();
}

// Pixels in the rectangle that are neither the background, nor white, nor
// the allowed colour.
int InkIn(const QImage &image, const TRect &r, const QColor &background,
          const QColor &allowed = Qt::white)
{
    int ink = 0;
    for (int y = std::max(0, r.Top); y < std::min(image.height(), r.Bottom); ++y)
        for (int x = std::max(0, r.Left); x < std::min(image.width(), r.Right); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p != background.rgb() && p != qRgb(255, 255, 255) && p != allowed.rgb())
                ++ink;
        }
    return ink;
}

} // namespace

TEST(TCustomChartAxisInChart, RangesAndLabelsFromTheSeries)
{
    FlatChart f;
    f.series->AppendPoint(10);
    f.series->AppendPoint(35);
    f.series->AppendPoint(20);
    f.Paint();
    TChartAxis *left = f.chart.LeftAxis();
    // The automatic ends are the data's extent (no series margins here).
    EXPECT_EQ(left->Minimum(), 10);
    EXPECT_EQ(left->Maximum(), 35);
    EXPECT_EQ(left->Mapping().RangeMin, 10);
    EXPECT_EQ(left->Mapping().RangeMax, 35);
    EXPECT_EQ(left->ResolvedLabelStyle(), talValue);
    ASSERT_FALSE(left->Layout().PaintedLabels.empty());
    // Labels are multiples of the step counted down from the top.
    const QString first = left->Layout().PaintedLabels.front().Text;
    const double top = first.toDouble();
    EXPECT_LE(top, 35);
    EXPECT_GT(top, 35 - 10);
    for (const auto &label : left->Layout().PaintedLabels) {
        EXPECT_EQ(label.Pos, left->ValueToPos(label.Text.toDouble()));
        EXPECT_GE(label.Text.toDouble(), 10);
    }
    // The right and top axes are not used by the series, so not shown.
    EXPECT_FALSE(f.chart.AxisShown(f.chart.RightAxis()));
    EXPECT_FALSE(
        f.chart.RightAxis()->ContainsPoint(f.chart.RightAxis()->Layout().AxisLinePos, 200));
}

TEST(TCustomChartAxisInChart, GridLinesAtTicksOrBetweenThem)
{
    FlatChart f;
    f.Ramp(11, 10); // 0..100
    TChartAxis *left = f.chart.LeftAxis();
    left->Grid().SetStyle(psSolid);
    left->Grid().SetColor(clRed);
    left->SetIncrement(25);
    f.chart.BottomAxis()->Grid().SetVisible(false);

    QImage image = f.Paint();
    const TRect r = f.chart.ChartRect();
    const int x = (r.Left + r.Right) / 2;
    const std::vector<int> ticks = left->Layout().TickPositions;
    ASSERT_GE(ticks.size(), 3u);
    for (int p : ticks)
        EXPECT_TRUE(IsColor(image, x, p, clRed)) << p;

    left->SetGridCentered(true);
    image = f.Paint();
    for (size_t i = 1; i < ticks.size(); ++i) {
        const int mid = static_cast<int>(std::nearbyint((ticks[i] + ticks[i - 1]) * 0.5));
        EXPECT_TRUE(IsColor(image, x, mid, clRed)) << mid;
        EXPECT_FALSE(IsColor(image, x, ticks[i], clRed)) << ticks[i];
    }
}

TEST(TCustomChartAxisInChart, AxisLineTicksAndLabelSides)
{
    FlatChart f;
    f.Ramp(11, 10);
    f.chart.LeftAxis()->Axis().SetColor(clBlue);
    f.chart.LeftAxis()->Grid().SetVisible(false);
    f.chart.LeftAxis()->Ticks().SetColor(clRed);
    f.chart.LeftAxis()->MinorTicks().SetColor(clRed);
    f.chart.BottomAxis()->Grid().SetVisible(false);
    const QImage image = f.Paint();
    const TChartAxis *left = f.chart.LeftAxis();
    const TChartAxis *bottom = f.chart.BottomAxis();
    const int midY = (left->Mapping().StartPixel + left->Mapping().EndPixel) / 2;
    EXPECT_TRUE(IsColor(image, left->Layout().AxisLinePos, midY, clBlue));
    EXPECT_EQ(left->Layout().AxisLinePos, f.chart.ChartRect().Left);

    const QColor background = ToQColor(f.chart.Color());
    // Left labels lie left of the labels band's inner edge, bottom labels below it.
    const TRect r = f.chart.ChartRect();
    EXPECT_GT(InkIn(image, TRect{0, r.Top - 5, left->Layout().LabelsPos, r.Bottom + 5}, background),
              0);
    // Between the labels and the axis line there are only the (red) ticks.
    const TRect tickBand{left->Layout().LabelsPos + 1, r.Top + 1, left->Layout().AxisLinePos - 2,
                         r.Bottom - 1};
    EXPECT_EQ(InkIn(image, tickBand, background, ToQColor(clRed)), 0);
    EXPECT_GT(InkIn(image, tickBand, background), 0);
    EXPECT_GT(
        InkIn(image, TRect{r.Left, bottom->Layout().LabelsPos, r.Right, ChartHeight}, background),
        0);
}

TEST(TCustomChartAxisInChart, RotatedBottomLabelsStayBelowTheAxis)
{
    FlatChart f;
    f.Ramp(11, 1000);
    TChartAxis *bottom = f.chart.BottomAxis();
    bottom->SetLabelsAngle(90);
    bottom->Ticks().SetVisible(false);
    f.chart.LeftAxis()->SetLabels(false);
    f.chart.LeftAxis()->Grid().SetVisible(false);
    bottom->Grid().SetVisible(false);
    const QImage image = f.Paint();
    const QColor background = ToQColor(f.chart.Color());
    const TRect r = f.chart.ChartRect();
    ASSERT_FALSE(bottom->Layout().PaintedLabels.empty());
    // Upright labels take a band as tall as the widest label.
    EXPECT_GT(ChartHeight - bottom->Layout().LabelsPos, 20);
    EXPECT_GT(InkIn(image,
                    TRect{r.Left - 10, bottom->Layout().LabelsPos, r.Right + 10, ChartHeight},
                    background),
              0);
    EXPECT_EQ(InkIn(image, TRect{r.Left + 3, r.Top + 1, r.Right - 3, r.Bottom - 3}, background), 0);
}

TEST(TCustomChartAxisInChart, FarSideLabelsLieOutside)
{
    FlatChart f;
    f.series->SetHorizAxis(aTopAxis);
    f.series->SetVertAxis(aRightAxis);
    f.Ramp(11, 10);
    TChartAxis *top = f.chart.TopAxis();
    TChartAxis *right = f.chart.RightAxis();
    top->Grid().SetVisible(false);
    right->Grid().SetVisible(false);
    right->Title().SetCaption(QStringLiteral("Right"));
    const QImage image = f.Paint();
    ASSERT_TRUE(f.chart.AxisShown(top));
    EXPECT_FALSE(f.chart.AxisShown(f.chart.BottomAxis()));
    const TRect r = f.chart.ChartRect();
    const QColor background = ToQColor(f.chart.Color());
    EXPECT_EQ(top->Layout().AxisLinePos, r.Top);
    EXPECT_EQ(right->Layout().AxisLinePos, r.Right);
    EXPECT_LT(top->Layout().LabelsPos, r.Top);
    EXPECT_GT(right->Layout().LabelsPos, r.Right);
    EXPECT_GT(right->Layout().TitlePos, right->Layout().LabelsPos);
    // Labels above the top axis and right of the right axis; nothing inside.
    EXPECT_GT(
        InkIn(image, TRect{r.Left - 10, 0, r.Right + 10, top->Layout().LabelsPos + 1}, background),
        0);
    EXPECT_GT(
        InkIn(image,
              TRect{right->Layout().LabelsPos, r.Top - 10, right->Layout().TitlePos, r.Bottom + 10},
              background),
        0);
    EXPECT_GT(
        InkIn(image, TRect{right->Layout().TitlePos, r.Top, ChartWidth, r.Bottom}, background), 0);
    EXPECT_EQ(InkIn(image, TRect{r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3}, background), 0);
}

TEST(TCustomChartAxisInChart, CustomLabelValues)
{
    FlatChart f;
    f.Ramp(101); // 0..100 on both axes
    std::vector<int> calls;
    f.chart.OnGetNextAxisLabel = [&](TCustomChartAxis *sender, int index, double &value,
                                     bool &stop) {
        if (sender != f.chart.LeftAxis())
            return; // Stop stays set: default labels
        calls.push_back(index);
        if (index == 0)
            stop = false;
        value = index * 30.0;
        if (index == 3)
            stop = true;
    };
    f.Paint();
    EXPECT_EQ(LabelTexts(*f.chart.LeftAxis()), (QStringList{"0", "30", "60"}));
    EXPECT_EQ(calls, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_FALSE(f.chart.BottomAxis()->Layout().PaintedLabels.empty());

    // A value outside the range ends the labels there.
    f.chart.OnGetNextAxisLabel = [&](TCustomChartAxis *, int index, double &value, bool &stop) {
        stop = false;
        value = index == 2 ? 500 : index * 10.0;
    };
    f.Paint();
    EXPECT_EQ(LabelTexts(*f.chart.LeftAxis()), (QStringList{"0", "10"}));

    // A handler that never stops is cut off after 2001 calls.
    int count = 0;
    f.chart.OnGetNextAxisLabel = [&](TCustomChartAxis *sender, int, double &value, bool &stop) {
        if (sender == f.chart.LeftAxis())
            ++count;
        stop = false;
        value = 50;
    };
    f.Paint();
    EXPECT_EQ(count, 2001);
}

TEST(TCustomChartAxisInChart, LabelTextHookAndMeasuredBand)
{
    FlatChart f;
    f.Ramp(11, 10);
    f.Paint();
    const int plainLeft = f.chart.ChartRect().Left;

    std::vector<int> indices;
    f.chart.OnGetAxisLabel = [&](TCustomChartAxis *sender, TChartSeries *series, int index,
                                 QString &text) {
        if (sender != f.chart.LeftAxis())
            return;
        EXPECT_EQ(series, nullptr);
        indices.push_back(index);
        text = QStringLiteral("a much longer label ") + text;
    };
    f.Paint();
    ASSERT_FALSE(f.chart.LeftAxis()->Layout().PaintedLabels.empty());
    EXPECT_TRUE(
        f.chart.LeftAxis()->Layout().PaintedLabels[0].Text.startsWith(QStringLiteral("a much")));
    EXPECT_EQ(indices.front(), -1);
    // The labels band is measured without the hook.
    EXPECT_EQ(f.chart.ChartRect().Left, plainLeft);
}

TEST(TCustomChartAxisInChart, PointLabelsSkipOverlaps)
{
    FlatChart f;
    for (int i = 0; i < 40; ++i)
        f.series->AppendPoint(i, QStringLiteral("point label %1").arg(i));
    f.Paint();
    const TChartAxis *bottom = f.chart.BottomAxis();
    EXPECT_EQ(bottom->ResolvedLabelStyle(), talText);
    const auto &labels = bottom->Layout().PaintedLabels;
    ASSERT_GE(labels.size(), 2u);
    EXPECT_LT(labels.size(), 40u); // forty long labels cannot fit 600 pixels
    EXPECT_EQ(labels[0].Text, QStringLiteral("point label 0"));
    TChartCanvas3D &canvas = f.chart.ChartCanvas();
    canvas.Font().CopyFrom(bottom->LabelsFont());
    for (size_t i = 1; i < labels.size(); ++i) {
        const int a = canvas.MeasureTextWidth(labels[i - 1].Text);
        const int b = canvas.MeasureTextWidth(labels[i].Text);
        EXPECT_GE(labels[i].Pos - labels[i - 1].Pos, a / 2 + b / 2) << i;
    }

    // Without separation every label is drawn.
    f.chart.BottomAxis()->SetLabelsSeparation(0);
    f.Paint();
    EXPECT_EQ(bottom->Layout().PaintedLabels.size(), 40u);
}

TEST(TCustomChartAxisInChart, DateTimeSeriesMakesDateLabels)
{
    FlatChart f;
    f.series->XValues()->SetDateTime(true);
    const double start = 46000;
    for (int i = 0; i < 90; ++i)
        f.series->AppendPointXY(start + i, i);
    f.chart.BottomAxis()->SetIncrement(30);
    f.Paint();
    const TChartAxis *bottom = f.chart.BottomAxis();
    EXPECT_TRUE(bottom->DateTimeMode());
    EXPECT_FALSE(f.chart.LeftAxis()->DateTimeMode());
    EXPECT_THROW(f.chart.BottomAxis()->SetLogarithmic(true), AxisException);
    ASSERT_FALSE(bottom->Layout().PaintedLabels.empty());
    // Calendar months: the labels are the firsts of the months in range, from
    // the top down.
    QStringList expected;
    QDate d = DateOfDateTime(bottom->Mapping().RangeMax);
    d.setDate(d.year(), d.month(), 1);
    while (DateToDateTime(d) >= bottom->Mapping().RangeMin) {
        expected << ShortDateText(DateToDateTime(d));
        d = d.addMonths(-1);
    }
    EXPECT_EQ(LabelTexts(*bottom), expected);
}

TEST(TCustomChartAxisInChart, ReadingTheStoredFormSkipsOrderChecks)
{
    TChart chart;
    chart.SetLoading(true);
    TChartAxis *left = chart.LeftAxis();
    left->SetAutomatic(false);
    left->SetMinimum(50); // above Maximum 0, accepted while loading
    EXPECT_EQ(left->Minimum(), 50);
    chart.SetLoading(false);
    EXPECT_THROW(left->SetMinimum(60), AxisException);
    EXPECT_EQ(left->Minimum(), 50);
}

TEST(TCustomChartAxisInChart, DepthAxisLabelsSeriesIn3D)
{
    FlatChart f;
    f.chart.SetView3D(true);
    f.series->SetTitle(QStringLiteral("Front"));
    f.Ramp(5, 10);
    TChartDepthAxis *depth = f.chart.DepthAxis();
    depth->SetVisible(true);
    f.Paint();
    ASSERT_TRUE(f.chart.AxisShown(depth));
    EXPECT_TRUE(depth->IsDepth());
    EXPECT_EQ(depth->ResolvedLabelStyle(), talText);
    // One series: the range -0.5..0.5 holds one slot, labelled with its title
    // in the middle of the depth.
    EXPECT_EQ(depth->Mapping().RangeMin, -0.5);
    EXPECT_EQ(depth->Mapping().RangeMax, 0.5);
    EXPECT_EQ(LabelTexts(*depth), (QStringList{"Front"}));
    EXPECT_EQ(depth->Layout().PaintedLabels[0].Pos, RoundToInt(f.chart.Width3D() * 0.5));
    // The side axes still convert with the 3D chart rectangle.
    EXPECT_GT(f.chart.Width3D(), 0);
    EXPECT_FALSE(f.chart.LeftAxis()->Layout().PaintedLabels.empty());
}

TEST(TCustomChartAxisInChart, MinorTicksBetweenAndBeyondTicks)
{
    FlatChart f;
    f.Ramp(11, 9); // 0..90
    TChartAxis *left = f.chart.LeftAxis();
    left->SetIncrement(20);
    left->SetLabelsSeparation(0);
    left->Grid().SetVisible(false);
    left->MinorTicks().SetColor(clRed);
    const QImage image = f.Paint();
    const std::vector<int> p = left->Layout().TickPositions; // 80, 60, ... 0 from the top
    ASSERT_EQ(p.size(), 5u);
    const int x = left->Layout().AxisLinePos - 2;
    // Three minor ticks split each gap in four; the spacing of the first gap
    // also places them above the top tick, inside the axis' span.
    const double delta = (p[1] - p[0]) / 4.0;
    std::vector<int> expected;
    for (int j = 1; j <= 3; ++j) {
        const int above = p[0] - static_cast<int>(std::nearbyint(j * delta));
        if (left->Mapping().StartPixel < above)
            expected.push_back(above);
    }
    for (size_t i = 1; i < p.size(); ++i)
        for (int j = 1; j <= 3; ++j)
            expected.push_back(p[i] -
                               static_cast<int>(std::nearbyint(j * (p[i] - p[i - 1]) / 4.0)));
    ASSERT_GE(expected.size(), 12u);
    for (int y : expected)
        EXPECT_TRUE(IsColor(image, x, y, clRed)) << y;
    // No minor tick on a major one.
    EXPECT_FALSE(IsColor(image, x, p[2], clRed));

    left->MinorTicks().SetVisible(false);
    const QImage plain = f.Paint();
    for (int y : expected)
        EXPECT_FALSE(IsColor(plain, x, y, clRed)) << y;
}
