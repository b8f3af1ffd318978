// TChartCanvas3D: texts copied from a picture of their glyphs.
//
// Axis labels are the same few texts in the same font and colour over the
// same plain background, picture after picture, and rasterising their glyphs
// costs more than anything else an axis draws. A text's glyphs touch the same
// device pixels wherever it is drawn at a whole position, and the painter
// turns each pixel they touch into a colour that depends only on the text
// colour, the glyph's coverage and the pixel's colour before. So where every
// pixel the glyphs touch holds one and the same opaque colour, the picture of
// the text drawn once over that colour gives the painter's pixels exactly.
#include "chart/canvas/chart_canvas.h"

#include <algorithm>

namespace kov {

namespace {

/// Pictures of one text kept over different colours and backgrounds.
constexpr std::size_t MaxPicturesPerText = 4;

/// Gives a painter of a stamp what else of the surface's state text drawing
/// takes besides the pen.
void SetUpLike(QPainter &painter, const QPainter &surface)
{
    painter.setRenderHints(surface.renderHints());
    painter.setBackgroundMode(surface.backgroundMode());
    painter.setBackground(surface.background());
}

/// Draws the glyph runs with their line's start on the baseline at origin.
void DrawGlyphRuns(QPainter &painter, const QList<QGlyphRun> &runs, qreal ascent,
                   const QPoint &origin)
{
    const QPointF topLeft(origin.x(), origin.y() - ascent);
    for (const QGlyphRun &run : runs)
        painter.drawGlyphRun(topLeft, run);
}

} // namespace

TChartCanvas::TextInk TChartCanvas3D::CaptureTextInk(const TextShape &shape) const
{
    TextInk ink;
    ink.Hints = m_surface->renderHints().toInt();
    ink.BackgroundMode = m_surface->backgroundMode();
    ink.TextBackground = m_surface->background().color().rgba();
    int ascent = 0, descent = 0;
    CellMetrics(ascent, descent);
    // A margin of a whole line height on every side holds any glyph that
    // reaches beyond its cell; ink on the picture's edge means it did not.
    const int margin = std::max(8, ascent + descent);
    QImage image(shape.Width + 2 * margin, ascent + descent + 2 * margin,
                 QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return ink;
    image.fill(Qt::transparent);
    const QPoint origin(margin, margin + ascent);
    {
        QPainter painter(&image);
        SetUpLike(painter, *m_surface);
        painter.setPen(QPen(Qt::black));
        DrawGlyphRuns(painter, shape.Runs, shape.Ascent, origin);
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            if (qAlpha(line[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < image.width() && qAlpha(line[x]) != 0)
                ++x;
            if (y == 0 || y == image.height() - 1 || start == 0 || x == image.width())
                return ink;
            ink.Runs.push_back(PixelRun{y - origin.y(), start - origin.x(), x - start});
            ink.Box |= QRect(start - origin.x(), y - origin.y(), x - start, 1);
        }
    }
    ink.Usable = true;
    return ink;
}

bool TChartCanvas3D::CopyTextStamp(const TextShape &shape, const QPoint &origin)
{
    // Glyph runs are drawn only untransformed, so at ratio 1.
    if (!CanWritePixels() || m_ratio != 1 ||
        m_surface->compositionMode() != QPainter::CompositionMode_SourceOver ||
        m_surface->opacity() != 1.0)
        return false;
    const QRgb colour = ToQColor(m_font.Color()).rgba();
    if (qAlpha(colour) != 255)
        return false;
    const QBrush &textBackground = m_surface->background();
    if (m_surface->backgroundMode() == Qt::OpaqueMode &&
        (textBackground.style() != Qt::SolidPattern || textBackground.color().alpha() != 255))
        return false;
    if (!shape.Ink || shape.Ink->Hints != m_surface->renderHints().toInt() ||
        shape.Ink->BackgroundMode != m_surface->backgroundMode() ||
        (shape.Ink->BackgroundMode == Qt::OpaqueMode &&
         shape.Ink->TextBackground != textBackground.color().rgba()))
        shape.Ink = std::make_shared<TextInk>(CaptureTextInk(shape));
    TextInk &ink = *shape.Ink;
    if (!ink.Usable)
        return false;
    const QRect box = ink.Box.translated(origin);
    const QRect image(0, 0, m_buffer.width(), m_buffer.height());
    if (!image.contains(box))
        return false;
    QRect allowed = image;
    if (m_clipped)
        allowed &= m_clipRect;
    if (!allowed.intersects(box))
        return true;

    // The pixels the glyphs touch, within the clip, must hold one colour.
    uchar *bits = const_cast<uchar *>(m_buffer.constBits());
    const qsizetype bytesPerLine = m_buffer.bytesPerLine();
    const auto row = [&](int y) {
        return reinterpret_cast<QRgb *>(bits + static_cast<qsizetype>(y) * bytesPerLine);
    };
    bool found = false;
    QRgb background = 0;
    for (const PixelRun &run : ink.Runs) {
        const int y = origin.y() + run.Dy;
        if (y < allowed.top() || y > allowed.bottom())
            continue;
        const int x0 = std::max(origin.x() + run.X0, allowed.left());
        const int x1 = std::min(origin.x() + run.X0 + run.Length, allowed.right() + 1);
        const QRgb *pixel = row(y);
        for (int x = x0; x < x1; ++x) {
            if (!found) {
                background = pixel[x];
                found = true;
            } else if (pixel[x] != background) {
                return false;
            }
        }
    }
    if (!found)
        return true;
    if (qAlpha(background) != 255)
        return false;

    auto picture = std::find_if(ink.Pictures.begin(), ink.Pictures.end(), [&](const auto &p) {
        return p.Color == colour && p.Background == background;
    });
    if (picture == ink.Pictures.end()) {
        QImage over(ink.Box.size(), QImage::Format_ARGB32_Premultiplied);
        if (over.isNull())
            return false;
        over.fill(background);
        {
            QPainter painter(&over);
            SetUpLike(painter, *m_surface);
            painter.setPen(QPen(QColor::fromRgba(colour)));
            DrawGlyphRuns(painter, shape.Runs, shape.Ascent, -ink.Box.topLeft());
        }
        TextInk::Over captured{colour, background, {}};
        for (const PixelRun &run : ink.Runs) {
            const auto *source =
                reinterpret_cast<const QRgb *>(over.constScanLine(run.Dy - ink.Box.top())) +
                (run.X0 - ink.Box.left());
            captured.Pixels.insert(captured.Pixels.end(), source, source + run.Length);
        }
        if (ink.Pictures.size() >= MaxPicturesPerText)
            ink.Pictures.erase(ink.Pictures.begin());
        ink.Pictures.push_back(std::move(captured));
        picture = ink.Pictures.end() - 1;
    }

    const QRgb *source = picture->Pixels.data();
    for (const PixelRun &run : ink.Runs) {
        const int y = origin.y() + run.Dy;
        const int left = origin.x() + run.X0;
        if (y >= allowed.top() && y <= allowed.bottom()) {
            const int x0 = std::max(left, allowed.left());
            const int x1 = std::min(left + run.Length, allowed.right() + 1);
            if (x0 < x1)
                std::copy(source + (x0 - left), source + (x1 - left), row(y) + x0);
        }
        source += run.Length;
    }
    return true;
}

} // namespace kov
