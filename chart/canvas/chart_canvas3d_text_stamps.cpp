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
#include "chart/canvas/chart_canvas3d.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

/// The pixel the painter leaves where a glyph of coverage c in text colour
/// s is drawn over dst: glyph the colour times the coverage (the pixel the
/// glyph leaves on a transparent picture, whose alpha is c), plus dst
/// times 255 - c, each product rounded as the painter rounds it.
inline QRgb BlendGlyphPixel(QRgb glyph, QRgb dst)
{
    // A pixel the glyph covers wholly is the glyph's (the sum below gives
    // the same, at a cost).
    if (qAlpha(glyph) == 255)
        return glyph;
    const uint inverse = 255 - qAlpha(glyph);
    uint rb = (dst & 0xff00ffu) * inverse;
    rb = ((rb + ((rb >> 8) & 0xff00ffu) + 0x800080u) >> 8) & 0xff00ffu;
    uint ag = ((dst >> 8) & 0xff00ffu) * inverse;
    ag = (ag + ((ag >> 8) & 0xff00ffu) + 0x800080u) & 0xff00ff00u;
    return glyph + (rb | ag);
}

/// Blends count glyph pixels over dst, each as BlendGlyphPixel does: four
/// at a time where the processor can, as the same sums on 16-bit lanes (no
/// sum leaves its lane, and no channel of the result exceeds 255 as the
/// glyph's colour is premultiplied by its coverage).
void BlendGlyphRow(const QRgb *glyph, QRgb *dst, int count)
{
    int k = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const __m128i half = _mm_set1_epi16(0x80);
    const auto scale = [&](__m128i channels, __m128i factors) {
        const __m128i t = _mm_mullo_epi16(channels, factors);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), half), 8);
    };
    for (; k + 4 <= count; k += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i *>(glyph + k));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i *>(dst + k));
        // 255 - coverage in both 16-bit lanes of each pixel.
        __m128i alpha = _mm_srli_epi32(s, 24);
        alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
        const __m128i inverse = _mm_sub_epi16(full, alpha);
        const __m128i low = scale(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi32(inverse, inverse));
        const __m128i high =
            scale(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi32(inverse, inverse));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + k),
                         _mm_add_epi8(s, _mm_packus_epi16(low, high)));
    }
#endif
    for (; k < count; ++k)
        dst[k] = BlendGlyphPixel(glyph[k], dst[k]);
}

/// Fills an image with opaque pixels of many different colours.
void FillVaried(QImage &image, int seed)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const uint h = (static_cast<uint>(x) * 2654435761u) ^
                           (static_cast<uint>(y + 97 * seed) * 40503u) ^ static_cast<uint>(seed);
            line[x] = 0xff000000u | ((h * 2246822519u) >> 8);
        }
    }
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

const TChartCanvas::TextInk::Over *TChartCanvas3D::TextPicture(const TextShape &shape, QRgb colour,
                                                               QRgb background)
{
    TextInk &ink = *shape.Ink;
    const auto found = std::find_if(ink.Pictures.begin(), ink.Pictures.end(), [&](const auto &p) {
        return p.Color == colour && p.Background == background;
    });
    if (found != ink.Pictures.end())
        return &*found;
    // The text drawn over a picture of the ink box's size filled with
    // background, its pixels read along the ink runs.
    const auto draw = [&](QImage &over) {
        QPainter painter(&over);
        SetUpLike(painter, *m_surface);
        painter.setPen(QPen(QColor::fromRgba(colour)));
        DrawGlyphRuns(painter, shape.Runs, shape.Ascent, -ink.Box.topLeft());
    };
    const auto pixelsOf = [&](const QImage &over, std::vector<QRgb> &pixels) {
        for (const PixelRun &run : ink.Runs) {
            const auto *source =
                reinterpret_cast<const QRgb *>(over.constScanLine(run.Dy - ink.Box.top())) +
                (run.X0 - ink.Box.left());
            pixels.insert(pixels.end(), source, source + run.Length);
        }
    };
    QImage over(ink.Box.size(), QImage::Format_ARGB32_Premultiplied);
    if (over.isNull())
        return nullptr;
    over.fill(background);
    draw(over);
    TextInk::Over captured{colour, background, false, {}, {}};
    pixelsOf(over, captured.Pixels);
    if (background == 0) {
        // A pixel no glyph touches is transparent, and blending it leaves
        // the pixel beneath as it was: the whole box is blended row by row.
        captured.Box.reserve(static_cast<std::size_t>(ink.Box.width()) * ink.Box.height());
        for (int y = 0; y < over.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(over.constScanLine(y));
            captured.Box.insert(captured.Box.end(), line, line + over.width());
        }
        // Whether the painter blends these glyphs over anything as
        // BlendGlyphPixel does: checked over two pictures of varied colours.
        captured.Blendable = true;
        for (const int seed : {1, 2}) {
            FillVaried(over, seed);
            const QImage beneath = over.copy();
            draw(over);
            std::vector<QRgb> drawn;
            pixelsOf(over, drawn);
            std::size_t i = 0;
            for (const PixelRun &run : ink.Runs) {
                const auto *below =
                    reinterpret_cast<const QRgb *>(beneath.constScanLine(run.Dy - ink.Box.top())) +
                    (run.X0 - ink.Box.left());
                for (int k = 0; k < run.Length; ++k, ++i)
                    if (drawn[i] != BlendGlyphPixel(captured.Pixels[i], below[k]))
                        captured.Blendable = false;
            }
        }
    }
    if (ink.Pictures.size() >= MaxPicturesPerText)
        ink.Pictures.erase(ink.Pictures.begin());
    ink.Pictures.push_back(std::move(captured));
    return &ink.Pictures.back();
}

bool TChartCanvas3D::CopyTextStamp(const TextShape &shape, const QPoint &origin)
{
    // Glyph runs are drawn only untransformed, so at ratio 1.
    if (!CanWritePixels() || m_ratio != 1 ||
        RealizedCompositionMode() != QPainter::CompositionMode_SourceOver ||
        m_surface->opacity() != 1.0)
        return false;
    const QRgb colour = ToQColor(m_font.Color()).rgba();
    if (qAlpha(colour) != 255)
        return false;
    if (!PlainSurfaceBackground())
        return false;
    const QBrush &textBackground = m_surface->background();
    if (!shape.Ink || shape.Ink->Hints != m_surface->renderHints().toInt() ||
        shape.Ink->BackgroundMode != m_surface->backgroundMode() ||
        (shape.Ink->BackgroundMode == Qt::OpaqueMode &&
         shape.Ink->TextBackground != textBackground.color().rgba())) {
        // Capturing costs a few drawings of the text: a text drawn once (a
        // label scrolled past) is left to the painter.
        if (!shape.Ink && ++shape.Draws < 2)
            return false;
        shape.Ink = std::make_shared<TextInk>(CaptureTextInk(shape));
    }
    const TextInk &ink = *shape.Ink;
    if (!ink.Usable)
        return false;
    const QRect box = ink.Box.translated(origin);
    const QRect image(0, 0, m_buffer.width(), m_buffer.height());
    if (!Encloses(image, box))
        return false;
    QRect allowed = image;
    if (m_clipped)
        allowed &= m_clipRect;
    if (!allowed.intersects(box))
        return true;

    uchar *bits = const_cast<uchar *>(m_buffer.constBits());
    const qsizetype bytesPerLine = m_buffer.bytesPerLine();
    // Calls write(destination, i) for every pixel the glyphs touch within
    // the clip, i its index in a picture's pixels; stops at a false answer.
    const auto forEachPixel = [&](const auto &write) {
        std::size_t i = 0;
        for (const PixelRun &run : ink.Runs) {
            const int y = origin.y() + run.Dy;
            const int left = origin.x() + run.X0;
            if (y >= allowed.top() && y <= allowed.bottom()) {
                auto *pixel =
                    reinterpret_cast<QRgb *>(bits + static_cast<qsizetype>(y) * bytesPerLine);
                const int x0 = std::max(left, allowed.left());
                const int x1 = std::min(left + run.Length, allowed.right() + 1);
                for (int x = x0; x < x1; ++x)
                    if (!write(pixel[x], i + (x - left)))
                        return false;
            }
            i += run.Length;
        }
        return true;
    };

    const TextInk::Over *glyphs = TextPicture(shape, colour, 0);
    if (!glyphs)
        return false;
    if (glyphs->Blendable) {
        const QRgb *source = glyphs->Pixels.data();
        if (Encloses(allowed, box)) {
            // Wholly inside the clip (the common case): the ink box row by
            // row, with no clipping.
            const int width = box.width();
            for (int y = 0; y < box.height(); ++y)
                BlendGlyphRow(glyphs->Box.data() + static_cast<std::size_t>(y) * width,
                              reinterpret_cast<QRgb *>(
                                  bits + static_cast<qsizetype>(box.top() + y) * bytesPerLine) +
                                  box.left(),
                              width);
            return true;
        }
        forEachPixel([&](QRgb &pixel, std::size_t i) {
            pixel = BlendGlyphPixel(source[i], pixel);
            return true;
        });
        return true;
    }

    // Otherwise the pixels the glyphs touch must hold one colour, over
    // which the text is copied from its picture.
    bool found = false;
    QRgb background = 0;
    const bool plain = forEachPixel([&](const QRgb &pixel, std::size_t) {
        if (!found) {
            background = pixel;
            found = true;
        }
        return pixel == background;
    });
    if (!plain || qAlpha(background) != 255)
        return false;
    const TextInk::Over *picture = TextPicture(shape, colour, background);
    if (!picture)
        return false;
    const QRgb *source = picture->Pixels.data();
    forEachPixel([&](QRgb &pixel, std::size_t i) {
        pixel = source[i];
        return true;
    });
    return true;
}

} // namespace kov
