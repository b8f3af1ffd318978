#include "chart/series/bar_series.h"

#include "chart/axis/axis.h"
#include "chart/canvas/canvas3d.h"
#include "chart/canvas/text_lines.h"
#include "chart/exceptions.h"
#include "chart/numeric.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

namespace kov {

TCustomBarSeries::TCustomBarSeries() : m_barPen([this] { RequestRepaint(); })
{
    Marks().SetArrowLength(8);
}

TCustomBarSeries::~TCustomBarSeries() = default;

// ---- properties -------------------------------------------------------------------

void TCustomBarSeries::SetBarWidthPercent(int value)
{
    if (value < 1 || value > 100)
        throw ChartException(QStringLiteral("Bar width percent must be between 1 and 100"));
    SetAndInvalidate(this, m_settings.BarWidthPercent, value);
}

void TCustomBarSeries::SetBarWidthUnits(double value)
{
    if (!std::isfinite(value) || value < 0)
        throw ChartException(
            QStringLiteral("Bar width in axis units must be a finite number not below 0"));
    SetAndInvalidate(this, m_settings.BarWidthUnits, value);
}

void TCustomBarSeries::SetOffsetPercent(int value)
{
    if (value < -100 || value > 100)
        throw ChartException(QStringLiteral("Bar offset percent must be between -100 and 100"));
    SetAndInvalidate(this, m_settings.OffsetPercent, value);
}

void TCustomBarSeries::SetOrigin(double value)
{
    if (!std::isfinite(value))
        throw ChartException(QStringLiteral("Bar origin must be a finite number"));
    SetAndInvalidate(this, m_settings.Origin, value);
}

TMultiBar TCustomBarSeries::MultiBar() const
{
    if (Owner())
        for (const TChartSeries *s : Owner()->SeriesList().Items())
            if (typeid(*s) == typeid(*this))
                return static_cast<const TCustomBarSeries *>(s)->m_settings.MultiBar;
    return m_settings.MultiBar;
}

void TCustomBarSeries::SetMultiBar(TMultiBar value)
{
    SetAndInvalidate(this, m_settings.MultiBar, value);
    if (!Owner())
        return;
    for (TChartSeries *s : Owner()->SeriesList().Items())
        if (s != this && typeid(*s) == typeid(*this))
            SetAndInvalidate(s, static_cast<TCustomBarSeries *>(s)->m_settings.MultiBar, value);
}

void TCustomBarSeries::CopyFrom(const TChartSeries &source)
{
    if (&source == this)
        return;
    if (const auto *bars = dynamic_cast<const TCustomBarSeries *>(&source)) {
        m_settings = bars->m_settings;
        m_barPen.CopyFrom(bars->m_barPen);
    }
    TChartSeries::CopyFrom(source);
}

// ---- values and ranges ----------------------------------------------------------------

TChartValueList *TCustomBarSeries::PositionList() const
{
    return ValuesAreVertical() ? XValues() : YValues();
}

template <typename Visit> void TCustomBarSeries::ForEachSibling(Visit visit) const
{
    if (!Owner()) {
        visit(this);
        return;
    }
    for (TChartSeries *s : Owner()->SeriesList().Items())
        if (s->Active() && typeid(*s) == typeid(*this))
            if (!visit(static_cast<const TCustomBarSeries *>(s)))
                return;
}

void TCustomBarSeries::SiblingPlace(int &count, int &place) const
{
    count = 0;
    place = 0;
    ForEachSibling([&](const TCustomBarSeries *s) {
        if (s == this)
            place = count;
        ++count;
        return true;
    });
}

int TCustomBarSeries::IndexAtPosition(double position, int hint) const
{
    const TChartValueList *list = PositionList();
    const int n = list->ValueCount();
    if (hint >= 0 && hint < n && list->ValueAt(hint) == position)
        return hint;
    const TChartListOrder order = list->Order();
    if (order == loNone) {
        for (int i = 0; i < n; ++i)
            if (list->ValueAt(i) == position)
                return i;
        return -1;
    }
    // Sorted: the first index not before position.
    int lo = 0, hi = n;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const double v = list->ValueAt(mid);
        if (order == loAscending ? v < position : v > position)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < n && list->ValueAt(lo) == position ? lo : -1;
}

double TCustomBarSeries::StackBase(int index, bool sumAll) const
{
    if (index < 0 || index >= PointCount())
        return 0;
    const bool negative = MainValueList()->ValueAt(index) < 0;
    const double position = PositionList()->ValueAt(index);
    double sum = 0;
    ForEachSibling([&](const TCustomBarSeries *s) {
        if (!sumAll && s == this)
            return false;
        // Columns are matched by position: series with other positions stack
        // only where they meet.
        int at = s == this ? index : s->IndexAtPosition(position, index);
        if (s != this) // past null points that share the position
            while (at >= 0 && s->IsNullPoint(at) && at + 1 < s->PointCount() &&
                   s->PositionList()->ValueAt(at + 1) == position)
                ++at;
        if (at >= 0 && !s->IsNullPoint(at)) {
            const double v = s->PointOriginValue(at);
            if (sumAll)
                sum += std::fabs(v);
            else if ((v < 0) == negative)
                sum += v;
        }
        return true;
    });
    return sum;
}

double TCustomBarSeries::OriginValue() const
{
    return m_settings.UseOrigin ? m_settings.Origin : 0.0;
}

bool TCustomBarSeries::BarValues(int index, double &start, double &end) const
{
    return BarValuesAs(MultiBar(), index, start, end);
}

bool TCustomBarSeries::BarValuesAs(TMultiBar multi, int index, double &start, double &end) const
{
    if (index < 0 || index >= PointCount() || IsNullPoint(index))
        return false;
    const double v = MainValueList()->ValueAt(index);
    switch (multi) {
    case mbStacked:
        start = StackBase(index, false);
        end = start + v;
        return true;
    case mbStacked100: {
        const double total = StackBase(index, true);
        // A column of zeros has no shares to draw.
        if (total == 0)
            return false;
        start = StackBase(index, false) * 100 / total;
        end = start + v * 100 / total;
        return true;
    }
    default:
        start = OriginValue();
        end = v;
        return true;
    }
}

double TCustomBarSeries::ValueExtreme(bool wantMaximum) const
{
    // Without an origin the bars grow from the axis' end, which follows the
    // values; with one, or stacked, the start counts too.
    const TMultiBar multi = MultiBar();
    const bool withStart = m_settings.UseOrigin || multi >= mbStacked;
    bool found = false;
    double result = 0;
    auto take = [&](double v) {
        if (!found || (wantMaximum ? v > result : v < result))
            result = v;
        found = true;
    };
    for (int i = 0; i < PointCount(); ++i) {
        double start = 0, end = 0;
        if (!BarValuesAs(multi, i, start, end))
            continue;
        take(end);
        if (withStart)
            take(start);
    }
    if (!found)
        return wantMaximum ? MainValueList()->HighestValue() : MainValueList()->LowestValue();
    return result;
}

double TCustomBarSeries::LargestX() const
{
    return ValuesAreVertical() ? TChartSeries::LargestX() : ValueExtreme(true);
}

double TCustomBarSeries::LargestY() const
{
    return ValuesAreVertical() ? ValueExtreme(true) : TChartSeries::LargestY();
}

double TCustomBarSeries::SmallestX() const
{
    return ValuesAreVertical() ? TChartSeries::SmallestX() : ValueExtreme(false);
}

double TCustomBarSeries::SmallestY() const
{
    return ValuesAreVertical() ? ValueExtreme(false) : TChartSeries::SmallestY();
}

double TCustomBarSeries::PositionSpacing() const
{
    const TChartValueList *list = PositionList();
    const int n = list->ValueCount();
    if (n < 2)
        return 1;
    const double d = (list->HighestValue() - list->LowestValue()) / (n - 1);
    return d > 0 && std::isfinite(d) ? d : 1;
}

int TCustomBarSeries::SpaceInPixels(const TCustomChartAxis *axis) const
{
    if (!axis)
        return 0;
    const TAxisMapping &map = axis->Mapping();
    const double pixels = std::abs(map.PixelSize);
    // A single position: the axis has no scale, the bar has all of it.
    if (map.RangeSize == 0)
        return static_cast<int>(pixels);
    const double space = std::fabs(PositionSpacing() * pixels / map.RangeSize);
    return FitsInt(space) ? RoundToInt(space) : static_cast<int>(pixels);
}

double TCustomBarSeries::GroupInValues() const
{
    if (m_settings.BarWidthUnits > 0)
        return m_settings.BarWidthUnits;
    return PositionSpacing() * m_settings.BarWidthPercent / 100.0;
}

int TCustomBarSeries::GroupInPixels(const TCustomChartAxis *axis) const
{
    if (m_settings.BarWidthUnits > 0 && axis) {
        const TAxisMapping &map = axis->Mapping();
        if (map.RangeSize != 0) {
            const double w = std::fabs(m_settings.BarWidthUnits * map.PixelSize / map.RangeSize);
            if (FitsInt(w))
                return std::max(1, RoundToInt(w));
        }
    }
    return std::max(1, RoundToInt(SpaceInPixels(axis) * m_settings.BarWidthPercent / 100.0));
}

double TCustomBarSeries::PositionReach() const
{
    // The bars of a point lie within the group's width around the position
    // (side by side ones too), each shifted by up to its offset.
    return GroupInValues() * (0.5 + std::abs(m_settings.OffsetPercent) / 100.0);
}

int TCustomBarSeries::HalfSpaceMargin() const
{
    const TCustomChartAxis *axis = ValuesAreVertical() ? GetHorizAxis() : GetVertAxis();
    if (!axis || PointCount() == 0)
        return 0;
    // Margins m on both sides leave L - 2m pixels for the range R; half a
    // space s of the fitted axis is m = (L - 2m) s / 2R, so m = L s / 2(R + s).
    // Bars wider than the space take half their width instead.
    const TAxisMapping &map = axis->Mapping();
    const double l = std::abs(map.PixelSize);
    const double r = std::fabs(map.RangeSize);
    const double s = std::max(PositionSpacing(), m_settings.BarWidthUnits);
    const double m = l * s / (2 * (r + s));
    return FitsInt(m) ? static_cast<int>(m) : 0;
}

void TCustomBarSeries::MarkMargins(int &startSide, int &endSide) const
{
    startSide = endSide = 0;
    const bool vertical = ValuesAreVertical();
    const TCustomChartAxis *valueAxis = vertical ? GetVertAxis() : GetHorizAxis();
    if (!Marks().Visible() || m_settings.MarksLocation != bmlOutside || !Owner() || !valueAxis ||
        PointCount() == 0)
        return;
    bool below = false, above = false;
    const TMultiBar multi = MultiBar();
    for (int i = 0; i < PointCount(); ++i) {
        double start = 0, end = 0;
        if (BarValuesAs(multi, i, start, end))
            (end < start ? below : above) = true;
    }
    TSeriesOwner &chart = *Owner();
    TChartCanvas &canvas = chart.TextCanvas();
    chart.SelectTextFont(Marks().Font());
    int extent = 0;
    if (vertical) {
        int lines = 1;
        for (int i = 0; i < PointCount(); ++i) {
            int n = 0;
            WidestLineWidth(canvas, MarkText(i), n);
            lines = std::max(lines, n);
        }
        extent = lines * canvas.TextLineHeight();
    } else {
        extent = MaxMarkWidth() + canvas.MeasureTextWidth(QStringLiteral("W"));
    }
    if (Marks().Frame().Visible())
        extent += 2 * Marks().Frame().Width();
    extent += Marks().ArrowLength();
    // The bars keep at least half the value axis: marks wider than that are
    // cut at the chart's edge rather than squeezing the bars to nothing.
    const int sides = int(below) + int(above);
    const int room = static_cast<int>(std::abs(valueAxis->Mapping().PixelSize) / 2);
    if (sides > 0)
        extent = std::clamp(extent, 0, std::max(0, room / sides));
    const int low = below ? extent : 0;
    const int high = above ? extent : 0;
    // Which pixel side the larger values lie on: the top of an upright axis,
    // the right of a horizontal one, the other side when inverted.
    const bool highAtStart = vertical != valueAxis->Inverted();
    startSide = highAtStart ? high : low;
    endSide = highAtStart ? low : high;
}

void TCustomBarSeries::ExtraHorizMargins(int &left, int &right) const
{
    TChartSeries::ExtraHorizMargins(left, right);
    if (ValuesAreVertical()) {
        left = right = std::max(left, HalfSpaceMargin());
        return;
    }
    int startSide = 0, endSide = 0;
    MarkMargins(startSide, endSide);
    left = std::max(left, startSide);
    right = std::max(right, endSide);
}

void TCustomBarSeries::ExtraVertMargins(int &top, int &bottom) const
{
    TChartSeries::ExtraVertMargins(top, bottom);
    if (!ValuesAreVertical()) {
        top = bottom = std::max(top, HalfSpaceMargin());
        return;
    }
    int startSide = 0, endSide = 0;
    MarkMargins(startSide, endSide);
    top = std::max(top, startSide);
    bottom = std::max(bottom, endSide);
}

void TCustomBarSeries::AssignZOrder()
{
    if (MultiBar() != mbNone && ZOrderSetting() == -1) {
        const TCustomBarSeries *first = nullptr;
        ForEachSibling([&](const TCustomBarSeries *s) {
            first = s;
            return false;
        });
        if (first && first != this) {
            SetAutoZOrder(first->ZOrder());
            return;
        }
    }
    TChartSeries::AssignZOrder();
}

// ---- layout ------------------------------------------------------------------------

TCustomBarSeries::Layout TCustomBarSeries::ComputeLayout(const TSeriesPaintContext &context) const
{
    const TCustomChartAxis *axis = ValuesAreVertical() ? context.HorizAxis : context.VertAxis;
    const int group = GroupInPixels(axis);
    Layout layout;
    layout.Width = group;
    layout.Shift = -group / 2;
    layout.Multi = MultiBar();
    if (layout.Multi == mbSide) {
        int count = 0, k = 0;
        SiblingPlace(count, k);
        if (count > 1) {
            layout.Width = std::max(1, group / count);
            layout.Shift += k * layout.Width;
        }
    }
    layout.Shift += RoundToInt(layout.Width * m_settings.OffsetPercent / 100.0);
    return layout;
}

bool TCustomBarSeries::BarBounds(const TSeriesPaintContext &context, int index, TBarBox &bar) const
{
    return BoxWith(context, index, ComputeLayout(context), bar);
}

bool TCustomBarSeries::BoxWith(const TSeriesPaintContext &context, int index, const Layout &layout,
                               TBarBox &bar) const
{
    double start = 0, end = 0;
    if (!BarValuesAs(layout.Multi, index, start, end))
        return false;
    const bool vertical = ValuesAreVertical();
    const TCustomChartAxis *valueAxis = vertical ? context.VertAxis : context.HorizAxis;
    if (!m_settings.UseOrigin && layout.Multi < mbStacked && valueAxis)
        start = valueAxis->Mapping().RangeMin;
    const double position = PositionList()->ValueAt(index);

    // Along the values a bar covers its end pixel and runs up to, not onto,
    // the origin's pixel, so stacked bars neither overlap nor leave gaps.
    auto span = [](int origin, int endPixel, int &lo, int &hi) {
        if (endPixel <= origin) {
            lo = endPixel;
            hi = origin;
        } else {
            lo = origin + 1;
            hi = endPixel + 1;
        }
    };
    TRect &b = bar.Box;
    if (vertical) {
        const int origin = context.YPos(start);
        const int e = context.YPos(end);
        span(origin, e, b.Top, b.Bottom);
        b.Left = context.XPos(position) + layout.Shift;
        b.Right = b.Left + layout.Width;
        bar.Negative = e != origin ? e > origin : end < start;
        bar.End = {(b.Left + b.Right) / 2, e};
    } else {
        const int origin = context.XPos(start);
        const int e = context.XPos(end);
        span(origin, e, b.Left, b.Right);
        b.Bottom = context.YPos(position) - layout.Shift;
        b.Top = b.Bottom - layout.Width;
        bar.Negative = e != origin ? e < origin : end < start;
        bar.End = {e, (b.Top + b.Bottom) / 2};
    }
    return true;
}

// ---- marks and legend -----------------------------------------------------------------

TPoint TCustomBarSeries::MarkPoint(const TSeriesPaintContext &context, int index) const
{
    TBarBox bar;
    if (!BarBounds(context, index, bar))
        return TChartSeries::MarkPoint(context, index);
    return bar.End;
}

void TCustomBarSeries::PlaceInside(const TBarBox &bar, TSeriesMarkPosition &position) const
{
    // A small gap keeps the text off the bar's end.
    constexpr int Gap = 2;
    const TRect &b = bar.Box;
    const bool centred = m_settings.MarksLocation == bmlCenter;
    TPoint &p = position.LeftTop;
    if (ValuesAreVertical()) {
        p.X = (b.Left + b.Right) / 2 - position.Width / 2;
        if (centred)
            p.Y = (b.Top + b.Bottom) / 2 - position.Height / 2;
        else
            p.Y = bar.Negative ? b.Bottom - Gap - position.Height : b.Top + Gap;
    } else {
        p.Y = (b.Top + b.Bottom) / 2 - position.Height / 2;
        if (centred)
            p.X = (b.Left + b.Right) / 2 - position.Width / 2;
        else
            p.X = bar.Negative ? b.Left + Gap : b.Right - Gap - position.Width;
    }
    position.ArrowTo = position.ArrowFrom;
}

void TCustomBarSeries::DrawPointMark(const TSeriesPaintContext &context, int index,
                                     const QString &text, TSeriesMarkPosition &position)
{
    Marks().SetZPosition(context.Depth.Start);
    TBarBox bar;
    const bool hasBar = BarBounds(context, index, bar);
    if (hasBar && m_settings.MarksLocation != bmlOutside) {
        PlaceInside(bar, position);
        Marks().PaintBareMark(context, index, EffectivePointColor(index), position, text);
        return;
    }
    const bool negative = hasBar && bar.Negative;
    const int length = Marks().ArrowLength();
    const TPoint from = position.ArrowFrom;
    if (ValuesAreVertical()) {
        if (negative) {
            position.ArrowTo.Y = from.Y + length;
            position.LeftTop.Y = from.Y + length;
        } else {
            position.ArrowTo.Y = from.Y - length;
            position.LeftTop.Y -= length;
        }
    } else {
        position.ArrowTo.X = from.X + (negative ? -length : length);
        position.LeftTop.X = negative ? from.X - length - position.Width : from.X + length;
        position.LeftTop.Y = from.Y - position.Height / 2;
    }
    TChartSeries::DrawPointMark(context, index, text, position);
}

void TCustomBarSeries::SetUpLegendCanvas(const TSeriesPaintContext &context, int /*index*/,
                                         TColor & /*backColor*/, TBrushStyle &style)
{
    context.Canvas.ApplyChartPen(m_barPen);
    style = m_settings.BarBrush;
}

// ---- the horizontal bar series ---------------------------------------------------------

THorizBarSeries::THorizBarSeries()
{
    // Points are placed up the vertical axis in the order they are added.
    XValues()->SetOrder(loNone);
    YValues()->SetOrder(loAscending);
}

} // namespace kov
