#pragma once
#include <QApplication>

namespace levara::testing {

// The one QApplication of the window tests, made on first use.
inline QApplication& application()
{
    static int argc = 1;
    static char name[] = "window_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace levara::testing
