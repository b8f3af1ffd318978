#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/canvas/rect.h"
#include "chart/chart_brush.h"
#include "chart/chart_font.h"
#include "chart/color.h"

#include <QStringList>
#include <functional>

// The chart's two text blocks: the Title above the plot and the Foot below
// it. A title takes a band off the chart rectangle, fills and frames it and
// writes its lines; the rectangle of its last drawing answers the hit test.
namespace kov {

class TCustomChartPanel;
/// How the title's setters ask their chart to repaint (defined with the
/// chart panel).
void ReportChange(TCustomChartPanel *panel);

/// Horizontal placement of a title's lines.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

/// Pixels between a title block and the chart rectangle.
inline constexpr int TitleGap = 5;

/// The settings of a title that CopyFrom copies besides its brush, frame and
/// font.
struct TChartTitleSettings
{
    /// Frame and background fit the widest line instead of the full width.
    bool AdjustFrame = true;
    TAlignment Alignment = TAlignment::taCenter;
    /// Background colour; clDefault means that the fill comes from Brush.
    TColor Color = clDefault;
    /// The lines, first line first. Empty lines take their height too.
    QStringList Text;
    bool Visible = true;
};

class TChartTitle : public TChartFontObject
{
public:
    /// Colour and style the title's font starts with.
    static constexpr TColor DefaultFontColor = clBlue;
    static constexpr TFontStyles DefaultFontStyle = 0;

    explicit TChartTitle(TCustomChartPanel *owner);
    ~TChartTitle() override;

    /// Frame and background fit the widest line instead of the full width.
    bool AdjustFrame() const { return m_settings.AdjustFrame; }
    void SetAdjustFrame(bool value)
    {
        SetAndInvalidate(ParentChart(), m_settings.AdjustFrame, value);
    }
    TAlignment Alignment() const { return m_settings.Alignment; }
    void SetAlignment(TAlignment value)
    {
        SetAndInvalidate(ParentChart(), m_settings.Alignment, value);
    }
    /// Background fill (colour clDefault, solid).
    TChartBrush &Brush() { return m_brush; }
    const TChartBrush &Brush() const { return m_brush; }
    /// Copies the given brush into the title's own.
    void SetBrush(const TBrush &value);
    /// Background colour; clDefault means that the fill comes from Brush.
    TColor Color() const { return m_settings.Color; }
    void SetColor(TColor value) { SetAndInvalidate(ParentChart(), m_settings.Color, value); }
    /// Outline of the title's rectangle (invisible by default).
    TChartHiddenPen &Frame() { return m_frame; }
    const TChartHiddenPen &Frame() const { return m_frame; }
    /// Copies the given pen into the title's own frame.
    void SetFrame(const TPen &value);
    /// The lines, first line first. Empty lines take their height too.
    const QStringList &Text() const { return m_settings.Text; }
    void SetText(const QStringList &value)
    {
        SetAndInvalidate(ParentChart(), m_settings.Text, value);
    }
    bool Visible() const { return m_settings.Visible; }
    void SetVisible(bool value) { SetAndInvalidate(ParentChart(), m_settings.Visible, value); }

    /// Where the title was last drawn (frame included).
    const TRect &TitleRect() const { return m_titleRect; }
    /// Hit test: visible and (x, y) inside the rectangle of the last drawing,
    /// left and top edges included, right and bottom edges excluded.
    bool Clicked(int x, int y) const;

    /// Stored only when the font differs from the default name and size and
    /// from the title's default colour and style.
    bool IsFontStored() const override;

    /// From another title: AdjustFrame, Alignment, Brush, Color, Frame, Text,
    /// Visible, then the font. From any other font object: the font only.
    void CopyFrom(const TChartFontObject &source) override;

    /// Draws the title at the top (or bottom) of the owning chart's chart
    /// rectangle and takes its band (lines, frame and TitleGap) out of that
    /// rectangle. Draws whether or not Visible is set; the caller decides.
    void DrawTitle(bool onTop);

private:
    /// Sets up the canvas brush for the background; false when the title
    /// has no fill.
    void PrepareBackground();
    bool IsFrameShown() const;

    TChartTitleSettings m_settings;
    TChartBrush m_brush;
    TChartHiddenPen m_frame;
    TRect m_titleRect;
};

/// Where the legend sits relative to the titles when they share the chart
/// rectangle.
enum class TLegendPlacement {
    /// Legend hidden or no series active: titles only.
    lpNone,
    /// Legend at the left or right: it takes its band first, the titles then
    /// span what it left.
    lpSide,
    /// Legend at the top or bottom: the titles take their bands first.
    lpTopOrBottom
};

/// Draws Title at the top and Foot at the bottom (each when visible) and the
/// legend through drawLegend in the order that placement asks, all without
/// the 3D projection. Each takes its band out of the chart rectangle.
void PaintChartTitles(TCustomChartPanel &chart, TChartTitle &title, TChartTitle &foot,
                      TLegendPlacement placement, const std::function<void()> &drawLegend);

} // namespace kov
