#include "chart/chart_gradient.h"

#include "chart/chart_panel.h"

namespace kov {

TCustomChartGradient::TCustomChartGradient(TCustomChartPanel *owner) : m_owner(owner) {}

template <typename T> void TCustomChartGradient::Store(T &field, T value)
{
    SetAndInvalidate(m_owner, field, value);
}

void TCustomChartGradient::SetDirection(TGradientDirection value)
{
    Store(m_direction, value);
}

void TCustomChartGradient::SetEndColor(TColor value)
{
    Store(m_endColor, value);
}

void TCustomChartGradient::SetStartColor(TColor value)
{
    Store(m_startColor, value);
}

void TCustomChartGradient::SetVisible(bool value)
{
    Store(m_visible, value);
}

void TCustomChartGradient::CopyFrom(const TCustomChartGradient &source)
{
    m_visible = source.m_visible;
    m_direction = source.m_direction;
    m_startColor = source.m_startColor;
    m_endColor = source.m_endColor;
}

} // namespace kov
