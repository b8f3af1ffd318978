#pragma once

// What a mouse event carries besides its position: the button that went down
// or up, and the keys and buttons held at the time.
namespace kov {

/// The mouse button of a press or release.
enum TMouseButton { mbLeft, mbRight, mbMiddle };

/// Keys and buttons held during a mouse event, and the double-click flag.
enum TShiftStateFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;

} // namespace kov
