#include "chart/canvas/view3d_options.h"

namespace kov {

TView3DOptions::TView3DOptions(TChangeHandler repaint) : m_repaint(std::move(repaint)) {}

void TView3DOptions::Repaint() const
{
    ReportChange(m_repaint);
}

void TView3DOptions::SetHorizOffset(int value)
{
    if (SetAndInvalidate(m_repaint, m_settings.HorizOffset, value) && OnScrolled)
        OnScrolled(true);
}

void TView3DOptions::SetVertOffset(int value)
{
    if (SetAndInvalidate(m_repaint, m_settings.VertOffset, value) && OnScrolled)
        OnScrolled(false);
}

void TView3DOptions::SetZoom(int value)
{
    // The zoom notification sees the new value before it is stored.
    if (m_settings.Zoom != value && OnZoomed)
        OnZoomed(value);
    SetAndInvalidate(m_repaint, m_settings.Zoom, value);
}

void TView3DOptions::CopyFrom(const TView3DOptions &source)
{
    m_settings = source.m_settings;
}

} // namespace kov
