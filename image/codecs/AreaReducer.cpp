#include "image/codecs/AreaReducer.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "base/Orientation.h"
#include "image/SafeSize.h"
#include "image/codecs/DecodeFailure.h"

namespace {

[[noreturn]] void raiseSize(const char *what, uint64_t a, uint64_t b, uint64_t c, uint64_t d) {
    char text[kLastErrorSize];
    std::snprintf(text, sizeof text, "AreaReducer: %s (%llu x %llu, picture %llu x %llu)", what,
                  static_cast<unsigned long long>(a), static_cast<unsigned long long>(b),
                  static_cast<unsigned long long>(c), static_cast<unsigned long long>(d));
    raiseDecodeFailure(text);
}

} // namespace

int reducedChannels(ReducedPixels pixels) {
    switch (pixels) {
    case ReducedPixels::Grey:
        return 1;
    case ReducedPixels::GreyAlpha:
        return 2;
    case ReducedPixels::Bgr:
        return 3;
    case ReducedPixels::Bgra:
        return 4;
    }
    return 4;
}

uint32_t AreaReducer::Axis::cellOf(uint32_t index, uint32_t *weight) const {
    const uint64_t u = reversed ? sourceLength - 1 - uint64_t{index} : index;
    const uint64_t start = u * targetLength;
    const uint64_t cell = start / sourceLength;
    *weight = uint32_t(std::min(start + targetLength, (cell + 1) * sourceLength) - start);
    return uint32_t(cell);
}

AreaReducer::AreaReducer(const Source &source, const ReducedSize &target)
    : pixels_(source.pixels), channels_(size_t(reducedChannels(source.pixels))),
      width_(source.width), height_(source.height),
      swapped_(folvane::swapsAxes(source.orientation)) {
    setUpAxes(source, target);
    allocate();
}

void AreaReducer::setUpAxes(const Source &source, const ReducedSize &target) {
    if (width_ == 0 || height_ == 0 || width_ > kReducedMaxSide || height_ > kReducedMaxSide ||
        uint64_t{width_} * height_ > kReducedMaxPixels) {
        raiseSize("the picture's size is out of range", width_, height_, width_, height_);
    }
    const uint32_t uprightWidth = swapped_ ? height_ : width_;
    const uint32_t uprightHeight = swapped_ ? width_ : height_;
    if (target.width == 0 || target.height == 0 || target.width > uprightWidth ||
        target.height > uprightHeight) {
        raiseSize("the reduced size is not within the picture", target.width, target.height,
                  uprightWidth, uprightHeight);
    }
    ImageBox keep = target.keep;
    if (keep.left == 0 && keep.top == 0 && keep.right == 0 && keep.bottom == 0) {
        keep = ImageBox{0, 0, int32_t(target.width), int32_t(target.height)};
    }
    if (keep.left < 0 || keep.top < 0 || keep.left >= keep.right || keep.top >= keep.bottom ||
        int64_t{keep.right} > int64_t{target.width} ||
        int64_t{keep.bottom} > int64_t{target.height}) {
        raiseSize("the kept part is not within the reduced size", target.width, target.height,
                  uprightWidth, uprightHeight);
    }
    keepWidth_ = uint32_t(keep.right - keep.left);
    keepHeight_ = uint32_t(keep.bottom - keep.top);
    const Axis across{0, target.width, uint32_t(keep.left), keepWidth_, false};
    const Axis down{0, target.height, uint32_t(keep.top), keepHeight_, false};
    columns_ = swapped_ ? down : across;
    rows_ = swapped_ ? across : down;
    columns_.sourceLength = width_;
    columns_.reversed = folvane::storedAxesOf(source.orientation).columnsReversed;
    rows_.sourceLength = height_;
    rows_.reversed = folvane::storedAxesOf(source.orientation).rowsReversed;
    denominator_ = uint64_t{width_} * height_;
}

void AreaReducer::allocate() {
    const auto sumCount = SafeSize::mul(keepWidth_, keepHeight_, channels_);
    const auto sumBytes = sumCount ? SafeSize::mul(*sumCount, sizeof(uint64_t)) : std::nullopt;
    if (!sumBytes || *sumBytes > CFIMAGE_MAX_MEMORY) {
        raiseSize("the kept part needs more memory than the library allows", keepWidth_,
                  keepHeight_, width_, height_);
    }
    // Slot 0 takes what falls outside the kept part (kept counts are at most kReducedMaxSide).
    const auto lineCount = SafeSize::mul(size_t{columns_.keepCount} + 1, channels_);
    sums_.reset(new (std::nothrow) uint64_t[*sumCount]());
    if (lineCount) {
        line_.reset(new (std::nothrow) uint64_t[*lineCount]());
    }
    landings_.reset(new (std::nothrow) Landing[width_]);
    if (!sums_ || !line_ || !landings_) {
        raiseDecodeFailure("AreaReducer: can't allocate memory");
    }
    for (uint32_t x = 0; x < width_; ++x) {
        uint32_t weight = 0;
        const uint32_t cell = columns_.cellOf(x, &weight);
        landings_[x] = Landing{slotOf(cell), slotOf(cell + 1), weight};
    }
}

uint32_t AreaReducer::slotOf(uint32_t cell) const {
    const uint32_t kept = cell - columns_.keepFirst; // wraps below the kept part
    return kept < columns_.keepCount ? kept + 1 : 0;
}

// Sums the run's pixels into m_line, each by its weight in the one or two target pixels it
// overlaps; the channel count is fixed so that the loops unroll.
template <size_t Channels, class Sample>
void AreaReducer::sumRun(uint32_t x0, uint32_t step, uint32_t count, const Sample *samples) {
    uint64_t *line = line_.get();
    const uint64_t whole = columns_.targetLength;
    const Landing *landing = landings_.get() + x0;
    for (uint32_t i = 0; i < count; ++i, landing += step, samples += Channels) {
        uint64_t *first = line + size_t{landing->slot} * Channels;
        const uint64_t weight = landing->weight;
        for (size_t c = 0; c < Channels; ++c) {
            first[c] += weight * samples[c];
        }
        if (weight != whole) {
            uint64_t *next = line + size_t{landing->nextSlot} * Channels;
            for (size_t c = 0; c < Channels; ++c) {
                next[c] += (whole - weight) * samples[c];
            }
        }
    }
}

// Adds the slots firstSlot..lastSlot of m_line into the target lines stored row y overlaps,
// and clears them for the next run.
void AreaReducer::flushLine(uint32_t y, uint32_t firstSlot, uint32_t lastSlot) {
    uint32_t weight = 0;
    const uint32_t cell = rows_.cellOf(y, &weight);
    const uint32_t cells[2] = {cell - rows_.keepFirst, cell + 1 - rows_.keepFirst};
    const uint64_t weights[2] = {weight, uint64_t{rows_.targetLength} - weight};
    // A kept row of the upright picture is a line of kept pixels; a kept column of a turned
    // one is the pixel at that column of every kept row.
    const size_t lineStride = swapped_ ? channels_ : size_t{keepWidth_} * channels_;
    const size_t cellStride = swapped_ ? size_t{keepWidth_} * channels_ : channels_;
    for (int l = 0; l < 2; ++l) {
        if (cells[l] >= rows_.keepCount || weights[l] == 0) {
            continue;
        }
        uint64_t *sums = sums_.get() + cells[l] * lineStride;
        for (uint32_t slot = std::max(firstSlot, 1u); slot <= lastSlot; ++slot) {
            uint64_t *to = sums + (slot - 1) * cellStride;
            const uint64_t *from = line_.get() + size_t{slot} * channels_;
            for (size_t c = 0; c < channels_; ++c) {
                to[c] += weights[l] * from[c];
            }
        }
    }
    std::fill(line_.get() + size_t{firstSlot} * channels_,
              line_.get() + (size_t{lastSlot} + 1) * channels_, 0);
}

template <class Sample>
void AreaReducer::addRun(uint32_t y, uint32_t x0, uint32_t step, uint32_t count,
                         const Sample *samples) {
    if (count == 0) {
        return;
    }
    const uint64_t last = uint64_t{x0} + uint64_t{count - 1} * step;
    if (y >= height_ || last >= width_ || step == 0) {
        raiseDecodeFailure("AreaReducer: pixels outside the picture");
    }
    switch (channels_) {
    case 1:
        sumRun<1>(x0, step, count, samples);
        break;
    case 2:
        sumRun<2>(x0, step, count, samples);
        break;
    case 3:
        sumRun<3>(x0, step, count, samples);
        break;
    default:
        sumRun<4>(x0, step, count, samples);
        break;
    }
    // Columns land on target pixels in order (backwards along a mirrored axis), so the run
    // touched the kept ones between its first and last pixel's, and the one after.
    uint32_t weight = 0;
    const uint32_t a = columns_.cellOf(x0, &weight);
    const uint32_t b = columns_.cellOf(uint32_t(last), &weight);
    const uint32_t low = std::max(std::min(a, b), columns_.keepFirst);
    const uint32_t high = std::min(std::max(a, b) + 1, columns_.keepFirst + columns_.keepCount - 1);
    if (low <= high) {
        flushLine(y, slotOf(low), slotOf(high));
    }
}

void AreaReducer::add(uint32_t y, uint32_t x0, uint32_t step, uint32_t count,
                      const uint8_t *samples) {
    addRun(y, x0, step, count, samples);
}

void AreaReducer::add(uint32_t y, uint32_t x0, uint32_t step, uint32_t count,
                      const uint16_t *samples) {
    addRun(y, x0, step, count, samples);
}

void AreaReducer::finish(CfImage &image, unsigned shift, const uint8_t *greyMap) const {
    const bool grey = pixels_ == ReducedPixels::Grey || pixels_ == ReducedPixels::GreyAlpha;
    const bool withAlpha = pixels_ == ReducedPixels::GreyAlpha || pixels_ == ReducedPixels::Bgra;
    if (image.Create(keepWidth_, keepHeight_, grey ? 8 : 24, image.info.type) == nullptr) {
        raiseDecodeFailure(""); // Create's own text stays
    }
    if (withAlpha && !image.CreateAlphaChannel()) {
        raiseDecodeFailure("AreaReducer: can't allocate the alpha plane");
    }
    if (grey) {
        image.SetGreyPalette();
    }
    const size_t colours = withAlpha ? channels_ - 1 : channels_;
    const uint64_t half = denominator_ / 2;
    const uint64_t *sums = sums_.get();
    for (uint32_t row = 0; row < keepHeight_; ++row) {
        // The kept part's top row is the bitmap's last.
        const uint32_t y = keepHeight_ - 1 - row;
        uint8_t *pixels = image.RowPointer(y);
        uint8_t *alpha = withAlpha ? image.alpha + size_t{y} * keepWidth_ : nullptr;
        for (uint32_t x = 0; x < keepWidth_; ++x, sums += channels_) {
            for (size_t c = 0; c < channels_; ++c) {
                const uint64_t mean = ((sums[c] + half) / denominator_) >> shift;
                auto value = static_cast<uint8_t>(std::min<uint64_t>(mean, 255));
                if (c < colours && grey && greyMap) {
                    value = greyMap[value];
                }
                if (c < colours) {
                    pixels[size_t{x} * colours + c] = value;
                } else {
                    alpha[x] = value;
                }
            }
        }
    }
}
