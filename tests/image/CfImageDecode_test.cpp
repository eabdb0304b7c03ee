#include "image/CfImage.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "image/CfStdioStream.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Bmp.h"
#include "tests/support/Files.h"

namespace {

using support::TempFile;

constexpr const char *kUnknown = "Decode: Unknown or wrong format";

// Content that no decoder of any format takes.
std::vector<uint8_t> Garbage() {
    std::vector<uint8_t> bytes(300);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = uint8_t(i * 37 + 11);
    }
    bytes[0] = 'Z';
    bytes[1] = 'Q';
    return bytes;
}

// A stream that counts the seeks back to the start and where reads began.
class RecordingStream : public CfStdioStream {
public:
    explicit RecordingStream(FILE *file) : CfStdioStream(file) {}
    bool Seek(int32_t offset, int origin) override {
        if (origin == kSeekStart) {
            seeksTo.push_back(offset);
        }
        return CfStdioStream::Seek(offset, origin);
    }
    std::vector<int32_t> seeksTo;
};

TEST(CfStdioStream, ReadsSeeksAndMeasuresLikeStdio) {
    TempFile file({'a', 'b', 'c', 'd', 'e', '\n', 'x', 'y'});
    FILE *handle = fopen(file.Path().c_str(), "rb");
    ASSERT_NE(handle, nullptr);
    {
        CfStdioStream stream(handle);
        EXPECT_FALSE(stream.ownsHandle);
        EXPECT_EQ(stream.GetC(), 'a');
        EXPECT_EQ(stream.Tell(), 1);
        EXPECT_EQ(stream.Size(), 8);
        EXPECT_EQ(stream.Tell(), 1) << "Size keeps the position";
        char two[10];
        EXPECT_EQ(stream.Read(two, 2, 1), 1u);
        EXPECT_EQ(two[1], 'c');
        EXPECT_EQ(stream.Read(two, 2, 5), 2u) << "whole items only";
        EXPECT_TRUE(stream.Seek(-3, kSeekEnd));
        char line[8];
        EXPECT_EQ(stream.GetS(line, sizeof line), line);
        EXPECT_STREQ(line, "\n");
        EXPECT_TRUE(stream.Seek(1, kSeekCurrent));
        EXPECT_EQ(stream.GetC(), 'y');
        EXPECT_EQ(stream.GetC(), -1);
        EXPECT_TRUE(stream.Eof());
        EXPECT_EQ(stream.Error(), 0);
        EXPECT_FALSE(stream.Seek(-100, kSeekStart));
        EXPECT_FALSE(stream.PutC('q')) << "read-only handle";
        EXPECT_TRUE(stream.Close()) << "a borrowed handle is not closed";
        EXPECT_EQ(stream.handle, handle);
    }
    EXPECT_EQ(fseek(handle, 0, SEEK_SET), 0) << "the caller still owns an open handle";
    fclose(handle);
}

TEST(CfStdioStream, WritesAndScans) {
    FILE *handle = tmpfile();
    ASSERT_NE(handle, nullptr);
    CfStdioStream stream(handle);
    EXPECT_TRUE(stream.PutC(0x141)); // masked to 'A'
    EXPECT_TRUE(stream.CfStream::PutC(' '));
    EXPECT_EQ(stream.Write("42", 1, 2), 2u);
    EXPECT_TRUE(stream.Flush());
    EXPECT_TRUE(stream.Seek(0, kSeekStart));
    EXPECT_EQ(stream.GetC(), 'A');
    int value = 0;
    EXPECT_EQ(stream.Scanf("%d", &value), 1);
    EXPECT_EQ(value, 42);
    fclose(handle);
}

TEST(CfStdioStream, NullHandleFailsEverywhere) {
    CfStdioStream stream(nullptr);
    EXPECT_TRUE(stream.ownsHandle);
    char buffer[4];
    int value = 0;
    EXPECT_TRUE(stream.Close());
    EXPECT_EQ(stream.Read(buffer, 1, 4), 0u);
    EXPECT_EQ(stream.Write(buffer, 1, 4), 0u);
    EXPECT_FALSE(stream.Seek(0, kSeekStart));
    EXPECT_EQ(stream.Tell(), 0);
    EXPECT_EQ(stream.Size(), -1);
    EXPECT_FALSE(stream.Flush());
    EXPECT_TRUE(stream.Eof());
    EXPECT_EQ(stream.Error(), -1);
    EXPECT_FALSE(stream.PutC(1));
    EXPECT_EQ(stream.GetC(), -1);
    EXPECT_EQ(stream.GetS(buffer, 4), nullptr);
    EXPECT_EQ(stream.Scanf("%d", &value), -1);
}

TEST(CfImageDecode, NullStreamIsRefused) {
    CfImage image;
    EXPECT_FALSE(image.Decode(nullptr, FormatUnknown));
    EXPECT_STREQ(image.GetLastError(), "null file handler");
}

TEST(CfImageDecode, UnknownContentFailsAndRewindsAfterEveryAttempt) {
    FILE *handle = support::OpenBytes(Garbage());
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(fseek(handle, 5, SEEK_SET), 0); // the image starts inside the file
    RecordingStream stream(handle);
    CfImage image;
    EXPECT_FALSE(image.Decode(&stream, FormatUnknown));
    EXPECT_STREQ(image.GetLastError(), kUnknown);
    EXPECT_EQ(stream.Tell(), 5);
    // Decoders may seek anywhere while they work; after every attempt the dispatch puts the
    // stream back where the image starts, so the start shows up at least once per candidate.
    size_t rewinds = 0;
    for (int32_t offset : stream.seeksTo) {
        rewinds += offset == 5;
    }
    EXPECT_GE(rewinds, 15u);
    ASSERT_FALSE(stream.seeksTo.empty());
    EXPECT_EQ(stream.seeksTo.back(), 5);
    EXPECT_FALSE(image.IsValid());
    fclose(handle);
}

TEST(CfImageDecode, HintsOutsideTheTableFailAtOnce) {
    for (int32_t hint : {16, 21, -1, 1000}) {
        FILE *handle = support::OpenBytes(Garbage());
        ASSERT_NE(handle, nullptr);
        RecordingStream stream(handle);
        CfImage image;
        EXPECT_FALSE(image.Decode(&stream, hint));
        EXPECT_STREQ(image.GetLastError(), kUnknown) << hint;
        EXPECT_TRUE(stream.seeksTo.empty()) << "no candidate was tried for " << hint;
        fclose(handle);
    }
}

TEST(CfImageDecode, ANamedFormatFailsWithItsOwnMessage) {
    FILE *handle = support::OpenBytes(Garbage());
    ASSERT_NE(handle, nullptr);
    RecordingStream stream(handle);
    CfImage image;
    EXPECT_FALSE(image.Decode(&stream, FormatGif));
    EXPECT_STRNE(image.GetLastError(), kUnknown);
    EXPECT_STRNE(image.GetLastError(), "");
    EXPECT_EQ(stream.seeksTo.size(), 1u) << "only the named candidate";
    fclose(handle);
}

TEST(CfImageDecode, DecodeFileLeavesTheHandleOpen) {
    FILE *handle = support::OpenBytes(Garbage());
    ASSERT_NE(handle, nullptr);
    CfImage image;
    EXPECT_FALSE(image.DecodeFile(handle, FormatUnknown));
    EXPECT_EQ(fgetc(handle), 'Z') << "open and back at the start";
    fclose(handle);
}

TEST(CfImageLoad, UnopenablePathKeepsThePreviousText) {
    CfImage image;
    image.SetLastError("earlier");
    EXPECT_FALSE(image.Load("/nonexistent/folvane/none.bmp", FormatUnknown));
    EXPECT_STREQ(image.GetLastError(), "earlier");
    EXPECT_FALSE(image.Load("/nonexistent/folvane/none.bmp", FormatJpeg));
    EXPECT_STREQ(image.GetLastError(), "earlier");
    EXPECT_FALSE(image.Load(nullptr, FormatUnknown));
}

TEST(CfImageLoad, UnknownContentReportsTheDetectionMessage) {
    TempFile file(Garbage());
    CfImage image;
    EXPECT_FALSE(image.Load(file.Path().c_str(), FormatUnknown));
    EXPECT_STREQ(image.GetLastError(), kUnknown);
    // Hint 16 names no format: straight to detection, whose message stays.
    CfImage sixteen;
    EXPECT_FALSE(sixteen.Load(file.Path().c_str(), 16));
    EXPECT_STREQ(sixteen.GetLastError(), kUnknown);
}

TEST(CfImageLoad, AFailedNamedFormatKeepsItsMessageOverDetections) {
    TempFile file(Garbage());
    CfImage image;
    EXPECT_FALSE(image.Load(file.Path().c_str(), FormatPng));
    EXPECT_STRNE(image.GetLastError(), kUnknown);
    EXPECT_STRNE(image.GetLastError(), "");
}

} // namespace

namespace {

// 3 x 2, 24-bit: top row white, black, grey; bottom row red, green, blue.
std::vector<uint8_t> SmallBmp() {
    return support::MakeBmp(support::BmpFileOf(
        support::RgbPicture(3, {0xFFFFFF, 0x000000, 0x808080, 0xFF0000, 0x00FF00, 0x0000FF}),
        3780));
}

// A 1 x 1 grey TIFF, one uncompressed strip: detection reaches it after the BMP, JPEG, ICO,
// GIF and PNG attempts have failed.
std::vector<uint8_t> TinyTiff() {
    std::vector<uint8_t> bytes = {'I', 'I', 42, 0, 8, 0, 0, 0, 9, 0};
    const auto put = [&](uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            bytes.push_back(uint8_t(value >> (8 * i)));
        }
    };
    const auto entry = [&](uint16_t tag, uint16_t type, uint32_t value) {
        put(tag, 2), put(type, 2), put(1, 4), put(value, 4);
    };
    entry(256, 3, 1);   // width
    entry(257, 3, 1);   // height
    entry(258, 3, 8);   // bits per sample
    entry(259, 3, 1);   // no compression
    entry(262, 3, 1);   // min-is-black
    entry(273, 4, 122); // strip offset
    entry(277, 3, 1);   // samples per pixel
    entry(278, 3, 1);   // rows per strip
    entry(279, 4, 1);   // strip byte count
    bytes.insert(bytes.end(), {0, 0, 0, 0, 0x7F});
    return bytes;
}

TEST(CfImageLoadWithDecoders, ASuccessCarriesNoTextOfEarlierAttempts) {
    TempFile garbage(Garbage());
    TempFile tiff(TinyTiff());
    CfImage image;
    EXPECT_FALSE(image.Load(garbage.Path().c_str(), FormatUnknown));
    EXPECT_STREQ(image.GetLastError(), kUnknown);
    ASSERT_TRUE(image.Load(tiff.Path().c_str(), FormatUnknown)) << image.GetLastError();
    EXPECT_EQ(image.GetFormatType(), FormatTiff);
    EXPECT_STREQ(image.GetLastError(), "");
    EXPECT_EQ(imagetest::RawIndex(image, 0, 0), 0x7F);
}

TEST(CfImageLoadWithDecoders, AWrongButSupportedHintIsCorrectedByDetection) {
    TempFile file(SmallBmp());
    CfImage image;
    ASSERT_TRUE(image.Load(file.Path().c_str(), FormatJpeg)) << image.GetLastError();
    EXPECT_EQ(image.GetFormatType(), FormatBmp);
    EXPECT_EQ(image.GetWidth(), 3u);
    EXPECT_EQ(image.GetHeight(), 2u);
    EXPECT_EQ(image.GetBitsPerPixel(), 24);
    EXPECT_EQ(image.GetDpiX(), 96);
    EXPECT_EQ(imagetest::RawColour(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(imagetest::RawColour(image, 2, 1), 0x808080u);
}

TEST(CfImageLoadWithDecoders, DetectionReplacesWhatTheImageHeld) {
    TempFile file(SmallBmp());
    CfImage image(40, 40, 8, FormatTiff);
    ASSERT_TRUE(image.CreateAlphaChannel());
    ASSERT_TRUE(image.Load(file.Path().c_str(), FormatUnknown));
    EXPECT_EQ(image.GetWidth(), 3u);
    EXPECT_EQ(image.GetBitsPerPixel(), 24);
    EXPECT_FALSE(image.HasAlphaChannel());
    EXPECT_EQ(image.info.pixels, image.RowPointer(0));
}

TEST(CfImageLoadWithDecoders, OptionsReachTheDecoderAndHeaderOnlyTransfersNoPixels) {
    TempFile file(SmallBmp());
    CfImage image(8, 8, 24); // holds pixels that the header-only result replaces
    image.SetEscapeCode(kEscapeHeaderOnly);
    ASSERT_TRUE(image.Load(file.Path().c_str(), FormatUnknown)) << image.GetLastError();
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.info.pixels, nullptr) << "no pointer into the freed block";
    EXPECT_EQ(image.GetWidth(), 3u);
    EXPECT_EQ(image.GetHeight(), 2u);
    EXPECT_EQ(image.GetFormatType(), FormatBmp);
}

TEST(CfImageLoadWithDecoders, NamedFormatOnlyTriesThatDecoder) {
    FILE *handle = support::OpenBytes(SmallBmp());
    ASSERT_NE(handle, nullptr);
    CfImage image;
    EXPECT_FALSE(image.DecodeFile(handle, FormatTiff));
    EXPECT_STRNE(image.GetLastError(), kUnknown) << "the TIFF decoder's own message";
    EXPECT_EQ(ftell(handle), 0) << "rewound after the failed attempt";
    EXPECT_TRUE(image.DecodeFile(handle, FormatBmp));
    fclose(handle);
}

TEST(CfImageLoadWithDecoders, AViewCannotReceiveADecodedImage) {
    TempFile file(SmallBmp());
    CfImage source(2, 2, 8);
    CfImage view;
    view.ShareView(&source);
    EXPECT_FALSE(view.Load(file.Path().c_str(), FormatUnknown));
    EXPECT_EQ(view.block, source.block);
    EXPECT_EQ(view.GetWidth(), 2u);
    EXPECT_STREQ(view.GetLastError(), "Decode: a view cannot receive a decoded image");
}

} // namespace

namespace {

// A stream that cannot say where it is (a position past the 32-bit range, a pipe).
class PositionlessStream : public CfStdioStream {
public:
    explicit PositionlessStream(FILE *file) : CfStdioStream(file) {}
    int32_t Tell() override { return -1; }
};

TEST(CfImageDecode, AStreamWithoutPositionIsRefusedBeforeAnyAttempt) {
    FILE *handle =
        support::OpenBytes(support::MakeBmp(support::BmpFileOf(support::RgbPicture(2, {1, 2}))));
    ASSERT_NE(handle, nullptr);
    PositionlessStream stream(handle);
    CfImage image;
    EXPECT_FALSE(image.Decode(&stream, FormatUnknown));
    EXPECT_STREQ(image.GetLastError(), "Decode: the stream position cannot be read");
    EXPECT_EQ(ftell(handle), 0);
    fclose(handle);
}

} // namespace
