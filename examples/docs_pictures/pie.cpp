#include "pictures.h"

using namespace kov;

QImage PiePicture()
{
    //! [pie]
    TChart chart;
    chart.resize(480, 300);
    chart.Title().SetText({QStringLiteral("Energy sources")});
    auto *pie = chart.AddSeries(std::make_unique<TPieSeries>());
    pie->AppendPoint(38, QStringLiteral("Wind"));
    pie->AppendPoint(24, QStringLiteral("Solar"));
    pie->AppendPoint(21, QStringLiteral("Hydro"));
    pie->AppendPoint(17, QStringLiteral("Gas"));
    pie->SetExplodeBiggest(10);
    //! [pie]
    return PictureOf(chart);
}
