#include "app/chart_setup.h"

#include "chart/chart.h"
#include "chart/series/line_series.h"

#include <QMenu>

#include <memory>

namespace kov {

void SetUpChart1(TChart &chart)
{
    chart.setObjectName(QStringLiteral("Chart1"));
    chart.SetAnimatedZoom(true);
    chart.SetAnimatedZoomSteps(5);
    chart.BackWall().Brush().SetColor(clWhite);
    chart.BackWall().Brush().SetStyle(bsClear);
    chart.Foot().SetText(QStringList{QString()});
    // The title's text and frame take no effect while it is hidden; they are
    // kept as the layout has them.
    chart.Title().SetText(QStringList{QStringLiteral("tryueryertyerty")});
    chart.Title().SetAlignment(TAlignment::taLeftJustify);
    chart.Title().SetAdjustFrame(false);
    chart.Title().Frame().SetStyle(psDash);
    chart.Title().SetVisible(false);
    chart.Legend().SetVisible(false);
    chart.Legend().SetResizeChart(false);
    chart.SetView3D(false);
    chart.SetView3DWalls(false);
    chart.SetScaleLastPage(false);
    chart.SetBevelOuter(bvNone);

    TChartAxis &left = *chart.LeftAxis();
    left.Title().SetCaption(QStringLiteral("Мощьность"));
    left.SetIncrement(1);
    left.SetGridCentered(true);
    left.SetExactDateTime(false);
    left.Ticks().SetStyle(psDash);
    left.Ticks().SetWidth(4);
    left.TicksInner().SetWidth(4);

    TChartAxis &top = *chart.TopAxis();
    top.Axis().SetColor(0xFF8000);
    top.Axis().SetWidth(6);
    top.SetGridCentered(true);
    top.SetInverted(true);
    top.SetLogarithmic(true);
    top.TicksInner().SetColor(clAqua);
    top.TicksInner().SetWidth(4);
    top.Title().SetCaption(QStringLiteral("нгенгек"));

    chart.DepthAxis()->SetVisible(true);
    chart.DepthAxis()->SetExactDateTime(false);
}

void SetUpSeries1(TLineSeries &series)
{
    series.SetName(QStringLiteral("Series1"));
    series.SetSeriesColor(clRed);
    series.SetShowInLegend(false);
    series.SetCursor(Qt::CrossCursor);
    series.SetDark3D(false);
    // The marks stay hidden; their style is kept as the layout has it.
    series.Marks().SetVisible(false);
    series.Marks().SetStyle(smsValue);
    series.Marks().SetTransparent(true);
    series.Marks().SetArrowLength(8);
    series.Pointer().SetVisible(true);
    series.Pointer().SetStyle(psCircle);
    series.Pointer().Pen().SetColor(clOlive);
    series.Pointer().Pen().SetStyle(psDot);
    series.Pointer().SetInflateMargins(false);
    series.XValues()->SetName(QStringLiteral("X"));
    series.XValues()->SetOrder(loAscending);
    series.XValues()->SetMultiplier(1);
    series.XValues()->SetDateTime(false);
    series.YValues()->SetName(QStringLiteral("Y"));
    series.YValues()->SetOrder(loNone);
    series.YValues()->SetMultiplier(1);
    series.YValues()->SetDateTime(false);
}

void GiveFirstPoints(TChartSeries &series)
{
    series.RemoveAllPoints();
    for (int i = 1; i <= 256; ++i)
        series.AppendPoint(i, QString::number(i), clDefault);
}

TChart *CreateChart1(QWidget *parent, QMenu *popupMenu, std::function<void()> onContextPopup)
{
    auto *chart = new TChart(parent);
    SetUpChart1(*chart);
    auto series = std::make_unique<TLineSeries>();
    SetUpSeries1(*series);
    chart->AddSeries(std::move(series));

    chart->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(chart, &QWidget::customContextMenuRequested, popupMenu,
                     [chart, popupMenu, onContextPopup](const QPoint &pos) {
                         if (onContextPopup)
                             onContextPopup();
                         popupMenu->popup(chart->mapToGlobal(pos));
                     });
    return chart;
}

TLineSeries *Series1Of(TChart &chart)
{
    return chart.CountSeries() > 0 ? dynamic_cast<TLineSeries *>(chart.SeriesAt(0)) : nullptr;
}

} // namespace kov
