#include "tests/support/MalformedTiff.h"

#include <stdexcept>

#include <tiffio.h>
#include <zlib.h>

#include "tests/support/Files.h"

namespace support {

namespace {

Bytes Deflated(std::size_t zeros) {
    const Bytes plain(zeros, 0);
    Bytes packed(compressBound(uLong(plain.size())));
    uLongf length = uLongf(packed.size());
    if (compress(packed.data(), &length, plain.data(), uLong(plain.size())) != Z_OK) {
        throw std::runtime_error("TiffWithShortStrips: zlib refused");
    }
    packed.resize(length);
    return packed;
}

} // namespace

Bytes TiffWithShortStrips(const ShortStrips &strips) {
    TempDir dir;
    const std::string path = dir / "short.tif";
    TIFF *tif = TIFFOpen(path.c_str(), "w");
    if (tif == nullptr) {
        throw std::runtime_error("TiffWithShortStrips: libtiff cannot write " + path);
    }
    Bytes coded = Deflated(strips.stripBytes);
    bool ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, strips.width) &&
              TIFFSetField(tif, TIFFTAG_IMAGELENGTH, strips.height) &&
              TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8) &&
              TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1) &&
              TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK) &&
              TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE) &&
              TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, strips.rowsPerStrip);
    for (uint32_t s = 0; ok && s < strips.writtenStrips; ++s) {
        ok = TIFFWriteRawStrip(tif, s, coded.data(), tmsize_t(coded.size())) >= 0;
    }
    ok = ok && TIFFWriteDirectory(tif);
    TIFFClose(tif);
    if (!ok) {
        throw std::runtime_error("TiffWithShortStrips: libtiff refused the page");
    }
    return ReadFile(path);
}

Bytes TiffStripBeyondEnd(uint32_t width, uint32_t height) {
    Bytes tiff = {'I', 'I', 42, 0};
    PutLe32(tiff, 8);
    const uint32_t entries[][3] = {
        {256, 4, width}, {257, 4, height}, {258, 3, 8},      {259, 3, 1},
        {262, 3, 1},     {273, 4, 4096},   {278, 4, height}, {279, 4, width * height}};
    PutLe16(tiff, 8);
    for (const auto &[tag, type, value] : entries) {
        PutLe16(tiff, tag);
        PutLe16(tiff, type);
        PutLe32(tiff, 1);
        PutLe32(tiff, value);
    }
    PutLe32(tiff, 0);
    return tiff;
}

} // namespace support
