#include "chart/series/series.h"

#include "chart/axis/axis.h"
#include "chart/canvas/canvas3d.h"
#include "chart/canvas/text_lines.h"
#include "chart/exceptions.h"
#include "chart/format/number_format.h"
#include "chart/numeric.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <typeinfo>

namespace kov {

namespace {

/// Raises ChartException "Circular Series dependences are not allowed" when
/// source's data-source chain leads back to destination.
void CheckOtherSeries(const TChartSeries *destination, const TChartSeries *source)
{
    if (source == destination)
        throw ChartException(QStringLiteral("Circular Series dependences are not allowed"));
    if (source->DataSource() == destination)
        throw ChartException(QStringLiteral("Circular Series dependences are not allowed"));
    for (const TChartSeries *s : source->DataSources())
        CheckOtherSeries(destination, s);
}

/// Series that heard of a change of their sources and wait to follow it, and
/// whether they are being let follow now.
struct TWaitingSeries
{
    std::vector<TChartSeries *> Series;
    bool Following = false;
    /// Number of the last walk over the sources (TChartSeries::m_walkMark).
    unsigned Walk = 0;
};

TWaitingSeries &Waiting()
{
    static TWaitingSeries waiting;
    return waiting;
}

/// Sets flag for the lifetime of the guard.
class TFlagGuard
{
public:
    explicit TFlagGuard(bool &flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~TFlagGuard() { m_flag = m_was; }
    TFlagGuard(const TFlagGuard &) = delete;
    TFlagGuard &operator=(const TFlagGuard &) = delete;

private:
    bool &m_flag;
    bool m_was;
};

} // namespace

TSeriesState::TSeriesState(TChartSeries *series) : m_marks(series) {}
TSeriesState::~TSeriesState() = default;

TChartSeries::TChartSeries() : TSeriesState(this)
{
    m_xValues = AddValueList(QStringLiteral("X"));
    m_xValues->SetOrder(loAscending);
    m_yValues = AddValueList(QStringLiteral("Y"));
}

TChartSeries::~TChartSeries()
{
    m_destroying = true;
    std::vector<TChartSeries *> &waiting = Waiting().Series;
    waiting.erase(std::remove(waiting.begin(), waiting.end(), this), waiting.end());
    m_function.reset();
    // Series that take this one as a source stop doing so, and this one leaves
    // the dependents' lists of its own sources, so no pointer outlives us.
    RemoveLinkedSeries();
    for (TChartSeries *source : m_dataSources)
        source->DropLinkedSeries(this);
    m_dataSources.clear();
    // Clearing raises OnClearValues; a handler must not stop the destruction.
    try {
        RemoveAllPoints();
    } catch (...) {
    }
    if (m_owner)
        m_owner->DetachSeries(this);
}

// ---- published properties ---------------------------------------------------

void TChartSeries::SetColorEachPoint(bool value)
{
    SetAndInvalidate(this, m_settings.ColorEachPoint, value);
    ++m_colorListVersion;
    if (value)
        return;
    const bool hadNulls =
        std::find(m_colorList.begin(), m_colorList.end(), clNone) != m_colorList.end();
    std::fill(m_colorList.begin(), m_colorList.end(), clDefault);
    if (hadNulls)
        NotifyLinked(scRefresh, -1);
}

void TChartSeries::SetPercentFormat(const QString &value)
{
    SetAndInvalidate(this, m_settings.PercentFormat, value);
}

void TChartSeries::SetValueFormat(const QString &value)
{
    SetAndInvalidate(this, m_settings.ValueFormat, value);
}

void TChartSeries::SetColorSource(const QString &value)
{
    SetAndInvalidate([this] { CheckDataSource(); }, m_colorSource, value);
}

void TChartSeries::SetHorizAxis(THorizAxis value)
{
    SetAndInvalidate([this] { AxisChoiceChanged(); }, m_settings.HorizAxis, value);
}

void TChartSeries::SetVertAxis(TVertAxis value)
{
    SetAndInvalidate([this] { AxisChoiceChanged(); }, m_settings.VertAxis, value);
}

void TChartSeries::AxisChoiceChanged()
{
    ResolveAxes();
    RequestRepaint();
}

void TChartSeries::SetCustomHorizAxis(TCustomChartAxis *axis)
{
    m_customHorizAxis = axis;
    AxisChoiceChanged();
}

void TChartSeries::SetCustomVertAxis(TCustomChartAxis *axis)
{
    m_customVertAxis = axis;
    AxisChoiceChanged();
}

void TChartSeries::SetParentChart(TSeriesOwner *chart)
{
    if (m_owner == chart)
        return;
    if (m_owner)
        m_owner->DetachSeries(this);
    m_owner = chart;
    ResolveAxes();
    if (m_owner)
        m_owner->AttachSeries(this);
}

void TChartSeries::SetParentChartOnly(TSeriesOwner *chart)
{
    m_owner = chart;
    ResolveAxes();
}

TChartSeries *TChartSeries::DataSource() const
{
    return m_dataSources.empty() ? nullptr : m_dataSources.front();
}

void TChartSeries::SetDataSource(TChartSeries *source)
{
    if (DataSource() == source && m_dataSources.size() <= 1 && !m_combinesSources)
        return;
    if (source) {
        if (source == this || !CanBeFedBy(source) || !source->CanFeed(this))
            throw ChartException(QStringLiteral("Circular Series dependences are not allowed"));
        CheckOtherSeries(this, source);
    }
    for (TChartSeries *old : m_dataSources)
        old->DropLinkedSeries(this);
    m_dataSources.clear();
    m_combinesSources = false;
    if (source) {
        m_dataSources.push_back(source);
        source->AddLinkedSeries(this);
        CopyAllPointsFrom(source);
    } else if (m_function) {
        RemoveAllPoints();
    }
}

void TChartSeries::AddDataSource(TChartSeries *source)
{
    if (!source ||
        std::find(m_dataSources.begin(), m_dataSources.end(), source) != m_dataSources.end())
        return;
    if (source == this || !CanBeFedBy(source) || !source->CanFeed(this))
        throw ChartException(QStringLiteral("Circular Series dependences are not allowed"));
    CheckOtherSeries(this, source);
    m_dataSources.push_back(source);
    source->AddLinkedSeries(this);
    if (m_dataSources.size() > 1)
        m_combinesSources = true;
    RefreshFromDataSources();
}

void TChartSeries::RemoveDataSource(TChartSeries *source)
{
    const auto it = std::find(m_dataSources.begin(), m_dataSources.end(), source);
    if (it == m_dataSources.end())
        return;
    m_dataSources.erase(it);
    source->DropLinkedSeries(this);
    if (m_dataSources.empty())
        m_combinesSources = false;
    RefreshFromDataSources();
}

void TChartSeries::AttachFunction(std::unique_ptr<TSeriesFunction> function)
{
    m_function = std::move(function);
    if (m_function)
        m_function->m_parent = this;
    // Without a chart nothing would refresh the series: do it here. A
    // function without sources has no points, in a chart or not.
    if (m_owner && !m_dataSources.empty())
        CheckDataSource();
    else
        RefreshFromDataSources();
    RequestRepaint();
}

void TChartSeries::RefreshFromDataSources()
{
    if (TChartSeries *source = DataSource())
        CopyAllPointsFrom(source);
    else if (m_function)
        RemoveAllPoints();
}

std::vector<const TFunctionSeries *> TChartSeries::FunctionSources() const
{
    return {m_dataSources.begin(), m_dataSources.end()};
}

int TChartSeries::AppendResultPoint(double x, double y, TColor color)
{
    return AppendPointXY(x, y, QString(), color);
}

TFunctionPoints TChartSeries::FunctionPoints() const
{
    const bool vertical = ValuesAreVertical();
    return {this, vertical ? m_xValues : m_yValues, MainValueList(), PointCount(), vertical};
}

void TChartSeries::PrepareGalleryPreview(bool isPreview)
{
    if (isPreview)
        m_marks.SetVisible(false);
}

void TChartSeries::SetXLabelsSource(const QString &value)
{
    SetAndInvalidate([this] { CheckDataSource(); }, m_xLabelsSource, value);
}

void TChartSeries::SetXValues(const TChartValueList &source)
{
    m_xValues->CopyFrom(source);
    NotifyLinked(scRefresh, -1);
    RequestRepaint();
}

void TChartSeries::SetYValues(const TChartValueList &source)
{
    m_yValues->CopyFrom(source);
    NotifyLinked(scRefresh, -1);
    RequestRepaint();
}

void TChartSeries::CopyFrom(const TChartSeries &source)
{
    if (&source == this)
        return;
    const bool hadColorEachPoint = m_settings.ColorEachPoint;
    m_settings = source.m_settings;
    // Switching ColorEachPoint off clears every stored point colour; copying
    // an equal setting leaves them alone.
    ++m_colorListVersion;
    if (hadColorEachPoint && !m_settings.ColorEachPoint)
        std::fill(m_colorList.begin(), m_colorList.end(), clDefault);
    ResolveAxes();
    m_marks.CopyFrom(source.m_marks);
    // The lists are matched by role: a series whose values lie along the
    // other axis takes the positions' settings (their order above all) onto
    // its own position list, and the values' onto its value list.
    const bool sameRoles = source.ValuesAreVertical() == ValuesAreVertical();
    m_xValues->CopyFrom(sameRoles ? *source.m_xValues : *source.m_yValues);
    m_yValues->CopyFrom(sameRoles ? *source.m_yValues : *source.m_xValues);
    if (!m_dataSources.empty())
        RefreshFromDataSources();
    else
        NotifyLinked(scRefresh, -1);
    RequestRepaint();
}

// ---- points -------------------------------------------------------------------

void TSeriesState::CheckPointIndex(int index) const
{
    if (index < 0 || index >= m_xValues->ValueCount())
        throw ListIndexError(index);
}

int TChartSeries::AppendPointXY(double x, double y, const QString &label, TColor color)
{
    m_xValues->SetPendingValue(x);
    m_yValues->SetPendingValue(y);
    if (OnBeforeAdd && !OnBeforeAdd(this))
        return -1;
    const int index = m_xValues->AppendOrdered(x);
    m_yValues->InsertAt(index, y);
    InsertExtraValues(index);
    // Colour and label lists may be shorter than the point count (points
    // copied from a series without them); pad them so the new entry lands at
    // the point's own index.
    if (static_cast<int>(m_colorList.size()) < index)
        m_colorList.resize(static_cast<size_t>(index), clDefault);
    m_colorList.insert(m_colorList.begin() + index, color);
    ++m_colorListVersion;
    if (static_cast<int>(m_labelList.size()) < index)
        m_labelList.resize(static_cast<size_t>(index));
    m_labelList.insert(m_labelList.begin() + index, label);
    PointAdded(index);
    return index;
}

int TChartSeries::AppendPoint(double value, const QString &label, TColor color)
{
    const int n = PointCount();
    if (ValuesAreVertical())
        return AppendPointXY(n, value, label, color);
    return AppendPointXY(value, n, label, color);
}

int TChartSeries::AppendNullPoint(const QString &label)
{
    return AppendPoint(0, label, clNone);
}

int TChartSeries::AppendNullPointXY(double x, double y, const QString &label)
{
    return AppendPointXY(x, y, label, clNone);
}

void TChartSeries::PointAdded(int index)
{
    if (OnAfterAdd)
        OnAfterAdd(this, index);
    NotifyLinked(scAdd, index);
    if (m_settings.Active)
        RequestRepaint();
}

void TChartSeries::EmptyLists()
{
    for (int i = 0; i < m_valueLists.Count(); ++i)
        m_valueLists.At(i)->RemoveAll();
    std::vector<TColor>().swap(m_colorList);
    ++m_colorListVersion;
    std::vector<QString>().swap(m_labelList);
    m_marks.ForgetMarkPositions();
}

void TChartSeries::RemoveAllPoints()
{
    EmptyLists();
    if (OnClearValues)
        OnClearValues(this);
    NotifyLinked(scClear, -1);
    if (m_settings.Active && m_owner && !m_owner->IsDestroying())
        RequestRepaint();
}

void TChartSeries::RemovePoint(int index)
{
    // Checked up front so that a bad index leaves every list as it was.
    CheckPointIndex(index);
    for (int i = 0; i < m_valueLists.Count(); ++i) {
        TChartValueList *list = m_valueLists.At(i);
        if (index < list->ValueCount())
            list->RemoveAt(index);
    }
    ++m_colorListVersion;
    if (index < static_cast<int>(m_colorList.size()))
        m_colorList.erase(m_colorList.begin() + index);
    if (index < static_cast<int>(m_labelList.size()))
        m_labelList.erase(m_labelList.begin() + index);
    m_marks.Positions().Remove(index);
    NotifyLinked(scDelete, index);
    if (m_settings.Active)
        RequestRepaint();
}

void TChartSeries::SetPointY(int index, double value)
{
    m_yValues->SetValueAt(index, value);
    RequestPointRepaint();
}

void TChartSeries::SetPointColor(int index, TColor color)
{
    CheckPointIndex(index);
    // The colour list may be shorter than the point count; a point beyond its
    // end gets its own colour by growing the list with "no colour" entries.
    if (index >= static_cast<int>(m_colorList.size()))
        m_colorList.resize(static_cast<size_t>(index) + 1, clDefault);
    const TColor was = m_colorList[static_cast<size_t>(index)];
    m_colorList[static_cast<size_t>(index)] = color;
    ++m_colorListVersion;
    if (was != color)
        NotifyLinked(scModify, index);
    RequestPointRepaint();
}

void TChartSeries::SetPointLabel(int index, const QString &label)
{
    CheckPointIndex(index);
    if (index >= static_cast<int>(m_labelList.size()))
        m_labelList.resize(static_cast<size_t>(index) + 1);
    m_labelList[static_cast<size_t>(index)] = label;
    RequestRepaint();
}

bool TChartSeries::IsNullPoint(int index) const
{
    return EffectivePointColor(index) == clNone;
}

TColor TChartSeries::EffectivePointColor(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_colorList.size()))
        return m_settings.SeriesColor;
    const TColor c = m_colorList[static_cast<size_t>(index)];
    if (c != clDefault)
        return c;
    return m_settings.ColorEachPoint ? PaletteColor(index) : m_settings.SeriesColor;
}

QString TChartSeries::PointLabel(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_labelList.size()))
        return QString();
    return m_labelList[static_cast<size_t>(index)];
}

double TChartSeries::PointX(int index) const
{
    return m_xValues->ValueAt(index);
}

double TChartSeries::PointY(int index) const
{
    return m_yValues->ValueAt(index);
}

void TChartSeries::SwapPoints(int i, int j)
{
    for (int k = 0; k < m_valueLists.Count(); ++k)
        m_valueLists.At(k)->SwapValues(i, j);
    const int hi = std::max(i, j);
    ++m_colorListVersion;
    if (hi < static_cast<int>(m_colorList.size()))
        std::swap(m_colorList[static_cast<size_t>(i)], m_colorList[static_cast<size_t>(j)]);
    else if (std::min(i, j) < static_cast<int>(m_colorList.size())) {
        m_colorList.resize(static_cast<size_t>(hi) + 1, clDefault);
        std::swap(m_colorList[static_cast<size_t>(i)], m_colorList[static_cast<size_t>(j)]);
    }
    if (hi < static_cast<int>(m_labelList.size()))
        std::swap(m_labelList[static_cast<size_t>(i)], m_labelList[static_cast<size_t>(j)]);
    else if (std::min(i, j) < static_cast<int>(m_labelList.size())) {
        m_labelList.resize(static_cast<size_t>(hi) + 1);
        std::swap(m_labelList[static_cast<size_t>(i)], m_labelList[static_cast<size_t>(j)]);
    }
    if (i != j)
        NotifyLinked(scRefresh, -1);
}

// ---- copying between series ---------------------------------------------------

int TChartSeries::CopyPointFrom(TChartSeries *source, int index)
{
    double x = source->PointX(index);
    double y = source->PointY(index);
    if (source->ValuesAreVertical() != ValuesAreVertical())
        std::swap(x, y);
    for (int k = 2; k < m_valueLists.Count() && k < source->m_valueLists.Count(); ++k)
        m_valueLists.At(k)->SetPendingValue(source->m_valueLists.At(k)->ValueAt(index));
    m_xValues->SetPendingValue(x);
    m_yValues->SetPendingValue(y);
    const int at = m_xValues->AppendOrdered(x);
    m_yValues->InsertAt(at, y);
    InsertExtraValues(at);
    // Keep colour and label entries aligned with the points that have them.
    ++m_colorListVersion;
    if (at < static_cast<int>(m_colorList.size()))
        m_colorList.insert(m_colorList.begin() + at, clDefault);
    if (at < static_cast<int>(m_labelList.size()))
        m_labelList.insert(m_labelList.begin() + at, QString());
    return at;
}

int TChartSeries::PointCopied(TChartSeries *source, int index)
{
    const int at = CopyPointFrom(source, index);
    if (index < static_cast<int>(source->m_colorList.size())) {
        if (at >= static_cast<int>(m_colorList.size()))
            m_colorList.resize(static_cast<size_t>(at) + 1, clDefault);
        m_colorList[static_cast<size_t>(at)] = source->m_colorList[static_cast<size_t>(index)];
        ++m_colorListVersion;
    }
    if (index < static_cast<int>(source->m_labelList.size())) {
        if (at >= static_cast<int>(m_labelList.size()))
            m_labelList.resize(static_cast<size_t>(at) + 1);
        m_labelList[static_cast<size_t>(at)] = source->m_labelList[static_cast<size_t>(index)];
    }
    PointAdded(at);
    return at;
}

void TChartSeries::CopyAllPointsFrom(TChartSeries *source)
{
    if (!source || !CanFeed(source))
        return;
    {
        // Dependents hear of the refill once, when it is done.
        const TFlagGuard refilling(m_refilling);
        RemoveAllPoints();
        if (m_function) {
            m_xValues->SetDateTime(source->m_xValues->DateTime());
            m_yValues->SetDateTime(source->m_yValues->DateTime());
            // A source of this series brings the others along; any other
            // series is taken alone.
            if (std::find(m_dataSources.begin(), m_dataSources.end(), source) !=
                m_dataSources.end())
                m_function->AddPoints(FunctionSources(), m_combinesSources);
            else
                m_function->AddPoints({source}, false);
        } else {
            for (int i = 0; i < source->PointCount(); ++i)
                PointCopied(source, i);
        }
    }
    NotifyLinked(scRefresh, -1);
}

void TChartSeries::SourcePointDeleted(TChartSeries *, int index)
{
    RemovePoint(index);
}

void TChartSeries::FillSamplePoints(int count)
{
    if (count <= 0)
        throw ChartException(QStringLiteral("FillSampleValues NumValues must be > 0"));
    if (count == 1 && !m_allowSinglePoint)
        count = 2;
    RemoveAllPoints();
    QRandomGenerator &random = SampleRandom();
    double y = random.bounded(1000);
    for (int i = 0; i < count; ++i) {
        y += random.bounded(100) - 50.0;
        AppendPoint(y);
    }
}

void TChartSeries::SetSampleSeed(quint32 seed)
{
    m_sampleRandom = std::make_unique<QRandomGenerator>(seed);
}

QRandomGenerator &TChartSeries::SampleRandom() const
{
    return m_sampleRandom ? *m_sampleRandom : *QRandomGenerator::global();
}

// ---- statistics -------------------------------------------------------------------

double TChartSeries::LargestX() const
{
    return m_xValues->HighestValue();
}

double TChartSeries::LargestY() const
{
    return m_yValues->HighestValue();
}

double TChartSeries::LargestZ() const
{
    return ZOrder();
}

double TChartSeries::SmallestX() const
{
    return m_xValues->LowestValue();
}

double TChartSeries::SmallestY() const
{
    return m_yValues->LowestValue();
}

double TChartSeries::SmallestZ() const
{
    return ZOrder();
}

double TChartSeries::PointOriginValue(int index) const
{
    return MainValueList()->ValueAt(index);
}

double TChartSeries::PointMarkValue(int index) const
{
    return MainValueList()->ValueAt(index);
}

double TChartSeries::StackBase(int index, bool sumAll) const
{
    double sum = 0;
    if (!m_owner)
        return sum;
    for (TChartSeries *s : m_owner->SeriesList().Items()) {
        if (!sumAll && s == this)
            break;
        if (s == this || !s->Active() || typeid(*s) != typeid(*this))
            continue;
        // A null point adds nothing: the next series stacks on the others.
        if (index < s->PointCount() && !s->IsNullPoint(index)) {
            const double v = s->PointOriginValue(index);
            if (v > 0)
                sum += v;
        }
    }
    return sum;
}

TChartValueList *TChartSeries::ValueListByName(const QString &name) const
{
    for (int i = 2; i < m_valueLists.Count(); ++i)
        if (m_valueLists.At(i)->Name().compare(name, Qt::CaseInsensitive) == 0)
            return m_valueLists.At(i);
    return m_yValues;
}

TChartValueList *TChartSeries::AddValueList(const QString &name)
{
    TChartValueList *list = m_valueLists.Add(std::make_unique<TChartValueList>(name));
    list->OnChange = [this](TValueListChange change, int index) {
        ValueListChanged(change, index);
    };
    list->OnSwapPoints = [this](int i, int j) { SwapPoints(i, j); };
    return list;
}

void TChartSeries::ValueListChanged(TValueListChange change, int index)
{
    switch (change) {
    case vlcValue:
        NotifyLinked(scModify, index);
        break;
    case vlcDateTime:
        RequestRepaint();
        break;
    case vlcMultiplier:
        NotifyLinked(scRefresh, -1);
        RequestRepaint();
        break;
    case vlcValueSource:
        CheckDataSource();
        break;
    }
}

void TChartSeries::InsertExtraValues(int index)
{
    for (int i = 2; i < m_valueLists.Count(); ++i) {
        TChartValueList *list = m_valueLists.At(i);
        list->InsertAt(std::min(index, list->ValueCount()), list->PendingValue());
    }
}

void TChartSeries::ResetPendingValue(TChartValueList *list)
{
    list->SetPendingValue(0);
}

// ---- axes and screen positions ---------------------------------------------------

void TChartSeries::ResolveAxes()
{
    if (!m_owner) {
        m_resolvedHorizAxis = nullptr;
        m_resolvedVertAxis = nullptr;
        return;
    }
    const TSideAxes axes = m_owner->SideAxes();
    if (m_settings.HorizAxis == aTopAxis)
        m_resolvedHorizAxis = axes.Top;
    else if (m_settings.HorizAxis == aCustomHorizAxis && m_customHorizAxis)
        m_resolvedHorizAxis = m_customHorizAxis;
    else
        m_resolvedHorizAxis = axes.Bottom;
    if (m_settings.VertAxis == aRightAxis)
        m_resolvedVertAxis = axes.Right;
    else if (m_settings.VertAxis == aCustomVertAxis && m_customVertAxis)
        m_resolvedVertAxis = m_customVertAxis;
    else
        m_resolvedVertAxis = axes.Left;
}

bool TChartSeries::IsOnAxis(const TCustomChartAxis *axis) const
{
    if (!HasAxes() || !axis)
        return false;
    if (axis->IsHorizontal())
        return m_settings.HorizAxis == aBothHorizAxis || axis == m_resolvedHorizAxis;
    return m_settings.VertAxis == aBothVertAxis || axis == m_resolvedVertAxis;
}

double TChartSeries::ScreenXToValue(int x) const
{
    return ResolvedAxes().XValue(x);
}

double TChartSeries::ScreenYToValue(int y) const
{
    return ResolvedAxes().YValue(y);
}

int TChartSeries::ValueScreenX(double value) const
{
    return ResolvedAxes().XPos(value);
}

int TChartSeries::ValueScreenY(double value) const
{
    return ResolvedAxes().YPos(value);
}

int TChartSeries::ValueScreenPos(double value) const
{
    return ValuesAreVertical() ? ValueScreenY(value) : ValueScreenX(value);
}

int TChartSeries::PointScreenX(int index) const
{
    return ValueScreenX(PointX(index));
}

int TChartSeries::PointScreenY(int index) const
{
    return ValueScreenY(PointY(index));
}

void TChartSeries::ComputeShownRange()
{
    m_firstShown = -1;
    m_lastShown = -1;
    const int count = PointCount();
    if (count == 0)
        return;
    const int n = count - 1;
    const bool vertical = ValuesAreVertical();
    const TChartValueList *positions = vertical ? m_xValues : m_yValues;
    const TCustomChartAxis *axis = vertical ? m_resolvedHorizAxis : m_resolvedVertAxis;
    if (!m_clipToAxisRange || positions->Order() == loNone || !axis || !m_owner) {
        m_firstShown = 0;
        m_lastShown = n;
        return;
    }
    const TRect r = m_owner->SeriesRect();
    double lo;
    double hi;
    if (vertical) {
        lo = axis->PosToValue(axis->Inverted() ? r.Right : r.Left);
        hi = axis->PosToValue(axis->Inverted() ? r.Left : r.Right);
    } else {
        lo = axis->PosToValue(axis->Inverted() ? r.Top : r.Bottom);
        hi = axis->PosToValue(axis->Inverted() ? r.Bottom : r.Top);
    }
    const double reach = PositionReach();
    if (reach > 0) {
        lo -= reach;
        hi += reach;
    }
    // The first position from..n not below limit, n + 1 when none: halving
    // the list when its values are known to rise, else walking it.
    const bool ascending = positions->Order() == loAscending && positions->IsAscending();
    auto firstNotBelow = [positions, n, ascending](int from, double limit) {
        if (ascending) {
            int to = n + 1;
            while (from < to) {
                const int mid = from + (to - from) / 2;
                if (positions->ValueAt(mid) < limit)
                    from = mid + 1;
                else
                    to = mid;
            }
            return from;
        }
        while (from <= n && positions->ValueAt(from) < limit)
            ++from;
        return from;
    };
    const int first = firstNotBelow(0, lo);
    if (first > n)
        return;
    m_firstShown = first;
    if (!(positions->ValueAt(n) > hi)) {
        m_lastShown = n;
        return;
    }
    int last = firstNotBelow(first, hi);
    if (last > n)
        last = n;
    if (!m_drawsBetweenPoints && positions->ValueAt(last) > hi)
        --last;
    m_lastShown = last;
}

void TChartSeries::ExtraHorizMargins(int &left, int &right) const
{
    left = 0;
    right = 0;
}

void TChartSeries::ExtraVertMargins(int &top, int &bottom) const
{
    top = 0;
    bottom = 0;
}

// ---- depth ------------------------------------------------------------------------------

void TChartSeries::AssignZOrder()
{
    if (!m_owner) {
        m_autoZOrder = 0;
        return;
    }
    if (m_zOrderSetting == -1) {
        if (m_owner->SeriesIn3D()) {
            m_owner->SetMaxZOrder(m_owner->MaxZOrder() + 1);
            m_autoZOrder = m_owner->MaxZOrder();
        } else {
            m_autoZOrder = 0;
        }
    } else {
        m_owner->SetMaxZOrder(std::max(m_owner->MaxZOrder(), m_zOrderSetting));
    }
}

bool TChartSeries::SharesZOrder() const
{
    if (!m_owner || !m_owner->ZOrdersApplied())
        return false;
    for (TChartSeries *s : m_owner->SeriesList().Items())
        if (s != this && s->Active() && !s->HasOwnDepthValues() && s->ZOrder() == ZOrder())
            return true;
    return false;
}

void TChartSeries::SetDepthPositions(int start, int end)
{
    m_depth = {start, (start + end) / 2, end};
}

// ---- drawing --------------------------------------------------------------------------------

void TChartSeries::BeforeDrawPoints()
{
    if (BeforeDrawValues)
        BeforeDrawValues(this);
}

void TChartSeries::AfterDrawPoints()
{
    if (AfterDrawValues)
        AfterDrawValues(this);
}

void TChartSeries::DrawAllPoints(const TSeriesPaintContext &context)
{
    // No shown range (-1) draws nothing: index -1 is not a point.
    if (m_firstShown < 0 || m_lastShown < m_firstShown)
        return;
    if (PointsDrawnForward()) {
        for (int i = m_firstShown; i <= m_lastShown; ++i)
            DrawPoint(context, i);
    } else {
        for (int i = m_lastShown; i >= m_firstShown; --i)
            DrawPoint(context, i);
    }
}

// ---- marks ------------------------------------------------------------------------------------

QString TChartSeries::FormattedValue(double value) const
{
    return m_valueTexts.Format(m_settings.ValueFormat, value);
}

QString TChartSeries::LabelOrValueText(int index) const
{
    const QString label = PointLabel(index);
    return label.isEmpty() ? FormattedValue(PointMarkValue(index)) : label;
}

double TChartSeries::PointPercent(int index) const
{
    const double total = PercentTotal();
    return total == 0 ? 100.0 : PointMarkValue(index) * 100.0 / total;
}

QString TChartSeries::PercentText(int index, bool withTotal) const
{
    const QString text = FormatFloat(m_settings.PercentFormat, PointPercent(index));
    if (!withTotal)
        return text;
    return QStringLiteral("%1 of %2").arg(text, FormattedValue(PercentTotal()));
}

QString TChartSeries::MarkText(int index) const
{
    QString text;
    switch (m_marks.Style()) {
    case smsValue:
        text = FormattedValue(PointMarkValue(index));
        break;
    case smsPercent:
        text = PercentText(index, false);
        break;
    case smsLabel:
        text = LabelOrValueText(index);
        break;
    case smsLabelPercent:
        text = LabelOrValueText(index) + QLatin1Char(' ') + PercentText(index, false);
        break;
    case smsLabelValue:
        text = LabelOrValueText(index) + QLatin1Char(' ') + FormattedValue(PointMarkValue(index));
        break;
    case smsLegend:
        if (m_owner)
            text = m_owner->FormattedValueLegend(const_cast<TChartSeries *>(this), index);
        break;
    case smsPercentTotal:
        text = PercentText(index, true);
        break;
    case smsLabelPercentTotal:
        text = LabelOrValueText(index) + QLatin1Char(' ') + PercentText(index, true);
        break;
    case smsXValue:
        text = m_resolvedHorizAxis ? m_resolvedHorizAxis->FormatLabel(PointX(index))
                                   : FormattedValue(PointX(index));
        break;
    }
    if (OnGetMarkText)
        OnGetMarkText(const_cast<TChartSeries *>(this), index, text);
    return text;
}

int TChartSeries::HitTest(const TSeriesPaintContext &, int, int) const
{
    return -1;
}

int TChartSeries::HitTest(int x, int y) const
{
    if (!m_owner)
        return -1;
    return HitTest(m_owner->SeriesPaintContext(*this), x, y);
}

int TChartSeries::MaxMarkWidth() const
{
    if (!m_owner)
        return 0;
    TChartCanvas &canvas = m_owner->TextCanvas();
    int widest = 0;
    for (int i = 0; i < PointCount(); ++i) {
        int lines = 0;
        widest = std::max(widest, WidestLineWidth(canvas, MarkText(i), lines));
    }
    return widest;
}

void TChartSeries::DrawMarks(const TSeriesPaintContext &context)
{
    if (m_firstShown < 0)
        return;
    TCanvas3D &canvas = context.Canvas;
    // Every mark is written in the same font and framed by the same pen, so
    // the measures that do not depend on the text are taken once.
    context.SelectFont(m_marks.Font());
    if (context.TextZoom != 100)
        canvas.Font().SetSize(
            std::max(1, RoundToInt(canvas.Font().Size() * context.TextZoom * 0.01)));
    const int padding = canvas.MeasureTextWidth(QStringLiteral("W"));
    const int lineHeight = canvas.TextLineHeight();
    canvas.ApplyChartPen(m_marks.Frame());
    const int frame = m_marks.Frame().Visible() ? 2 * m_marks.Frame().Width() : 0;
    // One position is filled in for every mark in turn.
    TSeriesMarkPosition position;
    for (int i = m_firstShown; i <= m_lastShown && i < PointCount(); ++i) {
        if (IsNullPoint(i))
            continue;
        // A point outside the chart rectangle still has its mark (Clip keeps
        // marks inside when set); only a point beyond the drawable range,
        // far outside any picture, has none.
        const TPoint point = MarkPoint(context, i);
        if (!IsDrawable(point.X, point.Y))
            continue;
        const QString text = MarkText(i);
        if (text.isEmpty())
            continue;
        int lines = 0;
        position.Width = WidestLineWidth(canvas, text, lines) + padding + frame;
        position.Height = lines * lineHeight + frame;
        position.ArrowFrom = point;
        position.ArrowTo = point;
        // The box sits on the point; the series type lifts it.
        position.LeftTop = TPoint{point.X - position.Width / 2, point.Y - position.Height + 1};
        DrawPointMark(context, i, text, position);
    }
}

TPoint TChartSeries::MarkPoint(const TSeriesPaintContext &context, int index) const
{
    return {context.XPos(PointX(index)), context.YPos(PointY(index))};
}

void TChartSeries::DrawPointMark(const TSeriesPaintContext &context, int index, const QString &text,
                                 TSeriesMarkPosition &position)
{
    m_marks.PaintMark(context, index, EffectivePointColor(index), position, text);
}

// ---- mouse --------------------------------------------------------------------------------------

bool TChartSeries::NotifySeriesClick(TChartSeries *sender, int index, TMouseButton button,
                                     TShiftState shift, int x, int y)
{
    bool consumed = false;
    if (m_owner)
        m_owner->SetClickConsumed(false);
    if ((shift & ssDouble) && OnDblClick) {
        consumed = true;
        if (m_owner)
            m_owner->SetClickConsumed(true);
        OnDblClick(sender, index, button, shift, x, y);
    } else if (OnClick) {
        consumed = true;
        if (m_owner)
            m_owner->SetClickConsumed(true);
        OnClick(sender, index, button, shift, x, y);
    }
    // A handler may clear the flag again to let the chart zoom or scroll.
    return m_owner ? m_owner->ClickConsumed() : consumed;
}

// ---- legend
// ----------------------------------------------------------------------------------------

QString TChartSeries::LegendEntryText(int i, TLegendTextStyle style) const
{
    const int index = LegendToPointIndex(i);
    const QString label = PointLabel(index);
    if (style == ltsPlain)
        return label;
    if (style == ltsXValue) {
        const double x = PointX(index);
        if (m_resolvedHorizAxis)
            return m_resolvedHorizAxis->FormatLabel(x);
        return FormattedValue(x);
    }
    // Only the text the style shows is formatted: the legend asks for every
    // shown row at every picture.
    const double v = PointMarkValue(index);
    // The same share the marks show.
    const auto percentText = [this, index] { return PercentText(index, false); };
    switch (style) {
    case ltsLeftValue:
        return FormattedValue(v) + QLatin1Char(' ') + label;
    case ltsRightValue:
        return label + QLatin1Char(' ') + FormattedValue(v);
    case ltsLeftPercent:
        return percentText() + QLatin1Char(' ') + label;
    case ltsRightPercent:
        return label + QLatin1Char(' ') + percentText();
    default:
        return label;
    }
}

void TChartSeries::DrawLegendEntry(const TSeriesPaintContext &context, int index, const TRect &rect)
{
    if (index == -1 && m_settings.ColorEachPoint)
        return;
    const TColor fill = index == -1 ? m_settings.SeriesColor : LegendEntryColor(index);
    if (fill == clNone)
        return;
    TColor back = context.LegendColor;
    TBrushStyle style = bsSolid;
    SetUpLegendCanvas(context, index, back, style);
    if (back == clDefault) {
        back = context.LegendColor;
        if (back == clDefault)
            back = context.ChartColor;
    }
    SetCanvasBrush(context.Canvas, fill, style, back);
    DrawLegendSymbol(context, index, rect);
}

void TChartSeries::DrawLegendSymbol(const TSeriesPaintContext &context, int, const TRect &rect)
{
    TCanvas3D &canvas = context.Canvas;
    canvas.DrawRect(rect);
    // A symbol in the legend's own colour would vanish: frame it.
    if (canvas.Brush().Color() == context.LegendColor) {
        if (canvas.Brush().Color() == clBlack)
            canvas.Pen().SetColor(clWhite);
        canvas.Brush().SetStyle(bsClear);
        canvas.DrawRect(rect);
        canvas.Pen().SetColor(clBlack);
    }
}

// ---- dependents and repaint ---------------------------------------------------------------------

void TChartSeries::NotifyLinked(TSeriesChange change, int index)
{
    if (m_refilling || m_linkedSeries.empty())
        return;
    for (TChartSeries *s : m_linkedSeries)
        s->Hear(this, change, index);
    FollowWaiting();
}

void TChartSeries::Hear(const TChartSeries *source, TSeriesChange change, int index)
{
    using H = THeardChange;
    if (m_heard.Kind == H::hcFull)
        return;
    const TSeriesRecalcOptions &o = m_recalcOptions;
    H::TKind kind = H::hcFull;
    switch (change) {
    case scClear:
        if (!o.OnClear)
            return;
        break;
    case scAdd:
        if (!o.OnInsert)
            return;
        if (index == source->PointCount() - 1)
            kind = H::hcAppended;
        break;
    case scDelete:
        if (!o.OnDelete)
            return;
        kind = H::hcDeleted;
        break;
    case scModify:
        if (!o.OnModify)
            return;
        kind = H::hcChanged;
        break;
    case scRefresh:
        break;
    }
    if (!m_function) {
        // A plain series copies its first source only. Its points are its
        // source's in the same order only when its X list keeps no order;
        // otherwise a deleted point is looked for by a refill.
        if (source != DataSource())
            return;
        if (kind == H::hcChanged ||
            (kind == H::hcDeleted && (m_xValues->Order() != loNone || index >= PointCount())))
            kind = H::hcFull;
    } else if (kind == H::hcDeleted) {
        kind = H::hcFull; // a deleted point moves every later period
    }
    const bool waiting = m_heard.Kind != H::hcNone;
    if (!waiting) {
        m_heard = {kind, index, index};
    } else if (kind == H::hcChanged && m_heard.Kind == H::hcChanged) {
        m_heard.First = std::min(m_heard.First, index);
        m_heard.Last = std::max(m_heard.Last, index);
    } else if (!(kind == H::hcAppended && m_heard.Kind == H::hcAppended && m_function)) {
        m_heard.Kind = H::hcFull;
    }
    if (!waiting)
        Waiting().Series.push_back(this);
}

void TChartSeries::HearFull()
{
    if (m_heard.Kind == THeardChange::hcNone)
        Waiting().Series.push_back(this);
    m_heard.Kind = THeardChange::hcFull;
}

void TChartSeries::FollowSources()
{
    const THeardChange heard = m_heard;
    m_heard = {};
    if (m_function) {
        switch (heard.Kind) {
        case THeardChange::hcAppended:
            m_function->SourcesAppended();
            break;
        case THeardChange::hcChanged:
            m_function->SourcesChanged(heard.First, heard.Last);
            break;
        default:
            RefreshFromDataSources();
            break;
        }
        return;
    }
    TChartSeries *source = DataSource();
    if (!source)
        return;
    if (heard.Kind == THeardChange::hcAppended && heard.First == source->PointCount() - 1)
        PointCopied(source, heard.First);
    else if (heard.Kind == THeardChange::hcDeleted && heard.First < PointCount())
        RemovePoint(heard.First);
    else
        CopyAllPointsFrom(source);
}

bool TChartSeries::HasWaitingSource() const
{
    // Each series is walked once, however many paths lead to it.
    const unsigned walk = ++Waiting().Walk;
    std::vector<const TChartSeries *> stack(m_dataSources.begin(), m_dataSources.end());
    while (!stack.empty()) {
        const TChartSeries *s = stack.back();
        stack.pop_back();
        if (s->m_walkMark == walk)
            continue;
        s->m_walkMark = walk;
        if (s->m_heard.Kind != THeardChange::hcNone)
            return true;
        stack.insert(stack.end(), s->m_dataSources.begin(), s->m_dataSources.end());
    }
    return false;
}

void TChartSeries::FollowWaiting()
{
    TWaitingSeries &waiting = Waiting();
    if (waiting.Following)
        return;
    const TFlagGuard following(waiting.Following);
    try {
        while (!waiting.Series.empty()) {
            // The first that depends on no waiting series; the sources never
            // form a cycle, so there is one.
            auto next = std::find_if(waiting.Series.begin(), waiting.Series.end(),
                                     [](const TChartSeries *s) { return !s->HasWaitingSource(); });
            if (next == waiting.Series.end())
                next = waiting.Series.begin();
            TChartSeries *series = *next;
            waiting.Series.erase(next);
            series->FollowSources();
        }
    } catch (...) {
        // A handler threw: what is left waits no more.
        for (TChartSeries *s : waiting.Series)
            s->m_heard = {};
        waiting.Series.clear();
        throw;
    }
}

void ReportChange(TChartSeries *series)
{
    series->RequestRepaint();
}

void TChartSeries::RequestRepaint()
{
    if (m_owner)
        m_owner->SeriesChanged();
}

void TChartSeries::RequestPointRepaint()
{
    // An inactive series is not drawn, but its points may still set axis
    // ranges; the pipeline compares those anyway.
    if (m_owner)
        m_owner->SeriesValuesChanged();
}

void TChartSeries::CheckDataSource()
{
    if (m_owner)
        m_owner->RefreshSeriesDataSource(this);
}

void TSeriesState::AddLinkedSeries(TChartSeries *series)
{
    if (std::find(m_linkedSeries.begin(), m_linkedSeries.end(), series) == m_linkedSeries.end())
        m_linkedSeries.push_back(series);
}

void TSeriesState::DropLinkedSeries(TChartSeries *series)
{
    m_linkedSeries.erase(std::remove(m_linkedSeries.begin(), m_linkedSeries.end(), series),
                         m_linkedSeries.end());
}

void TChartSeries::RemoveLinkedSeries()
{
    const std::vector<TChartSeries *> linked = m_linkedSeries;
    m_linkedSeries.clear();
    // A function follows the sources it has left, and a plain copy of this
    // series copies the source that is now its first, if any; a series whose
    // chart is being torn down goes with it and need not.
    bool follow = false;
    for (TChartSeries *s : linked) {
        const bool copied = !s->m_function && s->DataSource() == this;
        s->m_dataSources.erase(std::remove(s->m_dataSources.begin(), s->m_dataSources.end(), this),
                               s->m_dataSources.end());
        if (s->m_dataSources.empty())
            s->m_combinesSources = false;
        if ((s->m_function || (copied && !s->m_dataSources.empty())) &&
            !(s->m_owner && s->m_owner->IsDestroying())) {
            s->HearFull();
            follow = true;
        }
    }
    if (follow)
        FollowWaiting();
}

// ---- series list
// ----------------------------------------------------------------------------------

TChartSeries *TChartSeriesList::SeriesAt(int i) const
{
    if (i < 0 || i >= Count())
        throw ListIndexError(i);
    return m_items[static_cast<size_t>(i)];
}

int TChartSeriesList::ActiveCount() const
{
    return static_cast<int>(
        std::count_if(m_items.begin(), m_items.end(), [](TChartSeries *s) { return s->Active(); }));
}

int TChartSeriesList::IndexOf(const TChartSeries *series) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), series);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

void TChartSeriesList::Remove(TChartSeries *series)
{
    m_items.erase(std::remove(m_items.begin(), m_items.end(), series), m_items.end());
}

} // namespace kov
