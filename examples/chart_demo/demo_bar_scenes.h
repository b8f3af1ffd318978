#pragma once

#include "demo_scenes.h"

#include <QString>
#include <vector>

// The demo's bar scenes: the chart's line series replaced by bar series, side
// by side, stacked, stacked to 100 %, horizontal and in 3D.
namespace kov {

class TChart;

/// The bar scenes, in the order the demo lists them.
const std::vector<TDemoScene> &BarDemoScenes();

/// Sets up chart (built by BuildDemoChart) for a bar scene; false, leaving
/// the chart alone, when name is not one.
bool ApplyBarScene(TChart &chart, const QString &name);

} // namespace kov
