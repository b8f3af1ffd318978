#include "canvas_test_util.h"

#include <QPainter>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <vector>

// Polygons of a few corners (the faces of solids, ribbons and walls) are
// written into the buffer from the pixels the painter set for the same shape
// before. Many random faces, under every kind of clip, must give the pixels
// the painter gives drawing them directly, and most of them must have been
// written from stamps.
using namespace kov;

namespace {

constexpr int W = 96;
constexpr int H = 72;

enum class Clip { None, Rectangle, Cube, CubeAndRectangle };

struct FaceCase
{
    const char *Name;
    qreal Ratio;
    Clip ClipKind;
};

struct Face
{
    std::vector<TPoint> Corners;
    TPenStyle PenStyle;
    int PenWidth;
    TBrushStyle BrushStyle;
    TColor PenColor;
    TColor BrushColor;
};

// Shapes from a small pool, so that each comes back at other places; no
// pen, and pens from no width up to the widest the stamps take; solid and
// clear brushes; places all over the picture, across its edges and the
// clip's.
std::vector<Face> RandomFaces()
{
    std::mt19937 random(38);
    auto uniform = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    std::vector<std::vector<QPoint>> shapes(30);
    for (auto &shape : shapes) {
        shape.resize(static_cast<std::size_t>(uniform(3, 4)));
        for (QPoint &corner : shape)
            corner = QPoint(uniform(-9, 9), uniform(-9, 9));
    }
    const TColor colours[] = {clRed, clBlack, clNavy, clLime, RGBColor(12, 200, 99)};
    std::vector<Face> faces;
    for (int i = 0; i < 900; ++i) {
        const auto &shape = shapes[static_cast<std::size_t>(uniform(0, 29))];
        const QPoint at(uniform(-4, W + 4), uniform(-4, H + 4));
        Face face;
        for (const QPoint &corner : shape)
            face.Corners.push_back(TPoint{at.x() + corner.x(), at.y() + corner.y()});
        constexpr int PenWidths[] = {0, 1, 2, 3, 5, 8};
        const int pen = uniform(0, 6);
        face.PenStyle = pen == 0 ? psClear : psSolid;
        face.PenWidth = pen == 0 ? 1 : PenWidths[pen - 1];
        face.BrushStyle = pen != 0 && uniform(0, 2) == 0 ? bsClear : bsSolid;
        face.PenColor = colours[uniform(0, 4)];
        face.BrushColor = colours[uniform(0, 4)];
        faces.push_back(std::move(face));
    }
    return faces;
}

void DrawFaces(TChartCanvas3D &canvas, const std::vector<Face> &faces, Clip clip)
{
    canvas.SetProjection(12, TRect{0, 0, W, H}, TRect{14, 16, 70, 60});
    if (clip == Clip::Cube || clip == Clip::CubeAndRectangle)
        canvas.ClipToCube(TRect{14, 16, 70, 60}, 0, 12);
    if (clip == Clip::Rectangle || clip == Clip::CubeAndRectangle)
        canvas.ClipToRectangle(TRect{6, 5, 88, 64});
    for (const Face &face : faces) {
        canvas.Pen().SetStyle(face.PenStyle);
        canvas.Pen().SetWidth(face.PenWidth);
        canvas.Pen().SetColor(face.PenColor);
        canvas.Brush().SetStyle(face.BrushStyle);
        canvas.Brush().SetColor(face.BrushColor);
        canvas.DrawPolygon(face.Corners.data(), static_cast<int>(face.Corners.size()) - 1);
    }
}

class FaceStamps : public testing::TestWithParam<FaceCase>
{
};

TEST_P(FaceStamps, WriteThePixelsThePainterDraws)
{
    const FaceCase &c = GetParam();
    const std::vector<Face> faces = RandomFaces();
    TView3DOptions options;

    TChartCanvas3D buffered;
    test::BeginPaint(buffered, W, H, &options, true, c.Ratio);
    DrawFaces(buffered, faces, c.ClipKind);

    QImage direct(W * c.Ratio, H * c.Ratio, QImage::Format_ARGB32_Premultiplied);
    direct.setDevicePixelRatio(c.Ratio);
    direct.fill(Qt::white);
    {
        QPainter painter(&direct);
        TChartCanvas3D canvas;
        canvas.SetBuffered(false);
        TRect drawRect;
        canvas.BeginWindow(&painter, &options, drawRect, TRect{0, 0, W, H}, true, clWhite);
        canvas.ResetDrawingState();
        DrawFaces(canvas, faces, c.ClipKind);
        canvas.SetSurface(nullptr);
    }

    QPoint first;
    const QImage picture = buffered.BufferImage().convertToFormat(direct.format());
    EXPECT_EQ(test::DifferingPixels(picture, direct, first), 0)
        << "first at " << first.x() << ", " << first.y();
    EXPECT_GT(test::CountInk(direct), W * H * c.Ratio * c.Ratio / 8);
    // Faces across the picture's edge or a clip rectangle (wide pens cross
    // more of them), and shapes met for the first time, are left to the
    // painter; the rest are written from stamps, each shape learnt once.
    EXPECT_GT(buffered.FaceStamps().Used(), static_cast<int>(faces.size()) / 5);
    EXPECT_LT(buffered.FaceStamps().Learnt(), static_cast<int>(faces.size()) / 2);
}

INSTANTIATE_TEST_SUITE_P(
    RandomFaces, FaceStamps,
    testing::Values(FaceCase{"Plain", 1, Clip::None}, FaceCase{"Rectangle", 1, Clip::Rectangle},
                    FaceCase{"Cube", 1, Clip::Cube},
                    FaceCase{"CubeAndRectangle", 1, Clip::CubeAndRectangle},
                    FaceCase{"PlainRatio2", 2, Clip::None},
                    FaceCase{"RectangleRatio2", 2, Clip::Rectangle},
                    FaceCase{"CubeRatio2", 2, Clip::Cube},
                    FaceCase{"CubeAndRectangleRatio2", 2, Clip::CubeAndRectangle}),
    [](const testing::TestParamInfo<FaceCase> &info) { return info.param.Name; });

} // namespace
