#include "app/main_form.h"
#include "app/test_support.h"
#include "e2e/form_user.h"
#include "e2e/x_user.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace kov;
using namespace kov::test;

// Under a window manager the frame is the window manager's, and focus moves
// as it decides.
TEST(UnderWindowManagerE2ETest, FrameAndClientTakeTheOuterSizeAndDialogsWorkByTyping)
{
    const TWindowManager windowManager;
    ASSERT_TRUE(windowManager.Running()) << "openbox did not take the display";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("heater.inc"));
    ASSERT_TRUE(QFile::copy(DataFile(QStringLiteral("heater.inc")), source));
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, ExposeTimeoutMs));

    PlayAsUser([&](TXUser &user) {
        ASSERT_TRUE(user.WindowManagerRuns()) << "no window manager on this display";
        const QRect outer(242, 210, 966, 676);
        TXWindow seen;
        // The frame's size arrives after the window is mapped.
        user.Poll(
            [&] {
                seen = user.WindowOf(&form);
                return seen.Outer == outer;
            },
            "the framed window to measure 966 x 676 at 242, 210");
        EXPECT_EQ(seen.Outer, outer) << "client " << ::testing::PrintToString(seen.Client);
        EXPECT_NE(seen.Client, seen.Outer) << "the window manager put no frame round the window";

        ClickTool(user, form, form.ActionOpen);
        if (!TypeIntoFileDialog(user, "OpenDialog1", source))
            return;
        user.WaitFor([&] { return form.EntryCount == 7; }, "the table to be read");
        ClickTool(user, form, form.ActionUpdate);
        user.WaitFor([&] { return form.Memo1->Lines().Lines.contains("\tRETLW 0x1A ; MAX"); },
                     "the first click after the open dialog to update the text");
        EXPECT_EQ(TXUser::Gui([&] { return OtherVisibleWindows(form); }), QStringList());
    });
}
