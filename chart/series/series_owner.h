#pragma once

#include "chart/canvas/rect.h"

#include <QString>

// What a series asks of the chart it is placed in. The chart implements it;
// a series knows its chart through this interface alone, so the series code
// sits below the chart that draws it.
namespace kov {

class TChartCanvas;
class TChartSeries;
class TChartSeriesList;
class TCustomAxisPanel;
class TCustomChartAxis;
class TFont;
struct TSeriesPaintContext;

/// The four axes along the sides of a chart.
struct TSideAxes
{
    TCustomChartAxis *Top = nullptr;
    TCustomChartAxis *Bottom = nullptr;
    TCustomChartAxis *Left = nullptr;
    TCustomChartAxis *Right = nullptr;
};

/// The chart a series is placed in, as the series sees it.
class TSeriesOwner
{
public:
    /// The chart itself, as TChartSeries::ParentChart hands it out; null for
    /// an owner that is no axis panel.
    virtual TCustomAxisPanel *AsAxisPanel() = 0;

    // ---- the series list -----------------------------------------------------------
    /// Puts series into the owner's series list; the owner owns it from then on.
    virtual void AttachSeries(TChartSeries *series) = 0;
    /// Takes series out of the owner's series list; the caller owns it again.
    virtual void DetachSeries(TChartSeries *series) = 0;
    virtual const TChartSeriesList &SeriesList() const = 0;
    /// True while the owner is being destroyed (its series go with it).
    virtual bool IsDestroying() const = 0;

    // ---- where series are drawn ------------------------------------------------------
    virtual TSideAxes SideAxes() const = 0;
    /// The chart rectangle: where axes, walls and series go.
    virtual TRect SeriesRect() const = 0;
    /// Whether the chart shows its series in 3D.
    virtual bool SeriesIn3D() const = 0;
    /// Whether series of one depth order are drawn as a group.
    virtual bool ZOrdersApplied() const = 0;
    /// The largest depth order among the series (a running value while the
    /// series take their depth orders).
    virtual int MaxZOrder() const = 0;
    virtual void SetMaxZOrder(int value) = 0;
    /// What series draws and hit-tests with now.
    virtual TSeriesPaintContext SeriesPaintContext(const TChartSeries &series) = 0;

    // ---- texts -------------------------------------------------------------------------------
    /// The chart canvas, to measure texts in its current font.
    virtual TChartCanvas &TextCanvas() = 0;
    /// Makes font the chart canvas's font, as the chart selects its fonts.
    virtual void SelectTextFont(const TFont &font) = 0;
    /// The formatted value of a series point for the legend.
    virtual QString FormattedValueLegend(TChartSeries *series, int valueIndex) const = 0;

    // ---- mouse and changes -----------------------------------------------------------
    /// Whether the chart leaves the current mouse event alone (a series'
    /// click handler took it).
    virtual bool ClickConsumed() const = 0;
    virtual void SetClickConsumed(bool value) = 0;
    /// A series changed: the chart repaints.
    virtual void SeriesChanged() = 0;
    /// Only values or colours of series points changed.
    virtual void SeriesValuesChanged() = 0;
    /// Refills series from its data source series.
    virtual void RefreshSeriesDataSource(TChartSeries *series) = 0;

protected:
    // Never deleted through this interface: the chart is a widget.
    ~TSeriesOwner() = default;
};

} // namespace kov
