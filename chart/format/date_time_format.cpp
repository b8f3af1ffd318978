#include "chart/format/date_time_format.h"

#include <QTime>
#include <cmath>
#include <limits>

namespace kov {

namespace {

const QDate &DayZero()
{
    static const QDate zero(1899, 12, 30);
    return zero;
}

constexpr qint64 MsPerDay = 86400000;

// Splits a value into day number and milliseconds of the day, carrying a time
// that rounds up to midnight into the next day.
bool Decode(double value, qint64 &day, int &ms)
{
    // QDate covers far more than this; the bound keeps the casts defined.
    if (!std::isfinite(value) || std::fabs(value) > 1e9)
        return false;
    double whole = std::trunc(value);
    qint64 millis = static_cast<qint64>(std::llround(std::fabs(value - whole) * MsPerDay));
    day = static_cast<qint64>(whole);
    if (millis >= MsPerDay) {
        millis -= MsPerDay;
        day += value >= 0 ? 1 : -1;
    }
    ms = static_cast<int>(millis);
    return true;
}

// The first character of a locale format that is no letter, quote or space:
// the separator the format puts between its fields; fallback without one.
QString FormatSeparator(const QString &format, const QString &fallback)
{
    for (const QChar c : format) {
        if (!c.isLetter() && c != u'\'' && !c.isSpace())
            return QString(c);
    }
    return fallback;
}

QString DateSeparator(const QLocale &locale)
{
    return FormatSeparator(locale.dateFormat(QLocale::ShortFormat), QStringLiteral("/"));
}

QString TimeSeparator(const QLocale &locale)
{
    return FormatSeparator(locale.timeFormat(QLocale::ShortFormat), QStringLiteral(":"));
}

QString Pad(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// A time field written with one letter gives the number as it is; with two,
// padded to two digits.
QString TwoDigitField(int value, int letters)
{
    return letters == 1 ? QString::number(value) : Pad(value, 2);
}

// Count of the run of c (case-insensitive) starting at i.
int RunLength(const QString &s, int i, QChar c)
{
    int n = 0;
    while (i + n < s.size() && s.at(i + n).toLower() == c)
        ++n;
    return n;
}

// Appends the time field whose letter stands at i of picture (one or two of
// it; a longer run leaves the rest for the next field) and returns how many
// letters it took.
int AppendTimeField(QString &out, const QString &picture, int i, int value)
{
    const int n = qMin(RunLength(picture, i, picture.at(i).toLower()), 2);
    out += TwoDigitField(value, n);
    return n;
}

bool StartsWithCI(const QString &s, int i, const char *what)
{
    return s.mid(i).startsWith(QLatin1String(what), Qt::CaseInsensitive);
}

class Formatter
{
public:
    Formatter(const QLocale &locale, const QDate &date, int ms)
        : m_locale(locale), m_date(date), m_time(QTime::fromMSecsSinceStartOfDay(ms))
    {
    }

    QString Run(const QString &picture, int depth)
    {
        QString out;
        // Whether the picture holds an am/pm marker decides 12-hour clocks.
        const bool twelve = picture.contains(QLatin1String("am/pm"), Qt::CaseInsensitive) ||
                            picture.contains(QLatin1String("a/p"), Qt::CaseInsensitive) ||
                            picture.contains(QLatin1String("ampm"), Qt::CaseInsensitive);
        bool afterHour = false;
        int i = 0;
        while (i < picture.size()) {
            const QChar c = picture.at(i);
            const QChar lc = c.toLower();
            if (c == u'"' || c == u'\'') {
                int end = picture.indexOf(c, i + 1);
                if (end < 0)
                    end = picture.size();
                out += picture.mid(i + 1, end - i - 1);
                i = end + 1;
                continue;
            }
            if (StartsWithCI(picture, i, "am/pm")) {
                out += m_time.hour() < 12 ? m_locale.amText() : m_locale.pmText();
                i += 5;
                continue;
            }
            if (StartsWithCI(picture, i, "a/p")) {
                const bool upper = c.isUpper();
                QString t = m_time.hour() < 12 ? QStringLiteral("a") : QStringLiteral("p");
                out += upper ? t.toUpper() : t;
                i += 3;
                continue;
            }
            if (StartsWithCI(picture, i, "ampm")) {
                out += m_time.hour() < 12 ? m_locale.amText() : m_locale.pmText();
                i += 4;
                continue;
            }
            if (lc == u'c' && depth < 2) {
                out += Run(QStringLiteral("ddddd"), depth + 1);
                if (m_time.msecsSinceStartOfDay() != 0)
                    out += QLatin1Char(' ') + Run(QStringLiteral("tt"), depth + 1);
                ++i;
                continue;
            }
            if (lc == u'd') {
                const int n = RunLength(picture, i, u'd');
                if (n == 1)
                    out += QString::number(m_date.day());
                else if (n == 2)
                    out += Pad(m_date.day(), 2);
                else if (n == 3)
                    out += m_locale.dayName(m_date.dayOfWeek(), QLocale::ShortFormat);
                else if (n == 4)
                    out += m_locale.dayName(m_date.dayOfWeek(), QLocale::LongFormat);
                else if (n == 5)
                    out += m_locale.toString(m_date, QLocale::ShortFormat);
                else
                    out += m_locale.toString(m_date, QLocale::LongFormat);
                afterHour = false;
                i += n;
                continue;
            }
            if (lc == u'm') {
                int n = RunLength(picture, i, u'm');
                if (afterHour && n <= 2) {
                    out += TwoDigitField(m_time.minute(), n);
                    afterHour = false;
                } else if (n == 1) {
                    out += QString::number(m_date.month());
                } else if (n == 2) {
                    out += Pad(m_date.month(), 2);
                } else if (n == 3) {
                    out += m_locale.monthName(m_date.month(), QLocale::ShortFormat);
                } else {
                    n = qMin(n, 4);
                    out += m_locale.monthName(m_date.month(), QLocale::LongFormat);
                }
                i += n;
                continue;
            }
            if (lc == u'y') {
                const int n = RunLength(picture, i, u'y');
                if (n <= 2)
                    out += Pad(m_date.year() % 100, 2);
                else
                    out += Pad(m_date.year(), 4);
                afterHour = false;
                i += n;
                continue;
            }
            if (lc == u'h') {
                int hour = m_time.hour();
                if (twelve) {
                    hour %= 12;
                    if (hour == 0)
                        hour = 12;
                }
                i += AppendTimeField(out, picture, i, hour);
                afterHour = true;
                continue;
            }
            if (lc == u'n') {
                i += AppendTimeField(out, picture, i, m_time.minute());
                afterHour = false;
                continue;
            }
            if (lc == u's') {
                i += AppendTimeField(out, picture, i, m_time.second());
                continue;
            }
            if (lc == u'z') {
                const int n = RunLength(picture, i, u'z') >= 3 ? 3 : 1;
                out += n == 1 ? QString::number(m_time.msec()) : Pad(m_time.msec(), 3);
                i += n;
                continue;
            }
            if (lc == u't' && depth < 2) {
                const int n = qMin(RunLength(picture, i, u't'), 2);
                out +=
                    m_locale.toString(m_time, n == 1 ? QLocale::ShortFormat : QLocale::LongFormat);
                i += n;
                continue;
            }
            if (c == u'/') {
                out += DateSeparator(m_locale);
                ++i;
                continue;
            }
            if (c == u':') {
                out += TimeSeparator(m_locale);
                ++i;
                continue;
            }
            out += c;
            ++i;
        }
        return out;
    }

private:
    const QLocale &m_locale;
    QDate m_date;
    QTime m_time;
};

} // namespace

QDate DateOfDateTime(double value)
{
    qint64 day = 0;
    int ms = 0;
    if (!Decode(value, day, ms))
        return QDate();
    return DayZero().addDays(day);
}

int MillisecondsOfDateTime(double value)
{
    qint64 day = 0;
    int ms = 0;
    if (!Decode(value, day, ms))
        return 0;
    return ms;
}

double DateToDateTime(const QDate &date)
{
    if (!date.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    return static_cast<double>(DayZero().daysTo(date));
}

double EncodeDateTime(const QDate &date, int hour, int minute, int second, int millisecond)
{
    const double time =
        (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / double(MsPerDay);
    const double day = DateToDateTime(date);
    return day >= 0 ? day + time : day - time;
}

QString FormatDateTime(const QString &picture, double value, const QLocale &locale)
{
    qint64 day = 0;
    int ms = 0;
    if (!Decode(value, day, ms))
        return QString();
    const QDate date = DayZero().addDays(day);
    if (!date.isValid())
        return QString();
    Formatter formatter(locale, date, ms);
    return formatter.Run(picture.isEmpty() ? QStringLiteral("c") : picture, 0);
}

QString ShortDateText(double value, const QLocale &locale)
{
    return FormatDateTime(QStringLiteral("ddddd"), value, locale);
}

QString ShortTimeText(double value, const QLocale &locale)
{
    return FormatDateTime(QStringLiteral("t"), value, locale);
}

} // namespace kov
