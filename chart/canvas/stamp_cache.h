#pragma once

#include "chart/canvas/chart_canvas.h"

#include <QBrush>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace kov {

/// Strokes a line with the painter's pen by the canvas's rule: a one-pixel
/// line covers its start and leaves out its end; on a dense surface it moves
/// by shift across its direction only, so that its ends stay where they are
/// at ratio 1.
void StrokeLine(QPainter &painter, const QPoint &from, const QPoint &to, QPointF shift,
                bool onePixel);

/// The stamps of a canvas: small shapes, short lines and one-pixel line masks
/// the painter drew once into pictures of their own, so that the canvas can
/// copy their pixels wherever the same shape is drawn again. Each picture is
/// found by everything that decides its pixels; the canvas decides when a
/// copy gives the painter's pixels and does the copying.
class TStampCache
{
public:
    using PixelRun = TChartCanvas::PixelRun;

    /// The outlined shapes kept as stamps.
    enum class Shape { Ellipse, Rectangle };

    /// The canvas pen, brush and background an outline stamp was drawn
    /// with: equal ones give the same Qt pen and brush, so the stamp is found
    /// without realising them.
    struct CanvasKey
    {
        TColor PenColor;
        int PenWidth;
        TPenStyle PenStyle;
        bool SmallDots;
        TColor BrushColor;
        TBrushStyle BrushStyle;
        int BackgroundMode;
        TColor BackgroundColor;
        friend bool operator==(const CanvasKey &, const CanvasKey &) = default;
    };

    /// One small ellipse or rectangle drawn once into a transparent picture:
    /// its shape, its size and the Qt pen, brush and background it was drawn
    /// with are its key, so any change of them finds (or draws) another
    /// picture.
    struct OutlineStamp
    {
        Shape Kind;
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
        CanvasKey Canvas{};
    };

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

    /// The pixels a one-pixel line of a given extent and dash pattern sets,
    /// found by letting the painter draw it once: the same line at any whole
    /// position sets the same pixels moved along.
    struct LineMask
    {
        bool Exact = true;
        std::vector<PixelRun> Runs;
    };

    /// How many shapes were drawn from stamps (pictures drawn once and
    /// copied), by kind, since the canvas was made.
    struct Use
    {
        int Outlines = 0;
        int Lines = 0;
        int Texts = 0;
    };

    /// The stamp of a shape whose box is width x height in the painter's
    /// pen, brush and background, drawn with margin transparent pixels
    /// around it, moved by shift, at the device pixel ratio (a whole number),
    /// on first use; null when no picture can be made.
    OutlineStamp *Outline(Shape shape, int width, int height, const QPen &pen, const QBrush &brush,
                          Qt::BGMode backgroundMode, const QBrush &background, int margin,
                          QPointF shift, qreal ratio);
    /// The opaque stamp of the shape and size drawn before with the canvas
    /// state of key; null when there is none.
    const OutlineStamp *KnownOutline(Shape shape, int width, int height,
                                     const CanvasKey &key) const;
    bool HasOutlines() const { return !m_outlines.empty(); }

    /// The stamp of the line of the given extent in the painter's pen and
    /// background (see StrokeLine for shift and onePixel), drawn on first
    /// use; null when no picture can be made.
    const LineStamp *Line(const QPoint &extent, const QPen &pen, Qt::BGMode backgroundMode,
                          const QBrush &background, int margin, QPointF shift, bool onePixel,
                          qreal ratio);

    /// The mask of a one-pixel line from (0, 0) to (dx, dy) in a dash pattern
    /// (0 solid, 1 to 4 the dashed styles, 5 small dots) at a whole device
    /// pixel ratio, found by drawing it on first use.
    const LineMask &Mask(int dx, int dy, int pattern, int ratio);

    /// Drops the outline and line stamps: they are pictures in device pixels
    /// of one ratio. The masks are kept by ratio.
    void ForgetPictures();

    const Use &Used() const { return m_use; }
    void CountOutline() { ++m_use.Outlines; }
    void CountLine() { ++m_use.Lines; }
    void CountText() { ++m_use.Texts; }

private:
    std::vector<OutlineStamp> m_outlines;
    std::vector<LineStamp> m_lines;
    /// One-pixel line masks by extent, pattern and ratio.
    std::unordered_map<std::uint64_t, LineMask> m_masks;
    Use m_use;
};

} // namespace kov
