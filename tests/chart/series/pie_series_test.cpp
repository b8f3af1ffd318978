#include "chart/canvas/canvas3d.h"
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

// However wide the marks, the pie keeps at least half the radius it has
// without them; the marks stand in two columns beside it, inside the chart
// rectangle, without overlapping, shortened with "…" where they must be.
TEST_F(PieSeriesTest, MarksNeverEatThePie)
{
    const QString longest = QStringLiteral("Renewable heat from the ground-source heat pump"); // 47
    const QStringList labels = {longest, QStringLiteral("Gas boiler in the basement, 1998 model"),
                                QStringLiteral("Grid electricity"), QStringLiteral("Wood"),
                                QStringLiteral("Heating oil delivered in the autumn")};
    struct Case
    {
        int width, height;
        TSeriesMarksStyle style;
        std::vector<double> values;
        int slicesWithMark; // marks a full column leaves out do not count
    };
    const std::vector<double> many(24, 1.0);
    const Case cases[] = {
        {500, 350, smsLabel, {40, 30, 15, 10, 5}, 5},
        {800, 350, smsLabel, {40, 30, 15, 10, 5}, 5},
        {500, 350, smsValue, {1e300, 1e300, 1e300, 1e300, 1e300}, 5},
        {500, 350, smsLabel, {1, 1, 1, 1, 96}, 5},
        {500, 200, smsLabelPercent, many, 24},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.width * 1000 + int(c.values.size()));
        MakeFlat(c.width, c.height);
        pie->RemoveAllPoints();
        for (size_t i = 0; i < c.values.size(); ++i)
            pie->AppendPoint(c.values[i], labels[int(i % labels.size())]);
        pie->Marks().SetStyle(c.style);
        pie->Marks().SetVisible(false);
        const int bare = PaintAndLayOut().XRadius;
        pie->Marks().SetVisible(true);
        const TPieLayout l = PaintAndLayOut();
        EXPECT_GE(2 * l.XRadius, bare - 1);
        const TPoint inside = At(l, l.Slices[0], l.Slices[0].Middle(), 0.5);
        EXPECT_EQ(Pixel(inside.X, inside.Y), PaletteColor(0));

        const TRect r = chart.ChartRect();
        const std::vector<TPieLabel> &marks = pie->Labels();
        EXPECT_LE(int(marks.size()), c.slicesWithMark);
        EXPECT_GE(int(marks.size()), std::min(c.slicesWithMark, 10));
        for (size_t k = 0; k < marks.size(); ++k) {
            const TRect &b = marks[k].Box;
            EXPECT_TRUE(b.Left >= r.Left && b.Right <= r.Right && b.Top >= r.Top &&
                        b.Bottom <= r.Bottom)
                << k;
            // Beside the pie, each on its slice's side, reached at its near side.
            const bool right = std::cos(l.Slices[marks[k].Index].Middle()) >= 0;
            EXPECT_EQ(right, b.Left > l.Centre.X + l.XRadius) << k;
            EXPECT_EQ(right ? b.Left : b.Right, marks[k].End.X) << k;
            const QString full = pie->MarkText(marks[k].Index);
            EXPECT_TRUE(marks[k].Text == full ||
                        (marks[k].Text.endsWith(QChar(0x2026)) &&
                         full.startsWith(marks[k].Text.chopped(1).trimmed())))
                << marks[k].Text.toStdString();
            for (size_t j = 0; j < k; ++j) {
                const TRect &o = marks[j].Box;
                EXPECT_TRUE(b.Right <= o.Left || o.Right <= b.Left || b.Bottom <= o.Top ||
                            o.Bottom <= b.Top)
                    << j << " " << k;
            }
        }
    }
}

// Shares count only the slices, by absolute value, without overflow;
// marks and the legend say the same.
TEST_F(PieSeriesTest, SharesOfShownSlicesWithoutOverflow)
{
    struct Case
    {
        std::vector<double> values;
        int hidden;                // the point given clNone, or -1
        std::vector<double> turns; // each slice's share of the turn
        QString firstPercent;
    };
    const Case cases[] = {
        {{50, 50, 100}, 2, {0.5, 0.5}, QStringLiteral("50 %")},
        {{-10, 90}, -1, {0.1, 0.9}, QStringLiteral("10 %")},
        {{1.5e308, 1.5e308}, -1, {0.5, 0.5}, QStringLiteral("50 %")},
        {{4e307, 4e306, 4e307}, -1, {10 / 21.0, 1 / 21.0, 10 / 21.0}, QStringLiteral("47.62 %")},
        {{4e307, 1}, -1, {1, 0}, QStringLiteral("100 %")},
    };
    pie->Marks().SetVisible(true);
    pie->Marks().SetStyle(smsPercent);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.values[0]);
        pie->RemoveAllPoints();
        for (double v : c.values)
            pie->AppendPoint(v, QStringLiteral("p"));
        if (c.hidden >= 0)
            pie->SetPointColor(c.hidden, clNone);
        const TPieLayout l = PaintAndLayOut();
        ASSERT_EQ(l.Slices.size(), c.turns.size());
        for (size_t k = 0; k < c.turns.size(); ++k) {
            EXPECT_NEAR(l.Slices[k].End - l.Slices[k].Start, c.turns[k] * 2 * Pi, 1e-9) << k;
            EXPECT_LE(std::abs(l.Slices[k].Centre.X - l.Centre.X), 1) << k;
        }
        EXPECT_EQ(pie->MarkText(0), c.firstPercent);
        EXPECT_EQ(pie->LegendEntryText(0, ltsRightPercent), "p " + c.firstPercent);
        const TPoint inside = At(l, l.Slices[0], l.Slices[0].Middle(), 0.5);
        EXPECT_EQ(Pixel(inside.X, inside.Y), PaletteColor(0));
    }
}

TEST_F(PieSeriesTest, ExplodeStaysWithItsPointWhenOneIsInsertedBefore)
{
    Add({1, 2});
    pie->SetSliceExplode(1, 40);
    ASSERT_EQ(pie->AppendPointXY(-1, 3), 0); // X order puts it first
    EXPECT_EQ(pie->SliceExplode(0), 0);
    EXPECT_EQ(pie->SliceExplode(1), 0);
    EXPECT_EQ(pie->SliceExplode(2), 40);
}

// A donut's hole shows the background, in both views, and is hit by no
// click; the ring answers for its slices, in 3D on the inner wall too.
TEST_F(PieSeriesTest, DonutHasAHoleThatNothingHits)
{
    pie->PiePen().SetVisible(false);
    pie->SetDonutPercent(50);
    Add({1, 1, 1, 1});
    for (const bool view3D : {false, true}) {
        SCOPED_TRACE(view3D);
        chart.SetView3D(view3D);
        const TPieLayout l = PaintAndLayOut();
        for (const TPieSlice &s : l.Slices) {
            const TPoint ring = At(l, s, s.Middle(), 0.75);
            EXPECT_EQ(Pixel(ring.X, ring.Y), PaletteColor(s.Index));
            EXPECT_EQ(pie->HitTest(ring.X, ring.Y), s.Index);
            // (In 3D the back of the hole shows the inner wall.)
            const TPoint hole = At(l, s, s.Middle(), 0.35);
            if (!view3D || std::sin(s.Middle()) < 0) {
                EXPECT_EQ(pie->HitTest(hole.X, hole.Y), -1);
            }
        }
        EXPECT_EQ(Pixel(l.Centre.X, l.Centre.Y + 2), clWhite);
        if (view3D) {
            // The inner wall at the back of the hole, below the second slice.
            const TPoint back = At(l, l.Slices[1], 0.6 * Pi, 0.5);
            const TPoint wall{back.X, back.Y + l.Thickness / 2};
            EXPECT_EQ(Pixel(wall.X, wall.Y), DarkenColor(PaletteColor(1), TopDarkness));
            EXPECT_EQ(pie->HitTest(wall.X, wall.Y), 1);
        }
    }
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
        {[&](int v) { pie->SetDonutPercent(v); }, [&] { return pie->DonutPercent(); }, 99, 100,
         "Pie Donut must be between 0 and 99 %"},
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
    EXPECT_EQ(copy.DonutPercent(), 99);
}

} // namespace
