#include "chart/axis/axis_labels.h"

#include "chart/format/date_time_format.h"
#include "chart/format/number_format.h"
#include "chart/numeric.h"

#include <algorithm>
#include <cmath>

namespace kov {

namespace {

// Bound on every label and step search, so that no range can make one loop
// for long.
constexpr int MaxLabelLoops = 100000;
// More stepped labels than this over one range draw none at all.
constexpr double MaxSteppedLabels = 10000;

} // namespace

int LabelCount(const TAxisSettings &axis, int pixelSize, int labelSpan)
{
    double s = labelSpan;
    if (s <= 0)
        return 1;
    if (axis.LabelsSeparation > 0)
        s += RoundToInt(axis.LabelsSeparation * 0.01 * s);
    return SaturatedRound(pixelSize / s);
}

double LabelStepForCount(const TAxisSettings &axis, bool dateTime, double rangeSize, int count)
{
    if (count < 1)
        return dateTime ? OneSecond : 1e-12;
    if (dateTime) {
        double step = std::max(OneSecond, axis.Increment);
        if (!std::isfinite(rangeSize) || !std::isfinite(step))
            return step;
        if (rangeSize / step > 1000000)
            step = rangeSize / 1000000;
        for (int loops = 0; std::nearbyint(rangeSize / step) > count && loops < MaxLabelLoops;
             ++loops)
            step = step >= 365 ? step * 2 : NextTimeStep(step);
        return std::max(OneSecond, step);
    }
    double step;
    if (axis.Increment > 0)
        step = axis.Increment;
    else
        step = std::fabs(rangeSize) < 1 ? 1e-12 : 1;
    if (axis.LabelsSeparation > 0 && std::isfinite(rangeSize) && std::isfinite(step)) {
        double c = count + 1.0;
        for (int loops = 0; c > count && loops < MaxLabelLoops; ++loops) {
            const double q = rangeSize / step;
            if (FitsInt(q)) {
                c = std::nearbyint(q);
                if (c > count)
                    step = NextNiceStep(step);
            } else {
                step = NextNiceStep(step);
            }
        }
    }
    return std::max(step, 1e-12);
}

TTimeStep LabelTimeStep(const TAxisSettings &axis, bool dateTime, double step)
{
    if (!dateTime || !axis.ExactDateTime || axis.Increment == 0)
        return dsNone;
    TTimeStep timeStep = MatchTimeStep(axis.Increment);
    if (timeStep != dsNone) {
        while (step > TimeStepLength(timeStep) && timeStep != dsOneYear)
            timeStep = static_cast<TTimeStep>(timeStep + 1);
    }
    return timeStep;
}

double StepBackDate(const TAxisSettings &axis, bool dateTime, double value, TTimeStep step,
                    double length)
{
    if (axis.ExactDateTime && dateTime && step >= dsHalfMonth && step <= dsOneYear)
        return CalendarStepBack(step, value);
    return value - length;
}

void SteppedLabelValues(const TAxisSettings &axis, bool dateTime, double rangeMin, double rangeMax,
                        double step, TTimeStep timeStep, std::vector<double> &values)
{
    values.clear();
    // A calendar step moves a label by its own length (a year at the most)
    // however long the wanted step is: over thousands of years of yearly
    // steps the labels would pile onto each other, so they are counted by
    // the length they really step.
    const bool calendar =
        axis.ExactDateTime && dateTime && timeStep >= dsHalfMonth && timeStep <= dsOneYear;
    const double length = calendar ? TimeStepLength(timeStep) : step;
    const double steps = std::fabs((rangeMax - rangeMin) / length);
    if (!(steps < MaxSteppedLabels))
        return;
    // One allocation for the labels of a paint, not one for each doubling.
    values.reserve(static_cast<size_t>(steps) + 2);
    double v;
    if (dateTime && axis.ExactDateTime && timeStep != dsNone && timeStep >= dsOneDay)
        v = RoundToTimeStep(timeStep, rangeMax);
    else if (rangeMin == rangeMax || !axis.RoundFirstLabel)
        v = rangeMax;
    else
        v = std::trunc(rangeMax / step) * step;

    // Each step back must move the value down; one that does not (a step
    // below the resolution of huge values) ends the labels.
    auto stepBack = [&](double value, bool &stuck) {
        const double next = StepBackDate(axis, dateTime, value, timeStep, step);
        stuck = !(next < value);
        return next;
    };
    bool stuck = false;
    for (int loops = 0; v > rangeMax && !stuck && loops < MaxLabelLoops; ++loops)
        v = stepBack(v, stuck);
    if (stuck)
        return;
    const double bound = (rangeMin - 1e-12) / 1.000000000001;
    for (int loops = 0; v >= bound && !stuck && loops < MaxLabelLoops; ++loops) {
        values.push_back(v);
        v = stepBack(v, stuck);
    }
}

double LogarithmicLabelValues(const TAxisSettings &axis, double rangeMin, double rangeMax,
                              std::vector<double> &values)
{
    values.clear();
    if (rangeMin == rangeMax)
        return rangeMin;
    const double base = axis.LogarithmicBase;
    double v;
    if (rangeMin > 0) {
        v = std::pow(base, std::nearbyint(std::log(rangeMin) / std::log(base)));
    } else {
        rangeMin = rangeMin == 0 ? 0.1 : 1e-10;
        v = rangeMin;
    }
    for (int loops = 0; v <= rangeMax && v > 0 && std::isfinite(v) && loops < MaxLabelLoops;
         ++loops) {
        if (v >= rangeMin)
            values.push_back(v);
        v *= base;
    }
    return rangeMin;
}

QString ValueLabelText(const TAxisSettings &axis, bool dateTime, double rangeSize, double value)
{
    if (!dateTime)
        return FormatFloat(axis.AxisValuesFormat, value);
    if (!(value >= 0))
        return QString();
    if (!axis.DateTimeFormat.isEmpty())
        return FormatDateTime(axis.DateTimeFormat, value);
    return rangeSize > 1 ? ShortDateText(value) : ShortTimeText(value);
}

} // namespace kov
