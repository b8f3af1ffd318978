#include "chart/axis/axis.h"
#include "chart/plot/axis_painter.h"

#include "chart/axis/axis_steps.h"
#include "chart/canvas/chart_canvas3d.h"
#include "chart/exceptions.h"
#include "chart/format/date_time_format.h"
#include "chart/format/number_format.h"

#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>

using namespace kov;

namespace {

// Line height of a font on the axis' measuring canvas.
int LineHeightOf(TCustomChartAxis &axis, const TFont &font)
{
    TChartCanvas3D &canvas = axis.PaintContext().Canvas;
    canvas.Font().CopyFrom(font);
    return canvas.TextLineHeight();
}

// The label increment that fits count labels into the axis' range.
double StepForCount(TCustomChartAxis &axis, int count)
{
    return TAxisPainter(axis, axis.PaintContext()).LabelStepForCount(count);
}

// The left axis of a chart: vertical, near side, fixed range.
void MakeLeftAxis(TCustomChartAxis &axis, double min, double max, int start, int end)
{
    axis.SetAutomatic(false);
    if (min > axis.Maximum()) {
        axis.SetMaximum(max);
        axis.SetMinimum(min);
    } else {
        axis.SetMinimum(min);
        axis.SetMaximum(max);
    }
    axis.RefreshRange();
    axis.Mapping().SetPixelSpan(start, end);
}

QStringList LabelTexts(const TCustomChartAxis &axis)
{
    QStringList texts;
    for (const auto &label : axis.Layout().PaintedLabels)
        texts << label.Text;
    return texts;
}

} // namespace

// ---------------------------------------------------------------------------
// Properties

TEST(TCustomChartAxisProperties, Defaults)
{
    TChartAxis axis;
    EXPECT_TRUE(axis.Automatic());
    EXPECT_TRUE(axis.AutomaticMaximum());
    EXPECT_TRUE(axis.AutomaticMinimum());
    EXPECT_EQ(axis.Axis().Width(), 2);
    EXPECT_EQ(axis.AxisValuesFormat(), QStringLiteral("#,##0.###"));
    EXPECT_FALSE(axis.IsAxisValuesFormatStored());
    EXPECT_TRUE(axis.DateTimeFormat().isEmpty());
    EXPECT_TRUE(axis.ExactDateTime());
    EXPECT_EQ(axis.Grid().Style(), psDot);
    EXPECT_EQ(axis.Grid().Color(), clGray);
    EXPECT_FALSE(axis.MinorGrid().Visible());
    EXPECT_EQ(axis.Ticks().Color(), clGray);
    EXPECT_EQ(axis.Increment(), 0);
    EXPECT_TRUE(axis.Labels());
    EXPECT_EQ(axis.LabelsSeparation(), 10);
    EXPECT_EQ(axis.LabelStyle(), talAuto);
    EXPECT_EQ(axis.LogarithmicBase(), 10);
    EXPECT_EQ(axis.MinorTickCount(), 3);
    EXPECT_EQ(axis.MinorTickLength(), 2);
    EXPECT_EQ(axis.EndPosition(), 100);
    EXPECT_TRUE(axis.RoundFirstLabel());
    EXPECT_EQ(axis.TickLength(), 4);
    EXPECT_TRUE(axis.TickOnLabelsOnly());
    EXPECT_TRUE(axis.Visible());
    EXPECT_FALSE(axis.IsLabelsFontStored());
    EXPECT_EQ(axis.LabelsFont().Name(), ChartFontName());

    TChartDepthAxis depth;
    EXPECT_FALSE(depth.Visible());
}

TEST(TCustomChartAxisProperties, RejectedValuesKeepTheOldOne)
{
    TChartAxis axis;
    auto expectAxisError = [](auto &&set, const char *message) {
        try {
            set();
            ADD_FAILURE() << "no exception for " << message;
        } catch (const AxisException &e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(message));
        }
    };
    axis.SetIncrement(2);
    expectAxisError([&] { axis.SetIncrement(-1); }, "Axis increment must be >= 0");
    EXPECT_EQ(axis.Increment(), 2);

    expectAxisError([&] { axis.SetLogarithmicBase(1); }, "Axis Logarithmic Base should be >= 2");
    EXPECT_EQ(axis.LogarithmicBase(), 10);
    axis.SetLogarithmicBase(2);
    EXPECT_EQ(axis.LogarithmicBase(), 2);

    expectAxisError([&] { axis.SetLabelsSeparation(-1); },
                    "Labels Separation % must be greater than 0");
    EXPECT_EQ(axis.LabelsSeparation(), 10);
    axis.SetLabelsSeparation(0);
    EXPECT_EQ(axis.LabelsSeparation(), 0);

    axis.SetAutomatic(false);
    axis.SetMaximum(10);
    expectAxisError([&] { axis.SetMinimum(11); }, "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(axis.Minimum(), 0);
    axis.SetMinimum(5);
    expectAxisError([&] { axis.SetMaximum(4); }, "Axis Maximum Value must be >= Minimum");
    EXPECT_EQ(axis.Maximum(), 10);

    axis.SetLabelsAngle(90);
    EXPECT_THROW(axis.SetLabelsAngle(360), ChartException);
    EXPECT_THROW(axis.SetLabelsAngle(-1), ChartException);
    EXPECT_EQ(axis.LabelsAngle(), 90);
    axis.SetLabelsAngle(359);

    axis.Title().SetAngle(270);
    EXPECT_THROW(axis.Title().SetAngle(400), ChartException);
    EXPECT_EQ(axis.Title().Angle(), 270);

    // A negative range end forbids the logarithmic scale.
    axis.SetMinimum(-5);
    expectAxisError([&] { axis.SetLogarithmic(true); },
                    "Logarithmic Axis Min and Max values should be >= 0");
    EXPECT_FALSE(axis.Logarithmic());

    TChartAxis dates;
    dates.SetDateTimeMode(true);
    expectAxisError([&] { dates.SetLogarithmic(true); }, "DateTime Axis cannot be Logarithmic");
    EXPECT_FALSE(dates.Logarithmic());
}

TEST(TCustomChartAxisProperties, AutomaticFlagsFollowEachOther)
{
    TChartAxis axis;
    axis.SetAutomaticMinimum(false);
    EXPECT_FALSE(axis.Automatic());
    EXPECT_TRUE(axis.AutomaticMaximum());
    // Turning one end back on restores Automatic only when the other is on.
    axis.SetAutomaticMaximum(false);
    axis.SetAutomaticMinimum(true);
    EXPECT_FALSE(axis.Automatic());
    axis.SetAutomaticMaximum(true);
    EXPECT_TRUE(axis.Automatic());

    axis.SetAutomatic(false);
    EXPECT_FALSE(axis.AutomaticMinimum());
    EXPECT_FALSE(axis.AutomaticMaximum());
    EXPECT_TRUE(axis.IsMinimumStored());
    axis.SetAutomatic(true);
    EXPECT_TRUE(axis.AutomaticMinimum());
    EXPECT_TRUE(axis.AutomaticMaximum());
}

TEST(TCustomChartAxisProperties, CopyFromTakesSettingsRangeAndTitle)
{
    TChartAxis source(nullptr, TAxisSide::Top);
    source.SetAutomatic(false);
    source.SetMaximum(50);
    source.SetMinimum(-5);
    source.RefreshRange();
    source.SetIncrement(5);
    source.SetInverted(true);
    source.Grid().SetColor(clRed);
    source.LabelsFont().SetSize(14);
    source.Title().SetCaption(QStringLiteral("Volts"));
    source.Title().SetAngle(45);
    source.SetStartPosition(10);

    TChartAxis copy;
    copy.CopyFrom(source);
    EXPECT_TRUE(copy.IsHorizontal());
    EXPECT_TRUE(copy.OnFarSide());
    EXPECT_FALSE(copy.Automatic());
    EXPECT_EQ(copy.Maximum(), 50);
    EXPECT_EQ(copy.Mapping().RangeMin, -5);
    EXPECT_EQ(copy.Mapping().RangeSize, 55);
    EXPECT_EQ(copy.Increment(), 5);
    EXPECT_TRUE(copy.Inverted());
    EXPECT_EQ(copy.Grid().Color(), clRed);
    EXPECT_EQ(copy.LabelsFont().Size(), 14);
    EXPECT_EQ(copy.StartPosition(), 10);
    EXPECT_EQ(copy.Title().Caption(), QStringLiteral("Volts"));
    EXPECT_EQ(copy.Title().Angle(), 45);
    // The copied title still belongs to its own axis.
    EXPECT_EQ(copy.Title().Axis(), &copy);
}

// ---------------------------------------------------------------------------
// Conversions

TEST(TCustomChartAxisConversion, WorkedLeftAxis)
{
    TChartAxis left;
    MakeLeftAxis(left, 0, 255, 20, 420);
    EXPECT_EQ(left.ValueToPos(100), 263);
    EXPECT_DOUBLE_EQ(left.PosToValue(263), 100.0875);
    EXPECT_EQ(left.PosToValue(420), 0);
    EXPECT_EQ(left.PosToValue(20), 255);
    EXPECT_GT(left.PosToValue(10), 255);
    EXPECT_EQ(left.ValueToPos(0), 420);
    EXPECT_EQ(left.ValueToPos(255), 20);
    EXPECT_EQ(left.Mapping().CenterPixel, 220);
}

TEST(TCustomChartAxisConversion, DirectionsOfLinearAxes)
{
    struct Case
    {
        bool horizontal;
        bool inverted;
        int posOfMax;
    };
    // Span 100..300, range 0..10: the maximum lies at the start or the end.
    const Case cases[] = {
        {true, false, 300}, {true, true, 100}, {false, false, 100}, {false, true, 300}};
    for (const Case &c : cases) {
        TChartAxis axis(nullptr, c.horizontal ? TAxisSide::Bottom : TAxisSide::Left);
        axis.SetInverted(c.inverted);
        MakeLeftAxis(axis, 0, 10, 100, 300);
        EXPECT_EQ(axis.ValueToPos(10), c.posOfMax) << c.horizontal << c.inverted;
        EXPECT_EQ(axis.ValueToPos(0), 400 - c.posOfMax) << c.horizontal << c.inverted;
        EXPECT_DOUBLE_EQ(axis.PosToValue(c.posOfMax), 10) << c.horizontal << c.inverted;
        EXPECT_DOUBLE_EQ(axis.PosToValue(200), 5);
        // A value five units past the maximum goes on beyond its end.
        EXPECT_EQ(axis.ValueToPos(15), c.posOfMax + (c.posOfMax == 300 ? 100 : -100));
        // The mapping handed out is a snapshot: it keeps converting as the
        // axis converted, whatever the axis is set to afterwards.
        const TAxisMapping map = axis.Mapping();
        axis.SetInverted(!c.inverted);
        axis.Mapping().SetRange(0, 1000);
        EXPECT_EQ(map.ValueToPos(10), c.posOfMax) << c.horizontal << c.inverted;
        EXPECT_DOUBLE_EQ(map.PosToValue(c.posOfMax), 10) << c.horizontal << c.inverted;
    }
}

TEST(TCustomChartAxisConversion, DegenerateRangesAndSpans)
{
    TChartAxis axis;
    MakeLeftAxis(axis, 7, 7, 20, 420);
    EXPECT_EQ(axis.Mapping().RangeSize, 0);
    EXPECT_EQ(axis.ValueToPos(7), 220);
    EXPECT_EQ(axis.ValueToPos(-1e300), 220);

    MakeLeftAxis(axis, 0, 1, 20, 420);
    // Too far outside to give a pixel: the centre.
    EXPECT_EQ(axis.ValueToPos(1e12), 220);
    EXPECT_EQ(axis.ValueToPos(std::nan("")), 220);

    axis.Mapping().SetPixelSpan(50, 50);
    EXPECT_EQ(axis.PosToValue(70), 0);
    axis.Mapping().SetPixelSpan(60, 50);
    EXPECT_EQ(axis.PosToValue(70), 0);

    // Extreme spans and positions never overflow into the other end.
    MakeLeftAxis(axis, 0, 1, -2000000000, 2000000000);
    EXPECT_EQ(axis.ValueToPos(0), 2000000000);
    EXPECT_GE(axis.ValueToPos(-0.5), 2000000000);
}

TEST(TCustomChartAxisConversion, Logarithmic)
{
    TChartAxis left;
    MakeLeftAxis(left, 1, 1000, 0, 300);
    left.SetLogarithmic(true);
    EXPECT_EQ(left.ValueToPos(1), 300);
    EXPECT_EQ(left.ValueToPos(10), 200);
    EXPECT_EQ(left.ValueToPos(100), 100);
    EXPECT_EQ(left.ValueToPos(1000), 0);
    EXPECT_EQ(left.ValueToPos(0), 300); // smallest values at the bottom
    EXPECT_EQ(left.ValueToPos(-5), 300);
    EXPECT_NEAR(left.PosToValue(100), 100, 1e-9);
    EXPECT_EQ(left.PosToValue(0), 1000);
    EXPECT_EQ(left.PosToValue(300), 1);

    TChartAxis top(nullptr, TAxisSide::Top);
    top.SetInverted(true);
    MakeLeftAxis(top, 1, 1000, 0, 300);
    top.SetLogarithmic(true);
    EXPECT_EQ(top.ValueToPos(1000), 0);
    EXPECT_EQ(top.ValueToPos(10), 200);
    EXPECT_EQ(top.ValueToPos(0), 300);
    EXPECT_EQ(top.PosToValue(0), 1000);
    EXPECT_EQ(top.PosToValue(300), 1);
    EXPECT_NEAR(top.PosToValue(200), 10, 1e-9);

    // A range whose ends have equal logarithms maps to the centre.
    MakeLeftAxis(left, 1, 1, 0, 300);
    EXPECT_EQ(left.ValueToPos(1), 150);
    EXPECT_EQ(left.PosToValue(100), 1);
}

TEST(TCustomChartAxisConversion, DepthValues)
{
    TChartDepthAxis depth;
    MakeLeftAxis(depth, 0, 4, 0, 100);
    // Without a chart the 3D depth is 0.
    EXPECT_EQ(depth.Mapping().DepthValueToPos(2), 0);
    EXPECT_EQ(depth.ValueToPos(2), 0);
}

TEST(TCustomChartAxisConversion, FitToPixelMarginsWidensTheRange)
{
    TChartAxis left;
    MakeLeftAxis(left, 0, 100, 0, 200);
    left.FitToPixelMargins(TRect{0, 10, 0, 10});
    EXPECT_EQ(left.Mapping().StartPixel, 0);
    EXPECT_EQ(left.Mapping().EndPixel, 200);
    // 100 units on 180 pixels: 10 pixels are 5.5556 units at each end.
    EXPECT_NEAR(left.Mapping().RangeMin, -100.0 / 18, 1e-9);
    EXPECT_NEAR(left.Mapping().RangeMax, 100 + 100.0 / 18, 1e-9);
    EXPECT_EQ(left.Minimum(), 0);
    EXPECT_EQ(left.ValueToPos(0), 190);
    EXPECT_EQ(left.ValueToPos(100), 10);

    TChartAxis bottom(nullptr, TAxisSide::Bottom);
    MakeLeftAxis(bottom, 0, 100, 0, 200);
    bottom.FitToPixelMargins(TRect{20, 0, 0, 0});
    EXPECT_NEAR(bottom.Mapping().RangeMin, -100.0 / 9, 1e-9);
    EXPECT_NEAR(bottom.Mapping().RangeMax, 100, 1e-9);
}

// ---------------------------------------------------------------------------
// Steps

TEST(TCustomChartAxisSteps, WorkedStepOnTheLeftAxis)
{
    // Left axis over 0..255 on pixels 20..420. With a 13-pixel line the
    // labels need 13 + round(1.3) = 14 pixels, so 29 fit and the step is 10.
    // The fonts installed decide the line height; the expectation follows it.
    TChartAxis left;
    MakeLeftAxis(left, 0, 255, 20, 420);
    const int h = LineHeightOf(left, left.LabelsFont());
    const int count = static_cast<int>(std::nearbyint(400.0 / (h + std::nearbyint(h * 0.1))));
    double expectedStep = 0;
    for (double step : {1, 2, 5, 10, 20, 50, 100, 200, 500}) {
        if (std::nearbyint(255 / step) <= count) {
            expectedStep = step;
            break;
        }
    }
    EXPECT_EQ(left.ComputeLabelStep(), expectedStep) << "line height " << h;
    if (h >= 10 && h <= 14) { // 13 among them
        EXPECT_EQ(expectedStep, 10);
    }

    left.PaintAxis(false);
    if (expectedStep == 10) {
        QStringList expected;
        for (int v = 250; v >= 0; v -= 10)
            expected << QString::number(v);
        EXPECT_EQ(LabelTexts(left), expected);
    }
    ASSERT_FALSE(left.Layout().PaintedLabels.empty());
    EXPECT_EQ(left.Layout().PaintedLabels.back().Text, QStringLiteral("0"));
    EXPECT_EQ(left.Layout().PaintedLabels.back().Pos, 420);
    // One tick per label, in label order.
    ASSERT_EQ(left.Layout().TickPositions.size(), left.Layout().PaintedLabels.size());
    EXPECT_EQ(left.Layout().TickPositions[1],
              left.ValueToPos(255 - std::fmod(255, expectedStep) - expectedStep));
}

TEST(TCustomChartAxisSteps, StepForCount)
{
    TChartAxis axis;
    MakeLeftAxis(axis, 0, 255, 20, 420);
    EXPECT_EQ(StepForCount(axis, 29), 10);
    EXPECT_EQ(StepForCount(axis, 255), 1);
    EXPECT_EQ(StepForCount(axis, 0), 1e-12);
    // The wished increment is the start of the search.
    axis.SetIncrement(1);
    EXPECT_EQ(StepForCount(axis, 300), 1);
    EXPECT_EQ(StepForCount(axis, 60), 5);
    axis.SetIncrement(3);
    EXPECT_EQ(StepForCount(axis, 100), 3);
    EXPECT_EQ(StepForCount(axis, 50), 10);
    // Without separation the step is never raised.
    axis.SetLabelsSeparation(0);
    EXPECT_EQ(StepForCount(axis, 2), 3);
    axis.SetIncrement(0);
    EXPECT_EQ(StepForCount(axis, 2), 1);

    // Small ranges start from the smallest step.
    MakeLeftAxis(axis, 0, 0.05, 0, 100);
    axis.SetLabelsSeparation(10);
    EXPECT_NEAR(StepForCount(axis, 5), 0.01, 1e-15);
}

TEST(TCustomChartAxisSteps, DateTimeStepForCount)
{
    TChartAxis axis;
    axis.SetDateTimeMode(true);
    MakeLeftAxis(axis, 0, 1, 0, 100); // one day
    EXPECT_DOUBLE_EQ(StepForCount(axis, 24), 1.0 / 24);
    EXPECT_DOUBLE_EQ(StepForCount(axis, 4), 0.25);
    EXPECT_DOUBLE_EQ(StepForCount(axis, 0), OneSecond);
    MakeLeftAxis(axis, 0, 3650, 0, 100); // ten years
    EXPECT_DOUBLE_EQ(StepForCount(axis, 10), 365);
    EXPECT_DOUBLE_EQ(StepForCount(axis, 5), 730);
}

TEST(TCustomChartAxisSteps, NonFiniteRangesDoNotHang)
{
    TChartAxis axis;
    MakeLeftAxis(axis, 0, 1, 0, 100);
    axis.Mapping().SetRange(0, std::nan(""));
    EXPECT_GT(axis.ComputeLabelStep(), 0);
    axis.Mapping().SetRange(-HUGE_VAL, HUGE_VAL);
    EXPECT_GT(axis.ComputeLabelStep(), 0);
    axis.PaintAxis(false);
    axis.SetDateTimeMode(true);
    axis.Mapping().SetRange(0, HUGE_VAL);
    EXPECT_GT(axis.ComputeLabelStep(), 0);
    axis.PaintAxis(false);

    // Logarithmic labels up to an infinite or from a vanishing end stop.
    TChartAxis log;
    MakeLeftAxis(log, 1, 10, 0, 100);
    log.SetLogarithmic(true);
    log.Mapping().SetRange(1, HUGE_VAL);
    log.PaintAxis(false);
    EXPECT_LT(log.Layout().PaintedLabels.size(), 400u);
    log.Mapping().SetRange(1e-320, 10);
    log.PaintAxis(false);
    EXPECT_LT(log.Layout().PaintedLabels.size(), 400u);
}

// ---------------------------------------------------------------------------
// Labels

TEST(TCustomChartAxisLabels, LogarithmicFromZero)
{
    TChartAxis left;
    MakeLeftAxis(left, 0, 1000, 0, 400);
    left.SetLogarithmic(true);
    left.PaintAxis(false);
    EXPECT_EQ(LabelTexts(left), (QStringList{"0.1", "1", "10", "100", "1,000"}));
    EXPECT_EQ(left.Mapping().RangeMin, 0.1);
    // Conversions after the paint use the substituted minimum.
    EXPECT_EQ(left.ValueToPos(0.1), 400);

    MakeLeftAxis(left, 5, 1000, 0, 400);
    left.PaintAxis(false);
    EXPECT_EQ(LabelTexts(left), (QStringList{"10", "100", "1,000"}));

    MakeLeftAxis(left, 1, 64, 0, 400);
    left.SetLogarithmicBase(2);
    left.PaintAxis(false);
    EXPECT_EQ(LabelTexts(left), (QStringList{"1", "2", "4", "8", "16", "32", "64"}));
}

TEST(TCustomChartAxisLabels, EqualValuesLabelTheCentre)
{
    TChartAxis left;
    MakeLeftAxis(left, 42, 42, 20, 420);
    left.PaintAxis(false);
    // The tiny default step gives a few coinciding labels, all "42" at the
    // centre.
    ASSERT_FALSE(left.Layout().PaintedLabels.empty());
    for (const auto &label : left.Layout().PaintedLabels) {
        EXPECT_EQ(label.Text, QStringLiteral("42"));
        EXPECT_EQ(label.Pos, 220);
    }
}

TEST(TCustomChartAxisLabels, LabelsOnAxisAndTicksWithoutLabels)
{
    TChartAxis left;
    MakeLeftAxis(left, 0, 10, 0, 100);
    left.SetIncrement(5);
    left.SetLabelsOnAxis(false);
    left.PaintAxis(false);
    EXPECT_EQ(LabelTexts(left), (QStringList{"5"}));

    // Without labels, ticks come only from TickOnLabelsOnly being off.
    left.SetLabelsOnAxis(true);
    left.SetLabels(false);
    left.PaintAxis(false);
    EXPECT_TRUE(left.Layout().PaintedLabels.empty());
    EXPECT_TRUE(left.Layout().TickPositions.empty());
    left.SetTickOnLabelsOnly(false);
    left.PaintAxis(false);
    EXPECT_EQ(left.Layout().TickPositions, (std::vector<int>{0, 50, 100}));
}

TEST(TCustomChartAxisLabels, RoundFirstLabelOff)
{
    TChartAxis left;
    MakeLeftAxis(left, 0, 23, 0, 230);
    left.SetIncrement(5);
    left.SetRoundFirstLabel(false);
    left.PaintAxis(false);
    EXPECT_EQ(LabelTexts(left), (QStringList{"23", "18", "13", "8", "3"}));
}

TEST(TCustomChartAxisLabels, GenerationIsBounded)
{
    TChartAxis left;
    MakeLeftAxis(left, 0, 1e6, 0, 100);
    left.SetIncrement(1);
    left.SetLabelsSeparation(0);
    left.PaintAxis(false); // 1e6 steps: no labels at all
    EXPECT_TRUE(left.Layout().PaintedLabels.empty());

    // Steps below the resolution of huge values end the labels instead of
    // repeating one value for ever.
    MakeLeftAxis(left, 1e20, 1e20 + 1e5, 0, 100);
    left.SetIncrement(100); // one ulp of 1e20 is 16384
    left.SetRoundFirstLabel(false);
    left.PaintAxis(false);
    EXPECT_LE(left.Layout().PaintedLabels.size(), 1u);

    // Tick positions stop at 2000, labels go on.
    MakeLeftAxis(left, 0, 2500, 0, 100000);
    left.SetIncrement(1);
    left.SetLabelsSeparation(0);
    left.PaintAxis(false);
    EXPECT_EQ(left.Layout().PaintedLabels.size(), 2501u);
    EXPECT_EQ(left.Layout().TickPositions.size(), 2000u);
}

TEST(TCustomChartAxisLabels, FormatLabel)
{
    TChartAxis axis;
    MakeLeftAxis(axis, 0, 10, 0, 100);
    axis.SetAxisValuesFormat(QStringLiteral("0.00"));
    EXPECT_EQ(axis.FormatLabel(2.5), FormatFloat(QStringLiteral("0.00"), 2.5));
    axis.SetLabelsMultiLine(true);
    axis.SetAxisValuesFormat(QStringLiteral("0 'V x'"));
    EXPECT_EQ(axis.FormatLabel(3), QStringLiteral("3\rV\rx"));

    axis.SetLabelsMultiLine(false);
    axis.SetDateTimeMode(true);
    const double day = EncodeDateTime(QDate(2026, 3, 5), 14, 30);
    EXPECT_TRUE(axis.FormatLabel(-1).isEmpty());
    // Over more than a day: the short date; within a day: the short time.
    EXPECT_EQ(axis.FormatLabel(day), ShortDateText(day));
    MakeLeftAxis(axis, day, day + 0.5, 0, 100);
    EXPECT_EQ(axis.FormatLabel(day), ShortTimeText(day));
    axis.SetDateTimeFormat(QStringLiteral("yyyy-mm-dd hh:nn"));
    EXPECT_EQ(axis.FormatLabel(day), QStringLiteral("2026-03-05 14:30"));
}

TEST(TCustomChartAxisLabels, CalendarMonthsOnADateAxis)
{
    TChartAxis bottom(nullptr, TAxisSide::Bottom);
    bottom.SetDateTimeMode(true);
    const double from = DateToDateTime(QDate(2026, 1, 10));
    const double to = EncodeDateTime(QDate(2026, 4, 20), 12);
    MakeLeftAxis(bottom, from, to, 0, 2000);
    bottom.SetIncrement(30);
    bottom.PaintAxis(false);
    QStringList expected;
    for (int month : {4, 3, 2})
        expected << ShortDateText(DateToDateTime(QDate(2026, month, 1)));
    EXPECT_EQ(LabelTexts(bottom), expected);

    // Without ExactDateTime the labels are plain 30-day steps from the top.
    bottom.SetExactDateTime(false);
    bottom.SetRoundFirstLabel(false);
    bottom.PaintAxis(false);
    ASSERT_FALSE(bottom.Layout().PaintedLabels.empty());
    EXPECT_EQ(bottom.Layout().PaintedLabels[0].Text, ShortDateText(to));
    EXPECT_EQ(bottom.Layout().PaintedLabels[1].Text, ShortDateText(to - 30));
}

TEST(TCustomChartAxisLabels, CalendarStepsAcrossYears)
{
    TChartAxis bottom(nullptr, TAxisSide::Bottom);
    bottom.SetDateTimeMode(true);
    bottom.SetDateTimeFormat(QStringLiteral("yyyy-mm-dd"));
    MakeLeftAxis(bottom, DateToDateTime(QDate(2025, 11, 20)), DateToDateTime(QDate(2026, 2, 3)), 0,
                 4000);
    bottom.SetIncrement(15);
    bottom.PaintAxis(false);
    EXPECT_EQ(LabelTexts(bottom),
              (QStringList{"2026-02-01", "2026-01-15", "2026-01-01", "2025-12-15", "2025-12-01"}));
}

// ---------------------------------------------------------------------------
// Layout and mouse support

TEST(TCustomChartAxisLayout, ReserveSpaceOnTheLeft)
{
    TChartAxis left;
    MakeLeftAxis(left, 0, 255, 20, 420);
    left.Title().SetCaption(QStringLiteral("Power"));
    const int titleBand = LineHeightOf(left, left.Title().Font()); // runs along the axis
    TChartCanvas3D &canvas = left.PaintContext().Canvas;
    canvas.Font().CopyFrom(left.LabelsFont());
    const int labelsBand = left.MaxLabelExtent();
    // The widest of the rounded end labels (0 and the top multiple of the
    // step) plus a space.
    const double step = left.ComputeLabelStep();
    const QString top = QString::number(std::trunc(255 / step) * step);
    EXPECT_EQ(labelsBand,
              canvas.MeasureTextWidth(top) + canvas.MeasureTextWidth(QStringLiteral(" ")));

    TRect rect{100, 50, 500, 400};
    left.ReserveSpace(rect, true);
    const int ticks = 2 + 4; // axis pen width and tick length
    EXPECT_EQ(rect.Left, 100 + titleBand + labelsBand + ticks);
    EXPECT_EQ(rect.Top, 50);
    EXPECT_EQ(rect.Right, 500);
    EXPECT_EQ(left.Layout().TitlePos, 100 + titleBand);
    EXPECT_EQ(left.Layout().LabelsPos, 100 + titleBand + labelsBand);

    // Without shrinking, the bands are laid outward from the edge.
    TRect same{100, 50, 500, 400};
    left.ReserveSpace(same, false);
    EXPECT_EQ(same, (TRect{100, 50, 500, 400}));
    EXPECT_EQ(left.Layout().AxisLinePos, 100);
    EXPECT_EQ(left.Layout().LabelsPos, 100 - ticks);
    EXPECT_EQ(left.Layout().TitlePos, 100 - ticks - labelsBand);

    // Fixed sizes replace the measured bands; PositionPercent moves inward.
    left.SetTitleSize(7);
    left.SetLabelsSize(30);
    left.SetPositionPercent(10);
    TRect fixed{0, 0, 200, 100};
    left.ReserveSpace(fixed, true);
    EXPECT_EQ(fixed.Left, 7 + 30 + ticks);
    EXPECT_EQ(left.Layout().TitlePos, 7 + 16); // 10 % of the remaining width, rounded
    EXPECT_EQ(left.Layout().LabelsPos, 37 + 16);

    // Repeated layouts without labels or title keep their positions.
    left.SetLabels(false);
    left.Title().SetCaption(QString());
    for (int i = 0; i < 3; ++i) {
        TRect r{0, 0, 200, 100};
        left.ReserveSpace(r, true);
    }
    EXPECT_EQ(left.Layout().LabelsPos, 0 + 19);
}

TEST(TCustomChartAxisLayout, ReserveSpaceOnEachSide)
{
    struct Case
    {
        bool horizontal;
        bool far;
        TRect expected;
    };
    // Only ticks (no labels, no title): 6 pixels at the axis' side.
    const Case cases[] = {{true, false, {0, 0, 100, 94}},
                          {true, true, {0, 6, 100, 100}},
                          {false, false, {6, 0, 100, 100}},
                          {false, true, {0, 0, 94, 100}}};
    for (const Case &c : cases) {
        const TAxisSide side = c.horizontal ? (c.far ? TAxisSide::Top : TAxisSide::Bottom)
                                            : (c.far ? TAxisSide::Right : TAxisSide::Left);
        TChartAxis axis(nullptr, side);
        axis.SetLabels(false);
        TRect rect{0, 0, 100, 100};
        axis.ReserveSpace(rect, true);
        EXPECT_EQ(rect, c.expected) << c.horizontal << c.far;
    }
}

TEST(TCustomChartAxisMouse, ContainsPoint)
{
    // Both axes' lines on the edges of a 100..500 chart rectangle, their
    // labels 30 pixels (the tick space) outside.
    const auto placeBeside = [](TCustomChartAxis &axis) {
        axis.Axis().SetVisible(false);
        axis.SetTickLength(30);
        TRect rect{100, 0, 500, 400};
        axis.ReserveSpace(rect, false);
    };
    TChartAxis left;
    MakeLeftAxis(left, 0, 10, 20, 420);
    placeBeside(left);
    ASSERT_EQ(left.Layout().AxisLinePos, 100);
    ASSERT_EQ(left.Layout().LabelsPos, 70);
    EXPECT_TRUE(left.ContainsPoint(70, 20));
    EXPECT_TRUE(left.ContainsPoint(102, 419));
    EXPECT_FALSE(left.ContainsPoint(103, 200));
    EXPECT_FALSE(left.ContainsPoint(69, 200));
    EXPECT_FALSE(left.ContainsPoint(80, 420));
    EXPECT_FALSE(left.ContainsPoint(80, 19));

    TChartAxis right(nullptr, TAxisSide::Right);
    MakeLeftAxis(right, 0, 10, 20, 420);
    placeBeside(right);
    ASSERT_EQ(right.Layout().LabelsPos, 530);
    EXPECT_TRUE(right.ContainsPoint(497, 100));
    EXPECT_FALSE(right.ContainsPoint(530, 100));
    right.SetVisible(false);
    EXPECT_FALSE(right.ContainsPoint(510, 100));
}

TEST(TCustomChartAxisMouse, FixAndShiftRange)
{
    TChartAxis axis;
    axis.FixRange(30, 10);
    EXPECT_FALSE(axis.Automatic());
    EXPECT_FALSE(axis.AutomaticMinimum());
    EXPECT_FALSE(axis.AutomaticMaximum());
    EXPECT_EQ(axis.Minimum(), 10);
    EXPECT_EQ(axis.Maximum(), 30);
    axis.FixRange(5, 5);
    EXPECT_EQ(axis.Minimum(), 5);
    EXPECT_DOUBLE_EQ(axis.Maximum(), 5 + 1e-10);
    axis.FixRange(std::nan(""), 3);
    EXPECT_EQ(axis.Minimum(), 5);

    TChartAxis shifted;
    shifted.SetAutomatic(false);
    shifted.SetMaximum(10);
    shifted.ShiftRange(2.5, false);
    EXPECT_EQ(shifted.Minimum(), 2.5);
    EXPECT_EQ(shifted.Maximum(), 12.5);
    // With limits, the shift needs data beyond the range (none here: 0).
    shifted.ShiftRange(1, true);
    EXPECT_EQ(shifted.Maximum(), 12.5);
    shifted.ShiftRange(-1, true); // the data extreme 0 lies below 2.5
    EXPECT_EQ(shifted.Minimum(), 1.5);
    shifted.FixRange(-10, -5);
    shifted.ShiftRange(1, true); // the data extreme 0 lies above -5
    EXPECT_EQ(shifted.Maximum(), -4);
}

// A range near the limits of a double maps values to pixels and back like
// any other: the intermediate product must not overflow.
TEST(TCustomChartAxisConversions, RangesNearTheLimitsOfADouble)
{
    TChartAxis axis;
    MakeLeftAxis(axis, -1e308, 0, 0, 1000);
    EXPECT_EQ(axis.ValueToPos(-7.5e307), 750);
    EXPECT_EQ(axis.ValueToPos(-1e308), 1000);
    EXPECT_EQ(axis.ValueToPos(0), 0);
    EXPECT_NEAR(axis.PosToValue(750), -7.5e307, 1e293);
    EXPECT_NEAR(axis.PosToValue(1000), -1e308, 1e293);
    for (int pos = 0; pos <= 1000; pos += 125)
        EXPECT_EQ(axis.ValueToPos(axis.PosToValue(pos)), pos);
}
