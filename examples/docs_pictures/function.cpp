#include "pictures.h"

using namespace kov;

QImage FunctionPicture()
{
    //! [function]
    TChart chart;
    chart.resize(480, 300);
    chart.Title().SetText({QStringLiteral("Daily visitors and their weekly average")});
    auto *visitors = chart.AddSeries(std::make_unique<TLineSeries>());
    visitors->SetTitle(QStringLiteral("Visitors"));
    const double counts[] = {120, 135, 128, 160, 210, 260, 240, 130, 142, 138,
                             170, 225, 270, 255, 140, 150, 149, 182, 240, 285};
    for (double count : counts)
        visitors->AppendPoint(count);

    // A series whose points an average function derives from the visitors.
    auto average = std::make_unique<TLineSeries>();
    average->SetTitle(QStringLiteral("Weekly average"));
    average->SetSeriesColor(clBlue);
    average->LinePen().SetWidth(2);
    auto function = std::make_unique<TAverageFunction>();
    function->SetPeriod(7);
    average->AttachFunction(std::move(function));
    average->SetDataSource(visitors);
    chart.AddSeries(std::move(average));
    //! [function]
    return PictureOf(chart);
}
