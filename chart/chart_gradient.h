#pragma once

#include "chart/canvas/graphics.h"
#include "chart/color.h"

// The colour gradient that can fill a chart panel's background instead of its
// plain colour.
namespace kov {

class TCustomChartPanel;

class TCustomChartGradient
{
public:
    /// owner is the panel repainted on every change; it may be null.
    explicit TCustomChartGradient(TCustomChartPanel *owner = nullptr);
    TCustomChartGradient(const TCustomChartGradient &) = delete;
    TCustomChartGradient &operator=(const TCustomChartGradient &) = delete;
    virtual ~TCustomChartGradient() = default;

    TGradientDirection Direction() const { return m_direction; }
    void SetDirection(TGradientDirection value);
    TColor EndColor() const { return m_endColor; }
    void SetEndColor(TColor value);
    TColor StartColor() const { return m_startColor; }
    void SetStartColor(TColor value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    TCustomChartPanel *Owner() const { return m_owner; }
    void SetOwner(TCustomChartPanel *owner) { m_owner = owner; }

    /// Copies Visible, Direction, StartColor and EndColor without repainting.
    virtual void CopyFrom(const TCustomChartGradient &source);

private:
    template <typename T> void Store(T &field, T value);

    TGradientDirection m_direction = gdTopBottom;
    TColor m_endColor = clYellow;
    TCustomChartPanel *m_owner = nullptr;
    TColor m_startColor = clWhite;
    bool m_visible = false;
};

/// The gradient as a chart publishes it.
class TChartGradient : public TCustomChartGradient
{
public:
    using TCustomChartGradient::TCustomChartGradient;
};

} // namespace kov
