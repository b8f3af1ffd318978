#include "chart/series/fast_line_series.h"

#include "chart/axis/axis.h"
#include "chart/axis/axis_mapping.h"
#include "chart/canvas/chart_canvas3d.h"
#include "chart/series/custom_series.h"
#include "chart/series/hit_geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kov {

namespace {

/// Screen coordinates beyond this are not drawn (as for the line series).
constexpr int MaxDrawableCoord = 32766;
/// More changed points than this between two paints build the columns again
/// instead of updating them one by one.
constexpr std::size_t MaxChangedPoints = 4096;

bool Drawable(const TPoint &p)
{
    return p.X >= -MaxDrawableCoord && p.X <= MaxDrawableCoord && p.Y >= -MaxDrawableCoord &&
           p.Y <= MaxDrawableCoord;
}

bool DrawableCoord(int c)
{
    return c >= -MaxDrawableCoord && c <= MaxDrawableCoord;
}

/// Whether map turns v into a pixel by its plain linear formula (no
/// logarithm, no fallback for huge values). Between two such values the
/// pixels follow the values' order, so the lowest and highest value of a
/// set give its extreme pixels.
bool MapsLinearly(const TAxisMapping &map, double v)
{
    if (map.Depth || map.Logarithmic || map.RangeSize == 0)
        return false;
    // As the mapping computes it; false for NaN and infinities.
    const double t = (v - map.RangeMin) * map.PixelSize / map.RangeSize;
    return std::fabs(t) < 1e9;
}

/// The lowest and highest of v[0..count), count > 0, read with packed
/// compares; false when one of them is not a number.
bool ValueExtremes(const double *v, std::size_t count, double &low, double &high)
{
    std::size_t i = 0;
    bool number = true;
#if defined(__SSE2__)
    if (count >= 4) {
        __m128d low0 = _mm_loadu_pd(v);
        __m128d low1 = _mm_loadu_pd(v + 2);
        __m128d high0 = low0;
        __m128d high1 = low1;
        __m128d nan = _mm_cmpunord_pd(low0, low1);
        for (i = 4; i + 4 <= count; i += 4) {
            const __m128d a = _mm_loadu_pd(v + i);
            const __m128d b = _mm_loadu_pd(v + i + 2);
            low0 = _mm_min_pd(low0, a);
            high0 = _mm_max_pd(high0, a);
            low1 = _mm_min_pd(low1, b);
            high1 = _mm_max_pd(high1, b);
            nan = _mm_or_pd(nan, _mm_cmpunord_pd(a, b));
        }
        double lows[2];
        double highs[2];
        _mm_storeu_pd(lows, _mm_min_pd(low0, low1));
        _mm_storeu_pd(highs, _mm_max_pd(high0, high1));
        low = std::min(lows[0], lows[1]);
        high = std::max(highs[0], highs[1]);
        number = _mm_movemask_pd(nan) == 0;
    } else
#endif
    {
        low = v[0];
        high = v[0];
    }
    for (; i < count; ++i) {
        number = number && !std::isnan(v[i]);
        low = std::min(low, v[i]);
        high = std::max(high, v[i]);
    }
    return number;
}

/// What the segments inside one column cover, fed point by point. They are
/// vertical, and each covers its start pixel and not its end, so together
/// they cover every pixel from the lowest to the highest point, except the
/// last point's pixel when it lies beyond all the points before it (repeats
/// of it at the end left out). Whether the segment leaving the column covers
/// that pixel is that segment's business: it is drawn as it is.
struct RunSpan
{
    int Low = INT_MAX;
    int High = INT_MIN;
    /// Low and high of the points before the trailing repeats of the last y.
    int EarlierLow = INT_MAX;
    int EarlierHigh = INT_MIN;
    int Last = 0;
    bool Any = false;

    void Add(int y)
    {
        if (Any && y == Last)
            return;
        if (Any) {
            EarlierLow = std::min(EarlierLow, Last);
            EarlierHigh = std::max(EarlierHigh, Last);
        }
        Last = y;
        Any = true;
        Low = std::min(Low, y);
        High = std::max(High, y);
    }

    /// The pixels covered, top to bottom; top > bottom when none (a single
    /// pixel: the segments around it cover it or not).
    void Span(int &top, int &bottom) const
    {
        top = 1;
        bottom = 0;
        if (EarlierLow > EarlierHigh)
            return;
        if (Last >= EarlierLow && Last <= EarlierHigh) {
            top = Low;
            bottom = High;
        } else if (Last > EarlierHigh) {
            top = EarlierLow;
            bottom = Last - 1;
        } else {
            top = Last + 1;
            bottom = EarlierHigh;
        }
    }

    /// Gives run (a column run) its last y, its extremes and the pixels it
    /// covers.
    template <class Run> void Close(Run &run) const
    {
        run.LastY = Last;
        run.Low = Low;
        run.High = High;
        Span(run.Top, run.Bottom);
    }
};

} // namespace

TFastLineSeries::TFastLineSeries() : m_linePen([this] { RequestRepaint(); })
{
    SetDrawsBetweenPoints(true);
    SetAllowSinglePoint(false);
    // Hear which values change, so that a paint after a change of single
    // points updates only their columns.
    for (TChartValueList *list : {XValues(), YValues()}) {
        const bool yList = list == YValues();
        list->OnChange = [this, yList, next = list->OnChange](TValueListChange change, int index) {
            HeardValueChange(yList && change == vlcValue, index);
            if (next)
                next(change, index);
        };
    }
}

TFastLineSeries::~TFastLineSeries() = default;

void TFastLineSeries::CopyFrom(const TChartSeries &source)
{
    if (&source == this)
        return;
    if (const auto *fast = dynamic_cast<const TFastLineSeries *>(&source)) {
        m_settings = fast->m_settings;
        m_linePen.CopyFrom(fast->m_linePen);
    } else if (const auto *custom = dynamic_cast<const TCustomSeries *>(&source)) {
        m_settings.ClickableLine = custom->ClickableLine();
        m_linePen.CopyFrom(custom->LinePen());
    }
    TChartSeries::CopyFrom(source);
}

// ---- changes ------------------------------------------------------------------------

void TFastLineSeries::HeardValueChange(bool yValue, int index)
{
    if (!yValue || index < 0 || m_changedPoints.size() >= MaxChangedPoints)
        ForgetColumns();
    else if (!m_columnsStale)
        m_changedPoints.push_back(index);
}

void TFastLineSeries::PointAdded(int index)
{
    ForgetColumns();
    TChartSeries::PointAdded(index);
}

void TFastLineSeries::EmptyLists()
{
    ForgetColumns();
    TChartSeries::EmptyLists();
}

void TFastLineSeries::RemoveAllPoints()
{
    ForgetColumns();
    TChartSeries::RemoveAllPoints();
}

void TFastLineSeries::RemovePoint(int index)
{
    ForgetColumns();
    TChartSeries::RemovePoint(index);
}

void TFastLineSeries::SwapPoints(int i, int j)
{
    ForgetColumns();
    TChartSeries::SwapPoints(i, j);
}

// ---- points on the screen ----------------------------------------------------------------

// These two run for every point of every full pass: they read the lists
// directly rather than through the virtual point accessors, with the same
// results as IsNullPoint and PointX / PointY.

bool TFastLineSeries::NullAt(int index) const
{
    const std::vector<TColor> &colours = ColorList();
    if (static_cast<std::size_t>(index) >= colours.size())
        return SeriesColor() == clNone;
    const TColor c = colours[static_cast<std::size_t>(index)];
    return c == clNone || (c == clDefault && !ColorEachPoint() && SeriesColor() == clNone);
}

bool TFastLineSeries::ScreenPoint(const TSeriesPaintContext &context, int index,
                                  TPoint &point) const
{
    const TChartValueList &xs = *XValues();
    const TChartValueList &ys = *YValues();
    const auto i = static_cast<std::size_t>(index);
    point = {context.XPos(xs.StoredValues()[i] * xs.Multiplier()),
             context.YPos(ys.StoredValues()[i] * ys.Multiplier())};
    if (context.View3D)
        context.Canvas.ProjectToPoint(point.X, point.Y, point, context.Depth.Middle);
    return Drawable(point);
}

bool TFastLineSeries::EntryPoint(const TSeriesPaintContext &context, TPoint &point) const
{
    const int first = FirstShownIndex();
    if (first <= 0 || NullAt(first - 1) || NullAt(first))
        return false;
    TPoint firstPoint;
    if (!ScreenPoint(context, first, firstPoint))
        return false;
    // The segment from the point before the shown range, cut at the edge.
    const TRect &r = context.ChartRect;
    point.X = context.HorizInverted() ? r.Right : r.Left;
    const double edge = context.XValue(point.X);
    const double xa = PointX(first - 1);
    const double xb = PointX(first);
    const double ya = PointY(first - 1);
    const double yb = PointY(first);
    point.Y = context.YPos(xb == xa ? ya : ya + (yb - ya) * (edge - xa) / (xb - xa));
    if (context.View3D)
        context.Canvas.ProjectToPoint(point.X, point.Y, point, context.Depth.Middle);
    return true;
}

void TFastLineSeries::PrepareLinePen(const TSeriesPaintContext &context, TColor color) const
{
    TCanvas3D &canvas = context.Canvas;
    canvas.ApplyChartPen(m_linePen);
    context.AdjustPenForPrinting(canvas.Pen());
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetColor(color);
}

bool TFastLineSeries::DrawsColumns() const
{
    return m_linePen.Visible() && m_linePen.Style() == psSolid && !m_linePen.SmallDots() &&
           m_linePen.Mode() == pmCopy;
}

// ---- drawing ------------------------------------------------------------------------------

void TFastLineSeries::DrawAllPoints(const TSeriesPaintContext &context)
{
    const int first = FirstShownIndex();
    const int last = LastShownIndex();
    if (first < 0 || last < first || !m_linePen.Visible())
        return;
    if (DrawsColumns()) {
        DrawColumns(context);
        return;
    }
    PrepareLinePen(context, SeriesColor());
    for (int i = first; i <= last; ++i)
        DrawSegmentTo(context, i);
}

void TFastLineSeries::DrawPoint(const TSeriesPaintContext &context, int index)
{
    // Other series may draw between two calls: the pen is loaded each time.
    PrepareLinePen(context, SeriesColor());
    DrawSegmentTo(context, index);
}

void TFastLineSeries::DrawSegmentTo(const TSeriesPaintContext &context, int index)
{
    TCanvas3D &canvas = context.Canvas;
    if (index == FirstShownIndex())
        m_hasPrev = EntryPoint(context, m_prev);
    if (NullAt(index)) {
        m_hasPrev = false;
        return;
    }
    TPoint p;
    if (!ScreenPoint(context, index, p)) {
        // The line goes on from the last drawn point; nothing was drawn yet
        // when this is the first shown point.
        if (index == FirstShownIndex())
            m_hasPrev = false;
        return;
    }
    if (m_hasPrev && !(p == m_prev))
        canvas.DrawSegment(m_prev.X, m_prev.Y, p.X, p.Y);
    m_prev = p;
    m_hasPrev = true;
}

void TFastLineSeries::DrawColumns(const TSeriesPaintContext &context)
{
    RefreshColumns(context, true);
    if (m_runs.empty())
        return;
    TCanvas3D &canvas = context.Canvas;
    PrepareLinePen(context, SeriesColor());
    TPoint entry;
    const TColumnRun &head = m_runs.front();
    if (head.First == FirstShownIndex() && EntryPoint(context, entry) &&
        !(entry == TPoint{head.X, head.FirstY}))
        canvas.DrawSegment(entry.X, entry.Y, head.X, head.FirstY);
    // A wider pen covers both ends of its segments, so the segments inside
    // a column cover their whole height.
    const bool onePixel = canvas.Pen().Width() <= 1;
    const TColumnRun *previous = nullptr;
    for (const TColumnRun &run : m_runs) {
        if (run.Joined && previous)
            canvas.DrawSegment(previous->X, previous->LastY, run.X, run.FirstY);
        if (!onePixel && run.Low < run.High)
            canvas.DrawVerticalLine(run.X, run.Low, run.High);
        else if (onePixel && run.Top <= run.Bottom)
            canvas.DrawVerticalLine(run.X, run.Top, run.Bottom + 1);
        previous = &run;
    }
}

// ---- the column cache --------------------------------------------------------------------

bool TFastLineSeries::MakeKey(const TSeriesPaintContext &context, TGeometryKey &key) const
{
    key = TGeometryKey{};
    key.First = FirstShownIndex();
    key.Last = LastShownIndex();
    key.Count = PointCount();
    key.HorizAxis = context.HorizAxis;
    key.VertAxis = context.VertAxis;
    int flag = 1;
    int k = 0;
    for (const TCustomChartAxis *axis : {context.HorizAxis, context.VertAxis}) {
        if (axis) {
            const TAxisMapping &map = axis->Mapping();
            key.Ranges[k] = map.RangeMin;
            key.Ranges[k + 1] = map.RangeMax;
            key.Pixels[k] = map.StartPixel;
            key.Pixels[k + 1] = map.EndPixel;
            key.AxisFlags |= (axis->Inverted() ? flag : 0) | (axis->Logarithmic() ? flag << 1 : 0);
        }
        k += 2;
        flag <<= 2;
    }
    key.NullByDefault = !ColorEachPoint() && SeriesColor() == clNone;
    key.View3D = context.View3D;
    if (!context.View3D)
        return true;
    const auto *canvas = dynamic_cast<const TChartCanvas3D *>(&context.Canvas);
    if (!canvas)
        return false;
    key.Depth = context.Depth.Middle;
    const TChartCanvas3D::Coefficients &c = canvas->ProjectionCoefficients();
    const double values[] = {c.XX,
                             c.XY,
                             c.XZ,
                             c.YX,
                             c.YY,
                             c.YZ,
                             static_cast<double>(c.DepthX),
                             static_cast<double>(c.DepthY),
                             c.DepthZ,
                             double(canvas->CentreX()),
                             double(canvas->CentreY()),
                             double(canvas->CentreZ()),
                             double(canvas->OffsetCentreX()),
                             double(canvas->OffsetCentreY()),
                             canvas->ZoomFactor(),
                             canvas->PerspectiveFactor()};
    std::copy(std::begin(values), std::end(values), key.Projection);
    key.AxisFlags |= (canvas->IsOrthogonal() ? 1 << 8 : 0) | (canvas->Is3D() ? 1 << 9 : 0);
    return true;
}

void TFastLineSeries::RefreshColumns(const TSeriesPaintContext &context, bool painting) const
{
    TGeometryKey key;
    const bool keyed = MakeKey(context, key);
    // A null point changes the pieces of the line: a paint compares the
    // colour list with the one the columns were built with. (Colours change
    // without telling; a hit test between paints takes the pieces of the
    // picture on the screen.)
    if (painting && ColorListVersion() != m_colorsSeen) {
        m_colorsSeen = ColorListVersion();
        m_columnsStale = true;
    }
    if (!keyed || m_columnsStale || !(key == m_key)) {
        m_key = key;
        BuildColumns(context);
        m_columnsStale = !keyed;
        m_changedPoints.clear();
        return;
    }
    std::vector<int> changed;
    changed.swap(m_changedPoints);
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    for (int index : changed) {
        if (!UpdateColumnOf(context, index)) {
            BuildColumns(context);
            return;
        }
    }
}

void TFastLineSeries::BuildColumns(const TSeriesPaintContext &context) const
{
    m_runs.clear();
    m_runOrder = 0;
    const int first = FirstShownIndex();
    const int last = LastShownIndex();
    if (first < 0 || last < first || BuildOrderedColumns(context, first, last))
        return;
    bool inPiece = false;
    bool open = false;
    TColumnRun run{};
    RunSpan span;
    auto close = [&] {
        span.Close(run);
        m_runs.push_back(run);
        open = false;
    };
    bool rising = true;
    bool falling = true;
    for (int i = first; i <= last; ++i) {
        if (NullAt(i)) {
            if (open)
                close();
            inPiece = false;
            continue;
        }
        TPoint p;
        if (!ScreenPoint(context, i, p))
            continue;
        if (open && p.X == run.X) {
            span.Add(p.Y);
            run.Last = i;
            continue;
        }
        if (open)
            close();
        if (!m_runs.empty()) {
            rising = rising && p.X > m_runs.back().X;
            falling = falling && p.X < m_runs.back().X;
        }
        run = TColumnRun{i, i, p.X, 1, 0, p.Y, p.Y, p.Y, p.Y, inPiece};
        span = RunSpan{};
        span.Add(p.Y);
        open = true;
        inPiece = true;
    }
    if (open)
        close();
    m_runOrder = rising ? 1 : falling ? -1 : 0;
}

const std::vector<int> &TFastLineSeries::NullPoints() const
{
    if (m_nullPointsVersion != ColorListVersion()) {
        m_nullPointsVersion = ColorListVersion();
        m_nullPoints.clear();
        const std::vector<TColor> &colours = ColorList();
        for (std::size_t i = 0; i < colours.size(); ++i)
            if (colours[i] == clNone)
                m_nullPoints.push_back(static_cast<int>(i));
    }
    return m_nullPoints;
}

bool TFastLineSeries::BuildOrderedColumns(const TSeriesPaintContext &context, int first,
                                          int last) const
{
    const TAxisMapping *horiz = context.HorizMapping;
    const TChartValueList &xs = *XValues();
    // Only points coloured clNone are null when the series has a colour.
    if (context.View3D || !horiz || !context.VertMapping || SeriesColor() == clNone ||
        !xs.IsAscending())
        return false;
    const double *x = xs.StoredValues().data();
    const double xMultiplier = xs.Multiplier();
    if (!MapsLinearly(*horiz, x[first] * xMultiplier) ||
        !MapsLinearly(*horiz, x[last] * xMultiplier))
        return false;
    // The X values rise and map linearly, so the points of one column
    // follow each other, and the columns follow each other along the axis.
    auto column = [&](int i) { return horiz->ValueToPos(x[i] * xMultiplier); };
    const std::vector<int> &nulls = NullPoints();
    auto nextNull = std::lower_bound(nulls.begin(), nulls.end(), first);
    bool joined = false;
    int expected = 1;
    int i = first;
    while (i <= last) {
        if (nextNull != nulls.end() && *nextNull == i) {
            joined = false;
            ++nextNull;
            ++i;
            continue;
        }
        const int end = nextNull != nulls.end() ? std::min(last, *nextNull - 1) : last;
        // The column's last point: looked for where the previous column's
        // width puts it, then by doubling and halving. in holds a point of
        // the column, out (when at most end) one beyond it.
        const int c = column(i);
        int in = i;
        int out = end + 1;
        const int guess = std::min(i + expected - 1, end);
        if (guess > in) {
            if (column(guess) == c)
                in = guess;
            else
                out = guess;
        }
        if (out > end) {
            for (int step = 1; in + step <= end; step *= 2) {
                if (column(in + step) != c) {
                    out = in + step;
                    break;
                }
                in += step;
            }
        } else if (out - 1 > in && column(out - 1) == c) {
            in = out - 1;
        }
        while (out - in > 1) {
            const int mid = in + (out - in) / 2;
            if (column(mid) == c)
                in = mid;
            else
                out = mid;
        }
        AddColumn(context, i, in, c, joined);
        expected = in - i + 1;
        i = in + 1;
    }
    int rising = 1;
    int falling = 1;
    for (std::size_t k = 1; k < m_runs.size(); ++k) {
        rising &= m_runs[k].X > m_runs[k - 1].X ? 1 : 0;
        falling &= m_runs[k].X < m_runs[k - 1].X ? 1 : 0;
    }
    m_runOrder = rising ? 1 : falling ? -1 : 0;
    return true;
}

void TFastLineSeries::AddColumn(const TSeriesPaintContext &context, int first, int last, int x,
                                bool &joined) const
{
    if (!DrawableCoord(x))
        return;
    const TAxisMapping &vert = *context.VertMapping;
    const TChartValueList &ys = *YValues();
    const double *y = ys.StoredValues().data();
    const double multiplier = ys.Multiplier();
    auto pixel = [&](int i) { return vert.ValueToPos(y[i] * multiplier); };
    // The extreme pixels of points from..to, from their extreme values.
    auto extremes = [&](int from, int to, int &low, int &high) {
        double a;
        double b;
        if (!ValueExtremes(y + from, static_cast<std::size_t>(to - from + 1), a, b))
            return false;
        a *= multiplier;
        b *= multiplier;
        if (!MapsLinearly(vert, a) || !MapsLinearly(vert, b))
            return false;
        low = std::min(vert.ValueToPos(a), vert.ValueToPos(b));
        high = std::max(vert.ValueToPos(a), vert.ValueToPos(b));
        return DrawableCoord(low) && DrawableCoord(high);
    };
    TColumnRun run{first, last, x, 1, 0, 0, 0, 0, 0, joined};
    if (extremes(first, last, run.Low, run.High)) {
        run.FirstY = pixel(first);
        run.LastY = pixel(last);
        if (run.Low == run.High) {
            // One pixel: the segments around the column cover it or not.
        } else if (run.LastY > run.Low && run.LastY < run.High) {
            run.Top = run.Low;
            run.Bottom = run.High;
        } else {
            // The last point at an extreme: what the points before its
            // trailing repeats reach decides (as RunSpan does it).
            int before = last - 1;
            while (pixel(before) == run.LastY)
                --before;
            RunSpan span;
            extremes(first, before, span.EarlierLow, span.EarlierHigh);
            span.Low = run.Low;
            span.High = run.High;
            span.Last = run.LastY;
            span.Any = true;
            span.Span(run.Top, run.Bottom);
        }
    } else {
        // Values beyond what the plain mapping covers: point by point,
        // leaving out the points too far off screen.
        RunSpan span;
        bool any = false;
        for (int i = first; i <= last; ++i) {
            const int py = pixel(i);
            if (!DrawableCoord(py))
                continue;
            if (!any)
                run.First = i;
            run.Last = i;
            run.FirstY = any ? run.FirstY : py;
            span.Add(py);
            any = true;
        }
        if (!any)
            return;
        span.Close(run);
    }
    m_runs.push_back(run);
    joined = true;
}

bool TFastLineSeries::MeasureRun(const TSeriesPaintContext &context, TColumnRun &run) const
{
    RunSpan span;
    int lastDrawn = -1;
    for (int i = run.First; i <= run.Last; ++i) {
        TPoint p;
        if (!ScreenPoint(context, i, p))
            continue;
        // The run must still begin and end at its first and last point, all
        // of its drawn points in its column.
        if (p.X != run.X || (lastDrawn < 0 && i != run.First))
            return false;
        if (lastDrawn < 0)
            run.FirstY = p.Y;
        span.Add(p.Y);
        lastDrawn = i;
    }
    if (lastDrawn != run.Last)
        return false;
    span.Close(run);
    return true;
}

bool TFastLineSeries::UpdateColumnOf(const TSeriesPaintContext &context, int index) const
{
    if (index < m_key.First || index > m_key.Last || index >= PointCount() || NullAt(index))
        return true;
    auto after = std::upper_bound(m_runs.begin(), m_runs.end(), index,
                                  [](int i, const TColumnRun &run) { return i < run.First; });
    if (after == m_runs.begin())
        return false;
    TColumnRun &run = *std::prev(after);
    if (index > run.Last)
        return false;
    return MeasureRun(context, run);
}

// ---- hit testing --------------------------------------------------------------------------

int TFastLineSeries::HitIn(const TSeriesPaintContext &context, int k, int x, int y) const
{
    const TColumnRun &run = m_runs[static_cast<std::size_t>(k)];
    const TColumnRun *previousRun = k > 0 ? &m_runs[static_cast<std::size_t>(k - 1)] : nullptr;
    const TPoint click{x, y};
    // Point by point in ascending order, as the line series tests: the point
    // itself, then the segment that leads into it.
    const TPoint head{run.X, run.FirstY};
    if (head == click)
        return run.First;
    if (run.Joined && previousRun &&
        PointOnSegment(click, previousRun->X, previousRun->LastY, head.X, head.Y))
        return previousRun->Last;
    // Inside a column the segments are vertical: only a click in the
    // column can lie on them.
    if (run.X != x)
        return -1;
    TPoint previous = head;
    int previousIndex = run.First;
    for (int i = run.First + 1; i <= run.Last; ++i) {
        TPoint p;
        if (!ScreenPoint(context, i, p))
            continue;
        if (p == click)
            return i;
        if (PointOnSegment(click, previous.X, previous.Y, p.X, p.Y))
            return previousIndex;
        previous = p;
        previousIndex = i;
    }
    return -1;
}

int TFastLineSeries::HitTest(const TSeriesPaintContext &context, int x, int y) const
{
    if (!m_settings.ClickableLine || FirstShownIndex() < 0)
        return -1;
    RefreshColumns(context, false);
    const int count = static_cast<int>(m_runs.size());
    int from = 0;
    int to = count - 1;
    if (m_runOrder != 0 && count > 0) {
        // Columns in order along x: only the columns next to the cursor and
        // the segments into them can hold it.
        const int order = m_runOrder;
        auto ahead = [order](int a, int b) { return order > 0 ? a < b : a > b; };
        const auto begin = m_runs.begin();
        from = static_cast<int>(std::lower_bound(begin, m_runs.end(), x - order,
                                                 [&](const TColumnRun &run, int column) {
                                                     return ahead(run.X, column);
                                                 }) -
                                begin);
        to = static_cast<int>(std::upper_bound(begin, m_runs.end(), x + order,
                                               [&](int column, const TColumnRun &run) {
                                                   return ahead(column, run.X);
                                               }) -
                              begin);
        to = std::min(to, count - 1);
    }
    for (int k = from; k <= to; ++k) {
        const int index = HitIn(context, k, x, y);
        if (index >= 0)
            return index;
    }
    return -1;
}

// ---- legend and marks ----------------------------------------------------------------------

TColor TFastLineSeries::LegendEntryColor(int i) const
{
    return NullAt(i) ? clNone : SeriesColor();
}

void TFastLineSeries::DrawLegendSymbol(const TSeriesPaintContext &context, int index,
                                       const TRect &rect)
{
    const TColor color = index == -1 ? SeriesColor() : LegendEntryColor(index);
    if (!m_linePen.Visible())
        return;
    PrepareLinePen(context, color);
    context.Canvas.DrawHorizontalLine(rect.Left, rect.Right, (rect.Top + rect.Bottom) / 2);
}

void TFastLineSeries::DrawPointMark(const TSeriesPaintContext &context, int index,
                                    const QString &text, TSeriesMarkPosition &position)
{
    Marks().SetZPosition(context.Depth.Middle);
    TChartSeries::DrawPointMark(context, index, text, position);
}

} // namespace kov
