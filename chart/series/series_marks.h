#pragma once

#include "chart/canvas/chart_pen.h"
#include "chart/canvas/graphics.h"
#include "chart/canvas/rect.h"
#include "chart/color.h"

#include <QString>
#include <optional>
#include <vector>

// Series marks: a small text box beside each point of a series (its value,
// label or percentage), joined to the point by a short arrow line. Every
// series owns one TSeriesMarks; the chart draws the marks of a series right
// after the series' points, when the marks are visible.
namespace kov {

class TChartSeries;
/// How the marks' setters ask their series to repaint (defined with the
/// series).
void ReportChange(TChartSeries *series);
struct TSeriesPaintContext;

/// What text a mark shows.
enum TSeriesMarksStyle {
    smsValue,
    smsPercent,
    smsLabel,
    smsLabelPercent,
    smsLabelValue,
    smsLegend,
    smsPercentTotal,
    smsLabelPercentTotal,
    smsXValue
};

/// Where one mark is drawn, in screen pixels: the arrow from the point to
/// the box, and the box itself.
struct TSeriesMarkPosition
{
    TPoint ArrowFrom;
    TPoint ArrowTo;
    /// A pinned position is kept as it is by later paints instead of being
    /// recomputed (nothing pins one by itself).
    bool Pinned = false;
    int Height = 0;
    TPoint LeftTop;
    int Width = 0;

    /// The box: from LeftTop, Width wide and Height high.
    TRect Bounds() const { return {LeftTop.X, LeftTop.Y, LeftTop.X + Width, LeftTop.Y + Height}; }
    /// Copies every field but Pinned.
    void CopyFrom(const TSeriesMarkPosition &source);
};

/// The remembered mark positions of a series, by point index. Entries may
/// be empty; the series keeps the list in step with its points.
class TSeriesMarksPositions
{
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    /// The stored position of point index, or null (beyond the list, or an
    /// empty entry).
    const TSeriesMarkPosition *At(int index) const;
    TSeriesMarkPosition *At(int index);
    /// The stored position of point index, created unpinned (and the list
    /// grown with empty entries) when there is none.
    TSeriesMarkPosition &Ensure(int index);
    /// Drops the entry of point index, so later points keep theirs; nothing
    /// when the list does not reach it.
    void Remove(int index);
    void Clear() { std::vector<std::optional<TSeriesMarkPosition>>().swap(m_items); }

private:
    std::vector<std::optional<TSeriesMarkPosition>> m_items;
};

/// The settings of the marks that CopyFrom copies besides the arrow, frame
/// and font.
struct TSeriesMarksSettings
{
    /// Pixels between the point and the bottom of the box (line series).
    int ArrowLength = 8;
    /// Fill of the box (a light yellow).
    TColor BackColor = 0x80FFFF;
    /// Clip the marks to the chart area while drawing them.
    bool Clip = false;
    TSeriesMarksStyle Style = smsLabel;
    /// No box fill.
    bool Transparent = false;
    bool Visible = false;
};

/// Text colour that reads on background: text itself when it stands out
/// enough from it, else black or white, whichever stands out more.
TColor ReadableTextColor(TColor text, TColor background);

class TSeriesMarks
{
public:
    /// The marks of series; every change asks the series to repaint.
    explicit TSeriesMarks(TChartSeries *owner);
    ~TSeriesMarks();
    TSeriesMarks(const TSeriesMarks &) = delete;
    TSeriesMarks &operator=(const TSeriesMarks &) = delete;

    /// The line from the point to the box (a white pen).
    TChartArrowPen &Arrow() { return m_arrow; }
    const TChartArrowPen &Arrow() const { return m_arrow; }
    void SetArrow(const TPen &value) { m_arrow.CopyFrom(value); }
    int ArrowLength() const { return m_settings.ArrowLength; }
    void SetArrowLength(int value) { SetAndInvalidate(m_owner, m_settings.ArrowLength, value); }
    TColor BackColor() const { return m_settings.BackColor; }
    void SetBackColor(TColor value) { SetAndInvalidate(m_owner, m_settings.BackColor, value); }
    bool Clip() const { return m_settings.Clip; }
    void SetClip(bool value) { SetAndInvalidate(m_owner, m_settings.Clip, value); }
    TFont &Font() { return m_font; }
    const TFont &Font() const { return m_font; }
    void SetFont(const TFont &value) { m_font.CopyFrom(value); }
    /// Stored only when it differs from the engine's default font.
    bool IsFontStored() const;
    /// Outline of the box (black).
    TChartPen &Frame() { return m_frame; }
    const TChartPen &Frame() const { return m_frame; }
    void SetFrame(const TPen &value) { m_frame.CopyFrom(value); }
    TSeriesMarksStyle Style() const { return m_settings.Style; }
    void SetStyle(TSeriesMarksStyle value) { SetAndInvalidate(m_owner, m_settings.Style, value); }
    bool Transparent() const { return m_settings.Transparent; }
    void SetTransparent(bool value) { SetAndInvalidate(m_owner, m_settings.Transparent, value); }
    bool Visible() const { return m_settings.Visible; }
    void SetVisible(bool value) { SetAndInvalidate(m_owner, m_settings.Visible, value); }

    TChartSeries *ParentSeries() const { return m_owner; }
    /// Depth (z) the marks are drawn at in a 3D chart; the series sets it
    /// before each mark.
    int ZPosition() const { return m_zPosition; }
    void SetZPosition(int value) { m_zPosition = value; }
    TSeriesMarksPositions &Positions() { return m_positions; }
    const TSeriesMarksPositions &Positions() const { return m_positions; }
    /// Forgets every remembered position (the series' points were cleared).
    void ForgetMarkPositions() { m_positions.Clear(); }

    /// From other marks: the settings, the arrow, the frame and the font.
    void CopyFrom(const TSeriesMarks &source);

    /// Takes the remembered position of point index in place of the computed
    /// one when it is pinned; otherwise remembers the computed one.
    void ResolveMarkPosition(int index, TSeriesMarkPosition &position);
    /// Draws the mark of point index on the context's canvas: the arrow (in a
    /// colour that stands out from pointColor and the chart's background), the
    /// box and the text, one line below the other.
    void PaintMark(const TSeriesPaintContext &context, int index, TColor pointColor,
                   TSeriesMarkPosition &position, const QString &text);
    /// Draws a piece of arrow from one point to another as PaintMark draws
    /// the arrow (a leader line bent on its way to the box is drawn in pieces).
    void PaintArrow(const TSeriesPaintContext &context, TColor pointColor, const TPoint &from,
                    const TPoint &to);
    /// Draws the mark of point index as text alone, on the point's own shape
    /// of colour background: no arrow, no box, the font's colour unless it
    /// would not read on background (ReadableTextColor).
    void PaintBareMark(const TSeriesPaintContext &context, int index, TColor background,
                       TSeriesMarkPosition &position, const QString &text);

private:
    /// Moves the box of a flat mark over a 3D view with its arrow's end.
    void FollowProjection(const TSeriesPaintContext &context, TSeriesMarkPosition &position) const;
    /// Writes the lines of text centred in the box from textTop down.
    void WriteLines(const TSeriesPaintContext &context, const TSeriesMarkPosition &position,
                    int textTop, const QString &text) const;

    TChartSeries *m_owner;
    TSeriesMarksSettings m_settings;
    TChartArrowPen m_arrow;
    TChartPen m_frame;
    TFont m_font;
    int m_zPosition = 0;
    TSeriesMarksPositions m_positions;
};

} // namespace kov
