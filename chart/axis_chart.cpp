// What an axis asks of its chart: the canvas, the chart rectangle, the series
// drawn against it, the label events. An axis without a chart answers on its
// own: no series, an empty chart rectangle, a private measuring canvas.
#include "chart/axis.h"

#include "chart/canvas/chart_canvas.h"
#include "chart/canvas/text_lines.h"
#include "chart/numeric.h"

#include "chart/axis_panel.h"

namespace kov {

// The title's font reports to the chart of the title's axis.
TChartAxisTitle::TChartAxisTitle(TCustomChartAxis *axis)
    : TChartFontObject(axis ? axis->ParentChart() : nullptr), m_axis(axis)
{
}

TChartCanvas3D *TCustomChartAxis::Canvas() const
{
    if (m_chart)
        return &m_chart->ChartCanvas();
    if (!m_ownCanvas)
        m_ownCanvas = std::make_unique<TChartCanvas3D>();
    return m_ownCanvas.get();
}

void TCustomChartAxis::SelectFont(const TFont &font) const
{
    if (m_chart) {
        m_chart->SelectFont(font);
        return;
    }
    // The chart's rule: the font keeps the canvas' pixels per inch.
    TFont &target = Canvas()->Font();
    const int ppi = target.PixelsPerInch();
    target.CopyFrom(font);
    target.SetPixelsPerInch(ppi);
}

void ReportChange(TCustomChartAxis *axis)
{
    axis->Repaint();
}

void TCustomChartAxis::Repaint()
{
    if (m_chart)
        m_chart->InvalidatePanel();
}

bool TCustomChartAxis::IsLoadingChart() const
{
    return m_chart && m_chart->IsLoading();
}

int TCustomChartAxis::ChartDepth() const
{
    return m_chart ? m_chart->Width3D() : 0;
}

TRect TCustomChartAxis::ChartRect() const
{
    return m_chart ? m_chart->ChartRect() : TRect{};
}

bool TCustomChartAxis::IsView3D() const
{
    return m_chart && m_chart->View3D();
}

bool TCustomChartAxis::IsPrinting() const
{
    return m_chart && m_chart->Printing();
}

int TCustomChartAxis::WallThicknessOf(const TCustomChartAxis *axis) const
{
    if (m_chart && axis)
        return m_chart->WallThickness(axis);
    return 0;
}

const TCustomChartAxis *TCustomChartAxis::SiblingAxis(bool horizontal) const
{
    if (m_chart)
        return horizontal ? static_cast<const TCustomChartAxis *>(m_chart->BottomAxis())
                          : static_cast<const TCustomChartAxis *>(m_chart->LeftAxis());
    return nullptr;
}

bool TCustomChartAxis::IsShown() const
{
    return m_chart ? m_chart->AxisShown(this) : m_settings.Visible;
}

double TCustomChartAxis::SeriesExtremeOf(bool wantMinimum) const
{
    if (m_chart)
        return m_chart->SeriesExtreme(this, wantMinimum, m_settings.IsHorizontal);
    return 0;
}

bool TCustomChartAxis::HasGetAxisLabel() const
{
    if (m_chart && !m_measuring)
        return static_cast<bool>(m_chart->OnGetAxisLabel);
    return false;
}

bool TCustomChartAxis::HasGetNextAxisLabel() const
{
    if (m_chart)
        return static_cast<bool>(m_chart->OnGetNextAxisLabel);
    return false;
}

void TCustomChartAxis::CallGetAxisLabel(TChartSeries *series, int valueIndex, QString &text) const
{
    if (m_chart && m_chart->OnGetAxisLabel)
        m_chart->OnGetAxisLabel(const_cast<TCustomChartAxis *>(this), series, valueIndex, text);
}

void TCustomChartAxis::CallGetNextAxisLabel(int labelIndex, double &value, bool &stop) const
{
    if (m_chart && m_chart->OnGetNextAxisLabel) {
        m_chart->OnGetNextAxisLabel(const_cast<TCustomChartAxis *>(this), labelIndex, value, stop);
        return;
    }
    stop = true;
}

void TCustomChartAxis::PrepareLabelBrush()
{
    TChartCanvas3D *canvas = Canvas();
    if (m_chart)
        canvas->Brush().SetColor(m_chart->Color());
    canvas->Brush().SetStyle(bsClear);
    if (IsPrinting() && ColorToRGB(canvas->Font().Color()) == clWhite)
        canvas->Font().SetColor(clBlack);
}

void TCustomChartAxis::AdjustGridPen()
{
    TChartCanvas3D *canvas = Canvas();
    if (m_chart)
        m_chart->AdjustPenForPrinting(canvas->Pen());
    if (canvas->Pen().Color() == clDefault)
        canvas->Pen().SetColor(clGray);
}

bool TCustomChartAxis::UsesDateTime() const
{
    if (m_chart) {
        for (int i = 0; i < m_chart->CountSeries(); ++i) {
            const TChartSeries *s = m_chart->SeriesAt(i);
            if (s->Active() && s->IsOnAxis(this))
                return m_settings.IsHorizontal ? s->XValues()->DateTime()
                                               : s->YValues()->DateTime();
        }
        return false;
    }
    // A stand-alone axis keeps the mode it was given.
    return m_dateTimeMode;
}

TAxisLabelStyle TCustomChartAxis::ResolvedLabelStyle() const
{
    if (m_settings.LabelStyle != talAuto)
        return m_settings.LabelStyle;
    if (m_chart) {
        if (m_settings.IsDepth) {
            for (int i = 0; i < m_chart->CountSeries(); ++i) {
                const TChartSeries *s = m_chart->SeriesAt(i);
                if (s->Active() && s->HasOwnDepthValues())
                    return talValue;
            }
            return talText;
        }
        TAxisLabelStyle result = talNone;
        for (int i = 0; i < m_chart->CountSeries(); ++i) {
            const TChartSeries *s = m_chart->SeriesAt(i);
            if (!s->Active() || !s->IsOnAxis(this))
                continue;
            const bool spreadAlong = m_settings.IsHorizontal == s->ValuesAreVertical();
            if (spreadAlong && !s->LabelList().empty() && !s->LabelList().front().isEmpty())
                return talText;
            result = talValue;
        }
        return result;
    }
    return m_settings.IsDepth ? talText : talValue;
}

int TCustomChartAxis::PointLabelsExtent(TAxisLabelStyle style) const
{
    if (m_chart)
        return style == talMark ? m_chart->MaxMarkTextWidth() : m_chart->MaxLabelTextWidth();
    return 0;
}

void TCustomChartAxis::PointLabels(TAxisLabelStyle style)
{
    if (!m_chart)
        return;
    std::vector<TChartSeries *> labelSeries;
    int first = -1;
    int last = -1;
    for (int i = 0; i < m_chart->CountSeries(); ++i) {
        TChartSeries *s = m_chart->SeriesAt(i);
        if (!s->Active() || !s->IsOnAxis(this) || s->LabelList().empty())
            continue;
        labelSeries.push_back(s);
        s->ComputeShownRange();
        if (s->FirstShownIndex() != -1 && (first == -1 || s->FirstShownIndex() < first))
            first = s->FirstShownIndex();
        last = std::max(last, s->LastShownIndex());
    }
    if (first == -1)
        return;
    const bool upright = m_settings.LabelsAngle == 90 || m_settings.LabelsAngle == 270;
    const bool across = m_settings.IsHorizontal ? upright : !upright;
    for (int i = first; i <= last; ++i) {
        TChartSeries *owner = nullptr;
        for (TChartSeries *s : labelSeries) {
            if (static_cast<int>(s->LabelList().size()) > i) {
                owner = s;
                break;
            }
        }
        if (!owner || i >= owner->PointCount())
            continue;
        QString text = style == talMark ? owner->MarkText(i) : owner->PointLabel(i);
        CallGetAxisLabel(owner, i, text);
        const double value =
            m_settings.IsHorizontal ? owner->XValues()->ValueAt(i) : owner->YValues()->ValueAt(i);
        if (value < m_map.RangeMin || value > m_map.RangeMax)
            continue;
        const int pos = ValueToPos(value);
        if (!m_settings.TickOnLabelsOnly)
            AddTickPosition(pos);
        if (!m_settings.Labels)
            continue;
        // A label whose position lies within the last label drawn overlaps
        // it whatever its size: left out without being measured (thousands
        // of points share a few hundred pixels).
        if (m_haveLastLabel && m_settings.LabelsSeparation > 0 &&
            (pos >= m_lastLabelPos ? pos < m_lastLabelPos + m_lastLabelHalf
                                   : pos > m_lastLabelPos - m_lastLabelHalf))
            continue;
        SelectFont(m_labelsFont);
        int lines = 1;
        const int width = WidestLineWidth(*Canvas(), text, lines);
        const int size = across ? LineHeight() * lines : width;
        int half;
        if (!m_haveLastLabel || m_settings.LabelsSeparation == 0) {
            half = size / 2;
        } else {
            half = (size + TruncToInt(size * 0.02 * m_settings.LabelsSeparation)) / 2;
            const bool clear = pos >= m_lastLabelPos
                                   ? pos - half >= m_lastLabelPos + m_lastLabelHalf
                                   : pos + half <= m_lastLabelPos - m_lastLabelHalf;
            if (!clear)
                continue;
        }
        DrawLabel(pos, text);
        m_haveLastLabel = true;
        m_lastLabelPos = pos;
        m_lastLabelHalf = half;
    }
}

void TCustomChartAxis::DepthSeriesLabels()
{
    if (!m_chart || m_chart->SeriesList().ActiveCount() == 0)
        return;
    const int from = TruncToInt(m_map.RangeMin);
    const int to = TruncToInt(m_map.RangeMax);
    for (int i = from; i <= to && i - from <= MaxTickPositions; ++i) {
        const int pos = DepthValueToPos(m_map.RangeMax - i - 0.5);
        if (!m_settings.TickOnLabelsOnly)
            AddTickPosition(pos);
        if (m_settings.Labels) {
            QString text = m_chart->LegendSeriesTitle(i);
            CallGetAxisLabel(nullptr, i, text);
            DrawLabel(pos, text);
        }
    }
}

} // namespace kov
