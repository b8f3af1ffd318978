// TChartCanvas3D: the 3D pie slice.
#include "chart/canvas/chart_canvas.h"

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
                               double startAngle, double endAngle, bool darkSides)
{
    double sweep = endAngle - startAngle;
    if (sweep <= 0)
        sweep += TwoPi;
    sweep = std::min(sweep, TwoPi);
    if (!std::isfinite(sweep) || xRadius < 0 || yRadius < 0)
        return;
    const int thickness = std::abs(z1 - z0);
    const TColor base = ReadBaseColor();

    // Screen point of the top rim at angle a, lowered by dy.
    auto rim = [&](double a, int dy) {
        int x = centre.X + RoundToInt(xRadius * std::cos(a));
        int y = centre.Y - RoundToInt(yRadius * std::sin(a)) + dy;
        ProjectPoint(x, y, z0);
        return QPoint(x, y);
    };
    auto middle = [&](int dy) {
        int x = centre.X, y = centre.Y + dy;
        ProjectPoint(x, y, z0);
        return QPoint(x, y);
    };
    QPoint points[2 * MaxArcSteps + 4];

    if (thickness > 0) {
        // The cut faces turned towards the viewer: the start face when it
        // lies on the right half, the end face on the left half. A whole
        // pie has none.
        if (sweep < TwoPi) {
            DarkenBase(base, SideDarkness, darkSides);
            for (const double a : {startAngle, startAngle + sweep}) {
                const bool isStart = a == startAngle;
                const double c = std::cos(a);
                if (isStart ? c <= 0 : c >= 0)
                    continue;
                const QPoint face[4] = {middle(0), rim(a, 0), rim(a, thickness), middle(thickness)};
                if (Realize())
                    SurfacePolygon(face, 4);
            }
        }
        // The rim where it lies on the front half of the ellipse (angles
        // from pi to 2 pi, in any turn).
        DarkenBase(base, TopDarkness, darkSides);
        const double first = startAngle - TwoPi * std::floor(startAngle / TwoPi);
        for (int turn = -1; turn <= 2; ++turn) {
            const double lo = std::max(first, Pi + turn * TwoPi);
            const double hi = std::min(first + sweep, TwoPi + turn * TwoPi);
            if (hi <= lo)
                continue;
            const int steps = ArcSteps(hi - lo, std::max(xRadius, yRadius));
            for (int i = 0; i <= steps; ++i) {
                const double a = lo + (hi - lo) * i / steps;
                points[i] = rim(a, 0);
                points[2 * steps + 1 - i] = rim(a, thickness);
            }
            if (Realize())
                SurfacePolygon(points, 2 * steps + 2);
        }
        DarkenBase(base, 0, darkSides);
    }

    // The top face: the centre and the arc.
    const int steps = ArcSteps(sweep, std::max(xRadius, yRadius));
    int count = 0;
    if (sweep < TwoPi)
        points[count++] = middle(0);
    for (int i = 0; i <= steps; ++i)
        points[count++] = rim(startAngle + sweep * i / steps, 0);
    if (Realize())
        SurfacePolygon(points, count);
}

} // namespace kov
