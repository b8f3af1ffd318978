// The stamps' pictures: each drawn once by a painter set up as the canvas's
// buffer painter is, and read back as runs of opaque pixels.
#include "chart/canvas/stamp_cache.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace kov {

namespace {

using PixelRun = TStampCache::PixelRun;

// A stamp's painter: no antialiasing (as the buffer's), the pen, brush and
// background the buffer's painter has.
void SetUpStampPainter(QPainter &painter, const QPen &pen, const QBrush &brush,
                       Qt::BGMode backgroundMode, const QBrush &background)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.setBrush(brush);
    painter.setBackgroundMode(backgroundMode);
    painter.setBackground(background);
}

/// A transparent picture of width x height logical pixels at the buffer's
/// ratio, for a stamp (null when none can be made).
QImage NewStampImage(int width, int height, qreal ratio)
{
    const int wholeRatio = static_cast<int>(ratio);
    QImage image(width * wholeRatio, height * wholeRatio, QImage::Format_ARGB32_Premultiplied);
    if (!image.isNull()) {
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
    }
    return image;
}

/// The opaque pixels of an image as runs; false when some pixel is neither
/// opaque nor fully transparent.
bool OpaqueRuns(const QImage &image, std::vector<PixelRun> &runs)
{
    runs.clear();
    bool exact = true;
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int x = 0;
        while (x < width) {
            const int alpha = qAlpha(line[x]);
            if (alpha == 0) {
                ++x;
                continue;
            }
            if (alpha != 255)
                exact = false;
            const int start = x;
            while (x < width && qAlpha(line[x]) == 255)
                ++x;
            if (x == start)
                ++x;
            else
                runs.push_back(PixelRun{y, start, x - start});
        }
    }
    return exact;
}

/// Stamps of one kind kept at most; a full cache starts over.
constexpr std::size_t MaxStamps = 32;

} // namespace

void StrokeLine(QPainter &painter, const QPoint &from, const QPoint &to, QPointF shift,
                bool onePixel)
{
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    (xMajor ? shift.rx() : shift.ry()) = 0;
    const auto drawWhole = [&] {
        if (shift.isNull())
            painter.drawLine(from, to);
        else
            painter.drawLine(QLineF(QPointF(from) + shift, QPointF(to) + shift));
    };
    if (!onePixel) {
        drawWhole();
        return;
    }
    // The painter always leaves out the end with the larger major
    // coordinate, so a line running towards smaller coordinates is slid back
    // along itself by one step of its major axis.
    const int major = xMajor ? dx : dy;
    if (major > 0) {
        drawWhole();
        return;
    }
    const double steps = -major;
    const QPointF step(-dx / steps, -dy / steps);
    painter.drawLine(QLineF(QPointF(from) + step + shift, QPointF(to) + step + shift));
}

TStampCache::OutlineStamp *TStampCache::Outline(Shape shape, int width, int height, const QPen &pen,
                                                const QBrush &brush, Qt::BGMode backgroundMode,
                                                const QBrush &background, int margin, QPointF shift,
                                                qreal ratio)
{
    for (OutlineStamp &candidate : m_outlines) {
        if (candidate.Kind == shape && candidate.Width == width && candidate.Height == height &&
            candidate.Pen == pen && candidate.Brush == brush &&
            candidate.BackgroundMode == backgroundMode &&
            (backgroundMode != Qt::OpaqueMode || candidate.Background == background))
            return &candidate;
    }
    if (m_outlines.size() >= MaxStamps)
        m_outlines.clear();
    QImage image = NewStampImage(width + 1 + 2 * margin, height + 1 + 2 * margin, ratio);
    if (image.isNull())
        return nullptr;
    QPainter painter(&image);
    SetUpStampPainter(painter, pen, brush, backgroundMode, background);
    const QRect stampBox(margin, margin, width, height);
    if (shape == Shape::Rectangle && shift.isNull())
        painter.drawRect(stampBox);
    else if (shape == Shape::Rectangle)
        painter.drawRect(QRectF(stampBox).translated(shift));
    else if (shift.isNull())
        painter.drawEllipse(stampBox);
    else
        painter.drawEllipse(QRectF(stampBox).translated(shift));
    painter.end();
    std::vector<PixelRun> runs;
    const bool opaque = OpaqueRuns(image, runs);
    m_outlines.push_back(OutlineStamp{shape, width, height, pen, brush, backgroundMode, background,
                                      margin, std::move(image), opaque, std::move(runs)});
    return &m_outlines.back();
}

const TStampCache::OutlineStamp *TStampCache::KnownOutline(Shape shape, int width, int height,
                                                           const CanvasKey &key) const
{
    for (const OutlineStamp &stamp : m_outlines) {
        if (stamp.HasCanvasKey && stamp.Opaque && stamp.Kind == shape && stamp.Width == width &&
            stamp.Height == height && stamp.Canvas == key)
            return &stamp;
    }
    return nullptr;
}

const TStampCache::LineStamp *TStampCache::Line(const QPoint &extent, const QPen &pen,
                                                Qt::BGMode backgroundMode, const QBrush &background,
                                                int margin, QPointF shift, bool onePixel,
                                                qreal ratio)
{
    const auto found = std::find_if(m_lines.begin(), m_lines.end(), [&](const LineStamp &s) {
        return s.Extent == extent && s.Pen == pen && s.BackgroundMode == backgroundMode &&
               (backgroundMode != Qt::OpaqueMode || s.Background == background);
    });
    if (found != m_lines.end())
        return &*found;
    if (m_lines.size() >= MaxStamps)
        m_lines.clear();
    const QPoint start(margin + std::max(0, -extent.x()), margin + std::max(0, -extent.y()));
    QImage image = NewStampImage(std::abs(extent.x()) + 1 + 2 * margin,
                                 std::abs(extent.y()) + 1 + 2 * margin, ratio);
    if (image.isNull())
        return nullptr;
    {
        QPainter painter(&image);
        SetUpStampPainter(painter, pen, Qt::NoBrush, backgroundMode, background);
        StrokeLine(painter, start, start + extent, shift, onePixel);
    }
    std::vector<PixelRun> runs;
    const bool opaque = OpaqueRuns(image, runs);
    m_lines.push_back(LineStamp{extent, pen, backgroundMode, background, start, std::move(image),
                                opaque, std::move(runs)});
    return &m_lines.back();
}

const TStampCache::LineMask &TStampCache::Mask(int dx, int dy, int pattern, int ratio)
{
    const std::uint64_t key = (static_cast<std::uint64_t>(dx + 32768) << 32) |
                              (static_cast<std::uint64_t>(dy + 32768) << 16) |
                              static_cast<std::uint64_t>(pattern << 8 | ratio);
    const auto found = m_masks.find(key);
    if (found != m_masks.end())
        return found->second;
    constexpr std::size_t MaxMasks = 8192;
    if (m_masks.size() >= MaxMasks)
        m_masks.clear();
    // The line drawn once, as the canvas draws it, into a transparent
    // picture with a margin around it.
    constexpr int Margin = 4;
    QImage scratch((std::abs(dx) + 2 * Margin) * ratio, (std::abs(dy) + 2 * Margin) * ratio,
                   QImage::Format_ARGB32_Premultiplied);
    LineMask mask;
    if (scratch.isNull()) {
        mask.Exact = false;
        return m_masks.emplace(key, std::move(mask)).first->second;
    }
    scratch.setDevicePixelRatio(ratio);
    scratch.fill(Qt::transparent);
    const QPoint from(Margin + std::max(0, -dx), Margin + std::max(0, -dy));
    {
        QPainter painter(&scratch);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(TChartCanvas::OnePixelPen(
            Qt::black, static_cast<TPenStyle>(pattern == 5 ? 0 : pattern), pattern == 5));
        StrokeLine(painter, from, from + QPoint(dx, dy), ratio == 1 ? QPointF() : QPointF(0.5, 0.5),
                   true);
    }
    mask.Exact = OpaqueRuns(scratch, mask.Runs);
    for (PixelRun &run : mask.Runs) {
        run.Dy -= from.y() * ratio;
        run.X0 -= from.x() * ratio;
    }
    return m_masks.emplace(key, std::move(mask)).first->second;
}

void TStampCache::ForgetPictures()
{
    m_outlines.clear();
    m_lines.clear();
}

} // namespace kov
