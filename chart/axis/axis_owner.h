#pragma once

// What an axis asks of the chart that owns it: the context of the picture it
// lays out and paints in, and a repaint when one of its settings changes.
namespace kov {

class TCustomChartAxis;
struct TAxisPaintContext;

class TAxisOwner
{
public:
    /// The canvas, chart rectangle, series and label events the axis works
    /// with now.
    virtual TAxisPaintContext AxisPaintContext(const TCustomChartAxis &axis) = 0;
    /// A setting of an owned axis changed: the picture is drawn again.
    virtual void AxisChanged() = 0;

protected:
    ~TAxisOwner() = default;
};

} // namespace kov
