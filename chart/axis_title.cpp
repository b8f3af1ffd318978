#include "chart/axis_title.h"

#include "chart/axis.h"
#include "chart/canvas/chart_canvas.h"
#include "chart/change.h"

namespace kov {

// The title reports its font's changes through its axis, as it does its own.
TChartAxisTitle::TChartAxisTitle(TCustomChartAxis *axis) : TChartFontObject(nullptr), m_axis(axis)
{
    Font().OnChange = [this] { Changed(); };
}

void TChartAxisTitle::Changed()
{
    if (m_axis)
        m_axis->Repaint();
}

void TChartAxisTitle::SetAngle(int angle)
{
    ValidateAngle(angle, QStringLiteral("Axis Title"));
    SetAndInvalidate([this] { Changed(); }, m_settings.Angle, angle);
}

void TChartAxisTitle::SetCaption(const QString &caption)
{
    SetAndInvalidate([this] { Changed(); }, m_settings.Caption, caption);
}

bool TChartAxisTitle::IsAngleStored() const
{
    return m_settings.Angle != (m_axis ? m_axis->DefaultTitleAngle() : 0);
}

void TChartAxisTitle::CopyFrom(const TChartFontObject &source)
{
    if (&source == this)
        return;
    if (const auto *title = dynamic_cast<const TChartAxisTitle *>(&source)) {
        // A title that belongs to an axis stays with it: taking the source's
        // link would send this title's changes to another chart.
        if (!m_axis)
            m_axis = title->m_axis;
        m_settings = title->m_settings;
    }
    TChartFontObject::CopyFrom(source);
    Changed();
}

} // namespace kov
