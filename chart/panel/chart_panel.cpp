#include "chart/panel/chart_panel.h"

#include "chart/exceptions.h"
#include "chart/numeric.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace kov {

namespace {

constexpr int MinChart3DPercent = 1;
constexpr int MaxChart3DPercent = 100;

} // namespace

// ---------------------------------------------------------------------------
// Construction

TCustomChartPanel::TCustomChartPanel(QWidget *parent)
    : QWidget(parent),
      m_view3DOptions(std::make_unique<TView3DOptions>([this] { InvalidatePanel(); })),
      m_canvas(std::make_unique<TChartCanvas3D>())
{
    // The invalidation switch stays off until everything exists, so that
    // setting the defaults requests no repaint.
    m_invalidationEnabled = false;
    resize(400, 250);
    // The picture covers the whole client area: the toolkit need not erase
    // the window before a paint.
    if (!EraseBackgroundOnPaint) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    m_originalCursor = cursor();
    m_invalidationEnabled = true;
}

TCustomChartPanel::~TCustomChartPanel() = default;

// ---------------------------------------------------------------------------
// Properties

void TCustomChartPanel::SetChart3DPercent(int value)
{
    if (value < MinChart3DPercent || value > MaxChart3DPercent)
        throw ChartException(QStringLiteral("3D effect percent must be between %1 and %2")
                                 .arg(MinChart3DPercent)
                                 .arg(MaxChart3DPercent));
    SetAndInvalidate(this, m_settings.Chart3DPercent, value);
}

void TCustomChartPanel::SetView3DOptions(const TView3DOptions &value)
{
    if (&value == m_view3DOptions.get())
        return;
    m_view3DOptions->CopyFrom(value);
    InvalidatePanel();
}

bool TCustomChartPanel::Monochrome() const
{
    return m_canvas->IsMonochrome();
}

void TCustomChartPanel::SetMonochrome(bool value)
{
    if (m_canvas->SetMonochromeBuffer(value))
        InvalidatePanel();
}

bool TCustomChartPanel::IsBuffered() const
{
    return m_canvas->IsBuffered();
}

void TCustomChartPanel::SetBuffered(bool value)
{
    if (m_canvas->SetBuffered(value))
        InvalidatePanel();
}

void TCustomChartPanel::SetBevelWidth(int value)
{
    // A bevel is at least one pixel wide; a smaller width keeps the old one.
    if (value < 1)
        return;
    SetAndInvalidate(this, m_frame.BevelWidth, value);
}

void TCustomChartPanel::SetBorderWidth(int value)
{
    if (value < 0)
        return;
    SetAndInvalidate(this, m_frame.BorderWidth, value);
}

// ---------------------------------------------------------------------------
// Invalidation

void TCustomChartPanel::InvalidatePanel()
{
    // Even a change that asks for no repaint leaves the layer stale: the
    // next picture must show it.
    m_layerCurrent = false;
    RequestNewPicture();
}

void TCustomChartPanel::InvalidatePointValues()
{
    m_pointValuesChanged = true;
    if (LayerShowsPointValues())
        m_layerCurrent = false;
    RequestNewPicture();
}

void TCustomChartPanel::RequestNewPicture()
{
    if (!m_invalidationEnabled)
        return;
    if (m_canvas)
        m_canvas->MarkDirty();
    update();
}

void TCustomChartPanel::SubObjectChanged()
{
    InvalidatePanel();
}

void ReportChange(TCustomChartPanel *panel)
{
    if (panel)
        panel->InvalidatePanel();
}

TChangeHandler SubObjectHandler(TCustomChartPanel *panel)
{
    if (!panel)
        return {};
    return [panel] { panel->SubObjectChanged(); };
}

// ---------------------------------------------------------------------------
// Painting

void TCustomChartPanel::PaintChart(const TRect &) {}

void TCustomChartPanel::paintEvent(QPaintEvent *)
{
    if (m_printing)
        return;
    QPainter painter(this);
    PaintWindow(painter);
}

void TCustomChartPanel::PaintWindow(QPainter &painter)
{
    // The painter lives only as long as this paint. Whatever happens while
    // drawing (a chart event may throw), neither the panel nor the canvas
    // keeps it afterwards.
    struct WindowSurfaceRelease
    {
        TCustomChartPanel &panel;
        ~WindowSurfaceRelease()
        {
            panel.m_canvas->SetSurface(nullptr);
            panel.m_windowSurface = nullptr;
        }
    } release{*this};
    m_windowSurface = &painter;
    m_canvas->SetSurface(&painter);
    // A resize changes no chart setting, so nothing has marked the buffer
    // stale: a picture kept at another size would be shown cut off, or leave
    // the rest of the window unpainted. The device pixel ratio the canvas
    // checks itself.
    const TRect area = GetDrawArea();
    if (area.Width() != m_pictureSize.width() || area.Height() != m_pictureSize.height())
        m_canvas->MarkDirty();
    if (!m_canvas->RepaintFromBuffer())
        DrawToCanvas(&painter, area);
    if (!m_xorFrames.empty()) {
        m_canvas->SetSurface(&painter);
        for (const XorFrame &frame : m_xorFrames) {
            m_canvas->Pen().SetColor(frame.Color);
            m_canvas->Pen().SetMode(pmNotXor);
            m_canvas->Pen().SetStyle(psSolid);
            m_canvas->Pen().SetWidth(1);
            m_canvas->Brush().SetStyle(bsClear);
            m_canvas->DrawRectangle(frame.Rect.Left, frame.Rect.Top, frame.Rect.Right,
                                    frame.Rect.Bottom);
        }
        m_canvas->Pen().SetMode(pmCopy);
    }
}

void TCustomChartPanel::DrawToCanvas(QPainter *surface, const TRect &rect)
{
    ++m_drawing;
    struct DrawingGuard
    {
        int &depth;
        ~DrawingGuard() { --depth; }
    } guard{m_drawing};

    m_canvas->BeginWindow(surface, m_view3DOptions.get(), m_chartBounds, rect, m_settings.View3D,
                          m_settings.Color);

    const int w = m_chartBounds.Width();
    const int h = m_chartBounds.Height();
    const int b = m_frame.BorderWidth;
    m_chartRect.Left = m_chartBounds.Left + b + MulDiv(m_settings.MarginLeft, w, 100);
    m_chartRect.Top = m_chartBounds.Top + b + MulDiv(m_settings.MarginTop, h, 100);
    m_chartRect.Right = m_chartBounds.Right - b - MulDiv(m_settings.MarginRight, w, 100);
    m_chartRect.Bottom = m_chartBounds.Bottom - b - MulDiv(m_settings.MarginBottom, h, 100);
    RecalcChartSize();

    try {
        PaintChart(m_chartBounds);
        m_pointValuesChanged = false;
    } catch (...) {
        // The rest of this picture stays undone and the half-drawn buffer is
        // never shown as current: the next paint starts over from defaults,
        // and the window canvas is current again as after a finished picture.
        m_canvas->ResetDrawingState();
        m_canvas->MarkDirty();
        m_canvas->SetSurface(m_windowSurface);
        throw;
    }

    m_canvas->PresentImage(surface, m_windowSurface, rect);
    // The buffer now holds a new picture; the frames laid over the old one on
    // the window went with it (a running zoom frame is part of the picture).
    m_xorFrames.clear();
    // A picture of another size (an export) is not the window's: the next
    // window paint draws its own instead of copying this one.
    m_pictureSize = QSize(rect.Width(), rect.Height());
    const TRect area = GetDrawArea();
    if (rect.Width() != area.Width() || rect.Height() != area.Height())
        m_canvas->MarkDirty();
}

void TCustomChartPanel::RecalcChartSize()
{
    TRect &r = m_chartRect;
    if (r.Left < m_chartBounds.Left)
        r.Left = m_chartBounds.Left;
    if (r.Top < m_chartBounds.Top)
        r.Top = m_chartBounds.Top;
    if (r.Left > r.Right)
        r.Right = r.Left + 1;
    else if (r.Left == r.Right)
        r.Right = r.Left + width();
    if (r.Top > r.Bottom)
        r.Bottom = r.Top + 1;
    else if (r.Top == r.Bottom)
        r.Bottom = r.Top + height();
    m_chartWidth = r.Right - r.Left;
    m_chartHeight = r.Bottom - r.Top;
    m_chartXCenter = (r.Left + r.Right) / 2;
    m_chartYCenter = (r.Top + r.Bottom) / 2;
}

void TCustomChartPanel::DrawBevelFrame(TRect &rect, TBevelCut cut)
{
    if (cut == bvNone)
        return;
    const TColor topLeft = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = cut == bvRaised ? clBtnShadow : clBtnHighlight;
    const int width = m_frame.BevelWidth;
    m_canvas->DrawBevel(rect, topLeft, bottomRight, width);
    rect.Left += width;
    rect.Top += width;
    rect.Right -= width;
    rect.Bottom -= width;
}

void TCustomChartPanel::DrawBevels(const TRect &rect)
{
    if (m_printing && !PrintPanelBackground)
        return;
    TChartCanvas3D &canvas = *m_canvas;
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetMode(pmCopy);
    canvas.Brush().SetStyle(bsClear);

    TRect r = rect;
    DrawBevelFrame(r, m_frame.BevelOuter);
    const int border = m_frame.BorderWidth;
    if (border > 0) {
        canvas.DrawBevel(r, m_settings.Color, m_settings.Color, border);
        r.Left += border;
        r.Top += border;
        r.Right -= border;
        r.Bottom -= border;
    }
    DrawBevelFrame(r, m_frame.BevelInner);
}

void TCustomChartPanel::SelectFont(const TFont &font)
{
    SelectCanvasFont(m_canvas->Font(), font);
}

TRect TCustomChartPanel::GetDrawArea() const
{
    return FromQRect(rect());
}

// ---------------------------------------------------------------------------
// Drawing helpers

void TCustomChartPanel::AdjustPenForPrinting(TPen &pen) const
{
    kov::AdjustPenForPrinting(pen, m_printing);
}

bool TCustomChartPanel::ClippingAllowed() const
{
    if (m_canvas->IsHardware3D())
        return false;
    const bool metafiling = m_canvas->Metafiling;
    if (!m_printing && !metafiling)
        return true;
    if (m_printing && PrintClipping)
        return true;
    return metafiling && MetafileClipping;
}

TColor TCustomChartPanel::ZoomFrameColor() const
{
    const TColor rgb = ColorToRGB(m_settings.Color);
    return rgb == clWhite ? clBlack : rgb;
}

void TCustomChartPanel::XorZoomFrame()
{
    const XorFrame frame{TRect{m_zoom.StartX, m_zoom.StartY, m_zoom.EndX, m_zoom.EndY},
                         ZoomFrameColor()};
    if (m_drawing > 0) {
        // Part of the picture being drawn.
        TChartCanvas3D &canvas = *m_canvas;
        canvas.Pen().SetColor(frame.Color);
        canvas.Pen().SetMode(pmNotXor);
        canvas.Pen().SetStyle(psSolid);
        canvas.Pen().SetWidth(1);
        canvas.Brush().SetStyle(bsClear);
        canvas.DrawRectangle(frame.Rect.Left, frame.Rect.Top, frame.Rect.Right, frame.Rect.Bottom);
        // Later fills of this or the next picture must not invert.
        canvas.Pen().SetMode(pmCopy);
        return;
    }
    // On the window: inverting frames compose in any order and a frame drawn
    // twice cancels out, so only the frames drawn an odd number of times stay.
    // A frame is matched by its corners alone, so that a colour change in the
    // middle of a drag cannot leave a frame behind.
    const auto it = std::find_if(m_xorFrames.begin(), m_xorFrames.end(),
                                 [&](const XorFrame &f) { return f.Rect == frame.Rect; });
    if (it != m_xorFrames.end())
        m_xorFrames.erase(it);
    else
        m_xorFrames.push_back(frame);
    update();
}

// ---------------------------------------------------------------------------
// Copying and events

void TCustomChartPanel::CopyFrom(const TCustomChartPanel &source)
{
    if (&source == this)
        return;
    m_settings = source.m_settings;
    // Buffering and monochrome are the canvas's own settings.
    SetBuffered(source.IsBuffered());
    SetMonochrome(source.Monochrome());
    m_view3DOptions->CopyFrom(*source.m_view3DOptions);
    InvalidatePanel();
}

void TCustomChartPanel::leaveEvent(QEvent *event)
{
    setCursor(m_originalCursor);
    // A panning drag ends when the pointer leaves; a zoom drag goes on.
    m_panning.DragActive = false;
    QWidget::leaveEvent(event);
}

bool TCustomChartPanel::event(QEvent *event)
{
    if (event->type() == QEvent::WinIdChange) {
        // A recreated window starts without 3D settings in the canvas; the
        // next paint hands them over again.
        m_canvas->SetView3DOptions(nullptr);
    }
    return QWidget::event(event);
}

} // namespace kov

// ---------------------------------------------------------------------------
// TCustomChartPanelExtended

namespace kov {

TCustomChartPanelExtended::TCustomChartPanelExtended(QWidget *parent)
    : TCustomChartPanel(parent), m_backImage(SubObjectHandler(this)),
      m_gradient(SubObjectHandler(this))
{
}

TCustomChartPanelExtended::~TCustomChartPanelExtended()
{
    // The picture and the gradient must not report to a panel that is going
    // away.
    m_backImage.OnChange = nullptr;
    m_gradient.OnChange = nullptr;
}

void TCustomChartPanelExtended::SetBackImage(const TPicture &value)
{
    if (&value == &m_backImage)
        return;
    m_backImage.CopyFrom(value);
}

void TCustomChartPanelExtended::SetGradient(const TCustomChartGradient &value)
{
    if (&value == &m_gradient)
        return;
    m_gradient.CopyFrom(value);
    InvalidatePanel();
}

void TCustomChartPanelExtended::ResetZoom()
{
    if (OnUndoZoom)
        OnUndoZoom(this);
    InvalidatePanel();
    m_zoomed = false;
}

void TCustomChartPanelExtended::PaintChart(const TRect &bounds)
{
    PaintBackground(bounds);
    // Like the full pipeline: a redrawn picture shows a running zoom drag.
    if (ZoomRecord().DragActive)
        XorZoomFrame();
}

void TCustomChartPanelExtended::PaintBackground(const TRect &rect)
{
    FillBackground(rect);
    DrawBackImage(rect);
    if (!ChartCanvas().IsHardware3D())
        DrawBevels(rect);
}

void TCustomChartPanelExtended::FillBackground(const TRect &rect)
{
    TChartCanvas3D &canvas = ChartCanvas();
    if (m_gradient.Visible()) {
        // The canvas already draws the reversed directions from the second
        // colour; handing it the colours exchanged as well would make
        // gdBottomTop look exactly like gdTopBottom (and gdRightLeft like
        // gdLeftRight).
        canvas.FillGradient(rect, m_gradient.StartColor(), m_gradient.EndColor(),
                            m_gradient.Direction());
        return;
    }
    if (Printing() && !PrintPanelBackground)
        return;
    canvas.Pen().SetMode(pmCopy);
    canvas.Brush().SetColor(Color());
    canvas.Brush().SetStyle(bsSolid);
    canvas.ClearBackground(rect);
}

void TCustomChartPanelExtended::DrawBackImage(const TRect &rect)
{
    if (!m_backImage.IsEmpty())
        DrawBackImageAt(rect, 0);
}

void TCustomChartPanelExtended::DrawBackImageAt(const TRect &rect, int z)
{
    if (z != 0 && View3D() && !View3DOptions().Orthogonal())
        return;
    if (m_backImage.IsEmpty())
        return;
    TChartCanvas3D &canvas = ChartCanvas();
    TRect r = rect;
    const auto project = [&] {
        TPoint p;
        canvas.ProjectToPoint(r.Left, r.Top, p, z);
        TPoint q;
        canvas.ProjectToPoint(r.Right, r.Bottom, q, z);
        r = TRect{p.X, p.Y, q.X, q.Y};
    };
    if (m_settings.BackImageMode == pbmStretch) {
        if (z > 0) {
            project();
            if (!View3D())
                ++r.Top;
        }
        canvas.StretchGraphic(r, &m_backImage);
        return;
    }
    const bool clip = ClippingAllowed();
    if (clip) {
        if (z == 0)
            canvas.ClipToRectangle(r);
        else
            canvas.ClipToCube(r, 0, Width3D());
    }
    if (z > 0)
        project();
    const int w = r.Width();
    const int h = r.Height();
    const int pw = m_backImage.Width();
    const int ph = m_backImage.Height();
    if (m_settings.BackImageMode == pbmTile) {
        if (pw > 0 && ph > 0) {
            for (int y = 0; y < h; y += ph)
                for (int x = 0; x < w; x += pw)
                    canvas.DrawGraphic(r.Left + x, r.Top + y, &m_backImage);
        }
    } else {
        FillBackground(r);
        canvas.DrawGraphic(r.Left + (w - pw) / 2, r.Top + (h - ph) / 2, &m_backImage);
    }
    if (clip)
        canvas.RemoveClipping();
}

void TCustomChartPanelExtended::CopyFrom(const TCustomChartPanel &source)
{
    if (&source == this)
        return;
    using Panel = TCustomChartPanelExtended;
    if (const auto *other = dynamic_cast<const Panel *>(&source)) {
        CopyParts(*this, *other, &Panel::m_settings, &Panel::m_backImage, &Panel::m_gradient);
        InvalidatePanel();
    }
    TCustomChartPanel::CopyFrom(source);
}

} // namespace kov
