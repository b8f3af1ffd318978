#include "chart/mouse/chart_mouse.h"

#include "chart/axis/axis.h"
#include "chart/chart.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWheelEvent>
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

TChartMouseHandler::TChartMouseHandler(TCustomChart &chart) : m_chart(chart)
{
    // Moves without a button held must arrive too: they switch the cursor
    // over series points.
    m_chart.setMouseTracking(true);
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
    QCoreApplication::sendEvent(&m_chart, &menu);
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
        OnMouseWheel(&m_chart, shift, delta, pos, handled);
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
    TZoomPanningRecord &zoom = m_chart.ZoomRecord();
    if (zoom.DragActive && !(held & QtButtonOf(ZoomButton))) {
        zoom.DragActive = false;
        m_chart.XorZoomFrame(); // removes the frame
        m_chart.ChartCanvas().Pen().SetMode(pmCopy);
    }
    if (m_chart.PanningRecord().DragActive && !(held & QtButtonOf(PanButton)))
        m_chart.PanningRecord().DragActive = false;
}

// ---------------------------------------------------------------------------
// Press

void TChartMouseHandler::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(&m_chart, button, shift, x, y);
    if (m_chart.ZoomRecord().DragActive || m_chart.PanningRecord().DragActive)
        return;
    if (m_chart.MouseConsumed()) {
        // An OnMouseDown handler asked the chart to leave this press alone.
        m_chart.SetMouseConsumed(false);
        return;
    }

    // The flag belongs to this press only: a click handler that throws must
    // not leave it set, or the next press would be swallowed.
    struct ConsumedReset
    {
        TCustomChart &chart;
        ~ConsumedReset() { chart.SetMouseConsumed(false); }
    } reset{m_chart};

    const TChartHit hit = HitTestChart(x, y);
    bool consumed = false;
    bool backgroundOffered = false;
    switch (hit.Kind) {
    case hkLegend:
        if (OnClickLegend) {
            m_chart.SetMouseConsumed(true);
            OnClickLegend(&m_chart, button, shift, x, y);
            consumed = m_chart.MouseConsumed();
        }
        break;
    case hkAxis:
        if (OnClickAxis) {
            m_chart.SetMouseConsumed(true);
            OnClickAxis(&m_chart, hit.Axis, button, shift, x, y);
            consumed = m_chart.MouseConsumed();
        }
        if (!consumed)
            consumed = TryStartDrag(button, shift, x, y);
        break;
    case hkSeries:
        consumed = hit.Series->NotifySeriesClick(hit.Series, hit.ValueIndex, button, shift, x, y);
        if (OnClickSeries) {
            m_chart.SetMouseConsumed(true);
            OnClickSeries(&m_chart, hit.Series, hit.ValueIndex, button, shift, x, y);
            consumed = m_chart.MouseConsumed();
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
    m_chart.SetMouseConsumed(true);
    OnClickBackground(&m_chart, button, shift, x, y);
    return m_chart.MouseConsumed();
}

TChartHit TChartMouseHandler::HitTestChart(int x, int y) const
{
    TChartHit hit;
    // The series drawn last lies on top, so it answers first.
    for (int i = m_chart.CountSeries() - 1; i >= 0; --i) {
        TChartSeries *series = m_chart.SeriesAt(i);
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
    for (TCustomChartAxis *axis : m_chart.AxesList()) {
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
    if (PointInRect(m_chart.ChartRect(), x, y) && m_chart.SeriesList().ActiveCount() > 0) {
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
    if (m_chart.AllowZoom() && button == ZoomButton && HasKeys(shift, ZoomShiftKeys)) {
        m_chart.setCursor(Qt::ArrowCursor);
        m_chart.ZoomRecord().StartDrag(x, y);
        m_chart.XorZoomFrame();
        started = true;
    }
    if (m_chart.AllowPanning() != pmNone && button == PanButton && HasKeys(shift, PanShiftKeys)) {
        m_chart.setCursor(Qt::ArrowCursor);
        m_chart.PanningRecord().StartDrag(x, y);
        started = true;
    }
    return started;
}

// ---------------------------------------------------------------------------
// Move

void TChartMouseHandler::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(&m_chart, shift, x, y);

    TZoomPanningRecord &zoom = m_chart.ZoomRecord();
    if (zoom.DragActive) {
        if (x == zoom.EndX && y == zoom.EndY)
            return;
        m_chart.XorZoomFrame(); // removes the frame at the old corners
        zoom.EndX = x;
        zoom.EndY = y;
        m_chart.XorZoomFrame();
        return;
    }
    if (m_chart.PanningRecord().DragActive) {
        MovePanning(x, y);
        return;
    }
    UpdateCursor(shift, x, y);
}

void TChartMouseHandler::MovePanning(int x, int y)
{
    TZoomPanningRecord &pan = m_chart.PanningRecord();
    if (!PointInRect(m_chart.ChartRect(), x, y)) {
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
        if (m_chart.OnScroll)
            m_chart.OnScroll(&m_chart);
        m_chart.InvalidatePanel();
    }
}

bool TChartMouseHandler::PanStep(bool horizontal, int from, int to)
{
    if (from == to)
        return false;
    const TPanningMode mode = m_chart.AllowPanning();
    if (mode != pmBoth && mode != (horizontal ? pmHorizontal : pmVertical))
        return false;
    for (TCustomChartAxis *axis : m_chart.AxesList()) {
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
    const int count = m_chart.CountSeries();
    bool matched = false;
    for (int i = 0; i < count && !matched; ++i) {
        TChartSeries *series = m_chart.SeriesAt(i);
        if (series->Active() && series->Cursor() != Qt::ArrowCursor &&
            series->HitTest(x, y) != -1) {
            if (m_chart.cursor().shape() != series->Cursor())
                m_chart.setCursor(series->Cursor());
            matched = true;
        }
    }
    for (int i = 0; i < m_chart.CountSeries(); ++i)
        m_chart.SeriesAt(i)->NotifySeriesMouseMove(shift, x, y);
    if (!matched && m_chart.cursor().shape() != m_chart.OriginalCursor().shape())
        m_chart.setCursor(m_chart.OriginalCursor());
}

// ---------------------------------------------------------------------------
// Release

void TChartMouseHandler::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(&m_chart, button, shift, x, y);
    for (int i = 0; i < m_chart.CountSeries(); ++i)
        m_chart.SeriesAt(i)->NotifySeriesMouseUp(button, shift, x, y);
    if (m_chart.ZoomRecord().DragActive && button == ZoomButton)
        EndZoomDrag(x, y);
    m_chart.PanningRecord().DragActive = false;
}

void TChartMouseHandler::EndZoomDrag(int x, int y)
{
    TZoomPanningRecord &zoom = m_chart.ZoomRecord();
    zoom.DragActive = false;
    m_chart.XorZoomFrame(); // removes the frame
    m_chart.ChartCanvas().Pen().SetMode(pmCopy);
    zoom.EndX = x;
    zoom.EndY = y;
    if (std::abs(zoom.EndX - zoom.StartX) > MinZoomFrameSize &&
        std::abs(zoom.EndY - zoom.StartY) > MinZoomFrameSize) {
        // Right and down zooms in; any other direction undoes.
        if (zoom.EndX > zoom.StartX && zoom.EndY > zoom.StartY)
            ZoomToFrame();
        else
            m_chart.ResetZoom();
        m_chart.InvalidatePanel();
    }
}

// ---------------------------------------------------------------------------
// Zoom

void TChartMouseHandler::ZoomToFrame()
{
    TZoomPanningRecord &zoom = m_chart.ZoomRecord();
    zoom.Normalize();
    const double topMin = m_chart.TopAxis()->PosToValue(zoom.StartX);
    const double topMax = m_chart.TopAxis()->PosToValue(zoom.EndX);
    const double bottomMin = m_chart.BottomAxis()->PosToValue(zoom.StartX);
    const double bottomMax = m_chart.BottomAxis()->PosToValue(zoom.EndX);
    // The frame's bottom edge gives a vertical axis its minimum.
    const double leftMin = m_chart.LeftAxis()->PosToValue(zoom.EndY);
    const double leftMax = m_chart.LeftAxis()->PosToValue(zoom.StartY);
    const double rightMin = m_chart.RightAxis()->PosToValue(zoom.EndY);
    const double rightMax = m_chart.RightAxis()->PosToValue(zoom.StartY);
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
    const Target targets[4] = {{m_chart.LeftAxis(), leftMin, leftMax},
                               {m_chart.RightAxis(), rightMin, rightMax},
                               {m_chart.TopAxis(), topMin, topMax},
                               {m_chart.BottomAxis(), bottomMin, bottomMax}};
    if (m_chart.AnimatedZoom()) {
        for (int step = 1; step < m_chart.AnimatedZoomSteps(); ++step) {
            for (const Target &t : targets) {
                const double min = t.Axis->Minimum();
                const double max = t.Axis->Maximum();
                t.Axis->FixRange(min + (t.Min - min) / ZoomStepDivisor,
                                 max - (max - t.Max) / ZoomStepDivisor);
            }
            // Each intermediate picture is shown before the next step.
            m_chart.InvalidatePanel();
            m_chart.repaint();
        }
    }
    for (const Target &t : targets)
        t.Axis->FixRange(t.Min, t.Max);
    m_chart.SetZoomed(true);
    if (m_chart.OnZoom)
        m_chart.OnZoom(&m_chart);
}

void TChartMouseHandler::ResetZoom()
{
    RestoreAxisRanges();
    m_chart.TCustomChartPanelExtended::ResetZoom();
}

TCustomChartAxis *TChartMouseHandler::SideAxis(int i) const
{
    switch (i) {
    case 0:
        return m_chart.TopAxis();
    case 1:
        return m_chart.BottomAxis();
    case 2:
        return m_chart.LeftAxis();
    default:
        return m_chart.RightAxis();
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
        event(&m_chart, shift, mousePos, handled);
    WheelScrollAxes(down);
}

void TChartMouseHandler::WheelScrollAxes(bool down)
{
    for (TCustomChartAxis *axis : m_chart.AxesList()) {
        if (axis->IsHorizontal())
            continue;
        const double amount = (axis->Maximum() - axis->Minimum()) * WheelScrollPercent * 0.01;
        axis->ShiftRange(down ? amount : -amount, false);
    }
}

} // namespace kov
