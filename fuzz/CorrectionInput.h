// The correction fuzz target's input: a small picture and how to take it, in a few header
// bytes, followed by its samples (repeated to fill the picture when there are too few).
//
//   0-1  width - 1 (little-endian, modulo 400)    2-3  height - 1 (modulo 400)
//   4    bit 0: RGB (else grey); bits 1-2: kind (unknown, photo, scan); bit 3: corners follow
//   5    EXIF orientation, 0..9 (out-of-range values included on purpose)
//   6-21 when bit 3 is set: four corners, x then y, signed 16-bit little-endian
//   ...  samples
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "correction/Correction.h"

namespace fuzz {

struct CorrectionInput {
    std::vector<uint8_t> samples;
    folvane::correction::Picture picture;
};

// False when there are too few bytes for the header.
bool readCorrectionInput(const uint8_t *data, size_t size, CorrectionInput &input);

// The bytes that read back as this picture (the seed maker's side).
std::vector<uint8_t> writeCorrectionInput(int width, int height, int channels,
                                          folvane::correction::SourceKind kind, int orientation,
                                          const std::vector<uint8_t> &samples,
                                          const folvane::correction::Corners *corners = nullptr);

} // namespace fuzz
