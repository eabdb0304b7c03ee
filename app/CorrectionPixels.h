// A page picture decoded for document correction: upright, top row first, reduced so that no
// side is longer than asked, with what it takes to map its pixels back to the file's own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "correction/Correction.h"
#include "pdf/PageGeneration.h"

struct CorrectionPixels {
    std::vector<uint8_t> rows; // width * channels bytes a row, top row first
    int width = 0;
    int height = 0;
    int channels = 0; // 1 grey, 3 RGB
    // The file's picture at full size, upright: what the PDF's corners are measured in.
    double fullWidth = 0;
    double fullHeight = 0;

    // Pixels of the full picture for one of these, across and down.
    double scaleX() const { return width > 0 ? fullWidth / width : 1; }
    double scaleY() const { return height > 0 ? fullHeight / height : 1; }
    // The pixels as the correction library reads them (they must outlive its use).
    folvane::correction::Picture picture() const;
};

// Decodes path (JPEG, PNG or TIFF, its first page) no larger than maxSide pixels a side. False
// when it cannot be read so; `pixels` is then empty.
bool decodeForCorrection(const std::string &path, uint32_t maxSide, CorrectionPixels &pixels);

// Corners in the file's full-size pixels to those of `pixels`, and back; both with (0, 0) the
// centre of the top-left pixel.
folvane::correction::Corners toPixels(const folvane::SheetCorners &full,
                                      const CorrectionPixels &pixels);
folvane::SheetCorners toFullSize(const folvane::correction::Corners &corners,
                                 const CorrectionPixels &pixels);
