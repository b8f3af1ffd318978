#include "chart/mouse/chart_mouse.h"

#include "chart/axis/axis.h"
#include "chart/panel/zoom_panning.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <cstdlib>

namespace kov {

namespace {

/// Side length (in pixels) a zoom frame must exceed in both directions before
/// its release zooms or undoes anything.
constexpr int MinZoomFrameSize = 16;

/// The chart's mouse buttons, the toolkit's button each stands for and the
/// flag that says it is held: the one place the two namings meet.
struct TButtonNaming
{
    TMouseButton Button;
    Qt::MouseButton QtButton;
    TShiftStateFlag HeldFlag;
};
constexpr TButtonNaming ButtonNamings[] = {
    {mbLeft, Qt::LeftButton, ssLeft},
    {mbRight, Qt::RightButton, ssRight},
    {mbMiddle, Qt::MiddleButton, ssMiddle},
};

/// The keys the chart tells apart and their flags.
struct TKeyNaming
{
    Qt::KeyboardModifier Key;
    TShiftStateFlag Flag;
};
constexpr TKeyNaming KeyNamings[] = {
    {Qt::ShiftModifier, ssShift},
    {Qt::AltModifier, ssAlt},
    {Qt::ControlModifier, ssCtrl},
};

/// The toolkit's button of a chart button; the left one for any other value.
Qt::MouseButton QtButtonOf(TMouseButton button)
{
    for (const TButtonNaming &naming : ButtonNamings)
        if (naming.Button == button)
            return naming.QtButton;
    return Qt::LeftButton;
}

bool HasKeys(TShiftState shift, TShiftState keys)
{
    return (shift & keys) == keys;
}

} // namespace

TChartMouseHandler::TChartMouseHandler(TMouseOwner &owner) : m_owner(owner)
{
    // Moves without a button held must arrive too: they switch the cursor
    // over series points.
    m_owner.MouseWindow().setMouseTracking(true);
}

// ---------------------------------------------------------------------------
// Qt entry points

TMouseButton TChartMouseHandler::ButtonOf(const QMouseEvent *event)
{
    for (const TButtonNaming &naming : ButtonNamings)
        if (naming.QtButton == event->button())
            return naming.Button;
    return mbLeft;
}

TShiftState TChartMouseHandler::ShiftStateOf(const QInputEvent *event)
{
    TShiftState shift = 0;
    for (const TKeyNaming &naming : KeyNamings)
        if (event->modifiers() & naming.Key)
            shift |= naming.Flag;
    Qt::MouseButtons buttons = Qt::NoButton;
    if (const auto *mouse = dynamic_cast<const QSinglePointEvent *>(event))
        buttons = mouse->buttons();
    for (const TButtonNaming &naming : ButtonNamings)
        if (buttons & naming.QtButton)
            shift |= naming.HeldFlag;
    return shift;
}

namespace {

/// Only the three buttons the chart knows take part; the event of another
/// button (back, forward) is ignored, left to the toolkit.
bool TakeChartButton(QMouseEvent *event)
{
    const Qt::MouseButton b = event->button();
    if (b == Qt::LeftButton || b == Qt::RightButton || b == Qt::MiddleButton)
        return true;
    event->ignore();
    return false;
}

} // namespace

void TChartMouseHandler::MousePressEvent(QMouseEvent *event)
{
    if (!TakeChartButton(event))
        return;
    const QPoint p = event->position().toPoint();
    MouseDown(ButtonOf(event), ShiftStateOf(event), p.x(), p.y());
}

void TChartMouseHandler::MouseDoubleClickEvent(QMouseEvent *event)
{
    if (!TakeChartButton(event))
        return;
    const QPoint p = event->position().toPoint();
    MouseDown(ButtonOf(event), ShiftStateOf(event) | ssDouble, p.x(), p.y());
}

void TChartMouseHandler::MouseMoveEvent(QMouseEvent *event)
{
    CancelLostDrags(event->buttons());
    const QPoint p = event->position().toPoint();
    MouseMove(ShiftStateOf(event), p.x(), p.y());
}

void TChartMouseHandler::MouseReleaseEvent(QMouseEvent *event)
{
    if (!TakeChartButton(event))
        return;
    const QPoint p = event->position().toPoint();
    MouseUp(ButtonOf(event), ShiftStateOf(event), p.x(), p.y());
    if (event->button() != Qt::RightButton)
        return;
    // The context menu follows the release, as for any control: by then the
    // press's drag and the application's point pick have ended.
    QContextMenuEvent menu(QContextMenuEvent::Mouse, p, event->globalPosition().toPoint(),
                           event->modifiers());
    m_raisingContextMenu = true;
    struct RaiseEnd
    {
        bool &raising;
        ~RaiseEnd() { raising = false; }
    } end{m_raisingContextMenu};
    QCoreApplication::sendEvent(&m_owner.MouseWindow(), &menu);
}

bool TChartMouseHandler::AcceptsContextMenu(const QContextMenuEvent *event) const
{
    return event->reason() != QContextMenuEvent::Mouse || m_raisingContextMenu;
}

void TChartMouseHandler::WheelEvent(QWheelEvent *event)
{
    event->accept();
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    const TShiftState shift = ShiftStateOf(event);
    const QPoint pos = event->position().toPoint();
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(m_owner.MouseEventSender(), shift, delta, pos, handled);
    if (handled)
        return;
    // Fine-grained wheels send fractions of a notch; they add up until a whole
    // notch is reached. A turn the other way starts afresh.
    if ((m_wheelRemainder < 0) != (delta < 0))
        m_wheelRemainder = 0;
    m_wheelRemainder += delta;
    while (m_wheelRemainder <= -WheelDeltaPerStep) {
        m_wheelRemainder += WheelDeltaPerStep;
        MouseWheelStep(true, shift, pos);
    }
    while (m_wheelRemainder >= WheelDeltaPerStep) {
        m_wheelRemainder -= WheelDeltaPerStep;
        MouseWheelStep(false, shift, pos);
    }
}

void TChartMouseHandler::CancelLostDrags(Qt::MouseButtons held)
{
    // A popup menu or a message box opened during the drag takes the button's
    // release; without this the frame or the axes would follow a pointer with
    // no button held. The drag ends without zooming.
    TZoomPanningRecord &zoom = m_owner.ZoomDrag();
    if (zoom.DragActive && !(held & QtButtonOf(ZoomButton))) {
        zoom.DragActive = false;
        m_owner.InvertZoomFrame(); // removes the frame
    }
    if (m_owner.PanDrag().DragActive && !(held & QtButtonOf(PanButton)))
        m_owner.PanDrag().DragActive = false;
}

// ---------------------------------------------------------------------------
// Press

void TChartMouseHandler::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomChart *sender = m_owner.MouseEventSender();
    if (OnMouseDown)
        OnMouseDown(sender, button, shift, x, y);
    if (m_owner.ZoomDrag().DragActive || m_owner.PanDrag().DragActive)
        return;
    if (m_owner.PressConsumed()) {
        // An OnMouseDown handler asked the chart to leave this press alone.
        m_owner.SetPressConsumed(false);
        return;
    }

    // The flag belongs to this press only: a click handler that throws must
    // not leave it set, or the next press would be swallowed.
    struct ConsumedReset
    {
        TMouseOwner &owner;
        ~ConsumedReset() { owner.SetPressConsumed(false); }
    } reset{m_owner};

    const TChartHit hit = HitTestChart(x, y);
    bool consumed = false;
    bool backgroundOffered = false;
    switch (hit.Kind) {
    case hkLegend:
        if (OnClickLegend) {
            m_owner.SetPressConsumed(true);
            OnClickLegend(sender, button, shift, x, y);
            consumed = m_owner.PressConsumed();
        }
        break;
    case hkAxis:
        if (OnClickAxis) {
            m_owner.SetPressConsumed(true);
            OnClickAxis(sender, hit.Axis, button, shift, x, y);
            consumed = m_owner.PressConsumed();
        }
        if (!consumed)
            consumed = TryStartDrag(button, shift, x, y);
        break;
    case hkSeries:
        consumed = hit.Series->NotifySeriesClick(hit.Series, hit.ValueIndex, button, shift, x, y);
        if (OnClickSeries) {
            m_owner.SetPressConsumed(true);
            OnClickSeries(sender, hit.Series, hit.ValueIndex, button, shift, x, y);
            consumed = m_owner.PressConsumed();
        }
        if (!consumed)
            consumed = TryStartDrag(button, shift, x, y);
        break;
    case hkPlotArea:
        consumed = OfferBackgroundClick(button, shift, x, y);
        backgroundOffered = true;
        if (!consumed)
            consumed = TryStartDrag(button, shift, x, y);
        break;
    case hkNone:
    case hkTitle:
    case hkFoot:
        break;
    }
    // A plot-area press has had its background click already; one press
    // reports the background at most once.
    if (!consumed && !backgroundOffered)
        OfferBackgroundClick(button, shift, x, y);
}

bool TChartMouseHandler::OfferBackgroundClick(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!OnClickBackground)
        return false;
    m_owner.SetPressConsumed(true);
    OnClickBackground(m_owner.MouseEventSender(), button, shift, x, y);
    return m_owner.PressConsumed();
}

TChartHit TChartMouseHandler::HitTestChart(int x, int y) const
{
    TChartHit hit;
    // The series drawn last lies on top, so it answers first.
    const TChartSeriesList &list = m_owner.MouseSeries();
    for (int i = list.Count() - 1; i >= 0; --i) {
        TChartSeries *series = list.SeriesAt(i);
        if (!series->Active())
            continue;
        const int index = series->HitTest(x, y);
        if (index != -1) {
            hit.Kind = hkSeries;
            hit.Series = series;
            hit.ValueIndex = index;
            return hit;
        }
    }
    for (TCustomChartAxis *axis : m_owner.MouseAxes()) {
        if (axis->ContainsPoint(x, y)) {
            hit.Kind = hkAxis;
            hit.Axis = axis;
            return hit;
        }
    }
    if (TitleContains && TitleContains(x, y)) {
        hit.Kind = hkTitle;
        return hit;
    }
    if (FootContains && FootContains(x, y)) {
        hit.Kind = hkFoot;
        return hit;
    }
    if (PointInRect(m_owner.MousePlotRect(), x, y) && list.ActiveCount() > 0) {
        hit.Kind = hkPlotArea;
        return hit;
    }
    if (LegendHitTest) {
        const int row = LegendHitTest(x, y);
        if (row != -1) {
            hit.Kind = hkLegend;
            hit.ValueIndex = row;
        }
    }
    return hit;
}

bool TChartMouseHandler::TryStartDrag(TMouseButton button, TShiftState shift, int x, int y)
{
    bool started = false;
    const TMouseAllowance allowed = m_owner.MouseAllowance();
    if (allowed.Zoom && button == ZoomButton && HasKeys(shift, ZoomShiftKeys)) {
        m_owner.MouseWindow().setCursor(Qt::ArrowCursor);
        m_owner.ZoomDrag().StartDrag(x, y);
        m_owner.InvertZoomFrame();
        started = true;
    }
    if (allowed.Panning != pmNone && button == PanButton && HasKeys(shift, PanShiftKeys)) {
        m_owner.MouseWindow().setCursor(Qt::ArrowCursor);
        m_owner.PanDrag().StartDrag(x, y);
        started = true;
    }
    return started;
}

// ---------------------------------------------------------------------------
// Move

void TChartMouseHandler::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(m_owner.MouseEventSender(), shift, x, y);

    TZoomPanningRecord &zoom = m_owner.ZoomDrag();
    if (zoom.DragActive) {
        if (x == zoom.EndX && y == zoom.EndY)
            return;
        m_owner.InvertZoomFrame(); // removes the frame at the old corners
        zoom.EndX = x;
        zoom.EndY = y;
        m_owner.InvertZoomFrame();
        return;
    }
    if (m_owner.PanDrag().DragActive) {
        MovePanning(x, y);
        return;
    }
    UpdateCursor(shift, x, y);
}

void TChartMouseHandler::MovePanning(int x, int y)
{
    TZoomPanningRecord &pan = m_owner.PanDrag();
    if (!PointInRect(m_owner.MousePlotRect(), x, y)) {
        pan.DragActive = false;
        return;
    }
    if (x == pan.EndX && y == pan.EndY)
        return;
    SaveAxisRanges();
    // Each step is measured from the previous pointer position, so the
    // content under the pointer stays under it.
    bool moved = PanStep(true, pan.EndX, x);
    moved = PanStep(false, pan.EndY, y) || moved;
    pan.EndX = x;
    pan.EndY = y;
    if (moved) {
        m_owner.ChartScrolled();
        m_owner.RangesChanged();
    }
}

bool TChartMouseHandler::PanStep(bool horizontal, int from, int to)
{
    if (from == to)
        return false;
    const TPanningMode mode = m_owner.MouseAllowance().Panning;
    if (mode != pmBoth && mode != (horizontal ? pmHorizontal : pmVertical))
        return false;
    for (TCustomChartAxis *axis : m_owner.MouseAxes()) {
        if (!axis->IsDepth() && axis->IsHorizontal() == horizontal)
            ScrollAxis(axis, from, to);
    }
    return true;
}

void TChartMouseHandler::ScrollAxis(TCustomChartAxis *axis, int from, int to)
{
    const double delta = axis->PosToValue(from) - axis->PosToValue(to);
    double newMin = axis->Minimum() + delta;
    double newMax = axis->Maximum() + delta;
    bool allow = true;
    if (OnAllowScroll)
        OnAllowScroll(axis, newMin, newMax, allow);
    if (allow)
        axis->FixRange(newMin, newMax);
}

void TChartMouseHandler::UpdateCursor(TShiftState shift, int x, int y)
{
    const TChartSeriesList &list = m_owner.MouseSeries();
    QWidget &window = m_owner.MouseWindow();
    const int count = list.Count();
    bool matched = false;
    for (int i = 0; i < count && !matched; ++i) {
        TChartSeries *series = list.SeriesAt(i);
        if (series->Active() && series->Cursor() != Qt::ArrowCursor &&
            series->HitTest(x, y) != -1) {
            if (window.cursor().shape() != series->Cursor())
                window.setCursor(series->Cursor());
            matched = true;
        }
    }
    for (int i = 0; i < list.Count(); ++i)
        list.SeriesAt(i)->NotifySeriesMouseMove(shift, x, y);
    const QCursor &resting = m_owner.RestingCursor();
    if (!matched && window.cursor().shape() != resting.shape())
        window.setCursor(resting);
}

// ---------------------------------------------------------------------------
// Release

void TChartMouseHandler::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(m_owner.MouseEventSender(), button, shift, x, y);
    const TChartSeriesList &list = m_owner.MouseSeries();
    for (int i = 0; i < list.Count(); ++i)
        list.SeriesAt(i)->NotifySeriesMouseUp(button, shift, x, y);
    if (m_owner.ZoomDrag().DragActive && button == ZoomButton)
        EndZoomDrag(x, y);
    m_owner.PanDrag().DragActive = false;
}

void TChartMouseHandler::EndZoomDrag(int x, int y)
{
    TZoomPanningRecord &zoom = m_owner.ZoomDrag();
    zoom.DragActive = false;
    m_owner.InvertZoomFrame(); // removes the frame
    zoom.EndX = x;
    zoom.EndY = y;
    if (std::abs(zoom.EndX - zoom.StartX) > MinZoomFrameSize &&
        std::abs(zoom.EndY - zoom.StartY) > MinZoomFrameSize) {
        // Right and down zooms in; any other direction undoes.
        if (zoom.EndX > zoom.StartX && zoom.EndY > zoom.StartY)
            ZoomToFrame();
        else
            ResetZoom();
        m_owner.RangesChanged();
    }
}

// ---------------------------------------------------------------------------
// Zoom

void TChartMouseHandler::ZoomToFrame()
{
    TZoomPanningRecord &zoom = m_owner.ZoomDrag();
    zoom.Normalize();
    const TSideAxes axes = m_owner.ZoomAxes();
    const double topMin = axes.Top->PosToValue(zoom.StartX);
    const double topMax = axes.Top->PosToValue(zoom.EndX);
    const double bottomMin = axes.Bottom->PosToValue(zoom.StartX);
    const double bottomMax = axes.Bottom->PosToValue(zoom.EndX);
    // The frame's bottom edge gives a vertical axis its minimum.
    const double leftMin = axes.Left->PosToValue(zoom.EndY);
    const double leftMax = axes.Left->PosToValue(zoom.StartY);
    const double rightMin = axes.Right->PosToValue(zoom.EndY);
    const double rightMax = axes.Right->PosToValue(zoom.StartY);
    ApplyZoomRanges(topMin, topMax, bottomMin, bottomMax, leftMin, leftMax, rightMin, rightMax);
}

void TChartMouseHandler::ApplyZoomRanges(double topMin, double topMax, double bottomMin,
                                         double bottomMax, double leftMin, double leftMax,
                                         double rightMin, double rightMax)
{
    SaveAxisRanges();
    struct Target
    {
        TCustomChartAxis *Axis;
        double Min;
        double Max;
    };
    // Left, right, top, bottom: the order the axes take their steps in.
    const TSideAxes axes = m_owner.ZoomAxes();
    const Target targets[4] = {{axes.Left, leftMin, leftMax},
                               {axes.Right, rightMin, rightMax},
                               {axes.Top, topMin, topMax},
                               {axes.Bottom, bottomMin, bottomMax}};
    const TMouseAllowance allowed = m_owner.MouseAllowance();
    if (allowed.AnimatedZoom) {
        for (int step = 1; step < allowed.AnimatedZoomSteps; ++step) {
            for (const Target &t : targets) {
                const double min = t.Axis->Minimum();
                const double max = t.Axis->Maximum();
                t.Axis->FixRange(min + (t.Min - min) / ZoomStepDivisor,
                                 max - (max - t.Max) / ZoomStepDivisor);
            }
            // Each intermediate picture is shown before the next step.
            m_owner.ShowZoomStep();
        }
    }
    for (const Target &t : targets)
        t.Axis->FixRange(t.Min, t.Max);
    m_owner.ChartZoomed();
}

void TChartMouseHandler::ResetZoom()
{
    RestoreAxisRanges();
    m_owner.ZoomUndone();
}

TCustomChartAxis *TChartMouseHandler::SideAxis(int i) const
{
    const TSideAxes axes = m_owner.ZoomAxes();
    switch (i) {
    case 0:
        return axes.Top;
    case 1:
        return axes.Bottom;
    case 2:
        return axes.Left;
    default:
        return axes.Right;
    }
}

void TChartMouseHandler::SaveAxisRanges()
{
    if (m_rangesSaved)
        return;
    for (int i = 0; i < 4; ++i) {
        const TCustomChartAxis *axis = SideAxis(i);
        m_saved[i] = TSavedAxisRange{axis->Automatic(), axis->AutomaticMinimum(),
                                     axis->AutomaticMaximum(), axis->Minimum(), axis->Maximum()};
    }
    m_rangesSaved = true;
}

void TChartMouseHandler::RestoreAxisRanges()
{
    if (!m_rangesSaved)
        return;
    for (int i = 0; i < 4; ++i) {
        TCustomChartAxis *axis = SideAxis(i);
        const TSavedAxisRange &saved = m_saved[i];
        axis->SetAutomatic(saved.Automatic);
        axis->SetAutomaticMinimum(saved.AutomaticMinimum);
        axis->SetAutomaticMaximum(saved.AutomaticMaximum);
        if (!axis->Automatic()) {
            axis->FixRange(saved.Minimum, saved.Maximum);
            // Fixing the range switches both automatic ends off; an axis with
            // one automatic end gets that end back.
            if (saved.AutomaticMinimum)
                axis->SetAutomaticMinimum(true);
            if (saved.AutomaticMaximum)
                axis->SetAutomaticMaximum(true);
        }
    }
    m_rangesSaved = false;
}

// ---------------------------------------------------------------------------
// Wheel

void TChartMouseHandler::MouseWheelStep(bool down, TShiftState shift, QPoint mousePos)
{
    bool handled = false;
    TMouseWheelUpDownEvent &event = down ? OnMouseWheelDown : OnMouseWheelUp;
    if (event)
        event(m_owner.MouseEventSender(), shift, mousePos, handled);
    WheelScrollAxes(down);
}

void TChartMouseHandler::WheelScrollAxes(bool down)
{
    for (TCustomChartAxis *axis : m_owner.MouseAxes()) {
        if (axis->IsHorizontal())
            continue;
        const double amount = (axis->Maximum() - axis->Minimum()) * WheelScrollPercent * 0.01;
        axis->ShiftRange(down ? amount : -amount, false);
    }
}

} // namespace kov
