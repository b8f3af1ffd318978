#include "chart/panel/chart_gradient.h"

namespace kov {

TCustomChartGradient::TCustomChartGradient(TChangeHandler onChange) : OnChange(std::move(onChange))
{
}

void TCustomChartGradient::CopyFrom(const TCustomChartGradient &source)
{
    m_settings = source.m_settings;
}

} // namespace kov
