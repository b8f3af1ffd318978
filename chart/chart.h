#pragma once

#include "chart/kovchart_export.h"
#include "chart/legend/chart_legend.h"
#include "chart/mouse/chart_mouse.h"
#include "chart/panel/chart_title.h"
#include "chart/plot/axis_panel.h"
#include "chart/plot/chart_wall.h"

// The chart component: the axis panel plus its title and foot, its walls,
// its legend, the layout of axes and series margins, the free-colour rule and
// the mouse behaviour.
namespace kov {

/// The settings of a chart that CopyFrom copies besides its walls and
/// titles.
struct KOVCHART_EXPORT TChartSettings
{
    /// The background picture goes inside the chart rectangle.
    bool BackImageInside = false;
};

/// The chart: the axis panel with its title and foot, walls, legend, series layout and mouse
/// behaviour.
class KOVCHART_EXPORT TCustomChart : public TCustomAxisPanel, private TMouseOwner
{
public:
    explicit TCustomChart(QWidget *parent = nullptr);
    ~TCustomChart() override;

    // ---- parts ---------------------------------------------------------------------
    TChartTitle &Title() { return m_title; }
    const TChartTitle &Title() const { return m_title; }
    /// Copies source into the chart's own title (likewise Foot and the walls).
    void SetTitle(const TChartTitle &source);
    TChartTitle &Foot() { return m_foot; }
    const TChartTitle &Foot() const { return m_foot; }
    void SetFoot(const TChartTitle &source);
    TChartWall &BackWall() { return m_backWall; }
    const TChartWall &BackWall() const { return m_backWall; }
    void SetBackWall(const TCustomChartWall &source);
    TChartWall &LeftWall() { return m_leftWall; }
    const TChartWall &LeftWall() const { return m_leftWall; }
    void SetLeftWall(const TCustomChartWall &source);
    TChartWall &BottomWall() { return m_bottomWall; }
    const TChartWall &BottomWall() const { return m_bottomWall; }
    void SetBottomWall(const TCustomChartWall &source);
    TChartLegend &Legend() { return m_legend; }
    const TChartLegend &Legend() const { return m_legend; }
    /// Copies source into the chart's own legend.
    void SetLegend(const TCustomChartLegend &source);
    /// Draws the legend from the chart's rows and takes its band out of the
    /// chart rectangle (nothing when it has no room for one row).
    void DrawLegend();
    /// The background picture goes inside the chart rectangle (drawn with
    /// the walls) instead of over the whole panel.
    bool BackImageInside() const { return m_settings.BackImageInside; }
    void SetBackImageInside(bool value)
    {
        SetAndInvalidate(this, m_settings.BackImageInside, value);
    }
    /// The back wall's colour; clDefault: unfilled.
    TColor BackColor() const { return m_backWall.Color(); }
    /// Sets the back wall's colour and, unless the chart is loading, makes its
    /// brush solid so the colour shows.
    void SetBackColor(TColor value);
    /// The back wall's pen (the frame around the chart rectangle).
    TChartPen &Frame() { return m_backWall.Pen(); }
    const TChartPen &Frame() const { return m_backWall.Pen(); }
    void SetFrame(const TPen &value);

    /// Mouse behaviour and its events (OnClickSeries, OnMouseMove, ...).
    TChartMouseHandler &Mouse() { return m_mouse; }
    const TChartMouseHandler &Mouse() const { return m_mouse; }
    /// The first series whose Active is set, or null.
    TChartSeries *FirstActiveSeries() const;

    // ---- legend texts and events ------------------------------------------------------
    TOnGetLegendText OnGetLegendText;
    TOnGetLegendRect OnGetLegendRect;
    TOnGetLegendPos OnGetLegendPos;
    /// The text of legend item index as the legend's effective style lists
    /// it (a series title, or a value of the first active series, or the
    /// last value of a series), passed through OnGetLegendText.
    QString LegendText(int index) const;
    /// The legend's style resolved for the series now (never lsAuto).
    TLegendStyle ResolvedLegendStyle() const;
    /// What the legend draws from: canvas, chart rectangle, the style and
    /// the rows in style, and the chart's legend events.
    TLegendPaintContext LegendPaintContext(TLegendStyle style);
    /// The legend entry text of a point of series in the legend's
    /// TextStyle, line breaks turned into spaces; empty without a series or
    /// for value index -1.
    QString ValueLegendText(const TChartSeries *series, int valueIndex) const;
    /// ValueLegendText: what the legend shows for a point.
    QString FormattedValueLegend(TChartSeries *series, int valueIndex) const override;
    /// The legend's Color at its last drawing (clDefault before any): the
    /// back colour series draw their legend symbols on.
    TColor LegendColor() const override { return m_legendColor; }

    // ---- pipeline --------------------------------------------------------------------
    /// Refreshes every axis range, computes the depth sizes, lets every shown
    /// axis reserve its room and sets every axis' pixel span.
    void LayoutAxes() override;
    /// Widens the side axes' ranges for the pixel margins their series ask.
    void LayoutSeriesArea() override;
    /// Wall size beside an axis (0 unless View3D and View3DWalls).
    int WallThickness(const TCustomChartAxis *axis) const override;
    /// Title at the top and foot at the bottom, each taking its band, and
    /// the legend (when visible and a series is active): before the titles
    /// at the side, after them at the top or bottom.
    void PaintTitlesAndLegend() override;
    /// Back wall (the outline in a flat chart), background picture when
    /// inside, and the left and bottom walls in 3D.
    void PaintWalls() override;
    /// False when a series already uses the colour, or (with checkBackground)
    /// when it is the chart's colour or back colour.
    bool ColorIsFree(TColor color, bool checkBackground) const override;
    /// The panel-wide background picture, unless it goes inside the walls.
    void DrawBackImage(const TRect &rect) override;
    /// Undoes zooming and panning, restoring the axis ranges saved before.
    void ResetZoom() override;

    /// From another chart: BackImageInside, the walls, the legend, the
    /// titles, then the axis panel's copy.
    void CopyFrom(const TCustomChartPanel &source) override;

protected:
    /// The legend is drawn behind the series and shows their values,
    /// colours and texts; its rows are compared at each paint
    /// (LayerLegendCurrent), but its placing events may read anything.
    bool LayerShowsPointValues() const override;
    /// Whether the legend would draw the rows it drew into the kept picture.
    bool LayerLegendCurrent() override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    /// Whether the legend is drawn at all: visible, and a series active.
    bool LegendShown() const;
    /// Number of legend items in style, from the first.
    int LegendItemCount(TLegendStyle style) const;
    QString LegendTextIn(TLegendStyle style, int index) const;
    TLegendRow LegendRow(TLegendStyle style, int index) const;

    // ---- what the mouse handler asks (TMouseOwner) -------------------------------------
    TCustomChart *MouseEventSender() override { return this; }
    QWidget &MouseWindow() override { return *this; }
    const QCursor &RestingCursor() const override { return OriginalCursor(); }
    const TChartSeriesList &MouseSeries() const override { return SeriesList(); }
    const std::vector<TCustomChartAxis *> &MouseAxes() const override { return AxesList(); }
    TSideAxes ZoomAxes() const override
    {
        return {TopAxis(), BottomAxis(), LeftAxis(), RightAxis()};
    }
    TRect MousePlotRect() const override { return ChartRect(); }
    bool PressConsumed() const override { return MouseConsumed(); }
    void SetPressConsumed(bool value) override { SetMouseConsumed(value); }
    TMouseAllowance MouseAllowance() const override;
    TZoomPanningRecord &ZoomDrag() override { return ZoomRecord(); }
    TZoomPanningRecord &PanDrag() override { return PanningRecord(); }
    void InvertZoomFrame() override { XorZoomFrame(); }
    void RangesChanged() override { InvalidatePanel(); }
    void ShowZoomStep() override;
    void ChartScrolled() override;
    void ChartZoomed() override;
    void ZoomUndone() override { TCustomAxisPanel::ResetZoom(); }

    TChartTitle m_title;
    TChartTitle m_foot;
    TChartWall m_backWall;
    TChartWall m_leftWall;
    TChartLegend m_legend;
    TChartWall m_bottomWall;
    TChartSettings m_settings;
    TColor m_legendColor = clDefault;
    TChartMouseHandler m_mouse;
};

/// The chart a window embeds; it only publishes what TCustomChart has.
class KOVCHART_EXPORT TChart : public TCustomChart
{
public:
    using TCustomChart::TCustomChart;
};

} // namespace kov
