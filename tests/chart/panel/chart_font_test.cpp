#include "chart/panel/chart_font.h"
#include "chart/panel/chart_panel.h"
#include "tests/chart/chart_picture.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace kov;

namespace {

void Paint(TCustomChartPanel &panel)
{
    panel.resize(20, 20);
    kov::testing::DrawPicture(panel, 20, 20, QColor());
}

} // namespace

TEST(TChartFontObject, StartsWithTheDefaultFontAndRepaintsOnChange)
{
    TCustomChartPanelExtended panel;
    TChartFontObject object(&panel);
    EXPECT_EQ(object.Font().Name(), QStringLiteral("Arial"));
    EXPECT_EQ(object.Font().Size(), 8);
    EXPECT_EQ(object.Font().Color(), clBlack);
    EXPECT_FALSE(object.IsFontStored());

    Paint(panel);
    ASSERT_FALSE(panel.ChartCanvas().IsDirty());
    object.Font().SetSize(12);
    EXPECT_TRUE(panel.ChartCanvas().IsDirty());
    EXPECT_TRUE(object.IsFontStored());

    Paint(panel);
    object.Repaint();
    EXPECT_TRUE(panel.ChartCanvas().IsDirty());
}

TEST(TChartFontObject, CopyFromCopiesTheFont)
{
    TChartFontObject source(nullptr);
    source.Font().SetName(QStringLiteral("Courier"));
    source.Font().SetStyle(fsBold);
    TChartFontObject target(nullptr);
    target.CopyFrom(source);
    EXPECT_EQ(target.Font().Name(), QStringLiteral("Courier"));
    EXPECT_EQ(target.Font().Style(), static_cast<TFontStyles>(fsBold));
    EXPECT_TRUE(target.IsFontStored());
}

TEST(TCustomChartGradient, SettersRepaintTheOwnerCopyDoesNot)
{
    TCustomChartPanelExtended panel;
    TChartGradient &gradient = panel.Gradient();
    Paint(panel);
    gradient.SetEndColor(clYellow);
    EXPECT_FALSE(panel.ChartCanvas().IsDirty()) << "same value";
    gradient.SetEndColor(clRed);
    EXPECT_TRUE(panel.ChartCanvas().IsDirty());

    Paint(panel);
    TChartGradient other;
    other.SetVisible(true);
    other.SetDirection(gdRightLeft);
    other.SetStartColor(clBlue);
    other.SetEndColor(clGreen);
    gradient.CopyFrom(other);
    EXPECT_FALSE(panel.ChartCanvas().IsDirty());
    EXPECT_TRUE(gradient.Visible());
    EXPECT_EQ(gradient.Direction(), gdRightLeft);
    EXPECT_EQ(gradient.StartColor(), clBlue);
    EXPECT_EQ(gradient.EndColor(), clGreen);
}
