#include "chart/canvas/chart_pen.h"

namespace kov {

TChartPen::TChartPen(TChangeHandler onChange) : TPen(std::move(onChange)) {}

void TChartPen::SetVisible(bool value)
{
    if (m_visible == value)
        return;
    m_visible = value;
    Changed();
}

void TChartPen::SetSmallDots(bool value)
{
    if (m_smallDots == value)
        return;
    m_smallDots = value;
    Changed();
}

void TChartPen::CopyFrom(const TPen &source)
{
    if (&source == this)
        return;
    if (const auto *chartPen = dynamic_cast<const TChartPen *>(&source)) {
        m_visible = chartPen->m_visible;
        m_smallDots = chartPen->m_smallDots;
    }
    TPen::CopyFrom(source);
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
