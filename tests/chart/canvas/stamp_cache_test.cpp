#include "chart/canvas/stamp_cache.h"

#include <gtest/gtest.h>

#include <vector>

// The stamp cache finds a picture only by everything that decides its pixels,
// and its one-pixel line masks keep the canvas's line rule: a line covers its
// start and leaves out its end, and at a whole ratio r a logical pixel is an
// r x r block of device pixels.
using namespace kov;

namespace {

struct OutlineKey
{
    TStampCache::Shape Shape = TStampCache::Shape::Ellipse;
    int Width = 9;
    int Height = 7;
    QPen Pen = QPen(Qt::black);
    QBrush Brush = QBrush(Qt::red);
    Qt::BGMode Mode = Qt::OpaqueMode;
    QBrush Background = QBrush(Qt::white);
};

TStampCache::OutlineStamp *Outline(TStampCache &cache, const OutlineKey &key)
{
    return cache.Outline(key.Shape, key.Width, key.Height, key.Pen, key.Brush, key.Mode,
                         key.Background, 3, QPointF(), 1);
}

} // namespace

TEST(TStampCache, OutlineStampsAreFoundByEveryPartOfTheirKey)
{
    TStampCache cache;
    const TStampCache::OutlineStamp *plain = Outline(cache, OutlineKey{});
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(plain->Opaque);
    EXPECT_FALSE(plain->Runs.empty()) << "the stamp holds ink";
    // Stamps may move as others are added: they are told apart by picture.
    const qint64 plainPicture = plain->Image.cacheKey();

    OutlineKey shape, width, height, pen, brush, mode, background, unusedBackground;
    shape.Shape = TStampCache::Shape::Rectangle;
    width.Width = 10;
    height.Height = 8;
    pen.Pen = QPen(Qt::blue);
    brush.Brush = QBrush(Qt::green);
    mode.Mode = Qt::TransparentMode;
    background.Background = QBrush(Qt::yellow);
    unusedBackground = mode;
    unusedBackground.Background = QBrush(Qt::yellow);
    struct Row
    {
        const char *Change;
        OutlineKey Key;
        bool SamePicture;
    };
    const std::vector<Row> rows = {
        {"none", OutlineKey{}, true},
        {"shape", shape, false},
        {"width", width, false},
        {"height", height, false},
        {"pen", pen, false},
        {"brush", brush, false},
        {"background mode", mode, false},
        {"opaque background", background, false},
        {"background not drawn", unusedBackground, false},
    };
    for (const Row &row : rows) {
        const TStampCache::OutlineStamp *found = Outline(cache, row.Key);
        ASSERT_NE(found, nullptr) << row.Change;
        EXPECT_EQ(found->Image.cacheKey() == plainPicture, row.SamePicture) << row.Change;
    }
    EXPECT_EQ(Outline(cache, mode)->Image.cacheKey(),
              Outline(cache, unusedBackground)->Image.cacheKey())
        << "a transparent background's colour draws nothing";

    cache.ForgetPictures();
    EXPECT_FALSE(cache.HasOutlines());
}

TEST(TStampCache, LineMasksCoverTheStartAndLeaveOutTheEnd)
{
    using Run = TStampCache::PixelRun;
    struct Row
    {
        int Dx, Dy, Ratio;
        std::vector<Run> Runs;
    };
    const std::vector<Row> rows = {
        {5, 0, 1, {{0, 0, 5}}},
        {-5, 0, 1, {{0, -4, 5}}},
        {0, 3, 1, {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}}},
        {0, -3, 1, {{-2, 0, 1}, {-1, 0, 1}, {0, 0, 1}}},
        {5, 0, 2, {{0, 0, 10}, {1, 0, 10}}},
    };
    TStampCache cache;
    for (const Row &row : rows) {
        const TStampCache::LineMask &mask = cache.Mask(row.Dx, row.Dy, 0, row.Ratio);
        EXPECT_TRUE(mask.Exact);
        ASSERT_EQ(mask.Runs.size(), row.Runs.size())
            << row.Dx << "," << row.Dy << " x" << row.Ratio;
        for (std::size_t i = 0; i < row.Runs.size(); ++i) {
            EXPECT_EQ(mask.Runs[i].Dy, row.Runs[i].Dy) << row.Dx << "," << row.Dy << " run " << i;
            EXPECT_EQ(mask.Runs[i].X0, row.Runs[i].X0) << row.Dx << "," << row.Dy << " run " << i;
            EXPECT_EQ(mask.Runs[i].Length, row.Runs[i].Length)
                << row.Dx << "," << row.Dy << " run " << i;
        }
    }
}
