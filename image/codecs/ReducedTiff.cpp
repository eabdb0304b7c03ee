// The reduced TIFF decode: the page's strips or tiles checked against the file first (a page
// claiming far more than the file holds is refused before anything is decoded), then read a
// band at a time (TiffBlocks), converted as the full decoder converts them (TiffRgbaRows,
// TiffSampleRows) and area-averaged into the reduced size.
#include <cstdio>
#include <memory>
#include <type_traits>

#include <tiffio.h>

#include "base/Orientation.h"
#include "image/CfStream.h"
#include "image/SafeSize.h"
#include "image/codecs/AreaReducer.h"
#include "image/codecs/CfImageTIFPage.h"
#include "image/codecs/CfTiffStreamProcs.h"
#include "image/codecs/DecodeFailure.h"
#include "image/codecs/ReducedJob.h"
#include "image/codecs/TiffBlocks.h"
#include "image/codecs/TiffRgbaRows.h"
#include "image/codecs/TiffSampleRows.h"

namespace {

constexpr const char *kModule = "ReducedTiff";

struct TiffCloser {
    void operator()(TIFF *tif) const { TIFFClose(tif); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

[[noreturn]] void raiseStrile(const char *kind, uint32_t index, uint32_t count,
                              const char *problem) {
    char text[kLastErrorSize];
    std::snprintf(text, sizeof text,
                  "%s: %s %u of %u %s: the file holds less than its header "
                  "claims",
                  kModule, kind, index + 1, count, problem);
    raiseDecodeFailure(text);
}

// Every strip or tile of the page must lie inside the file, and all of them together fit in
// it: data that is missing, or shared by many strips, fails here at once rather than after
// decoding rows of nothing. (An empty one fails when it is read, if it is: a plane that no
// colour needs may be left empty.)
void checkStriles(TIFF *tif, CfStream &stream) {
    const bool tiled = TIFFIsTiled(tif) != 0;
    const char *kind = tiled ? "tile" : "strip";
    const uint32_t count = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    const int64_t fileSize = stream.Size();
    uint64_t total = 0;
    for (uint32_t i = 0; i < count; ++i) {
        int failed = 0;
        const uint64_t offset = TIFFGetStrileOffsetWithErr(tif, i, &failed);
        const uint64_t bytes = TIFFGetStrileByteCountWithErr(tif, i, &failed);
        if (failed) {
            raiseStrile(kind, i, count, "has no readable place in the file");
        }
        if (fileSize >= 0 && bytes != 0 && !SafeSize::fitsWithin(offset, bytes, fileSize)) {
            raiseStrile(kind, i, count, "lies beyond the end of the file");
        }
        const auto sum = SafeSize::add(total, bytes);
        if (!sum || (fileSize >= 0 && *sum > uint64_t(fileSize))) {
            raiseStrile(kind, i, count, "overlaps the ones before it");
        }
        total = *sum;
    }
}

template <class Rows>
void reducePage(TIFF *tif, const CfImageTIF::Page &page, Rows &rows, const ReducedSize &size,
                TiffMessages &messages, CfImage &image) {
    AreaReducer reducer({page.width, page.height, page.orientation, rows.pixels()}, size);
    TiffBlockReader reader(tif, page, rows.planes(), rows.mode(), messages);
    reader.readAll([&](const TiffBlock &block) { rows.add(block, reducer); });
    if constexpr (std::is_same_v<Rows, TiffSampleRows>) {
        reducer.finish(image, rows.shift(), rows.greyMap());
    } else {
        reducer.finish(image);
    }
}

} // namespace

void decodeReducedTiff(CfStream &stream, ReducedJob &job) {
    TiffMessages messages;
    TiffHandle tif(TiffOpenStream(&stream, "rb", &messages));
    if (!tif) {
        raiseDecodeFailure("ReducedTiff: not a TIFF file libtiff can open");
    }
    if (!TIFFSetDirectory(tif.get(), static_cast<uint16_t>(job.image.info.frame))) {
        raiseDecodeFailure("ReducedTiff: the page asked for is not in the file");
    }
    CfImageTIF::Page page = tiffcodec::ReadPageTags(tif.get());
    const bool turned = folvane::swapsAxes(page.orientation);
    const ReducedSize size = job.chooseSize(turned ? page.height : page.width,
                                            turned ? page.width : page.height, kModule);
    checkStriles(tif.get(), stream);
    tiffcodec::SettleRowsPerStrip(tif.get(), page);
    if (tiffcodec::IsRgbFamily(page.photometric)) {
        TiffRgbaRows rows(tif.get(), page.samplesPerPixel);
        reducePage(tif.get(), page, rows, size, messages, job.image);
    } else {
        TiffSampleRows rows(tif.get(), page);
        reducePage(tif.get(), page, rows, size, messages, job.image);
    }
}
