#pragma once

#include <functional>

// The 3D view settings of a chart panel. Every change to a different value
// asks the owning panel to repaint.
namespace kov {

class TView3DOptions
{
public:
    /// repaint is the owning panel's invalidation; it may be empty.
    explicit TView3DOptions(std::function<void()> repaint = {});
    TView3DOptions(const TView3DOptions &) = delete;
    TView3DOptions &operator=(const TView3DOptions &) = delete;

    int Elevation() const { return m_elevation; }
    void SetElevation(int value);
    int HorizOffset() const { return m_horizOffset; }
    void SetHorizOffset(int value);
    bool Orthogonal() const { return m_orthogonal; }
    void SetOrthogonal(bool value);
    int Perspective() const { return m_perspective; }
    void SetPerspective(int value);
    int Rotation() const { return m_rotation; }
    void SetRotation(int value);
    int Tilt() const { return m_tilt; }
    void SetTilt(int value);
    int VertOffset() const { return m_vertOffset; }
    void SetVertOffset(int value);
    int Zoom() const { return m_zoom; }
    void SetZoom(int value);
    bool ZoomText() const { return m_zoomText; }
    void SetZoomText(bool value);

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
    template <typename T> void Store(T &field, T value);

    std::function<void()> m_repaint;
    int m_elevation = 345;
    int m_horizOffset = 0;
    bool m_orthogonal = true;
    int m_perspective = 15;
    int m_rotation = 345;
    int m_tilt = 0;
    int m_vertOffset = 0;
    int m_zoom = 100;
    bool m_zoomText = true;
};

} // namespace kov
