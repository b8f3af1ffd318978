#include "chart/canvas/graphics.h"

#include "chart/numeric.h"

namespace kov {

namespace {

template <typename T> bool Assign(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

void TPen::Changed()
{
    if (OnChange)
        OnChange();
}

void TPen::SetColor(TColor value)
{
    if (Assign(m_color, value))
        Changed();
}

void TPen::SetWidth(int value)
{
    if (Assign(m_width, value < 0 ? 0 : value))
        Changed();
}

void TPen::SetStyle(TPenStyle value)
{
    if (Assign(m_style, value))
        Changed();
}

void TPen::SetMode(TPenMode value)
{
    if (Assign(m_mode, value))
        Changed();
}

void TPen::CopyFrom(const TPen &source)
{
    if (&source == this)
        return;
    m_color = source.m_color;
    m_width = source.m_width;
    m_style = source.m_style;
    m_mode = source.m_mode;
    Changed();
}

void TBrush::Changed()
{
    if (OnChange)
        OnChange();
}

void TBrush::SetColor(TColor value)
{
    if (Assign(m_color, value))
        Changed();
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (Assign(m_style, value))
        Changed();
}

void TBrush::SetBitmap(const QImage &value)
{
    m_bitmap = value;
    Changed();
}

void TBrush::CopyFrom(const TBrush &source)
{
    if (&source == this)
        return;
    m_color = source.m_color;
    m_style = source.m_style;
    m_bitmap = source.m_bitmap;
    Changed();
}

void TFont::Changed()
{
    if (OnChange)
        OnChange();
}

void TFont::SetName(const QString &value)
{
    if (Assign(m_name, value))
        Changed();
}

void TFont::SetSize(int value)
{
    if (Assign(m_size, value))
        Changed();
}

int TFont::Height() const
{
    return -MulDiv(m_size, m_pixelsPerInch, 72);
}

void TFont::SetHeight(int value)
{
    SetSize(-MulDiv(value, 72, m_pixelsPerInch));
}

void TFont::SetColor(TColor value)
{
    if (Assign(m_color, value))
        Changed();
}

void TFont::SetStyle(TFontStyles value)
{
    if (Assign(m_style, value))
        Changed();
}

void TFont::SetPixelsPerInch(int value)
{
    if (value > 0 && Assign(m_pixelsPerInch, value))
        Changed();
}

void TFont::SetCharset(int value)
{
    if (Assign(m_charset, value))
        Changed();
}

void TFont::CopyFrom(const TFont &source)
{
    if (&source == this)
        return;
    m_name = source.m_name;
    m_size = source.m_size;
    m_color = source.m_color;
    m_style = source.m_style;
    m_pixelsPerInch = source.m_pixelsPerInch;
    m_charset = source.m_charset;
    Changed();
}

void TPicture::Changed()
{
    if (OnChange)
        OnChange();
}

void TPicture::SetImage(const QImage &value)
{
    m_image = value;
    Changed();
}

bool TPicture::LoadFromFile(const QString &fileName)
{
    QImage image;
    if (!image.load(fileName))
        return false;
    SetImage(image);
    return true;
}

void TPicture::Clear()
{
    if (m_image.isNull())
        return;
    m_image = QImage();
    Changed();
}

void TPicture::CopyFrom(const TPicture &source)
{
    if (&source == this)
        return;
    SetImage(source.m_image);
}

} // namespace kov
