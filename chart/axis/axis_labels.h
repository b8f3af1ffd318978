#pragma once

#include "chart/axis/axis_settings.h"
#include "chart/axis/axis_steps.h"

#include <QString>
#include <vector>

// The label rules of an axis as plain functions of its settings and of what
// one paint gives it (the range, the pixel span, whether the values are
// date-times): how many labels fit, which increment they take, at which
// values they stand and what they read. The axis measures and draws; these
// only compute.
namespace kov {

/// The largest number of labels that fit into pixelSize pixels when the
/// widest one spans labelSpan pixels, grown by LabelsSeparation percent; 1
/// when labelSpan is 0 or below (the count may be 0).
int LabelCount(const TAxisSettings &axis, int pixelSize, int labelSpan);

/// The label increment that fits count labels into rangeSize: the 1-2-5
/// sequence above Increment for numbers (raised only with a
/// LabelsSeparation), the table of date steps for date-times (the axis'
/// TimeStepForCount).
double LabelStepForCount(const TAxisSettings &axis, bool dateTime, double rangeSize, int count);

/// The date step labels at increment step follow on a date-time axis with
/// ExactDateTime and an Increment of its own; dsNone otherwise.
TTimeStep LabelTimeStep(const TAxisSettings &axis, bool dateTime, double step);

/// Moves a label value one step down: a calendar step for the half-month to
/// year steps of an exact date-time axis, else by length.
double StepBackDate(const TAxisSettings &axis, bool dateTime, double value, TTimeStep step,
                    double length);

/// The values of the stepped labels over rangeMin..rangeMax, from the top
/// down, into values (emptied first). None when more than 10000 steps would
/// cover the range, or when a step back would not move a value down.
void SteppedLabelValues(const TAxisSettings &axis, bool dateTime, double rangeMin, double rangeMax,
                        double step, TTimeStep timeStep, std::vector<double> &values);

/// The values of the labels of a logarithmic axis, from the bottom up: the
/// powers of LogarithmicBase from the one nearest rangeMin. A scale cannot
/// reach 0: a rangeMin not above 0 gives way to 0.1 (for 0) or 1e-10, where
/// the labels then start. Returns the range minimum in force (the axis keeps
/// it for the rest of its paint); no labels for an empty range.
double LogarithmicLabelValues(const TAxisSettings &axis, double rangeMin, double rangeMax,
                              std::vector<double> &values);

/// The text of a value label before the chart's label event and line
/// breaking: the number in AxisValuesFormat; a date-time (not below 0) in
/// DateTimeFormat, or without one as the locale's short date when the range
/// spans more than a day and its short time otherwise.
QString ValueLabelText(const TAxisSettings &axis, bool dateTime, double rangeSize, double value);

} // namespace kov
