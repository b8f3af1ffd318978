#pragma once

#include "chart/canvas/graphics.h"
#include "chart/color.h"

// The colour gradient that can fill a chart panel's background instead of its
// plain colour.
namespace kov {

/// The settings of a gradient.
struct TGradientSettings
{
    TGradientDirection Direction = gdTopBottom;
    TColor EndColor = clYellow;
    TColor StartColor = clWhite;
    bool Visible = false;
};

class TCustomChartGradient
{
public:
    /// onChange hears of every change (the owning panel repaints); it may be
    /// empty.
    explicit TCustomChartGradient(TChangeHandler onChange = {});
    TCustomChartGradient(const TCustomChartGradient &) = delete;
    TCustomChartGradient &operator=(const TCustomChartGradient &) = delete;
    virtual ~TCustomChartGradient() = default;

    TGradientDirection Direction() const { return m_settings.Direction; }
    void SetDirection(TGradientDirection value)
    {
        SetAndInvalidate(OnChange, m_settings.Direction, value);
    }
    TColor EndColor() const { return m_settings.EndColor; }
    void SetEndColor(TColor value) { SetAndInvalidate(OnChange, m_settings.EndColor, value); }
    TColor StartColor() const { return m_settings.StartColor; }
    void SetStartColor(TColor value) { SetAndInvalidate(OnChange, m_settings.StartColor, value); }
    bool Visible() const { return m_settings.Visible; }
    void SetVisible(bool value) { SetAndInvalidate(OnChange, m_settings.Visible, value); }

    /// Copies Visible, Direction, StartColor and EndColor without reporting a
    /// change.
    virtual void CopyFrom(const TCustomChartGradient &source);

    TChangeHandler OnChange;

private:
    TGradientSettings m_settings;
};

/// The gradient as a chart publishes it.
class TChartGradient : public TCustomChartGradient
{
public:
    using TCustomChartGradient::TCustomChartGradient;
};

} // namespace kov
