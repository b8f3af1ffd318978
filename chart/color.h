#pragma once

#include "chart/kovchart_export.h"

#include <QColor>
#include <cstdint>

// Colours are 32-bit integers laid out 0x00BBGGRR. Values with the top bit set
// name system colours resolved through the application palette; clNone marks
// a point that keeps its slot but is not drawn, clDefault means "no colour of
// its own".
namespace kov {

using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clDkGray = clGray;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours: top bit set, low byte selects the palette role.
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clWindow = static_cast<TColor>(0x80000005u);
constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000Fu);
constexpr TColor clBtnShadow = static_cast<TColor>(0x80000010u);
constexpr TColor clGrayText = static_cast<TColor>(0x80000011u);
constexpr TColor clBtnText = static_cast<TColor>(0x80000012u);
constexpr TColor clBtnHighlight = static_cast<TColor>(0x80000014u);
constexpr TColor cl3DDkShadow = static_cast<TColor>(0x80000015u);
constexpr TColor cl3DLight = static_cast<TColor>(0x80000016u);

inline constexpr bool IsSystemColor(TColor c)
{
    return (static_cast<std::uint32_t>(c) & 0x80000000u) != 0;
}

/// Resolves a system colour to plain 0x00BBGGRR through the application
/// palette; plain colours come back unchanged.
KOVCHART_EXPORT TColor ColorToRGB(TColor c);

/// The one conversion from an engine colour to a Qt colour. clNone and
/// clDefault have no colour of their own and become transparent.
KOVCHART_EXPORT QColor ToQColor(TColor c);

/// The engine colour of a Qt colour (alpha dropped).
KOVCHART_EXPORT TColor FromQColor(const QColor &c);

/// 0x00BBGGRR from red, green and blue bytes.
inline constexpr TColor RGBColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline constexpr int RedOf(TColor c)
{
    return c & 0xFF;
}
inline constexpr int GreenOf(TColor c)
{
    return (c >> 8) & 0xFF;
}
inline constexpr int BlueOf(TColor c)
{
    return (c >> 16) & 0xFF;
}

} // namespace kov
