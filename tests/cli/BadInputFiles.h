// Broken and hostile picture files, made in memory, for the bad-input tests of the command line
// and the window. Header only: the two test folders each include it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace bad_input {

using Bytes = std::vector<unsigned char>;

// A grey JPEG; with noise the samples do not compress, so the file (and a PDF holding it) grows
// with the pixel count.
inline Bytes JpegBytes(int width, int height, bool noise) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char *memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &memory, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width));
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            row[static_cast<std::size_t>(x)] =
                static_cast<JSAMPLE>(noise ? seed >> 24 : (x * 8 + y * 4) & 0xFF);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes bytes(memory, memory + size);
    jpeg_destroy_compress(&cinfo);
    std::free(memory);
    return bytes;
}

// The first half of a good JPEG: the headers are whole, the scan stops in the middle.
inline Bytes TruncatedJpeg() {
    Bytes bytes = JpegBytes(64, 64, false);
    bytes.resize(bytes.size() / 2);
    return bytes;
}

// A small JPEG whose frame header claims 60000 x 60000 pixels: 3.6 gigapixels behind a few
// hundred bytes of scan data.
inline Bytes HugeClaimJpeg() {
    Bytes bytes = JpegBytes(16, 16, false);
    for (std::size_t i = 2; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            // FF C0, length (2), precision (1), height (2), width (2).
            bytes[i + 5] = bytes[i + 7] = 60000 >> 8;
            bytes[i + 6] = bytes[i + 8] = 60000 & 0xFF;
            return bytes;
        }
    }
    std::abort();
}

// A complete 1 x 1 GIF: a picture, but of a kind the engine does not take.
inline Bytes GifBytes() {
    return {'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00,
            0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00,
            0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
}

// A 4 x 4 grey TIFF, one uncompressed strip of 16 bytes at offset 1000000, in a 138-byte file.
inline Bytes TiffStripPastEnd() {
    Bytes bytes = {'I', 'I', 42, 0, 8, 0, 0, 0};
    auto put16 = [&](unsigned value) {
        bytes.push_back(static_cast<unsigned char>(value));
        bytes.push_back(static_cast<unsigned char>(value >> 8));
    };
    auto put32 = [&](std::uint32_t value) {
        put16(value & 0xFFFF);
        put16(value >> 16);
    };
    struct Entry {
        unsigned tag, type;
        std::uint32_t value;
    };
    const Entry entries[] = {{256, 3, 4},       {257, 3, 4}, {258, 3, 8}, {259, 3, 1}, {262, 3, 1},
                             {273, 4, 1000000}, {277, 3, 1}, {278, 3, 4}, {279, 4, 16}};
    put16(sizeof entries / sizeof entries[0]);
    for (const Entry &entry : entries) {
        put16(entry.tag);
        put16(entry.type);
        put32(1);
        if (entry.type == 3) {
            put16(entry.value);
            put16(0);
        } else {
            put32(entry.value);
        }
    }
    put32(0);
    bytes.resize(bytes.size() + 16, 0x80);
    return bytes;
}

struct BadImage {
    const char *label; // test name
    const char *name;  // file name
    bool exists;
    Bytes (*make)();
};

inline const BadImage kBadImages[] = {
    {"Missing", "missing.jpg", false, nullptr},
    {"ZeroBytes", "empty.jpg", true, [] { return Bytes(); }},
    {"TruncatedJpeg", "cut.jpg", true, TruncatedJpeg},
    {"GifNamedJpg", "really-a-gif.jpg", true, GifBytes},
    {"JpegClaiming60000Squared", "huge.jpg", true, HugeClaimJpeg},
    {"TiffStripPastTheEnd", "strip.tif", true, TiffStripPastEnd},
};

inline void WriteBytes(const std::string &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Puts the bad image into `folder` (nothing for the missing one) and returns its path.
inline std::string Place(const BadImage &image, const std::string &folder) {
    const std::string path = folder + "/" + image.name;
    if (image.exists) {
        WriteBytes(path, image.make());
    }
    return path;
}

inline std::string ReadAll(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace bad_input
