#include "chart/chart.h"
#include "tests/chart/chart_picture.h"
#include "tests/chart/recording_series.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>

using namespace kov;
using kov::testing::TRecordingSeries;

namespace {

QImage PaintChart(TChart &chart, int width = 600, int height = 400)
{
    chart.resize(width, height);
    return kov::testing::DrawPicture(chart, width, height, QColor());
}

int LineHeight(TChart &chart, const TChartTitle &title)
{
    chart.SelectFont(title.Font());
    return chart.ChartCanvas().TextLineHeight();
}

} // namespace

TEST(TChartParts, TitleAndFootTakeTheirBands)
{
    TChart chart;
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    PaintChart(chart);
    const TRect plain = chart.ChartRect();

    chart.Title().SetText({"Top line"});
    chart.Foot().SetText({"Foot one", "Foot two"});
    PaintChart(chart);
    const TRect r = chart.ChartRect();
    const int th = LineHeight(chart, chart.Title());
    const int fh = LineHeight(chart, chart.Foot());
    EXPECT_EQ(r.Top, plain.Top + th + TitleGap);
    EXPECT_EQ(r.Bottom, plain.Bottom - 2 * fh - TitleGap);
    EXPECT_EQ(chart.LeftAxis()->Mapping().StartPixel, r.Top); // axes lay out after the titles

    chart.Title().SetVisible(false);
    PaintChart(chart);
    EXPECT_EQ(chart.ChartRect().Top, plain.Top);
}

TEST(TChartParts, BackWallFramesTheFlatPlot)
{
    TChart chart;
    chart.SetView3D(false);
    chart.SetColor(clWhite);
    chart.SetAxisVisible(false);
    EXPECT_EQ(&chart.Frame(), &chart.BackWall().Pen());
    const QImage image = PaintChart(chart);
    const TRect r = chart.ChartRect();
    // The outline runs along the chart rectangle's top edge; inside stays
    // white (the back wall brush is clear).
    const int midX = (r.Left + r.Right) / 2;
    bool outline = false;
    for (int y = r.Top - 1; y <= r.Top + 1; ++y)
        outline = outline || qGray(image.pixel(midX, y)) < 64;
    EXPECT_TRUE(outline);
    EXPECT_EQ(image.pixel(midX, (r.Top + r.Bottom) / 2), qRgb(255, 255, 255));

    chart.SetBackColor(clYellow);
    EXPECT_EQ(chart.BackWall().Brush().Style(), bsSolid);
    EXPECT_FALSE(chart.ColorIsFree(clYellow, true));
    EXPECT_TRUE(chart.ColorIsFree(clYellow, false));
    const QImage filled = PaintChart(chart);
    EXPECT_EQ(filled.pixel(midX, (r.Top + r.Bottom) / 2), qRgb(255, 255, 0));
}

TEST(TChartParts, WallThicknessOnlyIn3DWithWalls)
{
    TChart chart;
    chart.LeftWall().SetSize(6);
    chart.BottomWall().SetSize(4);
    chart.SetView3D(false);
    EXPECT_EQ(chart.WallThickness(chart.LeftAxis()), 0);
    chart.SetView3D(true);
    EXPECT_EQ(chart.WallThickness(chart.LeftAxis()), 6);
    EXPECT_EQ(chart.WallThickness(chart.BottomAxis()), 4);
    EXPECT_EQ(chart.WallThickness(chart.TopAxis()), 0);
    chart.SetView3DWalls(false);
    EXPECT_EQ(chart.WallThickness(chart.LeftAxis()), 0);
}

TEST(TChartParts, MouseEventsReachTheHandler)
{
    TChart chart;
    chart.SetView3D(false);
    chart.AddSeries(std::make_unique<TRecordingSeries>())->AppendPoint(1);
    PaintChart(chart);
    QStringList got;
    chart.Mouse().OnMouseDown = [&](TCustomChart *, TMouseButton button, TShiftState, int x,
                                    int y) {
        got << QStringLiteral("down %1 %2 %3").arg(button).arg(x).arg(y);
    };
    chart.Mouse().OnClickBackground = [&](TCustomChart *, TMouseButton, TShiftState, int, int) {
        got << QStringLiteral("background");
    };
    const TRect r = chart.ChartRect();
    const QPointF at((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&chart, &press);
    ASSERT_FALSE(got.isEmpty());
    EXPECT_EQ(got.first(), QStringLiteral("down %1 %2 %3").arg(mbLeft).arg(at.x()).arg(at.y()));
    EXPECT_TRUE(got.contains("background"));
}

TEST(TChartParts, CopyFromTakesPartsAxesAndPaging)
{
    TChart source;
    source.Title().SetText({"Copied"});
    source.SetBackImageInside(true);
    source.LeftWall().SetSize(3);
    source.LeftAxis()->SetIncrement(5);
    source.SetMaxPointsPerPage(7);
    source.SetClipPoints(false);
    source.SetMarginLeft(9);

    TChart target;
    target.CopyFrom(source);
    EXPECT_EQ(target.Title().Text(), QStringList{"Copied"});
    EXPECT_TRUE(target.BackImageInside());
    EXPECT_EQ(target.LeftWall().Size(), 3);
    EXPECT_EQ(target.LeftAxis()->Increment(), 5);
    EXPECT_EQ(target.MaxPointsPerPage(), 7);
    EXPECT_FALSE(target.ClipPoints());
    EXPECT_EQ(target.MarginLeft(), 9);
    EXPECT_EQ(target.CountSeries(), 0); // series are not copied
}
