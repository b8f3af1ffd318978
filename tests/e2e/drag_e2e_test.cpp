#include "app/main_form.h"
#include "app/test_support.h"
#include "chart/series/line_series.h"
#include "e2e/file_dialog_driver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace kov;
using kov::test::DataFile;
using kov::test::FileBytes;
using kov::test::OnNextModal;
using kov::test::TypeNameAndAccept;

namespace {

class DragE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
    }
    QString Temp(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    void Click(QAction *action)
    {
        QWidget *button = m_form.ToolBar1->widgetForAction(action);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // The chart row where the left axis reads within [low, high).
    std::optional<int> Row(double low, double high) const
    {
        for (int y = 0; y < m_form.Chart1->height(); ++y) {
            const double v = m_form.Series1->ScreenYToValue(y);
            if (v >= low && v < high)
                return y;
        }
        return std::nullopt;
    }

    QTemporaryDir m_dir;
    TForm1 m_form;
};

} // namespace

TEST_F(DragE2ETest, OpenDragUpdateAndSaveWritesTheDraggedValue)
{
    ASSERT_TRUE(QFile::copy(DataFile("heater.inc"), Temp("heater.inc")));
    OnNextModal<QFileDialog>([&](QFileDialog *d) { TypeNameAndAccept(d, Temp("heater.inc")); });
    Click(m_form.ActionOpen);
    ASSERT_EQ(m_form.EntryCount, 7);
    ASSERT_EQ(m_form.Table[0], 0x1a);
    ASSERT_EQ(m_form.PageControl1->currentIndex(), 0);

    // Let the chart paint on screen so its axes and points have positions.
    QWidget *chart = m_form.Chart1;
    QTest::qWait(100);
    QApplication::processEvents();
    const QPoint start(m_form.Series1->PointScreenX(0), m_form.Series1->PointScreenY(0));
    const std::optional<int> y70 = Row(70, 71);
    ASSERT_TRUE(y70.has_value());

    QTest::mouseMove(chart, start);
    QTest::mousePress(chart, Qt::LeftButton, {}, start);
    EXPECT_EQ(m_form.DragSeries, m_form.Series1);
    // Up in steps, as a hand moves, ending where the axis reads 70.
    const int steps = 8;
    for (int k = 1; k <= steps; ++k)
        QTest::mouseMove(chart, QPoint(start.x(), start.y() + (*y70 - start.y()) * k / steps));
    QTest::mouseRelease(chart, Qt::LeftButton, {}, QPoint(start.x(), *y70));
    QApplication::processEvents();
    EXPECT_EQ(m_form.DragSeries, nullptr);
    ASSERT_EQ(m_form.Table[0], 70);
    EXPECT_EQ(m_form.Series1->PointY(0), 70);

    Click(m_form.ActionUpdate);
    OnNextModal<QFileDialog>([&](QFileDialog *d) { TypeNameAndAccept(d, Temp("saved.inc")); });
    Click(m_form.ActionSave);

    QByteArray expected = FileBytes(DataFile("heater_saved.inc"));
    ASSERT_TRUE(expected.contains("RETLW 0x1A"));
    expected.replace("RETLW 0x1A", "RETLW 0x46");
    EXPECT_EQ(FileBytes(Temp("saved.inc")), expected);
    EXPECT_EQ(FileBytes(Temp("heater.inc")), FileBytes(DataFile("heater.inc")));
}
