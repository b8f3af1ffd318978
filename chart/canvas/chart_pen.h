#pragma once

#include "chart/canvas/graphics.h"
#include "chart/kovchart_export.h"

// The pen every chart element draws with: a platform pen plus a visibility
// switch and a small-dots mode. The canvas loads it with ApplyChartPen.
namespace kov {

/// What a chart pen adds to the platform pen's settings.
struct KOVCHART_EXPORT TChartPenSettings
{
    bool Visible = true;
    bool SmallDots = false;
};

/// A pen of a chart part: the platform pen plus Visible and SmallDots, reporting its changes to the
/// chart.
class KOVCHART_EXPORT TChartPen : public TPen
{
public:
    /// onChange is called after any property changed to a different value.
    explicit TChartPen(TChangeHandler onChange = {});

    /// False makes the canvas draw with a clear pen.
    bool Visible() const { return m_settings.Visible; }
    void SetVisible(bool value) { SetAndInvalidate(OnChange, m_settings.Visible, value); }
    /// With width 1, draw every other pixel in the pen colour.
    bool SmallDots() const { return m_settings.SmallDots; }
    void SetSmallDots(bool value) { SetAndInvalidate(OnChange, m_settings.SmallDots, value); }

    /// From another chart pen: Visible and SmallDots, then the pen itself;
    /// from a plain pen: the pen properties only.
    void CopyFrom(const TPen &source) override;

private:
    TChartPenSettings m_settings;
};

/// The printing rule for pens: while printing, a pen of width 1 that is not
/// solid draws at width 0 (the printer's thinnest line).
KOVCHART_EXPORT void AdjustPenForPrinting(TPen &pen, bool printing);

/// Invisible by default.
class KOVCHART_EXPORT TChartHiddenPen : public TChartPen
{
public:
    explicit TChartHiddenPen(TChangeHandler onChange = {});
};

/// Grey dotted pen (grids).
class KOVCHART_EXPORT TDottedGrayPen : public TChartPen
{
public:
    explicit TDottedGrayPen(TChangeHandler onChange = {});
};

/// Grey solid pen.
class KOVCHART_EXPORT TDarkGrayPen : public TChartPen
{
public:
    explicit TDarkGrayPen(TChangeHandler onChange = {});
};

/// Two pixels wide (axis lines).
class KOVCHART_EXPORT TChartAxisPen : public TChartPen
{
public:
    explicit TChartAxisPen(TChangeHandler onChange = {});
};

/// White pen (mark arrows).
class KOVCHART_EXPORT TChartArrowPen : public TChartPen
{
public:
    explicit TChartArrowPen(TChangeHandler onChange = {});
};

} // namespace kov
