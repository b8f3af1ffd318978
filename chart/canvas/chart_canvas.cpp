#include "chart/canvas/chart_canvas.h"

#include "chart/exceptions.h"
#include "chart/numeric.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLocale>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace kov {

namespace {

/// The entry of an enumeration-indexed table, or fallback for a value the
/// table does not reach.
template <typename T, std::size_t N, typename E> T Lookup(const T (&table)[N], E value, T fallback)
{
    const auto index = static_cast<std::size_t>(value);
    return index < N ? table[index] : fallback;
}

/// Raster operation of each pen mode, in TPenMode order: pmCopy draws over.
constexpr QPainter::CompositionMode Compositions[] = {
    QPainter::CompositionMode_SourceOver, QPainter::RasterOp_NotSourceXorDestination,
    QPainter::RasterOp_SourceXorDestination, QPainter::RasterOp_NotDestination};

/// Qt's pattern of each brush style, in TBrushStyle order.
constexpr Qt::BrushStyle QtBrushStyles[] = {Qt::SolidPattern, Qt::NoBrush,         Qt::HorPattern,
                                            Qt::VerPattern,   Qt::FDiagPattern,    Qt::BDiagPattern,
                                            Qt::CrossPattern, Qt::DiagCrossPattern};

// Dash patterns of one-pixel pens, in pixels on and off.
void ApplyDashes(QPen &pen, TPenStyle style)
{
    switch (style) {
    case psDash:
        pen.setDashPattern({18, 6});
        break;
    case psDot:
        pen.setDashPattern({3, 3});
        break;
    case psDashDot:
        pen.setDashPattern({9, 6, 3, 6});
        break;
    case psDashDotDot:
        pen.setDashPattern({9, 3, 3, 3, 3, 3});
        break;
    default:
        break;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TChartCanvas

TChartCanvas::TChartCanvas()
{
    m_pen.OnChange = [this] {
        m_penChanged = true;
        m_state.SmallDotsPen = false;
    };
    m_brush.OnChange = [this] { m_brushChanged = true; };
    m_font.OnChange = [this] {
        m_fontChanged = true;
        m_fontChecked = false;
    };
}

TChartCanvas::~TChartCanvas() = default;

qreal TChartCanvas::SurfaceRatio(const QPainter *surface)
{
    const QPaintDevice *device = surface ? surface->device() : nullptr;
    return device ? device->devicePixelRatio() : 1.0;
}

void TChartCanvas::SetSurface(QPainter *surface)
{
    m_surface = surface;
    m_surfaceRatio = SurfaceRatio(surface);
    m_penChanged = m_brushChanged = m_fontChanged = true;
    if (!m_surface)
        return;
    m_surface->setRenderHint(QPainter::Antialiasing, false);
    m_surface->setBackground(ToQColor(m_state.BackgroundColor));
    m_surface->setBackgroundMode(m_state.BackgroundMode == bmOpaque ? Qt::OpaqueMode
                                                                    : Qt::TransparentMode);
}

bool TChartCanvas::Realize()
{
    if (!m_surface)
        return false;
    if (m_penChanged) {
        QPen pen;
        if (m_pen.Style() == psClear) {
            pen = QPen(Qt::NoPen);
        } else if (m_pen.Width() <= 1) {
            pen = OnePixelPen(ToQColor(m_pen.Color()), m_pen.Style(), m_state.SmallDotsPen);
        } else {
            pen = QPen(ToQColor(m_pen.Color()));
            pen.setWidth(m_pen.Width());
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
        }
        m_surface->setPen(pen);
        m_surface->setCompositionMode(
            Lookup(Compositions, m_pen.Mode(), QPainter::CompositionMode_SourceOver));
        m_penChanged = false;
    }
    if (m_brushChanged) {
        if (m_brush.Style() == bsClear)
            m_surface->setBrush(Qt::NoBrush);
        else if (!m_brush.Bitmap().isNull())
            m_surface->setBrush(QBrush(m_brush.Bitmap()));
        else
            m_surface->setBrush(QBrush(ToQColor(m_brush.Color()),
                                       Lookup(QtBrushStyles, m_brush.Style(), Qt::SolidPattern)));
        m_brushChanged = false;
    }
    if (m_fontChanged) {
        m_surface->setFont(CurrentQFont());
        m_fontChanged = false;
    }
    return true;
}

QPainter::CompositionMode TChartCanvas::RealizedCompositionMode() const
{
    if (m_penChanged)
        return Lookup(Compositions, m_pen.Mode(), QPainter::CompositionMode_SourceOver);
    return m_surface->compositionMode();
}

QPen TChartCanvas::OnePixelPen(const QColor &color, TPenStyle style, bool smallDots)
{
    QPen pen(color);
    pen.setWidth(1);
    // One-pixel lines leave out their last pixel, so that joined segments
    // and XOR outlines touch each pixel once.
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (smallDots)
        pen.setDashPattern({1, 1});
    else
        ApplyDashes(pen, style);
    return pen;
}

QFont TChartCanvas::MakeQFont(int pixelHeightOverride) const
{
    QFont font(m_font.Name());
    int pixels = pixelHeightOverride > 0 ? pixelHeightOverride : std::abs(m_font.Height());
    font.setPixelSize(pixels < 1 ? 1 : pixels);
    const TFontStyles style = m_font.Style();
    font.setBold((style & fsBold) != 0);
    font.setItalic((style & fsItalic) != 0);
    font.setUnderline((style & fsUnderline) != 0);
    font.setStrikeOut((style & fsStrikeOut) != 0);
    return font;
}

TChartCanvas::FontKey TChartCanvas::CurrentFontKey() const
{
    const int pixels = std::abs(m_font.Height());
    return FontKey{m_font.Name(), pixels < 1 ? 1 : pixels, m_font.Style()};
}

TChartCanvas::FontEntry &TChartCanvas::CurrentFont() const
{
    if (m_fontChecked)
        return *m_currentFont;
    FontKey key = CurrentFontKey();
    if (!m_currentFont || !(m_currentFont->Key == key)) {
        const auto same = std::find_if(m_fonts.begin(), m_fonts.end(),
                                       [&key](const auto &entry) { return entry->Key == key; });
        if (same != m_fonts.end()) {
            m_currentFont = same->get();
        } else {
            constexpr std::size_t MaxFonts = 8;
            if (m_fonts.size() >= MaxFonts)
                m_fonts.erase(m_fonts.begin());
            auto entry = std::make_unique<FontEntry>();
            entry->Key = std::move(key);
            entry->Font = MakeQFont();
            m_currentFont = entry.get();
            m_fonts.push_back(std::move(entry));
        }
    }
    m_fontChecked = true;
    return *m_currentFont;
}

const QFont &TChartCanvas::CurrentQFont() const
{
    return CurrentFont().Font;
}

const QFontMetrics &TChartCanvas::Metrics() const
{
    FontEntry &font = CurrentFont();
    if (!font.Metrics)
        font.Metrics.emplace(font.Font);
    return *font.Metrics;
}

void TChartCanvas::ResetDrawingState()
{
    m_pen.SetColor(clBlack);
    m_pen.SetWidth(1);
    m_pen.SetStyle(psSolid);
    m_pen.SetMode(pmCopy);
    m_brush.SetColor(clWhite);
    m_brush.SetStyle(bsSolid);
    m_font.SetColor(clBlack);
    m_font.SetSize(10);
    SetBackgroundColor(clWhite);
    SetBackgroundMode(bmTransparent);
}

void TChartCanvas::ApplyChartPen(const TChartPen &pen)
{
    if (!pen.Visible()) {
        m_pen.SetStyle(psClear);
        return;
    }
    if (pen.SmallDots() && pen.Width() == 1) {
        m_pen.SetColor(ColorToRGB(pen.Color()));
        m_pen.SetWidth(1);
        m_pen.SetStyle(psSolid);
        m_pen.SetMode(pen.Mode());
        m_state.SmallDotsPen = true;
        m_penChanged = true;
        return;
    }
    m_pen.TPen::CopyFrom(pen);
}

int TChartCanvas::TextLineHeight()
{
    return MeasureTextHeight(QStringLiteral("W"));
}

int TChartCanvas::MeasureTextWidth(const QString &text)
{
    return ShapeOfText(text, false).Width;
}

const TChartCanvas::TextShape &TChartCanvas::ShapeOfText(const QString &text, bool laid)
{
    // Bounded, so that a chart labelling thousands of points cannot grow it
    // without end.
    constexpr qsizetype MaxCachedTexts = 16384;
    FontEntry &font = CurrentFont();
    auto found = font.Texts.find(text);
    if (found == font.Texts.end()) {
        if (font.Texts.size() >= MaxCachedTexts)
            font.Texts.clear();
        TextShape measured;
        measured.Width = Metrics().horizontalAdvance(text);
        found = font.Texts.insert(text, std::move(measured));
    }
    TextShape &shape = found.value();
    if (laid && !shape.Laid) {
        shape.Laid = true;
        // Laid out as the painter lays out a text it draws: one line of the
        // whole text in the same font. Texts the painter might set otherwise
        // (control and format characters, right-to-left scripts) are left to
        // it.
        const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
            const QChar::Direction d = c.direction();
            return c.isPrint() && d != QChar::DirR && d != QChar::DirAL && d != QChar::DirAN;
        });
        if (plain) {
            QTextLayout layout(text, font.Font);
            QTextOption option;
            option.setWrapMode(QTextOption::NoWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            QTextLine line = layout.createLine();
            if (line.isValid()) {
                line.setLineWidth(std::numeric_limits<int>::max() / 4);
                line.setPosition(QPointF(0, 0));
                shape.Ascent = line.ascent();
                shape.AsGlyphRuns = line.textLength() == text.size();
            }
            layout.endLayout();
            if (shape.AsGlyphRuns)
                shape.Runs = layout.glyphRuns();
        }
    }
    return shape;
}

bool TChartCanvas::FontDrawsAsGlyphRuns() const
{
    return (m_font.Style() & (fsUnderline | fsStrikeOut)) == 0;
}

int TChartCanvas::MeasureTextHeight(const QString &)
{
    int ascent = 0, descent = 0;
    CellMetrics(ascent, descent);
    return ascent + descent;
}

void TChartCanvas::CellMetrics(int &ascent, int &descent) const
{
    FontEntry &font = CurrentFont();
    if (font.CellAscent < 0) {
        font.CellAscent = CellAscent(font.Font);
        font.CellDescent = CellDescent(font.Font);
    }
    ascent = font.CellAscent;
    descent = font.CellDescent;
}

int TChartCanvas::CellAscent(const QFont &font)
{
    return static_cast<int>(std::ceil(QFontMetricsF(font).ascent() - 1e-6));
}

int TChartCanvas::CellDescent(const QFont &font)
{
    return static_cast<int>(std::ceil(QFontMetricsF(font).descent() - 1e-6));
}

// ---------------------------------------------------------------------------
// Utilities

void SinCos(long double angle, long double &sine, long double &cosine)
{
    sine = std::sin(angle);
    cosine = std::cos(angle);
}

TColor DarkenColor(TColor color, int amount)
{
    const TColor rgb = ColorToRGB(color);
    auto darken = [amount](int channel) { return channel > amount ? channel - amount : 0; };
    return RGBColor(darken(RedOf(rgb)), darken(GreenOf(rgb)), darken(BlueOf(rgb)));
}

TColor PaletteColor(int index)
{
    static constexpr TColor palette[16] = {
        clRed,  clGreen,  clYellow, clBlue,  clWhite,  clGray,   clFuchsia, clTeal,
        clNavy, clMaroon, clLime,   clOlive, clPurple, clSilver, clAqua,    clBlack};
    const int i = index % 16;
    return palette[i < 0 ? i + 16 : i];
}

namespace {

bool SystemIsJapanese()
{
    return QLocale::system().language() == QLocale::Japanese;
}

} // namespace

QString ChartFontName()
{
    const QString name = QStringLiteral("Arial");
    if (SystemIsJapanese())
        return QApplication::font().family();
    return name;
}

int ChartFontSize()
{
    const int size = 8;
    if (SystemIsJapanese()) {
        const int points = QApplication::font().pointSize();
        if (points > 0)
            return points;
    }
    return size;
}

bool MatchesDefaultFont(const TFont &font)
{
    return font.Size() == ChartFontSize() && font.Name() == ChartFontName() &&
           font.Color() == clBlack && font.Style() == 0 && font.Charset() == 1;
}

void SetDefaultFont(TFont &font)
{
    font.SetName(ChartFontName());
    font.SetSize(ChartFontSize());
    font.SetColor(clBlack);
    font.SetStyle(0);
}

std::unique_ptr<TFont> NewDefaultFont(TChangeHandler onChange)
{
    auto font = std::make_unique<TFont>();
    SetDefaultFont(*font);
    font->OnChange = std::move(onChange);
    return font;
}

void SetCanvasBrush(TChartCanvas &canvas, TColor color, TBrushStyle style, TColor background)
{
    TBrush &brush = canvas.Brush();
    if (style != bsSolid && color == background)
        brush.SetColor(background == clBlack ? clWhite : clBlack);
    else
        brush.SetColor(color);
    brush.SetStyle(style);
    if (style == bsSolid) {
        canvas.SetBackgroundMode(bmTransparent);
    } else {
        canvas.SetBackgroundMode(bmOpaque);
        canvas.SetBackgroundColor(ColorToRGB(background));
    }
}

void ValidateAngle(int value, const QString &description)
{
    if (value < 0 || value > 359)
        throw ChartException(
            QStringLiteral("%1 Angle must be between 0 and 359 degrees").arg(description));
}

} // namespace kov
