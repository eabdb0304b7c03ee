// The page loop hands the engine every page ahead: the document is the same whether one
// worker prepares the pages or several do.
#include "pdf/PageGeneration.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;

Bytes Generate(const std::string &out, const std::vector<std::string> &images,
               const char *threads) {
    setenv("FOLVANE_THREADS", threads, 1);
    folvane::GenerateOptions options;
    options.layout = folvane::PageLayout::fitted();
    folvane::generatePdf(out, images, options);
    unsetenv("FOLVANE_THREADS");
    return ReadFile(out);
}

TEST(GeneratePipeline, ManyWorkersWriteWhatOneWrites) {
    TempDir dir;
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    WriteFile(dir / "a.jpg", MakeJpeg(Pattern(64, 48, 3, 1)));
    WriteFile(dir / "b.jpg", MakeJpeg(Pattern(48, 64, 1, 2)));
    TiffPage wide = TiffPageOf(Pattern(80, 30, 3, 3));
    wide.compression = COMPRESSION_LZW;
    WriteTiff(dir / "pages.tif",
              {wide, TiffPageOf(Pattern(30, 80, 1, 4)), TiffPageOf(Pattern(40, 40, 4, 5))});
    WriteFile(dir / "c.png", MakePng(PngImageOf(Pattern(50, 40, 4, 6))));
    std::vector<std::string> images = {dir / "a.jpg", dir / "pages.tif", dir / "c.png",
                                       dir / "b.jpg", dir / "pages.tif", dir / "a.jpg"};
    Bytes one = Generate(dir / "1.pdf", images, "1");
    Bytes three = Generate(dir / "3.pdf", images, "3");
    unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(PageCount(dir / "1.pdf"), 10);
    EXPECT_TRUE(QpdfCheck(dir / "3.pdf"));
    EXPECT_TRUE(one == three);
}

} // namespace
