// "open" through the real toolkit: a file goes to the program the desktop names for its type,
// and where it names none the toolkit says so instead of handing it to xdg-open for nothing.

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/ui/UiDefs.h"
#include "tests/qt/QtTestApp.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

using support::TempDir;

// A desktop of its own in `dir`: XDG folders with nothing in them but what a test puts there.
class Desktop : public ::testing::Test {
protected:
    Desktop() {
        App();
        for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID", "XDG_SESSION_DESKTOP"}) {
            unsetenv(name);
        }
        std::filesystem::create_directories(dir / "data/applications");
        std::filesystem::create_directories(dir / "config");
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
        // The system's types, without its programs.
        std::filesystem::create_directories(dir / "system");
        std::filesystem::create_directory_symlink("/usr/share/mime", dir / "system/mime");
        setenv("XDG_DATA_DIRS", (dir / "system").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (dir / "none").c_str(), 1);
        pdf = dir / "book.pdf";
        support::WriteText(pdf, "%PDF-1.4\n%%EOF\n");
    }

    // A viewer named the default for PDF files.
    void InstallViewer() {
        support::WriteText(dir / "data/applications/test-viewer.desktop",
                           "[Desktop Entry]\nType=Application\nName=Viewer\nExec=true "
                           "%f\nMimeType=application/pdf;\n");
        support::WriteText(dir / "config/mimeapps.list",
                           "[Default Applications]\napplication/pdf=test-viewer.desktop\n");
    }

    TempDir dir;
    std::string pdf;
};

TEST_F(Desktop, WithoutAProgramForTheTypeTheOpenFails) {
    QtToolkit toolkit;
    EXPECT_FALSE(toolkit.ShellExecute("open", pdf, SW_SHOWNORMAL));
    EXPECT_FALSE(toolkit.ShellExecute("open", dir / "missing.pdf", SW_SHOWNORMAL));
}

// The offscreen platform opens nothing itself, so the viewer is only looked for here.
TEST_F(Desktop, TheDesktopsProgramForTheTypeIsFound) {
    const QString path = QString::fromStdString(pdf);
    EXPECT_FALSE(QtToolkit::DesktopHasProgramFor(path));
    InstallViewer();
    EXPECT_TRUE(QtToolkit::DesktopHasProgramFor(path));
}

} // namespace
