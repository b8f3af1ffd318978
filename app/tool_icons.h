#pragma once

#include <QIcon>
#include <QList>

// The five 32x32 images of the tool bar and menus, in ImageList1's order:
// open, save, update, about, exit.
namespace kov {

enum class TToolImage { Open = 0, Save = 1, Update = 2, About = 3, Exit = 4 };

/// The image from the desktop icon theme when it has one at 32x32, otherwise
/// our own drawing, so no button is ever blank.
QIcon ToolImage(TToolImage image);

/// Our own drawing of the image, independent of any icon theme, drawn at the
/// size and device pixel ratio it is shown at.
QIcon DrawnToolImage(TToolImage image);

/// All five images in ImageList1's order.
QList<QIcon> CreateImageList();

} // namespace kov
