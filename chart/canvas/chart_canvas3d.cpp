// TChartCanvas3D: surface, buffer image and the 2D operations.
#include "chart/canvas/chart_canvas3d.h"

#include "chart/numeric.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kov {

namespace {

// Start angle and counter-clockwise span, in 1/16 degree, of the arc from the
// ray towards (x3, y3) to the ray towards (x4, y4) around the box centre.
void ArcAngles(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int &start,
               int &span)
{
    const double cx = (x1 + x2) / 2.0;
    const double cy = (y1 + y2) / 2.0;
    constexpr double toDegrees = 180.0 / Pi;
    const double a = std::atan2(cy - y3, x3 - cx) * toDegrees;
    const double b = std::atan2(cy - y4, x4 - cx) * toDegrees;
    double sweep = b - a;
    while (sweep <= 0)
        sweep += 360.0;
    start = RoundToInt(a * 16);
    span = RoundToInt(sweep * 16);
}

// The box of a shape whose right and bottom edges are exclusive, as Qt's
// outline rectangle (which draws its right and bottom edges inclusive).
QRect OutlineBox(int x1, int y1, int x2, int y2)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    return QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

// The arc (or the pie, with its two radii) of the ellipse in the box
// (x1, y1, x2, y2) from the ray towards (x3, y3) to the ray towards (x4, y4),
// moved by the canvas' stroke shift.
void DrawArcOrPie(QPainter &painter, bool pie, const QPointF &shift, int x1, int y1, int x2, int y2,
                  int x3, int y3, int x4, int y4)
{
    int start = 0, span = 0;
    ArcAngles(x1, y1, x2, y2, x3, y3, x4, y4, start, span);
    const QRect box = OutlineBox(x1, y1, x2, y2);
    if (shift.isNull()) {
        if (pie)
            painter.drawPie(box, start, span);
        else
            painter.drawArc(box, start, span);
        return;
    }
    const QRectF moved = QRectF(box).translated(shift);
    if (pie)
        painter.drawPie(moved, start, span);
    else
        painter.drawArc(moved, start, span);
}

} // namespace

TChartCanvas3D::TChartCanvas3D()
{
    m_scratch.resize(4);
    m_scratch.reserve(64);
}

TChartCanvas3D::~TChartCanvas3D()
{
    FreeBuffer();
}

void TChartCanvas3D::FreeBuffer()
{
    if (m_bufferPainter) {
        if (m_surface == m_bufferPainter.get())
            m_surface = nullptr;
        m_bufferPainter->end();
        m_bufferPainter.reset();
    }
    m_buffer = QImage();
    m_bufferArea = QRect();
    DropLayer();
}

TColor TChartCanvas3D::GetBackgroundColor() const
{
    return m_state.BackgroundColor;
}

int TChartCanvas3D::GetBackgroundMode() const
{
    return m_state.BackgroundMode;
}

QPainter *TChartCanvas3D::GetSurfaceHandle() const
{
    return m_surface;
}

bool TChartCanvas3D::IsMonochrome() const
{
    return m_monochrome;
}

unsigned TChartCanvas3D::GetTextAlignment() const
{
    return m_state.TextAlignment;
}

bool TChartCanvas3D::IsBuffered() const
{
    return m_buffered;
}

void TChartCanvas3D::SetBackgroundColor(TColor color)
{
    m_state.BackgroundColor = ColorToRGB(color);
    if (m_surface)
        m_surface->setBackground(ToQColor(m_state.BackgroundColor));
}

void TChartCanvas3D::SetBackgroundMode(int mode)
{
    m_state.BackgroundMode = mode;
    if (m_surface)
        m_surface->setBackgroundMode(mode == bmOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
}

bool TChartCanvas3D::SetMonochromeBuffer(bool value)
{
    if (m_monochrome == value)
        return false;
    m_monochrome = value;
    FreeBuffer();
    MarkDirty();
    if (m_view3DOptions)
        m_view3DOptions->Repaint();
    return true;
}

void TChartCanvas3D::PlotPixel(int x, int y, TColor color)
{
    if (!Realize())
        return;
    // A pixel is set outright, whatever the pen's raster mode.
    m_surface->save();
    m_surface->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (m_surfaceRatio == 1) {
        m_surface->setPen(QPen(ToQColor(color), 1));
        m_surface->drawPoint(x, y);
    } else {
        // The whole logical pixel, however many device pixels it has.
        m_surface->fillRect(QRect(x, y, 1, 1), ToQColor(color));
    }
    m_surface->restore();
}

void TChartCanvas3D::SetTextAlignment(unsigned flags)
{
    m_state.TextAlignment = flags;
}

bool TChartCanvas3D::SetBuffered(bool value)
{
    if (m_buffered == value)
        return false;
    m_buffered = value;
    if (!value && !m_buffer.isNull()) {
        FreeBuffer();
        MarkDirty();
    }
    return true;
}

void TChartCanvas3D::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (Realize())
        DrawArcOrPie(*m_surface, false, StrokeShift(), x1, y1, x2, y2, x3, y3, x4, y4);
}

void TChartCanvas3D::DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (Realize())
        DrawArcOrPie(*m_surface, true, StrokeShift(), x1, y1, x2, y2, x3, y3, x4, y4);
}

void TChartCanvas3D::DrawGraphic(int x, int y, const TPicture *picture)
{
    if (!picture || picture->IsEmpty())
        return;
    SetBackgroundColor(m_brush.Color());
    if (!Realize())
        return;
    m_surface->drawImage(QPoint(x, y), picture->Image());
}

void TChartCanvas3D::StretchGraphic(const TRect &rect, const TPicture *picture)
{
    if (!picture || picture->IsEmpty() || !Realize())
        return;
    m_surface->drawImage(ToQRect(NormalizedRect(rect)), picture->Image());
}

void TChartCanvas3D::DrawEllipse(int x1, int y1, int x2, int y2)
{
    if (m_surface && m_pen.Style() != psClear &&
        CopyKnownStamp(OutlineBox(x1, y1, x2, y2), TStampCache::Shape::Ellipse))
        return;
    const int reach = 2 + std::max(1, m_pen.Width());
    if (OutsideDrawingArea(OutlineBox(x1, y1, x2, y2).adjusted(-reach, -reach, reach, reach)))
        return;
    if (!Realize())
        return;
    if (m_pen.Style() == psClear) {
        QRect box = OutlineBox(x1, y1, x2, y2);
        box.adjust(0, 0, 1, 1);
        m_surface->drawEllipse(box);
        return;
    }
    const QRect box = OutlineBox(x1, y1, x2, y2);
    if (StampOutlined(box, TStampCache::Shape::Ellipse))
        return;
    const QPointF shift = StrokeShift();
    if (shift.isNull())
        m_surface->drawEllipse(box);
    else
        m_surface->drawEllipse(QRectF(box).translated(shift));
}

bool TChartCanvas3D::StampOutlined(const QRect &box, TStampCache::Shape shape)
{
    // Markers and mark frames are drawn hundreds of times per picture in a
    // handful of pens and brushes; Qt builds and strokes (a dashed outline:
    // dashes) a path every time.
    // Copying a picture of the same ellipse gives the same pixels only for
    // opaque colours laid plainly over the buffer, and pays only when small.
    constexpr int MaxStampSide = 64;
    if (m_surface != m_bufferPainter.get() || box.width() > MaxStampSide ||
        box.height() > MaxStampSide || box.width() < 1 || box.height() < 1)
        return false;
    // A copy lands on the same device pixels only when every logical
    // position is a whole number of device pixels.
    if (m_ratio != std::floor(m_ratio))
        return false;
    if (m_surface->compositionMode() != QPainter::CompositionMode_SourceOver ||
        m_surface->worldTransform().type() != QTransform::TxNone)
        return false;
    if (!PlainSurfaceBackground())
        return false;
    const Qt::BGMode backgroundMode = m_surface->backgroundMode();
    const QBrush &background = m_surface->background();
    const QPen &pen = m_surface->pen();
    const QBrush &brush = m_surface->brush();
    // Qt leaves out dashes of an outline beyond the buffer's edges, which
    // moves the dash pattern of the rest: only ellipses well inside are copied.
    const int margin = 2 + (pen.style() == Qt::NoPen ? 0 : pen.width());
    if (!StampFits(box, margin))
        return false;
    if (pen.style() != Qt::NoPen &&
        (pen.brush().style() != Qt::SolidPattern || !(pen.color().alpha() == 255)))
        return false;
    if (brush.style() != Qt::NoBrush &&
        (brush.style() != Qt::SolidPattern || !(brush.color().alpha() == 255)))
        return false;

    TStampCache::OutlineStamp *stamp =
        m_stamps.Outline(shape, box.width(), box.height(), pen, brush, backgroundMode, background,
                         margin, StrokeShift(), m_ratio);
    if (!stamp)
        return false;
    // The painter's state was realised from the canvas's just now.
    if (!stamp->HasCanvasKey && m_pen.Mode() == pmCopy && m_brush.Bitmap().isNull()) {
        stamp->Canvas = CurrentStampKey();
        stamp->HasCanvasKey = true;
    }
    const QPoint topLeft(box.x() - stamp->Margin, box.y() - stamp->Margin);
    if (!stamp->Opaque || !CopyStampPixels(stamp->Image, stamp->Runs, topLeft))
        m_surface->drawImage(topLeft, stamp->Image);
    m_stamps.CountOutline();
    return true;
}

bool TChartCanvas3D::PlainSurfaceBackground() const
{
    const QBrush &background = m_surface->background();
    return m_surface->backgroundMode() != Qt::OpaqueMode ||
           (background.style() == Qt::SolidPattern && background.color().alpha() == 255);
}

bool TChartCanvas3D::StampFits(const QRect &box, int margin) const
{
    return Encloses(m_bufferArea, box.adjusted(-margin, -margin, margin + 1, margin + 1));
}

TStampCache::CanvasKey TChartCanvas3D::CurrentStampKey() const
{
    return TStampCache::CanvasKey{m_pen.Color(),          m_pen.Width(),          m_pen.Style(),
                                  m_state.SmallDotsPen,   m_brush.Color(),        m_brush.Style(),
                                  m_state.BackgroundMode, m_state.BackgroundColor};
}

bool TChartCanvas3D::CopyKnownStamp(const QRect &box, TStampCache::Shape shape)
{
    // Whether the buffer takes pixels is CopyStampPixels' to ask, once.
    if (!m_stamps.HasOutlines() || m_pen.Mode() != pmCopy || !m_brush.Bitmap().isNull())
        return false;
    const TStampCache::OutlineStamp *stamp =
        m_stamps.KnownOutline(shape, box.width(), box.height(), CurrentStampKey());
    if (!stamp || !StampFits(box, stamp->Margin) ||
        !CopyStampPixels(stamp->Image, stamp->Runs,
                         QPoint(box.x() - stamp->Margin, box.y() - stamp->Margin)))
        return false;
    m_stamps.CountOutline();
    return true;
}

void TChartCanvas3D::FillRectangle(const TRect &rect)
{
    if (rect.IsEmpty() || m_brush.Style() == bsClear || !Realize())
        return;
    const QRect r = ToQRect(rect);
    if (m_brush.Style() != bsSolid && m_state.BackgroundMode == bmOpaque &&
        m_brush.Bitmap().isNull())
        m_surface->fillRect(r, ToQColor(m_state.BackgroundColor));
    else if (FillPixels(r))
        return;
    m_surface->fillRect(r, m_surface->brush());
}

void TChartCanvas3D::ClearBackground(const TRect &rect)
{
    FillRectangle(rect);
}

void TChartCanvas3D::DrawBevel(const TRect &rect, TColor topLeft, TColor bottomRight, int width)
{
    m_pen.SetWidth(1);
    TRect r{rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1};
    for (int i = 0; i < width; ++i) {
        m_pen.SetColor(topLeft);
        MovePenTo(r.Left, r.Bottom);
        DrawLineTo(r.Left, r.Top);
        DrawLineTo(r.Right, r.Top);
        m_pen.SetColor(bottomRight);
        DrawLineTo(r.Right, r.Bottom);
        DrawLineTo(r.Left - 1, r.Bottom);
        ++r.Left;
        ++r.Top;
        --r.Right;
        --r.Bottom;
    }
}

void TChartCanvas3D::MovePenTo(int x, int y)
{
    m_penPos = QPoint(x, y);
}

void TChartCanvas3D::DrawLineTo(int x, int y)
{
    const QPoint from = m_penPos;
    const QPoint to(x, y);
    m_penPos = to;
    if (to == from || CopyLinePixels(from, to) || !Realize())
        return;
    if (m_pen.Style() == psClear)
        return;
    const int reach = 2 + m_pen.Width();
    if (OutsideDrawingArea(QRect(from, to).normalized().adjusted(-reach, -reach, reach, reach)) ||
        StampLine(from, to))
        return;
    StrokeLine(*m_surface, from, to, StrokeShift(), m_pen.Width() <= 1);
}

bool TChartCanvas3D::StampLine(const QPoint &from, const QPoint &to)
{
    // Axis ticks of a wide dashed pen: Qt dashes and fills each of them
    // anew. Only lines along an axis are copied, whose dashes fall on whole
    // coordinates wherever they start.
    constexpr int MaxStampExtent = 64;
    const QPoint extent = to - from;
    if ((extent.x() != 0 && extent.y() != 0) || std::abs(extent.x()) > MaxStampExtent ||
        std::abs(extent.y()) > MaxStampExtent || m_pen.Mode() != pmCopy || !CanWritePixels() ||
        m_surface->compositionMode() != QPainter::CompositionMode_SourceOver ||
        m_surface->opacity() != 1.0 || m_surface->testRenderHint(QPainter::Antialiasing))
        return false;
    const QPen &pen = m_surface->pen();
    if (pen.style() == Qt::NoPen || pen.brush().style() != Qt::SolidPattern ||
        pen.color().alpha() != 255)
        return false;
    if (!PlainSurfaceBackground())
        return false;
    const Qt::BGMode backgroundMode = m_surface->backgroundMode();
    const QBrush &background = m_surface->background();
    const int margin = 2 + pen.width();
    // As for ellipses: dashes cut off by the buffer's edges move the rest.
    if (!StampFits(QRect(from, to).normalized(), margin))
        return false;
    const TStampCache::LineStamp *stamp =
        m_stamps.Line(extent, pen, backgroundMode, background, margin, StrokeShift(),
                      m_pen.Width() <= 1, m_ratio);
    if (!stamp || !stamp->Opaque ||
        !CopyStampPixels(stamp->Image, stamp->Runs, from - stamp->Start))
        return false;
    m_stamps.CountLine();
    return true;
}

void TChartCanvas3D::LineSegment(int x1, int y1, int x2, int y2)
{
    MovePenTo(x1, y1);
    DrawLineTo(x2, y2);
}

void TChartCanvas3D::DrawSegment(int x1, int y1, int x2, int y2)
{
    LineSegment(x1, y1, x2, y2);
}

void TChartCanvas3D::DrawHorizontalLine(int left, int right, int y)
{
    LineSegment(left, y, right, y);
}

void TChartCanvas3D::DrawVerticalLine(int x, int top, int bottom)
{
    LineSegment(x, top, x, bottom);
}

void TChartCanvas3D::DrawRectangle(int x1, int y1, int x2, int y2)
{
    // Mark frames come back in a few sizes: copied before the painter is
    // even set up, as markers are.
    if (m_surface && m_pen.Style() != psClear &&
        CopyKnownStamp(OutlineBox(x1, y1, x2, y2), TStampCache::Shape::Rectangle))
        return;
    if (!Realize())
        return;
    if (m_pen.Style() == psClear) {
        // Without an outline the fill covers the whole box.
        if (x2 < x1)
            std::swap(x1, x2);
        if (y2 < y1)
            std::swap(y1, y2);
        m_surface->drawRect(QRect(x1, y1, x2 - x1, y2 - y1));
        return;
    }
    const QRect box = OutlineBox(x1, y1, x2, y2);
    if (StampOutlined(box, TStampCache::Shape::Rectangle))
        return;
    const QPointF shift = StrokeShift();
    if (shift.isNull())
        m_surface->drawRect(box);
    else
        m_surface->drawRect(QRectF(box).translated(shift));
}

void TChartCanvas3D::DrawRect(const TRect &rect)
{
    DrawRectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

void TChartCanvas3D::DrawRoundRectangle(int x1, int y1, int x2, int y2, int cornerWidth,
                                        int cornerHeight)
{
    if (!Realize())
        return;
    m_surface->drawRoundedRect(QRectF(OutlineBox(x1, y1, x2, y2)).translated(StrokeShift()),
                               cornerWidth / 2.0, cornerHeight / 2.0, Qt::AbsoluteSize);
}

void TChartCanvas3D::DrawPolygon(const TPoint *points, int lastIndex)
{
    if (!points || lastIndex < 1)
        return;
    const int count = lastIndex + 1;
    if (m_scratch.size() < count)
        m_scratch.resize(count);
    for (int i = 0; i < count; ++i)
        m_scratch[i] = QPoint(points[i].X, points[i].Y);
    PolygonScratch(count);
}

void TChartCanvas3D::PolygonScratch(int count)
{
    if (!StampFace(m_scratch.constData(), count) && Realize())
        SurfacePolygon(m_scratch.constData(), count);
}

void TChartCanvas3D::PolylineScratch(int count)
{
    if (Realize())
        SurfacePolyline(m_scratch.constData(), count);
}

QPointF TChartCanvas3D::StrokeShift() const
{
    // Qt centres a pen on the coordinates it is given. At ratio 1 its aliased
    // rules put a one-pixel line on the pixels right of and below them;
    // scaled up, the line would straddle two logical pixels, half a logical
    // pixel up and left of that. Moved onto the centres of the pixels it
    // covers at ratio 1, it covers exactly their device pixels. A pen of even
    // width straddles evenly at every ratio and stays.
    if (m_surfaceRatio == 1 || !m_surface)
        return {};
    const QPen &pen = m_surface->pen();
    if (pen.style() == Qt::NoPen || qRound(pen.widthF()) % 2 == 0)
        return {};
    return {0.5, 0.5};
}

void TChartCanvas3D::SurfacePolygon(const QPoint *points, int count)
{
    const QPointF shift = StrokeShift();
    if (shift.isNull()) {
        m_surface->drawPolygon(points, count, Qt::OddEvenFill);
        return;
    }
    m_shiftedScratch.resize(count);
    for (int i = 0; i < count; ++i)
        m_shiftedScratch[i] = QPointF(points[i]) + shift;
    m_surface->drawPolygon(m_shiftedScratch.constData(), count, Qt::OddEvenFill);
}

void TChartCanvas3D::SurfacePolyline(const QPoint *points, int count)
{
    const QPointF shift = StrokeShift();
    if (shift.isNull()) {
        m_surface->drawPolyline(points, count);
        return;
    }
    m_shiftedScratch.resize(count);
    for (int i = 0; i < count; ++i)
        m_shiftedScratch[i] = QPointF(points[i]) + shift;
    m_surface->drawPolyline(m_shiftedScratch.constData(), count);
}

// ---------------------------------------------------------------------------
// Text

void TChartCanvas3D::WriteTextWithFont(int x, int y, const QString &text, const QFont *font)
{
    if (!m_surface)
        return;
    // Text fills its cell only on an opaque background with a solid brush,
    // and then in the brush colour; with a clear brush it is always written
    // over what lies beneath, so labels never wipe the grid or each other.
    const bool fillCell = m_state.BackgroundMode == bmOpaque && m_brush.Style() == bsSolid;
    // In the canvas font the text's shape is kept: measured and laid out
    // once, its glyphs drawn as the painter would draw them. Turned or
    // scaled text (a high-density surface) is left to the painter, which
    // renders its glyphs for the transformation.
    const bool asGlyphRuns = !font && !fillCell && FontDrawsAsGlyphRuns() &&
                             m_surface->deviceTransform().type() <= QTransform::TxTranslate;
    const TextShape *shape = font ? nullptr : &ShapeOfText(text, asGlyphRuns);
    std::optional<QFontMetrics> fontMetrics;
    if (font)
        fontMetrics.emplace(*font);
    const auto width = [&] { return shape ? shape->Width : fontMetrics->horizontalAdvance(text); };
    int left = x;
    switch (m_state.TextAlignment & 6u) {
    case taRight:
        left = x - width();
        break;
    case taCenter:
        left = x - width() / 2;
        break;
    default:
        break;
    }
    int ascent = 0, descent = 0;
    if (font) {
        ascent = CellAscent(*font);
        descent = CellDescent(*font);
    } else {
        CellMetrics(ascent, descent);
    }
    int baseline = y + ascent;
    switch (m_state.TextAlignment & 24u) {
    case taBottom:
        baseline = y - descent;
        break;
    case taBaseline:
        baseline = y;
        break;
    default:
        break;
    }
    // A text copied from its stamp leaves the painter as it was: the canvas
    // pen, brush and font are loaded into it only for the painter to draw.
    if (asGlyphRuns && shape->AsGlyphRuns && CopyTextStamp(*shape, QPoint(left, baseline))) {
        m_stamps.CountText();
        return;
    }
    Realize();
    if (font)
        m_surface->setFont(*font);
    m_surface->setPen(QPen(ToQColor(m_font.Color())));
    if (asGlyphRuns && shape->AsGlyphRuns) {
        const QPointF origin(left, baseline - shape->Ascent);
        for (const QGlyphRun &run : shape->Runs)
            m_surface->drawGlyphRun(origin, run);
        m_penChanged = true;
        return;
    }
    if (fillCell) {
        m_surface->setBackground(ToQColor(m_brush.Color()));
        m_surface->setBackgroundMode(Qt::OpaqueMode);
    } else {
        m_surface->setBackgroundMode(Qt::TransparentMode);
    }
    m_surface->drawText(QPoint(left, baseline), text);
    m_surface->setBackground(ToQColor(m_state.BackgroundColor));
    m_surface->setBackgroundMode(m_state.BackgroundMode == bmOpaque ? Qt::OpaqueMode
                                                                    : Qt::TransparentMode);
    // The text colour and any temporary font were loaded into the painter:
    // reload the canvas pen and font before the next operation.
    m_penChanged = true;
    if (font)
        m_fontChanged = true;
}

void TChartCanvas3D::WriteText(int x, int y, const QString &text)
{
    WriteTextWithFont(x, y, text, nullptr);
}

void TChartCanvas3D::WriteRotatedText(int x, int y, const QString &text, int angle)
{
    if (angle > 360)
        angle -= 360;
    m_brush.SetStyle(bsClear);
    if (!Realize())
        return;
    std::optional<QFont> zoomed;
    if (m_textZoom && m_zoomFactor != 1.0) {
        int size = RoundToInt(m_font.Size() * m_zoomFactor);
        if (size < 1)
            size = 1;
        zoomed.emplace(MakeQFont(std::abs(MulDiv(size, m_font.PixelsPerInch(), 72))));
    }
    m_surface->save();
    m_surface->translate(x, y);
    m_surface->rotate(-angle);
    WriteTextWithFont(0, 0, text, zoomed ? &*zoomed : nullptr);
    m_surface->restore();
    m_penChanged = m_brushChanged = m_fontChanged = true;
}

void TChartCanvas3D::WriteText3D(int x, int y, int z, const QString &text)
{
    ProjectPoint(x, y, z);
    if (!m_textZoom || m_zoomFactor == 1.0) {
        WriteText(x, y, text);
        return;
    }
    int size = RoundToInt(m_font.Size() * m_zoomFactor);
    if (size < 1)
        size = 1;
    if (size == m_font.Size()) {
        WriteText(x, y, text);
        return;
    }
    const QFont zoomed = MakeQFont(std::abs(MulDiv(size, m_font.PixelsPerInch(), 72)));
    WriteTextWithFont(x, y, text, &zoomed);
}

void TChartCanvas3D::WriteRotatedText3D(int x, int y, int z, const QString &text, int angle)
{
    ProjectPoint(x, y, z);
    WriteRotatedText(x, y, text, angle);
}

// ---------------------------------------------------------------------------
// Clipping

void TChartCanvas3D::ClipToRectangle(const TRect &rect)
{
    if (!m_surface)
        return;
    const QRect r = ToQRect(NormalizedRect(rect));
    if (m_surface->hasClipping())
        m_surface->setClipRect(r, Qt::IntersectClip);
    else
        m_surface->setClipRect(r, Qt::ReplaceClip);
    if (m_clipped && !m_clipIsRect)
        m_faceStamps.IntersectClipRegion(r);
    m_clipRect = m_clipped ? (m_clipRect & r) : r;
    m_clipped = true;
}

void TChartCanvas3D::RemoveClipping()
{
    if (m_surface)
        m_surface->setClipping(false);
    ForgetClip();
}

void TChartCanvas3D::ForgetClip()
{
    m_clipped = false;
    m_clipIsRect = true;
    m_clipRect = QRect();
}

// ---------------------------------------------------------------------------
// Gradient

void TChartCanvas3D::FillGradient(const TRect &rect, TColor first, TColor second,
                                  TGradientDirection direction)
{
    if (direction != gdTopBottom && direction != gdLeftRight)
        std::swap(first, second);
    const TColor s = ColorToRGB(first);
    const TColor e = ColorToRGB(second);
    const int sr = RedOf(s), sg = GreenOf(s), sb = BlueOf(s);
    const int dr = RedOf(e) - sr, dg = GreenOf(e) - sg, db = BlueOf(e) - sb;
    const TRect r = NormalizedRect(rect);
    // Extents beyond the int range cannot be banded; nothing is drawn.
    if (std::int64_t(r.Right) - r.Left > INT32_MAX || std::int64_t(r.Bottom) - r.Top > INT32_MAX)
        return;
    const int width = r.Width();
    const int height = r.Height();
    if (width <= 0 || height <= 0 || !Realize())
        return;

    // Step n of m; a single band (m = 0) takes the first colour.
    auto bandColor = [&](int n, int m) {
        if (m <= 0)
            return QColor(sr, sg, sb);
        return QColor(sr + MulDiv(n, dr, m), sg + MulDiv(n, dg, m), sb + MulDiv(n, db, m));
    };

    // Bands are copied as they are, whatever the pen's raster mode.
    m_surface->save();
    m_surface->setCompositionMode(QPainter::CompositionMode_SourceOver);
    switch (direction) {
    case gdTopBottom:
    case gdBottomTop:
    case gdLeftRight:
    case gdRightLeft: {
        // At most 256 bands across the length, laid from the bottom (or right)
        // edge back, each one colour step on from the one before.
        const bool vertical = direction == gdTopBottom || direction == gdBottomTop;
        const int length = vertical ? height : width;
        const int farEdge = vertical ? r.Bottom : r.Right;
        const int bands = std::min(length, 256);
        for (int n = 0; n < bands; ++n) {
            const int from = farEdge - static_cast<int>(std::int64_t(n + 1) * length / bands);
            const int to = farEdge - static_cast<int>(std::int64_t(n) * length / bands);
            const QRect band = vertical ? QRect(r.Left, from, width, to - from)
                                        : QRect(from, r.Top, to - from, height);
            m_surface->fillRect(band, bandColor(n, bands - 1));
        }
        break;
    }
    case gdFromCenter: {
        const int halfW = width / 2;
        const int halfH = height / 2;
        const int steps = halfW + halfH;
        int ix = 0, iy = 0;
        while (true) {
            const QColor c = bandColor(ix + iy, steps);
            const int l = r.Left + ix, t = r.Top + iy, rr = r.Right - ix, b = r.Bottom - iy;
            if (rr <= l || b <= t)
                break;
            m_surface->fillRect(QRect(l, t, 1, b - t), c);
            m_surface->fillRect(QRect(rr - 1, t, 1, b - t), c);
            m_surface->fillRect(QRect(l, t, rr - l, 1), c);
            m_surface->fillRect(QRect(l, b - 1, rr - l, 1), c);
            if (ix >= halfW && iy >= halfH)
                break;
            if (ix < halfW)
                ++ix;
            if (iy < halfH)
                ++iy;
        }
        break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
        // The colour grows with the distance from the corner along both edges:
        // each anti-diagonal is one band, drawn as a 45-degree line.
        const bool fromTop = direction == gdFromTopLeft;
        const int steps = width + height;
        for (int d = 0; d <= width + height - 2; ++d) {
            const int x0 = r.Left + std::min(d, width - 1);
            const int j0 = d - (x0 - r.Left);
            const int x1 = r.Left + std::max(0, d - (height - 1));
            const int j1 = d - (x1 - r.Left);
            const int y0 = fromTop ? r.Top + j0 : r.Bottom - 1 - j0;
            const int y1 = fromTop ? r.Top + j1 : r.Bottom - 1 - j1;
            const QColor c = bandColor(d, steps);
            if (x0 == x1) {
                m_surface->fillRect(QRect(x0, y0, 1, 1), c);
                continue;
            }
            QPen pen(c);
            pen.setWidth(1);
            pen.setCapStyle(Qt::SquareCap);
            m_surface->setPen(pen);
            const QPointF shift = StrokeShift();
            if (shift.isNull())
                m_surface->drawLine(x0, y0, x1, y1);
            else
                m_surface->drawLine(QLineF(QPointF(x0, y0) + shift, QPointF(x1, y1) + shift));
        }
        break;
    }
    }
    m_surface->restore();
    m_penChanged = m_brushChanged = true;
}

// ---------------------------------------------------------------------------
// Buffer and window

void TChartCanvas3D::MarkDirty()
{
    m_dirty = true;
}

void TChartCanvas3D::BeginWindow(QPainter *surface, TView3DOptions *options, TRect &drawRect,
                                 const TRect &bounds, bool is3D, TColor)
{
    m_bounds = bounds;
    m_view3DOptions = options;
    m_is3D = is3D;
    m_orthogonal = false;
    m_zoomFactor = 1.0;
    if (m_is3D) {
        if (options) {
            m_orthogonal = options->Orthogonal();
            m_zoomFactor = options->Zoom() * 0.01;
            m_textZoom = options->ZoomText();
        }
        if (!m_orthogonal)
            CalcCoefficients();
    }
    if (!m_buffered) {
        SetSurface(surface);
        drawRect = bounds;
        return;
    }
    const int width = bounds.Width();
    const int height = bounds.Height();
    PrepareBuffer(width, height, SurfaceRatio(surface));
    if (m_bufferPainter) {
        // A new paint starts without the clip of the previous one.
        m_bufferPainter->setClipping(false);
        m_bufferPainter->resetTransform();
    }
    ForgetClip();
    SetSurface(m_bufferPainter.get());
    drawRect = TRect{0, 0, width, height};
}

void TChartCanvas3D::PrepareBuffer(int width, int height, qreal ratio)
{
    // The one place that decides the buffer's device pixels. A fractional
    // ratio rounds the device size up, so that the logical area is covered.
    const QSize deviceSize(static_cast<int>(std::ceil(width * ratio - 1e-9)),
                           static_cast<int>(std::ceil(height * ratio - 1e-9)));
    if (!m_buffer.isNull() && (m_buffer.size() != deviceSize || m_ratio != ratio))
        FreeBuffer();
    if (m_ratio != ratio) {
        // Stamps are pictures in device pixels of the old ratio.
        m_stamps.ForgetPictures();
        m_ratio = ratio;
    }
    if (!m_buffer.isNull() || width <= 0 || height <= 0)
        return;
    m_buffer = QImage(deviceSize, QImage::Format_ARGB32_Premultiplied);
    if (m_buffer.isNull())
        return;
    m_buffer.setDevicePixelRatio(ratio);
    const QSizeF logical = m_buffer.deviceIndependentSize();
    m_bufferArea = QRect(0, 0, static_cast<int>(std::ceil(logical.width())),
                         static_cast<int>(std::ceil(logical.height())));
    m_buffer.fill(Qt::white);
    m_bufferPainter = std::make_unique<QPainter>(&m_buffer);
    if (!m_bufferPainter->isActive())
        FreeBuffer();
}

bool TChartCanvas3D::SaveLayer()
{
    m_layer.Drop();
    if (!m_buffered || !m_bufferPainter || m_surface != m_bufferPainter.get() ||
        m_buffer.isNull() || m_surface->hasClipping() ||
        m_surface->worldTransform().type() != QTransform::TxNone)
        return false;
    return m_layer.Keep(m_buffer, m_pen, m_brush, m_font, m_state, m_penPos);
}

bool TChartCanvas3D::RestoreLayer()
{
    if (!m_bufferPainter || m_surface != m_bufferPainter.get() || !m_layer.Fits(m_buffer))
        return false;
    // Through the painter, which owns the buffer while it is active; an
    // unscaled copy replacing every pixel.
    m_surface->setClipping(false);
    ForgetClip();
    m_surface->resetTransform();
    m_surface->setCompositionMode(QPainter::CompositionMode_Source);
    m_surface->drawImage(QPoint(0, 0), m_layer.Image());
    m_layer.PutStateBack(m_pen, m_brush, m_font, m_state, m_penPos);
    // Everything is applied to the painter again before the next operation,
    // as the painter may still hold the state of the previous picture's end.
    m_penChanged = m_brushChanged = m_fontChanged = true;
    m_fontChecked = false;
    SetBackgroundColor(m_state.BackgroundColor);
    SetBackgroundMode(m_state.BackgroundMode);
    return true;
}

void TChartCanvas3D::DropLayer()
{
    m_layer.Drop();
}

void TChartCanvas3D::PresentImage(QPainter *destination, QPainter *defaultSurface,
                                  const TRect &rect)
{
    if (m_buffered && !m_buffer.isNull()) {
        if (destination && destination != m_bufferPainter.get()) {
            destination->save();
            destination->setCompositionMode(QPainter::CompositionMode_SourceOver);
            if (m_monochrome)
                destination->drawImage(
                    QPoint(rect.Left, rect.Top),
                    m_buffer.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither));
            else
                destination->drawImage(QPoint(rect.Left, rect.Top), m_buffer);
            destination->restore();
        }
        m_dirty = false;
    }
    SetSurface(defaultSurface);
}

bool TChartCanvas3D::RepaintFromBuffer()
{
    // A window moved to a screen of another device pixel ratio needs a
    // picture with the new screen's pixels.
    if (m_dirty || m_buffer.isNull())
        return false;
    if (m_surface && m_surface != m_bufferPainter.get() && SurfaceRatio(m_surface) != m_ratio)
        return false;
    if (m_surface && m_surface != m_bufferPainter.get()) {
        m_surface->save();
        m_surface->setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_surface->setClipping(false);
        if (m_monochrome)
            m_surface->drawImage(
                QPoint(0, 0), m_buffer.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither));
        else
            m_surface->drawImage(QPoint(0, 0), m_buffer);
        m_surface->restore();
    }
    return true;
}

} // namespace kov
