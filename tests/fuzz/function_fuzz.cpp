// Series functions and data sources: random sequences of operations on a few
// series of every registered type (points added, changed, nulled, swapped and
// deleted; sources set, added, removed, destroyed and taken out of the chart;
// functions attached, their periods changed; settings copied; entries
// registered). After every operation each function series is compared with a
// calculation of its own from its sources, each plain copy with its first
// source, each series' source list with the one kept here, and no series may
// have been filled anew more than once (nor any operation have taken long).
#include "chart/chart.h"
#include "chart/exceptions.h"
#include "chart/functions/series_function.h"
#include "chart/series/series.h"
#include "chart/series/series_registry.h"
#include "fuzz_application.h"
#include "fuzz_check.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numeric>
#include <typeinfo>
#include <vector>

using namespace kov;

namespace {

constexpr int SlotCount = 8;
/// Points a series may have: the model's calculations stay cheap.
constexpr int MaxPoints = 48;

class TInput
{
public:
    TInput(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}
    bool Done() const { return m_pos >= m_size; }
    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    /// A small value, a quarter step apart: sums stay exact enough to compare.
    double Value() { return static_cast<std::int8_t>(Byte()) / 4.0; }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

/// The function kinds by their registered class names, in the order of Kind.
enum TKind { kAdd, kSubtract, kMultiply, kDivide, kHigh, kLow, kAverage, kKindCount };
const char *const KindNames[kKindCount] = {
    "TAddFunction",  "TSubtractFunction", "TMultiplyFunction", "TDivideFunction",
    "THighFunction", "TLowFunction",      "TAverageFunction"};

/// What the fuzzer knows of one series.
struct TSlot
{
    TChartSeries *Series = nullptr;
    /// Held here while the series is in no chart.
    std::unique_ptr<TChartSeries> Owned;
    int Kind = -1; // -1: no function
    std::vector<int> Sources;
    bool Combines = false;
    int Refills = 0;
};

struct TPoint
{
    double Position;
    double Value;
    bool Null;
};

bool Same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

/// The function of the inputs, calculated here in the plainest way.
bool Calculate(int kind, const std::vector<double> &in, double &out)
{
    switch (kind) {
    case kAdd:
        out = std::accumulate(in.begin(), in.end(), 0.0);
        return true;
    case kSubtract:
        out = in[0];
        for (std::size_t i = 1; i < in.size(); ++i)
            out -= in[i];
        return true;
    case kMultiply:
        out = std::accumulate(in.begin(), in.end(), 1.0, std::multiplies<>());
        return true;
    case kDivide:
        out = in[0];
        for (std::size_t i = 1; i < in.size(); ++i) {
            if (in[i] == 0)
                return false;
            out /= in[i];
        }
        return true;
    case kHigh:
        out = *std::max_element(in.begin(), in.end());
        return true;
    case kLow:
        out = *std::min_element(in.begin(), in.end());
        return true;
    default:
        out = std::accumulate(in.begin(), in.end(), 0.0) / static_cast<double>(in.size());
        return true;
    }
}

TChartValueList *Positions(const TChartSeries *s)
{
    return s->ValuesAreVertical() ? s->XValues() : s->YValues();
}

TPoint Result(int kind, const std::vector<double> &in, double position)
{
    TPoint p{position, 0, true};
    if (!in.empty())
        p.Null = !Calculate(kind, in, p.Value);
    if (p.Null)
        p.Value = 0;
    return p;
}

/// The result points in the order they are calculated.
std::vector<TPoint> Model(int kind, const TSeriesFunction &f, bool combines,
                          const std::vector<const TChartSeries *> &sources)
{
    std::vector<TPoint> out;
    if (sources.empty())
        return out;
    const TChartSeries *first = sources.front();
    const bool againstRest = kind == kSubtract || kind == kDivide;
    if (combines || sources.size() > 1) {
        int n = first->PointCount();
        for (const TChartSeries *s : sources)
            n = std::min(n, s->PointCount());
        for (int i = 0; i < n; ++i) {
            std::vector<double> in;
            bool null = false;
            for (const TChartSeries *s : sources) {
                if (!s->IsNullPoint(i))
                    in.push_back(s->MainValueList()->ValueAt(i));
                else if (s == first && againstRest)
                    null = true;
            }
            if (null)
                in.clear();
            out.push_back(Result(kind, in, Positions(first)->ValueAt(i)));
        }
        return out;
    }
    const int n = first->PointCount();
    const TChartValueList *pos = Positions(first);
    const auto inputs = [&](int from, int to) {
        std::vector<double> in;
        for (int i = from; i < to; ++i)
            if (!first->IsNullPoint(i))
                in.push_back(first->MainValueList()->ValueAt(i));
        return in;
    };
    if (n == 0)
        return out;
    const long long p = f.Period();
    if (p == 0) {
        double lo = pos->ValueAt(0);
        double hi = lo;
        for (int i = 1; i < n; ++i) {
            lo = std::min(lo, pos->ValueAt(i));
            hi = std::max(hi, pos->ValueAt(i));
        }
        const std::vector<double> in = inputs(0, n);
        out.push_back(Result(kind, in, lo));
        out.push_back(Result(kind, in, hi));
        return out;
    }
    for (long long from = 0; from < n; from += f.Moving() ? 1 : p) {
        const long long to = std::min<long long>(from + p, n);
        if (f.Moving() && from + p > n)
            break;
        const int a = static_cast<int>(from);
        const int b = static_cast<int>(to);
        out.push_back(Result(kind, inputs(a, b), (pos->ValueAt(a) + pos->ValueAt(b - 1)) / 2));
    }
    return out;
}

/// Where a list that keeps order (and multiplies what it stores) puts each of
/// the positions, appended one after another; returns the stored order.
std::vector<int> Placed(const TChartValueList &list, const std::vector<double> &positions)
{
    std::vector<int> order;
    std::vector<double> stored;
    for (int k = 0; k < static_cast<int>(positions.size()); ++k) {
        const double v = positions[static_cast<std::size_t>(k)];
        std::size_t at = stored.size();
        if (list.Order() == loAscending)
            while (at > 0 && stored[at - 1] * list.Multiplier() > v)
                --at;
        else if (list.Order() == loDescending)
            while (at > 0 && stored[at - 1] * list.Multiplier() < v)
                --at;
        stored.insert(stored.begin() + static_cast<std::ptrdiff_t>(at), v);
        order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), k);
    }
    return order;
}

/// The points of s as (position, value, null), position and value along
/// the axes its own orientation gives.
TPoint PointOf(const TChartSeries *s, int i)
{
    return {Positions(s)->ValueAt(i), s->MainValueList()->ValueAt(i), s->IsNullPoint(i)};
}

class TFuzzer
{
public:
    explicit TFuzzer(TInput &in) : m_in(in) {}
    ~TFuzzer()
    {
        // The chart frees the series it holds; ours go first.
        for (TSlot &s : m_slots)
            s.Owned.reset();
    }

    void Run()
    {
        for (int step = 0; step < 400 && !m_in.Done(); ++step) {
            for (TSlot &s : m_slots)
                s.Refills = 0;
            m_calls = 1;
            const auto start = std::chrono::steady_clock::now();
            Step();
            const auto took = std::chrono::steady_clock::now() - start;
            FUZZ_CHECK(took < std::chrono::seconds(1));
            Check();
        }
    }

private:
    int SlotOf(const TChartSeries *series) const
    {
        for (int i = 0; i < SlotCount; ++i)
            if (m_slots[static_cast<std::size_t>(i)].Series == series)
                return i;
        return -1;
    }
    TSlot &Pick() { return m_slots[m_in.Byte() % SlotCount]; }
    /// A series that is neither a function nor a copy: its points are its own.
    TChartSeries *Root(TSlot &s) const
    {
        return s.Series && s.Kind < 0 && s.Sources.empty() ? s.Series : nullptr;
    }

    void Create(TSlot &slot)
    {
        if (slot.Series)
            return;
        const std::vector<TSeriesRegistration> &entries = TSeriesRegistry::Instance().Entries();
        const TSeriesRegistration &entry = entries[m_in.Byte() % entries.size()];
        std::unique_ptr<TChartSeries> series =
            TSeriesRegistry::Instance().CreateSeries(entry.ClassName);
        slot = TSlot{};
        slot.Kind = -1;
        for (int k = 0; k < kKindCount; ++k)
            if (entry.ClassName == QLatin1String(KindNames[k]))
                slot.Kind = k;
        const TChartListOrder orders[] = {loAscending, loNone, loDescending};
        if (m_in.Byte() % 4 == 0)
            series->XValues()->SetOrder(orders[m_in.Byte() % 3]);
        series->OnClearValues = [this](TChartSeries *s) {
            const int i = SlotOf(s);
            if (i >= 0)
                ++m_slots[static_cast<std::size_t>(i)].Refills;
        };
        slot.Series = series.get();
        if (m_in.Byte() % 2)
            m_chart.AddSeries(std::move(series));
        else
            slot.Owned = std::move(series);
    }

    /// The series left: its dependents no longer take it.
    void Forget(int index)
    {
        for (TSlot &s : m_slots) {
            auto &src = s.Sources;
            if (std::find(src.begin(), src.end(), index) == src.end())
                continue;
            src.erase(std::remove(src.begin(), src.end(), index), src.end());
            if (src.empty())
                s.Combines = false;
        }
    }

    void Destroy(int index)
    {
        TSlot &slot = m_slots[static_cast<std::size_t>(index)];
        if (!slot.Series)
            return;
        slot.Series->OnClearValues = nullptr;
        if (slot.Owned)
            slot.Owned.reset();
        else
            delete slot.Series; // the chart held it
        slot = TSlot{};
        Forget(index);
    }

    void Expect(bool refused, const auto &change)
    {
        try {
            change();
            FUZZ_CHECK(!refused);
        } catch (const ChartException &e) {
            FUZZ_CHECK(refused);
            FUZZ_CHECK(e.Message() == QLatin1String("Circular Series dependences are not allowed"));
        }
    }

    /// Whether source's chain of sources leads to target (or is target).
    bool Leads(int source, int target) const
    {
        if (source == target)
            return true;
        for (int s : m_slots[static_cast<std::size_t>(source)].Sources)
            if (Leads(s, target))
                return true;
        return false;
    }

    void Step()
    {
        const int op = m_in.Byte() % 20;
        const int index = m_in.Byte() % SlotCount;
        TSlot &slot = m_slots[static_cast<std::size_t>(index)];
        if (op == 0) {
            Create(slot);
            return;
        }
        if (!slot.Series)
            return;
        TChartSeries *series = slot.Series;
        TChartSeries *root = Root(slot);
        const int count = series->PointCount();
        const auto point = [&] { return count == 0 ? 0 : static_cast<int>(m_in.Byte() % count); };
        switch (op) {
        case 1:
            Destroy(index);
            break;
        case 2:
        case 3: {
            const int other = m_in.Byte() % SlotCount;
            TChartSeries *source = m_slots[static_cast<std::size_t>(other)].Series;
            if (op == 2) {
                const bool refused = source && Leads(other, index);
                Expect(refused, [&] { series->SetDataSource(source); });
                if (!refused) {
                    slot.Sources.clear();
                    if (source)
                        slot.Sources.push_back(other);
                    slot.Combines = false;
                }
            } else if (source && std::find(slot.Sources.begin(), slot.Sources.end(), other) ==
                                     slot.Sources.end()) {
                const bool refused = Leads(other, index);
                Expect(refused, [&] { series->AddDataSource(source); });
                if (!refused) {
                    slot.Sources.push_back(other);
                    slot.Combines = slot.Combines || slot.Sources.size() > 1;
                }
            }
            break;
        }
        case 4:
            if (!slot.Sources.empty()) {
                const int other = slot.Sources[m_in.Byte() % slot.Sources.size()];
                slot.Sources.erase(std::find(slot.Sources.begin(), slot.Sources.end(), other));
                if (slot.Sources.empty())
                    slot.Combines = false;
                series->RemoveDataSource(m_slots[static_cast<std::size_t>(other)].Series);
            }
            break;
        case 5:
        case 6:
            if (root && count < MaxPoints) {
                const int how = m_in.Byte() % 4;
                if (how == 0)
                    root->AppendNullPoint();
                else if (how == 1)
                    root->AppendPointXY(m_in.Value(), m_in.Value());
                else
                    root->AppendPoint(m_in.Value());
            }
            break;
        case 7:
            if (root && count > 0)
                root->MainValueList()->SetValueAt(point(), m_in.Value());
            break;
        case 8:
            if (root && count > 0)
                Positions(root)->SetValueAt(point(), m_in.Value());
            break;
        case 9:
            if (root && count > 0)
                root->RemovePoint(point());
            break;
        case 10:
            if (root && count > 0) {
                const int i = point();
                root->SwapPoints(i, point());
            }
            break;
        case 11:
            if (root && count > 0)
                root->SetPointColor(point(), m_in.Byte() % 2 ? clNone : clDefault);
            break;
        case 12:
            if (root)
                root->RemoveAllPoints();
            break;
        case 13:
            if (root)
                root->SetColorEachPoint(m_in.Byte() % 2);
            break;
        case 14:
            if (TSeriesFunction *f = series->Function()) {
                const int p = m_in.Byte();
                if (m_in.Byte() % 2)
                    f->SetMoving(p % 2);
                else
                    f->SetPeriod(p > 250 ? 0x7fffffff - p : p % 12);
            }
            break;
        case 15: {
            const int kind = static_cast<int>(m_in.Byte() % (kKindCount + 1)) - 1;
            series->AttachFunction(
                kind < 0 ? nullptr
                         : TSeriesRegistry::Instance().Find(KindNames[kind])->CreateFunction());
            slot.Kind = kind;
            break;
        }
        case 16:
            if (slot.Owned) {
                m_chart.AddSeries(std::move(slot.Owned));
            } else {
                series->SetParentChart(nullptr);
                slot.Owned.reset(series);
                Forget(index); // its dependents no longer take it
            }
            break;
        case 17: {
            m_calls = 2; // settings copied, then a multiplier set
            TSlot &other = Pick();
            if (other.Series && other.Series != series) {
                // Settings of another series of the same type only.
                if (typeid(*other.Series) == typeid(*series))
                    series->CopyFrom(*other.Series);
            }
            if (root && m_in.Byte() % 2)
                root->MainValueList()->SetMultiplier(m_in.Byte() % 3);
            break;
        }
        case 18: {
            TSeriesRegistry &registry = TSeriesRegistry::Instance();
            const QString name = QStringLiteral("TFuzzFunction");
            RegisterFunction<TLowFunction, TChartSeries>(registry, name, QStringLiteral("Fuzz"));
            FUZZ_CHECK(registry.Find(name) && registry.Pages().contains(FunctionsGalleryPage()));
            FUZZ_CHECK(registry.Unregister(name) && !registry.Find(name));
            break;
        }
        default:
            if (root && count < MaxPoints - 8) {
                m_calls = m_in.Byte() % 8 + 1;
                for (int i = 0; i < m_calls; ++i)
                    root->AppendPoint(m_in.Value());
            }
            break;
        }
    }

    void Check()
    {
        for (int i = 0; i < SlotCount; ++i) {
            const TSlot &slot = m_slots[static_cast<std::size_t>(i)];
            if (!slot.Series)
                continue;
            FUZZ_CHECK(slot.Refills <= m_calls);
            std::vector<const TChartSeries *> sources;
            for (int s : slot.Sources)
                sources.push_back(m_slots[static_cast<std::size_t>(s)].Series);
            const std::vector<TChartSeries *> &actual = slot.Series->DataSources();
            FUZZ_CHECK(std::equal(actual.begin(), actual.end(), sources.begin(), sources.end()));
            FUZZ_CHECK((slot.Kind >= 0) == (slot.Series->Function() != nullptr));
            if (slot.Kind >= 0)
                CheckFunction(slot, sources);
            else if (!sources.empty())
                CheckCopy(slot.Series, sources.front());
        }
    }

    void CheckFunction(const TSlot &slot, const std::vector<const TChartSeries *> &sources)
    {
        const TChartSeries *series = slot.Series;
        const std::vector<TPoint> model =
            Model(slot.Kind, *series->Function(), slot.Combines, sources);
        FUZZ_CHECK(series->PointCount() == static_cast<int>(model.size()));
        // Points are placed by X: a vertical series' positions, a horizontal
        // one's values.
        const TChartValueList *pos = Positions(series);
        const bool vertical = series->ValuesAreVertical();
        std::vector<double> xs;
        for (const TPoint &p : model)
            xs.push_back(vertical ? p.Position : p.Value);
        const std::vector<int> order = Placed(*series->XValues(), xs);
        for (int i = 0; i < series->PointCount(); ++i) {
            const TPoint &want =
                model[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])];
            const TPoint have = PointOf(series, i);
            FUZZ_CHECK(Same(have.Position, want.Position * pos->Multiplier()));
            FUZZ_CHECK(have.Null == want.Null);
            FUZZ_CHECK(Same(have.Value, want.Value * series->MainValueList()->Multiplier()));
        }
    }

    /// A plain copy: its first source's points, each placed as the copy's X
    /// list orders them.
    static void CheckCopy(const TChartSeries *copy, const TChartSeries *source)
    {
        FUZZ_CHECK(copy->PointCount() == source->PointCount());
        const bool swap = copy->ValuesAreVertical() != source->ValuesAreVertical();
        std::vector<double> xs;
        for (int i = 0; i < source->PointCount(); ++i)
            xs.push_back(swap ? source->PointY(i) : source->PointX(i));
        const std::vector<int> order = Placed(*copy->XValues(), xs);
        for (int i = 0; i < copy->PointCount(); ++i) {
            const int j = order[static_cast<std::size_t>(i)];
            const double x = swap ? source->PointY(j) : source->PointX(j);
            const double y = swap ? source->PointX(j) : source->PointY(j);
            FUZZ_CHECK(Same(copy->PointX(i), x * copy->XValues()->Multiplier()));
            FUZZ_CHECK(Same(copy->PointY(i), y * copy->YValues()->Multiplier()));
            FUZZ_CHECK(copy->IsNullPoint(i) == source->IsNullPoint(j));
        }
    }

    TInput &m_in;
    /// Changes the last step made: each series may be filled anew once for
    /// each.
    int m_calls = 1;
    TChart m_chart;
    std::array<TSlot, SlotCount> m_slots;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    return StartOffscreenApplication(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TInput in(data, size);
    TFuzzer fuzzer(in);
    fuzzer.Run();
    return 0;
}
