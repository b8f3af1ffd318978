// The chart engine on its own, outside the table editor: a window with one
// chart of two line series whose legend, marks and 3D view can be switched
// from a tool bar, zoomed with a left drag and panned with a right drag; or,
// with --png, the picture of one named scene written to a file without any
// display.
#include "demo_scenes.h"
#include "demo_window.h"

#include <QApplication>
#include <QTextStream>
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
