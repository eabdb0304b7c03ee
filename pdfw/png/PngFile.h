// A PNG file's chunks read without decoding the picture: the header, the palette, the
// transparency, the colour profile and where the compressed image data lies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdfw/core/InputFile.h"

namespace folvane::pdfw {

enum PngColourType { kPngGrey = 0, kPngRgb = 2, kPngPalette = 3, kPngGreyAlpha = 4, kPngRgba = 6 };

struct PngInfo {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 8;
    int colourType = kPngGrey;
    bool interlaced = false;
    std::vector<unsigned char> palette;      // PLTE: red, green, blue per entry
    std::vector<unsigned char> transparency; // tRNS as stored (empty when absent)
    std::vector<unsigned char> iccChunk;     // iCCP as stored: name, 0, method, zlib data
    double dpiX = 0; // dots per inch a pHYs chunk states in pixels per metre; 0 when none
    double dpiY = 0;
    struct Span {
        std::uint64_t offset; // first byte of the chunk's type
        std::uint32_t length; // of its data
    };
    std::vector<Span> data; // the IDAT chunks in order
    std::uint64_t dataBytes = 0;
};

// Samples per pixel of a colour type (1 to 4).
int pngChannels(int colourType);

// Bytes of one unfiltered row (without the filter type byte), checked.
std::size_t pngRowBytes(const PngInfo &info);

// Walks the chunks up to IEND (or the end of the file). Raises PDFW_SYNTAX_ERROR naming the
// file for a missing signature or header, an invalid header, a palette image without a
// palette, a damaged critical chunk (bad CRC, cut short) or no image data.
PngInfo readPng(const ByteSource &file);

// The profile inside the iCCP chunk, inflated; empty with `reason` set when it cannot be read.
std::vector<unsigned char> pngIccProfile(const PngInfo &info, std::string &reason);

} // namespace folvane::pdfw
