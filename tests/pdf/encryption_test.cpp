// Documents locked with passwords: the password rules, what qpdf finds in an encrypted
// document, and that a stop before encrypting leaves nothing behind.

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PageGeneration.h"
#include "pdfdoc/Encryption.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Process.h"

namespace {

using folvane::pdfdoc::checkPassword;
using folvane::pdfdoc::checkSettings;
using folvane::pdfdoc::EncryptionSettings;
using folvane::pdfdoc::PasswordProblem;
using namespace support;

TEST(PasswordRules, RefusesWhatCannotLockADocument) {
    EXPECT_EQ(checkPassword(""), PasswordProblem::Empty);
    EXPECT_EQ(checkPassword(std::string(127, 'a')), std::nullopt);
    EXPECT_EQ(checkPassword(std::string(128, 'a')), PasswordProblem::TooLong);
    // 42 three-byte characters: 126 bytes fit, one more does not.
    std::string chinese;
    for (int i = 0; i < 42; ++i) {
        chinese += "密";
    }
    EXPECT_EQ(checkPassword(chinese), std::nullopt);
    EXPECT_EQ(checkPassword(chinese + "码"), PasswordProblem::TooLong);
    for (const char *bad : {"\xC3\x28", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ab\xE5"}) {
        EXPECT_EQ(checkPassword(bad), PasswordProblem::NotUtf8) << bad;
    }
    for (const char *bad : {"two\nlines", "tab\there", "del\x7F"}) {
        EXPECT_EQ(checkPassword(bad), PasswordProblem::Control) << bad;
    }
    EXPECT_EQ(checkPassword("correct horse 电池 staple"), std::nullopt);
}

TEST(PasswordRules, OwnerPasswordIsOptionalButNotTheUserOne) {
    EXPECT_EQ(checkSettings(EncryptionSettings{"user", "", true, true}), std::nullopt);
    EXPECT_EQ(checkSettings(EncryptionSettings{"user", "user", true, true}),
              PasswordProblem::SameAsUser);
    EXPECT_EQ(checkSettings(EncryptionSettings{"", "owner", true, true}), PasswordProblem::Empty);
    EXPECT_EQ(checkSettings(EncryptionSettings{"user", "a\nb", true, true}),
              PasswordProblem::Control);
}

// What the images of a document are, as one line each.
std::vector<std::string> ImageFacts(const std::string &pdf) {
    std::vector<std::string> facts;
    for (const PdfImage &image : ListImages(pdf)) {
        facts.push_back(std::to_string(image.page) + " " + std::to_string(image.width) + "x" +
                        std::to_string(image.height) + " " + image.colour + " " + image.filter);
    }
    return facts;
}

class EncryptedDocument : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(dir / "a.jpg", MakeJpeg(Pattern(120, 90, 3)));
        WriteFile(dir / "b.jpg", MakeJpeg(Pattern(64, 80, 1)));
        options.encryption = EncryptionSettings{"user pw", "owner pw", false, true};
    }
    void Generate(const std::string &out) {
        folvane::generatePdf(out, {dir / "a.jpg", dir / "b.jpg"}, options);
    }
    RunResult Qpdf(const std::string &args, const std::string &pdf) {
        return RunShell("qpdf " + args + " " + Quote(pdf));
    }

    TempDir dir;
    folvane::GenerateOptions options;
};

TEST_F(EncryptedDocument, OpensOnlyWithItsPasswordsWithAes256AndThePermissionsChosen) {
    const std::string out = dir / "out.pdf";
    Generate(out);

    const RunResult shown = Qpdf("--show-encryption --password='user pw'", out);
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("R = 6"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("AESv3"), std::string::npos) << shown.out; // AES-256
    EXPECT_NE(shown.out.find("print high resolution: not allowed"), std::string::npos);
    EXPECT_NE(shown.out.find("extract for any purpose: allowed"), std::string::npos);

    EXPECT_EQ(Qpdf("--check --password='user pw'", out).exitCode, 0);
    EXPECT_EQ(Qpdf("--check --password='owner pw'", out).exitCode, 0);
    EXPECT_EQ(Qpdf("--requires-password", out).exitCode, 0);
    EXPECT_NE(Qpdf("--check", out).exitCode, 0);
    EXPECT_NE(Qpdf("--check --password='user'", out).exitCode, 0);
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"a.jpg", "b.jpg", "out.pdf"}));
}

TEST_F(EncryptedDocument, HoldsThePagesOfThePlainDocumentButNotItsBytes) {
    Generate(dir / "locked.pdf");
    Generate(dir / "again.pdf");
    options.encryption.reset();
    Generate(dir / "plain.pdf");
    EXPECT_NE(ReadFile(dir / "locked.pdf"), ReadFile(dir / "again.pdf")); // random salts

    ASSERT_EQ(RunShell("qpdf --password='user pw' --decrypt " + Quote(dir / "locked.pdf") + " " +
                       Quote(dir / "opened.pdf"))
                  .exitCode,
              0);
    EXPECT_EQ(PageCount(dir / "opened.pdf"), 2);
    EXPECT_EQ(PageSizes(dir / "opened.pdf"), PageSizes(dir / "plain.pdf"));
    EXPECT_EQ(ImageFacts(dir / "opened.pdf"), ImageFacts(dir / "plain.pdf"));
    EXPECT_EQ(RenderPage(dir / "opened.pdf", 2).samples, RenderPage(dir / "plain.pdf", 2).samples);
    EXPECT_EQ(PlacementMatrices(dir / "opened.pdf"), PlacementMatrices(dir / "plain.pdf"));
}

TEST_F(EncryptedDocument, StopAfterTheLastPageLeavesTheOldFileAndNoTemporary) {
    const std::string out = dir / "out.pdf";
    WriteText(out, "old document");
    int polls = 0;
    folvane::GenerateEvents events;
    events.stopRequested = [&] { return ++polls > 2; }; // both pages written, then the stop
    EXPECT_THROW(folvane::generatePdf(out, {dir / "a.jpg", dir / "b.jpg"}, options, events),
                 folvane::GenerateCancelled);
    EXPECT_EQ(polls, 3);
    EXPECT_EQ(ReadText(out), "old document");
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"a.jpg", "b.jpg", "out.pdf"}));
}

TEST_F(EncryptedDocument, RefusesATargetThatIsNotARegularFile) {
    try {
        Generate(dir.Path());
        FAIL() << "a folder was accepted";
    } catch (const folvane::GenerateError &e) {
        EXPECT_TRUE(e.aboutOutput());
        EXPECT_EQ(e.problem.kind, folvane::Problem::Kind::Output);
    }
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"a.jpg", "b.jpg"}));
}

TEST_F(EncryptedDocument, ReplacesTheFileALinkPointsToAndKeepsItsMode) {
    WriteText(dir / "real.pdf", "old");
    ASSERT_EQ(::chmod((dir / "real.pdf").c_str(), 0640), 0);
    ASSERT_EQ(::symlink("real.pdf", (dir / "link.pdf").c_str()), 0);
    Generate(dir / "link.pdf");
    struct stat info {};
    ASSERT_EQ(::lstat((dir / "link.pdf").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat((dir / "real.pdf").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(Qpdf("--check --password='user pw'", dir / "real.pdf").exitCode, 0);
}

} // namespace
