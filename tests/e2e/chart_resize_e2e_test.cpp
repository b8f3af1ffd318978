#include "app/main_form.h"
#include "app/test_support.h"
#include "chart/chart.h"
#include "chart/gallery/series_gallery.h"
#include "demo_window.h"
#include "e2e/x_user.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QToolBar>
#include <gtest/gtest.h>

#include <functional>

using namespace kov;
using namespace kov::test;

// The chart follows its window: after the user resizes, maximizes or restores
// the window under the window manager, the chart's area on screen shows the
// whole chart drawn for its new size, never a picture kept from another size.
namespace {

/// One step of the user on the window: a new size through the window
/// manager, or (an empty size) a double click on the title bar, which
/// maximizes a normal window and restores a maximized one.
struct TWindowStep
{
    const char *What;
    QSize Size;
};

const TWindowStep kSteps[] = {
    {"growing to 1200 x 800", {1200, 800}},
    {"shrinking to 640 x 420", {640, 420}},
    {"growing to 1000 x 700", {1000, 700}},
    {"maximizing", {}},
    {"restoring", {}},
};

/// The chart drawn afresh at its present size, in the screen's pixel format.
QImage FreshPicture(TChart *chart)
{
    const qreal ratio = chart->devicePixelRatioF();
    QImage image(chart->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QPainter painter(&image);
    chart->DrawToCanvas(&painter, TRect{0, 0, chart->width(), chart->height()});
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

/// What the X server shows where widget lies.
QImage OnScreen(TXUser &user, QWidget *widget)
{
    const QRect area(user.OnScreen(widget, QPoint(0, 0)),
                     TXUser::Gui([widget] { return widget->size(); }));
    return TXUser::Gui([area] {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    });
}

/// Empty when the pictures are equal; else what differs.
std::string Difference(const QImage &seen, const QImage &fresh)
{
    if (seen.size() != fresh.size())
        return "on screen " + std::to_string(seen.width()) + " x " + std::to_string(seen.height()) +
               ", drawn afresh " + std::to_string(fresh.width()) + " x " +
               std::to_string(fresh.height());
    int count = 0;
    QPoint first;
    for (int y = 0; y < seen.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(seen.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(fresh.constScanLine(y));
        for (int x = 0; x < seen.width(); ++x)
            if (qRgb(qRed(a[x]), qGreen(a[x]), qBlue(a[x])) !=
                    qRgb(qRed(b[x]), qGreen(b[x]), qBlue(b[x])) &&
                count++ == 0)
                first = QPoint(x, y);
    }
    if (count == 0)
        return {};
    return std::to_string(count) + " pixels differ from the chart drawn afresh at " +
           std::to_string(seen.width()) + " x " + std::to_string(seen.height()) + ", first at " +
           std::to_string(first.x()) + ", " + std::to_string(first.y()) + ": on screen #" +
           QString::number(seen.pixel(first) & 0xFFFFFF, 16).toStdString() + ", drawn #" +
           QString::number(fresh.pixel(first) & 0xFFFFFF, 16).toStdString();
}

/// Double-clicks the window manager's title bar of window.
void DoubleClickTitle(TXUser &user, QWidget *window)
{
    const TXWindow w = user.WindowOf(window);
    user.MoveTo(QPoint(w.Outer.center().x(), (w.Outer.top() + w.Client.top()) / 2));
    user.Run(QStringLiteral("xdotool"),
             {QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
              QStringLiteral("--delay"), QStringLiteral("100"), QStringLiteral("1")});
}

/// Waits until the chart's area on screen holds still (two looks 150 ms
/// apart agree), then compares it with the chart drawn afresh at its size:
/// empty when they are equal. The comparison is made once, as drawing the
/// fresh picture refills the chart's buffer, which a later paint would show.
std::string LookAfterStep(TXUser &user, TChart *chart)
{
    QImage seen;
    user.Poll(
        [&] {
            const QImage first = OnScreen(user, chart);
            QThread::msleep(150);
            seen = OnScreen(user, chart);
            return seen == first;
        },
        "the chart on screen to hold still");
    return Difference(seen, TXUser::Gui([chart] { return FreshPicture(chart); }));
}

/// Plays the steps on window; after each one, the chart's area on screen
/// must equal the chart drawn afresh at the chart's new size.
void ResizeAndLook(TXUser &user, QWidget *window, TChart *chart)
{
    const QString id = QString::number(TXUser::Gui([window] { return window->winId(); }));
    // The title bar must be on screen to be double-clicked.
    user.Run(QStringLiteral("xdotool"),
             {QStringLiteral("windowmove"), id, QStringLiteral("40"), QStringLiteral("60")});
    if (!user.Poll(
            [&] {
                const QRect outer = user.WindowOf(window).Outer;
                return outer.top() >= 0 && outer.left() >= 0;
            },
            "the window's frame to be on screen"))
        return;
    QSize normal;
    for (const TWindowStep &step : kSteps) {
        const QSize before = TXUser::Gui([window] { return window->size(); });
        QSize expected = step.Size;
        if (!expected.isEmpty()) {
            user.Run(QStringLiteral("xdotool"),
                     {QStringLiteral("windowsize"), id, QString::number(expected.width()),
                      QString::number(expected.height())});
            normal = expected;
        } else {
            DoubleClickTitle(user, window);
        }
        const bool maximizing = expected.isEmpty() && before == normal;
        if (expected.isEmpty() && !maximizing)
            expected = normal;
        // The window manager's answer arrives when it arrives: first the
        // window's new size, then the paints it brings.
        if (!user.WaitFor(
                [&] {
                    const QSize now = window->size();
                    return maximizing ? now.width() > before.width() &&
                                            now.height() > before.height() && window->isMaximized()
                                      : now == expected && !window->isMaximized();
                },
                std::string("the window's size after ") + step.What))
            return;
        const std::string difference = LookAfterStep(user, chart);
        EXPECT_EQ(difference, "") << "after " << step.What;
    }
}

} // namespace

TEST(ChartFollowsWindowE2ETest, MainWindowChartIsRedrawnAfterEveryResizeMaximizeAndRestore)
{
    const TWindowManager windowManager;
    ASSERT_TRUE(windowManager.Running()) << "openbox did not take the display";
    TForm1 form;
    form.OpenFile(DataFile(QStringLiteral("heater.inc")));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, ExposeTimeoutMs));
    PlayAsUser([&](TXUser &user) { ResizeAndLook(user, &form, form.Chart1); });
}

TEST(ChartFollowsWindowE2ETest, DemoChartFollowsItsWindowOffersNoToolBarMenuAndShows3DChoice)
{
    const TWindowManager windowManager;
    ASSERT_TRUE(windowManager.Running()) << "openbox did not take the display";
    DemoWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, ExposeTimeoutMs));
    TChart *chart = window.Chart();
    PlayAsUser([&](TXUser &user) {
        ResizeAndLook(user, &window, chart);

        // A right drag that pans the chart and ends on the tool bar opens no
        // menu there.
        user.MoveTo(user.CentreOf(chart));
        user.Press(3);
        if (!user.WaitFor([&] { return chart->PanningRecord().DragActive; }, "the pan to start"))
            return;
        const QPoint bar = user.CentreOf(window.ToolBar());
        user.MoveTo(bar + QPoint(0, 40));
        user.MoveTo(bar);
        user.Release(3);
        user.WaitFor([&] { return !chart->PanningRecord().DragActive; }, "the pan to end");
        EXPECT_TRUE(TXUser::Gui([] {
            QWidget *popup = QApplication::activePopupWidget();
            if (popup)
                popup->close();
            return popup == nullptr;
        })) << "a menu opened where the drag ended";
        EXPECT_TRUE(TXUser::Gui([&] { return window.ToolBar()->isVisible(); }));

        // The gallery's 3D box, ticked and confirmed, puts the chart in 3D.
        ASSERT_FALSE(TXUser::Gui([&] { return chart->View3D(); }));
        user.Click(user.CentreOf(TXUser::Gui(
            [&] { return window.ToolBar()->widgetForAction(window.AddSeriesAction()); })));
        TSeriesGalleryDialog *dialog = nullptr;
        if (!user.WaitFor(
                [&] {
                    dialog =
                        qobject_cast<TSeriesGalleryDialog *>(QApplication::activeModalWidget());
                    return dialog && dialog->isActiveWindow();
                },
                "the series gallery"))
            return;
        user.Click(user.CentreOf(dialog->View3DBox()));
        if (!user.WaitFor([&] { return dialog->View3DBox()->isChecked(); }, "the 3D box ticked"))
            return;
        user.Key(QStringLiteral("Return"));
        user.WaitFor([&] { return chart->CountSeries() == 3; }, "the chosen series on the chart");
        EXPECT_TRUE(TXUser::Gui([&] { return chart->View3D(); }));
    });
}
