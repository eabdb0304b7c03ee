// folvane-pdf's standard streams and lists: the PDF on standard output, complete or not at
// all, and image paths read from @LIST files.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/CliRun.h"

namespace {

namespace fs = std::filesystem;
using namespace cli_test;
using Sizes = std::vector<std::pair<double, double>>;

class StreamsTest : public ::testing::Test {
protected:
    Scratch dir;
};

TEST_F(StreamsTest, StandardOutputGetsTheSameBytesAsAFile) {
    WriteJpeg(dir.At("a.jpg"), 60, 40);
    WriteTiff(dir.At("b.tif"), {{30, 50}, {50, 30}});
    const std::string images = Quote(dir.At("a.jpg")) + " " + Quote(dir.At("b.tif"));
    const std::string env = "SOURCE_DATE_EPOCH=1700000000 TMPDIR=" + Quote(dir.Dir()) + " ";
    Result file =
        dir.RunCommand(env + Quote(kProgram) + " -o " + Quote(dir.At("file.pdf")) + " " + images);
    ASSERT_EQ(file.exitCode, 0) << file.err;
    Result piped = dir.RunCommand(env + Quote(kProgram) + " -o - " + images);
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.err, "");
    EXPECT_TRUE(piped.out == Read(dir.At("file.pdf"))) << "the two documents differ";
    // The buffer is gone.
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.jpg", "b.tif", "file.pdf"}));
}

TEST_F(StreamsTest, AFailedRunWritesNothingToStandardOutput) {
    WriteJpeg(dir.At("a.jpg"), 60, 40);
    Result r = dir.RunCommand("TMPDIR=" + Quote(dir.Dir()) + " " + Quote(kProgram) + " -o - " +
                              Quote(dir.At("a.jpg")) + " " + Quote(dir.At("missing.jpg")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("missing.jpg"), std::string::npos) << r.err;
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.jpg"});
}

TEST_F(StreamsTest, APdfIsNotWrittenToATerminal) {
    WriteJpeg(dir.At("a.jpg"), 60, 40);
    const std::string command = Quote(kProgram) + " -o - " + Quote(dir.At("a.jpg"));
    Result r = dir.RunCommand("script -qec " + Quote(command) + " /dev/null");
    EXPECT_NE(r.out.find("not writing a PDF to a terminal"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("%PDF"), std::string::npos);
}

TEST_F(StreamsTest, ListsNameImagesInOrderWithSpacesAndChineseNames) {
    fs::create_directory(dir.At("扫描 文件"));
    const std::string first = dir.At("扫描 文件/第一页.jpg");
    const std::string second = dir.At("第 二 页.tif");
    const std::string third = dir.At("  leading spaces.jpg");
    WriteJpeg(first, 100, 200);
    WriteTiff(second, {{300, 100}});
    WriteJpeg(third, 100, 100);
    WriteJpeg(dir.At("plain.jpg"), 400, 100);
    // Windows line ends and empty lines as editors leave them.
    Write(dir.At("list one.txt"), first + "\r\n\n" + second + "\n");
    Write(dir.At("list-two.txt"), third);
    const std::string pdf = dir.At("out.pdf");
    Result r =
        RunProgram(dir, "-o " + Quote(pdf) + " @" + Quote(dir.At("list one.txt")) + " " +
                            Quote(dir.At("plain.jpg")) + " @" + Quote(dir.At("list-two.txt")));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PageSizes(pdf), (Sizes{{595, 842}, {842, 595}, {842, 595}, {595, 842}}));

    // "@-" reads the list from standard input.
    Result piped = RunProgram(dir, "-o " + Quote(pdf) + " @-", dir.At("list one.txt"));
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(PageSizes(pdf), (Sizes{{595, 842}, {842, 595}}));
}

TEST_F(StreamsTest, ABadListFailsBeforeAnythingIsWritten) {
    const std::string pdf = dir.At("out.pdf");
    Write(pdf, "old");
    Result r = RunProgram(dir, "-o " + Quote(pdf) + " @" + Quote(dir.At("missing.txt")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "folvane-pdf: cannot read list " + dir.At("missing.txt") +
                         ": No such file or directory\n");

    // A picture given as a list by mistake.
    WriteJpeg(dir.At("a.jpg"), 60, 40);
    r = RunProgram(dir, "-o " + Quote(pdf) + " @" + Quote(dir.At("a.jpg")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("not a file name"), std::string::npos) << r.err;

    Write(dir.At("empty.txt"), "\n\n");
    r = RunProgram(dir, "-o " + Quote(pdf) + " @" + Quote(dir.At("empty.txt")));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("no images"), std::string::npos) << r.err;
    EXPECT_EQ(Read(pdf), "old");
}

} // namespace
