#pragma once

#include <QByteArray>
#include <QList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The lookup table and the rules that find it in an include file: a table line
// is any line whose upper-cased, dequoted text contains "RETLW"; its literal is
// read from the first "0X", or else from after the first "H'". The same rules
// find the lines again when the table is written back.
namespace kov {

/// The table buffer: 513 bytes, indices 0 to 512, all zero at first. Any other
/// index fails with "Range check error".
class TTable
{
public:
    static constexpr int Size = 513;

    std::uint8_t operator[](int index) const;
    std::uint8_t &operator[](int index);

private:
    std::array<std::uint8_t, Size> m_bytes{};
};

/// What a scan of the text found: the table entries in order and the first and
/// last index holding a zero (-1 when there is none).
struct TScanResult
{
    std::vector<std::uint8_t> Entries;
    int FirstZero = -1;
    int LastZero = -1;

    /// Midpoint of the first and last zero entries, rounded down; 0 without
    /// zero entries. Not clamped: the spin box that shows it clamps to 0..255.
    int ZeroCount() const;
};

/// The line with ASCII a..z turned into A..Z; every other byte is kept.
QByteArray UpperCaseAscii(const QByteArray &line);

/// A line starting with an apostrophe becomes the text up to the next single
/// apostrophe ('' stands for one); without a closing apostrophe the text runs
/// to the end less its last character. An empty result keeps the line as it was.
QByteArray DequoteLine(const QByteArray &line);

/// Upper-cased, then dequoted: the form in which table lines are recognised.
QByteArray NormaliseLine(const QByteArray &line);

/// True when the normalised line contains "RETLW".
bool IsTableLine(const QByteArray &normalised);

/// IsTableLine(NormaliseLine(line)), copying the line only where it is quoted.
bool IsTableText(const QByteArray &line);

/// The literal text of a normalised table line, "0X.." or "0x..", untrimmed.
QByteArray LiteralOf(const QByteArray &normalised);

/// Value of a literal: blanks and control characters around it are dropped and
/// the rest must be 0X or 0x followed by hexadecimal digits only. Otherwise
/// fails with "'%s' is not a valid integer value" naming the trimmed literal.
int LiteralValue(const QByteArray &literal);

/// The value of a literal as LiteralValue reads it, or nothing where that fails.
std::optional<int> TryLiteralValue(const QByteArray &literal);

/// Reads every table line of the text. Fails on a bad literal ("'%s' is not a
/// valid integer value") or a 514th table line ("Range check error"); nothing
/// is changed elsewhere, so a caller can commit the result only on success.
TScanResult ScanTable(const QList<QByteArray> &lines);

/// A normalised table line with its literal replaced by value: 0x + two
/// upper-case hex digits over the 4 characters from the first "0X", or else
/// the two digits over the 2 characters after the first "H'" (from the second
/// character when there is none).
QByteArray RewriteTableLine(const QByteArray &normalised, std::uint8_t value);

/// True when a written table line reads back as a table line holding value,
/// and writing value into it again gives the same line. A line that dequotes
/// once more, or whose new digits join the next character into a "0X", does not.
bool ReadsBackAs(const QByteArray &written, std::uint8_t value);

/// Writes table[e] into the e-th table line: each table line becomes
/// RewriteTableLine of its normalised form. Other lines are untouched. Before
/// anything is changed, a table line that would not read back as its value
/// fails with UnwritableLineException, naming the line. A 514th table line
/// fails with "Range check error", the lines before it already rewritten.
void WriteBackTable(QList<QByteArray> &lines, const TTable &table);

} // namespace kov
