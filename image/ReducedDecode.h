// Decoding a JPEG, PNG or TIFF picture straight to a smaller size, for a preview of a file far
// larger than the frame that shows it. The full-resolution picture is never held: the file is
// read a band at a time (a JPEG scanline after libjpeg's scaled decode, a PNG row, a TIFF
// scanline, strip or tile) and every source pixel is added into the target pixels its area
// covers, weighted by the part it covers (a box filter), so each target pixel is the mean of
// the source area it stands for. The picture comes out upright (EXIF or TIFF orientation).
//
// Memory depends on the target and on one band of the source, never on the source's height:
// the target's sums (8 bytes a channel), one band, one table entry per source column, and what
// libjpeg keeps of a progressive JPEG (every coefficient, up to CFIMAGE_MAX_MEMORY). Files
// whose data ends before their picture does are refused as soon as that shows, with the reason.
//
// Colours are those CfImage::Load gives for the same file, averaged: grey files give an 8-bit
// image with a grey palette, everything else a 24-bit image; transparency gives an alpha plane.
// The format options of ImageInfo::codecOptions and the escape word are not used.
//
// Contract: nothing throws. A failure returns false and leaves its reason in the target image's
// info.lastError; the image is then empty.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "image/CfImage.h"
#include "image/CfStream.h"

// What to make of an upright picture: the whole picture scaled to width x height (each from 1
// to the picture's own size), of which only the part `keep` is produced, in those scaled
// pixels (right and bottom exclusive). A keep box of all zeros keeps everything.
// `grey` says that the caller reads only the picture's lightness: a colour JPEG then comes out
// in grey, straight from its luminance (libjpeg skips the colour components' inverse DCT and
// the colour conversion, a good part of a reduced decode); other files keep their colours.
struct ReducedSize {
    uint32_t width = 0;
    uint32_t height = 0;
    ImageBox keep{0, 0, 0, 0};
    bool grey = false;
};

// Chooses the reduced size once the picture's upright size is known; nullopt declines (the
// decode then fails, saying so).
using ReducedSizeChooser =
    std::function<std::optional<ReducedSize>(uint32_t uprightWidth, uint32_t uprightHeight)>;

// What a reduced decode found out, also when it failed.
struct ReducedFacts {
    int32_t format = FormatUnknown; // the format recognised, FormatUnknown for none of the three
    uint32_t uprightWidth = 0;      // the file's picture at full size, upright; 0 until known
    uint32_t uprightHeight = 0;
};

// Most pixels a side, and in all, the reduced decode reads; larger pictures are refused. Its
// work grows with the source's pixels: 2^32 of them (sixteen times the full decode's largest
// 8-bit picture) take seconds, and keep a tiny file of fax-coded blank rows, which codes a
// row in a bit, from claiming hours of work.
inline constexpr uint32_t kReducedMaxSide = 1u << 20;
inline constexpr uint64_t kReducedMaxPixels = CFIMAGE_MAX_MEMORY * 16;

// The largest size of the upright picture's proportions within maxWidth x maxHeight, never
// larger than the picture itself and at least 1 x 1; keeps everything.
ReducedSize reducedSizeWithin(uint32_t uprightWidth, uint32_t uprightHeight, uint32_t maxWidth,
                              uint32_t maxHeight);

// Decodes page image.info.frame (TIFF; other formats have one picture) of the JPEG, PNG or
// TIFF file at path into `image` at the size `choose` picks. facts may be null.
bool loadReduced(const char *path, const ReducedSizeChooser &choose, CfImage &image,
                 ReducedFacts *facts = nullptr);

// The same from a stream positioned at the file's first byte (a TIFF must start at stream
// position 0). The format is told by the first bytes.
bool decodeReduced(CfStream *stream, const ReducedSizeChooser &choose, CfImage &image,
                   ReducedFacts *facts = nullptr);
