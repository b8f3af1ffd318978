#pragma once

#include "app/form_controls.h"
#include "app/on_demand.h"
#include "app/table_model.h"
#include "chart/chart.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QString>

#include <cstdint>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTabWidget;
class QToolBar;

namespace kov {

class TLineSeries;

/// The program's only window: tool bar, menus, the chart tab and the text tab.
/// It holds the table and runs the open, update, save, about and exit actions.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // Components, named as on the window.
    QMenuBar *MainMenu1 = nullptr;
    QMenu *MenuFile = nullptr;
    QMenu *MenuHelp = nullptr;
    QAction *MenuPrintSeparator = nullptr;
    QAction *MenuPrint = nullptr;
    QAction *MenuPrintSetup = nullptr;
    QAction *MenuExitSeparator = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QList<QIcon> ImageList1;
    QList<QAction *> ActionList1;
    QAction *ActionOpen = nullptr;
    QAction *ActionSave = nullptr;
    QAction *ActionUpdate = nullptr;
    QAction *ActionHelp = nullptr;
    QAction *ActionExit = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QList<QLabel *> StatusPanels;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QWidget *Panel1 = nullptr;
    TRadioGroup *RadioGroup1 = nullptr;
    QLabel *Label1 = nullptr;
    TSpinEdit *SpinEditNull = nullptr;
    /// The chart of the first tab and its one line series.
    TChart *Chart1 = nullptr;
    TLineSeries *Series1 = nullptr;
    TMemo *Memo1 = nullptr;
    QMenu *PopupMenuChart = nullptr;
    /// The file dialogs, made when first used.
    TOnDemand<TFileDialog> OpenDialog1{[this] { return CreateOpenDialog(); }};
    TOnDemand<TFileDialog> SaveDialog1{[this] { return CreateSaveDialog(); }};

    // State, in the order the table editor keeps it.
    /// Series whose point is being dragged; null when no drag is in progress.
    TChartSeries *DragSeries = nullptr;
    /// Value index of the dragged point.
    int DragIndex = 0;
    /// Name of the file last opened or saved.
    QString CurrentFileName;
    /// 0 before any view was filled, 1 count/size view, 2 time/power view.
    int DisplayMode = 0;
    /// Number of table entries read by the last successful open.
    int EntryCount = 0;
    TTable Table;
    /// Raw steps that make 100 % power.
    int FullScale = 0;
    /// Raw value at which reverse power starts.
    int ReverseBase = 0;

    // Event handlers.
    void FormCreate(QObject *sender);
    void ActionOpenExecute(QObject *sender);
    void ActionUpdateExecute(QObject *sender);
    void ActionSaveExecute(QObject *sender);
    void ActionHelpExecute(QObject *sender);
    void ActionExitExecute(QObject *sender);
    void RadioGroup1Click(QObject *sender);
    void Chart1ClickSeries(TCustomChart *sender, TChartSeries *series, int valueIndex,
                           TMouseButton button, TShiftState shift, int x, int y);
    void Chart1MouseMove(TCustomChart *sender, TShiftState shift, int x, int y);
    void Chart1MouseUp(TCustomChart *sender, TMouseButton button, TShiftState shift, int x, int y);
    void Chart1ContextPopup(QObject *sender);

    /// Makes fileName the current file name and, unless it is empty, the
    /// caption's; returns whether it is not empty.
    bool TakeFileName(const QString &fileName);
    /// The open action after the dialog: takes the chosen name, loads the
    /// file and reads its table. On any failure the text, table, entry count,
    /// zero count and chart stay as they were; caption and CurrentFileName
    /// already show the new name.
    void OpenFile(const QString &fileName);
    /// The save action after the dialog: takes the chosen name and writes the
    /// text view's lines to it. A failed save leaves any old file untouched.
    void SaveFile(const QString &fileName);

    /// Caption shown once a file name has been chosen.
    static QString CaptionFor(const QString &fileName);
    /// The text view's single line before any file is opened.
    static QString InitialMemoLine();
    /// Text of the about box.
    static QString AboutText();

protected:
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    /// The count/size view: one point per entry, raw byte against index.
    void ShowCountSize();
    /// The time/power view: 260 time steps around the zero count, power in percent.
    void ShowTimePower();
    /// The colour of a displayed value in the current view.
    TColor ColorForValue(int v) const;
    /// In the count/size view, v as a table byte ("Range check error" outside
    /// 0 to 255); in any other view no byte, and the table is left alone.
    std::optional<std::uint8_t> ValueToByte(int v) const;
    /// Stores a dragged value in the table when the view maps points to entries.
    void StoreDraggedValue(int v);

    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePages();
    TFileDialog *CreateOpenDialog();
    TFileDialog *CreateSaveDialog();
    /// Once a window manager has framed the window, makes frame and client
    /// together the window's outer size.
    void FitFrameToOuterSize();

    bool m_outerSizeFixed = false;
};

} // namespace kov
