#pragma once

#include "chart/kovchart_export.h"

#include "chart/color.h"
#include "chart/mouse_input.h"

#include <QString>
#include <Qt>
#include <functional>

// The settings and event types of a series: which axes it is drawn against,
// how its legend entry reads, what it recalculates on, and the events it fires.
namespace kov {

class TChartSeries;

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

/// How a legend entry reads.
enum TLegendTextStyle {
    ltsPlain,
    ltsLeftValue,
    ltsRightValue,
    ltsLeftPercent,
    ltsRightPercent,
    ltsXValue
};

/// What happened to a series that its dependent series must follow.
enum TSeriesChange { scClear, scAdd, scDelete, scModify, scRefresh };

/// Which changes of its data source make a dependent series recalculate.
struct KOVCHART_EXPORT TSeriesRecalcOptions
{
    bool OnDelete = true;
    bool OnModify = true;
    bool OnInsert = true;
    bool OnClear = true;
};

using TSeriesNotifyEvent = std::function<void(TChartSeries *Sender)>;
using TSeriesOnAfterAdd = std::function<void(TChartSeries *Sender, int ValueIndex)>;
/// Returns false to refuse the point about to be added.
using TSeriesOnBeforeAdd = std::function<bool(TChartSeries *Sender)>;
using TSeriesOnClear = std::function<void(TChartSeries *Sender)>;
using TSeriesClick = std::function<void(TChartSeries *Sender, int ValueIndex, TMouseButton Button,
                                        TShiftState Shift, int X, int Y)>;
using TSeriesOnGetMarkText =
    std::function<void(TChartSeries *Sender, int ValueIndex, QString &MarkText)>;

/// The events a series fires.
struct KOVCHART_EXPORT TSeriesEvents
{
    TSeriesNotifyEvent AfterDrawValues;
    TSeriesNotifyEvent BeforeDrawValues;
    TSeriesOnAfterAdd OnAfterAdd;
    TSeriesOnBeforeAdd OnBeforeAdd;
    TSeriesOnClear OnClearValues;
    TSeriesClick OnClick;
    TSeriesClick OnDblClick;
    TSeriesOnGetMarkText OnGetMarkText;
};

/// The settings of a series that copying from another series takes (the data
/// source links and the name stay).
struct KOVCHART_EXPORT TSeriesSettings
{
    bool Active = true;
    bool ColorEachPoint = false;
    Qt::CursorShape Cursor = Qt::ArrowCursor;
    THorizAxis HorizAxis = aBottomAxis;
    TVertAxis VertAxis = aLeftAxis;
    QString PercentFormat = QStringLiteral("##0.## %");
    QString ValueFormat = QStringLiteral("#,##0.###");
    TColor SeriesColor = clDefault;
    bool ShowInLegend = true;
    QString Title;
};

} // namespace kov
