// The Group 4 encoder that scanning and the engine share: what it codes reads back as the same
// bits through libtiff's own decoder, in memory and in a file, and each failure says why.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "group4/Group4File.h"
#include "group4/Group4Strip.h"
#include "tests/support/Files.h"
#include "tests/support/Tiff.h"

namespace g4 = folvane::group4;

namespace {

// Packed rows of an odd width: diagonal stripes and a solid band, so that runs of both colours
// start and end everywhere in a byte.
std::vector<unsigned char> StripedRows(uint32_t width, uint32_t height) {
    const uint32_t rowBytes = (width + 7) / 8;
    std::vector<unsigned char> rows(std::size_t{rowBytes} * height, 0);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            if ((x + y) % 7 < 3 || (y > height / 2 && y < height / 2 + 3)) {
                rows[y * rowBytes + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        }
    }
    return rows;
}

// Whether libtiff's reading of `path` shows black exactly where `rows` say `setBit` is black.
void ExpectSameBits(const std::string &path, const std::vector<unsigned char> &rows, uint32_t width,
                    uint32_t height, g4::SetBit setBit) {
    support::Picture read = support::ReadTiffRgba(path);
    ASSERT_EQ(read.width, static_cast<int>(width));
    ASSERT_EQ(read.height, static_cast<int>(height));
    const uint32_t rowBytes = (width + 7) / 8;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            bool set = rows[y * rowBytes + x / 8] & (0x80 >> (x % 8));
            bool black = setBit == g4::SetBit::Black ? set : !set;
            ASSERT_EQ(read.At(x, y, 0), black ? 0 : 255) << "at " << x << "," << y;
        }
    }
}

g4::Group4Page PageOf(uint32_t width, uint32_t height, g4::SetBit setBit) {
    g4::Group4Page page;
    page.width = width;
    page.height = height;
    page.setBit = setBit;
    return page;
}

} // namespace

TEST(Group4Strip, CodedRowsReadBackAsTheSameBitsForEitherMeaningOfASetBit) {
    const uint32_t width = 37, height = 23;
    std::vector<unsigned char> rows = StripedRows(width, height);
    for (g4::SetBit setBit : {g4::SetBit::Black, g4::SetBit::White}) {
        std::vector<unsigned char> coded;
        std::string error;
        ASSERT_TRUE(g4::encodeStrip(PageOf(width, height, setBit), rows.data(), rows.size(),
                                    1 << 20, coded, error))
            << error;
        support::TiffPage page = support::FaxPage(width, height);
        page.photometric =
            setBit == g4::SetBit::Black ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK;
        page.data.assign(coded.begin(), coded.end());
        page.coded = true;
        support::TempDir dir;
        support::WriteTiff(dir / "g4.tif", {page});
        ExpectSameBits(dir / "g4.tif", rows, width, height, setBit);
    }
}

TEST(Group4Strip, AFileBeyondTheCeilingIsRefusedWithAReason) {
    std::vector<unsigned char> rows = StripedRows(64, 64);
    std::vector<unsigned char> coded;
    std::string error;
    EXPECT_FALSE(g4::encodeStrip(PageOf(64, 64, g4::SetBit::Black), rows.data(), rows.size(), 16,
                                 coded, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(coded.empty());
}

TEST(Group4File, RowsWrittenOneByOneMakeAFileWithItsResolution) {
    const uint32_t width = 53, height = 17;
    std::vector<unsigned char> rows = StripedRows(width, height);
    support::TempDir dir;
    const std::string path = dir / "scan.tif";
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    {
        g4::Group4File file;
        g4::Group4Page page = PageOf(width, height, g4::SetBit::Black);
        page.xDpi = 300;
        page.yDpi = 150;
        ASSERT_TRUE(file.open(fd, page)) << file.error();
        for (uint32_t y = 0; y < height; ++y) {
            ASSERT_TRUE(file.writeRow(rows.data() + y * ((width + 7) / 8))) << file.error();
        }
        ASSERT_TRUE(file.finish()) << file.error();
    }
    ::close(fd);
    ExpectSameBits(path, rows, width, height, g4::SetBit::Black);
    TIFF *tiff = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tiff, nullptr);
    float x = 0, y = 0;
    uint16_t compression = 0;
    EXPECT_TRUE(TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x));
    EXPECT_TRUE(TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y));
    EXPECT_TRUE(TIFFGetField(tiff, TIFFTAG_COMPRESSION, &compression));
    EXPECT_EQ(TIFFNumberOfStrips(tiff), 1u);
    TIFFClose(tiff);
    EXPECT_EQ(x, 300);
    EXPECT_EQ(y, 150);
    EXPECT_EQ(compression, COMPRESSION_CCITTFAX4);
}

TEST(Group4File, FailuresSayWhyAndNeverReachAClosedFile) {
    g4::Group4File unopened;
    unsigned char row[8] = {};
    EXPECT_FALSE(unopened.writeRow(row));
    EXPECT_FALSE(unopened.finish());
    EXPECT_FALSE(unopened.error().empty());

    g4::Group4File badFd;
    EXPECT_FALSE(badFd.open(-1, PageOf(8, 1, g4::SetBit::Black)));
    EXPECT_FALSE(badFd.error().empty());

    // A file descriptor open for reading only: the directory cannot be written.
    support::TempDir dir;
    const std::string path = dir / "read-only.tif";
    ::close(::open(path.c_str(), O_WRONLY | O_CREAT, 0600));
    int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    g4::Group4File readOnly;
    bool written = readOnly.open(fd, PageOf(8, 1, g4::SetBit::Black)) && readOnly.writeRow(row) &&
                   readOnly.finish();
    ::close(fd);
    EXPECT_FALSE(written);
    EXPECT_FALSE(readOnly.error().empty());
}
