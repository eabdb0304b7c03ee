// Prepares a PNG file as an image XObject: its compressed image data copied unchanged, with
// the PNG predictor named in /DecodeParms, where PDF reads it to the same samples; every other
// PNG decoded with libpng and compressed as decoded TIFF pages are. Lossless always, except
// that 16-bit samples become 8-bit below PDF 1.5.
#pragma once

#include <optional>
#include <string>

#include "pdfw/core/ImageRequest.h"
#include "pdfw/core/InputFile.h"
#include "pdfw/core/PreparedImage.h"
#include "pdfw/png/PngFile.h"

namespace folvane::pdfw {

// True when PDF can carry the picture's data as it is: not interlaced, no alpha channel, grey
// of 1 to 8 bits, RGB of 8 bits or a palette without partial transparency; 16-bit grey and
// RGB from PDF 1.5. A tRNS colour key stays a colour key (/Mask).
bool pngPassesThrough(const PngInfo &info, int pdfMinor);

// How a PNG goes into a document of PDF version 1.`pdfMinor`: the one decision behind
// preparing and inspecting it. Its data is copied when PDF can carry it and it is whole (every
// chunk's CRC right, the zlib stream complete, every row's filter known); else it is decoded.
struct PngPlan {
    PngInfo info;
    bool copy = false;
    Buffer data;                     // for a copy: the joined image data
    std::optional<FileSpan> spilled; // or, for data too large to hold, where it was put
};

// Image data too large to hold is put into a spill file in `*spillFolder`; without a folder
// (inspecting) it is only checked.
PngPlan planPng(const InputFile &file, int pdfMinor, const MemoryProcs &memory,
                const std::string *spillFolder = nullptr);

PreparedImage preparePng(const InputFile &file, const ImageRequest &request);

} // namespace folvane::pdfw
