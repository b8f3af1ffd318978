#include "app/application.h"

#include <gtest/gtest.h>

// The end-to-end tests run inside the program's own application object on a
// real X server, so failures reach the user exactly as in the program.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        fprintf(stderr, "e2e_tests: no X display; run through xvfb-run\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    kov::TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
