#pragma once

// Label increments of axes: the 1-2-5 sequence of number steps and the table of
// date-time steps. Date-time values count days since 30 December 1899, the time
// of day being the fraction; one second is 1/86400.
namespace kov {

/// Date-time label steps, shortest first; dsNone means no step.
enum TTimeStep {
    dsOneSecond,
    dsFiveSeconds,
    dsTenSeconds,
    dsFifteenSeconds,
    dsThirtySeconds,
    dsOneMinute,
    dsFiveMinutes,
    dsTenMinutes,
    dsFifteenMinutes,
    dsThirtyMinutes,
    dsOneHour,
    dsTwoHours,
    dsSixHours,
    dsTwelveHours,
    dsOneDay,
    dsTwoDays,
    dsThreeDays,
    dsOneWeek,
    dsHalfMonth,
    dsOneMonth,
    dsTwoMonths,
    dsThreeMonths,
    dsFourMonths,
    dsSixMonths,
    dsOneYear,
    dsNone
};

/// Length of one second in days.
constexpr double OneSecond = 1.0 / 86400.0;

/// Length of a step in days; 0 for dsNone.
double TimeStepLength(TTimeStep step);

/// The next value of 1, 2, 5, 10, 20, 50 ... above x (x > 0).
double NextNiceStep(double x);

/// The length of the table step after the longest one not above x; one year
/// for x below one second.
double NextTimeStep(double x);

/// The longest table step whose length is within one second of x; dsNone
/// when there is none.
TTimeStep MatchTimeStep(double x);

/// The value's date rounded down to the start of its step (half month, month,
/// year); values up to 1 January 1900 come back unchanged.
double RoundToTimeStep(TTimeStep step, double value);

/// Moves a date one calendar step back (half month, n months, one year); the
/// time of day is dropped. Only meaningful for dsHalfMonth .. dsOneYear.
double CalendarStepBack(TTimeStep step, double value);

} // namespace kov
