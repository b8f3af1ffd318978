#pragma once

#include "chart/axis/axis.h"
#include "chart/axis/axis_owner.h"
#include "chart/panel/chart_panel.h"
#include "chart/series/series.h"
#include "chart/series/series_owner.h"

#include <functional>
#include <memory>
#include <vector>

// The chart with series and axes: owns the series list and the five axes,
// answers what the axes ask of the series (which axis is shown, the extremes
// of the data on an axis, paging), and runs the drawing pipeline that paints
// one picture in a fixed order.
namespace kov {

/// Notification of a chart event (page change, before axes, before series).
using TChartNotifyEvent = std::function<void(TCustomAxisPanel *Sender)>;

/// The settings of an axis panel that CopyFrom copies besides its axes.
struct TAxisPanelSettings
{
    bool AxisVisible = true;
    bool ClipPoints = true;
    int MaxPointsPerPage = 0;
    int Page = 1;
    bool ScaleLastPage = true;
    bool View3DWalls = true;
};

class TCustomAxisPanel : public TCustomChartPanelExtended, public TAxisOwner, public TSeriesOwner
{
public:
    explicit TCustomAxisPanel(QWidget *parent = nullptr);
    ~TCustomAxisPanel() override;

    // ---- published properties ------------------------------------------------
    bool AxisVisible() const { return m_settings.AxisVisible; }
    void SetAxisVisible(bool value) { SetAndInvalidate(this, m_settings.AxisVisible, value); }
    TChartAxis *BottomAxis() const { return m_bottomAxis; }
    /// Copies source into the chart's own bottom axis (likewise the others).
    void SetBottomAxis(const TChartAxis &source);
    TChartAxis *TopAxis() const { return m_topAxis; }
    void SetTopAxis(const TChartAxis &source);
    TChartAxis *LeftAxis() const { return m_leftAxis; }
    void SetLeftAxis(const TChartAxis &source);
    TChartAxis *RightAxis() const { return m_rightAxis; }
    void SetRightAxis(const TChartAxis &source);
    TChartDepthAxis *DepthAxis() const { return m_depthAxis; }
    void SetDepthAxis(const TChartDepthAxis &source);
    bool ClipPoints() const { return m_settings.ClipPoints; }
    void SetClipPoints(bool value) { SetAndInvalidate(this, m_settings.ClipPoints, value); }
    int MaxPointsPerPage() const { return m_settings.MaxPointsPerPage; }
    /// Negative values raise ChartException "MaxPointsPerPage must be >= 0";
    /// Page is lowered when it now lies beyond PageCount.
    void SetMaxPointsPerPage(int value);
    int Page() const { return m_settings.Page; }
    /// Clamps to 1..PageCount; a changed page repaints and raises OnPageChange.
    virtual void SetPage(int value);
    bool ScaleLastPage() const { return m_settings.ScaleLastPage; }
    void SetScaleLastPage(bool value) { SetAndInvalidate(this, m_settings.ScaleLastPage, value); }
    const TChartSeriesList &SeriesList() const override { return m_seriesList; }
    bool View3DWalls() const { return m_settings.View3DWalls; }
    void SetView3DWalls(bool value) { SetAndInvalidate(this, m_settings.View3DWalls, value); }

    TAxisOnGetLabel OnGetAxisLabel;
    TAxisOnGetNextLabel OnGetNextAxisLabel;
    TChartNotifyEvent OnPageChange;
    TChartNotifyEvent OnBeforeDrawAxes;
    TChartNotifyEvent OnBeforeDrawSeries;

    // ---- axes --------------------------------------------------------------------
    /// Every axis in creation order: bottom, top, left, right, depth, then any
    /// further axes.
    const std::vector<TCustomChartAxis *> &AxesList() const { return m_axesList; }
    /// Adds a further axis (e.g. a custom axis) owned by the chart.
    TCustomChartAxis *AddAxis(std::unique_ptr<TCustomChartAxis> axis);

    // ---- series --------------------------------------------------------------------
    int CountSeries() const { return m_seriesList.Count(); }
    TChartSeries *SeriesAt(int i) const { return m_seriesList.SeriesAt(i); }
    /// Puts a series into the chart, which owns it from then on.
    void AttachSeries(TChartSeries *series) override;
    /// Takes a series out of the chart; the caller owns it again.
    void DetachSeries(TChartSeries *series) override;
    /// Detaches and frees every series.
    void DestroyAllSeries();
    /// Convenience: hands a new series to the chart and returns it.
    template <typename T> T *AddSeries(std::unique_ptr<T> series)
    {
        T *raw = series.release();
        raw->SetParentChart(this);
        return raw;
    }
    /// The first palette colour that ColorIsFree accepts.
    TColor NextFreeSeriesColor(bool checkBackground) const;
    /// The i-th active series shown in the legend, or null.
    TChartSeries *LegendSeries(int i) const;
    /// Its title, else its name, else "Series <i>"; empty without such series.
    QString LegendSeriesTitle(int i) const;
    /// What series draws and hit-tests with now: the chart's canvas, the
    /// series' axes, the chart rectangle, the 3D view, the series' depth and
    /// the legend colours.
    TSeriesPaintContext SeriesPaintContext(const TChartSeries &series) override;
    /// The widest point label over every series (active or not).
    int MaxLabelTextWidth();
    /// The widest mark over the active series.
    int MaxMarkTextWidth() const;

    // ---- what the axes ask -------------------------------------------------------------
    /// What axis lays out and paints with now: the chart's canvas, chart
    /// rectangle, 3D view, walls, series and label events.
    TAxisPaintContext AxisPaintContext(const TCustomChartAxis &axis) override;
    /// An axis setting changed: the chart is drawn again.
    void AxisChanged() override { InvalidatePanel(); }
    bool AxisShown(const TCustomChartAxis *axis) const;
    /// False when every active series does without axes (a pie): the chart
    /// then draws neither axes nor walls.
    bool AxesInUse() const;
    bool NoSeriesActiveOn(const TCustomChartAxis *axis) const;
    /// First active series drawn against the axis (any series when none is
    /// active on it), or null.
    TChartSeries *LeadSeriesOf(const TCustomChartAxis *axis) const;
    /// Smallest or largest value of the series on the axis, along X or Y;
    /// with paging, of the lead series' current page.
    double SeriesExtreme(const TCustomChartAxis *axis, bool wantMinimum, bool alongX) const;
    double MaxXValue(const TCustomChartAxis *axis) const
    {
        return SeriesExtreme(axis, false, true);
    }
    double MaxYValue(const TCustomChartAxis *axis) const
    {
        return SeriesExtreme(axis, false, false);
    }
    double MinXValue(const TCustomChartAxis *axis) const { return SeriesExtreme(axis, true, true); }
    double MinYValue(const TCustomChartAxis *axis) const
    {
        return SeriesExtreme(axis, true, false);
    }
    virtual int PageCount() const;

    /// True while the chart reads its stored form (axis setters skip their
    /// order checks then).
    bool IsLoading() const { return m_loading; }
    void SetLoading(bool value) { m_loading = value; }
    /// True while the chart is being destroyed.
    bool IsDestroying() const override { return m_destroying; }

    // ---- depth ---------------------------------------------------------------------------
    /// The largest depth order among the series (running value while the
    /// pipeline assigns depth orders).
    int MaxZOrder() const override { return m_maxZOrder; }
    void SetMaxZOrder(int value) override { m_maxZOrder = value; }
    /// Depth of one series slot, horizontally and vertically (equal).
    int SeriesWidth3D() const { return m_seriesWidth3D; }
    int SeriesHeight3D() const { return m_seriesHeight3D; }
    /// Series depth step and the chart's 3D depth width and height.
    void ComputeDepthSizes();

    // ---- data sources ------------------------------------------------------------------------
    /// Refills a series from its data source series (nothing while loading).
    void RefreshSeriesDataSource(TChartSeries *series) override;
    /// Whether source may feed series.
    virtual bool IsValidDataSource(const TChartSeries *series, const TChartSeries *source) const;

    /// The formatted value of a series point for the legend; empty here.
    QString FormattedValueLegend(TChartSeries *series, int valueIndex) const override;
    /// The colour of the legend box at its last drawing (clDefault: the
    /// chart's colour); a panel without a legend answers clDefault.
    virtual TColor LegendColor() const { return clDefault; }

    // ---- pipeline steps and hooks ------------------------------------------------------------
    /// Draws the picture. What lies behind the series (background, titles,
    /// walls, axes) is kept after each whole picture; a later paint whose
    /// layout comes out the same and that follows only changes of point
    /// values or colours draws the series over a copy of it.
    void PaintChart(const TRect &bounds) override;
    /// Whether the last picture was drawn over the kept picture.
    bool PaintedOverLayer() const { return m_paintedOverLayer; }
    virtual void LayoutAxes() = 0;
    virtual void LayoutSeriesArea() = 0;
    /// Wall size beside an axis (0 in a flat chart).
    virtual int WallThickness(const TCustomChartAxis *axis) const = 0;
    virtual void PaintTitlesAndLegend() = 0;
    virtual void PaintWalls() = 0;
    virtual bool ColorIsFree(TColor color, bool checkBackground) const = 0;

    /// From another axis panel: AxisVisible, the five axes, ClipPoints,
    /// paging and View3DWalls; then the panel's own settings.
    void CopyFrom(const TCustomChartPanel &source) override;

protected:
    /// Point values and colours reach the picture behind the series through
    /// axis labels placed at or made of values (a vertical axis labelled
    /// with point texts, marks as labels) and through the drawing events,
    /// whose handlers may read them.
    bool LayerShowsPointValues() const override;
    /// Whether what the titles and legend of the kept picture show from the
    /// series (legend rows) is what they would show now; true here, as the
    /// panel draws no legend.
    virtual bool LayerLegendCurrent() { return true; }
    /// Depth order and depth slots of the series (pipeline step 4).
    void AssignSeriesZOrders();
    /// Depth positions of the series (pipeline step 6).
    void AssignSeriesDepths();
    /// Paints one series alone, or the group sharing its depth order.
    virtual void PaintSeries(TChartSeries *series);
    /// Draws the marks of a series (clipped when its marks ask for it).
    void PaintSeriesMarks(TChartSeries *series, const TSeriesPaintContext &context);
    void ClipSeriesArea();

private:
    // ---- what the series ask (TSeriesOwner) ----------------------------------------
    TCustomAxisPanel *AsAxisPanel() override { return this; }
    TSideAxes SideAxes() const override
    {
        return {m_topAxis, m_bottomAxis, m_leftAxis, m_rightAxis};
    }
    TRect SeriesRect() const override { return ChartRect(); }
    bool SeriesIn3D() const override { return View3D(); }
    bool ZOrdersApplied() const override { return ApplyZOrder(); }
    TChartCanvas &TextCanvas() override { return ChartCanvas(); }
    void SelectTextFont(const TFont &font) override { SelectFont(font); }
    bool ClickConsumed() const override { return MouseConsumed(); }
    void SetClickConsumed(bool value) override { SetMouseConsumed(value); }
    void SeriesChanged() override { InvalidatePanel(); }
    void SeriesValuesChanged() override { InvalidatePointValues(); }

    /// The layout a picture was drawn with, from the chart bounds to every
    /// axis's range and pixels: the picture behind the series fits a paint
    /// whose layout comes out the same.
    struct AxisSpan
    {
        double RangeMin;
        double RangeMax;
        int StartPixel;
        int EndPixel;
        friend bool operator==(const AxisSpan &, const AxisSpan &) = default;
    };
    struct LayerLayout
    {
        TRect Bounds;
        TRect RectBeforeTitles;
        TRect RectAfterTitles;
        TRect ChartRect;
        int Width3D = 0;
        int Height3D = 0;
        int SeriesWidth3D = 0;
        std::vector<AxisSpan> Axes;
        friend bool operator==(const LayerLayout &, const LayerLayout &) = default;
    };
    /// Fills layout with the chart's current layout (keeping the rectangles
    /// before and after titles, which the caller sets).
    void ReadLayout(LayerLayout &layout) const;
    /// Whether drawing the axes calls event handlers of the chart.
    bool AxesRunHandlers() const;
    /// Pipeline steps from the depth order to the projection.
    void LayOutAxesAndSeries();
    /// Pipeline steps from the series on: series, marks, zoom frame, events.
    void PaintSeriesAndAfter();
    /// When the layer fits this paint, puts it into the buffer and draws the
    /// series over it; false (nothing drawn, chart rectangle as on entry)
    /// when the whole picture must be drawn.
    bool PaintOverLayer(const TRect &bounds);
    int AxisPageCount(const TCustomChartAxis *a, const TCustomChartAxis *b) const;
    void PaintSeriesGroup(TChartSeries *first);

    TAxisPanelSettings m_settings;
    TChartSeriesList m_seriesList;
    std::vector<std::unique_ptr<TCustomChartAxis>> m_axes;
    std::vector<TCustomChartAxis *> m_axesList;
    TChartAxis *m_bottomAxis = nullptr;
    TChartAxis *m_topAxis = nullptr;
    TChartAxis *m_leftAxis = nullptr;
    TChartAxis *m_rightAxis = nullptr;
    TChartDepthAxis *m_depthAxis = nullptr;
    int m_maxZOrder = 0;
    int m_seriesWidth3D = 0;
    int m_seriesHeight3D = 0;
    bool m_loading = false;
    bool m_destroying = false;
    bool m_paintedOverLayer = false;
    /// Whether the next whole picture keeps its layer even without point
    /// edits: at first, and after a picture drawn for point edits.
    bool m_keepNextLayer = true;
    LayerLayout m_layerLayout;
    LayerLayout m_layoutScratch;
};

} // namespace kov
