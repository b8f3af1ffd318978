// Draws a chart with the installed chart engine into a PNG file without a
// display: a red line over a blue bar series on a white background.
//   installed_use FILE
#include <KovChart>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <memory>

using namespace kov;

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("Usage: installed_use FILE.png\n", stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TChart chart;
    chart.resize(400, 300);
    chart.Title().SetText({QStringLiteral("Installed")});
    chart.Legend().SetVisible(false);
    auto *bars = chart.AddSeries(std::make_unique<TBarSeries>());
    bars->SetSeriesColor(clBlue);
    auto *line = chart.AddSeries(std::make_unique<TLineSeries>());
    line->SetSeriesColor(clRed);
    line->LinePen().SetWidth(3);
    for (int i = 0; i < 8; ++i) {
        bars->AppendPoint(10 + i);
        line->AppendPoint(20 - i);
    }

    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.DrawToCanvas(&painter, TRect{0, 0, image.width(), image.height()});
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
