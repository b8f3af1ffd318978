#include "chart/values/value_list.h"

#include "chart/change.h"
#include "chart/exceptions.h"

#include <cmath>
#include <utility>

namespace kov {

TChartValueList::TChartValueList(const QString &name) : m_name(name) {}

TChartValueList::~TChartValueList() = default;

void TChartValueList::CheckIndex(int i) const
{
    if (i < 0 || i >= static_cast<int>(m_values.size()))
        throw ListIndexError(i);
}

double TChartValueList::ValueAt(int i) const
{
    CheckIndex(i);
    return m_values[static_cast<size_t>(i)] * m_settings.Multiplier;
}

void TChartValueList::SetValueAt(int i, double v)
{
    CheckIndex(i);
    m_values[static_cast<size_t>(i)] = v;
    m_statsDirty = true;
    // A known order is checked again around the new value only.
    const auto at = static_cast<size_t>(i);
    if (m_ascending == 1)
        m_ascending =
            (at == 0 || m_values[at - 1] * m_settings.Multiplier <= v * m_settings.Multiplier) &&
                    (at + 1 == m_values.size() ||
                     v * m_settings.Multiplier <= m_values[at + 1] * m_settings.Multiplier)
                ? 1
                : 0;
    else
        m_ascending = -1;
    Report(vlcValue, i);
}

void TChartValueList::RemoveAll()
{
    std::vector<double>().swap(m_values);
    m_statsDirty = true;
    m_ascending = -1;
}

int TChartValueList::AppendOrdered(double v)
{
    int pos = static_cast<int>(m_values.size());
    if (m_settings.Order != loNone && !m_values.empty()) {
        // Walk back from the end: values added in order stop at once, and a
        // value equal to stored ones goes after them.
        if (m_settings.Order == loAscending) {
            while (pos > 0 && m_values[static_cast<size_t>(pos - 1)] * m_settings.Multiplier > v)
                --pos;
        } else {
            while (pos > 0 && m_values[static_cast<size_t>(pos - 1)] * m_settings.Multiplier < v)
                --pos;
        }
    }
    Inserting(static_cast<size_t>(pos), v);
    m_values.insert(m_values.begin() + pos, v);
    m_statsDirty = true;
    return pos;
}

void TChartValueList::InsertAt(int i, double v)
{
    if (i < 0 || i > static_cast<int>(m_values.size()))
        throw ListIndexError(i);
    Inserting(static_cast<size_t>(i), v);
    m_values.insert(m_values.begin() + i, v);
    m_statsDirty = true;
}

void TChartValueList::Inserting(size_t at, double v)
{
    // Values added at the end in order keep a known order.
    if (m_ascending != 1 || at != m_values.size() ||
        !(m_values.empty() || m_values.back() * m_settings.Multiplier <= v * m_settings.Multiplier))
        m_ascending = -1;
}

bool TChartValueList::IsAscending() const
{
    if (m_ascending < 0) {
        m_ascending = 1;
        for (size_t i = 1; i < m_values.size(); ++i) {
            if (!(m_values[i - 1] * m_settings.Multiplier <= m_values[i] * m_settings.Multiplier)) {
                m_ascending = 0;
                break;
            }
        }
    }
    return m_ascending == 1;
}

int TChartValueList::ValueCount() const
{
    return static_cast<int>(m_values.size());
}

void TChartValueList::RemoveAt(int i)
{
    CheckIndex(i);
    m_values.erase(m_values.begin() + i);
    m_statsDirty = true;
    if (m_ascending != 1)
        m_ascending = -1;
}

void TChartValueList::RotateFirstToLast()
{
    if (m_values.size() < 2)
        return;
    const double first = m_values.front();
    m_values.erase(m_values.begin());
    m_values.push_back(first);
    m_statsDirty = true;
    m_ascending = -1;
}

void TChartValueList::Report(TValueListChange change, int index) const
{
    if (OnChange)
        OnChange(change, index);
}

void TChartValueList::SetDateTime(bool value)
{
    SetAndInvalidate([this] { Report(vlcDateTime); }, m_settings.DateTime, value);
}

void TChartValueList::SetMultiplier(double value)
{
    SetAndInvalidate(
        [this] {
            m_statsDirty = true;
            m_ascending = -1;
            Report(vlcMultiplier);
        },
        m_settings.Multiplier, value);
}

void TChartValueList::SetValueSource(const QString &value)
{
    SetAndInvalidate([this] { Report(vlcValueSource); }, m_settings.ValueSource, value);
}

const TChartValueList::TStats &TChartValueList::Stats() const
{
    if (!m_statsDirty)
        return m_stats;
    TStats &s = m_stats;
    if (m_values.empty()) {
        s = TStats{};
    } else {
        const double first = m_values.front() * m_settings.Multiplier;
        s.Highest = s.Lowest = s.Sum = first;
        s.AbsSum = std::fabs(first);
        for (size_t i = 1; i < m_values.size(); ++i) {
            const double v = m_values[i] * m_settings.Multiplier;
            if (v < s.Lowest)
                s.Lowest = v;
            else if (v > s.Highest)
                s.Highest = v;
            s.Sum += v;
            s.AbsSum += std::fabs(v);
        }
    }
    m_statsDirty = false;
    return m_stats;
}

double TChartValueList::Last() const
{
    return ValueAt(ValueCount() - 1);
}

int TChartValueList::IndexOfValue(double v) const
{
    for (int i = 0; i < ValueCount(); ++i)
        if (m_values[static_cast<size_t>(i)] * m_settings.Multiplier == v)
            return i;
    return -1;
}

void TChartValueList::Renumber()
{
    for (int i = 0; i < ValueCount(); ++i)
        SetValueAt(i, i);
}

void TChartValueList::SwapValues(int i, int j)
{
    CheckIndex(i);
    CheckIndex(j);
    std::swap(m_values[static_cast<size_t>(i)], m_values[static_cast<size_t>(j)]);
    m_statsDirty = true;
    m_ascending = -1;
}

void TChartValueList::QuickSort(int l, int r)
{
    // Middle position as pivot; exchanges go through the owner so that every
    // list of the series (and its colours and labels) moves together.
    const bool ascending = m_settings.Order == loAscending;
    int i = l;
    int j = r;
    const double pivot = ValueAt(l + (r - l) / 2);
    do {
        if (ascending) {
            while (ValueAt(i) < pivot)
                ++i;
            while (pivot < ValueAt(j))
                --j;
        } else {
            while (ValueAt(i) > pivot)
                ++i;
            while (pivot > ValueAt(j))
                --j;
        }
        if (i <= j) {
            if (i != j) {
                if (OnSwapPoints)
                    OnSwapPoints(i, j);
                else
                    SwapValues(i, j);
            }
            ++i;
            --j;
        }
    } while (i <= j);
    if (l < j)
        QuickSort(l, j);
    if (i < r)
        QuickSort(i, r);
}

void TChartValueList::SortValues()
{
    if (m_settings.Order == loNone || ValueCount() < 2)
        return;
    QuickSort(0, ValueCount() - 1);
}

void TChartValueList::CopyFrom(const TChartValueList &source)
{
    if (m_settings.Multiplier != source.m_settings.Multiplier)
        m_statsDirty = true;
    m_settings = source.m_settings;
}

TChartValueList *TChartValueLists::At(int i) const
{
    if (i < 0 || i >= Count())
        throw ListIndexError(i);
    return m_lists[static_cast<size_t>(i)].get();
}

TChartValueList *TChartValueLists::Add(std::unique_ptr<TChartValueList> list)
{
    m_lists.push_back(std::move(list));
    return m_lists.back().get();
}

} // namespace kov
