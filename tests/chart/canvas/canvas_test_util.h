#pragma once

#include "chart/canvas/chart_canvas3d.h"

#include <QImage>
#include <QPainter>

// Shared helpers for the canvas tests: a buffered canvas of a given size,
// ready to draw, and pixel readers in engine colours.
namespace kov::test {

/// Starts a buffered paint of width x height; the canvas draws into its image.
/// A ratio other than 1 paints for a surface of that device pixel ratio, as
/// on a high-density screen.
inline void BeginPaint(TChartCanvas3D &canvas, int width, int height,
                       TView3DOptions *options = nullptr, bool is3D = false, qreal ratio = 1)
{
    TRect drawRect;
    QImage screen(1, 1, QImage::Format_ARGB32_Premultiplied);
    screen.setDevicePixelRatio(ratio);
    QPainter surface(&screen);
    canvas.BeginWindow(ratio == 1 ? nullptr : &surface, options, drawRect,
                       TRect{0, 0, width, height}, is3D, clWhite);
    canvas.ResetDrawingState();
    canvas.FillRectangle(drawRect);
}

/// The image at ratio times its size, each pixel a ratio x ratio block: what
/// a picture blown up from the lower resolution looks like.
inline QImage BlownUp(const QImage &image, int ratio)
{
    return image.scaled(image.size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

inline TColor PixelAt(const QImage &image, int x, int y)
{
    return FromQColor(QColor::fromRgba(image.pixel(x, y)));
}

inline TColor PixelAt(const TChartCanvas3D &canvas, int x, int y)
{
    return PixelAt(canvas.BufferImage(), x, y);
}

/// Bounding box of the pixels of the image that are not white.
inline QRect InkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                box |= QRect(x, y, 1, 1);
    return box;
}

/// Number of pixels of the image that are not white.
inline int CountInk(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                ++n;
    return n;
}

/// Number of pixels in which two pictures of the same size differ; first is
/// set to the first of them (row by row) when there is one.
inline int DifferingPixels(const QImage &picture, const QImage &reference, QPoint &first)
{
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != reference.pixel(x, y) && differing++ == 0)
                first = QPoint(x, y);
    return differing;
}

} // namespace kov::test
