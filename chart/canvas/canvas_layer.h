#pragma once

#include "chart/canvas/chart_canvas.h"

#include <QImage>
#include <QPoint>

namespace kov {

/// The picture behind the series: a copy of the canvas buffer's pixels and of
/// everything the next drawing operation takes from the canvas, as they were
/// when it was kept. The canvas puts both back in a paint in which only series
/// points changed, and draws the series over the kept picture instead of
/// drawing everything again.
class TCanvasLayer
{
public:
    /// Copies the buffer's pixels and the drawing state; false, with nothing
    /// kept, when the copy cannot be made.
    bool Keep(const QImage &buffer, const TPen &pen, const TBrush &brush, const TFont &font,
              const TChartCanvas::DrawState &state, const QPoint &penPos);
    /// Whether pixels are kept that have the buffer's size and device pixel
    /// ratio.
    bool Fits(const QImage &buffer) const;
    bool IsKept() const { return m_kept; }
    void Drop() { m_kept = false; }
    /// The kept pixels.
    const QImage &Image() const { return m_image; }
    /// Copies the kept drawing state back into the canvas's.
    void PutStateBack(TPen &pen, TBrush &brush, TFont &font, TChartCanvas::DrawState &state,
                      QPoint &penPos) const;

private:
    bool m_kept = false;
    QImage m_image;
    TPen m_pen;
    TBrush m_brush;
    TFont m_font;
    TChartCanvas::DrawState m_state;
    QPoint m_penPos;
};

} // namespace kov
