// The engine's number and date-time formatting and its label step helpers on
// arbitrary doubles and pictures.
#include "chart/axis/axis_steps.h"
#include "chart/format/date_time_format.h"
#include "chart/format/number_format.h"
#include "fuzz_check.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace kov;

namespace {

// Longest text a picture can give: its own characters, the digits of the
// largest double with group separators, sign, point and exponent.
bool Bounded(const QString &text, const QString &picture)
{
    return text.size() <= picture.size() + 500;
}

// A step of 2, 5 or 10 times a power of ten.
bool IsNiceStep(double step)
{
    const double m = step / std::pow(10.0, std::floor(std::log10(step)));
    for (double nice : {1.0, 2.0, 5.0, 10.0}) {
        if (std::fabs(m - nice) < 1e-6 * nice)
            return true;
    }
    return false;
}

void CheckSteps(double x)
{
    const double a = std::fabs(x);
    if (a >= 1e-300 && a <= 1e300) {
        const double next = NextNiceStep(a);
        FUZZ_CHECK(next > a && next <= a * 2.5 * (1 + 1e-6));
        FUZZ_CHECK(IsNiceStep(next));
    }
    const double time = NextTimeStep(x);
    FUZZ_CHECK(time > 0 && time <= 365);
    if (x < 182)
        FUZZ_CHECK(time > x);
    const TTimeStep match = MatchTimeStep(x);
    if (match != dsNone)
        FUZZ_CHECK(std::fabs(TimeStepLength(match) - x) < OneSecond);

    // Calendar steps go back in time, and rounding to a step never goes
    // forward, for every date the calendar holds. A time within half a
    // millisecond of midnight counts as the next day, as it is shown.
    if (std::isfinite(x) && std::fabs(x) < 1e9 && DateOfDateTime(x).isValid()) {
        for (int s = dsHalfMonth; s <= dsOneYear; ++s) {
            const auto step = static_cast<TTimeStep>(s);
            FUZZ_CHECK(CalendarStepBack(step, x) < x);
            const double rounded = RoundToTimeStep(step, x);
            FUZZ_CHECK(!(rounded > x + 0.5 / 86400000.0 * (1 + 1e-6)));
        }
    }
}

// A picture "0.000" (places zeros) prints the value rounded to that many
// places, which reads back as the value within half a unit of the last place.
void CheckRoundTrip(double value, int places)
{
    if (!std::isfinite(value) || std::fabs(value) >= 1e12)
        return;
    QString picture = QStringLiteral("0");
    if (places > 0)
        picture += QLatin1Char('.') + QString(places, QLatin1Char('0'));
    const QString text = FormatFloat(picture, value, QLocale::c());
    bool ok = false;
    const double back = text.toDouble(&ok);
    FUZZ_CHECK(ok);
    const double tolerance = 0.5 * std::pow(10.0, -places) + std::fabs(value) * 1e-14 + 1e-300;
    FUZZ_CHECK(std::fabs(back - value) <= tolerance);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    FUZZ_CHECK(places == 0 ? point < 0 : text.size() - point - 1 == places);

    // With grouping, the same digits with a separator every three.
    const QString grouped = FormatFloat(QStringLiteral("#,##") + picture, value, QLocale::c());
    QString plain = grouped;
    plain.remove(QLatin1Char(','));
    FUZZ_CHECK(plain == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 9)
        return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    const std::uint8_t choice = data[8];
    const QString picture = QString::fromLatin1(reinterpret_cast<const char *>(data + 9),
                                                static_cast<qsizetype>(size - 9));

    static const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale &locale = choice & 1 ? german : QLocale::c();
    FUZZ_CHECK(Bounded(FormatFloat(picture, value, locale), picture));
    // One picture letter can stand for a whole date and time ("c").
    FUZZ_CHECK(FormatDateTime(picture, value, locale).size() <= 32 * picture.size() + 64);
    CheckSteps(value);
    CheckRoundTrip(value, choice % 16);
    return 0;
}
