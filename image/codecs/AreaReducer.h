// The box filter behind the reduced decode: pixels of a stored picture, handed over in any
// order and any grouping (rows, parts of rows, every n-th pixel of a row), are added into the
// target pixels of the upright picture that their area overlaps, each weighted by the
// overlapping area. Along an axis of N source pixels and T target pixels, source pixel s
// covers [s T, (s + 1) T) and target pixel k covers [k N, (k + 1) N) in the same integer
// units, so the weights are exact integers and every target pixel's weights add up to the
// same N_x N_y: its value is the exact mean of the source area it covers.
//
// A run of pixels is first summed along its row into one line of target pixels, then that
// line is added, with the row's weight, into the one or two target lines the row overlaps.
// Only the kept part of the target holds sums; source pixels landing outside it are dropped.
// Failures raise DecodeFailure (see DecodeFailure.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/CfImage.h"
#include "image/ReducedDecode.h"

// The samples of each pixel handed to the reducer, which are also the reduced image's.
enum class ReducedPixels { Grey, GreyAlpha, Bgr, Bgra };

int reducedChannels(ReducedPixels pixels);

class AreaReducer {
public:
    struct Source {
        uint32_t width = 0; // as stored, before the orientation turns it
        uint32_t height = 0;
        int32_t orientation = 1; // EXIF / TIFF value; anything outside 2..8 is upright
        ReducedPixels pixels = ReducedPixels::Bgr;
    };

    // target is the size of the whole upright picture after reduction, no larger than the
    // source's upright size, with the part to keep. Raises when a size is out of range or the
    // sums would pass the library's memory ceiling.
    AreaReducer(const Source &source, const ReducedSize &target);

    // Adds `count` pixels of stored row y at columns x0, x0 + step, x0 + 2 step, ...; samples
    // holds the channels of each pixel in turn. Raises for pixels outside the picture.
    void add(uint32_t y, uint32_t x0, uint32_t step, uint32_t count, const uint8_t *samples);
    void add(uint32_t y, uint32_t x0, uint32_t step, uint32_t count, const uint16_t *samples);

    // Replaces image with the kept part: each sample the rounded mean of its area, shifted
    // right by `shift` and, for grey samples, looked up in greyMap (256 entries) when given.
    // Grey pixels give an 8-bit image with a grey palette, colour ones a 24-bit image; alpha
    // goes into the alpha plane. Raises when the image cannot be made.
    void finish(CfImage &image, unsigned shift = 0, const uint8_t *greyMap = nullptr) const;

private:
    // One upright axis: N source pixels onto T target pixels, of which keepCount from
    // keepFirst on are kept.
    struct Axis {
        uint32_t sourceLength;
        uint32_t targetLength;
        uint32_t keepFirst;
        uint32_t keepCount;
        bool reversed;
        // The target pixel source pixel `index` starts in, and its weight there; the rest of
        // its weight, targetLength - weight, goes to the next target pixel.
        uint32_t cellOf(uint32_t index, uint32_t *weight) const;
    };
    // Where a stored column lands in the line of a run: the slots of its first and next target
    // pixel (slot 0 takes what falls outside the kept part) and its weight in the first.
    struct Landing {
        uint32_t slot;
        uint32_t nextSlot;
        uint32_t weight;
    };

    void setUpAxes(const Source &source, const ReducedSize &target);
    void allocate();
    uint32_t slotOf(uint32_t cell) const;
    template <class Sample>
    void addRun(uint32_t y, uint32_t x0, uint32_t step, uint32_t count, const Sample *samples);
    template <size_t Channels, class Sample>
    void sumRun(uint32_t x0, uint32_t step, uint32_t count, const Sample *samples);
    void flushLine(uint32_t y, uint32_t firstSlot, uint32_t lastSlot);

    ReducedPixels pixels_;
    size_t channels_;
    uint32_t width_;
    uint32_t height_;
    bool swapped_; // stored rows run down the upright picture's columns
    Axis columns_; // the upright axis stored columns lie along
    Axis rows_;    // the upright axis stored rows lie along
    uint32_t keepWidth_ = 0;
    uint32_t keepHeight_ = 0;
    uint64_t denominator_ = 1;
    std::unique_ptr<Landing[]> landings_; // one per stored column
    std::unique_ptr<uint64_t[]> line_;    // a run's sums: slot 0, then the kept target pixels
    std::unique_ptr<uint64_t[]> sums_;    // kept rows, top first, of kept pixels
};
