#include "pictures.h"

#include <cmath>

using namespace kov;

QImage LineChartPicture()
{
    //! [line]
    TChart chart;
    chart.resize(480, 300);
    chart.Title().SetText({QStringLiteral("Temperature over a day")});
    auto *series = chart.AddSeries(std::make_unique<TLineSeries>());
    series->SetTitle(QStringLiteral("Outside"));
    series->SetSeriesColor(clRed);
    series->LinePen().SetWidth(2);
    for (int hour = 0; hour <= 24; ++hour)
        series->AppendPointXY(hour, 12 + 6 * std::sin((hour - 9) * 3.14159 / 12));
    //! [line]
    return PictureOf(chart);
}
