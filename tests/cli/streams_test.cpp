// folvane-pdf's standard streams and lists: the PDF on standard output, complete or not at
// all, and image paths read from @LIST files.

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Pdf.h"

namespace {

namespace fs = std::filesystem;
using namespace support;
using namespace cli_test;
using Names = std::set<std::string>;

// Each page as "P" (portrait A4) or "L" (landscape A4).
std::string Orientations(const std::string &pdf) {
    std::string pages;
    for (const PageSize &size : PageSizes(pdf)) {
        pages += size.width < size.height ? "P" : "L";
    }
    return pages;
}

class StreamsTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(StreamsTest, StandardOutputGetsTheSameBytesAsAFile) {
    WriteJpeg(dir / "a.jpg", 60, 40);
    WriteTiffPages(dir / "b.tif", {{30, 50}, {50, 30}});
    const std::string images = Quote(dir / "a.jpg") + " " + Quote(dir / "b.tif");
    const std::string env = "SOURCE_DATE_EPOCH=1700000000 TMPDIR=" + Quote(dir.Path()) + " ";
    RunResult file =
        RunShell(env + Quote(kProgram) + " -o " + Quote(dir / "file.pdf") + " " + images);
    ASSERT_EQ(file.exitCode, 0) << file.err;
    RunResult piped = RunShell(env + Quote(kProgram) + " -o - " + images);
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.err, "");
    EXPECT_TRUE(piped.out == ReadText(dir / "file.pdf")) << "the two documents differ";
    // The buffer is gone.
    EXPECT_EQ(Listing(dir.Path()), (Names{"a.jpg", "b.tif", "file.pdf"}));
}

TEST_F(StreamsTest, AFailedRunWritesNothingToStandardOutput) {
    WriteJpeg(dir / "a.jpg", 60, 40);
    RunResult r = RunShell("TMPDIR=" + Quote(dir.Path()) + " " + Quote(kProgram) + " -o - " +
                           Quote(dir / "a.jpg") + " " + Quote(dir / "missing.jpg"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("missing.jpg"), std::string::npos) << r.err;
    EXPECT_EQ(Listing(dir.Path()), Names{"a.jpg"});
}

TEST_F(StreamsTest, APdfIsNotWrittenToATerminal) {
    WriteJpeg(dir / "a.jpg", 60, 40);
    const std::string command = Quote(kProgram) + " -o - " + Quote(dir / "a.jpg");
    RunResult r = RunShell("script -qec " + Quote(command) + " /dev/null");
    EXPECT_NE(r.out.find("not writing a PDF to a terminal"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("%PDF"), std::string::npos);
}

TEST_F(StreamsTest, ListsNameImagesInOrderWithSpacesAndChineseNames) {
    fs::create_directory(dir / "扫描 文件");
    const std::string first = dir / "扫描 文件/第一页.jpg";
    const std::string second = dir / "第 二 页.tif";
    const std::string third = dir / "  leading spaces.jpg";
    WriteJpeg(first, 100, 200);
    WriteTiffPages(second, {{300, 100}});
    WriteJpeg(third, 100, 100);
    WriteJpeg(dir / "plain.jpg", 400, 100);
    // Windows line ends and empty lines as editors leave them; no end at the end.
    WriteText(dir / "list one.txt", first + "\r\n\n" + second + "\n");
    WriteText(dir / "list-two.txt", third);
    const std::string pdf = dir / "out.pdf";
    RunResult r = RunFolvanePdf("-o " + Quote(pdf) + " @" + Quote(dir / "list one.txt") + " " +
                                Quote(dir / "plain.jpg") + " @" + Quote(dir / "list-two.txt"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Orientations(pdf), "PLLP");

    // "@-" reads the list from standard input.
    r = RunFolvanePdf("-o " + Quote(pdf) + " @- <" + Quote(dir / "list one.txt"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Orientations(pdf), "PL");
}

TEST_F(StreamsTest, ABadListFailsBeforeAnythingIsWritten) {
    const std::string pdf = dir / "out.pdf";
    WriteText(pdf, "old");
    RunResult r = RunFolvanePdf("-o " + Quote(pdf) + " @" + Quote(dir / "missing.txt"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "folvane-pdf: cannot read list " + (dir / "missing.txt") +
                         ": No such file or directory\n");

    // A picture given as a list by mistake.
    WriteJpeg(dir / "a.jpg", 60, 40);
    r = RunFolvanePdf("-o " + Quote(pdf) + " @" + Quote(dir / "a.jpg"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("not a file name"), std::string::npos) << r.err;

    WriteText(dir / "empty.txt", "\n\n");
    r = RunFolvanePdf("-o " + Quote(pdf) + " @" + Quote(dir / "empty.txt"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("no images"), std::string::npos) << r.err;

    // An empty argument (a shell variable that held nothing) names no file.
    r = RunFolvanePdf("-o " + Quote(pdf) + " ''");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("an image name is empty"), std::string::npos) << r.err;
    EXPECT_EQ(ReadText(pdf), "old");
}

} // namespace
