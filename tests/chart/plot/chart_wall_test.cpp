#include "chart/canvas/chart_canvas.h"
#include "chart/chart.h"
#include "chart/plot/chart_wall.h"
#include "tests/chart/chart_picture.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace kov;

namespace {

/// A chart whose picture is a white background plus its walls, so walls are
/// seen without axes or series.
class WallChart : public TChart
{
public:
    WallChart() { SetView3D(false); }

    void PaintChart(const TRect &bounds) override
    {
        ChartCanvas().ResetDrawingState();
        ChartCanvas().FillRectangle(bounds);
        ChartCanvas().SetProjection(Width3D(), ChartBounds(), ChartRect());
        PaintChartWalls(*this, BackWall(), LeftWall(), BottomWall(), BackImageInside());
    }

    QImage Draw()
    {
        return kov::testing::DrawPicture(*this, 400, 250, Qt::white, QImage::Format_RGB32);
    }
};

TColor Pixel(const QImage &image, int x, int y)
{
    return FromQColor(image.pixelColor(x, y));
}

} // namespace

TEST(TChartWallTest, Defaults)
{
    WallChart chart;
    EXPECT_EQ(chart.BackWall().Color(), clDefault);
    EXPECT_EQ(chart.LeftWall().Color(), 0x80FFFF);
    EXPECT_EQ(chart.BottomWall().Color(), clWhite);
    EXPECT_FALSE(chart.LeftWall().IsColorStored());
    chart.LeftWall().SetColor(clRed);
    EXPECT_TRUE(chart.LeftWall().IsColorStored());
    const TChartWall &w = chart.BottomWall();
    EXPECT_EQ(w.Brush().Color(), clDefault);
    EXPECT_EQ(w.Brush().Style(), bsSolid);
    EXPECT_TRUE(w.Dark3D());
    EXPECT_TRUE(w.Pen().Visible());
    EXPECT_EQ(w.Pen().Color(), clBlack);
    EXPECT_EQ(w.Pen().Width(), 1);
    EXPECT_EQ(w.Size(), 0);
    EXPECT_EQ(w.ParentChart(), &chart);
}

TEST(TChartWallTest, FlatBackWallIsAnOutlineAroundTheChartRectangle)
{
    WallChart chart;
    chart.BackWall().Brush().SetColor(clWhite); // as on the main window
    const QImage image = chart.Draw();
    const TRect r = chart.ChartRect();
    const int mx = (r.Left + r.Right) / 2;
    const int my = (r.Top + r.Bottom) / 2;
    // The right and bottom edge pixels belong to the outline too.
    for (const QPoint p : {QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom), QPoint(r.Left, my),
                           QPoint(r.Right, my), QPoint(mx, r.Top), QPoint(mx, r.Bottom)})
        EXPECT_EQ(Pixel(image, p.x(), p.y()), clBlack) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(mx, my), QPoint(r.Left + 1, my), QPoint(r.Left - 1, my),
                           QPoint(r.Right + 1, my), QPoint(mx, r.Bottom + 1)})
        EXPECT_EQ(Pixel(image, p.x(), p.y()), clWhite) << p.x() << "," << p.y();
}

TEST(TChartWallTest, FlatBackWallFillRules)
{
    WallChart chart;
    auto inside = [&] {
        const QImage image = chart.Draw();
        const TRect r = chart.ChartRect();
        return Pixel(image, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    // No colour and a solid brush: outline only.
    chart.BackWall().Brush().SetStyle(bsSolid);
    EXPECT_EQ(inside(), clWhite);
    // A colour of its own with a solid brush fills the plot area.
    chart.BackWall().SetColor(clAqua);
    EXPECT_EQ(inside(), clAqua);
    // A clear brush never fills.
    chart.BackWall().Brush().SetStyle(bsClear);
    EXPECT_EQ(inside(), clWhite);
    // An invisible pen leaves the outline away.
    chart.BackWall().Pen().SetVisible(false);
    const QImage image = chart.Draw();
    EXPECT_EQ(Pixel(image, chart.ChartRect().Left, chart.ChartRect().Top + 5), clWhite);
}

TEST(TChartWallTest, BackImageInsideStaysWithinTheOutline)
{
    WallChart chart;
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(ToQColor(clBlue));
    chart.BackImage().SetImage(picture);
    chart.Draw();
    const TRect rect = chart.ChartRect();
    const int mx = (rect.Left + rect.Right) / 2;
    const int my = (rect.Top + rect.Bottom) / 2;
    EXPECT_EQ(Pixel(chart.Draw(), mx, my), clWhite); // not the walls' business

    chart.SetBackImageInside(true);
    const QImage image = chart.Draw();
    EXPECT_EQ(Pixel(image, mx, my), clBlue);
    EXPECT_EQ(Pixel(image, rect.Left + 1, rect.Top + 1), clBlue);
    EXPECT_EQ(Pixel(image, rect.Right - 1, rect.Bottom - 1), clBlue);
    for (const QPoint p : {QPoint(rect.Left, my), QPoint(rect.Right, my), QPoint(mx, rect.Top),
                           QPoint(mx, rect.Bottom)})
        EXPECT_EQ(Pixel(image, p.x(), p.y()), clBlack) << p.x() << "," << p.y();
}

TEST(TChartWallTest, WallThicknessOnlyIn3DWithWalls)
{
    WallChart chart;
    chart.LeftWall().SetSize(10);
    chart.BottomWall().SetSize(7);
    const TCustomChartAxis *axes[] = {chart.LeftAxis(), chart.BottomAxis(), chart.TopAxis(),
                                      chart.RightAxis(), chart.DepthAxis()};
    auto thickness = [&](const TCustomChartAxis *axis) {
        return ChartWallThickness(chart, chart.LeftWall(), chart.BottomWall(), axis);
    };
    for (const TCustomChartAxis *axis : axes)
        EXPECT_EQ(thickness(axis), 0); // flat

    chart.SetView3D(true);
    EXPECT_EQ(thickness(chart.LeftAxis()), 10);
    EXPECT_EQ(thickness(chart.BottomAxis()), 7);
    EXPECT_EQ(thickness(chart.TopAxis()), 0);
    EXPECT_EQ(thickness(chart.RightAxis()), 0);
    EXPECT_EQ(thickness(chart.DepthAxis()), 0);

    chart.SetView3DWalls(false);
    for (const TCustomChartAxis *axis : axes)
        EXPECT_EQ(thickness(axis), 0);
}

TEST(TChartWallTest, WallShadedRules)
{
    WallChart chart;
    TChartWall &w = chart.LeftWall();
    EXPECT_TRUE(w.WallShaded());
    w.Brush().SetStyle(bsCross);
    EXPECT_TRUE(w.WallShaded());
    w.Brush().SetStyle(bsClear);
    EXPECT_FALSE(w.WallShaded());
    w.Brush().SetStyle(bsSolid);
    QImage pattern(4, 4, QImage::Format_RGB32);
    pattern.fill(Qt::red);
    w.Brush().SetBitmap(pattern);
    EXPECT_TRUE(w.Brush().HasBitmap());
    EXPECT_FALSE(w.WallShaded());
    w.Brush().SetBitmap(QImage());
    EXPECT_FALSE(w.Brush().HasBitmap());
    w.SetDark3D(false);
    EXPECT_FALSE(w.WallShaded());
}

namespace {

/// A 3D chart with orthogonal projection (x + z, y - z), depth 20, walls on.
struct Chart3D
{
    WallChart chart;
    static constexpr int Depth = 20;

    Chart3D()
    {
        chart.SetView3D(true);
        chart.SetWidth3D(Depth);
        chart.LeftWall().SetSize(10);
    }
};

} // namespace

TEST(TChartWallTest, BoxWallFacesAreDarkened)
{
    Chart3D c;
    const QImage image = c.chart.Draw();
    const TRect r = c.chart.ChartRect();
    const int my = (r.Top + r.Bottom) / 2;
    const TColor base = LeftWallDefaultColor;
    EXPECT_EQ(Pixel(image, r.Left - 5, my), base);                          // front face
    EXPECT_EQ(Pixel(image, r.Left + 10, my), DarkenColor(base, 128));       // right side
    EXPECT_EQ(Pixel(image, r.Left + 5, r.Top - 10), DarkenColor(base, 64)); // top

    c.chart.LeftWall().SetDark3D(false);
    const QImage plain = c.chart.Draw();
    EXPECT_EQ(Pixel(plain, r.Left + 10, my), base);
    EXPECT_EQ(Pixel(plain, r.Left + 5, r.Top - 10), base);
}

TEST(TChartWallTest, PlanesAndBackBoxIn3D)
{
    Chart3D c;
    c.chart.BottomWall().SetColor(clRed);
    c.chart.BackWall().Brush().SetStyle(bsSolid);
    c.chart.BackWall().SetColor(clAqua);
    c.chart.BackWall().SetSize(4);
    const QImage image = c.chart.Draw();
    const TRect r = c.chart.ChartRect();
    const int d = Chart3D::Depth;
    const int mx = (r.Left + r.Right) / 2;
    const int my = (r.Top + r.Bottom) / 2;
    // The back wall's front face lies at depth d.
    EXPECT_EQ(Pixel(image, mx + d, my - d), clAqua);
    // The floor plane runs from the bottom edge back to depth d.
    EXPECT_EQ(Pixel(image, mx, r.Bottom - d / 2), clRed);
    EXPECT_EQ(Pixel(image, mx, r.Bottom + 3), clWhite);

    // With a bottom wall size the floor becomes a box below the bottom edge,
    // and the left wall reaches down beside it.
    c.chart.BottomWall().SetSize(8);
    const QImage box = c.chart.Draw();
    EXPECT_EQ(Pixel(box, mx, r.Bottom + 4), clRed);
    EXPECT_EQ(Pixel(box, r.Left - 5, r.Bottom + 4), LeftWallDefaultColor);

    // Without View3DWalls a 3D chart draws no walls at all.
    c.chart.SetView3DWalls(false);
    const QImage none = c.chart.Draw();
    EXPECT_EQ(Pixel(none, mx + d, my - d), clWhite);
    EXPECT_EQ(Pixel(none, r.Left - 5, my), clWhite);
}

TEST(TChartWallTest, SettersRepaintOnlyOnChangeAndCopyFromCopiesAll)
{
    WallChart chart;
    chart.Draw();
    ASSERT_FALSE(chart.ChartCanvas().IsDirty());
    chart.LeftWall().SetSize(0);
    chart.LeftWall().SetColor(LeftWallDefaultColor);
    chart.LeftWall().SetDark3D(true);
    EXPECT_FALSE(chart.ChartCanvas().IsDirty());
    chart.LeftWall().SetSize(3);
    EXPECT_TRUE(chart.ChartCanvas().IsDirty());
    chart.Draw();
    chart.LeftWall().Pen().SetColor(clRed);
    EXPECT_TRUE(chart.ChartCanvas().IsDirty());

    TChartWall source(nullptr);
    source.SetColor(clLime);
    source.Brush().SetStyle(bsDiagCross);
    source.SetDark3D(false);
    source.Pen().SetWidth(3);
    source.SetSize(6);
    chart.BottomWall().CopyFrom(source);
    EXPECT_EQ(chart.BottomWall().Color(), clLime);
    EXPECT_EQ(chart.BottomWall().Brush().Style(), bsDiagCross);
    EXPECT_FALSE(chart.BottomWall().Dark3D());
    EXPECT_EQ(chart.BottomWall().Pen().Width(), 3);
    EXPECT_EQ(chart.BottomWall().Size(), 6);
    EXPECT_EQ(chart.BottomWall().DefaultColor(), BottomWallDefaultColor); // not copied
}

TEST(TChartWallTest, ChartOwnsItsWallsAndForwardsBackColorAndFrame)
{
    TChart chart;
    EXPECT_EQ(chart.BackWall().Brush().Style(), bsClear);
    EXPECT_EQ(chart.LeftWall().Color(), LeftWallDefaultColor);
    EXPECT_EQ(chart.BottomWall().Color(), BottomWallDefaultColor);
    EXPECT_EQ(chart.BackColor(), clDefault);
    EXPECT_EQ(&chart.Frame(), &chart.BackWall().Pen());
    EXPECT_FALSE(chart.BackImageInside());

    // Read from a stored form, the colour leaves the brush as loaded.
    chart.SetLoading(true);
    chart.SetBackColor(clWhite);
    chart.SetLoading(false);
    EXPECT_EQ(chart.BackWall().Color(), clWhite);
    EXPECT_EQ(chart.BackWall().Brush().Style(), bsClear);
    // Chosen at run time, it fills the back wall.
    chart.SetBackColor(clAqua);
    EXPECT_EQ(chart.BackColor(), clAqua);
    EXPECT_EQ(chart.BackWall().Brush().Style(), bsSolid);
    EXPECT_FALSE(chart.ColorIsFree(clAqua, true));

    chart.SetView3D(true);
    chart.LeftWall().SetSize(6);
    EXPECT_EQ(chart.WallThickness(chart.LeftAxis()), 6);
}

TEST(TChartWallTest, ChartPaintsItsBackWallAndInsideImage)
{
    TChart chart;
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    chart.SetBackColor(clAqua);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(ToQColor(clBlue));
    chart.BackImage().SetImage(picture);
    auto draw = [&] {
        QImage image(400, 250, QImage::Format_RGB32);
        QPainter painter(&image);
        chart.DrawToCanvas(&painter, TRect{0, 0, 400, 250});
        painter.end();
        return image;
    };

    // The picture covers the panel, the back wall fills the plot area.
    QImage image = draw();
    TRect r = chart.ChartRect();
    EXPECT_EQ(Pixel(image, 2, 2), clBlue);
    EXPECT_EQ(Pixel(image, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clAqua);
    EXPECT_EQ(Pixel(image, r.Right, r.Bottom), clBlack);

    chart.SetBackImageInside(true);
    image = draw();
    r = chart.ChartRect();
    EXPECT_NE(Pixel(image, 2, 2), clBlue);
    EXPECT_EQ(Pixel(image, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clBlue);
    EXPECT_EQ(Pixel(image, r.Right, r.Bottom), clBlack);
}
