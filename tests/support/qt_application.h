#pragma once

#include <stdlib.h>

#include <QApplication>

namespace vellmora::testing {

/// The one application of a test program, on the offscreen platform unless the environment
/// names another. It is never destroyed: QTest's input devices are torn down at exit after a
/// static application would be, and would crash the program on its way out.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "app_test";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace vellmora::testing
