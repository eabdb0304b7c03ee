#include "pdfw/TiffImage.h"

#include <string>

#include "pdfw/PdfwError.h"
#include "pdfw/RasterImage.h"
#include "pdfw/TiffDecoder.h"
#include "pdfw/TiffFile.h"

namespace pdfw {

namespace {

// Bilevel CCITT data in a single strip can go into the PDF as it is: more strips would each
// start their own coding (and a G4 strip refers to the row before), so those are decoded.
bool ccittPassesThrough(TiffFile& tiff) {
    const TiffPage& p = tiff.page();
    bool ccitt = p.compression == COMPRESSION_CCITTFAX4 ||
                 (p.compression == COMPRESSION_CCITTFAX3 && (p.t4Options & GROUP3OPT_UNCOMPRESSED) == 0);
    return ccitt && p.bitsPerSample == 1 && p.samplesPerPixel == 1 &&
           (p.photometric == PHOTOMETRIC_MINISWHITE || p.photometric == PHOTOMETRIC_MINISBLACK) &&
           !p.tiled && TIFFNumberOfStrips(tiff.handle()) == 1;
}

void reverseBits(unsigned char* data, std::size_t size) {
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

int writeCcitt(ObjectWriter& writer, TiffFile& tiff, const InputFile& file,
               const MemoryProcs& memory) {
    const TiffPage& p = tiff.page();
    std::uint64_t* counts = nullptr;
    if (!TIFFGetField(tiff.handle(), TIFFTAG_STRIPBYTECOUNTS, &counts) || !counts ||
        counts[0] == 0 || counts[0] > file.size()) {
        tiff.failRead("bad strip byte count");
    }
    Buffer data(memory, checkedSize({counts[0]}, "the CCITT data of \"" + tiff.path() + "\""),
                "CCITT data");
    tmsize_t got = TIFFReadRawStrip(tiff.handle(), 0, data.data(),
                                    static_cast<tmsize_t>(data.size()));
    if (got < 0 || static_cast<std::uint64_t>(got) != data.size()) {
        tiff.failRead("cannot read the CCITT data");
    }
    if (p.fillOrder == FILLORDER_LSB2MSB) {
        reverseBits(data.data(), data.size());
    }
    int k = p.compression == COMPRESSION_CCITTFAX4 ? -1
            : (p.t4Options & GROUP3OPT_2DENCODING) ? 1
                                                    : 0;
    std::string dict = "/Type/XObject/Subtype/Image/Width " + std::to_string(p.width) +
                       "/Height " + std::to_string(p.height) +
                       "/ColorSpace/DeviceGray/BitsPerComponent 1/Filter/CCITTFaxDecode"
                       "/DecodeParms<</K " +
                       std::to_string(k) + "/Columns " + std::to_string(p.width) + "/Rows " +
                       std::to_string(p.height);
    // The coding names runs white and black; where 0 means black, they are the other way.
    if (p.photometric == PHOTOMETRIC_MINISBLACK) {
        dict += "/BlackIs1 true";
    }
    dict += ">>";
    int object = writer.reserve();
    writer.writeStream(object, dict, data.data(), data.size());
    return object;
}

} // namespace

LoadedImage writeTiff(ObjectWriter& writer, const InputFile& file, const ImageRequest& request) {
    TiffFile tiff(file, request.page);
    const TiffPage& p = tiff.page();
    LoadedImage loaded{0, p.width, p.height, p.orientation};
    if (ccittPassesThrough(tiff)) {
        loaded.object = writeCcitt(writer, tiff, file, request.memory);
        return loaded;
    }
    RasterImage raster = decodeTiff(tiff, request.pdfMinor, request.memory);
    loaded.width = raster.width;
    loaded.height = raster.height;
    loaded.object = writeRaster(writer, raster, request.pdfMinor, request.path, request.memory);
    return loaded;
}

} // namespace pdfw
