#include "chart/panel/chart_title.h"

#include "chart/canvas/chart_canvas3d.h"
#include "chart/panel/chart_panel.h"

#include <algorithm>

namespace kov {

TChartTitle::TChartTitle(TCustomChartPanel *owner) : TChartTextBox(owner, clDefault, false)
{
    // The font's handler is already attached: set the colour without it so
    // that building a chart requests no repaint.
    TChangeHandler handler = std::move(Font().OnChange);
    Font().OnChange = nullptr;
    Font().SetColor(DefaultFontColor);
    Font().SetStyle(DefaultFontStyle);
    Font().OnChange = std::move(handler);
}

bool TChartTitle::Clicked(int x, int y) const
{
    return Visible() && PointInRect(m_titleRect, x, y);
}

bool TChartTitle::IsFontStored() const
{
    const TFont &f = Font();
    return f.Name() != ChartFontName() || f.Size() != ChartFontSize() ||
           f.Color() != DefaultFontColor || f.Style() != DefaultFontStyle;
}

void TChartTitle::CopyFrom(const TChartFontObject &source)
{
    if (const auto *title = dynamic_cast<const TChartTitle *>(&source)) {
        if (title == this)
            return;
        m_settings = title->m_settings;
        CopyBox(*title);
    }
    TChartFontObject::CopyFrom(source);
}

bool TChartTitle::IsFrameShown() const
{
    return Frame().Visible() && Frame().Color() != clDefault;
}

void TChartTitle::PrepareBackground()
{
    TChartCanvas3D &canvas = ParentChart()->ChartCanvas();
    TBrush &brush = canvas.Brush();
    if (Color() == clDefault) {
        if (Brush().Style() != bsSolid) {
            brush.CopyFrom(Brush());
            canvas.SetBackgroundMode(bmTransparent);
        } else if (Brush().Color() == clDefault) {
            brush.SetStyle(bsClear);
        } else {
            // A solid brush with a colour of its own fills the title. The
            // title's Color stays clDefault, so a later change of the brush
            // colour still shows.
            brush.SetBitmap(QImage());
            brush.SetStyle(bsSolid);
            brush.SetColor(Brush().Color());
        }
    } else if (Brush().Style() != bsSolid) {
        brush.CopyFrom(Brush());
        canvas.SetBackgroundMode(bmOpaque);
        canvas.SetBackgroundColor(ColorToRGB(Color()));
    } else {
        brush.SetBitmap(QImage());
        brush.SetStyle(bsSolid);
        brush.SetColor(Color());
    }
}

void TChartTitle::DrawTitle(bool onTop)
{
    TCustomChartPanel *chart = ParentChart();
    if (!chart)
        return;
    TChartCanvas3D &canvas = chart->ChartCanvas();
    const int n = static_cast<int>(m_settings.Text.size());

    chart->SelectFont(Font());
    const int h = canvas.TextLineHeight();
    PrepareBackground();

    const bool frameShown = IsFrameShown();
    const int f = frameShown ? Frame().Width() : 0;

    const TRect chartRect = chart->ChartRect();
    const int L = chartRect.Left + f;
    const int R = chartRect.Right - f;
    int T;
    int B;
    if (onTop) {
        T = chartRect.Top + f;
        B = T - 5;
    } else {
        B = chartRect.Bottom - f;
        T = B + 5;
    }

    TRect rect{L, T, R, B};
    if (onTop)
        rect.Bottom = T + n * h;
    else
        rect.Top = B - n * h;
    rect.Left -= f;
    rect.Top -= f;
    rect.Right += f;
    rect.Bottom += f;

    if (frameShown)
        canvas.ApplyChartPen(Frame());
    else
        canvas.Pen().SetStyle(psClear);

    const int w = canvas.MeasureTextWidth(QStringLiteral("W"));

    if (frameShown || canvas.Brush().Style() != bsClear) {
        if (m_settings.AdjustFrame) {
            int widest = 0;
            for (const QString &line : m_settings.Text)
                widest = std::max(widest, canvas.MeasureTextWidth(line));
            const int m = widest + w;
            switch (m_settings.Alignment) {
            case TAlignment::taLeftJustify:
                rect.Right = rect.Left + m;
                break;
            case TAlignment::taRightJustify:
                rect.Left = rect.Right - m;
                break;
            case TAlignment::taCenter: {
                const int c = (rect.Left + rect.Right) / 2;
                rect.Left = c - m / 2;
                rect.Right = c + m / 2;
                break;
            }
            }
        }
        canvas.DrawRect(rect);
    }
    m_titleRect = rect;

    canvas.SetBackgroundMode(bmTransparent);
    canvas.SetTextAlignment(taLeft | taTop);

    auto lineX = [&](const QString &line) {
        switch (m_settings.Alignment) {
        case TAlignment::taLeftJustify:
            return L + w / 2;
        case TAlignment::taRightJustify:
            return R - canvas.MeasureTextWidth(line) - w / 2;
        case TAlignment::taCenter:
            break;
        }
        return (L + R) / 2 - canvas.MeasureTextWidth(line) / 2;
    };
    auto writeLine = [&](const QString &line, int top) {
        if (canvas.IsHardware3D())
            canvas.WriteText3D(lineX(line), top, 0, line);
        else
            canvas.WriteText(lineX(line), top, line);
    };

    if (onTop) {
        for (int i = 0; i < n; ++i) {
            B = T + h;
            writeLine(m_settings.Text[i], T);
            T = B;
        }
    } else {
        for (int i = n - 1; i >= 0; --i) {
            T = B - h;
            writeLine(m_settings.Text[i], T);
            B = T;
        }
    }

    if (frameShown) {
        if (onTop)
            B += f;
        else
            T -= f;
    }

    TRect shrunk = chart->ChartRect();
    if (onTop)
        shrunk.Top = B + TitleGap;
    else
        shrunk.Bottom = T - TitleGap;
    chart->SetChartRect(shrunk);
    chart->RecalcChartSize();
}

void PaintChartTitles(TCustomChartPanel &chart, TChartTitle &title, TChartTitle &foot,
                      TLegendPlacement placement, const std::function<void()> &drawLegend)
{
    TChartCanvas3D &canvas = chart.ChartCanvas();
    auto drawTitles = [&] {
        if (title.Visible())
            title.DrawTitle(true);
        if (foot.Visible())
            foot.DrawTitle(false);
    };
    auto legend = [&] {
        if (drawLegend)
            drawLegend();
    };

    canvas.BeginFrontPlane();
    switch (placement) {
    case TLegendPlacement::lpNone:
        drawTitles();
        break;
    case TLegendPlacement::lpSide:
        legend();
        drawTitles();
        break;
    case TLegendPlacement::lpTopOrBottom:
        drawTitles();
        legend();
        break;
    }
    canvas.EndFrontPlane();
}

} // namespace kov
