// TChartCanvas3D: projection and the operations at depth.
#include "chart/canvas/chart_canvas3d.h"

#include "chart/numeric.h"

#include <QVarLengthArray>
#include <algorithm>
#include <cstdint>

#include <cmath>

namespace kov {

namespace {

constexpr long double DegreesToRadians = 0.017453292519943295L;

} // namespace

// ---------------------------------------------------------------------------
// Projection

void TChartCanvas3D::CalcCoefficients()
{
    long double r = 0, e = 0, t = 0;
    if (m_view3DOptions) {
        r = m_view3DOptions->Rotation();
        e = m_view3DOptions->Elevation();
        t = m_view3DOptions->Tilt();
    }
    long double sR, cR, sE, cE, sT, cT;
    SinCos(r * DegreesToRadians, sR, cR);
    SinCos(e * DegreesToRadians, sE, cE);
    SinCos(t * DegreesToRadians, sT, cT);
    constexpr double minimum = 0.00001;
    m_coef.XX = std::max(static_cast<double>(sR * sE * sT + cR * cT), minimum);
    m_coef.XY = static_cast<double>(cE * sT);
    m_coef.XZ = static_cast<double>(cR * sE * sT - cT * sR);
    m_coef.YX = static_cast<double>(cT * sR * sE - cR * sT);
    m_coef.YY = std::max(static_cast<double>(cE * cT), minimum);
    m_coef.YZ = static_cast<double>(cR * cT * sE + sR * sT);
    m_coef.DepthX = cE * sR;
    m_coef.DepthY = sE;
    m_coef.DepthZ = static_cast<double>(cR * cE);
    m_perspectiveFactor = 0.0;
}

void TChartCanvas3D::SetProjection(int depth, const TRect &, const TRect &chartRect)
{
    RectCenter(chartRect, m_centreX, m_centreY);
    m_centreZ = depth / 2;
    m_offsetX = m_centreX;
    m_offsetY = m_centreY;
    if (m_view3DOptions) {
        m_offsetX += m_view3DOptions->HorizOffset();
        m_offsetY += m_view3DOptions->VertOffset();
        if (m_view3DOptions->Perspective() > 0)
            m_perspectiveFactor = m_view3DOptions->Perspective() / 35000.0;
    }
}

void TChartCanvas3D::ProjectPoint(int &x, int &y, int z) const
{
    // Outside the 3D mode (flat charts, the front-plane bracket) points stay
    // in screen coordinates.
    if (!m_is3D)
        return;
    const double k = m_zoomFactor;
    if (m_orthogonal) {
        const int nx = RoundToInt(k * (x - m_centreX + z)) + m_offsetX;
        const int ny = RoundToInt(k * (y - m_centreY - z)) + m_offsetY;
        x = nx;
        y = ny;
        return;
    }
    const long double dx = x - m_centreX;
    const long double dy = y - m_centreY;
    const long double dz = z - m_centreZ;
    long double f = k;
    if (m_perspectiveFactor > 0)
        f = k * (1.0L - m_perspectiveFactor *
                            (dx * m_coef.DepthX - dy * m_coef.DepthY + dz * m_coef.DepthZ));
    x = RoundToInt(static_cast<double>((dx * m_coef.XX + dy * m_coef.XY + dz * m_coef.XZ) * f)) +
        m_offsetX;
    y = RoundToInt(static_cast<double>((dx * m_coef.YX + dy * m_coef.YY + dz * m_coef.YZ) * f)) +
        m_offsetY;
}

void TChartCanvas3D::ProjectToPoint(int x, int y, TPoint &point, int z) const
{
    ProjectPoint(x, y, z);
    point = TPoint{x, y};
}

void TChartCanvas3D::ScreenToPlane(int &x, int &y, int z) const
{
    if (m_zoomFactor == 0 || !m_is3D)
        return;
    const double q = 1.0 / m_zoomFactor;
    if (m_orthogonal) {
        const int nx = RoundToInt(q * (x - m_offsetX)) - z + m_centreX;
        const int ny = RoundToInt(q * (y - m_offsetY)) + z + m_centreY;
        x = nx;
        y = ny;
        return;
    }
    if (m_coef.XX == 0 || m_coef.YY == 0)
        return;
    const double dz = z - m_centreZ;
    const int nx = RoundToInt((q * (x - m_offsetX) - dz * m_coef.XZ - (y - m_centreY) * m_coef.XY) /
                              m_coef.XX) +
                   m_centreX;
    const int ny = RoundToInt((q * (y - m_offsetY) - dz * m_coef.YZ - (x - m_centreX) * m_coef.YX) /
                              m_coef.YY) +
                   m_centreY;
    x = nx;
    y = ny;
}

bool TChartCanvas3D::IsHardware3D() const
{
    return false;
}

bool TChartCanvas3D::SupportsText3D() const
{
    return false;
}

void TChartCanvas3D::BeginFrontPlane()
{
    m_saved3D = m_is3D;
    m_is3D = false;
}

void TChartCanvas3D::EndFrontPlane()
{
    m_is3D = m_saved3D;
}

// ---------------------------------------------------------------------------
// Lines and points at depth

void TChartCanvas3D::PlotPixel3D(int x, int y, int z, TColor color)
{
    ProjectPoint(x, y, z);
    if (m_pen.Width() <= 1) {
        PlotPixel(x, y, color);
        return;
    }
    // A dot of the pen's width.
    if (Realize()) {
        const QPointF shift = StrokeShift();
        if (shift.isNull())
            m_surface->drawPoint(x, y);
        else
            m_surface->drawPoint(QPointF(x, y) + shift);
    }
    m_penPos = QPoint(x, y);
}

void TChartCanvas3D::MovePenTo3D(int x, int y, int z)
{
    ProjectPoint(x, y, z);
    MovePenTo(x, y);
}

void TChartCanvas3D::DrawLineTo3D(int x, int y, int z)
{
    ProjectPoint(x, y, z);
    DrawLineTo(x, y);
}

void TChartCanvas3D::DrawSegment3D(int x1, int y1, int x2, int y2, int z)
{
    ProjectPoint(x1, y1, z);
    ProjectPoint(x2, y2, z);
    LineSegment(x1, y1, x2, y2);
}

void TChartCanvas3D::DrawHorizontalLine3D(int left, int right, int y, int z)
{
    DrawSegment3D(left, y, right, y, z);
}

void TChartCanvas3D::DrawVerticalLine3D(int x, int top, int bottom, int z)
{
    DrawSegment3D(x, top, x, bottom, z);
}

void TChartCanvas3D::DrawDepthLine(int x, int y, int z0, int z1)
{
    int x0 = x, y0 = y;
    ProjectPoint(x0, y0, z0);
    ProjectPoint(x, y, z1);
    LineSegment(x0, y0, x, y);
}

// ---------------------------------------------------------------------------
// Quadrilaterals and polygons

void TChartCanvas3D::ProjectInto(int index, int x, int y, int z)
{
    ProjectPoint(x, y, z);
    m_scratch[index] = QPoint(x, y);
}

void TChartCanvas3D::DrawScratchQuad()
{
    PolygonScratch(4);
}

void TChartCanvas3D::DrawScreenQuad(const TPoint &a, const TPoint &b, const TPoint &c,
                                    const TPoint &d)
{
    m_scratch[0] = ToQPoint(a);
    m_scratch[1] = ToQPoint(b);
    m_scratch[2] = ToQPoint(c);
    m_scratch[3] = ToQPoint(d);
    DrawScratchQuad();
}

void TChartCanvas3D::DrawProjected(std::initializer_list<TPoint3D> corners)
{
    if (m_scratch.size() < static_cast<qsizetype>(corners.size()))
        m_scratch.resize(static_cast<qsizetype>(corners.size()));
    int index = 0;
    for (const TPoint3D &corner : corners)
        ProjectInto(index++, corner.X, corner.Y, corner.Z);
    PolygonScratch(index);
}

void TChartCanvas3D::DrawQuad3D(const TPoint &p1, const TPoint &p2, const TPoint &p3,
                                const TPoint &p4, int z)
{
    DrawProjected({{p1.X, p1.Y, z}, {p2.X, p2.Y, z}, {p3.X, p3.Y, z}, {p4.X, p4.Y, z}});
}

void TChartCanvas3D::DrawDepthQuad(const TPoint &p1, const TPoint &p2, const TPoint &p3,
                                   const TPoint &p4, int z0, int z1)
{
    DrawProjected({{p1.X, p1.Y, z0}, {p2.X, p2.Y, z0}, {p3.X, p3.Y, z1}, {p4.X, p4.Y, z1}});
}

void TChartCanvas3D::DrawDepthPlane(const TPoint &a, const TPoint &b, int z0, int z1)
{
    DrawProjected({{a.X, a.Y, z0}, {b.X, b.Y, z0}, {b.X, b.Y, z1}, {a.X, a.Y, z1}});
}

void TChartCanvas3D::DrawRectangle3D(const TRect &rect, int z)
{
    DrawProjected({{rect.Left, rect.Top, z},
                   {rect.Right, rect.Top, z},
                   {rect.Right, rect.Bottom, z},
                   {rect.Left, rect.Bottom, z}});
}

void TChartCanvas3D::DrawFloorPlane(int left, int y, int right, int z0, int z1)
{
    DrawProjected({{left, y, z0}, {right, y, z0}, {right, y, z1}, {left, y, z1}});
}

void TChartCanvas3D::DrawSidePlane(int x, int top, int bottom, int z0, int z1)
{
    DrawProjected({{x, top, z0}, {x, top, z1}, {x, bottom, z1}, {x, bottom, z0}});
}

void TChartCanvas3D::DrawPolygon3D(const TPoint *points, int lastIndex, int)
{
    DrawPolygon(points, lastIndex);
}

void TChartCanvas3D::DrawTriangle3D(const TPoint &p1, const TPoint &p2, const TPoint &p3, int z)
{
    DrawProjected({{p1.X, p1.Y, z}, {p2.X, p2.Y, z}, {p3.X, p3.Y, z}});
}

void TChartCanvas3D::DrawShadedTriangle(const TPoint3D &p1, const TPoint3D &p2, const TPoint3D &p3,
                                        TColor c1, TColor, TColor)
{
    if (m_brush.Style() != bsClear)
        m_brush.SetColor(c1);
    DrawProjected({p1, p2, p3});
}

void TChartCanvas3D::DrawSurface() {}

bool TChartCanvas3D::StampFace(const QPoint *points, int count)
{
    // Only the canvas's own buffer, as the painter sets up to draw into it
    // (SurfacePolygon) with no transform but the ratio's, no antialiasing,
    // and a copying composition.
    if (!m_surface || m_surface != m_bufferPainter.get() || m_buffer.isNull() ||
        m_buffer.format() != QImage::Format_ARGB32_Premultiplied ||
        m_ratio != std::floor(m_ratio) ||
        m_surface->worldTransform().type() != QTransform::TxNone || m_surface->opacity() != 1.0 ||
        m_surface->testRenderHint(QPainter::Antialiasing))
        return false;
    // The pen changes seldom between faces and is realised (with the
    // composition it brings); the fill changes with every face of a shaded
    // solid and is read from the canvas brush, the painter's brush left to
    // be set when the painter draws next.
    if (m_penChanged && !Realize())
        return false;
    if (m_surface->compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    TFaceStamps::Face face;
    if (!m_brushChanged) {
        const QBrush &brush = m_surface->brush();
        face.Filled = brush.style() != Qt::NoBrush;
        if (face.Filled && brush.style() != Qt::SolidPattern)
            return false;
        face.Fill = brush.color().rgba();
    } else {
        face.Filled = m_brush.Style() != bsClear;
        if (face.Filled && (m_brush.Style() != bsSolid || !m_brush.Bitmap().isNull()))
            return false;
        face.Fill = ToQColor(m_brush.Color()).rgba();
    }
    TFaceStamps::ClipKind clip = TFaceStamps::ClipKind::None;
    if (m_clipped)
        clip = m_clipIsRect ? TFaceStamps::ClipKind::Rectangle : TFaceStamps::ClipKind::Region;
    face.Points = points;
    face.Count = count;
    face.Pen = &m_surface->pen();
    face.Ratio = static_cast<int>(m_ratio);
    face.Shift = StrokeShift();
    // The painter writes into the same memory: the buffer is not detached.
    const TFaceStamps::Target target{const_cast<uchar *>(m_buffer.constBits()),
                                     m_buffer.bytesPerLine(), m_buffer.size()};
    return m_faceStamps.Draw(target, face, clip, m_clipRect);
}

// ---------------------------------------------------------------------------
// Clipping to the chart box

void TChartCanvas3D::ClipToCube(const TRect &rect, int z0, int z1)
{
    if (!m_is3D) {
        ClipToRectangle(TRect{rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom - 1});
        return;
    }
    const int elevation = m_view3DOptions ? m_view3DOptions->Elevation() : 0;
    const int rotation = m_view3DOptions ? m_view3DOptions->Rotation() : 0;
    if (elevation == 270 && (rotation == 270 || rotation == 360)) {
        TPoint a, b;
        ProjectToPoint(rect.Left, rect.Top, a, z0);
        ProjectToPoint(rect.Right, rect.Top, b, z1);
        ClipToRectangle(TRect{a.X, a.Y, b.X, b.Y});
        return;
    }
    TPoint p[6];
    ProjectToPoint(rect.Left, rect.Bottom, p[0], z0);
    ProjectToPoint(rect.Left, rect.Top, p[1], z0);
    TPoint rightTopFront, leftTopBack, rightBottomBack;
    ProjectToPoint(rect.Right, rect.Top, rightTopFront, z0);
    ProjectToPoint(rect.Left, rect.Top, leftTopBack, z1);
    ProjectToPoint(rect.Right, rect.Bottom, rightBottomBack, z1);
    p[2] = rightTopFront.Y < leftTopBack.Y ? rightTopFront : leftTopBack;
    ProjectToPoint(rect.Right, rect.Top, p[3], z1);
    p[4] = rightTopFront.X > rightBottomBack.X ? rightTopFront : rightBottomBack;
    ProjectToPoint(rect.Right, rect.Bottom, p[5], z0);
    if (p[5].X < p[0].X) {
        p[0].X = p[5].X;
        if (rightTopFront.Y < p[0].Y)
            p[0].Y = rightTopFront.Y;
    }
    if (!m_surface)
        return;
    QPoint q[6];
    for (int i = 0; i < 6; ++i)
        q[i] = QPoint(p[i].X, p[i].Y);
    const QRegion region(QPolygon(QList<QPoint>(q, q + 6)), Qt::OddEvenFill);
    m_surface->setClipRegion(region, Qt::ReplaceClip);
    m_faceStamps.SetClipRegion(region);
    m_clipped = true;
    m_clipIsRect = false;
}

// ---------------------------------------------------------------------------
// Solids

TColor TChartCanvas3D::ReadBaseColor() const
{
    return m_brush.Style() == bsSolid ? m_brush.Color() : m_state.BackgroundColor;
}

void TChartCanvas3D::DarkenBase(TColor base, int amount, bool darkSides)
{
    if (!darkSides)
        return;
    const TColor c = DarkenColor(base, amount);
    if (m_brush.Style() == bsSolid)
        m_brush.SetColor(c);
    else
        SetBackgroundColor(c);
}

void TChartCanvas3D::DrawCube(int left, int right, int top, int bottom, int z0, int z1,
                              bool darkSides)
{
    const TColor base = ReadBaseColor();
    TPoint p1, p2, p3, p4;
    ProjectToPoint(left, top, p1, z0);
    ProjectToPoint(right, top, p2, z0);
    ProjectToPoint(right, bottom, p3, z0);
    ProjectToPoint(right, top, p4, z1);

    TPoint front;
    ProjectToPoint(left, bottom, front, z0);
    DrawScreenQuad(p1, p2, p3, front);

    TPoint q;
    ProjectToPoint(right, bottom, q, z1);
    if (p3.X < q.X) {
        DarkenBase(base, SideDarkness, darkSides);
        DrawScreenQuad(p2, p4, q, p3);
    } else {
        ProjectInto(0, left, top, z0);
        ProjectInto(1, left, top, z1);
        ProjectInto(2, left, bottom, z1);
        ProjectInto(3, left, bottom, z0);
        if (m_scratch[2].x() < m_scratch[3].x()) {
            DarkenBase(base, SideDarkness, darkSides);
            DrawScratchQuad();
        }
    }

    TPoint t;
    ProjectToPoint(left, top, t, z1);
    if (t.Y >= p2.Y)
        return;
    DarkenBase(base, TopDarkness, darkSides);
    DrawScreenQuad(p1, p2, p4, t);
}

void TChartCanvas3D::DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0,
                                 int z1, bool darkSides)
{
    const TColor base = ReadBaseColor();
    const int midZ = (z0 + z1) / 2;
    auto triangle = [this](const TPoint &a, const TPoint &b, const TPoint &c) {
        m_scratch[0] = ToQPoint(a);
        m_scratch[1] = ToQPoint(b);
        m_scratch[2] = ToQPoint(c);
        PolygonScratch(3);
    };
    if (vertical) {
        if (top != bottom) {
            TPoint a, b, c, d, e;
            ProjectToPoint(left, bottom, a, z0);
            ProjectToPoint(right, bottom, b, z0);
            ProjectToPoint((left + right) / 2, top, c, midZ);
            triangle(a, c, b);
            ProjectToPoint(left, bottom, d, z1);
            const bool backVisible = top < bottom && d.Y < c.Y;
            if (backVisible)
                triangle(a, c, d);
            DarkenBase(base, SideDarkness, darkSides);
            ProjectToPoint(right, bottom, e, z1);
            triangle(b, c, e);
            if (backVisible)
                triangle(c, d, e);
        }
        if (top < bottom)
            return;
        DarkenBase(base, TopDarkness, darkSides);
        DrawFloorPlane(left, bottom, right, z0, z1);
        return;
    }
    if (left != right) {
        TPoint a, b, c, d;
        ProjectToPoint(left, top, a, z0);
        ProjectToPoint(left, bottom, b, z0);
        ProjectToPoint(right, (top + bottom) / 2, c, midZ);
        triangle(a, c, b);
        DarkenBase(base, TopDarkness, darkSides);
        ProjectToPoint(left, top, d, z1);
        triangle(a, c, d);
    }
    if (left < right)
        return;
    DarkenBase(base, SideDarkness, darkSides);
    DrawSidePlane(left, top, bottom, z0, z1);
}

void TChartCanvas3D::DrawCone(bool vertical, int left, int top, int right, int bottom, int z0,
                              int z1, int)
{
    DrawPyramid(vertical, left, top, right, bottom, z0, z1, true);
}

// A cylinder standing in the box (lying along it when not vertical), round
// across the depth: its body is the outline around both round ends, its far
// end (the top, or the right end) a darkened disc. Seen flat, both ends are
// lines and the cylinder is its box.
void TChartCanvas3D::DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0,
                                  int z1, bool darkSides)
{
    const TColor base = ReadBaseColor();
    constexpr int rim = 32;
    QPoint body[2 * rim];
    const double midZ = (z0 + z1) / 2.0;
    const double depthRadius = (z1 - z0) / 2.0;
    const double centre = vertical ? (left + right) / 2.0 : (top + bottom) / 2.0;
    const double radius = vertical ? (right - left) / 2.0 : (bottom - top) / 2.0;
    for (int k = 0; k < rim; ++k) {
        const double a = 2 * Pi * k / rim;
        const int across = RoundToInt(centre + radius * std::cos(a));
        const int z = RoundToInt(midZ + depthRadius * std::sin(a));
        int x1 = vertical ? across : right, y1 = vertical ? top : across;
        int x2 = vertical ? across : left, y2 = vertical ? bottom : across;
        ProjectPoint(x1, y1, z);
        ProjectPoint(x2, y2, z);
        body[k] = QPoint(x1, y1);
        body[rim + k] = QPoint(x2, y2);
    }
    QPoint cap[rim];
    std::copy(body, body + rim, cap);
    const int corners = ConvexHull(body, 2 * rim);
    if (!Realize())
        return;
    SurfacePolygon(body, corners);
    const QRect capBox = QPolygon(QList<QPoint>(cap, cap + rim)).boundingRect();
    if (capBox.width() < 2 || capBox.height() < 2)
        return;
    DarkenBase(base, vertical ? TopDarkness : SideDarkness, darkSides);
    if (Realize())
        SurfacePolygon(cap, rim);
}

void TChartCanvas3D::DrawEllipse3D(int x1, int y1, int x2, int y2, int z)
{
    if (!m_is3D) {
        DrawEllipse(x1, y1, x2 + 1, y2 + 1);
        return;
    }
    if (m_orthogonal) {
        ProjectPoint(x1, y1, z);
        ProjectPoint(x2, y2, z);
        DrawEllipse(x1, y1, x2, y2);
        return;
    }
    const int cx = (x1 + x2) / 2;
    const int cy = (y1 + y2) / 2;
    const int rx = (x2 - x1) / 2;
    const int ry = (y2 - y1) / 2;
    constexpr int count = 32;
    QPoint outline[count];
    {
        int px = cx, py = y2;
        ProjectPoint(px, py, z);
        outline[0] = QPoint(px, py);
    }
    // The angle step is pi/10, so the 32 points go once around and then over
    // part of the ellipse again.
    for (int k = 1; k < count; ++k) {
        const double angle = k * Pi / 10;
        int px = cx + TruncToInt(rx * std::sin(angle));
        int py = cy + TruncToInt(ry * std::cos(angle));
        ProjectPoint(px, py, z);
        outline[k] = QPoint(px, py);
    }
    int pcx = cx, pcy = cy;
    ProjectPoint(pcx, pcy, z);
    if (!Realize())
        return;
    if (m_brush.Style() != bsClear) {
        const QPen saved = m_surface->pen();
        m_surface->setPen(Qt::NoPen);
        for (int k = 0; k < count - 1; ++k) {
            const QPoint tri[3] = {QPoint(pcx, pcy), outline[k], outline[k + 1]};
            SurfacePolygon(tri, 3);
        }
        m_surface->setPen(saved);
    }
    if (m_pen.Style() != psClear)
        SurfacePolyline(outline, count);
}

void TChartCanvas3D::DrawSphere(int x, int y, double radius, int z)
{
    DrawEllipse3D(RoundToInt(x - radius), RoundToInt(y - radius), RoundToInt(x + radius),
                  RoundToInt(y + radius), z);
}

// ---------------------------------------------------------------------------
// Arrow

void TChartCanvas3D::DrawArrow(bool filled, const TPoint &from, const TPoint &to, int headLength,
                               int headWidth, int z)
{
    const double dx = to.X - from.X;
    const double dy = from.Y - to.Y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0)
        return;
    const double l =
        std::min(static_cast<double>(RoundToInt(length)), static_cast<double>(headLength));
    const double s = dy / length;
    const double c = dx / length;
    const double u = to.X * c - to.Y * s;
    const double v = to.X * s + to.Y * c;
    auto toScreen = [&](double fu, double fv) {
        int x = RoundToInt(fu * c + fv * s);
        int y = RoundToInt(-fu * s + fv * c);
        ProjectPoint(x, y, z);
        return QPoint(x, y);
    };
    const double halfWidth = headWidth / 2.0;
    const QPoint h1 = toScreen(u - l, v - halfWidth);
    const QPoint h2 = toScreen(u - l, v + halfWidth);
    int tx = to.X, ty = to.Y;
    ProjectPoint(tx, ty, z);
    const QPoint tip(tx, ty);
    if (!filled) {
        int fx = from.X, fy = from.Y;
        ProjectPoint(fx, fy, z);
        LineSegment(fx, fy, tip.x(), tip.y());
        LineSegment(tip.x(), tip.y(), h2.x(), h2.y());
        LineSegment(tip.x(), tip.y(), h1.x(), h1.y());
        return;
    }
    const double q = headWidth / 4.0;
    const double uf = from.X * c - from.Y * s;
    const QPoint arrow[7] = {
        toScreen(uf, v + q),   toScreen(uf, v - q), toScreen(u - l, v - q), h1, tip, h2,
        toScreen(u - l, v + q)};
    if (Realize())
        SurfacePolygon(arrow, 7);
}

// ---------------------------------------------------------------------------
// Outlines

int ConvexHull(QPoint *points, int count)
{
    auto cross = [](const QPoint &o, const QPoint &a, const QPoint &b) {
        return (std::int64_t(a.x()) - o.x()) * (std::int64_t(b.y()) - o.y()) -
               (std::int64_t(a.y()) - o.y()) * (std::int64_t(b.x()) - o.x());
    };
    std::sort(points, points + count, [](const QPoint &a, const QPoint &b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    count = static_cast<int>(std::unique(points, points + count) - points);
    if (count < 3)
        return count;
    // Andrew's monotone chain: the lower hull, then the upper, written over
    // the sorted points from the front (the chain never overtakes the scan).
    QVarLengthArray<QPoint, 130> hull(2 * count);
    int k = 0;
    for (int i = 0; i < count; ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (int i = count - 2, lower = k + 1; i >= 0; --i) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    std::copy(hull.begin(), hull.begin() + (k - 1), points);
    return k - 1;
}

} // namespace kov
