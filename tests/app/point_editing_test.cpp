#include "app/application.h"
#include "app/display_modes.h"
#include "app/main_form.h"
#include "chart/exceptions.h"
#include "chart_form_support.h"
#include "test_support.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using namespace kov;
using kov::test::ChartFormTest;
using kov::test::DataFile;
using kov::test::FileBytes;

namespace {

// Highest entry first and lowest last, so the left axis spans exactly 0 to
// 255 whatever value point 5 is dragged to in between.
constexpr std::initializer_list<int> kTable = {255, 100, 30, 128, 64, 40, 10, 0};

class PointEditingTest : public ChartFormTest
{
protected:
    void SetUp() override
    {
        ChartFormTest::SetUp();
        SetExceptionPresenter([this](const QString &m) { m_messages.append(m); });
    }
    void TearDown() override { SetExceptionPresenter({}); }

    // Row where the axis reads within [low, high); fails the test when none.
    int Row(double low, double high)
    {
        const std::optional<int> y = RowReading(low, high);
        EXPECT_TRUE(y.has_value()) << "no pixel row reads " << low << " to " << high;
        return y.value_or(0);
    }

    QStringList m_messages;
};

TEST_F(PointEditingTest, DraggingAPointStoresTruncatedValuesWithinTheByteRange)
{
    ShowTable(kTable);
    ASSERT_EQ(Series().PointY(5), 40);
    const QPoint start = PointPos(5);
    Press(start);
    EXPECT_EQ(m_form.DragSeries, &Series());
    EXPECT_EQ(m_form.DragIndex, 5);

    // Where the axis reads about 70.8 the point and the entry become 70. The
    // pixel rows are whole, so the row of 70.8 may read a little less or more.
    int y70 = Chart().LeftAxis()->ValueToPos(70.8);
    if (std::trunc(Series().ScreenYToValue(y70)) != 70)
        y70 = Row(70, 71);
    ASSERT_EQ(std::trunc(Series().ScreenYToValue(y70)), 70);
    MoveTo({start.x() + 30, y70}); // X is ignored
    EXPECT_EQ(Series().PointY(5), 70);
    EXPECT_EQ(Series().PointX(5), 5);
    EXPECT_EQ(m_form.Table[5], 70);
    EXPECT_EQ(Series().EffectivePointColor(5), clBlue);
    Repaint();
    EXPECT_EQ(Chart().LeftAxis()->Minimum(), 0);
    EXPECT_EQ(Chart().LeftAxis()->Maximum(), 255);

    // Above 255 nothing is clamped: the point keeps its last accepted value.
    MoveTo({start.x(), Row(256, 400)});
    EXPECT_EQ(Series().PointY(5), 70);
    EXPECT_EQ(m_form.Table[5], 70);

    // Class borders: exactly 64 is red, 128 and above black.
    MoveTo({start.x(), Row(64, 65)});
    EXPECT_EQ(m_form.Table[5], 64);
    EXPECT_EQ(Series().EffectivePointColor(5), clRed);
    MoveTo({start.x(), Row(63, 64)});
    EXPECT_EQ(Series().EffectivePointColor(5), clGreen);
    MoveTo({start.x(), Row(128, 129)});
    EXPECT_EQ(m_form.Table[5], 128);
    EXPECT_EQ(Series().EffectivePointColor(5), clBlack);

    // Just below zero truncates toward zero, to 0.
    MoveTo({start.x(), Row(-0.9999, 0)});
    EXPECT_EQ(Series().PointY(5), 0);
    EXPECT_EQ(m_form.Table[5], 0);
    EXPECT_EQ(Series().EffectivePointColor(5), clGreen);
    // A whole unit below zero is refused.
    MoveTo({start.x(), Row(-50, -1)});
    EXPECT_EQ(Series().PointY(5), 0);

    MoveTo({start.x(), Row(200, 201)});
    Release({start.x(), Row(200, 201)});
    EXPECT_EQ(m_form.DragSeries, nullptr);
    EXPECT_EQ(m_form.Table[5], 200);

    // After the release moves change nothing.
    MoveTo({start.x(), Row(30, 31)});
    QTest::mouseMove(m_form.Chart1, QPoint(start.x(), Row(90, 91)));
    EXPECT_EQ(Series().PointY(5), 200);
    EXPECT_EQ(m_form.Table[5], 200);
    // Other entries are untouched.
    int i = 0;
    for (int v : kTable) {
        if (i != 5) {
            EXPECT_EQ(m_form.Table[i], v) << i;
        }
        ++i;
    }
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

TEST_F(PointEditingTest, RightButtonPicksAndItsReleaseEndsTheDrag)
{
    ShowTable(kTable);
    const QPoint start = PointPos(2);
    Press(start, Qt::RightButton);
    EXPECT_EQ(m_form.DragIndex, 2);
    MoveTo({start.x(), Row(90, 91)});
    EXPECT_EQ(m_form.Table[2], 90);
    Release(start);
    EXPECT_EQ(m_form.DragSeries, nullptr);
    MoveTo({start.x(), Row(20, 21)});
    EXPECT_EQ(m_form.Table[2], 90);
}

TEST_F(PointEditingTest, RightClickOpensTheMenuAfterTheDragEndedAndPlainMovesEditNothing)
{
    ShowTable(kTable);
    const QPoint start = PointPos(4);
    Press(start, Qt::RightButton);
    // The platform's press-time request for the menu opens nothing yet.
    QContextMenuEvent onPress(QContextMenuEvent::Mouse, start, Chart().mapToGlobal(start));
    QApplication::sendEvent(&Chart(), &onPress);
    EXPECT_FALSE(m_form.PopupMenuChart->isVisible());
    EXPECT_EQ(m_form.DragSeries, m_form.Series1);
    Release(start);
    EXPECT_EQ(m_form.DragSeries, nullptr);
    EXPECT_TRUE(m_form.PopupMenuChart->isVisible());
    m_form.PopupMenuChart->close();

    // A drag whose release never reached the chart (it went to a popup or
    // another window) ends at the first move without a button held.
    Press(start);
    ASSERT_EQ(m_form.DragSeries, m_form.Series1);
    const int stored = m_form.Table[4];
    m_held = Qt::NoButton;
    MoveTo({start.x(), Row(90, 91)});
    EXPECT_EQ(m_form.DragSeries, nullptr);
    EXPECT_EQ(m_form.Table[4], stored);
    EXPECT_EQ(Series().PointY(4), 64);
}

TEST_F(PointEditingTest, PressOnAPointStartsNoZoom)
{
    ShowTable(kTable);
    const TChartAxis &bottom = *Chart().BottomAxis();
    const double bMin = bottom.Minimum(), bMax = bottom.Maximum();
    const QPoint start = PointPos(3);
    Press(start);
    // Right and down, far beyond the zoom threshold.
    const QPoint end(start.x() + 60, start.y() + 60);
    MoveTo(end);
    Release(end);
    Repaint();
    EXPECT_FALSE(Chart().Zoomed());
    EXPECT_EQ(bottom.Minimum(), bMin);
    EXPECT_EQ(bottom.Maximum(), bMax);
    EXPECT_EQ(Chart().LeftAxis()->Minimum(), 0);
    EXPECT_EQ(Chart().LeftAxis()->Maximum(), 255);
}

TEST_F(PointEditingTest, TimePowerViewPicksNothing)
{
    m_form.SpinEditNull->SetValue(2);
    ShowTable(kTable, 1);
    ASSERT_EQ(m_form.DisplayMode, dmTimePower);
    // Entry 2 (30, 69 %) lands on point 130.
    ASSERT_FALSE(Series().IsNullPoint(130));
    const double before = Series().PointY(130);
    const QPoint start = PointPos(130);
    Press(start);
    EXPECT_EQ(m_form.DragSeries, nullptr);
    const QPoint end(start.x() + 40, start.y() + 40);
    MoveTo(end);
    Release(end);
    Repaint();
    EXPECT_EQ(Series().PointY(130), before);
    EXPECT_FALSE(Chart().Zoomed());
    int i = 0;
    for (int v : kTable)
        EXPECT_EQ(m_form.Table[i++], v);
}

TEST_F(PointEditingTest, PlaceholderRampIsDraggableWithinPlusMinusHundred)
{
    ASSERT_EQ(m_form.DisplayMode, dmNone);
    const QPoint start = PointPos(50);
    Press(start);
    EXPECT_EQ(m_form.DragIndex, 50);
    MoveTo({start.x(), Row(80, 81)});
    EXPECT_EQ(Series().PointY(50), 80);
    EXPECT_EQ(Series().EffectivePointColor(50), clGreen);
    Repaint(); // the axes may rescale under the mouse while dragging
    MoveTo({start.x(), Row(150, 151)});
    EXPECT_EQ(Series().PointY(50), 80);
    Repaint();
    MoveTo({start.x(), Row(0, 0.999)});
    EXPECT_EQ(Series().PointY(50), 0);
    EXPECT_EQ(Series().EffectivePointColor(50), clRed);
    Repaint();
    MoveTo({start.x(), Row(-30, -29)});
    EXPECT_EQ(Series().PointY(50), -29);
    EXPECT_EQ(Series().EffectivePointColor(50), clBlue);
    Release(start);
    for (int i = 0; i < TTable::Size; ++i)
        ASSERT_EQ(m_form.Table[i], 0) << i;
    EXPECT_EQ(m_form.EntryCount, 0);
}

// The press need only land within a marker, so at the top of the highest
// point's marker or the bottom of the lowest point's the value under the
// mouse lies beyond the byte range. Such a press picks the point without an
// error and leaves the entry alone; the first accepted move stores the value.
TEST_F(PointEditingTest, PressAtTheEdgeOfTheOuterMarkersRaisesNothing)
{
    ShowTable(kTable);
    struct Edge
    {
        int index;
        int dy;
        int expected;
    };
    for (const Edge e : {Edge{0, -3, 255}, Edge{7, 3, 0}}) {
        SCOPED_TRACE(e.index);
        const QPoint edge = PointPos(e.index) + QPoint(0, e.dy);
        const int v = static_cast<int>(std::trunc(Series().ScreenYToValue(edge.y())));
        ASSERT_TRUE(v > 255 || v < 0) << "the marker edge reads " << v;
        EXPECT_NO_THROW(Press(edge));
        EXPECT_EQ(m_form.DragSeries, &Series());
        EXPECT_EQ(m_form.DragIndex, e.index);
        EXPECT_EQ(m_form.Table[e.index], e.expected);
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
        MoveTo({edge.x(), Row(120, 121)});
        EXPECT_EQ(m_form.Table[e.index], 120);
        EXPECT_EQ(Series().PointY(e.index), 120);
        Release(edge);
        EXPECT_EQ(m_form.DragSeries, nullptr);
        m_form.Table[e.index] = static_cast<std::uint8_t>(e.expected);
        ShowView(0);
    }
}

TEST_F(PointEditingTest, DraggedValueReachesTheTextOnlyThroughUpdate)
{
    QTemporaryDir dir;
    m_form.OpenFile(DataFile("heater.inc"));
    ASSERT_EQ(m_form.DisplayMode, dmCountSize);
    ASSERT_EQ(m_form.Table[0], 0x1a);
    Repaint();
    const QPoint start = PointPos(0);
    Press(start);
    const int y = Row(70, 71);
    MoveTo({start.x(), y});
    Release({start.x(), y});
    ASSERT_EQ(m_form.Table[0], 70);
    EXPECT_EQ(m_form.Memo1->Lines().Lines[5], "\tretlw 0x1a ; max");

    m_form.ActionUpdateExecute(nullptr);
    EXPECT_EQ(m_form.Memo1->Lines().Lines[5], "\tRETLW 0x46 ; MAX");
    const QString saved = dir.filePath("saved.inc");
    m_form.SaveFile(saved);
    QByteArray expected = FileBytes(DataFile("heater_saved.inc"));
    expected.replace("RETLW 0x1A", "RETLW 0x46");
    EXPECT_EQ(FileBytes(saved), expected);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

} // namespace

namespace {

// A press on the line between two points picks the earlier point. What the
// table holds must match what the chart shows: a press alone, without a
// move, leaves both as they were.
TEST_F(PointEditingTest, PressOnASegmentKeepsTableAndChartInStep)
{
    ShowTable(kTable);
    // Halfway between point 0 (255) and point 1 (100) the axis reads about 177.
    const QPoint mid = (PointPos(0) + PointPos(1)) / 2;
    Press(mid);
    ASSERT_EQ(m_form.DragSeries, &Series()) << "the press on the line picked nothing";
    const int picked = m_form.DragIndex;
    Release(mid);
    int i = 0;
    for (int v : kTable) {
        EXPECT_EQ(m_form.Table[i], v) << i;
        EXPECT_EQ(Series().PointY(i), m_form.Table[i]) << i;
        ++i;
    }
    EXPECT_EQ(picked, 0);

    // The first move of such a drag stores the value, as on the marker.
    Press(mid);
    MoveTo({mid.x(), Row(200, 201)});
    Release(mid);
    EXPECT_EQ(m_form.Table[0], 200);
    EXPECT_EQ(Series().PointY(0), 200);
}

} // namespace

namespace {

// The drag survives a change of view; a point that no longer exists after
// the change is not dragged, and nothing is raised.
TEST_F(PointEditingTest, DragAcrossAViewChangeNeverReachesAMissingPoint)
{
    ShowTable(kTable);
    const QPoint start = PointPos(7);
    Press(start);
    ASSERT_EQ(m_form.DragIndex, 7);
    ShowTable({1, 2, 3}); // fewer points while the button is held
    EXPECT_NO_THROW(MoveTo({start.x(), start.y() - 20}));
    EXPECT_EQ(Series().PointCount(), 3);
    EXPECT_EQ(m_form.Table[7], 0);
    Release(start);
    EXPECT_EQ(m_form.DragSeries, nullptr);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

// Away from the points the chart's own zoom works as before: a drag right
// and down zooms in, one up and left undoes it.
TEST_F(PointEditingTest, ZoomStillWorksAwayFromThePoints)
{
    ShowTable(kTable);
    const TRect r = Chart().ChartRect();
    const QPoint from(r.Left + r.Width() / 2 + 7, r.Top + 10);
    ASSERT_EQ(Series().PointScreenY(4) > from.y() + 20, true);
    Press(from);
    EXPECT_EQ(m_form.DragSeries, nullptr);
    MoveTo(from + QPoint(60, 60));
    Release(from + QPoint(60, 60));
    Repaint();
    EXPECT_TRUE(Chart().Zoomed());
    EXPECT_LT(Chart().LeftAxis()->Maximum(), 255);
    Press(from + QPoint(60, 60));
    MoveTo(from);
    Release(from);
    Repaint();
    EXPECT_FALSE(Chart().Zoomed());
    EXPECT_EQ(Chart().LeftAxis()->Maximum(), 255);
    int i = 0;
    for (int v : kTable)
        EXPECT_EQ(m_form.Table[i++], v);
}

} // namespace

// A failure in a chart handler the window connects never unwinds through Qt's
// event delivery: the handler catches it and the message shows after the
// event. Point 515 has no table entry, so storing its value fails. The null
// points before it lie at 0, away from it (a click can pick null points too).
TEST_F(PointEditingTest, FailuresInChartHandlersShowAfterTheEvent)
{
    ShowTable(kTable);
    Series().RemoveAllPoints();
    for (int i = 0; i < 515; ++i)
        Series().AppendNullPoint(QString::number(i));
    Series().AppendPoint(255, QStringLiteral("515"), clDefault);
    Series().AppendPoint(200, QStringLiteral("516"), clDefault);
    Repaint();
    const QPoint at = PointPos(515);

    EXPECT_NO_THROW(Press(at));
    EXPECT_EQ(m_form.DragIndex, 515);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_messages, QStringList{"Range check error"});
    EXPECT_NO_THROW(MoveTo({at.x(), Row(100, 101)}));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_messages, (QStringList{"Range check error", "Range check error"}));
    EXPECT_NO_THROW(Release(at));
    EXPECT_EQ(m_form.DragSeries, nullptr);
}

TEST(RunGuardedInEventTest, ShowsTheMessageOnlyOnceBackInTheEventLoop)
{
    QStringList messages;
    SetExceptionPresenter([&](const QString &m) { messages.append(m); });
    RunGuardedInEvent([] { throw RangeCheckError(); });
    EXPECT_TRUE(messages.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(messages, QStringList{"Range check error"});
    SetExceptionPresenter({});
}
