#include "pictures.h"

using namespace kov;

QImage BarsPicture()
{
    //! [bars]
    TChart chart;
    chart.resize(480, 300);
    chart.Title().SetText({QStringLiteral("Sales by quarter")});
    const double north[] = {42, 55, 61, 48};
    const double south[] = {30, 38, 52, 57};
    auto *first = chart.AddSeries(std::make_unique<TBarSeries>());
    first->SetTitle(QStringLiteral("North"));
    auto *second = chart.AddSeries(std::make_unique<TBarSeries>());
    second->SetTitle(QStringLiteral("South"));
    for (int q = 0; q < 4; ++q) {
        first->AppendPoint(north[q], QStringLiteral("Q%1").arg(q + 1));
        second->AppendPoint(south[q], QStringLiteral("Q%1").arg(q + 1));
    }
    //! [bars]
    return PictureOf(chart);
}
