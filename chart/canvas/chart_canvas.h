#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/canvas/graphics.h"
#include "chart/canvas/rect.h"
#include "chart/color.h"
#include "chart/kovchart_export.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

// The drawing surface of a chart: a QPainter ("surface") with the pen, brush
// and font the chart sets, applied to the painter before the next drawing
// operation, and the measuring of text in the canvas font.
//
// Pixel conventions follow the engine's rectangles: right and bottom edges are
// exclusive (a rectangle or ellipse with corners (x1, y1), (x2, y2) covers
// columns x1..x2-1), and a line from a to b covers a but not b.
namespace kov {

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

    /// The Qt pen of a one-pixel chart pen: flat ends, the style's dashes,
    /// or one pixel on and one off for small dots.
    static QPen OnePixelPen(const QColor &color, TPenStyle style, bool smallDots);
    /// A run of device pixels of one row, relative to an origin.
    struct PixelRun
    {
        int Dy;
        int X0;
        int Length;
    };
    /// What the next drawing operation takes from the canvas besides its pen,
    /// brush and font (a saved layer keeps a copy).
    struct DrawState
    {
        bool SmallDotsPen = false;
        TColor BackgroundColor = clWhite;
        int BackgroundMode = bmTransparent;
        unsigned TextAlignment = taLeft | taTop;
    };

protected:
    /// Applies changed pen, brush and font to the painter; false when there is
    /// no surface.
    bool Realize();
    /// The composition the painter draws with once the canvas pen is
    /// realised (the painter's own while no pen change is pending).
    QPainter::CompositionMode RealizedCompositionMode() const;
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
