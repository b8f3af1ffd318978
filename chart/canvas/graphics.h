#pragma once

#include "chart/change.h"
#include "chart/color.h"
#include "chart/kovchart_export.h"

#include <QImage>
#include <QString>

// The drawing objects of the canvas: pen, brush, font and picture. They hold
// plain values; the canvas turns them into Qt pens, brushes and fonts when it
// draws. Each reports its changes through OnChange, which the owner (a chart
// part, or the canvas itself) uses to repaint or to re-realise the object.
namespace kov {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

/// Raster operation of the pen. pmNotXor inverts what it draws over so that
/// drawing the same shape twice restores the picture.
enum TPenMode { pmCopy, pmNotXor, pmXor, pmNot };

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

enum TGradientDirection {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft
};

/// Font style flags, combinable.
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

/// Background modes of the canvas: hatch gaps and text cells left alone or
/// filled with the background colour.
constexpr int bmTransparent = 1;
constexpr int bmOpaque = 2;

/// Text alignment flags: horizontal (left, right, centre) combined with
/// vertical (top, bottom, baseline) reference of the output point.
constexpr unsigned taLeft = 0;
constexpr unsigned taRight = 2;
constexpr unsigned taCenter = 6;
constexpr unsigned taTop = 0;
constexpr unsigned taBottom = 8;
constexpr unsigned taBaseline = 24;

/// The settings of a pen.
struct KOVCHART_EXPORT TPenSettings
{
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
};

/// A platform pen: colour, width, style and raster mode.
class KOVCHART_EXPORT TPen
{
public:
    TPen() = default;
    explicit TPen(TChangeHandler onChange) : OnChange(std::move(onChange)) {}
    TPen(const TPen &) = delete;
    TPen &operator=(const TPen &) = delete;
    virtual ~TPen() = default;

    TColor Color() const { return m_settings.Color; }
    void SetColor(TColor value) { SetAndInvalidate(OnChange, m_settings.Color, value); }
    int Width() const { return m_settings.Width; }
    /// Negative widths become 0.
    void SetWidth(int value)
    {
        SetAndInvalidate(OnChange, m_settings.Width, value < 0 ? 0 : value);
    }
    TPenStyle Style() const { return m_settings.Style; }
    void SetStyle(TPenStyle value) { SetAndInvalidate(OnChange, m_settings.Style, value); }
    TPenMode Mode() const { return m_settings.Mode; }
    void SetMode(TPenMode value) { SetAndInvalidate(OnChange, m_settings.Mode, value); }

    /// Copies colour, width, style and mode, then reports one change.
    virtual void CopyFrom(const TPen &source);

    TChangeHandler OnChange;

private:
    TPenSettings m_settings;
};

/// The settings of a brush.
struct KOVCHART_EXPORT TBrushSettings
{
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    /// Pattern image tiled instead of the colour when not null.
    QImage Bitmap;
};

/// A platform brush: colour, style and an optional pattern image.
class KOVCHART_EXPORT TBrush
{
public:
    TBrush() = default;
    explicit TBrush(TChangeHandler onChange) : OnChange(std::move(onChange)) {}
    TBrush(const TBrush &) = delete;
    TBrush &operator=(const TBrush &) = delete;
    virtual ~TBrush() = default;

    TColor Color() const { return m_settings.Color; }
    void SetColor(TColor value) { SetAndInvalidate(OnChange, m_settings.Color, value); }
    TBrushStyle Style() const { return m_settings.Style; }
    void SetStyle(TBrushStyle value) { SetAndInvalidate(OnChange, m_settings.Style, value); }
    /// Pattern image tiled instead of the colour when not null.
    const QImage &Bitmap() const { return m_settings.Bitmap; }
    /// Stores the image and reports a change (images are not compared).
    void SetBitmap(const QImage &value);

    /// Copies colour, style and bitmap, then reports one change.
    virtual void CopyFrom(const TBrush &source);

    TChangeHandler OnChange;

private:
    TBrushSettings m_settings;
};

/// The settings of a font.
struct KOVCHART_EXPORT TFontSettings
{
    QString Name = QStringLiteral("Arial");
    int Size = 8;
    TColor Color = clBlack;
    TFontStyles Style = 0;
    int PixelsPerInch = 96;
    int Charset = 1;
};

/// A platform font. Size is in points; the pixel height follows from
/// PixelsPerInch (Height = -Size * PixelsPerInch / 72, negative meaning
/// character height without internal leading).
class KOVCHART_EXPORT TFont
{
public:
    TFont() = default;
    explicit TFont(TChangeHandler onChange) : OnChange(std::move(onChange)) {}
    TFont(const TFont &) = delete;
    TFont &operator=(const TFont &) = delete;
    virtual ~TFont() = default;

    QString Name() const { return m_settings.Name; }
    void SetName(const QString &value) { SetAndInvalidate(OnChange, m_settings.Name, value); }
    int Size() const { return m_settings.Size; }
    void SetSize(int value) { SetAndInvalidate(OnChange, m_settings.Size, value); }
    /// Pixel height derived from Size and PixelsPerInch (negative as above).
    int Height() const;
    void SetHeight(int value);
    TColor Color() const { return m_settings.Color; }
    void SetColor(TColor value) { SetAndInvalidate(OnChange, m_settings.Color, value); }
    TFontStyles Style() const { return m_settings.Style; }
    void SetStyle(TFontStyles value) { SetAndInvalidate(OnChange, m_settings.Style, value); }
    int PixelsPerInch() const { return m_settings.PixelsPerInch; }
    /// Values below 1 are ignored.
    void SetPixelsPerInch(int value);
    /// Character set; 1 is the default character set.
    int Charset() const { return m_settings.Charset; }
    void SetCharset(int value) { SetAndInvalidate(OnChange, m_settings.Charset, value); }

    /// Copies every property (PixelsPerInch included), then reports one change.
    virtual void CopyFrom(const TFont &source);

    TChangeHandler OnChange;

private:
    TFontSettings m_settings;
};

/// Copies font into target, a canvas font, keeping target's pixel density:
/// how the chart selects the font of each of its parts for drawing.
KOVCHART_EXPORT void SelectCanvasFont(TFont &target, const TFont &font);

/// A picture drawn by the canvas (background images, brush patterns).
class KOVCHART_EXPORT TPicture
{
public:
    TPicture() = default;
    explicit TPicture(TChangeHandler onChange) : OnChange(std::move(onChange)) {}
    TPicture(const TPicture &) = delete;
    TPicture &operator=(const TPicture &) = delete;

    const QImage &Image() const { return m_image; }
    void SetImage(const QImage &value);
    /// Loads the picture from an image file; false (picture unchanged) when the
    /// file cannot be read.
    bool LoadFromFile(const QString &fileName);
    void Clear();
    bool IsEmpty() const { return m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }

    void CopyFrom(const TPicture &source);

    TChangeHandler OnChange;

private:
    QImage m_image;
};

} // namespace kov
