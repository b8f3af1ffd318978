#include <QApplication>
#include <gtest/gtest.h>

#include <cstring>

// The window on high-density screens, on Qt's offscreen platform. The
// desktop is chosen before the application object exists:
//   --desktop=200   one screen scaled to 200 %, as most high-density laptops run
//   --desktop=mixed two screens, "low" at 100 % and "high" at 200 %
int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--desktop=200") == 0) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            qputenv("QT_SCALE_FACTOR", "2");
        } else if (std::strcmp(argv[i], "--desktop=mixed") == 0) {
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KOV_TWO_SCREENS_CONFIG);
            qputenv("QT_SCREEN_SCALE_FACTORS", "low=1;high=2");
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
