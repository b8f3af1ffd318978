#include "chart/canvas/canvas_layer.h"

#include <cstring>

namespace kov {

bool TCanvasLayer::Keep(const QImage &buffer, const TPen &pen, const TBrush &brush,
                        const TFont &font, const TChartCanvas::DrawState &state,
                        const QPoint &penPos)
{
    m_kept = false;
    // The kept image is reused from paint to paint: a fresh one of this size
    // would cost more in page faults than the copy itself.
    if (m_image.size() != buffer.size() || m_image.format() != buffer.format())
        m_image = QImage(buffer.size(), buffer.format());
    if (m_image.isNull() || m_image.sizeInBytes() != buffer.sizeInBytes())
        return false;
    m_image.setDevicePixelRatio(buffer.devicePixelRatio());
    std::memcpy(m_image.bits(), buffer.constBits(), static_cast<std::size_t>(buffer.sizeInBytes()));
    m_pen.CopyFrom(pen);
    m_brush.CopyFrom(brush);
    m_font.CopyFrom(font);
    m_state = state;
    m_penPos = penPos;
    m_kept = true;
    return true;
}

bool TCanvasLayer::Fits(const QImage &buffer) const
{
    return m_kept && m_image.size() == buffer.size() &&
           m_image.devicePixelRatio() == buffer.devicePixelRatio();
}

void TCanvasLayer::PutStateBack(TPen &pen, TBrush &brush, TFont &font,
                                TChartCanvas::DrawState &state, QPoint &penPos) const
{
    pen.CopyFrom(m_pen);
    brush.CopyFrom(m_brush);
    font.CopyFrom(m_font);
    state = m_state;
    penPos = m_penPos;
}

} // namespace kov
