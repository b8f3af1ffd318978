#pragma once

#include "chart/canvas/chart_canvas.h"
#include "chart/canvas/view3d_options.h"

namespace kov {

/// Darkening amounts for the side and top faces of 3D solids.
constexpr int SideDarkness = 128;
constexpr int TopDarkness = 64;

/// Abstract 3D canvas: the depth operations.
class KOVCHART_EXPORT TCanvas3D : public TChartCanvas
{
public:
    /// The 3D settings in force (may be null).
    TView3DOptions *View3DOptions() const { return m_view3DOptions; }
    void SetView3DOptions(TView3DOptions *options) { m_view3DOptions = options; }
    bool IsOrthogonal() const { return m_orthogonal; }

    virtual void PlotPixel3D(int x, int y, int z, TColor color) = 0;
    virtual bool IsHardware3D() const = 0;
    virtual bool SupportsText3D() const = 0;
    /// Inverse projection of a screen point onto the plane at depth z.
    virtual void ScreenToPlane(int &x, int &y, int z) const = 0;
    virtual void ProjectToPoint(int x, int y, TPoint &point, int z) const = 0;
    /// Per-paint set-up: surface, settings, bounds and 3D flag. drawRect
    /// receives the rectangle to draw into (0, 0, width, height when
    /// buffered, else the bounds). The background colour is not used.
    virtual void BeginWindow(QPainter *surface, TView3DOptions *options, TRect &drawRect,
                             const TRect &bounds, bool is3D, TColor background) = 0;
    virtual void AssignCanvas(const TCanvas3D &source);
    virtual void SetProjection(int depth, const TRect &chartBounds, const TRect &chartRect) = 0;
    /// Copies the buffer onto destination at rect's top-left (when buffered)
    /// and makes defaultSurface current.
    virtual void PresentImage(QPainter *destination, QPainter *defaultSurface,
                              const TRect &rect) = 0;
    /// When the buffer holds the current picture, copies it to the current
    /// surface at (0, 0) and returns true; false when the chart must be
    /// painted again.
    virtual bool RepaintFromBuffer() = 0;
    virtual void DrawArrow(bool filled, const TPoint &from, const TPoint &to, int headLength,
                           int headWidth, int z) = 0;
    virtual void ClipToCube(const TRect &rect, int z0, int z1) = 0;
    virtual void DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                          int topSizePercent) = 0;
    virtual void DrawCube(int left, int right, int top, int bottom, int z0, int z1,
                          bool darkSides) = 0;
    virtual void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0,
                              int z1, bool darkSides) = 0;
    virtual void DrawHorizontalLine3D(int left, int right, int y, int z) = 0;
    virtual void DrawVerticalLine3D(int x, int top, int bottom, int z) = 0;
    virtual void DrawDepthLine(int x, int y, int z0, int z1) = 0;
    virtual void DrawEllipse3D(int x1, int y1, int x2, int y2, int z) = 0;
    virtual void BeginFrontPlane() = 0;
    virtual void EndFrontPlane() = 0;
    virtual void DrawSegment3D(int x1, int y1, int x2, int y2, int z) = 0;
    virtual void MovePenTo3D(int x, int y, int z) = 0;
    virtual void DrawLineTo3D(int x, int y, int z) = 0;
    /// A slice of a pie lying flat, seen from above and in front: its top face
    /// is the elliptical slice around centre with the given radii, its walls
    /// (the rim and the cut faces that face the viewer) hang down by z1 - z0
    /// pixels, shaded with darkSides, and the whole is projected at depth z0.
    /// Angles in radians, counter-clockwise from 3 o'clock; the slice runs
    /// from startAngle counter-clockwise to endAngle (a whole turn at most).
    /// The slices of one pie are drawn from the back to the front. A hole
    /// (a fraction of the radii below 1) makes the slice a piece of a ring:
    /// the top face runs between the two rims, and the inner wall shows
    /// where it lies on the back half of the hole.
    virtual void DrawPie3D(const TPoint &centre, int xRadius, int yRadius, int z0, int z1,
                           double startAngle, double endAngle, bool darkSides, double hole = 0) = 0;
    virtual void DrawDepthPlane(const TPoint &a, const TPoint &b, int z0, int z1) = 0;
    virtual void DrawQuad3D(const TPoint &p1, const TPoint &p2, const TPoint &p3, const TPoint &p4,
                            int z) = 0;
    virtual void DrawDepthQuad(const TPoint &p1, const TPoint &p2, const TPoint &p3,
                               const TPoint &p4, int z0, int z1) = 0;
    virtual void DrawPolygon3D(const TPoint *points, int lastIndex, int z) = 0;
    virtual void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0,
                             int z1, bool darkSides) = 0;
    virtual void DrawRectangle3D(const TRect &rect, int z) = 0;
    virtual void DrawFloorPlane(int left, int y, int right, int z0, int z1) = 0;
    virtual void DrawSidePlane(int x, int top, int bottom, int z0, int z1) = 0;
    virtual void WriteRotatedText3D(int x, int y, int z, const QString &text, int angle) = 0;
    virtual void DrawSphere(int x, int y, double radius, int z) = 0;
    virtual void DrawSurface() = 0;
    virtual void WriteText3D(int x, int y, int z, const QString &text) = 0;
    virtual void DrawShadedTriangle(const TPoint3D &p1, const TPoint3D &p2, const TPoint3D &p3,
                                    TColor c1, TColor c2, TColor c3) = 0;
    virtual void DrawTriangle3D(const TPoint &p1, const TPoint &p2, const TPoint &p3, int z) = 0;

protected:
    TView3DOptions *m_view3DOptions = nullptr;
    bool m_orthogonal = false;
    bool m_monochrome = false;
};

} // namespace kov
