#include "pdfw/tiff/TiffFormat.h"

#include <cstring>
#include <limits>
#include <vector>

#include "base/FileSignatures.h"
#include "pdfw/core/Orientation.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/core/PictureLimits.h"
#include "pdfw/raster/GreyCanvas.h"
#include "pdfw/raster/PicturePixels.h"
#include "pdfw/raster/RecognitionPixels.h"
#include "pdfw/tiff/TiffDecoder.h"
#include "pdfw/tiff/TiffImage.h"

namespace folvane::pdfw {

namespace {

bool recognisesTiff(const unsigned char *head, std::size_t size) {
    return folvane::isTiffSignature(head, size);
}

int countTiffPages(const InputFile &file) {
    TiffFile tiff(file, 1);
    // libtiff stops at a directory chain that loops back on itself.
    tdir_t directories = TIFFNumberOfDirectories(tiff.handle());
    if (directories > static_cast<tdir_t>(std::numeric_limits<int>::max())) {
        Problem tooMany = problemWith(PDFW_PROBLEM_TOO_LARGE, file.path());
        tooMany.item = "its page count";
        fail(PDFW_OVERFLOW_ERROR, std::move(tooMany));
    }
    return directories < 1 ? 1 : static_cast<int>(directories);
}

PageFacts inspectTiffPage(const InputFile &file, int page, int /*pdfMinor*/) {
    TiffFile tiff(file, page);
    const TiffPage &p = tiff.page();
    TiffPlan plan = planTiff(tiff, file, MemoryProcs{});
    PageFacts facts;
    bool swap = swapsAxes(p.orientation);
    facts.width = swap ? p.height : p.width;
    facts.height = swap ? p.width : p.height;
    bool copied =
        plan.intake == TiffPlan::Intake::Fax || plan.intake == TiffPlan::Intake::JpegStrips;
    facts.intake = copied ? PDFW_INTAKE_COPIED : PDFW_INTAKE_RECOMPRESSED;
    return facts;
}

// The resolution the page states, in dots per inch; kScanDpi when it states none.
int tiffDpi(TiffFile &tiff) {
    float x = 0;
    std::uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tiff.handle(), TIFFTAG_XRESOLUTION, &x) || !(x > 0) || x > 100000) {
        return kScanDpi;
    }
    TIFFGetFieldDefaulted(tiff.handle(), TIFFTAG_RESOLUTIONUNIT, &unit);
    if (unit == RESUNIT_CENTIMETER) {
        return static_cast<int>(x * 2.54f + 0.5f);
    }
    return unit == RESUNIT_INCH ? static_cast<int>(x + 0.5f) : kScanDpi;
}

// The grey of each palette entry of an indexed picture (empty for others).
std::vector<unsigned char> paletteGreysOf(const RasterImage &raster) {
    return raster.palette.empty()
               ? std::vector<unsigned char>()
               : paletteGreys(raster.palette, raster.space.device == "/DeviceGray");
}

// A page too large to hold, read a band at a time into a grey picture of the size recognition
// needs.
PagePixels tiffRecognitionBands(TiffFile &tiff, int dpi, const MemoryProcs &memory) {
    const TiffPage &p = tiff.page();
    GreyCanvas canvas(p.width, p.height, dpi, memory);
    std::vector<unsigned char> greys;
    bool first = true;
    decodeTiffBands(tiff, 7, memory, bandBytes(), [&](RasterImage &band) {
        if (first) {
            greys = paletteGreysOf(band);
            first = false;
        }
        canvas.add(band, band.palette.empty() ? nullptr : &greys);
    });
    return canvas.finish(p.orientation);
}

PagePixels tiffRecognitionPixels(const InputFile &file, int page, const MemoryProcs &memory) {
    TiffFile tiff(file, page);
    int dpi = tiffDpi(tiff);
    int orientation = tiff.page().orientation;
    checkPictureSides(file.path(), "TIFF", tiff.page().width, tiff.page().height);
    if (tiffDecodedBytes(tiff.page()) > wholePictureBytes()) {
        return tiffRecognitionBands(tiff, dpi, memory);
    }
    RasterImage raster = decodeTiff(tiff, 7, memory);
    bool indexed = !raster.palette.empty();
    std::vector<unsigned char> greys =
        indexed ? paletteGreys(raster.palette, raster.space.device == "/DeviceGray")
                : std::vector<unsigned char>();
    return rasterForRecognition(raster, indexed ? &greys : nullptr, orientation, dpi, memory);
}

// The resolution the page states in dots per inch, 0 when it states none.
int statedDpi(TiffFile &tiff) {
    float x = 0;
    return TIFFGetField(tiff.handle(), TIFFTAG_XRESOLUTION, &x) && x > 0 ? tiffDpi(tiff) : 0;
}

PagePicture tiffPicture(const InputFile &file, int page, const MemoryProcs &memory) {
    TiffFile tiff(file, page);
    RasterImage raster = decodeTiff(tiff, 7, memory);
    bool indexed = !raster.palette.empty();
    std::vector<unsigned char> colours =
        indexed ? paletteColours(raster.palette, raster.space.device == "/DeviceGray")
                : std::vector<unsigned char>();
    PagePicture picture = rasterToPicture(raster, indexed ? &colours : nullptr, memory);
    picture.orientation = tiff.page().orientation;
    picture.dpi = statedDpi(tiff);
    // Bilevel pages come from scanners and fax machines, never from cameras.
    if (tiff.page().bitsPerSample == 1 && tiff.page().samplesPerPixel == 1) {
        picture.source = PagePicture::Source::Scan;
    }
    return picture;
}

} // namespace

const ImageFormat kTiffFormat = {.name = "TIFF",
                                 .bit = PDFW_FORMAT_TIFF,
                                 .recognises = recognisesTiff,
                                 .countPages = countTiffPages,
                                 .inspect = inspectTiffPage,
                                 .prepare = prepareTiff,
                                 .recognitionPixels = tiffRecognitionPixels,
                                 .picture = tiffPicture};

} // namespace folvane::pdfw
