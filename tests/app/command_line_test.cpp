// What `folvane ARGUMENT...` asks for, before any window exists.

#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

using Strings = std::vector<std::string>;
using Action = CommandLine::Action;

TEST(CommandLine, HelpOrVersionAnywhereBeforeTheDoubleDashAsksForThatText) {
    EXPECT_EQ(readCommandLine({"a.jpg", "--help"}).action, Action::Help);
    EXPECT_EQ(readCommandLine({"-h"}).action, Action::Help);
    EXPECT_EQ(readCommandLine({"--frob", "--version"}).action, Action::Version);
    // Without a translation, the window's texts are as written: Chinese.
    EXPECT_EQ(helpText().rfind("用法: folvane [文件|文件夹...]\n", 0), 0u);
    EXPECT_EQ(versionText().rfind("folvane ", 0), 0u);
}

TEST(CommandLine, FilesStayInTheirOrderAndTheDoubleDashMakesEverythingAfterItAFile) {
    const CommandLine line = readCommandLine({"b.jpg", "-", "/p/a.jpg", "--", "--help", "-x.jpg"});
    EXPECT_EQ(line.action, Action::Window);
    EXPECT_EQ(line.files, (Strings{"b.jpg", "-", "/p/a.jpg", "--help", "-x.jpg"}));
    EXPECT_TRUE(readCommandLine({}).files.empty());
}

TEST(CommandLine, AnOptionOfNoKindBecomesNoRow) {
    const CommandLine line = readCommandLine({"a.jpg", "--frob"});
    EXPECT_EQ(line.action, Action::Wrong);
    EXPECT_EQ(line.wrong, "--frob");
    EXPECT_TRUE(line.files.empty());
    EXPECT_EQ(wrongText(line.wrong), "folvane: 未知选项 --frob\n用 'folvane --help' 查看用法。\n");
}

} // namespace
