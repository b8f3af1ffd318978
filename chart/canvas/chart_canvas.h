#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/canvas/face_stamps.h"
#include "chart/canvas/graphics.h"
#include "chart/canvas/rect.h"
#include "chart/canvas/view3d_options.h"
#include "chart/color.h"
#include "chart/kovchart_export.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

// The drawing canvas of a chart. It wraps a QPainter ("surface") and adds a
// projection layer: operations that take a depth z map (x, y, z) to the
// screen, flat (z ignored), orthogonal (z shifts the point right and up) or
// rotated with optional perspective. It owns an off-screen buffer image: a
// buffered paint draws into the image, which is then copied to the window in
// one block, and an unchanged chart repaints by copying the image again.
//
// Pixel conventions follow the engine's rectangles: right and bottom edges are
// exclusive (a rectangle or ellipse with corners (x1, y1), (x2, y2) covers
// columns x1..x2-1), and a line from a to b covers a but not b.
//
// High-density screens: every coordinate the canvas takes is in logical
// pixels. The buffer image has the device pixels of the surface it is
// presented on (logical size times that surface's device pixel ratio) and
// carries the ratio, so its painter scales everything: text is rendered at
// full resolution, and a one-pixel line becomes a solid line ratio device
// pixels wide. At ratio 1 the picture is the plain one.
namespace kov {

/// Darkening amounts for the side and top faces of 3D solids.
constexpr int SideDarkness = 128;
constexpr int TopDarkness = 64;

/// Abstract canvas: the 2D operations plus text measuring.
class KOVCHART_EXPORT TChartCanvas
{
public:
    TChartCanvas();
    TChartCanvas(const TChartCanvas &) = delete;
    TChartCanvas &operator=(const TChartCanvas &) = delete;
    virtual ~TChartCanvas();

    /// The pen, brush and font of the current surface. Change them freely; the
    /// canvas applies them to the painter before the next drawing operation.
    TPen &Pen() { return m_pen; }
    TBrush &Brush() { return m_brush; }
    TFont &Font() { return m_font; }
    const TPen &Pen() const { return m_pen; }
    const TBrush &Brush() const { return m_brush; }
    const TFont &Font() const { return m_font; }

    /// Set while drawing into a metafile (the panel then decides on clipping).
    bool Metafiling = false;

    /// Makes a painter the current surface (may be null: nothing is drawn).
    void SetSurface(QPainter *surface);
    QPainter *Surface() const { return m_surface; }
    /// The device pixel ratio of a surface's paint device (1 for none).
    static qreal SurfaceRatio(const QPainter *surface);

    /// Pen black, width 1, solid, copy mode; brush white solid; font black,
    /// size 10; background white and transparent.
    void ResetDrawingState();
    /// Loads a chart pen into the surface pen: invisible gives only a clear
    /// style; small dots at width 1 give a one-on one-off pixel pattern;
    /// otherwise the pen is copied.
    void ApplyChartPen(const TChartPen &pen);
    /// Height of the text "W" in the current font.
    int TextLineHeight();

    virtual TColor GetBackgroundColor() const = 0;
    virtual int GetBackgroundMode() const = 0;
    virtual QPainter *GetSurfaceHandle() const = 0;
    virtual bool IsMonochrome() const = 0;
    virtual unsigned GetTextAlignment() const = 0;
    virtual bool IsBuffered() const = 0;
    virtual void SetBackgroundColor(TColor color) = 0;
    virtual void SetBackgroundMode(int mode) = 0;
    /// Switches the canvas to a monochrome buffer; returns whether it changed.
    virtual bool SetMonochromeBuffer(bool value) = 0;
    virtual void PlotPixel(int x, int y, TColor color) = 0;
    virtual void SetTextAlignment(unsigned flags) = 0;
    /// Switches buffered drawing on or off; returns whether it changed.
    virtual bool SetBuffered(bool value) = 0;
    /// Arc of the ellipse in (x1, y1, x2, y2), counter-clockwise from the ray
    /// towards (x3, y3) to the ray towards (x4, y4).
    virtual void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual void DrawGraphic(int x, int y, const TPicture *picture) = 0;
    virtual void DrawEllipse(int x1, int y1, int x2, int y2) = 0;
    virtual void FillRectangle(const TRect &rect) = 0;
    virtual void DrawBevel(const TRect &rect, TColor topLeft, TColor bottomRight, int width) = 0;
    virtual void DrawLineTo(int x, int y) = 0;
    virtual void MovePenTo(int x, int y) = 0;
    virtual void DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual void DrawRectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void DrawRoundRectangle(int x1, int y1, int x2, int y2, int cornerWidth,
                                    int cornerHeight) = 0;
    virtual void StretchGraphic(const TRect &rect, const TPicture *picture) = 0;
    virtual void WriteText(int x, int y, const QString &text) = 0;
    virtual int MeasureTextWidth(const QString &text);
    virtual int MeasureTextHeight(const QString &text);
    virtual void ClipToRectangle(const TRect &rect) = 0;
    virtual void DrawHorizontalLine(int left, int right, int y) = 0;
    virtual void DrawRect(const TRect &rect) = 0;
    virtual void DrawVerticalLine(int x, int top, int bottom) = 0;
    virtual void ClearBackground(const TRect &rect) = 0;
    virtual void FillGradient(const TRect &rect, TColor first, TColor second,
                              TGradientDirection direction) = 0;
    virtual void MarkDirty() = 0;
    virtual void DrawSegment(int x1, int y1, int x2, int y2) = 0;
    /// Polygon of points[0..lastIndex] (lastIndex is the last index, not the
    /// count).
    virtual void DrawPolygon(const TPoint *points, int lastIndex) = 0;
    virtual void WriteRotatedText(int x, int y, const QString &text, int angle) = 0;
    virtual void RemoveClipping() = 0;

protected:
    /// Applies changed pen, brush and font to the painter; false when there is
    /// no surface.
    bool Realize();
    /// The composition the painter draws with once the canvas pen is
    /// realised (the painter's own while no pen change is pending).
    QPainter::CompositionMode RealizedCompositionMode() const;
    /// The Qt pen of a one-pixel chart pen: flat ends, the style's dashes,
    /// or one pixel on and one off for small dots.
    static QPen OnePixelPen(const QColor &color, TPenStyle style, bool smallDots);
    /// The Qt font for the canvas font, optionally with another pixel height.
    QFont MakeQFont(int pixelHeightOverride = 0) const;
    /// The Qt font for the canvas font, kept while the canvas font's changes
    /// leave it equal.
    const QFont &CurrentQFont() const;
    /// Metrics of the canvas font, kept with the font.
    const QFontMetrics &Metrics() const;
    /// Whole-pixel ascent and descent of a font's cell (fractions rounded up,
    /// so that ascent + descent is the line height).
    static int CellAscent(const QFont &font);
    static int CellDescent(const QFont &font);
    /// Cell ascent and descent of the canvas font, kept with the font.
    void CellMetrics(int &ascent, int &descent) const;

    /// A run of device pixels of one row, relative to an origin.
    struct PixelRun
    {
        int Dy;
        int X0;
        int Length;
    };
    /// The device pixels a text's glyphs touch, relative to the point its
    /// line starts at on the baseline, and what they became over the plain
    /// backgrounds it was drawn over. The glyphs cover the same pixels at
    /// every whole position, and a pixel they cover becomes a colour that
    /// depends only on the text colour and the pixel's own colour before.
    struct TextInk
    {
        /// False when the glyphs could not be captured whole (the painter
        /// then draws the text).
        bool Usable = false;
        /// The painter's render hints the glyphs were captured with.
        unsigned Hints = 0;
        /// The background mode and colour they were captured with: an
        /// opaque background may fill behind them.
        Qt::BGMode BackgroundMode = Qt::TransparentMode;
        QRgb TextBackground = 0;
        QRect Box;
        std::vector<PixelRun> Runs;
        /// What the glyphs' pixels became over one plain background.
        struct Over
        {
            QRgb Color;
            /// 0: over a transparent picture.
            QRgb Background;
            /// Over a transparent picture: whether the painter blends the
            /// glyphs over any opaque pixels as the canvas computes it.
            bool Blendable;
            /// The pixels of Runs, run after run.
            std::vector<QRgb> Pixels;
            /// Over a transparent picture: the pixels of the whole ink box,
            /// row after row (transparent where no glyph touches).
            std::vector<QRgb> Box;
        };
        std::vector<Over> Pictures;
    };
    /// A text as the canvas font sets it: its width, and the glyphs the
    /// painter draws for it, laid out when it is first drawn.
    struct TextShape
    {
        int Width = 0;
        /// Whether a layout was tried, and whether it gave the glyph runs
        /// the painter draws (the runs with the line's top-left at (0, 0),
        /// and the line's ascent).
        bool Laid = false;
        bool AsGlyphRuns = false;
        QList<QGlyphRun> Runs;
        qreal Ascent = 0;
        /// The glyph runs' pixels, captured when first copied (see TextInk).
        mutable std::shared_ptr<TextInk> Ink;
        /// Times the text was drawn before its glyphs were captured.
        mutable int Draws = 0;
    };
    /// The shape of a text in the canvas font, measured (and, with laid,
    /// laid out) on first use and kept with the font.
    const TextShape &ShapeOfText(const QString &text, bool laid);
    /// Whether glyph runs of the canvas font draw the pixels the painter's
    /// drawText draws: not for underlined or struck-out fonts, whose lines
    /// the painter places on its own.
    bool FontDrawsAsGlyphRuns() const;

    /// What the next drawing operation takes from the canvas besides its pen,
    /// brush and font (a saved layer keeps a copy).
    struct DrawState
    {
        bool SmallDotsPen = false;
        TColor BackgroundColor = clWhite;
        int BackgroundMode = bmTransparent;
        unsigned TextAlignment = taLeft | taTop;
    };

    QPainter *m_surface = nullptr;
    /// Device pixels per logical pixel of the current surface.
    qreal m_surfaceRatio = 1;
    TPen m_pen;
    TBrush m_brush;
    TFont m_font;
    bool m_penChanged = true;
    bool m_brushChanged = true;
    bool m_fontChanged = true;
    DrawState m_state;
    /// What a Qt font of the canvas is made of (MakeQFont): equal keys make
    /// equal fonts, so a font selected again is found without building a new
    /// QFont.
    struct FontKey
    {
        QString Name;
        int Pixels = 0;
        TFontStyles Style = 0;
        friend bool operator==(const FontKey &, const FontKey &) = default;
    };
    /// One Qt font with everything measured in it. Charts select their fonts
    /// anew for every part they paint, mostly the same few (axes alternate
    /// between label and title fonts): the measurements of the recent fonts
    /// are kept, and the one QFont kept per font lets Qt reuse its engine.
    struct FontEntry
    {
        FontKey Key;
        QFont Font;
        std::optional<QFontMetrics> Metrics;
        int CellAscent = -1;
        int CellDescent = 0;
        QHash<QString, TextShape> Texts;
    };
    FontKey CurrentFontKey() const;
    /// The entry of the canvas font, found again after every font change.
    FontEntry &CurrentFont() const;
    mutable std::vector<std::unique_ptr<FontEntry>> m_fonts;
    mutable FontEntry *m_currentFont = nullptr;
    /// Whether m_currentFont is the canvas font's entry.
    mutable bool m_fontChecked = false;
};

/// Abstract 3D canvas: the depth operations.
class KOVCHART_EXPORT TCanvas3D : public TChartCanvas
{
public:
    /// The 3D settings in force (may be null).
    TView3DOptions *View3DOptions() const { return m_view3DOptions; }
    void SetView3DOptions(TView3DOptions *options) { m_view3DOptions = options; }
    bool IsOrthogonal() const { return m_orthogonal; }

    virtual void PlotPixel3D(int x, int y, int z, TColor color) = 0;
    virtual bool IsHardware3D() const = 0;
    virtual bool SupportsText3D() const = 0;
    /// Inverse projection of a screen point onto the plane at depth z.
    virtual void ScreenToPlane(int &x, int &y, int z) const = 0;
    virtual void ProjectToPoint(int x, int y, TPoint &point, int z) const = 0;
    /// Per-paint set-up: surface, settings, bounds and 3D flag. drawRect
    /// receives the rectangle to draw into (0, 0, width, height when
    /// buffered, else the bounds). The background colour is not used.
    virtual void BeginWindow(QPainter *surface, TView3DOptions *options, TRect &drawRect,
                             const TRect &bounds, bool is3D, TColor background) = 0;
    virtual void AssignCanvas(const TCanvas3D &source);
    virtual void SetProjection(int depth, const TRect &chartBounds, const TRect &chartRect) = 0;
    /// Copies the buffer onto destination at rect's top-left (when buffered)
    /// and makes defaultSurface current.
    virtual void PresentImage(QPainter *destination, QPainter *defaultSurface,
                              const TRect &rect) = 0;
    /// When the buffer holds the current picture, copies it to the current
    /// surface at (0, 0) and returns true; false when the chart must be
    /// painted again.
    virtual bool RepaintFromBuffer() = 0;
    virtual void DrawArrow(bool filled, const TPoint &from, const TPoint &to, int headLength,
                           int headWidth, int z) = 0;
    virtual void ClipToCube(const TRect &rect, int z0, int z1) = 0;
    virtual void DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                          int topSizePercent) = 0;
    virtual void DrawCube(int left, int right, int top, int bottom, int z0, int z1,
                          bool darkSides) = 0;
    virtual void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0,
                              int z1, bool darkSides) = 0;
    virtual void DrawHorizontalLine3D(int left, int right, int y, int z) = 0;
    virtual void DrawVerticalLine3D(int x, int top, int bottom, int z) = 0;
    virtual void DrawDepthLine(int x, int y, int z0, int z1) = 0;
    virtual void DrawEllipse3D(int x1, int y1, int x2, int y2, int z) = 0;
    virtual void BeginFrontPlane() = 0;
    virtual void EndFrontPlane() = 0;
    virtual void DrawSegment3D(int x1, int y1, int x2, int y2, int z) = 0;
    virtual void MovePenTo3D(int x, int y, int z) = 0;
    virtual void DrawLineTo3D(int x, int y, int z) = 0;
    /// A slice of a pie lying flat, seen from above and in front: its top face
    /// is the elliptical slice around centre with the given radii, its walls
    /// (the rim and the cut faces that face the viewer) hang down by z1 - z0
    /// pixels, shaded with darkSides, and the whole is projected at depth z0.
    /// Angles in radians, counter-clockwise from 3 o'clock; the slice runs
    /// from startAngle counter-clockwise to endAngle (a whole turn at most).
    /// The slices of one pie are drawn from the back to the front. A hole
    /// (a fraction of the radii below 1) makes the slice a piece of a ring:
    /// the top face runs between the two rims, and the inner wall shows
    /// where it lies on the back half of the hole.
    virtual void DrawPie3D(const TPoint &centre, int xRadius, int yRadius, int z0, int z1,
                           double startAngle, double endAngle, bool darkSides, double hole = 0) = 0;
    virtual void DrawDepthPlane(const TPoint &a, const TPoint &b, int z0, int z1) = 0;
    virtual void DrawQuad3D(const TPoint &p1, const TPoint &p2, const TPoint &p3, const TPoint &p4,
                            int z) = 0;
    virtual void DrawDepthQuad(const TPoint &p1, const TPoint &p2, const TPoint &p3,
                               const TPoint &p4, int z0, int z1) = 0;
    virtual void DrawPolygon3D(const TPoint *points, int lastIndex, int z) = 0;
    virtual void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0,
                             int z1, bool darkSides) = 0;
    virtual void DrawRectangle3D(const TRect &rect, int z) = 0;
    virtual void DrawFloorPlane(int left, int y, int right, int z0, int z1) = 0;
    virtual void DrawSidePlane(int x, int top, int bottom, int z0, int z1) = 0;
    virtual void WriteRotatedText3D(int x, int y, int z, const QString &text, int angle) = 0;
    virtual void DrawSphere(int x, int y, double radius, int z) = 0;
    virtual void DrawSurface() = 0;
    virtual void WriteText3D(int x, int y, int z, const QString &text) = 0;
    virtual void DrawShadedTriangle(const TPoint3D &p1, const TPoint3D &p2, const TPoint3D &p3,
                                    TColor c1, TColor c2, TColor c3) = 0;
    virtual void DrawTriangle3D(const TPoint &p1, const TPoint &p2, const TPoint &p3, int z) = 0;

protected:
    TView3DOptions *m_view3DOptions = nullptr;
    bool m_orthogonal = false;
    bool m_monochrome = false;
};

/// The concrete canvas over QPainter with its buffer image.
class KOVCHART_EXPORT TChartCanvas3D : public TCanvas3D
{
public:
    TChartCanvas3D();
    ~TChartCanvas3D() override;

    /// Projects (x, y, z) in place.
    void ProjectPoint(int &x, int &y, int z) const;

    /// The live buffer image (null before the first buffered BeginWindow).
    /// The canvas keeps painting into it: take copy() to keep a snapshot. Its
    /// size is in device pixels: the logical bounds times DevicePixelRatio().
    const QImage &BufferImage() const { return m_buffer; }
    /// Device pixels per logical pixel of the buffer, taken at every
    /// BeginWindow from the surface the picture goes to (1 for no surface).
    /// Whoever writes into the buffer's pixels directly must keep the rule the
    /// painter keeps at an integer ratio r: logical pixel (x, y) is the block
    /// of device pixels [r x, r x + r) x [r y, r y + r), and a one-pixel line
    /// covers the blocks of the logical pixels it covers at ratio 1 (see
    /// StrokeShift). Fractional ratios are left to the painter.
    qreal DevicePixelRatio() const { return m_ratio; }
    bool IsDirty() const { return m_dirty; }

    /// How many shapes were drawn from stamps (pictures drawn once and
    /// copied), by kind, since the canvas was made.
    struct StampUse
    {
        int Outlines = 0;
        int Lines = 0;
        int Texts = 0;
    };
    const StampUse &StampsUsed() const { return m_stampUse; }

    /// The picture behind the series (the layer). SaveLayer keeps a copy of
    /// the buffer and of the drawing state as they are at that moment;
    /// RestoreLayer puts both back, so that a paint in which only series
    /// points changed draws the series over the kept picture instead of
    /// drawing everything again, with the same pixels. SaveLayer refuses
    /// (false) unless the canvas draws into its buffer without a clip or
    /// transform; RestoreLayer refuses when nothing that fits the buffer is
    /// kept. A new buffer (size or ratio) drops the layer.
    bool SaveLayer();
    bool RestoreLayer();
    void DropLayer();
    bool HasLayer() const { return m_layer.Valid; }
    bool Is3D() const { return m_is3D; }
    double ZoomFactor() const { return m_zoomFactor; }
    double PerspectiveFactor() const { return m_perspectiveFactor; }
    bool TextZoom() const { return m_textZoom; }
    /// Bounds of the last BeginWindow.
    const TRect &Bounds() const { return m_bounds; }

    /// Projection coefficients of the rotated view.
    struct Coefficients
    {
        double XX = 1, XY = 0, XZ = 0;
        double YX = 0, YY = 1, YZ = 0;
        long double DepthX = 0, DepthY = 0;
        double DepthZ = 0;
    };
    const Coefficients &ProjectionCoefficients() const { return m_coef; }
    /// The logical centre and the screen point it lands on.
    int CentreX() const { return m_centreX; }
    int CentreY() const { return m_centreY; }
    int CentreZ() const { return m_centreZ; }
    int OffsetCentreX() const { return m_offsetX; }
    int OffsetCentreY() const { return m_offsetY; }

    TColor GetBackgroundColor() const override;
    int GetBackgroundMode() const override;
    QPainter *GetSurfaceHandle() const override;
    bool IsMonochrome() const override;
    unsigned GetTextAlignment() const override;
    bool IsBuffered() const override;
    void SetBackgroundColor(TColor color) override;
    void SetBackgroundMode(int mode) override;
    bool SetMonochromeBuffer(bool value) override;
    void PlotPixel(int x, int y, TColor color) override;
    void SetTextAlignment(unsigned flags) override;
    bool SetBuffered(bool value) override;
    void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void DrawGraphic(int x, int y, const TPicture *picture) override;
    void DrawEllipse(int x1, int y1, int x2, int y2) override;
    void FillRectangle(const TRect &rect) override;
    void DrawBevel(const TRect &rect, TColor topLeft, TColor bottomRight, int width) override;
    void DrawLineTo(int x, int y) override;
    void MovePenTo(int x, int y) override;
    void DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void DrawRectangle(int x1, int y1, int x2, int y2) override;
    void DrawRoundRectangle(int x1, int y1, int x2, int y2, int cornerWidth,
                            int cornerHeight) override;
    void StretchGraphic(const TRect &rect, const TPicture *picture) override;
    void WriteText(int x, int y, const QString &text) override;
    void ClipToRectangle(const TRect &rect) override;
    void DrawHorizontalLine(int left, int right, int y) override;
    void DrawRect(const TRect &rect) override;
    void DrawVerticalLine(int x, int top, int bottom) override;
    void ClearBackground(const TRect &rect) override;
    void FillGradient(const TRect &rect, TColor first, TColor second,
                      TGradientDirection direction) override;
    void MarkDirty() override;
    void DrawSegment(int x1, int y1, int x2, int y2) override;
    void DrawPolygon(const TPoint *points, int lastIndex) override;
    void WriteRotatedText(int x, int y, const QString &text, int angle) override;
    void RemoveClipping() override;

    void PlotPixel3D(int x, int y, int z, TColor color) override;
    bool IsHardware3D() const override;
    bool SupportsText3D() const override;
    void ScreenToPlane(int &x, int &y, int z) const override;
    void ProjectToPoint(int x, int y, TPoint &point, int z) const override;
    void BeginWindow(QPainter *surface, TView3DOptions *options, TRect &drawRect,
                     const TRect &bounds, bool is3D, TColor background) override;
    void SetProjection(int depth, const TRect &chartBounds, const TRect &chartRect) override;
    void PresentImage(QPainter *destination, QPainter *defaultSurface, const TRect &rect) override;
    bool RepaintFromBuffer() override;
    void DrawArrow(bool filled, const TPoint &from, const TPoint &to, int headLength, int headWidth,
                   int z) override;
    void ClipToCube(const TRect &rect, int z0, int z1) override;
    void DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                  int topSizePercent) override;
    void DrawCube(int left, int right, int top, int bottom, int z0, int z1,
                  bool darkSides) override;
    void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                      bool darkSides) override;
    void DrawHorizontalLine3D(int left, int right, int y, int z) override;
    void DrawVerticalLine3D(int x, int top, int bottom, int z) override;
    void DrawDepthLine(int x, int y, int z0, int z1) override;
    void DrawEllipse3D(int x1, int y1, int x2, int y2, int z) override;
    void BeginFrontPlane() override;
    void EndFrontPlane() override;
    void DrawSegment3D(int x1, int y1, int x2, int y2, int z) override;
    void MovePenTo3D(int x, int y, int z) override;
    void DrawLineTo3D(int x, int y, int z) override;
    void DrawPie3D(const TPoint &centre, int xRadius, int yRadius, int z0, int z1,
                   double startAngle, double endAngle, bool darkSides, double hole = 0) override;
    void DrawDepthPlane(const TPoint &a, const TPoint &b, int z0, int z1) override;
    void DrawQuad3D(const TPoint &p1, const TPoint &p2, const TPoint &p3, const TPoint &p4,
                    int z) override;
    void DrawDepthQuad(const TPoint &p1, const TPoint &p2, const TPoint &p3, const TPoint &p4,
                       int z0, int z1) override;
    void DrawPolygon3D(const TPoint *points, int lastIndex, int z) override;
    void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                     bool darkSides) override;
    void DrawRectangle3D(const TRect &rect, int z) override;
    void DrawFloorPlane(int left, int y, int right, int z0, int z1) override;
    void DrawSidePlane(int x, int top, int bottom, int z0, int z1) override;
    void WriteRotatedText3D(int x, int y, int z, const QString &text, int angle) override;
    void DrawSphere(int x, int y, double radius, int z) override;
    void DrawSurface() override;
    void WriteText3D(int x, int y, int z, const QString &text) override;
    void DrawShadedTriangle(const TPoint3D &p1, const TPoint3D &p2, const TPoint3D &p3, TColor c1,
                            TColor c2, TColor c3) override;
    void DrawTriangle3D(const TPoint &p1, const TPoint &p2, const TPoint &p3, int z) override;

private:
    void CalcCoefficients();
    void FreeBuffer();
    /// Makes the buffer hold width x height logical pixels at the given
    /// device pixel ratio, keeping the existing image when it already does.
    void PrepareBuffer(int width, int height, qreal ratio);
    void DrawScratchQuad();
    void ProjectInto(int index, int x, int y, int z);
    /// Fills the polygon through corners (three or four), each projected
    /// from its depth.
    void DrawProjected(std::initializer_list<TPoint3D> corners);
    /// Fills the quadrilateral through four points already on the screen.
    void DrawScreenQuad(const TPoint &a, const TPoint &b, const TPoint &c, const TPoint &d);
    void PolylineScratch(int count);
    void PolygonScratch(int count);
    /// How far a shape drawn with the painter's pen is moved on a surface of
    /// a ratio other than 1, so that its strokes cover the device pixels of
    /// the logical pixels they cover at ratio 1; (0, 0) at ratio 1.
    QPointF StrokeShift() const;
    /// Polygon and polyline through the painter, moved by StrokeShift.
    void SurfacePolygon(const QPoint *points, int count);
    void SurfacePolyline(const QPoint *points, int count);
    void LineSegment(int x1, int y1, int x2, int y2);

    // Direct pixel writing (chart_canvas3d_pixels.cpp). Qt's raster engine
    // spends far longer on each one-pixel line and small stamp than writing
    // their few pixels takes; the canvas writes them itself where it knows
    // the exact pixels Qt would have set.

    /// The pixels a one-pixel line of a given extent and dash pattern sets,
    /// found by letting the painter draw it once: the same line at any whole
    /// position sets the same pixels moved along.
    struct LineMask
    {
        bool Exact = true;
        std::vector<PixelRun> Runs;
    };
    /// Whether the buffer's pixels may be written directly: drawing into the
    /// buffer, at a whole device pixel ratio, without transform or a clip
    /// other than a rectangle.
    bool CanWritePixels() const;
    /// The painter's clip was removed.
    void ForgetClip();
    /// Whether the logical rectangle lies inside the buffer and the clip.
    bool InsideDrawingArea(const QRect &rect) const;
    /// The dash pattern of the canvas pen when it draws plain one-pixel
    /// lines that copy over the picture (0 solid, 1 to 4 the dashed styles,
    /// 5 small dots), else -1.
    int OnePixelPattern() const;
    /// Draws the line from..to of the canvas pen into the buffer's pixels
    /// when it can; false when the painter must draw it.
    bool CopyLinePixels(const QPoint &from, const QPoint &to);
    const LineMask &MaskOfLine(int dx, int dy, int pattern);
    /// Fills the logical rectangle, within the clip, with the painter's
    /// opaque solid brush straight into the buffer's pixels, as the painter
    /// would fill it; false when the painter must.
    bool FillPixels(const QRect &rect);
    /// Copies a stamp's opaque pixels to the buffer with its top-left at the
    /// logical point, within the clip; false when it cannot.
    bool CopyStampPixels(const QImage &image, const std::vector<PixelRun> &runs,
                         const QPoint &topLeft);
    /// The opaque pixels of an image as runs; false when some pixel is
    /// neither opaque nor fully transparent.
    static bool OpaqueRuns(const QImage &image, std::vector<PixelRun> &runs);
    void WriteTextWithFont(int x, int y, const QString &text, const QFont *font);
    TColor ReadBaseColor() const;
    /// With darkSides, fills the next face in base darkened by amount; without,
    /// leaves the fill as it is.
    void DarkenBase(TColor base, int amount, bool darkSides);
    /// Writes a text laid out as glyph runs, with its line's start on the
    /// baseline at origin, by copying its pixels where it lies over one
    /// plain opaque colour; false when the painter must draw it.
    bool CopyTextStamp(const TextShape &shape, const QPoint &origin);
    /// Captures which device pixels the shape's glyph runs touch.
    TextInk CaptureTextInk(const TextShape &shape) const;
    /// The shape's captured text in colour over a background, drawn on
    /// first use; null when no picture can be made.
    const TextInk::Over *TextPicture(const TextShape &shape, QRgb colour, QRgb background);
    /// Draws a short horizontal or vertical line of a wide or dashed pen by
    /// copying a picture of it drawn once; false when it cannot.
    bool StampLine(const QPoint &from, const QPoint &to);
    /// Whether nothing drawn within the logical rectangle can show: the
    /// canvas draws into its buffer and the rectangle lies wholly outside
    /// the buffer or the clip rectangle.
    bool OutsideDrawingArea(const QRect &rect) const;
    /// The outlined shapes kept as stamps.
    enum class StampShape { Ellipse, Rectangle };
    /// Draws a small ellipse or rectangle in the painter's pen and brush by
    /// copying a picture of it drawn once; false when the painter's state
    /// does not allow an exact copy (the caller then draws it directly).
    bool StampOutlined(const QRect &box, StampShape shape);

    /// The canvas pen, brush and background an outline stamp was drawn
    /// with: equal ones give the same Qt pen and brush, so the stamp is found
    /// without realising them.
    struct StampCanvasKey
    {
        TColor PenColor;
        int PenWidth;
        TPenStyle PenStyle;
        bool SmallDots;
        TColor BrushColor;
        TBrushStyle BrushStyle;
        int BackgroundMode;
        TColor BackgroundColor;
        friend bool operator==(const StampCanvasKey &, const StampCanvasKey &) = default;
    };
    StampCanvasKey CurrentStampKey() const;
    /// Copies the pixels of a stamp drawn before with the canvas's current
    /// pen and brush, without touching the painter; false when there is none
    /// or it cannot be copied.
    bool CopyKnownStamp(const QRect &box, StampShape shape);
    /// Whether the painter's background, when it fills at all, is one
    /// opaque colour (what a stamp can hold).
    bool PlainSurfaceBackground() const;
    /// A transparent picture of width x height logical pixels at the
    /// buffer's ratio, for a stamp (null when none can be made).
    QImage NewStampImage(int width, int height) const;
    /// The margin test of stamps: the shape with its outline lies well
    /// inside the buffer.
    bool StampFits(const QRect &box, int margin) const;

    /// One small ellipse or rectangle drawn once into a transparent picture:
    /// its shape, its size and the Qt pen, brush and background it was drawn
    /// with are its key, so any change of them finds (or draws) another
    /// picture.
    struct OutlineStamp
    {
        StampShape Shape;
        int Width;
        int Height;
        QPen Pen;
        QBrush Brush;
        Qt::BGMode BackgroundMode;
        QBrush Background;
        int Margin;
        QImage Image;
        /// The opaque pixels of Image, when all of them are opaque or
        /// fully transparent.
        bool Opaque;
        std::vector<PixelRun> Runs;
        bool HasCanvasKey = false;
        StampCanvasKey CanvasKey{};
    };

    int m_centreX = 0, m_centreY = 0, m_centreZ = 0;
    int m_offsetX = 0, m_offsetY = 0;
    Coefficients m_coef;
    bool m_is3D = false;
    bool m_saved3D = false;
    QImage m_buffer;
    /// The buffer's logical pixels, from (0, 0).
    QRect m_bufferArea;
    /// Device pixel ratio of m_buffer (and of the stamps).
    qreal m_ratio = 1.0;
    std::unique_ptr<QPainter> m_bufferPainter;
    bool m_buffered = true;
    bool m_dirty = true;
    TRect m_bounds;
    bool m_textZoom = true;
    double m_zoomFactor = 1.0;
    double m_perspectiveFactor = 0.0;
    QPoint m_penPos;
    QPolygon m_scratch;
    /// The scratch points moved by StrokeShift.
    QPolygonF m_shiftedScratch;
    std::vector<OutlineStamp> m_outlineStamps;
    StampUse m_stampUse;
    /// One short line of a wide or dashed pen drawn once: its extent and the
    /// Qt pen and background it was drawn with are its key.
    struct LineStamp
    {
        QPoint Extent;
        QPen Pen;
        Qt::BGMode BackgroundMode;
        QBrush Background;
        /// Where the line starts in Image, in logical pixels.
        QPoint Start;
        QImage Image;
        bool Opaque;
        std::vector<PixelRun> Runs;
    };
    std::vector<LineStamp> m_lineStamps;
    /// One-pixel line masks by extent, pattern and ratio.
    std::unordered_map<std::uint64_t, LineMask> m_lineMasks;
    /// The clip of the buffer painter as ClipToRectangle and ClipToCube set
    /// it: none, a rectangle (logical pixels), or something else.
    bool m_clipped = false;
    bool m_clipIsRect = true;
    QRect m_clipRect;

    /// What SaveLayer keeps: the pixels and everything the next drawing
    /// operation takes from the canvas.
    struct Layer
    {
        bool Valid = false;
        QImage Image;
        TPen Pen;
        TBrush Brush;
        TFont Font;
        DrawState State;
        QPoint PenPos;
    };
    Layer m_layer;

    // Faces of solids, ribbons and walls written from the pixels the
    // painter set for the same shape before (face_stamps.h).
public:
    const TFaceStamps &FaceStamps() const { return m_faceStamps; }

private:
    /// Draws the polygon through the painter's pen and brush from the face
    /// stamps; false when the painter must draw it.
    bool StampFace(const QPoint *points, int count);
    TFaceStamps m_faceStamps;
};

// Utilities of the canvas unit.

/// Sine and cosine of one angle in radians.
KOVCHART_EXPORT void SinCos(long double angle, long double &sine, long double &cosine);

/// Each RGB channel minus amount, floored at 0 (system colours resolved).
KOVCHART_EXPORT TColor DarkenColor(TColor color, int amount);

/// Sorts points and moves the corners of their convex hull to the front, in
/// order around it; returns how many there are (the distinct points
/// themselves when fewer than three).
KOVCHART_EXPORT int ConvexHull(QPoint *points, int count);
/// Entry index mod 16 of the default palette (red, green, yellow, blue,
/// white, grey, fuchsia, teal, navy, maroon, lime, olive, purple, silver,
/// aqua, black).
KOVCHART_EXPORT TColor PaletteColor(int index);
/// Default chart font name ("Arial") and size in points (8).
KOVCHART_EXPORT QString ChartFontName();
KOVCHART_EXPORT int ChartFontSize();
/// True when the font has the default name, size, black colour, no style and
/// the default character set.
KOVCHART_EXPORT bool MatchesDefaultFont(const TFont &font);
/// A new font with the default settings and the given change handler.
KOVCHART_EXPORT std::unique_ptr<TFont> NewDefaultFont(TChangeHandler onChange);
/// Sets a font to the default settings (for fonts held as members).
KOVCHART_EXPORT void SetDefaultFont(TFont &font);
/// Throws ChartException "<description> Angle must be between 0 and 359
/// degrees" for angles outside 0..359.
KOVCHART_EXPORT void ValidateAngle(int value, const QString &description);
/// Brush set-up for filled shapes (walls, legend symbols): the canvas brush
/// takes colour and style, and the background mode follows the style. A hatch
/// whose colour equals the background is drawn white on black, black
/// otherwise.
KOVCHART_EXPORT void SetCanvasBrush(TChartCanvas &canvas, TColor color, TBrushStyle style,
                                    TColor background);

} // namespace kov
