// JPEG decoding through CfImage::Decode, compared pixel for pixel with plain libjpeg decoding
// the same bytes: colour layouts, scan structures, options, damaged and hostile files.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "JpegTestSupport.h"
#include "image/CfImage.h"
#include "image/CfStdioStream.h"
#include "image/codecs/CfImageJPG.h"

using namespace jpegtest;

namespace {

// The image must hold exactly the reference's samples: rows bottom-up, blue-green-red for
// colour, palette indices with a grey ramp for grey.
void ExpectSamePixels(const CfImage &image, const Reference &ref) {
    ASSERT_TRUE(ref.ok);
    ASSERT_TRUE(image.IsValid());
    ASSERT_EQ(image.GetWidth(), uint32_t(ref.width));
    ASSERT_EQ(image.GetHeight(), uint32_t(ref.height));
    if (ref.components == 1) {
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
    for (int y = 0; y < ref.height; ++y) {
        const uint8_t *row = image.RowPointer(uint32_t(ref.height - 1 - y));
        for (int x = 0; x < ref.width; ++x) {
            if (ref.components == 1) {
                mismatches += row[x] != ref.pixels[size_t(y) * size_t(ref.width) + size_t(x)];
                continue;
            }
            uint8_t expected[3];
            ExpectedBgr(ref, x, y, expected);
            mismatches += std::memcmp(row + 3 * x, expected, 3) != 0;
        }
        const size_t used = size_t(ref.width) * (ref.components == 1 ? 1 : 3);
        for (size_t i = used; i < image.GetRowStride(); ++i) {
            mismatches += row[i] != 0; // padding is zeroed
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// CMYK as delivered by the library, each channel scaled by the fourth, truncated.
void ExpectCmykConversion(const CfImage &image, const Reference &ref) {
    ASSERT_TRUE(ref.ok);
    ASSERT_EQ(ref.components, 4);
    ASSERT_EQ(image.GetBitsPerPixel(), 24);
    int mismatches = 0;
    for (int y = 0; y < ref.height; ++y) {
        const uint8_t *row = image.RowPointer(uint32_t(ref.height - 1 - y));
        for (int x = 0; x < ref.width; ++x) {
            const uint8_t *s = &ref.pixels[(size_t(y) * size_t(ref.width) + size_t(x)) * 4];
            const unsigned k = s[3];
            mismatches += row[3 * x] != s[2] * k / 255 || row[3 * x + 1] != s[1] * k / 255 ||
                          row[3 * x + 2] != s[0] * k / 255;
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
    EncodeOptions o;
    o.input = l.input;
    o.hSampling = l.h;
    o.vSampling = l.v;
    o.progressive = l.progressive;
    o.restartRows = l.restartRows;
    o.width = l.width;
    o.height = l.height;
    Bytes jpeg = Encode(o);
    CfImage image;
    ASSERT_TRUE(DecodeBytes(image, jpeg, FormatUnknown)) << image.GetLastError();
    EXPECT_EQ(image.GetFormatType(), FormatJpeg);
    ExpectSamePixels(image, Decode(jpeg));
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
    EncodeOptions o;
    o.input = JCS_CMYK;
    o.file = GetParam().first;
    o.writeAdobe = GetParam().second;
    o.writeJfif = false;
    Bytes jpeg = Encode(o);
    CfImage image;
    ASSERT_TRUE(DecodeBytes(image, jpeg, FormatUnknown)) << image.GetLastError();
    ExpectCmykConversion(image, Decode(jpeg));
}

INSTANTIATE_TEST_SUITE_P(Jpeg, JpegFourComponents,
                         ::testing::Values(std::make_pair(JCS_CMYK, true),
                                           std::make_pair(JCS_CMYK, false),
                                           std::make_pair(JCS_YCCK, true),
                                           std::make_pair(JCS_YCCK, false)));

TEST(JpegDecode, CmykPixelValues) {
    // (c, m, y, k) = (255, 128, 0, 255) is red 255, green 128, blue 0; with k = 0 all is 0.
    for (uint8_t k : {255, 0}) {
        EncodeOptions o;
        o.input = JCS_CMYK;
        o.width = 16;
        o.height = 16;
        o.quality = 100;
        o.fill = {255, 128, 0, k};
        CfImage image;
        ASSERT_TRUE(DecodeBytes(image, Encode(o), FormatUnknown));
        const uint8_t *p = image.RowPointer(5) + 3 * 7;
        EXPECT_EQ(p[2], k == 255 ? 255 : 0);
        EXPECT_EQ(p[1], k == 255 ? 128 : 0);
        EXPECT_EQ(p[0], 0);
    }
}

TEST(JpegDecode, TruncatedMidScanStillDecodes) {
    for (bool progressive : {false, true}) {
        EncodeOptions o;
        o.width = 80;
        o.height = 64;
        o.progressive = progressive;
        Bytes jpeg = Encode(o);
        jpeg.resize(jpeg.size() * 6 / 10);
        CfImage image;
        ASSERT_TRUE(DecodeBytes(image, jpeg, FormatJpeg)) << image.GetLastError();
        ExpectSamePixels(image, Decode(jpeg));
    }
}

TEST(JpegDecode, EmptyAndCorruptInput) {
    CfImage image;
    EXPECT_FALSE(DecodeBytes(image, {}, FormatJpeg));
    EXPECT_STREQ(image.GetLastError(), "Empty input file");

    EXPECT_FALSE(DecodeBytes(image, {}, FormatUnknown));
    EXPECT_STREQ(image.GetLastError(), "Decode: Unknown or wrong format");

    EXPECT_FALSE(DecodeBytes(image, {'G', 'I', 'F', '8', '9', 'a', 0, 0}, FormatJpeg));
    EXPECT_STREQ(image.GetLastError(), "Not a JPEG file: starts with 0x47 0x49");

    Bytes jpeg = Encode({});
    jpeg.resize(jpeg.size() / 3); // ends inside the tables, before any scan
    EXPECT_FALSE(DecodeBytes(image, jpeg, FormatJpeg));
    EXPECT_FALSE(image.IsValid());
    EXPECT_STRNE(image.GetLastError(), "");
}

TEST(JpegDecode, HeaderOnly) {
    EncodeOptions o;
    o.width = 123;
    o.height = 45;
    Bytes jpeg = Encode(o);
    CfImage image;
    image.SetEscapeCode(kEscapeHeaderOnly);
    image.info.jpegScale = 2;
    ASSERT_TRUE(DecodeBytes(image, jpeg, FormatUnknown));
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
    EXPECT_FALSE(DecodeBytes(image, jpeg, FormatJpeg));
    EXPECT_STREQ(image.GetLastError(), "before");
}

// Sets the frame size of the first SOFn to width x height.
void PatchFrameSize(Bytes &jpeg, int sof, unsigned width, unsigned height) {
    size_t at = FindMarker(jpeg, sof);
    ASSERT_NE(at, std::string::npos);
    jpeg[at + 5] = uint8_t(height >> 8);
    jpeg[at + 6] = uint8_t(height);
    jpeg[at + 7] = uint8_t(width >> 8);
    jpeg[at + 8] = uint8_t(width);
}

TEST(JpegDecode, HugeFrameFailsOnTheMemoryCeiling) {
    for (bool progressive : {false, true}) {
        EncodeOptions o;
        o.progressive = progressive;
        Bytes jpeg = Encode(o);
        PatchFrameSize(jpeg, progressive ? 0xC2 : 0xC0, 60000, 60000);
        CfImage image;
        EXPECT_FALSE(DecodeBytes(image, jpeg, FormatJpeg));
        EXPECT_STREQ(image.GetLastError(), "CFIMAGE_MAX_MEMORY exceeded");
    }
}

TEST(JpegDecode, LibraryMemoryHasACeilingToo) {
    // Within the bitmap ceiling, but a progressive frame whose coefficients alone would need
    // well over the library's ceiling (16000 x 16000 x 3 x 2 bytes).
    EncodeOptions o;
    o.progressive = true;
    o.hSampling = 1;
    o.vSampling = 1;
    Bytes jpeg = Encode(o);
    PatchFrameSize(jpeg, 0xC2, 16000, 16000);
    CfImage image;
    image.SetFormatOption(JpegOptionGrayscale, FormatJpeg); // 8-bit bitmap: 244 MiB
    EXPECT_FALSE(DecodeBytes(image, jpeg, FormatJpeg));
    EXPECT_STREQ(image.GetLastError(), "Backing store not supported");
}

TEST(JpegDecode, GreyscaleOption) {
    Bytes jpeg = Encode({});
    CfImage image;
    image.SetFormatOption(JpegOptionGrayscale, FormatJpeg);
    ASSERT_TRUE(DecodeBytes(image, jpeg, FormatUnknown)) << image.GetLastError();
    ReferenceOptions r;
    r.grayscale = true;
    ExpectSamePixels(image, Decode(jpeg, r));

    EncodeOptions cmyk;
    cmyk.input = JCS_CMYK;
    CfImage fromCmyk;
    fromCmyk.SetFormatOption(JpegOptionGrayscale, FormatJpeg);
    EXPECT_FALSE(DecodeBytes(fromCmyk, Encode(cmyk), FormatJpeg));
    EXPECT_STREQ(fromCmyk.GetLastError(), "Unsupported color conversion request");
}

TEST(JpegDecode, ScaleAndPlainUpsampling) {
    Bytes jpeg = Encode({});
    for (uint8_t denom : {2, 4, 8}) {
        CfImage image;
        image.info.jpegScale = denom;
        image.SetFormatOption(JpegOptionNoSmoothing, FormatJpeg);
        ASSERT_TRUE(DecodeBytes(image, jpeg, FormatUnknown));
        ReferenceOptions r;
        r.scaleDenom = denom;
        r.fancyUpsampling = false;
        ExpectSamePixels(image, Decode(jpeg, r));
    }
}

TEST(JpegDecode, QuantizedPalette) {
    Bytes jpeg = Encode({});
    for (bool onePass : {false, true}) {
        CfImage image;
        image.SetFormatOption(JpegOptionQuantize | (onePass ? JpegOptionOnePass : 0u), FormatJpeg);
        image.info.jpegQuality = 64.4f; // 64 colours
        ASSERT_TRUE(DecodeBytes(image, jpeg, FormatUnknown)) << image.GetLastError();
        ReferenceOptions r;
        r.quantizeColors = 64;
        r.twoPass = !onePass;
        Reference ref = Decode(jpeg, r);
        ASSERT_EQ(image.GetBitsPerPixel(), 8);
        ASSERT_EQ(image.GetColorCount(), 256u);
        const size_t colours = ref.colormap[0].size();
        ASSERT_LE(colours, 64u);
        for (size_t i = 0; i < 256; ++i) {
            RGBQUAD e = image.PaletteEntry(uint8_t(i));
            if (i < colours) {
                EXPECT_EQ(e.rgbRed, ref.colormap[0][i]);
                EXPECT_EQ(e.rgbGreen, ref.colormap[1][i]);
                EXPECT_EQ(e.rgbBlue, ref.colormap[2][i]);
            } else {
                EXPECT_EQ(e.rgbRed | e.rgbGreen | e.rgbBlue, 0);
            }
        }
        int mismatches = 0;
        for (int y = 0; y < ref.height; ++y) {
            const uint8_t *row = image.RowPointer(uint32_t(ref.height - 1 - y));
            for (int x = 0; x < ref.width; ++x) {
                mismatches += row[x] != ref.pixels[size_t(y) * size_t(ref.width) + size_t(x)];
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(JpegDecode, DetectedFromAFileByLoad) {
    Bytes jpeg = Encode({});
    char path[] = "/tmp/folvane_jpeg_XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    FILE *f = fdopen(fd, "wb");
    fwrite(jpeg.data(), 1, jpeg.size(), f);
    fclose(f);
    CfImage image;
    EXPECT_TRUE(image.Load(path, FormatUnknown)) << image.GetLastError();
    EXPECT_EQ(image.GetFormatType(), FormatJpeg);
    ExpectSamePixels(image, Decode(jpeg));
    std::remove(path);
}

TEST(JpegDecode, ExifReaderRunsAheadAndRestoresThePosition) {
    EncodeOptions o;
    o.markers.push_back({JPEG_COM, Bytes{'h', 'i'}});
    Bytes jpeg = Encode(o);
    Bytes withPrefix = {'x', 'y', 'z'};
    withPrefix.insert(withPrefix.end(), jpeg.begin(), jpeg.end());
    FILE *file = TempFileWith(withPrefix);
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
    EncodeOptions o;
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
            bool ok = DecodeBytes(image, cut, FormatJpeg);
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
            if (DecodeBytes(image, bytes, FormatUnknown)) {
                ASSERT_TRUE(image.IsValid());
                ASSERT_EQ(image.GetFormatType(), FormatJpeg);
            } else {
                ASSERT_STRNE(image.GetLastError(), "");
            }
        }
    }
}

} // namespace
