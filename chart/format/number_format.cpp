#include "chart/format/number_format.h"

#include <QList>
#include <cmath>

namespace kov {

namespace {

// Significant digits kept from a double: enough for any label, few enough that
// sums such as 0.1 + 0.2 print as 0.3.
constexpr int SignificantDigits = 15;

/// One side of the decimal point in a picture: its placeholders ('0' or '#')
/// and how many digits it shows even when they are zeros.
struct DigitPlaces
{
    int Placeholders = 0;
    int Minimum = 0;
};

/// What one section of a picture asks for.
struct Section
{
    DigitPlaces Integer;
    DigitPlaces Fraction;
    bool Grouping = false;
    /// Digits of the exponent; 0 for a section without one.
    int ExpDigits = 0;
    bool ExpPlus = false;

    bool Scientific() const { return ExpDigits > 0; }
};

QList<QString> SplitSections(const QString &picture)
{
    QList<QString> sections;
    QString current;
    QChar quote;
    for (const QChar c : picture) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    sections.append(current);
    return sections;
}

// Position after an exponent marker at i ("E+0..."), or -1 when there is none.
int ExponentEnd(const QString &s, int i, int *digits)
{
    const QChar c = s.at(i);
    if (c != u'E' && c != u'e')
        return -1;
    if (i + 2 >= s.size() || (s.at(i + 1) != u'+' && s.at(i + 1) != u'-') || s.at(i + 2) != u'0')
        return -1;
    int j = i + 2;
    while (j < s.size() && s.at(j) == u'0')
        ++j;
    *digits = j - (i + 2);
    return j;
}

Section Analyse(const QString &s)
{
    Section sec;
    bool inFraction = false;
    bool seenIntZero = false;
    QChar quote;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
            continue;
        }
        int digits = 0;
        const int end = sec.Scientific() ? -1 : ExponentEnd(s, i, &digits);
        if (end >= 0) {
            sec.ExpDigits = digits;
            sec.ExpPlus = s.at(i + 1) == u'+';
            i = end - 1;
            continue;
        }
        if (sec.Scientific())
            continue;
        if (c == u'0' || c == u'#') {
            if (inFraction) {
                ++sec.Fraction.Placeholders;
                if (c == u'0')
                    sec.Fraction.Minimum = sec.Fraction.Placeholders;
            } else {
                ++sec.Integer.Placeholders;
                if (c == u'0')
                    seenIntZero = true;
                if (seenIntZero)
                    ++sec.Integer.Minimum;
            }
        } else if (c == u'.' && !inFraction) {
            inFraction = true;
        } else if (c == u',' && !inFraction) {
            sec.Grouping = true;
        }
    }
    return sec;
}

// |value| in scientific notation with at most SignificantDigits digits.
// The shortest text that reads back as the value is much cheaper to make
// than a fixed number of digits; when it has no more digits than we keep, it
// is also what rounding the exact value to that many digits gives: a normal
// double differs from its shortest text by less than half a unit of the
// 15th digit. Other values (and subnormals) are rounded digit by digit.
QString ScientificDigits(double magnitude)
{
    if (std::isnormal(magnitude)) {
        QString shortest = QString::number(magnitude, 'e', QLocale::FloatingPointShortest);
        const qsizetype ePos = shortest.indexOf(u'e');
        const qsizetype digits = ePos - (shortest.indexOf(u'.') == -1 ? 0 : 1);
        if (ePos > 0 && digits <= SignificantDigits)
            return shortest;
    }
    return QString::number(magnitude, 'e', SignificantDigits - 1);
}

// Decimal digits of |value| rounded to `keep` digits after the point (or to
// `significant` digits when significant > 0). Returns the digit string and the
// power of ten of its first digit in *exponent.
QString DecimalDigits(double value, int keepAfterPoint, int significant, int *exponent)
{
    const QString e = ScientificDigits(std::fabs(value));
    const int ePos = e.indexOf(u'e');
    QString digits = e.left(ePos);
    digits.remove(u'.');
    int exp = e.mid(ePos + 1).toInt();
    if (std::fabs(value) == 0) {
        *exponent = 0;
        return QString();
    }
    const int keep = significant > 0 ? significant : exp + 1 + keepAfterPoint;
    if (keep < 0) {
        *exponent = 0;
        return QString();
    }
    if (keep < digits.size()) {
        const bool up = digits.at(keep) >= u'5';
        digits.truncate(keep);
        if (up) {
            int k = keep - 1;
            while (k >= 0 && digits.at(k) == u'9') {
                digits[k] = u'0';
                --k;
            }
            if (k >= 0) {
                digits[k] = QChar(digits.at(k).unicode() + 1);
            } else {
                digits.prepend(u'1');
                ++exp;
            }
        }
    }
    while (digits.endsWith(u'0'))
        digits.chop(1);
    *exponent = exp;
    return digits;
}

QString FormatSection(const QString &s, double value, bool minus, const QLocale &locale)
{
    const Section sec = Analyse(s);
    QString intStr;
    QString fracStr;
    int shownExp = 0;
    if (sec.Integer.Placeholders + sec.Fraction.Placeholders > 0) {
        int exp = 0;
        QString digits;
        if (sec.Scientific()) {
            const int intDigits = qMax(1, sec.Integer.Placeholders);
            digits = DecimalDigits(value, 0, intDigits + sec.Fraction.Placeholders, &exp);
            if (!digits.isEmpty()) {
                shownExp = exp - (intDigits - 1);
                exp = intDigits - 1;
            } else {
                exp = 0;
            }
        } else {
            digits = DecimalDigits(value, sec.Fraction.Placeholders, 0, &exp);
        }
        if (!digits.isEmpty() && exp >= 0) {
            intStr = digits.left(exp + 1);
            while (intStr.size() < exp + 1)
                intStr += u'0';
        }
        for (int k = 1; k <= sec.Fraction.Placeholders; ++k) {
            const int idx = exp + k;
            fracStr += (!digits.isEmpty() && idx >= 0 && idx < digits.size()) ? digits.at(idx)
                                                                              : QChar(u'0');
        }
        while (fracStr.size() > sec.Fraction.Minimum && fracStr.endsWith(u'0'))
            fracStr.chop(1);
        while (intStr.size() < sec.Integer.Minimum)
            intStr.prepend(u'0');
    }
    auto hasNonZero = [](const QString &t) {
        for (const QChar d : t) {
            if (d != u'0')
                return true;
        }
        return false;
    };
    const bool allZero = !hasNonZero(intStr) && !hasNonZero(fracStr);

    QString out;
    if (minus && !allZero)
        out += locale.negativeSign();

    const QString group = locale.groupSeparator();
    const int len = intStr.size();
    int placeholder = 0;
    bool inFraction = false;
    bool intDone = false;
    int fracIndex = 0;
    auto emitIntDigit = [&](int idx) {
        out += intStr.at(idx);
        const int rest = len - 1 - idx;
        if (sec.Grouping && rest > 0 && rest % 3 == 0)
            out += group;
    };
    auto emitBareInteger = [&]() {
        // A picture without integer placeholders still shows the integer part.
        if (!intDone && sec.Integer.Placeholders == 0) {
            for (int idx = 0; idx < len; ++idx)
                emitIntDigit(idx);
        }
        intDone = true;
    };
    QChar quote;
    bool expDone = false;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                out += c;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
            continue;
        }
        int digits = 0;
        const int end = (sec.Scientific() && !expDone) ? ExponentEnd(s, i, &digits) : -1;
        if (end >= 0) {
            emitBareInteger();
            expDone = true;
            out += c;
            if (shownExp < 0)
                out += locale.negativeSign();
            else if (s.at(i + 1) == u'+')
                out += locale.positiveSign();
            out += QStringLiteral("%1").arg(std::abs(shownExp), digits, 10, QLatin1Char('0'));
            i = end - 1;
            continue;
        }
        if (c == u'0' || c == u'#') {
            if (expDone)
                continue;
            if (!inFraction) {
                const int first = len - sec.Integer.Placeholders + placeholder;
                if (placeholder == 0) {
                    for (int idx = 0; idx < first && idx < len; ++idx)
                        emitIntDigit(idx);
                }
                if (first >= 0 && first < len)
                    emitIntDigit(first);
                ++placeholder;
                if (placeholder == sec.Integer.Placeholders)
                    intDone = true;
            } else {
                if (fracIndex < fracStr.size())
                    out += fracStr.at(fracIndex);
                ++fracIndex;
            }
            continue;
        }
        if (c == u'.' && !inFraction) {
            emitBareInteger();
            inFraction = true;
            if (!fracStr.isEmpty())
                out += locale.decimalPoint();
            continue;
        }
        if (c == u',' && !inFraction)
            continue;
        out += c;
    }
    if (!intDone && sec.Integer.Placeholders == 0 && !inFraction)
        emitBareInteger();
    return out;
}

} // namespace

QString FormatFloat(const QString &picture, double value, const QLocale &locale)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    const QList<QString> sections = SplitSections(picture);
    QString section = sections.value(0);
    bool minus = value < 0;
    if (value < 0 && sections.size() >= 2 && !sections.at(1).isEmpty()) {
        section = sections.at(1);
        minus = false;
    } else if (value == 0 && sections.size() >= 3 && !sections.at(2).isEmpty()) {
        section = sections.at(2);
    }
    if (section.isEmpty()) {
        QString text = QString::number(value, 'g', SignificantDigits);
        text.replace(u'.', locale.decimalPoint());
        return text;
    }
    return FormatSection(section, value, minus, locale);
}

QString TFormatMemo::Format(const QString &picture, double value, const QLocale &locale)
{
    // Bounded: a series whose values keep changing would otherwise grow it
    // without end.
    constexpr qsizetype MaxTexts = 4096;
    if (picture != m_picture || locale != m_locale) {
        m_texts.clear();
        m_picture = picture;
        m_locale = locale;
    }
    // Zero (whose sign the picture may show) and NaN (equal to nothing) are
    // formatted every time.
    if (value == 0 || std::isnan(value))
        return FormatFloat(picture, value, locale);
    const auto found = m_texts.constFind(value);
    if (found != m_texts.cend())
        return found.value();
    if (m_texts.size() >= MaxTexts)
        m_texts.clear();
    const QString text = FormatFloat(picture, value, locale);
    m_texts.insert(value, text);
    return text;
}

} // namespace kov
