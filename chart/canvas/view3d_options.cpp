#include "chart/canvas/view3d_options.h"

namespace kov {

TView3DOptions::TView3DOptions(std::function<void()> repaint) : m_repaint(std::move(repaint)) {}

void TView3DOptions::Repaint() const
{
    if (m_repaint)
        m_repaint();
}

template <typename T> void TView3DOptions::Store(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    Repaint();
}

void TView3DOptions::SetElevation(int value)
{
    Store(m_elevation, value);
}

void TView3DOptions::SetHorizOffset(int value)
{
    if (m_horizOffset == value)
        return;
    m_horizOffset = value;
    Repaint();
    if (OnScrolled)
        OnScrolled(true);
}

void TView3DOptions::SetOrthogonal(bool value)
{
    Store(m_orthogonal, value);
}

void TView3DOptions::SetPerspective(int value)
{
    Store(m_perspective, value);
}

void TView3DOptions::SetRotation(int value)
{
    Store(m_rotation, value);
}

void TView3DOptions::SetTilt(int value)
{
    Store(m_tilt, value);
}

void TView3DOptions::SetVertOffset(int value)
{
    if (m_vertOffset == value)
        return;
    m_vertOffset = value;
    Repaint();
    if (OnScrolled)
        OnScrolled(false);
}

void TView3DOptions::SetZoom(int value)
{
    if (m_zoom == value)
        return;
    if (OnZoomed)
        OnZoomed(value);
    m_zoom = value;
    Repaint();
}

void TView3DOptions::SetZoomText(bool value)
{
    Store(m_zoomText, value);
}

void TView3DOptions::CopyFrom(const TView3DOptions &source)
{
    m_elevation = source.m_elevation;
    m_horizOffset = source.m_horizOffset;
    m_orthogonal = source.m_orthogonal;
    m_perspective = source.m_perspective;
    m_rotation = source.m_rotation;
    m_tilt = source.m_tilt;
    m_vertOffset = source.m_vertOffset;
    m_zoom = source.m_zoom;
    m_zoomText = source.m_zoomText;
}

} // namespace kov
