#include "app/display_modes.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

using namespace kov;

TEST(DisplayModesColor, CountSizeClassesFollowRawByte)
{
    const std::array<std::pair<int, TColor>, 8> cases{{{0, clGreen},
                                                       {63, clGreen},
                                                       {64, clRed},
                                                       {65, clBlue},
                                                       {127, clBlue},
                                                       {128, clBlack},
                                                       {255, clBlack},
                                                       {10, clGreen}}};
    for (const auto &[v, colour] : cases)
        EXPECT_EQ(ColorForValue(dmCountSize, v), colour) << v;
}

TEST(DisplayModesColor, OtherModesColourBySignOfPercent)
{
    for (int mode : {dmNone, dmTimePower}) {
        EXPECT_EQ(ColorForValue(mode, 0), clRed);
        EXPECT_EQ(ColorForValue(mode, 1), clGreen);
        EXPECT_EQ(ColorForValue(mode, 127), clGreen);
        EXPECT_EQ(ColorForValue(mode, 128), clBlack);
        EXPECT_EQ(ColorForValue(mode, -1), clBlue);
        EXPECT_EQ(ColorForValue(mode, -146), clBlue);
    }
}

TEST(DisplayModesPower, PercentOfRawBytes)
{
    const std::map<int, int> cases{{0, 0},  {1, 2},   {21, 48},    {43, 100},   {44, 44}, {63, 63},
                                   {64, 0}, {65, -2}, {107, -100}, {127, -146}, {128, 0}, {255, 0}};
    for (const auto &[raw, percent] : cases)
        EXPECT_EQ(PowerPercent(raw), percent) << raw;
}

TEST(DisplayModesTime, LabelsHaveTwoDecimalsAndTheLocaleSeparator)
{
    const QLocale c(QLocale::C);
    EXPECT_EQ(TimeLabel(0, c), "0.01ms");
    EXPECT_EQ(TimeLabel(6, c), "0.08ms");
    EXPECT_EQ(TimeLabel(129, c), "1.50ms");
    EXPECT_EQ(TimeLabel(130, c), "1.51ms");
    EXPECT_EQ(TimeLabel(258, c), "2.99ms");
    EXPECT_EQ(TimeLabel(259, c), "3.00ms");
    EXPECT_EQ(TimeLabel(259, QLocale(QLocale::Russian)), "3,00ms");
    // Locales that write their own digits keep ASCII ones; only the separator
    // (U+066B, the Arabic decimal separator) comes from them.
    for (const QLocale &native :
         {QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Persian, QLocale::Iran)}) {
        ASSERT_NE(native.toString(1.5, 'f', 2), "1" + native.decimalPoint() + "50");
        EXPECT_EQ(TimeLabel(130, native), "1" + native.decimalPoint() + "51ms");
    }
}

namespace {

// Which table entry ends up on each point, applying entries in order.
std::map<int, int> Placement(int entryCount, int z)
{
    std::map<int, int> owner;
    for (int i = 0; i < entryCount; ++i) {
        const int j = TimePowerPoint(i, z);
        if (j >= 0)
            owner[j] = i;
    }
    return owner;
}

} // namespace

TEST(DisplayModesTime, ZeroCount175WrapsLowEntriesAndHidesAGap)
{
    const auto owner = Placement(256, 175);
    EXPECT_EQ(owner.at(130), 175);
    for (int i = 0; i <= 19; ++i)
        EXPECT_EQ(TimePowerPoint(i, 175), 210 + i) << i;
    for (int i = 20; i <= 44; ++i)
        EXPECT_EQ(TimePowerPoint(i, 175), -1) << i;
    for (int i = 45; i <= 255; ++i)
        EXPECT_EQ(TimePowerPoint(i, 175), i - 45) << i;
    EXPECT_EQ(owner.at(210), 255); // the later entry wins over entry 0
    EXPECT_EQ(owner.size(), 230u);
}

TEST(DisplayModesTime, ZeroCountsAtTheBounds)
{
    const auto zero = Placement(256, 0);
    EXPECT_EQ(zero.begin()->first, 130);
    EXPECT_EQ(zero.rbegin()->first, 256);
    EXPECT_EQ(zero.at(130), 0);
    EXPECT_EQ(zero.at(256), 126);

    const auto top = Placement(256, 255);
    EXPECT_EQ(top.at(130), 255); // entry 255 wins point 130 over entry 0
    EXPECT_EQ(top.at(229), 99);
    EXPECT_EQ(top.at(0), 125);
    EXPECT_EQ(top.count(230), 0u);
}

TEST(DisplayModesTime, EntriesCarryPercentAndColour)
{
    const std::array<std::uint8_t, 3> table{0, 43, 107};
    const auto entries = TimePowerEntries(table, 1);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Point, 129);
    EXPECT_EQ(entries[0].Percent, 0);
    EXPECT_EQ(entries[0].Color, clRed);
    EXPECT_EQ(entries[1].Percent, 100);
    EXPECT_EQ(entries[1].Color, clGreen);
    EXPECT_EQ(entries[2].Point, 131);
    EXPECT_EQ(entries[2].Percent, -100);
    EXPECT_EQ(entries[2].Color, clBlue);
}
