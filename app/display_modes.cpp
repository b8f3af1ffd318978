#include "app/display_modes.h"

namespace kov {

TColor ColorForValue(int displayMode, int v)
{
    if (displayMode == dmCountSize) {
        if (v < 64)
            return clGreen;
        if (v == 64)
            return clRed;
        if (v < 128)
            return clBlue;
        return clBlack;
    }
    if (v == 0)
        return clRed;
    if (v < 0)
        return clBlue;
    if (v < 128)
        return clGreen;
    return clBlack;
}

int PowerPercent(int raw, int fullScale, int reverseBase)
{
    if (raw <= fullScale)
        return raw * 100 / fullScale;
    if (raw > 127)
        return 0;
    if (raw > reverseBase)
        return -((raw - reverseBase) * 100 / fullScale);
    if (raw == reverseBase)
        return 0;
    return raw; // between full scale and the reverse base: shown as it is
}

int TimePowerPoint(int i, int z)
{
    // Entries far below the zero count wrap round by 255 (not 256), so the
    // last entry and entry 0 can meet on one point; the later entry wins.
    const int j = (i < z - 155) ? i + 255 - z + kZeroPoint : i - z + kZeroPoint;
    return (j < 0 || j > 256) ? -1 : j;
}

QString TimeLabel(int j, const QLocale &locale)
{
    // The step is 3/260 ms; no step lies halfway between two hundredths, so
    // the rounding rule of the conversion cannot show.
    const long double ms = static_cast<long double>(j + 1) * 3.0L / 260.0L;
    // Only the decimal separator comes from the locale: the digits stay ASCII
    // in locales that write numbers in another script (Arabic, Persian).
    QString text = QString::number(static_cast<double>(ms), 'f', 2);
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text + QStringLiteral("ms");
}

std::vector<TimePowerEntry> TimePowerEntries(std::span<const std::uint8_t> table, int zeroCount,
                                             int fullScale, int reverseBase)
{
    std::vector<TimePowerEntry> entries;
    entries.reserve(table.size());
    for (int i = 0; i < static_cast<int>(table.size()); ++i) {
        const int j = TimePowerPoint(i, zeroCount);
        if (j < 0)
            continue;
        const int percent = PowerPercent(table[i], fullScale, reverseBase);
        entries.push_back({j, percent, ColorForValue(dmTimePower, percent)});
    }
    return entries;
}

} // namespace kov
