#include "image/codecs/AreaReducer.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "base/Orientation.h"
#include "image/SafeSize.h"
#include "image/codecs/DecodeFailure.h"

namespace {

[[noreturn]] void RaiseSize(const char *what, uint64_t a, uint64_t b, uint64_t c, uint64_t d) {
    char text[kLastErrorSize];
    std::snprintf(text, sizeof text, "AreaReducer: %s (%llu x %llu, picture %llu x %llu)", what,
                  static_cast<unsigned long long>(a), static_cast<unsigned long long>(b),
                  static_cast<unsigned long long>(c), static_cast<unsigned long long>(d));
    RaiseDecodeFailure(text);
}

} // namespace

int ReducedChannels(ReducedPixels pixels) {
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

uint32_t AreaReducer::Axis::CellOf(uint32_t index, uint32_t *weight) const {
    const uint64_t u = reversed ? sourceLength - 1 - uint64_t{index} : index;
    const uint64_t start = u * targetLength;
    const uint64_t cell = start / sourceLength;
    *weight = uint32_t(std::min(start + targetLength, (cell + 1) * sourceLength) - start);
    return uint32_t(cell);
}

AreaReducer::AreaReducer(const Source &source, const ReducedSize &target)
    : m_pixels(source.pixels), m_channels(size_t(ReducedChannels(source.pixels))),
      m_width(source.width), m_height(source.height),
      m_swapped(folvane::SwapsAxes(source.orientation)) {
    SetUpAxes(source, target);
    Allocate();
}

void AreaReducer::SetUpAxes(const Source &source, const ReducedSize &target) {
    if (m_width == 0 || m_height == 0 || m_width > kReducedMaxSide || m_height > kReducedMaxSide ||
        uint64_t{m_width} * m_height > kReducedMaxPixels) {
        RaiseSize("the picture's size is out of range", m_width, m_height, m_width, m_height);
    }
    const uint32_t uprightWidth = m_swapped ? m_height : m_width;
    const uint32_t uprightHeight = m_swapped ? m_width : m_height;
    if (target.width == 0 || target.height == 0 || target.width > uprightWidth ||
        target.height > uprightHeight) {
        RaiseSize("the reduced size is not within the picture", target.width, target.height,
                  uprightWidth, uprightHeight);
    }
    ImageBox keep = target.keep;
    if (keep.left == 0 && keep.top == 0 && keep.right == 0 && keep.bottom == 0) {
        keep = ImageBox{0, 0, int32_t(target.width), int32_t(target.height)};
    }
    if (keep.left < 0 || keep.top < 0 || keep.left >= keep.right || keep.top >= keep.bottom ||
        int64_t{keep.right} > int64_t{target.width} ||
        int64_t{keep.bottom} > int64_t{target.height}) {
        RaiseSize("the kept part is not within the reduced size", target.width, target.height,
                  uprightWidth, uprightHeight);
    }
    m_keepWidth = uint32_t(keep.right - keep.left);
    m_keepHeight = uint32_t(keep.bottom - keep.top);
    const Axis across{0, target.width, uint32_t(keep.left), m_keepWidth, false};
    const Axis down{0, target.height, uint32_t(keep.top), m_keepHeight, false};
    m_columns = m_swapped ? down : across;
    m_rows = m_swapped ? across : down;
    m_columns.sourceLength = m_width;
    m_columns.reversed = folvane::StoredAxesOf(source.orientation).columnsReversed;
    m_rows.sourceLength = m_height;
    m_rows.reversed = folvane::StoredAxesOf(source.orientation).rowsReversed;
    m_denominator = uint64_t{m_width} * m_height;
}

void AreaReducer::Allocate() {
    const auto sumCount = SafeSize::Mul(m_keepWidth, m_keepHeight, m_channels);
    const auto sumBytes = sumCount ? SafeSize::Mul(*sumCount, sizeof(uint64_t)) : std::nullopt;
    if (!sumBytes || *sumBytes > CFIMAGE_MAX_MEMORY) {
        RaiseSize("the kept part needs more memory than the library allows", m_keepWidth,
                  m_keepHeight, m_width, m_height);
    }
    // Slot 0 takes what falls outside the kept part (kept counts are at most kReducedMaxSide).
    const auto lineCount = SafeSize::Mul(size_t{m_columns.keepCount} + 1, m_channels);
    m_sums.reset(new (std::nothrow) uint64_t[*sumCount]());
    if (lineCount) {
        m_line.reset(new (std::nothrow) uint64_t[*lineCount]());
    }
    m_landings.reset(new (std::nothrow) Landing[m_width]);
    if (!m_sums || !m_line || !m_landings) {
        RaiseDecodeFailure("AreaReducer: can't allocate memory");
    }
    for (uint32_t x = 0; x < m_width; ++x) {
        uint32_t weight = 0;
        const uint32_t cell = m_columns.CellOf(x, &weight);
        m_landings[x] = Landing{SlotOf(cell), SlotOf(cell + 1), weight};
    }
}

uint32_t AreaReducer::SlotOf(uint32_t cell) const {
    const uint32_t kept = cell - m_columns.keepFirst; // wraps below the kept part
    return kept < m_columns.keepCount ? kept + 1 : 0;
}

// Sums the run's pixels into m_line, each by its weight in the one or two target pixels it
// overlaps; the channel count is fixed so that the loops unroll.
template <size_t Channels, class Sample>
void AreaReducer::SumRun(uint32_t x0, uint32_t step, uint32_t count, const Sample *samples) {
    uint64_t *line = m_line.get();
    const uint64_t whole = m_columns.targetLength;
    const Landing *landing = m_landings.get() + x0;
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
void AreaReducer::FlushLine(uint32_t y, uint32_t firstSlot, uint32_t lastSlot) {
    uint32_t weight = 0;
    const uint32_t cell = m_rows.CellOf(y, &weight);
    const uint32_t cells[2] = {cell - m_rows.keepFirst, cell + 1 - m_rows.keepFirst};
    const uint64_t weights[2] = {weight, uint64_t{m_rows.targetLength} - weight};
    // A kept row of the upright picture is a line of kept pixels; a kept column of a turned
    // one is the pixel at that column of every kept row.
    const size_t lineStride = m_swapped ? m_channels : size_t{m_keepWidth} * m_channels;
    const size_t cellStride = m_swapped ? size_t{m_keepWidth} * m_channels : m_channels;
    for (int l = 0; l < 2; ++l) {
        if (cells[l] >= m_rows.keepCount || weights[l] == 0) {
            continue;
        }
        uint64_t *sums = m_sums.get() + cells[l] * lineStride;
        for (uint32_t slot = std::max(firstSlot, 1u); slot <= lastSlot; ++slot) {
            uint64_t *to = sums + (slot - 1) * cellStride;
            const uint64_t *from = m_line.get() + size_t{slot} * m_channels;
            for (size_t c = 0; c < m_channels; ++c) {
                to[c] += weights[l] * from[c];
            }
        }
    }
    std::fill(m_line.get() + size_t{firstSlot} * m_channels,
              m_line.get() + (size_t{lastSlot} + 1) * m_channels, 0);
}

template <class Sample>
void AreaReducer::AddRun(uint32_t y, uint32_t x0, uint32_t step, uint32_t count,
                         const Sample *samples) {
    if (count == 0) {
        return;
    }
    const uint64_t last = uint64_t{x0} + uint64_t{count - 1} * step;
    if (y >= m_height || last >= m_width || step == 0) {
        RaiseDecodeFailure("AreaReducer: pixels outside the picture");
    }
    switch (m_channels) {
    case 1:
        SumRun<1>(x0, step, count, samples);
        break;
    case 2:
        SumRun<2>(x0, step, count, samples);
        break;
    case 3:
        SumRun<3>(x0, step, count, samples);
        break;
    default:
        SumRun<4>(x0, step, count, samples);
        break;
    }
    // Columns land on target pixels in order (backwards along a mirrored axis), so the run
    // touched the kept ones between its first and last pixel's, and the one after.
    uint32_t weight = 0;
    const uint32_t a = m_columns.CellOf(x0, &weight);
    const uint32_t b = m_columns.CellOf(uint32_t(last), &weight);
    const uint32_t low = std::max(std::min(a, b), m_columns.keepFirst);
    const uint32_t high =
        std::min(std::max(a, b) + 1, m_columns.keepFirst + m_columns.keepCount - 1);
    if (low <= high) {
        FlushLine(y, SlotOf(low), SlotOf(high));
    }
}

void AreaReducer::Add(uint32_t y, uint32_t x0, uint32_t step, uint32_t count,
                      const uint8_t *samples) {
    AddRun(y, x0, step, count, samples);
}

void AreaReducer::Add(uint32_t y, uint32_t x0, uint32_t step, uint32_t count,
                      const uint16_t *samples) {
    AddRun(y, x0, step, count, samples);
}

void AreaReducer::Finish(CfImage &image, unsigned shift, const uint8_t *greyMap) const {
    const bool grey = m_pixels == ReducedPixels::Grey || m_pixels == ReducedPixels::GreyAlpha;
    const bool withAlpha = m_pixels == ReducedPixels::GreyAlpha || m_pixels == ReducedPixels::Bgra;
    if (image.Create(m_keepWidth, m_keepHeight, grey ? 8 : 24, image.info.type) == nullptr) {
        RaiseDecodeFailure(""); // Create's own text stays
    }
    if (withAlpha && !image.CreateAlphaChannel()) {
        RaiseDecodeFailure("AreaReducer: can't allocate the alpha plane");
    }
    if (grey) {
        image.SetGreyPalette();
    }
    const size_t colours = withAlpha ? m_channels - 1 : m_channels;
    const uint64_t half = m_denominator / 2;
    const uint64_t *sums = m_sums.get();
    for (uint32_t row = 0; row < m_keepHeight; ++row) {
        // The kept part's top row is the bitmap's last.
        const uint32_t y = m_keepHeight - 1 - row;
        uint8_t *pixels = image.RowPointer(y);
        uint8_t *alpha = withAlpha ? image.alpha + size_t{y} * m_keepWidth : nullptr;
        for (uint32_t x = 0; x < m_keepWidth; ++x, sums += m_channels) {
            for (size_t c = 0; c < m_channels; ++c) {
                const uint64_t mean = ((sums[c] + half) / m_denominator) >> shift;
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
