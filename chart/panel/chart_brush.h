#pragma once

#include "chart/canvas/graphics.h"

// The brush of chart parts that fill an area (titles, walls, markers, the
// legend box). Unlike a plain brush its colour starts as clDefault, "no colour
// of its own": the owner then decides where the fill colour comes from.
namespace kov {

class TChartBrush : public TBrush
{
public:
    /// onChange is the owning chart's change handler (SubObjectChanged).
    explicit TChartBrush(TChangeHandler onChange = {});

    /// True when the brush has a pattern bitmap and that bitmap is not empty.
    bool HasBitmap() const;
};

} // namespace kov
