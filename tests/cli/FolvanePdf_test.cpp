// folvane-pdf as scripts use it: its options, exit statuses, what it prints, and the pages it
// writes.

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

// Horizontal resolution of each image as placed: 72 / scale for one point a pixel.
std::vector<int> ImagePpi(const std::string &pdf) {
    std::vector<int> ppi;
    for (const PdfImage &image : ListImages(pdf)) {
        ppi.push_back(image.xppi);
    }
    return ppi;
}

// Page sizes as "width x height" in whole points.
std::vector<std::string> Pages(const std::string &pdf) {
    std::vector<std::string> pages;
    for (const PageSize &size : PageSizes(pdf)) {
        pages.push_back(std::to_string(static_cast<int>(size.width)) + " x " +
                        std::to_string(static_cast<int>(size.height)));
    }
    return pages;
}

const std::string kPortrait = "595 x 842";
const std::string kLandscape = "842 x 595";

// Overwrites the start of the compressed data of page `page` (from 0) with bytes no decoder
// accepts, so that only that page fails.
void CorruptFirstStrip(const std::string &path, int page) {
    TIFF *tif = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tif, nullptr);
    ASSERT_TRUE(TIFFSetDirectory(tif, static_cast<tdir_t>(page)));
    uint64_t *offsets = nullptr;
    ASSERT_TRUE(TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets));
    const uint64_t offset = offsets[0];
    TIFFClose(tif);
    Bytes bytes = ReadFile(path);
    ASSERT_LE(offset + 16, bytes.size());
    std::fill(bytes.begin() + static_cast<long>(offset),
              bytes.begin() + static_cast<long>(offset + 16), 0xFF);
    WriteFile(path, bytes);
}

class FolvanePdfTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(FolvanePdfTest, WithoutAClassEveryPageFitsAndNothingIsSaid) {
    const std::string pdf = dir / "samples.pdf";
    // A portrait and a landscape picture: each page turns with its image.
    WriteJpeg(dir / "wide.jpg", 816, 612);
    RunResult r = RunFolvanePdf("-o " + Quote(pdf) + " " + Sample("page-1.jpg") + " " +
                                Quote(dir / "wide.jpg") + " " + Sample("page-3.tif"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "") << "no progress or warning when stderr is not a terminal";
    EXPECT_TRUE(QpdfCheck(pdf));
    EXPECT_EQ(Pages(pdf), (std::vector<std::string>{kPortrait, kLandscape, kPortrait}));
}

// Where each page's image lands: every corner of the image's unit square, through the page's
// placement matrix, must lie on the page.
void ExpectNothingCutOff(const std::string &pdf) {
    const std::vector<PageSize> sizes = PageSizes(pdf);
    const auto matrices = PlacementMatrices(pdf);
    ASSERT_EQ(sizes.size(), matrices.size());
    for (std::size_t page = 0; page < sizes.size(); ++page) {
        const auto &m = matrices[page];
        for (auto [u, v] : {std::pair{0, 0}, std::pair{0, 1}, std::pair{1, 0}, std::pair{1, 1}}) {
            const double x = m[0] * u + m[2] * v + m[4];
            const double y = m[1] * u + m[3] * v + m[5];
            EXPECT_GE(x, -0.01) << "page " << page + 1;
            EXPECT_LE(x, sizes[page].width + 0.01) << "page " << page + 1;
            EXPECT_GE(y, -0.01) << "page " << page + 1;
            EXPECT_LE(y, sizes[page].height + 0.01) << "page " << page + 1;
        }
    }
}

TEST_F(FolvanePdfTest, WithoutAClassNothingIsCutOff) {
    // A 300-dpi A4 scan, an 8-megapixel landscape photo, a portrait photo stored on its side
    // (EXIF orientation 6) and a TIFF of three pages: 3 megapixels would cut every one.
    WriteJpeg(dir / "scan.jpg", 2480, 3508);
    WriteJpeg(dir / "landscape.jpg", 3264, 2448);
    JpegOptions turned;
    turned.exifOrientation = 6;
    WriteFile(dir / "turned.jpg", MakeJpeg(Pattern(2448, 1632, 1), turned));
    WriteTiffPages(dir / "pages.tif", {{1500, 2100}, {2100, 1500}, {1500, 1500}});
    const std::string pdf = dir / "out.pdf";
    RunResult r = RunFolvanePdf("-o " + Quote(pdf) + " " + Quote(dir / "scan.jpg") + " " +
                                Quote(dir / "landscape.jpg") + " " + Quote(dir / "turned.jpg") +
                                " " + Quote(dir / "pages.tif"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Pages(pdf), (std::vector<std::string>{kPortrait, kLandscape, kPortrait, kPortrait,
                                                    kLandscape, kPortrait}));
    ExpectNothingCutOff(pdf);
}

TEST_F(FolvanePdfTest, ClassChoosesTheScaleAndFitCanBeNamed) {
    const std::pair<const char *, int> cases[] = {{"2", 137}, {"3", 171},  {"5", 218},
                                                  {"8", 273}, {"10", 305}, {"16", 385}};
    for (const auto &[megapixels, ppi] : cases) {
        const std::string pdf = dir / (std::string("c") + megapixels + ".pdf");
        RunResult r = RunFolvanePdf(std::string("-c ") + megapixels + " -o " + Quote(pdf) + " " +
                                    Sample("page-3.tif"));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(ImagePpi(pdf), std::vector<int>{ppi}) << "class " << megapixels;
        EXPECT_EQ(Pages(pdf), std::vector<std::string>{kPortrait});
    }
    WriteJpeg(dir / "wide.jpg", 1684, 1190);
    RunResult r = RunFolvanePdf("--class=fit --output " + Quote(dir / "fit.pdf") + " " +
                                Quote(dir / "wide.jpg"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Pages(dir / "fit.pdf"), std::vector<std::string>{kLandscape});
    EXPECT_EQ(ImagePpi(dir / "fit.pdf"), std::vector<int>{144});
}

TEST_F(FolvanePdfTest, EveryPageOfATiffUnlessOnlyTheFirstIsAskedFor) {
    WriteTiffPages(dir / "three.tif", {{100, 200}, {300, 100}, {100, 100}});
    RunResult r = RunFolvanePdf("-o " + Quote(dir / "all.pdf") + " " + Quote(dir / "three.tif"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Pages(dir / "all.pdf"), (std::vector<std::string>{kPortrait, kLandscape, kPortrait}));

    r = RunFolvanePdf("--first-page-only -o " + Quote(dir / "first.pdf") + " " +
                      Quote(dir / "three.tif"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Pages(dir / "first.pdf"), std::vector<std::string>{kPortrait});
}

TEST_F(FolvanePdfTest, ACutPageIsWrittenWithOneWarningLine) {
    // At 3 megapixels (0.42) a 2000 x 1000 picture is 840 x 420 points: 245 of its 840 points
    // of width, 29%, lie beyond the 595-point page.
    const std::string wide = dir / "wide.jpg";
    const std::string two = dir / "two.tif";
    WriteJpeg(wide, 2000, 1000);
    WriteJpeg(dir / "small.jpg", 400, 300);
    WriteTiffPages(two, {{400, 300}, {2000, 1000}});
    RunResult r = RunFolvanePdf("-c 3 -o " + Quote(dir / "out.pdf") + " " +
                                Quote(dir / "small.jpg") + " " + Quote(wide) + " " + Quote(two));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, wide + ": 29% of the image lies outside the page; -c fit fits it\n" + two +
                         ", page 2: 29% of the image lies outside the page; -c fit fits it\n");
    EXPECT_EQ(PageSizes(dir / "out.pdf").size(), 4u);

    // 1050 x 525 points: 43% of the width is off the page.
    r = RunFolvanePdf("-c 2 -o " + Quote(dir / "out.pdf") + " " + Quote(wide));
    EXPECT_EQ(r.err, wide + ": 43% of the image lies outside the page; -c fit fits it\n");
}

TEST_F(FolvanePdfTest, ShowsProgressOnlyOnATerminal) {
    // script(1) gives the program a terminal and copies what it writes there to our file.
    WriteTiffPages(dir / "two.tif", {{50, 50}, {50, 50}});
    const std::string command = Quote(kProgram) + " -o " + Quote(dir / "tty.pdf") + " " +
                                Sample("page-1.jpg") + " " + Quote(dir / "two.tif");
    RunResult r = RunShell("script -qec " + Quote(command) + " /dev/null");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("[1/2]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[2/2]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("(page 2 of 2)"), std::string::npos) << r.out;
}

TEST_F(FolvanePdfTest, UsageErrorsExitTwoWithAUsageLine) {
    const std::string pdf = Quote(dir / "out.pdf");
    const std::string image = Sample("page-1.jpg");
    for (const std::string &args :
         {std::string(""), image, "-o " + pdf, "-c 4 -o " + pdf + " " + image,
          "-c -o " + pdf + " " + image, "-x -o " + pdf + " " + image, image + " -o",
          "-o " + pdf + " -o " + pdf + " " + image, "--bogus -o " + pdf + " " + image,
          "--force=yes -o " + pdf + " " + image, "--output= " + image}) {
        RunResult r = RunFolvanePdf(args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_NE(r.err.find("usage: folvane-pdf"), std::string::npos) << args;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fs::exists(dir / "out.pdf")) << args;
    }
}

TEST_F(FolvanePdfTest, HelpExplainsEveryOptionTheClassesAndTheExitStatuses) {
    RunResult r = RunFolvanePdf("--help");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("usage: folvane-pdf", 0), 0u);
    for (const char *part :
         {"-o, --output", "-c, --class", "--first-page-only", "-f, --force", "--help", "--version",
          "@LIST", "fit", "0.42", "0.1871", "Exit status", "130", "Example"}) {
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(RunFolvanePdf("-h").out, r.out);
}

TEST_F(FolvanePdfTest, VersionIsTheProjectsVersion) {
    const std::string cmake = ReadText(std::string(FOLVANE_SOURCE_DIR) + "/CMakeLists.txt");
    const std::string marker = "project(Folvane VERSION ";
    const std::size_t at = cmake.find(marker);
    ASSERT_NE(at, std::string::npos);
    const std::size_t start = at + marker.size();
    const std::string version = cmake.substr(start, cmake.find_first_of(" )", start) - start);
    RunResult r = RunFolvanePdf("--version");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "folvane-pdf " + version + "\n");
}

TEST_F(FolvanePdfTest, OptionsMayFollowImagesAndDashesEndThem) {
    fs::copy_file(kSamples + "/page-3.tif", dir / "-page.tif");
    fs::copy_file(kSamples + "/page-3.tif", dir / "@page.tif");
    RunResult r = RunShell("cd " + Quote(dir.Path()) + " && " + Quote(kProgram) + " " +
                           Sample("page-3.tif") + " -oout.pdf -c16 -- -page.tif @page.tif");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ImagePpi(dir / "out.pdf"), (std::vector<int>{385, 385, 385}));
}

TEST_F(FolvanePdfTest, MissingImageFailsWithOneLineNamingIt) {
    const std::string pdf = dir / "out.pdf";
    const std::string missing = dir / "no-such-page.jpg";
    RunResult r =
        RunFolvanePdf("-o " + Quote(pdf) + " " + Sample("page-1.jpg") + " " + Quote(missing));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_EQ(r.err.rfind("folvane-pdf: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(missing), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(fs::exists(pdf)) << "no partial PDF";
}

TEST_F(FolvanePdfTest, DamagedImageFailsAndKeepsTheOldDocument) {
    const std::string pdf = dir / "out.pdf";
    WriteText(pdf, "old");
    const std::string damaged = dir / "cut.jpg";
    Bytes bytes = ReadFile(kSamples + "/page-1.jpg");
    bytes.resize(16);
    WriteFile(damaged, bytes);
    RunResult r = RunFolvanePdf("-o " + Quote(pdf) + " " + Quote(damaged));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find(damaged), std::string::npos) << r.err;
    EXPECT_EQ(ReadText(pdf), "old");
}

TEST_F(FolvanePdfTest, AFailingLaterPageOfATiffIsNamedByItsPage) {
    const std::string tiff = dir / "two.tif";
    WriteTiffPages(tiff, {{64, 64}, {64, 64}});
    CorruptFirstStrip(tiff, 1);
    RunResult r = RunFolvanePdf("-o " + Quote(dir / "out.pdf") + " " + Quote(tiff));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("folvane-pdf: " + tiff + ", page 2: ", 0), 0u) << r.err;
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_EQ(Listing(dir.Path()), std::set<std::string>{"two.tif"});
}

} // namespace

namespace {

// Widths of the document's images, in page order: each test image has its own.
std::vector<int> ImageWidths(const std::string &pdf) {
    std::vector<int> widths;
    for (const PdfImage &image : ListImages(pdf)) {
        widths.push_back(image.width);
    }
    return widths;
}

TEST_F(FolvanePdfTest, AFolderGivesItsImagesInNaturalOrderWithoutItsSubfolders) {
    const fs::path scans = dir / "scans";
    fs::create_directories(scans / "older");
    WriteJpeg(scans / "page-10.jpg", 100, 80);
    WriteJpeg(scans / "Page-2.JPG", 120, 80);
    WriteTiffPages(scans / "page-1.tif", {{140, 80}});
    WriteText(scans / "notes.txt", "not a page");
    WriteJpeg(scans / "older" / "page-3.jpg", 160, 80);
    const std::string pdf = dir / "out.pdf";
    RunResult r = RunFolvanePdf("-o " + Quote(pdf) + " " + Quote(scans.string()) + " " +
                                Sample("page-1.jpg"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<int> widths = ImageWidths(pdf);
    ASSERT_EQ(widths.size(), 4u);
    EXPECT_EQ(std::vector<int>(widths.begin(), widths.begin() + 3),
              (std::vector<int>{140, 120, 100}));

    const fs::path empty = dir / "empty";
    fs::create_directories(empty / "inner");
    WriteJpeg(empty / "inner" / "page.jpg", 64, 64);
    r = RunFolvanePdf("-o " + Quote(pdf) + " " + Quote(empty.string()));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("holds no JPEG, TIFF or PNG image"), std::string::npos) << r.err;
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
}

// Missing, not an image, and a TIFF whose second page's data is damaged (which only writing it
// finds): each left out with its own warning; the others make the PDF, with exit status 3.
TEST_F(FolvanePdfTest, SkipUnreadableLeavesOutEachBadImageAndSaysSo) {
    const std::string missing = dir / "gone.jpg";
    const std::string junk = dir / "junk.png";
    WriteText(junk, "no picture");
    const std::string tiff = dir / "two.tif";
    WriteTiffPages(tiff, {{64, 64}, {64, 64}});
    CorruptFirstStrip(tiff, 1);
    WriteJpeg(dir / "a.jpg", 100, 80);
    WriteJpeg(dir / "b.jpg", 120, 80);
    const std::string pdf = dir / "out.pdf";
    const std::string inputs = Quote(dir / "a.jpg") + " " + Quote(missing) + " " + Quote(junk) +
                               " " + Quote(tiff) + " " + Quote(dir / "b.jpg");
    RunResult r = RunFolvanePdf("--skip-unreadable -o " + Quote(pdf) + " " + inputs);
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_EQ(LineCount(r.err), 3) << r.err;
    for (const std::string &name : {missing, junk, tiff + ", page 2"}) {
        const std::size_t at = r.err.find(name);
        ASSERT_NE(at, std::string::npos) << name << "\n" << r.err;
        const std::size_t line = r.err.rfind('\n', at);
        EXPECT_EQ(r.err.compare(line == std::string::npos ? 0 : line + 1, 10, "left out: "), 0)
            << r.err;
    }
    EXPECT_TRUE(QpdfCheck(pdf));
    EXPECT_EQ(ImageWidths(pdf), (std::vector<int>{100, 120}));

    // Without the option the first bad image stops the run, as always.
    fs::remove(pdf);
    r = RunFolvanePdf("-o " + Quote(pdf) + " " + inputs);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(fs::exists(pdf));

    // Nothing readable: the run fails on the first, and an old file stays.
    WriteText(pdf, "old");
    r = RunFolvanePdf("--skip-unreadable -o " + Quote(pdf) + " " + Quote(missing) + " " +
                      Quote(junk));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find(missing), std::string::npos) << r.err;
    EXPECT_EQ(ReadText(pdf), "old");

    r = RunFolvanePdf("--help");
    for (const char *part : {"--skip-unreadable", "FOLDER", "  3    "}) {
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
    }
}

} // namespace
