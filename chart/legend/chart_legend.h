#pragma once

#include "chart/canvas/rect.h"
#include "chart/legend/legend_paint_context.h"
#include "chart/panel/chart_text_box.h"
#include "chart/series/series.h"

#include <QString>
#include <functional>
#include <type_traits>
#include <vector>

// The chart's key: a framed box beside, above or below the plot that lists
// either the series (one row per series shown in the legend: its symbol and
// title) or the values of one series (one row per point: its colour and a
// value text). It sizes itself to its texts, lays its items out in one column
// at the left or right or in a grid at the top or bottom, and takes its band
// out of the chart rectangle. What it lists comes in a legend paint context
// from its chart; it reports its own changes through its change handler.
namespace kov {

class TCustomAxisPanel;
class TCustomChart;

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };

/// Lets the chart's owner change the text of legend item Index.
using TOnGetLegendText = std::function<void(TCustomAxisPanel *Sender, TLegendStyle LegendStyle,
                                            int Index, QString &LegendText)>;
/// Lets the chart's owner move or resize the legend box before it is drawn.
using TOnGetLegendRect = std::function<void(TCustomChart *Sender, TRect &Rect)>;
/// Lets the chart's owner move the text of item Index; the symbol follows the
/// text (XColor, the symbol column, is for information only).
using TOnGetLegendPos =
    std::function<void(TCustomChart *Sender, int Index, int &X, int &Y, int &XColor)>;

/// The settings of a legend that CopyFrom copies besides what every text box
/// has and its dividing lines.
struct TChartLegendSettings
{
    TLegendAlignment Alignment = laRight;
    /// Width of the item symbols, in percent of the widest text plus margins.
    int ColorWidth = 12;
    /// Index of the first item shown.
    int FirstValue = 0;
    /// Gap between a side legend and the chart rectangle; 0: 3 % of the
    /// chart width.
    int HorizMargin = 0;
    /// List the items last first.
    bool Inverted = false;
    TLegendStyle LegendStyle = lsAuto;
    /// Most rows of a top or bottom legend.
    int MaxNumRows = 10;
    /// The legend's box is taken out of the chart rectangle.
    bool ResizeChart = true;
    TColor ShadowColor = clBlack;
    /// Shadow offset in pixels; 0 or less: no shadow.
    int ShadowSize = 3;
    /// How a value item's text is built.
    TLegendTextStyle TextStyle = ltsLeftValue;
    /// Top of a side legend, in percent of the chart's height; for a top or
    /// bottom legend, its shift right of the centre in percent of the room
    /// left beside it.
    int TopPos = 10;
    /// Gap between a top or bottom legend and the chart rectangle; 0: 4 % of
    /// the chart height.
    int VertMargin = 0;
};

/// A legend's background colour (Color) is white at first and its frame
/// visible.
class TCustomChartLegend : public TChartTextBox
{
public:
    /// owner hears of every change (through the change handlers of the
    /// legend and its pens, brush and font).
    explicit TCustomChartLegend(TCustomChartPanel *owner);
    ~TCustomChartLegend() override;

    // ---- published properties ----------------------------------------------------
    TLegendAlignment Alignment() const { return m_settings.Alignment; }
    void SetAlignment(TLegendAlignment value) { Change(m_settings.Alignment, value); }
    int ColorWidth() const { return m_settings.ColorWidth; }
    /// 0 to 100; else LegendException "Legend Color Width must be between 0
    /// and 100 %" and the old value stays.
    void SetColorWidth(int value);
    /// Lines between the items (invisible by default).
    TChartHiddenPen &DividingLines() { return m_dividingLines; }
    const TChartHiddenPen &DividingLines() const { return m_dividingLines; }
    void SetDividingLines(const TPen &value);
    int FirstValue() const { return m_settings.FirstValue; }
    /// Not negative; else LegendException "First Legend Value must be > 0"
    /// and the old value stays.
    void SetFirstValue(int value);
    int HorizMargin() const { return m_settings.HorizMargin; }
    void SetHorizMargin(int value) { Change(m_settings.HorizMargin, value); }
    bool Inverted() const { return m_settings.Inverted; }
    void SetInverted(bool value) { Change(m_settings.Inverted, value); }
    TLegendStyle LegendStyle() const { return m_settings.LegendStyle; }
    /// Stores the style, takes it as the effective style (lsAuto is resolved
    /// at the next drawing) and repaints.
    void SetLegendStyle(TLegendStyle value);
    int MaxNumRows() const { return m_settings.MaxNumRows; }
    void SetMaxNumRows(int value) { Change(m_settings.MaxNumRows, value); }
    bool ResizeChart() const { return m_settings.ResizeChart; }
    void SetResizeChart(bool value) { Change(m_settings.ResizeChart, value); }
    TColor ShadowColor() const { return m_settings.ShadowColor; }
    void SetShadowColor(TColor value) { Change(m_settings.ShadowColor, value); }
    int ShadowSize() const { return m_settings.ShadowSize; }
    void SetShadowSize(int value) { Change(m_settings.ShadowSize, value); }
    TLegendTextStyle TextStyle() const { return m_settings.TextStyle; }
    void SetTextStyle(TLegendTextStyle value) { Change(m_settings.TextStyle, value); }
    int TopPos() const { return m_settings.TopPos; }
    /// 0 to 100; else LegendException "Top Legend Position must be between 0
    /// and 100 %" and the old value stays.
    void SetTopPos(int value);
    int VertMargin() const { return m_settings.VertMargin; }
    void SetVertMargin(int value) { Change(m_settings.VertMargin, value); }

    // ---- the last drawing ------------------------------------------------------------
    /// Where the legend box was last laid out (frame and shadow excluded).
    const TRect &LegendRect() const { return m_legendRect; }
    /// Width of the item symbols of the last drawing, in pixels.
    int SymbolWidth() const { return m_symbolWidth; }
    /// The style LegendStyle resolved to (never lsAuto once drawn).
    TLegendStyle EffectiveStyle() const { return m_effectiveStyle; }
    /// Number of items of the last drawing from FirstValue on, never below 0.
    int LegendItemTotal() const { return m_total; }
    int ColumnCount() const { return m_columnCount; }
    int RowCount() const { return m_rowCount; }
    /// Forgets the last drawing: a legend that was not drawn answers no hit.
    void ForgetLayout();

    /// True for a legend at the left or right.
    bool IsVertical() const
    {
        return m_settings.Alignment == laLeft || m_settings.Alignment == laRight;
    }
    /// The effective style with activeSeries series active.
    TLegendStyle ResolveLegendStyle(int activeSeries) const;
    /// How many items of itemSize fit from start to the end of the chart
    /// rectangle (downwards for a side legend, rightwards otherwise), at most
    /// LegendItemTotal.
    virtual int FittingItemCount(const TLegendPaintContext &context, int start, int itemSize) const;
    /// Lays out and draws the legend from context and takes its band (and
    /// margin) out of chartRect; a legend without room for one row draws
    /// nothing and answers false, leaving chartRect alone.
    virtual bool Draw(const TLegendPaintContext &context, TRect &chartRect);
    /// Whether drawing from context now would draw what the last drawing
    /// drew, the chart rectangle, bounds and every setting being the same:
    /// the same style, item count and rows (texts, symbols, colours).
    bool ShowsSameRows(const TLegendPaintContext &context) const;
    /// Position (0-based, in drawing order) of the row under (x, y), or -1.
    int LegendHitTest(int x, int y) const;

    /// From another legend: every setting, brush, pens, then the font. From
    /// any other font object: the font.
    void CopyFrom(const TChartFontObject &source) override;

private:
    /// Where the items of one drawing go.
    struct ItemLayout
    {
        int Total = 0;
        /// Width of the widest text plus 4 (a grid column's text width).
        int TextWidth = 0;
        /// Left of the symbol column and of the text column.
        int SymbolLeft = 0;
        int TextLeft = 0;
        int Top = 0;
        int LineHeight = 0;
    };
    /// Any setting: stores a different value and reports the change.
    template <typename T> void Change(T &field, const std::type_identity_t<T> &value)
    {
        SetAndInvalidate(m_onChange, field, value);
    }
    /// Fetches the rows of n items from FirstValue on.
    void FetchRows(const TLegendPaintContext &context, int n);
    /// Widest text of the fetched rows.
    int WidestText(const TLegendPaintContext &context) const;
    void DrawBackground(TChartCanvas3D &canvas);
    /// How far the shadow's fill reaches right of and below LegendRect.
    int ShadowReach() const;
    /// How many pixels right of and below LegendRect the frame and shadow
    /// cover.
    int OuterReach() const;
    void DrawItem(const TLegendPaintContext &context, const ItemLayout &layout, int index,
                  int position);
    /// Black, or white on a black legend: the pen of the item symbols.
    void PrepareSymbolPen(TChartCanvas3D &canvas) const;
    TChangeHandler m_onChange;
    TChartLegendSettings m_settings;
    TChartHiddenPen m_dividingLines;

    TRect m_legendRect;
    int m_symbolWidth = 0;
    TLegendStyle m_effectiveStyle = lsAuto;
    int m_columnCount = 0;
    int m_rowCount = 0;
    /// Line height of the last drawing: the rows the hit test finds.
    int m_lineHeight = 0;
    /// Item count of the last drawing, and the rows it fetched (from
    /// FirstValue on: the rows shown beside, every row above or below).
    int m_total = 0;
    std::vector<TLegendRow> m_rows;
};

/// The legend a chart carries; it publishes what TCustomChartLegend has.
class TChartLegend : public TCustomChartLegend
{
public:
    using TCustomChartLegend::TCustomChartLegend;
};

} // namespace kov
