#include "chart/canvas/face_stamps.h"

#include <QPainter>
#include <QPolygon>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace kov {

namespace {

/// Faces of more corners are left to the painter (solids, ribbons and
/// walls have three or four).
constexpr int MaxCorners = 4;
/// Faces wider or taller than this, in device pixels, are left to the
/// painter: the picture they are learnt from would be too large.
constexpr int MaxDeviceExtent = 2048;
/// Wider pens are left to the painter.
constexpr int MaxPenWidth = 8;
/// The painter clips a stroke's geometry to the picture (and to a clip
/// rectangle) a pixel or two beyond it, which may move its pixels: runs are
/// written only where the face's pixels keep this far inside.
constexpr int EdgeMargin = 3;
/// Bounds of the kept shapes: past this many shapes, or runs of them (10
/// bytes each, so 10 MB), all are dropped and learnt anew as they come back.
constexpr std::size_t MaxShapes = 8192;
/// Slots of the table of shapes: twice the most shapes, a power of two.
constexpr std::size_t SlotCount = 2 * MaxShapes;
constexpr std::size_t MaxRunsKept = std::size_t(1) << 20;
/// The marker colours a shape is learnt in.
constexpr QRgb FillMarker = 0xFFFF0000u;
constexpr QRgb OutlineMarker = 0xFF0000FFu;

bool Opaque(const QColor &color)
{
    return color.alpha() == 255;
}

/// Sets n pixels from p on to colour. Runs of a face are mostly an outline
/// pixel or two and fills of a few pixels to a few dozen: short runs are
/// written in two overlapping stores, longer ones four pixels at a time.
inline void FillRun(QRgb *p, int n, QRgb colour)
{
    const QRgb block[4] = {colour, colour, colour, colour};
    if (n >= 8) {
        QRgb *const end = p + n;
        for (; p + 4 <= end; p += 4)
            std::memcpy(p, block, sizeof block);
        if (p < end)
            std::memcpy(end - 4, block, sizeof block);
    } else if (n >= 4) {
        std::memcpy(p, block, sizeof block);
        std::memcpy(p + n - 4, block, sizeof block);
    } else if (n >= 2) {
        std::memcpy(p, block, 2 * sizeof(QRgb));
        std::memcpy(p + n - 2, block, 2 * sizeof(QRgb));
    } else if (n == 1) {
        *p = colour;
    }
}

} // namespace

TFaceStamps::PenTraits TFaceStamps::TraitsOf(const QPen &pen)
{
    PenTraits traits;
    traits.Outlined = pen.style() != Qt::NoPen;
    if (!traits.Outlined) {
        traits.Usable = true;
        return traits;
    }
    traits.Usable = pen.style() == Qt::SolidLine && pen.brush().style() == Qt::SolidPattern &&
                    Opaque(pen.color()) && pen.widthF() == pen.width() &&
                    pen.width() <= MaxPenWidth && pen.miterLimit() == 2;
    traits.Width = pen.width();
    traits.Colour = pen.color().rgba();
    traits.KeyBits = std::uint64_t(traits.Width + 1) | std::uint64_t(pen.capStyle()) |
                     std::uint64_t(pen.joinStyle()) | std::uint64_t(pen.isCosmetic()) << 9;
    return traits;
}

bool TFaceStamps::MakeKey(const Face &face, Key &key) const
{
    // Flags in the low half of the first word (the pen's width below bit 4,
    // its cap and join styles distinct bits from 0x10 to 0x100), the first
    // offset in its high half, the other two in the second word.
    key[0] = m_penTraits.KeyBits | std::uint64_t(face.Count) << 13 |
             std::uint64_t(face.Ratio) << 16 | std::uint64_t(face.Filled) << 20 |
             std::uint64_t(face.Shift.x() != 0) << 21 | std::uint64_t(face.Shift.y() != 0) << 22;
    key[1] = 0;
    const QPoint first = face.Points[0];
    int left = 0, right = 0, top = 0, bottom = 0;
    for (int i = 1; i < face.Count; ++i) {
        const QPoint d = face.Points[i] - first;
        left = std::min(left, d.x());
        right = std::max(right, d.x());
        top = std::min(top, d.y());
        bottom = std::max(bottom, d.y());
        const std::uint64_t offset =
            std::uint64_t(std::uint16_t(d.x())) | std::uint64_t(std::uint16_t(d.y())) << 16;
        if (i == 1)
            key[0] |= offset << 32;
        else
            key[1] |= offset << (32 * (i - 2));
    }
    return (right - left + 1) * face.Ratio <= MaxDeviceExtent &&
           (bottom - top + 1) * face.Ratio <= MaxDeviceExtent;
}

TFaceStamps::Slot &TFaceStamps::SlotOf(const Key &key)
{
    if (m_slots.empty())
        m_slots.assign(SlotCount, Slot{{}, -1});
    std::uint64_t h = (key[0] ^ (key[1] * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
    std::size_t at = static_cast<std::size_t>(h >> 32) & (SlotCount - 1);
    // Never full: shapes are dropped at half the slots.
    while (m_slots[at].Index >= 0 && m_slots[at].ShapeKey != key)
        at = (at + 1) & (SlotCount - 1);
    return m_slots[at];
}

void TFaceStamps::DropShapes()
{
    m_shapes.clear();
    m_runsKept = 0;
    std::fill(m_slots.begin(), m_slots.end(), Slot{{}, -1});
}

TFaceStamps::Shape TFaceStamps::Learn(const Face &face)
{
    Shape shape;
    const QPen &pen = *face.Pen;
    const bool outlined = pen.style() != Qt::NoPen;
    const int ratio = face.Ratio;
    const QRect bounds =
        QPolygon(QList<QPoint>(face.Points, face.Points + face.Count)).boundingRect();
    const int margin = EdgeMargin + (outlined ? pen.width() : 0);
    QImage picture((bounds.width() + 2 * margin) * ratio, (bounds.height() + 2 * margin) * ratio,
                   QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return shape;
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    const QPoint move = QPoint(margin, margin) - bounds.topLeft();
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing, false);
        QPen marker = pen;
        if (outlined)
            marker.setColor(QColor::fromRgba(OutlineMarker));
        painter.setPen(marker);
        painter.setBrush(face.Filled ? QBrush(QColor::fromRgba(FillMarker)) : QBrush(Qt::NoBrush));
        // The corners as the canvas gives them to the painter, moved by
        // whole pixels.
        QPolygonF corners(face.Count);
        for (int i = 0; i < face.Count; ++i)
            corners[i] = QPointF(face.Points[i] + move) + face.Shift;
        if (face.Shift.isNull())
            painter.drawPolygon(corners.toPolygon(), Qt::OddEvenFill);
        else
            painter.drawPolygon(corners, Qt::OddEvenFill);
    }
    const QPoint origin = (face.Points[0] + move) * ratio;
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        int x = 0;
        while (x < picture.width()) {
            const QRgb pixel = line[x];
            if (pixel == 0) {
                ++x;
                continue;
            }
            if (pixel != FillMarker && pixel != OutlineMarker)
                return shape;
            // Outline, fill, outline, each possibly empty, but not all.
            const int start = x;
            std::uint16_t lengths[3] = {0, 0, 0};
            for (int part = pixel == OutlineMarker ? 0 : 1; part < 3; ++part) {
                const QRgb marker = part == 1 ? FillMarker : OutlineMarker;
                const int from = x;
                while (x < picture.width() && line[x] == marker)
                    ++x;
                lengths[part] = std::uint16_t(x - from);
            }
            shape.Runs.push_back(Run{std::int16_t(y - origin.y()), std::int16_t(start - origin.x()),
                                     lengths[0], lengths[1], lengths[2]});
            shape.Box |= QRect(start, y, x - start, 1).translated(-origin);
        }
    }
    shape.Exact = true;
    return shape;
}

bool TFaceStamps::Draw(const Target &target, const Face &face, ClipKind clip, const QRect &clipRect)
{
    if (face.Count < 3 || face.Count > MaxCorners || face.Ratio < 1 || face.Ratio > 8)
        return false;
    if (!m_penKnown || !(*face.Pen == m_pen)) {
        m_pen = *face.Pen;
        m_penTraits = TraitsOf(m_pen);
        m_penKnown = true;
    }
    const bool outlined = m_penTraits.Outlined;
    const bool filled = face.Filled;
    if (!m_penTraits.Usable || (filled && qAlpha(face.Fill) != 255) || (!outlined && !filled))
        return false;
    Key key;
    if (!MakeKey(face, key))
        return false;
    // A shape is learnt when it comes back: the first time only its key is
    // kept and the painter draws it, so that a picture of shapes that never
    // repeat costs no more than before.
    Slot *slot = &SlotOf(key);
    if (slot->Index < 0) {
        if (m_shapes.size() >= MaxShapes || m_runsKept >= MaxRunsKept) {
            DropShapes();
            slot = &SlotOf(key);
        }
        m_shapes.emplace_back();
        *slot = Slot{key, static_cast<int>(m_shapes.size()) - 1};
        return false;
    }
    Shape &shape = m_shapes[static_cast<std::size_t>(slot->Index)];
    if (!shape.Seen) {
        shape = Learn(face);
        shape.Seen = true;
        ++m_learnt;
        m_runsKept += shape.Runs.size();
    }
    if (!shape.Exact)
        return false;
    const QPoint origin = face.Points[0] * face.Ratio;
    if (!shape.Runs.empty()) {
        const QRect pixels = shape.Box.translated(origin);
        const QRect box = pixels.adjusted(-EdgeMargin, -EdgeMargin, EdgeMargin, EdgeMargin);
        if (!QRect(QPoint(0, 0), target.Size).contains(box))
            return false;
        if (clip == ClipKind::Rectangle &&
            !QRect(clipRect.topLeft() * face.Ratio, clipRect.size() * face.Ratio).contains(box))
            return false;
        bool regionClip = false;
        if (clip == ClipKind::Region) {
            BuildSpans(target.Size, face.Ratio);
            regionClip = !InsideRegion(pixels);
        }
        const QRgb outline = outlined ? m_penTraits.Colour : 0;
        const QRgb fill = filled ? face.Fill : 0;
        Write(target, shape, origin, fill, outline, regionClip);
    }
    ++m_used;
    return true;
}

void TFaceStamps::WriteRun(QRgb *p, const Run &run, QRgb fill, QRgb outline)
{
    // The fill across the whole run, then its outline pixels (mostly one at
    // either end) over it: fewer branches than three runs of any length.
    if (run.Fill == 0) {
        FillRun(p, run.Before, outline);
        return;
    }
    const int length = run.Before + run.Fill + run.After;
    FillRun(p, length, fill);
    for (int k = 0; k < run.Before; ++k)
        p[k] = outline;
    for (int k = length - run.After; k < length; ++k)
        p[k] = outline;
}

void TFaceStamps::Write(const Target &target, const Shape &shape, const QPoint &origin, QRgb fill,
                        QRgb outline, bool regionClip) const
{
    // The run's three parts, within [left, right).
    const auto put = [&](QRgb *row, int x, const Run &run, int left, int right) {
        if (x >= left && x + run.Before + run.Fill + run.After <= right) {
            WriteRun(row + x, run, fill, outline);
            return;
        }
        const int ends[4] = {x, x + run.Before, x + run.Before + run.Fill,
                             x + run.Before + run.Fill + run.After};
        for (int part = 0; part < 3; ++part) {
            const int from = std::max(ends[part], left);
            const int to = std::min(ends[part + 1], right);
            if (from < to)
                FillRun(row + from, to - from, part == 1 ? fill : outline);
        }
    };
    for (const Run &run : shape.Runs) {
        const int y = origin.y() + run.Dy;
        auto *row = reinterpret_cast<QRgb *>(target.Bits + y * target.BytesPerLine);
        const int x = origin.x() + run.X0;
        if (!regionClip) {
            WriteRun(row + x, run, fill, outline);
            continue;
        }
        // Most rows of a convex clip are one span (level 0 of the tables).
        if (m_innerLeft[y] < m_innerRight[y]) {
            put(row, x, run, m_innerLeft[y], m_innerRight[y]);
            continue;
        }
        for (int s = m_rowStart[y]; s < m_rowStart[y + 1]; s += 2)
            put(row, x, run, m_spans[s], m_spans[s + 1]);
    }
}

void TFaceStamps::SetClipRegion(const QRegion &region)
{
    m_region = region;
    m_spansValid = false;
}

void TFaceStamps::IntersectClipRegion(const QRect &rect)
{
    m_region &= rect;
    m_spansValid = false;
}

void TFaceStamps::BuildSpans(const QSize &size, int ratio)
{
    if (m_spansValid && m_spansSize == size && m_spansRatio == ratio)
        return;
    const int height = size.height();
    const QRect picture(QPoint(0, 0), size);
    m_rowStart.assign(static_cast<std::size_t>(height) + 1, 0);
    // The region's rectangles come in bands from the top, left to right
    // within a band, so each row's spans are counted, then written, in
    // order.
    for (const QRect &r : m_region) {
        const QRect device = QRect(r.topLeft() * ratio, r.size() * ratio) & picture;
        for (int y = device.top(); y <= device.bottom(); ++y)
            m_rowStart[y + 1] += 2;
    }
    for (int y = 0; y < height; ++y)
        m_rowStart[y + 1] += m_rowStart[y];
    m_spans.assign(static_cast<std::size_t>(m_rowStart[height]), 0);
    std::vector<int> next(m_rowStart.begin(), m_rowStart.end() - 1);
    for (const QRect &r : m_region) {
        const QRect device = QRect(r.topLeft() * ratio, r.size() * ratio) & picture;
        for (int y = device.top(); y <= device.bottom(); ++y) {
            m_spans[next[y]++] = device.left();
            m_spans[next[y]++] = device.right() + 1;
        }
    }
    // Rows of one span keep its ends; other rows enclose nothing. Level k
    // of the tables holds, for each row, the largest left end and the
    // smallest right end of the 2^k rows from it on.
    const std::size_t rows = std::size_t(height);
    m_innerLeft.assign(rows, std::numeric_limits<int>::max());
    m_innerRight.assign(rows, std::numeric_limits<int>::min());
    for (std::size_t y = 0; y < rows; ++y) {
        if (m_rowStart[y + 1] - m_rowStart[y] == 2) {
            m_innerLeft[y] = m_spans[std::size_t(m_rowStart[y])];
            m_innerRight[y] = m_spans[std::size_t(m_rowStart[y]) + 1];
        }
    }
    for (std::size_t level = 1; (std::size_t(1) << level) <= rows; ++level) {
        const std::size_t below = (level - 1) * rows;
        const std::size_t half = std::size_t(1) << (level - 1);
        m_innerLeft.resize((level + 1) * rows, std::numeric_limits<int>::max());
        m_innerRight.resize((level + 1) * rows, std::numeric_limits<int>::min());
        for (std::size_t y = 0; y + 2 * half <= rows; ++y) {
            m_innerLeft[level * rows + y] =
                std::max(m_innerLeft[below + y], m_innerLeft[below + y + half]);
            m_innerRight[level * rows + y] =
                std::min(m_innerRight[below + y], m_innerRight[below + y + half]);
        }
    }
    m_spansValid = true;
    m_spansSize = size;
    m_spansRatio = ratio;
}

bool TFaceStamps::InsideRegion(const QRect &box) const
{
    const int rows = box.height();
    std::size_t level = 0;
    while ((2 << level) <= rows)
        ++level;
    const std::size_t height = std::size_t(m_spansSize.height());
    const std::size_t top = level * height + std::size_t(box.top());
    const std::size_t bottom = level * height + std::size_t(box.bottom() + 1 - (1 << level));
    return std::max(m_innerLeft[top], m_innerLeft[bottom]) <= box.left() &&
           std::min(m_innerRight[top], m_innerRight[bottom]) > box.right();
}

} // namespace kov
