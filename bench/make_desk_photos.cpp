// Writes desk photos and scans of known truth for the correction benchmark: photos of pages on
// every kind of desk (turned, in perspective, shadowed, cast, blurred, noisy, JPEG with an
// EXIF orientation), photos of desks without a page, tilted scans with a dark border, the flat
// pages they were made from, and truth.json saying where each page's corners lie.
//
//     make_desk_photos FOLDER [PHOTOS [WIDTH HEIGHT]]     (default 30 photos of 4032 x 3024)
//
// The same arguments always give the same files.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/deskphoto/DeskPhoto.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Png.h"

namespace {

constexpr int kScans = 4;

std::string cornersJson(const desk::Corners &corners) {
    std::string out = "[";
    char buffer[64];
    for (int i = 0; i < 4; ++i) {
        std::snprintf(buffer, sizeof buffer, "%s[%.2f,%.2f]", i ? "," : "", corners[i].x,
                      corners[i].y);
        out += buffer;
    }
    return out + "]";
}

// The page's lines as drawn (no quotes or backslashes among them), for recognition scores.
std::string textJson(const desk::PageSpec &page) {
    std::string out = "[";
    for (const std::string &line : desk::pageLines(page)) {
        out += (out.size() > 1 ? ",\"" : "\"") + line + "\"";
    }
    return out + "]";
}

std::string photoEntry(const std::string &name, const desk::DeskPhoto &photo) {
    const desk::ShotSpec &s = photo.spec;
    char buffer[512];
    std::snprintf(buffer, sizeof buffer,
                  "{\"file\":\"%s.jpg\",\"kind\":\"photo\",\"desk\":\"%s\",\"has_sheet\":%s,"
                  "\"width\":%d,\"height\":%d,\"orientation\":%d,\"paper\":\"%s\","
                  "\"rotation\":%.2f,\"keystone\":%.3f,\"fill\":%.3f,\"shadow\":%s,"
                  "\"shadow_across_edge\":%s,\"seal\":%s,",
                  name.c_str(), desk::deskName(s.desk), photo.hasSheet ? "true" : "false",
                  photo.upright.width, photo.upright.height, s.orientation,
                  desk::paperName(s.page.paper), s.rotationDegrees, photo.keystone, photo.fill,
                  s.shadow ? "true" : "false", s.shadowAcrossEdge ? "true" : "false",
                  s.page.seal ? "true" : "false");
    std::string entry = buffer;
    if (!photo.hasSheet) {
        return entry + "\"corners\":null,\"flat_page\":null}";
    }
    return entry + "\"corners\":" + cornersJson(photo.corners) + ",\"flat_page\":\"" + name +
           "-flat.png\",\"text\":" + textJson(s.page) + "}";
}

std::string scanEntry(const std::string &name, const desk::ScanSpec &spec, const desk::Scan &scan) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer,
                  "{\"file\":\"%s.jpg\",\"kind\":\"scan\",\"width\":%d,\"height\":%d,"
                  "\"orientation\":1,\"angle\":%.3f,\"dpi\":150,\"has_sheet\":true,\"corners\":",
                  name.c_str(), scan.picture.width, scan.picture.height, scan.angleDegrees);
    return buffer + cornersJson(scan.corners) + ",\"flat_page\":\"" + name +
           "-flat.png\",\"text\":" + textJson(spec.page) + "}";
}

void writeFlat(const std::string &path, const support::Picture &page) {
    support::WriteFile(path, support::MakePng(support::PngImageOf(page)));
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2 && argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: make_desk_photos FOLDER [PHOTOS [WIDTH HEIGHT]]\n");
        return 2;
    }
    std::string folder = argv[1];
    int count = argc >= 3 ? std::atoi(argv[2]) : 30;
    int width = argc == 5 ? std::atoi(argv[3]) : 4032,
        height = argc == 5 ? std::atoi(argv[4]) : 3024;
    if (count < 1 || width < 64 || height < 64) {
        std::fprintf(stderr, "make_desk_photos: PHOTOS must be at least 1, sides at least 64\n");
        return 2;
    }
    std::string truth = "{\"photos\":[\n";
    std::vector<desk::ShotSpec> shots = desk::variedShots(count, width, height, 1);
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "photo-%03d", i + 1);
        desk::DeskPhoto photo = desk::makeDeskPhoto(shots[i]);
        support::WriteFile(folder + "/" + name + ".jpg", photo.jpeg);
        if (photo.hasSheet) {
            writeFlat(folder + "/" + name + "-flat.png", photo.flatPage);
        }
        truth += photoEntry(name, photo) + ",\n";
        std::fprintf(stderr, "%s\n", name);
    }
    for (int i = 0; i < kScans; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "scan-%03d", i + 1);
        desk::ScanSpec spec;
        spec.seed = 500 + static_cast<unsigned>(i);
        spec.angleDegrees = (i % 2 ? -1 : 1) * (2.0 + 4.3 * i);
        spec.page.textSeed = static_cast<unsigned>(i);
        spec.page.seal = i % 2 == 0;
        desk::Scan scan = desk::makeScan(spec);
        support::JpegOptions options;
        options.quality = 90;
        options.densityUnit = 1;
        options.xDensity = options.yDensity = 150;
        support::WriteFile(folder + "/" + name + ".jpg", support::MakeJpeg(scan.picture, options));
        writeFlat(folder + "/" + name + "-flat.png", scan.flatPage);
        truth += scanEntry(name, spec, scan) + (i + 1 < kScans ? ",\n" : "\n");
    }
    support::WriteText(folder + "/truth.json", truth + "]}\n");
    return 0;
}
