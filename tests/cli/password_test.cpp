// folvane-pdf --user-password-file and --owner-password-file: the password files it refuses
// (exit status 2, nothing written) and the document locked with the passwords it reads.

#include <string>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"

namespace {

using namespace support;
using cli_test::RunFolvanePdf;

class PasswordCli : public ::testing::Test {
protected:
    void SetUp() override { cli_test::WriteJpeg(dir / "page.jpg", 40, 30); }

    // folvane-pdf with `options` writing out.pdf of the one page.
    RunResult Run(const std::string &options) {
        return RunFolvanePdf(options + " -o " + Quote(dir / "out.pdf") + " " +
                             Quote(dir / "page.jpg"));
    }
    std::string File(const std::string &name, const std::string &text) {
        WriteText(dir / name, text);
        return Quote(dir / name);
    }
    int QpdfCheck(const std::string &password) {
        return RunShell("qpdf --check --password=" + Quote(password) + " " + Quote(dir / "out.pdf"))
            .exitCode;
    }

    TempDir dir;
};

TEST_F(PasswordCli, RefusesBadPasswordFilesWithUsageStatus) {
    const std::string good = File("good", "secret\n");
    const std::pair<std::string, std::string> cases[] = {
        {"--user-password-file " + File("empty", ""), "empty"},
        {"--user-password-file " + File("newline", "\n"), "empty"},
        {"--user-password-file " + Quote(dir / "missing"), "cannot read"},
        {"--user-password-file " + Quote(dir.Path()), "cannot read"},
        {"--user-password-file " + File("long", std::string(128, 'x')), "127"},
        {"--user-password-file " + File("huge", std::string(100000, 'x')), "127"},
        {"--user-password-file " + File("lines", "one\ntwo\n"), "more than one line"},
        {"--user-password-file " + File("latin1", "caf\xE9"), "UTF-8"},
        {"--owner-password-file " + good, "need --user-password-file"},
        {"--no-printing", "need --user-password-file"},
        {"--user-password-file " + good + " --owner-password-file " + File("same", "secret"),
         "must differ"},
        {"--user-password-file " + good + " --user-password-file " + good, "given twice"},
    };
    for (const auto &[options, reason] : cases) {
        const RunResult run = Run(options);
        EXPECT_EQ(run.exitCode, 2) << options;
        EXPECT_NE(run.err.find(reason), std::string::npos) << options << ": " << run.err;
        EXPECT_EQ(Listing(dir.Path()).count("out.pdf"), 0u) << options;
    }
}

TEST_F(PasswordCli, LocksTheDocumentWithThePasswordsOfTheFiles) {
    // The first line without its line break; a Windows line end too; 127 bytes still fit.
    const std::string owner(127, 'o');
    const RunResult run = Run("--user-password-file " + File("user", "用户 pw\r\n") +
                              " --owner-password-file " + File("owner", owner) + " --no-copying");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(QpdfCheck("用户 pw"), 0);
    EXPECT_EQ(QpdfCheck(owner), 0);
    EXPECT_NE(QpdfCheck("用户 pw\r"), 0);
    EXPECT_NE(QpdfCheck(""), 0);
    const RunResult shown =
        RunShell("qpdf --show-encryption --password='用户 pw' " + Quote(dir / "out.pdf"));
    EXPECT_NE(shown.out.find("extract for any purpose: not allowed"), std::string::npos);
    EXPECT_NE(shown.out.find("print high resolution: allowed"), std::string::npos);
}

TEST_F(PasswordCli, ReadsAPasswordFromAPipeAndWritesToStandardOutput) {
    const RunResult run = RunShell("printf 'piped\\n' | " + Quote(cli_test::kProgram) +
                                   " --user-password-file /dev/stdin -o - " +
                                   Quote(dir / "page.jpg") + " > " + Quote(dir / "out.pdf"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(QpdfCheck("piped"), 0);
    EXPECT_NE(QpdfCheck(""), 0);
}

TEST_F(PasswordCli, AFailureWhileEncryptingLeavesTheOldFileAndNoTemporary) {
    std::string pages;
    for (int i = 0; i < 20; ++i) {
        const std::string name = "page" + std::to_string(i) + ".jpg";
        WriteFile(dir / name, MakeJpeg(Pattern(40, 30, 1, i)));
        pages += " " + Quote(dir / name);
    }
    const std::string password = " --user-password-file " + File("user", "secret");
    const auto write = [&](const std::string &limit, const std::string &options,
                           const std::string &out) {
        return RunShell(limit + Quote(cli_test::kProgram) + options + " -o " + Quote(dir / out) +
                        pages);
    };
    ASSERT_EQ(write("", "", "plain.pdf").exitCode, 0);
    ASSERT_EQ(write("", password, "locked.pdf").exitCode, 0);
    const std::size_t plain = ReadFile(dir / "plain.pdf").size();
    const std::size_t locked = ReadFile(dir / "locked.pdf").size();
    ASSERT_LT(plain + 1000, locked); // room for a limit between them
    // Files may grow past the plain document but not to the encrypted one: the engine's pass
    // succeeds and the encryption's write fails.
    WriteText(dir / "out.pdf", "old document");
    const std::string limit =
        "trap '' XFSZ; exec prlimit --fsize=" + std::to_string((plain + locked) / 2) + " ";
    const RunResult run = write(limit, password, "out.pdf");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("encryption"), std::string::npos) << run.err;
    EXPECT_EQ(ReadText(dir / "out.pdf"), "old document");
    for (const std::string &name : Listing(dir.Path())) {
        EXPECT_EQ(name.find(".pdfw-"), std::string::npos) << name;
    }
}

} // namespace
