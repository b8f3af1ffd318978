#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

// Date-time values of the chart: doubles counting days since 30 December 1899,
// the time of day as the fraction (0.5 is noon). The date is the integral part
// (toward zero), the time of day the absolute fraction.
namespace kov {

/// The date part of a date-time value; invalid when out of the calendar's range.
QDate DateOfDateTime(double value);
/// Milliseconds since midnight of a date-time value, rounded to the millisecond.
int MillisecondsOfDateTime(double value);
/// A date at midnight as a date-time value.
double DateToDateTime(const QDate &date);
/// A date and time as a date-time value.
double EncodeDateTime(const QDate &date, int hour = 0, int minute = 0, int second = 0,
                      int millisecond = 0);

/// Formats a date-time with a picture such as "dd/mm/yyyy hh:nn:ss":
/// d dd ddd dddd (day, short/long weekday), ddddd dddddd (short/long date),
/// m mm mmm mmmm (month; minutes right after an hour), yy yyyy, h hh, n nn,
/// s ss, z zzz, t tt (short/long time), c (short date and long time),
/// am/pm a/p ampm, "/" and ":" as the locale's separators, quoted literals.
/// An empty picture formats as "c".
QString FormatDateTime(const QString &picture, double value,
                       const QLocale &locale = QLocale::system());

/// The locale's short date of a date-time value.
QString ShortDateText(double value, const QLocale &locale = QLocale::system());
/// The locale's short time of a date-time value.
QString ShortTimeText(double value, const QLocale &locale = QLocale::system());

} // namespace kov
