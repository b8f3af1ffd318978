// Writes the pictures of the reference pages' front page into a folder:
// each drawn by the very code the page shows.
//   docs_pictures FOLDER
#include "pictures.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>

QImage PictureOf(kov::TChart &chart)
{
    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.DrawToCanvas(&painter, kov::TRect{0, 0, image.width(), image.height()});
    return image;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("Usage: docs_pictures FOLDER\n", stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const struct
    {
        const char *File;
        QImage (*Draw)();
    } pictures[] = {{"line_chart.png", LineChartPicture},
                    {"bars.png", BarsPicture},
                    {"pie.png", PiePicture},
                    {"function.png", FunctionPicture},
                    {"gallery.png", GalleryPicture}};
    for (const auto &picture : pictures) {
        const QString file = folder.filePath(QString::fromLatin1(picture.File));
        if (!picture.Draw().save(file, "PNG")) {
            std::fprintf(stderr, "docs_pictures: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
