// The one QApplication of a Qt test program, on the offscreen platform with the window's font and
// with settings kept in a folder of its own, never in the user's. Include it from exactly one
// source file per test program: it also defines the leak checker's suppressions, which a program
// may define only once.
#pragma once

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "app/qt/AppResources.h"
#include "platform/qt/QtToolkit.h"

// Fontconfig keeps a cache for the life of the process, and SANE's test driver now and then
// loses the buffer of a reader thread it cancels; the leak checker is told so.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libsane-test.so\n";
}

// Settings of the toolkits made from now on go to a new empty folder.
inline void UseFreshSettings() {
    static std::unique_ptr<QTemporaryDir> folder;
    folder = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder->path());
}

inline QApplication &App() {
    static int argc = 1;
    static char name[] = "folvane_qt_test";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto *created = new QApplication(argc, argv);
        QtToolkit::InstallApplicationFont();
        registerAppResources();
        UseFreshSettings();
        return created;
    }();
    return *app;
}
