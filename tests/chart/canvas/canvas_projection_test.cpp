#include "canvas_test_util.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace kov;
using kov::test::BeginPaint;

namespace {

// A 3D paint of a 200 x 100 picture whose chart rectangle is (20, 10, 180,
// 90): centre (100, 50), depth 40 so centre z is 20.
void Setup3D(TChartCanvas3D &canvas, TView3DOptions &options)
{
    BeginPaint(canvas, 200, 100, &options, true);
    canvas.SetProjection(40, TRect{0, 0, 200, 100}, TRect{20, 10, 180, 90});
}

TPoint Project(const TChartCanvas3D &canvas, int x, int y, int z)
{
    canvas.ProjectPoint(x, y, z);
    return TPoint{x, y};
}

/// The point on the plane at depth z that the screen point (x, y) shows.
TPoint OnPlane(TChartCanvas3D &canvas, int x, int y, int z)
{
    canvas.ScreenToPlane(x, y, z);
    return TPoint{x, y};
}

} // namespace

TEST(TChartCanvas3DProjection, FlatModeIgnoresDepth)
{
    TChartCanvas3D canvas;
    TView3DOptions options;
    BeginPaint(canvas, 200, 100, &options, false);
    canvas.SetProjection(40, TRect{}, TRect{20, 10, 180, 90});
    EXPECT_EQ(Project(canvas, 33, 44, 25), (TPoint{33, 44}));
    EXPECT_EQ(OnPlane(canvas, 33, 44, 25), (TPoint{33, 44}));
}

TEST(TChartCanvas3DProjection, OrthogonalShiftsDepthRightAndUp)
{
    TChartCanvas3D canvas;
    TView3DOptions options;
    Setup3D(canvas, options);
    EXPECT_EQ(canvas.CentreX(), 100);
    EXPECT_EQ(canvas.CentreY(), 50);
    EXPECT_EQ(canvas.CentreZ(), 20);
    for (auto [x, y, z] : {std::tuple{0, 0, 0}, std::tuple{33, 44, 25}, std::tuple{-7, 300, -9}})
        EXPECT_EQ(Project(canvas, x, y, z), (TPoint{x + z, y - z}));

    // The inverse brings screen points back onto the plane.
    EXPECT_EQ(OnPlane(canvas, 58, 19, 25), (TPoint{33, 44}));
}

TEST(TChartCanvas3DProjection, OrthogonalZoomAndOffsets)
{
    TChartCanvas3D canvas;
    TView3DOptions options;
    options.SetZoom(50);
    options.SetHorizOffset(10);
    options.SetVertOffset(-5);
    Setup3D(canvas, options);
    EXPECT_DOUBLE_EQ(canvas.ZoomFactor(), 0.5);
    // x' = round(0.5 * (x - 100 + z)) + 110; y' = round(0.5 * (y - 50 - z)) + 45.
    EXPECT_EQ(Project(canvas, 100, 50, 0), (TPoint{110, 45}));
    EXPECT_EQ(Project(canvas, 105, 50, 0), (TPoint{112, 45})) << "2.5 rounds to even";
    EXPECT_EQ(Project(canvas, 107, 41, 4), (TPoint{116, 39})) << "-6.5 rounds to -6";
}

TEST(TChartCanvas3DProjection, DefaultRotationCoefficients)
{
    TChartCanvas3D canvas;
    TView3DOptions options;
    options.SetOrthogonal(false);
    Setup3D(canvas, options);
    const auto &c = canvas.ProjectionCoefficients();
    const double cos15 = std::cos(15 * M_PI / 180);
    EXPECT_NEAR(c.XX, cos15, 1e-12);
    EXPECT_NEAR(c.YY, cos15, 1e-12);
    EXPECT_NEAR(c.XY, 0, 1e-12);
    EXPECT_NE(c.XZ, 0);
    EXPECT_NE(c.YZ, 0);
    EXPECT_NEAR(c.XZ, std::sin(15 * M_PI / 180), 1e-12);
    EXPECT_NEAR(c.YZ, -std::sin(15 * M_PI / 180) * cos15, 1e-12);
    EXPECT_NEAR(static_cast<double>(c.DepthY), -std::sin(15 * M_PI / 180), 1e-12);

    // Depth moves points sideways and vertically.
    const TPoint front = Project(canvas, 100, 50, 20);
    const TPoint back = Project(canvas, 100, 50, 60);
    EXPECT_EQ(front, (TPoint{100, 50})) << "the centre stays put";
    EXPECT_NE(back.X, front.X);
    EXPECT_NE(back.Y, front.Y);
}

TEST(TChartCanvas3DProjection, PerspectiveFactor)
{
    TChartCanvas3D canvas;
    TView3DOptions options;
    options.SetOrthogonal(false);
    Setup3D(canvas, options);
    EXPECT_DOUBLE_EQ(canvas.PerspectiveFactor(), 15 / 35000.0);

    options.SetPerspective(0);
    Setup3D(canvas, options);
    EXPECT_EQ(canvas.PerspectiveFactor(), 0.0);
}

TEST(TChartCanvas3DProjection, ClampedCoefficientAndInverse)
{
    TChartCanvas3D canvas;
    TView3DOptions options;
    options.SetOrthogonal(false);
    options.SetElevation(90); // cos E = 0: yy would vanish
    options.SetRotation(0);
    options.SetPerspective(0);
    Setup3D(canvas, options);
    EXPECT_DOUBLE_EQ(canvas.ProjectionCoefficients().YY, 0.00001);

    options.SetElevation(180); // cos E < 0
    Setup3D(canvas, options);
    EXPECT_DOUBLE_EQ(canvas.ProjectionCoefficients().YY, 0.00001);
    EXPECT_NEAR(canvas.ProjectionCoefficients().XX, 1.0, 1e-12);

    // The inverse divides by the clamped value and stays finite.
    EXPECT_EQ(OnPlane(canvas, 120, 51, 20), (TPoint{120, 100050}));
}

TEST(TChartCanvas3DProjection, RotatedInverseWithoutPerspective)
{
    TChartCanvas3D canvas;
    TView3DOptions options;
    options.SetOrthogonal(false);
    options.SetPerspective(0);
    options.SetElevation(0);
    options.SetRotation(30);
    Setup3D(canvas, options);
    // With elevation and tilt 0 the y row is the identity and xy = 0, so the
    // inverse of a projected point returns it exactly.
    for (auto [x, y, z] :
         {std::tuple{100, 50, 20}, std::tuple{140, 70, 30}, std::tuple{60, 20, 5}}) {
        const TPoint p = Project(canvas, x, y, z);
        int bx = p.X, by = p.Y;
        canvas.ScreenToPlane(bx, by, z);
        EXPECT_NEAR(bx, x, 1) << x << "," << y << "," << z;
        EXPECT_EQ(by, y);
    }
}

TEST(TChartCanvas3DProjection, ZeroZoomLeavesInverseUnchanged)
{
    TChartCanvas3D canvas;
    TView3DOptions options;
    options.SetZoom(0);
    Setup3D(canvas, options);
    EXPECT_EQ(OnPlane(canvas, 15, 25, 3), (TPoint{15, 25}));
}

TEST(TChartCanvas3DProjection, FrontPlaneBracketDrawsInScreenCoordinates)
{
    TChartCanvas3D canvas;
    TView3DOptions options;
    Setup3D(canvas, options);
    canvas.BeginFrontPlane();
    EXPECT_EQ(Project(canvas, 33, 44, 25), (TPoint{33, 44}));
    canvas.EndFrontPlane();
    EXPECT_EQ(Project(canvas, 33, 44, 25), (TPoint{58, 19}));
}

TEST(TChartCanvas3DProjection, ProjectToPointMatchesProjectPoint)
{
    TChartCanvas3D canvas;
    TView3DOptions options;
    options.SetOrthogonal(false);
    Setup3D(canvas, options);
    TPoint p;
    canvas.ProjectToPoint(130, 30, p, 35);
    EXPECT_EQ(p, Project(canvas, 130, 30, 35));
}
