#pragma once

#include "chart/canvas/graphics.h"

// Base of every chart part with a font of its own (titles, legend, axis
// titles): the font starts with the engine's default settings and repaints the
// owning panel whenever it changes.
namespace kov {

class TCustomChartPanel;

class TChartFontObject
{
public:
    explicit TChartFontObject(TCustomChartPanel *owner);
    TChartFontObject(const TChartFontObject &) = delete;
    TChartFontObject &operator=(const TChartFontObject &) = delete;
    virtual ~TChartFontObject();

    TCustomChartPanel *ParentChart() const { return m_owner; }

    TFont &Font() { return m_font; }
    const TFont &Font() const { return m_font; }
    /// Copies the given font's properties into the owned font.
    void SetFont(const TFont &value);
    /// True when the font differs from the engine's default font settings.
    virtual bool IsFontStored() const;
    /// Asks the owning panel to repaint.
    void Repaint() const;

    /// From another font object: the font. Derived classes copy their own
    /// settings and then call this.
    virtual void CopyFrom(const TChartFontObject &source);

private:
    TCustomChartPanel *m_owner;
    TFont m_font;
};

} // namespace kov
