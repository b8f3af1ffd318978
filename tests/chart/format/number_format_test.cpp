#include "chart/format/number_format.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace kov;

namespace {

struct FormatCase
{
    const char *picture;
    double value;
    const char *expected;
};

void ExpectCases(const QLocale &locale, std::initializer_list<FormatCase> cases)
{
    for (const FormatCase &c : cases) {
        EXPECT_EQ(FormatFloat(QString::fromUtf8(c.picture), c.value, locale),
                  QString::fromUtf8(c.expected))
            << "picture " << c.picture << " value " << c.value;
    }
}

} // namespace

TEST(NumberFormatFloat, AxisDefaultPictureInCLocale)
{
    const QLocale c(QLocale::C);
    ExpectCases(c, {
                       {"#,##0.###", 0, "0"},
                       {"#,##0.###", 250, "250"},
                       {"#,##0.###", 1234567.5, "1,234,567.5"},
                       {"#,##0.###", -1234.5678, "-1,234.568"},
                       {"#,##0.###", 0.0004, "0"},
                       {"#,##0.###", -0.0004, "0"},
                       {"#,##0.###", 0.1 + 0.2, "0.3"},
                       {"#,##0.###", 100.0875, "100.088"},
                       {"#,##0.###", 999.9999, "1,000"},
                       {"#,##0.###", 1e-12, "0"},
                       {"#,##0.###", 123, "123"},
                       {"#,##0.###", 1234, "1,234"},
                   });
}

TEST(NumberFormatFloat, PlaceholdersAndRounding)
{
    const QLocale c(QLocale::C);
    ExpectCases(c, {
                       {"0", 2.5, "3"},
                       {"0", -2.5, "-3"},
                       {"0.00", 1.005, "1.01"}, // 15 significant digits: 1.00500000000000
                       {"000", 7, "007"},
                       {"#", 0, ""},
                       {"#.##", 0.5, ".5"},
                       {"0.0#", 3, "3.0"},
                       {"0.0#", 3.14159, "3.14"},
                       {"#,##0", 1e15, "1,000,000,000,000,000"},
                       {"0.###", 12.3456, "12.346"},
                   });
}

TEST(NumberFormatFloat, LiteralsSectionsAndExponent)
{
    const QLocale c(QLocale::C);
    ExpectCases(c, {
                       {"##0.## %", 12.5, "12.5 %"},
                       {"##0.## %", 0, "0 %"},
                       {"'x='0", 4, "x=4"},
                       {"\"#\"0", 4, "#4"},
                       {"0;(0)", -5, "(5)"},
                       {"0;(0);zero", 0, "zero"},
                       {"0;;zero", -3, "-3"},
                       {"0.00E+00", 12345, "1.23E+04"},
                       {"0.0E-0", 0.00025, "2.5E-4"},
                       {"00.0E+0", 12345, "12.3E+3"},
                   });
}

TEST(NumberFormatFloat, UsesLocaleSeparators)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(FormatFloat(QStringLiteral("#,##0.###"), 1234567.25, german),
              QStringLiteral("1.234.567,25"));
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QString text = FormatFloat(QStringLiteral("#,##0.###"), 1234.5, russian);
    EXPECT_EQ(text, QStringLiteral("1") + russian.groupSeparator() + QStringLiteral("234,5"));
}

TEST(NumberFormatFloat, NonFiniteAndEmptyPictures)
{
    const QLocale c(QLocale::C);
    EXPECT_EQ(FormatFloat(QStringLiteral("0"), std::nan(""), c), QStringLiteral("NAN"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0"), HUGE_VAL, c), QStringLiteral("INF"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0"), -HUGE_VAL, c), QStringLiteral("-INF"));
    EXPECT_EQ(FormatFloat(QString(), 2.5, c), QStringLiteral("2.5"));
    // Huge values print every integer digit without overflow.
    EXPECT_EQ(FormatFloat(QStringLiteral("0"), 1e300, c).size(), 301);
    EXPECT_EQ(FormatFloat(QStringLiteral("literal only"), 5, c), QStringLiteral("literal only"));
    // An unterminated quote runs to the end of the picture.
    EXPECT_EQ(FormatFloat(QStringLiteral("0 'abc"), 5, c), QStringLiteral("5 abc"));
}
