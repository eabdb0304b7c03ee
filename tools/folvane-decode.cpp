// folvane-decode: loads one image file with the image library and reports what came out.
//
//   folvane-decode [--frame N] [--header-only] [--hint N] IN [OUT.pam]
//
// Prints one JSON object on one line; with OUT also writes the picture as a PAM file.
// Exit status: 0 when the load succeeded (and OUT, if given, was written), 1 when it failed,
// 2 for a usage error.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "image/CfImage.h"
#include "tools/JsonText.h"
#include "tools/PamWriter.h"

namespace {

namespace json = folvane::tools::json;
using folvane::tools::writePam;

constexpr const char *kUsage =
    "usage: folvane-decode [--frame N] [--header-only] [--hint N] IN [OUT.pam]\n";

struct Options {
    int32_t frame = 0;
    int32_t hint = FormatUnknown;
    bool headerOnly = false;
    const char *input = nullptr;
    const char *output = nullptr;
};

bool parseInt32(const char *text, int32_t &value) {
    if (!text || !*text) {
        return false;
    }
    errno = 0;
    char *end = nullptr;
    const long parsed = strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX) {
        return false;
    }
    value = static_cast<int32_t>(parsed);
    return true;
}

bool parseArguments(int argc, char **argv, Options &options) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (!optionsEnded && strcmp(arg, "--") == 0) {
            optionsEnded = true;
        } else if (!optionsEnded && strcmp(arg, "--header-only") == 0) {
            options.headerOnly = true;
        } else if (!optionsEnded && strcmp(arg, "--frame") == 0) {
            if (++i >= argc || !parseInt32(argv[i], options.frame)) {
                return false;
            }
        } else if (!optionsEnded && strcmp(arg, "--hint") == 0) {
            if (++i >= argc || !parseInt32(argv[i], options.hint)) {
                return false;
            }
        } else if (!optionsEnded && arg[0] == '-' && arg[1] != '\0') {
            return false;
        } else if (!options.input) {
            options.input = arg;
        } else if (!options.output) {
            options.output = arg;
        } else {
            return false;
        }
    }
    return options.input != nullptr;
}

std::string exifJson(const ExifRecord &exif) {
    using json::field;
    json::Object o;
    o.string("version", field(exif.version))
        .string("cameraMake", field(exif.cameraMake))
        .string("cameraModel", field(exif.cameraModel))
        .string("dateTime", field(exif.dateTime))
        .integer("height", exif.height)
        .integer("width", exif.width)
        .integer("orientation", exif.orientation)
        .integer("isColor", exif.isColor)
        .integer("process", exif.process)
        .integer("flashUsed", exif.flashUsed)
        .real("focalLength", exif.focalLength)
        .real("exposureTime", exif.exposureTime)
        .real("apertureFNumber", exif.apertureFNumber)
        .real("distance", exif.distance)
        .real("ccdWidth", exif.ccdWidth)
        .real("exposureBias", exif.exposureBias)
        .integer("lightSource", exif.lightSource)
        .integer("meteringMode", exif.meteringMode)
        .integer("exposureProgram", exif.exposureProgram)
        .integer("isoEquivalent", exif.isoEquivalent)
        .integer("compressionLevel", exif.compressionLevel)
        .real("focalPlaneXRes", exif.focalPlaneXRes)
        .real("focalPlaneYRes", exif.focalPlaneYRes)
        .real("focalPlaneUnits", exif.focalPlaneUnits)
        .real("xResolution", exif.xResolution)
        .real("yResolution", exif.yResolution)
        .real("resolutionUnit", exif.resolutionUnit)
        .real("brightness", exif.brightness)
        .string("comment", field(exif.comment));
    // The pointer pointed into the EXIF reader's memory, which is gone once the decode has
    // returned: it is never read, only reported as present (true) or absent (null).
    if (exif.thumbnailData) {
        o.boolean("thumbnailData", true);
    } else {
        o.null("thumbnailData");
    }
    o.integer("thumbnailSize", exif.thumbnailSize).boolean("isExif", exif.isExif);
    return o.text();
}

std::string resultJson(const CfImage &image, bool ok) {
    json::Object o;
    o.boolean("ok", ok)
        .integer("width", image.GetWidth())
        .integer("height", image.GetHeight())
        .integer("bpp", image.GetBitsPerPixel())
        .integer("type", image.GetFormatType())
        .integer("dpiX", image.GetDpiX())
        .integer("dpiY", image.GetDpiY())
        .integer("frameCount", image.info.frameCount)
        .integer("transparentIndex", image.GetTransparentIndex())
        .boolean("hasAlpha", image.HasAlphaChannel())
        .string("lastError", json::field(image.info.lastError));
    if (image.GetFormatType() == FormatJpeg) {
        o.raw("exif", exifJson(image.info.exif));
    }
    return o.text();
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (!parseArguments(argc, argv, options)) {
        fputs(kUsage, stderr);
        return 2;
    }
    CfImage image(FormatUnknown);
    image.info.frame = options.frame;
    if (options.headerOnly) {
        image.info.escape = kEscapeHeaderOnly;
    }
    const bool ok = image.Load(options.input, options.hint);
    printf("%s\n", resultJson(image, ok).c_str());
    fflush(stdout);
    if (!ok) {
        // The library leaves its error text alone when the file cannot be opened.
        if (FILE *probe = fopen(options.input, "rb")) {
            fclose(probe);
        } else {
            fprintf(stderr, "folvane-decode: cannot open %s: %s\n", options.input, strerror(errno));
        }
        return 1;
    }
    if (options.output) {
        std::string error;
        if (!writePam(image, options.output, error)) {
            fprintf(stderr, "folvane-decode: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
