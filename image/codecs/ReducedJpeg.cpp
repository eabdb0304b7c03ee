// The reduced JPEG decode: libjpeg's scaled decode at the largest reduction (scale M/8) that
// still leaves at least the reduced size, its scanlines then area-averaged into that size.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "base/Orientation.h"
#include "image/CfStream.h"
#include "image/SafeSize.h"
#include "image/codecs/AreaReducer.h"
#include "image/codecs/CfExifReader.h"
#include "image/codecs/DecodeFailure.h"
#include "image/codecs/JpegCmyk.h"
#include "image/codecs/JpegReadSession.h"
#include "image/codecs/ReducedJob.h"

namespace {

constexpr const char *kModule = "ReducedJpeg";
constexpr int kFirstRestartMarker = 0xD0;
constexpr int kLastRestartMarker = 0xD7;
// libjpeg's working memory. A file of one scan needs a row of blocks; a progressive or
// multi-scan file keeps every DCT coefficient of the picture (2 bytes a sample, whatever the
// scale), the one part of the reduced decode that grows with the picture.
constexpr uint64_t kLibraryCeiling = CFIMAGE_MAX_MEMORY;

[[noreturn]] void raiseLibraryFailure(const JpegReadSession &jpeg) {
    char text[kLastErrorSize];
    std::snprintf(text, sizeof text, "%s: %s", kModule, jpeg.message());
    raiseDecodeFailure(text);
}

// The EXIF orientation, read ahead of the decode as the full decoder reads it; 1 without one.
int32_t orientationOf(CfStream &stream) {
    ExifRecord record;
    std::memset(&record, 0, sizeof record);
    std::unique_ptr<CfExifReader> reader(new (std::nothrow) CfExifReader(&record));
    const int32_t position = stream.Tell();
    if (!reader || position < 0) {
        return 1;
    }
    reader->ReadJpegSegments(&stream, CfExifReader::ModeMetadata);
    stream.Seek(position, kSeekStart);
    return folvane::normalOrientation(record.orientation);
}

// The smallest scale M/8 whose output is at least width x height (stored orientation).
unsigned eighthsFor(const jpeg_decompress_struct &cinfo, uint32_t width, uint32_t height) {
    for (unsigned m = 1; m < 8; ++m) {
        const uint64_t scaledWidth = (uint64_t{cinfo.image_width} * m + 7) / 8;
        const uint64_t scaledHeight = (uint64_t{cinfo.image_height} * m + 7) / 8;
        if (scaledWidth >= width && scaledHeight >= height) {
            return m;
        }
    }
    return 8;
}

// The coefficient memory of a multi-scan file: each component's blocks, padded to whole
// sampling units, 64 coefficients of 2 bytes each.
std::optional<size_t> coefficientBytes(const jpeg_decompress_struct &cinfo) {
    size_t total = 0;
    for (int i = 0; i < cinfo.num_components; ++i) {
        const jpeg_component_info &c = cinfo.comp_info[i];
        const uint64_t h = c.h_samp_factor > 0 ? uint64_t(c.h_samp_factor) : 1;
        const uint64_t v = c.v_samp_factor > 0 ? uint64_t(c.v_samp_factor) : 1;
        const uint64_t across = (uint64_t{c.width_in_blocks} + h - 1) / h * h;
        const uint64_t down = (uint64_t{c.height_in_blocks} + v - 1) / v * v;
        const auto bytes = SafeSize::mul(across, down, DCTSIZE2, sizeof(JCOEF));
        const auto sum = bytes ? SafeSize::add(total, *bytes) : std::nullopt;
        if (!sum) {
            return std::nullopt;
        }
        total = *sum;
    }
    return total;
}

// Refuses a multi-scan file whose coefficients pass the ceiling; returns whether the file has
// several scans.
bool checkCoefficientMemory(JpegReadSession &jpeg) {
    bool multiple = false;
    if (!jpeg.hasMultipleScans(&multiple)) {
        raiseLibraryFailure(jpeg);
    }
    const auto bytes = coefficientBytes(jpeg.info());
    if (multiple && (!bytes || *bytes > kLibraryCeiling)) {
        char text[kLastErrorSize];
        std::snprintf(text, sizeof text,
                      "%s: a progressive or multi-scan JPEG of %u x %u keeps %llu MiB of "
                      "coefficients, beyond the %llu MiB the reduced decode allows",
                      kModule, jpeg.info().image_width, jpeg.info().image_height,
                      bytes ? static_cast<unsigned long long>(*bytes >> 20) : ~0ull,
                      static_cast<unsigned long long>(kLibraryCeiling >> 20));
        raiseDecodeFailure(text);
    }
    return multiple;
}

// Sets the output colour and returns the pixels the reducer takes: grey for a YCbCr file when
// only the lightness is wanted (its Y component as it is).
ReducedPixels chooseOutput(jpeg_decompress_struct &cinfo, bool grey) {
    switch (cinfo.out_color_space) {
    case JCS_GRAYSCALE:
        return ReducedPixels::Grey;
    case JCS_RGB:
        if (grey && cinfo.jpeg_color_space == JCS_YCbCr) {
            cinfo.out_color_space = JCS_GRAYSCALE;
            return ReducedPixels::Grey;
        }
        cinfo.out_color_space = JCS_EXT_BGR;
        return ReducedPixels::Bgr;
    case JCS_CMYK:
        return ReducedPixels::Bgr; // converted row by row, as the full decoder does
    default:
        raiseDecodeFailure("ReducedJpeg: a JPEG of this colour space is not read reduced");
    }
}

[[noreturn]] void raiseTruncated(const jpeg_decompress_struct &cinfo, JDIMENSION row) {
    char text[kLastErrorSize];
    const uint64_t fullRow = uint64_t{row} * cinfo.image_height / cinfo.output_height;
    std::snprintf(text, sizeof text,
                  "%s: the file's data ends at about row %llu of %u: it holds less than its "
                  "header claims",
                  kModule, static_cast<unsigned long long>(fullRow), cinfo.image_height);
    raiseDecodeFailure(text);
}

// Whether the scan's data has ended: the stream ran out, or the library met a marker other than
// a restart marker inside the scan.
bool dataEnded(JpegReadSession &jpeg) {
    const int marker = jpeg.info().unread_marker;
    const bool restart = marker >= kFirstRestartMarker && marker <= kLastRestartMarker;
    return jpeg.reachedEnd() || (marker != 0 && !restart);
}

void readScanlines(JpegReadSession &jpeg, AreaReducer &reducer) {
    const jpeg_decompress_struct &cinfo = jpeg.info();
    const auto rowBytes = SafeSize::mul(cinfo.output_width, cinfo.output_components);
    JSAMPROW row = nullptr;
    if (!rowBytes || !jpeg.allocateRow(static_cast<JDIMENSION>(*rowBytes), &row)) {
        raiseDecodeFailure("ReducedJpeg: can't allocate a scanline");
    }
    const bool cmyk = cinfo.out_color_space == JCS_CMYK;
    std::unique_ptr<uint8_t[]> bgr;
    if (cmyk) {
        bgr.reset(new (std::nothrow) uint8_t[size_t{cinfo.output_width} * 3]);
        if (!bgr) {
            raiseDecodeFailure("ReducedJpeg: can't allocate a scanline");
        }
    }
    // libjpeg reads ahead into the end marker (or past the end of a file without one) while it
    // decodes the last row of blocks; any earlier, the data has ended and the library would go
    // on with rows of nothing.
    const JDIMENSION lastBlockRows =
        JDIMENSION(cinfo.max_v_samp_factor) * JDIMENSION(cinfo.min_DCT_scaled_size);
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION y = cinfo.output_scanline;
        if (!jpeg.readScanline(row)) {
            raiseLibraryFailure(jpeg);
        }
        if (dataEnded(jpeg) && cinfo.output_height - y > lastBlockRows) {
            raiseTruncated(cinfo, y);
        }
        const uint8_t *pixels = row;
        if (cmyk) {
            cmykRowToBgr(row, *rowBytes, bgr.get(), size_t{cinfo.output_width} * 3);
            pixels = bgr.get();
        }
        reducer.add(y, 0, 1, cinfo.output_width, pixels);
    }
}

} // namespace

void decodeReducedJpeg(CfStream &stream, ReducedJob &job) {
    const int32_t orientation = orientationOf(stream);
    std::unique_ptr<JOCTET[]> buffer(new (std::nothrow) JOCTET[CfJpegStreamManager::BufferSize]);
    if (!buffer) {
        raiseDecodeFailure("ReducedJpeg: can't allocate the input buffer");
    }
    JpegReadSession jpeg(stream, buffer.get());
    if (!jpeg.create(long(kLibraryCeiling)) || !jpeg.readHeader()) {
        raiseLibraryFailure(jpeg);
    }
    jpeg_decompress_struct &cinfo = jpeg.info();
    const bool turned = folvane::swapsAxes(orientation);
    const uint32_t width = turned ? cinfo.image_height : cinfo.image_width;
    const uint32_t height = turned ? cinfo.image_width : cinfo.image_height;
    const ReducedSize size = job.chooseSize(width, height, kModule);
    const bool multipleScans = checkCoefficientMemory(jpeg);
    const ReducedPixels pixels = chooseOutput(cinfo, size.grey);
    cinfo.scale_num = turned ? eighthsFor(cinfo, size.height, size.width)
                             : eighthsFor(cinfo, size.width, size.height);
    cinfo.scale_denom = 8;
    if (!jpeg.calcOutputDimensions()) {
        raiseLibraryFailure(jpeg);
    }
    AreaReducer reducer({cinfo.output_width, cinfo.output_height, orientation, pixels}, size);
    if (!jpeg.startDecompress()) {
        raiseLibraryFailure(jpeg);
    }
    // A file of several scans is read whole by StartDecompress.
    if (multipleScans && jpeg.reachedEnd()) {
        raiseDecodeFailure("ReducedJpeg: the file's data ends before its last scan");
    }
    readScanlines(jpeg, reducer);
    reducer.finish(job.image);
}
