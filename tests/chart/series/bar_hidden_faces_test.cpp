#include "chart/axis/axis.h"
#include "chart/chart.h"
#include "chart/series/bar_series.h"
#include "tests/chart/flat_chart_test.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace kov;

namespace {

QImage Draw(TChart &chart, int width, int height, int ratio)
{
    QImage image(width * ratio, height * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.DrawToCanvas(&painter, TRect{0, 0, width, height});
    painter.end();
    return image;
}

/// Where two pictures of one size differ: the first pixel and how many.
std::string Difference(const QImage &a, const QImage &b)
{
    int count = 0, x0 = -1, y0 = -1;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && count++ == 0) {
                x0 = x;
                y0 = y;
            }
    if (count == 0)
        return {};
    return QStringLiteral("%1 pixels differ, first at %2,%3: %4 instead of %5")
        .arg(count)
        .arg(x0)
        .arg(y0)
        .arg(a.pixel(x0, y0), 0, 16)
        .arg(b.pixel(x0, y0), 0, 16)
        .toStdString();
}

/// A count from 1 to max, small ones as likely as large ones.
int Count(std::mt19937 &random, int max)
{
    return static_cast<int>(
        std::exp(std::uniform_real_distribution<>(0, std::log(double(max)))(random)));
}

} // namespace

// 3D bars leave out the faces later bars paint over: random bar sets must show
// exactly the picture drawing every face gives, and dense ones must leave out
// most faces.
TEST(BarHiddenFaces, PictureEqualsTheOneWithEveryFaceDrawn)
{
    std::mt19937 random(38);
    auto chance = [&](double p) { return std::bernoulli_distribution(p)(random); };
    auto between = [&](int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(random); };
    int denseSeries = 0;
    for (int scene = 0; scene < 40; ++scene) {
        const bool horizontal = scene % 2 == 1;
        const bool dense = scene % 3 == 0;
        const int width = between(120, 700), height = between(100, 500);
        const int ratio = scene % 8 == 5 ? 2 : 1;
        TChart chart;
        chart.resize(width, height);
        chart.SetView3D(true);
        chart.SetChart3DPercent(between(5, 60));
        chart.BottomAxis()->SetInverted(chance(0.25));
        chart.LeftAxis()->SetInverted(chance(0.25));
        const bool negatives = chance(0.4);
        // A fixed value range cuts bars at the chart's edge, some far off it.
        const bool cut = chance(0.25);
        std::vector<TCustomBarSeries *> bars;
        for (int k = between(1, 3); k > 0; --k) {
            TCustomBarSeries *s = horizontal ? static_cast<TCustomBarSeries *>(chart.AddSeries(
                                                   std::make_unique<THorizBarSeries>()))
                                             : chart.AddSeries(std::make_unique<TBarSeries>());
            s->SetBarWidthPercent(between(1, 100));
            s->BarPen().SetVisible(chance(0.7));
            s->SetColorEachPoint(chance(0.3));
            s->SetDark3D(chance(0.8));
            s->SetUseOrigin(chance(0.8));
            s->SetOrigin(between(-20, 40));
            for (int i = dense ? between(1500, 3000) : Count(random, 3000); i > 0; --i) {
                if (chance(0.05))
                    s->AppendNullPoint();
                else if (cut && chance(0.01))
                    s->AppendPoint(chance(0.5) ? 1e7 : -1e7);
                else
                    s->AppendPoint(between(negatives ? -100 : 0, 250));
            }
            bars.push_back(s);
        }
        bars.front()->SetMultiBar(static_cast<TMultiBar>(between(mbNone, mbStacked100)));
        if (cut)
            kov::testing::FixAxisRange(horizontal ? chart.BottomAxis() : chart.LeftAxis(), -30,
                                       120);
        SCOPED_TRACE(::testing::Message() << "scene " << scene);

        const QImage culled = Draw(chart, width, height, ratio);
        std::vector<int> skipped;
        for (TCustomBarSeries *s : bars) {
            skipped.push_back(s->HiddenFacesSkipped());
            s->SetSkipsHiddenFaces(false);
        }
        chart.InvalidatePanel();
        const QImage full = Draw(chart, width, height, ratio);
        ASSERT_EQ(Difference(culled, full), "");
        for (std::size_t k = 0; k < bars.size(); ++k) {
            EXPECT_EQ(bars[k]->HiddenFacesSkipped(), 0);
            // Several bars per pixel along the positions: most of them hide.
            const int length = horizontal ? height : width;
            // Scaled up, only bars without outline leave faces out.
            if (bars[k]->PointCount() > 4 * length &&
                (ratio == 1 || !bars[k]->BarPen().Visible())) {
                ++denseSeries;
                EXPECT_GT(skipped[k], bars[k]->PointCount() / 2) << "series " << k;
            }
        }
    }
    EXPECT_GT(denseSeries, 3);
}
