// Corrects one photo and prints what the correction found, as one JSON line, for the
// benchmark that compares corners with the desk photos' truth and times the run:
//
//     correct_photo [--scan|--photo] [--no-dewarp] [--spreads] IN.jpg [OUT.png]
//
// The JPEG is read with libjpeg and its EXIF orientation handed to the correction, as the PDF
// engine does. OUT.png gets the corrected page: the ink over the background for colour pages,
// the ink alone for bilevel ones. "ms" is the correction's own time, "decode_ms" the JPEG's;
// "line_sag" the bend of the page's text lines, "straightened" whether it was straightened
// (never with --no-dewarp). With --spreads an open book's photo gives its two pages, a line each
// ("spread_page" 1 and 2), the second written beside OUT.png as OUT-2.png; "ms" is then the
// whole photo's.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/ExifOrientation.h"
#include "correction/Correction.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Png.h"

namespace {

int orientationOf(const support::Bytes &jpeg) {
    std::size_t at = support::FindMarker(jpeg, 0xE1);
    if (at == std::string::npos || at + 4 > jpeg.size()) {
        return 1;
    }
    std::size_t length = static_cast<std::size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3];
    std::size_t start = at + 4, end = std::min(jpeg.size(), at + 2 + length);
    if (end < start + 6 || std::memcmp(&jpeg[start], "Exif\0\0", 6) != 0) {
        return 1;
    }
    int orientation = folvane::exifOrientation(&jpeg[start + 6], end - start - 6);
    return orientation == 0 ? 1 : orientation;
}

// The page as a viewer would show it: white, the background where there is one, black ink.
support::Picture rendered(const folvane::correction::CorrectedPage &page) {
    support::Picture out = support::Blank(page.width, page.height, 3);
    std::fill(out.samples.begin(), out.samples.end(), 255);
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            bool ink = page.ink[y * page.inkRowBytes + x / 8] & (0x80 >> (x % 8));
            for (int c = 0; c < 3 && !page.background.empty(); ++c) {
                int bx = std::min(page.backgroundWidth - 1, x * page.backgroundWidth / page.width);
                int by =
                    std::min(page.backgroundHeight - 1, y * page.backgroundHeight / page.height);
                out.At(x, y, c) = page.background[(by * page.backgroundWidth + bx) * 3 + c];
            }
            for (int c = 0; c < 3 && ink; ++c) {
                out.At(x, y, c) = 0;
            }
        }
    }
    return out;
}

const char *kindName(folvane::correction::SourceKind kind) {
    return kind == folvane::correction::SourceKind::Scan ? "scan" : "photo";
}

void printJson(const char *path, const folvane::correction::CorrectedPage &page, double ms,
               double decodeMs) {
    const folvane::correction::PageFacts &f = page.facts;
    std::printf("{\"file\":\"%s\",\"found\":%s,\"corners\":[", path, f.found ? "true" : "false");
    for (int i = 0; i < 4; ++i) {
        std::printf("%s[%.2f,%.2f]", i ? "," : "", f.corners[i].x, f.corners[i].y);
    }
    std::printf(
        "],\"confidence\":%.3f,\"content\":\"%s\",\"soft_text\":%s,\"width\":%d,\"height\":%d,"
        "\"dpi\":%.1f,\"paper\":\"%s\",\"treated_as\":\"%s\",\"deskew\":%.3f,"
        "\"line_sag\":%.5f,\"straightened\":%s,\"spread_page\":%d,\"ms\":%.1f,"
        "\"decode_ms\":%.1f}\n",
        f.confidence,
        page.content == folvane::correction::ContentKind::Colour ? "colour" : "bilevel",
        page.softText ? "true" : "false", page.width, page.height, page.dpi,
        folvane::correction::paperName(f.paper), kindName(f.treatedAs), f.deskewDegrees, f.lineSag,
        f.straightened ? "true" : "false", f.spreadPage, ms, decodeMs);
}

} // namespace

int main(int argc, char **argv) {
    folvane::correction::SourceKind kind = folvane::correction::SourceKind::Unknown;
    int first = 1;
    if (argc > 1 && (std::strcmp(argv[1], "--scan") == 0 || std::strcmp(argv[1], "--photo") == 0)) {
        kind = argv[1][2] == 's' ? folvane::correction::SourceKind::Scan
                                 : folvane::correction::SourceKind::Photo;
        first = 2;
    }
    bool straighten = true;
    if (argc > first && std::strcmp(argv[first], "--no-dewarp") == 0) {
        straighten = false;
        ++first;
    }
    bool spreads = false;
    if (argc > first && std::strcmp(argv[first], "--spreads") == 0) {
        spreads = true;
        ++first;
    }
    if (argc - first < 1 || argc - first > 2) {
        std::fprintf(stderr, "usage: correct_photo [--scan|--photo] [--no-dewarp] [--spreads] "
                             "IN.jpg [OUT.png]\n");
        return 2;
    }
    const char *in = argv[first];
    support::Bytes jpeg = support::ReadFile(in);
    auto start = std::chrono::steady_clock::now();
    support::JpegReadOptions options;
    options.colourSpace = JCS_RGB;
    support::DecodedJpeg decoded = support::DecodeJpeg(jpeg, options);
    auto decodedAt = std::chrono::steady_clock::now();
    if (!decoded.ok) {
        std::fprintf(stderr, "correct_photo: %s: not a JPEG libjpeg can read\n", in);
        return 1;
    }
    const support::Picture &p = decoded.picture;
    folvane::correction::Picture picture;
    picture.pixels = p.samples.data();
    picture.size = p.samples.size();
    picture.width = p.width;
    picture.height = p.height;
    picture.channels = p.components;
    picture.stride = static_cast<std::size_t>(p.width) * p.components;
    picture.orientation = orientationOf(jpeg);
    picture.kind = kind;
    picture.straightenCurves = straighten;
    picture.splitSpreads = spreads;
    std::vector<folvane::correction::CorrectedPage> pages =
        folvane::correction::correctPages(picture);
    auto correctedAt = std::chrono::steady_clock::now();
    if (pages.front().failure) {
        std::fprintf(stderr, "correct_photo: %s: %s\n", in, pages.front().failure.detail.c_str());
        return 1;
    }
    using ms = std::chrono::duration<double, std::milli>;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        printJson(in, pages[i], ms(correctedAt - decodedAt).count(), ms(decodedAt - start).count());
        if (argc - first < 2) {
            continue;
        }
        std::string out = argv[first + 1];
        if (i > 0) {
            std::size_t dot = out.rfind('.');
            out.insert(dot == std::string::npos ? out.size() : dot, "-" + std::to_string(i + 1));
        }
        support::WriteFile(out, support::MakePng(support::PngImageOf(rendered(pages[i]))));
    }
    return 0;
}
