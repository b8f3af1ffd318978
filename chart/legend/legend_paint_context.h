#pragma once

#include "chart/canvas/rect.h"
#include "chart/color.h"

#include <QString>
#include <functional>

// What the legend lays out and draws with. The chart hands it over for one
// drawing (as it hands series their paint context): the canvas, where the
// chart rectangle stands, which style the rows follow, and the rows
// themselves, built on demand. The legend never asks its chart for series,
// texts or colours, so it draws onto any canvas from rows of any source.
namespace kov {

class TChartCanvas3D;
class TChartSeries;

/// What the legend lists: lsAuto lists the values of a lone active series and
/// the series when there are several.
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };

/// One legend item: its text and what its symbol shows.
struct TLegendRow
{
    QString Text;
    /// The series that draws the symbol, or null: then the symbol is a solid
    /// rectangle in Color.
    TChartSeries *Series = nullptr;
    /// The point whose symbol the row shows; -1 for the symbol of the whole
    /// series.
    int PointIndex = -1;
    /// The colours the symbol is drawn in: its fill and its line.
    TColor Color = clWhite;
    TColor LineColor = clWhite;

    /// Rows that are equal draw the same pixels as long as the series'
    /// settings stay (every change of those redraws the whole chart).
    friend bool operator==(const TLegendRow &, const TLegendRow &) = default;
};

struct TLegendPaintContext
{
    explicit TLegendPaintContext(TChartCanvas3D &canvas) : Canvas(canvas) {}

    TChartCanvas3D &Canvas;
    /// The chart rectangle as the legend finds it, its size and centre, and
    /// the bounds of the whole chart.
    TRect ChartRect;
    int ChartWidth = 0;
    int ChartHeight = 0;
    int ChartXCenter = 0;
    TRect ChartBounds;
    /// The style the rows follow (never lsAuto).
    TLegendStyle Style = lsSeries;
    /// Number of items, counted from the first (FirstValue not taken off).
    int ItemCount = 0;
    /// The row of item index (0 .. ItemCount - 1).
    std::function<TLegendRow(int index)> Row;
    /// Draws the symbol of a row that has a series into rect; without it such
    /// a row gets the plain rectangle.
    std::function<void(const TLegendRow &row, const TRect &rect)> DrawSymbol;
    /// May move or resize the legend box before it is drawn.
    std::function<void(TRect &rect)> AdjustRect;
    /// May move the text of item index; the symbol follows the text.
    std::function<void(int index, int &x, int &y, int &xColor)> AdjustPosition;
};

} // namespace kov
