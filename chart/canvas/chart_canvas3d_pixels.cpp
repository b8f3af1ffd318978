// TChartCanvas3D: one-pixel lines and stamps written straight into the
// buffer's pixels.
//
// The pixels are the painter's own: a line's pixels are taken from the
// painter drawing the same line once (the stamp cache's masks), a stamp's from the picture
// the painter drew. What is done here is only the copying, under the device
// pixel rule of the buffer: at a whole ratio r the device pixels of logical
// position p start at r p, so a picture found at one position is the picture
// at any other position moved by whole device pixels.
#include "chart/canvas/chart_canvas3d.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kov {

namespace {

/// Longest line extent copied from a mask (longer lines are left to the
/// painter; no chart draws them).
constexpr int MaxMaskExtent = 4096;
/// Pictures at ratios above this are left to the painter.
constexpr int MaxPixelRatio = 8;

} // namespace

bool TChartCanvas3D::CanWritePixels() const
{
    return m_surface && m_surface == m_bufferPainter.get() && !m_buffer.isNull() &&
           m_buffer.format() == QImage::Format_ARGB32_Premultiplied &&
           m_ratio == std::floor(m_ratio) && m_ratio >= 1 && m_ratio <= MaxPixelRatio &&
           (!m_clipped || m_clipIsRect) && m_surface->worldTransform().type() == QTransform::TxNone;
}

bool TChartCanvas3D::InsideDrawingArea(const QRect &rect) const
{
    const int ratio = static_cast<int>(m_ratio);
    const QRect image(0, 0, m_buffer.width() / ratio, m_buffer.height() / ratio);
    return Encloses(image, rect) && (!m_clipped || Encloses(m_clipRect, rect));
}

bool TChartCanvas3D::OutsideDrawingArea(const QRect &rect) const
{
    // Only in the canvas's own buffer is everything the painter may touch
    // known: the buffer's pixels, within the clip the canvas set.
    if (!m_surface || m_surface != m_bufferPainter.get() || m_buffer.isNull() ||
        m_surface->worldTransform().type() != QTransform::TxNone)
        return false;
    QRect visible = m_bufferArea;
    if (m_clipped && m_clipIsRect)
        visible &= m_clipRect;
    return !visible.intersects(rect);
}

int TChartCanvas3D::OnePixelPattern() const
{
    if (m_pen.Style() == psClear || m_pen.Width() > 1 || m_pen.Mode() != pmCopy)
        return -1;
    int pattern = 0;
    if (m_state.SmallDotsPen)
        pattern = 5;
    else if (m_pen.Style() >= psDash && m_pen.Style() <= psDashDotDot)
        pattern = m_pen.Style();
    // An opaque background fills the gaps of a dashed line as well.
    if (pattern != 0 && m_state.BackgroundMode == bmOpaque)
        return -1;
    return pattern;
}

bool TChartCanvas3D::CopyLinePixels(const QPoint &from, const QPoint &to)
{
    const int pattern = OnePixelPattern();
    if (pattern < 0 || !CanWritePixels())
        return false;
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    if (std::abs(dx) > MaxMaskExtent || std::abs(dy) > MaxMaskExtent)
        return false;
    // Well inside the picture and the clip, where the painter clips nothing
    // off the line.
    if (!InsideDrawingArea(QRect(from, to).normalized().adjusted(-2, -2, 2, 2)))
        return false;
    const TStampCache::LineMask &mask = m_stamps.Mask(dx, dy, pattern, static_cast<int>(m_ratio));
    if (!mask.Exact)
        return false;
    const QRgb colour = ToQColor(m_pen.Color()).rgba();
    if (qAlpha(colour) != 255)
        return false;
    const int ratio = static_cast<int>(m_ratio);
    // The painter writes into the same memory: the buffer is not detached.
    uchar *bits = const_cast<uchar *>(m_buffer.constBits());
    const qsizetype bytesPerLine = m_buffer.bytesPerLine();
    const int originX = from.x() * ratio;
    const int originY = from.y() * ratio;
    for (const PixelRun &run : mask.Runs) {
        auto *pixel =
            reinterpret_cast<QRgb *>(bits + (originY + run.Dy) * bytesPerLine) + originX + run.X0;
        std::fill_n(pixel, run.Length, colour);
    }
    return true;
}

bool TChartCanvas3D::FillPixels(const QRect &rect)
{
    if (!CanWritePixels() || m_surface->compositionMode() != QPainter::CompositionMode_SourceOver ||
        m_surface->opacity() != 1.0)
        return false;
    const QBrush &brush = m_surface->brush();
    if (brush.style() != Qt::SolidPattern || brush.color().alpha() != 255)
        return false;
    // Whole device pixels: the logical rectangle at the ratio, within the
    // buffer and the clip.
    const int ratio = static_cast<int>(m_ratio);
    QRect device(rect.topLeft() * ratio, rect.size() * ratio);
    device &= QRect(QPoint(0, 0), m_buffer.size());
    if (m_clipped)
        device &= QRect(m_clipRect.topLeft() * ratio, m_clipRect.size() * ratio);
    if (device.isEmpty())
        return true;
    const QRgb colour = brush.color().rgba();
    // The painter writes into the same memory: the buffer is not detached.
    uchar *bits = const_cast<uchar *>(m_buffer.constBits());
    const qsizetype bytesPerLine = m_buffer.bytesPerLine();
    for (int y = device.top(); y <= device.bottom(); ++y)
        std::fill_n(reinterpret_cast<QRgb *>(bits + y * bytesPerLine) + device.left(),
                    device.width(), colour);
    return true;
}

bool TChartCanvas3D::CopyStampPixels(const QImage &image, const std::vector<PixelRun> &runs,
                                     const QPoint &topLeft)
{
    if (!CanWritePixels())
        return false;
    const int ratio = static_cast<int>(m_ratio);
    const QRect logical(topLeft, image.deviceIndependentSize().toSize());
    const QRect image0(0, 0, m_buffer.width() / ratio, m_buffer.height() / ratio);
    if (!Encloses(image0, logical))
        return false;
    // The copy keeps to the clip as the painter's would: whole device
    // pixels inside the clip rectangle.
    QRect allowed(QPoint(0, 0), m_buffer.size());
    if (m_clipped)
        allowed &= QRect(m_clipRect.topLeft() * ratio, m_clipRect.size() * ratio);
    uchar *bits = const_cast<uchar *>(m_buffer.constBits());
    const qsizetype bytesPerLine = m_buffer.bytesPerLine();
    const int originX = topLeft.x() * ratio;
    const int originY = topLeft.y() * ratio;
    if (Encloses(allowed, QRect(QPoint(originX, originY), image.size()))) {
        // Wholly inside the clip, as markers mostly are: no run is clipped.
        // Most runs are a pixel or two (an outline's sides), copied pixel by
        // pixel, as a call to copy them would cost more than the copy.
        const uchar *stampBits = image.constBits();
        const qsizetype stampBytesPerLine = image.bytesPerLine();
        for (const PixelRun &run : runs) {
            const auto *source =
                reinterpret_cast<const QRgb *>(stampBits + run.Dy * stampBytesPerLine) + run.X0;
            auto *target = reinterpret_cast<QRgb *>(bits + (originY + run.Dy) * bytesPerLine) +
                           originX + run.X0;
            if (run.Length <= 8) {
                for (int k = 0; k < run.Length; ++k)
                    target[k] = source[k];
            } else {
                std::memcpy(target, source, static_cast<std::size_t>(run.Length) * sizeof(QRgb));
            }
        }
        return true;
    }
    for (const PixelRun &run : runs) {
        const int y = originY + run.Dy;
        if (y < allowed.top() || y > allowed.bottom())
            continue;
        const int x0 = std::max(originX + run.X0, allowed.left());
        const int x1 = std::min(originX + run.X0 + run.Length, allowed.right() + 1);
        if (x0 >= x1)
            continue;
        const auto *source =
            reinterpret_cast<const QRgb *>(image.constScanLine(run.Dy)) + (x0 - originX);
        std::memcpy(reinterpret_cast<QRgb *>(bits + y * bytesPerLine) + x0, source,
                    static_cast<std::size_t>(x1 - x0) * sizeof(QRgb));
    }
    return true;
}

} // namespace kov
