#include "chart/plot/axis_panel.h"

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/text_lines.h"
#include "chart/exceptions.h"
#include "chart/numeric.h"

#include <algorithm>
#include <cmath>

namespace kov {

namespace {

// The setters of the chart's axes: source copied into the axis, then a
// repaint.
void AssignAxis(TCustomAxisPanel &chart, TCustomChartAxis &axis, const TCustomChartAxis &source)
{
    axis.CopyFrom(source);
    chart.InvalidatePanel();
}

} // namespace

TCustomAxisPanel::TCustomAxisPanel(QWidget *parent) : TCustomChartPanelExtended(parent)
{
    m_bottomAxis =
        static_cast<TChartAxis *>(AddAxis(std::make_unique<TChartAxis>(this, TAxisSide::Bottom)));
    m_topAxis =
        static_cast<TChartAxis *>(AddAxis(std::make_unique<TChartAxis>(this, TAxisSide::Top)));
    m_leftAxis =
        static_cast<TChartAxis *>(AddAxis(std::make_unique<TChartAxis>(this, TAxisSide::Left)));
    m_rightAxis =
        static_cast<TChartAxis *>(AddAxis(std::make_unique<TChartAxis>(this, TAxisSide::Right)));
    m_depthAxis = static_cast<TChartDepthAxis *>(AddAxis(std::make_unique<TChartDepthAxis>(this)));
}

TCustomAxisPanel::~TCustomAxisPanel()
{
    m_destroying = true;
    DestroyAllSeries();
    // Axes are freed in list order.
    m_axesList.clear();
    for (auto &axis : m_axes)
        axis.reset();
    m_axes.clear();
}

// ---- published properties -------------------------------------------------------

void TCustomAxisPanel::SetBottomAxis(const TChartAxis &source)
{
    AssignAxis(*this, *m_bottomAxis, source);
}

void TCustomAxisPanel::SetTopAxis(const TChartAxis &source)
{
    AssignAxis(*this, *m_topAxis, source);
}

void TCustomAxisPanel::SetLeftAxis(const TChartAxis &source)
{
    AssignAxis(*this, *m_leftAxis, source);
}

void TCustomAxisPanel::SetRightAxis(const TChartAxis &source)
{
    AssignAxis(*this, *m_rightAxis, source);
}

void TCustomAxisPanel::SetDepthAxis(const TChartDepthAxis &source)
{
    AssignAxis(*this, *m_depthAxis, source);
}

void TCustomAxisPanel::SetMaxPointsPerPage(int value)
{
    if (value < 0)
        throw ChartException(QStringLiteral("MaxPointsPerPage must be >= 0"));
    SetAndInvalidate(this, m_settings.MaxPointsPerPage, value);
    const int pages = PageCount();
    if (pages < m_settings.Page)
        SetPage(pages);
}

void TCustomAxisPanel::SetPage(int value)
{
    const int pages = PageCount();
    if (value > pages)
        value = pages;
    if (value < 1)
        value = 1;
    if (SetAndInvalidate(this, m_settings.Page, value) && OnPageChange)
        OnPageChange(this);
}

TCustomChartAxis *TCustomAxisPanel::AddAxis(std::unique_ptr<TCustomChartAxis> axis)
{
    TCustomChartAxis *raw = axis.get();
    m_axes.push_back(std::move(axis));
    m_axesList.push_back(raw);
    return raw;
}

// ---- series ----------------------------------------------------------------------

void TCustomAxisPanel::AttachSeries(TChartSeries *series)
{
    if (!series || m_seriesList.IndexOf(series) != -1)
        return;
    if (series->ParentChart() && series->ParentChart() != this)
        series->ParentChart()->DetachSeries(series);
    if (series->SeriesColor() == clDefault)
        series->SetSeriesColor(NextFreeSeriesColor(true));
    series->SetParentChartOnly(this);
    RefreshSeriesDataSource(series);
    m_seriesList.Add(series);
    InvalidatePanel();
}

void TCustomAxisPanel::DetachSeries(TChartSeries *series)
{
    if (!series || m_seriesList.IndexOf(series) == -1)
        return;
    series->RemoveLinkedSeries();
    series->SetParentChartOnly(nullptr);
    if (cursor().shape() == series->Cursor())
        setCursor(OriginalCursor());
    m_seriesList.Remove(series);
    InvalidatePanel();
}

void TCustomAxisPanel::DestroyAllSeries()
{
    while (m_seriesList.Count() > 0) {
        TChartSeries *series = m_seriesList.SeriesAt(0);
        series->SetParentChart(nullptr);
        delete series; // the chart owned it
    }
}

TColor TCustomAxisPanel::NextFreeSeriesColor(bool checkBackground) const
{
    for (int i = 0; i < 16; ++i) {
        const TColor c = PaletteColor(i);
        if (ColorIsFree(c, checkBackground))
            return c;
    }
    return PaletteColor(16);
}

TChartSeries *TCustomAxisPanel::LegendSeries(int i) const
{
    int n = 0;
    for (TChartSeries *s : m_seriesList.Items()) {
        if (s->Active() && s->ShowInLegend()) {
            if (n == i)
                return s;
            ++n;
        }
    }
    return nullptr;
}

QString TCustomAxisPanel::LegendSeriesTitle(int i) const
{
    const TChartSeries *s = LegendSeries(i);
    if (!s)
        return QString();
    if (!s->Title().isEmpty())
        return s->Title();
    if (!s->Name().isEmpty())
        return s->Name();
    return QStringLiteral("Series ") + QString::number(i);
}

int TCustomAxisPanel::MaxLabelTextWidth()
{
    int widest = 0;
    for (TChartSeries *s : m_seriesList.Items()) {
        for (const QString &label : s->LabelList()) {
            if (label.isEmpty())
                continue;
            int lines = 0;
            widest = std::max(widest, WidestLineWidth(ChartCanvas(), label, lines));
        }
    }
    return widest;
}

int TCustomAxisPanel::MaxMarkTextWidth() const
{
    int widest = 0;
    for (TChartSeries *s : m_seriesList.Items())
        if (s->Active())
            widest = std::max(widest, s->MaxMarkWidth());
    return widest;
}

// ---- what the axes ask -------------------------------------------------------------

TAxisPaintContext TCustomAxisPanel::AxisPaintContext(const TCustomChartAxis &axis)
{
    TAxisPaintContext context{ChartCanvas()};
    context.ChartRect = ChartRect();
    context.View3D = View3D();
    context.Depth = Width3D();
    context.Printing = Printing();
    context.Loading = IsLoading();
    context.Shown = AxisShown(&axis);
    context.LabelBackground = Color();
    context.Wall = WallThickness(&axis);
    context.LeftWall = WallThickness(LeftAxis());
    context.BottomWall = WallThickness(BottomAxis());
    context.Series = &m_seriesList.Items();
    context.OnGetLabel = &OnGetAxisLabel;
    context.OnGetNextLabel = &OnGetNextAxisLabel;
    context.SeriesExtreme = [this, &axis](bool wantMinimum) {
        return SeriesExtreme(&axis, wantMinimum, axis.IsHorizontal());
    };
    context.PointLabelsExtent = [this](TAxisLabelStyle style) {
        return style == talMark ? MaxMarkTextWidth() : MaxLabelTextWidth();
    };
    context.SeriesTitle = [this](int index) { return LegendSeriesTitle(index); };
    return context;
}

bool TCustomAxisPanel::AxisShown(const TCustomChartAxis *axis) const
{
    if (!axis || !m_settings.AxisVisible || !axis->Visible())
        return false;
    if (axis->IsDepth())
        return View3D();
    bool anyUsesAxes = false;
    for (TChartSeries *s : m_seriesList.Items()) {
        if (!s->Active() || !s->HasAxes())
            continue;
        anyUsesAxes = true;
        if (s->IsOnAxis(axis))
            return true;
    }
    return !anyUsesAxes && AxesInUse();
}

bool TCustomAxisPanel::AxesInUse() const
{
    bool anyActive = false;
    for (TChartSeries *s : m_seriesList.Items()) {
        if (!s->Active())
            continue;
        if (s->HasAxes())
            return true;
        anyActive = true;
    }
    return !anyActive;
}

bool TCustomAxisPanel::NoSeriesActiveOn(const TCustomChartAxis *axis) const
{
    for (TChartSeries *s : m_seriesList.Items())
        if (s->Active() && s->IsOnAxis(axis))
            return false;
    return true;
}

TChartSeries *TCustomAxisPanel::LeadSeriesOf(const TCustomChartAxis *axis) const
{
    const bool anySeries = NoSeriesActiveOn(axis);
    for (TChartSeries *s : m_seriesList.Items())
        if ((anySeries || s->Active()) && s->IsOnAxis(axis))
            return s;
    return nullptr;
}

double TCustomAxisPanel::SeriesExtreme(const TCustomChartAxis *axis, bool wantMinimum,
                                       bool alongX) const
{
    if (axis->IsDepth()) {
        if (axis->ResolvedLabelStyle() != talValue)
            return wantMinimum ? -0.5 : m_maxZOrder + 0.5;
        for (TChartSeries *s : m_seriesList.Items())
            if (s->Active())
                return wantMinimum ? s->SmallestZ() : s->LargestZ();
        return 0;
    }

    if (m_settings.MaxPointsPerPage > 0) {
        TChartSeries *lead = LeadSeriesOf(axis);
        const bool spreadAlongX = !lead || lead->ValuesAreVertical();
        if (spreadAlongX == alongX) {
            if (!lead || lead->PointCount() == 0)
                return 0;
            const int p = m_settings.MaxPointsPerPage;
            const int n = lead->PointCount();
            int first = p * (m_settings.Page - 1);
            if (first >= n)
                first = p * std::max(0, n / p - 1);
            int last = first + p - 1;
            if (last >= n)
                last = first + (n % p) - 1;
            const TChartValueList *list = alongX ? lead->XValues() : lead->YValues();
            const double vFirst = list->ValueAt(first);
            if (wantMinimum)
                return vFirst;
            const double vLast = list->ValueAt(last);
            const int shown = last - first + 1;
            if (shown < p && !m_settings.ScaleLastPage)
                return vFirst + (vLast - vFirst) * p / shown;
            return vLast;
        }
    }

    const bool every = NoSeriesActiveOn(axis);
    bool found = false;
    double result = 0;
    for (TChartSeries *s : m_seriesList.Items()) {
        if (!(every || s->Active()) || s->PointCount() == 0 || !s->HasAxes())
            continue;
        const bool onAxis = alongX ? (s->HorizAxis() == aBothHorizAxis || s->GetHorizAxis() == axis)
                                   : (s->VertAxis() == aBothVertAxis || s->GetVertAxis() == axis);
        if (!onAxis)
            continue;
        const double v = wantMinimum ? (alongX ? s->SmallestX() : s->SmallestY())
                                     : (alongX ? s->LargestX() : s->LargestY());
        if (!found || (wantMinimum ? v < result : v > result))
            result = v;
        found = true;
    }
    return result;
}

int TCustomAxisPanel::AxisPageCount(const TCustomChartAxis *a, const TCustomChartAxis *b) const
{
    auto count = [this](const TCustomChartAxis *axis) {
        int n = 0;
        for (TChartSeries *s : m_seriesList.Items())
            if (s->Active() && s->IsOnAxis(axis))
                n = std::max(n, s->PointCount());
        if (n <= 0)
            return 1;
        return n / m_settings.MaxPointsPerPage + (n % m_settings.MaxPointsPerPage > 0 ? 1 : 0);
    };
    return std::max(count(a), count(b));
}

int TCustomAxisPanel::PageCount() const
{
    if (m_settings.MaxPointsPerPage < 1 || m_seriesList.Count() == 0)
        return 1;
    if (m_seriesList.SeriesAt(0)->ValuesAreVertical())
        return AxisPageCount(m_bottomAxis, m_topAxis);
    return AxisPageCount(m_leftAxis, m_rightAxis);
}

// ---- depth ------------------------------------------------------------------------------

void TCustomAxisPanel::ComputeDepthSizes()
{
    if (!View3D()) {
        m_seriesWidth3D = 0;
        m_seriesHeight3D = 0;
        SetWidth3D(0);
        SetHeight3D(0);
        return;
    }
    double f = Chart3DPercent() * 0.001;
    if (!View3DOptions().Orthogonal())
        f *= 2;
    const int step = RoundToInt(ChartWidth() * f);
    m_seriesWidth3D = step;
    m_seriesHeight3D = step;
    const int n = ApplyZOrder() ? std::max(1, m_maxZOrder + 1) : 1;
    SetHeight3D(n * step);
    SetWidth3D(n * step);
}

void TCustomAxisPanel::AssignSeriesZOrders()
{
    m_maxZOrder = 0;
    const bool ordered = ApplyZOrder() && View3D();
    if (ordered) {
        m_maxZOrder = -1;
        for (TChartSeries *s : m_seriesList.Items())
            if (s->Active())
                s->AssignZOrder();
    }
    for (TChartSeries *s : m_seriesList.Items())
        if (s->Active())
            s->SetDepthSlot(ordered ? m_maxZOrder - s->ZOrder() : 0);
}

void TCustomAxisPanel::AssignSeriesDepths()
{
    for (TChartSeries *s : m_seriesList.Items()) {
        if (!s->Active())
            continue;
        const int front = m_seriesWidth3D * s->DepthSlot();
        s->SetDepthPositions(front, front + m_seriesWidth3D);
    }
}

// ---- data sources -------------------------------------------------------------------------

void TCustomAxisPanel::RefreshSeriesDataSource(TChartSeries *series)
{
    if (m_loading || !series)
        return;
    if (TChartSeries *source = series->DataSource())
        series->CopyAllPointsFrom(source);
}

bool TCustomAxisPanel::IsValidDataSource(const TChartSeries *series,
                                         const TChartSeries *source) const
{
    return source && source != series && series->CanBeFedBy(const_cast<TChartSeries *>(source));
}

QString TCustomAxisPanel::FormattedValueLegend(TChartSeries *, int) const
{
    return QString();
}

// ---- the drawing pipeline ---------------------------------------------------------------------

void TCustomAxisPanel::PaintChart(const TRect &bounds)
{
    m_paintedOverLayer = PaintOverLayer(bounds);
    if (m_paintedOverLayer) {
        m_keepNextLayer = true;
        return;
    }
    const TRect beforeTitles = ChartRect();
    PaintBackground(bounds);
    for (TChartSeries *s : m_seriesList.Items())
        if (s->Active())
            s->BeforeDrawChart();
    PaintTitlesAndLegend();
    const TRect afterTitles = ChartRect();
    LayOutAxesAndSeries();
    PaintWalls();
    if (m_settings.AxisVisible) {
        if (OnBeforeDrawAxes)
            OnBeforeDrawAxes(this);
        for (TCustomChartAxis *axis : m_axesList)
            if (AxisShown(axis))
                axis->PaintAxis(true);
    }
    // Everything so far depends on settings and axis ranges only, not on
    // where single points are: kept for the next paint when that is likely
    // to be a point edit. Copying the picture costs about as much as drawing
    // its axes, so in a run of whole pictures that follow other changes
    // (panning, zooming, resizing) only the first keeps it.
    const bool wanted = m_keepNextLayer || PointValuesChanged();
    m_keepNextLayer = PointValuesChanged();
    const bool kept =
        wanted && !Printing() && !ChartCanvas().Metafiling && ChartCanvas().SaveLayer();
    if (kept) {
        m_layerLayout.Bounds = bounds;
        m_layerLayout.RectBeforeTitles = beforeTitles;
        m_layerLayout.RectAfterTitles = afterTitles;
        ReadLayout(m_layerLayout);
    }
    SetLayerCurrent(kept);
    PaintSeriesAndAfter();
}

bool TCustomAxisPanel::PaintOverLayer(const TRect &bounds)
{
    // Only a paint asked for by changes of points (the canvas is dirty, and
    // the layer survived every change) may use it: a picture drawn again
    // without any change is drawn whole, as are pictures whose axes run
    // drawing events, which may read anything.
    if (!LayerCurrent() || !ChartCanvas().IsDirty() || Printing() || ChartCanvas().Metafiling ||
        !ChartCanvas().HasLayer() || AxesRunHandlers() || bounds != m_layerLayout.Bounds ||
        ChartRect() != m_layerLayout.RectBeforeTitles)
        return false;
    // The layout is computed again, as point values set the automatic axis
    // ranges: a point that moves an extreme changes the axes.
    const TRect beforeTitles = ChartRect();
    for (TChartSeries *s : m_seriesList.Items())
        if (s->Active())
            s->BeforeDrawChart();
    // A legend row whose text or colour follows an edited point must be
    // drawn again, behind the series: the whole picture.
    if (!LayerLegendCurrent())
        return false;
    SetChartRect(m_layerLayout.RectAfterTitles);
    RecalcChartSize();
    LayOutAxesAndSeries();
    m_layoutScratch.Bounds = bounds;
    m_layoutScratch.RectBeforeTitles = beforeTitles;
    m_layoutScratch.RectAfterTitles = m_layerLayout.RectAfterTitles;
    ReadLayout(m_layoutScratch);
    if (!(m_layoutScratch == m_layerLayout) || !ChartCanvas().RestoreLayer()) {
        SetChartRect(beforeTitles);
        RecalcChartSize();
        return false;
    }
    PaintSeriesAndAfter();
    return true;
}

void TCustomAxisPanel::ReadLayout(LayerLayout &layout) const
{
    layout.ChartRect = ChartRect();
    layout.Width3D = Width3D();
    layout.Height3D = Height3D();
    layout.SeriesWidth3D = m_seriesWidth3D;
    layout.Axes.clear();
    for (const TCustomChartAxis *axis : m_axesList) {
        const TAxisMapping &map = axis->Mapping();
        layout.Axes.push_back(AxisSpan{map.RangeMin, map.RangeMax, map.StartPixel, map.EndPixel});
    }
}

void TCustomAxisPanel::LayOutAxesAndSeries()
{
    AssignSeriesZOrders();
    LayoutAxes();
    AssignSeriesDepths();
    LayoutSeriesArea();
    ChartCanvas().SetProjection(Width3D(), ChartBounds(), ChartRect());
}

void TCustomAxisPanel::PaintSeriesAndAfter()
{
    if (OnBeforeDrawSeries)
        OnBeforeDrawSeries(this);
    // Index loop: a drawing event may add or remove series.
    for (int i = 0; i < m_seriesList.Count(); ++i) {
        TChartSeries *s = m_seriesList.SeriesAt(i);
        if (s->Active())
            PaintSeries(s);
    }
    if (ZoomRecord().DragActive)
        XorZoomFrame();
    ChartCanvas().ResetDrawingState();
    if (OnAfterDraw)
        OnAfterDraw(this);
}

bool TCustomAxisPanel::AxesRunHandlers() const
{
    return OnBeforeDrawAxes || OnGetAxisLabel || OnGetNextAxisLabel;
}

bool TCustomAxisPanel::LayerShowsPointValues() const
{
    if (AxesRunHandlers())
        return true;
    for (const TCustomChartAxis *axis : m_axesList) {
        if (!AxisShown(axis))
            continue;
        const TAxisLabelStyle style = axis->ResolvedLabelStyle();
        if (style == talMark || (style == talText && !axis->IsHorizontal()))
            return true;
    }
    return false;
}

void TCustomAxisPanel::ClipSeriesArea()
{
    ChartCanvas().ClipToCube(ChartRect(), 0, Width3D());
}

TSeriesPaintContext TCustomAxisPanel::SeriesPaintContext(const TChartSeries &series)
{
    TSeriesPaintContext context{ChartCanvas()};
    context.HorizAxis = series.GetHorizAxis();
    context.VertAxis = series.GetVertAxis();
    // Points are converted by the thousand: through the mappings directly.
    if (context.HorizAxis)
        context.HorizMapping = &context.HorizAxis->Mapping();
    if (context.VertAxis)
        context.VertMapping = &context.VertAxis->Mapping();
    context.ChartRect = ChartRect();
    context.View3D = View3D();
    context.SeriesWidth3D = m_seriesWidth3D;
    context.SeriesHeight3D = m_seriesHeight3D;
    context.Depth = series.Depth();
    context.Printing = Printing();
    context.ClipPoints = m_settings.ClipPoints && ClippingAllowed();
    context.ChartDepth = Width3D();
    context.LegendColor = LegendColor();
    context.ChartColor = Color();
    if (View3D() && !ChartCanvas().SupportsText3D() && View3DOptions().ZoomText())
        context.TextZoom = View3DOptions().Zoom();
    return context;
}

void TCustomAxisPanel::PaintSeriesMarks(TChartSeries *series, const TSeriesPaintContext &context)
{
    if (!series->MarksVisible())
        return;
    const bool clip = series->MarksClip() && ClippingAllowed();
    if (clip)
        ClipSeriesArea();
    series->DrawMarks(context);
    if (clip)
        ChartCanvas().RemoveClipping();
}

void TCustomAxisPanel::PaintSeries(TChartSeries *series)
{
    if (View3D() && !series->HasOwnDepthValues() && series->SharesZOrder()) {
        // The first member of a group sharing a depth order paints the group.
        for (TChartSeries *s : m_seriesList.Items()) {
            if (s->Active() && !s->HasOwnDepthValues() && s->ZOrder() == series->ZOrder()) {
                if (s == series)
                    PaintSeriesGroup(series);
                return;
            }
        }
        return;
    }

    series->ComputeShownRange();
    if (series->FirstShownIndex() == -1)
        return;
    series->BeforeDrawPoints();
    const TSeriesPaintContext context = SeriesPaintContext(*series);
    const bool clip = m_settings.ClipPoints && ClippingAllowed();
    if (clip)
        ClipSeriesArea();
    series->DrawAllPoints(context);
    if (clip)
        ChartCanvas().RemoveClipping();
    PaintSeriesMarks(series, context);
    series->AfterDrawPoints();
}

void TCustomAxisPanel::PaintSeriesGroup(TChartSeries *first)
{
    const int z = first->ZOrder();
    std::vector<TChartSeries *> members;
    const auto &items = m_seriesList.Items();
    const auto start = std::find(items.begin(), items.end(), first);
    for (auto it = start; it != items.end(); ++it)
        if ((*it)->Active() && (*it)->ZOrder() == z)
            members.push_back(*it);

    int lo = -1;
    int hi = -1;
    bool clipped = false;
    std::vector<size_t> shown;
    for (size_t k = 0; k < members.size(); ++k) {
        TChartSeries *m = members[k];
        m->ComputeShownRange();
        if (m->FirstShownIndex() == -1)
            continue;
        shown.push_back(k);
        lo = lo == -1 ? m->FirstShownIndex() : std::min(lo, m->FirstShownIndex());
        hi = std::max(hi, m->LastShownIndex());
        m->BeforeDrawPoints();
        if (m_settings.ClipPoints && !clipped && ClippingAllowed()) {
            ClipSeriesArea();
            clipped = true;
        }
    }
    std::vector<TSeriesPaintContext> contexts;
    contexts.reserve(members.size());
    for (TChartSeries *m : members)
        contexts.push_back(SeriesPaintContext(*m));
    if (lo != -1) {
        auto drawIndex = [&](int i) {
            const bool backward = i < first->PointCount() && !first->SeriesDrawnForward(i);
            const size_t n = members.size();
            for (size_t k = 0; k < n; ++k) {
                const size_t m = backward ? n - 1 - k : k;
                if (members[m]->PointCount() > i)
                    members[m]->DrawPoint(contexts[m], i);
            }
        };
        if (first->PointsDrawnForward()) {
            for (int i = lo; i <= hi; ++i)
                drawIndex(i);
        } else {
            for (int i = hi; i >= lo; --i)
                drawIndex(i);
        }
    }
    if (clipped)
        ChartCanvas().RemoveClipping();
    for (size_t k : shown) {
        PaintSeriesMarks(members[k], contexts[k]);
        members[k]->AfterDrawPoints();
    }
}

void TCustomAxisPanel::CopyFrom(const TCustomChartPanel &panel)
{
    const auto *other = dynamic_cast<const TCustomAxisPanel *>(&panel);
    if (!other) {
        TCustomChartPanelExtended::CopyFrom(panel);
        return;
    }
    const TCustomAxisPanel &source = *other;
    m_settings = source.m_settings;
    m_bottomAxis->CopyFrom(*source.m_bottomAxis);
    m_topAxis->CopyFrom(*source.m_topAxis);
    m_leftAxis->CopyFrom(*source.m_leftAxis);
    m_rightAxis->CopyFrom(*source.m_rightAxis);
    m_depthAxis->CopyFrom(*source.m_depthAxis);
    TCustomChartPanelExtended::CopyFrom(panel);
}

} // namespace kov
