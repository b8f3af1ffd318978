#pragma once

#include "chart/canvas/chart_canvas3d.h"
#include "chart/canvas/chart_pen.h"
#include "chart/canvas/graphics.h"
#include "chart/canvas/rect.h"
#include "chart/canvas/view3d_options.h"
#include "chart/color.h"
#include "chart/kovchart_export.h"
#include "chart/panel/chart_gradient.h"
#include "chart/panel/zoom_panning.h"

#include <QCursor>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

// The window control that hosts a chart: it owns the drawing canvas, keeps the
// chart bounds and the chart rectangle of the last picture, paints the panel
// background, bevels and border, and runs every paint through the canvas's
// off-screen buffer. The extended panel adds the zoom and panning settings,
// the background picture and the gradient.
namespace kov {

// Engine-wide settings, fixed at start-up.
/// Whether the window's erase-background request reaches the toolkit.
inline constexpr bool EraseBackgroundOnPaint = false;
/// Clipping allowed while printing.
KOVCHART_EXPORT inline bool PrintClipping = true;
/// Clipping allowed while drawing into a metafile.
KOVCHART_EXPORT inline bool MetafileClipping = true;
/// Whether background and bevels are painted while printing.
inline constexpr bool PrintPanelBackground = false;

/// Style of a bevel frame around the panel.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

/// Which directions a panning drag scrolls.
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

/// How the background picture fills its rectangle.
enum TChartBackImageMode { pbmStretch, pbmTile, pbmCenter };

class TCustomChartPanel;

/// A chart notification (zoom, undo zoom, scroll, after draw).
using TChartPanelNotifyEvent = std::function<void(TCustomChartPanel *Sender)>;

/// How a chart panel hears of a change to its settings or to a part it owns
/// (SetAndInvalidate, change.h): it invalidates. A null panel hears nothing.
KOVCHART_EXPORT void ReportChange(TCustomChartPanel *panel);

/// The change handler of an object panel owns (pen, brush, font, picture):
/// the panel's SubObjectChanged; empty without a panel.
KOVCHART_EXPORT TChangeHandler SubObjectHandler(TCustomChartPanel *panel);

/// The panel settings that CopyFrom copies.
struct KOVCHART_EXPORT TChartPanelSettings
{
    int Chart3DPercent = 15;
    int MarginLeft = 3;
    int MarginTop = 4;
    int MarginRight = 3;
    int MarginBottom = 4;
    bool View3D = true;
    bool PrintProportional = true;
    int PrintResolution = 0;
    /// Background fill and border frame.
    TColor Color = clBtnFace;
};

/// The frame around a panel: two bevels and the border between them. It
/// belongs to the panel where it sits: CopyFrom leaves it alone.
struct KOVCHART_EXPORT TChartPanelFrame
{
    TBevelCut BevelInner = bvNone;
    TBevelCut BevelOuter = bvRaised;
    int BevelWidth = 1;
    int BorderWidth = 0;
};

/// The chart widget's base: frame, bevels, margins, off-screen buffer, printing and DrawToCanvas.
class KOVCHART_EXPORT TCustomChartPanel : public QWidget
{
public:
    explicit TCustomChartPanel(QWidget *parent = nullptr);
    ~TCustomChartPanel() override;

    // ---- published properties ----------------------------------------------
    int Chart3DPercent() const { return m_settings.Chart3DPercent; }
    /// Accepts 1 to 100; anything else raises ChartException "3D effect
    /// percent must be between 1 and 100" and keeps the old value.
    void SetChart3DPercent(int value);
    int MarginLeft() const { return m_settings.MarginLeft; }
    void SetMarginLeft(int value) { SetAndInvalidate(this, m_settings.MarginLeft, value); }
    int MarginTop() const { return m_settings.MarginTop; }
    void SetMarginTop(int value) { SetAndInvalidate(this, m_settings.MarginTop, value); }
    int MarginRight() const { return m_settings.MarginRight; }
    void SetMarginRight(int value) { SetAndInvalidate(this, m_settings.MarginRight, value); }
    int MarginBottom() const { return m_settings.MarginBottom; }
    void SetMarginBottom(int value) { SetAndInvalidate(this, m_settings.MarginBottom, value); }
    bool View3D() const { return m_settings.View3D; }
    void SetView3D(bool value) { SetAndInvalidate(this, m_settings.View3D, value); }
    TView3DOptions &View3DOptions() { return *m_view3DOptions; }
    const TView3DOptions &View3DOptions() const { return *m_view3DOptions; }
    /// Copies the given settings into the panel's own and repaints.
    void SetView3DOptions(const TView3DOptions &value);
    bool PrintProportional() const { return m_settings.PrintProportional; }
    void SetPrintProportional(bool value) { m_settings.PrintProportional = value; }
    /// The canvas's monochrome buffer setting.
    bool Monochrome() const;
    void SetMonochrome(bool value);
    /// The canvas's buffered-display switch.
    bool IsBuffered() const;
    void SetBuffered(bool value);

    /// Panel colour: background fill and border frame (clBtnFace).
    TColor Color() const { return m_settings.Color; }
    void SetColor(TColor value) { SetAndInvalidate(this, m_settings.Color, value); }
    TBevelCut BevelInner() const { return m_frame.BevelInner; }
    void SetBevelInner(TBevelCut value) { SetAndInvalidate(this, m_frame.BevelInner, value); }
    TBevelCut BevelOuter() const { return m_frame.BevelOuter; }
    void SetBevelOuter(TBevelCut value) { SetAndInvalidate(this, m_frame.BevelOuter, value); }
    /// Width of each bevel frame, at least 1.
    int BevelWidth() const { return m_frame.BevelWidth; }
    void SetBevelWidth(int value);
    /// Width of the frame in the panel colour between the bevels, at least 0.
    int BorderWidth() const { return m_frame.BorderWidth; }
    void SetBorderWidth(int value);

    // ---- state of the current picture --------------------------------------
    /// Whether the series' depth order is applied.
    bool ApplyZOrder() const { return m_applyZOrder; }
    void SetApplyZOrder(bool value) { m_applyZOrder = value; }
    /// The whole drawing area of the last paint (as BeginWindow returned it).
    const TRect &ChartBounds() const { return m_chartBounds; }
    /// Where axes, walls and series go; recomputed at every paint and shrunk
    /// by titles, legend and axes. Call RecalcChartSize after changing it.
    const TRect &ChartRect() const { return m_chartRect; }
    void SetChartRect(const TRect &value) { m_chartRect = value; }
    int ChartWidth() const { return m_chartWidth; }
    int ChartHeight() const { return m_chartHeight; }
    int ChartXCenter() const { return m_chartXCenter; }
    int ChartYCenter() const { return m_chartYCenter; }
    /// Depth of the 3D view in pixels, set by the drawing pipeline; the width
    /// may be negative.
    int Width3D() const { return m_width3D; }
    void SetWidth3D(int value) { m_width3D = value; }
    int Height3D() const { return m_height3D; }
    void SetHeight3D(int value) { m_height3D = value; }

    /// Set by click handlers to stop the chart's own mouse handling.
    bool MouseConsumed() const { return m_mouseConsumed; }
    void SetMouseConsumed(bool value) { m_mouseConsumed = value; }
    /// Cursor shown when the pointer is over no series.
    const QCursor &OriginalCursor() const { return m_originalCursor; }
    void SetOriginalCursor(const QCursor &value) { m_originalCursor = value; }
    TZoomPanningRecord &ZoomRecord() { return m_zoom; }
    const TZoomPanningRecord &ZoomRecord() const { return m_zoom; }
    TZoomPanningRecord &PanningRecord() { return m_panning; }
    const TZoomPanningRecord &PanningRecord() const { return m_panning; }

    /// True while a picture is produced for a printer.
    bool Printing() const { return m_printing; }
    void SetPrinting(bool value) { m_printing = value; }
    int PrintResolution() const { return m_settings.PrintResolution; }
    void SetPrintResolution(int value) { m_settings.PrintResolution = value; }
    const TRect &PrintMargins() const { return m_printMargins; }
    void SetPrintMargins(const TRect &value) { m_printMargins = value; }

    /// The drawing canvas every operation goes through.
    TChartCanvas3D &ChartCanvas() { return *m_canvas; }
    const TChartCanvas3D &ChartCanvas() const { return *m_canvas; }

    // ---- invalidation --------------------------------------------------------
    /// Marks the buffer stale and asks for a repaint; ignored while the
    /// invalidation switch is off.
    void InvalidatePanel();
    /// InvalidatePanel for a change of the values or colours of series
    /// points only: the picture behind the series stays usable unless it
    /// shows something that depends on them (LayerShowsPointValues).
    void InvalidatePointValues();
    bool InvalidationEnabled() const { return m_invalidationEnabled; }
    void SetInvalidationEnabled(bool value) { m_invalidationEnabled = value; }
    /// The change handler of every owned pen, brush, font, gradient and
    /// picture: invalidates the panel.
    virtual void SubObjectChanged();

    // ---- painting ---------------------------------------------------------------
    /// Draws the whole chart content into the chart bounds. The axis panel
    /// fills this; here nothing is drawn.
    virtual void PaintChart(const TRect &bounds);
    /// Draws one complete picture onto surface within rect: set-up of the
    /// canvas, chart rectangle from the margins, PaintChart, then the buffer
    /// is copied onto surface. Works for any painter (window, image, printer).
    virtual void DrawToCanvas(QPainter *surface, const TRect &rect);
    /// What a window repaint does, on the window's painter: copies the
    /// buffered picture when it is still current, else draws a new one, then
    /// lays the inverting frames over it. An exception from the drawing leaves
    /// the rest of the picture undone and the panel holding no painter.
    void PaintWindow(QPainter &painter);
    /// Bevels and border frame, shrinking inward from rect.
    virtual void DrawBevels(const TRect &rect);
    /// Makes font the canvas font (keeping the canvas's pixels per inch).
    virtual void SelectFont(const TFont &font);
    /// The control's client rectangle.
    virtual TRect GetDrawArea() const;
    /// Clamps the chart rectangle into the bounds, keeps it at least one
    /// pixel wide and high, and recomputes chart width, height and centre.
    void RecalcChartSize();

    // ---- shared helpers --------------------------------------------------------------
    /// The printing rule for pens (chart_pen.h) while this panel prints.
    void AdjustPenForPrinting(TPen &pen) const;
    /// Whether drawing may clip (screen always; printer and metafile by the
    /// engine settings).
    bool ClippingAllowed() const;
    /// Draws the zoom rectangle with an inverting pen: a second call at the
    /// same corners removes it. Inside a paint it goes into the picture;
    /// outside a paint it is laid over the window's picture and survives
    /// repaints until removed.
    void XorZoomFrame();

    /// From another panel: buffered display, print settings, margins,
    /// Monochrome, View3D, View3DOptions, Chart3DPercent and Color.
    virtual void CopyFrom(const TCustomChartPanel &source);

protected:
    /// Whether the canvas's layer (the picture behind the series, kept by
    /// the axis panel's pipeline) still shows the chart as it is: every
    /// invalidation but InvalidatePointValues clears it.
    bool LayerCurrent() const { return m_layerCurrent; }
    void SetLayerCurrent(bool value) { m_layerCurrent = value; }
    /// Whether point values or colours changed since the last picture began.
    bool PointValuesChanged() const { return m_pointValuesChanged; }
    /// Whether the layer may show anything taken from point values or
    /// colours; true here, as nothing more is known.
    virtual bool LayerShowsPointValues() const { return true; }

    void paintEvent(QPaintEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct XorFrame
    {
        TRect Rect;
        TColor Color;
        friend bool operator==(const XorFrame &, const XorFrame &) = default;
    };
    /// Marks the buffer stale and asks for a repaint, unless the
    /// invalidation switch is off.
    void RequestNewPicture();
    TColor ZoomFrameColor() const;
    void DrawBevelFrame(TRect &rect, TBevelCut cut);

    bool m_invalidationEnabled = false;
    bool m_layerCurrent = false;
    bool m_pointValuesChanged = false;
    TChartPanelSettings m_settings;
    TChartPanelFrame m_frame;
    bool m_applyZOrder = true;
    TRect m_chartBounds;
    int m_chartWidth = 0;
    int m_chartHeight = 0;
    int m_chartXCenter = 0;
    int m_chartYCenter = 0;
    int m_height3D = 0;
    int m_width3D = 0;
    QCursor m_originalCursor;
    TZoomPanningRecord m_panning;
    bool m_printing = false;
    std::unique_ptr<TView3DOptions> m_view3DOptions;
    TZoomPanningRecord m_zoom;
    std::unique_ptr<TChartCanvas3D> m_canvas;
    bool m_mouseConsumed = false;
    TRect m_chartRect;
    TRect m_printMargins{15, 15, 15, 15};

    /// The painter of the window while a paint event runs (the "window
    /// canvas"); null otherwise.
    QPainter *m_windowSurface = nullptr;
    /// Depth of DrawToCanvas calls in progress.
    int m_drawing = 0;
    /// Size of the last picture drawn into the buffer: a window paint copies
    /// the buffer only while the window still has this size.
    QSize m_pictureSize;
    /// Inverting frames drawn on the window outside a paint, laid over the
    /// presented picture until removed or until the picture is redrawn.
    std::vector<XorFrame> m_xorFrames;
};

/// The settings of an extended panel that CopyFrom copies besides its
/// background picture and gradient.
struct KOVCHART_EXPORT TChartPanelExtendedSettings
{
    int AnimatedZoomSteps = 8;
    bool AnimatedZoom = false;
    bool AllowZoom = true;
    TPanningMode AllowPanning = pmBoth;
    TChartBackImageMode BackImageMode = pbmStretch;
};

/// A chart panel with zoom and panning state, a background picture and a gradient.
class KOVCHART_EXPORT TCustomChartPanelExtended : public TCustomChartPanel
{
public:
    explicit TCustomChartPanelExtended(QWidget *parent = nullptr);
    ~TCustomChartPanelExtended() override;

    int AnimatedZoomSteps() const { return m_settings.AnimatedZoomSteps; }
    void SetAnimatedZoomSteps(int value)
    {
        SetAndInvalidate(this, m_settings.AnimatedZoomSteps, value);
    }
    bool AnimatedZoom() const { return m_settings.AnimatedZoom; }
    void SetAnimatedZoom(bool value) { SetAndInvalidate(this, m_settings.AnimatedZoom, value); }
    bool AllowZoom() const { return m_settings.AllowZoom; }
    void SetAllowZoom(bool value) { m_settings.AllowZoom = value; }
    TPanningMode AllowPanning() const { return m_settings.AllowPanning; }
    void SetAllowPanning(TPanningMode value) { m_settings.AllowPanning = value; }
    TPicture &BackImage() { return m_backImage; }
    const TPicture &BackImage() const { return m_backImage; }
    /// Copies the given picture into the panel's own.
    void SetBackImage(const TPicture &value);
    TChartBackImageMode BackImageMode() const { return m_settings.BackImageMode; }
    void SetBackImageMode(TChartBackImageMode value)
    {
        SetAndInvalidate(this, m_settings.BackImageMode, value);
    }
    TChartGradient &Gradient() { return m_gradient; }
    const TChartGradient &Gradient() const { return m_gradient; }
    /// Copies the given gradient into the panel's own and repaints.
    void SetGradient(const TCustomChartGradient &value);

    /// True after a zoom, false once it is undone.
    bool Zoomed() const { return m_zoomed; }
    void SetZoomed(bool value) { m_zoomed = value; }

    TChartPanelNotifyEvent OnAfterDraw;
    TChartPanelNotifyEvent OnScroll;
    TChartPanelNotifyEvent OnUndoZoom;
    TChartPanelNotifyEvent OnZoom;

    /// Undoes the zoom: OnUndoZoom, repaint, zoomed flag cleared.
    virtual void ResetZoom();

    /// Without an axis panel above it the chart content is just the panel
    /// background, plus the zoom frame while a zoom drags.
    void PaintChart(const TRect &bounds) override;
    /// Gradient or plain colour fill of rect.
    virtual void FillBackground(const TRect &rect);
    /// The background picture over rect at depth 0.
    virtual void DrawBackImage(const TRect &rect);
    /// Fill, background picture, then bevels.
    virtual void PaintBackground(const TRect &rect);
    /// Draws the background picture into rect at depth z by BackImageMode.
    void DrawBackImageAt(const TRect &rect, int z);

    /// From another extended panel: background picture and mode, gradient,
    /// panning, zoom and animation settings; then the base panel's copy.
    void CopyFrom(const TCustomChartPanel &source) override;

private:
    TChartPanelExtendedSettings m_settings;
    TPicture m_backImage;
    TChartGradient m_gradient;
    bool m_zoomed = false;
};

} // namespace kov
