#include "pdfw/png/PngImage.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <zlib.h>

#include "pdfw/core/CropArea.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/core/PictureLimits.h"
#include "pdfw/core/UnnamedFile.h"
#include "pdfw/png/PngDataCheck.h"
#include "pdfw/png/PngDecoder.h"
#include "pdfw/raster/IccProfile.h"
#include "pdfw/raster/RasterCrop.h"
#include "pdfw/raster/RasterImage.h"
#include "pdfw/raster/StreamedRaster.h"

namespace folvane::pdfw {

namespace {

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

PreparedImage copied(const PngInfo &info, PngPlan &plan, const ColourSpace &space) {
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
    image.group.objects.push_back(plan.spilled
                                      ? streamObject(std::move(dict), std::move(*plan.spilled))
                                      : streamObject(std::move(dict), std::move(plan.data)));
    return image;
}

bool allOpaque(const Buffer &alpha) {
    return std::all_of(alpha.data(), alpha.data() + alpha.size(),
                       [](unsigned char a) { return a == 0xFF; });
}

// 16-bit samples the picture holds with 8, as PDF before 1.5 has no more.
void noteReducedSamples(const PngInfo &info, const RasterImage &raster, Notes &notes) {
    if (info.bitDepth == 16 && raster.bitsPerComponent == 8) {
        notes.push_back({PDFW_NOTE_SAMPLES_REDUCED, 16, ""});
    }
}

// A picture small enough to hold: decoded whole and compressed in one go.
PreparedImage prepareWhole(const InputFile &file, const PngInfo &info, const ImageRequest &request,
                           const std::optional<folvane::StoredArea> &crop, Notes &notes) {
    DecodedPng decoded = decodePng(file, request.pdfMinor, request.memory);
    RasterImage &raster = decoded.raster;
    if (crop) {
        raster = cropRaster(raster, *crop, request.memory);
    }
    noteReducedSamples(info, raster, notes);
    if (raster.alpha.size() > 0 && allOpaque(raster.alpha)) {
        raster.alpha = Buffer();
    }
    raster.space = pngColourSpace(info, request, decoded.indexed, raster.components, notes);
    if (decoded.indexed) {
        raster.palette = hexPalette(decoded.palette, raster.bitsPerComponent);
    }
    return prepareRaster(raster, request.pdfMinor, request.path, request.memory);
}

// A picture too large to hold: decoded and compressed in bands into spill files.
PreparedImage prepareInBands(const InputFile &file, const PngInfo &info,
                             const ImageRequest &request,
                             const std::optional<folvane::StoredArea> &crop, Notes &notes) {
    std::string folder = request.spillFolder.empty() ? temporaryFolder() : request.spillFolder;
    StreamedRaster streamed(folder, request.memory);
    DecodedPng header;
    std::string palette; // an indexed picture's, told to every band: indices are not predicted
    std::optional<BandCrop> bands;
    if (crop) {
        bands.emplace(*crop);
    }
    decodePngBands(
        file, request.pdfMinor, request.memory, bandBytes(), folder,
        [&](RasterImage &band) {
            if (header.indexed && palette.empty()) {
                palette = hexPalette(header.palette, band.bitsPerComponent);
            }
            band.palette = palette;
            RasterImage kept;
            if (!bands) {
                streamed.add(band);
            } else if (bands->crop(band, kept, request.memory)) {
                streamed.add(kept);
            }
        },
        header);
    RasterImage &layout = header.raster;
    if (crop) {
        layout.width = static_cast<std::uint32_t>(crop->width);
    }
    noteReducedSamples(info, layout, notes);
    layout.space = pngColourSpace(info, request, header.indexed, layout.components, notes);
    if (header.indexed) {
        layout.palette = hexPalette(header.palette, layout.bitsPerComponent);
    }
    const std::uint32_t height = crop ? static_cast<std::uint32_t>(crop->height) : info.height;
    return streamed.finish(layout, height, request.pdfMinor, request.path);
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

PngPlan planPng(const InputFile &file, int pdfMinor, const MemoryProcs &memory,
                const std::string *spillFolder) {
    PngPlan plan;
    plan.info = readPng(file);
    const PngInfo &info = plan.info;
    std::string what = "\"" + file.path() + "\" (" + std::to_string(info.width) + " x " +
                       std::to_string(info.height) + " pixels)";
    checkPictureSides(file.path(), "PNG", info.width, info.height);
    std::size_t rowBytes = pngRowBytes(info);
    // Deflate expands its data at most 1032 times.
    checkDataCanHold(file.path(), "PNG", info.width, info.height,
                     (std::uint64_t{rowBytes} + 1) * info.height, info.dataBytes, 1032);
    if (!pngPassesThrough(info, pdfMinor)) {
        return plan;
    }
    // Damaged data is libpng's to read (or to refuse).
    if (info.dataBytes <= wholePictureBytes()) {
        Buffer data(memory, checkedSize({info.dataBytes}, what), "PNG data");
        plan.copy = gatherPngData(file, info, rowBytes, data);
        if (plan.copy) {
            plan.data = std::move(data);
        }
        return plan;
    }
    if (!spillFolder) {
        plan.copy = spillPngData(file, info, rowBytes, nullptr, memory);
        return plan;
    }
    SpillFile spill(*spillFolder);
    plan.copy = spillPngData(file, info, rowBytes, &spill, memory);
    if (plan.copy) {
        plan.spilled.emplace(spill.span());
    }
    return plan;
}

namespace {

PreparedImage preparePlanned(const InputFile &file, PngPlan &plan, const ImageRequest &request) {
    const PngInfo &info = plan.info;
    const std::optional<folvane::StoredArea> crop = storedCrop(request, 1, info.width, info.height);
    Notes notes;
    // A crop writes the kept pixels again: the file's own data hold the rest too.
    if (plan.copy && !crop) {
        ColourSpace space = pngColourSpace(info, request, info.colourType == kPngPalette,
                                           info.colourType == kPngRgb ? 3 : 1, notes);
        PreparedImage image = copied(info, plan, space);
        image.notes = std::move(notes);
        return image;
    }
    PreparedImage image =
        (std::uint64_t{pngRowBytes(info)} + 1) * info.height <= wholePictureBytes()
            ? prepareWhole(file, info, request, crop, notes)
            : prepareInBands(file, info, request, crop, notes);
    image.notes = std::move(notes);
    return image;
}

} // namespace

PreparedImage preparePng(const InputFile &file, const ImageRequest &request) {
    std::string folder = request.spillFolder.empty() ? temporaryFolder() : request.spillFolder;
    PngPlan plan = planPng(file, request.pdfMinor, request.memory, &folder);
    PreparedImage image = preparePlanned(file, plan, request);
    image.dpiX = plan.info.dpiX;
    image.dpiY = plan.info.dpiY;
    return image;
}

} // namespace folvane::pdfw
