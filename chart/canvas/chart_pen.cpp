#include "chart/canvas/chart_pen.h"

namespace kov {

TChartPen::TChartPen(TChangeHandler onChange) : TPen(std::move(onChange)) {}

void TChartPen::CopyFrom(const TPen &source)
{
    if (&source == this)
        return;
    if (const auto *chartPen = dynamic_cast<const TChartPen *>(&source))
        m_settings = chartPen->m_settings;
    TPen::CopyFrom(source);
}

void AdjustPenForPrinting(TPen &pen, bool printing)
{
    if (printing && pen.Style() != psSolid && pen.Width() == 1)
        pen.SetWidth(0);
}

// The variants only change defaults. They are set before the owner's handler
// is installed so that construction reports no change.
TChartHiddenPen::TChartHiddenPen(TChangeHandler onChange)
{
    SetVisible(false);
    OnChange = std::move(onChange);
}

TDottedGrayPen::TDottedGrayPen(TChangeHandler onChange)
{
    SetColor(clGray);
    SetStyle(psDot);
    OnChange = std::move(onChange);
}

TDarkGrayPen::TDarkGrayPen(TChangeHandler onChange)
{
    SetColor(clGray);
    OnChange = std::move(onChange);
}

TChartAxisPen::TChartAxisPen(TChangeHandler onChange)
{
    SetWidth(2);
    OnChange = std::move(onChange);
}

TChartArrowPen::TChartArrowPen(TChangeHandler onChange)
{
    SetColor(clWhite);
    OnChange = std::move(onChange);
}

} // namespace kov
