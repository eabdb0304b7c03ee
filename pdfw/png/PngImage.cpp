#include "pdfw/png/PngImage.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <zlib.h>

#include "pdfw/core/PdfwError.h"
#include "pdfw/png/PngDecoder.h"
#include "pdfw/raster/IccProfile.h"
#include "pdfw/raster/RasterImage.h"

namespace pdfw {

namespace {

std::uint32_t be32(const unsigned char *p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

bool paletteIsOpaque(const PngInfo &info) {
    return std::all_of(info.transparency.begin(), info.transparency.end(),
                       [](unsigned char a) { return a == 255; });
}

// The colour key of a grey or RGB picture's tRNS chunk as a /Mask entry; "" when there is
// none, or when it names a value the samples cannot hold (then no pixel is transparent).
std::string colourKeyMask(const PngInfo &info) {
    if (info.transparency.empty() || info.colourType == kPngPalette) {
        return "";
    }
    const unsigned top = (1u << info.bitDepth) - 1;
    std::string mask = "/Mask[";
    for (std::size_t i = 0; i + 1 < info.transparency.size(); i += 2) {
        unsigned v = static_cast<unsigned>(info.transparency[i] << 8 | info.transparency[i + 1]);
        if (v > top) {
            return "";
        }
        mask += (i ? " " : "") + std::to_string(v) + " " + std::to_string(v);
    }
    return mask + "]";
}

// The IDAT chunks' data joined: the zlib stream the PDF carries. False when a chunk's CRC is
// wrong.
bool gatherData(const ByteSource &file, const PngInfo &info, Buffer &data) {
    unsigned char *out = data.data();
    for (const PngInfo::Span &span : info.data) {
        unsigned char type[4], stored[4];
        file.readExactly(span.offset, type, 4, "an image data chunk");
        file.readExactly(span.offset + 4, out, span.length, "an image data chunk");
        file.readExactly(span.offset + 4 + span.length, stored, 4, "an image data chunk");
        uLong crc = crc32(crc32(0, type, 4), out, span.length);
        if (static_cast<std::uint32_t>(crc) != be32(stored)) {
            return false;
        }
        out += span.length;
    }
    return true;
}

// True when the zlib stream inflates to exactly the rows the header promises, each led by a
// known filter type: what a PDF reader's Flate and predictor decoding needs to give libpng's
// samples.
bool dataIsWhole(const Buffer &data, const PngInfo &info, std::size_t rowBytes) {
    const std::uint64_t stride = std::uint64_t{rowBytes} + 1;
    const std::uint64_t expected = stride * info.height;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        Problem memory = problemWith(PDFW_PROBLEM_MEMORY, "");
        memory.item = "the Flate check";
        fail(PDFW_MEMORY_ERROR, std::move(memory));
    }
    std::vector<unsigned char> window(std::size_t{1} << 16);
    z.next_in = const_cast<unsigned char *>(data.data());
    std::size_t left = data.size();
    std::uint64_t produced = 0;
    int status = Z_OK;
    bool filtersKnown = true;
    while (status == Z_OK && filtersKnown && produced <= expected) {
        uInt feed = static_cast<uInt>(std::min<std::size_t>(left, 1u << 30));
        z.avail_in = feed;
        z.next_out = window.data();
        z.avail_out = static_cast<uInt>(window.size());
        status = inflate(&z, Z_NO_FLUSH);
        left -= feed - z.avail_in;
        std::uint64_t got = window.size() - z.avail_out;
        for (std::uint64_t at = (produced + stride - 1) / stride * stride; at < produced + got;
             at += stride) {
            filtersKnown = filtersKnown && window[at - produced] <= 4;
        }
        produced += got;
        if (status == Z_BUF_ERROR && got > 0) {
            status = Z_OK;
        }
    }
    inflateEnd(&z);
    return status == Z_STREAM_END && filtersKnown && produced == expected;
}

std::string hexPalette(std::vector<unsigned char> palette, int bitDepth) {
    // Indices past the palette show black, as libpng reads them.
    palette.resize(std::max(palette.size(), std::size_t{3} << bitDepth), 0);
    static const char kHex[] = "0123456789ABCDEF";
    std::string hex = "<";
    for (unsigned char v : palette) {
        hex += kHex[v >> 4];
        hex += kHex[v & 15];
    }
    return std::to_string(palette.size() / 3 - 1) + hex + ">";
}

// The picture's colour space: its profile's when it is sound, else the device space; a
// palette's entries are RGB.
ColourSpace pngColourSpace(const PngInfo &info, const ImageRequest &request, bool indexed,
                           int colours, Notes &notes) {
    std::string problem;
    std::vector<unsigned char> profile;
    if (!info.iccChunk.empty()) {
        profile = pngIccProfile(info, problem);
    }
    return colourSpaceFor(profile, indexed ? 3 : colours, request.pdfMinor, notes, problem);
}

PreparedImage copied(const PngInfo &info, Buffer data, const ColourSpace &space) {
    PreparedImage image;
    image.width = info.width;
    image.height = info.height;
    bool indexed = info.colourType == kPngPalette;
    int colours = info.colourType == kPngRgb ? 3 : 1;
    std::string bits = std::to_string(info.bitDepth);
    ObjectText dict = "/Type/XObject/Subtype/Image/Width " + std::to_string(info.width) +
                      "/Height " + std::to_string(info.height) + "/ColorSpace";
    if (indexed) {
        dict += "[/Indexed";
    }
    appendColourSpace(dict, image.group, space);
    if (indexed) {
        dict += " " + hexPalette(info.palette, info.bitDepth) + "]";
    }
    dict += "/BitsPerComponent " + bits + "/Filter/FlateDecode/DecodeParms<</Predictor 15/Colors " +
            std::to_string(colours) + "/BitsPerComponent " + bits + "/Columns " +
            std::to_string(info.width) + ">>" + colourKeyMask(info);
    image.group.objects.push_back(streamObject(std::move(dict), std::move(data)));
    return image;
}

bool allOpaque(const Buffer &alpha) {
    return std::all_of(alpha.data(), alpha.data() + alpha.size(),
                       [](unsigned char a) { return a == 0xFF; });
}

} // namespace

bool pngPassesThrough(const PngInfo &info, int pdfMinor) {
    if (info.interlaced) {
        return false;
    }
    switch (info.colourType) {
    case kPngGrey:
        return info.bitDepth <= 8 || pdfMinor >= 5;
    case kPngRgb:
        return info.bitDepth == 8 || pdfMinor >= 5;
    case kPngPalette:
        return paletteIsOpaque(info);
    default:
        return false;
    }
}

PngPlan planPng(const InputFile &file, int pdfMinor, const MemoryProcs &memory) {
    PngPlan plan;
    plan.info = readPng(file);
    const PngInfo &info = plan.info;
    std::string what = "\"" + file.path() + "\" (" + std::to_string(info.width) + " x " +
                       std::to_string(info.height) + " pixels)";
    std::size_t rowBytes = pngRowBytes(info);
    checkedSize({std::uint64_t{rowBytes} + 1, info.height}, what);
    if (pngPassesThrough(info, pdfMinor)) {
        Buffer data(memory, checkedSize({info.dataBytes}, what), "PNG data");
        // Damaged data is libpng's to read (or to refuse).
        if (gatherData(file, info, data) && dataIsWhole(data, info, rowBytes)) {
            plan.data = std::move(data);
            plan.copy = true;
        }
    }
    return plan;
}

PreparedImage preparePng(const InputFile &file, const ImageRequest &request) {
    PngPlan plan = planPng(file, request.pdfMinor, request.memory);
    const PngInfo &info = plan.info;
    Notes notes;
    if (plan.copy) {
        ColourSpace space = pngColourSpace(info, request, info.colourType == kPngPalette,
                                           info.colourType == kPngRgb ? 3 : 1, notes);
        PreparedImage image = copied(info, std::move(plan.data), space);
        image.notes = std::move(notes);
        return image;
    }
    DecodedPng decoded = decodePng(file, request.pdfMinor, request.memory);
    RasterImage &raster = decoded.raster;
    if (raster.alpha.size() > 0 && allOpaque(raster.alpha)) {
        raster.alpha = Buffer();
    }
    raster.space = pngColourSpace(info, request, decoded.indexed, raster.components, notes);
    if (decoded.indexed) {
        raster.palette = hexPalette(decoded.palette, raster.bitsPerComponent);
    }
    PreparedImage image = prepareRaster(raster, request.pdfMinor, request.path, request.memory);
    image.notes = std::move(notes);
    return image;
}

} // namespace pdfw
