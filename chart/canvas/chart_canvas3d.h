#pragma once

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/canvas_layer.h"
#include "chart/canvas/face_stamps.h"
#include "chart/canvas/stamp_cache.h"

#include <QImage>
#include <QPolygon>
#include <initializer_list>
#include <memory>
#include <vector>

// The concrete canvas of a chart, over QPainter. It adds a projection layer:
// operations that take a depth z map (x, y, z) to the screen, flat (z
// ignored), orthogonal (z shifts the point right and up) or rotated with
// optional perspective. It owns an off-screen buffer image: a buffered paint
// draws into the image, which is then copied to the window in one block, and
// an unchanged chart repaints by copying the image again.
//
// High-density screens: every coordinate the canvas takes is in logical
// pixels. The buffer image has the device pixels of the surface it is
// presented on (logical size times that surface's device pixel ratio) and
// carries the ratio, so its painter scales everything: text is rendered at
// full resolution, and a one-pixel line becomes a solid line ratio device
// pixels wide. At ratio 1 the picture is the plain one.
namespace kov {

/// The concrete canvas over QPainter with its buffer image.
class KOVCHART_EXPORT TChartCanvas3D : public TCanvas3D
{
public:
    TChartCanvas3D();
    ~TChartCanvas3D() override;

    /// Projects (x, y, z) in place.
    void ProjectPoint(int &x, int &y, int z) const;

    /// The live buffer image (null before the first buffered BeginWindow).
    /// The canvas keeps painting into it: take copy() to keep a snapshot. Its
    /// size is in device pixels: the logical bounds times DevicePixelRatio().
    const QImage &BufferImage() const { return m_buffer; }
    /// Device pixels per logical pixel of the buffer, taken at every
    /// BeginWindow from the surface the picture goes to (1 for no surface).
    /// Whoever writes into the buffer's pixels directly must keep the rule the
    /// painter keeps at an integer ratio r: logical pixel (x, y) is the block
    /// of device pixels [r x, r x + r) x [r y, r y + r), and a one-pixel line
    /// covers the blocks of the logical pixels it covers at ratio 1 (see
    /// StrokeShift). Fractional ratios are left to the painter.
    qreal DevicePixelRatio() const { return m_ratio; }
    bool IsDirty() const { return m_dirty; }

    /// How many shapes were drawn from stamps (pictures drawn once and
    /// copied), by kind, since the canvas was made.
    const TStampCache::Use &StampsUsed() const { return m_stamps.Used(); }

    /// The picture behind the series (the layer). SaveLayer keeps a copy of
    /// the buffer and of the drawing state as they are at that moment;
    /// RestoreLayer puts both back, so that a paint in which only series
    /// points changed draws the series over the kept picture instead of
    /// drawing everything again, with the same pixels. SaveLayer refuses
    /// (false) unless the canvas draws into its buffer without a clip or
    /// transform; RestoreLayer refuses when nothing that fits the buffer is
    /// kept. A new buffer (size or ratio) drops the layer.
    bool SaveLayer();
    bool RestoreLayer();
    void DropLayer();
    bool HasLayer() const { return m_layer.IsKept(); }
    bool Is3D() const { return m_is3D; }
    double ZoomFactor() const { return m_zoomFactor; }
    double PerspectiveFactor() const { return m_perspectiveFactor; }
    bool TextZoom() const { return m_textZoom; }
    /// Bounds of the last BeginWindow.
    const TRect &Bounds() const { return m_bounds; }

    /// Projection coefficients of the rotated view.
    struct Coefficients
    {
        double XX = 1, XY = 0, XZ = 0;
        double YX = 0, YY = 1, YZ = 0;
        long double DepthX = 0, DepthY = 0;
        double DepthZ = 0;
    };
    const Coefficients &ProjectionCoefficients() const { return m_coef; }
    /// The logical centre and the screen point it lands on.
    int CentreX() const { return m_centreX; }
    int CentreY() const { return m_centreY; }
    int CentreZ() const { return m_centreZ; }
    int OffsetCentreX() const { return m_offsetX; }
    int OffsetCentreY() const { return m_offsetY; }

    TColor GetBackgroundColor() const override;
    int GetBackgroundMode() const override;
    QPainter *GetSurfaceHandle() const override;
    bool IsMonochrome() const override;
    unsigned GetTextAlignment() const override;
    bool IsBuffered() const override;
    void SetBackgroundColor(TColor color) override;
    void SetBackgroundMode(int mode) override;
    bool SetMonochromeBuffer(bool value) override;
    void PlotPixel(int x, int y, TColor color) override;
    void SetTextAlignment(unsigned flags) override;
    bool SetBuffered(bool value) override;
    void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void DrawGraphic(int x, int y, const TPicture *picture) override;
    void DrawEllipse(int x1, int y1, int x2, int y2) override;
    void FillRectangle(const TRect &rect) override;
    void DrawBevel(const TRect &rect, TColor topLeft, TColor bottomRight, int width) override;
    void DrawLineTo(int x, int y) override;
    void MovePenTo(int x, int y) override;
    void DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void DrawRectangle(int x1, int y1, int x2, int y2) override;
    void DrawRoundRectangle(int x1, int y1, int x2, int y2, int cornerWidth,
                            int cornerHeight) override;
    void StretchGraphic(const TRect &rect, const TPicture *picture) override;
    void WriteText(int x, int y, const QString &text) override;
    void ClipToRectangle(const TRect &rect) override;
    void DrawHorizontalLine(int left, int right, int y) override;
    void DrawRect(const TRect &rect) override;
    void DrawVerticalLine(int x, int top, int bottom) override;
    void ClearBackground(const TRect &rect) override;
    void FillGradient(const TRect &rect, TColor first, TColor second,
                      TGradientDirection direction) override;
    void MarkDirty() override;
    void DrawSegment(int x1, int y1, int x2, int y2) override;
    void DrawPolygon(const TPoint *points, int lastIndex) override;
    void WriteRotatedText(int x, int y, const QString &text, int angle) override;
    void RemoveClipping() override;

    void PlotPixel3D(int x, int y, int z, TColor color) override;
    bool IsHardware3D() const override;
    bool SupportsText3D() const override;
    void ScreenToPlane(int &x, int &y, int z) const override;
    void ProjectToPoint(int x, int y, TPoint &point, int z) const override;
    void BeginWindow(QPainter *surface, TView3DOptions *options, TRect &drawRect,
                     const TRect &bounds, bool is3D, TColor background) override;
    void SetProjection(int depth, const TRect &chartBounds, const TRect &chartRect) override;
    void PresentImage(QPainter *destination, QPainter *defaultSurface, const TRect &rect) override;
    bool RepaintFromBuffer() override;
    void DrawArrow(bool filled, const TPoint &from, const TPoint &to, int headLength, int headWidth,
                   int z) override;
    void ClipToCube(const TRect &rect, int z0, int z1) override;
    void DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                  int topSizePercent) override;
    void DrawCube(int left, int right, int top, int bottom, int z0, int z1,
                  bool darkSides) override;
    void DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                      bool darkSides) override;
    void DrawHorizontalLine3D(int left, int right, int y, int z) override;
    void DrawVerticalLine3D(int x, int top, int bottom, int z) override;
    void DrawDepthLine(int x, int y, int z0, int z1) override;
    void DrawEllipse3D(int x1, int y1, int x2, int y2, int z) override;
    void BeginFrontPlane() override;
    void EndFrontPlane() override;
    void DrawSegment3D(int x1, int y1, int x2, int y2, int z) override;
    void MovePenTo3D(int x, int y, int z) override;
    void DrawLineTo3D(int x, int y, int z) override;
    void DrawPie3D(const TPoint &centre, int xRadius, int yRadius, int z0, int z1,
                   double startAngle, double endAngle, bool darkSides, double hole = 0) override;
    void DrawDepthPlane(const TPoint &a, const TPoint &b, int z0, int z1) override;
    void DrawQuad3D(const TPoint &p1, const TPoint &p2, const TPoint &p3, const TPoint &p4,
                    int z) override;
    void DrawDepthQuad(const TPoint &p1, const TPoint &p2, const TPoint &p3, const TPoint &p4,
                       int z0, int z1) override;
    void DrawPolygon3D(const TPoint *points, int lastIndex, int z) override;
    void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                     bool darkSides) override;
    void DrawRectangle3D(const TRect &rect, int z) override;
    void DrawFloorPlane(int left, int y, int right, int z0, int z1) override;
    void DrawSidePlane(int x, int top, int bottom, int z0, int z1) override;
    void WriteRotatedText3D(int x, int y, int z, const QString &text, int angle) override;
    void DrawSphere(int x, int y, double radius, int z) override;
    void DrawSurface() override;
    void WriteText3D(int x, int y, int z, const QString &text) override;
    void DrawShadedTriangle(const TPoint3D &p1, const TPoint3D &p2, const TPoint3D &p3, TColor c1,
                            TColor c2, TColor c3) override;
    void DrawTriangle3D(const TPoint &p1, const TPoint &p2, const TPoint &p3, int z) override;

private:
    void CalcCoefficients();
    void FreeBuffer();
    /// Makes the buffer hold width x height logical pixels at the given
    /// device pixel ratio, keeping the existing image when it already does.
    void PrepareBuffer(int width, int height, qreal ratio);
    void DrawScratchQuad();
    void ProjectInto(int index, int x, int y, int z);
    /// Fills the polygon through corners (three or four), each projected
    /// from its depth.
    void DrawProjected(std::initializer_list<TPoint3D> corners);
    /// Fills the quadrilateral through four points already on the screen.
    void DrawScreenQuad(const TPoint &a, const TPoint &b, const TPoint &c, const TPoint &d);
    void PolylineScratch(int count);
    void PolygonScratch(int count);
    /// How far a shape drawn with the painter's pen is moved on a surface of
    /// a ratio other than 1, so that its strokes cover the device pixels of
    /// the logical pixels they cover at ratio 1; (0, 0) at ratio 1.
    QPointF StrokeShift() const;
    /// Polygon and polyline through the painter, moved by StrokeShift.
    void SurfacePolygon(const QPoint *points, int count);
    void SurfacePolyline(const QPoint *points, int count);
    void LineSegment(int x1, int y1, int x2, int y2);

    // Direct pixel writing (chart_canvas3d_pixels.cpp). Qt's raster engine
    // spends far longer on each one-pixel line and small stamp than writing
    // their few pixels takes; the canvas writes them itself where it knows
    // the exact pixels Qt would have set.

    /// Whether the buffer's pixels may be written directly: drawing into the
    /// buffer, at a whole device pixel ratio, without transform or a clip
    /// other than a rectangle.
    bool CanWritePixels() const;
    /// The painter's clip was removed.
    void ForgetClip();
    /// Whether the logical rectangle lies inside the buffer and the clip.
    bool InsideDrawingArea(const QRect &rect) const;
    /// The dash pattern of the canvas pen when it draws plain one-pixel
    /// lines that copy over the picture (0 solid, 1 to 4 the dashed styles,
    /// 5 small dots), else -1.
    int OnePixelPattern() const;
    /// Draws the line from..to of the canvas pen into the buffer's pixels
    /// when it can; false when the painter must draw it.
    bool CopyLinePixels(const QPoint &from, const QPoint &to);
    /// Fills the logical rectangle, within the clip, with the painter's
    /// opaque solid brush straight into the buffer's pixels, as the painter
    /// would fill it; false when the painter must.
    bool FillPixels(const QRect &rect);
    /// Copies a stamp's opaque pixels to the buffer with its top-left at the
    /// logical point, within the clip; false when it cannot.
    bool CopyStampPixels(const QImage &image, const std::vector<PixelRun> &runs,
                         const QPoint &topLeft);
    void WriteTextWithFont(int x, int y, const QString &text, const QFont *font);
    TColor ReadBaseColor() const;
    /// With darkSides, fills the next face in base darkened by amount; without,
    /// leaves the fill as it is.
    void DarkenBase(TColor base, int amount, bool darkSides);
    /// Writes a text laid out as glyph runs, with its line's start on the
    /// baseline at origin, by copying its pixels where it lies over one
    /// plain opaque colour; false when the painter must draw it.
    bool CopyTextStamp(const TextShape &shape, const QPoint &origin);
    /// Captures which device pixels the shape's glyph runs touch.
    TextInk CaptureTextInk(const TextShape &shape) const;
    /// The shape's captured text in colour over a background, drawn on
    /// first use; null when no picture can be made.
    const TextInk::Over *TextPicture(const TextShape &shape, QRgb colour, QRgb background);
    /// Draws a short horizontal or vertical line of a wide or dashed pen by
    /// copying a picture of it drawn once; false when it cannot.
    bool StampLine(const QPoint &from, const QPoint &to);
    /// Whether nothing drawn within the logical rectangle can show: the
    /// canvas draws into its buffer and the rectangle lies wholly outside
    /// the buffer or the clip rectangle.
    bool OutsideDrawingArea(const QRect &rect) const;
    /// Draws a small ellipse or rectangle in the painter's pen and brush by
    /// copying a picture of it drawn once; false when the painter's state
    /// does not allow an exact copy (the caller then draws it directly).
    bool StampOutlined(const QRect &box, TStampCache::Shape shape);

    /// The canvas pen, brush and background an outline stamp is drawn with.
    TStampCache::CanvasKey CurrentStampKey() const;
    /// Copies the pixels of a stamp drawn before with the canvas's current
    /// pen and brush, without touching the painter; false when there is none
    /// or it cannot be copied.
    bool CopyKnownStamp(const QRect &box, TStampCache::Shape shape);
    /// Whether the painter's background, when it fills at all, is one
    /// opaque colour (what a stamp can hold).
    bool PlainSurfaceBackground() const;
    /// The margin test of stamps: the shape with its outline lies well
    /// inside the buffer.
    bool StampFits(const QRect &box, int margin) const;

    int m_centreX = 0, m_centreY = 0, m_centreZ = 0;
    int m_offsetX = 0, m_offsetY = 0;
    Coefficients m_coef;
    bool m_is3D = false;
    bool m_saved3D = false;
    QImage m_buffer;
    /// The buffer's logical pixels, from (0, 0).
    QRect m_bufferArea;
    /// Device pixel ratio of m_buffer (and of the stamps).
    qreal m_ratio = 1.0;
    std::unique_ptr<QPainter> m_bufferPainter;
    bool m_buffered = true;
    bool m_dirty = true;
    TRect m_bounds;
    bool m_textZoom = true;
    double m_zoomFactor = 1.0;
    double m_perspectiveFactor = 0.0;
    QPoint m_penPos;
    QPolygon m_scratch;
    /// The scratch points moved by StrokeShift.
    QPolygonF m_shiftedScratch;
    /// Pictures drawn once and copied into the buffer.
    TStampCache m_stamps;
    /// The clip of the buffer painter as ClipToRectangle and ClipToCube set
    /// it: none, a rectangle (logical pixels), or something else.
    bool m_clipped = false;
    bool m_clipIsRect = true;
    QRect m_clipRect;

    TCanvasLayer m_layer;

    // Faces of solids, ribbons and walls written from the pixels the
    // painter set for the same shape before (face_stamps.h).
public:
    const TFaceStamps &FaceStamps() const { return m_faceStamps; }

private:
    /// Draws the polygon through the painter's pen and brush from the face
    /// stamps; false when the painter must draw it.
    bool StampFace(const QPoint *points, int count);
    TFaceStamps m_faceStamps;
};

} // namespace kov
