#pragma once

#include <functional>

class QMenu;
class QWidget;

// Where the main window gets its chart. Everything about creating and setting
// up Chart1 lives here, so the chart engine plugs in at this one place.
namespace kov {

/// Creates Chart1 in the given parent with popupMenu as its context menu;
/// onContextPopup runs on each context-menu request before the menu opens. For
/// now Chart1 is an empty area; the chart engine's TChart takes its place.
QWidget *CreateChart1(QWidget *parent, QMenu *popupMenu, std::function<void()> onContextPopup);

} // namespace kov
