#include "chart/axis/axis_labels.h"
#include "chart/format/date_time_format.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kov;

// The label rules without an axis: what a paint of the given range would
// label, as plain values.

TEST(AxisLabels, CountOfLabelsThatFit)
{
    TAxisSettings axis;
    axis.LabelsSeparation = 0;
    EXPECT_EQ(LabelCount(axis, 400, 0), 1) << "nothing to measure";
    EXPECT_EQ(LabelCount(axis, 400, 40), 10);
    axis.LabelsSeparation = 50;
    EXPECT_EQ(LabelCount(axis, 400, 40), 7) << "40 grows by 20 to 60: 6.67 labels";
    EXPECT_EQ(LabelCount(axis, 10, 40), 0);
}

TEST(AxisLabels, SteppedValuesRunFromTheTopDown)
{
    TAxisSettings axis;
    std::vector<double> values{42};
    SteppedLabelValues(axis, false, 0, 10, 2, dsNone, values);
    EXPECT_EQ(values, (std::vector<double>{10, 8, 6, 4, 2, 0}));

    // Without rounding the first label is the top of the range.
    axis.RoundFirstLabel = false;
    SteppedLabelValues(axis, false, 0.5, 9.5, 2, dsNone, values);
    EXPECT_EQ(values, (std::vector<double>{9.5, 7.5, 5.5, 3.5, 1.5}));

    // Too many steps over the range: no labels at all.
    SteppedLabelValues(axis, false, 0, 1e6, 1, dsNone, values);
    EXPECT_TRUE(values.empty());
}

TEST(AxisLabels, SteppedDatesFollowTheCalendar)
{
    TAxisSettings axis;
    axis.Increment = 30;
    const double from = DateToDateTime(QDate(2024, 1, 10));
    const double to = DateToDateTime(QDate(2024, 4, 20));
    const TTimeStep month = LabelTimeStep(axis, true, 30);
    ASSERT_EQ(month, dsOneMonth);
    EXPECT_EQ(LabelTimeStep(axis, false, 30), dsNone) << "numbers have no date step";
    std::vector<double> values;
    SteppedLabelValues(axis, true, from, to, 30, month, values);
    EXPECT_EQ(values, (std::vector<double>{DateToDateTime(QDate(2024, 4, 1)),
                                           DateToDateTime(QDate(2024, 3, 1)),
                                           DateToDateTime(QDate(2024, 2, 1))}));

    // Yearly calendar steps over far more years than labels fit: none at
    // all, as for any step that would give too many, instead of one label a
    // year piled onto the same few pixels.
    const double wide = 1e7 * 365;
    const TTimeStep year = LabelTimeStep(axis, true, wide / 10);
    ASSERT_EQ(year, dsOneYear);
    SteppedLabelValues(axis, true, -wide, 0, wide / 10, year, values);
    EXPECT_TRUE(values.empty());
    // Fewer years than that are each labelled.
    SteppedLabelValues(axis, true, DateToDateTime(QDate(1990, 6, 1)),
                       DateToDateTime(QDate(2000, 6, 1)), 400, year, values);
    EXPECT_EQ(values.size(), 10u);
    EXPECT_EQ(values.front(), DateToDateTime(QDate(2000, 1, 1)));
}

TEST(AxisLabels, LogarithmicValuesStartAboveZero)
{
    TAxisSettings axis;
    std::vector<double> values;
    EXPECT_EQ(LogarithmicLabelValues(axis, 3, 2000, values), 3);
    EXPECT_EQ(values, (std::vector<double>{10, 100, 1000}));
    // A range from 0 starts at 0.1, which the axis then keeps.
    EXPECT_EQ(LogarithmicLabelValues(axis, 0, 100, values), 0.1);
    EXPECT_EQ(values, (std::vector<double>{0.1, 1, 10, 100}));
    EXPECT_EQ(LogarithmicLabelValues(axis, -5, 1, values), 1e-10);
    EXPECT_EQ(LogarithmicLabelValues(axis, 5, 5, values), 5);
    EXPECT_TRUE(values.empty());
}

TEST(AxisLabels, ValueTexts)
{
    TAxisSettings axis;
    axis.AxisValuesFormat = QStringLiteral("0.0");
    EXPECT_EQ(ValueLabelText(axis, false, 10, 2.25), QStringLiteral("2.3"));
    const double noon = DateToDateTime(QDate(2024, 5, 6)) + 0.5;
    EXPECT_EQ(ValueLabelText(axis, true, 10, noon), ShortDateText(noon));
    EXPECT_EQ(ValueLabelText(axis, true, 0.5, noon), ShortTimeText(noon));
    EXPECT_TRUE(ValueLabelText(axis, true, 10, -1).isEmpty());
    axis.DateTimeFormat = QStringLiteral("yyyy");
    EXPECT_EQ(ValueLabelText(axis, true, 10, noon), QStringLiteral("2024"));
}
