#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/change.h"
#include "chart/color.h"
#include "chart/panel/chart_brush.h"
#include "chart/panel/chart_font.h"

// What the chart's text blocks (the titles and the legend) have in common: a
// font, a background colour and pattern, a frame and a visibility switch.
// Every change to any of them repaints the owning panel.
namespace kov {

/// How the box's setters ask their panel to repaint (defined with the chart
/// panel).
void ReportChange(TCustomChartPanel *panel);

/// The settings of a text box that CopyBox copies besides its brush and frame.
struct TChartTextBoxSettings
{
    /// Background colour.
    TColor Color = clDefault;
    bool Visible = true;
};

class TChartTextBox : public TChartFontObject
{
public:
    /// color is the background colour the box starts with; framed says
    /// whether its frame starts visible.
    TChartTextBox(TCustomChartPanel *owner, TColor color, bool framed);
    ~TChartTextBox() override;

    /// Background pattern (colour clDefault, solid).
    TChartBrush &Brush() { return m_brush; }
    const TChartBrush &Brush() const { return m_brush; }
    /// Copies the given brush into the box's own.
    void SetBrush(const TBrush &value);
    TColor Color() const { return m_box.Color; }
    void SetColor(TColor value) { SetAndInvalidate(ParentChart(), m_box.Color, value); }
    /// Outline of the box.
    TChartPen &Frame() { return m_frame; }
    const TChartPen &Frame() const { return m_frame; }
    /// Copies the given pen into the box's own frame.
    void SetFrame(const TPen &value);
    bool Visible() const { return m_box.Visible; }
    void SetVisible(bool value) { SetAndInvalidate(ParentChart(), m_box.Visible, value); }

protected:
    /// Copies source's colour, visibility, brush and frame (not its font) and
    /// repaints.
    void CopyBox(const TChartTextBox &source);

private:
    TChartTextBoxSettings m_box;
    TChartBrush m_brush;
    TChartPen m_frame;
};

} // namespace kov
