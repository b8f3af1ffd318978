#pragma once

#include "chart/color.h"

#include <QImage>
#include <QString>
#include <functional>

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

using TChangeHandler = std::function<void()>;

/// A platform pen: colour, width, style and raster mode.
class TPen
{
public:
    TPen() = default;
    explicit TPen(TChangeHandler onChange) : OnChange(std::move(onChange)) {}
    TPen(const TPen &) = delete;
    TPen &operator=(const TPen &) = delete;
    virtual ~TPen() = default;

    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    int Width() const { return m_width; }
    void SetWidth(int value);
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return m_mode; }
    void SetMode(TPenMode value);

    /// Copies colour, width, style and mode, then reports one change.
    virtual void CopyFrom(const TPen &source);

    TChangeHandler OnChange;

protected:
    void Changed();

private:
    TColor m_color = clBlack;
    int m_width = 1;
    TPenStyle m_style = psSolid;
    TPenMode m_mode = pmCopy;
};

/// A platform brush: colour, style and an optional pattern image.
class TBrush
{
public:
    TBrush() = default;
    explicit TBrush(TChangeHandler onChange) : OnChange(std::move(onChange)) {}
    TBrush(const TBrush &) = delete;
    TBrush &operator=(const TBrush &) = delete;
    virtual ~TBrush() = default;

    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle value);
    /// Pattern image tiled instead of the colour when not null.
    const QImage &Bitmap() const { return m_bitmap; }
    void SetBitmap(const QImage &value);

    virtual void CopyFrom(const TBrush &source);

    TChangeHandler OnChange;

protected:
    void Changed();

private:
    TColor m_color = clWhite;
    TBrushStyle m_style = bsSolid;
    QImage m_bitmap;
};

/// A platform font. Size is in points; the pixel height follows from
/// PixelsPerInch (Height = -Size * PixelsPerInch / 72, negative meaning
/// character height without internal leading).
class TFont
{
public:
    TFont() = default;
    explicit TFont(TChangeHandler onChange) : OnChange(std::move(onChange)) {}
    TFont(const TFont &) = delete;
    TFont &operator=(const TFont &) = delete;
    virtual ~TFont() = default;

    QString Name() const { return m_name; }
    void SetName(const QString &value);
    int Size() const { return m_size; }
    void SetSize(int value);
    /// Pixel height derived from Size and PixelsPerInch (negative as above).
    int Height() const;
    void SetHeight(int value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles value);
    int PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(int value);
    /// Character set; 1 is the default character set.
    int Charset() const { return m_charset; }
    void SetCharset(int value);

    /// Copies every property (PixelsPerInch included), then reports one change.
    virtual void CopyFrom(const TFont &source);

    TChangeHandler OnChange;

protected:
    void Changed();

private:
    QString m_name = QStringLiteral("Arial");
    int m_size = 8;
    TColor m_color = clBlack;
    TFontStyles m_style = 0;
    int m_pixelsPerInch = 96;
    int m_charset = 1;
};

/// A picture drawn by the canvas (background images, brush patterns).
class TPicture
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
    void Changed();

    QImage m_image;
};

} // namespace kov
