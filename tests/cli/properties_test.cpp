// folvane-pdf --title, --author, --subject, --keywords: what PDF readers show (pdfinfo), the XMP
// metadata the same, reproducible bytes under SOURCE_DATE_EPOCH, and text that would show as
// garbage refused before anything is written.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Pdf.h"

namespace {

using namespace cli_test;
using support::Quote;

const std::string kTitle = "二〇二六年 工资单 (March) \\ 归档";
const std::string kAuthor = "Zoë Ångström";
const std::string kSubject = "Payslips & letters";
const std::string kKeywords = "发票, invoice, 😀";

std::string PropertyOptions() {
    return "--title " + Quote(kTitle) + " --author=" + Quote(kAuthor) + " --subject " +
           Quote(kSubject) + " --keywords " + Quote(kKeywords);
}

TEST(PropertyOptions, ReadersShowEveryPropertyAndTheXmpCarriesTheSame) {
    support::TempDir dir;
    WriteJpeg(dir / "page.jpg", 40, 40);
    const std::string out = dir / "out.pdf";
    support::RunResult run =
        support::RunShell("SOURCE_DATE_EPOCH=1767225600 " + Quote(kProgram) + " " +
                          PropertyOptions() + " -o " + Quote(out) + " " + Quote(dir / "page.jpg"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(support::QpdfCheck(out));
    support::RunResult info = support::RunProgram({"pdfinfo", "-enc", "UTF-8", out});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    for (const std::string &line :
         {"Title:           " + kTitle, "Author:          " + kAuthor,
          "Subject:         " + kSubject, "Keywords:        " + kKeywords}) {
        EXPECT_NE(info.out.find(line + "\n"), std::string::npos) << line << "\n" << info.out;
    }
    support::RunResult meta = support::RunProgram({"pdfinfo", "-meta", out});
    ASSERT_EQ(meta.exitCode, 0) << meta.err;
    for (const std::string &held :
         {"<rdf:li xml:lang=\"x-default\">" + kTitle + "</rdf:li>",
          "<rdf:li>" + kAuthor + "</rdf:li>",
          std::string("<rdf:li xml:lang=\"x-default\">Payslips &amp; letters</rdf:li>"),
          "<pdf:Keywords>" + kKeywords + "</pdf:Keywords>",
          std::string("<xmp:CreateDate>2026-01-01T00:00:00Z</xmp:CreateDate>"),
          std::string("<xmp:ModifyDate>2026-01-01T00:00:00Z</xmp:ModifyDate>")}) {
        EXPECT_NE(meta.out.find(held), std::string::npos) << held << "\n" << meta.out;
    }
    EXPECT_NE(info.out.find("CreationDate:    Thu Jan  1 00:00:00 2026 UTC"), std::string::npos)
        << info.out;
}

TEST(PropertyOptions, TwoRunsWithSourceDateEpochGiveTheSameBytes) {
    support::TempDir dir;
    WriteJpeg(dir / "page.jpg", 40, 40);
    const std::string run = "SOURCE_DATE_EPOCH=1767225600 " + Quote(kProgram) + " " +
                            PropertyOptions() + " " + Quote(dir / "page.jpg") + " -o ";
    ASSERT_EQ(support::RunShell(run + Quote(dir / "one.pdf")).exitCode, 0);
    ASSERT_EQ(support::RunShell(run + Quote(dir / "two.pdf")).exitCode, 0);
    EXPECT_EQ(support::ReadFile(dir / "one.pdf"), support::ReadFile(dir / "two.pdf"));
}

TEST(PropertyOptions, TextThatWouldShowAsGarbageIsRefusedWithItsReason) {
    support::TempDir dir;
    WriteJpeg(dir / "page.jpg", 40, 40);
    const std::string tail = " -o " + Quote(dir / "out.pdf") + " " + Quote(dir / "page.jpg");
    struct Case {
        std::string options;
        std::string reason;
    };
    const Case cases[] = {
        {"--title \"$(head -c 100000 /dev/zero | tr '\\0' x)\"",
         "--title is longer than 1000 characters"},
        {"--author \"$(printf 'a\\tb')\"", "--author holds a control character"},
        {"--subject \"$(printf 'line\\nbreak')\"", "--subject holds a control character"},
        {"--keywords \"$(printf 'caf\\351')\"", "--keywords is not valid UTF-8"},
        {"--title \"$(printf '\\300\\257')\"", "--title is not valid UTF-8"}, // an overlong '/'
        {"--title \"$(printf '\\355\\240\\200')\"", "--title is not valid UTF-8"}, // a surrogate
    };
    for (const Case &c : cases) {
        support::RunResult run = support::RunShell(Quote(kProgram) + " " + c.options + tail);
        EXPECT_EQ(run.exitCode, 2) << c.options;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << c.options << ": " << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.pdf"));
    // A thousand Chinese characters are 3000 bytes, and within the ceiling.
    std::string thousand;
    for (int i = 0; i < 1000; ++i) {
        thousand += "书";
    }
    support::RunResult run = RunFolvanePdf("--title " + Quote(thousand) + tail);
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

} // namespace
