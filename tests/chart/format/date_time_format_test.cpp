#include "chart/axis/axis_steps.h"
#include "chart/format/date_time_format.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace kov;

TEST(DateTimeValues, DaysSince1899)
{
    EXPECT_EQ(DateToDateTime(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(DateToDateTime(QDate(1900, 1, 1)), 2);
    EXPECT_EQ(DateToDateTime(QDate(2026, 12, 7)), 46363);
    EXPECT_EQ(DateOfDateTime(46363.75), QDate(2026, 12, 7));
    EXPECT_EQ(MillisecondsOfDateTime(46363.75), 18 * 3600 * 1000);
    EXPECT_DOUBLE_EQ(EncodeDateTime(QDate(2026, 12, 7), 18), 46363.75);
    // Negative values: the date counts back, the fraction is still the time.
    EXPECT_EQ(DateOfDateTime(-1.25), QDate(1899, 12, 29));
    EXPECT_EQ(MillisecondsOfDateTime(-1.25), 6 * 3600 * 1000);
    // A time that rounds up to midnight is the next day.
    EXPECT_EQ(DateOfDateTime(1.9999999999), QDate(1900, 1, 1));
    EXPECT_EQ(MillisecondsOfDateTime(1.9999999999), 0);
    EXPECT_FALSE(DateOfDateTime(std::nan("")).isValid());
    EXPECT_FALSE(DateOfDateTime(1e300).isValid());
}

TEST(DateTimeFormatting, PictureLetters)
{
    const QLocale c(QLocale::C);
    const double v = EncodeDateTime(QDate(2026, 3, 5), 14, 7, 9, 45);
    struct Case
    {
        const char *picture;
        const char *expected;
    };
    const Case cases[] = {
        {"yyyy-mm-dd", "2026-03-05"},
        {"d/m/yy", "5/3/26"},
        {"dd.mm.yyyy hh:nn:ss", "05.03.2026 14:07:09"},
        {"hh:mm", "14:07"}, // m right after an hour is minutes
        {"h:n:s.zzz", "14:7:9.045"},
        {"ddd d mmm", "Thu 5 Mar"},
        {"dddd, mmmm", "Thursday, March"},
        {"h:nn am/pm", "2:07 PM"},
        {"h a/p", "2 p"},
        {"'day' d \"of\" m", "day 5 of 3"},
    };
    for (const Case &k : cases)
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(k.picture), v, c), QString::fromUtf8(k.expected))
            << k.picture;
    EXPECT_TRUE(FormatDateTime(QStringLiteral("yyyy"), std::nan(""), c).isEmpty());
}

TEST(DateTimeFormatting, LocaleShortFormats)
{
    // "ddddd" and an empty picture give the locale's short date, "t" its
    // short time: the texts of two pinned locales.
    const double day = DateToDateTime(QDate(2026, 3, 5));
    const double v = EncodeDateTime(QDate(2026, 3, 5), 14, 7, 9, 45);
    struct Case
    {
        QLocale locale;
        const char *date;
        const char *time;
    };
    const Case cases[] = {
        {QLocale(QLocale::C), "5 Mar 2026", "14:07:09"},
        {QLocale(QLocale::German, QLocale::Germany), "05.03.26", "14:07"},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.locale.name().toStdString());
        EXPECT_EQ(FormatDateTime(QStringLiteral("ddddd"), v, k.locale), QString::fromUtf8(k.date));
        EXPECT_EQ(FormatDateTime(QString(), day, k.locale), QString::fromUtf8(k.date));
        EXPECT_EQ(ShortDateText(v, k.locale), QString::fromUtf8(k.date));
        EXPECT_EQ(ShortTimeText(v, k.locale), QString::fromUtf8(k.time));
    }
}

TEST(DateTimeFormatting, LocaleSeparators)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    const double v = EncodeDateTime(QDate(2026, 3, 5), 14, 7);
    EXPECT_EQ(FormatDateTime(QStringLiteral("dd/mm/yyyy hh:nn"), v, german),
              QStringLiteral("05.03.2026 14:07"));
}

TEST(AxisStepsNice, OneTwoFiveSequence)
{
    const double cases[][2] = {{1, 2},       {2, 5},         {5, 10},    {0.5, 1},   {1.5, 2},
                               {3, 5},       {7, 10},        {10, 20},   {20, 50},   {50, 100},
                               {0.02, 0.05}, {1e-12, 2e-12}, {250, 500}, {999, 1000}};
    for (const auto &c : cases)
        EXPECT_NEAR(NextNiceStep(c[0]), c[1], c[1] * 1e-12) << c[0];
}

TEST(AxisStepsTime, TableLookups)
{
    EXPECT_DOUBLE_EQ(TimeStepLength(dsOneSecond), 1.0 / 86400);
    EXPECT_DOUBLE_EQ(TimeStepLength(dsOneWeek), 7);
    EXPECT_DOUBLE_EQ(TimeStepLength(dsOneYear), 365);
    EXPECT_EQ(TimeStepLength(dsNone), 0);

    EXPECT_DOUBLE_EQ(NextTimeStep(1.0 / 86400), 5.0 / 86400);
    EXPECT_DOUBLE_EQ(NextTimeStep(0.3), 0.5);
    EXPECT_DOUBLE_EQ(NextTimeStep(30), 60);
    EXPECT_DOUBLE_EQ(NextTimeStep(182), 365);
    EXPECT_DOUBLE_EQ(NextTimeStep(200), 365);
    EXPECT_DOUBLE_EQ(NextTimeStep(1e-9), 365);

    EXPECT_EQ(MatchTimeStep(30), dsOneMonth);
    EXPECT_EQ(MatchTimeStep(1), dsOneDay);
    EXPECT_EQ(MatchTimeStep(1.0 / 24 + 0.5 / 86400), dsOneHour);
    EXPECT_EQ(MatchTimeStep(365), dsOneYear);
    EXPECT_EQ(MatchTimeStep(4), dsNone);
}

TEST(AxisStepsTime, RoundingToCalendarSteps)
{
    const double mar20 = EncodeDateTime(QDate(2026, 3, 20), 10);
    EXPECT_EQ(RoundToTimeStep(dsHalfMonth, mar20), DateToDateTime(QDate(2026, 3, 15)));
    EXPECT_EQ(RoundToTimeStep(dsHalfMonth, DateToDateTime(QDate(2026, 3, 14))),
              DateToDateTime(QDate(2026, 3, 1)));
    EXPECT_EQ(RoundToTimeStep(dsThreeMonths, mar20), DateToDateTime(QDate(2026, 3, 1)));
    EXPECT_EQ(RoundToTimeStep(dsOneYear, mar20), DateToDateTime(QDate(2026, 1, 1)));
    EXPECT_EQ(RoundToTimeStep(dsOneDay, mar20), DateToDateTime(QDate(2026, 3, 20)));
    EXPECT_EQ(RoundToTimeStep(dsOneMonth, 1.5), 1.5); // not after 1 January 1900
}

TEST(AxisStepsTime, CalendarStepsBack)
{
    auto day = [](int y, int m, int d) { return DateToDateTime(QDate(y, m, d)); };
    EXPECT_EQ(CalendarStepBack(dsHalfMonth, day(2026, 3, 20)), day(2026, 3, 15));
    EXPECT_EQ(CalendarStepBack(dsHalfMonth, day(2026, 3, 15)), day(2026, 3, 1));
    EXPECT_EQ(CalendarStepBack(dsHalfMonth, day(2026, 3, 2)), day(2026, 3, 1));
    EXPECT_EQ(CalendarStepBack(dsHalfMonth, day(2026, 1, 1)), day(2025, 12, 15));
    EXPECT_EQ(CalendarStepBack(dsOneMonth, day(2026, 3, 31) + 0.5), day(2026, 2, 1));
    EXPECT_EQ(CalendarStepBack(dsTwoMonths, day(2026, 1, 1)), day(2025, 11, 1));
    EXPECT_EQ(CalendarStepBack(dsSixMonths, day(2026, 6, 1)), day(2025, 12, 1));
    EXPECT_EQ(CalendarStepBack(dsSixMonths, day(2026, 7, 1)), day(2026, 1, 1));
    EXPECT_EQ(CalendarStepBack(dsOneYear, day(2026, 5, 9)), day(2025, 5, 9));
    // 29 February has no twin a year earlier.
    EXPECT_EQ(CalendarStepBack(dsOneYear, day(2024, 2, 29)), day(2023, 2, 28));
}
