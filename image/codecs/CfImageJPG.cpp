#include "image/codecs/CfImageJPG.h"

#include <cmath>
#include <cstring>
#include <new>

#include "image/CfStream.h"
#include "image/SafeSize.h"
#include "image/codecs/DecodeFailure.h"
#include "image/codecs/JpegCmyk.h"
#include "image/codecs/JpegReadSession.h"

namespace {

// Ceiling for libjpeg's own working memory. Progressive and multi-scan files keep every DCT
// coefficient of the picture (two bytes a sample, more than twice the bitmap), so this is a
// few times the bitmap ceiling; beyond it the library fails with its own message.
constexpr long kLibraryMemoryCeiling = 1L << 30;

// A resolution quotient as the integer the setters take: truncated toward zero, saturated,
// and false when there is no finite value at all.
bool DpiFromQuotient(double value, int32_t *dpi) {
    if (!std::isfinite(value)) {
        return false;
    }
    if (value >= 2147483647.0) {
        *dpi = INT32_MAX;
    } else if (value <= -2147483648.0) {
        *dpi = INT32_MIN;
    } else {
        *dpi = static_cast<int32_t>(value);
    }
    return true;
}

} // namespace

CfImageJPG::CfImageJPG() : CfImage(FormatJpeg) {
    std::memset(&info.exif, 0, sizeof info.exif);
}

CfImageJPG::~CfImageJPG() = default;

bool CfImageJPG::ReadExif(CfStream *stream) {
    exifReader.reset(new (std::nothrow) CfExifReader(&info.exif));
    if (!exifReader) {
        return false;
    }
    int32_t position = stream->Tell();
    if (position < 0) {
        return info.exif.isExif; // a stream that cannot say where it is cannot be rewound
    }
    exifReader->ReadJpegSegments(stream, CfExifReader::ModeMetadata);
    stream->Seek(position, kSeekStart);
    return info.exif.isExif;
}

bool CfImageJPG::Decode(CfStream *stream) {
    if (stream == nullptr) {
        SetLastError("CfImageJPG::Decode: null stream");
        return false;
    }
    return catchDecodeFailure(*this, [&] { return DecodeJpeg(*stream); });
}

bool CfImageJPG::DecodeJpeg(CfStream &stream) {
    const bool exif = ReadExif(&stream);
    std::unique_ptr<JOCTET[]> buffer(new (std::nothrow) JOCTET[CfJpegStreamManager::BufferSize]);
    if (!buffer) {
        raiseDecodeFailure("CfImageJPG::Decode: can't allocate the input buffer");
    }
    JpegReadSession jpeg(stream, buffer.get());
    jpeg_decompress_struct *cinfo = &jpeg.info();
    if (!jpeg.create(kLibraryMemoryCeiling) || !jpeg.readHeader()) {
        raiseDecodeFailure(jpeg.message());
    }
    ApplyOptions(cinfo);
    if (!jpeg.calcOutputDimensions()) {
        raiseDecodeFailure(jpeg.message());
    }
    if (info.escape == kEscapeHeaderOnly) {
        header.biWidth = static_cast<int32_t>(cinfo->output_width);
        header.biHeight = static_cast<int32_t>(cinfo->output_height);
        info.type = FormatJpeg;
        return true;
    }
    // The bitmap comes first: its memory ceiling refuses absurd sizes before the library sets
    // up its own buffers for them.
    if (Create(cinfo->output_width, cinfo->output_height, 8 * cinfo->output_components,
               FormatJpeg) == nullptr) {
        raiseDecodeFailure(""); // Create's own text stays
    }
    if (!jpeg.startDecompress()) {
        raiseDecodeFailure(jpeg.message());
    }
    ApplyResolution(cinfo, exif);
    InstallPalette(cinfo);
    ReadRows(jpeg);
    if (!jpeg.finishDecompress()) {
        raiseDecodeFailure(jpeg.message());
    }
    return true;
}

void CfImageJPG::ApplyOptions(jpeg_decompress_struct *cinfo) {
    unsigned options = GetFormatOption(FormatJpeg);
    if (options & JpegOptionGrayscale) {
        cinfo->out_color_space = JCS_GRAYSCALE;
    }
    if (options & JpegOptionQuantize) {
        cinfo->quantize_colors = TRUE;
        cinfo->desired_number_of_colors = JpegQuality() & 0xFF;
    }
    if (options & JpegOptionDither) {
        cinfo->dither_mode = ditherMode;
    }
    if (options & JpegOptionOnePass) {
        cinfo->two_pass_quantize = FALSE;
    }
    if (options & JpegOptionNoSmoothing) {
        cinfo->do_fancy_upsampling = FALSE;
    }
    cinfo->scale_num = 1;
    cinfo->scale_denom = JpegScale();

    // The bitmap stores blue, green, red: let the library deliver that order directly.
    if (cinfo->out_color_space == JCS_RGB && !cinfo->quantize_colors) {
        cinfo->out_color_space = JCS_EXT_BGR;
    }
}

void CfImageJPG::ApplyResolution(const jpeg_decompress_struct *cinfo, bool exif) {
    int32_t dpi = 0;
    if (exif) {
        const ExifRecord &record = info.exif;
        if (record.xResolution != 0 && record.resolutionUnit != 0 &&
            DpiFromQuotient(double(record.xResolution) / record.resolutionUnit, &dpi)) {
            SetDpiX(dpi);
        }
        if (record.yResolution != 0 && record.resolutionUnit != 0 &&
            DpiFromQuotient(double(record.yResolution) / record.resolutionUnit, &dpi)) {
            SetDpiY(dpi);
        }
        return;
    }
    switch (cinfo->density_unit) {
    case 0:
        if (cinfo->X_density != 0 && cinfo->Y_density != 0 &&
            DpiFromQuotient(double(GetDpiX()) * cinfo->Y_density / cinfo->X_density, &dpi)) {
            SetDpiY(dpi);
        }
        break;
    case 2:
        SetDpiX(static_cast<int32_t>(std::floor(cinfo->X_density * 2.54 + 0.5)));
        SetDpiY(static_cast<int32_t>(std::floor(cinfo->Y_density * 2.54 + 0.5)));
        break;
    default:
        SetDpiX(cinfo->X_density);
        SetDpiY(cinfo->Y_density);
        break;
    }
}

void CfImageJPG::InstallPalette(const jpeg_decompress_struct *cinfo) {
    // CfImage::Create laid out 256 entries for the 8-bit image; a quantized palette of fewer
    // colours fills the first entries and leaves the rest black, so the layout stays as made.
    if (cinfo->out_color_space == JCS_GRAYSCALE) {
        SetGreyPalette();
    } else if (cinfo->quantize_colors) {
        SetPaletteChannels(static_cast<unsigned>(cinfo->actual_number_of_colors),
                           cinfo->colormap[0], cinfo->colormap[1], cinfo->colormap[2]);
    }
}

void CfImageJPG::ReadRows(JpegReadSession &jpeg) {
    const jpeg_decompress_struct *cinfo = &jpeg.info();
    const auto rowBytes = SafeSize::mul(cinfo->output_width, cinfo->output_components);
    if (!rowBytes) {
        raiseDecodeFailure("CfImageJPG::Decode: row length out of range");
    }
    const size_t rowLength = *rowBytes;
    const size_t stride = GetRowStride();
    const bool cmyk = cinfo->num_components == 4 && !cinfo->quantize_colors;
    const bool direct = !cmyk && rowLength <= stride;
    JSAMPROW sample = nullptr;
    if (!direct && !jpeg.allocateRow(static_cast<JDIMENSION>(rowLength), &sample)) {
        raiseDecodeFailure(jpeg.message());
    }
    const JDIMENSION height = cinfo->output_height;
    while (cinfo->output_scanline < height) {
        if (info.escape != 0) {
            raiseDecodeFailure(""); // cancelled: the error text stays as it was
        }
        // The top of the picture goes into the last stored row.
        uint8_t *dest = RowPointer(height - 1 - cinfo->output_scanline);
        JSAMPROW row = direct ? dest : sample;
        if (!jpeg.readScanline(row)) {
            raiseDecodeFailure(jpeg.message());
        }
        size_t written = rowLength;
        if (cmyk) {
            written = cmykRowToBgr(row, rowLength, dest, stride);
        } else if (!direct) {
            written = rowLength < stride ? rowLength : stride;
            std::memcpy(dest, row, written);
        }
        // The row's padding gets zeros rather than whatever the heap held.
        std::memset(dest + written, 0, stride - written);
    }
}
