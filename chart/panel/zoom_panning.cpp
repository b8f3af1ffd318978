#include "chart/panel/zoom_panning.h"

#include <utility>

namespace kov {

void TZoomPanningRecord::StartDrag(int x, int y)
{
    StartX = x;
    StartY = y;
    EndX = x;
    EndY = y;
    DragActive = true;
}

void TZoomPanningRecord::Normalize()
{
    if (StartX > EndX)
        std::swap(StartX, EndX);
    if (StartY > EndY)
        std::swap(StartY, EndY);
}

} // namespace kov
