#include "chart/chart.h"
#include "chart/series/fast_line_series.h"
#include "chart/series/line_series.h"
#include "tests/chart/chart_picture.h"
#include "tests/chart/flat_chart_test.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace kov;

namespace {

enum class Data { Wave, Random, Spikes, FlatRuns, Extremes, Descending, Nulls };
enum class View { Whole, Zoomed, Panned, Depth, Rotated };

struct Points
{
    std::vector<double> X, Y;
    std::vector<bool> Null;
};

/// n points of a kind, from a fixed pseudo-random sequence.
Points MakePoints(Data kind, int n)
{
    Points p;
    std::uint32_t r = 12345;
    auto next = [&r] { return static_cast<int>((r = r * 1664525u + 1013904223u) >> 8); };
    const double extremes[] = {-1e300, 1e300, 1e-300, -3.5e250, 0};
    for (int i = 0; i < n; ++i) {
        const int band = (i / 50) % 3;
        double y = next() % 1000;
        if (kind == Data::Wave)
            y = 128 + 90 * std::sin(i * 6.283185307179586 * 3 / n) + (next() % 256) / 255.0 * 30;
        else if (kind == Data::Spikes)
            y = i % 97 == 0 ? (next() % 2 ? 1e6 : -1e6) : 500 + next() % 3;
        else if (kind == Data::FlatRuns)
            y = band == 0 ? 100 : band == 1 ? 900 : 100 + (i % 2) * 800;
        else if (kind == Data::Extremes && i % 5 == 0)
            y = extremes[next() % 5];
        p.X.push_back(kind == Data::Descending ? n - i : i);
        p.Y.push_back(y);
        p.Null.push_back(kind == Data::Nulls && (i % 13 == 0 || (i > n / 2 && i < n / 2 + n / 20)));
    }
    return p;
}

/// A fast line drawing every segment: the picture the columns must equal.
class TEverySegmentLine : public TFastLineSeries
{
protected:
    bool DrawsColumns() const override { return false; }
};

struct Scene
{
    int Width;
    int Height;
    View Shown;
    int PenWidth = 1;
    TPenStyle PenStyle = psSolid;
};

/// A chart of the given size and view with one series of the points added.
template <class Series> struct SceneChart
{
    TChart chart;
    Series *series;

    SceneChart(const Scene &scene, const Points &points)
    {
        chart.resize(scene.Width, scene.Height);
        chart.Legend().SetVisible(false);
        chart.SetView3D(scene.Shown == View::Depth || scene.Shown == View::Rotated);
        chart.View3DOptions().SetOrthogonal(scene.Shown != View::Rotated);
        series = chart.AddSeries(std::make_unique<Series>());
        series->SetSeriesColor(clRed);
        series->LinePen().SetWidth(scene.PenWidth);
        series->LinePen().SetStyle(scene.PenStyle);
        const bool ascending = points.X.size() < 2 || points.X[0] < points.X[1];
        series->XValues()->SetOrder(ascending ? loAscending : loNone);
        for (std::size_t i = 0; i < points.X.size(); ++i) {
            if (points.Null[i])
                series->AppendNullPointXY(points.X[i], points.Y[i]);
            else
                series->AppendPointXY(points.X[i], points.Y[i]);
        }
        const int n = static_cast<int>(points.X.size());
        if (scene.Shown == View::Zoomed) {
            kov::testing::FixAxisRange(chart.BottomAxis(), n * 0.3 + 0.37, n * 0.45 + 0.37);
            kov::testing::FixAxisRange(chart.LeftAxis(), 200, 700);
        } else if (scene.Shown == View::Panned && n > 0) {
            kov::testing::FixAxisRange(chart.BottomAxis(), n * 0.55 + 0.37, n * 1.2);
        }
    }

    QImage Paint() { return kov::testing::DrawPicture(chart, chart.width(), chart.height()); }
};

template <class Series> QImage PictureOf(const Scene &scene, const Points &points)
{
    SceneChart<Series> c(scene, points);
    return c.Paint();
}

/// Names the first pixel where the pictures differ and how many do.
::testing::AssertionResult SamePicture(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << "sizes differ";
    int differing = 0;
    QPoint first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && differing++ == 0)
                first = QPoint(x, y);
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << differing << " pixels differ, the first at " << first.x() << "," << first.y();
}

struct PictureCase
{
    Data Kind;
    int Count;
    Scene Shown;
};

class FastLinePicture : public ::testing::TestWithParam<PictureCase>
{
};

/// "Wave_1000000_950x510_Whole_Pen1Solid"-style test names.
std::string CaseName(const ::testing::TestParamInfo<PictureCase> &info)
{
    const char *data[] = {"Wave",     "Random",     "Spikes", "FlatRuns",
                          "Extremes", "Descending", "Nulls"};
    const char *views[] = {"Whole", "Zoomed", "Panned", "Depth", "Rotated"};
    const PictureCase &c = info.param;
    return std::string(data[int(c.Kind)]) + "_" + std::to_string(c.Count) + "_" +
           std::to_string(c.Shown.Width) + "x" + std::to_string(c.Shown.Height) + "_" +
           views[int(c.Shown.Shown)] + "_Pen" + std::to_string(c.Shown.PenWidth) +
           (c.Shown.PenStyle == psSolid ? "Solid" : "Dashed");
}

} // namespace

// The columns give the picture of every segment drawn with the canvas's
// one-pixel line: against the line series (flat views) and against the same
// series drawing every segment (all views).
TEST_P(FastLinePicture, EqualsEverySegmentDrawn)
{
    const PictureCase &c = GetParam();
    const Points points = MakePoints(c.Kind, c.Count);
    const QImage fast = PictureOf<TFastLineSeries>(c.Shown, points);
    EXPECT_TRUE(SamePicture(fast, PictureOf<TEverySegmentLine>(c.Shown, points)));
    if (c.Shown.Shown != View::Depth && c.Shown.Shown != View::Rotated) {
        EXPECT_TRUE(SamePicture(fast, PictureOf<TLineSeries>(c.Shown, points)));
    }
    // Something of the line is on the picture at all.
    EXPECT_NE(fast, PictureOf<TFastLineSeries>(c.Shown, Points{}));
}

INSTANTIATE_TEST_SUITE_P(
    Data, FastLinePicture,
    ::testing::Values(PictureCase{Data::Wave, 1000000, {950, 510, View::Whole}},
                      PictureCase{Data::Random, 1000000, {640, 480, View::Zoomed}},
                      PictureCase{Data::Wave, 1000000, {950, 510, View::Zoomed}},
                      PictureCase{Data::Random, 10, {300, 200, View::Whole}},
                      PictureCase{Data::Random, 1000, {640, 480, View::Zoomed}},
                      PictureCase{Data::Random, 100000, {300, 200, View::Panned}},
                      PictureCase{Data::Spikes, 100000, {950, 510, View::Whole}},
                      PictureCase{Data::FlatRuns, 100000, {640, 480, View::Zoomed}},
                      PictureCase{Data::FlatRuns, 1000, {300, 200, View::Whole}},
                      PictureCase{Data::Extremes, 1000, {640, 480, View::Whole}},
                      PictureCase{Data::Extremes, 10000, {640, 480, View::Zoomed}},
                      PictureCase{Data::Descending, 100000, {640, 480, View::Panned}},
                      PictureCase{Data::Nulls, 10000, {950, 510, View::Whole}},
                      PictureCase{Data::Nulls, 1000, {300, 200, View::Zoomed}},
                      PictureCase{Data::Random, 10000, {640, 480, View::Whole, 3}},
                      PictureCase{Data::Random, 3000, {640, 480, View::Zoomed, 1, psDash}},
                      PictureCase{Data::Wave, 100000, {640, 480, View::Depth}},
                      PictureCase{Data::Nulls, 1000, {640, 480, View::Depth}},
                      PictureCase{Data::Random, 10000, {640, 480, View::Rotated}}),
    CaseName);

namespace {

struct ChangeCase
{
    const char *Name;
    View Shown;
    /// Changes the series and the points alike.
    std::function<void(TChartSeries &, Points &)> Change;
};

void SetY(TChartSeries &s, Points &p, int i, double y)
{
    // Mirrored in the wave's band (about 38 to 248): a crest becomes a spike
    // down inside the axis range.
    if (y < 0)
        y = 286 - p.Y[static_cast<std::size_t>(i)];
    s.SetPointY(i, y);
    p.Y[static_cast<std::size_t>(i)] = y;
}

class FastLineChange : public ::testing::TestWithParam<ChangeCase>
{
};

} // namespace

// After a change between two paints, the updated columns give the picture of
// columns built afresh.
TEST_P(FastLineChange, RepaintEqualsAFreshPicture)
{
    const ChangeCase &c = GetParam();
    const Scene scene{640, 480, c.Shown};
    Points points = MakePoints(Data::Wave, 100000);
    SceneChart<TFastLineSeries> chart(scene, points);
    chart.Paint();
    for (int round = 0; round < 3; ++round) {
        c.Change(*chart.series, points);
        // The fresh chart's second picture: its first lays out without the
        // labels of a picture before.
        SceneChart<TFastLineSeries> fresh(scene, points);
        fresh.Paint();
        EXPECT_TRUE(SamePicture(chart.Paint(), fresh.Paint())) << c.Name << ", round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FastLineChange,
    ::testing::Values(
        ChangeCase{"single values", View::Whole,
                   [](TChartSeries &s, Points &p) {
                       for (int i : {5, 8333, 8334, 25000, 41667, 99999})
                           SetY(s, p, i, -1);
                   }},
        ChangeCase{"the shown range's first point and the one before it", View::Zoomed,
                   [](TChartSeries &s, Points &p) {
                       for (int i : {29999, 30000, 30001, 32000})
                           SetY(s, p, i, p.Y[static_cast<std::size_t>(i)] < 300 ? 650 : 250);
                   }},
        ChangeCase{
            "a new extreme", View::Whole,
            [](TChartSeries &s, Points &p) { SetY(s, p, 4242, p.Y[4242] < 2000 ? 5000 : 100); }},
        ChangeCase{
            "a point leaving the drawable range and coming back", View::Zoomed,
            [](TChartSeries &s, Points &p) { SetY(s, p, 35000, p.Y[35000] < 1e9 ? 1e12 : 400); }},
        ChangeCase{"a point turned null", View::Whole,
                   [](TChartSeries &s, Points &p) {
                       static int i = 500;
                       s.SetPointColor(i, clNone);
                       p.Null[static_cast<std::size_t>(i)] = true;
                       i += 7000;
                   }},
        ChangeCase{"an X value", View::Whole,
                   [](TChartSeries &s, Points &p) {
                       static int i = 700;
                       s.XValues()->SetValueAt(i, p.X[static_cast<std::size_t>(i)] + 300);
                       p.X[static_cast<std::size_t>(i)] += 300;
                       i += 9000;
                   }},
        ChangeCase{"in depth", View::Depth,
                   [](TChartSeries &s, Points &p) {
                       for (int i : {8333, 41667, 41668})
                           SetY(s, p, i, -1);
                   }}),
    [](const ::testing::TestParamInfo<ChangeCase> &info) {
        std::string name = info.param.Name;
        for (char &ch : name)
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return name;
    });

// A click answers what the line series answers for the same points: the
// point under it, else the point its segment starts at.
TEST(FastLineHitTest, AnswersAsTheLineSeries)
{
    for (View view : {View::Whole, View::Zoomed}) {
        for (Data kind : {Data::Random, Data::Wave, Data::Descending}) {
            const Scene scene{640, 480, view};
            const Points points = MakePoints(kind, 3000);
            SceneChart<TFastLineSeries> fast(scene, points);
            SceneChart<TLineSeries> line(scene, points);
            fast.Paint();
            line.Paint();
            std::uint32_t r = 7;
            for (int k = 0; k < 600; ++k) {
                r = r * 1664525u + 1013904223u;
                const int i = static_cast<int>((r >> 8) % 3000);
                int x = line.series->PointScreenX(i) + static_cast<int>(r % 3) - 1;
                int y = line.series->PointScreenY(i) + static_cast<int>((r >> 2) % 3) - 1;
                if (k % 4 == 0) {
                    x = static_cast<int>((r >> 4) % 640);
                    y = static_cast<int>((r >> 14) % 480);
                }
                ASSERT_EQ(fast.series->HitTest(x, y), line.series->HitTest(x, y))
                    << "at " << x << "," << y << " view " << int(view) << " data " << int(kind);
            }
        }
    }
}

TEST(FastLineSettings, CopyClickableAndLegend)
{
    SceneChart<TFastLineSeries> fast({300, 200, View::Whole}, MakePoints(Data::FlatRuns, 200));
    TLineSeries line;
    line.LinePen().SetWidth(3);
    line.SetClickableLine(false);
    line.SetSeriesColor(clRed);
    fast.series->CopyFrom(line);
    TFastLineSeries copy;
    copy.CopyFrom(*fast.series);
    EXPECT_EQ(copy.LinePen().Width(), 3);
    EXPECT_FALSE(copy.ClickableLine());
    fast.Paint();
    EXPECT_EQ(fast.series->HitTest(fast.series->PointScreenX(10), fast.series->PointScreenY(10)),
              -1);

    // The legend symbol is a line in the series colour.
    fast.chart.Legend().SetVisible(true);
    const QImage image = fast.Paint();
    const TRect legend = fast.chart.Legend().LegendRect();
    int red = 0;
    for (int x = legend.Left; x < legend.Right; ++x)
        for (int y = legend.Top; y < legend.Bottom; ++y)
            red += FromQColor(image.pixelColor(x, y)) == clRed;
    EXPECT_GT(red, 5);

    // The values legend shows the colour the line is drawn in, not the
    // points' own (which the line never draws); a null point shows none.
    fast.series->SetColorEachPoint(true);
    fast.series->SetPointColor(3, clBlue);
    fast.series->SetPointColor(4, clNone);
    for (int i : {0, 3})
        EXPECT_EQ(fast.series->LegendEntryColor(i), clRed) << i;
    EXPECT_EQ(fast.series->LegendEntryColor(4), clNone);
}
