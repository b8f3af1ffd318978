#include "chart/chart.h"

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/rect.h"
#include "chart/canvas/text_lines.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

namespace kov {

TCustomChart::TCustomChart(QWidget *parent)
    : TCustomAxisPanel(parent), m_title(this), m_foot(this), m_backWall(this),
      m_leftWall(this, LeftWallDefaultColor), m_legend(this),
      m_bottomWall(this, BottomWallDefaultColor), m_mouse(*this)
{
    m_backWall.Brush().SetStyle(bsClear);
    SetMouseConsumed(false);
    m_mouse.TitleContains = [this](int x, int y) { return m_title.Clicked(x, y); };
    m_mouse.FootContains = [this](int x, int y) { return m_foot.Clicked(x, y); };
    m_mouse.LegendHitTest = [this](int x, int y) {
        return m_legend.Visible() ? m_legend.LegendHitTest(x, y) : -1;
    };
}

TCustomChart::~TCustomChart()
{
    // The series go first, while the walls and titles they may ask about
    // still exist.
    DestroyAllSeries();
}

void TCustomChart::SetTitle(const TChartTitle &source)
{
    m_title.CopyFrom(source);
}

void TCustomChart::SetFoot(const TChartTitle &source)
{
    m_foot.CopyFrom(source);
}

void TCustomChart::SetBackWall(const TCustomChartWall &source)
{
    m_backWall.CopyFrom(source);
}

void TCustomChart::SetLeftWall(const TCustomChartWall &source)
{
    m_leftWall.CopyFrom(source);
}

void TCustomChart::SetBottomWall(const TCustomChartWall &source)
{
    m_bottomWall.CopyFrom(source);
}

void TCustomChart::SetLegend(const TCustomChartLegend &source)
{
    m_legend.CopyFrom(source);
}

void TCustomChart::SetBackColor(TColor value)
{
    m_backWall.SetColor(value);
    // A colour chosen at run time must show: fill the back wall with it.
    if (!IsLoading())
        m_backWall.Brush().SetStyle(bsSolid);
}

void TCustomChart::SetFrame(const TPen &value)
{
    m_backWall.SetPen(value);
}

TChartSeries *TCustomChart::FirstActiveSeries() const
{
    for (TChartSeries *s : SeriesList().Items())
        if (s->Active())
            return s;
    return nullptr;
}

QString TCustomChart::LegendText(int index) const
{
    const TLegendStyle style = m_legend.EffectiveStyle();
    return LegendTextIn(style == lsAuto ? ResolvedLegendStyle() : style, index);
}

TLegendStyle TCustomChart::ResolvedLegendStyle() const
{
    return m_legend.ResolveLegendStyle(SeriesList().ActiveCount());
}

QString TCustomChart::LegendTextIn(TLegendStyle style, int index) const
{
    QString text;
    switch (style) {
    case lsAuto:
    case lsSeries:
        text = LegendSeriesTitle(index);
        break;
    case lsValues:
        text = ValueLegendText(FirstActiveSeries(), index);
        break;
    case lsLastValues: {
        // The row of a series in the legend shows that series' last value:
        // the same series whose symbol the row carries.
        const TChartSeries *series = LegendSeries(index);
        text = ValueLegendText(series, series ? series->PointCount() - 1 : -1);
        break;
    }
    }
    if (OnGetLegendText)
        OnGetLegendText(const_cast<TCustomChart *>(this), style, index, text);
    return text;
}

int TCustomChart::LegendItemCount(TLegendStyle style) const
{
    int items = 0;
    if (style == lsValues) {
        const TChartSeries *first = FirstActiveSeries();
        if (first && first->ShowInLegend())
            items = first->LegendItemCount();
    } else {
        for (const TChartSeries *s : SeriesList().Items())
            if (s->Active() && s->ShowInLegend())
                ++items;
    }
    return items;
}

TLegendRow TCustomChart::LegendRow(TLegendStyle style, int index) const
{
    TLegendRow row;
    row.Text = LegendTextIn(style, index);
    TChartSeries *series = style == lsValues ? FirstActiveSeries() : LegendSeries(index);
    if (!series)
        return row;
    row.Series = series;
    if (style == lsValues) {
        row.PointIndex = series->LegendToPointIndex(index);
        row.Color = series->LegendEntryColor(row.PointIndex);
        row.LineColor = series->EffectivePointColor(row.PointIndex);
    } else {
        row.Color = series->SeriesColor();
        row.LineColor = row.Color;
    }
    return row;
}

TLegendPaintContext TCustomChart::LegendPaintContext(TLegendStyle style)
{
    TLegendPaintContext context{ChartCanvas()};
    context.ChartRect = ChartRect();
    context.ChartWidth = ChartWidth();
    context.ChartHeight = ChartHeight();
    context.ChartXCenter = ChartXCenter();
    context.ChartBounds = ChartBounds();
    context.Style = style;
    context.ItemCount = LegendItemCount(style);
    context.Row = [this, style](int index) { return LegendRow(style, index); };
    context.DrawSymbol = [this](const TLegendRow &row, const TRect &rect) {
        row.Series->DrawLegendEntry(SeriesPaintContext(*row.Series), row.PointIndex, rect);
    };
    if (OnGetLegendRect)
        context.AdjustRect = [this](TRect &rect) { OnGetLegendRect(this, rect); };
    if (OnGetLegendPos)
        context.AdjustPosition = [this](int index, int &x, int &y, int &xColor) {
            OnGetLegendPos(this, index, x, y, xColor);
        };
    return context;
}

bool TCustomChart::LegendShown() const
{
    return m_legend.Visible() && SeriesList().ActiveCount() > 0;
}

void TCustomChart::DrawLegend()
{
    // Series draw their symbols on the legend's colour.
    m_legendColor = m_legend.Color();
    TRect rect = ChartRect();
    if (m_legend.Draw(LegendPaintContext(ResolvedLegendStyle()), rect)) {
        SetChartRect(rect);
        RecalcChartSize();
    }
}

QString TCustomChart::ValueLegendText(const TChartSeries *series, int valueIndex) const
{
    if (!series || valueIndex == -1)
        return QString();
    QString text = series->LegendEntryText(valueIndex, m_legend.TextStyle());
    text.replace(LineBreakChar, QLatin1Char(' '));
    return text;
}

QString TCustomChart::FormattedValueLegend(TChartSeries *series, int valueIndex) const
{
    return ValueLegendText(series, valueIndex);
}

void TCustomChart::LayoutAxes()
{
    const std::vector<TCustomChartAxis *> &axes = AxesList();
    for (TCustomChartAxis *axis : axes)
        axis->RefreshRange();
    ComputeDepthSizes();

    if (View3D() && View3DOptions().Orthogonal()) {
        const int wall = View3DWalls() ? m_backWall.Size() : 0;
        TRect r = ChartRect();
        r.Right -= std::abs(Width3D()) + wall;
        r.Top += std::abs(Height3D()) + wall;
        SetChartRect(r);
    }
    RecalcChartSize();
    // The labels' band is measured with a label step that follows the axis'
    // pixel span: the span of this picture's rectangle before the axes take
    // their room, never the span an earlier picture left behind.
    for (TCustomChartAxis *axis : axes)
        axis->UpdatePixelSpan();

    // Every shown axis takes its room out of a copy; only the five standard
    // axes may shrink the chart rectangle itself.
    TRect room = ChartRect();
    for (size_t i = 0; i < axes.size(); ++i) {
        if (!AxisShown(axes[i]))
            continue;
        TRect reserved = room;
        axes[i]->ReserveSpace(reserved, i < 5);
        TRect both;
        if (IntersectRect(both, room, reserved))
            room = both;
    }
    SetChartRect(room);
    RecalcChartSize();

    for (TCustomChartAxis *axis : axes)
        axis->UpdatePixelSpan();
}

void TCustomChart::LayoutSeriesArea()
{
    TCustomChartAxis *const sides[] = {TopAxis(), LeftAxis(), RightAxis(), BottomAxis()};
    for (TCustomChartAxis *axis : sides) {
        TRect margins;
        for (TChartSeries *s : SeriesList().Items()) {
            if (!s->Active() || !s->IsOnAxis(axis))
                continue;
            if (axis->IsHorizontal()) {
                int left = 0;
                int right = 0;
                s->ExtraHorizMargins(left, right);
                if (axis->AutomaticMinimum())
                    margins.Left = std::max(margins.Left, left);
                if (axis->AutomaticMaximum())
                    margins.Right = std::max(margins.Right, right);
            } else {
                int top = 0;
                int bottom = 0;
                s->ExtraVertMargins(top, bottom);
                if (axis->AutomaticMaximum())
                    margins.Top = std::max(margins.Top, top);
                if (axis->AutomaticMinimum())
                    margins.Bottom = std::max(margins.Bottom, bottom);
            }
        }
        axis->FitToPixelMargins(margins);
    }
}

int TCustomChart::WallThickness(const TCustomChartAxis *axis) const
{
    return ChartWallThickness(*this, m_leftWall, m_bottomWall, axis);
}

void TCustomChart::PaintTitlesAndLegend()
{
    const bool legendShown = LegendShown();
    TLegendPlacement placement = TLegendPlacement::lpNone;
    if (!legendShown)
        m_legend.ForgetLayout(); // nothing of an earlier drawing answers clicks
    else if (m_legend.IsVertical())
        placement = TLegendPlacement::lpSide;
    else
        placement = TLegendPlacement::lpTopOrBottom;
    PaintChartTitles(*this, m_title, m_foot, placement, [this] { DrawLegend(); });
}

void TCustomChart::PaintWalls()
{
    if (!AxesInUse())
        return;
    PaintChartWalls(*this, m_backWall, m_leftWall, m_bottomWall, m_settings.BackImageInside);
}

bool TCustomChart::ColorIsFree(TColor color, bool checkBackground) const
{
    for (TChartSeries *s : SeriesList().Items())
        if (s->SeriesColor() == color)
            return false;
    if (checkBackground && (color == Color() || color == BackColor()))
        return false;
    return true;
}

void TCustomChart::DrawBackImage(const TRect &rect)
{
    if (!m_settings.BackImageInside)
        TCustomAxisPanel::DrawBackImage(rect);
}

void TCustomChart::ResetZoom()
{
    m_mouse.ResetZoom();
}

TMouseAllowance TCustomChart::MouseAllowance() const
{
    return TMouseAllowance{AllowZoom(), AllowPanning(), AnimatedZoom(), AnimatedZoomSteps()};
}

void TCustomChart::ShowZoomStep()
{
    InvalidatePanel();
    repaint();
}

void TCustomChart::ChartScrolled()
{
    if (OnScroll)
        OnScroll(this);
}

void TCustomChart::ChartZoomed()
{
    SetZoomed(true);
    if (OnZoom)
        OnZoom(this);
}

void TCustomChart::CopyFrom(const TCustomChartPanel &source)
{
    using Chart = TCustomChart;
    if (const auto *other = dynamic_cast<const Chart *>(&source))
        CopyParts(*this, *other, &Chart::m_settings, &Chart::m_backWall, &Chart::m_bottomWall,
                  &Chart::m_leftWall, &Chart::m_legend, &Chart::m_foot, &Chart::m_title);
    TCustomAxisPanel::CopyFrom(source);
}

bool TCustomChart::event(QEvent *event)
{
    // A context menu raised by a mouse press is dropped: the release raises it.
    if (event->type() == QEvent::ContextMenu &&
        !m_mouse.AcceptsContextMenu(static_cast<QContextMenuEvent *>(event))) {
        event->accept();
        return true;
    }
    return TCustomAxisPanel::event(event);
}

void TCustomChart::mousePressEvent(QMouseEvent *event)
{
    m_mouse.MousePressEvent(event);
}

void TCustomChart::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_mouse.MouseDoubleClickEvent(event);
}

void TCustomChart::mouseMoveEvent(QMouseEvent *event)
{
    m_mouse.MouseMoveEvent(event);
}

void TCustomChart::mouseReleaseEvent(QMouseEvent *event)
{
    m_mouse.MouseReleaseEvent(event);
}

void TCustomChart::wheelEvent(QWheelEvent *event)
{
    m_mouse.WheelEvent(event);
}

bool TCustomChart::LayerShowsPointValues() const
{
    return (m_legend.Visible() && (OnGetLegendRect || OnGetLegendPos)) ||
           TCustomAxisPanel::LayerShowsPointValues();
}

bool TCustomChart::LayerLegendCurrent()
{
    return !LegendShown() || m_legend.ShowsSameRows(LegendPaintContext(ResolvedLegendStyle()));
}

} // namespace kov
