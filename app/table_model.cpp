#include "app/table_model.h"

#include "app/app_exceptions.h"
#include "app/cp1251.h"

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

QByteArray UpperCaseAscii(const QByteArray &line)
{
    QByteArray s = line;
    for (char &c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

QByteArray DequoteLine(const QByteArray &line)
{
    if (line.isEmpty() || line[0] != '\'')
        return line;
    QByteArray text;
    bool closed = false;
    qsizetype i = 1;
    while (i < line.size()) {
        if (line[i] == '\'') {
            if (i + 1 < line.size() && line[i + 1] == '\'') {
                text.append('\'');
                i += 2;
                continue;
            }
            closed = true;
            break;
        }
        text.append(line[i]);
        ++i;
    }
    if (!closed && !text.isEmpty())
        text.chop(1);
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

QByteArray LiteralOf(const QByteArray &normalised)
{
    const qsizetype p = normalised.indexOf("0X");
    if (p >= 0)
        return normalised.mid(p, 4);
    // Without "H'" the two characters after the line's first one are read.
    const qsizetype q = normalised.indexOf("H'");
    return QByteArray("0x") + normalised.mid(q + 1 + 1, 2);
}

namespace {

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

// Blanks and control characters (bytes up to 0x20) at both ends go.
QByteArray TrimLiteral(const QByteArray &literal)
{
    qsizetype first = 0;
    qsizetype last = literal.size();
    while (first < last && static_cast<unsigned char>(literal[first]) <= 0x20)
        ++first;
    while (last > first && static_cast<unsigned char>(literal[last - 1]) <= 0x20)
        --last;
    return literal.mid(first, last - first);
}

} // namespace

std::optional<int> TryLiteralValue(const QByteArray &literal)
{
    const QByteArray t = TrimLiteral(literal);
    const bool prefixed = t.size() > 2 && t[0] == '0' && (t[1] == 'X' || t[1] == 'x');
    if (!prefixed)
        return std::nullopt;
    int value = 0;
    for (qsizetype i = 2; i < t.size(); ++i) {
        if (!IsHexDigit(t[i]))
            return std::nullopt;
        // A literal has at most two digits after its prefix, so no overflow.
        value = value * 16 + HexDigitValue(t[i]);
    }
    return value;
}

int LiteralValue(const QByteArray &literal)
{
    if (const std::optional<int> value = TryLiteralValue(literal))
        return *value;
    throw ConvertException(DecodeWindows1251(TrimLiteral(literal)));
}

TScanResult ScanTable(const QList<QByteArray> &lines)
{
    TScanResult result;
    for (const QByteArray &line : lines) {
        const QByteArray s = NormaliseLine(line);
        if (!IsTableLine(s))
            continue;
        const int value = LiteralValue(LiteralOf(s));
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

namespace {

QByteArray TwoHexDigits(std::uint8_t value)
{
    static const char digits[] = "0123456789ABCDEF";
    QByteArray hex(2, '0');
    hex[0] = digits[value >> 4];
    hex[1] = digits[value & 0x0F];
    return hex;
}

// Deleting from beyond the end deletes nothing and inserting there appends,
// so the literal of a short line lands at its end.
void ReplaceAt(QByteArray &s, qsizetype pos, qsizetype count, const QByteArray &text)
{
    if (pos >= s.size()) {
        s.append(text);
        return;
    }
    s.remove(pos, count);
    s.insert(pos, text);
}

} // namespace

QByteArray RewriteTableLine(const QByteArray &normalised, std::uint8_t value)
{
    QByteArray s = normalised;
    const qsizetype p = s.indexOf("0X");
    if (p >= 0) {
        ReplaceAt(s, p, 4, QByteArray("0x") + TwoHexDigits(value));
    } else {
        // After the first "H'", or from the second character when there is none.
        const qsizetype q = s.indexOf("H'");
        ReplaceAt(s, q + 2, 2, TwoHexDigits(value));
    }
    return s;
}

bool ReadsBackAs(const QByteArray &written, std::uint8_t value)
{
    const QByteArray s = NormaliseLine(written);
    return IsTableLine(s) && TryLiteralValue(LiteralOf(s)) == value &&
           RewriteTableLine(s, value) == written;
}

void WriteBackTable(QList<QByteArray> &lines, const TTable &table)
{
    // Lines are rewritten into a copy, so a refused line leaves every line as
    // it was; only the range failure keeps the lines before it rewritten.
    QList<QByteArray> written = lines;
    int e = 0;
    for (qsizetype k = 0; k < written.size(); ++k) {
        const QByteArray s = NormaliseLine(written[k]);
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
