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

/// Faces of more corners are left to the painter (solids have three or
/// four; the key holds the offsets of five corners from the first).
constexpr int MaxCorners = 6;
/// Faces wider or taller than this, in device pixels, are left to the
/// painter: the picture they are learnt from would be too large.
constexpr int MaxDeviceExtent = 2048;
/// Wider pens are left to the painter.
constexpr int MaxPenWidth = 8;
/// The painter clips a stroke's geometry to the picture (and to a clip
/// rectangle) a pixel or two beyond it, which may move its pixels: runs are
/// written only where the face's pixels keep this far inside.
constexpr int EdgeMargin = 3;
/// Bounds of the kept shapes: past this many shapes, or runs of them (8
/// bytes each, so 8 MB), all are dropped and learnt anew as they come back.
constexpr std::size_t MaxShapes = 8192;
constexpr std::size_t MaxRunsKept = std::size_t(1) << 20;
/// The marker colours a shape is learnt in.
constexpr QRgb FillMarker = 0xFFFF0000u;
constexpr QRgb OutlineMarker = 0xFF0000FFu;

bool Opaque(const QColor &color)
{
    return color.alpha() == 255;
}

/// Sets n pixels from p on to colour: runs of a face's fill are mostly a
/// few pixels to a few dozen, written four at a time.
inline void FillRun(QRgb *p, int n, QRgb colour)
{
    if (n < 8) {
        for (int i = 0; i < n; ++i)
            p[i] = colour;
        return;
    }
    const QRgb block[4] = {colour, colour, colour, colour};
    QRgb *const end = p + n;
    for (; p + 4 <= end; p += 4)
        std::memcpy(p, block, sizeof block);
    if (p < end)
        std::memcpy(end - 4, block, sizeof block);
}

} // namespace

std::size_t TFaceStamps::KeyHash::operator()(const Key &key) const
{
    std::uint64_t h = 0x9E3779B97F4A7C15ull;
    for (const std::uint64_t word : key) {
        h ^= word + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
        h *= 0xBF58476D1CE4E5B9ull;
    }
    return static_cast<std::size_t>(h ^ (h >> 31));
}

bool TFaceStamps::MakeKey(const Face &face, Key &key)
{
    const QPen &pen = *face.Pen;
    const bool outlined = pen.style() != Qt::NoPen;
    const int penWidth = outlined ? pen.width() : -1;
    key = {};
    key[0] =
        std::uint64_t(face.Count) | std::uint64_t(face.Ratio) << 8 |
        std::uint64_t(penWidth + 1) << 16 | std::uint64_t(outlined ? pen.capStyle() : 0) << 24 |
        std::uint64_t(outlined ? pen.joinStyle() : 0) << 32 |
        std::uint64_t(outlined && pen.isCosmetic()) << 40 | std::uint64_t(face.Filled) << 41 |
        std::uint64_t(face.Shift.x() * 2 + 4) << 44 | std::uint64_t(face.Shift.y() * 2 + 4) << 52;
    const QPoint first = face.Points[0];
    int left = 0, right = 0, top = 0, bottom = 0;
    for (int i = 1; i < face.Count; ++i) {
        const QPoint d = face.Points[i] - first;
        left = std::min(left, d.x());
        right = std::max(right, d.x());
        top = std::min(top, d.y());
        bottom = std::max(bottom, d.y());
        if ((right - left + 1) * face.Ratio > MaxDeviceExtent ||
            (bottom - top + 1) * face.Ratio > MaxDeviceExtent)
            return false;
        // Offsets as 16 bits each, four to a word.
        const int slot = 2 * (i - 1);
        key[1 + slot / 4] |= std::uint64_t(std::uint16_t(d.x())) << (16 * (slot % 4));
        key[1 + (slot + 1) / 4] |= std::uint64_t(std::uint16_t(d.y())) << (16 * ((slot + 1) % 4));
    }
    return true;
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
            const int start = x;
            while (x < picture.width() && line[x] == pixel)
                ++x;
            shape.Runs.push_back(Run{std::int16_t(y - origin.y()), std::int16_t(start - origin.x()),
                                     std::uint16_t(x - start),
                                     std::uint16_t(pixel == OutlineMarker)});
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
    const QPen &pen = *face.Pen;
    const bool outlined = pen.style() != Qt::NoPen;
    const bool filled = face.Filled;
    if (outlined && (pen.style() != Qt::SolidLine || pen.brush().style() != Qt::SolidPattern ||
                     !Opaque(pen.color()) || pen.widthF() != pen.width() ||
                     pen.width() > MaxPenWidth || pen.miterLimit() != 2))
        return false;
    if (filled && qAlpha(face.Fill) != 255)
        return false;
    if (!outlined && !filled)
        return false;
    Key key;
    if (!MakeKey(face, key))
        return false;
    auto found = m_shapes.find(key);
    if (found == m_shapes.end()) {
        if (m_shapes.size() >= MaxShapes || m_runsKept >= MaxRunsKept) {
            m_shapes.clear();
            m_runsKept = 0;
        }
        Shape shape = Learn(face);
        ++m_learnt;
        m_runsKept += shape.Runs.size();
        found = m_shapes.emplace(key, std::move(shape)).first;
    }
    const Shape &shape = found->second;
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
        const QRgb outline = outlined ? pen.color().rgba() : 0;
        const QRgb fill = filled ? face.Fill : 0;
        Write(target, shape, origin, fill, outline, regionClip);
    }
    ++m_used;
    return true;
}

void TFaceStamps::Write(const Target &target, const Shape &shape, const QPoint &origin, QRgb fill,
                        QRgb outline, bool regionClip) const
{
    for (const Run &run : shape.Runs) {
        const int y = origin.y() + run.Dy;
        auto *row = reinterpret_cast<QRgb *>(target.Bits + y * target.BytesPerLine);
        const int x0 = origin.x() + run.X0;
        const int x1 = x0 + run.Length;
        const QRgb colour = run.Outline ? outline : fill;
        if (!regionClip) {
            FillRun(row + x0, run.Length, colour);
            continue;
        }
        for (int s = m_rowStart[y]; s < m_rowStart[y + 1]; s += 2) {
            const int left = std::max(x0, m_spans[s]);
            const int right = std::min(x1, m_spans[s + 1]);
            if (left < right)
                FillRun(row + left, right - left, colour);
        }
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
