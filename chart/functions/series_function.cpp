#include "chart/functions/series_function.h"

#include "chart/change.h"
#include "chart/exceptions.h"
#include "chart/values/value_list.h"

#include <algorithm>

namespace kov {

void TSeriesFunction::SetPeriod(int value)
{
    if (value < 0)
        throw ChartException(QStringLiteral("Function Period must be >= 0"));
    SetAndInvalidate([this] { Changed(); }, m_period, value);
}

void TSeriesFunction::SetMoving(bool value)
{
    SetAndInvalidate([this] { Changed(); }, m_moving, value);
}

void TSeriesFunction::CopyFrom(const TSeriesFunction &source)
{
    if (&source == this)
        return;
    const bool changed = m_period != source.m_period || m_moving != source.m_moving;
    m_period = source.m_period;
    m_moving = source.m_moving;
    if (changed)
        Changed();
}

void TSeriesFunction::Changed()
{
    if (!m_parent)
        return;
    m_parent->RecalculateResult();
    m_parent->RepaintResult();
}

void TSeriesFunction::Recalculate()
{
    m_inStep = false;
    if (m_parent)
        m_parent->RecalculateResult();
}

bool TSeriesFunction::Calculate(const std::vector<double> &values, double &result) const
{
    TFunctionFold fold;
    for (double v : values)
        Take(fold, v);
    return fold.Count > 0 && Result(fold, result);
}

// ---- the shape of the result ----------------------------------------------------

void TSeriesFunction::ReadSources(const std::vector<const TFunctionSeries *> &sources)
{
    m_sources.clear();
    for (const TFunctionSeries *s : sources)
        m_sources.push_back(s->FunctionPoints());
}

bool TSeriesFunction::SameSources() const
{
    if (m_sources.size() != m_calculatedFrom.size() ||
        m_parent->CombinesSources() != m_pointByPoint)
        return false;
    for (size_t i = 0; i < m_sources.size(); ++i)
        if (m_sources[i].Series != m_calculatedFrom[i])
            return false;
    return true;
}

int TSeriesFunction::ResultCount() const
{
    if (m_sources.empty())
        return 0;
    if (PointByPoint()) {
        int count = m_sources.front().Count;
        for (const TFunctionPoints &s : m_sources)
            count = std::min(count, s.Count);
        return count;
    }
    const int n = m_sources.front().Count;
    if (n == 0)
        return 0;
    if (m_period == 0)
        return 2;
    if (m_moving)
        return std::max(0, n - m_period + 1);
    return (n - 1) / m_period + 1; // n + period - 1 could overflow
}

void TSeriesFunction::PeriodRange(int sourceCount, int k, int &first, int &last) const
{
    if (m_period == 0) {
        first = 0;
        last = sourceCount;
        return;
    }
    // k * period and first + period could overflow with a huge period.
    const long long from = m_moving ? k : static_cast<long long>(k) * m_period;
    first = static_cast<int>(std::min<long long>(from, sourceCount));
    last = static_cast<int>(std::min<long long>(from + m_period, sourceCount));
}

TFunctionFold TSeriesFunction::FoldRange(int first, int last) const
{
    const TFunctionPoints &source = m_sources.front();
    TFunctionFold fold;
    for (int i = first; i < last; ++i)
        if (!source.Series->IsNullAt(i))
            Take(fold, source.Values->ValueAt(i));
    return fold;
}

TSeriesFunction::TResultPoint TSeriesFunction::MakePoint(const TFunctionFold &fold,
                                                         double position) const
{
    TResultPoint point;
    point.Position = position;
    point.Null = fold.Count == 0 || !Result(fold, point.Value);
    if (point.Null)
        point.Value = 0;
    return point;
}

TSeriesFunction::TResultPoint TSeriesFunction::ResultPoint(int k)
{
    const TFunctionPoints &first = m_sources.front();
    if (PointByPoint()) {
        TFunctionFold fold;
        for (const TFunctionPoints &s : m_sources) {
            if (!s.Series->IsNullAt(k))
                Take(fold, s.Values->ValueAt(k));
            else if (s.Series == first.Series && FirstAgainstRest())
                return MakePoint({}, first.Positions->ValueAt(k));
        }
        return MakePoint(fold, first.Positions->ValueAt(k));
    }
    int from = 0;
    int to = 0;
    PeriodRange(first.Count, k, from, to);
    if (m_period == 0) {
        // Both points take the whole source: calculated once, for the first.
        if (k == 0) {
            m_tail = FoldRange(0, first.Count);
            m_tailFirst = 0;
            m_lowest = first.Positions->LowestValue();
            m_highest = first.Positions->HighestValue();
        }
        return MakePoint(m_tail, k == 0 ? m_lowest : m_highest);
    }
    const TFunctionFold fold = FoldRange(from, to);
    if (!m_moving) {
        m_tail = fold;
        m_tailFirst = from;
    }
    return MakePoint(fold, (first.Positions->ValueAt(from) + first.Positions->ValueAt(to - 1)) / 2);
}

bool TSeriesFunction::InOrder(const TChartValueList &xs, double a, double b)
{
    switch (xs.Order()) {
    case loNone:
        return true;
    case loAscending:
        return xs.Multiplier() == 1 && !(a > b);
    case loDescending:
        return xs.Multiplier() == 1 && !(a < b);
    }
    return false;
}

bool TSeriesFunction::Append(const TResultPoint &point)
{
    const TFunctionPoints parent = m_parent->FunctionPoints();
    const TColor color = point.Null ? clNone : clDefault;
    const int at = parent.Vertical
                       ? m_parent->AppendResultPoint(point.Position, point.Value, color)
                       : m_parent->AppendResultPoint(point.Value, point.Position, color);
    if (at != parent.Count)
        m_inStep = false;
    return m_inStep;
}

bool TSeriesFunction::Replace(int k, const TResultPoint &point)
{
    const TFunctionPoints parent = m_parent->FunctionPoints();
    const auto at = static_cast<size_t>(k);
    // Points are placed by X: the position of a vertical series, the value
    // of a horizontal one.
    const TChartValueList &xs = parent.Vertical ? *parent.Positions : *parent.Values;
    const std::vector<double> &stored = xs.StoredValues();
    const double x = parent.Vertical ? point.Position : point.Value;
    if (stored[at] != x && ((k > 0 && !InOrder(xs, stored[at - 1], x)) ||
                            (at + 1 < stored.size() && !InOrder(xs, x, stored[at + 1]))))
        return false;
    if (parent.Positions->StoredValues()[at] != point.Position)
        parent.Positions->SetValueAt(k, point.Position);
    if (m_parent->IsNullAt(k) != point.Null)
        m_parent->SetResultColor(k, point.Null ? clNone : clDefault);
    if (parent.Values->StoredValues()[at] != point.Value)
        parent.Values->SetValueAt(k, point.Value);
    return true;
}

void TSeriesFunction::AddPoints(const std::vector<const TFunctionSeries *> &sources,
                                bool pointByPoint)
{
    if (!m_parent)
        return;
    ReadSources(sources);
    m_calculatedFrom = sources;
    m_pointByPoint = pointByPoint;
    m_inStep = true;
    m_sourceCount = m_sources.empty() ? 0 : m_sources.front().Count;
    const int count = ResultCount();
    for (int k = 0; k < count; ++k)
        Append(ResultPoint(k));
}

// ---- following the sources ------------------------------------------------------

void TSeriesFunction::SourcesAppended()
{
    if (!m_parent)
        return;
    ReadSources(m_parent->FunctionSources());
    const int have = m_parent->FunctionPoints().Count;
    const int count = ResultCount();
    if (!m_inStep || !SameSources() || count < have) {
        Recalculate();
        return;
    }
    if (PointByPoint()) {
        for (int k = have; k < count; ++k)
            if (!Append(ResultPoint(k)))
                return Recalculate();
        return;
    }
    const TFunctionPoints &source = m_sources.front();
    const int before = m_sourceCount;
    const int n = source.Count;
    if (n < before || (have > 0 && count != have && m_period == 0)) {
        Recalculate();
        return;
    }
    m_sourceCount = n;
    if (m_moving && m_period > 0) {
        for (int k = have; k < count; ++k)
            if (!Append(ResultPoint(k)))
                return Recalculate();
        return;
    }
    if (have > 0) {
        // The last period (the whole source for period 0) takes the new
        // points it has room for.
        const int end = m_period == 0 ? n
                                      : static_cast<int>(std::min<long long>(
                                            static_cast<long long>(m_tailFirst) + m_period, n));
        for (int i = before; i < end; ++i) {
            if (!source.Series->IsNullAt(i))
                Take(m_tail, source.Values->ValueAt(i));
            if (m_period == 0) {
                // Compared as the value list's own lowest and highest are.
                const double p = source.Positions->ValueAt(i);
                if (p < m_lowest)
                    m_lowest = p;
                else if (p > m_highest)
                    m_highest = p;
            }
        }
        bool placed = true;
        if (m_period == 0) {
            placed =
                Replace(0, MakePoint(m_tail, m_lowest)) && Replace(1, MakePoint(m_tail, m_highest));
        } else if (end > before) {
            const double position =
                (source.Positions->ValueAt(m_tailFirst) + source.Positions->ValueAt(end - 1)) / 2;
            placed = Replace(have - 1, MakePoint(m_tail, position));
        }
        if (!placed)
            return Recalculate();
    }
    for (int k = have; k < count; ++k)
        if (!Append(ResultPoint(k)))
            return Recalculate();
}

void TSeriesFunction::SourcesChanged(int first, int last)
{
    if (!m_parent)
        return;
    ReadSources(m_parent->FunctionSources());
    const int count = ResultCount();
    const bool pointByPoint = PointByPoint();
    if (!m_inStep || !SameSources() || count != m_parent->FunctionPoints().Count ||
        (!pointByPoint && (m_period == 0 || m_sources.front().Count != m_sourceCount))) {
        Recalculate();
        return;
    }
    int from = first;
    int to = last;
    if (!pointByPoint) {
        from = m_moving ? std::max(0, first - m_period + 1) : first / m_period;
        to = m_moving ? last : last / m_period;
    }
    to = std::min(to, count - 1);
    for (int k = from; k <= to; ++k)
        if (!Replace(k, ResultPoint(k)))
            return Recalculate();
    // ResultPoint kept the calculation of the period it took last; the last
    // period's is the one to keep.
    if (!pointByPoint && !m_moving && to < count - 1)
        ResultPoint(count - 1);
    m_parent->RepaintResultPoints();
}

// ---- the kinds ---------------------------------------------------------------------

void TAddFunction::Take(TFunctionFold &fold, double value) const
{
    fold.Value = fold.Count++ == 0 ? value : fold.Value + value;
}

void TSubtractFunction::Take(TFunctionFold &fold, double value) const
{
    fold.Value = fold.Count++ == 0 ? value : fold.Value - value;
}

void TMultiplyFunction::Take(TFunctionFold &fold, double value) const
{
    fold.Value = fold.Count++ == 0 ? value : fold.Value * value;
}

void TDivideFunction::Take(TFunctionFold &fold, double value) const
{
    if (fold.Count++ == 0) {
        fold.Value = value;
    } else if (value == 0) {
        fold.Valid = false;
    } else {
        fold.Value /= value;
    }
}

void THighFunction::Take(TFunctionFold &fold, double value) const
{
    if (fold.Count++ == 0 || fold.Value < value)
        fold.Value = value;
}

void TLowFunction::Take(TFunctionFold &fold, double value) const
{
    if (fold.Count++ == 0 || value < fold.Value)
        fold.Value = value;
}

void TAverageFunction::Take(TFunctionFold &fold, double value) const
{
    fold.Value = fold.Count++ == 0 ? value : fold.Value + value;
}

bool TAverageFunction::Result(const TFunctionFold &fold, double &result) const
{
    result = fold.Value / static_cast<double>(fold.Count);
    return true;
}

} // namespace kov
