#include "tests/support/BadImages.h"

#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Tiff.h"

namespace support {

namespace {

Bytes Empty() {
    return {};
}

// The first half of a good JPEG: the headers are whole, the scan stops in the middle.
Bytes TruncatedJpeg() {
    Bytes bytes = MakeJpeg(Pattern(64, 64, 1));
    bytes.resize(bytes.size() / 2);
    return bytes;
}

// A complete 1 x 1 GIF: a picture, but of a kind the engine does not take.
Bytes Gif() {
    return {'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01, 0x00, 0x80, 0x00,
            0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x2C, 0x00, 0x00, 0x00, 0x00,
            0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
}

// 3.6 gigapixels claimed by a few hundred bytes of scan data.
Bytes HugeClaimJpeg() {
    Bytes bytes = MakeJpeg(Pattern(16, 16, 1));
    SetFrameSize(bytes, 60000, 60000);
    return bytes;
}

// A 64 x 64 JPEG whose frame header claims a side beyond what JPEG decoders read.
Bytes JpegBeyondDecoders() {
    Bytes bytes = MakeJpeg(Pattern(64, 64, 3));
    SetFrameSize(bytes, 65535, 16);
    return bytes;
}

// A 64 x 64 JPEG whose frame header claims twice its width: close enough to pass a size check.
Bytes JpegFrameLargerThanData() {
    Bytes bytes = MakeJpeg(Pattern(64, 64, 3));
    SetFrameSize(bytes, 128, 64);
    return bytes;
}

// Three 200 x 100 grey pages; the second's one strip is stored as 500 bytes where it needs
// 20000, so that reading on would take the third page's directory and pixels.
Bytes TiffPageShortStripCount() {
    const TempDir dir;
    const std::string path = dir / "pages.tif";
    TiffPage shortPage = TiffPageOf(Pattern(200, 100, 1, 2));
    shortPage.coded = true;
    shortPage.data.resize(500);
    WriteTiff(path, {TiffPageOf(Pattern(200, 100, 1, 1)), shortPage,
                     TiffPageOf(Pattern(200, 100, 1, 3))});
    return ReadFile(path);
}

// A 4 x 4 grey TIFF, one uncompressed strip of 16 bytes at offset 1000000, in a 138-byte file.
Bytes TiffStripPastEnd() {
    Bytes bytes = {'I', 'I', 42, 0, 8, 0, 0, 0};
    struct Entry {
        uint16_t tag, type;
        uint32_t value;
    };
    const Entry entries[] = {{256, 3, 4},       {257, 3, 4}, {258, 3, 8}, {259, 3, 1}, {262, 3, 1},
                             {273, 4, 1000000}, {277, 3, 1}, {278, 3, 4}, {279, 4, 16}};
    PutLe16(bytes, sizeof entries / sizeof entries[0]);
    for (const Entry &entry : entries) {
        PutLe16(bytes, entry.tag);
        PutLe16(bytes, entry.type);
        PutLe32(bytes, 1);
        PutLe32(bytes, entry.value); // a SHORT sits in the low half, little-endian
    }
    PutLe32(bytes, 0);
    bytes.resize(bytes.size() + 16, 0x80);
    return bytes;
}

} // namespace

const std::vector<BadImage> &BadImages() {
    static const std::vector<BadImage> images = {
        {"Missing", "missing.jpg", nullptr, false},
        {"ZeroBytes", "empty.jpg", Empty, false},
        {"TruncatedJpeg", "cut.jpg", TruncatedJpeg, true},
        {"GifNamedJpg", "really-a-gif.jpg", Gif, false},
        {"JpegClaiming60000Squared", "huge.jpg", HugeClaimJpeg, false},
        {"TiffStripPastTheEnd", "strip.tif", TiffStripPastEnd, true},
        {"JpegSideBeyondDecoders", "wide.jpg", JpegBeyondDecoders, true},
        {"JpegFrameLargerThanItsData", "lying.jpg", JpegFrameLargerThanData, true},
        {"TiffPageShortStripCount", "pages.tif", TiffPageShortStripCount, true},
    };
    return images;
}

std::string PlaceBadImage(const BadImage &image, const std::string &folder) {
    const std::string path = folder + "/" + image.name;
    if (image.make != nullptr) {
        WriteFile(path, image.make());
    }
    return path;
}

} // namespace support
