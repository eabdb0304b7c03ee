// folvane-pdf as scripts use it: its options, exit statuses, what it prints, and the pages it
// writes.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/CliRun.h"

namespace {

namespace fs = std::filesystem;
using namespace cli_test;
using Sizes = std::vector<std::pair<double, double>>;

std::string Sample(const std::string &name) {
    return Quote(kSamples + "/" + name);
}

int LineCount(const std::string &text) {
    int lines = 0;
    for (char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines;
}

// Horizontal resolution pdfimages reports for each image: 72 / scale for one point a pixel.
std::vector<int> ImagePpi(const std::string &pdf) {
    FILE *pipe = popen(("pdfimages -list " + Quote(pdf)).c_str(), "r");
    std::vector<int> ppi;
    char line[512];
    while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) {
        int page, num, width, height, comps, bpc, object, generation, xppi;
        char type[32], color[32], enc[32], interp[32];
        if (std::sscanf(line, "%d %d %31s %d %d %31s %d %d %31s %31s %d %d %d", &page, &num, type,
                        &width, &height, color, &comps, &bpc, enc, interp, &object, &generation,
                        &xppi) == 13) {
            ppi.push_back(xppi);
        }
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return ppi;
}

class FolvanePdfTest : public ::testing::Test {
protected:
    Scratch dir;
};

TEST_F(FolvanePdfTest, WithoutAClassEveryPageFitsAndNothingIsSaid) {
    const std::string pdf = dir.At("samples.pdf");
    // A portrait and a landscape picture: each page turns with its image.
    WriteJpeg(dir.At("wide.jpg"), 816, 612);
    Result r = RunProgram(dir, "-o " + Quote(pdf) + " " + Sample("page-1.jpg") + " " +
                                   Quote(dir.At("wide.jpg")) + " " + Sample("page-3.tif"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "") << "no progress or warning when stderr is not a terminal";
    EXPECT_TRUE(QpdfCheck(pdf));
    Sizes sizes = PageSizes(pdf);
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[1], std::make_pair(842.0, 595.0));
}

TEST_F(FolvanePdfTest, ClassChoosesTheScaleAndFitCanBeNamed) {
    const std::pair<const char *, int> cases[] = {{"2", 137}, {"3", 171},  {"5", 218},
                                                  {"8", 273}, {"10", 305}, {"16", 385}};
    for (const auto &[megapixels, ppi] : cases) {
        const std::string pdf = dir.At(std::string("c") + megapixels + ".pdf");
        Result r = RunProgram(dir, std::string("-c ") + megapixels + " -o " + Quote(pdf) + " " +
                                       Sample("page-3.tif"));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(ImagePpi(pdf), std::vector<int>{ppi}) << "class " << megapixels;
        EXPECT_EQ(PageSizes(pdf), (Sizes{{595, 842}}));
    }
    WriteJpeg(dir.At("wide.jpg"), 1684, 1190);
    Result r = RunProgram(dir, "--class=fit --output " + Quote(dir.At("fit.pdf")) + " " +
                                   Quote(dir.At("wide.jpg")));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PageSizes(dir.At("fit.pdf")), (Sizes{{842, 595}}));
    EXPECT_EQ(ImagePpi(dir.At("fit.pdf")), std::vector<int>{144});
}

TEST_F(FolvanePdfTest, EveryPageOfATiffUnlessOnlyTheFirstIsAskedFor) {
    WriteTiff(dir.At("three.tif"), {{100, 200}, {300, 100}, {100, 100}});
    Result r = RunProgram(dir, "-o " + Quote(dir.At("all.pdf")) + " " + Quote(dir.At("three.tif")));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PageSizes(dir.At("all.pdf")), (Sizes{{595, 842}, {842, 595}, {595, 842}}));

    r = RunProgram(dir, "--first-page-only -o " + Quote(dir.At("first.pdf")) + " " +
                            Quote(dir.At("three.tif")));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PageSizes(dir.At("first.pdf")), (Sizes{{595, 842}}));
}

TEST_F(FolvanePdfTest, ACutPageIsWrittenWithOneWarningLine) {
    // At 3 megapixels (0.42) a 2000 x 1000 picture is 840 x 420 points: 245 of its 840 points
    // of width, 29%, lie beyond the 595-point page.
    WriteJpeg(dir.At("wide.jpg"), 2000, 1000);
    WriteJpeg(dir.At("small.jpg"), 400, 300);
    WriteTiff(dir.At("two.tif"), {{400, 300}, {2000, 1000}});
    const std::string wide = dir.At("wide.jpg");
    const std::string two = dir.At("two.tif");
    Result r =
        RunProgram(dir, "-c 3 -o " + Quote(dir.At("out.pdf")) + " " + Quote(dir.At("small.jpg")) +
                            " " + Quote(wide) + " " + Quote(two));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, wide + ": 29% of the image lies outside the page; -c fit fits it\n" + two +
                         ", page 2: 29% of the image lies outside the page; -c fit fits it\n");
    EXPECT_EQ(PageSizes(dir.At("out.pdf")).size(), 4u);

    r = RunProgram(dir, "-c 2 -o " + Quote(dir.At("out.pdf")) + " " + Quote(wide));
    // 1050 x 525 points: 43% of the width is off the page.
    EXPECT_EQ(r.err, wide + ": 43% of the image lies outside the page; -c fit fits it\n");
}

TEST_F(FolvanePdfTest, ShowsProgressOnlyOnATerminal) {
    // script(1) gives the program a terminal and copies what it writes there to our file.
    WriteTiff(dir.At("two.tif"), {{50, 50}, {50, 50}});
    const std::string command = Quote(kProgram) + " -o " + Quote(dir.At("tty.pdf")) + " " +
                                Sample("page-1.jpg") + " " + Quote(dir.At("two.tif"));
    Result r = dir.RunCommand("script -qec " + Quote(command) + " /dev/null");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("[1/2]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[2/2]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("(page 2 of 2)"), std::string::npos) << r.out;
}

TEST_F(FolvanePdfTest, UsageErrorsExitTwoWithAUsageLine) {
    const std::string pdf = Quote(dir.At("out.pdf"));
    const std::string image = Sample("page-1.jpg");
    for (const std::string &args :
         {std::string(""), image, "-o " + pdf, "-c 4 -o " + pdf + " " + image,
          "-c -o " + pdf + " " + image, "-x -o " + pdf + " " + image, image + " -o",
          "-o " + pdf + " -o " + pdf + " " + image, "--bogus -o " + pdf + " " + image,
          "--force=yes -o " + pdf + " " + image, "--output= " + image}) {
        Result r = RunProgram(dir, args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_NE(r.err.find("usage: folvane-pdf"), std::string::npos) << args;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fs::exists(dir.At("out.pdf"))) << args;
    }
}

TEST_F(FolvanePdfTest, HelpExplainsEveryOptionTheClassesAndTheExitStatuses) {
    Result r = RunProgram(dir, "--help");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("usage: folvane-pdf", 0), 0u);
    for (const char *part :
         {"-o, --output", "-c, --class", "--first-page-only", "-f, --force", "--help", "--version",
          "@LIST", "fit", "0.42", "0.1871", "Exit status", "130", "Example"}) {
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(RunProgram(dir, "-h").out, r.out);
}

TEST_F(FolvanePdfTest, VersionIsTheProjectsVersion) {
    const std::string cmake = Read(std::string(FOLVANE_SOURCE_DIR) + "/CMakeLists.txt");
    const std::string marker = "project(Folvane VERSION ";
    const std::size_t at = cmake.find(marker);
    ASSERT_NE(at, std::string::npos);
    const std::size_t start = at + marker.size();
    const std::string version = cmake.substr(start, cmake.find_first_of(" )", start) - start);
    Result r = RunProgram(dir, "--version");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "folvane-pdf " + version + "\n");
}

TEST_F(FolvanePdfTest, OptionsMayFollowImagesAndDashesEndThem) {
    fs::copy_file(kSamples + "/page-3.tif", dir.At("-page.tif"));
    fs::copy_file(kSamples + "/page-3.tif", dir.At("@page.tif"));
    Result r = dir.RunCommand("cd " + Quote(dir.Dir()) + " && " + Quote(kProgram) + " " +
                              Sample("page-3.tif") + " -oout.pdf -c16 -- -page.tif @page.tif");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ImagePpi(dir.At("out.pdf")), (std::vector<int>{385, 385, 385}));
}

TEST_F(FolvanePdfTest, MissingImageFailsWithOneLineNamingIt) {
    const std::string pdf = dir.At("out.pdf");
    const std::string missing = dir.At("no-such-page.jpg");
    Result r =
        RunProgram(dir, "-o " + Quote(pdf) + " " + Sample("page-1.jpg") + " " + Quote(missing));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_EQ(r.err.rfind("folvane-pdf: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(missing), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(fs::exists(pdf)) << "no partial PDF";
}

TEST_F(FolvanePdfTest, AFailingLaterPageOfATiffIsNamedByItsPage) {
    const std::string tiff = dir.At("two.tif");
    WriteTiff(tiff, {{64, 64}, {64, 64}});
    CorruptFirstStrip(tiff, 1);
    Result r = RunProgram(dir, "-o " + Quote(dir.At("out.pdf")) + " " + Quote(tiff));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("folvane-pdf: " + tiff + ", page 2: ", 0), 0u) << r.err;
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"two.tif"});
}

} // namespace
