#pragma once

namespace kov {

/// The state of one mouse drag of the chart: the zoom rectangle or a panning
/// drag. The start is where the button went down, the end follows the pointer.
class TZoomPanningRecord
{
public:
    bool DragActive = false;
    int StartX = 0;
    int StartY = 0;
    int EndX = 0;
    int EndY = 0;

    /// Begins a drag at (x, y): both corners there, dragging on.
    void StartDrag(int x, int y);
    /// Swaps the coordinates so that the start is the top-left corner.
    void Normalize();
};

} // namespace kov
