#pragma once

#include "chart/kovchart_export.h"
#include "chart/series/custom_series.h"

// The concrete series built on TCustomSeries: the line series the main window
// uses, and the point series the engine offers besides.
namespace kov {

/// Points joined by segments; markers off unless switched on.
class KOVCHART_EXPORT TLineSeries : public TCustomSeries
{
public:
    TLineSeries();

    /// Copies the settings of another custom series, then keeps the line
    /// drawn, the area off, and the markers off unless source is a line series.
    void CopyFrom(const TChartSeries &source) override;
    /// The legend box takes LinePen and the LineBrush style.
    void SetUpLegendCanvas(const TSeriesPaintContext &context, int index, TColor &backColor,
                           TBrushStyle &style) override;
};

/// Markers only, no segments.
class KOVCHART_EXPORT TPointSeries : public TCustomSeries
{
public:
    TPointSeries();

    /// Copies the settings, then keeps the markers on and line, area and
    /// clickable line off.
    void CopyFrom(const TChartSeries &source) override;
    /// Switching ColorEachPoint on gives the markers the points' colours:
    /// the pointer brush goes back to clDefault.
    void SetColorEachPoint(bool value) override;
    QString EditorName() const override { return QStringLiteral("TSeriesPointerEditor"); }
};

} // namespace kov
