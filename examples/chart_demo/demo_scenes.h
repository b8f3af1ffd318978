#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

// The engine demo's chart and its named scenes: one chart with two line
// series, set up to show one feature each (the legend at every alignment,
// marks in two styles, the 3D view, a zoomed view). The demo window and its
// picture output both build their charts here.
namespace kov {

class TChart;
class TChartSeries;

struct TDemoScene
{
    QString Name;
    QString Description;
};

/// Every scene, the default one first.
const std::vector<TDemoScene> &DemoScenes();

/// Whether a scene of that name exists.
bool IsDemoScene(const QString &name);

/// Gives chart the demo's two series and the settings every scene starts
/// from (legend at the right, marks hidden, flat view).
void BuildDemoChart(TChart &chart);

/// Sets up a chart built by BuildDemoChart for the scene. A scene that zooms
/// needs one picture drawn first, so that the zoom has axes to work on;
/// draw is called for it. False for an unknown name.
bool ApplyDemoScene(TChart &chart, const QString &name, const std::function<void()> &draw);

/// Adds a series of a registered type to a chart built by BuildDemoChart,
/// titled with the type's display name: a function takes the chart's first
/// two series as its sources, any other type a copy of the first series'
/// points. Null for an unknown class name.
TChartSeries *AddDemoSeries(TChart &chart, const QString &className);

/// The picture of a scene, size pixels large; a null image for an unknown
/// name. The gallery scene draws the series gallery, every other scene the
/// demo chart.
QImage RenderDemoScene(const QString &name, QSize size);

} // namespace kov
