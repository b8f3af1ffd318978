#pragma once

#include "chart/canvas/canvas3d.h"
#include "chart/plot/axis_panel.h"
#include "chart/series/series.h"

#include <QString>
#include <QStringList>

// A minimal series type for tests: it draws each point as a small square in
// its effective colour and records every hook the chart calls, so tests can
// check both the picture and the order of the pipeline.
namespace kov::testing {

class TRecordingSeries : public TChartSeries
{
public:
    explicit TRecordingSeries(QStringList *log = nullptr, bool *destroyed = nullptr)
        : m_log(log), m_destroyed(destroyed)
    {
    }
    ~TRecordingSeries() override
    {
        if (m_destroyed)
            *m_destroyed = true;
    }

    void BeforeDrawChart() override { Record("BeforeDrawChart"); }
    void BeforeDrawPoints() override
    {
        Record("BeforeDrawPoints");
        TChartSeries::BeforeDrawPoints();
    }
    void AfterDrawPoints() override
    {
        Record("AfterDrawPoints");
        TChartSeries::AfterDrawPoints();
    }
    void DrawPoint(const TSeriesPaintContext &context, int index) override
    {
        Record(QStringLiteral("DrawPoint %1").arg(index));
        Drawn.append(QString::number(index));
        if (MarkerHalf <= 0 || IsNullPoint(index))
            return;
        TCanvas3D &canvas = context.Canvas;
        canvas.Brush().SetColor(EffectivePointColor(index));
        canvas.Brush().SetStyle(bsSolid);
        const int x = context.XPos(PointX(index));
        const int y = context.YPos(PointY(index));
        canvas.FillRectangle(
            TRect{x - MarkerHalf, y - MarkerHalf, x + MarkerHalf + 1, y + MarkerHalf + 1});
    }
    void ExtraHorizMargins(int &left, int &right) const override
    {
        left = HorizMargin;
        right = HorizMargin;
    }
    void ExtraVertMargins(int &top, int &bottom) const override
    {
        top = VertMargin;
        bottom = VertMargin;
    }

    /// Pixel margins the series asks of its axes.
    int HorizMargin = 0;
    int VertMargin = 0;
    /// Half size of the drawn squares; 0 draws nothing (only records).
    int MarkerHalf = 0;
    QStringList Drawn;

private:
    void Record(const QString &what)
    {
        if (m_log)
            m_log->append(Title().isEmpty() ? what : Title() + ":" + what);
    }

    QStringList *m_log;
    bool *m_destroyed;
};

} // namespace kov::testing
