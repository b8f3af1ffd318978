// The chart engine on its own, outside the table editor: a window with one
// chart of two line series whose legend, marks and 3D view can be switched
// from a tool bar, zoomed with a left drag and panned with a right drag; or,
// with --png, the picture of one named scene written to a file without any
// display.
#include "demo_scenes.h"

#include "chart/chart.h"
#include "chart/gallery/series_gallery.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTextStream>
#include <QTimer>
#include <QToolBar>
#include <cstdio>

using namespace kov;

namespace {

constexpr QSize PictureSize(800, 500);

QString Usage()
{
    QString text;
    QTextStream out(&text);
    out << "Usage: chart_demo [--png FILE [--scene NAME]] [--help]\n"
           "\n"
           "Without options, opens a window with the demo chart: left drag to zoom\n"
           "(drag up and left to undo), right drag to pan; the tool bar switches the\n"
           "scene and adds a series of any registered type from the series gallery.\n"
           "\n"
           "  --png FILE    draw the scene into FILE as an 800 x 500 PNG and exit\n"
           "                (no display needed)\n"
           "  --scene NAME  the scene to draw (default: "
        << DemoScenes().front().Name
        << ")\n"
           "  --help        show this text\n"
           "\n"
           "Scenes:\n";
    for (const TDemoScene &scene : DemoScenes())
        out << "  " << scene.Name.leftJustified(15) << scene.Description << "\n";
    return text;
}

void Print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

/// The demo window: the chart and a scene chooser.
class DemoWindow : public QMainWindow
{
public:
    DemoWindow()
    {
        setWindowTitle(QStringLiteral("Chart engine demo"));
        auto *bar = addToolBar(QStringLiteral("Scene"));
        bar->addWidget(new QLabel(QStringLiteral(" Scene: "), bar));
        m_scenes = new QComboBox(bar);
        for (const TDemoScene &scene : DemoScenes())
            m_scenes->addItem(scene.Name, scene.Description);
        bar->addWidget(m_scenes);
        QAction *reset = bar->addAction(QStringLiteral("Undo zoom"));
        connect(reset, &QAction::triggered, this, [this] {
            if (m_chart)
                m_chart->ResetZoom();
        });
        // The gallery of every registered series type; the chosen one joins
        // the chart, a function fed from the demo's two series.
        QAction *add = bar->addAction(QStringLiteral("Add series…"));
        connect(add, &QAction::triggered, this, &DemoWindow::AddFromGallery);
        connect(m_scenes, &QComboBox::currentIndexChanged, this,
                [this](int) { ShowScene(m_scenes->currentText()); });
        resize(PictureSize + QSize(0, 60));
        ShowScene(m_scenes->currentText());
    }

private:
    void ShowScene(const QString &name)
    {
        // Each scene starts from a fresh chart, so nothing of the last one
        // stays behind.
        auto *chart = new TChart(this);
        chart->SetAnimatedZoom(true);
        BuildDemoChart(*chart);
        setCentralWidget(chart); // frees the previous chart
        m_chart = chart;
        chart->show();
        ApplyDemoScene(*chart, name, [chart] { chart->repaint(); });
        statusBar()->showMessage(m_scenes->currentData().toString());
        // The gallery scene is the gallery itself, opened once the chart
        // shows.
        if (name == QLatin1String("gallery"))
            QTimer::singleShot(0, this, &DemoWindow::AddFromGallery);
    }

    void AddFromGallery()
    {
        const QString className = TSeriesGalleryDialog::ChooseSeriesType(this);
        if (!className.isEmpty() && m_chart)
            AddDemoSeries(*m_chart, className);
    }

    QComboBox *m_scenes = nullptr;
    TChart *m_chart = nullptr;
};

} // namespace

int main(int argc, char **argv)
{
    QString pngFile;
    QString scene = DemoScenes().front().Name;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            Print(stdout, Usage());
            return 0;
        }
        if ((arg == QLatin1String("--png") || arg == QLatin1String("--scene")) && i + 1 < argc) {
            (arg == QLatin1String("--png") ? pngFile : scene) = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        Print(stderr,
              QStringLiteral("chart_demo: unknown or incomplete option %1\n\n").arg(arg) + Usage());
        return 2;
    }
    if (!IsDemoScene(scene)) {
        Print(stderr, QStringLiteral("chart_demo: no scene named %1\n\n").arg(scene) + Usage());
        return 2;
    }

    // A picture needs no display: draw on the offscreen platform unless the
    // caller chose one.
    if (!pngFile.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    if (!pngFile.isEmpty()) {
        const QImage image = RenderDemoScene(scene, PictureSize);
        if (image.isNull() || !image.save(pngFile, "PNG")) {
            Print(stderr, QStringLiteral("chart_demo: cannot write %1\n").arg(pngFile));
            return 1;
        }
        return 0;
    }

    DemoWindow window;
    window.show();
    return app.exec();
}
