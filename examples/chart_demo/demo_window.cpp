#include "demo_window.h"

#include "demo_scenes.h"

#include "chart/chart.h"
#include "chart/gallery/series_gallery.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace kov {

DemoWindow::DemoWindow()
{
    setWindowTitle(QStringLiteral("Chart engine demo"));
    // The window offers no menu of its own: the one the toolkit puts on the
    // tool bar and the window would hide the tool bar for good, and a right
    // drag that pans the chart and ends outside it would open it. The tool
    // bar stays docked for the same reason.
    setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar = addToolBar(QStringLiteral("Scene"));
    m_toolBar->setMovable(false);
    m_toolBar->toggleViewAction()->setEnabled(false);
    m_toolBar->addWidget(new QLabel(QStringLiteral(" Scene: "), m_toolBar));
    m_scenes = new QComboBox(m_toolBar);
    for (const TDemoScene &scene : DemoScenes())
        m_scenes->addItem(scene.Name, scene.Description);
    m_toolBar->addWidget(m_scenes);
    QAction *reset = m_toolBar->addAction(QStringLiteral("Undo zoom"));
    connect(reset, &QAction::triggered, this, [this] {
        if (m_chart)
            m_chart->ResetZoom();
    });
    // The gallery of every registered series type; the chosen one joins the
    // chart, a function fed from the demo's two series.
    m_addSeries = m_toolBar->addAction(QStringLiteral("Add series…"));
    connect(m_addSeries, &QAction::triggered, this, &DemoWindow::AddFromGallery);
    connect(m_scenes, &QComboBox::currentIndexChanged, this,
            [this](int) { ShowScene(m_scenes->currentText()); });
    resize(QSize(800, 560));
    ShowScene(m_scenes->currentText());
}

void DemoWindow::ShowScene(const QString &name)
{
    // Each scene starts from a fresh chart, so nothing of the last one stays
    // behind.
    auto *chart = new TChart(this);
    chart->SetAnimatedZoom(true);
    BuildDemoChart(*chart);
    setCentralWidget(chart); // frees the previous chart
    m_chart = chart;
    chart->show();
    ApplyDemoScene(*chart, name, [chart] { chart->repaint(); });
    statusBar()->showMessage(m_scenes->currentData().toString());
    // The gallery scene is the gallery itself, opened once the chart shows.
    if (name == QLatin1String("gallery"))
        QTimer::singleShot(0, this, &DemoWindow::AddFromGallery);
}

void DemoWindow::AddFromGallery()
{
    if (!m_chart)
        return;
    TSeriesGalleryDialog dialog(this);
    dialog.View3DBox()->setChecked(m_chart->View3D());
    if (dialog.exec() != QDialog::Accepted || !m_chart)
        return;
    if (AddDemoSeries(*m_chart, dialog.ChosenClassName()))
        m_chart->SetView3D(dialog.View3DBox()->isChecked());
}

} // namespace kov
