#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace kov {

/// How AppendOrdered places a new value among the stored ones.
enum TChartListOrder { loNone, loAscending, loDescending };

/// What changed in a value list, as the series it belongs to hears it.
enum TValueListChange {
    /// The value at an index was set.
    vlcValue,
    vlcDateTime,
    vlcMultiplier,
    vlcValueSource
};
/// A value list's change report: what changed, and the index for vlcValue
/// (-1 otherwise).
using TValueListChangeEvent = std::function<void(TValueListChange change, int index)>;
/// Exchanges whole points i and j of the series a value list belongs to.
using TSwapPointsEvent = std::function<void(int i, int j)>;

/// The settings of a value list that CopyFrom copies (not its name or
/// values).
struct TChartValueListSettings
{
    /// The values are date-times (axis labels).
    bool DateTime = false;
    double Multiplier = 1;
    TChartListOrder Order = loNone;
    /// Name of a field a data source fills this list from.
    QString ValueSource;
};

/// One list of doubles of a series: position i holds the value of point i.
/// Every value read is the stored value times Multiplier. The four statistics
/// are cached and recomputed together, in one pass, the first time one is read
/// after a change. A list reports its changes through OnChange; the series
/// that owns it listens.
class TChartValueList
{
public:
    explicit TChartValueList(const QString &name);
    virtual ~TChartValueList();

    TChartValueList(const TChartValueList &) = delete;
    TChartValueList &operator=(const TChartValueList &) = delete;

    /// Stored value i times Multiplier; ListIndexError outside the list.
    virtual double ValueAt(int i) const;
    /// Stores v unchanged at i, marks the statistics dirty and reports the
    /// change of value i.
    virtual void SetValueAt(int i, double v);
    /// Deletes every value and releases the storage.
    virtual void RemoveAll();
    /// Inserts v where Order puts it (walking back from the end, so values
    /// added in order cost constant time) and returns its position.
    virtual int AppendOrdered(double v);
    /// Inserts v at position i (0..ValueCount); ListIndexError otherwise.
    virtual void InsertAt(int i, double v);
    virtual int ValueCount() const;
    /// Deletes position i; ListIndexError outside the list.
    virtual void RemoveAt(int i);
    /// Moves the first value to the end (this list only).
    virtual void RotateFirstToLast();

    bool DateTime() const { return m_settings.DateTime; }
    void SetDateTime(bool value);
    double Multiplier() const { return m_settings.Multiplier; }
    void SetMultiplier(double value);
    QString Name() const { return m_name; }
    void SetName(const QString &value) { m_name = value; }
    TChartListOrder Order() const { return m_settings.Order; }
    void SetOrder(TChartListOrder value) { m_settings.Order = value; }
    QString ValueSource() const { return m_settings.ValueSource; }
    void SetValueSource(const QString &value);

    /// The value the next add inserts into this list.
    double PendingValue() const { return m_pendingValue; }
    void SetPendingValue(double value) { m_pendingValue = value; }

    double HighestValue() const { return Stats().Highest; }
    double LowestValue() const { return Stats().Lowest; }
    double ValueSum() const { return Stats().Sum; }
    double AbsValueSum() const { return Stats().AbsSum; }
    bool StatsDirty() const { return m_statsDirty; }

    /// The last value; ListIndexError(-1) when the list is empty.
    double Last() const;
    /// First i whose ValueAt(i) equals v exactly, else -1.
    int IndexOfValue(double v) const;
    /// SetValueAt(i, i) for every i.
    void Renumber();
    /// Sorts by this list (ascending, or descending for loDescending); every
    /// exchange goes through OnSwapPoints, so that the series' whole points
    /// move (this list's values alone without one). Nothing happens for
    /// loNone.
    void SortValues();
    /// Takes Order, DateTime, Multiplier and ValueSource of source (not its
    /// name, not its values), reporting nothing.
    void CopyFrom(const TChartValueList &source);

    /// Hears every change of a value or a setting.
    TValueListChangeEvent OnChange;
    /// Moves whole points while SortValues sorts.
    TSwapPointsEvent OnSwapPoints;

    /// Exchanges positions i and j of this list only (a series' SwapPoints
    /// does it for each of its lists).
    void SwapValues(int i, int j);
    /// Whether no value (times Multiplier) is greater than the next, so that
    /// a search may halve the list. The answer is kept until the values
    /// change; setting one value rechecks only its neighbours, adding at the
    /// end only the last value.
    bool IsAscending() const;
    /// Direct read access to the stored values (without Multiplier).
    const std::vector<double> &StoredValues() const { return m_values; }

private:
    /// The four statistics, computed together.
    struct TStats
    {
        double Highest = 0;
        double Lowest = 0;
        double Sum = 0;
        double AbsSum = 0;
    };

    void CheckIndex(int i) const;
    /// The statistics, recomputed first when a change made them dirty.
    const TStats &Stats() const;
    void Report(TValueListChange change, int index = -1) const;
    void QuickSort(int l, int r);
    /// Forgets a known order unless v joins it at the end.
    void Inserting(size_t at, double v);

    TChartValueListSettings m_settings;
    QString m_name;
    std::vector<double> m_values;
    double m_pendingValue = 0;
    mutable TStats m_stats;
    mutable bool m_statsDirty = true;
    /// -1 unknown, 0 out of order, 1 ascending (IsAscending).
    mutable signed char m_ascending = -1;
};

/// The value lists of one series in creation order: X at 0, Y at 1, further
/// lists (series types with more values per point) from 2. Owns its lists.
class TChartValueLists
{
public:
    int Count() const { return static_cast<int>(m_lists.size()); }
    /// The list at i; ListIndexError outside.
    TChartValueList *At(int i) const;
    TChartValueList *Add(std::unique_ptr<TChartValueList> list);

private:
    std::vector<std::unique_ptr<TChartValueList>> m_lists;
};

} // namespace kov
