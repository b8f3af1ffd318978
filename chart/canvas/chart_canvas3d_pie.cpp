// TChartCanvas3D: the 3D pie slice.
#include "chart/canvas/chart_canvas3d.h"

#include "chart/numeric.h"

#include <algorithm>
#include <cmath>

namespace kov {

namespace {

/// Most segments one arc is drawn with; enough for a whole pie filling a
/// large window to look round.
constexpr int MaxArcSteps = 256;

/// Segments for an arc of sweep radians on an ellipse of the larger radius
/// r: about one per 4 pixels of arc.
int ArcSteps(double sweep, int r)
{
    const double length = sweep * std::max(1, r);
    return std::clamp(static_cast<int>(std::ceil(length / 4)), 1, MaxArcSteps);
}

} // namespace

void TChartCanvas3D::DrawPie3D(const TPoint &centre, int xRadius, int yRadius, int z0, int z1,
                               double startAngle, double endAngle, bool darkSides, double hole)
{
    double sweep = endAngle - startAngle;
    if (sweep <= 0)
        sweep += TwoPi;
    sweep = std::min(sweep, TwoPi);
    if (!std::isfinite(sweep) || !std::isfinite(startAngle) || xRadius < 0 || yRadius < 0)
        return;
    hole = std::isfinite(hole) ? std::clamp(hole, 0.0, 1.0) : 0.0;
    const bool whole = sweep >= TwoPi;
    const int thickness = std::abs(z1 - z0);
    const TColor base = ReadBaseColor();

    // Screen point at angle a on the ellipse of fraction f of the radii,
    // lowered by dy.
    auto at = [&](double a, double f, int dy) {
        int x = centre.X + RoundToInt(f * xRadius * std::cos(a));
        int y = centre.Y - RoundToInt(f * yRadius * std::sin(a)) + dy;
        ProjectPoint(x, y, z0);
        return QPoint(x, y);
    };
    QPoint points[2 * MaxArcSteps + 4];
    const int steps = ArcSteps(sweep, std::max(xRadius, yRadius));
    const double first = startAngle - TwoPi * std::floor(startAngle / TwoPi);
    // The wall of the ellipse of fraction f where its angle lies in
    // [from, from + pi] of any turn: the outer rim on the front half, the
    // inner one on the back half of the hole.
    auto wall = [&](double f, double from) {
        for (int turn = -1; turn <= 2; ++turn) {
            const double lo = std::max(first, from + turn * TwoPi);
            const double hi = std::min(first + sweep, from + Pi + turn * TwoPi);
            if (hi <= lo)
                continue;
            const int n = ArcSteps(hi - lo, std::max(xRadius, yRadius));
            for (int i = 0; i <= n; ++i) {
                const double a = lo + (hi - lo) * i / n;
                points[i] = at(a, f, 0);
                points[2 * n + 1 - i] = at(a, f, thickness);
            }
            if (Realize())
                SurfacePolygon(points, 2 * n + 2);
        }
    };

    if (thickness > 0) {
        DarkenBase(base, TopDarkness, darkSides);
        if (hole > 0)
            wall(hole, 0);
        // The cut faces turned towards the viewer: the start face when it
        // lies on the right half, the end face on the left half. A whole
        // pie has none.
        if (!whole) {
            DarkenBase(base, SideDarkness, darkSides);
            for (const double a : {startAngle, startAngle + sweep}) {
                const bool isStart = a == startAngle;
                const double c = std::cos(a);
                if (isStart ? c <= 0 : c >= 0)
                    continue;
                const QPoint face[4] = {at(a, hole, 0), at(a, 1, 0), at(a, 1, thickness),
                                        at(a, hole, thickness)};
                if (Realize())
                    SurfacePolygon(face, 4);
            }
        }
        DarkenBase(base, TopDarkness, darkSides);
        wall(1, Pi);
        DarkenBase(base, 0, darkSides);
    }

    // The top face: the centre (or the inner arc back) and the arc.
    int count = 0;
    if (!whole && hole == 0)
        points[count++] = at(0, 0, 0);
    for (int i = 0; i <= steps; ++i)
        points[count++] = at(startAngle + sweep * i / steps, 1, 0);
    if (hole == 0) {
        if (Realize())
            SurfacePolygon(points, count);
        return;
    }
    for (int i = steps; i >= 0; --i)
        points[count++] = at(startAngle + sweep * i / steps, hole, 0);
    if (!Realize())
        return;
    if (!whole) {
        SurfacePolygon(points, count);
        return;
    }
    // A whole ring: filled between its rims (odd-even), outlined along them
    // only, without the seam that joins them.
    const QPen pen = Surface()->pen();
    Surface()->setPen(Qt::NoPen);
    SurfacePolygon(points, count);
    Surface()->setPen(pen);
    SurfacePolyline(points, steps + 1);
    SurfacePolyline(points + steps + 1, steps + 1);
}

} // namespace kov
