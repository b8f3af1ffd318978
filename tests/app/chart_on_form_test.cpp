#include "app/main_form.h"
#include "chart/color.h"
#include "chart_form_support.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace kov;
using kov::test::ChartFormTest;

namespace {

// What a user sees of the main window's chart, read from the picture the
// chart paints of itself.
class ChartOnFormTest : public ChartFormTest
{
protected:
    void Render()
    {
        m_image = Chart().grab().toImage().convertToFormat(QImage::Format_RGB32);
        m_rect = Chart().ChartRect();
        m_background = m_image.pixel(1, 1) & 0xFFFFFF;
    }
    QRgb At(int x, int y) const { return m_image.pixel(x, y) & 0xFFFFFF; }
    static QRgb Rgb(TColor c) { return ToQColor(c).rgb() & 0xFFFFFF; }

    bool Near(QPoint p, TColor c, int reach = 1) const
    {
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
                if (At(p.x() + dx, p.y() + dy) == Rgb(c))
                    return true;
        return false;
    }
    // Pixels of the region that differ from the panel's background.
    int Drawn(int left, int top, int right, int bottom) const
    {
        int n = 0;
        for (int y = std::max(top, 0); y < std::min(bottom, m_image.height()); ++y)
            for (int x = std::max(left, 0); x < std::min(right, m_image.width()); ++x)
                n += At(x, y) != m_background;
        return n;
    }

    QImage m_image;
    TRect m_rect;
    QRgb m_background = 0;
};

TEST_F(ChartOnFormTest, ChartAndSeriesCarryTheLayoutsSettings)
{
    const TChart &c = Chart();
    const TChartAxis &left = *c.LeftAxis();
    const TChartAxis &top = *c.TopAxis();
    const TLineSeries &s = Series();
    const auto n = [](auto v) { return QVariant(static_cast<double>(v)); };
    const struct
    {
        const char *Name;
        QVariant Actual;
        QVariant Expected;
    } rows[] = {
        {"AnimatedZoom", c.AnimatedZoom(), true},
        {"AnimatedZoomSteps", c.AnimatedZoomSteps(), 5},
        {"BackWall.Brush.Color", n(c.BackWall().Brush().Color()), n(clWhite)},
        {"BackWall.Brush.Style", n(c.BackWall().Brush().Style()), n(bsClear)},
        {"Foot.Text", c.Foot().Text(), QStringList{QString()}},
        {"Title.Visible", c.Title().Visible(), false},
        {"Legend.Visible", c.Legend().Visible(), false},
        {"Legend.ResizeChart", c.Legend().ResizeChart(), false},
        {"View3D", c.View3D(), false},
        {"View3DWalls", c.View3DWalls(), false},
        {"ScaleLastPage", c.ScaleLastPage(), false},
        {"BevelOuter", n(c.BevelOuter()), n(bvNone)},
        {"LeftAxis.Title.Caption", left.Title().Caption(), QStringLiteral("Мощьность")},
        {"LeftAxis.Increment", left.Increment(), 1.0},
        {"LeftAxis.GridCentered", left.GridCentered(), true},
        {"LeftAxis.ExactDateTime", left.ExactDateTime(), false},
        {"LeftAxis.Ticks.Style", n(left.Ticks().Style()), n(psDash)},
        {"LeftAxis.Ticks.Width", left.Ticks().Width(), 4},
        {"LeftAxis.TicksInner.Width", left.TicksInner().Width(), 4},
        {"TopAxis.Axis.Color", n(top.Axis().Color()), n(0xFF8000)},
        {"TopAxis.Axis.Width", top.Axis().Width(), 6},
        {"TopAxis.GridCentered", top.GridCentered(), true},
        {"TopAxis.Inverted", top.Inverted(), true},
        {"TopAxis.Logarithmic", top.Logarithmic(), true},
        {"TopAxis.TicksInner.Color", n(top.TicksInner().Color()), n(clAqua)},
        {"TopAxis.TicksInner.Width", top.TicksInner().Width(), 4},
        {"TopAxis.Title.Caption", top.Title().Caption(), QStringLiteral("нгенгек")},
        {"DepthAxis.Visible", c.DepthAxis()->Visible(), true},
        {"DepthAxis.ExactDateTime", c.DepthAxis()->ExactDateTime(), false},
        {"Series1.SeriesColor", n(s.SeriesColor()), n(clRed)},
        {"Series1.ShowInLegend", s.ShowInLegend(), false},
        {"Series1.Cursor", n(s.Cursor()), n(Qt::CrossCursor)},
        {"Series1.Dark3D", s.Dark3D(), false},
        {"Series1.Marks.Visible", s.Marks().Visible(), false},
        {"Series1.Marks.Style", n(s.Marks().Style()), n(smsValue)},
        {"Series1.Marks.Transparent", s.Marks().Transparent(), true},
        {"Series1.Marks.ArrowLength", s.Marks().ArrowLength(), 8},
        {"Series1.Pointer.Visible", s.Pointer().Visible(), true},
        {"Series1.Pointer.Style", n(s.Pointer().Style()), n(psCircle)},
        {"Series1.Pointer.Pen.Color", n(s.Pointer().Pen().Color()), n(clOlive)},
        {"Series1.Pointer.Pen.Style", n(s.Pointer().Pen().Style()), n(psDot)},
        {"Series1.Pointer.InflateMargins", s.Pointer().InflateMargins(), false},
        {"Series1.XValues.Name", s.XValues()->Name(), QStringLiteral("X")},
        {"Series1.XValues.Order", n(s.XValues()->Order()), n(loAscending)},
        {"Series1.XValues.Multiplier", s.XValues()->Multiplier(), 1.0},
        {"Series1.XValues.DateTime", s.XValues()->DateTime(), false},
        {"Series1.YValues.Name", s.YValues()->Name(), QStringLiteral("Y")},
        {"Series1.YValues.Order", n(s.YValues()->Order()), n(loNone)},
        {"Series1.YValues.Multiplier", s.YValues()->Multiplier(), 1.0},
        {"Series1.YValues.DateTime", s.YValues()->DateTime(), false},
    };
    for (const auto &r : rows)
        EXPECT_EQ(r.Actual, r.Expected) << r.Name;
    EXPECT_EQ(Chart().contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(ChartOnFormTest, PointsAreFilledCirclesInTheirClassColoursOnColouredSegments)
{
    ShowTable({0, 10, 64, 100, 200, 30, 255});
    Render();
    const TColor colours[] = {clGreen, clGreen, clRed, clBlue, clBlack, clGreen, clBlack};
    // The lowest and highest points lie on the edges of the chart rectangle,
    // where the frame covers half their markers; the others show whole.
    for (int i = 1; i < 6; ++i) {
        SCOPED_TRACE(i);
        const QPoint c = PointPos(i);
        ASSERT_TRUE(m_image.rect().contains(c));
        // Filled inside the 8 x 8 outline: the centre and its neighbours.
        for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1),
                               QPoint(0, -1), QPoint(-2, 0), QPoint(0, -2)})
            EXPECT_EQ(At(c.x() + d.x(), c.y() + d.y()), Rgb(colours[i])) << d.x() << "," << d.y();
        // Olive dotted outline: some olive on the rim, not a solid ring.
        int olive = 0, rim = 0;
        for (int dy = -5; dy <= 5; ++dy)
            for (int dx = -5; dx <= 5; ++dx) {
                const int r2 = dx * dx + dy * dy;
                if (r2 < 9 || r2 > 25)
                    continue;
                ++rim;
                olive += At(c.x() + dx, c.y() + dy) == Rgb(clOlive);
            }
        EXPECT_GT(olive, 2);
        EXPECT_LT(olive, rim);
    }
    // Each segment takes the colour of the point it leads to.
    for (int i = 1; i < 7; ++i) {
        SCOPED_TRACE(i);
        const QPoint mid = (PointPos(i - 1) + PointPos(i)) / 2;
        EXPECT_TRUE(Near(mid, colours[i]));
        if (colours[i - 1] != colours[i]) {
            EXPECT_FALSE(Near(mid, colours[i - 1], 0));
        }
    }
}

TEST_F(ChartOnFormTest, OnlyLeftAndBottomAxesAroundAnOutlinedClearBackWall)
{
    ShowTable({0, 10, 64, 100, 200, 30, 255});
    Render();
    ASSERT_GT(m_rect.Width(), 100);
    ASSERT_GT(m_rect.Height(), 100);
    // No title above and no top axis: nothing above the outline.
    EXPECT_EQ(Drawn(0, 0, m_image.width(), m_rect.Top - 1), 0);
    // No right axis and no legend: nothing beside the outline on the right
    // (below it the last bottom label may reach past the corner).
    EXPECT_EQ(Drawn(m_rect.Right + 2, 0, m_image.width(), m_rect.Bottom), 0);
    // Labels and the title of the left axis, labels of the bottom axis.
    EXPECT_GT(Drawn(0, m_rect.Top, m_rect.Left - 2, m_rect.Bottom), 50);
    EXPECT_GT(Drawn(m_rect.Left, m_rect.Bottom + 2, m_rect.Right, m_image.height()), 50);

    // The back wall is an outline around the chart rectangle...
    const QRgb frame = Rgb(clBlack);
    auto edgeDark = [&](int x, int y) {
        for (int d = -1; d <= 1; ++d)
            if (At(x + d, y) == frame || At(x, y + d) == frame)
                return true;
        return false;
    };
    for (int k = 1; k < 8; ++k) {
        const int x = m_rect.Left + m_rect.Width() * k / 8;
        const int y = m_rect.Top + m_rect.Height() * k / 8;
        EXPECT_TRUE(edgeDark(x, m_rect.Top)) << "top " << x;
        EXPECT_TRUE(edgeDark(x, m_rect.Bottom)) << "bottom " << x;
        EXPECT_TRUE(edgeDark(m_rect.Left, y)) << "left " << y;
        EXPECT_TRUE(edgeDark(m_rect.Right, y)) << "right " << y;
    }
    // ...with its white brush left clear: the inside shows the panel colour.
    if (m_background != Rgb(clWhite)) {
        int white = 0, inside = 0;
        for (int y = m_rect.Top + 2; y < m_rect.Bottom - 2; y += 3)
            for (int x = m_rect.Left + 2; x < m_rect.Right - 2; x += 3) {
                ++inside;
                white += At(x, y) == Rgb(clWhite);
            }
        EXPECT_LT(white, inside / 10);
    }
}

} // namespace
