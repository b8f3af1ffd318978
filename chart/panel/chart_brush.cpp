#include "chart/panel/chart_brush.h"

namespace kov {

TChartBrush::TChartBrush(TChangeHandler onChange)
{
    // Set the starting colour before the handler is attached: constructing a
    // part must not ask its chart to repaint.
    SetColor(clDefault);
    OnChange = std::move(onChange);
}

bool TChartBrush::HasBitmap() const
{
    return !Bitmap().isNull() && Bitmap().width() > 0 && Bitmap().height() > 0;
}

} // namespace kov
