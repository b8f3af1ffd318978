#include "chart/series/area_series.h"

#include "chart/exceptions.h"

#include <algorithm>
#include <cmath>

namespace kov {

TAreaSeries::TAreaSeries()
{
    SetDrawArea(true);
    SetAllowSinglePoint(false);
    Pointer().SetVisible(false);
}

void TAreaSeries::SetYOrigin(double value)
{
    if (!std::isfinite(value))
        throw ChartException(QStringLiteral("Area origin must be a finite number"));
    SetAndInvalidate(this, m_area.YOrigin, value);
}

void TAreaSeries::CopyFrom(const TChartSeries &source)
{
    if (&source == this)
        return;
    const auto *area = dynamic_cast<const TAreaSeries *>(&source);
    if (area)
        m_area = area->m_area;
    TCustomSeries::CopyFrom(source);
    if (!area)
        SetDrawArea(true);
}

void TAreaSeries::StackedValues(int index, double &top, double &base) const
{
    const double origin = m_area.UseYOrigin ? m_area.YOrigin : 0.0;
    const double below = StackBase(index, false);
    const double own = PointY(index);
    if (m_area.MultiArea == maStacked) {
        base = origin + below;
        top = base + own;
        return;
    }
    // Stacked to 100 %: the column's positive total; nothing to divide by
    // when it is 0, and the whole column then lies at the origin.
    const double total = StackBase(index, true) + std::max(0.0, own);
    if (total == 0) {
        base = top = origin;
        return;
    }
    base = origin + 100.0 * below / total;
    top = origin + 100.0 * (below + own) / total;
}

double TAreaSeries::DrawnY(int index) const
{
    if (m_area.MultiArea == maNone)
        return PointY(index);
    double top = 0, base = 0;
    StackedValues(index, top, base);
    return top;
}

bool TAreaSeries::BaseValue(int index, double &value) const
{
    if (m_area.MultiArea != maNone) {
        double top = 0;
        StackedValues(index, top, value);
        return true;
    }
    value = m_area.YOrigin;
    return m_area.UseYOrigin;
}

int TAreaSeries::OriginPosition(const TSeriesPaintContext &context, int index) const
{
    double base = 0;
    if (!BaseValue(index, base))
        return TCustomSeries::OriginPosition(context, index);
    return context.YPos(base);
}

double TAreaSeries::Extreme(bool largest) const
{
    double result = 0;
    for (int i = 0; i < PointCount(); ++i) {
        double top = PointY(i), base = top;
        if (m_area.MultiArea != maNone)
            StackedValues(i, top, base);
        else
            base = m_area.YOrigin;
        const double v = largest ? std::max(top, base) : std::min(top, base);
        if (i == 0 || (largest ? v > result : v < result))
            result = v;
    }
    return result;
}

double TAreaSeries::LargestY() const
{
    if (m_area.MultiArea == maNone && !m_area.UseYOrigin)
        return TCustomSeries::LargestY();
    return Extreme(true);
}

double TAreaSeries::SmallestY() const
{
    if (m_area.MultiArea == maNone && !m_area.UseYOrigin)
        return TCustomSeries::SmallestY();
    return Extreme(false);
}

} // namespace kov
