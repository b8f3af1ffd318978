#pragma once

#include <QApplication>

// Fuzz targets that measure text or draw need the application object, on the
// offscreen platform, for the whole run: libFuzzer's LLVMFuzzerInitialize
// creates it once with this.
inline int StartOffscreenApplication(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication *app = new QApplication(*argc, *argv);
    (void)app;
    return 0;
}
