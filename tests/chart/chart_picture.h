#pragma once

#include "chart/canvas/rect.h"
#include "chart/panel/chart_panel.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <initializer_list>

// The picture tests take of a chart: a whole paint through its canvas into an
// image of its own, as the window's paint event would make it.
namespace kov::testing {

/// Draws chart into a new width x height image filled with background first
/// (left as allocated for an invalid colour, where the paint covers it all),
/// ratio device pixels to a logical one.
inline QImage DrawPicture(TCustomChartPanel &chart, int width, int height,
                          const QColor &background = Qt::white,
                          QImage::Format format = QImage::Format_ARGB32_Premultiplied,
                          qreal ratio = 1.0)
{
    QImage image(QSize(width, height) * ratio, format);
    image.setDevicePixelRatio(ratio);
    if (background.isValid())
        image.fill(background);
    QPainter painter(&image);
    chart.DrawToCanvas(&painter, TRect{0, 0, width, height});
    painter.end();
    return image;
}

/// A pixel a picture must show: where it is and its colour.
struct ExpectedPixel
{
    int X;
    int Y;
    TColor Color;
};

/// Checks each of pixels against image, naming a pixel that differs.
inline void ExpectPixels(const QImage &image, std::initializer_list<ExpectedPixel> pixels)
{
    for (const ExpectedPixel &p : pixels)
        EXPECT_EQ(FromQColor(image.pixelColor(p.X, p.Y)), p.Color) << "at " << p.X << "," << p.Y;
}

} // namespace kov::testing
