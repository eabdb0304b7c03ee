// The marker segment walk of the EXIF reader: which segments are kept, the comment and frame
// header, the limits on segment count and padding, and damaged segment structure.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "image/CfStdioStream.h"
#include "image/codecs/CfExifReader.h"
#include "tests/support/Exif.h"
#include "tests/support/Files.h"

namespace {

using namespace support;

Bytes Segment(int marker, const Bytes &payload) {
    const size_t length = payload.size() + 2;
    Bytes s = {0xFF, static_cast<uint8_t>(marker), static_cast<uint8_t>(length >> 8),
               static_cast<uint8_t>(length & 0xFF)};
    s.insert(s.end(), payload.begin(), payload.end());
    return s;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out = {0xFF, 0xD8};
    for (const Bytes &p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

Bytes Text(const std::string &s) {
    return Bytes(s.begin(), s.end());
}

const Bytes kFrame = {8, 0x01, 0x2C, 0x00, 0xC8, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1};
const Bytes kScan = {1, 1, 0, 0, 63, 0};

struct Walk {
    bool ok;
    ExifRecord record;
    std::string error;
    int kept;
    std::string printed;
};

Walk WalkBytes(const Bytes &bytes, unsigned mode = CfExifReader::ModeMetadata) {
    FILE *file = OpenBytes(bytes);
    CfStdioStream stream(file);
    CfExifReader reader;
    ::testing::internal::CaptureStdout();
    Walk w;
    w.ok = reader.ReadJpegSegments(&stream, mode);
    std::fflush(stdout);
    w.printed = ::testing::internal::GetCapturedStdout();
    w.record = *reader.GetRecord();
    w.record.thumbnailData = nullptr;
    w.error = reader.GetLastError();
    w.kept = reader.GetSegmentCount();
    std::fclose(file);
    return w;
}

TEST(ExifSegments, KeepsWhatTheDecoderNeedsAndReadsTheFrameHeader) {
    ExifBlockBuilder exif(false);
    exif.Short(exif.AddDirectory(), 0x0112, 6);
    Walk w =
        WalkBytes(Join({Segment(0xE0, Text("JFIF")), Segment(0xE1, exif.Payload()),
                        Segment(0xE1, Text("http://ns.adobe.com/xap/1.0/")),
                        Segment(0xDB, Bytes(65, 0)), Segment(0xC2, kFrame), Segment(0xDA, kScan)}));
    EXPECT_TRUE(w.ok);
    EXPECT_TRUE(w.record.isExif);
    EXPECT_EQ(w.record.orientation, 6);
    EXPECT_EQ(w.kept, 4); // EXIF APP1, DQT, SOF2, SOS
    EXPECT_EQ(w.record.height, 300);
    EXPECT_EQ(w.record.width, 200);
    EXPECT_EQ(w.record.isColor, 1);
    EXPECT_EQ(w.record.process, 0xC2);
}

TEST(ExifSegments, WithoutMetadataModeNoBlockIsParsed) {
    ExifBlockBuilder exif(false);
    exif.Short(exif.AddDirectory(), 0x0112, 6);
    Walk w = WalkBytes(Join({Segment(0xE1, exif.Payload()), Segment(0xFE, Text("note")),
                             Segment(0xC0, kFrame), Segment(0xDA, kScan)}),
                       0);
    EXPECT_TRUE(w.ok);
    EXPECT_FALSE(w.record.isExif);
    EXPECT_EQ(w.record.orientation, 0);
    EXPECT_STREQ(w.record.comment, "");
    EXPECT_EQ(w.kept, 2);
}

TEST(ExifSegments, FirstCommentOnlyAndItsCharacters) {
    Walk w = WalkBytes(Join({Segment(0xFE, Text("line one\r\nline\ttwo\x01\xC3\r")),
                             Segment(0xFE, Text("second")), Segment(0xDA, kScan)}));
    EXPECT_TRUE(w.ok);
    EXPECT_STREQ(w.record.comment, "line one\nline\ttwo???");
    EXPECT_EQ(w.kept, 2);

    w = WalkBytes(Join({Segment(0xFE, Bytes(400, 'c')), Segment(0xDA, kScan)}));
    EXPECT_EQ(std::string(w.record.comment), std::string(253, 'c'));
}

TEST(ExifSegments, CommentAndUserCommentOrder) {
    ExifBlockBuilder exif(true);
    exif.Undefined(exif.AddDirectory(), 0x9286, Text(std::string("ASCII\0\0\0from exif", 17)));
    Bytes app1 = Segment(0xE1, exif.Payload());
    Bytes com = Segment(0xFE, Text("from COM"));
    EXPECT_STREQ(WalkBytes(Join({app1, com, Segment(0xDA, kScan)})).record.comment, "from COM");
    EXPECT_STREQ(WalkBytes(Join({com, app1, Segment(0xDA, kScan)})).record.comment, "from exif");

    ExifBlockBuilder bare(true);
    bare.Short(bare.AddDirectory(), 0x0112, 1);
    Bytes plain = Segment(0xE1, bare.Payload());
    EXPECT_STREQ(WalkBytes(Join({com, plain, Segment(0xDA, kScan)})).record.comment, "");
}

TEST(ExifSegments, DamagedExifBlockKeepsTheWalkGoing) {
    Walk w = WalkBytes(Join({Segment(0xE1, Text(std::string("Exif\0\0XX", 8))),
                             Segment(0xC0, kFrame), Segment(0xDA, kScan)}));
    EXPECT_TRUE(w.ok);
    EXPECT_FALSE(w.record.isExif);
    EXPECT_EQ(w.error, "Invalid Exif alignment marker.");
    EXPECT_EQ(w.record.width, 200);
}

TEST(ExifSegments, TwentySegmentsWithoutScan) {
    Bytes bytes = {0xFF, 0xD8};
    for (int i = 0; i < 25; ++i) {
        Bytes s = Segment(0xE2, Text("ICC_PROFILE"));
        bytes.insert(bytes.end(), s.begin(), s.end());
    }
    Walk w = WalkBytes(bytes);
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.error, "Too many sections in jpg file");
    EXPECT_EQ(w.kept, 20);

    // Dropped segments do not count.
    bytes = {0xFF, 0xD8};
    for (int i = 0; i < 40; ++i) {
        Bytes s = Segment(0xE0, Text("JFIF"));
        bytes.insert(bytes.end(), s.begin(), s.end());
    }
    Bytes scan = Segment(0xDA, kScan);
    bytes.insert(bytes.end(), scan.begin(), scan.end());
    EXPECT_TRUE(WalkBytes(bytes).ok);
}

TEST(ExifSegments, PaddingBytes) {
    Bytes six = {0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xDA, 0, 2};
    Walk w = WalkBytes(six);
    EXPECT_TRUE(w.ok);
    EXPECT_EQ(w.printed, "");

    Bytes seven = {0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xDA, 0, 2};
    w = WalkBytes(seven);
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.error, "too many padding bytes");
    EXPECT_EQ(w.printed, ""); // library code never prints

    // A marker code without any 0xFF in front is taken as it is.
    EXPECT_TRUE(WalkBytes({0xFF, 0xD8, 0xDA, 0, 2}).ok);
}

TEST(ExifSegments, DamagedStructure) {
    EXPECT_FALSE(WalkBytes({}).ok);
    Walk w = WalkBytes({0x89, 'P', 'N', 'G'});
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.error, "");

    w = WalkBytes({0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x01});
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.error, "invalid marker");

    w = WalkBytes({0xFF, 0xD8, 0xFF, 0xDB});
    EXPECT_EQ(w.error, "invalid marker");

    w = WalkBytes({0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 1, 2, 3});
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.error, "Premature end of file?");
    EXPECT_EQ(w.kept, 0);

    w = WalkBytes({0xFF, 0xD8, 0xFF, 0xD9, 0x00, 0x02});
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.error, "No image in jpeg!");
    EXPECT_EQ(w.printed, "");

    // A frame header too short for its fields is kept but not read.
    w = WalkBytes(Join({Segment(0xC0, {8, 1}), Segment(0xDA, kScan)}));
    EXPECT_TRUE(w.ok);
    EXPECT_EQ(w.record.width, 0);
}

TEST(ExifSegments, HugeApp1StaysWithinItsSegment) {
    // An EXIF block of the largest size a segment can state, whose values point at its end.
    ExifBlockBuilder exif(false);
    int d = exif.AddDirectory();
    Bytes payload = exif.Payload();
    payload.resize(65533 - 2, 'z');
    ExifBlockBuilder ex2(false);
    int d2 = ex2.AddDirectory();
    (void)d;
    ex2.Raw(d2, 0x010F, 2, 16, 65533 - 2 - 6 - 8);
    Bytes head = ex2.Payload();
    std::copy(head.begin(), head.end(), payload.begin());
    Walk w = WalkBytes(Join({Segment(0xE1, payload), Segment(0xDA, kScan)}));
    EXPECT_TRUE(w.ok);
    EXPECT_FALSE(w.record.isExif);
    EXPECT_EQ(w.error, "Illegal pointer offset value in EXIF.");
}

} // namespace
