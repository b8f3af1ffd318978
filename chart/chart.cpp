#include "chart/chart.h"

#include "chart/canvas/rect.h"

#include <algorithm>
#include <cstdlib>

namespace kov {

TCustomChart::TCustomChart(QWidget *parent) : TCustomAxisPanel(parent) {}

TCustomChart::~TCustomChart() = default;

void TCustomChart::LayoutAxes()
{
    const std::vector<TCustomChartAxis *> &axes = AxesList();
    for (TCustomChartAxis *axis : axes)
        axis->RefreshRange();
    ComputeDepthSizes();

    if (View3D() && View3DOptions().Orthogonal()) {
        const int wall = View3DWalls() ? BackWallSize() : 0;
        TRect r = ChartRect();
        r.Right -= std::abs(Width3D()) + wall;
        r.Top += std::abs(Height3D()) + wall;
        SetChartRect(r);
    }
    RecalcChartSize();

    // Every shown axis takes its room out of a copy; only the five standard
    // axes may shrink the chart rectangle itself.
    TRect room = ChartRect();
    for (size_t i = 0; i < axes.size(); ++i) {
        if (!AxisShown(axes[i]))
            continue;
        TRect reserved = room;
        axes[i]->ReserveSpace(reserved, i < 5);
        TRect both;
        if (IntersectRect(both, room, reserved))
            room = both;
    }
    SetChartRect(room);
    RecalcChartSize();

    for (TCustomChartAxis *axis : axes)
        axis->UpdatePixelSpan();
}

void TCustomChart::LayoutSeriesArea()
{
    TCustomChartAxis *const sides[] = {TopAxis(), LeftAxis(), RightAxis(), BottomAxis()};
    for (TCustomChartAxis *axis : sides) {
        TRect margins;
        for (TChartSeries *s : SeriesList().Items()) {
            if (!s->Active() || !s->IsOnAxis(axis))
                continue;
            if (axis->IsHorizontal()) {
                int left = 0;
                int right = 0;
                s->ExtraHorizMargins(left, right);
                if (axis->AutomaticMinimum())
                    margins.Left = std::max(margins.Left, left);
                if (axis->AutomaticMaximum())
                    margins.Right = std::max(margins.Right, right);
            } else {
                int top = 0;
                int bottom = 0;
                s->ExtraVertMargins(top, bottom);
                if (axis->AutomaticMaximum())
                    margins.Top = std::max(margins.Top, top);
                if (axis->AutomaticMinimum())
                    margins.Bottom = std::max(margins.Bottom, bottom);
            }
        }
        axis->FitToPixelMargins(margins);
    }
}

int TCustomChart::WallThickness(const TCustomChartAxis *) const
{
    return 0;
}

void TCustomChart::PaintTitlesAndLegend() {}

void TCustomChart::PaintWalls() {}

bool TCustomChart::ColorIsFree(TColor color, bool checkBackground) const
{
    for (TChartSeries *s : SeriesList().Items())
        if (s->SeriesColor() == color)
            return false;
    if (checkBackground && (color == Color() || color == BackColor()))
        return false;
    return true;
}

} // namespace kov
