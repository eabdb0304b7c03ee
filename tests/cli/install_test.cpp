// `cmake --install` into a scratch root: the programs, the data the window looks for, and the
// desktop files, each accepted by the checker the desktop and Debian use for it.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Pdf.h"

namespace {

namespace fs = std::filesystem;
using namespace support;
using namespace cli_test;

class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = new TempDir;
        const std::string build = fs::path(FOLVANE_BIN_DIR).parent_path().string();
        installed = RunShell("DESTDIR=" + Quote(root->Path()) + " cmake --install " + Quote(build) +
                             " --prefix /usr");
    }
    static void TearDownTestSuite() {
        delete root;
        root = nullptr;
    }

    static std::string Usr(const std::string &path) { return *root / ("usr/" + path); }

    // Runs a checker on an installed file: exit 0 and nothing on standard error.
    static void ExpectAccepted(const std::string &command) {
        RunResult r = RunShell(command);
        EXPECT_EQ(r.exitCode, 0) << command << "\n" << r.out << r.err;
        EXPECT_EQ(r.err, "") << command;
    }

    static TempDir *root;
    static RunResult installed;
};

TempDir *InstallTest::root = nullptr;
RunResult InstallTest::installed;

TEST_F(InstallTest, ProgramsAndTheirDataLandWhereTheyAreLookedFor) {
    ASSERT_EQ(installed.exitCode, 0) << installed.err;
    for (const char *program : {"folvane", "folvane-pdf", "folvane-decode"}) {
        const fs::path path = Usr(std::string("bin/") + program);
        EXPECT_TRUE(fs::exists(path)) << program;
        EXPECT_NE(fs::status(path).permissions() & fs::perms::others_exec, fs::perms::none);
    }
    // The preview looks beside the program, then in ../share/folvane.
    EXPECT_TRUE(fs::exists(Usr("bin/../share/folvane/无法显示.bmp")));
    EXPECT_TRUE(fs::exists(Usr("bin/../share/folvane/no-preview.bmp")));
    // The catalogues: the window's English, folvane-pdf's Chinese.
    EXPECT_TRUE(fs::exists(Usr("share/folvane/translations/folvane_en.qm")));
    EXPECT_TRUE(fs::exists(Usr("share/locale/zh_CN/LC_MESSAGES/folvane-pdf.mo")));

    RunResult version = RunShell(Quote(Usr("bin/folvane-pdf")) + " --version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("folvane-pdf ", 0), 0u) << version.out;
    RunResult samples = RunShell(Quote(Usr("bin/folvane-pdf")) + " -o " +
                                 Quote(*root / "samples.pdf") + " " + Quote(kSamples) + "/*");
    EXPECT_EQ(samples.exitCode, 0) << samples.err;
    EXPECT_TRUE(QpdfCheck(*root / "samples.pdf"));
}

TEST_F(InstallTest, TheMenuEntryAndTheIconThemeAreComplete) {
    ASSERT_EQ(installed.exitCode, 0) << installed.err;
    const std::string desktop = Usr("share/applications/folvane.desktop");
    ASSERT_TRUE(fs::exists(desktop));
    ExpectAccepted("desktop-file-validate " + Quote(desktop));
    const std::string entry = ReadText(desktop);
    for (const char *line : {"\nExec=folvane %F\n", "\nIcon=folvane\n", "\nName=Folvane\n",
                             "\nName[zh_CN]=", "\nMimeType=image/jpeg;image/tiff;image/png;\n"}) {
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::string icon = Usr("share/icons/hicolor/" + name + "/apps/folvane.png");
        ASSERT_TRUE(fs::exists(icon)) << name;
        // The PNG header holds the picture's width and height, which must be the folder's.
        const std::string head = ReadText(icon).substr(16, 8);
        auto bigEndian = [&](int at) {
            return static_cast<unsigned char>(head[at + 2]) * 256 +
                   static_cast<unsigned char>(head[at + 3]);
        };
        EXPECT_EQ(bigEndian(0), size) << name;
        EXPECT_EQ(bigEndian(4), size) << name;
    }
    EXPECT_TRUE(fs::exists(Usr("share/icons/hicolor/scalable/apps/folvane.svg")));
}

TEST_F(InstallTest, MetainfoAndManualPagesPassTheirCheckers) {
    ASSERT_EQ(installed.exitCode, 0) << installed.err;
    std::vector<std::string> metainfo;
    for (const auto &entry : fs::directory_iterator(Usr("share/metainfo"))) {
        metainfo.push_back(entry.path().string());
    }
    ASSERT_EQ(metainfo.size(), 1u);
    ExpectAccepted("appstreamcli validate --no-net " + Quote(metainfo[0]) + " >/dev/null");
    EXPECT_NE(ReadText(metainfo[0]).find("<launchable type=\"desktop-id\">folvane.desktop<"),
              std::string::npos);

    for (const char *page : {"folvane", "folvane-pdf", "folvane-decode"}) {
        const std::string path = Usr(std::string("share/man/man1/") + page + ".1");
        ASSERT_TRUE(fs::exists(path)) << page;
        ExpectAccepted("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l " + Quote(path) +
                       " >/dev/null");
    }
    // man -L zh_CN finds the Chinese ones.
    for (const char *page : {"folvane", "folvane-pdf"}) {
        const std::string path = Usr(std::string("share/man/zh_CN/man1/") + page + ".1");
        ASSERT_TRUE(fs::exists(path)) << page;
        ExpectAccepted("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l " + Quote(path) +
                       " >/dev/null");
        const RunResult found =
            RunShell("MANPATH=" + Quote(Usr("share/man")) + " man -L zh_CN -w " + page);
        EXPECT_EQ(found.out, path + "\n") << found.err;
    }
    const std::string manual = ReadText(Usr("share/man/man1/folvane-pdf.1"));
    EXPECT_EQ(manual.find('@'), manual.find("@LIST")) << "a placeholder was left unfilled";
}

TEST_F(InstallTest, BashCompletesClassesOutputsAndImages) {
    ASSERT_EQ(installed.exitCode, 0) << installed.err;
    const std::string script = Usr("share/bash-completion/completions/folvane-pdf");
    ASSERT_TRUE(fs::exists(script));
    const std::string folder = *root / "files";
    fs::create_directory(folder);
    for (const char *name : {"a.jpg", "B.TIF", "c.png", "d.txt", "e.pdf"}) {
        WriteText(folder + "/" + name, "");
    }
    // Completes the last word of each line the way bash does when Tab is pressed.
    const std::string complete =
        "source /usr/share/bash-completion/bash_completion; source " + Quote(script) + "; cd " +
        Quote(folder) +
        "; t() { COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); COMP_LINE=\"$*\"; "
        "COMP_POINT=${#COMP_LINE}; _folvane_pdf; printf '%s ' $(printf '%s\\n' "
        "\"${COMPREPLY[@]}\" | sort); echo; }; "
        "t folvane-pdf -c ''; t folvane-pdf -o ''; t folvane-pdf x.jpg ''; t folvane-pdf --fi";
    RunResult r = RunShell("bash -c " + Quote(complete) + " 2>/dev/null");
    EXPECT_EQ(r.out, "10 16 2 3 5 8 fit \ne.pdf \nB.TIF a.jpg c.png \n--first-page-only \n");
}

} // namespace
