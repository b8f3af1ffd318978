#include "app/main_form.h"

#include "app/application.h"
#include "app/chart_setup.h"
#include "app/cp1251.h"
#include "app/display_modes.h"
#include "app/include_file.h"
#include "app/tool_icons.h"
#include "chart/exceptions.h"
#include "chart/numeric.h"
#include "chart/series/line_series.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace kov {

namespace {

const QString kFileFilter =
    QStringLiteral("Include files (*.Inc)|*.inc|Hex files (*.hex)|*.hex|All files (*.*)|*.*");

constexpr QPoint kFormPosition(242, 210);
constexpr QSize kFormOuterSize(966, 676);
constexpr QSize kToolButtonSize(39, 38);
constexpr int kToolBarHeight = 41;
constexpr int kToolSeparatorWidth = 8;
constexpr int kStatusBarHeight = 19;

// The window's own font; the first family is the classic one, the second a
// metric-compatible stand-in present on the machines we build for.
QFont FormFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial")});
    font.setPointSize(8);
    return font;
}

// The hint of an action is its tool tip only when it has one: Qt would
// otherwise show the caption, so tool buttons ask this instead.
const char *const kHintProperty = "kovHint";

class THintFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto *button = qobject_cast<QToolButton *>(watched);
        const QAction *action = button ? button->defaultAction() : nullptr;
        if (action && action->property(kHintProperty).toString().isEmpty()) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        return false;
    }
};

QAction *MakeAction(QObject *parent, const char *name, const QString &caption, const QString &hint,
                    const QIcon &image)
{
    auto *action = new QAction(image, caption, parent);
    action->setObjectName(QString::fromLatin1(name));
    action->setProperty(kHintProperty, hint);
    if (!hint.isEmpty())
        action->setToolTip(hint);
    // Menus show captions only; the images belong to the tool bar.
    action->setIconVisibleInMenu(false);
    return action;
}

// A gap of fixed width between tool buttons, with an etched line in it.
QWidget *MakeToolSeparator(QWidget *parent, const char *name)
{
    auto *separator = new QFrame(parent);
    separator->setObjectName(QString::fromLatin1(name));
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setFixedSize(kToolSeparatorWidth, kToolButtonSize.height());
    return separator;
}

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zarnik"));
    setFont(FormFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);

    ImageList1 = CreateImageList();
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreatePages();

    move(kFormPosition);
    resize(kFormOuterSize);

    FormCreate(this);
}

TForm1::~TForm1() = default;

void TForm1::CreateActions()
{
    ActionOpen = MakeAction(this, "ActionOpen", QStringLiteral("Открыть..."),
                            QStringLiteral("Открыть файл данных"), ImageList1[0]);
    ActionSave =
        MakeAction(this, "ActionSave", QStringLiteral("Сохранить"), QString(), ImageList1[1]);
    ActionUpdate = MakeAction(this, "ActionUpdate", QStringLiteral("Обновить"),
                              QStringLiteral("Обновить данные"), ImageList1[2]);
    ActionHelp = MakeAction(this, "ActionHelp", QStringLiteral("О..."), QString(), ImageList1[3]);
    ActionExit = MakeAction(this, "ActionExit", QStringLiteral("Выход"), QStringLiteral("Выход"),
                            ImageList1[4]);
    ActionList1 = {ActionOpen, ActionSave, ActionUpdate, ActionHelp, ActionExit};

    // Failures inside a handler reach the user as a message box here; called
    // directly (as tests do) the handlers throw.
    connect(ActionOpen, &QAction::triggered, this,
            [this] { RunGuarded([this] { ActionOpenExecute(ActionOpen); }); });
    connect(ActionSave, &QAction::triggered, this,
            [this] { RunGuarded([this] { ActionSaveExecute(ActionSave); }); });
    connect(ActionUpdate, &QAction::triggered, this,
            [this] { RunGuarded([this] { ActionUpdateExecute(ActionUpdate); }); });
    connect(ActionHelp, &QAction::triggered, this,
            [this] { RunGuarded([this] { ActionHelpExecute(ActionHelp); }); });
    connect(ActionExit, &QAction::triggered, this,
            [this] { RunGuarded([this] { ActionExitExecute(ActionExit); }); });
}

void TForm1::CreateMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);

    MenuFile = new QMenu(QStringLiteral("Файл"), MainMenu1);
    MenuFile->setObjectName(QStringLiteral("MenuFile"));
    MenuFile->setFont(font());
    MenuFile->menuAction()->setToolTip(QStringLiteral("Open file with Kov data"));
    MenuFile->addAction(ActionOpen);
    MenuFile->addAction(ActionSave);
    MenuPrintSeparator = MenuFile->addSeparator();
    MenuPrint = MenuFile->addAction(QStringLiteral("&Print..."));
    MenuPrintSetup = MenuFile->addAction(QStringLiteral("P&rint Setup..."));
    for (QAction *hidden : {MenuPrintSeparator, MenuPrint, MenuPrintSetup})
        hidden->setVisible(false);
    MenuPrint->setObjectName(QStringLiteral("MenuPrint"));
    MenuPrintSetup->setObjectName(QStringLiteral("MenuPrintSetup"));
    MenuExitSeparator = MenuFile->addSeparator();
    MenuFile->addAction(ActionExit);
    MainMenu1->addMenu(MenuFile);

    MenuHelp = new QMenu(QStringLiteral("?"), MainMenu1);
    MenuHelp->setObjectName(QStringLiteral("MenuHelp"));
    MenuHelp->setFont(font());
    MenuHelp->addAction(ActionHelp);
    MainMenu1->addMenu(MenuHelp);
}

void TForm1::CreateToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->toggleViewAction()->setVisible(false);
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setFixedHeight(kToolBarHeight);
    ToolBar1->setContentsMargins(0, 0, 0, 0);
    if (QLayout *layout = ToolBar1->layout()) {
        layout->setSpacing(0);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    auto *hints = new THintFilter(ToolBar1);
    const auto addButton = [this, hints](QAction *action) {
        ToolBar1->addAction(action);
        QWidget *button = ToolBar1->widgetForAction(action);
        button->setFixedSize(kToolButtonSize);
        button->installEventFilter(hints);
    };
    addButton(ActionOpen);
    addButton(ActionSave);
    ToolBar1->addWidget(MakeToolSeparator(ToolBar1, "ToolSeparator1"));
    addButton(ActionUpdate);
    ToolBar1->addWidget(MakeToolSeparator(ToolBar1, "ToolSeparator2"));
    addButton(ActionExit);
}

void TForm1::CreateStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(kStatusBarHeight);
    for (int width : {150, 50}) {
        auto *panel = new QLabel(StatusBar1);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFixedWidth(width);
        StatusBar1->addWidget(panel);
        StatusPanels.append(panel);
    }
    setStatusBar(StatusBar1);
}

void TForm1::CreatePages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    // Both tabs always show in full rather than behind scroll buttons.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->setElideMode(Qt::ElideNone);
    setCentralWidget(PageControl1);

    TabSheet1 = new QWidget(PageControl1);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet1->setAutoFillBackground(true);
    auto *chartPage = new QVBoxLayout(TabSheet1);
    chartPage->setContentsMargins(0, 0, 0, 0);
    chartPage->setSpacing(0);

    Panel1 = new QWidget(TabSheet1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(33);
    chartPage->addWidget(Panel1);

    RadioGroup1 = new TRadioGroup(Panel1);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setTitle(QStringLiteral("Отобразить"));
    RadioGroup1->setGeometry(8, 0, 257, 33);
    RadioGroup1->SetColumns(2);
    RadioGroup1->SetItems({QStringLiteral("Счет/Размер"), QStringLiteral("Время/Мощь%")});
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->OnClick = [this](QObject *sender) {
        RunGuarded([this, sender] { RadioGroup1Click(sender); });
    };

    Label1 = new QLabel(QStringLiteral("Нулевой отсчет"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(280, 16);
    Label1->adjustSize();

    SpinEditNull = new TSpinEdit(Panel1);
    SpinEditNull->setObjectName(QStringLiteral("SpinEditNull"));
    SpinEditNull->setRange(0, 255);
    SpinEditNull->setGeometry(368, 8, 49, 22);

    PopupMenuChart = new QMenu(this);
    PopupMenuChart->setObjectName(QStringLiteral("PopupMenuChart"));
    PopupMenuChart->setFont(font());
    for (const QString &item :
         {QStringLiteral("Stop"), QStringLiteral("Reverce"), QStringLiteral("NO USE")})
        PopupMenuChart->addAction(item);

    // The chart calls these from inside Qt's delivery of mouse and context
    // menu events: failures are caught there and shown after the event.
    Chart1 = CreateChart1(TabSheet1, PopupMenuChart,
                          [this] { RunGuardedInEvent([this] { Chart1ContextPopup(Chart1); }); });
    Series1 = Series1Of(*Chart1);
    TChartMouseHandler &mouse = Chart1->Mouse();
    mouse.OnClickSeries = [this](TCustomChart *sender, TChartSeries *series, int valueIndex,
                                 TMouseButton button, TShiftState shift, int x, int y) {
        RunGuardedInEvent(
            [&] { Chart1ClickSeries(sender, series, valueIndex, button, shift, x, y); });
    };
    mouse.OnMouseMove = [this](TCustomChart *sender, TShiftState shift, int x, int y) {
        RunGuardedInEvent([&] { Chart1MouseMove(sender, shift, x, y); });
    };
    mouse.OnMouseUp = [this](TCustomChart *sender, TMouseButton button, TShiftState shift, int x,
                             int y) {
        RunGuardedInEvent([&] { Chart1MouseUp(sender, button, shift, x, y); });
    };
    chartPage->addWidget(Chart1, 1);
    PageControl1->addTab(TabSheet1, QStringLiteral("График"));

    TabSheet2 = new QWidget(PageControl1);
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet2->setAutoFillBackground(true);
    auto *dataPage = new QVBoxLayout(TabSheet2);
    dataPage->setContentsMargins(0, 0, 0, 0);
    Memo1 = new TMemo(TabSheet2);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    dataPage->addWidget(Memo1);
    TTextLines initial;
    initial.Lines.append(EncodeWindows1251(InitialMemoLine()));
    initial.TrailingBreak = true;
    Memo1->SetLines(initial);
    PageControl1->addTab(TabSheet2, QStringLiteral("Данные"));

    PageControl1->setCurrentIndex(0);
}

TFileDialog *TForm1::CreateOpenDialog()
{
    auto *dialog = new TFileDialog(this, QFileDialog::AcceptOpen, kFileFilter);
    dialog->setObjectName(QStringLiteral("OpenDialog1"));
    dialog->SetDefaultExt(QStringLiteral("*.inc"));
    return dialog;
}

TFileDialog *TForm1::CreateSaveDialog()
{
    auto *dialog = new TFileDialog(this, QFileDialog::AcceptSave, kFileFilter);
    dialog->setObjectName(QStringLiteral("SaveDialog1"));
    // The name is saved exactly as typed, without asking first.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    return dialog;
}

QString TForm1::CaptionFor(const QString &fileName)
{
    return QStringLiteral("Zarnikrev ") + fileName;
}

QString TForm1::InitialMemoLine()
{
    return QStringLiteral("Необходимо сначала открыть файл данных");
}

QString TForm1::AboutText()
{
    return QStringLiteral("Kov - настройщик V 1.0. Copyright (C) 2026 the kov developers");
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    FitFrameToOuterSize();
}

void TForm1::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    FitFrameToOuterSize();
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FitFrameToOuterSize();
}

void TForm1::FitFrameToOuterSize()
{
    // The size is meant for the window with its frame. A window manager frames
    // the window only after it is shown, and the frame's size arrives with the
    // move or resize that framing causes: the first time a frame shows, the
    // inner size gives up the frame's room, once. The position already counts
    // the frame (a top-level window is placed by its frame's corner).
    if (m_outerSizeFixed || !isVisible() || (windowState() & ~Qt::WindowActive) != 0)
        return;
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() <= 0 && frame.height() <= 0)
        return;
    m_outerSizeFixed = true;
    resize(kFormOuterSize - frame);
}

void TForm1::FormCreate(QObject *)
{
    FullScale = 43;
    ReverseBase = 64;
    GiveFirstPoints(*Series1);
    DragSeries = nullptr;
    SpinEditNull->SetValue(175);
}

void TForm1::ActionOpenExecute(QObject *)
{
    if (OpenDialog1->exec() != QDialog::Accepted)
        return;
    OpenFile(OpenDialog1->FileName());
}

bool TForm1::TakeFileName(const QString &fileName)
{
    CurrentFileName = fileName;
    if (CurrentFileName.isEmpty())
        return false;
    setWindowTitle(CaptionFor(CurrentFileName));
    return true;
}

void TForm1::OpenFile(const QString &fileName)
{
    if (!TakeFileName(fileName))
        return;

    // Read and scan completely before anything is replaced, so a failure
    // leaves the text, the table and the chart as they were.
    const TTextLines text = ReadIncludeFile(CurrentFileName);
    const TScanResult scan = ScanTable(text.Lines);

    Memo1->SetLines(text);
    for (std::size_t i = 0; i < scan.Entries.size(); ++i)
        Table[static_cast<int>(i)] = scan.Entries[i];
    EntryCount = static_cast<int>(scan.Entries.size());
    SpinEditNull->SetValue(scan.ZeroCount());
    RadioGroup1Click(nullptr);
}

void TForm1::ActionUpdateExecute(QObject *)
{
    TTextLines text = Memo1->Lines();
    try {
        WriteBackTable(text.Lines, Table);
    } catch (const RangeCheckError &) {
        // The lines before a 514th table line are rewritten all the same; a
        // refused line leaves the text as it was.
        Memo1->SetLines(text);
        throw;
    }
    Memo1->SetLines(text);
}

void TForm1::ActionSaveExecute(QObject *)
{
    if (SaveDialog1->exec() != QDialog::Accepted)
        return;
    SaveFile(SaveDialog1->FileName());
}

void TForm1::SaveFile(const QString &fileName)
{
    if (!TakeFileName(fileName))
        return;
    WriteIncludeFile(CurrentFileName, Memo1->Lines());
}

void TForm1::ActionHelpExecute(QObject *)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), AboutText(), QMessageBox::Ok,
                    this);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.exec();
}

void TForm1::ActionExitExecute(QObject *)
{
    close();
}

void TForm1::RadioGroup1Click(QObject *)
{
    if (RadioGroup1->ItemIndex() == 1) {
        ShowTimePower();
        Chart1->LeftAxis()->Title().SetCaption(QStringLiteral("Мощность %"));
    } else {
        ShowCountSize();
        Chart1->LeftAxis()->Title().SetCaption(QStringLiteral("Размер"));
    }
}

void TForm1::ShowCountSize()
{
    Series1->RemoveAllPoints();
    DisplayMode = dmCountSize;
    for (int i = 0; i < EntryCount; ++i) {
        const int v = Table[i];
        const int index = Series1->AppendPoint(v, QString::number(i), clDefault);
        Series1->SetPointColor(index, ColorForValue(v));
    }
}

void TForm1::ShowTimePower()
{
    DisplayMode = dmTimePower;
    Series1->RemoveAllPoints();
    const QLocale locale = QLocale::system();
    for (int j = 0; j < kTimeSteps; ++j)
        Series1->AppendNullPoint(TimeLabel(j, locale));

    std::vector<std::uint8_t> entries(static_cast<std::size_t>(EntryCount));
    for (int i = 0; i < EntryCount; ++i)
        entries[static_cast<std::size_t>(i)] = Table[i];
    for (const TimePowerEntry &entry :
         TimePowerEntries(entries, SpinEditNull->Value(), FullScale, ReverseBase)) {
        Series1->SetPointY(entry.Point, entry.Percent);
        Series1->SetPointColor(entry.Point, entry.Color);
    }
}

TColor TForm1::ColorForValue(int v) const
{
    return kov::ColorForValue(DisplayMode, v);
}

std::optional<std::uint8_t> TForm1::ValueToByte(int v) const
{
    if (DisplayMode != dmCountSize)
        return std::nullopt;
    if (v < 0 || v > 255)
        throw RangeCheckError();
    return static_cast<std::uint8_t>(v);
}

void TForm1::StoreDraggedValue(int v)
{
    if (const std::optional<std::uint8_t> byte = ValueToByte(v))
        Table[DragIndex] = *byte;
}

void TForm1::Chart1ClickSeries(TCustomChart *, TChartSeries *series, int valueIndex, TMouseButton,
                               TShiftState, int x, int y)
{
    if (DisplayMode == dmTimePower)
        return;
    DragSeries = series;
    DragIndex = valueIndex;
    // A press on the line between two points picks the earlier point, where
    // the value under the mouse can lie far from the point's own. Only a
    // press on the marker stores it, so the table never holds a value the
    // chart does not show; otherwise the entry waits for the first move.
    const auto *custom = dynamic_cast<const TCustomSeries *>(series);
    if (custom && !custom->MarkerHit(valueIndex, series->PointScreenX(valueIndex),
                                     series->PointScreenY(valueIndex), x, y))
        return;
    // The press need only land within the marker, so the value under the
    // mouse can lie a unit beyond 0..255 at the lowest or highest point. The
    // point is picked all the same and its entry waits for the first move
    // within range, instead of failing in the middle of the gesture.
    const int v = TruncToInt(series->ScreenYToValue(y));
    if (DisplayMode == dmCountSize && (v < 0 || v > 255))
        return;
    StoreDraggedValue(v);
}

void TForm1::Chart1MouseMove(TCustomChart *, TShiftState shift, int, int y)
{
    if (!DragSeries)
        return;
    // A move with no button held comes after a release the chart never saw
    // (it went to a popup or another window): the drag is over, and the
    // point must not follow a pointer the user is not holding.
    if (!(shift & (ssLeft | ssRight | ssMiddle))) {
        DragSeries = nullptr;
        return;
    }
    // A view change while the button is held can leave fewer points than the
    // picked index; such a point no longer exists to be dragged.
    if (DragIndex < 0 || DragIndex >= DragSeries->PointCount())
        return;
    const int v = TruncToInt(DragSeries->ScreenYToValue(y));
    const bool inRange =
        DisplayMode == dmCountSize ? (v >= 0 && v <= 255) : (v >= -100 && v <= 100);
    if (!inRange)
        return;
    DragSeries->SetPointY(DragIndex, v);
    DragSeries->SetPointColor(DragIndex, ColorForValue(v));
    StoreDraggedValue(v);
}

void TForm1::Chart1MouseUp(TCustomChart *, TMouseButton, TShiftState, int, int)
{
    DragSeries = nullptr;
}

void TForm1::Chart1ContextPopup(QObject *)
{
    // Nothing to do: the chart's own popup menu opens as usual.
}

} // namespace kov
