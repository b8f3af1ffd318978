#pragma once

#include "chart/canvas/rect.h"
#include "chart/panel/chart_text_box.h"

#include <QStringList>
#include <functional>

// The chart's two text blocks: the Title above the plot and the Foot below
// it. A title takes a band off the chart rectangle, fills and frames it and
// writes its lines; the rectangle of its last drawing answers the hit test.
namespace kov {

/// Horizontal placement of a title's lines.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

/// Pixels between a title block and the chart rectangle.
inline constexpr int TitleGap = 5;

/// The settings of a title that CopyFrom copies besides what every text box
/// has.
struct TChartTitleSettings
{
    /// Frame and background fit the widest line instead of the full width.
    bool AdjustFrame = true;
    TAlignment Alignment = TAlignment::taCenter;
    /// The lines, first line first. Empty lines take their height too.
    QStringList Text;
};

/// A title's background colour (Color) is clDefault at first, which means
/// that the fill comes from Brush; its frame is invisible at first.
class TChartTitle : public TChartTextBox
{
public:
    /// Colour and style the title's font starts with.
    static constexpr TColor DefaultFontColor = clBlue;
    static constexpr TFontStyles DefaultFontStyle = 0;

    explicit TChartTitle(TCustomChartPanel *owner);

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
    /// The lines, first line first. Empty lines take their height too.
    const QStringList &Text() const { return m_settings.Text; }
    void SetText(const QStringList &value)
    {
        SetAndInvalidate(ParentChart(), m_settings.Text, value);
    }

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
