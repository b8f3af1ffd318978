#include "chart/series/series_pointer.h"

#include "chart/canvas/canvas3d.h"
#include "chart/exceptions.h"

#include <algorithm>

namespace kov {

namespace {

void CheckPointerSize(int value)
{
    if (value < 1)
        throw ChartException(QStringLiteral("Pointer size must be greater than zero"));
}

} // namespace

TSeriesPointer::TSeriesPointer(TChangeHandler onChange)
    : m_changed(std::move(onChange)), m_brush(m_changed), m_pen(m_changed)
{
}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::SetHorizSize(int value)
{
    CheckPointerSize(value);
    SetAndInvalidate(m_changed, m_settings.HorizSize, value);
}

void TSeriesPointer::SetVertSize(int value)
{
    CheckPointerSize(value);
    SetAndInvalidate(m_changed, m_settings.VertSize, value);
}

void TSeriesPointer::CopyFrom(const TSeriesPointer &source)
{
    using Pointer = TSeriesPointer;
    if (CopyParts(*this, source, &Pointer::m_settings, &Pointer::m_brush, &Pointer::m_pen))
        ReportChange(m_changed);
}

void TSeriesPointer::PrepareMarkerCanvas(TCanvas3D &canvas, TColor color) const
{
    canvas.ApplyChartPen(m_pen);
    if (m_pen.Visible() && m_pen.Color() == clDefault)
        canvas.Pen().SetColor(color);
    canvas.Brush().CopyFrom(m_brush);
    if (canvas.Brush().Color() == clDefault)
        canvas.Brush().SetColor(color);
}

void TSeriesPointer::DrawMarkerShape(const TSeriesPaintContext &context, bool is3D, int x, int y,
                                     int halfWidth, int halfHeight, TColor color,
                                     TSeriesPointerStyle style) const
{
    TCanvas3D &canvas = context.Canvas;
    const int left = x - halfWidth;
    const int right = x + halfWidth;
    const int top = y - halfHeight;
    const int bottom = y + halfHeight;
    const int z0 = context.Depth.Start;
    const int zm = context.Depth.Middle;
    const int z1 = context.Depth.End;

    auto cross = [&] {
        canvas.Pen().SetColor(color);
        if (is3D) {
            canvas.DrawVerticalLine3D(x, top, bottom + 1, z0);
            canvas.DrawHorizontalLine3D(left, right + 1, y, z0);
        } else {
            canvas.DrawVerticalLine(x, top, bottom + 1);
            canvas.DrawHorizontalLine(left, right + 1, y);
        }
    };
    auto diagCross = [&] {
        canvas.Pen().SetColor(color);
        if (is3D) {
            canvas.DrawSegment3D(left, top, right + 1, bottom + 1, z0);
            canvas.DrawSegment3D(right, top, left - 1, bottom + 1, z0);
        } else {
            canvas.DrawSegment(left, top, right + 1, bottom + 1);
            canvas.DrawSegment(right, top, left - 1, bottom + 1);
        }
    };
    // Upright (apex at apexY, base at baseY) or upside-down triangle.
    auto triangle = [&](int apexY, int baseY) {
        if (is3D) {
            if (m_settings.Draw3D)
                canvas.DrawPyramid(true, left, apexY, right, baseY, z0, z1, m_settings.Dark3D);
            else
                canvas.DrawTriangle3D(TPoint{left, baseY}, TPoint{right, baseY}, TPoint{x, apexY},
                                      z0);
        } else {
            const TPoint points[3] = {{left, baseY}, {right, baseY}, {x, apexY}};
            canvas.DrawPolygon(points, 2);
        }
    };

    switch (style) {
    case psRectangle:
        if (!is3D)
            canvas.DrawRectangle(left, top, right + 1, bottom + 1);
        else if (m_settings.Draw3D)
            canvas.DrawCube(left, right, top, bottom, z0, z1, m_settings.Dark3D);
        else
            canvas.DrawRectangle3D(TRect{left, top, right + 1, bottom + 1}, z0);
        break;
    case psCircle:
        if (is3D)
            canvas.DrawEllipse3D(left, top, right, bottom, z0);
        else
            canvas.DrawEllipse(left, top, right, bottom);
        break;
    case psTriangle:
        triangle(top, bottom);
        break;
    case psDownTriangle:
        triangle(bottom, top);
        break;
    case psCross:
        cross();
        break;
    case psDiagCross:
        diagCross();
        break;
    case psStar:
        cross();
        diagCross();
        break;
    case psDiamond:
        if (is3D) {
            canvas.DrawQuad3D(TPoint{left, y}, TPoint{x, top}, TPoint{right, y}, TPoint{x, bottom},
                              z0);
        } else {
            const TPoint points[4] = {{left, y}, {x, top}, {right, y}, {x, bottom}};
            canvas.DrawPolygon(points, 3);
        }
        break;
    case psSmallDot:
        if (is3D)
            canvas.PlotPixel3D(x, y, zm, color);
        else
            canvas.PlotPixel(x, y, color);
        break;
    }
}

void TSeriesPointer::CalcHorizMargins(int &left, int &right) const
{
    if (!m_settings.Visible || !m_settings.InflateMargins)
        return;
    left = std::max(left, m_settings.HorizSize + 1);
    right = std::max(right, m_settings.HorizSize + 1);
}

void TSeriesPointer::CalcVertMargins(int &top, int &bottom) const
{
    if (!m_settings.Visible || !m_settings.InflateMargins)
        return;
    top = std::max(top, m_settings.VertSize + 1);
    bottom = std::max(bottom, m_settings.VertSize + 1);
}

void TSeriesPointer::DrawLegendShape(const TSeriesPaintContext &context, TColor color,
                                     const TRect &rect, bool linePenVisible) const
{
    PrepareMarkerCanvas(context.Canvas, color);
    int width = 0, height = 0;
    RectSize(rect, width, height);
    // A line through the symbol leaves room for it above and below the marker.
    const int limitX = linePenVisible ? width / 3 : width / 2 + 1;
    const int limitY = linePenVisible ? height / 3 : height / 2 + 1;
    int cx = 0, cy = 0;
    RectCenter(rect, cx, cy);
    DrawMarkerShape(context, false, cx, cy, std::min(m_settings.HorizSize, limitX),
                    std::min(m_settings.VertSize, limitY), color, m_settings.Style);
}

} // namespace kov
