#include "chart/color.h"

#include <QGuiApplication>
#include <QPalette>

namespace kov {

namespace {

QPalette::ColorRole RoleOf(TColor c)
{
    switch (static_cast<std::uint32_t>(c) & 0xFFu) {
    case 0x05:
        return QPalette::Base;
    case 0x08:
        return QPalette::WindowText;
    case 0x0F:
        return QPalette::Button;
    case 0x10:
        return QPalette::Mid;
    case 0x11:
        return QPalette::PlaceholderText;
    case 0x12:
        return QPalette::ButtonText;
    case 0x14:
        return QPalette::Light;
    case 0x15:
        return QPalette::Shadow;
    case 0x16:
        return QPalette::Midlight;
    default:
        return QPalette::Window;
    }
}

} // namespace

TColor ColorToRGB(TColor c)
{
    if (!IsSystemColor(c))
        return c;
    const QPalette palette = QGuiApplication::palette();
    return FromQColor(palette.color(QPalette::Active, RoleOf(c)));
}

QColor ToQColor(TColor c)
{
    if (c == clNone || c == clDefault)
        return QColor(0, 0, 0, 0);
    const TColor rgb = ColorToRGB(c);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

TColor FromQColor(const QColor &c)
{
    return RGBColor(c.red(), c.green(), c.blue());
}

} // namespace kov
