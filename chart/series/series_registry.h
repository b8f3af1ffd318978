#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// The series types and functions a program can create by name: each entry
// holds the class name, the name a user sees, the gallery page it is shown
// on and a factory. The engine registers its own types the first time the
// registry is used; a program registers its own beside them.
namespace kov {

class TChartSeries;
class TSeriesFunction;

/// One registered series type or function.
struct TSeriesRegistration
{
    /// Unique key, the class name ("TLineSeries", "TAverageFunction").
    QString ClassName;
    /// What the gallery shows under its picture ("Line", "Average").
    QString DisplayName;
    /// The gallery page ("Standard", "Functions").
    QString Page;
    /// Creates a series of the type; for a function, the series that holds
    /// its result.
    std::function<std::unique_ptr<TChartSeries>()> CreateSeries;
    /// Creates the function; empty for a plain series type.
    std::function<std::unique_ptr<TSeriesFunction>()> CreateFunction;

    bool IsFunction() const { return static_cast<bool>(CreateFunction); }
};

/// Gallery pages of the engine's own entries.
inline QString StandardGalleryPage()
{
    return QStringLiteral("Standard");
}
inline QString FunctionsGalleryPage()
{
    return QStringLiteral("Functions");
}

/// The registered series types and functions, in registration order.
class TSeriesRegistry
{
public:
    /// The program's registry, holding the engine's own entries from its
    /// first use on.
    static TSeriesRegistry &Instance();

    /// Adds an entry. ChartException "Series class %1 is already registered"
    /// when the class name is taken, "Series class must have a name and a
    /// factory" when either is missing.
    void Register(TSeriesRegistration registration);
    /// Removes the entry of that class name; false when there is none.
    bool Unregister(const QString &className);
    /// The entry of that class name, or null.
    const TSeriesRegistration *Find(const QString &className) const;
    /// Every entry, in registration order.
    const std::vector<TSeriesRegistration> &Entries() const { return m_entries; }
    /// The entries of one gallery page, in registration order.
    std::vector<const TSeriesRegistration *> PageEntries(const QString &page) const;
    /// The pages, in the order of their first entry.
    QStringList Pages() const;

    /// A ready series of the registered class: a function entry gives its
    /// series with the function attached. ChartException "Series class %1 is
    /// not registered" for an unknown name.
    std::unique_ptr<TChartSeries> CreateSeries(const QString &className) const;

private:
    std::vector<TSeriesRegistration> m_entries;
};

/// Registers series type T (default-constructible) under className.
template <class T>
void RegisterSeries(TSeriesRegistry &registry, const QString &className, const QString &displayName,
                    const QString &page = StandardGalleryPage())
{
    registry.Register({className,
                       displayName,
                       page,
                       []() -> std::unique_ptr<TChartSeries> { return std::make_unique<T>(); },
                       {}});
}

/// Registers function F under className, its result held by a series of
/// type Host.
template <class F, class Host>
void RegisterFunction(TSeriesRegistry &registry, const QString &className,
                      const QString &displayName, const QString &page = FunctionsGalleryPage())
{
    registry.Register({className, displayName, page,
                       []() -> std::unique_ptr<TChartSeries> { return std::make_unique<Host>(); },
                       []() -> std::unique_ptr<TSeriesFunction> { return std::make_unique<F>(); }});
}

/// The engine's own series types and functions (TSeriesRegistry::Instance
/// registers them on first use).
void RegisterEngineSeries(TSeriesRegistry &registry);

} // namespace kov
