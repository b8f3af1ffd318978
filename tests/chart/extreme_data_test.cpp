#include "chart/chart.h"
#include "chart/exceptions.h"
#include "chart/series/line_series.h"
#include "tests/chart/chart_picture.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

// Extreme data and axis limits: every paint must finish, whatever the values.
// A paint that loops without end is caught by the test's timeout.
using namespace kov;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double Max = 1e308;
constexpr double Tiny = 1e-300;

class ExtremeDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_chart.resize(950, 510);
        m_series = m_chart.AddSeries(std::make_unique<TLineSeries>());
        m_series->Pointer().SetVisible(true);
    }

    QImage Paint() { return kov::testing::DrawPicture(m_chart, 950, 510, Qt::magenta); }

    // Paints in 2D and 3D, and drags a zoom frame and turns the wheel over
    // the plot, as a user would.
    void PaintAllWays()
    {
        for (bool view3D : {false, true}) {
            SCOPED_TRACE(view3D ? "3D" : "2D");
            m_chart.SetView3D(view3D);
            const QImage image = Paint();
            // The background was painted over the whole picture.
            EXPECT_NE(image.pixel(2, 2), QColor(Qt::magenta).rgb());
            EXPECT_NE(image.pixel(947, 507), QColor(Qt::magenta).rgb());
        }
        m_chart.SetView3D(false);
        m_chart.grab();
        Drag({300, 150}, {600, 350}); // zoom in
        m_chart.grab();
        Drag({600, 350}, {300, 150}); // undo the zoom
        m_chart.grab();
    }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(at), QPointF(m_chart.mapToGlobal(at)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&m_chart, &event);
    }

    void Drag(QPoint from, QPoint to)
    {
        Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    void SetValues(const std::vector<double> &ys)
    {
        m_series->RemoveAllPoints();
        for (double y : ys)
            m_series->AppendPoint(y);
    }

    TChart m_chart;
    TLineSeries *m_series = nullptr;
};

const std::vector<std::vector<double>> &ExtremeValueSets()
{
    static const std::vector<std::vector<double>> sets = {
        {},
        {42},
        {NaN},
        {Inf},
        {-Inf},
        {NaN, NaN, NaN},
        {-Inf, Inf},
        {1, NaN, 3, Inf, 5, -Inf, 7},
        {Max, -Max},
        {-Max, Max, -Max},
        {Max, Max},
        {Tiny, 2 * Tiny, 3 * Tiny},
        {-Tiny, Tiny},
        {0, Tiny},
        {1e15, 1e15 + 1},
        {7, 7, 7, 7},
        {0, 0},
        {std::numeric_limits<double>::denorm_min(), 0},
        {std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest()},
    };
    return sets;
}

} // namespace

TEST_F(ExtremeDataTest, ValuesAtTheLimitsOfADoublePaint)
{
    for (const auto &ys : ExtremeValueSets()) {
        SCOPED_TRACE(::testing::PrintToString(ys));
        SetValues(ys);
        PaintAllWays();
        EXPECT_EQ(m_series->PointCount(), static_cast<int>(ys.size()));
    }
}

TEST_F(ExtremeDataTest, XValuesAtTheLimitsPaint)
{
    for (const auto &xs : ExtremeValueSets()) {
        SCOPED_TRACE(::testing::PrintToString(xs));
        m_series->RemoveAllPoints();
        m_series->XValues()->SetOrder(loNone);
        int i = 0;
        for (double x : xs)
            m_series->AppendPointXY(x, i++);
        PaintAllWays();
    }
}

TEST_F(ExtremeDataTest, DateTimeValuesAtTheLimitsPaint)
{
    m_series->XValues()->SetDateTime(true);
    m_series->YValues()->SetDateTime(true);
    for (const auto &values : ExtremeValueSets()) {
        SCOPED_TRACE(::testing::PrintToString(values));
        m_series->RemoveAllPoints();
        m_series->XValues()->SetOrder(loNone);
        for (double v : values)
            m_series->AppendPointXY(v, v);
        PaintAllWays();
    }
}

TEST_F(ExtremeDataTest, AHundredThousandPointsPaint)
{
    std::vector<double> ys(100000);
    for (std::size_t i = 0; i < ys.size(); ++i)
        ys[i] = static_cast<double>((i * 7919) % 256);
    SetValues(ys);
    PaintAllWays();
    EXPECT_EQ(m_series->PointCount(), 100000);
}

TEST_F(ExtremeDataTest, AxisLimitsTheSettersLetThroughPaint)
{
    SetValues({1, 2, 3});
    struct Limits
    {
        double min, max;
    };
    const Limits limits[] = {
        {0, NaN},   {NaN, 0},   {NaN, NaN},       {-Inf, Inf},       {0, Inf},
        {-Inf, 0},  {Inf, Inf}, {-Max, Max},      {Max, Max},        {0, Tiny},
        {-Tiny, 0}, {5, 5},     {1e15, 1e15 + 1}, {-1e-300, 1e-300},
    };
    for (TCustomChartAxis *axis : {static_cast<TCustomChartAxis *>(m_chart.LeftAxis()),
                                   static_cast<TCustomChartAxis *>(m_chart.BottomAxis())}) {
        for (const Limits &l : limits) {
            SCOPED_TRACE(::testing::PrintToString(std::vector<double>{l.min, l.max}));
            axis->SetAutomatic(false);
            // Set in the order the setters accept; a refused value keeps the old.
            for (int attempt = 0; attempt < 2; ++attempt) {
                try {
                    axis->SetMinimum(l.min);
                } catch (const AxisException &) {
                }
                try {
                    axis->SetMaximum(l.max);
                } catch (const AxisException &) {
                }
            }
            PaintAllWays();
            for (double increment : {Tiny, 1e-12, Max, Inf, NaN}) {
                try {
                    axis->SetIncrement(increment);
                } catch (const AxisException &) {
                }
                Paint();
            }
            axis->SetIncrement(0);
            try {
                axis->SetLogarithmic(true);
                PaintAllWays();
            } catch (const AxisException &) {
            }
            axis->SetLogarithmic(false);
            // Date-time labels, from the series' values being date-times.
            m_series->XValues()->SetDateTime(true);
            m_series->YValues()->SetDateTime(true);
            Paint();
            m_series->XValues()->SetDateTime(false);
            m_series->YValues()->SetDateTime(false);
            axis->SetAutomatic(true);
        }
    }
}
