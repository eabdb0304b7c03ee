#include "pdfw/TiffImage.h"

#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "pdfw/JpegImage.h"
#include "pdfw/JpegStructure.h"
#include "pdfw/PdfwError.h"
#include "pdfw/RasterImage.h"
#include "pdfw/TiffDecoder.h"
#include "pdfw/TiffFile.h"
#include "pdfw/TiffJpegStrips.h"

namespace pdfw {

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

PreparedObject ccittObject(TiffFile &tiff, const InputFile &file, const MemoryProcs &memory) {
    const TiffPage &p = tiff.page();
    std::size_t at = 0;
    Buffer data = rawStrip(tiff, file, memory, 0, at);
    if (p.fillOrder == FILLORDER_LSB2MSB) {
        reverseBits(data.data(), data.size());
    }
    int k = p.compression == COMPRESSION_CCITTFAX4 ? -1
            : (p.t4Options & GROUP3OPT_2DENCODING) ? 1
                                                   : 0;
    std::string dict = "/Type/XObject/Subtype/Image/Width " + std::to_string(p.width) + "/Height " +
                       std::to_string(p.height) +
                       "/ColorSpace/DeviceGray/BitsPerComponent 1/Filter/CCITTFaxDecode"
                       "/DecodeParms<</K " +
                       std::to_string(k) + "/Columns " + std::to_string(p.width) + "/Rows " +
                       std::to_string(p.height);
    // The coding names runs white and black; where 0 means black, they are the other way.
    if (p.photometric == PHOTOMETRIC_MINISBLACK) {
        dict += "/BlackIs1 true";
    }
    dict += ">>";
    return streamObject(dict, std::move(data));
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

// The page's JPEG stream, or nothing when it turns out not to fit the page (then the page
// is decoded instead).
std::optional<PreparedObject> jpegStripObject(TiffFile &tiff, const InputFile &file,
                                              const MemoryProcs &memory) {
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
            return std::nullopt;
        }
        data = std::move(*joined);
        size = data.size();
    } else {
        std::size_t at = 0;
        data = rawStrip(tiff, file, memory, prefix, at);
        size = data.size();
        if (prefix) {
            if (size - at < 2 || data.data()[at] != 0xFF || data.data()[at + 1] != 0xD8) {
                return std::nullopt;
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
        return std::nullopt;
    }
    // The stream has no marker saying whether it holds YCbCr: the TIFF says it.
    int transform = p.photometric == PHOTOMETRIC_YCBCR ? 1 : 0;
    std::string dict = jpegImageDictionary(info, transform);
    data.truncate(static_cast<std::size_t>(info.length));
    return streamObject(dict, std::move(data));
}

} // namespace

PreparedImage prepareTiff(const InputFile &file, const ImageRequest &request) {
    TiffFile tiff(file, request.page);
    const TiffPage &p = tiff.page();
    PreparedImage prepared;
    prepared.width = p.width;
    prepared.height = p.height;
    prepared.orientation = p.orientation;
    if (ccittPassesThrough(tiff)) {
        prepared.group.objects.push_back(ccittObject(tiff, file, request.memory));
        return prepared;
    }
    if (jpegPassesThrough(tiff)) {
        if (auto object = jpegStripObject(tiff, file, request.memory)) {
            prepared.group.objects.push_back(std::move(*object));
            return prepared;
        }
    }
    RasterImage raster = decodeTiff(tiff, request.pdfMinor, request.memory);
    PreparedImage decoded = prepareRaster(raster, request.pdfMinor, request.path, request.memory);
    decoded.orientation = p.orientation;
    return decoded;
}

} // namespace pdfw
