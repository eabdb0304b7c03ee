// folvane-pdf with PDF inputs: among the images and in @LIST, encrypted ones opened with
// --password-file, and a PDF that cannot be read refused in one line with exit status 1.

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Pdf.h"
#include "tests/support/PdfMaker.h"

namespace {

using namespace support;
using cli_test::RunFolvanePdf;

TEST(PdfInputsCli, PdfsGoAnywhereAmongTheImagesAndInLists) {
    TempDir dir;
    cli_test::WriteJpeg(dir / "a.jpg", 40, 30);
    WriteTextPdf(dir / "three.pdf", 3);
    WriteTextPdf(dir / "two.PDF", 2);
    WriteText(dir / "list.txt", dir / "two.PDF" + "\n" + dir / "a.jpg" + "\n");
    const RunResult run =
        RunFolvanePdf("-o " + Quote(dir / "out.pdf") + " " + Quote(dir / "a.jpg") + " " +
                      Quote(dir / "three.pdf") + " @" + Quote(dir / "list.txt"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(PageCount(dir / "out.pdf"), 7);
    EXPECT_NE(PdfText(dir / "out.pdf", 4).find(TextPdfLine(3)), std::string::npos);
    EXPECT_NE(PdfText(dir / "out.pdf", 6).find(TextPdfLine(2)), std::string::npos);
    EXPECT_TRUE(QpdfCheck(dir / "out.pdf"));
}

TEST(PdfInputsCli, EncryptedPdfsNeedThePasswordFile) {
    TempDir dir;
    WriteTextPdf(dir / "plain.pdf", 2);
    const std::string locked = dir / "locked.pdf";
    ASSERT_EQ(
        RunProgram({"qpdf", "--encrypt", "s3cret", "owner", "256", "--", dir / "plain.pdf", locked})
            .exitCode,
        0);
    const std::string output = dir / "out.pdf";

    RunResult run = RunFolvanePdf("-o " + Quote(output) + " " + Quote(locked));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("--password-file"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;

    WriteText(dir / "wrong.txt", "guess\n");
    run = RunFolvanePdf("--password-file " + Quote(dir / "wrong.txt") + " -o " + Quote(output) +
                        " " + Quote(locked));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("password"), std::string::npos) << run.err;
    EXPECT_TRUE(ReadFile(output).empty());

    WriteText(dir / "right.txt", "s3cret\n");
    run = RunFolvanePdf("--password-file " + Quote(dir / "right.txt") + " -o " + Quote(output) +
                        " " + Quote(locked));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(PageCount(output), 2);
}

TEST(PdfInputsCli, AnUnreadablePdfFailsWithQpdfsReasonAndKeepsTheOldOutput) {
    TempDir dir;
    WriteText(dir / "broken.pdf", "%PDF-1.7\nthis is not a PDF body\n");
    WriteText(dir / "out.pdf", "old");
    const RunResult run =
        RunFolvanePdf("-o " + Quote(dir / "out.pdf") + " " + Quote(dir / "broken.pdf"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("broken.pdf"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("damaged PDF"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("("), std::string::npos) << run.err;
    EXPECT_EQ(ReadText(dir / "out.pdf"), "old");
}

} // namespace
