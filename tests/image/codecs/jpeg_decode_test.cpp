// JPEG decoding through CfImage::Decode, compared pixel for pixel with plain libjpeg decoding
// the same bytes: colour layouts, scan structures, options, damaged and hostile files.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "image/CfImage.h"
#include "image/CfStdioStream.h"
#include "image/codecs/CfImageJPG.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

using namespace imagetest;
using namespace support;

// A JPEG of the test pattern: 37 x 29 RGB unless asked otherwise (4 components: CMYK).
Bytes Encode(const JpegOptions &options = {}, int components = 3, int width = 37, int height = 29) {
    return MakeJpeg(Pattern(width, height, components), options);
}

// The image must hold exactly the reference's samples: rows bottom-up, blue-green-red for
// colour, palette indices with a grey ramp for grey.
void ExpectSamePixels(const CfImage &image, const DecodedJpeg &ref) {
    ASSERT_TRUE(ref.ok);
    const Picture &p = ref.picture;
    ASSERT_TRUE(image.IsValid());
    ASSERT_EQ(image.GetWidth(), uint32_t(p.width));
    ASSERT_EQ(image.GetHeight(), uint32_t(p.height));
    if (p.components == 1) {
        ASSERT_EQ(image.GetBitsPerPixel(), 8);
        ASSERT_EQ(image.GetColorCount(), 256u);
        for (int i = 0; i < 256; ++i) {
            RGBQUAD entry = image.PaletteEntry(uint8_t(i));
            ASSERT_EQ(entry.rgbRed, i);
            ASSERT_EQ(entry.rgbGreen, i);
            ASSERT_EQ(entry.rgbBlue, i);
        }
    } else {
        ASSERT_EQ(image.GetBitsPerPixel(), 24);
        ASSERT_EQ(image.GetColorCount(), 0u);
    }
    int mismatches = 0;
    for (int y = 0; y < p.height; ++y) {
        const uint8_t *row = image.RowPointer(uint32_t(p.height - 1 - y));
        for (int x = 0; x < p.width; ++x) {
            if (p.components == 1) {
                mismatches += row[x] != p.At(x, y, 0);
                continue;
            }
            const uint8_t *bgr = row + 3 * x;
            mismatches +=
                bgr[0] != p.At(x, y, 2) || bgr[1] != p.At(x, y, 1) || bgr[2] != p.At(x, y, 0);
        }
        const size_t used = size_t(p.width) * (p.components == 1 ? 1 : 3);
        for (size_t i = used; i < image.GetRowStride(); ++i) {
            mismatches += row[i] != 0; // padding is zeroed
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// CMYK as delivered by the library, each channel scaled by the fourth, truncated.
void ExpectCmykConversion(const CfImage &image, const DecodedJpeg &ref) {
    ASSERT_TRUE(ref.ok);
    const Picture &p = ref.picture;
    ASSERT_EQ(p.components, 4);
    ASSERT_EQ(image.GetBitsPerPixel(), 24);
    int mismatches = 0;
    for (int y = 0; y < p.height; ++y) {
        const uint8_t *row = image.RowPointer(uint32_t(p.height - 1 - y));
        for (int x = 0; x < p.width; ++x) {
            const unsigned k = p.At(x, y, 3);
            mismatches += row[3 * x] != p.At(x, y, 2) * k / 255 ||
                          row[3 * x + 1] != p.At(x, y, 1) * k / 255 ||
                          row[3 * x + 2] != p.At(x, y, 0) * k / 255;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

struct Layout {
    const char *name;
    J_COLOR_SPACE input;
    int h;
    int v;
    bool progressive;
    int restartRows;
    int width;
    int height;
};

class JpegLayouts : public ::testing::TestWithParam<Layout> {};

TEST_P(JpegLayouts, DecodesExactlyAsLibjpeg) {
    const Layout &l = GetParam();
    JpegOptions o;
    o.hSampling = l.h;
    o.vSampling = l.v;
    o.progressive = l.progressive;
    o.restartRows = l.restartRows;
    Bytes jpeg = Encode(o, l.input == JCS_GRAYSCALE ? 1 : 3, l.width, l.height);
    CfImage image;
    ASSERT_TRUE(DecodeWithHint(image, jpeg, FormatUnknown)) << image.GetLastError();
    EXPECT_EQ(image.GetFormatType(), FormatJpeg);
    ExpectSamePixels(image, DecodeJpeg(jpeg));
}

INSTANTIATE_TEST_SUITE_P(
    Jpeg, JpegLayouts,
    ::testing::Values(Layout{"grey", JCS_GRAYSCALE, 0, 0, false, 0, 37, 29},
                      Layout{"s444", JCS_RGB, 1, 1, false, 0, 37, 29},
                      Layout{"s422", JCS_RGB, 2, 1, false, 0, 37, 29},
                      Layout{"s420", JCS_RGB, 2, 2, false, 0, 37, 29},
                      Layout{"s440", JCS_RGB, 1, 2, false, 0, 37, 29},
                      Layout{"s411", JCS_RGB, 4, 1, false, 0, 67, 9},
                      Layout{"progressive420", JCS_RGB, 2, 2, true, 0, 61, 45},
                      Layout{"progressiveGrey", JCS_GRAYSCALE, 0, 0, true, 0, 30, 50},
                      Layout{"restarts", JCS_RGB, 2, 2, false, 1, 64, 48},
                      Layout{"restartsProgressive", JCS_RGB, 2, 1, true, 2, 50, 40},
                      Layout{"onePixel", JCS_RGB, 2, 2, false, 0, 1, 1},
                      Layout{"wideRow", JCS_RGB, 2, 2, false, 0, 1001, 3}),
    [](const auto &p) { return std::string(p.param.name); });

class JpegFourComponents : public ::testing::TestWithParam<std::pair<J_COLOR_SPACE, bool>> {};

TEST_P(JpegFourComponents, ScalesEachChannelByTheFourth) {
    JpegOptions o;
    o.fileColourSpace = GetParam().first;
    o.adobe = GetParam().second;
    o.jfif = false;
    Bytes jpeg = Encode(o, 4);
    CfImage image;
    ASSERT_TRUE(DecodeWithHint(image, jpeg, FormatUnknown)) << image.GetLastError();
    ExpectCmykConversion(image, DecodeJpeg(jpeg));
}

INSTANTIATE_TEST_SUITE_P(Jpeg, JpegFourComponents,
                         ::testing::Values(std::make_pair(JCS_CMYK, true),
                                           std::make_pair(JCS_CMYK, false),
                                           std::make_pair(JCS_YCCK, true),
                                           std::make_pair(JCS_YCCK, false)));

TEST(JpegDecode, CmykPixelValues) {
    // (c, m, y, k) = (255, 128, 0, 255) is red 255, green 128, blue 0; with k = 0 all is 0.
    for (uint8_t k : {255, 0}) {
        JpegOptions o;
        o.quality = 100;
        Picture inks = Blank(16, 16, 4);
        for (std::size_t i = 0; i < inks.samples.size(); i += 4) {
            inks.samples[i] = 255;
            inks.samples[i + 1] = 128;
            inks.samples[i + 3] = k;
        }
        CfImage image;
        ASSERT_TRUE(DecodeWithHint(image, MakeJpeg(inks, o), FormatUnknown));
        const uint8_t *p = image.RowPointer(5) + 3 * 7;
        EXPECT_EQ(p[2], k == 255 ? 255 : 0);
        EXPECT_EQ(p[1], k == 255 ? 128 : 0);
        EXPECT_EQ(p[0], 0);
    }
}

TEST(JpegDecode, TruncatedMidScanStillDecodes) {
    for (bool progressive : {false, true}) {
        JpegOptions o;
        o.progressive = progressive;
        Bytes jpeg = Encode(o, 3, 80, 64);
        jpeg.resize(jpeg.size() * 6 / 10);
        CfImage image;
        ASSERT_TRUE(DecodeWithHint(image, jpeg, FormatJpeg)) << image.GetLastError();
        ExpectSamePixels(image, DecodeJpeg(jpeg));
    }
}

TEST(JpegDecode, EmptyAndCorruptInput) {
    CfImage image;
    EXPECT_FALSE(DecodeWithHint(image, {}, FormatJpeg));
    EXPECT_STREQ(image.GetLastError(), "Empty input file");

    EXPECT_FALSE(DecodeWithHint(image, {}, FormatUnknown));
    EXPECT_STREQ(image.GetLastError(), "Decode: Unknown or wrong format");

    EXPECT_FALSE(DecodeWithHint(image, {'G', 'I', 'F', '8', '9', 'a', 0, 0}, FormatJpeg));
    EXPECT_STREQ(image.GetLastError(), "Not a JPEG file: starts with 0x47 0x49");

    Bytes jpeg = Encode({});
    jpeg.resize(jpeg.size() / 3); // ends inside the tables, before any scan
    EXPECT_FALSE(DecodeWithHint(image, jpeg, FormatJpeg));
    EXPECT_FALSE(image.IsValid());
    EXPECT_STRNE(image.GetLastError(), "");
}

TEST(JpegDecode, HeaderOnly) {
    Bytes jpeg = Encode({}, 3, 123, 45);
    CfImage image;
    image.SetEscapeCode(kEscapeHeaderOnly);
    image.info.jpegScale = 2;
    ASSERT_TRUE(DecodeWithHint(image, jpeg, FormatUnknown));
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.GetWidth(), 62u);
    EXPECT_EQ(image.GetHeight(), 23u);
    EXPECT_EQ(image.GetFormatType(), FormatJpeg);
    EXPECT_EQ(image.GetDpiX(), 96);
}

TEST(JpegDecode, CancelLeavesTheErrorText) {
    Bytes jpeg = Encode({});
    CfImage image;
    image.SetLastError("before");
    image.SetEscapeCode(7);
    EXPECT_FALSE(DecodeWithHint(image, jpeg, FormatJpeg));
    EXPECT_STREQ(image.GetLastError(), "before");
}

TEST(JpegDecode, HugeFrameFailsOnTheMemoryCeiling) {
    for (bool progressive : {false, true}) {
        JpegOptions o;
        o.progressive = progressive;
        Bytes jpeg = Encode(o);
        SetFrameSize(jpeg, 60000, 60000);
        CfImage image;
        EXPECT_FALSE(DecodeWithHint(image, jpeg, FormatJpeg));
        EXPECT_STREQ(image.GetLastError(), "CFIMAGE_MAX_MEMORY exceeded");
    }
}

TEST(JpegDecode, LibraryMemoryHasACeilingToo) {
    // Within the bitmap ceiling, but a progressive frame whose coefficients alone would need
    // well over the library's ceiling (16000 x 16000 x 3 x 2 bytes).
    JpegOptions o;
    o.progressive = true;
    o.hSampling = 1;
    o.vSampling = 1;
    Bytes jpeg = Encode(o);
    SetFrameSize(jpeg, 16000, 16000);
    CfImage image;
    image.SetFormatOption(JpegOptionGrayscale, FormatJpeg); // 8-bit bitmap: 244 MiB
    EXPECT_FALSE(DecodeWithHint(image, jpeg, FormatJpeg));
    EXPECT_STREQ(image.GetLastError(), "Backing store not supported");
}

TEST(JpegDecode, GreyscaleOption) {
    Bytes jpeg = Encode({});
    CfImage image;
    image.SetFormatOption(JpegOptionGrayscale, FormatJpeg);
    ASSERT_TRUE(DecodeWithHint(image, jpeg, FormatUnknown)) << image.GetLastError();
    JpegReadOptions r;
    r.colourSpace = JCS_GRAYSCALE;
    ExpectSamePixels(image, DecodeJpeg(jpeg, r));

    CfImage fromCmyk;
    fromCmyk.SetFormatOption(JpegOptionGrayscale, FormatJpeg);
    EXPECT_FALSE(DecodeWithHint(fromCmyk, Encode({}, 4), FormatJpeg));
    EXPECT_STREQ(fromCmyk.GetLastError(), "Unsupported color conversion request");
}

TEST(JpegDecode, ScaleAndPlainUpsampling) {
    Bytes jpeg = Encode({});
    for (uint8_t denom : {2, 4, 8}) {
        CfImage image;
        image.info.jpegScale = denom;
        image.SetFormatOption(JpegOptionNoSmoothing, FormatJpeg);
        ASSERT_TRUE(DecodeWithHint(image, jpeg, FormatUnknown));
        JpegReadOptions r;
        r.scaleDenom = denom;
        r.fancyUpsampling = false;
        ExpectSamePixels(image, DecodeJpeg(jpeg, r));
    }
}

TEST(JpegDecode, QuantizedPalette) {
    Bytes jpeg = Encode({});
    for (bool onePass : {false, true}) {
        CfImage image;
        image.SetFormatOption(JpegOptionQuantize | (onePass ? JpegOptionOnePass : 0u), FormatJpeg);
        image.info.jpegQuality = 64.4f; // 64 colours
        ASSERT_TRUE(DecodeWithHint(image, jpeg, FormatUnknown)) << image.GetLastError();
        JpegReadOptions r;
        r.quantizeColours = 64;
        r.twoPass = !onePass;
        DecodedJpeg ref = DecodeJpeg(jpeg, r);
        ASSERT_EQ(image.GetBitsPerPixel(), 8);
        ASSERT_EQ(image.GetColorCount(), 256u);
        const size_t colours = ref.map[0].size();
        ASSERT_LE(colours, 64u);
        for (size_t i = 0; i < 256; ++i) {
            RGBQUAD e = image.PaletteEntry(uint8_t(i));
            if (i < colours) {
                EXPECT_EQ(e.rgbRed, ref.map[0][i]);
                EXPECT_EQ(e.rgbGreen, ref.map[1][i]);
                EXPECT_EQ(e.rgbBlue, ref.map[2][i]);
            } else {
                EXPECT_EQ(e.rgbRed | e.rgbGreen | e.rgbBlue, 0);
            }
        }
        int mismatches = 0;
        const Picture &p = ref.picture;
        for (int y = 0; y < p.height; ++y) {
            const uint8_t *row = image.RowPointer(uint32_t(p.height - 1 - y));
            for (int x = 0; x < p.width; ++x) {
                mismatches += row[x] != p.At(x, y, 0);
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(JpegDecode, DetectedFromAFileByLoad) {
    Bytes jpeg = Encode({});
    const TempFile file(jpeg);
    CfImage image;
    EXPECT_TRUE(LoadFile(image, file.Path())) << image.GetLastError();
    EXPECT_EQ(image.GetFormatType(), FormatJpeg);
    ExpectSamePixels(image, DecodeJpeg(jpeg));
}

TEST(JpegDecode, ExifReaderRunsAheadAndRestoresThePosition) {
    JpegOptions o;
    o.markers.push_back({JPEG_COM, Bytes{'h', 'i'}});
    Bytes jpeg = Encode(o);
    Bytes withPrefix = {'x', 'y', 'z'};
    withPrefix.insert(withPrefix.end(), jpeg.begin(), jpeg.end());
    FILE *file = OpenBytes(withPrefix);
    CfStdioStream stream(file);
    stream.Seek(3, kSeekStart);
    CfImageJPG codec;
    EXPECT_FALSE(codec.ReadExif(&stream));
    EXPECT_EQ(stream.Tell(), 3);
    EXPECT_STREQ(codec.info.exif.comment, "hi");
    EXPECT_EQ(codec.info.exif.width, 37);
    EXPECT_EQ(codec.info.exif.height, 29);
    EXPECT_EQ(codec.info.exif.isColor, 1);
    EXPECT_EQ(codec.info.exif.process, 0xC0);
    ASSERT_NE(codec.GetExifReader(), nullptr);
    EXPECT_TRUE(codec.Decode(&stream)) << codec.GetLastError();
    std::fclose(file);
}

} // namespace

namespace {

Bytes ExifJpeg(bool progressive) {
    // An EXIF block with a sub-directory and a thumbnail, so damage lands in every part.
    // clang-format off
    Bytes tiff = {
        'I', 'I', 42, 0, 8, 0, 0, 0,
        2, 0,                                           // IFD0: two entries
        0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0,       //   Orientation 6
        0x69, 0x87, 4, 0, 1, 0, 0, 0, 38, 0, 0, 0,      //   ExifOffset 38
        0, 0, 0, 0,                                     //   no next directory
        1, 0,                                           // Exif IFD: one entry
        0x27, 0x88, 3, 0, 1, 0, 0, 0, 100, 0, 0, 0,     //   ISO 100
        0, 0, 0, 0};
    // clang-format on
    Bytes payload = {'E', 'x', 'i', 'f', 0, 0};
    payload.insert(payload.end(), tiff.begin(), tiff.end());
    JpegOptions o;
    o.progressive = progressive;
    o.restartRows = 1;
    o.markers.push_back({JPEG_APP0 + 1, payload});
    o.markers.push_back({JPEG_COM, Bytes{'c'}});
    return Encode(o);
}

TEST(JpegHostile, EveryTruncation) {
    for (bool progressive : {false, true}) {
        const Bytes whole = ExifJpeg(progressive);
        const size_t scan = FindMarker(whole, 0xDA);
        ASSERT_NE(scan, std::string::npos);
        for (size_t n = 0; n < whole.size(); n += 3) {
            Bytes cut(whole.begin(), whole.begin() + long(n));
            CfImage image;
            bool ok = DecodeWithHint(image, cut, FormatJpeg);
            if (!progressive && n > scan + 20) {
                // Inside the only scan: missing data is not an error. (A progressive file
                // cut inside a later scan's tables is.)
                ASSERT_TRUE(ok) << n << " " << image.GetLastError();
                ASSERT_TRUE(image.IsValid());
            } else if (n < scan || !ok) {
                ASSERT_FALSE(ok) << n;
                ASSERT_STRNE(image.GetLastError(), "");
            }
        }
    }
}

TEST(JpegHostile, CorruptedBytes) {
    uint32_t seed = 1;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (bool progressive : {false, true}) {
        const Bytes whole = ExifJpeg(progressive);
        for (int round = 0; round < 300; ++round) {
            Bytes bytes = whole;
            for (int k = 0; k < 4; ++k) {
                bytes[next() % bytes.size()] = static_cast<uint8_t>(next());
            }
            CfImage image;
            if (DecodeWithHint(image, bytes, FormatUnknown)) {
                ASSERT_TRUE(image.IsValid());
                ASSERT_EQ(image.GetFormatType(), FormatJpeg);
            } else {
                ASSERT_STRNE(image.GetLastError(), "");
            }
        }
    }
}

} // namespace
