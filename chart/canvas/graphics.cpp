#include "chart/canvas/graphics.h"

#include "chart/numeric.h"

namespace kov {

namespace {

// CopyFrom of pens, brushes and fonts: the settings taken in one assignment
// and one change reported (nothing for a copy from itself).
template <typename Settings>
void TakeSettings(Settings &settings, const Settings &source, const TChangeHandler &onChange)
{
    if (&settings == &source)
        return;
    settings = source;
    ReportChange(onChange);
}

} // namespace

void TPen::CopyFrom(const TPen &source)
{
    TakeSettings(m_settings, source.m_settings, OnChange);
}

void TBrush::SetBitmap(const QImage &value)
{
    m_settings.Bitmap = value;
    ReportChange(OnChange);
}

void TBrush::CopyFrom(const TBrush &source)
{
    TakeSettings(m_settings, source.m_settings, OnChange);
}

int TFont::Height() const
{
    return -MulDiv(m_settings.Size, m_settings.PixelsPerInch, 72);
}

void TFont::SetHeight(int value)
{
    SetSize(-MulDiv(value, 72, m_settings.PixelsPerInch));
}

void TFont::SetPixelsPerInch(int value)
{
    if (value > 0)
        SetAndInvalidate(OnChange, m_settings.PixelsPerInch, value);
}

void TFont::CopyFrom(const TFont &source)
{
    TakeSettings(m_settings, source.m_settings, OnChange);
}

void SelectCanvasFont(TFont &target, const TFont &font)
{
    // Parts select their fonts before each text they draw, mostly the one
    // already selected: that reports no change, so the canvas keeps its font
    // applied.
    if (target.Name() == font.Name() && target.Size() == font.Size() &&
        target.Color() == font.Color() && target.Style() == font.Style() &&
        target.Charset() == font.Charset())
        return;
    const int ppi = target.PixelsPerInch();
    target.CopyFrom(font);
    target.SetPixelsPerInch(ppi);
}

void TPicture::SetImage(const QImage &value)
{
    m_image = value;
    ReportChange(OnChange);
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
    ReportChange(OnChange);
}

void TPicture::CopyFrom(const TPicture &source)
{
    if (&source == this)
        return;
    SetImage(source.m_image);
}

} // namespace kov
