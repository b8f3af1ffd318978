#include "app/display_modes.h"
#include "app/main_form.h"
#include "app/test_support.h"
#include "chart/exceptions.h"
#include "chart/series/line_series.h"
#include "e2e/form_user.h"
#include "e2e/x_user.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

using namespace kov;
using namespace kov::test;

namespace {

// The table, the chart's points and the text: what a gesture may change.
struct TState
{
    std::vector<int> Table;
    std::vector<double> Points;
    TTextLines Lines;
    int EntryCount = 0;
    int ZeroCount = 0;

    static TState Of(const TForm1 &f)
    {
        TState s;
        for (int i = 0; i < TTable::Size; ++i)
            s.Table.push_back(f.Table[i]);
        for (int i = 0; i < f.Series1->PointCount(); ++i)
            s.Points.push_back(f.Series1->PointY(i));
        s.Lines = f.Memo1->Lines();
        s.EntryCount = f.EntryCount;
        s.ZeroCount = f.SpinEditNull->Value();
        return s;
    }
    bool operator==(const TState &) const = default;
};

/// Remembers where the chart last saw the pointer move.
class TMoveWatcher : public QObject
{
public:
    QPoint Last{-1, -1};

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove)
            Last = static_cast<QMouseEvent *>(event)->position().toPoint();
        return false;
    }
};

class MainWindowE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form, ExposeTimeoutMs));
    }

    QString Temp(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    /// Opens a sample file without the dialog and paints the chart, so its
    /// axes and points have their places before the user looks at them.
    void Open(const char *name)
    {
        m_form.OpenFile(DataFile(QString::fromLatin1(name)));
        m_form.Chart1->repaint();
    }
    QString CopyOfData(const char *name) const
    {
        QFile::copy(DataFile(QString::fromLatin1(name)), Temp(name));
        return Temp(name);
    }

    /// Screen position of a point of Series1.
    QPoint PointOnScreen(TXUser &user, int index)
    {
        const QPoint local = TXUser::Gui([this, index] {
            return QPoint(m_form.Series1->PointScreenX(index), m_form.Series1->PointScreenY(index));
        });
        return user.OnScreen(m_form.Chart1, local);
    }

    QTemporaryDir m_dir;
    TForm1 m_form;
};

} // namespace

TEST_F(MainWindowE2ETest, OpenDragUpdateAndSaveByTypingIntoTheDialogs)
{
    const QString source = CopyOfData("heater.inc");
    const QString saved = Temp("saved");
    PlayAsUser([&](TXUser &user) {
        // Without a window manager the window itself has the outer size.
        EXPECT_EQ(user.WindowOf(&m_form).Outer, QRect(242, 210, 966, 676));

        ClickTool(user, m_form, m_form.ActionOpen);
        if (!TypeIntoFileDialog(user, "OpenDialog1", source))
            return;
        if (!user.WaitFor([&] { return m_form.EntryCount == 7; }, "the table to be read"))
            return;
        EXPECT_EQ(TXUser::Gui([&] { return m_form.windowTitle(); }), "Zarnikrev " + source);

        // The first click after the dialog acts: Update rewrites the table
        // lines at once. No window of the dialog stays behind.
        ClickTool(user, m_form, m_form.ActionUpdate);
        user.WaitFor([&] { return m_form.Memo1->Lines().Lines.contains("\tRETLW 0x1A ; MAX"); },
                     "the first click after the open dialog to update the text");
        EXPECT_EQ(TXUser::Gui([&] { return OtherVisibleWindows(m_form); }), QStringList());

        // Drag point 0 up with the left button to where the axis reads 70.
        const QPoint start = PointOnScreen(user, 0);
        const int row70 = TXUser::Gui([&] { return ChartRowReading(m_form, 70, 71); });
        ASSERT_GE(row70, 0);
        const int target = user.OnScreen(m_form.Chart1, QPoint(0, row70)).y();
        user.MoveTo(start);
        user.Press(1);
        if (!user.WaitFor([&] { return m_form.DragSeries == m_form.Series1; }, "the point pick"))
            return;
        const int steps = 8;
        for (int k = 1; k <= steps; ++k)
            user.MoveTo({start.x(), start.y() + (target - start.y()) * k / steps});
        user.WaitFor([&] { return m_form.Table[0] == 70; }, "entry 0 to follow the mouse to 70");
        user.Release(1);
        user.WaitFor([&] { return m_form.DragSeries == nullptr; }, "the drag to end");
        EXPECT_EQ(TXUser::Gui([&] { return m_form.Series1->PointY(0); }), 70);

        ClickTool(user, m_form, m_form.ActionUpdate);
        user.WaitFor([&] { return m_form.Memo1->Lines().Lines.contains("\tRETLW 0x46 ; MAX"); },
                     "the update to write the dragged value");
        ClickTool(user, m_form, m_form.ActionSave);
        if (!TypeIntoFileDialog(user, "SaveDialog1", saved))
            return;
        user.WaitFor([&] { return QFile::exists(saved); }, "the saved file");
        EXPECT_EQ(TXUser::Gui([&] { return m_form.windowTitle(); }), "Zarnikrev " + saved);
        EXPECT_EQ(TXUser::Gui([&] { return OtherVisibleWindows(m_form); }), QStringList());
    });

    QByteArray expected = FileBytes(DataFile("heater_saved.inc"));
    ASSERT_TRUE(expected.contains("RETLW 0x1A"));
    expected.replace("RETLW 0x1A", "RETLW 0x46");
    EXPECT_EQ(FileBytes(saved), expected);
    EXPECT_EQ(FileBytes(source), FileBytes(DataFile("heater.inc")));
}

TEST_F(MainWindowE2ETest, TypedNameThatDoesNotExistFailsWithItsMessageAndChangesOnlyTheCaption)
{
    Open("heater.inc");
    const TState before = TState::Of(m_form);
    const QString missing = Temp("missing.inc");
    PlayAsUser([&](TXUser &user) {
        ClickTool(user, m_form, m_form.ActionOpen);
        if (!TypeIntoFileDialog(user, "OpenDialog1", missing))
            return;
        EXPECT_EQ(AnswerMessageBox(user), "Cannot open file " + missing);
        EXPECT_EQ(TXUser::Gui([&] { return m_form.windowTitle(); }), "Zarnikrev " + missing);
        EXPECT_TRUE(TXUser::Gui([&] { return TState::Of(m_form) == before; }));

        // The program goes on: the first click after the message box acts.
        ClickTool(user, m_form, m_form.ActionUpdate);
        user.WaitFor([&] { return m_form.Memo1->Lines().Lines.contains("\tRETLW 0x1A ; MAX"); },
                     "the first click after the message box to update the text");
    });
}

TEST_F(MainWindowE2ETest, RightClickOnAPointOpensTheMenuOnReleaseAndLeavesNoDrag)
{
    Open("heater.inc");
    TMoveWatcher watcher;
    m_form.Chart1->installEventFilter(&watcher);
    PlayAsUser([&](TXUser &user) {
        const TState before = TXUser::Gui([&] { return TState::Of(m_form); });
        const QPoint point = PointOnScreen(user, 4);
        user.MoveTo(point);
        user.Press(3);
        if (!user.WaitFor([&] { return m_form.DragSeries == m_form.Series1; }, "the point pick"))
            return;
        EXPECT_FALSE(TXUser::Gui([&] { return m_form.PopupMenuChart->isVisible(); }))
            << "the menu opened on the press";
        user.Release(3);
        user.WaitFor([&] { return m_form.PopupMenuChart->isVisible(); }, "the chart's menu");
        EXPECT_EQ(TXUser::Gui([&] { return m_form.DragSeries; }), nullptr);
        user.Key(QStringLiteral("Escape"));
        user.WaitFor([&] { return !m_form.PopupMenuChart->isVisible(); }, "the menu to close");

        // Plain moves up and down over the point, no button held.
        QPoint last;
        for (int dy : {-30, -60, -90, 40, -120}) {
            last = point + QPoint(0, dy);
            user.MoveTo(last);
        }
        const QPoint lastLocal = TXUser::Gui([&] { return m_form.Chart1->mapFromGlobal(last); });
        user.WaitFor([&] { return watcher.Last == lastLocal; }, "the chart to see the moves");
        EXPECT_TRUE(TXUser::Gui([&] { return TState::Of(m_form) == before; }))
            << "a move with no button held changed the table";
    });
    m_form.Chart1->removeEventFilter(&watcher);
}

TEST_F(MainWindowE2ETest, ZoomRectangleAndItsUndo)
{
    Open("heater.inc");
    struct TRanges
    {
        double BottomMin, BottomMax, LeftMin, LeftMax;
        bool operator==(const TRanges &) const = default;
    };
    const auto ranges = [this] {
        const TChart &c = *m_form.Chart1;
        return TRanges{c.BottomAxis()->Minimum(), c.BottomAxis()->Maximum(),
                       c.LeftAxis()->Minimum(), c.LeftAxis()->Maximum()};
    };
    // A spot of the plot area with room for a frame right and down of it,
    // where a press hits no point or line.
    const auto emptySpot = [this](QPoint room) {
        TChart &c = *m_form.Chart1;
        const TRect r = c.ChartRect();
        for (int y = r.Top + 5; y + room.y() < r.Bottom; y += 7)
            for (int x = r.Left + 5; x + room.x() < r.Right; x += 7)
                if (c.Mouse().HitTestChart(x, y).Kind == hkPlotArea)
                    return QPoint(x, y);
        return QPoint(-1, -1);
    };
    PlayAsUser([&](TXUser &user) {
        const TRanges before = TXUser::Gui(ranges);
        const QPoint spot = TXUser::Gui([&] { return emptySpot({90, 70}); });
        ASSERT_NE(spot, QPoint(-1, -1));
        const QPoint start = user.OnScreen(m_form.Chart1, spot);
        user.MoveTo(start);
        user.Press(1);
        user.WaitFor([&] { return m_form.Chart1->ZoomRecord().DragActive; }, "a zoom frame");
        user.MoveTo(start + QPoint(40, 30));
        user.MoveTo(start + QPoint(90, 70));
        user.Release(1);
        if (!user.WaitFor([&] { return m_form.Chart1->Zoomed() && ranges() != before; },
                          "the zoom"))
            return;
        EXPECT_EQ(TXUser::Gui([&] { return m_form.DragSeries; }), nullptr);

        // Up and left undoes it.
        const QPoint back = user.OnScreen(m_form.Chart1, TXUser::Gui([&] {
                                              return emptySpot({0, 0}) + QPoint(60, 60);
                                          }));
        user.MoveTo(back);
        user.Press(1);
        user.WaitFor([&] { return m_form.Chart1->ZoomRecord().DragActive; }, "a second frame");
        user.MoveTo(back - QPoint(30, 30));
        user.MoveTo(back - QPoint(50, 50));
        user.Release(1);
        user.WaitFor([&] { return !m_form.Chart1->Zoomed() && ranges() == before; },
                     "the undo to restore the ranges");
    });
}

TEST_F(MainWindowE2ETest, ClickOnTheSelectedViewItemRefillsWithTheNewZeroCount)
{
    Open("heater.inc");
    ASSERT_EQ(m_form.SpinEditNull->Value(), 3);
    QRadioButton *timeView = m_form.RadioGroup1->Button(1);
    // With zero count 3 the seven entries sit on points 127 to 133; with 2,
    // on 128 to 134.
    const auto filledFor = [this](int z) {
        for (int i = 0; i < m_form.EntryCount; ++i) {
            const int j = TimePowerPoint(i, z);
            if (m_form.Series1->IsNullPoint(j) ||
                m_form.Series1->PointY(j) != PowerPercent(m_form.Table[i]))
                return false;
        }
        return m_form.Series1->IsNullPoint(TimePowerPoint(0, z) - 1);
    };
    PlayAsUser([&](TXUser &user) {
        user.Click(user.CentreOf(timeView));
        if (!user.WaitFor([&] { return m_form.DisplayMode == dmTimePower && filledFor(3); },
                          "the time/power view"))
            return;
        user.Click(user.CentreOf(m_form.SpinEditNull));
        user.Key(QStringLiteral("ctrl+a"));
        user.Type(QStringLiteral("2"));
        user.WaitFor([&] { return m_form.SpinEditNull->Value() == 2; }, "the zero count 2");
        EXPECT_TRUE(TXUser::Gui([&] { return filledFor(3); })) << "refilled before the click";

        user.Click(user.CentreOf(timeView));
        user.WaitFor([&] { return filledFor(2); }, "the view refilled for zero count 2");
        EXPECT_EQ(TXUser::Gui([&] { return m_form.RadioGroup1->ItemIndex(); }), 1);

        // An emptied box reads 0.
        user.Click(user.CentreOf(m_form.SpinEditNull));
        user.Key(QStringLiteral("ctrl+a"));
        user.Key(QStringLiteral("BackSpace"));
        user.WaitFor([&] { return m_form.SpinEditNull->text().isEmpty(); }, "the emptied box");
        user.Click(user.CentreOf(timeView));
        user.WaitFor([&] { return filledFor(0); }, "the view refilled for zero count 0");
        EXPECT_EQ(TXUser::Gui([&] { return m_form.SpinEditNull->text(); }), "0");
    });
}

namespace {

class TThrowingObject : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw RangeCheckError();
        return QObject::event(e);
    }
};

} // namespace

TEST_F(MainWindowE2ETest, ApplicationShowsAnyEscapedExceptionAndGoesOn)
{
    TThrowingObject thrower;
    PlayAsUser([&](TXUser &user) {
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        EXPECT_EQ(AnswerMessageBox(user), "Range check error");
        EXPECT_TRUE(TXUser::Gui([&] { return m_form.isVisible(); }));
    });
}
