#pragma once

#include <QString>

// The demo's scenes of area and pie series: each replaces the demo chart's two
// line series with series of its own.
namespace kov {

class TChart;

/// Sets chart up for the area or pie scene of that name; false (the chart
/// untouched) when the name is not one of them.
bool ApplyAreaPieScene(TChart &chart, const QString &name);

} // namespace kov
