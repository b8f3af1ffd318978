#pragma once

#include "chart/kovchart_export.h"

#include "chart/canvas/rect.h"
#include "chart/panel/chart_panel.h"
#include "chart/series/series_owner.h"

#include <vector>

class QCursor;
class QWidget;

// What the mouse handler asks of the chart it serves. The chart implements
// it; the handler knows its chart through this interface alone, so the mouse
// code sits beside the chart instead of inside it: it reads what lies under
// the pointer, keeps the drag records going, sets axis ranges and tells the
// chart what the user did.
namespace kov {

class TChartSeriesList;
class TCustomChart;
class TCustomChartAxis;
class TZoomPanningRecord;

/// What the chart lets the mouse do, read at each use.
struct KOVCHART_EXPORT TMouseAllowance
{
    bool Zoom = true;
    TPanningMode Panning = pmBoth;
    /// Zooming shows AnimatedZoomSteps - 1 intermediate pictures first.
    bool AnimatedZoom = false;
    int AnimatedZoomSteps = 8;
};

/// What the mouse handler needs of its chart: drag records, cursor, axes, series and repaints.
class KOVCHART_EXPORT TMouseOwner
{
public:
    // ---- the window --------------------------------------------------------------
    /// The chart as the mouse events name it (their Sender).
    virtual TCustomChart *MouseEventSender() = 0;
    /// The window under the pointer: its cursor, mouse tracking, context
    /// menu and repaints.
    virtual QWidget &MouseWindow() = 0;
    /// The cursor shown while the pointer is over no series.
    virtual const QCursor &RestingCursor() const = 0;

    // ---- what the pointer meets ----------------------------------------------------
    virtual const TChartSeriesList &MouseSeries() const = 0;
    virtual const std::vector<TCustomChartAxis *> &MouseAxes() const = 0;
    /// The four side axes: zooming sets them, undoing restores them.
    virtual TSideAxes ZoomAxes() const = 0;
    /// The chart rectangle of the last picture: where series are drawn.
    virtual TRect MousePlotRect() const = 0;
    /// Set by click handlers to stop the chart's own handling of a press.
    virtual bool PressConsumed() const = 0;
    virtual void SetPressConsumed(bool value) = 0;

    // ---- drags ---------------------------------------------------------------------
    virtual TMouseAllowance MouseAllowance() const = 0;
    virtual TZoomPanningRecord &ZoomDrag() = 0;
    virtual TZoomPanningRecord &PanDrag() = 0;
    /// Draws the zoom drag's frame inverting: a second call at the same
    /// corners removes it.
    virtual void InvertZoomFrame() = 0;

    // ---- what the user did ---------------------------------------------------------
    /// The axis ranges changed: the picture is drawn again.
    virtual void RangesChanged() = 0;
    /// An animated zoom step: the picture is drawn again and shown at once.
    virtual void ShowZoomStep() = 0;
    /// A panning drag moved the axes (OnScroll).
    virtual void ChartScrolled() = 0;
    /// The axes show the zoom frame: the chart is zoomed (OnZoom).
    virtual void ChartZoomed() = 0;
    /// The saved ranges are back: the chart's undo (OnUndoZoom, repaint,
    /// zoomed flag cleared).
    virtual void ZoomUndone() = 0;

protected:
    // Never deleted through this interface: the chart is a widget.
    ~TMouseOwner() = default;
};

} // namespace kov
