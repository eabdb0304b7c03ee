// Icon and cursor files: directory checks, frame selection, classic entries at every depth,
// entries stored as PNG, dimensions-only mode and damaged files.

#include <gtest/gtest.h>

#include "image/codecs/CfImageICO.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Ico.h"
#include "tests/support/Picture.h"
#include "tests/support/Png.h"

namespace {

using namespace imagetest;
using namespace support;

const std::vector<uint32_t> kTwoColours = {0x000000, 0xFFFFFF};

// A 2 x 2 24-bit icon: all pixels (b, g, r) = (1, 2, 3), nothing masked.
Bytes SmallIconData(int32_t width = 2, int32_t height = 2) {
    return ClassicIcon(width, height, 24, {}, SolidRows(width, height, {1, 2, 3}),
                       MaskRows(std::vector<std::string>(height, std::string(width, '0'))));
}

TEST(IcoDirectory, OtherFilesAreRejectedWithoutMessage) {
    const Bytes samples[] = {
        {},                 // empty
        {0, 0, 1},          // short directory header
        {1, 0, 1, 0, 1, 0}, // reserved not 0
        {0, 0, 3, 0, 1, 0}, // type neither icon nor cursor
        {'G', 'I', 'F', '8', '9', 'a'},
        {0, 0, 1, 0, 2, 0, 1, 1, 0, 0}, // directory shorter than its count
    };
    for (const Bytes &bytes : samples) {
        CfImageICO image;
        image.SetLastError("caller's text");
        EXPECT_FALSE(DecodeBytes(image, bytes));
        EXPECT_STREQ(image.GetLastError(), "caller's text");
        EXPECT_FALSE(image.IsValid());
    }
}

TEST(IcoDirectory, CursorsDecodeLikeIcons) {
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(image, MakeIco({{2, 2, SmallIconData()}}, 2)));
    EXPECT_EQ(image.GetFormatType(), FormatIco);
    EXPECT_EQ(PixelAt(image, 1, 1), (Bgra{1, 2, 3, 255}));
    EXPECT_FALSE(image.HasAlphaChannel());
}

TEST(IcoDirectory, FrameSelectsTheEntry) {
    const Bytes file =
        MakeIco({{2, 2, SmallIconData()},
                 {3, 1, ClassicIcon(3, 1, 24, {}, SolidRows(3, 1, {9, 8, 7}), MaskRows({"000"}))}});
    CfImageICO first;
    ASSERT_TRUE(DecodeBytes(first, file));
    EXPECT_EQ(first.GetWidth(), 2u);
    EXPECT_EQ(first.info.frameCount, 2);

    CfImageICO second;
    second.info.frame = 1;
    ASSERT_TRUE(DecodeBytes(second, file));
    EXPECT_EQ(second.GetWidth(), 3u);
    EXPECT_EQ(second.GetHeight(), 1u);
    EXPECT_EQ(PixelAt(second, 2, 0), (Bgra{9, 8, 7, 255}));
    EXPECT_EQ(second.info.frameCount, 2);
}

TEST(IcoDirectory, FrameOutOfRangeFailsButReportsTheCount) {
    const Bytes file = MakeIco({{2, 2, SmallIconData()}, {2, 2, SmallIconData()}});
    for (int32_t frame : {2, 3, -1}) {
        CfImageICO image;
        image.info.frame = frame;
        EXPECT_FALSE(DecodeBytes(image, file));
        EXPECT_EQ(image.info.frameCount, 2);
    }
    // Through detection the caller learns the count too.
    CfImage caller;
    caller.info.frame = 3;
    EXPECT_FALSE(DecodeWithHint(caller, file, FormatIco));
    EXPECT_EQ(caller.info.frameCount, 2);
    EXPECT_FALSE(DecodeWithHint(caller, file, FormatUnknown));
    EXPECT_STREQ(caller.GetLastError(), "Decode: Unknown or wrong format");
}

TEST(IcoDirectory, DetectionFindsIconsBehindTheBitmapDecoder) {
    for (uint8_t depth : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(depth);
        const uint32_t colours = depth <= 8 ? 1u << depth : 0;
        const std::vector<uint32_t> palette(colours, 0x336699);
        const Bytes pixel(depth >= 24 ? depth / 8 : 1, 0x40);
        const int32_t width = 16;
        const Bytes rows =
            depth >= 24 ? SolidRows(width, width, pixel)
                        : Bytes(static_cast<size_t>((width * depth + 31) / 32 * 4 * width), 0);
        const Bytes file =
            MakeIco({{16, 16,
                      ClassicIcon(width, width, depth, palette, rows,
                                  MaskRows(std::vector<std::string>(16, std::string(16, '0'))))}});
        CfImage image;
        ASSERT_TRUE(DecodeWithHint(image, file, FormatUnknown)) << image.GetLastError();
        EXPECT_EQ(image.GetFormatType(), FormatIco);
        EXPECT_EQ(image.GetWidth(), 16u);
        EXPECT_EQ(image.info.frameCount, 1);
    }
}

TEST(IcoEntry, DirectorySizeZeroMeans256) {
    const Bytes data =
        ClassicIcon(256, 256, 1, kTwoColours, Bytes(256 * 32, 0xFF), Bytes(256 * 32, 0x00));
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(image, MakeIco({{0, 0, data}})));
    EXPECT_EQ(image.GetWidth(), 256u);
    EXPECT_EQ(image.GetHeight(), 256u);
    EXPECT_EQ(PixelAt(image, 255, 255), (Bgra{255, 255, 255, 255}));
}

// A PNG stream cut off inside its header chunk.
Bytes DamagedPngData() {
    return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D',
            'R',  0,   0,   0,   4,    0,    0,    0,    4, 8, 6, 0,  0,   0};
}

TEST(IcoEntry, PngEntryDecodesWithItsAlpha) {
    const support::Picture picture = support::Pattern(5, 3, 4);
    const Bytes png = support::MakePng(support::PngImageOf(picture));
    const Bytes icon = MakeIco({{5, 3, png}, {2, 2, SmallIconData()}});
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(image, icon));
    EXPECT_EQ(image.GetFormatType(), FormatIco);
    EXPECT_EQ(image.info.frameCount, 2);
    ASSERT_EQ(image.GetWidth(), 5u);
    ASSERT_EQ(image.GetHeight(), 3u);
    ASSERT_TRUE(image.HasAlphaChannel());
    // The PNG's top-left pixel is the bitmap's top row, first column.
    EXPECT_EQ(PixelAt(image, 0, 2), (Bgra{picture.At(0, 0, 2), picture.At(0, 0, 1),
                                          picture.At(0, 0, 0), picture.At(0, 0, 3)}));

    CfImageICO header;
    header.SetEscapeCode(-1);
    ASSERT_TRUE(DecodeBytes(header, icon));
    EXPECT_EQ(header.GetWidth(), 5u);
    EXPECT_EQ(header.GetHeight(), 3u);
    EXPECT_EQ(header.GetFormatType(), FormatIco);
}

TEST(IcoEntry, DamagedPngEntryGivesAnEmptyImage) {
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(image, MakeIco({{4, 4, DamagedPngData()}})));
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.GetFormatType(), FormatIco);

    CfImageICO header;
    header.SetEscapeCode(-1);
    ASSERT_TRUE(DecodeBytes(header, MakeIco({{0, 0, DamagedPngData()}})));
    EXPECT_EQ(header.GetWidth(), 256u);
    EXPECT_EQ(header.GetFormatType(), FormatIco);
}

TEST(IcoEntry, DimensionsOnlyModeReadsTheDirectory) {
    const Bytes data = ClassicIcon(48, 48, 24, {}, SolidRows(48, 48, {0, 0, 0}),
                                   MaskRows(std::vector<std::string>(48, std::string(48, '0'))));
    CfImageICO image;
    image.SetEscapeCode(-1);
    ASSERT_TRUE(DecodeBytes(image, MakeIco({{48, 48, data}, {16, 16, SmallIconData(16, 16)}})));
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.GetWidth(), 48u);
    EXPECT_EQ(image.GetHeight(), 48u);
    EXPECT_EQ(image.GetFormatType(), FormatIco);
    EXPECT_EQ(image.info.frameCount, 2);
}

TEST(IcoEntry, OversizedColourTableIsSkipped) {
    std::vector<uint32_t> palette(300, 0x0A0B0C);
    palette[7] = 0x00FF00;
    Bytes data = ClassicIcon(2, 1, 8, palette, {7, 1, 0, 0}, MaskRows({"00"}));
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(image, MakeIco({{2, 1, data}})));
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{0, 255, 0, 255}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{0x0C, 0x0B, 0x0A, 255}));
}

TEST(IcoEntry, LongerInformationHeaderIsSkipped) {
    Bytes data = SmallIconData();
    data[0] = 124;
    data.insert(data.begin() + 40, 84, 0xEE);
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(image, MakeIco({{2, 2, data}})));
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{1, 2, 3, 255}));
    EXPECT_EQ(PixelAt(image, 1, 1), (Bgra{1, 2, 3, 255}));
    EXPECT_FALSE(image.HasAlphaChannel());
}

TEST(IcoEntry, DataOutsideTheFileFails) {
    IconEntry entry{2, 2, SmallIconData(), 0x7FFFFF00};
    CfImageICO image;
    EXPECT_FALSE(DecodeBytes(image, MakeIco({entry})));
    EXPECT_EQ(image.info.frameCount, 1);
}

TEST(IcoEntry, EntryWiderThanTheDirectorySaysUsesTheDirectory) {
    // The header claims 64 x 64; the directory's 2 x 2 decides how much is read.
    Bytes data = SmallIconData();
    data[4] = 64;
    data[8] = 128;
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(image, MakeIco({{2, 2, data}})));
    EXPECT_EQ(image.GetWidth(), 2u);
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{1, 2, 3, 255}));
}

TEST(IcoEntry, EveryTruncationIsHandled) {
    const Bytes full =
        MakeIco({{4, 3,
                  ClassicIcon(4, 3, 4, std::vector<uint32_t>(16, 0x123456), Bytes(12, 0x21),
                              MaskRows({"1000", "0100", "0011"}))},
                 {2, 2, ClassicIcon(2, 2, 32, {}, Bytes(16, 0x80), MaskRows({"10", "01"}))}});
    for (int32_t frame : {0, 1}) {
        for (size_t length = 0; length <= full.size(); ++length) {
            const Bytes cut(full.begin(), full.begin() + static_cast<long>(length));
            CfImageICO image;
            image.info.frame = frame;
            if (DecodeBytes(image, cut)) {
                EXPECT_TRUE(image.IsValid()) << length;
            }
        }
    }
}

} // namespace
