// The EXIF block and directory walk: values in both byte orders, the fallbacks between tags,
// and every bound a hostile block can push against.
#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "image/codecs/CfExifReader.h"
#include "tests/support/Exif.h"

namespace {

using namespace support;

struct Parsed {
    bool ok;
    ExifRecord record;
    std::string error;
};

Parsed Parse(const ExifBlockBuilder &builder) {
    std::vector<uint8_t> payload = builder.Payload();
    CfExifReader reader;
    Parsed result;
    result.ok = reader.ParseExifBlock(payload.data(), payload.size());
    result.record = *reader.GetRecord();
    result.record.thumbnailData = nullptr; // points into `payload`
    result.error = reader.GetLastError();
    return result;
}

class ExifByteOrder : public ::testing::TestWithParam<bool> {};

TEST_P(ExifByteOrder, CameraAndExposureValues) {
    ExifBlockBuilder b(GetParam());
    int ifd0 = b.AddDirectory();
    int sub = b.AddDirectory();
    b.Ascii(ifd0, 0x010F, "Canon");
    b.Ascii(ifd0, 0x0110, "Canon EOS 40D with a model name far longer than the field");
    b.Short(ifd0, 0x0112, 6);
    b.Rational(ifd0, 0x011A, 300, 1);
    b.Rational(ifd0, 0x011B, 150, 1);
    b.Short(ifd0, 0x0128, 2);
    b.SubDirectory(ifd0, 0x8769, sub);
    b.Rational(sub, 0x829A, 1, 125);
    b.Rational(sub, 0x829D, 28, 10);
    b.Short(sub, 0x8822, 3);
    b.Short(sub, 0x8827, 100);
    b.Undefined(sub, 0x9000, {'0', '2', '2', '1'});
    b.Ascii(sub, 0x9003, "2008:05:30 15:56:01");
    b.Rational(sub, 0x9102, 5, 2);
    b.SignedRational(sub, 0x9203, -3, 2);
    b.SignedRational(sub, 0x9204, -2, 3);
    b.Rational(sub, 0x9206, 7, 2);
    b.Short(sub, 0x9207, 5);
    b.Short(sub, 0x9208, 4);
    b.Short(sub, 0x9209, 0x19);
    b.Rational(sub, 0x920A, 35, 1);
    b.Long(sub, 0xA002, 3888);
    b.Long(sub, 0xA003, 2592);
    b.Rational(sub, 0xA20E, 3888000, 876);
    b.Rational(sub, 0xA20F, 2592000, 583);
    b.Short(sub, 0xA210, 2);

    Parsed p = Parse(b);
    ASSERT_TRUE(p.ok) << p.error;
    const ExifRecord &r = p.record;
    EXPECT_STREQ(r.cameraMake, "Canon");
    EXPECT_EQ(std::string(r.cameraModel), std::string("Canon EOS 40D with a model name far lo"
                                                      "nger than the field")
                                              .substr(0, 39));
    EXPECT_EQ(r.orientation, 6);
    EXPECT_FLOAT_EQ(r.xResolution, 300);
    EXPECT_FLOAT_EQ(r.yResolution, 150);
    EXPECT_FLOAT_EQ(r.resolutionUnit, 1.0f);
    EXPECT_FLOAT_EQ(r.exposureTime, 0.008f);
    EXPECT_FLOAT_EQ(r.apertureFNumber, 2.8f);
    EXPECT_EQ(r.exposureProgram, 3);
    EXPECT_EQ(r.isoEquivalent, 100);
    EXPECT_STREQ(r.version, "0221");
    EXPECT_STREQ(r.dateTime, "2008:05:30 15:56:01");
    EXPECT_EQ(r.compressionLevel, 2);
    EXPECT_FLOAT_EQ(r.brightness, -1.5f);
    EXPECT_FLOAT_EQ(r.exposureBias, -2.0f / 3);
    EXPECT_FLOAT_EQ(r.distance, 3.5f);
    EXPECT_EQ(r.meteringMode, 5);
    EXPECT_EQ(r.lightSource, 4);
    EXPECT_EQ(r.flashUsed, 1);
    EXPECT_FLOAT_EQ(r.focalLength, 35);
    EXPECT_FLOAT_EQ(r.focalPlaneUnits, 1.0f);
    EXPECT_NEAR(r.ccdWidth, 3888 * 1.0 / (3888000.0 / 876), 1e-4);
}

TEST_P(ExifByteOrder, FallbacksAndScaling) {
    ExifBlockBuilder b(GetParam());
    int ifd0 = b.AddDirectory();
    b.Short(ifd0, 0x8827, 2);             // ISO stored divided by 200
    b.SignedRational(ifd0, 0x9201, 5, 1); // ShutterSpeedValue without ExposureTime
    b.Rational(ifd0, 0x9202, 4, 1);       // ApertureValue without FNumber
    b.Rational(ifd0, 0x9205, 6, 1);       // MaxApertureValue: FNumber already set
    b.Short(ifd0, 0x9209, 0x10);          // flash off, auto
    Parsed p = Parse(b);
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.record.isoEquivalent, 400);
    EXPECT_FLOAT_EQ(p.record.exposureTime, 1.0f / 32);
    EXPECT_FLOAT_EQ(p.record.apertureFNumber, 4.0f);
    EXPECT_EQ(p.record.flashUsed, 0);
}

TEST_P(ExifByteOrder, ExposureTimeWinsOverShutterSpeed) {
    ExifBlockBuilder b(GetParam());
    int ifd0 = b.AddDirectory();
    b.Rational(ifd0, 0x829A, 1, 60);
    b.SignedRational(ifd0, 0x9201, 5, 1);
    Parsed p = Parse(b);
    ASSERT_TRUE(p.ok);
    EXPECT_FLOAT_EQ(p.record.exposureTime, 1.0f / 60);
}

TEST_P(ExifByteOrder, ResolutionUnits) {
    const struct {
        uint16_t unit;
        float inches;
    } cases[] = {{1, 1.0f},
                 {2, 1.0f},
                 {3, 0.3937007784843445f},
                 {4, 0.03937007859349251f},
                 {5, 3.937007932108827e-05f}};
    for (const auto &c : cases) {
        ExifBlockBuilder b(GetParam());
        int ifd0 = b.AddDirectory();
        b.Short(ifd0, 0x0128, c.unit);
        b.Short(ifd0, 0xA210, c.unit);
        Parsed p = Parse(b);
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.record.resolutionUnit, c.inches) << c.unit;
        EXPECT_EQ(p.record.focalPlaneUnits, c.inches) << c.unit;
    }
    ExifBlockBuilder b(GetParam());
    b.Short(b.AddDirectory(), 0x0128, 7); // unknown unit: the field keeps its value
    EXPECT_EQ(Parse(b).record.resolutionUnit, 0.0f);
}

TEST_P(ExifByteOrder, UnsignedRationalAboveTwoToThe31) {
    ExifBlockBuilder b(GetParam());
    b.Rational(b.AddDirectory(), 0x011A, 4294967295u, 1);
    EXPECT_FLOAT_EQ(Parse(b).record.xResolution, 4294967295.0f);
}

TEST_P(ExifByteOrder, FloatsAreReadInMachineOrder) {
    ExifBlockBuilder b(GetParam());
    int ifd0 = b.AddDirectory();
    b.Float(ifd0, 0x920A, 12.5f);
    b.Double(ifd0, 0x9206, 3.25);
    Parsed p = Parse(b);
    ASSERT_TRUE(p.ok);
    EXPECT_FLOAT_EQ(p.record.focalLength, 12.5f);
    EXPECT_FLOAT_EQ(p.record.distance, 3.25f);
}

TEST_P(ExifByteOrder, OrientationOutOfRangeIsReportedAndTheWalkGoesOn) {
    for (uint16_t value : {0, 9, 65535}) {
        ExifBlockBuilder b(GetParam());
        int ifd0 = b.AddDirectory();
        b.Short(ifd0, 0x0112, value);
        b.Ascii(ifd0, 0x0110, "after");
        Parsed p = Parse(b);
        EXPECT_TRUE(p.ok);
        EXPECT_EQ(p.record.orientation, 0);
        EXPECT_EQ(p.error, "Undefined rotation value");
        EXPECT_STREQ(p.record.cameraModel, "after");
    }
    for (uint16_t value = 1; value <= 8; ++value) {
        ExifBlockBuilder b(GetParam());
        b.Short(b.AddDirectory(), 0x0112, value);
        EXPECT_EQ(Parse(b).record.orientation, value);
    }
}

std::vector<uint8_t> Text(const std::string &s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

TEST_P(ExifByteOrder, UserCommentForms) {
    const struct {
        std::vector<uint8_t> value;
        const char *expected;
    } cases[] = {
        {Text(std::string("ASCII\0\0\0Hello   ", 16)), "Hello"},
        {Text(std::string("ASCII\0\0\0        ", 16)), ""},
        {Text(std::string("ASCII  Hi", 9)), "Hi"},
        {Text("plain words  "), "plain words"},
        {Text(std::string("UNICODE\0H\0i\0", 12)), "UNICODE"},
        {Text("ASCII"), ""},
        {Text("    "), ""},
        {Text(std::string(300, 'x')), nullptr},
    };
    for (const auto &c : cases) {
        ExifBlockBuilder b(GetParam());
        b.Undefined(b.AddDirectory(), 0x9286, c.value);
        Parsed p = Parse(b);
        ASSERT_TRUE(p.ok);
        if (c.expected != nullptr) {
            EXPECT_STREQ(p.record.comment, c.expected);
        } else {
            EXPECT_EQ(std::string(p.record.comment), std::string(199, 'x'));
        }
    }
}

TEST_P(ExifByteOrder, ThumbnailPointsIntoTheBlock) {
    ExifBlockBuilder b(GetParam());
    int ifd0 = b.AddDirectory();
    int ifd1 = b.AddDirectory();
    b.Link(ifd0, ifd1);
    b.Long(ifd1, 0x0201, 8);
    b.Long(ifd1, 0x0202, 10);
    std::vector<uint8_t> payload = b.Payload();
    CfExifReader reader;
    ASSERT_TRUE(reader.ParseExifBlock(payload.data(), payload.size()));
    EXPECT_EQ(reader.GetRecord()->thumbnailData, payload.data() + 6 + 8);
    EXPECT_EQ(reader.GetRecord()->thumbnailSize, 10);

    ExifBlockBuilder past(GetParam());
    int d = past.AddDirectory();
    past.Long(d, 0x0201, 8);
    past.Long(d, 0x0202, 0xFFFFFFF8u); // offset + length wraps in 32 bits
    payload = past.Payload();
    CfExifReader second;
    ASSERT_TRUE(second.ParseExifBlock(payload.data(), payload.size()));
    EXPECT_EQ(second.GetRecord()->thumbnailData, nullptr);
    EXPECT_EQ(second.GetRecord()->thumbnailSize, 0);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, ExifByteOrder, ::testing::Values(false, true),
                         [](const auto &p) { return p.param ? "Motorola" : "Intel"; });

TEST(ExifBlock, BadHeaders) {
    const struct {
        std::vector<uint8_t> payload;
        const char *error;
    } cases[] = {
        {Text("Exif"), "Incorrect Exif header"},
        {Text(std::string("Exif\0\1II*\0\x08\0\0\0", 14)), "Incorrect Exif header"},
        {Text(std::string("Exif\0\0IM*\0\x08\0\0\0", 14)), "Invalid Exif alignment marker."},
        {Text(std::string("Exif\0\0", 6)), "Invalid Exif alignment marker."},
        {Text(std::string("Exif\0\0II+\0\x08\0\0\0", 14)), "Invalid Exif start (1)"},
        {Text(std::string("Exif\0\0MM\0*\0\0", 12)), "Invalid Exif start (1)"},
        {Text(std::string("Exif\0\0II*\0\x08\0\0\0", 14)), "Illegally sized directory"},
    };
    for (const auto &c : cases) {
        std::vector<uint8_t> payload = c.payload;
        CfExifReader reader;
        EXPECT_FALSE(reader.ParseExifBlock(payload.data(), payload.size()));
        EXPECT_STREQ(reader.GetLastError(), c.error);
    }
}

Parsed ParseTiff(std::vector<uint8_t> tiff) {
    std::vector<uint8_t> payload = {'E', 'x', 'i', 'f', 0, 0};
    payload.insert(payload.end(), tiff.begin(), tiff.end());
    CfExifReader reader;
    Parsed result;
    result.ok = reader.ParseExifBlock(payload.data(), payload.size());
    result.record = *reader.GetRecord();
    result.error = reader.GetLastError();
    return result;
}

TEST(ExifBlock, DirectoryCountPastTheEnd) {
    ExifBlockBuilder b(false);
    b.Short(b.AddDirectory(), 0x0112, 3);
    std::vector<uint8_t> tiff = b.Tiff();
    tiff[8] = 2; // claims two entries, holds one
    Parsed p = ParseTiff(tiff);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, "Illegally sized directory");

    tiff[8] = 0xFF;
    tiff[9] = 0xFF;
    EXPECT_EQ(ParseTiff(tiff).error, "Illegally sized directory");
}

TEST(ExifBlock, HostileEntries) {
    const struct {
        uint16_t format;
        uint32_t count;
        uint32_t offset;
        const char *error;
    } cases[] = {
        {13, 1, 0, "Illegal format code in EXIF dir"},
        {0xFFFF, 1, 0, "Illegal format code in EXIF dir"},
        {2, 100, 8, "Illegal pointer offset value in EXIF."},
        {2, 5, 0xFFFFFFFEu, "Illegal pointer offset value in EXIF."}, // offset + count wraps
        {5, 0x20000000u, 8, "Illegal pointer offset value in EXIF."}, // count x 8 wraps 32 bits
        {12, 0xFFFFFFFFu, 8, "Illegal pointer offset value in EXIF."},
    };
    for (const auto &c : cases) {
        ExifBlockBuilder b(true);
        b.Raw(b.AddDirectory(), 0x010F, c.format, c.count, c.offset);
        Parsed p = ParseTiff(b.Tiff());
        EXPECT_FALSE(p.ok) << c.format << " " << c.count;
        EXPECT_EQ(p.error, c.error);
    }
}

TEST(ExifBlock, ZeroComponentsCarryNoValue) {
    ExifBlockBuilder b(false);
    int ifd0 = b.AddDirectory();
    b.Raw(ifd0, 0x0112, 3, 0, 5);
    b.Raw(ifd0, 0x011A, 5, 0, 0);
    b.Raw(ifd0, 0x010F, 2, 0, 0x41414141);
    Parsed p = ParseTiff(b.Tiff());
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.record.orientation, 0);
    EXPECT_EQ(p.record.xResolution, 0);
    EXPECT_STREQ(p.record.cameraMake, "");
}

TEST(ExifBlock, SubDirectoryLinks) {
    {
        ExifBlockBuilder b(false);
        b.Raw(b.AddDirectory(), 0x8769, 4, 1, 4000);
        Parsed p = ParseTiff(b.Tiff());
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(p.error, "Illegal subdirectory link");
    }
    {
        ExifBlockBuilder b(false);
        int ifd0 = b.AddDirectory();
        b.Raw(ifd0, 0x8769, 4, 1, 4); // 8 or less: ignored
        b.Short(ifd0, 0x0112, 2);
        Parsed p = ParseTiff(b.Tiff());
        EXPECT_TRUE(p.ok);
        EXPECT_EQ(p.record.orientation, 2);
    }
    {
        ExifBlockBuilder b(true);
        int ifd0 = b.AddDirectory();
        b.RawLink(ifd0, 0x7FFFFFFF);
        Parsed p = ParseTiff(b.Tiff());
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(p.error, "Illegal subdirectory link");
    }
    {
        // A failing sub-directory leaves its message, but the parent's walk goes on.
        ExifBlockBuilder b(false);
        int ifd0 = b.AddDirectory();
        int sub = b.AddDirectory();
        b.SubDirectory(ifd0, 0x8769, sub);
        b.Short(ifd0, 0x0112, 3);
        b.Raw(sub, 0x829A, 99, 1, 0);
        Parsed p = ParseTiff(b.Tiff());
        EXPECT_TRUE(p.ok);
        EXPECT_EQ(p.record.orientation, 3);
        EXPECT_EQ(p.error, "Illegal format code in EXIF dir");
    }
}

TEST(ExifBlock, NestingBeyondFourLevelsStops) {
    ExifBlockBuilder b(false);
    int dirs[7];
    for (int &d : dirs) {
        d = b.AddDirectory();
    }
    for (int i = 0; i < 6; ++i) {
        b.SubDirectory(dirs[i], 0x8769, dirs[i + 1]);
        b.Short(dirs[i + 1], 0x8822, static_cast<uint16_t>(i + 1));
    }
    Parsed p = ParseTiff(b.Tiff());
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.record.exposureProgram, 4); // directory at level 4 is the deepest walked
    EXPECT_EQ(p.error, "Maximum directory nesting exceeded (corrupt exif header)");
}

TEST(ExifBlock, LoopingLinksEnd) {
    ExifBlockBuilder b(true);
    int a = b.AddDirectory();
    int c = b.AddDirectory();
    b.Link(a, c);
    b.Link(c, a);
    b.SubDirectory(c, 0x8769, c);
    b.Short(a, 0x0112, 8);
    b.Short(c, 0x8822, 2);
    Parsed p = ParseTiff(b.Tiff());
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.record.orientation, 8);
    EXPECT_EQ(p.record.exposureProgram, 2);
}

TEST(ExifBlock, FanOutOfSelfLinksIsBounded) {
    // Every entry names the directory itself: without a budget this is thousands to the
    // fifth power of walks.
    ExifBlockBuilder b(false);
    int first = b.AddDirectory();
    int d = b.AddDirectory();
    b.Link(first, d);
    for (int i = 0; i < 2000; ++i) {
        b.SubDirectory(d, i % 2 ? 0x8769 : 0xA005, d);
    }
    b.Link(d, d);
    Parsed p = ParseTiff(b.Tiff());
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.error, "Too many linked directories (corrupt exif header)");
}

TEST(ExifBlock, FirstDirectoryIsWhereTheHeaderSays) {
    ExifBlockBuilder b(false);
    int ifd0 = b.AddDirectory();
    int other = b.AddDirectory();
    b.Short(ifd0, 0x0112, 3);
    b.Ascii(other, 0x010F, "Nikon");
    b.FirstOffset(b.DirectoryOffset(other));
    Parsed p = ParseTiff(b.Tiff());
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.record.orientation, 0);
    EXPECT_STREQ(p.record.cameraMake, "Nikon");

    b.FirstOffset(0); // at or before the header's end: the usual place right after it
    p = ParseTiff(b.Tiff());
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.record.orientation, 3);

    b.FirstOffset(100000);
    p = ParseTiff(b.Tiff());
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, "Illegally sized directory");
}

TEST(ExifBlock, FirstDirectoryAfterPadding) {
    // The header names offset 10; the two bytes at 8 are padding, not a directory.
    ExifBlockBuilder b(true);
    int ifd0 = b.AddDirectory();
    b.Rational(ifd0, 0x011A, 2000000, 10000);
    b.Short(ifd0, 0x0128, 3);
    std::vector<uint8_t> tiff = b.Tiff();
    tiff.insert(tiff.begin() + 8, {0xFF, 0xFF});
    tiff[7] = 10;
    // Offsets inside the directory moved by two bytes as well.
    const size_t valueOffsetAt = 10 + 2 + 8;
    tiff[valueOffsetAt + 3] = static_cast<uint8_t>(tiff[valueOffsetAt + 3] + 2);
    Parsed p = ParseTiff(tiff);
    EXPECT_TRUE(p.ok) << p.error;
    EXPECT_FLOAT_EQ(p.record.xResolution, 200);
    EXPECT_FLOAT_EQ(p.record.resolutionUnit, 0.3937007784843445f);
}

TEST(ExifBlock, ThumbnailDirectoryKeepsItsResolutionToItself) {
    ExifBlockBuilder b(false);
    int ifd0 = b.AddDirectory();
    int ifd1 = b.AddDirectory();
    b.Rational(ifd0, 0x011A, 300, 1);
    b.Rational(ifd0, 0x011B, 300, 1);
    b.Short(ifd0, 0x0128, 2);
    b.Link(ifd0, ifd1);
    b.Rational(ifd1, 0x011A, 72, 1);
    b.Rational(ifd1, 0x011B, 72, 1);
    b.Short(ifd1, 0x0128, 3);
    // The thumbnail's orientation is not the picture's: the PDF engine reads IFD0 only, and
    // the preview must turn the picture as the page does.
    b.Short(ifd1, 0x0112, 6);
    b.Short(ifd1, 0x8822, 3); // anything else in it still counts
    Parsed p = ParseTiff(b.Tiff());
    EXPECT_TRUE(p.ok);
    EXPECT_FLOAT_EQ(p.record.xResolution, 300);
    EXPECT_FLOAT_EQ(p.record.yResolution, 300);
    EXPECT_FLOAT_EQ(p.record.resolutionUnit, 1.0f);
    EXPECT_EQ(p.record.orientation, 0);
    EXPECT_EQ(p.record.exposureProgram, 3);
}

TEST(ExifBlock, ParseClearsFlashAndComment) {
    ExifBlockBuilder b(false);
    b.Short(b.AddDirectory(), 0x0112, 1);
    std::vector<uint8_t> payload = b.Payload();
    ExifRecord record{};
    record.flashUsed = 1;
    std::strcpy(record.comment, "old");
    record.orientation = 5;
    record.xResolution = 72;
    CfExifReader reader(&record);
    EXPECT_TRUE(reader.ParseExifBlock(payload.data(), payload.size()));
    EXPECT_EQ(record.flashUsed, 0);
    EXPECT_STREQ(record.comment, "");
    EXPECT_EQ(record.orientation, 1);
    EXPECT_EQ(record.xResolution, 72); // not in the block: kept
}

} // namespace
