#include "chart/series/hit_geometry.h"

#include <gtest/gtest.h>

using namespace kov;

namespace {

struct SegmentCase
{
    TPoint p;
    int x0, y0, x1, y1, tolerance;
    bool hit;
};

} // namespace

TEST(HitGeometrySegment, HorizontalVerticalAndSlopedSegments)
{
    const SegmentCase cases[] = {
        // horizontal (10, 20)-(30, 20): only the line itself, only between the ends
        {{20, 20}, 10, 20, 30, 20, 0, true},
        {{20, 21}, 10, 20, 30, 20, 0, false},
        {{20, 19}, 10, 20, 30, 20, 0, false},
        {{31, 20}, 10, 20, 30, 20, 0, false},
        {{9, 20}, 10, 20, 30, 20, 0, false},
        {{10, 20}, 10, 20, 30, 20, 0, true},
        {{30, 20}, 10, 20, 30, 20, 0, true},
        // the same segment given right to left
        {{20, 20}, 30, 20, 10, 20, 0, true},
        {{31, 20}, 30, 20, 10, 20, 0, false},
        // tolerance widens the ends only
        {{32, 20}, 10, 20, 30, 20, 2, true},
        {{33, 20}, 10, 20, 30, 20, 2, false},
        {{20, 21}, 10, 20, 30, 20, 2, false},
        // vertical
        {{5, 15}, 5, 10, 5, 30, 0, true},
        {{6, 15}, 5, 10, 5, 30, 0, false},
        {{5, 31}, 5, 10, 5, 30, 0, false},
        // diagonal: a pixel of slack across the line
        {{15, 15}, 10, 10, 20, 20, 0, true},
        {{16, 15}, 10, 10, 20, 20, 0, false},
        {{21, 21}, 10, 10, 20, 20, 0, false},
        // shallow slope: y 12.5 on the line at x 20, so 12 and 13 hit and 14 misses
        {{20, 13}, 10, 10, 30, 15, 0, true},
        {{20, 14}, 10, 10, 30, 15, 0, false},
        {{20, 12}, 10, 10, 30, 15, 0, true},
        // zero-length segment never matches, not even its own point
        {{7, 7}, 7, 7, 7, 7, 0, false},
        {{7, 7}, 7, 7, 7, 7, 3, false},
    };
    for (const SegmentCase &c : cases)
        EXPECT_EQ(PointNearSegment(c.p, c.x0, c.y0, c.x1, c.y1, c.tolerance), c.hit)
            << "p=(" << c.p.X << "," << c.p.Y << ") seg=(" << c.x0 << "," << c.y0 << ")-(" << c.x1
            << "," << c.y1 << ") t=" << c.tolerance;
}

TEST(HitGeometrySegment, FarCoordinatesDoNotOverflow)
{
    // Products of differences near 65532 exceed 32 bits.
    EXPECT_TRUE(PointOnSegment({0, 0}, -32766, -32766, 32766, 32766));
    EXPECT_FALSE(PointOnSegment({0, 40}, -32766, -32766, 32766, 32766));
    EXPECT_FALSE(PointOnSegment({32000, -32000}, -32766, -32766, 32766, 32766));
}

TEST(HitGeometryPolygon, EvenOddRule)
{
    const TPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(PolygonContains({5, 5}, square, 3));
    EXPECT_TRUE(PolygonContains({0, 0}, square, 3));   // top-left edge belongs
    EXPECT_FALSE(PolygonContains({10, 5}, square, 3)); // right edge does not
    EXPECT_FALSE(PolygonContains({5, 10}, square, 3)); // bottom edge does not
    EXPECT_FALSE(PolygonContains({-1, 5}, square, 3));
    EXPECT_FALSE(PolygonContains({5, 5}, square, -1));
    EXPECT_FALSE(PolygonContains({5, 5}, nullptr, 3));

    // A self-crossing pentagram leaves its centre outside under even-odd.
    const TPoint star[] = {{50, 0}, {80, 90}, {5, 35}, {95, 35}, {20, 90}};
    EXPECT_FALSE(PolygonContains({50, 50}, star, 4));
    EXPECT_TRUE(PolygonContains({50, 20}, star, 4));
}

TEST(HitGeometryShapes, TrianglesAndEllipse)
{
    // Upright triangle: base y = 100 from 0 to 20, apex (10, 80).
    EXPECT_TRUE(PointInTriangle({10, 95}, 0, 100, 20, 80));
    EXPECT_FALSE(PointInTriangle({2, 82}, 0, 100, 20, 80));
    // Sideways: base x = 100 from y 0 to 20, apex (80, 10).
    EXPECT_TRUE(PointInHorizTriangle({95, 10}, 80, 0, 100, 20));
    EXPECT_FALSE(PointInHorizTriangle({82, 2}, 80, 0, 100, 20));

    EXPECT_TRUE(PointInEllipse({10, 5}, 0, 0, 20, 10));
    EXPECT_TRUE(PointInEllipse({20, 5}, 0, 0, 20, 10));  // on the rim
    EXPECT_FALSE(PointInEllipse({19, 9}, 0, 0, 20, 10)); // inside the box, outside the rim
    EXPECT_FALSE(PointInEllipse({5, 5}, 5, 0, 5, 10));   // zero width
    EXPECT_FALSE(PointInEllipse({5, 0}, 0, 0, 10, 1));   // half height truncates to 0
}
