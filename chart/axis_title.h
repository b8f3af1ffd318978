#pragma once

#include "chart/chart_font.h"

#include <QString>

namespace kov {

class TCustomChartAxis;

/// Title of an axis: caption, angle and font. Knows its axis, through which
/// changes (the font's too) reach the chart.
class TChartAxisTitle : public TChartFontObject
{
public:
    explicit TChartAxisTitle(TCustomChartAxis *axis = nullptr);

    TCustomChartAxis *Axis() const { return m_axis; }
    void SetAxis(TCustomChartAxis *axis) { m_axis = axis; }

    int Angle() const { return m_settings.Angle; }
    /// Rejects angles outside 0..359 with ChartException ("Axis Title").
    void SetAngle(int angle);
    QString Caption() const { return m_settings.Caption; }
    void SetCaption(const QString &caption);

    /// True when the angle differs from the axis' default title angle.
    bool IsAngleStored() const;
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
    TSettings m_settings;
};

} // namespace kov
