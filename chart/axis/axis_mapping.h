#pragma once

// How one axis maps values onto pixels: the effective range, the pixel span
// and the switches that bend the mapping (direction, inversion, logarithm).
// The axis recomputes it at every paint; series, mouse handling and marks
// convert through it.
namespace kov {

struct TAxisMapping
{
    double RangeMin = 0;
    double RangeMax = 0;
    double RangeSize = 0;
    int StartPixel = 0;
    int EndPixel = 0;
    int PixelSize = 0;
    int CenterPixel = 0;

    bool Horizontal = false;
    bool Inverted = false;
    bool Logarithmic = false;
    /// The depth axis maps onto 0..Depth3D instead of the pixel span.
    bool Depth = false;
    int Depth3D = 0;

    void SetRange(double rangeMin, double rangeMax);
    void SetPixelSpan(int startPixel, int endPixel);

    int ValueToPos(double value) const;
    double PosToValue(int pos) const;
    /// Depth coordinate (0 front .. Depth3D) of a value on the depth axis.
    int DepthValueToPos(double value) const;
};

} // namespace kov
