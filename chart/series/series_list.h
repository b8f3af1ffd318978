#pragma once

#include "chart/kovchart_export.h"

#include <vector>

namespace kov {

class TChartSeries;

/// The series of one chart in the order they were added (drawing order).
/// Does not own the series; the chart does.
class KOVCHART_EXPORT TChartSeriesList
{
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    /// The series at i; ListIndexError outside the list.
    TChartSeries *SeriesAt(int i) const;
    /// Number of series with Active set.
    int ActiveCount() const;
    int IndexOf(const TChartSeries *series) const;
    void Add(TChartSeries *series) { m_items.push_back(series); }
    void Remove(TChartSeries *series);
    const std::vector<TChartSeries *> &Items() const { return m_items; }

private:
    std::vector<TChartSeries *> m_items;
};

} // namespace kov
