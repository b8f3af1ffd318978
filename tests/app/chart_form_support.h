#pragma once

#include "app/main_form.h"
#include "chart/series/line_series.h"

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

// Helpers for the tests that drive the main window's chart: a shown window
// whose chart has painted, tables put straight into the window, and mouse
// gestures sent to Chart1 as the platform delivers them.
namespace kov::test {

class ChartFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
        Repaint();
    }

    TChart &Chart() { return *m_form.Chart1; }
    TLineSeries &Series() { return *m_form.Series1; }

    /// Paints Chart1 now, so its axes take their ranges from the points.
    void Repaint() { m_form.Chart1->grab(); }

    /// Puts the values in the table as if a file with them had been opened,
    /// then shows the given view (0 count/size, 1 time/power).
    void ShowTable(std::initializer_list<int> values, int view = 0)
    {
        int i = 0;
        for (int v : values)
            m_form.Table[i++] = static_cast<std::uint8_t>(v);
        m_form.EntryCount = i;
        ShowView(view);
    }

    void ShowView(int view)
    {
        if (m_form.RadioGroup1->ItemIndex() != view)
            m_form.RadioGroup1->SetItemIndex(view);
        else
            m_form.RadioGroup1Click(nullptr);
        Repaint();
    }

    /// A pixel row of Chart1 where the series' vertical axis reads a value
    /// within [low, high), or none when no row does.
    std::optional<int> RowReading(double low, double high)
    {
        const int from = -Chart().height();
        for (int y = from; y < 2 * Chart().height(); ++y) {
            const double v = Series().ScreenYToValue(y);
            if (v >= low && v < high)
                return y;
        }
        return std::nullopt;
    }

    QPoint PointPos(int index) const
    {
        return {m_form.Series1->PointScreenX(index), m_form.Series1->PointScreenY(index)};
    }

    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        m_held = button;
        QTest::mousePress(m_form.Chart1, button, {}, at);
    }
    /// A move with the pressed button still held, as a drag delivers it.
    void MoveTo(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(m_form.Chart1->mapToGlobal(at)),
                         Qt::NoButton, m_held, Qt::NoModifier);
        QApplication::sendEvent(m_form.Chart1, &move);
    }
    void Release(QPoint at)
    {
        const Qt::MouseButton button = m_held == Qt::NoButton ? Qt::LeftButton : m_held;
        m_held = Qt::NoButton;
        QTest::mouseRelease(m_form.Chart1, button, {}, at);
    }

    TForm1 m_form;
    Qt::MouseButton m_held = Qt::NoButton;
};

} // namespace kov::test
