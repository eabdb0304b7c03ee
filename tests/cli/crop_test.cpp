// folvane-pdf --crop: pages keep only a rectangle of the picture the page shows (after --rotate);
// a crop that names no page, lies outside its picture or is too small refused before anything is
// written.

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"

namespace {

namespace fs = std::filesystem;
using namespace cli_test;

TEST(CropOption, CropsThePagesNamedInThePictureTheyShow) {
    support::TempDir dir;
    support::JpegOptions options;
    options.hSampling = 2; // blocks of 16 x 16 pixels
    options.vSampling = 2;
    support::WriteFile(dir / "wide.jpg", support::MakeJpeg(support::Pattern(160, 80, 3), options));
    WriteTiffPages(dir / "two.tif", {{100, 60}, {100, 60}});
    const std::string out = dir / "out.pdf";
    // Page 1 turned a quarter (80 x 160 shown) and cropped in that picture; pages 2 and 3 (the
    // TIFF) cropped by a later option that replaces the first one's crop of page 2.
    support::RunResult run = RunFolvanePdf(
        "-c 8 --rotate=90:1 --crop=10,20,60,150:1 --crop=0,0,50,50:2 --crop=5,5,95,55:2-z -o " +
        support::Quote(out) + " " + support::Quote(dir / "wide.jpg") + " " +
        support::Quote(dir / "two.tif"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<support::PdfImage> images = support::ListImages(out);
    ASSERT_EQ(images.size(), 3u);
    // The JPEG's data: the crop in stored pixels is 20..150 across and 20..70 down, its left and
    // top snapped to the block grid (16, 16).
    EXPECT_EQ(images[0].filter, "DCTDecode");
    EXPECT_EQ(images[0].width, 150 - 16);
    EXPECT_EQ(images[0].height, 70 - 16);
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(images[i].width, 90);
        EXPECT_EQ(images[i].height, 50);
    }
    EXPECT_TRUE(support::QpdfCheck(out));
}

TEST(CropOption, ABadCropIsAUsageErrorThatWritesNothing) {
    support::TempDir dir;
    WriteJpeg(dir / "a.jpg", 40, 30);
    WriteTiffPages(dir / "two.tif", {{40, 30}, {40, 30}});
    const std::string out = dir / "out.pdf";
    const std::string old = "%PDF-1.4 the document of an earlier run\n";
    support::WriteFile(out, support::Bytes(old.begin(), old.end()));
    struct Refused {
        const char *option;
        const char *says;
    };
    for (const Refused &bad :
         {Refused{"--crop=0,0,41,30", "outside page 1, whose picture is 40 x 30 pixels"},
          Refused{"--rotate=90:2 --crop=0,0,40,30:2", "outside page 2, whose picture is 30 x 40"},
          Refused{"--crop=20,0,10,30", "outside page 1"},
          Refused{"--crop=0,0,15,30", "smaller than 16 pixels"},
          Refused{"--crop=0,0,40", "four whole numbers"},
          Refused{"--crop=-1,0,40,30", "four whole numbers"},
          Refused{"--crop=0,0,40,30:0", "is not a list of pages"},
          Refused{"--crop=0,0,40,30:3-1", "is not a list of pages"},
          Refused{"--crop=0,0,40,30:4", "page 4, past the last page"}}) {
        const support::RunResult run =
            RunFolvanePdf(std::string(bad.option) + " -o " + support::Quote(out) + " " +
                          support::Quote(dir / "a.jpg") + " " + support::Quote(dir / "two.tif"));
        EXPECT_EQ(run.exitCode, 2) << bad.option << ": " << run.err;
        EXPECT_NE(run.err.find(bad.says), std::string::npos) << bad.option << ": " << run.err;
        const support::Bytes kept = support::ReadFile(out);
        EXPECT_EQ(std::string(kept.begin(), kept.end()), old) << bad.option;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 3)
            << bad.option;
    }
}

} // namespace
