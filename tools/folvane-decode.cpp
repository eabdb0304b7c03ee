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

constexpr const char *kUsage =
    "usage: folvane-decode [--frame N] [--header-only] [--hint N] IN [OUT.pam]\n";

struct Options {
    int32_t frame = 0;
    int32_t hint = FormatUnknown;
    bool headerOnly = false;
    const char *input = nullptr;
    const char *output = nullptr;
};

bool ParseInt32(const char *text, int32_t &value) {
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

bool ParseArguments(int argc, char **argv, Options &options) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (!optionsEnded && strcmp(arg, "--") == 0) {
            optionsEnded = true;
        } else if (!optionsEnded && strcmp(arg, "--header-only") == 0) {
            options.headerOnly = true;
        } else if (!optionsEnded && strcmp(arg, "--frame") == 0) {
            if (++i >= argc || !ParseInt32(argv[i], options.frame)) {
                return false;
            }
        } else if (!optionsEnded && strcmp(arg, "--hint") == 0) {
            if (++i >= argc || !ParseInt32(argv[i], options.hint)) {
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

std::string ExifJson(const ExifRecord &exif) {
    using jsontext::Field;
    jsontext::Object o;
    o.String("version", Field(exif.version))
        .String("cameraMake", Field(exif.cameraMake))
        .String("cameraModel", Field(exif.cameraModel))
        .String("dateTime", Field(exif.dateTime))
        .Int("height", exif.height)
        .Int("width", exif.width)
        .Int("orientation", exif.orientation)
        .Int("isColor", exif.isColor)
        .Int("process", exif.process)
        .Int("flashUsed", exif.flashUsed)
        .Float("focalLength", exif.focalLength)
        .Float("exposureTime", exif.exposureTime)
        .Float("apertureFNumber", exif.apertureFNumber)
        .Float("distance", exif.distance)
        .Float("ccdWidth", exif.ccdWidth)
        .Float("exposureBias", exif.exposureBias)
        .Int("lightSource", exif.lightSource)
        .Int("meteringMode", exif.meteringMode)
        .Int("exposureProgram", exif.exposureProgram)
        .Int("isoEquivalent", exif.isoEquivalent)
        .Int("compressionLevel", exif.compressionLevel)
        .Float("focalPlaneXRes", exif.focalPlaneXRes)
        .Float("focalPlaneYRes", exif.focalPlaneYRes)
        .Float("focalPlaneUnits", exif.focalPlaneUnits)
        .Float("xResolution", exif.xResolution)
        .Float("yResolution", exif.yResolution)
        .Float("resolutionUnit", exif.resolutionUnit)
        .Float("brightness", exif.brightness)
        .String("comment", Field(exif.comment));
    // The pointer pointed into the EXIF reader's memory, which is gone once the decode has
    // returned: it is never read, only reported as present (true) or absent (null).
    if (exif.thumbnailData) {
        o.Bool("thumbnailData", true);
    } else {
        o.Null("thumbnailData");
    }
    o.Int("thumbnailSize", exif.thumbnailSize).Bool("isExif", exif.isExif);
    return o.Text();
}

std::string ResultJson(const CfImage &image, bool ok) {
    jsontext::Object o;
    o.Bool("ok", ok)
        .Int("width", image.GetWidth())
        .Int("height", image.GetHeight())
        .Int("bpp", image.GetBitsPerPixel())
        .Int("type", image.GetFormatType())
        .Int("dpiX", image.GetDpiX())
        .Int("dpiY", image.GetDpiY())
        .Int("frameCount", image.info.frameCount)
        .Int("transparentIndex", image.GetTransparentIndex())
        .Bool("hasAlpha", image.HasAlphaChannel())
        .String("lastError", jsontext::Field(image.info.lastError));
    if (image.GetFormatType() == FormatJpeg) {
        o.Raw("exif", ExifJson(image.info.exif));
    }
    return o.Text();
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        fputs(kUsage, stderr);
        return 2;
    }
    CfImage image(FormatUnknown);
    image.info.frame = options.frame;
    if (options.headerOnly) {
        image.info.escape = kEscapeHeaderOnly;
    }
    const bool ok = image.Load(options.input, options.hint);
    printf("%s\n", ResultJson(image, ok).c_str());
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
        if (!WritePam(image, options.output, error)) {
            fprintf(stderr, "folvane-decode: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
