#include "chart/canvas/chart_canvas.h"
#include "chart/exceptions.h"
#include "chart/numeric.h"
#include "chart/series/line_series.h"
#include "chart/series/pie_series.h"
#include "tests/chart/flat_chart_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

using namespace kov;

namespace {

/// A 400 x 300 chart without legend holding one pie series, flat unless a
/// test turns the 3D view on.
class PieSeriesTest : public kov::testing::FlatChartTest
{
protected:
    void SetUp() override
    {
        MakeFlat(400, 300);
        chart.SetColor(clWhite);
        chart.Legend().SetVisible(false);
        chart.View3DOptions().SetOrthogonal(true);
        pie = chart.AddSeries(std::make_unique<TPieSeries>());
    }

    void Add(const std::vector<double> &values)
    {
        for (double v : values)
            std::isnan(v) ? pie->AppendNullPoint() : pie->AppendPoint(v);
    }

    /// Paints and lays the pie out as the paint did.
    TPieLayout PaintAndLayOut()
    {
        Paint();
        TPieLayout layout;
        pie->Layout(chart.SeriesPaintContext(*pie), layout);
        return layout;
    }

    /// The screen point at fraction f of the radius from the slice's centre
    /// in direction angle (the top face).
    static TPoint At(const TPieLayout &l, const TPieSlice &s, double angle, double f)
    {
        return {s.Centre.X + int(std::lround(f * l.XRadius * std::cos(angle))),
                s.Centre.Y - int(std::lround(f * l.YRadius * std::sin(angle)))};
    }

    TPieSeries *pie = nullptr;
};

const double Null = std::nan("");

TEST_F(PieSeriesTest, SlicesShareTheTurnByAbsoluteValue)
{
    struct Case
    {
        int rotation;
        std::vector<double> values;
        std::vector<int> indices;
        std::vector<double> starts; // in turns, from 3 o'clock
    };
    const Case cases[] = {
        {0, {1, 3, 0, Null, -4}, {0, 1, 4}, {0, 0.125, 0.5}},
        {90, {2, 2}, {0, 1}, {0.25, 0.75}},
        {0, {5}, {0}, {0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rotation);
        pie->RemoveAllPoints();
        pie->SetRotationAngle(c.rotation);
        Add(c.values);
        const TPieLayout l = PaintAndLayOut();
        ASSERT_EQ(l.Slices.size(), c.indices.size());
        for (size_t k = 0; k < c.indices.size(); ++k) {
            const TPieSlice &s = l.Slices[k];
            EXPECT_EQ(s.Index, c.indices[k]);
            EXPECT_NEAR(s.Start, c.starts[k] * 2 * Pi, 1e-9);
            const double end = k + 1 < c.starts.size() ? c.starts[k + 1] : c.starts[0] + 1;
            EXPECT_NEAR(s.End, end * 2 * Pi, 1e-9);
            // Drawn in the point's palette colour, and hit there.
            const TPoint p = At(l, s, s.Middle(), 0.6);
            EXPECT_EQ(Pixel(p.X, p.Y), PaletteColor(s.Index)) << k;
            EXPECT_EQ(pie->HitTest(p.X, p.Y), s.Index) << k;
            const TPoint out = At(l, s, s.Middle(), 1.0);
            EXPECT_EQ(pie->HitTest(out.X + (std::cos(s.Middle()) > 0 ? 3 : -3), out.Y), -1);
        }
    }
}

TEST_F(PieSeriesTest, NothingToShareDrawsNothing)
{
    for (const std::vector<double> &values : {std::vector<double>{}, {0, 0, Null}}) {
        pie->RemoveAllPoints();
        Add(values);
        pie->Marks().SetVisible(true);
        TPieLayout l;
        EXPECT_NO_THROW(l = PaintAndLayOut());
        EXPECT_TRUE(l.Slices.empty());
        EXPECT_EQ(pie->LegendItemCount(), 0);
        EXPECT_EQ(pie->HitTest(200, 150), -1);
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                red += Pixel(x, y) == PaletteColor(0) ? 1 : 0;
        EXPECT_EQ(red, 0);
    }
}

TEST_F(PieSeriesTest, ThreeDPieShowsItsWallsAndAnswersOnThem)
{
    chart.SetView3D(true);
    pie->PiePen().SetVisible(false);
    // One slice round the front half (pi .. 2 pi), one round the back.
    Add({1, 1});
    pie->SetRotationAngle(180);
    const TPieLayout l = PaintAndLayOut();
    ASSERT_GT(l.Thickness, 4);
    const TPieSlice &front = l.Slices[0];
    const TPoint bottom = At(l, front, 1.5 * Pi, 1.0);
    const TPoint wall{bottom.X, bottom.Y + l.Thickness / 2};
    EXPECT_EQ(Pixel(wall.X, wall.Y), DarkenColor(PaletteColor(0), TopDarkness));
    EXPECT_EQ(pie->HitTest(wall.X, wall.Y), 0);
    EXPECT_EQ(pie->HitTest(wall.X, bottom.Y + l.Thickness + 3), -1);
    const TPoint top = At(l, l.Slices[1], 0.5 * Pi, 0.5);
    EXPECT_EQ(Pixel(top.X, top.Y), PaletteColor(1));
    EXPECT_EQ(pie->HitTest(top.X, top.Y), 1);
    EXPECT_EQ(pie->HitTest(top.X, top.Y - l.YRadius), -1);
}

TEST_F(PieSeriesTest, ExplodedCutFaceIsDrawnAndHit)
{
    chart.SetView3D(true);
    pie->PiePen().SetVisible(false);
    // The slice from 0 to pi/2 moved out: its start face (along 3 o'clock)
    // faces the viewer.
    Add({1, 3});
    pie->SetSliceExplode(0, 30);
    const TPieLayout l = PaintAndLayOut();
    const TPieSlice &s = l.Slices[0];
    const TPoint face{s.Centre.X + l.XRadius / 2, s.Centre.Y + l.Thickness / 2};
    EXPECT_EQ(Pixel(face.X, face.Y), DarkenColor(PaletteColor(0), SideDarkness));
    EXPECT_EQ(pie->HitTest(face.X, face.Y), 0);
}

TEST_F(PieSeriesTest, LegendAndMarksSkipPointsWithoutSlice)
{
    pie->AppendPoint(2, QStringLiteral("a"));
    pie->AppendPoint(0, QStringLiteral("zero"));
    pie->AppendNullPoint(QStringLiteral("null"));
    pie->AppendPoint(6, QStringLiteral("b"));
    pie->Marks().SetVisible(true);
    pie->Marks().SetStyle(smsLabel);
    EXPECT_EQ(pie->LegendItemCount(), 2);
    EXPECT_EQ(pie->LegendToPointIndex(1), 3);
    EXPECT_EQ(pie->LegendEntryText(1, ltsRightPercent), "b 75 %");
    EXPECT_TRUE(pie->MarkText(1).isEmpty());

    const TPieLayout l = PaintAndLayOut();
    for (const TPieSlice &s : l.Slices) {
        // On the rim in the middle of the arc, the leader line going on out.
        const TPoint m = pie->MarkPoint(chart.SeriesPaintContext(*pie), s.Index);
        const TPoint rim = At(l, s, s.Middle(), 1.0);
        EXPECT_LE(std::abs(m.X - rim.X) + std::abs(m.Y - rim.Y), 1) << s.Index;
    }
    // The marks fit: the pie leaves room around it.
    const TRect r = chart.ChartRect();
    EXPECT_LT(l.XRadius, (r.Right - r.Left) / 2 - 10);
    EXPECT_LT(l.YRadius, (r.Bottom - r.Top) / 2 - 10);
}

TEST_F(PieSeriesTest, ChartDrawsNoAxesForAPieAndRangesIgnoreIt)
{
    Add({100, 300});
    Paint();
    EXPECT_FALSE(chart.AxesInUse());
    EXPECT_FALSE(chart.AxisShown(chart.LeftAxis()));
    EXPECT_FALSE(chart.AxisShown(chart.BottomAxis()));

    auto *line = chart.AddSeries(std::make_unique<TLineSeries>());
    line->AppendPoint(2);
    line->AppendPoint(4);
    Paint();
    EXPECT_TRUE(chart.AxisShown(chart.LeftAxis()));
    EXPECT_DOUBLE_EQ(chart.MaxYValue(chart.LeftAxis()), 4);
    EXPECT_DOUBLE_EQ(chart.MinYValue(chart.LeftAxis()), 2);
}

TEST_F(PieSeriesTest, SettersRejectBadValuesKeepingTheOld)
{
    Add({1});
    struct Case
    {
        std::function<void(int)> set;
        std::function<int()> get;
        int good, bad;
        const char *message;
    };
    const char *explode = "Pie Explode must be between 0 and 100 %";
    const Case cases[] = {
        {[&](int v) { pie->SetExplodeBiggest(v); }, [&] { return pie->ExplodeBiggest(); }, 100, 101,
         explode},
        {[&](int v) { pie->SetSliceExplode(0, v); }, [&] { return pie->SliceExplode(0); }, 0, -1,
         explode},
        {[&](int v) { pie->SetRotationAngle(v); }, [&] { return pie->RotationAngle(); }, 359, 360,
         "Pie Rotation Angle must be between 0 and 359 degrees"},
        {[&](int v) { pie->SetTilt3D(v); }, [&] { return pie->Tilt3D(); }, 10, 9,
         "Pie Tilt must be between 10 and 90 degrees"},
        {[&](int v) { pie->SetThickness3D(v); }, [&] { return pie->Thickness3D(); }, 100, 101,
         "Pie Thickness must be between 0 and 100 %"},
    };
    for (const Case &c : cases) {
        c.set(c.good);
        try {
            c.set(c.bad);
            FAIL() << c.message;
        } catch (const ChartException &e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_EQ(c.get(), c.good);
    }
    EXPECT_THROW(pie->SetSliceExplode(1, 10), ListIndexError);
    TPieSeries copy;
    copy.CopyFrom(*pie);
    EXPECT_EQ(copy.Tilt3D(), 10);
    EXPECT_EQ(copy.RotationAngle(), 359);
}

} // namespace
