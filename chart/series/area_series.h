#pragma once

#include "chart/kovchart_export.h"
#include "chart/series/custom_series.h"

// The area series: the line's points with the area below them filled down to
// an origin, alone or stacked on the area series before it in the chart.
namespace kov {

/// How area series of one chart share the space: each on its own, stacked
/// one on top of the other, or stacked and scaled so that every column sums
/// to 100.
enum TMultiArea { maNone, maStacked, maStacked100 };

/// The settings of an area series besides those of every custom series.
struct KOVCHART_EXPORT TAreaSeriesSettings
{
    TMultiArea MultiArea = maNone;
    /// Fill down to YOrigin instead of the bottom of the vertical axis.
    bool UseYOrigin = false;
    double YOrigin = 0;
};

/// Points joined by segments with the area between them and the origin
/// filled (AreaColor, AreaBrush, outlined with AreaLinesPen). A null point
/// breaks the area. In a 3D chart the area is a solid: the ribbon on top, the
/// front face and the shaded end face.
///
/// Stacked (maStacked), a point is drawn at the sum of its value and the
/// positive values at the same index of the area series before it, and the
/// area below it reaches down to that sum without its own value; the stack
/// starts at 0 (YOrigin with UseYOrigin). Stacked to 100 % (maStacked100),
/// those sums are taken as percentages of the column's positive total; a
/// column whose total is 0 lies at 0. Otherwise the area reaches down to
/// YOrigin with UseYOrigin, else to the bottom of the vertical axis.
class KOVCHART_EXPORT TAreaSeries : public TCustomSeries
{
public:
    TAreaSeries();

    TMultiArea MultiArea() const { return m_area.MultiArea; }
    void SetMultiArea(TMultiArea value) { SetAndInvalidate(this, m_area.MultiArea, value); }
    bool UseYOrigin() const { return m_area.UseYOrigin; }
    void SetUseYOrigin(bool value) { SetAndInvalidate(this, m_area.UseYOrigin, value); }
    double YOrigin() const { return m_area.YOrigin; }
    /// ChartException "Area origin must be a finite number" for an infinite
    /// or undefined value.
    void SetYOrigin(double value);

    /// Copies the settings of another custom series (and of an area series,
    /// its own); the area stays filled unless source is an area series.
    void CopyFrom(const TChartSeries &source) override;

    double DrawnY(int index) const override;
    /// Screen y of the value the area below point index reaches down to.
    int OriginPosition(const TSeriesPaintContext &context, int index) const override;
    /// The vertical extent covers the drawn points and what their areas
    /// reach down to (the origin, the stack below).
    double LargestY() const override;
    double SmallestY() const override;

private:
    /// The value the area below point index reaches down to; false when it
    /// reaches the bottom of the vertical axis.
    bool BaseValue(int index, double &value) const;
    /// Drawn Y and base value of point index when stacked.
    void StackedValues(int index, double &top, double &base) const;
    /// The smallest or largest drawn value or base of any point.
    double Extreme(bool largest) const;

    TAreaSeriesSettings m_area;
};

} // namespace kov
