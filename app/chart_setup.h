#pragma once

#include <functional>

class QMenu;
class QWidget;

// Where the main window gets its chart. Everything about creating and setting
// up Chart1 and Series1 lives here, so the window, the tests and the
// benchmarks all see the same chart.
namespace kov {

class TChart;
class TChartSeries;
class TLineSeries;

/// Gives a chart the settings of the main window's Chart1 that differ from
/// the engine's defaults.
void SetUpChart1(TChart &chart);

/// Gives a line series the settings of the main window's Series1.
void SetUpSeries1(TLineSeries &series);

/// The points the series shows before any file is opened: Y values 1 to 256
/// labelled "1" to "256" in the series colour, at X 0 to 255.
void GiveFirstPoints(TChartSeries &series);

/// Creates Chart1 in parent with its settings and popupMenu as its context
/// menu; onContextPopup runs on each context-menu request before the menu
/// opens. The chart owns the Series1 it is created with.
TChart *CreateChart1(QWidget *parent, QMenu *popupMenu, std::function<void()> onContextPopup);

/// The chart's one line series, Series1.
TLineSeries *Series1Of(TChart &chart);

} // namespace kov
