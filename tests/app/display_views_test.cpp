#include "app/display_modes.h"
#include "app/main_form.h"
#include "chart_form_support.h"
#include "test_support.h"

#include <QLocale>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace kov;
using kov::test::ChartFormTest;
using kov::test::DataFile;

namespace {

using DisplayViewsTest = ChartFormTest;

TEST_F(DisplayViewsTest, StartUpShowsTheRedRampOnTheLeftAndBottomAxesOnly)
{
    ASSERT_EQ(Series().PointCount(), 256);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(Series().PointX(i), i);
        ASSERT_EQ(Series().PointY(i), i + 1);
        ASSERT_EQ(Series().PointLabel(i), QString::number(i + 1));
        ASSERT_EQ(Series().EffectivePointColor(i), clRed);
        ASSERT_FALSE(Series().IsNullPoint(i));
    }
    for (TColor c : Series().ColorList())
        ASSERT_EQ(c, clDefault);
    EXPECT_EQ(Series().SeriesColor(), clRed);
    EXPECT_EQ(Chart().BottomAxis()->Minimum(), 0);
    EXPECT_EQ(Chart().BottomAxis()->Maximum(), 255);
    EXPECT_EQ(m_form.SpinEditNull->Value(), 175);
    EXPECT_EQ(m_form.DisplayMode, dmNone);
    EXPECT_EQ(Chart().LeftAxis()->Title().Caption(), "Мощьность");
    EXPECT_FALSE(Chart().Title().Visible());
    EXPECT_FALSE(Series().ShowInLegend());
    EXPECT_EQ(Series().GetVertAxis(), Chart().LeftAxis());
    EXPECT_EQ(Series().GetHorizAxis(), Chart().BottomAxis());
    EXPECT_EQ(Series().Cursor(), Qt::CrossCursor);
    EXPECT_EQ(m_form.DragSeries, nullptr);
}

TEST_F(DisplayViewsTest, CountSizeViewColoursEachEntryByItsValueClass)
{
    ShowTable({10, 64, 100, 200});
    EXPECT_EQ(m_form.DisplayMode, dmCountSize);
    EXPECT_EQ(Chart().LeftAxis()->Title().Caption(), "Размер");
    ASSERT_EQ(Series().PointCount(), 4);
    const int values[] = {10, 64, 100, 200};
    const TColor colours[] = {clGreen, clRed, clBlue, clBlack};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Series().PointX(i), i);
        EXPECT_EQ(Series().PointY(i), values[i]);
        EXPECT_EQ(Series().PointLabel(i), QString::number(i));
        EXPECT_EQ(Series().EffectivePointColor(i), colours[i]);
    }
    EXPECT_EQ(Chart().BottomAxis()->Minimum(), 0);
    EXPECT_EQ(Chart().BottomAxis()->Maximum(), 3);
    EXPECT_EQ(Chart().LeftAxis()->Minimum(), 10);
    EXPECT_EQ(Chart().LeftAxis()->Maximum(), 200);
}

TEST_F(DisplayViewsTest, TimePowerViewWrapsAroundTheZeroCount)
{
    m_form.OpenFile(DataFile("ramp.inc"));
    ASSERT_EQ(m_form.EntryCount, 256);
    for (int i = 0; i < 256; ++i)
        m_form.Table[i] = static_cast<std::uint8_t>(i);
    m_form.SpinEditNull->SetValue(175);
    ShowView(1);
    EXPECT_EQ(m_form.DisplayMode, dmTimePower);
    EXPECT_EQ(Chart().LeftAxis()->Title().Caption(), "Мощность %");
    ASSERT_EQ(Series().PointCount(), 260);

    const QLocale locale = QLocale::system();
    const QString sep = locale.decimalPoint();
    EXPECT_EQ(Series().PointLabel(0), "0" + sep + "01ms");
    EXPECT_EQ(Series().PointLabel(129), "1" + sep + "50ms");
    EXPECT_EQ(Series().PointLabel(130), "1" + sep + "51ms");
    EXPECT_EQ(Series().PointLabel(259), "3" + sep + "00ms");

    // Which entry shows on each point: 45..255 on 0..210 (255 wins point 210
    // over entry 0), 1..19 wrapped to 211..229, nothing beyond; 20..44 hidden.
    auto entryAt = [](int j) {
        if (j <= 210)
            return j + 45;
        if (j <= 229)
            return j - 210;
        return -1;
    };
    for (int j = 0; j < 260; ++j) {
        SCOPED_TRACE(j);
        const int entry = entryAt(j);
        if (entry < 0) {
            EXPECT_TRUE(Series().IsNullPoint(j));
            continue;
        }
        ASSERT_FALSE(Series().IsNullPoint(j));
        const int percent = PowerPercent(entry, 43, 64);
        EXPECT_EQ(Series().PointY(j), percent);
        EXPECT_EQ(Series().EffectivePointColor(j), ColorForValue(dmTimePower, percent));
    }
    EXPECT_EQ(Series().PointY(130), PowerPercent(175)); // the zero count's entry
    EXPECT_EQ(Series().PointY(210), 0);                 // entry 255, not entry 0
    EXPECT_EQ(Series().EffectivePointColor(210), clRed);
    EXPECT_EQ(Series().PointY(211), 2); // entry 1
    EXPECT_EQ(Series().PointY(0), 45);  // entry 45

    // Switching back refills the count/size view from the table.
    ShowView(0);
    ASSERT_EQ(Series().PointCount(), 256);
    EXPECT_EQ(Series().PointY(200), 200);
    EXPECT_EQ(Chart().LeftAxis()->Title().Caption(), "Размер");
    ShowView(1);
    EXPECT_EQ(Series().PointCount(), 260);
}

TEST_F(DisplayViewsTest, ZeroCountIsReadOnlyWhenTheViewIsFilled)
{
    ShowTable({0, 10, 20, 30}, 1);
    m_form.SpinEditNull->SetValue(2);
    // Still the fill of zero count 175: entries 0 to 3 wrapped to 210 to 213.
    EXPECT_FALSE(Series().IsNullPoint(210));
    EXPECT_TRUE(Series().IsNullPoint(130));
    ShowView(0);
    ShowView(1);
    EXPECT_EQ(Series().PointY(130), PowerPercent(20));
    EXPECT_EQ(Series().PointY(128), PowerPercent(0));
    EXPECT_TRUE(Series().IsNullPoint(127));
    EXPECT_TRUE(Series().IsNullPoint(132));
}

TEST_F(DisplayViewsTest, EveryClickOnTheRadioGroupRefillsOnce)
{
    int fills = 0;
    const auto click = m_form.RadioGroup1->OnClick;
    m_form.RadioGroup1->OnClick = [&](QObject *sender) {
        ++fills;
        click(sender);
    };
    ShowTable({0, 10, 20, 30}, 1);
    ASSERT_EQ(fills, 1);
    m_form.SpinEditNull->SetValue(2);

    // A click on the item already selected fills the view with the new zero count.
    QTest::mouseClick(m_form.RadioGroup1->Button(1), Qt::LeftButton);
    EXPECT_EQ(fills, 2);
    EXPECT_EQ(m_form.RadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(Series().PointY(130), PowerPercent(20));
    EXPECT_TRUE(Series().IsNullPoint(127));

    // A click that selects the other item fills once, not once per signal;
    // so does the keyboard's selection.
    QTest::mouseClick(m_form.RadioGroup1->Button(0), Qt::LeftButton);
    EXPECT_EQ(fills, 3);
    EXPECT_EQ(m_form.DisplayMode, dmCountSize);
    m_form.RadioGroup1->Button(0)->setFocus();
    QTest::keyClick(m_form.RadioGroup1->Button(0), Qt::Key_Space);
    EXPECT_EQ(fills, 4);
    QTest::keyClick(m_form.RadioGroup1->Button(0), Qt::Key_Right);
    EXPECT_EQ(m_form.RadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(fills, 5);
}

TEST_F(DisplayViewsTest, EmptiedZeroCountReadsZero)
{
    TSpinEdit &box = *m_form.SpinEditNull;
    m_form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
    auto empty = [&] {
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&box, Qt::Key_Backspace);
        ASSERT_EQ(box.text(), QString());
        EXPECT_EQ(box.Value(), 0);
    };

    // Emptied, then a click on the time/power item: the box reads 0 as it
    // loses focus and the view is filled with zero count 0.
    ShowTable({0, 10, 20, 30});
    box.SetValue(2);
    empty();
    QTest::mouseClick(m_form.RadioGroup1->Button(1), Qt::LeftButton);
    EXPECT_EQ(box.text(), "0");
    EXPECT_EQ(m_form.DisplayMode, dmTimePower);
    EXPECT_EQ(Series().PointY(130), PowerPercent(0));
    EXPECT_EQ(Series().PointY(133), PowerPercent(30));
    EXPECT_TRUE(Series().IsNullPoint(129));

    // The arrows step from 0, within the bounds; typing still works.
    const struct
    {
        Qt::Key Key;
        const char *Text;
    } rows[] = {{Qt::Key_Up, "1"}, {Qt::Key_Down, "0"}, {Qt::Key_7, "7"}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.Text);
        box.SetValue(2);
        empty();
        QTest::keyClick(&box, r.Key);
        EXPECT_EQ(box.text(), r.Text);
        EXPECT_EQ(box.Value(), QString(r.Text).toInt());
    }
}

TEST_F(DisplayViewsTest, EmptyTableGivesEmptyCountSizeAndAllNullTimePower)
{
    ShowTable({});
    EXPECT_EQ(Series().PointCount(), 0);
    EXPECT_NO_FATAL_FAILURE(Repaint());
    ShowView(1);
    ASSERT_EQ(Series().PointCount(), 260);
    for (int j = 0; j < 260; ++j)
        ASSERT_TRUE(Series().IsNullPoint(j)) << j;
    Repaint();
    // A press anywhere on the empty views picks nothing and raises nothing.
    Press(QPoint(Chart().width() / 2, Chart().height() / 2));
    Release(QPoint(Chart().width() / 2, Chart().height() / 2));
    EXPECT_EQ(m_form.DragSeries, nullptr);
}

} // namespace
