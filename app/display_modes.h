#pragma once

#include "chart/color.h"

#include <QLocale>
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

// The arithmetic of the two views of the table, kept apart from the window so
// it can be checked without one: value classes and their colours, the power
// percentage of a raw byte, and where each entry lands on the time scale.
namespace kov {

/// Which view the chart shows (the window's DisplayMode field).
enum TDisplayMode : int {
    dmNone = 0,      // nothing filled yet: the start-up ramp
    dmCountSize = 1, // raw byte against index
    dmTimePower = 2, // power percent on the 3 ms time scale
};

/// Raw steps that make 100 % power, and the raw value where reverse power starts.
constexpr int kFullScale = 43;
constexpr int kReverseBase = 64;

/// Number of time steps of the time/power view, spanning 3 ms.
constexpr int kTimeSteps = 260;
/// The point on which the zero count's entry lands.
constexpr int kZeroPoint = 130;

/// Colour of a displayed value: value classes of raw bytes in the count/size
/// view, signs of the power percentage in any other mode.
TColor ColorForValue(int displayMode, int v);

/// Power percentage of a raw table byte (forward positive, reverse negative).
int PowerPercent(int raw, int fullScale = kFullScale, int reverseBase = kReverseBase);

/// Point of the time/power view on which table entry i lands for zero count z,
/// or -1 when it falls outside the points that are filled.
int TimePowerPoint(int i, int z);

/// Label of time point j (0-based): (j + 1) * 3 / 260 ms with two decimals,
/// ASCII digits and the locale's decimal separator, followed directly by "ms".
QString TimeLabel(int j, const QLocale &locale);

/// One filled point of the time/power view.
struct TimePowerEntry
{
    int Point;
    int Percent;
    TColor Color;
};

/// The points the time/power view fills, in table order: later entries that
/// land on the same point overwrite earlier ones when applied in this order.
std::vector<TimePowerEntry> TimePowerEntries(std::span<const std::uint8_t> table, int zeroCount,
                                             int fullScale = kFullScale,
                                             int reverseBase = kReverseBase);

} // namespace kov
