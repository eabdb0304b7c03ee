#include "fuzz/CorrectionInput.h"

namespace fuzz {

namespace {

constexpr int kMaxSide = 400;
constexpr size_t kHeader = 6;

int16_t signed16(const uint8_t *p) {
    return static_cast<int16_t>(p[0] | p[1] << 8);
}

void put16(std::vector<uint8_t> &out, int value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

} // namespace

bool readCorrectionInput(const uint8_t *data, size_t size, CorrectionInput &input) {
    if (size < kHeader) {
        return false;
    }
    int width = 1 + (data[0] | data[1] << 8) % kMaxSide;
    int height = 1 + (data[2] | data[3] << 8) % kMaxSide;
    int channels = data[4] & 1 ? 3 : 1;
    size_t at = kHeader;
    folvane::correction::Picture &p = input.picture;
    p.kind = static_cast<folvane::correction::SourceKind>((data[4] >> 1 & 3) % 3);
    p.orientation = data[5] % 10;
    if (data[4] & 8 && size >= at + 16) {
        folvane::correction::Corners corners;
        for (int i = 0; i < 4; ++i) {
            corners[i] = {static_cast<double>(signed16(data + at + 4 * i)),
                          static_cast<double>(signed16(data + at + 4 * i + 2))};
        }
        p.corners = corners;
        at += 16;
    }
    input.samples.resize(static_cast<size_t>(width) * height * channels);
    for (size_t i = 0; i < input.samples.size(); ++i) {
        input.samples[i] = at < size ? data[at + i % (size - at)] : 0x80;
    }
    p.pixels = input.samples.data();
    p.size = input.samples.size();
    p.width = width;
    p.height = height;
    p.channels = channels;
    p.stride = static_cast<size_t>(width) * channels;
    return true;
}

std::vector<uint8_t> writeCorrectionInput(int width, int height, int channels,
                                          folvane::correction::SourceKind kind, int orientation,
                                          const std::vector<uint8_t> &samples,
                                          const folvane::correction::Corners *corners) {
    std::vector<uint8_t> out;
    put16(out, width - 1);
    put16(out, height - 1);
    out.push_back(static_cast<uint8_t>((channels == 3 ? 1 : 0) | static_cast<int>(kind) << 1 |
                                       (corners ? 8 : 0)));
    out.push_back(static_cast<uint8_t>(orientation));
    if (corners) {
        for (const folvane::correction::Point &p : *corners) {
            put16(out, static_cast<int>(p.x));
            put16(out, static_cast<int>(p.y));
        }
    }
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

} // namespace fuzz
