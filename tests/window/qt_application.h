#pragma once
#include <QApplication>
#include <QSettings>
#include <string>

#include "tests/support/test_files.h"

namespace levara::testing {

// The one QApplication of the window tests, made on first use: offscreen, on a
// 1366x768 screen, the smallest the window is made for, and named as main names it,
// with its settings store in a scratch folder of the test's own.
inline QApplication& application()
{
    static ScratchDir settings;
    static std::string platform = "offscreen:configfile=" + (sourceDir() / "tests/window/screen.json").string();
    static int argc = 3;
    static char name[] = "window_tests";
    static char option[] = "-platform";
    static char* argv[] = {name, option, platform.data(), nullptr};
    static QApplication* app = [] {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(settings.path()));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(settings.path()));
        auto* made = new QApplication(argc, argv);
        QCoreApplication::setOrganizationName("Levara");
        QCoreApplication::setApplicationName("levara");
        return made;
    }();
    return *app;
}

}  // namespace levara::testing
