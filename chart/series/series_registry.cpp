#include "chart/series/series_registry.h"

#include "chart/exceptions.h"
#include "chart/functions/series_function.h"
#include "chart/series/area_series.h"
#include "chart/series/bar_series.h"
#include "chart/series/fast_line_series.h"
#include "chart/series/line_series.h"
#include "chart/series/pie_series.h"
#include "chart/series/series.h"

#include <algorithm>

namespace kov {

void RegisterEngineSeries(TSeriesRegistry &registry)
{
    // One line per type, in the order the gallery shows them.
    RegisterSeries<TLineSeries>(registry, QStringLiteral("TLineSeries"), QStringLiteral("Line"));
    RegisterSeries<TPointSeries>(registry, QStringLiteral("TPointSeries"), QStringLiteral("Point"));
    RegisterSeries<TAreaSeries>(registry, QStringLiteral("TAreaSeries"), QStringLiteral("Area"));
    RegisterSeries<TBarSeries>(registry, QStringLiteral("TBarSeries"), QStringLiteral("Bar"));
    RegisterSeries<THorizBarSeries>(registry, QStringLiteral("THorizBarSeries"),
                                    QStringLiteral("Horizontal bar"));
    RegisterSeries<TPieSeries>(registry, QStringLiteral("TPieSeries"), QStringLiteral("Pie"));
    RegisterSeries<TFastLineSeries>(registry, QStringLiteral("TFastLineSeries"),
                                    QStringLiteral("Fast line"));

    RegisterFunction<TAddFunction, TLineSeries>(registry, QStringLiteral("TAddFunction"),
                                                QStringLiteral("Add"));
    RegisterFunction<TSubtractFunction, TLineSeries>(registry, QStringLiteral("TSubtractFunction"),
                                                     QStringLiteral("Subtract"));
    RegisterFunction<TMultiplyFunction, TLineSeries>(registry, QStringLiteral("TMultiplyFunction"),
                                                     QStringLiteral("Multiply"));
    RegisterFunction<TDivideFunction, TLineSeries>(registry, QStringLiteral("TDivideFunction"),
                                                   QStringLiteral("Divide"));
    RegisterFunction<THighFunction, TLineSeries>(registry, QStringLiteral("THighFunction"),
                                                 QStringLiteral("High"));
    RegisterFunction<TLowFunction, TLineSeries>(registry, QStringLiteral("TLowFunction"),
                                                QStringLiteral("Low"));
    RegisterFunction<TAverageFunction, TLineSeries>(registry, QStringLiteral("TAverageFunction"),
                                                    QStringLiteral("Average"));
}

TSeriesRegistry &TSeriesRegistry::Instance()
{
    static TSeriesRegistry registry = [] {
        TSeriesRegistry r;
        RegisterEngineSeries(r);
        return r;
    }();
    return registry;
}

void TSeriesRegistry::Register(TSeriesRegistration registration)
{
    if (registration.ClassName.isEmpty() || !registration.CreateSeries)
        throw ChartException(QStringLiteral("Series class must have a name and a factory"));
    if (Find(registration.ClassName))
        throw ChartException(
            QStringLiteral("Series class %1 is already registered").arg(registration.ClassName));
    m_entries.push_back(std::move(registration));
}

bool TSeriesRegistry::Unregister(const QString &className)
{
    const auto it =
        std::find_if(m_entries.begin(), m_entries.end(),
                     [&](const TSeriesRegistration &r) { return r.ClassName == className; });
    if (it == m_entries.end())
        return false;
    m_entries.erase(it);
    return true;
}

const TSeriesRegistration *TSeriesRegistry::Find(const QString &className) const
{
    for (const TSeriesRegistration &r : m_entries)
        if (r.ClassName == className)
            return &r;
    return nullptr;
}

std::vector<const TSeriesRegistration *> TSeriesRegistry::PageEntries(const QString &page) const
{
    std::vector<const TSeriesRegistration *> out;
    for (const TSeriesRegistration &r : m_entries)
        if (r.Page == page)
            out.push_back(&r);
    return out;
}

QStringList TSeriesRegistry::Pages() const
{
    QStringList pages;
    for (const TSeriesRegistration &r : m_entries)
        if (!pages.contains(r.Page))
            pages.append(r.Page);
    return pages;
}

std::unique_ptr<TChartSeries> TSeriesRegistry::CreateSeries(const QString &className) const
{
    const TSeriesRegistration *r = Find(className);
    if (!r)
        throw ChartException(QStringLiteral("Series class %1 is not registered").arg(className));
    std::unique_ptr<TChartSeries> series = r->CreateSeries();
    if (r->CreateFunction)
        series->AttachFunction(r->CreateFunction());
    return series;
}

} // namespace kov
