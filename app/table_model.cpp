#include "app/table_model.h"

#include "app/app_exceptions.h"
#include "app/cp1251.h"

#include <algorithm>

namespace kov {

std::uint8_t TTable::operator[](int index) const
{
    if (index < 0 || index >= Size)
        throw RangeCheckError();
    return m_bytes[static_cast<std::size_t>(index)];
}

std::uint8_t &TTable::operator[](int index)
{
    if (index < 0 || index >= Size)
        throw RangeCheckError();
    return m_bytes[static_cast<std::size_t>(index)];
}

int TScanResult::ZeroCount() const
{
    if (FirstZero < 0)
        return 0;
    return (FirstZero + LastZero) / 2;
}

namespace {

// The text of a line that starts with an apostrophe, up to the next single
// apostrophe ('' stands for one); without a closing apostrophe, the rest less
// its last character. Runs between apostrophes are copied whole.
QByteArray DequotedText(QByteArrayView line)
{
    QByteArray text;
    text.reserve(line.size());
    qsizetype i = 1;
    while (i < line.size()) {
        const qsizetype quote = line.indexOf('\'', i);
        if (quote < 0) {
            text.append(line.sliced(i));
            text.chop(1);
            return text;
        }
        text.append(line.sliced(i, quote - i));
        if (quote + 1 >= line.size() || line[quote + 1] != '\'')
            return text;
        text.append('\'');
        i = quote + 2;
    }
    // The line ended right after a doubled apostrophe: unclosed.
    text.chop(1);
    return text;
}

// Dequoting only drops characters and turns '' into ', so a "RETLW" in the
// normalised line is already in the line itself, in any letter case. Lines
// without one are passed over before anything is copied.
bool MayBeTableLine(QByteArrayView line)
{
    static constexpr char word[] = "retlw";
    constexpr qsizetype length = sizeof word - 1;
    for (qsizetype i = 0; i + length <= line.size(); ++i) {
        qsizetype k = 0;
        // Setting bit 5 maps exactly A..Z onto a..z among the bytes that can
        // match a lower-case letter.
        while (k < length && (line[i + k] | 0x20) == word[k])
            ++k;
        if (k == length)
            return true;
    }
    return false;
}

bool NeedsDequoting(QByteArrayView line)
{
    return !line.isEmpty() && line[0] == '\'';
}

} // namespace

QByteArray UpperCaseAscii(const QByteArray &line)
{
    // Only ASCII a..z change; a line without them comes back shared, uncopied.
    return line.toUpper();
}

QByteArray DequoteLine(const QByteArray &line)
{
    if (!NeedsDequoting(line))
        return line;
    QByteArray text = DequotedText(line);
    return text.isEmpty() ? line : text;
}

QByteArray NormaliseLine(const QByteArray &line)
{
    return DequoteLine(UpperCaseAscii(line));
}

bool IsTableLine(const QByteArray &normalised)
{
    return normalised.contains("RETLW");
}

namespace {

// Where the two literal digits of a normalised table line start: after the
// first "0X", or else after the first "H'" (the line's second character when
// there is none).
qsizetype DigitsPos(QByteArrayView normalised)
{
    const qsizetype p = normalised.indexOf("0X");
    if (p >= 0)
        return p + 2;
    return normalised.indexOf("H'") + 2;
}

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Where the two characters pair stand in the line once it is upper-cased.
qsizetype IndexOfUpperCased(QByteArrayView line, const char (&pair)[3])
{
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        if (UpperAscii(line[i]) == pair[0] && UpperAscii(line[i + 1]) == pair[1])
            return i;
    }
    return -1;
}

// DigitsPos of a line that needs no dequoting, read from the line as it is,
// without the upper-cased copy.
qsizetype UnquotedDigitsPos(QByteArrayView line)
{
    const qsizetype p = IndexOfUpperCased(line, "0X");
    if (p >= 0)
        return p + 2;
    return IndexOfUpperCased(line, "H'") + 2;
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int HexDigitValue(char c)
{
    if (c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// The part of view from pos on, at most n bytes; empty when pos lies beyond it.
QByteArrayView Part(QByteArrayView view, qsizetype pos, qsizetype n)
{
    if (pos >= view.size())
        return {};
    return view.sliced(pos, std::min(n, view.size() - pos));
}

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

// Blanks and control characters (bytes up to 0x20) at both ends go.
QByteArrayView TrimLiteral(QByteArrayView literal)
{
    qsizetype first = 0;
    qsizetype last = literal.size();
    while (first < last && IsBlank(literal[first]))
        ++first;
    while (last > first && IsBlank(literal[last - 1]))
        --last;
    return literal.sliced(first, last - first);
}

// The value of the digits after a literal's "0X" or "0x", blanks after them
// dropped: at least one digit, hexadecimal digits only.
std::optional<int> DigitsValue(QByteArrayView digits)
{
    qsizetype end = digits.size();
    while (end > 0 && IsBlank(digits[end - 1]))
        --end;
    if (end == 0)
        return std::nullopt;
    // A literal read from a line has at most two digits; longer ones given
    // directly wrap instead of overflowing.
    unsigned value = 0;
    for (qsizetype i = 0; i < end; ++i) {
        if (!IsHexDigit(digits[i]))
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(HexDigitValue(digits[i]));
    }
    return static_cast<int>(value);
}

// The value of a normalised table line's literal, as LiteralValue(LiteralOf(s))
// reads it, without copying: the literal always starts with its prefix, so
// trimming can only drop blanks after its digits.
std::optional<int> TryLineValue(QByteArrayView normalised)
{
    return DigitsValue(Part(normalised, DigitsPos(normalised), 2));
}

} // namespace

QByteArray LiteralOf(const QByteArray &normalised)
{
    const qsizetype p = normalised.indexOf("0X");
    if (p >= 0)
        return normalised.mid(p, 4);
    return QByteArray("0x") + normalised.mid(DigitsPos(normalised), 2);
}

std::optional<int> TryLiteralValue(const QByteArray &literal)
{
    const QByteArrayView t = TrimLiteral(literal);
    if (t.size() < 2 || t[0] != '0' || (t[1] != 'X' && t[1] != 'x'))
        return std::nullopt;
    return DigitsValue(t.sliced(2));
}

int LiteralValue(const QByteArray &literal)
{
    if (const std::optional<int> value = TryLiteralValue(literal))
        return *value;
    throw ConvertException(DecodeWindows1251(TrimLiteral(literal).toByteArray()));
}

bool IsTableText(const QByteArray &line)
{
    if (!MayBeTableLine(line))
        return false;
    // Upper-cased, a line with "retlw" in any case holds "RETLW"; only
    // dequoting can take it away again.
    return !NeedsDequoting(line) || IsTableLine(NormaliseLine(line));
}

TScanResult ScanTable(const QList<QByteArray> &lines)
{
    TScanResult result;
    for (const QByteArray &line : lines) {
        if (!MayBeTableLine(line))
            continue;
        // Most table lines are read as they stand; a quoted one, or one whose
        // literal is bad (for the message), goes through its normalised copy.
        std::optional<int> read;
        if (!NeedsDequoting(line))
            read = DigitsValue(Part(line, UnquotedDigitsPos(line), 2));
        if (!read) {
            const QByteArray s = NormaliseLine(line);
            if (!IsTableLine(s))
                continue;
            read = TryLineValue(s);
            if (!read)
                read = LiteralValue(LiteralOf(s));
        }
        const int value = *read;
        const int i = static_cast<int>(result.Entries.size());
        if (i >= TTable::Size)
            throw RangeCheckError();
        result.Entries.push_back(static_cast<std::uint8_t>(value));
        if (value == 0) {
            if (result.FirstZero < 0)
                result.FirstZero = i;
            result.LastZero = i;
        }
    }
    return result;
}

QByteArray RewriteTableLine(const QByteArray &normalised, std::uint8_t value)
{
    static const char hex[] = "0123456789ABCDEF";
    const char literal[4] = {'0', 'x', hex[value >> 4], hex[value & 0x0F]};
    // The 4 characters from the first "0X" become 0x and the new digits; or
    // else the digits replace the 2 characters LiteralOf reads. Replacing from
    // beyond the end appends, so the literal of a short line lands at its end.
    const QByteArrayView line(normalised);
    const qsizetype p = line.indexOf("0X");
    const QByteArrayView text =
        p >= 0 ? QByteArrayView(literal, 4) : QByteArrayView(literal + 2, 2);
    const qsizetype pos = std::min(p >= 0 ? p : DigitsPos(line), line.size());
    const qsizetype rest = std::min(pos + text.size(), line.size());
    QByteArray s;
    s.reserve(line.size() + text.size());
    s.append(line.first(pos)).append(text).append(line.sliced(rest));
    return s;
}

bool ReadsBackAs(const QByteArray &written, std::uint8_t value)
{
    const QByteArray s = NormaliseLine(written);
    return IsTableLine(s) && TryLineValue(s) == value && RewriteTableLine(s, value) == written;
}

void WriteBackTable(QList<QByteArray> &lines, const TTable &table)
{
    // Lines are rewritten into a copy, so a refused line leaves every line as
    // it was; only the range failure keeps the lines before it rewritten.
    QList<QByteArray> written = lines;
    int e = 0;
    for (qsizetype k = 0; k < written.size(); ++k) {
        if (!MayBeTableLine(written.at(k)))
            continue;
        const QByteArray s = NormaliseLine(written.at(k));
        if (!IsTableLine(s))
            continue;
        if (e >= TTable::Size) {
            lines = std::move(written);
            throw RangeCheckError();
        }
        const std::uint8_t value = table[e];
        QByteArray line = RewriteTableLine(s, value);
        if (!ReadsBackAs(line, value))
            throw UnwritableLineException(static_cast<int>(k) + 1, DecodeWindows1251(lines[k]),
                                          value);
        written[k] = std::move(line);
        ++e;
    }
    lines = std::move(written);
}

} // namespace kov
