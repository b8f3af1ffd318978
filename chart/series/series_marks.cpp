#include "chart/series/series_marks.h"

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/text_lines.h"
#include "chart/series/series_paint_context.h"

#include <cstdlib>

namespace kov {

// ---- positions ----------------------------------------------------------------

void TSeriesMarkPosition::CopyFrom(const TSeriesMarkPosition &source)
{
    const bool pinned = Pinned;
    *this = source;
    Pinned = pinned;
}

const TSeriesMarkPosition *TSeriesMarksPositions::At(int index) const
{
    if (index < 0 || index >= Count() || !m_items[static_cast<size_t>(index)])
        return nullptr;
    return &*m_items[static_cast<size_t>(index)];
}

TSeriesMarkPosition *TSeriesMarksPositions::At(int index)
{
    return const_cast<TSeriesMarkPosition *>(std::as_const(*this).At(index));
}

TSeriesMarkPosition &TSeriesMarksPositions::Ensure(int index)
{
    if (index >= Count())
        m_items.resize(static_cast<size_t>(index) + 1);
    std::optional<TSeriesMarkPosition> &entry = m_items[static_cast<size_t>(index)];
    if (!entry)
        entry.emplace();
    return *entry;
}

void TSeriesMarksPositions::Remove(int index)
{
    if (index >= 0 && index < Count())
        m_items.erase(m_items.begin() + index);
}

// ---- marks ----------------------------------------------------------------------

TColor ReadableTextColor(TColor text, TColor background)
{
    auto luma = [](TColor c) {
        const TColor rgb = ColorToRGB(c);
        return (299 * RedOf(rgb) + 587 * GreenOf(rgb) + 114 * BlueOf(rgb)) / 1000;
    };
    // Half the range apart reads well on any screen.
    constexpr int MinContrast = 128;
    const int back = luma(background);
    if (text != clNone && text != clDefault && std::abs(luma(text) - back) >= MinContrast)
        return text;
    return back < 128 ? clWhite : clBlack;
}

TSeriesMarks::TSeriesMarks(TChartSeries *owner)
    : m_owner(owner), m_arrow([owner] { ReportChange(owner); }),
      m_frame([owner] { ReportChange(owner); })
{
    SetDefaultFont(m_font);
    m_font.OnChange = [owner] { ReportChange(owner); };
}

TSeriesMarks::~TSeriesMarks()
{
    m_arrow.OnChange = nullptr;
    m_frame.OnChange = nullptr;
    m_font.OnChange = nullptr;
}

bool TSeriesMarks::IsFontStored() const
{
    return !MatchesDefaultFont(m_font);
}

void TSeriesMarks::CopyFrom(const TSeriesMarks &source)
{
    using Marks = TSeriesMarks;
    if (CopyParts(*this, source, &Marks::m_settings, &Marks::m_arrow, &Marks::m_frame,
                  &Marks::m_font))
        ReportChange(m_owner);
}

void TSeriesMarks::ResolveMarkPosition(int index, TSeriesMarkPosition &position)
{
    TSeriesMarkPosition &stored = m_positions.Ensure(index);
    if (stored.Pinned)
        position.CopyFrom(stored);
    else
        stored.CopyFrom(position);
}

void TSeriesMarks::PaintArrow(const TSeriesPaintContext &context, TColor pointColor,
                              const TPoint &from, const TPoint &to)
{
    if (!m_arrow.Visible())
        return;
    TCanvas3D &canvas = context.Canvas;
    canvas.Pen().CopyFrom(m_arrow);
    canvas.Brush().SetStyle(bsClear);
    // An arrow in the point's colour, or in the background's, would not be
    // seen: it is drawn black, or white on a black background.
    const TColor background = ColorToRGB(context.ChartColor);
    const TColor arrow = ColorToRGB(m_arrow.Color());
    if (arrow == ColorToRGB(pointColor) || arrow == background)
        canvas.Pen().SetColor(background == clBlack ? clWhite : clBlack);
    if (context.View3D)
        canvas.DrawSegment3D(from.X, from.Y, to.X, to.Y, m_zPosition);
    else
        canvas.DrawSegment(from.X, from.Y, to.X, to.Y);
}

void TSeriesMarks::PaintMark(const TSeriesPaintContext &context, int index, TColor pointColor,
                             TSeriesMarkPosition &position, const QString &text)
{
    TCanvas3D &canvas = context.Canvas;
    const bool text3D = canvas.SupportsText3D();
    ResolveMarkPosition(index, position);

    PaintArrow(context, pointColor, position.ArrowFrom, position.ArrowTo);

    FollowProjection(context, position);

    int textTop = position.LeftTop.Y;
    if (m_frame.Visible() || !m_settings.Transparent) {
        canvas.Brush().SetColor(m_settings.BackColor);
        canvas.Brush().SetStyle(m_settings.Transparent ? bsClear : bsSolid);
        canvas.ApplyChartPen(m_frame);
        if (text3D)
            canvas.DrawRectangle3D(position.Bounds(), m_zPosition + 1);
        else
            canvas.DrawRect(position.Bounds());
        if (m_frame.Visible())
            textTop += m_frame.Width();
    }

    WriteLines(context, position, textTop, text);
}

void TSeriesMarks::PaintBareMark(const TSeriesPaintContext &context, int index, TColor background,
                                 TSeriesMarkPosition &position, const QString &text)
{
    ResolveMarkPosition(index, position);
    FollowProjection(context, position);
    TFont &font = context.Canvas.Font();
    const TColor own = font.Color();
    font.SetColor(ReadableTextColor(own, background));
    WriteLines(context, position, position.LeftTop.Y + (m_frame.Visible() ? m_frame.Width() : 0),
               text);
    font.SetColor(own);
}

void TSeriesMarks::FollowProjection(const TSeriesPaintContext &context,
                                    TSeriesMarkPosition &position) const
{
    if (!context.View3D || context.Canvas.SupportsText3D())
        return;
    // The text is written flat: the box follows the projected end of the
    // arrow, keeping its distance above it.
    const int d = position.ArrowTo.Y - position.LeftTop.Y;
    TPoint p;
    context.Canvas.ProjectToPoint(position.ArrowTo.X, position.ArrowTo.Y, p, m_zPosition);
    position.LeftTop.X = p.X + position.LeftTop.X - position.ArrowTo.X;
    position.LeftTop.Y = p.Y - d;
}

void TSeriesMarks::WriteLines(const TSeriesPaintContext &context,
                              const TSeriesMarkPosition &position, int textTop,
                              const QString &text) const
{
    TCanvas3D &canvas = context.Canvas;
    const bool text3D = canvas.SupportsText3D();
    canvas.Brush().SetStyle(bsClear);
    const int x = position.LeftTop.X + position.Width / 2;
    const int h = canvas.TextLineHeight();
    // Every line is written whole, as the box was measured for it, centred
    // on the box. Flat text is placed from its measured width, which the
    // canvas remembers from measuring the box, instead of being measured
    // once more to centre it.
    canvas.SetTextAlignment(text3D ? taCenter | taTop : taLeft | taTop);
    for (const QString &line : SplitLines(text)) {
        if (text3D)
            canvas.WriteText3D(x, textTop, m_zPosition, line);
        else
            canvas.WriteText(x - canvas.MeasureTextWidth(line) / 2, textTop, line);
        textTop += h;
    }
    canvas.SetTextAlignment(taLeft | taTop);
}

} // namespace kov
