#include "chart/axis/axis_title.h"

#include "chart/canvas/chart_canvas.h"
#include "chart/change.h"

namespace kov {

// The title reports its font's changes as it does its own.
TChartAxisTitle::TChartAxisTitle(TCustomChartAxis *axis, TChangeHandler onChange)
    : TChartFontObject(nullptr), m_axis(axis), m_onChange(std::move(onChange))
{
    Font().OnChange = [this] { Changed(); };
}

void TChartAxisTitle::Changed()
{
    if (m_onChange)
        m_onChange();
}

void TChartAxisTitle::SetDefaultAngle(int angle)
{
    m_defaultAngle = angle;
    SetAngle(angle);
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

void TChartAxisTitle::CopyFrom(const TChartFontObject &source)
{
    if (&source == this)
        return;
    if (const auto *title = dynamic_cast<const TChartAxisTitle *>(&source)) {
        // A title that belongs to an axis stays with it: taking the source's
        // link would send this title's changes to another chart.
        if (!m_axis) {
            m_axis = title->m_axis;
            m_onChange = title->m_onChange;
            m_defaultAngle = title->m_defaultAngle;
        }
        m_settings = title->m_settings;
    }
    TChartFontObject::CopyFrom(source);
    Changed();
}

} // namespace kov
