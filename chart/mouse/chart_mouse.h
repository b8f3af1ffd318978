#pragma once

#include "chart/kovchart_export.h"
#include "chart/mouse/mouse_owner.h"
#include "chart/series/series.h"

#include <QPoint>
#include <Qt>
#include <functional>

class QContextMenuEvent;
class QMouseEvent;
class QWheelEvent;
class QInputEvent;

// The mouse behaviour of a chart: a press is tested against the chart's parts
// and reported through the click events; an unconsumed press may start a zoom
// drag (an inverting frame that zooms the axes to it or undoes the zoom on
// release) or a panning drag (the axes follow the pointer); a move over a
// series point shows that series' cursor; the wheel scrolls the vertical axes.
// The toolkit-level events (OnMouseDown, OnMouseMove, OnMouseUp, the wheel
// events) always fire before the chart's own handling of the same message.
namespace kov {

class TCustomChart;
class TCustomChartAxis;

// Engine-wide mouse settings, fixed at start-up.
/// Button that draws the zoom rectangle.
inline constexpr TMouseButton ZoomButton = mbLeft;
/// Keys that must be held for a zoom drag to start.
inline constexpr TShiftState ZoomShiftKeys = 0;
/// Button that pans.
inline constexpr TMouseButton PanButton = mbRight;
/// Keys that must be held for a panning drag to start.
inline constexpr TShiftState PanShiftKeys = 0;
/// Each animated zoom step moves an axis limit this fraction of the way left.
inline constexpr double ZoomStepDivisor = 3.0;
/// Share of an axis range (in percent) that one wheel step scrolls.
inline constexpr double WheelScrollPercent = 3.0;
/// Wheel rotation of one notch, in Qt's eighths of a degree.
inline constexpr int WheelDeltaPerStep = 120;

/// What a chart point belongs to, in the order the hit test tries them
/// (series, axes, title, foot, plot area, legend).
enum TChartHitKind { hkNone, hkLegend, hkAxis, hkSeries, hkTitle, hkFoot, hkPlotArea };

/// Result of HitTestChart.
struct KOVCHART_EXPORT TChartHit
{
    TChartHitKind Kind = hkNone;
    /// Point index of a series hit, legend row of a legend hit, else -1.
    int ValueIndex = -1;
    TChartSeries *Series = nullptr;
    TCustomChartAxis *Axis = nullptr;
};

/// Chart events.
using TChartClickSeries =
    std::function<void(TCustomChart *Sender, TChartSeries *Series, int ValueIndex,
                       TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickAxis = std::function<void(TCustomChart *Sender, TCustomChartAxis *Axis,
                                           TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClick =
    std::function<void(TCustomChart *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
/// Fired before an axis is panned; the handler may change the new range or
/// clear AllowScroll to leave the axis as it is.
using TChartAllowScrollEvent =
    std::function<void(TCustomChartAxis *Sender, double &AMin, double &AMax, bool &AllowScroll)>;

/// Toolkit-level mouse events of the chart control.
using TMouseEvent =
    std::function<void(TCustomChart *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TCustomChart *Sender, TShiftState Shift, int X, int Y)>;
/// WheelDelta is Qt's angle delta (120 per notch, negative toward the user).
using TMouseWheelEvent = std::function<void(TCustomChart *Sender, TShiftState Shift, int WheelDelta,
                                            QPoint MousePos, bool &Handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(TCustomChart *Sender, TShiftState Shift, QPoint MousePos, bool &Handled)>;

/// The ranges of the four side axes as they were before the user started
/// zooming and panning.
struct KOVCHART_EXPORT TSavedAxisRange
{
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Minimum = 0;
    double Maximum = 0;
};

/// The mouse behaviour of one chart. The chart owns it and forwards its
/// press, move, release, double-click and wheel events here; the handler
/// keeps the event functions, the saved axis ranges and the wheel remainder,
/// and works on the chart's drag records, cursor and axes through the
/// chart's TMouseOwner face.
class KOVCHART_EXPORT TChartMouseHandler
{
public:
    explicit TChartMouseHandler(TMouseOwner &owner);
    TChartMouseHandler(const TChartMouseHandler &) = delete;
    TChartMouseHandler &operator=(const TChartMouseHandler &) = delete;

    // ---- events ----------------------------------------------------------------
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;

    TChartClickSeries OnClickSeries;
    TChartClickAxis OnClickAxis;
    TChartClick OnClickLegend;
    TChartClick OnClickBackground;
    TChartAllowScrollEvent OnAllowScroll;

    // ---- hit tests of parts the handler cannot see itself ------------------------
    /// Whether (x, y) lies on the visible title (left/top edges in, right/bottom
    /// out); unset means the chart has no title to hit.
    std::function<bool(int x, int y)> TitleContains;
    /// The same for the foot.
    std::function<bool(int x, int y)> FootContains;
    /// The legend row under (x, y), or -1; unset means no visible legend.
    std::function<int(int x, int y)> LegendHitTest;

    // ---- Qt entry points ---------------------------------------------------------
    void MousePressEvent(QMouseEvent *event);
    /// The second press of a double click: a press with the double-click flag.
    void MouseDoubleClickEvent(QMouseEvent *event);
    void MouseMoveEvent(QMouseEvent *event);
    /// The release; a right-button release then raises the chart's context
    /// menu (custom-menu signal or context-menu event, as the policy says).
    void MouseReleaseEvent(QMouseEvent *event);
    /// Whether the chart takes a context-menu event: a mouse-raised request
    /// is taken only when the handler raises it itself, on the release. Some
    /// platforms raise one on the press, whose popup would then take the
    /// release and leave the press's drag running.
    bool AcceptsContextMenu(const QContextMenuEvent *event) const;
    /// Splits the rotation into notches (keeping the remainder of fine-grained
    /// wheels) and handles each one.
    void WheelEvent(QWheelEvent *event);

    static TMouseButton ButtonOf(const QMouseEvent *event);
    /// Held keys and buttons of an event (without the double-click flag).
    static TShiftState ShiftStateOf(const QInputEvent *event);

    // ---- the behaviour -------------------------------------------------------------
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    /// One wheel notch toward the user (down) or away from them (up).
    void MouseWheelStep(bool down, TShiftState shift, QPoint mousePos);

    /// The part of the chart under (x, y), tested in a fixed order: series from
    /// the last to the first, axes, title, foot, plot area, legend.
    TChartHit HitTestChart(int x, int y) const;
    /// Starts a zoom or panning drag when the button and keys ask for one;
    /// returns whether one started.
    bool TryStartDrag(TMouseButton button, TShiftState shift, int x, int y);
    /// Zooms the side axes to the zoom record's rectangle.
    void ZoomToFrame();
    /// Zooms the top, bottom, left and right axes to the given (minimum,
    /// maximum) pairs, with animated intermediate pictures when AnimatedZoom.
    void ApplyZoomRanges(double topMin, double topMax, double bottomMin, double bottomMax,
                         double leftMin, double leftMax, double rightMin, double rightMax);
    /// Undoes zooming and panning: restores the saved ranges (when pending),
    /// then the chart's undo (OnUndoZoom, repaint, zoomed flag cleared).
    void ResetZoom();
    /// Scrolls every vertical axis by 3 % of its range: up for a notch down.
    void WheelScrollAxes(bool down);

    /// Saves the side axes' ranges unless a saved copy is already pending.
    void SaveAxisRanges();
    /// Puts the saved ranges back and clears the pending flag (nothing when
    /// none are pending).
    void RestoreAxisRanges();
    bool AxisRangesSaved() const { return m_rangesSaved; }

    /// Accumulated wheel rotation not yet making a whole notch.
    int WheelRemainder() const { return m_wheelRemainder; }

    /// Ends a drag whose button is no longer held: its release went to another
    /// window (a popup menu or message box opened meanwhile).
    void CancelLostDrags(Qt::MouseButtons held);

private:
    bool OfferBackgroundClick(TMouseButton button, TShiftState shift, int x, int y);
    void MovePanning(int x, int y);
    bool PanStep(bool horizontal, int from, int to);
    void ScrollAxis(TCustomChartAxis *axis, int from, int to);
    void EndZoomDrag(int x, int y);
    void UpdateCursor(TShiftState shift, int x, int y);
    /// Top, bottom, left, right: the order the saved ranges are kept in.
    TCustomChartAxis *SideAxis(int i) const;

    TMouseOwner &m_owner;
    /// A context-menu request raised by the release is being delivered.
    bool m_raisingContextMenu = false;
    TSavedAxisRange m_saved[4];
    bool m_rangesSaved = false;
    int m_wheelRemainder = 0;
};

} // namespace kov
