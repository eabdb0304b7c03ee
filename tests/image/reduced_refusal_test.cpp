// Files the reduced decode refuses, each with its reason: headers that claim far more pixels
// than the file holds (the ceiling of the full decode no longer stops them, so the reduced
// decode must notice the missing data itself, before decoding rows of nothing), and files of
// other formats.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include <tiffio.h>
#include <zlib.h>

#include "image/ReducedDecode.h"
#include "tests/image/ReducedTestSupport.h"
#include "tests/support/Bmp.h"
#include "tests/support/Bytes.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/MalformedTiff.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

using namespace reducedtest;
using namespace support;

constexpr uint32_t kClaimed = 40000; // 1.6 billion pixels a side squared

ReducedSizeChooser Preview() {
    return [](uint32_t w, uint32_t h) {
        return std::optional<ReducedSize>(reducedSizeWithin(w, h, 300, 300));
    };
}

// The reduced decode of the bytes fails; returns its reason.
std::string Refusal(const Bytes &bytes, ReducedFacts *facts = nullptr) {
    TempFile file(bytes);
    CfImage image;
    EXPECT_FALSE(loadReduced(file.Path().c_str(), Preview(), image, facts));
    EXPECT_FALSE(image.IsValid());
    return image.GetLastError();
}

// The PNG with its header's width and height replaced (and the header's CRC made good).
Bytes WithPngSize(Bytes png, uint32_t width, uint32_t height) {
    Bytes header(png.begin() + 12, png.begin() + 29); // "IHDR" and its 13 bytes
    for (int i = 0; i < 4; ++i) {
        header[4 + i] = static_cast<uint8_t>(width >> (24 - 8 * i));
        header[8 + i] = static_cast<uint8_t>(height >> (24 - 8 * i));
    }
    const uLong crc = crc32(0, header.data(), static_cast<uInt>(header.size()));
    std::copy(header.begin(), header.end(), png.begin() + 12);
    for (int i = 0; i < 4; ++i) {
        png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    }
    return png;
}

// A grey Deflate TIFF claiming kClaimed x kClaimed pixels in strips of 16 rows, of which only
// the first few are written (`strips`), each holding a few compressed bytes.
Bytes ClaimingTiff(uint32_t strips) {
    return TiffWithShortStrips({kClaimed, kClaimed, 16, strips, kClaimed * 16});
}

TEST(ReducedRefusal, JpegClaimingBillionsOfPixelsIsRefusedWhenItsDataEnds) {
    Bytes jpeg = MakeJpeg(Pattern(64, 64, 3));
    SetFrameSize(jpeg, kClaimed, kClaimed);
    ReducedFacts facts;
    const std::string reason = Refusal(jpeg, &facts);
    EXPECT_NE(reason.find("holds less than its header claims"), std::string::npos) << reason;
    EXPECT_EQ(facts.format, FormatJpeg);
    EXPECT_EQ(facts.uprightWidth, kClaimed);
}

TEST(ReducedRefusal, ProgressiveJpegWhoseCoefficientsPassTheCeilingIsRefusedBeforeDecoding) {
    JpegOptions options;
    options.progressive = true;
    Bytes jpeg = MakeJpeg(Pattern(64, 64, 3), options);
    SetFrameSize(jpeg, kClaimed, kClaimed);
    const std::string reason = Refusal(jpeg);
    EXPECT_NE(reason.find("MiB of coefficients"), std::string::npos) << reason;
}

TEST(ReducedRefusal, PngClaimingBillionsOfPixelsIsRefusedAtItsFirstRow) {
    const Bytes png = WithPngSize(MakePng(PngImageOf(Pattern(64, 64, 1))), kClaimed, kClaimed);
    const std::string reason = Refusal(png);
    EXPECT_NE(reason.find("ReducedPng"), std::string::npos) << reason;
    EXPECT_NE(reason.find("at row 0 of 40000"), std::string::npos) << reason;
}

TEST(ReducedRefusal, TiffWhoseStripsAreMissingIsRefusedAtTheFirstMissingOne) {
    const std::string reason = Refusal(ClaimingTiff(3));
    EXPECT_NE(reason.find("strip 4 of 2500 cannot be read"), std::string::npos) << reason;
}

TEST(ReducedRefusal, TiffWhoseOneStripLiesBeyondTheEndOfTheFileIsRefused) {
    const std::string reason = Refusal(TiffStripBeyondEnd(kClaimed, kClaimed));
    EXPECT_NE(reason.find("lies beyond the end of the file"), std::string::npos) << reason;
}

TEST(ReducedRefusal, PicturesOfMoreThanFourBillionPixelsAreRefusedBeforeTheirDataIsLookedAt) {
    for (const auto &[width, height] : {std::pair{70000u, 70000u}, std::pair{1u << 21, 1u}}) {
        const std::string reason = Refusal(TiffStripBeyondEnd(width, height));
        EXPECT_NE(reason.find("beyond what the reduced decode reads"), std::string::npos) << reason;
    }
}

TEST(ReducedRefusal, TiffWhoseOneStripDecodesToFarLessThanItsRowsIsRefused) {
    // One strip for the whole page, whose data decode to 1000 bytes.
    const Bytes tiff = TiffWithShortStrips({kClaimed, kClaimed, kClaimed, 1, 1000});
    const std::string reason = Refusal(tiff);
    EXPECT_NE(reason.find("row 1 of 40000 cannot be read"), std::string::npos) << reason;
}

// The page's one strip cut to half its coded bytes. libtiff fills a fax or JPEG strip's rows
// after the end of its data with white or grey, and only warns.
Bytes HalfStrip(TiffPage page) {
    TempDir dir;
    WriteTiff(dir / "whole.tif", {page});
    Bytes coded = ReadRawStrip(dir / "whole.tif");
    coded.resize(coded.size() / 2);
    page.data = coded;
    page.coded = true;
    WriteTiff(dir / "half.tif", {page});
    return ReadFile(dir / "half.tif");
}

TEST(ReducedRefusal, FaxAndJpegStripsWhoseDataEndsHalfWayAreRefusedWithLibtiffsWords) {
    TiffPage fax = FaxPage(1728, 2200);
    for (size_t i = 0; i < fax.data.size(); i += 7) {
        fax.data[i] = 0x3C;
    }
    std::string reason = Refusal(HalfStrip(fax));
    EXPECT_NE(reason.find("cannot be read (Fax4Decode: Premature EOL"), std::string::npos)
        << reason;

    TiffPage jpeg = TiffPageOf(Pattern(640, 480, 3));
    jpeg.photometric = PHOTOMETRIC_YCBCR;
    jpeg.compression = COMPRESSION_JPEG;
    jpeg.jpegTablesInStrips = true;
    reason = Refusal(HalfStrip(jpeg));
    EXPECT_NE(reason.find("Premature end of JPEG file"), std::string::npos) << reason;
}

TEST(ReducedRefusal, OtherFormatsAreLeftToTheFullDecode) {
    ReducedFacts facts;
    const std::string reason = Refusal(MakeBmp(BmpFileOf(Pattern(20, 10, 3))), &facts);
    EXPECT_NE(reason.find("not a JPEG, PNG or TIFF file"), std::string::npos) << reason;
    EXPECT_EQ(facts.format, FormatUnknown);
}

} // namespace
