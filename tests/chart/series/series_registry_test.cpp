#include "chart/exceptions.h"
#include "chart/functions/series_function.h"
#include "chart/series/area_series.h"
#include "chart/series/bar_series.h"
#include "chart/series/fast_line_series.h"
#include "chart/series/line_series.h"
#include "chart/series/pie_series.h"
#include "chart/series/series_registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

using namespace kov;

namespace {

class TTestSeries : public TLineSeries
{
};

/// The class name of an object's dynamic type, without its namespace.
template <class T> QString ClassNameOf(const T &object)
{
    int status = 0;
    char *name = abi::__cxa_demangle(typeid(object).name(), nullptr, nullptr, &status);
    QString text = QString::fromLatin1(name ? name : typeid(object).name());
    std::free(name);
    return text.mid(text.lastIndexOf(QLatin1Char(':')) + 1);
}

QString ThrownMessage(const std::function<void()> &action)
{
    try {
        action();
    } catch (const ChartException &e) {
        return e.Message();
    }
    return QStringLiteral("nothing thrown");
}

} // namespace

// Every entry creates a series of its own class; a function entry a line
// series with that function attached.
TEST(TSeriesRegistry, EveryRegisteredNameCreatesItsType)
{
    const TSeriesRegistry &registry = TSeriesRegistry::Instance();
    EXPECT_EQ(registry.Pages(), (QStringList{"Standard", "Functions"}));
    EXPECT_EQ(registry.PageEntries("Functions").size(), 7u);
    ASSERT_FALSE(registry.Entries().empty());
    for (const TSeriesRegistration &entry : registry.Entries()) {
        const std::unique_ptr<TChartSeries> series = registry.CreateSeries(entry.ClassName);
        ASSERT_NE(series, nullptr) << entry.ClassName.toStdString();
        EXPECT_FALSE(entry.DisplayName.isEmpty());
        if (entry.IsFunction()) {
            EXPECT_EQ(ClassNameOf(*series), "TLineSeries");
            ASSERT_NE(series->Function(), nullptr);
            EXPECT_EQ(series->Function()->ParentSeries(), series.get());
            EXPECT_EQ(ClassNameOf(*series->Function()), entry.ClassName);
        } else {
            EXPECT_EQ(series->Function(), nullptr);
            EXPECT_EQ(ClassNameOf(*series), entry.ClassName);
        }
    }
}

TEST(TSeriesRegistry, ProgramsRegisterAndUnregisterTheirOwn)
{
    TSeriesRegistry &registry = TSeriesRegistry::Instance();
    RegisterSeries<TTestSeries>(registry, "TTestSeries", "Test", "Mine");
    EXPECT_EQ(registry.Pages().last(), "Mine");
    EXPECT_NE(dynamic_cast<TTestSeries *>(registry.CreateSeries("TTestSeries").get()), nullptr);
    EXPECT_EQ(ThrownMessage([&] { RegisterSeries<TLineSeries>(registry, "TTestSeries", "Again"); }),
              "Series class TTestSeries is already registered");
    EXPECT_EQ(ThrownMessage([&] {
                  registry.Register({"TEmpty", "Empty", "Mine", {}, {}});
              }),
              "Series class must have a name and a factory");

    EXPECT_TRUE(registry.Unregister("TTestSeries"));
    EXPECT_FALSE(registry.Unregister("TTestSeries"));
    EXPECT_EQ(registry.Find("TTestSeries"), nullptr);
    EXPECT_FALSE(registry.Pages().contains("Mine"));
    EXPECT_EQ(ThrownMessage([&] { registry.CreateSeries("TTestSeries"); }),
              "Series class TTestSeries is not registered");
}

// Switching a series' type keeps its points in their order and looks as the
// new type should: lists are copied by role, a pie colours its slices.
TEST(TSeriesRegistry, SwitchingTypeKeepsThePointsOrder)
{
    const QStringList labels{"c", "e", "a", "d", "f", "b"};
    const std::vector<double> values{3, 5, 1, 4, 6, 2};
    const QStringList sources{"TBarSeries", "TLineSeries", "TAreaSeries", "TFastLineSeries",
                              "THorizBarSeries"};
    for (const QString &from : sources) {
        for (const QString &to :
             {QStringLiteral("THorizBarSeries"), QStringLiteral("TBarSeries")}) {
            std::unique_ptr<TChartSeries> source = TSeriesRegistry::Instance().CreateSeries(from);
            for (int i = 0; i < labels.size(); ++i)
                source->AppendPoint(values[size_t(i)], labels[i]);
            std::unique_ptr<TChartSeries> target = TSeriesRegistry::Instance().CreateSeries(to);
            target->CopyFrom(*source);
            target->CopyAllPointsFrom(source.get());
            ASSERT_EQ(target->PointCount(), 6);
            for (int i = 0; i < 6; ++i) {
                EXPECT_EQ(target->PointLabel(i), labels[i]) << qPrintable(from + " " + to) << i;
                EXPECT_EQ(target->MainValueList()->ValueAt(i), values[size_t(i)]);
            }
        }
    }
    TLineSeries line;
    line.AppendPoint(1);
    line.AppendPoint(2);
    TPieSeries pie;
    pie.CopyFrom(line);
    pie.CopyAllPointsFrom(&line);
    EXPECT_TRUE(pie.ColorEachPoint());
    EXPECT_NE(pie.EffectivePointColor(0), pie.EffectivePointColor(1));
}
