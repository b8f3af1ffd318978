#pragma once

#include "chart/canvas/graphics.h"
#include "chart/panel/chart_font.h"

#include <QString>

namespace kov {

class TCustomChartAxis;

/// Title of an axis: caption, angle and font. Knows its axis, and reports
/// its changes (the font's too) through the axis' change handler.
class TChartAxisTitle : public TChartFontObject
{
public:
    explicit TChartAxisTitle(TCustomChartAxis *axis = nullptr, TChangeHandler onChange = {});

    TCustomChartAxis *Axis() const { return m_axis; }
    void SetAxis(TCustomChartAxis *axis) { m_axis = axis; }

    int Angle() const { return m_settings.Angle; }
    /// Rejects angles outside 0..359 with ChartException ("Axis Title").
    void SetAngle(int angle);
    QString Caption() const { return m_settings.Caption; }
    void SetCaption(const QString &caption);

    /// The angle the axis' kind gives its title.
    int DefaultAngle() const { return m_defaultAngle; }
    /// Sets the default angle and the angle with it.
    void SetDefaultAngle(int angle);
    /// True when the angle differs from the default angle.
    bool IsAngleStored() const { return m_settings.Angle != m_defaultAngle; }
    /// Copies the axis link (when this title has none), angle, caption and font.
    void CopyFrom(const TChartFontObject &source) override;

private:
    /// What CopyFrom copies besides the font.
    struct TSettings
    {
        int Angle = 0;
        QString Caption;
    };

    void Changed();

    TCustomChartAxis *m_axis = nullptr;
    TChangeHandler m_onChange;
    int m_defaultAngle = 0;
    TSettings m_settings;
};

} // namespace kov
