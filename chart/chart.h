#pragma once

#include "chart/axis_panel.h"

// The chart component: the axis panel plus the layout of axes and series
// margins and the free-colour rule. Titles, walls, legend and the mouse
// behaviour plug in here through the pipeline hooks.
namespace kov {

class TCustomChart : public TCustomAxisPanel
{
public:
    explicit TCustomChart(QWidget *parent = nullptr);
    ~TCustomChart() override;

    /// Refreshes every axis range, computes the depth sizes, lets every shown
    /// axis reserve its room and sets every axis' pixel span.
    void LayoutAxes() override;
    /// Widens the side axes' ranges for the pixel margins their series ask.
    void LayoutSeriesArea() override;
    /// Wall size beside an axis. No walls are drawn yet, so 0.
    int WallThickness(const TCustomChartAxis *axis) const override;
    /// Titles and legend take their room here. Not drawn yet: nothing.
    void PaintTitlesAndLegend() override;
    /// Back, left and bottom walls. Not drawn yet: nothing.
    void PaintWalls() override;
    /// False when a series already uses the colour, or (with checkBackground)
    /// when it is the chart's colour or back colour.
    bool ColorIsFree(TColor color, bool checkBackground) const override;

    /// The colour behind the series area (clDefault: none). Walls are a later
    /// addition; until then the chart has no back colour of its own.
    virtual TColor BackColor() const { return clDefault; }
    /// Size of the back wall in a 3D view; 0 until walls exist.
    virtual int BackWallSize() const { return 0; }
};

/// The chart a window embeds; it only publishes what TCustomChart has.
class TChart : public TCustomChart
{
public:
    using TCustomChart::TCustomChart;
};

} // namespace kov
