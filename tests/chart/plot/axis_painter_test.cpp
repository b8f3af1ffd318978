#include "chart/plot/axis_painter.h"

#include "chart/axis/axis.h"
#include "tests/chart/canvas/canvas_test_util.h"

#include <gtest/gtest.h>

using namespace kov;

TEST(AxisWithoutChart, PaintsFromTheContextItIsHanded)
{
    // No chart: a canvas, a chart rectangle and the label events, handed in.
    TChartCanvas3D canvas;
    kov::test::BeginPaint(canvas, 300, 200);
    TChartAxis left;
    left.SetAutomatic(false);
    left.SetMaximum(10);
    left.RefreshRange();
    left.Mapping().SetPixelSpan(20, 180);
    left.Axis().SetColor(clBlue);
    left.Grid().SetVisible(false);

    int calls = 0;
    const TAxisOnGetLabel onLabel = [&calls](TCustomChartAxis *, TChartSeries *series, int index,
                                             QString &text) {
        EXPECT_EQ(series, nullptr);
        EXPECT_EQ(index, -1);
        ++calls;
        text += QStringLiteral(" u");
    };
    TAxisPaintContext context{canvas};
    context.ChartRect = TRect{60, 20, 280, 180};
    context.OnGetLabel = &onLabel;

    TAxisPainter painter(left, context);
    painter.Paint(true);
    EXPECT_EQ(left.Layout().AxisLinePos, 60);
    EXPECT_EQ(kov::test::PixelAt(canvas, 60, 100), clBlue);
    ASSERT_FALSE(left.Layout().PaintedLabels.empty());
    EXPECT_GT(calls, 0);
    for (const auto &label : left.Layout().PaintedLabels)
        EXPECT_TRUE(label.Text.endsWith(QStringLiteral(" u"))) << label.Text.toStdString();
    EXPECT_EQ(painter.FormatLabel(2.5), QStringLiteral("2.5 u"));

    // Labels at the values the next-label event hands out, until it stops.
    const TAxisOnGetNextLabel onNext = [](TCustomChartAxis *, int index, double &value,
                                          bool &stop) {
        stop = index > 2;
        value = index * 5;
    };
    context.OnGetNextLabel = &onNext;
    left.SetLabelsOnAxis(true);
    TAxisPainter(left, context).Paint(true);
    EXPECT_EQ(left.Layout().TickPositions, (std::vector<int>{180, 100, 20}));
}
