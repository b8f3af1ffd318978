#include "chart/color.h"

#include <QGuiApplication>
#include <QPalette>
#include <utility>

namespace kov {

namespace {

/// The palette role each system colour stands for; any other system colour
/// is the window background.
constexpr std::pair<TColor, QPalette::ColorRole> SystemColorRoles[] = {
    {clWindow, QPalette::Base},
    {clWindowText, QPalette::WindowText},
    {clBtnFace, QPalette::Button},
    {clBtnShadow, QPalette::Mid},
    {clGrayText, QPalette::PlaceholderText},
    {clBtnText, QPalette::ButtonText},
    {clBtnHighlight, QPalette::Light},
    {cl3DDkShadow, QPalette::Shadow},
    {cl3DLight, QPalette::Midlight},
};

/// A system colour's low byte picks its role.
QPalette::ColorRole RoleOf(TColor c)
{
    const auto index = [](TColor color) { return static_cast<std::uint32_t>(color) & 0xFFu; };
    for (const auto &[color, role] : SystemColorRoles) {
        if (index(color) == index(c))
            return role;
    }
    return QPalette::Window;
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
