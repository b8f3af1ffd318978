#include "chart/gallery/series_gallery.h"
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

} // namespace

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
