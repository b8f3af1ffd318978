#pragma once

#include "chart/change.h"
#include "chart/kovchart_export.h"

#include <functional>

// The 3D view settings of a chart panel. Every change to a different value
// asks the owning panel to repaint.
namespace kov {

/// The nine 3D view settings.
struct KOVCHART_EXPORT TView3DSettings
{
    int Elevation = 345;
    int HorizOffset = 0;
    bool Orthogonal = true;
    int Perspective = 15;
    int Rotation = 345;
    int Tilt = 0;
    int VertOffset = 0;
    int Zoom = 100;
    bool ZoomText = true;
};

/// The 3D view of a chart: elevation, rotation, perspective, offsets and zoom.
class KOVCHART_EXPORT TView3DOptions
{
public:
    /// repaint is the owning panel's invalidation; it may be empty.
    explicit TView3DOptions(TChangeHandler repaint = {});
    TView3DOptions(const TView3DOptions &) = delete;
    TView3DOptions &operator=(const TView3DOptions &) = delete;

    int Elevation() const { return m_settings.Elevation; }
    void SetElevation(int value) { SetAndInvalidate(m_repaint, m_settings.Elevation, value); }
    int HorizOffset() const { return m_settings.HorizOffset; }
    void SetHorizOffset(int value);
    bool Orthogonal() const { return m_settings.Orthogonal; }
    void SetOrthogonal(bool value) { SetAndInvalidate(m_repaint, m_settings.Orthogonal, value); }
    int Perspective() const { return m_settings.Perspective; }
    void SetPerspective(int value) { SetAndInvalidate(m_repaint, m_settings.Perspective, value); }
    int Rotation() const { return m_settings.Rotation; }
    void SetRotation(int value) { SetAndInvalidate(m_repaint, m_settings.Rotation, value); }
    int Tilt() const { return m_settings.Tilt; }
    void SetTilt(int value) { SetAndInvalidate(m_repaint, m_settings.Tilt, value); }
    int VertOffset() const { return m_settings.VertOffset; }
    void SetVertOffset(int value);
    int Zoom() const { return m_settings.Zoom; }
    void SetZoom(int value);
    bool ZoomText() const { return m_settings.ZoomText; }
    void SetZoomText(bool value) { SetAndInvalidate(m_repaint, m_settings.ZoomText, value); }

    /// Copies all nine properties without notifications or repaint.
    void CopyFrom(const TView3DOptions &source);

    /// Asks the owning panel to repaint.
    void Repaint() const;

    /// Fired after an offset change and its repaint: true for HorizOffset,
    /// false for VertOffset.
    std::function<void(bool horizontal)> OnScrolled;
    /// Fired with the new zoom before it is stored and before the repaint.
    std::function<void(int zoom)> OnZoomed;

private:
    TChangeHandler m_repaint;
    TView3DSettings m_settings;
};

} // namespace kov
