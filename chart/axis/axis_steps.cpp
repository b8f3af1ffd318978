#include "chart/axis/axis_steps.h"

#include "chart/format/date_time_format.h"

#include <QDate>
#include <cmath>

namespace kov {

namespace {

constexpr double StepLengths[] = {
    1.0 / 86400,
    5.0 / 86400,
    10.0 / 86400,
    15.0 / 86400,
    30.0 / 86400,
    60.0 / 86400,
    300.0 / 86400,
    600.0 / 86400,
    900.0 / 86400,
    1800.0 / 86400,
    1.0 / 24,
    2.0 / 24,
    0.25,
    0.5,
    1,
    2,
    3,
    7,
    15,
    30,
    60,
    90,
    120,
    182,
    365,
};
static_assert(sizeof(StepLengths) / sizeof(StepLengths[0]) == dsNone);

int MonthsOf(TTimeStep step)
{
    switch (step) {
    case dsOneMonth:
        return 1;
    case dsTwoMonths:
        return 2;
    case dsThreeMonths:
        return 3;
    case dsFourMonths:
        return 4;
    case dsSixMonths:
        return 6;
    default:
        return 0;
    }
}

} // namespace

double TimeStepLength(TTimeStep step)
{
    if (step < dsOneSecond || step >= dsNone)
        return 0;
    return StepLengths[step];
}

double NextNiceStep(double x)
{
    if (!(x > 0) || !std::isfinite(x))
        return 1;
    // Split x into mantissa 1 <= m < 10 and a power of ten. Mantissas within
    // rounding noise of 1, 2, 5 or 10 count as those values, so that a step
    // built by repeated multiplication (0.1 * 10 ...) still moves on.
    constexpr double Tolerance = 1e-9;
    int exponent = static_cast<int>(std::floor(std::log10(x)));
    double m = x / std::pow(10.0, exponent);
    if (m < 1 - Tolerance) {
        m *= 10;
        --exponent;
    }
    if (m >= 10 * (1 - Tolerance)) {
        m /= 10;
        ++exponent;
    }
    double next;
    if (m < 2 * (1 - Tolerance))
        next = 2;
    else if (m < 5 * (1 - Tolerance))
        next = 5;
    else
        next = 10;
    return next * std::pow(10.0, exponent);
}

double NextTimeStep(double x)
{
    for (int i = dsSixMonths; i >= dsOneSecond; --i) {
        if (StepLengths[i] <= x)
            return StepLengths[i + 1];
    }
    return StepLengths[dsOneYear];
}

TTimeStep MatchTimeStep(double x)
{
    for (int i = dsOneYear; i >= dsOneSecond; --i) {
        if (std::fabs(StepLengths[i] - x) < OneSecond)
            return static_cast<TTimeStep>(i);
    }
    return dsNone;
}

double RoundToTimeStep(TTimeStep step, double value)
{
    // 1 January 1900 is day 2.
    if (value <= 2)
        return value;
    QDate date = DateOfDateTime(value);
    switch (step) {
    case dsHalfMonth:
        date.setDate(date.year(), date.month(), date.day() >= 15 ? 15 : 1);
        break;
    case dsOneMonth:
    case dsTwoMonths:
    case dsThreeMonths:
    case dsFourMonths:
    case dsSixMonths:
        date.setDate(date.year(), date.month(), 1);
        break;
    case dsOneYear:
        date.setDate(date.year(), 1, 1);
        break;
    default:
        break;
    }
    return DateToDateTime(date);
}

double CalendarStepBack(TTimeStep step, double value)
{
    QDate date = DateOfDateTime(value);
    if (!date.isValid())
        return value;
    int year = date.year();
    int month = date.month();
    int day = date.day();
    if (step == dsHalfMonth) {
        if (day > 15) {
            day = 15;
        } else if (day > 1) {
            day = 1;
        } else {
            day = 15;
            if (month > 1) {
                --month;
            } else {
                month = 12;
                --year;
            }
        }
    } else if (step == dsOneYear) {
        --year;
        // 29 February of a leap year goes to 28 February.
        const int last = QDate(year, month, 1).daysInMonth();
        if (day > last)
            day = last;
    } else {
        const int n = MonthsOf(step);
        if (n == 0)
            return value;
        if (month > n) {
            month -= n;
        } else {
            --year;
            month = month + 12 - n;
        }
        day = 1;
    }
    const QDate result(year, month, day);
    if (!result.isValid())
        return value - TimeStepLength(step);
    return DateToDateTime(result);
}

} // namespace kov
