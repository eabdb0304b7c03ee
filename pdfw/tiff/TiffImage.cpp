#include "pdfw/tiff/TiffImage.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "pdfw/core/CropArea.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/core/PictureLimits.h"
#include "pdfw/core/UnnamedFile.h"
#include "pdfw/jpeg/JpegImage.h"
#include "pdfw/jpeg/JpegStructure.h"
#include "pdfw/raster/IccProfile.h"
#include "pdfw/raster/RasterCrop.h"
#include "pdfw/raster/RasterImage.h"
#include "pdfw/raster/StreamedRaster.h"
#include "pdfw/tiff/CcittCheck.h"
#include "pdfw/tiff/TiffDecoder.h"
#include "pdfw/tiff/TiffFaxRecoder.h"
#include "pdfw/tiff/TiffFile.h"
#include "pdfw/tiff/TiffJpegStrips.h"

namespace folvane::pdfw {

namespace {

// Bilevel CCITT data in a single strip can go into the PDF as it is: more strips would each
// start their own coding (and a G4 strip refers to the row before), so those are decoded.
bool ccittPassesThrough(TiffFile &tiff) {
    const TiffPage &p = tiff.page();
    bool ccitt =
        p.compression == COMPRESSION_CCITTFAX4 ||
        (p.compression == COMPRESSION_CCITTFAX3 && (p.t4Options & GROUP3OPT_UNCOMPRESSED) == 0);
    return ccitt && p.bitsPerSample == 1 && p.samplesPerPixel == 1 &&
           (p.photometric == PHOTOMETRIC_MINISWHITE || p.photometric == PHOTOMETRIC_MINISBLACK) &&
           !p.tiled && TIFFNumberOfStrips(tiff.handle()) == 1;
}

void reverseBits(unsigned char *data, std::size_t size) {
    static const auto kTable = [] {
        struct Table {
            unsigned char v[256];
        } t{};
        for (int i = 0; i < 256; ++i) {
            int r = 0;
            for (int b = 0; b < 8; ++b) {
                r |= ((i >> b) & 1) << (7 - b);
            }
            t.v[i] = static_cast<unsigned char>(r);
        }
        return t;
    }();
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = kTable.v[data[i]];
    }
}

Buffer rawStrip(TiffFile &tiff, const InputFile &file, const MemoryProcs &memory, std::size_t extra,
                std::size_t &at) {
    std::uint64_t *counts = nullptr;
    if (!TIFFGetField(tiff.handle(), TIFFTAG_STRIPBYTECOUNTS, &counts) || !counts ||
        counts[0] == 0 || counts[0] > file.size()) {
        tiff.failRead("bad strip byte count");
    }
    Buffer data(memory, checkedSize({counts[0] + extra}, "the strip of \"" + tiff.path() + "\""),
                "TIFF strip");
    at = extra;
    tmsize_t got =
        TIFFReadRawStrip(tiff.handle(), 0, data.data() + extra, static_cast<tmsize_t>(counts[0]));
    if (got < 0 || static_cast<std::uint64_t>(got) != counts[0]) {
        tiff.failRead("cannot read the strip");
    }
    return data;
}

int faxK(const TiffPage &p) {
    return p.compression == COMPRESSION_CCITTFAX4 ? -1
           : (p.t4Options & GROUP3OPT_2DENCODING) ? 1
                                                  : 0;
}

// The image XObject of a page's fax data (coded with `k` as PDF's CCITTFaxDecode names it).
PreparedObject ccittObject(const TiffPage &p, Buffer data, int k, const ColourSpace &space,
                           ObjectGroup &group) {
    ObjectText dict = "/Type/XObject/Subtype/Image/Width " + std::to_string(p.width) + "/Height " +
                      std::to_string(p.height) + "/ColorSpace";
    appendColourSpace(dict, group, space);
    dict += "/BitsPerComponent 1/Filter/CCITTFaxDecode/DecodeParms<</K " + std::to_string(k) +
            "/Columns " + std::to_string(p.width) + "/Rows " + std::to_string(p.height);
    // The coding names runs white and black; where 0 means black, they are the other way.
    if (p.photometric == PHOTOMETRIC_MINISBLACK) {
        dict += "/BlackIs1 true";
    }
    dict += ">>";
    return streamObject(std::move(dict), std::move(data));
}

// The page's fax data as it is, or as libtiff's encoder writes libtiff's reading of it where PDF
// readers would decode the original differently (then `problem` says why).
void planFax(TiffFile &tiff, const InputFile &file, const MemoryProcs &memory, TiffPlan &plan) {
    const TiffPage &p = tiff.page();
    std::size_t at = 0;
    plan.data = rawStrip(tiff, file, memory, 0, at);
    if (p.fillOrder == FILLORDER_LSB2MSB) {
        reverseBits(plan.data.data(), plan.data.size());
    }
    plan.k = faxK(p);
    plan.faxProblem = ccittProblem(plan.data.data(), plan.data.size(), {plan.k, p.width, p.height});
    plan.intake = TiffPlan::Intake::Fax;
    if (!plan.faxProblem.empty()) {
        plan.data = recodeFaxPage(tiff, memory);
        plan.k = -1;
        plan.intake = TiffPlan::Intake::FaxRecoded;
    }
}

// A JPEG-compressed page in one strip is a JPEG stream once its shared tables are put back
// in front of it; several strips are joined into one. PDF carries that as it is.
bool jpegPassesThrough(TiffFile &tiff) {
    const TiffPage &p = tiff.page();
    bool colours = (p.photometric == PHOTOMETRIC_MINISBLACK && p.samplesPerPixel == 1) ||
                   ((p.photometric == PHOTOMETRIC_RGB || p.photometric == PHOTOMETRIC_YCBCR) &&
                    p.samplesPerPixel == 3) ||
                   (p.photometric == PHOTOMETRIC_SEPARATED && p.inkSet == INKSET_CMYK &&
                    p.samplesPerPixel == 4);
    return p.compression == COMPRESSION_JPEG && colours && p.bitsPerSample == 8 &&
           p.extraSamples == 0 && !p.tiled;
}

// The page's JPEG stream into the plan; false when it turns out not to fit the page (then the
// page is decoded instead).
bool planJpegStrips(TiffFile &tiff, const InputFile &file, const MemoryProcs &memory,
                    TiffPlan &plan) {
    const TiffPage &p = tiff.page();
    std::uint32_t tableBytes = 0;
    const unsigned char *tables = nullptr;
    if (!TIFFGetField(tiff.handle(), TIFFTAG_JPEGTABLES, &tableBytes, &tables) || !tables ||
        tableBytes < 4 || tables[0] != 0xFF || tables[1] != 0xD8 ||
        tables[tableBytes - 2] != 0xFF || tables[tableBytes - 1] != 0xD9) {
        tableBytes = 0;
    }
    // The tables without their end marker, then the strip without its start marker.
    std::size_t prefix = tableBytes ? tableBytes - 2 : 0;
    Buffer data;
    std::size_t size = 0;
    if (TIFFNumberOfStrips(tiff.handle()) > 1) {
        auto joined = joinJpegStrips(tiff, file, tables, prefix, memory);
        if (!joined) {
            return false;
        }
        data = std::move(*joined);
        size = data.size();
    } else {
        std::size_t at = 0;
        data = rawStrip(tiff, file, memory, prefix, at);
        size = data.size();
        if (prefix) {
            if (size - at < 2 || data.data()[at] != 0xFF || data.data()[at + 1] != 0xD8) {
                return false;
            }
            std::memcpy(data.data(), tables, prefix);
            std::memmove(data.data() + prefix, data.data() + at + 2, size - at - 2);
            size -= 2;
        }
    }
    MemorySource source(data.data(), size, tiff.path());
    JpegInfo info = inspectJpeg(source);
    if (info.width != p.width || info.height != p.height || info.coding != JpegCoding::Huffman ||
        info.components != p.samplesPerPixel) {
        return false;
    }
    data.truncate(static_cast<std::size_t>(info.length));
    plan.data = std::move(data);
    plan.jpeg = info;
    plan.intake = TiffPlan::Intake::JpegStrips;
    return true;
}

std::vector<unsigned char> tiffIccProfile(TiffFile &tiff) {
    std::uint32_t count = 0;
    const unsigned char *data = nullptr;
    if (!TIFFGetField(tiff.handle(), TIFFTAG_ICCPROFILE, &count, &data) || !data || count == 0) {
        return {};
    }
    return {data, data + count};
}

// The colour space for `components` colour components: the page's profile's when it is sound,
// else the device space (noting why when a profile was there).
ColourSpace tiffColourSpace(TiffFile &tiff, const ImageRequest &request, int components,
                            Notes &notes) {
    return colourSpaceFor(tiffIccProfile(tiff), components, request.pdfMinor, notes);
}

// Samples of more than 8 bits that the picture holds with 8: PDF before 1.5 has no more, and
// libtiff's RGBA reader gives 8 whatever the version.
void noteReducedSamples(const TiffPage &p, const RasterImage &raster, int pdfMinor, Notes &notes) {
    if (p.bitsPerSample > 8 && raster.bitsPerComponent <= 8) {
        notes.push_back({PDFW_NOTE_SAMPLES_REDUCED, p.bitsPerSample,
                         pdfMinor >= 5 ? "libtiff reads this kind of TIFF as 8-bit colour" : ""});
    }
}

// How many times at most a compression scheme expands its data; 0 when it has no bound worth
// checking (ZSTD, LZMA and others reach ratios of many thousands).
std::uint64_t expansionBound(const TiffPage &p) {
    switch (p.compression) {
    case COMPRESSION_NONE:
        return 1;
    case COMPRESSION_PACKBITS:
        return 64; // 2 bytes repeat one up to 128 times
    case COMPRESSION_LZW:
        return 3641; // a code of 9 bits or more gives at most 4096 bytes
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
        return 1032; // Deflate's largest ratio
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTRLEW:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
        return std::uint64_t{8} * ((p.width + 7) / 8); // a row takes a bit at least
    case COMPRESSION_JPEG:
        return 1024; // a block of 64 samples takes a bit at least
    default:
        return 0;
    }
}

// A header that claims far more pixels than the page's strips or tiles can hold is refused
// before anything is decoded.
void checkTiffData(TiffFile &tiff, const InputFile &file) {
    const TiffPage &p = tiff.page();
    std::uint64_t bound = expansionBound(p);
    if (bound == 0) {
        return;
    }
    std::uint64_t *counts = nullptr;
    ttag_t tag = p.tiled ? TIFFTAG_TILEBYTECOUNTS : TIFFTAG_STRIPBYTECOUNTS;
    std::uint32_t pieces =
        p.tiled ? TIFFNumberOfTiles(tiff.handle()) : TIFFNumberOfStrips(tiff.handle());
    std::uint64_t data = 0;
    if (TIFFGetField(tiff.handle(), tag, &counts) && counts) {
        for (std::uint32_t i = 0; i < pieces && data < file.size(); ++i) {
            data += std::min<std::uint64_t>(counts[i], file.size());
        }
    }
    checkDataCanHold(file.path(), "TIFF", p.width, p.height, tiffDecodedBytes(p),
                     std::min<std::uint64_t>(data, file.size()), bound);
}

// A page small enough to hold: decoded whole and compressed in one go.
PreparedImage prepareWhole(TiffFile &tiff, const ImageRequest &request,
                           const std::optional<folvane::StoredArea> &crop) {
    RasterImage raster = decodeTiff(tiff, request.pdfMinor, request.memory);
    if (crop) {
        raster = cropRaster(raster, *crop, request.memory);
    }
    Notes notes;
    noteReducedSamples(tiff.page(), raster, request.pdfMinor, notes);
    raster.space =
        tiffColourSpace(tiff, request, raster.palette.empty() ? raster.components : 3, notes);
    PreparedImage decoded = prepareRaster(raster, request.pdfMinor, request.path, request.memory);
    decoded.notes = std::move(notes);
    return decoded;
}

// A page too large to hold: decoded and compressed in bands into spill files.
PreparedImage prepareInBands(TiffFile &tiff, const ImageRequest &request,
                             const std::optional<folvane::StoredArea> &crop) {
    StreamedRaster streamed(request.spillFolder.empty() ? temporaryFolder() : request.spillFolder,
                            request.memory);
    RasterImage layout;
    bool first = true;
    std::optional<BandCrop> bands;
    if (crop) {
        bands.emplace(*crop);
    }
    decodeTiffBands(tiff, request.pdfMinor, request.memory, bandBytes(), [&](RasterImage &band) {
        if (first) {
            layout = rasterLayout(band);
            layout.width = crop ? static_cast<std::uint32_t>(crop->width) : band.width;
            first = false;
        }
        RasterImage kept;
        if (!bands) {
            streamed.add(band);
        } else if (bands->crop(band, kept, request.memory)) {
            streamed.add(kept);
        }
    });
    Notes notes;
    noteReducedSamples(tiff.page(), layout, request.pdfMinor, notes);
    layout.space =
        tiffColourSpace(tiff, request, layout.palette.empty() ? layout.components : 3, notes);
    const std::uint32_t height =
        crop ? static_cast<std::uint32_t>(crop->height) : tiff.page().height;
    PreparedImage decoded = streamed.finish(layout, height, request.pdfMinor, request.path);
    decoded.notes = std::move(notes);
    return decoded;
}

} // namespace

std::uint64_t tiffDecodedBytes(const TiffPage &p) {
    return (std::uint64_t{p.width} * p.samplesPerPixel * p.bitsPerSample + 7) / 8 * p.height;
}

TiffPlan planTiff(TiffFile &tiff, const InputFile &file, const MemoryProcs &memory) {
    TiffPlan plan;
    checkPictureSides(file.path(), "TIFF", tiff.page().width, tiff.page().height);
    if (ccittPassesThrough(tiff)) {
        planFax(tiff, file, memory, plan);
        return plan;
    }
    if (jpegPassesThrough(tiff) && planJpegStrips(tiff, file, memory, plan)) {
        return plan;
    }
    Problem unusable;
    if (!tiffDecodable(tiff, unusable)) {
        fail(PDFW_TYPE_ERROR, std::move(unusable));
    }
    checkTiffData(tiff, file);
    plan.intake = TiffPlan::Intake::Decode;
    return plan;
}

namespace {

// The resolution the page states in dots per inch, 0 x 0 when it states none or a unit that
// gives no size.
void statedResolution(TiffFile &tiff, double &dpiX, double &dpiY) {
    float x = 0;
    float y = 0;
    std::uint16_t unit = RESUNIT_INCH;
    dpiX = dpiY = 0;
    if (!TIFFGetField(tiff.handle(), TIFFTAG_XRESOLUTION, &x) || !(x > 0) || x > 100000) {
        return;
    }
    if (!TIFFGetField(tiff.handle(), TIFFTAG_YRESOLUTION, &y) || !(y > 0) || y > 100000) {
        y = x;
    }
    TIFFGetFieldDefaulted(tiff.handle(), TIFFTAG_RESOLUTIONUNIT, &unit);
    if (unit != RESUNIT_INCH && unit != RESUNIT_CENTIMETER) {
        return;
    }
    const double perInch = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
    dpiX = x * perInch;
    dpiY = y * perInch;
}

} // namespace

PreparedImage prepareTiff(const InputFile &file, const ImageRequest &request) {
    TiffFile tiff(file, request.page);
    const TiffPage &p = tiff.page();
    TiffPlan plan = planTiff(tiff, file, request.memory);
    const std::optional<folvane::StoredArea> crop =
        storedCrop(request, p.orientation, p.width, p.height);
    PreparedImage prepared;
    prepared.width = p.width;
    prepared.height = p.height;
    prepared.orientation = p.orientation;
    statedResolution(tiff, prepared.dpiX, prepared.dpiY);
    // A crop writes the kept pixels again, whatever the data's own coding.
    switch (crop ? TiffPlan::Intake::Decode : plan.intake) {
    case TiffPlan::Intake::FaxRecoded:
        prepared.notes.push_back({PDFW_NOTE_FAX_REENCODED, 0, plan.faxProblem});
        [[fallthrough]];
    case TiffPlan::Intake::Fax: {
        ColourSpace space = tiffColourSpace(tiff, request, 1, prepared.notes);
        prepared.group.objects.push_back(
            ccittObject(p, std::move(plan.data), plan.k, space, prepared.group));
        return prepared;
    }
    case TiffPlan::Intake::JpegStrips: {
        ColourSpace space = tiffColourSpace(tiff, request, p.samplesPerPixel, prepared.notes);
        // The stream has no marker saying whether it holds YCbCr: the TIFF says it.
        int transform = p.photometric == PHOTOMETRIC_YCBCR ? 1 : 0;
        ObjectText dict = jpegImageDictionary(plan.jpeg, space, prepared.group, transform);
        prepared.group.objects.push_back(streamObject(std::move(dict), std::move(plan.data)));
        return prepared;
    }
    case TiffPlan::Intake::Decode:
        break;
    }
    PreparedImage decoded = tiffDecodedBytes(p) <= wholePictureBytes()
                                ? prepareWhole(tiff, request, crop)
                                : prepareInBands(tiff, request, crop);
    decoded.orientation = p.orientation;
    decoded.dpiX = prepared.dpiX;
    decoded.dpiY = prepared.dpiY;
    return decoded;
}

} // namespace folvane::pdfw
