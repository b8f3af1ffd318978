#include "chart/legend/chart_legend.h"

#include "chart/canvas/chart_canvas3d.h"
#include "chart/exceptions.h"
#include "chart/numeric.h"
#include "chart/panel/chart_panel.h"

#include <algorithm>

namespace kov {

TCustomChartLegend::TCustomChartLegend(TCustomChartPanel *owner)
    : TChartTextBox(owner, clWhite, true), m_onChange(SubObjectHandler(owner)),
      m_dividingLines(m_onChange)
{
}

TCustomChartLegend::~TCustomChartLegend()
{
    m_onChange = nullptr;
    m_dividingLines.OnChange = nullptr;
}

// ---- published properties ------------------------------------------------------

void TCustomChartLegend::SetColorWidth(int value)
{
    if (value < 0 || value > 100)
        throw LegendException(QStringLiteral("Legend Color Width must be between 0 and 100 %"));
    Change(m_settings.ColorWidth, value);
}

void TCustomChartLegend::SetDividingLines(const TPen &value)
{
    if (&value != &m_dividingLines)
        m_dividingLines.CopyFrom(value);
}

void TCustomChartLegend::SetFirstValue(int value)
{
    if (value < 0)
        throw LegendException(QStringLiteral("First Legend Value must be > 0"));
    Change(m_settings.FirstValue, value);
}

void TCustomChartLegend::SetLegendStyle(TLegendStyle value)
{
    m_settings.LegendStyle = value;
    m_effectiveStyle = value;
    ReportChange(m_onChange);
}

void TCustomChartLegend::SetTopPos(int value)
{
    if (value < 0 || value > 100)
        throw LegendException(QStringLiteral("Top Legend Position must be between 0 and 100 %"));
    Change(m_settings.TopPos, value);
}

void TCustomChartLegend::CopyFrom(const TChartFontObject &source)
{
    if (const auto *legend = dynamic_cast<const TCustomChartLegend *>(&source)) {
        if (legend == this)
            return;
        m_settings = legend->m_settings;
        m_effectiveStyle = m_settings.LegendStyle;
        m_dividingLines.CopyFrom(legend->m_dividingLines);
        CopyBox(*legend);
    }
    TChartFontObject::CopyFrom(source);
}

// ---- content ------------------------------------------------------------------------

void TCustomChartLegend::ForgetLayout()
{
    m_legendRect = TRect{};
    m_columnCount = 0;
    m_rowCount = 0;
    m_rows.clear();
}

TLegendStyle TCustomChartLegend::ResolveLegendStyle(int activeSeries) const
{
    if (m_settings.LegendStyle != lsAuto)
        return m_settings.LegendStyle;
    return activeSeries < 2 ? lsValues : lsSeries;
}

void TCustomChartLegend::FetchRows(const TLegendPaintContext &context, int n)
{
    m_rows.clear();
    m_rows.reserve(static_cast<size_t>(std::max(0, n)));
    for (int i = 0; i < n; ++i)
        m_rows.push_back(context.Row(m_settings.FirstValue + i));
}

int TCustomChartLegend::WidestText(const TLegendPaintContext &context) const
{
    int widest = 0;
    for (const TLegendRow &row : m_rows)
        widest = std::max(widest, context.Canvas.MeasureTextWidth(row.Text));
    return widest;
}

bool TCustomChartLegend::ShowsSameRows(const TLegendPaintContext &context) const
{
    if (context.Style != m_effectiveStyle ||
        std::max(0, context.ItemCount - m_settings.FirstValue) != m_total)
        return false;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!(context.Row(m_settings.FirstValue + static_cast<int>(i)) == m_rows[i]))
            return false;
    return true;
}

int TCustomChartLegend::FittingItemCount(const TLegendPaintContext &context, int start,
                                         int itemSize) const
{
    const TRect &r = context.ChartRect;
    const bool side = IsVertical();
    const int limit = side ? r.Bottom : r.Right;
    const int size = side ? context.ChartHeight : context.ChartWidth;
    const int offset = side ? r.Top : 0;
    if (limit <= start || itemSize <= 0)
        return 0;
    return std::min((size - 2 * Frame().Width() - start + offset) / itemSize, m_total);
}

// ---- drawing ------------------------------------------------------------------------------

bool TCustomChartLegend::Draw(const TLegendPaintContext &context, TRect &chartRect)
{
    TChartCanvas3D &canvas = context.Canvas;
    const TLegendAlignment alignment = m_settings.Alignment;
    const bool side = IsVertical();

    m_effectiveStyle = context.Style;
    m_total = std::max(0, context.ItemCount - m_settings.FirstValue);
    m_rows.clear();
    SelectCanvasFont(canvas.Font(), Font());
    const int h = canvas.TextLineHeight();
    m_lineHeight = h;
    // The frame is drawn outside the box: keep it off the chart's edges.
    const int frameGap = Frame().Visible() ? Frame().Width() + 1 : 0;
    const int shadow = m_settings.ShadowSize;

    ItemLayout layout;
    layout.LineHeight = h;
    // A side legend sizes itself to the texts of the rows it shows (below);
    // only the grid of a top or bottom legend needs the widest of all texts.
    if (!side) {
        FetchRows(context, m_total);
        layout.TextWidth = WidestText(context) + 4;
        m_symbolWidth = RoundToInt(layout.TextWidth * m_settings.ColorWidth * 0.01);
    }
    layout.Total = m_total;

    const TRect &bounds = context.ChartBounds;
    auto layOutGrid = [&] {
        m_columnCount = FittingItemCount(context, 8, layout.TextWidth + m_symbolWidth + 8);
        if (m_columnCount <= 0)
            m_rowCount = 0;
        else
            m_rowCount =
                std::min((layout.Total + m_columnCount - 1) / m_columnCount, m_settings.MaxNumRows);
    };

    int top = 0;
    int bottom = 0;
    switch (alignment) {
    case laTop:
        top = chartRect.Top + frameGap;
        layOutGrid();
        bottom = top + m_rowCount * h + 2;
        break;
    case laBottom:
        bottom = chartRect.Bottom - shadow - frameGap;
        layOutGrid();
        top = bottom - m_rowCount * h - 2;
        break;
    case laLeft:
    case laRight:
        top = bounds.Top + RoundToInt(m_settings.TopPos * bounds.Height() * 0.01);
        m_columnCount = 1;
        m_rowCount = FittingItemCount(context, top, h);
        bottom = top + m_rowCount * h + 2;
        break;
    }

    int left = 0;
    int right = 0;
    int rows = 0;
    if (side) {
        FetchRows(context, m_rowCount);
        const int w = WidestText(context);
        m_symbolWidth = RoundToInt((w + 10) * m_settings.ColorWidth * 0.01);
        if (alignment == laLeft) {
            left = chartRect.Left + frameGap;
            layout.SymbolLeft = left + 4;
            layout.TextLeft = layout.SymbolLeft + m_symbolWidth + 4;
            right = layout.TextLeft + w + 2;
        } else {
            right = chartRect.Right - frameGap - shadow;
            layout.TextLeft = right - w - 2;
            layout.SymbolLeft = layout.TextLeft - m_symbolWidth - 4;
            left = layout.SymbolLeft - 4;
        }
        rows = m_rowCount;
    } else {
        const int width =
            std::min(context.ChartWidth,
                     2 * shadow + (m_symbolWidth + layout.TextWidth + 4) * m_columnCount + 8);
        int shift = RoundToInt(m_settings.TopPos * (bounds.Width() - width) * 0.01);
        // The shift is taken from the centre: kept within the picture, a
        // large TopPos moves the box to the right edge, not beyond it.
        const int centre = context.ChartXCenter;
        const int room = bounds.Right - (centre + width / 2 + OuterReach());
        shift = std::max(0, std::min(shift, room));
        left = centre - width / 2 + shift;
        right = centre + width / 2 + shift;
        layout.SymbolLeft = left + 4;
        layout.TextLeft = layout.SymbolLeft + m_symbolWidth + 4;
        rows = m_columnCount * m_rowCount;
    }

    m_legendRect = TRect{left, top, right, bottom};
    if (context.AdjustRect) {
        context.AdjustRect(m_legendRect);
        // A moved box takes its items along.
        layout.SymbolLeft += m_legendRect.Left - left;
        layout.TextLeft += m_legendRect.Left - left;
        top = m_legendRect.Top;
    }
    layout.Top = top;
    if (rows < 1)
        return false;

    DrawBackground(canvas);

    const int first = m_settings.FirstValue;
    const int last = std::min(layout.Total, rows) + first - 1;
    if (m_settings.Inverted) {
        for (int index = last; index >= first; --index)
            DrawItem(context, layout, index, last - index);
    } else {
        for (int index = first; index <= last; ++index)
            DrawItem(context, layout, index, index - first);
    }

    // The side of the chart rectangle that faces the legend moves to the
    // legend's far edge (when the legend takes its room) and then in by the
    // margin.
    TRect shrunk = context.ChartRect;
    const bool resize = m_settings.ResizeChart;
    const int horizMargin =
        m_settings.HorizMargin != 0 ? m_settings.HorizMargin : MulDiv(3, context.ChartWidth, 100);
    const int vertMargin =
        m_settings.VertMargin != 0 ? m_settings.VertMargin : MulDiv(4, context.ChartHeight, 100);
    switch (alignment) {
    case laLeft:
        shrunk.Left = (resize ? m_legendRect.Right : shrunk.Left) + horizMargin;
        break;
    case laRight:
        shrunk.Right = (resize ? m_legendRect.Left : shrunk.Right) - horizMargin;
        break;
    case laTop:
        shrunk.Top = (resize ? m_legendRect.Bottom + shadow : shrunk.Top) + vertMargin;
        break;
    case laBottom:
        shrunk.Bottom = (resize ? m_legendRect.Top : shrunk.Bottom) - vertMargin;
        break;
    }
    chartRect = shrunk;
    return true;
}

void TCustomChartLegend::DrawBackground(TChartCanvas3D &canvas)
{
    const int shadow = m_settings.ShadowSize;
    canvas.ApplyChartPen(Frame());
    TRect box = m_legendRect;
    if (Frame().Visible()) {
        if (canvas.Pen().Color() == clDefault)
            canvas.Pen().SetColor(clBlack);
        const int fw = Frame().Width();
        box = TRect{box.Left - fw, box.Top - fw, box.Right + fw, box.Bottom + fw};
    }
    const int reach = ShadowReach();
    canvas.Brush().SetStyle(bsSolid);
    if (shadow > 0) {
        canvas.Brush().SetColor(m_settings.ShadowColor);
        const TRect shade{m_legendRect.Left + shadow, m_legendRect.Top + shadow,
                          m_legendRect.Right + reach, m_legendRect.Bottom + reach};
        if (canvas.IsHardware3D())
            canvas.DrawRectangle3D(shade, 8);
        else
            canvas.FillRectangle(shade);
    }
    canvas.Brush().CopyFrom(Brush());
    if (Brush().Style() != bsSolid) {
        canvas.SetBackgroundMode(bmOpaque);
        canvas.SetBackgroundColor(ColorToRGB(Color()));
    } else {
        canvas.Brush().SetColor(Color());
    }
    if (canvas.IsHardware3D())
        canvas.DrawRectangle3D(box, 4);
    else
        canvas.DrawRect(box);
}

int TCustomChartLegend::ShadowReach() const
{
    const int shadow = m_settings.ShadowSize;
    if (!Frame().Visible())
        return shadow - 1;
    const int fw = Frame().Width();
    return shadow + fw + (fw - 1) / 2;
}

int TCustomChartLegend::OuterReach() const
{
    const int frame = Frame().Visible() ? Frame().Width() : 0;
    return std::max(frame, m_settings.ShadowSize > 0 ? ShadowReach() : 0);
}

void TCustomChartLegend::PrepareSymbolPen(TChartCanvas3D &canvas) const
{
    TPen &pen = canvas.Pen();
    pen.SetColor(Color() == clBlack ? clWhite : clBlack);
    pen.SetStyle(psSolid);
    pen.SetWidth(1);
    pen.SetMode(pmCopy);
}

void TCustomChartLegend::DrawItem(const TLegendPaintContext &context, const ItemLayout &layout,
                                  int index, int position)
{
    if (position >= layout.Total)
        return;
    TChartCanvas3D &canvas = context.Canvas;
    const int h = layout.LineHeight;
    int x = layout.TextLeft;
    int y = layout.Top + 1;
    if (IsVertical()) {
        y += h * position;
    } else {
        y += (position / m_columnCount) * h;
        x += (position % m_columnCount) * (layout.TextWidth + m_symbolWidth + 4);
    }
    if (context.AdjustPosition) {
        int xColor = layout.SymbolLeft;
        context.AdjustPosition(index, x, y, xColor);
    }
    const TLegendRow &row = m_rows[static_cast<size_t>(index - m_settings.FirstValue)];
    const QString &text = row.Text;
    if (!text.isEmpty()) {
        canvas.Brush().SetStyle(bsClear);
        canvas.SetBackgroundMode(bmTransparent);
        canvas.SetTextAlignment(taLeft | taTop);
        canvas.WriteText(x, y, text);
        // Every symbol starts from the legend's own pen: the previous one may
        // have left a series' line pen or the dividing lines' pen behind.
        PrepareSymbolPen(canvas);
        const TRect symbol{x - 4 - m_symbolWidth, y + 2, x - 4, y + h - 2};
        if (row.Series && context.DrawSymbol) {
            context.DrawSymbol(row, symbol);
        } else {
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(row.Color);
            canvas.DrawRect(symbol);
        }
    }
    if (position > 0 && m_dividingLines.Visible()) {
        canvas.Pen().CopyFrom(m_dividingLines);
        canvas.SetBackgroundMode(bmTransparent);
        if (IsVertical())
            canvas.DrawHorizontalLine(m_legendRect.Left, m_legendRect.Right, y);
        else
            canvas.DrawVerticalLine(x - 8 - m_symbolWidth, m_legendRect.Top, m_legendRect.Bottom);
    }
}

// ---- hit test ------------------------------------------------------------------------------

int TCustomChartLegend::LegendHitTest(int x, int y) const
{
    if (!PointInRect(m_legendRect, x, y))
        return -1;
    const TRect &r = m_legendRect;
    auto rowAt = [&](int rowHeight) {
        for (int a = 0; a < m_rowCount; ++a) {
            const int from = r.Top + a * rowHeight + 1;
            if (y >= from && y <= from + rowHeight)
                return a;
        }
        return -1;
    };
    if (IsVertical()) {
        if (m_rowCount <= 0)
            return -1;
        return rowAt((r.Bottom - r.Top) / m_rowCount);
    }
    if (m_columnCount <= 0)
        return -1;
    const int columnWidth = (r.Right - r.Left) / m_columnCount;
    int result = -1;
    for (int a = 0; a < m_columnCount; ++a) {
        const int from = r.Left + a * columnWidth + 1;
        if (x < from || x > from + columnWidth)
            continue;
        // The rows are as high as the lines of the last drawing, whatever
        // font the canvas holds by now.
        const int row = rowAt(m_lineHeight);
        if (row != -1)
            result = a + row * m_columnCount;
    }
    return result;
}

} // namespace kov
