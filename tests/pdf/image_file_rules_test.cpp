// The rules by which names are offered, taken, previewed and hinted, each as the window and the
// page loop rely on it.
#include "pdf/ImageFileRules.h"

#include <gtest/gtest.h>

namespace {

using folvane::imageTypeForPath;

TEST(PageImageName, TakesJpegTiffAndPngNamesInAnyCase) {
    for (const char *name : {"a.jpg", "a.JPEG", "a.Jpg", "a.tif", "a.TIFF", "a.png", "x.y/a.PnG"}) {
        EXPECT_TRUE(folvane::isPageImageName(name)) << name;
    }
    for (const char *name : {"a.pdf", "a", "a.jpg.txt", ".jpg.d/a", "a.jp", "a.bmp", "dir/.jpg"}) {
        EXPECT_FALSE(folvane::isPageImageName(name)) << name;
    }
    EXPECT_EQ(folvane::addDialogPatterns(),
              (std::vector<std::string>{"*.jpg", "*.jpeg", "*.tif", "*.tiff", "*.png"}));
}

// The preview compares an extension's first four characters: wider than the list's rule.
TEST(PreviewName, TriesTheFiveExtensionBeginningsInAnyCase) {
    for (const char *name : {"a.jpg", "a.JPEG", "a.jpe", "a.tif", "a.Tiff", "a.bmp", "a.png",
                             "a.tifx", "dir.d/a.PNG"}) {
        EXPECT_TRUE(folvane::isPreviewName(name)) << name;
    }
    for (const char *name : {"a.pdf", "a", "a.gif", "a.jp", ".bmp.d/a", "a.png.txt"}) {
        EXPECT_FALSE(folvane::isPreviewName(name)) << name;
    }
}

TEST(ImageTypeForPath, TestsTheFourSubstringsInOrder) {
    EXPECT_STREQ(folvane::imageTypeForPath("/scans/p1.jpg"), "jpeg");
    EXPECT_STREQ(folvane::imageTypeForPath("/scans/P1.JPG"), "jpeg");
    EXPECT_STREQ(folvane::imageTypeForPath("/scans/p1.tif"), "tiff");
    EXPECT_STREQ(folvane::imageTypeForPath("/scans/p1.tiff"), "tiff");
    EXPECT_STREQ(folvane::imageTypeForPath("/scans/P1.TIFF"), "tiff");
    // Anywhere in the path, and ".jpg" wins over ".tif".
    EXPECT_STREQ(folvane::imageTypeForPath("/scans/a.jpg/p1.tif"), "jpeg");
    EXPECT_STREQ(folvane::imageTypeForPath("/scans/a.tif/p1.png"), "tiff");
    // Case-sensitive: the engine decides these by content.
    EXPECT_STREQ(folvane::imageTypeForPath("/scans/p1.Jpg"), "auto");
    EXPECT_STREQ(folvane::imageTypeForPath("/scans/p1.jpeg"), "auto");
    EXPECT_STREQ(folvane::imageTypeForPath("/scans/p1.Tif"), "auto");
    EXPECT_STREQ(folvane::imageTypeForPath("/scans/p1.png"), "auto");
    EXPECT_STREQ(folvane::imageTypeForPath(""), "auto");
    // An occurrence at the very first character does not count.
    EXPECT_STREQ(folvane::imageTypeForPath(".jpg"), "auto");
    EXPECT_STREQ(folvane::imageTypeForPath(".jpg/p1.tif"), "tiff");
    EXPECT_STREQ(folvane::imageTypeForPath("x.jpg"), "jpeg");
}

} // namespace
