#include "app/app_exceptions.h"
#include "app/application.h"
#include "app/cp1251.h"
#include "app/include_file.h"
#include "app/main_form.h"
#include "app/tool_icons.h"
#include "exception_message.h"
#include "test_support.h"

#include <QAction>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace kov;
using kov::test::DataFile;
using kov::test::FileBytes;
using kov::test::MessageOf;
using kov::test::OnNextModal;

namespace {

// Everything an open may change, to compare before and after a failure.
struct TFormSnapshot
{
    TTextLines Lines;
    QString Shown;
    std::vector<int> Table;
    int EntryCount;
    int ZeroCount;
    int DisplayMode;

    explicit TFormSnapshot(const TForm1 &f)
        : Lines(f.Memo1->Lines()), Shown(f.Memo1->toPlainText()), EntryCount(f.EntryCount),
          ZeroCount(f.SpinEditNull->Value()), DisplayMode(f.DisplayMode)
    {
        for (int i = 0; i < TTable::Size; ++i)
            Table.push_back(f.Table[i]);
    }
    bool operator==(const TFormSnapshot &) const = default;
};

// A pixmap that is not fully transparent: the button shows something.
bool HasVisiblePixels(const QIcon &icon)
{
    const QImage image = icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

class TForm1Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetExceptionPresenter([this](const QString &m) { m_messages.append(m); });
    }
    void TearDown() override { SetExceptionPresenter({}); }

    QString Temp(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    void WriteFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    TForm1 m_form;
    QStringList m_messages;
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(TForm1Test, WindowCaptionPositionSizeAndFont)
{
    EXPECT_EQ(m_form.windowTitle(), "Zarnik");
    EXPECT_EQ(m_form.objectName(), "Form1");
    EXPECT_EQ(m_form.pos(), QPoint(242, 210));
    m_form.show();
    // The offscreen platform draws no frame, so the outer size is the window's.
    EXPECT_EQ(m_form.frameGeometry().size(), QSize(966, 676));
    EXPECT_EQ(m_form.font().families().value(0), "MS Sans Serif");
    EXPECT_EQ(m_form.font().pointSize(), 8);
    EXPECT_EQ(m_form.palette().color(QPalette::Window), m_form.palette().color(QPalette::Button));
}

TEST_F(TForm1Test, ActionsCarryCaptionHintAndImage)
{
    struct Row
    {
        QAction *action;
        QString caption;
        QString hint;
        int image;
    };
    const Row rows[] = {
        {m_form.ActionOpen, "Открыть...", "Открыть файл данных", 0},
        {m_form.ActionSave, "Сохранить", "", 1},
        {m_form.ActionUpdate, "Обновить", "Обновить данные", 2},
        {m_form.ActionHelp, "О...", "", 3},
        {m_form.ActionExit, "Выход", "Выход", 4},
    };
    ASSERT_EQ(m_form.ImageList1.size(), 5);
    ASSERT_EQ(m_form.ActionList1.size(), 5);
    for (const Row &r : rows) {
        SCOPED_TRACE(r.caption.toStdString());
        EXPECT_EQ(r.action->text(), r.caption);
        if (!r.hint.isEmpty()) {
            EXPECT_EQ(r.action->toolTip(), r.hint);
        }
        EXPECT_EQ(r.action->icon().cacheKey(), m_form.ImageList1[r.image].cacheKey());
        EXPECT_TRUE(HasVisiblePixels(r.action->icon()));
        EXPECT_TRUE(r.action->isEnabled());
        EXPECT_TRUE(r.action->shortcut().isEmpty());
        EXPECT_TRUE(r.action->statusTip().isEmpty()) << "status bar panels stay empty";
    }
}

TEST_F(TForm1Test, ToolBarButtonsAndSeparatorsInOrder)
{
    m_form.show();
    QToolBar *bar = m_form.ToolBar1;
    EXPECT_EQ(bar->height(), 41);
    EXPECT_EQ(bar->iconSize(), QSize(32, 32));
    EXPECT_FALSE(bar->isMovable());
    const QList<QAction *> items = bar->actions();
    ASSERT_EQ(items.size(), 6);
    EXPECT_EQ(items[0], m_form.ActionOpen);
    EXPECT_EQ(items[1], m_form.ActionSave);
    EXPECT_EQ(items[3], m_form.ActionUpdate);
    EXPECT_EQ(items[5], m_form.ActionExit);

    // Each item directly follows the one before: buttons 39x38, gaps 8 wide.
    const int widths[] = {39, 39, 8, 39, 8, 39};
    int x = bar->widgetForAction(items[0])->x();
    for (int i = 0; i < 6; ++i) {
        QWidget *w = bar->widgetForAction(items[i]);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->x(), x) << i;
        EXPECT_EQ(w->width(), widths[i]) << i;
        if (widths[i] == 39) {
            EXPECT_EQ(w->height(), 38) << i;
            EXPECT_NE(qobject_cast<QToolButton *>(w), nullptr);
        }
        x += widths[i];
    }
}

TEST_F(TForm1Test, ToolButtonsShowTheHintOnlyWhereTheActionHasOne)
{
    m_form.show();
    auto tipOf = [this](QAction *action) {
        QWidget *button = m_form.ToolBar1->widgetForAction(action);
        QToolTip::hideText();
        QHelpEvent event(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    // The action without a hint first: a hidden tip lingers for a moment.
    EXPECT_EQ(tipOf(m_form.ActionSave), "");
    EXPECT_EQ(tipOf(m_form.ActionOpen), "Открыть файл данных");
    EXPECT_EQ(tipOf(m_form.ActionExit), "Выход");
    QToolTip::hideText();
}

TEST_F(TForm1Test, MenusHoldTheActionsAndHiddenPrintItems)
{
    const QList<QAction *> top = m_form.MainMenu1->actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->text(), "Файл");
    EXPECT_EQ(top[0]->toolTip(), "Open file with Kov data");
    EXPECT_EQ(top[1]->text(), "?");

    const QList<QAction *> file = m_form.MenuFile->actions();
    ASSERT_EQ(file.size(), 7);
    EXPECT_EQ(file[0], m_form.ActionOpen);
    EXPECT_EQ(file[1], m_form.ActionSave);
    EXPECT_TRUE(file[2]->isSeparator());
    EXPECT_EQ(file[3]->text(), "&Print...");
    EXPECT_EQ(file[4]->text(), "P&rint Setup...");
    for (int i : {2, 3, 4})
        EXPECT_FALSE(file[i]->isVisible()) << i;
    EXPECT_TRUE(file[5]->isSeparator());
    EXPECT_TRUE(file[5]->isVisible());
    EXPECT_EQ(file[6], m_form.ActionExit);
    EXPECT_EQ(m_form.MenuHelp->actions(), QList<QAction *>{m_form.ActionHelp});
}

TEST_F(TForm1Test, StatusBarHasTwoEmptyPanels)
{
    m_form.show();
    EXPECT_EQ(m_form.StatusBar1->height(), 19);
    ASSERT_EQ(m_form.StatusPanels.size(), 2);
    EXPECT_EQ(m_form.StatusPanels[0]->width(), 150);
    EXPECT_EQ(m_form.StatusPanels[1]->width(), 50);
    EXPECT_LT(m_form.StatusPanels[0]->x(), m_form.StatusPanels[1]->x());
    for (QLabel *panel : m_form.StatusPanels)
        EXPECT_TRUE(panel->text().isEmpty());
    EXPECT_TRUE(m_form.StatusBar1->currentMessage().isEmpty());
}

TEST_F(TForm1Test, PagesPanelAndControlsAsLaidOut)
{
    m_form.show();
    QTabWidget *pages = m_form.PageControl1;
    EXPECT_EQ(pages->tabPosition(), QTabWidget::South);
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), "График");
    EXPECT_EQ(pages->tabText(1), "Данные");
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(pages->widget(0), m_form.TabSheet1);
    EXPECT_EQ(pages->widget(1), m_form.TabSheet2);

    EXPECT_EQ(m_form.Panel1->geometry(), QRect(0, 0, m_form.TabSheet1->width(), 33));
    EXPECT_EQ(m_form.RadioGroup1->geometry(), QRect(8, 0, 257, 33));
    EXPECT_EQ(m_form.RadioGroup1->title(), "Отобразить");
    EXPECT_EQ(m_form.RadioGroup1->Items(), (QStringList{"Счет/Размер", "Время/Мощь%"}));
    EXPECT_EQ(m_form.RadioGroup1->Columns(), 2);
    EXPECT_EQ(m_form.RadioGroup1->ItemIndex(), 0);
    // Two columns: the items side by side, both inside the group.
    const QRect item0 = m_form.RadioGroup1->Button(0)->geometry();
    const QRect item1 = m_form.RadioGroup1->Button(1)->geometry();
    EXPECT_EQ(item0.top(), item1.top());
    EXPECT_LT(item0.right(), item1.left());
    EXPECT_TRUE(m_form.RadioGroup1->rect().contains(item1));

    EXPECT_EQ(m_form.Label1->pos(), QPoint(280, 16));
    EXPECT_EQ(m_form.Label1->text(), "Нулевой отсчет");
    EXPECT_EQ(m_form.SpinEditNull->geometry(), QRect(368, 8, 49, 22));
    EXPECT_EQ(m_form.SpinEditNull->MinValue(), 0);
    EXPECT_EQ(m_form.SpinEditNull->MaxValue(), 255);

    ASSERT_NE(m_form.Chart1, nullptr);
    EXPECT_EQ(m_form.Chart1->objectName(), "Chart1");
    EXPECT_EQ(m_form.Chart1->parentWidget(), m_form.TabSheet1);
    EXPECT_EQ(m_form.Chart1->geometry(),
              QRect(0, 33, m_form.TabSheet1->width(), m_form.TabSheet1->height() - 33));

    EXPECT_EQ(m_form.Memo1->parentWidget(), m_form.TabSheet2);
    EXPECT_TRUE(m_form.Memo1->isReadOnly());
    EXPECT_EQ(m_form.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(m_form.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(m_form.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(TForm1Test, StartUpState)
{
    EXPECT_EQ(m_form.DragSeries, nullptr);
    EXPECT_EQ(m_form.DragIndex, 0);
    EXPECT_TRUE(m_form.CurrentFileName.isEmpty());
    EXPECT_EQ(m_form.DisplayMode, 0);
    EXPECT_EQ(m_form.EntryCount, 0);
    for (int i = 0; i < TTable::Size; ++i)
        ASSERT_EQ(m_form.Table[i], 0) << i;
    EXPECT_EQ(m_form.FullScale, 43);
    EXPECT_EQ(m_form.ReverseBase, 64);
    EXPECT_EQ(m_form.SpinEditNull->Value(), 175);
    EXPECT_EQ(m_form.SpinEditNull->text(), "175");
    EXPECT_EQ(m_form.Memo1->toPlainText(), "Необходимо сначала открыть файл данных");
    EXPECT_EQ(m_form.Memo1->Lines().Lines,
              QList<QByteArray>{EncodeWindows1251("Необходимо сначала открыть файл данных")});
}

TEST_F(TForm1Test, DialogsAreBuiltWhenFirstUsedAndThenKept)
{
    // Building them costs start-up time that most runs never need.
    EXPECT_FALSE(m_form.OpenDialog1.IsCreated());
    EXPECT_FALSE(m_form.SaveDialog1.IsCreated());
    TFileDialog *open = m_form.OpenDialog1;
    EXPECT_TRUE(m_form.OpenDialog1.IsCreated());
    EXPECT_FALSE(m_form.SaveDialog1.IsCreated());
    EXPECT_EQ(open->parent(), &m_form);
    EXPECT_EQ(m_form.OpenDialog1.get(), open);
}

TEST_F(TForm1Test, DialogsUseTheFiltersAndOptions)
{
    const QStringList filters{"Include files (*.Inc) (*.inc)", "Hex files (*.hex) (*.hex)",
                              "All files (*.*) (*)"};
    for (TFileDialog *d : {m_form.OpenDialog1.get(), m_form.SaveDialog1.get()}) {
        EXPECT_EQ(d->nameFilters(), filters);
        EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_TRUE(d->isSizeGripEnabled());
        EXPECT_TRUE(d->defaultSuffix().isEmpty());
    }
    EXPECT_EQ(m_form.OpenDialog1->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(m_form.OpenDialog1->fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(m_form.OpenDialog1->DefaultExt(), "*.inc");
    EXPECT_EQ(m_form.SaveDialog1->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(m_form.SaveDialog1->DefaultExt().isEmpty());
}

TEST_F(TForm1Test, OpenReadsTableZeroCountAndText)
{
    const QString path = DataFile("heater.inc");
    m_form.OpenFile(path);
    EXPECT_EQ(m_form.windowTitle(), "Zarnikrev " + path);
    EXPECT_EQ(m_form.CurrentFileName, path);
    EXPECT_EQ(m_form.EntryCount, 7);
    const int expected[] = {0x1a, 0, 0x3f, 0x40, 5, 0, 0xff};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(m_form.Table[i], expected[i]) << i;
    EXPECT_EQ(m_form.SpinEditNull->Value(), 3);
    EXPECT_EQ(m_form.DisplayMode, 1);
    EXPECT_EQ(m_form.Memo1->Lines().Lines.size(), 13);
    EXPECT_FALSE(m_form.Memo1->Lines().TrailingBreak);

    // The view decodes Windows-1251 and shows NUL and unmapped bytes visibly.
    const QStringList shown = m_form.Memo1->toPlainText().split('\n');
    ASSERT_EQ(shown.size(), 13);
    EXPECT_EQ(shown[0], "; Таблица мощности нагревателя");
    EXPECT_EQ(shown[1], QString::fromUtf8("; generated for the board, do not edit\u2400 by hand"));
    EXPECT_EQ(shown[11], QString::fromUtf8("\tretlw 0xff  ; \uFFFD odd byte"));

    m_form.OpenFile(DataFile("ramp.inc"));
    EXPECT_EQ(m_form.EntryCount, 256);
    EXPECT_EQ(m_form.SpinEditNull->Value(), 175);
    EXPECT_EQ(m_form.Table[255], 255);
}

TEST_F(TForm1Test, OpenRecordsTheSelectedView)
{
    m_form.RadioGroup1->SetItemIndex(1);
    EXPECT_EQ(m_form.DisplayMode, 2);
    m_form.RadioGroup1->SetItemIndex(0);
    EXPECT_EQ(m_form.DisplayMode, 1);
    m_form.RadioGroup1->SetItemIndex(1);
    m_form.OpenFile(DataFile("heater.inc"));
    EXPECT_EQ(m_form.DisplayMode, 2);
}

TEST_F(TForm1Test, ZeroCountIsClampedAndZeroWithoutZeros)
{
    QByteArray lines;
    for (int i = 0; i < 513; ++i)
        lines += (i == 300 || i == 512) ? "retlw 0x00\n" : "retlw 0x01\n";
    WriteFile(Temp("high.inc"), lines);
    m_form.OpenFile(Temp("high.inc"));
    EXPECT_EQ(m_form.EntryCount, 513);
    EXPECT_EQ(m_form.SpinEditNull->Value(), 255);

    WriteFile(Temp("none.inc"), "; nothing here\n");
    m_form.OpenFile(Temp("none.inc"));
    EXPECT_EQ(m_form.EntryCount, 0);
    EXPECT_EQ(m_form.SpinEditNull->Value(), 0);
}

TEST_F(TForm1Test, FailedOpenChangesOnlyCaptionAndFileName)
{
    m_form.OpenFile(DataFile("heater.inc"));
    m_form.Table[100] = 0x42; // beyond EntryCount, yet it must survive too
    const TFormSnapshot before(m_form);

    QByteArray tooMany;
    for (int i = 0; i < 514; ++i)
        tooMany += "\tretlw 0x07\r\n";
    WriteFile(Temp("too_many.inc"), tooMany);
    {
        QFile huge(Temp("huge.inc"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(MaxTextBytes + 1));
    }
    struct Row
    {
        QString path;
        QString message;
    };
    const Row rows[] = {
        {Temp("missing.inc"), "Cannot open file " + Temp("missing.inc")},
        {DataFile("bad_literal.inc"), "'0xRE' is not a valid integer value"},
        {Temp("too_many.inc"), "Range check error"},
        {Temp("huge.inc"), "Text exceeds memo capacity"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.path.toStdString());
        EXPECT_EQ(MessageOf([&] { m_form.OpenFile(r.path); }), r.message);
        EXPECT_EQ(m_form.windowTitle(), "Zarnikrev " + r.path);
        EXPECT_EQ(m_form.CurrentFileName, r.path);
        EXPECT_TRUE(TFormSnapshot(m_form) == before);
    }

    // A later update and save still write the old file's own values.
    m_form.ActionUpdateExecute(nullptr);
    m_form.SaveFile(Temp("out.inc"));
    EXPECT_EQ(FileBytes(Temp("out.inc")), FileBytes(DataFile("heater_saved.inc")));
}

TEST_F(TForm1Test, UpdateAndSaveWithoutEditsChangeOnlyTableLinesAndBreaks)
{
    m_form.OpenFile(DataFile("heater.inc"));
    m_form.ActionUpdateExecute(nullptr);
    m_form.SaveFile(Temp("saved.inc"));
    EXPECT_EQ(FileBytes(Temp("saved.inc")), FileBytes(DataFile("heater_saved.inc")));
    EXPECT_EQ(m_form.windowTitle(), "Zarnikrev " + Temp("saved.inc"));
    EXPECT_EQ(m_form.CurrentFileName, Temp("saved.inc"));

    // A text that ended with a line break keeps exactly one, as CR LF.
    m_form.OpenFile(DataFile("ramp.inc"));
    m_form.SaveFile(Temp("ramp_saved.inc"));
    QByteArray expected = FileBytes(DataFile("ramp.inc"));
    expected.replace("\n", "\r\n");
    EXPECT_EQ(FileBytes(Temp("ramp_saved.inc")), expected);
}

TEST_F(TForm1Test, EditsReachTheTextOnlyThroughUpdate)
{
    m_form.OpenFile(DataFile("heater.inc"));
    m_form.Table[0] = 0xAB;
    m_form.Table[1] = 0x07;
    m_form.SaveFile(Temp("not_updated.inc"));
    QByteArray original = FileBytes(DataFile("heater.inc"));
    EXPECT_TRUE(FileBytes(Temp("not_updated.inc")).contains("retlw 0x1a ; max"));

    m_form.ActionUpdateExecute(nullptr);
    EXPECT_EQ(m_form.Memo1->Lines().Lines[5], "\tRETLW 0xAB ; MAX");
    EXPECT_EQ(m_form.Memo1->Lines().Lines[6], "\tRETLW H'07'");
    EXPECT_EQ(m_form.Memo1->toPlainText().split('\n')[5], "\tRETLW 0xAB ; MAX");
    m_form.SaveFile(Temp("updated.inc"));
    QByteArray expected = FileBytes(DataFile("heater_saved.inc"));
    expected.replace("RETLW 0x1A", "RETLW 0xAB").replace("RETLW H'00'", "RETLW H'07'");
    EXPECT_EQ(FileBytes(Temp("updated.inc")), expected);
}

TEST_F(TForm1Test, BeforeAnyOpenUpdateKeepsAndSaveWritesTheInitialLine)
{
    const TTextLines before = m_form.Memo1->Lines();
    m_form.ActionUpdateExecute(nullptr);
    EXPECT_TRUE(m_form.Memo1->Lines() == before);
    m_form.SaveFile(Temp("first"));
    EXPECT_EQ(FileBytes(Temp("first")),
              EncodeWindows1251("Необходимо сначала открыть файл данных") + "\r\n");
    EXPECT_FALSE(QFile::exists(Temp("first.inc")));
}

TEST_F(TForm1Test, FailedSaveKeepsTheNameInTheCaption)
{
    EXPECT_EQ(MessageOf([&] { m_form.SaveFile(m_dir.path()); }),
              "Cannot create file " + m_dir.path());
    EXPECT_EQ(m_form.windowTitle(), "Zarnikrev " + m_dir.path());
    EXPECT_EQ(m_form.CurrentFileName, m_dir.path());
}

TEST_F(TForm1Test, CancelledDialogsChangeNothing)
{
    m_form.OpenFile(DataFile("heater.inc"));
    m_form.SaveFile(Temp("keep.inc"));
    const TFormSnapshot before(m_form);
    const QString caption = m_form.windowTitle();

    OnNextModal<QFileDialog>([](QFileDialog *d) { d->reject(); });
    m_form.ActionOpen->trigger();
    OnNextModal<QFileDialog>([](QFileDialog *d) { d->reject(); });
    m_form.ActionSave->trigger();

    EXPECT_TRUE(TFormSnapshot(m_form) == before);
    EXPECT_EQ(m_form.windowTitle(), caption);
    EXPECT_EQ(m_form.CurrentFileName, Temp("keep.inc"));
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(TForm1Test, FailuresInActionsReachTheUserAsMessages)
{
    OnNextModal<QFileDialog>(
        [](QFileDialog *d) { kov::test::ChooseFile(d, DataFile("bad_literal.inc")); });
    m_form.ActionOpen->trigger();
    EXPECT_EQ(m_messages, QStringList{"'0xRE' is not a valid integer value"});
    EXPECT_EQ(m_form.windowTitle(), "Zarnikrev " + DataFile("bad_literal.inc"));

    // The open dialog lets a name that does not exist through to the open.
    m_messages.clear();
    OnNextModal<QFileDialog>(
        [this](QFileDialog *d) { kov::test::ChooseFile(d, Temp("gone.inc")); });
    m_form.ActionOpen->trigger();
    EXPECT_EQ(m_messages, QStringList{"Cannot open file " + Temp("gone.inc")});
    EXPECT_EQ(m_form.windowTitle(), "Zarnikrev " + Temp("gone.inc"));
    EXPECT_EQ(m_form.CurrentFileName, Temp("gone.inc"));
}

TEST_F(TForm1Test, OpenDialogTriesTheDefaultExtension)
{
    QFile::copy(DataFile("heater.inc"), Temp("table.inc"));
    OnNextModal<QFileDialog>([this](QFileDialog *d) { kov::test::ChooseFile(d, Temp("table")); });
    m_form.ActionOpen->trigger();
    EXPECT_EQ(m_form.CurrentFileName, Temp("table.inc"));
    EXPECT_EQ(m_form.EntryCount, 7);
}

TEST_F(TForm1Test, AboutBoxIsAConfirmationWithOneOkButton)
{
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton *> buttons;
    OnNextModal<QMessageBox>([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons();
        box->button(QMessageBox::Ok)->click();
    });
    m_form.ActionHelp->trigger();
    EXPECT_EQ(title, "Confirm");
    EXPECT_TRUE(text.startsWith("Kov - настройщик V 1.0. ")) << text.toStdString();
    EXPECT_GT(text.size(), QString("Kov - настройщик V 1.0. ").size());
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons.size(), 1);
}

TEST_F(TForm1Test, ChartPopupItemsDoNothingAndExitClosesWithoutAsking)
{
    m_form.show();
    m_form.OpenFile(DataFile("heater.inc"));
    const TFormSnapshot before(m_form);
    const QList<QAction *> items = m_form.PopupMenuChart->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "Stop");
    EXPECT_EQ(items[1]->text(), "Reverce");
    EXPECT_EQ(items[2]->text(), "NO USE");
    for (QAction *item : items)
        item->trigger();
    EXPECT_TRUE(TFormSnapshot(m_form) == before);
    EXPECT_EQ(m_form.Chart1->contextMenuPolicy(), Qt::CustomContextMenu);

    m_form.Table[0] = 1; // unsaved edit
    m_form.ActionExit->trigger();
    EXPECT_FALSE(m_form.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(ToolImageTest, DrawnImagesAreDistinctAndNeverBlank)
{
    QList<QImage> images;
    for (TToolImage which : {TToolImage::Open, TToolImage::Save, TToolImage::Update,
                             TToolImage::About, TToolImage::Exit}) {
        const QIcon icon = DrawnToolImage(which);
        EXPECT_TRUE(HasVisiblePixels(icon)) << static_cast<int>(which);
        const QImage image = icon.pixmap(32, 32).toImage();
        EXPECT_EQ(image.size(), QSize(32, 32));
        EXPECT_FALSE(images.contains(image)) << static_cast<int>(which);
        images.append(image);
        EXPECT_EQ(ToolImage(which).pixmap(32, 32).size(), QSize(32, 32));

        // On a 200 % screen: drawn with twice the pixels, not blown up.
        const QPixmap dense = icon.pixmap(QSize(32, 32), 2.0);
        EXPECT_EQ(dense.size(), QSize(64, 64));
        EXPECT_EQ(dense.devicePixelRatio(), 2.0);
        const QImage blownUp = image.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                   .convertToFormat(QImage::Format_ARGB32);
        EXPECT_NE(dense.toImage().convertToFormat(QImage::Format_ARGB32), blownUp);
    }
}

// A line too long to lay out at once is shown in pieces, each further piece
// after a continuation mark; the text itself keeps the line whole.
TEST_F(TForm1Test, LongLinesAreShownInPiecesAndKeptWhole)
{
    QByteArray longLine(2 * TMemo::MaxShownLineLength + 5, 'x');
    longLine[TMemo::MaxShownLineLength] = 'y';
    WriteFile(Temp("long.inc"), "retlw 0x01\n" + longLine + "\n;end\n");
    m_form.OpenFile(Temp("long.inc"));
    const QString mark(TMemo::ContinuationMark);
    const qsizetype n = TMemo::MaxShownLineLength;
    EXPECT_EQ(m_form.Memo1->toPlainText().split('\n'),
              (QStringList{"retlw 0x01", QString(n, 'x'), mark + "y" + QString(n - 1, 'x'),
                           mark + QString(5, 'x'), ";end"}));
    EXPECT_EQ(m_form.Memo1->Lines().Lines[1], longLine);

    m_form.ActionUpdateExecute(nullptr);
    m_form.SaveFile(Temp("out.inc"));
    EXPECT_EQ(FileBytes(Temp("out.inc")), "RETLW 0x01\r\n" + longLine + "\r\n;end\r\n");
}

// An update that would write a line that does not read back is refused with
// a message naming the line; the text stays as it was.
TEST_F(TForm1Test, RefusedUpdateLeavesTheTextAsItWas)
{
    WriteFile(Temp("quoted.inc"), "retlw 0x01\n'''retlw 0x12'\n");
    m_form.OpenFile(Temp("quoted.inc"));
    ASSERT_EQ(m_form.EntryCount, 2);
    m_form.Table[1] = 0x34;
    const TFormSnapshot before(m_form);
    EXPECT_EQ(MessageOf([&] { m_form.ActionUpdateExecute(nullptr); }),
              "Cannot update line 2 ('''retlw 0x12'): with 0x34 written into it, it would no "
              "longer read back as that value. The text was left unchanged.");
    EXPECT_TRUE(TFormSnapshot(m_form) == before);
}
