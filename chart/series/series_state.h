#pragma once

#include "chart/color.h"
#include "chart/format/number_format.h"
#include "chart/kovchart_export.h"
#include "chart/series/series_marks.h"
#include "chart/series/series_owner.h"
#include "chart/series/series_paint_context.h"
#include "chart/series/series_settings.h"
#include "chart/values/value_list.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QRandomGenerator;

// What a series holds: its settings, value lists, colours and labels, its
// links to sources and dependents, and what it has heard of them. TChartSeries
// keeps it as a private base, so its members read as the series' own.
namespace kov {

class TChartSeries;
class TCustomChartAxis;
class TSeriesFunction;

/// The state of a series: settings, value lists, colours, labels, links to
/// sources and dependents. TChartSeries is its only user.
struct KOVCHART_EXPORT TSeriesState
{
    /// Marks that report their changes to series.
    explicit TSeriesState(TChartSeries *series);
    ~TSeriesState();
    TSeriesState(const TSeriesState &) = delete;
    TSeriesState &operator=(const TSeriesState &) = delete;

    /// What the series has heard of its sources' changes and not yet followed.
    struct THeardChange
    {
        enum TKind {
            /// Nothing.
            hcNone,
            /// Points appended at the end (a plain copy: point First only).
            hcAppended,
            /// Values, positions or null states of points First..Last.
            hcChanged,
            /// Point First deleted (a plain copy in its source's order).
            hcDeleted,
            /// Anything else: fill anew.
            hcFull
        } Kind = hcNone;
        int First = 0;
        int Last = 0;
    };

    /// The axes the series is drawn against now.
    TSeriesAxes ResolvedAxes() const { return {m_resolvedHorizAxis, m_resolvedVertAxis}; }
    /// ListIndexError when index is not a point.
    void CheckPointIndex(int index) const;
    void AddLinkedSeries(TChartSeries *series);
    void DropLinkedSeries(TChartSeries *series);

    TSeriesSettings m_settings;
    /// Texts of values formatted with ValueFormat, kept from paint to paint.
    mutable TFormatMemo m_valueTexts;
    TSeriesMarks m_marks;
    QString m_colorSource;
    TSeriesOwner *m_owner = nullptr;
    QString m_xLabelsSource;
    QString m_name;

    std::vector<TColor> m_colorList;
    std::uint64_t m_colorListVersion = 0;
    std::vector<TChartSeries *> m_dataSources;
    int m_firstShown = -1;
    TCustomChartAxis *m_resolvedHorizAxis = nullptr;
    TCustomChartAxis *m_resolvedVertAxis = nullptr;
    int m_lastShown = -1;
    std::vector<TChartSeries *> m_linkedSeries;
    TChartValueLists m_valueLists;
    TChartValueList *m_xValues = nullptr;
    TChartValueList *m_yValues = nullptr;
    std::vector<QString> m_labelList;
    TCustomChartAxis *m_customHorizAxis = nullptr;
    TCustomChartAxis *m_customVertAxis = nullptr;
    int m_zOrderSetting = -1;
    TSeriesRecalcOptions m_recalcOptions;
    int m_autoZOrder = 0;
    bool m_clipToAxisRange = true;
    bool m_drawsBetweenPoints = false;
    bool m_allowSinglePoint = true;
    bool m_hasOwnDepthValues = false;
    int m_depthSlot = 0;
    TDepthSpan m_depth;
    bool m_destroying = false;
    /// The function has had several sources (see TSeriesFunction).
    bool m_combinesSources = false;
    /// Being filled anew: dependents hear of it once, at the end.
    bool m_refilling = false;
    THeardChange m_heard;
    /// Marks series already seen by a walk over the sources.
    mutable unsigned m_walkMark = 0;
    std::unique_ptr<TSeriesFunction> m_function;
    std::unique_ptr<QRandomGenerator> m_sampleRandom;
};

} // namespace kov
