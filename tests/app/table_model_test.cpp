#include "app/app_exceptions.h"
#include "app/table_model.h"
#include "exception_message.h"

#include <gtest/gtest.h>

#include <optional>

using namespace kov;
using kov::test::MessageOf;

namespace {

QList<QByteArray> Lines(std::initializer_list<const char *> lines)
{
    QList<QByteArray> result;
    for (const char *l : lines)
        result.append(QByteArray(l));
    return result;
}

} // namespace

TEST(TTableTest, HoldsIndices0To512AndRejectsOthers)
{
    TTable table;
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[512], 0);
    table[512] = 0xAB;
    EXPECT_EQ(static_cast<const TTable &>(table)[512], 0xAB);
    for (int bad : {-1, 513, 100000}) {
        EXPECT_THROW(table[bad] = 1, RangeCheckError) << bad;
        EXPECT_EQ(MessageOf([&] { (void)static_cast<const TTable &>(table)[bad]; }),
                  "Range check error");
    }
}

TEST(TableLineNormaliseTest, UpperCasesAsciiOnlyAndDequotes)
{
    struct Row
    {
        QByteArray in;
        QByteArray out;
    };
    const Row rows[] = {
        {"retlw 0x1a ; max", "RETLW 0X1A ; MAX"},
        // Cyrillic (Windows-1251) and NUL bytes pass through unchanged.
        {QByteArray("; \xe0\xe1 z\0x", 7), QByteArray("; \xe0\xe1 Z\0X", 7)},
        {"'retlw 0x10'", "RETLW 0X10"},
        {"'retlw 0x10' ; rest", "RETLW 0X10"},
        {"'it''s retlw'", "IT'S RETLW"},
        // Without a closing apostrophe the last character is dropped.
        {"'retlw 0x10", "RETLW 0X1"},
        {"'ab''", "AB"},
        // An empty result keeps the line as it was.
        {"''", "''"},
        {"'", "'"},
        {"'x", "'X"},
        {" 'retlw 0x10'", " 'RETLW 0X10'"},
        {"", ""},
    };
    for (const Row &r : rows)
        EXPECT_EQ(NormaliseLine(r.in), r.out) << r.in.toStdString();
}

TEST(TableLineLiteralTest, ReadsFirst0XOrAfterH)
{
    struct Row
    {
        const char *line;
        std::optional<int> value; // empty: not a table line
        const char *error;        // message when the literal is bad
    };
    const Row rows[] = {
        {"\tretlw 0x1a ; max", 26, nullptr},
        {"\tRETLW H'1A'", 26, nullptr},
        {"retlw h'1a'", 26, nullptr},
        {"RETLW 0X1a ; 0x20", 26, nullptr},
        {"RETLW 0x00", 0, nullptr},
        {"RETLW 0xff", 255, nullptr},
        {"RETLW 0x100", 16, nullptr},
        {"RETLW 0x5 ; c", 5, nullptr},
        {"RETLW 0x5", 5, nullptr},
        {"RETLW 0x5\t", 5, nullptr},
        {"'retlw 0x40'", 64, nullptr},
        {"; retlw mentioned in a comment, value 0x07", 7, nullptr},
        {"RETLW 0x5;", std::nullopt, "'0X5;' is not a valid integer value"},
        {"RETLW 0x", std::nullopt, "'0X' is not a valid integer value"},
        {"LBL0X: RETLW H'05'", std::nullopt, "'0X:' is not a valid integer value"},
        {"RETLW D'26'", std::nullopt, "'0xET' is not a valid integer value"},
        {"RETLW H'1'", std::nullopt, "'0x1'' is not a valid integer value"},
        {"RETLW 0xZZ", std::nullopt, "'0XZZ' is not a valid integer value"},
        // Without "H'" the 2nd and 3rd characters are read.
        {"1ABRETLW", 0xAB, nullptr},
        {"retlw h'1a' 0x2", 2, nullptr},
        {"rEtLw 0xaB", 0xAB, nullptr},
        {"'retlw h''1a'''", 0x1A, nullptr},
        {"'x' retlw 0x40", std::nullopt, nullptr},
        {"MOVLW 0x10", std::nullopt, nullptr},
        {"", std::nullopt, nullptr},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.line);
        const QByteArray s = NormaliseLine(r.line);
        // The scan reads most lines without normalising them: it must find
        // the same lines and values, and fail with the same message.
        const QList<QByteArray> one{QByteArray(r.line)};
        EXPECT_EQ(IsTableText(r.line), IsTableLine(s));
        if (!r.value && !r.error) {
            EXPECT_FALSE(IsTableLine(s));
            EXPECT_TRUE(ScanTable(one).Entries.empty());
            continue;
        }
        ASSERT_TRUE(IsTableLine(s));
        if (r.error) {
            EXPECT_EQ(MessageOf([&] { LiteralValue(LiteralOf(s)); }), QString::fromUtf8(r.error));
            EXPECT_EQ(MessageOf([&] { ScanTable(one); }), QString::fromUtf8(r.error));
        } else {
            EXPECT_EQ(LiteralValue(LiteralOf(s)), *r.value);
            EXPECT_EQ(ScanTable(one).Entries, std::vector<std::uint8_t>{std::uint8_t(*r.value)});
        }
    }
}

TEST(TableLineLiteralTest, BadLiteralIsAConvertException)
{
    EXPECT_THROW(LiteralValue("0xG1"), ConvertException);
    EXPECT_THROW(LiteralValue("1x10"), ConvertException);
    EXPECT_EQ(LiteralValue(" 0x1f "), 31);
}

TEST(ScanTableTest, FindsEntriesInOrderAndTheZeroCount)
{
    const TScanResult r =
        ScanTable(Lines({"; header", "TABLE:", "\tRETLW 0x00", "\tretlw 0x10",
                         "; a plain comment, 0x00", "\tRETLW 0x00", "\tRETLW 0x20"}));
    EXPECT_EQ(r.Entries, (std::vector<std::uint8_t>{0, 16, 0, 32}));
    EXPECT_EQ(r.FirstZero, 0);
    EXPECT_EQ(r.LastZero, 2);
    EXPECT_EQ(r.ZeroCount(), 1);
}

TEST(ScanTableTest, ZeroCountRules)
{
    auto table = [](int n, std::initializer_list<int> zeros) {
        QList<QByteArray> lines;
        for (int i = 0; i < n; ++i)
            lines.append(std::find(zeros.begin(), zeros.end(), i) != zeros.end() ? "RETLW 0x00"
                                                                                 : "RETLW 0x33");
        return ScanTable(lines);
    };
    EXPECT_EQ(table(0, {}).ZeroCount(), 0);
    EXPECT_EQ(table(10, {}).ZeroCount(), 0);
    EXPECT_EQ(table(256, {170, 180}).ZeroCount(), 175);
    EXPECT_EQ(table(256, {171, 180}).ZeroCount(), 175);
    EXPECT_EQ(table(10, {7}).ZeroCount(), 7);
    EXPECT_EQ(table(513, {300, 512}).ZeroCount(), 406);
}

TEST(ScanTableTest, AcceptsAtMost513Entries)
{
    QList<QByteArray> lines(513, "RETLW 0x01");
    EXPECT_EQ(ScanTable(lines).Entries.size(), 513u);
    lines.append("RETLW 0x02");
    EXPECT_EQ(MessageOf([&] { ScanTable(lines); }), "Range check error");
    EXPECT_THROW(ScanTable(lines), RangeCheckError);
}

TEST(ScanTableTest, StopsAtTheFirstBadLiteral)
{
    EXPECT_THROW(ScanTable(Lines({"RETLW 0x01", "RETLW D'26'", "RETLW 0x02"})), ConvertException);
}

TEST(WriteBackTableTest, RewritesEachTableLineInItsNormalisedForm)
{
    struct Row
    {
        const char *in;
        const char *out;
    };
    const Row rows[] = {
        {"\tretlw 0x1a ; max", "\tRETLW 0xAB ; MAX"},
        {"retlw h'1a'", "RETLW H'AB'"},
        {"RETLW 0x5 ; c", "RETLW 0xAB; C"},
        {"RETLW 0X1a ; 0x20", "RETLW 0xAB ; 0X20"},
        {"'retlw 0x40' ; quoted", "RETLW 0xAB"},
        {"RETLW 0x", "RETLW 0xAB"},
        // No "H'": the two characters from the second on are replaced.
        {";1A RETLW", ";AB RETLW"},
        {"RETLW H'", "RETLW H'AB"},
    };
    for (const Row &r : rows) {
        TTable table;
        table[0] = 0xAB;
        QList<QByteArray> lines{QByteArray(r.in)};
        WriteBackTable(lines, table);
        EXPECT_EQ(lines[0], QByteArray(r.out)) << r.in;
    }
}

TEST(WriteBackTableTest, LeavesOtherLinesUntouchedAndNumbersEntries)
{
    TTable table;
    table[0] = 0x01;
    table[1] = 0xF0;
    table[2] = 0x7f;
    QList<QByteArray> lines{
        "; keep me lower case", "\tretlw 0x00", QByteArray("x\0\xff", 3), "\tretlw h'00'", "",
        "\tretlw 0x00 ; last"};
    WriteBackTable(lines, table);
    EXPECT_EQ(lines,
              (QList<QByteArray>{"; keep me lower case", "\tRETLW 0x01", QByteArray("x\0\xff", 3),
                                 "\tRETLW H'F0'", "", "\tRETLW 0x7F ; LAST"}));
}

TEST(WriteBackTableTest, ScanAfterWriteBackReadsTheTable)
{
    TTable table;
    QList<QByteArray> lines;
    for (int i = 0; i < 300; ++i) {
        table[i] = static_cast<std::uint8_t>((i * 37) & 0xFF);
        lines.append(i % 2 ? "retlw h'00' ; odd" : "  retlw 0x00 ; even");
    }
    WriteBackTable(lines, table);
    const TScanResult r = ScanTable(lines);
    ASSERT_EQ(r.Entries.size(), 300u);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(r.Entries[static_cast<std::size_t>(i)], table[i]) << i;
}

TEST(WriteBackTableTest, A514thTableLineFailsAfterRewritingTheOthers)
{
    TTable table;
    QList<QByteArray> lines(514, "retlw 0x11");
    lines.append("; after");
    EXPECT_THROW(WriteBackTable(lines, table), RangeCheckError);
    EXPECT_EQ(lines[512], "RETLW 0x00");
    EXPECT_EQ(lines[513], "retlw 0x11");
    EXPECT_EQ(lines[514], "; after");
}

// Every line written reads back as its value; one that would not is refused
// before anything changes, and its number and text are in the message.
TEST(WriteBackTableTest, RefusesALineThatWouldNotReadBack)
{
    struct Row
    {
        const char *line;
        std::uint8_t value;
    };
    const Row rows[] = {
        // The dequoted form begins with an apostrophe and would dequote again,
        // reading 0x03.
        {"'''retlw 0x12'", 0x34},
        // The dequoted form would dequote to a blank: no table line at all,
        // and every later entry would move down one index.
        {"''' '' retlw 0x12'", 0x34},
        // The new digits join the next character into a "0X".
        {"RETLW H'1 X", 0x20},
        {";1AX RETLW", 0x20},
        // The two characters replaced from the second on are part of RETLW.
        {"RETLW D'26'", 0x12},
        // Reads back once, but the next update would dequote it again and
        // drop the text after the quote.
        {"'''retlw 0x12'' ; x' tail", 0x34},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.line);
        TTable table;
        table[0] = 0x55;
        table[1] = r.value;
        const QList<QByteArray> before{"retlw 0x01 ; before", "; comment", r.line, "retlw h'02'"};
        QList<QByteArray> lines = before;
        const QString hex = QStringLiteral("%1").arg(r.value, 2, 16, QLatin1Char('0')).toUpper();
        EXPECT_EQ(MessageOf([&] { WriteBackTable(lines, table); }),
                  QStringLiteral("Cannot update line 3 (%1): with 0x%2 written into it, it would "
                                 "no longer read back as that value. The text was left unchanged.")
                      .arg(QString::fromLatin1(r.line), hex));
        EXPECT_EQ(lines, before);
    }
}

TEST(WriteBackTableTest, RefusalNamesALongLineShortened)
{
    TTable table;
    table[0] = 0x20;
    QList<QByteArray> lines{"RETLW H'1 X" + QByteArray(100, 'y')};
    const QString message = MessageOf([&] { WriteBackTable(lines, table); });
    EXPECT_TRUE(
        message.contains(QStringLiteral("(RETLW H'1 X") + QString(49, 'y') + QChar(0x2026) + "):"))
        << message.toStdString();
}

TEST(WriteBackTableTest, OtherLinesAndValuesOfTheSameKindReadBack)
{
    // Whether a line reads back can depend on the value: only a second digit
    // 0 followed by X forms a new "0X".
    struct Row
    {
        const char *in;
        std::uint8_t value;
        const char *out;
    };
    const Row rows[] = {
        {"RETLW H'1 X", 0x21, "RETLW H'21X"},
        {"'retlw 0x12'", 0x34, "RETLW 0x34"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.in);
        TTable table;
        table[0] = r.value;
        QList<QByteArray> lines{QByteArray(r.in)};
        ASSERT_EQ(MessageOf([&] { WriteBackTable(lines, table); }), QString());
        EXPECT_EQ(lines[0], QByteArray(r.out));
        EXPECT_EQ(ScanTable(lines).Entries, std::vector<std::uint8_t>{r.value});
    }
}

TEST(WriteBackTableTest, OrdinaryLinesAreWrittenOnceAndStayAsWritten)
{
    // Every value in both literal forms, with and without trailing text: the
    // bytes are the upper-cased line with the new literal, and a second update
    // with the same table changes nothing.
    const char *const forms[][2] = {
        {"\tretlw 0x%1 ; c", "\tRETLW 0x%1 ; C"},
        {"retlw h'%1'", "RETLW H'%1'"},
        {"  RETLW 0X%1", "  RETLW 0x%1"},
        {"lbl RETLW H'%1' ; h'ff'", "LBL RETLW H'%1' ; H'FF'"},
    };
    TTable table;
    QList<QByteArray> lines;
    QList<QByteArray> expected;
    for (int i = 0; i < TTable::Size; ++i) {
        const int v = 255 - i % 256;
        table[i] = static_cast<std::uint8_t>(v);
        const auto &form = forms[i % 4];
        lines.append(QString::fromLatin1(form[0]).arg(i % 256, 2, 16, QLatin1Char('0')).toLatin1());
        expected.append(QString::fromLatin1(form[1])
                            .arg(QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper())
                            .toLatin1());
    }
    WriteBackTable(lines, table);
    EXPECT_EQ(lines, expected);
    WriteBackTable(lines, table);
    EXPECT_EQ(lines, expected);
}
