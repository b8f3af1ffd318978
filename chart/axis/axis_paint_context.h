#pragma once

#include "chart/axis/axis_settings.h"
#include "chart/canvas/rect.h"
#include "chart/color.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// What an axis lays out, measures and paints with. The chart hands it over
// for one picture (as it hands series and the legend theirs): the canvas,
// where the chart rectangle stands, the 3D view and walls beside the axis,
// the series drawn against it and the chart's label events. Axis painting
// never asks a chart, so an axis draws onto any canvas from any context.
namespace kov {

class TChartCanvas3D;
class TChartSeries;
class TCustomChartAxis;

/// Chart event: the text of one axis label, which the handler may change.
/// Series is null and ValueIndex -1 for value labels.
using TAxisOnGetLabel = std::function<void(TCustomChartAxis *Sender, TChartSeries *Series,
                                           int ValueIndex, QString &LabelText)>;

/// Chart event: the value of label LabelIndex; the handler sets LabelValue, or
/// leaves Stop set to end the sequence.
using TAxisOnGetNextLabel =
    std::function<void(TCustomChartAxis *Sender, int LabelIndex, double &LabelValue, bool &Stop)>;

struct TAxisPaintContext
{
    /// A context of canvas alone: an axis on its own, with no series and a
    /// flat view; the chart fills in the rest.
    explicit TAxisPaintContext(TChartCanvas3D &canvas) : Canvas(canvas) {}

    TChartCanvas3D &Canvas;
    /// Where axes, walls and series go.
    TRect ChartRect;
    bool View3D = false;
    /// The chart's depth in pixels.
    int Depth = 0;
    /// True while the picture goes to a printer.
    bool Printing = false;
    /// True while the chart is being loaded: range setters skip their order
    /// checks then.
    bool Loading = false;
    /// Whether the chart shows the axis at all.
    bool Shown = true;
    /// The colour under the labels (the chart's); none keeps the canvas'.
    std::optional<TColor> LabelBackground;
    /// Wall thickness beside this axis, the left axis and the bottom axis.
    int Wall = 0;
    int LeftWall = 0;
    int BottomWall = 0;

    /// Every series of the chart, in order; null for an axis without a chart,
    /// which then keeps its date-time mode and labels values.
    const std::vector<TChartSeries *> *Series = nullptr;
    /// The chart's label events (null or empty when not assigned).
    const TAxisOnGetLabel *OnGetLabel = nullptr;
    const TAxisOnGetNextLabel *OnGetNextLabel = nullptr;
    /// The smallest or largest value of the series drawn against the axis.
    std::function<double(bool wantMinimum)> SeriesExtreme;
    /// The widest mark text (talMark) or point label (talText) of the series.
    std::function<int(TAxisLabelStyle style)> PointLabelsExtent;
    /// The legend title of series index, for the depth axis' labels.
    std::function<QString(int index)> SeriesTitle;
};

} // namespace kov
