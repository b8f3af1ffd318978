#include "chart/series_function.h"

#include "chart/change.h"
#include "chart/exceptions.h"
#include "chart/series.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace kov {

namespace {

/// The list that places a series' points: X for a vertical series.
TChartValueList *PositionList(const TChartSeries *series)
{
    return series->ValuesAreVertical() ? series->XValues() : series->YValues();
}

double PositionOf(const TChartSeries *series, int i)
{
    return PositionList(series)->ValueAt(i);
}

double ValueOf(const TChartSeries *series, int i)
{
    return series->MainValueList()->ValueAt(i);
}

} // namespace

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
    m_parent->RefreshFromDataSources();
    m_parent->RequestRepaint();
}

// ---- the shape of the result ----------------------------------------------------

int TSeriesFunction::ResultCount(const std::vector<TChartSeries *> &sources) const
{
    if (sources.empty())
        return 0;
    if (sources.size() > 1) {
        int count = sources.front()->PointCount();
        for (const TChartSeries *s : sources)
            count = std::min(count, s->PointCount());
        return count;
    }
    const int n = sources.front()->PointCount();
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

TSeriesFunction::TResultPoint
TSeriesFunction::ResultPoint(const std::vector<TChartSeries *> &sources, int k)
{
    TResultPoint point;
    m_inputs.clear();
    const TChartSeries *first = sources.front();
    if (sources.size() > 1) {
        point.Position = PositionOf(first, k);
        for (const TChartSeries *s : sources) {
            if (!s->IsNullPoint(k))
                m_inputs.push_back(ValueOf(s, k));
            else if (s == first && FirstAgainstRest())
                return point;
        }
    } else {
        const int n = first->PointCount();
        int from = 0;
        int to = 0;
        PeriodRange(n, k, from, to);
        if (m_period == 0) {
            const TChartValueList *positions = PositionList(first);
            point.Position = k == 0 ? positions->LowestValue() : positions->HighestValue();
        } else {
            point.Position = (PositionOf(first, from) + PositionOf(first, to - 1)) / 2;
        }
        for (int i = from; i < to; ++i)
            if (!first->IsNullPoint(i))
                m_inputs.push_back(ValueOf(first, i));
    }
    point.Null = m_inputs.empty() || !Calculate(m_inputs, point.Value);
    if (point.Null)
        point.Value = 0;
    return point;
}

void TSeriesFunction::Append(const TResultPoint &point)
{
    const TColor color = point.Null ? clNone : clDefault;
    if (m_parent->ValuesAreVertical())
        m_parent->AppendPointXY(point.Position, point.Value, QString(), color);
    else
        m_parent->AppendPointXY(point.Value, point.Position, QString(), color);
}

void TSeriesFunction::AddPoints(const std::vector<TChartSeries *> &sources)
{
    if (!m_parent)
        return;
    const int count = ResultCount(sources);
    for (int k = 0; k < count; ++k)
        Append(ResultPoint(sources, k));
}

// ---- following the sources ------------------------------------------------------

bool TSeriesFunction::ResultInStep(const std::vector<TChartSeries *> &sources) const
{
    const TChartValueList *positions = PositionList(m_parent);
    return !sources.empty() && PositionList(sources.front())->Order() == loAscending &&
           positions->Order() == loAscending && positions->Multiplier() == 1;
}

void TSeriesFunction::SourcePointAdded(TChartSeries *source, int index)
{
    if (!m_parent)
        return;
    const std::vector<TChartSeries *> sources = m_parent->DataSources();
    const int count = ResultCount(sources);
    const int have = m_parent->PointCount();
    // A point added at the end adds or changes the last result point only;
    // anything else may move every period.
    const bool atEnd = index == source->PointCount() - 1;
    if (atEnd && ResultInStep(sources) && (sources.size() > 1 || m_period > 0)) {
        if (count == have + 1) {
            Append(ResultPoint(sources, have));
            return;
        }
        if (count == have && (sources.size() > 1 || m_moving))
            return; // the new point completes no result point yet
        if (count == have && have > 0) {
            // The last grouped period took one more point.
            m_parent->RemovePoint(have - 1);
            Append(ResultPoint(sources, have - 1));
            return;
        }
    }
    m_parent->RefreshFromDataSources();
}

void TSeriesFunction::SourcePointChanged(TChartSeries *source, int index)
{
    if (!m_parent)
        return;
    const std::vector<TChartSeries *> sources = m_parent->DataSources();
    const int count = ResultCount(sources);
    bool inPlace = ResultInStep(sources) && count == m_parent->PointCount();
    if (sources.size() == 1)
        inPlace = inPlace && m_period > 0 && source == sources.front();
    if (!inPlace) {
        m_parent->RefreshFromDataSources();
        return;
    }
    int from = index;
    int to = index;
    if (sources.size() == 1) {
        from = m_moving ? std::max(0, index - m_period + 1) : index / m_period;
        to = m_moving ? index : index / m_period;
    }
    to = std::min(to, count - 1);
    const TChartValueList *positions = PositionList(m_parent);
    TChartValueList *values = m_parent->MainValueList();
    for (int k = from; k <= to; ++k) {
        const TResultPoint point = ResultPoint(sources, k);
        // A changed position (the source's X list was set) moves points.
        if (positions->StoredValues()[static_cast<size_t>(k)] != point.Position) {
            m_parent->RefreshFromDataSources();
            return;
        }
        if (values->StoredValues()[static_cast<size_t>(k)] != point.Value)
            values->SetValueAt(k, point.Value);
        if (m_parent->IsNullPoint(k) != point.Null)
            m_parent->SetPointColor(k, point.Null ? clNone : clDefault);
    }
    m_parent->RequestPointRepaint();
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
