#pragma once

#include "chart/canvas/rect.h"
#include "chart/color.h"

// What a series draws and hit-tests with. The chart hands it over for one
// paint or one mouse query (as a plot hands its items a painter and the maps
// of their axes), so series code never fetches canvas or axes through its
// chart, and a series draws onto any canvas against any pair of axes.
namespace kov {

class TCanvas3D;
class TCustomChartAxis;
struct TAxisMapping;
class TFont;
class TPen;

/// The depth (z) a series is drawn at: its front, middle and back.
struct TDepthSpan
{
    int Start = 0;
    int Middle = 0;
    int End = 0;
};

/// The axes a series is drawn against, and the conversions between its
/// values and screen pixels; without an axis, every position along it is 0
/// and every value 0.
struct TSeriesAxes
{
    const TCustomChartAxis *HorizAxis = nullptr;
    const TCustomChartAxis *VertAxis = nullptr;
    /// The axes' value/pixel mappings as the chart hands them for a paint
    /// (they follow the axes' ranges as the layout sets them); without one,
    /// a position is converted through its axis.
    const TAxisMapping *HorizMapping = nullptr;
    const TAxisMapping *VertMapping = nullptr;

    /// Screen x of a value on the horizontal axis.
    int XPos(double value) const;
    /// Screen y of a value on the vertical axis.
    int YPos(double value) const;
    /// The value on the horizontal axis at screen x.
    double XValue(int x) const;
    /// The value on the vertical axis at screen y.
    double YValue(int y) const;
};

struct TSeriesPaintContext : TSeriesAxes
{
    /// A context of canvas alone: no axes, a flat view; the chart fills in
    /// the rest.
    explicit TSeriesPaintContext(TCanvas3D &canvas) : Canvas(canvas) {}

    TCanvas3D &Canvas;
    /// Where axes, walls and series go.
    TRect ChartRect;
    bool View3D = false;
    /// Shift of one depth step of the 3D view, right and up, in pixels.
    int SeriesWidth3D = 0;
    int SeriesHeight3D = 0;
    /// The series' depth.
    TDepthSpan Depth;
    /// True while the picture goes to a printer.
    bool Printing = false;
    /// The legend box colour (clDefault: none of its own) and the chart's
    /// colour, for legend symbols.
    TColor LegendColor = clDefault;
    TColor ChartColor = clBtnFace;
    /// Percentage by which text written flat over a 3D view is scaled with
    /// the view (100: as the font says).
    int TextZoom = 100;

    /// Whether the series' drawing is clipped to the chart's cube (the
    /// chart's ClipPoints, where clipping is allowed).
    bool ClipPoints = false;
    /// Depth of the chart's cube in pixels (0 in a flat chart).
    int ChartDepth = 0;
    /// Whether a series drawn with this context can show at screen (x, y):
    /// anywhere when unclipped, else inside the clipped cube.
    bool ShowsPixel(int x, int y) const;
    /// Whether the horizontal axis runs right to left.
    bool HorizInverted() const;
    /// The end (bottom) pixel of the vertical axis.
    int VertEndPixel() const;
    /// Makes font the canvas font, at the canvas' pixel density (as the
    /// chart panel selects its fonts).
    void SelectFont(const TFont &font) const;
    /// The chart panel's rule for pens while printing (AdjustPenForPrinting).
    void AdjustPenForPrinting(TPen &pen) const;
};

} // namespace kov
