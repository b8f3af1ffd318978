#include "chart/functions/series_function.h"

#include "chart/change.h"
#include "chart/exceptions.h"
#include "chart/values/value_list.h"

#include <algorithm>
#include <functional>
#include <numeric>

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

// ---- the shape of the result ----------------------------------------------------

void TSeriesFunction::ReadSources(const std::vector<const TFunctionSeries *> &sources)
{
    m_sources.clear();
    for (const TFunctionSeries *s : sources)
        m_sources.push_back(s->FunctionPoints());
}

int TSeriesFunction::ResultCount() const
{
    if (m_sources.empty())
        return 0;
    if (m_sources.size() > 1) {
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
    first = m_moving ? k : k * m_period;
    last = std::min(first + m_period, sourceCount);
}

TSeriesFunction::TResultPoint TSeriesFunction::ResultPoint(int k)
{
    TResultPoint point;
    m_inputs.clear();
    const TFunctionPoints &first = m_sources.front();
    if (m_sources.size() > 1) {
        point.Position = first.Positions->ValueAt(k);
        for (const TFunctionPoints &s : m_sources) {
            if (!s.Series->IsNullAt(k))
                m_inputs.push_back(s.Values->ValueAt(k));
            else if (s.Series == first.Series && FirstAgainstRest())
                return point;
        }
    } else {
        int from = 0;
        int to = 0;
        PeriodRange(first.Count, k, from, to);
        if (m_period == 0) {
            point.Position =
                k == 0 ? first.Positions->LowestValue() : first.Positions->HighestValue();
        } else {
            point.Position =
                (first.Positions->ValueAt(from) + first.Positions->ValueAt(to - 1)) / 2;
        }
        for (int i = from; i < to; ++i)
            if (!first.Series->IsNullAt(i))
                m_inputs.push_back(first.Values->ValueAt(i));
    }
    point.Null = m_inputs.empty() || !Calculate(m_inputs, point.Value);
    if (point.Null)
        point.Value = 0;
    return point;
}

void TSeriesFunction::Append(const TFunctionPoints &parent, const TResultPoint &point)
{
    const TColor color = point.Null ? clNone : clDefault;
    if (parent.Vertical)
        m_parent->AppendResultPoint(point.Position, point.Value, color);
    else
        m_parent->AppendResultPoint(point.Value, point.Position, color);
}

void TSeriesFunction::AddPoints(const std::vector<const TFunctionSeries *> &sources)
{
    if (!m_parent)
        return;
    ReadSources(sources);
    const TFunctionPoints parent = m_parent->FunctionPoints();
    const int count = ResultCount();
    for (int k = 0; k < count; ++k)
        Append(parent, ResultPoint(k));
}

// ---- following the sources ------------------------------------------------------

bool TSeriesFunction::ResultInStep(const TFunctionPoints &parent) const
{
    const TChartValueList *positions = parent.Positions;
    return !m_sources.empty() && m_sources.front().Positions->Order() == loAscending &&
           positions->Order() == loAscending && positions->Multiplier() == 1;
}

void TSeriesFunction::SourcePointAdded(const TFunctionSeries *source, int index)
{
    if (!m_parent)
        return;
    ReadSources(m_parent->FunctionSources());
    const TFunctionPoints parent = m_parent->FunctionPoints();
    const int count = ResultCount();
    const int have = parent.Count;
    // A point added at the end adds or changes the last result point only;
    // anything else may move every period.
    const bool atEnd = index == source->FunctionPoints().Count - 1;
    const bool severalSources = m_sources.size() > 1;
    if (atEnd && ResultInStep(parent) && (severalSources || m_period > 0)) {
        if (count == have + 1) {
            Append(parent, ResultPoint(have));
            return;
        }
        if (count == have && (severalSources || m_moving))
            return; // the new point completes no result point yet
        if (count == have && have > 0) {
            // The last grouped period took one more point.
            m_parent->RemoveResultPoint(have - 1);
            Append(parent, ResultPoint(have - 1));
            return;
        }
    }
    m_parent->RecalculateResult();
}

void TSeriesFunction::SourcePointChanged(const TFunctionSeries *source, int index)
{
    if (!m_parent)
        return;
    ReadSources(m_parent->FunctionSources());
    const TFunctionPoints parent = m_parent->FunctionPoints();
    const int count = ResultCount();
    bool inPlace = ResultInStep(parent) && count == parent.Count;
    if (m_sources.size() == 1)
        inPlace = inPlace && m_period > 0 && source == m_sources.front().Series;
    if (!inPlace) {
        m_parent->RecalculateResult();
        return;
    }
    int from = index;
    int to = index;
    if (m_sources.size() == 1) {
        from = m_moving ? std::max(0, index - m_period + 1) : index / m_period;
        to = m_moving ? index : index / m_period;
    }
    to = std::min(to, count - 1);
    for (int k = from; k <= to; ++k) {
        const TResultPoint point = ResultPoint(k);
        // A changed position (the source's X list was set) moves points.
        if (parent.Positions->StoredValues()[static_cast<size_t>(k)] != point.Position) {
            m_parent->RecalculateResult();
            return;
        }
        if (parent.Values->StoredValues()[static_cast<size_t>(k)] != point.Value)
            parent.Values->SetValueAt(k, point.Value);
        if (m_parent->IsNullAt(k) != point.Null)
            m_parent->SetResultColor(k, point.Null ? clNone : clDefault);
    }
    m_parent->RepaintResultPoints();
}

// ---- the kinds ---------------------------------------------------------------------

bool TAddFunction::Calculate(const std::vector<double> &values, double &result) const
{
    result = std::accumulate(values.begin(), values.end(), 0.0);
    return true;
}

bool TSubtractFunction::Calculate(const std::vector<double> &values, double &result) const
{
    result = std::accumulate(values.begin() + 1, values.end(), values.front(), std::minus<>());
    return true;
}

bool TMultiplyFunction::Calculate(const std::vector<double> &values, double &result) const
{
    result = std::accumulate(values.begin(), values.end(), 1.0, std::multiplies<>());
    return true;
}

bool TDivideFunction::Calculate(const std::vector<double> &values, double &result) const
{
    result = values.front();
    for (size_t i = 1; i < values.size(); ++i) {
        if (values[i] == 0)
            return false;
        result /= values[i];
    }
    return true;
}

bool THighFunction::Calculate(const std::vector<double> &values, double &result) const
{
    result = *std::max_element(values.begin(), values.end());
    return true;
}

bool TLowFunction::Calculate(const std::vector<double> &values, double &result) const
{
    result = *std::min_element(values.begin(), values.end());
    return true;
}

bool TAverageFunction::Calculate(const std::vector<double> &values, double &result) const
{
    result =
        std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
    return true;
}

} // namespace kov
