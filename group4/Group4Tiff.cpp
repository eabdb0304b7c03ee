#include "group4/Group4Tiff.h"

#include <cstdarg>
#include <cstdio>

namespace folvane::group4 {

namespace {

int keepFirstError(TIFF *, void *user, const char *module, const char *format, va_list args) {
    auto *error = static_cast<std::string *>(user);
    if (!error->empty()) {
        return 1;
    }
    char text[256];
    std::vsnprintf(text, sizeof text, format, args);
    *error = std::string(module != nullptr ? module : "libtiff") + ": " + text;
    return 1;
}

int dropWarning(TIFF *, void *, const char *, const char *, va_list) {
    return 1;
}

} // namespace

TIFFOpenOptions *openOptionsKeepingError(std::string &error) {
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    if (options != nullptr) {
        TIFFOpenOptionsSetErrorHandlerExtR(options, keepFirstError, &error);
        TIFFOpenOptionsSetWarningHandlerExtR(options, dropWarning, nullptr);
    }
    return options;
}

bool setGroup4Tags(TIFF *tiff, const Group4Page &page) {
    const int photometric =
        page.setBit == SetBit::Black ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK;
    bool ok = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, page.width) &&
              TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, page.height) &&
              TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1) &&
              TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1) &&
              TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, photometric) &&
              TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4) &&
              TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB) &&
              TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, page.height);
    if (ok && page.xDpi > 0 && page.yDpi > 0) {
        ok = TIFFSetField(tiff, TIFFTAG_XRESOLUTION, page.xDpi) &&
             TIFFSetField(tiff, TIFFTAG_YRESOLUTION, page.yDpi) &&
             TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    }
    return ok;
}

} // namespace folvane::group4
