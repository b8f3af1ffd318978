#include "chart/functions/series_function.h"
#include "chart/gallery/series_gallery.h"
#include "chart/series/area_series.h"
#include "chart/series/bar_series.h"
#include "chart/series/fast_line_series.h"
#include "chart/series/line_series.h"
#include "chart/series/pie_series.h"
#include "chart/series/series_registry.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace kov;

namespace {

/// Pixels of image that are not white.
int InkedPixels(const QImage &image)
{
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += image.pixel(x, y) != qRgb(255, 255, 255);
    return inked;
}

bool SamePixels(const QImage &a, const QImage &b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

template <class S> std::unique_ptr<TChartSeries> Plain()
{
    return std::make_unique<S>();
}

template <class F> std::unique_ptr<TChartSeries> Function()
{
    auto series = std::make_unique<TLineSeries>();
    series->AttachFunction(std::make_unique<F>());
    return series;
}

/// Every engine type, in registration order, created without the registry.
const struct
{
    const char *Name;
    std::unique_ptr<TChartSeries> (*Create)();
} EngineTypes[] = {
    {"TLineSeries", Plain<TLineSeries>},
    {"TPointSeries", Plain<TPointSeries>},
    {"TAreaSeries", Plain<TAreaSeries>},
    {"TBarSeries", Plain<TBarSeries>},
    {"THorizBarSeries", Plain<THorizBarSeries>},
    {"TPieSeries", Plain<TPieSeries>},
    {"TFastLineSeries", Plain<TFastLineSeries>},
    {"TAddFunction", Function<TAddFunction>},
    {"TSubtractFunction", Function<TSubtractFunction>},
    {"TMultiplyFunction", Function<TMultiplyFunction>},
    {"TDivideFunction", Function<TDivideFunction>},
    {"THighFunction", Function<THighFunction>},
    {"TLowFunction", Function<TLowFunction>},
    {"TAverageFunction", Function<TAverageFunction>},
};

} // namespace

// A type's thumbnail is its own series drawn on its sample points, and the
// next type drawn on the same points looks different.
TEST(TSeriesGallery, EachThumbnailShowsItsOwnType)
{
    ASSERT_EQ(TSeriesRegistry::Instance().Entries().size(), std::size(EngineTypes));
    const QSize size(80, 60);
    for (size_t i = 0; i < std::size(EngineTypes); ++i) {
        const auto &type = EngineTypes[i];
        const auto &next = EngineTypes[(i + 1) % std::size(EngineTypes)];
        for (bool view3D : {false, true}) {
            const QImage own = GalleryBitmap(type.Create(), type.Name, size, view3D);
            EXPECT_TRUE(SamePixels(GalleryBitmap(type.Name, size, view3D), own))
                << type.Name << " 3D " << view3D;
            EXPECT_FALSE(SamePixels(GalleryBitmap(next.Create(), type.Name, size, view3D), own))
                << type.Name << " and " << next.Name << " 3D " << view3D;
        }
    }
}

// Each cell of every page shows the thumbnail of the page's entry at its
// place.
TEST(TSeriesGallery, CellsShowTheirEntriesThumbnails)
{
    TSeriesGallery gallery;
    gallery.resize(gallery.sizeHint());
    for (const QString &page : TSeriesRegistry::Instance().Pages()) {
        gallery.SetPage(page);
        const auto entries = TSeriesRegistry::Instance().PageEntries(page);
        ASSERT_EQ(gallery.ItemCount(), static_cast<int>(entries.size()));
        const QImage shown = gallery.grab().toImage();
        const qreal ratio = shown.devicePixelRatio();
        for (int i = 0; i < gallery.ItemCount(); ++i) {
            const QRect rect = gallery.PictureRect(i);
            const QImage cell = shown.copy(QRect(rect.topLeft() * ratio, rect.size() * ratio));
            EXPECT_TRUE(SamePixels(cell, GalleryBitmap(entries[static_cast<size_t>(i)]->ClassName,
                                                       rect.size(), false, ratio)))
                << page.toStdString() << " cell " << i;
        }
    }
}

TEST(TSeriesGallery, PicturesOfEveryEntryFlatAnd3D)
{
    for (const TSeriesRegistration &entry : TSeriesRegistry::Instance().Entries()) {
        for (bool view3D : {false, true}) {
            const QImage image = GalleryBitmap(entry.ClassName, QSize(80, 60), view3D, 2.0);
            ASSERT_EQ(image.size(), QSize(160, 120)) << entry.ClassName.toStdString();
            EXPECT_EQ(image.devicePixelRatio(), 2.0);
            EXPECT_GT(InkedPixels(image), 200) << entry.ClassName.toStdString();
        }
    }
    EXPECT_TRUE(GalleryBitmap("TNoSuchSeries", QSize(80, 60), false).isNull());
}

// The same picture on every run; 3D lines that keep their colours.
TEST(TSeriesGallery, PicturesAreStableAndKeepTheirColoursIn3D)
{
    for (const TSeriesRegistration &entry : TSeriesRegistry::Instance().Entries())
        EXPECT_TRUE(GalleryBitmap(entry.ClassName, QSize(80, 60), true) ==
                    GalleryBitmap(entry.ClassName, QSize(80, 60), true))
            << entry.ClassName.toStdString();

    // The function's result is red, its sources grey and silver.
    for (const char *name : {"TAddFunction", "TAverageFunction"}) {
        const QImage image = GalleryBitmap(name, QSize(160, 120), true);
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                red += qRed(image.pixel(x, y)) > 120 && qGreen(image.pixel(x, y)) < 60;
        EXPECT_GT(red, 300) << name;
    }
}

// A picture is chosen by a click or the keys and picked by a double click,
// Enter or Space.
TEST(TSeriesGallery, PickedByMouseAndKeys)
{
    TSeriesGallery gallery;
    gallery.SetPage(FunctionsGalleryPage());
    ASSERT_EQ(gallery.ItemCount(), 7);
    gallery.resize(gallery.CellSize().width() * 3,
                   gallery.heightForWidth(gallery.CellSize().width() * 3));
    gallery.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gallery));
    QSignalSpy current(&gallery, &TSeriesGallery::CurrentChanged);
    QSignalSpy picked(&gallery, &TSeriesGallery::Picked);

    QTest::mouseClick(&gallery, Qt::LeftButton, {}, gallery.ItemRect(4).center());
    EXPECT_EQ(gallery.CurrentIndex(), 4);
    EXPECT_EQ(gallery.CurrentClassName(), "THighFunction");
    EXPECT_EQ(current.count(), 1);
    EXPECT_EQ(picked.count(), 0);
    QTest::mouseDClick(&gallery, Qt::LeftButton, {}, gallery.ItemRect(1).center());
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.takeFirst().at(0).toString(), "TSubtractFunction");

    // Three to a row: Down moves by three, and a move off the page stays put.
    const struct
    {
        Qt::Key Key;
        int Index;
    } moves[] = {{Qt::Key_Down, 4},  {Qt::Key_Down, 4}, {Qt::Key_Right, 5}, {Qt::Key_End, 6},
                 {Qt::Key_Right, 6}, {Qt::Key_Up, 3},   {Qt::Key_Home, 0},  {Qt::Key_Left, 0}};
    for (const auto &move : moves) {
        QTest::keyClick(&gallery, move.Key);
        EXPECT_EQ(gallery.CurrentIndex(), move.Index) << move.Key;
    }
    QTest::keyClick(&gallery, Qt::Key_Return);
    QTest::keyClick(&gallery, Qt::Key_Space);
    ASSERT_EQ(picked.count(), 2);
    EXPECT_EQ(picked.at(1).at(0).toString(), "TAddFunction");

    // A page without entries has nothing current and nothing to pick.
    gallery.SetPage("No such page");
    EXPECT_EQ(gallery.CurrentIndex(), -1);
    EXPECT_EQ(current.last().at(0).toString(), "");
    QTest::keyClick(&gallery, Qt::Key_Return);
    QTest::mouseDClick(&gallery, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(picked.count(), 2);
}

TEST(TSeriesGallery, DialogSwitchesPagesAnd3DAndAcceptsThePick)
{
    TSeriesGalleryDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(dialog.Gallery()->hasFocus());
    EXPECT_EQ(dialog.Gallery()->Page(), StandardGalleryPage());
    dialog.PageTabs()->setCurrentIndex(1);
    EXPECT_EQ(dialog.Gallery()->Page(), FunctionsGalleryPage());
    dialog.View3DBox()->click();
    EXPECT_TRUE(dialog.Gallery()->View3D());

    QTest::keyClick(dialog.Gallery(), Qt::Key_End);
    QTest::keyClick(dialog.Gallery(), Qt::Key_Enter);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ChosenClassName(), "TAverageFunction");
}
