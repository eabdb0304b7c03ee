// Resolution of a decoded JPEG: the EXIF block first, the JFIF density otherwise; and the
// EXIF record that travels with the decoded image.
#include <gtest/gtest.h>

#include "image/CfImage.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Exif.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

using namespace imagetest;
using namespace support;

struct Dpi {
    int x;
    int y;
};

// The 37 x 29 test pattern as a JPEG.
Bytes Encode(const JpegOptions &options) {
    return MakeJpeg(Pattern(37, 29, 3), options);
}

Dpi DecodeDpi(const JpegOptions &o) {
    CfImage image;
    EXPECT_TRUE(DecodeWithHint(image, Encode(o), FormatUnknown)) << image.GetLastError();
    return {image.GetDpiX(), image.GetDpiY()};
}

JpegOptions Jfif(int unit, int x, int y) {
    JpegOptions o;
    o.densityUnit = unit;
    o.xDensity = x;
    o.yDensity = y;
    return o;
}

TEST(JpegResolution, JfifDensity) {
    Dpi d = DecodeDpi(Jfif(1, 300, 150));
    EXPECT_EQ(d.x, 300);
    EXPECT_EQ(d.y, 150);

    d = DecodeDpi(Jfif(2, 118, 40)); // dots per centimetre, rounded
    EXPECT_EQ(d.x, 300);
    EXPECT_EQ(d.y, 102);

    d = DecodeDpi(Jfif(0, 1, 2)); // aspect ratio only: vertical from the current horizontal
    EXPECT_EQ(d.x, 96);
    EXPECT_EQ(d.y, 192);

    d = DecodeDpi(Jfif(0, 0, 2));
    EXPECT_EQ(d.x, 96);
    EXPECT_EQ(d.y, 96);

    d = DecodeDpi(Jfif(1, 0, 0)); // zero density: the setters fall back to 96
    EXPECT_EQ(d.x, 96);
    EXPECT_EQ(d.y, 96);

    JpegOptions none;
    none.jfif = false;
    d = DecodeDpi(none);
    EXPECT_EQ(d.x, 96);
    EXPECT_EQ(d.y, 96);
}

TEST(JpegResolution, JfifAspectRatioScalesTheCallersHorizontalResolution) {
    CfImage image;
    image.SetDpiX(200);
    ASSERT_TRUE(DecodeWithHint(image, Encode(Jfif(0, 2, 3)), FormatJpeg));
    EXPECT_EQ(image.GetDpiX(), 200);
    EXPECT_EQ(image.GetDpiY(), 300);
}

JpegOptions WithExif(const ExifBlockBuilder &exif, JpegOptions o = Jfif(1, 150, 150)) {
    o.markers.push_back({JPEG_APP0 + 1, exif.Payload()});
    return o;
}

TEST(JpegResolution, ExifComesBeforeJfif) {
    ExifBlockBuilder exif(true);
    int ifd0 = exif.AddDirectory();
    exif.Rational(ifd0, 0x011A, 72, 1);
    exif.Rational(ifd0, 0x011B, 144, 1);
    exif.Short(ifd0, 0x0128, 2);
    Dpi d = DecodeDpi(WithExif(exif));
    EXPECT_EQ(d.x, 72);
    EXPECT_EQ(d.y, 144);

    ExifBlockBuilder cm(false);
    ifd0 = cm.AddDirectory();
    cm.Rational(ifd0, 0x011A, 118, 1);
    cm.Rational(ifd0, 0x011B, 118, 1);
    cm.Short(ifd0, 0x0128, 3);
    d = DecodeDpi(WithExif(cm));
    EXPECT_EQ(d.x, 299); // 118 / 0.3937..., truncated
    EXPECT_EQ(d.y, 299);
}

TEST(JpegResolution, ExifWithoutUsableResolutionKeepsTheCurrentOne) {
    // No ResolutionUnit: the JFIF density is not consulted either.
    ExifBlockBuilder exif(false);
    exif.Rational(exif.AddDirectory(), 0x011A, 300, 1);
    Dpi d = DecodeDpi(WithExif(exif));
    EXPECT_EQ(d.x, 96);
    EXPECT_EQ(d.y, 96);

    // A zero denominator gives no resolution; the unit alone changes nothing.
    ExifBlockBuilder zero(false);
    int ifd0 = zero.AddDirectory();
    zero.Rational(ifd0, 0x011A, 300, 0);
    zero.Short(ifd0, 0x0128, 2);
    d = DecodeDpi(WithExif(zero));
    EXPECT_EQ(d.x, 96);
    EXPECT_EQ(d.y, 96);
}

TEST(JpegResolution, ExtremeExifValuesStayDefined) {
    ExifBlockBuilder exif(false);
    int ifd0 = exif.AddDirectory();
    exif.Rational(ifd0, 0x011A, 4294967295u, 1);
    exif.SignedRational(ifd0, 0x011B, -300, 1);
    exif.Short(ifd0, 0x0128, 5); // micrometres: the quotient is far beyond 32 bits
    Dpi d = DecodeDpi(WithExif(exif));
    EXPECT_EQ(d.x, INT32_MAX);
    EXPECT_EQ(d.y, 96);

    ExifBlockBuilder nan(false);
    ifd0 = nan.AddDirectory();
    nan.Double(ifd0, 0x011A, std::numeric_limits<double>::quiet_NaN());
    nan.Short(ifd0, 0x0128, 2);
    d = DecodeDpi(WithExif(nan));
    EXPECT_EQ(d.x, 96);
}

TEST(JpegResolution, BrokenExifBlockFallsBackToJfif) {
    ExifBlockBuilder exif(false);
    int ifd0 = exif.AddDirectory();
    exif.Rational(ifd0, 0x011A, 72, 1);
    exif.Short(ifd0, 0x0128, 2);
    Bytes payload = exif.Payload();
    payload[6 + 8] = 40; // entry count past the block end
    JpegOptions o = Jfif(1, 150, 120);
    o.markers.push_back({JPEG_APP0 + 1, payload});
    Dpi d = DecodeDpi(o);
    EXPECT_EQ(d.x, 150);
    EXPECT_EQ(d.y, 120);
}

TEST(JpegResolution, TheExifRecordTravelsWithTheImage) {
    ExifBlockBuilder exif(true);
    int ifd0 = exif.AddDirectory();
    exif.Ascii(ifd0, 0x010F, "FUJIFILM");
    exif.Short(ifd0, 0x0112, 8);
    JpegOptions o = WithExif(exif);
    o.markers.push_back({JPEG_COM, Bytes{'n', 'o', 't', 'e'}});
    o.progressive = true;
    CfImage image;
    ASSERT_TRUE(DecodeWithHint(image, Encode(o), FormatUnknown));
    const ExifRecord &r = image.info.exif;
    EXPECT_TRUE(r.isExif);
    EXPECT_STREQ(r.cameraMake, "FUJIFILM");
    EXPECT_EQ(r.orientation, 8);
    EXPECT_STREQ(r.comment, "note");
    EXPECT_EQ(r.width, 37);
    EXPECT_EQ(r.height, 29);
    EXPECT_EQ(r.process, 0xC2);
    EXPECT_EQ(r.isColor, 1);

    // A file without EXIF read into a fresh image leaves isExif false.
    CfImage plain;
    ASSERT_TRUE(DecodeWithHint(plain, Encode({}), FormatUnknown));
    EXPECT_FALSE(plain.info.exif.isExif);
    EXPECT_EQ(plain.info.exif.orientation, 0);
    EXPECT_EQ(plain.info.exif.width, 37);
}

} // namespace
