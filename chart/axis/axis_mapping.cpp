#include "chart/axis/axis_mapping.h"

#include "chart/numeric.h"

#include <cmath>

namespace kov {

void TAxisMapping::SetRange(double rangeMin, double rangeMax)
{
    RangeMin = rangeMin;
    RangeMax = rangeMax;
    RangeSize = rangeMax - rangeMin;
}

void TAxisMapping::SetPixelSpan(int startPixel, int endPixel)
{
    StartPixel = startPixel;
    EndPixel = endPixel;
    PixelSize = SaturatedSub(endPixel, startPixel);
    CenterPixel = static_cast<int>((static_cast<long long>(startPixel) + endPixel) / 2);
}

int TAxisMapping::ValueToPos(double value) const
{
    if (Depth)
        return DepthValueToPos(value);
    // Values at the small end: the bottom of a vertical axis, the left of a
    // horizontal one, swapped by Inverted.
    const bool fromEnd = Inverted == Horizontal;
    if (Logarithmic) {
        const double lmin = RangeMin > 0 ? std::log(RangeMin) : 0;
        const double lmax = RangeMax > 0 ? std::log(RangeMax) : 0;
        const double span = lmax - lmin;
        if (span == 0)
            return CenterPixel;
        if (!(value > 0))
            return fromEnd ? EndPixel : StartPixel;
        const double t = Inverted ? lmax - std::log(value) : std::log(value) - lmin;
        const double r = t * PixelSize / span;
        if (!FitsInt(r))
            return CenterPixel;
        return Horizontal ? SaturatedAdd(StartPixel, RoundToInt(r))
                          : SaturatedSub(EndPixel, RoundToInt(r));
    }
    if (RangeSize == 0)
        return CenterPixel;
    double t = (value - RangeMin) * PixelSize / RangeSize;
    // Near the limits of a double the product overflows although the pixel
    // does not: scale by the range first.
    if (!std::isfinite(t))
        t = (value / RangeSize - RangeMin / RangeSize) * PixelSize;
    if (!FitsInt(t))
        return CenterPixel;
    const int r = RoundToInt(t);
    return fromEnd ? SaturatedSub(EndPixel, r) : SaturatedAdd(StartPixel, r);
}

double TAxisMapping::PosToValue(int pos) const
{
    if (Logarithmic) {
        const bool maxAtStart = Horizontal == Inverted;
        if (pos == StartPixel)
            return maxAtStart ? RangeMax : RangeMin;
        if (pos == EndPixel)
            return maxAtStart ? RangeMin : RangeMax;
        const double lmin = RangeMin > 0 ? std::log(RangeMin) : 0;
        const double lmax = RangeMax > 0 ? std::log(RangeMax) : 0;
        const double span = lmax - lmin;
        if (span == 0 || PixelSize == 0)
            return RangeMin;
        const double d = Inverted ? span * (static_cast<double>(EndPixel) - pos) / PixelSize
                                  : span * (static_cast<double>(pos) - StartPixel) / PixelSize;
        return Horizontal ? std::exp(lmin + d) : std::exp(lmax - d);
    }
    if (PixelSize <= 0)
        return 0;
    const double d =
        Inverted ? static_cast<double>(EndPixel) - pos : static_cast<double>(pos) - StartPixel;
    double t = d * RangeSize / PixelSize;
    if (!std::isfinite(t))
        t = d / PixelSize * RangeSize;
    return Horizontal ? RangeMin + t : RangeMax - t;
}

int TAxisMapping::DepthValueToPos(double value) const
{
    if (RangeSize == 0)
        return Depth3D / 2;
    const double d = Inverted ? RangeMax - value : value - RangeMin;
    return SaturatedRound(Depth3D * d / RangeSize);
}

} // namespace kov
