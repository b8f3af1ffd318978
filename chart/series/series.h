#pragma once

#include "chart/canvas/graphics.h"
#include "chart/canvas/rect.h"
#include "chart/functions/series_function.h"
#include "chart/kovchart_export.h"
#include "chart/mouse_input.h"
#include "chart/series/series_list.h"
#include "chart/series/series_state.h"

#include <QString>

// The data half of everything a chart draws: a series is an ordered set of
// points held in parallel lists (X values, Y values, colours, labels), plus the
// settings that say against which axes the points are drawn. Drawing a point
// is left to the series types deriving from TChartSeries.
namespace kov {

class TCustomAxisPanel;

/// The base of every series type. Owns its value lists, colours and labels.
/// A series placed in a chart (SetParentChart) is owned by that chart, which
/// frees it when it is destroyed; taking it out again (SetParentChart(nullptr))
/// hands ownership back to the caller. A series reaches its chart through
/// TSeriesOwner, and an attached function reaches the series through
/// TFunctionSeries. What it holds is kept in TSeriesState.
class KOVCHART_EXPORT TChartSeries : public TFunctionSeries,
                                     public TSeriesEvents,
                                     private TSeriesState
{
public:
    TChartSeries();
    virtual ~TChartSeries();
    TChartSeries(const TChartSeries &) = delete;
    TChartSeries &operator=(const TChartSeries &) = delete;

    // ---- published properties --------------------------------------------
    bool Active() const { return m_settings.Active; }
    void SetActive(bool value) { SetAndInvalidate(this, m_settings.Active, value); }
    bool ColorEachPoint() const { return m_settings.ColorEachPoint; }
    /// Stores the value; whenever the result is false every point's stored
    /// colour becomes clDefault (even when the value did not change), so null
    /// points become points of their stored value, and dependents recalculate.
    virtual void SetColorEachPoint(bool value);
    QString ColorSource() const { return m_colorSource; }
    void SetColorSource(const QString &value);
    Qt::CursorShape Cursor() const { return m_settings.Cursor; }
    void SetCursor(Qt::CursorShape value) { m_settings.Cursor = value; }
    THorizAxis HorizAxis() const { return m_settings.HorizAxis; }
    void SetHorizAxis(THorizAxis value);
    TVertAxis VertAxis() const { return m_settings.VertAxis; }
    void SetVertAxis(TVertAxis value);
    /// The value labels beside the points.
    TSeriesMarks &Marks() { return m_marks; }
    const TSeriesMarks &Marks() const { return m_marks; }
    /// Copies the given marks' settings into the series' own.
    void SetMarks(const TSeriesMarks &value) { m_marks.CopyFrom(value); }
    TCustomAxisPanel *ParentChart() const { return m_owner ? m_owner->AsAxisPanel() : nullptr; }
    /// Moves the series from its chart's series list to the new chart's
    /// (which takes ownership) and resolves its axes again.
    void SetParentChart(TSeriesOwner *chart);
    /// The first data source series, or null.
    TChartSeries *DataSource() const;
    /// Takes values from source alone (null: none; an attached function then
    /// leaves no points, a plain series keeps the points it has). A chain
    /// that leads back to this series raises ChartException "Circular Series
    /// dependences are not allowed".
    void SetDataSource(TChartSeries *source);
    /// Takes values from source besides the sources it has (an attached
    /// function combines them all point by point); the same check as
    /// SetDataSource. A plain series copies its first source only.
    void AddDataSource(TChartSeries *source);
    /// Stops taking values from source and recalculates from the others (a
    /// function that combined several goes on doing so).
    void RemoveDataSource(TChartSeries *source);
    QString PercentFormat() const { return m_settings.PercentFormat; }
    void SetPercentFormat(const QString &value);
    QString ValueFormat() const { return m_settings.ValueFormat; }
    void SetValueFormat(const QString &value);
    TColor SeriesColor() const { return m_settings.SeriesColor; }
    void SetSeriesColor(TColor value) { SetAndInvalidate(this, m_settings.SeriesColor, value); }
    bool ShowInLegend() const { return m_settings.ShowInLegend; }
    void SetShowInLegend(bool value) { SetAndInvalidate(this, m_settings.ShowInLegend, value); }
    QString Title() const { return m_settings.Title; }
    void SetTitle(const QString &value) { SetAndInvalidate(this, m_settings.Title, value); }
    QString XLabelsSource() const { return m_xLabelsSource; }
    void SetXLabelsSource(const QString &value);
    TChartValueList *XValues() const { return m_xValues; }
    /// Copies the settings of source into the X list, then repaints.
    void SetXValues(const TChartValueList &source);
    TChartValueList *YValues() const { return m_yValues; }
    void SetYValues(const TChartValueList &source);

    /// Component name (used by the legend when the title is empty).
    QString Name() const { return m_name; }
    void SetName(const QString &value) { m_name = value; }

    // ---- points -------------------------------------------------------------
    int PointCount() const { return m_xValues->ValueCount(); }
    /// Adds a point at x, y (the X list's Order decides where); returns its
    /// index, or -1 when OnBeforeAdd refused it.
    virtual int AppendPointXY(double x, double y, const QString &label = QString(),
                              TColor color = clDefault);
    /// Adds a value at the next position (the point count) along the axis the
    /// points are spread on.
    virtual int AppendPoint(double value, const QString &label = QString(),
                            TColor color = clDefault);
    virtual int AppendNullPoint(const QString &label = QString());
    virtual int AppendNullPointXY(double x, double y, const QString &label = QString());
    /// Removes every point, raises OnClearValues and tells dependents.
    virtual void RemoveAllPoints();
    /// Removes point i from every list; ListIndexError when i is not a point.
    virtual void RemovePoint(int index);
    void SetPointY(int index, double value);
    /// Sets the stored colour of point i (clNone makes it null); dependents
    /// hear of a change.
    void SetPointColor(int index, TColor color);
    bool IsNullPoint(int index) const;
    virtual TColor EffectivePointColor(int index) const;
    virtual QString PointLabel(int index) const;
    /// Sets (or clears, with an empty text) the label of point i.
    void SetPointLabel(int index, const QString &label);
    virtual double PointX(int index) const;
    virtual double PointY(int index) const;
    /// Exchanges points i and j in every value list, colours and labels;
    /// dependents recalculate.
    virtual void SwapPoints(int i, int j);
    /// Stored colours; may be shorter than the point count.
    const std::vector<TColor> &ColorList() const { return m_colorList; }
    /// Grows with every change of the colour list, so that what is derived
    /// from it (which points are null) is kept until it changes.
    std::uint64_t ColorListVersion() const { return m_colorListVersion; }
    /// Stored labels; may be shorter than the point count.
    const std::vector<QString> &LabelList() const { return m_labelList; }

    // ---- copying between series ------------------------------------------------
    virtual int CopyPointFrom(TChartSeries *source, int index);
    virtual int PointCopied(TChartSeries *source, int index);
    virtual void CopyAllPointsFrom(TChartSeries *source);
    virtual void SourcePointDeleted(TChartSeries *source, int index);
    virtual bool CanFeed(TChartSeries *series) const { return series != this; }
    virtual bool CanBeFedBy(TChartSeries *) const { return true; }
    /// Random points for previews; a series that takes no single point (a
    /// line needs two) gets at least two.
    virtual void FillSamplePoints(int count);
    /// Makes the sample points of every later FillSamplePoints come from a
    /// generator seeded with seed: the same points on every run (a preview
    /// that looks the same each time it is opened).
    void SetSampleSeed(quint32 seed);
    /// Whether a series of this type makes sense with a single point.
    bool AllowSinglePoint() const { return m_allowSinglePoint; }

    // ---- statistics ------------------------------------------------------------
    virtual double LargestX() const;
    virtual double LargestY() const;
    virtual double LargestZ() const;
    virtual double SmallestX() const;
    virtual double SmallestY() const;
    virtual double SmallestZ() const;
    virtual TChartValueList *MainValueList() const { return m_yValues; }
    virtual double PointOriginValue(int index) const;
    virtual double PointMarkValue(int index) const;
    virtual double StackBase(int index, bool sumAll) const;
    /// Further value list by name (from index 2 on, ignoring case); the Y list
    /// when none matches.
    TChartValueList *ValueListByName(const QString &name) const;
    const TChartValueLists &ValueLists() const { return m_valueLists; }
    virtual void InsertExtraValues(int index);
    virtual void ResetPendingValue(TChartValueList *list);

    // ---- axes and screen positions --------------------------------------------
    /// True when the main value list is the Y list (every series type here).
    bool ValuesAreVertical() const { return MainValueList() == m_yValues; }
    void ResolveAxes();
    TCustomChartAxis *GetHorizAxis() const { return m_resolvedHorizAxis; }
    TCustomChartAxis *GetVertAxis() const { return m_resolvedVertAxis; }
    TCustomChartAxis *CustomHorizAxis() const { return m_customHorizAxis; }
    void SetCustomHorizAxis(TCustomChartAxis *axis);
    TCustomChartAxis *CustomVertAxis() const { return m_customVertAxis; }
    void SetCustomVertAxis(TCustomChartAxis *axis);
    virtual bool HasAxes() const { return true; }
    bool IsOnAxis(const TCustomChartAxis *axis) const;
    double ScreenXToValue(int x) const;
    double ScreenYToValue(int y) const;
    int ValueScreenX(double value) const;
    int ValueScreenY(double value) const;
    int ValueScreenPos(double value) const;
    /// Screen position of point index against the series' axes as the last
    /// paint left them (drawing maps through its paint context instead).
    int PointScreenX(int index) const;
    int PointScreenY(int index) const;
    /// FirstShownIndex/LastShownIndex from the axes' current ranges,
    /// widened by PositionReach.
    void ComputeShownRange();
    /// How far the drawing of a point reaches beyond its position, in
    /// values of the position axis: points that far outside the range still
    /// show in part (0 here).
    virtual double PositionReach() const { return 0; }
    int FirstShownIndex() const { return m_firstShown; }
    int LastShownIndex() const { return m_lastShown; }
    bool ClipToAxisRange() const { return m_clipToAxisRange; }
    void SetClipToAxisRange(bool value) { m_clipToAxisRange = value; }
    bool DrawsBetweenPoints() const { return m_drawsBetweenPoints; }
    virtual void ExtraHorizMargins(int &left, int &right) const;
    virtual void ExtraVertMargins(int &top, int &bottom) const;

    // ---- depth --------------------------------------------------------------------
    int ZOrderSetting() const { return m_zOrderSetting; }
    void SetZOrderSetting(int value) { SetAndInvalidate(this, m_zOrderSetting, value); }
    int AutoZOrder() const { return m_autoZOrder; }
    /// The depth order: ZOrderSetting unless automatic (-1), else AutoZOrder.
    int ZOrder() const { return m_zOrderSetting == -1 ? m_autoZOrder : m_zOrderSetting; }
    virtual void AssignZOrder();
    virtual bool SharesZOrder() const;
    bool HasOwnDepthValues() const { return m_hasOwnDepthValues; }
    int DepthSlot() const { return m_depthSlot; }
    void SetDepthSlot(int value) { m_depthSlot = value; }
    int DepthStart() const { return m_depth.Start; }
    int DepthMiddle() const { return m_depth.Middle; }
    int DepthEnd() const { return m_depth.End; }
    const TDepthSpan &Depth() const { return m_depth; }
    /// Sets front, back and middle depth (the chart does this before drawing).
    void SetDepthPositions(int start, int end);

    // ---- drawing ------------------------------------------------------------------
    // The chart hands every drawing and hit-testing operation the canvas and
    // axes it works with (TSeriesPaintContext); a series draws with nothing
    // else.
    virtual void BeforeDrawChart() {}
    virtual void BeforeDrawPoints();
    virtual void AfterDrawPoints();
    /// DrawPoint for every shown index, forward or backward.
    virtual void DrawAllPoints(const TSeriesPaintContext &context);
    /// Draws one point; nothing in the base.
    virtual void DrawPoint(const TSeriesPaintContext & /*context*/, int /*index*/) {}
    virtual bool PointsDrawnForward() const { return true; }
    virtual bool SeriesDrawnForward(int /*index*/) const { return true; }
    /// Index of the point at (x, y), or -1; the base finds none.
    virtual int HitTest(const TSeriesPaintContext &context, int x, int y) const;
    /// HitTest with what the parent chart hands out between paints; -1 for a
    /// series without a chart.
    int HitTest(int x, int y) const;

    // ---- marks --------------------------------------------------------------------
    bool MarksVisible() const { return m_marks.Visible(); }
    bool MarksClip() const { return m_marks.Clip(); }
    /// Draws the marks of the shown points that are not null and have a mark
    /// text and lie in the drawable range, in the marks' font.
    virtual void DrawMarks(const TSeriesPaintContext &context);
    /// Screen point a mark of point index points at: the point itself here; a
    /// series type whose shape ends elsewhere (a bar's end, a slice's rim)
    /// points its marks there.
    virtual TPoint MarkPoint(const TSeriesPaintContext &context, int index) const;
    /// Draws the mark of point index at position, in the point's colour.
    virtual void DrawPointMark(const TSeriesPaintContext &context, int index, const QString &text,
                               TSeriesMarkPosition &position);
    /// Widest line of the mark texts of every point, in the chart canvas's
    /// current font (0 without a chart or points).
    virtual int MaxMarkWidth() const;
    /// The mark text of point i as Marks.Style asks, passed through
    /// OnGetMarkText; an empty text draws no mark.
    virtual QString MarkText(int index) const;
    /// The text of value in ValueFormat (remembered for the next paint).
    QString FormattedValue(double value) const;
    /// The point's label; its formatted mark value when the label is empty.
    QString LabelOrValueText(int index) const;
    /// PointPercent formatted with PercentFormat; withTotal adds " of " and
    /// PercentTotal formatted with ValueFormat. Marks and the legend show it.
    QString PercentText(int index, bool withTotal) const;
    /// The share of point index in percent: its main value against the
    /// absolute sum of the main values (100 when that sum is 0). A series
    /// type that shows only some points counts only those.
    virtual double PointPercent(int index) const;
    /// The total PointPercent is a share of.
    virtual double PercentTotal() const { return MainValueList()->AbsValueSum(); }

    // ---- mouse -------------------------------------------------------------------------
    virtual void NotifySeriesMouseMove(TShiftState, int, int) {}
    /// Raises OnDblClick (double-click flag set) or OnClick and returns
    /// whether one of them ran (the chart's MouseConsumed).
    virtual bool NotifySeriesClick(TChartSeries *sender, int index, TMouseButton button,
                                   TShiftState shift, int x, int y);
    virtual void NotifySeriesMouseUp(TMouseButton, TShiftState, int, int) {}

    // ---- legend --------------------------------------------------------------------------
    virtual int LegendItemCount() const { return PointCount(); }
    virtual int LegendToPointIndex(int i) const { return i; }
    virtual TColor LegendEntryColor(int i) const { return EffectivePointColor(i); }
    virtual QString LegendEntryText(int i, TLegendTextStyle style) const;
    virtual void DrawLegendEntry(const TSeriesPaintContext &context, int index, const TRect &rect);
    virtual void DrawLegendSymbol(const TSeriesPaintContext &context, int index, const TRect &rect);
    /// Lets a series type change the canvas, the back colour and the brush
    /// style of its legend symbol; nothing in the base.
    virtual void SetUpLegendCanvas(const TSeriesPaintContext &, int, TColor &, TBrushStyle &) {}

    // ---- dependents and repaint ---------------------------------------------------
    /// Tells every series that takes this one as data source what changed.
    /// A change reaches each dependent once, after every series it depends on
    /// has followed, in the order of dependence: dependents hear of changes as
    /// they come and follow them when the change that set them off is done
    /// (a refill is one change, not one per point).
    void NotifyLinked(TSeriesChange change, int index);
    /// Asks the parent chart, if any, to repaint.
    void RequestRepaint();
    /// RequestRepaint after a change of one point's value or colour only.
    void RequestPointRepaint();
    /// Asks the parent chart to re-check this series' data source.
    void CheckDataSource();
    const std::vector<TChartSeries *> &DataSources() const { return m_dataSources; }
    const std::vector<TChartSeries *> &LinkedSeries() const { return m_linkedSeries; }
    TSeriesRecalcOptions &RecalcOptions() { return m_recalcOptions; }
    /// Copies the settings of source (TSeriesSettings, the marks' settings and
    /// the X and Y lists' settings) without its points, events, data source or
    /// name, then repaints. A series with data sources is filled anew from
    /// them (the lists' order may have changed), and dependents recalculate
    /// (their multipliers may have). Series types copy their own settings
    /// first, then call this.
    virtual void CopyFrom(const TChartSeries &source);
    /// Stops every series that takes this one as data source from doing so.
    void RemoveLinkedSeries();

    /// The function that derives this series from its data sources, or null.
    TSeriesFunction *Function() const { return m_function.get(); }
    /// Frees the previous function, attaches function (null: none) and
    /// recalculates from the data sources.
    void AttachFunction(std::unique_ptr<TSeriesFunction> function);
    /// Fills the series anew from its data sources: the attached function's
    /// result, or a copy of the first source; a function without sources
    /// leaves no points. Points added to a later source of a plain series are
    /// not copied.
    void RefreshFromDataSources();

    virtual void AttributeChanged() { RequestRepaint(); }
    virtual QString EditorName() const { return QString(); }
    virtual int SamplePointCount() const { return 26; }
    /// Readies the series to be shown as a small preview (isPreview true):
    /// the base hides the marks.
    virtual void PrepareGalleryPreview(bool isPreview);
    /// A preview switched between the flat and the 3D view; nothing in the
    /// base.
    virtual void Gallery3DChanged(bool /*is3D*/) {}

protected:
    /// Runs OnAfterAdd, tells dependents and repaints.
    virtual void PointAdded(int index);
    /// Empties every list (values, colours, labels).
    virtual void EmptyLists();
    /// Adds a further value list (series types with more than two values).
    TChartValueList *AddValueList(const QString &name);
    void SetDrawsBetweenPoints(bool value) { m_drawsBetweenPoints = value; }
    void SetAllowSinglePoint(bool value) { m_allowSinglePoint = value; }
    void SetHasOwnDepthValues(bool value) { m_hasOwnDepthValues = value; }
    /// The depth order an automatic series takes (series that share one
    /// depth with others set it in AssignZOrder).
    void SetAutoZOrder(int value) { m_autoZOrder = value; }
    /// The chart the series is placed in, or null.
    TSeriesOwner *Owner() const { return m_owner; }
    /// Where FillSamplePoints draws its numbers from: the seeded generator
    /// after SetSampleSeed, else the system's.
    QRandomGenerator &SampleRandom() const;

private:
    friend class TCustomAxisPanel;
    /// What a change of one of the series' value lists sets off.
    void ValueListChanged(TValueListChange change, int index);
    /// A changed axis choice: resolves the axes again and repaints.
    void AxisChoiceChanged();

    // ---- following the data sources -------------------------------------------------
    /// Notes change of source, and waits to follow it.
    void Hear(const TChartSeries *source, TSeriesChange change, int index);
    /// Notes that the series must be filled anew, and waits to follow.
    void HearFull();
    /// Follows what it heard.
    void FollowSources();
    /// Whether a series this one depends on, directly or not, waits to follow.
    bool HasWaitingSource() const;
    /// Lets the waiting series follow, each after those it depends on.
    static void FollowWaiting();
    void SetParentChartOnly(TSeriesOwner *chart);

    // ---- what an attached function reads and writes (TFunctionSeries) ------------
    TChartSeries *AsSeries() override { return this; }
    TFunctionPoints FunctionPoints() const override;
    bool IsNullAt(int index) const override { return IsNullPoint(index); }
    std::vector<const TFunctionSeries *> FunctionSources() const override;
    bool CombinesSources() const override { return m_combinesSources; }
    int AppendResultPoint(double x, double y, TColor color) override;
    void SetResultColor(int index, TColor color) override { SetPointColor(index, color); }
    void RecalculateResult() override { RefreshFromDataSources(); }
    void RepaintResult() override { RequestRepaint(); }
    void RepaintResultPoints() override { RequestPointRepaint(); }
};

} // namespace kov
