#include "chart/canvas/chart_canvas3d.h"
#include "chart/canvas/text_lines.h"

#include <gtest/gtest.h>

using namespace kov;

TEST(TextLines, WidestLineWidthMeasuresEveryLine)
{
    TChartCanvas3D canvas;
    const int abc = canvas.MeasureTextWidth(QStringLiteral("abc"));
    const int wide = canvas.MeasureTextWidth(QStringLiteral("WWWW"));
    ASSERT_GT(wide, abc);

    int lines = -1;
    EXPECT_EQ(WidestLineWidth(canvas, QStringLiteral("abc"), lines), abc);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(WidestLineWidth(canvas, QStringLiteral("abc\rd"), lines), abc);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(WidestLineWidth(canvas, QStringLiteral("abc\r"), lines), abc);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(WidestLineWidth(canvas, QStringLiteral("abc\rWWWW\rd"), lines), wide);
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(WidestLineWidth(canvas, QString(), lines), 0);
    EXPECT_EQ(lines, 1);
}

// Splitting and counting agree on every text but the empty one, which is
// one (empty) line to draw and no line to count.
TEST(TextLines, SplitLinesAndCountTextLines)
{
    const struct
    {
        const char *text;
        int lines;
    } cases[] = {{"", 0},    {"\r", 1},     {"a", 1},    {"a\rb", 2},
                 {"a\r", 1}, {"a\r\rb", 3}, {"\r\r", 2}, {"abc\rd", 2}};
    for (const auto &c : cases) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(CountTextLines(text), c.lines) << "text \"" << c.text << "\"";
        EXPECT_EQ(SplitLines(text).size(), std::max(1, c.lines)) << "text \"" << c.text << "\"";
    }
    EXPECT_EQ(SplitLines(QStringLiteral("a\r\rb\r")), (QStringList{"a", "", "b"}));
}

TEST(TextLines, SplitIntoLinesReplacesTheSeparatorsFirstCharacter)
{
    const struct
    {
        const char *text, *separator, *expected;
    } cases[] = {
        {"xabyab", "ab", "x\rby\rb"},
        {"no separator", "ab", "no separator"},
        {"aaa", "aa", "\r\ra"}, // each replacement may reveal the next one
        {"a|b|c", "|", "a\rb\rc"},
        {"abc", "", "abc"},     // an empty separator changes nothing (and ends)
        {"a\rb", "\r", "a\rb"}, // a separator starting with a break ends too
    };
    for (const auto &c : cases) {
        QString text = QString::fromLatin1(c.text);
        SplitIntoLines(text, QString::fromLatin1(c.separator));
        EXPECT_EQ(text, QString::fromLatin1(c.expected)) << c.text << " / " << c.separator;
    }
}
