// Label stepping of an axis: any range (NaN, infinities and extremes
// included), increment, pixel span, label picture and kind of scale, set
// through the axis' own setters and painted.
#include "chart/axis/axis.h"
#include "chart/exceptions.h"
#include "fuzz_application.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace kov;

namespace {

// Reads the input front to back; past its end every value is zero.
class TInput
{
public:
    TInput(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    template <typename T> T Take()
    {
        T value{};
        const std::size_t n = std::min(sizeof value, m_size - m_pos);
        std::memcpy(&value, m_data + m_pos, n);
        m_pos += n;
        return value;
    }
    QString Rest()
    {
        const QString text = QString::fromLatin1(reinterpret_cast<const char *>(m_data + m_pos),
                                                 static_cast<qsizetype>(m_size - m_pos));
        m_pos = m_size;
        return text;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// Setters refuse some values; a refused value leaves the axis as it was.
template <typename F> void Try(F &&set)
{
    try {
        set();
    } catch (const AxisException &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    return StartOffscreenApplication(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TInput in(data, size);
    const double a = in.Take<double>();
    const double b = in.Take<double>();
    const double increment = in.Take<double>();
    const std::int16_t start = in.Take<std::int16_t>();
    const std::int16_t span = in.Take<std::int16_t>();
    const std::uint16_t flags = in.Take<std::uint16_t>();
    const std::uint8_t separation = in.Take<std::uint8_t>();
    const QString picture = in.Rest().left(64);

    TChartAxis axis;
    axis.SetAutomatic(false);
    if (a > axis.Maximum()) {
        Try([&] { axis.SetMaximum(std::max(a, b)); });
        Try([&] { axis.SetMinimum(a); });
    } else {
        Try([&] { axis.SetMinimum(a); });
        Try([&] { axis.SetMaximum(b); });
    }
    axis.RefreshRange();
    axis.Mapping().SetPixelSpan(start, start + span);
    Try([&] { axis.SetIncrement(std::fabs(increment)); });
    Try([&] { axis.SetLabelsSeparation(separation); });
    axis.SetInverted(flags & 1);
    axis.SetLabelsOnAxis(flags & 2);
    axis.SetRoundFirstLabel(flags & 4);
    axis.SetExactDateTime(flags & 8);
    axis.SetLabelsMultiLine(flags & 16);
    axis.SetDateTimeMode(flags & 32);
    if (flags & 64)
        Try([&] { axis.SetLogarithmic(true); });
    if (flags & 128)
        Try([&] { axis.SetLogarithmicBase(2 + (flags >> 12)); });
    if (flags & 256)
        axis.SetAxisValuesFormat(picture);
    else
        axis.SetDateTimeFormat(picture);

    const double step = axis.ComputeLabelStep();
    FUZZ_CHECK(step > 0);
    axis.PaintAxis(false);

    // Labels lie within the pixel span unless they may sit on the axis' ends.
    const auto &labels = axis.Layout().PaintedLabels;
    FUZZ_CHECK(labels.size() <= 100000);
    const int low = std::min(axis.Mapping().StartPixel, axis.Mapping().EndPixel);
    const int high = std::max(axis.Mapping().StartPixel, axis.Mapping().EndPixel);
    if (!axis.LabelsOnAxis()) {
        for (const auto &label : labels)
            FUZZ_CHECK(low <= label.Pos && label.Pos <= high);
    }

    // On a plain scale whose values the pixels can resolve, a pixel turned
    // into a value and back is the same pixel: what a drag relies on.
    const double rangeMin = axis.Mapping().RangeMin;
    const double rangeMax = axis.Mapping().RangeMax;
    const double rangeSize = rangeMax - rangeMin;
    const double magnitude = std::max(std::fabs(rangeMin), std::fabs(rangeMax));
    // Values below the normal range of a double (about 1e-308) lose their
    // precision, so a pixel step must be well above it too.
    if (!axis.Logarithmic() && std::isfinite(rangeSize) && rangeSize > magnitude * 1e-9 &&
        span > 0 && rangeSize / span > 1e-290) {
        for (int p = low; p <= high; p += std::max(1, (high - low) / 16))
            FUZZ_CHECK(std::abs(axis.ValueToPos(axis.PosToValue(p)) - p) <= 1);
    }
    return 0;
}
