#pragma once

#include "chart/kovchart_export.h"

#include <QImage>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <array>
#include <cstdint>
#include <vector>

namespace kov {

/// The faces of 3D solids, ribbons and walls (polygons of a few corners
/// with a solid fill and a solid outline), written straight into an image's
/// pixels. Qt's raster painter sets the same pixels for a polygon with whole
/// corners wherever it is moved by whole device pixels, so each shape (its
/// corners relative to the first, its pen and fill, the device pixel ratio)
/// is drawn by the painter once, in two marker colours, into a small
/// picture; its fill and outline pixels are kept as runs per row and
/// written with the real colours afterwards. Filling a face that way costs
/// what writing its pixels costs, where the painter spends most of its time
/// setting up every polygon.
class KOVCHART_EXPORT TFaceStamps
{
public:
    /// One face to draw: its corners (logical pixels), the painter's pen,
    /// its fill (none, or an opaque colour in a solid brush), the device
    /// pixel ratio and the offset the painter's stroke is drawn at (see
    /// TChartCanvas3D::StrokeShift).
    struct Face
    {
        const QPoint *Points = nullptr;
        int Count = 0;
        const QPen *Pen = nullptr;
        bool Filled = false;
        QRgb Fill = 0;
        int Ratio = 1;
        QPointF Shift;
    };
    /// The pixels to write into: 32-bit premultiplied rows.
    struct Target
    {
        uchar *Bits = nullptr;
        qsizetype BytesPerLine = 0;
        QSize Size;
    };
    /// The painter's clip: none, a rectangle, or the region given to
    /// SetClipRegion (possibly narrowed by IntersectClipRegion).
    enum class ClipKind { None, Rectangle, Region };

    /// Draws the face into the target as the aliased raster painter, with
    /// no transform but the ratio's scale and copying composition, would;
    /// false when that cannot be done exactly (a pen other than solid and
    /// opaque, a face too large, too close to the picture's edge
    /// or, for a rectangle clip, crossing the clip), and the painter must
    /// draw it.
    bool Draw(const Target &target, const Face &face, ClipKind clip, const QRect &clipRect);

    /// The clip region (logical pixels) the painter was given.
    void SetClipRegion(const QRegion &region);
    /// The clip region narrowed to a rectangle, as the painter's is.
    void IntersectClipRegion(const QRect &rect);

    /// Faces written from runs, and shapes drawn by the painter to learn
    /// them, since the object was made.
    int Used() const { return m_used; }
    int Learnt() const { return m_learnt; }

private:
    /// Pixels of one device row, from X0 relative to the face's first
    /// corner: Before outline pixels, then Fill fill pixels, then After
    /// outline pixels, side by side (a row of a convex face is mostly one
    /// such run: its two edges around its inside).
    struct Run
    {
        std::int16_t Dy;
        std::int16_t X0;
        std::uint16_t Before;
        std::uint16_t Fill;
        std::uint16_t After;
    };
    /// One shape's pixels: runs in rows from the top, their box relative to
    /// the first corner (device pixels), and whether the painter's picture
    /// held only the two marker colours.
    struct Shape
    {
        /// False while the shape was met once and not learnt.
        bool Seen = false;
        bool Exact = false;
        QRect Box;
        std::vector<Run> Runs;
    };
    /// A shape's key: the corner count, ratio, pen, fill and stroke
    /// offset, and the three other corners' offsets from the first.
    using Key = std::array<std::uint64_t, 2>;
    /// A slot of the open-addressed table of shapes (Index -1: empty).
    struct Slot
    {
        Key ShapeKey;
        int Index;
    };
    /// What a shape's key and writing take from the painter's pen, worked
    /// out again only when the pen changes.
    struct PenTraits
    {
        bool Usable = false;
        bool Outlined = false;
        int Width = 0;
        std::uint64_t KeyBits = 0;
        QRgb Colour = 0;
    };
    static PenTraits TraitsOf(const QPen &pen);
    /// The clip region's spans per device row: row y covers
    /// m_spans[m_rowStart[y] .. m_rowStart[y + 1]), pairs of [left, right).
    void BuildSpans(const QSize &size, int ratio);
    /// Whether the clip region covers every pixel of the box (device
    /// pixels within the picture).
    bool InsideRegion(const QRect &box) const;

    bool MakeKey(const Face &face, Key &key) const;
    /// The slot of a key: its own, or the empty one where it goes.
    Slot &SlotOf(const Key &key);
    void DropShapes();
    static Shape Learn(const Face &face);
    static void WriteRun(QRgb *p, const Run &run, QRgb fill, QRgb outline);
    void Write(const Target &target, const Shape &shape, const QPoint &origin, QRgb fill,
               QRgb outline, bool regionClip) const;

    std::vector<Slot> m_slots;
    std::vector<Shape> m_shapes;
    QPen m_pen;
    PenTraits m_penTraits;
    bool m_penKnown = false;
    std::size_t m_runsKept = 0;
    QRegion m_region;
    bool m_spansValid = false;
    QSize m_spansSize;
    int m_spansRatio = 0;
    std::vector<int> m_rowStart;
    std::vector<int> m_spans;
    /// Sparse tables over the rows the region covers with one span:
    /// InsideRegion looks up any band of rows in two reads.
    std::vector<int> m_innerLeft;
    std::vector<int> m_innerRight;
    int m_used = 0;
    int m_learnt = 0;
};

} // namespace kov
