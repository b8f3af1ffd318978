#pragma once

#include "chart/canvas/rect.h"
#include "chart/chart_panel.h"

#include <QColor>
#include <QImage>
#include <QPainter>

// The picture tests take of a chart: a whole paint through its canvas into an
// image of its own, as the window's paint event would make it.
namespace kov::testing {

/// Draws chart into a new width x height image filled with background first
/// (left as allocated for an invalid colour, where the paint covers it all).
inline QImage DrawPicture(TCustomChartPanel &chart, int width, int height,
                          const QColor &background = Qt::white,
                          QImage::Format format = QImage::Format_ARGB32_Premultiplied)
{
    QImage image(width, height, format);
    if (background.isValid())
        image.fill(background);
    QPainter painter(&image);
    chart.DrawToCanvas(&painter, TRect{0, 0, width, height});
    painter.end();
    return image;
}

} // namespace kov::testing
