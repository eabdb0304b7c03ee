#include "image/CfImage.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/image/ImageTestSupport.h"

namespace {

using imagetest::FillPattern;
using imagetest::RawPixel;

TEST(CfImageInit, StartsEmptyWithTheInitialRecord) {
    CfImage image(FormatJpeg);
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_EQ(image.GetHeight(), 0u);
    EXPECT_EQ(image.info.type, FormatJpeg);
    EXPECT_EQ(image.info.transparentIndex, -1);
    EXPECT_FLOAT_EQ(image.info.jpegQuality, 90.0f);
    EXPECT_EQ(image.JpegQuality(), 90);
    EXPECT_EQ(image.info.jpegScale, 1);
    EXPECT_EQ(image.info.dpiX, 96);
    EXPECT_EQ(image.info.dpiY, 96);
    EXPECT_EQ(image.header.biXPelsPerMeter, 3780);
    EXPECT_EQ(image.info.alphaMax, 255);
    EXPECT_TRUE(image.info.drawEnabled);
    EXPECT_STREQ(image.GetLastError(), "");
    EXPECT_EQ(image.info.escape, 0);
    EXPECT_EQ(image.info.exif.orientation, 0);
    EXPECT_EQ(image.alpha, nullptr);
    EXPECT_EQ(image.frames, nullptr);
}

TEST(CfImageInit, ReinitialisingFreesWhatTheImageOwned) {
    CfImage image(4, 4, 24, FormatBmp); // LeakSanitizer reports the block if Init drops it
    ASSERT_TRUE(image.CreateAlphaChannel());
    image.SetDpiX(300);
    image.Init(FormatTiff);
    EXPECT_FALSE(image.IsValid());
    EXPECT_FALSE(image.HasAlphaChannel());
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_EQ(image.GetDpiX(), 96);
    EXPECT_EQ(image.info.type, FormatTiff);
}

TEST(CfImageCreate, RefusesEmptySizes) {
    CfImage image;
    EXPECT_EQ(image.Create(0, 10, 8, FormatBmp), nullptr);
    EXPECT_STREQ(image.GetLastError(),
                 "CfImage::Create : width and height must be greater than zero");
    EXPECT_EQ(image.Create(10, 0, 8, FormatBmp), nullptr);
    EXPECT_FALSE(image.IsValid());
}

TEST(CfImageCreate, MemoryCeilingAllowsExactlyTwoHundredFiftySixMebibytes) {
    CfImage image;
    ASSERT_NE(image.Create(16384, 16384, 8, FormatBmp), nullptr);
    EXPECT_EQ(image.header.biSizeImage, 268435456u);
    EXPECT_EQ(image.BlockSize(), 40u + 1024u + 268435456u);
    EXPECT_EQ(image.Create(16385, 16384, 8, FormatBmp), nullptr);
    EXPECT_STREQ(image.GetLastError(), "CFIMAGE_MAX_MEMORY exceeded");
    EXPECT_FALSE(image.IsValid());
}

TEST(CfImageCreate, PaddedRowsAndHugeDimensionsAreHeldToTheCeiling) {
    CfImage image;
    // One pixel wide and 2^31 - 1 rows: the nominal size is under the ceiling, but each row
    // is padded to 4 bytes, 8 GiB in all (and more than a 32-bit image size can say).
    EXPECT_EQ(image.Create(1, 0x7FFFFFFF, 1), nullptr);
    EXPECT_STREQ(image.GetLastError(), "CFIMAGE_MAX_MEMORY exceeded");
    // 2^31 pixels of 1 bit are exactly the ceiling but do not fit the signed header width.
    image.SetLastError("");
    EXPECT_EQ(image.Create(0x80000000u, 1, 1), nullptr);
    EXPECT_STREQ(image.GetLastError(), "CFIMAGE_MAX_MEMORY exceeded");
    // Widths whose stride wraps in 32 bits.
    EXPECT_EQ(image.Create(0xFFFFFFFFu, 1, 24), nullptr);
    EXPECT_EQ(image.Create(0x0AAAAAABu, 1, 24), nullptr);
    EXPECT_EQ(image.Create(0xFFFFFFFFu, 0xFFFFFFFFu, 1), nullptr);
}

TEST(CfImageCreate, RoundsBitCountsAndSizesThePalette) {
    struct Case {
        uint32_t asked, bits, colours;
    };
    for (Case c : {Case{0, 1, 2}, Case{1, 1, 2}, Case{2, 4, 16}, Case{3, 4, 16}, Case{4, 4, 16},
                   Case{5, 8, 256}, Case{8, 8, 256}, Case{16, 24, 0}, Case{32, 24, 0}}) {
        CfImage image;
        ASSERT_NE(image.Create(7, 3, c.asked, FormatTiff), nullptr) << c.asked;
        EXPECT_EQ(image.GetBitsPerPixel(), c.bits) << c.asked;
        EXPECT_EQ(image.GetColorCount(), c.colours) << c.asked;
        EXPECT_EQ(image.HasPalette(), c.colours != 0);
        for (uint32_t i = 0; i < c.colours; ++i) {
            const RGBQUAD entry = image.PalettePointer()[i];
            EXPECT_EQ(entry, RGBQUAD{}) << "palette entries start zeroed";
        }
        EXPECT_EQ(image.info.type, FormatTiff);
        EXPECT_EQ(image.header.biSize, 40u);
        EXPECT_EQ(image.header.biPlanes, 1);
        EXPECT_EQ(image.header.biCompression, 0u);
        // The block starts with a copy of the header.
        BITMAPINFOHEADER stored;
        memcpy(&stored, image.block, sizeof stored);
        EXPECT_EQ(stored.biWidth, 7);
        EXPECT_EQ(stored.biBitCount, c.bits);
        EXPECT_EQ(image.info.pixels, image.RowPointer(0));
        EXPECT_EQ(image.info.pixels, image.block + 40 + c.colours * 4);
    }
}

TEST(CfImageCreate, RowStrideIsPaddedToFourBytes) {
    struct Case {
        uint32_t width, bits, stride;
    };
    for (Case c :
         {Case{1, 1, 4}, Case{32, 1, 4}, Case{33, 1, 8}, Case{1, 4, 4}, Case{9, 4, 8},
          Case{3, 8, 4}, Case{5, 8, 8}, Case{1, 24, 4}, Case{4, 24, 12}, Case{5, 24, 16}}) {
        CfImage image;
        ASSERT_NE(image.Create(c.width, 2, c.bits), nullptr);
        EXPECT_EQ(image.GetRowStride(), c.stride) << c.width << "x" << c.bits;
        EXPECT_EQ(image.header.biSizeImage, c.stride * 2);
        EXPECT_EQ(image.RowPointer(1), image.RowPointer(0) + c.stride);
        EXPECT_EQ(image.RowPointer(2), nullptr);
    }
}

TEST(CfImageCreate, KeepsTheResolutionAndDropsOldAlpha) {
    CfImage image;
    image.SetDpiX(300);
    ASSERT_NE(image.Create(4, 4, 24), nullptr);
    ASSERT_TRUE(image.CreateAlphaChannel());
    ASSERT_NE(image.Create(2, 2, 8), nullptr);
    EXPECT_FALSE(image.HasAlphaChannel());
    EXPECT_EQ(image.GetDpiX(), 300);
    EXPECT_EQ(image.header.biXPelsPerMeter, 11811);
    EXPECT_EQ(reinterpret_cast<BITMAPINFOHEADER *>(image.block)->biXPelsPerMeter, 11811);
}

TEST(CfImageDestroy, KeepsSizeAndRecordButFreesMemory) {
    CfImage image(5, 6, 8, FormatBmp);
    image.SetDpiY(200);
    ASSERT_TRUE(image.CreateAlphaChannel());
    EXPECT_TRUE(image.Destroy());
    EXPECT_FALSE(image.IsValid());
    EXPECT_FALSE(image.HasAlphaChannel());
    EXPECT_EQ(image.info.pixels, nullptr);
    EXPECT_EQ(image.GetWidth(), 5u);
    EXPECT_EQ(image.GetHeight(), 6u);
    EXPECT_EQ(image.GetDpiY(), 200);
    EXPECT_EQ(image.RowPointer(0), nullptr);
}

TEST(CfImageCopy, DeepCopiesPixelsPaletteAndAlpha) {
    CfImage source(9, 4, 4, FormatBmp);
    FillPattern(source);
    source.SetPaletteEntry(3, 10, 20, 30);
    source.SetDpiX(150);
    ASSERT_TRUE(source.CreateAlphaChannel());
    source.PutAlpha(2, 1, 7);

    CfImage copy(source);
    ASSERT_TRUE(copy.IsValid());
    EXPECT_NE(copy.block, source.block);
    EXPECT_EQ(memcmp(copy.block, source.block, source.BlockSize()), 0);
    EXPECT_EQ(copy.GetDpiX(), 150);
    ASSERT_TRUE(copy.HasAlphaChannel());
    EXPECT_NE(copy.alpha, source.alpha);
    EXPECT_EQ(copy.AlphaAtUnguarded(2, 1), 7);

    CfImage shell(source, false, false, false);
    ASSERT_TRUE(shell.IsValid());
    EXPECT_EQ(shell.PaletteEntry(3), (RGBQUAD{30, 20, 10, 0}));
    EXPECT_FALSE(shell.HasAlphaChannel());
}

TEST(CfImageCopyInfo, OnlyFillsAnEmptyImage) {
    CfImage source(FormatJpeg);
    source.info.frame = 3;
    source.info.escape = -1;
    source.SetFormatOption(0x55, FormatJpeg);
    strcpy(source.info.exif.cameraMake, "Maker");

    CfImage empty;
    empty.CopyInfo(source);
    EXPECT_EQ(empty.info.frame, 3);
    EXPECT_EQ(empty.info.escape, -1);
    EXPECT_EQ(empty.GetFormatOption(FormatJpeg), 0x55u);
    EXPECT_STREQ(empty.info.exif.cameraMake, "Maker");

    CfImage holding(2, 2, 8, FormatBmp);
    holding.CopyInfo(source);
    EXPECT_EQ(holding.info.frame, 0);
    EXPECT_EQ(holding.info.type, FormatBmp);
    EXPECT_STREQ(holding.info.exif.cameraMake, "");
}

TEST(CfImageCopyInfo, DoesNotTakeTheSourcesPixelPointer) {
    CfImage source(4, 4, 24);
    CfImage empty;
    empty.CopyInfo(source);
    EXPECT_EQ(empty.info.pixels, nullptr);
    EXPECT_EQ(empty.info.viewSource, nullptr);
}

TEST(CfImageTransfer, MovesEverythingAndEmptiesTheSource) {
    CfImage source(3, 2, 24, FormatTiff);
    FillPattern(source);
    ASSERT_TRUE(source.CreateAlphaChannel());
    source.SetDpiX(72);
    uint8_t *block = source.block;
    uint8_t *alpha = source.alpha;

    CfImage target(8, 8, 8);
    ASSERT_TRUE(target.Transfer(source, true));
    EXPECT_EQ(target.block, block);
    EXPECT_EQ(target.alpha, alpha);
    EXPECT_EQ(target.GetWidth(), 3u);
    EXPECT_EQ(target.GetDpiX(), 72);
    EXPECT_EQ(target.info.type, FormatTiff);
    EXPECT_EQ(RawPixel(target, 2, 1), imagetest::PatternValue(24, 2, 1));

    EXPECT_FALSE(source.IsValid());
    EXPECT_EQ(source.GetWidth(), 0u);
    EXPECT_EQ(source.GetHeight(), 0u);
    EXPECT_EQ(source.alpha, nullptr);
    EXPECT_EQ(source.info.type, 0);
    EXPECT_EQ(source.info.dpiX, 0) << "the source's record is zeroed, not re-initialised";
}

TEST(CfImageTransfer, TakesFramesAndFreesTheReceiversOwn) {
    auto makeFrames = [](CfImage &image, int count) {
        image.frames = static_cast<CfImage **>(calloc(size_t(count), sizeof(CfImage *)));
        for (int i = 0; i < count; ++i) {
            image.frames[i] = new CfImage(1, 1, 8);
        }
        image.info.frameCount = count;
    };
    CfImage source(2, 2, 8);
    makeFrames(source, 1);
    CfImage **sourceFrames = source.frames;
    CfImage target;
    makeFrames(target, 3); // more frames than the source: all three must be freed (ASan)
    ASSERT_TRUE(target.Transfer(source, true));
    EXPECT_EQ(target.frames, sourceFrames);
    EXPECT_EQ(target.info.frameCount, 1);
    EXPECT_EQ(source.frames, nullptr);

    CfImage kept(2, 2, 8);
    makeFrames(kept, 2);
    CfImage other(1, 1, 8);
    makeFrames(other, 4);
    ASSERT_TRUE(kept.Transfer(other, false));
    EXPECT_EQ(kept.info.frameCount, 2) << "the count stays with the frames it describes";
    EXPECT_EQ(other.info.frameCount, 4);
}

TEST(CfImageView, SharesMemoryAndRefusesToFreeOrReplaceIt) {
    CfImage source(4, 3, 8, FormatBmp);
    FillPattern(source);
    ASSERT_TRUE(source.CreateAlphaChannel());
    {
        CfImage view;
        view.ShareView(&source);
        EXPECT_EQ(view.block, source.block);
        EXPECT_EQ(view.alpha, source.alpha);
        EXPECT_EQ(view.info.viewSource, &source);
        EXPECT_EQ(view.GetWidth(), 4u);

        EXPECT_FALSE(view.Destroy());
        EXPECT_TRUE(view.IsValid());
        EXPECT_FALSE(view.DestroyFrames());
        EXPECT_EQ(view.Create(2, 2, 8), nullptr);
        EXPECT_EQ(view.block, source.block);
        CfImage other(1, 1, 8);
        EXPECT_FALSE(view.Transfer(other, true));
        EXPECT_TRUE(other.IsValid());
        EXPECT_FALSE(view.MirrorAlphaChannel());
        EXPECT_FALSE(view.MirrorHorizontal());
        EXPECT_FALSE(view.RotateLeft());

        // A copy of a view is a view; copying into a view changes nothing.
        CfImage copyOfView(view);
        EXPECT_EQ(copyOfView.block, source.block);
        EXPECT_FALSE(copyOfView.Destroy());
        view.Copy(other);
        EXPECT_EQ(view.block, source.block);

        view.DeleteAlphaChannel();
        EXPECT_NE(source.alpha, nullptr);
    } // the views go out of scope first: the source's memory must survive them (ASan)
    EXPECT_TRUE(source.IsValid());
    EXPECT_EQ(RawPixel(source, 3, 2), imagetest::PatternValue(8, 3, 2));
}

TEST(CfImageView, BecomingAViewFreesOwnedMemory) {
    CfImage source(2, 2, 24);
    CfImage image(8, 8, 24); // its own block must not leak (LeakSanitizer)
    image.ShareView(&source);
    EXPECT_EQ(image.block, source.block);
    image.ShareView(nullptr);
    EXPECT_EQ(image.block, source.block);
}

TEST(CfImageSettings, FormatTypeAndIndex) {
    CfImage image;
    EXPECT_TRUE(image.SetFormatType(FormatJpeg));
    EXPECT_EQ(image.GetFormatType(), FormatJpeg);
    EXPECT_FALSE(image.SetFormatType(16));
    EXPECT_EQ(image.GetFormatType(), 0);
    EXPECT_TRUE(image.SetFormatType(FormatPsd));
    EXPECT_FALSE(image.SetFormatType(21));
    EXPECT_FALSE(image.SetFormatType(-1));
    EXPECT_EQ(image.GetFormatType(), 0);

    EXPECT_EQ(CfImage::TypeIndex(FormatUnknown), 0);
    EXPECT_EQ(CfImage::TypeIndex(FormatBmp), 1);
    EXPECT_EQ(CfImage::TypeIndex(FormatRas), 15);
    EXPECT_EQ(CfImage::TypeIndex(16), 0);
    EXPECT_EQ(CfImage::TypeIndex(FormatMng), 16);
    EXPECT_EQ(CfImage::TypeIndex(FormatPsd), 19);
    EXPECT_EQ(CfImage::TypeIndex(21), 0);
    EXPECT_EQ(CfImage::TypeIndex(-3), 0);
}

TEST(CfImageSettings, FormatOptionsFallBackToTheImagesOwnType) {
    CfImage image(FormatTiff);
    EXPECT_TRUE(image.SetFormatOption(7));
    EXPECT_EQ(image.info.codecOptions[6], 7u);
    EXPECT_EQ(image.GetFormatOption(FormatTiff), 7u);
    EXPECT_EQ(image.GetFormatOption(), 7u);
    image.SetFormatOption(9, FormatPsd);
    EXPECT_EQ(image.info.codecOptions[19], 9u);
    CfImage unknown;
    unknown.SetFormatOption(4, 16);
    EXPECT_EQ(unknown.info.codecOptions[0], 4u);
}

TEST(CfImageSettings, ResolutionAndQuality) {
    CfImage image(3, 3, 24);
    image.SetDpiX(0);
    EXPECT_EQ(image.GetDpiX(), 96);
    image.SetDpiY(-5);
    EXPECT_EQ(image.GetDpiY(), 96);
    image.SetDpiX(72);
    EXPECT_EQ(image.header.biXPelsPerMeter, 2835);
    image.SetDpiY(0x7FFFFFFF); // no overflow into the 32-bit pixels-per-metre field
    EXPECT_EQ(image.header.biYPelsPerMeter, 0x7FFFFFFF);
    image.info.jpegQuality = 74.5f;
    EXPECT_EQ(image.JpegQuality(), 75);
    image.info.jpegQuality = 1e30f;
    EXPECT_EQ(image.JpegQuality(), 0x7FFFFFFF);
}

TEST(CfImageSettings, LastErrorIsCutTo255Characters) {
    CfImage image;
    const std::string longText(400, 'e');
    image.SetLastError(longText.c_str());
    EXPECT_EQ(strlen(image.GetLastError()), 255u);
    image.SetLastError(nullptr);
    EXPECT_STREQ(image.GetLastError(), "");
}

} // namespace
