#include "chart/panel/chart_text_box.h"

#include "chart/panel/chart_panel.h"

namespace kov {

TChartTextBox::TChartTextBox(TCustomChartPanel *owner, TColor color, bool framed)
    : TChartFontObject(owner), m_box{color, true}
{
    // The handlers are attached last, so that building a chart requests no
    // repaint.
    m_frame.SetVisible(framed);
    m_brush.OnChange = SubObjectHandler(owner);
    m_frame.OnChange = SubObjectHandler(owner);
}

TChartTextBox::~TChartTextBox()
{
    m_brush.OnChange = nullptr;
    m_frame.OnChange = nullptr;
}

void TChartTextBox::SetBrush(const TBrush &value)
{
    if (&value != &m_brush)
        m_brush.CopyFrom(value);
}

void TChartTextBox::SetFrame(const TPen &value)
{
    if (&value != &m_frame)
        m_frame.CopyFrom(value);
}

void TChartTextBox::CopyBox(const TChartTextBox &source)
{
    using Box = TChartTextBox;
    if (CopyParts(*this, source, &Box::m_box, &Box::m_brush, &Box::m_frame))
        Repaint();
}

} // namespace kov
