#include "app/main_form.h"

#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

// The main window's chart as a user of a high-density screen sees it: the
// buffer has the screen's device pixels, lines stay solid and on their
// logical pixels, text is drawn at full resolution, and the chart follows
// its window onto a screen of another ratio.
using namespace kov;

namespace {

QImage Rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

/// The chart drawn for a plain image of its size: the picture at ratio 1.
QImage PlainPicture(TChart &chart)
{
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    chart.DrawToCanvas(&painter, TRect{0, 0, chart.width(), chart.height()});
    painter.end();
    return Rgb(image);
}

/// The chart painted for its window; the canvas buffer then holds the picture.
QImage WindowPicture(TChart &chart)
{
    chart.grab();
    return Rgb(chart.ChartCanvas().BufferImage());
}

QImage BlownUp(const QImage &image)
{
    return image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

class DenseDesktop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
        ASSERT_EQ(m_form.Chart1->devicePixelRatio(), 2) << "run with --desktop=200";
        m_plain = PlainPicture(*m_form.Chart1);
        m_plainRect = m_form.Chart1->ChartRect();
        m_dense = WindowPicture(*m_form.Chart1);
    }

    TForm1 m_form;
    QImage m_plain;
    TRect m_plainRect;
    QImage m_dense;
};

} // namespace

TEST_F(DenseDesktop, ChartBufferHasTwiceTheLogicalPixelsAndTheSameLayout)
{
    const TChartCanvas3D &canvas = m_form.Chart1->ChartCanvas();
    EXPECT_EQ(canvas.DevicePixelRatio(), 2);
    EXPECT_EQ(m_dense.size(), m_form.Chart1->size() * 2);
    EXPECT_EQ(m_form.Chart1->ChartBounds(),
              (TRect{0, 0, m_form.Chart1->width(), m_form.Chart1->height()}));
    EXPECT_EQ(m_form.Chart1->ChartRect(), m_plainRect) << "geometry stays logical";
}

TEST_F(DenseDesktop, FrameLineIsTwoDevicePixelsOfSolidColour)
{
    // The top edge of the frame, left of where the series climbs: one
    // logical pixel row of the frame colour (crossed by the dotted grid) at
    // ratio 1; at ratio 2 exactly two device rows, and nothing spilled into
    // the rows around it.
    const TRect &r = m_plainRect;
    const int top = r.Top;
    const int left = r.Left + 2;
    const int right = (r.Left + r.Right) / 2;
    const QRgb frame = m_plain.pixel(left, top);
    int solid = 0;
    for (int x = left; x < right; ++x) {
        if (m_plain.pixel(x, top) != frame)
            continue;
        ++solid;
        for (const int y : {2 * top, 2 * top + 1})
            for (const int dx : {0, 1})
                ASSERT_EQ(m_dense.pixel(2 * x + dx, y), frame)
                    << "device " << 2 * x + dx << "," << y;
    }
    ASSERT_GT(solid * 2, right - left) << "no frame line at the top of the chart rectangle";
    for (const int y : {top - 1, top + 1})
        for (int x = 2 * left; x < 2 * right; ++x)
            for (const int dy : {0, 1})
                ASSERT_EQ(m_dense.pixel(x, 2 * y + dy), m_plain.pixel(x / 2, y))
                    << "device " << x << "," << 2 * y + dy;
}

TEST_F(DenseDesktop, LabelsAreDrawnAtFullResolutionNotBlownUp)
{
    // The band of bottom axis labels under the chart rectangle.
    const TRect &r = m_plainRect;
    const QRect band(0, r.Bottom + 2, m_plain.width(), m_plain.height() - r.Bottom - 2);
    const QImage dense = m_dense.copy(QRect(band.topLeft() * 2, band.size() * 2));
    const QImage blownUp = BlownUp(m_plain.copy(band));
    const QRgb background = m_plain.pixel(1, 1);
    int inked = 0, differing = 0, split = 0;
    for (int y = 0; y + 1 < dense.height(); y += 2)
        for (int x = 0; x + 1 < dense.width(); x += 2) {
            const QRgb a = dense.pixel(x, y), b = dense.pixel(x + 1, y), c = dense.pixel(x, y + 1),
                       d = dense.pixel(x + 1, y + 1);
            if (a == background && b == background && c == background && d == background &&
                blownUp.pixel(x, y) == background)
                continue;
            ++inked;
            split += !(a == b && a == c && a == d);
            differing += a != blownUp.pixel(x, y) || d != blownUp.pixel(x + 1, y + 1);
        }
    ASSERT_GT(inked, 100) << "no labels under the chart";
    EXPECT_GT(split * 4, inked) << split << " of " << inked << " inked 2x2 blocks are split";
    EXPECT_GT(differing * 4, inked) << differing << " of " << inked << " differ from a blow-up";
}

namespace {

class MixedDesktop : public ::testing::Test
{
protected:
    static QScreen *Screen(const char *name)
    {
        for (QScreen *screen : QGuiApplication::screens())
            if (screen->name() == QLatin1String(name))
                return screen;
        return nullptr;
    }

    /// Puts the window on a screen and waits for the chart to repaint there.
    bool MoveTo(QScreen *screen, qreal ratio)
    {
        m_form.move(screen->geometry().topLeft() + QPoint(20, 20));
        return QTest::qWaitFor([&] {
            return m_form.Chart1->devicePixelRatio() == ratio &&
                   m_form.Chart1->ChartCanvas().DevicePixelRatio() == ratio &&
                   !m_form.Chart1->ChartCanvas().IsDirty();
        });
    }

    TForm1 m_form;
};

} // namespace

TEST_F(MixedDesktop, ChartFollowsItsWindowToAScreenOfAnotherRatio)
{
    QScreen *low = Screen("low");
    QScreen *high = Screen("high");
    ASSERT_TRUE(low && high) << "run with --desktop=mixed";
    ASSERT_EQ(high->devicePixelRatio(), 2);
    m_form.move(low->geometry().topLeft() + QPoint(20, 20));
    m_form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
    ASSERT_TRUE(MoveTo(low, 1));
    const QImage before = Rgb(m_form.Chart1->ChartCanvas().BufferImage());
    ASSERT_EQ(before.size(), m_form.Chart1->size());

    // Only the move: no change to the chart asks for a new picture.
    ASSERT_TRUE(MoveTo(high, 2)) << "the chart kept its ratio-1 picture";
    EXPECT_EQ(m_form.Chart1->ChartCanvas().BufferImage().size(), m_form.Chart1->size() * 2);

    ASSERT_TRUE(MoveTo(low, 1)) << "the chart kept its ratio-2 picture";
    EXPECT_EQ(Rgb(m_form.Chart1->ChartCanvas().BufferImage()), before)
        << "back on the plain screen the picture is the plain one again";
}
