// Writes the correction fuzz target's seeds: desk photos and scans of known pages, reduced to a
// few thousand pixels, in each kind and some orientations, one with hand-placed corners.
//
//     make_correction_seeds OUTDIR        (the committed seeds live in fuzz/corpus/correction)
#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz/CorrectionInput.h"
#include "tests/deskphoto/DeskPhoto.h"
#include "tests/support/Files.h"

namespace {

constexpr int kFactor = 10; // 1200 x 900 photos become 120 x 90 seeds

// Each pixel the mean of a kFactor x kFactor block; grey when `channels` is 1.
std::vector<uint8_t> reduced(const support::Picture &rgb, int channels, int &width, int &height) {
    width = rgb.width / kFactor;
    height = rgb.height / kFactor;
    std::vector<uint8_t> out;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int sum[3] = {0, 0, 0};
            for (int dy = 0; dy < kFactor; ++dy) {
                for (int dx = 0; dx < kFactor; ++dx) {
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += rgb.At(x * kFactor + dx, y * kFactor + dy, c);
                    }
                }
            }
            int n = kFactor * kFactor;
            if (channels == 1) {
                out.push_back(static_cast<uint8_t>((sum[0] + sum[1] + sum[2]) / (3 * n)));
            } else {
                for (int c = 0; c < 3; ++c) {
                    out.push_back(static_cast<uint8_t>(sum[c] / n));
                }
            }
        }
    }
    return out;
}

void writeSeed(const std::string &path, const support::Picture &rgb, int channels,
               folvane::correction::SourceKind kind, int orientation,
               const folvane::correction::Corners *corners = nullptr) {
    int width = 0, height = 0;
    std::vector<uint8_t> samples = reduced(rgb, channels, width, height);
    support::WriteFile(path, fuzz::writeCorrectionInput(width, height, channels, kind, orientation,
                                                        samples, corners));
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_correction_seeds OUTDIR\n");
        return 2;
    }
    std::string dir = std::string(argv[1]) + "/correction";
    std::filesystem::create_directories(dir);
    std::vector<desk::ShotSpec> shots = desk::variedShots(10, 1200, 900, 2);
    for (size_t i = 0; i < shots.size(); ++i) {
        desk::DeskPhoto photo = desk::makeDeskPhoto(shots[i]);
        writeSeed(dir + "/photo-" + std::to_string(i) + ".bin", photo.stored, i % 3 == 2 ? 1 : 3,
                  static_cast<folvane::correction::SourceKind>(i % 3), shots[i].orientation);
    }
    desk::ShotSpec shot;
    shot.width = 900;
    shot.height = 1200;
    desk::DeskPhoto photo = desk::makeDeskPhoto(shot);
    folvane::correction::Corners corners;
    for (int i = 0; i < 4; ++i) {
        corners[i] = {photo.corners[i].x / kFactor, photo.corners[i].y / kFactor};
    }
    writeSeed(dir + "/hand-placed.bin", photo.upright, 3, folvane::correction::SourceKind::Photo, 1,
              &corners);
    for (int i = 0; i < 2; ++i) {
        desk::ScanSpec spec;
        spec.seed = 40 + static_cast<unsigned>(i);
        spec.angleDegrees = i == 0 ? 7 : -11;
        spec.dpi = 100;
        spec.darkBorder = i == 0;
        writeSeed(dir + "/scan-" + std::to_string(i) + ".bin", desk::makeScan(spec).picture, 1,
                  folvane::correction::SourceKind::Unknown, 1);
    }
    return 0;
}
