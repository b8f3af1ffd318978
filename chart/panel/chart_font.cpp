#include "chart/panel/chart_font.h"

#include "chart/canvas/chart_canvas.h"
#include "chart/panel/chart_panel.h"

namespace kov {

TChartFontObject::TChartFontObject(TCustomChartPanel *owner) : m_owner(owner)
{
    SetDefaultFont(m_font);
    m_font.OnChange = SubObjectHandler(owner);
}

TChartFontObject::~TChartFontObject()
{
    m_font.OnChange = nullptr;
}

void TChartFontObject::SetFont(const TFont &value)
{
    if (&value != &m_font)
        m_font.CopyFrom(value);
}

bool TChartFontObject::IsFontStored() const
{
    return !MatchesDefaultFont(m_font);
}

void TChartFontObject::Repaint() const
{
    if (m_owner)
        m_owner->InvalidatePanel();
}

void TChartFontObject::CopyFrom(const TChartFontObject &source)
{
    SetFont(source.m_font);
}

} // namespace kov
