#pragma once

#include "chart/canvas/chart_canvas.h"

#include <QImage>

// Shared helpers for the canvas tests: a buffered canvas of a given size,
// ready to draw, and pixel readers in engine colours.
namespace kov::test {

/// Starts a buffered paint of width x height; the canvas draws into its image.
inline void BeginPaint(TChartCanvas3D &canvas, int width, int height,
                       TView3DOptions *options = nullptr, bool is3D = false)
{
    TRect drawRect;
    canvas.BeginWindow(nullptr, options, drawRect, TRect{0, 0, width, height}, is3D, clWhite);
    canvas.ResetDrawingState();
    canvas.FillRectangle(drawRect);
}

inline TColor PixelAt(const QImage &image, int x, int y)
{
    return FromQColor(QColor::fromRgba(image.pixel(x, y)));
}

inline TColor PixelAt(const TChartCanvas3D &canvas, int x, int y)
{
    return PixelAt(canvas.BufferImage(), x, y);
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

} // namespace kov::test
