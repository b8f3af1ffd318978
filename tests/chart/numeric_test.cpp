#include "chart/color.h"
#include "chart/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kov;

TEST(Numeric, RoundingHalvesGoToEven)
{
    EXPECT_EQ(RoundToInt(2.5), 2);
    EXPECT_EQ(RoundToInt(3.5), 4);
    EXPECT_EQ(RoundToInt(-2.5), -2);
    EXPECT_EQ(RoundToInt(-3.5), -4);
    EXPECT_EQ(RoundToInt(262.9), 263);
}

TEST(Numeric, TruncationGoesTowardZero)
{
    EXPECT_EQ(TruncToInt(70.8), 70);
    EXPECT_EQ(TruncToInt(-0.6), 0);
    EXPECT_EQ(TruncToInt(-1.9), -1);
}

TEST(Numeric, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(950, 3, 100), 29);   // 28.5 -> 29
    EXPECT_EQ(MulDiv(510, 4, 100), 20);   // 20.4 -> 20
    EXPECT_EQ(MulDiv(-950, 3, 100), -29); // -28.5 -> -29
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000); // no 32-bit overflow
}

TEST(Numeric, SaturatedArithmeticHoldsAtTheIntRange)
{
    constexpr int Max = std::numeric_limits<int>::max();
    constexpr int Min = std::numeric_limits<int>::min();
    EXPECT_EQ(SaturatedRound(2.5), 2);
    EXPECT_EQ(SaturatedRound(-3.5), -4);
    EXPECT_EQ(SaturatedRound(1e300), Max);
    EXPECT_EQ(SaturatedRound(-1e300), Min);
    EXPECT_EQ(SaturatedRound(std::nan("")), 0);
    EXPECT_EQ(SaturatedAdd(Max, 1), Max);
    EXPECT_EQ(SaturatedAdd(Min, -1), Min);
    EXPECT_EQ(SaturatedSub(Min, 1), Min);
    EXPECT_EQ(SaturatedSub(0, Min), Max);
    EXPECT_EQ(SaturatedSub(10, 3), 7);
    EXPECT_TRUE(FitsInt(-2147483646.0));
    EXPECT_FALSE(FitsInt(2147483647.0));
    EXPECT_FALSE(FitsInt(std::nan("")));
    EXPECT_FALSE(FitsInt(INFINITY));
}

TEST(Color, ConversionsKeepChannelsAndTreatSpecialValuesAsTransparent)
{
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(ToQColor(0xFF8000), QColor(0, 0x80, 0xFF));
    EXPECT_EQ(ToQColor(clNone).alpha(), 0);
    EXPECT_EQ(ToQColor(clDefault).alpha(), 0);
    EXPECT_EQ(FromQColor(QColor(1, 2, 3)), RGBColor(1, 2, 3));
    EXPECT_FALSE(IsSystemColor(clWhite));
    EXPECT_TRUE(IsSystemColor(clBtnFace));
    EXPECT_FALSE(IsSystemColor(ColorToRGB(clBtnFace)));
}
