#include "app/application.h"
#include "app/main_form.h"
#include "app/test_support.h"
#include "chart/exceptions.h"
#include "e2e/file_dialog_driver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace kov;
using kov::test::DataFile;
using kov::test::FileBytes;
using kov::test::OnNextModal;
using kov::test::TypeNameAndAccept;

namespace {

// Whatever an open may change.
struct TState
{
    TTextLines Lines;
    QString Shown;
    std::vector<int> Table;
    int EntryCount;
    int ZeroCount;

    explicit TState(const TForm1 &f)
        : Lines(f.Memo1->Lines()), Shown(f.Memo1->toPlainText()), EntryCount(f.EntryCount),
          ZeroCount(f.SpinEditNull->Value())
    {
        for (int i = 0; i < TTable::Size; ++i)
            Table.push_back(f.Table[i]);
    }
    bool operator==(const TState &) const = default;
};

class MainWindowE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
    }

    QString Temp(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // Clicks the tool button of an action with the mouse.
    void Click(QAction *action)
    {
        QWidget *button = m_form.ToolBar1->widgetForAction(action);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void OpenThroughDialog(const QString &path)
    {
        QString title;
        OnNextModal<QFileDialog>([&](QFileDialog *d) {
            title = d->objectName();
            TypeNameAndAccept(d, path);
        });
        Click(m_form.ActionOpen);
        EXPECT_EQ(title, "OpenDialog1");
    }

    QTemporaryDir m_dir;
    TForm1 m_form;
};

} // namespace

TEST_F(MainWindowE2ETest, OpenUpdateAndSaveThroughTheRealDialogs)
{
    ASSERT_TRUE(QFile::copy(DataFile("heater.inc"), Temp("heater.inc")));
    OpenThroughDialog(Temp("heater.inc"));
    EXPECT_EQ(m_form.windowTitle(), "Zarnikrev " + Temp("heater.inc"));
    EXPECT_EQ(m_form.EntryCount, 7);
    EXPECT_EQ(m_form.SpinEditNull->Value(), 3);

    Click(m_form.ActionUpdate);

    QString title;
    OnNextModal<QFileDialog>([&](QFileDialog *d) {
        title = d->objectName();
        TypeNameAndAccept(d, Temp("saved"));
    });
    Click(m_form.ActionSave);
    EXPECT_EQ(title, "SaveDialog1");
    EXPECT_EQ(m_form.windowTitle(), "Zarnikrev " + Temp("saved"));
    EXPECT_EQ(FileBytes(Temp("saved")), FileBytes(DataFile("heater_saved.inc")));
    // The file that was opened is untouched; no extension was added.
    EXPECT_EQ(FileBytes(Temp("heater.inc")), FileBytes(DataFile("heater.inc")));
    EXPECT_FALSE(QFile::exists(Temp("saved.inc")));

    // Saving over an existing file replaces it without a question.
    m_form.Table[0] = 0x99;
    Click(m_form.ActionUpdate);
    OnNextModal<QFileDialog>([&](QFileDialog *d) { TypeNameAndAccept(d, Temp("saved")); });
    Click(m_form.ActionSave);
    EXPECT_TRUE(FileBytes(Temp("saved")).contains("\tRETLW 0x99 ; MAX\r\n"));
}

TEST_F(MainWindowE2ETest, FailedOpenShowsItsMessageAndLeavesEverythingAsItWas)
{
    OpenThroughDialog(DataFile("heater.inc"));
    ASSERT_EQ(m_form.EntryCount, 7);
    const TState before(m_form);

    QString message;
    QString title;
    OnNextModal<QFileDialog>([&](QFileDialog *d) {
        // The message box comes up once the dialog has closed.
        OnNextModal<QMessageBox>([&](QMessageBox *box) {
            message = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        TypeNameAndAccept(d, DataFile("bad_literal.inc"));
    });
    Click(m_form.ActionOpen);
    EXPECT_EQ(message, "'0xRE' is not a valid integer value");
    EXPECT_EQ(m_form.windowTitle(), "Zarnikrev " + DataFile("bad_literal.inc"));
    EXPECT_EQ(m_form.CurrentFileName, DataFile("bad_literal.inc"));
    EXPECT_TRUE(TState(m_form) == before);

    // The program goes on: a good file still opens.
    OpenThroughDialog(DataFile("ramp.inc"));
    EXPECT_EQ(m_form.EntryCount, 256);
    EXPECT_EQ(m_form.SpinEditNull->Value(), 175);
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
    QString message;
    OnNextModal<QMessageBox>([&](QMessageBox *box) {
        message = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    QEvent event(QEvent::User);
    QApplication::sendEvent(&thrower, &event);
    EXPECT_EQ(message, "Range check error");
    EXPECT_TRUE(m_form.isVisible());
}
