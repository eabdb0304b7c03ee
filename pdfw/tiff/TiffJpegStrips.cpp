#include "pdfw/tiff/TiffJpegStrips.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace folvane::pdfw {

namespace {

// Where the parts of one strip lie within its bytes.
struct StripLayout {
    std::size_t frame = 0;     // first byte of the frame header's payload (after the length)
    std::size_t scan = 0;      // the scan header's marker
    std::size_t dataBegin = 0; // first byte of coded data, after the scan header
    std::size_t dataEnd = 0;   // end of coded data, before the fill bytes and end marker
};

unsigned bigEndian16(const unsigned char *p) {
    return static_cast<unsigned>(p[0]) << 8 | p[1];
}

bool isFrameMarker(unsigned m) {
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// Reads the segments of a strip up to its scan and checks that the rest is one scan's coded
// data closed by the end marker: baseline or extended Huffman coding, no restart interval,
// one scan over every component.
std::optional<StripLayout> layOut(const unsigned char *s, std::size_t size) {
    if (size < 4 || s[0] != 0xFF || s[1] != 0xD8) {
        return std::nullopt;
    }
    StripLayout layout;
    std::size_t at = 2;
    for (;;) {
        if (at + 4 > size || s[at] != 0xFF) {
            return std::nullopt;
        }
        unsigned marker = s[at + 1];
        std::size_t length = bigEndian16(s + at + 2);
        if (length < 2 || length > size - at - 2) {
            return std::nullopt;
        }
        if (marker == 0xDD || (isFrameMarker(marker) && (marker > 0xC1 || layout.frame))) {
            return std::nullopt; // restart markers of its own, or a coding we do not join
        }
        if (marker == 0xC0 || marker == 0xC1) {
            if (length < 8) {
                return std::nullopt;
            }
            layout.frame = at + 4;
        }
        if (marker == 0xDA) {
            if (!layout.frame || length < 3 ||
                s[at + 4] != s[layout.frame + 5]) { // components in the scan == in the frame
                return std::nullopt;
            }
            layout.scan = at;
            layout.dataBegin = at + 2 + length;
            break;
        }
        at += 2 + length;
    }
    if (size - layout.dataBegin < 2 || s[size - 2] != 0xFF || s[size - 1] != 0xD9) {
        return std::nullopt;
    }
    std::size_t end = size - 2;
    while (end > layout.dataBegin && s[end - 1] == 0xFF) {
        --end; // fill bytes before the end marker
    }
    // In coded data every 0xFF is followed by a stuffed zero; anything else is a marker.
    const unsigned char *data = s + layout.dataBegin;
    const unsigned char *const stop = s + end;
    while (const void *ff = std::memchr(data, 0xFF, static_cast<std::size_t>(stop - data))) {
        data = static_cast<const unsigned char *>(ff) + 1;
        if (data == stop || *data != 0x00) {
            return std::nullopt;
        }
        ++data;
    }
    layout.dataEnd = end;
    return layout;
}

// Strip headers must agree on everything but the frame's height (two bytes after the
// sample precision).
bool sameHeader(const unsigned char *a, const StripLayout &la, const unsigned char *b,
                const StripLayout &lb) {
    if (la.dataBegin != lb.dataBegin || la.frame != lb.frame) {
        return false;
    }
    std::size_t height = la.frame + 1;
    return std::memcmp(a, b, height) == 0 &&
           std::memcmp(a + height + 2, b + height + 2, la.dataBegin - height - 2) == 0;
}

// Every strip of the page read raw and laid out, each checked to be a JPEG whose header
// matches the first strip's but for its own height.
struct Strips {
    Buffer raw;                      // every strip's bytes, one after another
    std::vector<std::size_t> starts; // where each strip begins in `raw`
    std::vector<StripLayout> layouts;
    std::uint32_t rowsPerStrip = 0;
};

std::optional<Strips> readStrips(TiffFile &tiff, const InputFile &file, const MemoryProcs &memory) {
    const TiffPage &p = tiff.page();
    TIFF *handle = tiff.handle();
    const std::uint32_t strips = TIFFNumberOfStrips(handle);
    std::uint32_t rowsPerStrip = 0;
    std::uint64_t *counts = nullptr;
    if (p.planar != PLANARCONFIG_CONTIG || strips < 2 ||
        !TIFFGetFieldDefaulted(handle, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip) || rowsPerStrip == 0 ||
        (p.height - 1) / rowsPerStrip + 1 != strips ||
        !TIFFGetField(handle, TIFFTAG_STRIPBYTECOUNTS, &counts) || !counts) {
        return std::nullopt;
    }
    // Every strip's bytes together: no more than the file holds.
    std::uint64_t total = 0;
    for (std::uint32_t k = 0; k < strips; ++k) {
        if (counts[k] < 4 || counts[k] > file.size() - total) {
            return std::nullopt;
        }
        total += counts[k];
    }
    Strips read{Buffer(memory, checkedSize({total}, "the strips of \"" + tiff.path() + "\""),
                       "TIFF strips"),
                std::vector<std::size_t>(strips + 1, 0), std::vector<StripLayout>(strips),
                rowsPerStrip};
    for (std::uint32_t k = 0; k < strips; ++k) {
        unsigned char *strip = read.raw.data() + read.starts[k];
        tmsize_t got = TIFFReadRawStrip(handle, k, strip, static_cast<tmsize_t>(counts[k]));
        if (got < 0 || static_cast<std::uint64_t>(got) != counts[k]) {
            return std::nullopt;
        }
        read.starts[k + 1] = read.starts[k] + counts[k];
        auto layout = layOut(strip, counts[k]);
        if (!layout) {
            return std::nullopt;
        }
        std::uint32_t rows = std::min(rowsPerStrip, p.height - k * rowsPerStrip);
        if (bigEndian16(strip + layout->frame + 1) != rows ||
            (k > 0 && !sameHeader(read.raw.data(), read.layouts[0], strip, *layout))) {
            return std::nullopt;
        }
        read.layouts[k] = *layout;
    }
    return read;
}

// The restart interval, in MCUs, that makes one restart per strip; nothing when the first
// strip's frame does not fit the page (8-bit samples, its width and components) or a strip
// is not whole MCU rows.
std::optional<std::uint64_t> restartInterval(const TiffPage &p, const Strips &strips) {
    const unsigned char *frame = strips.raw.data() + strips.layouts[0].frame;
    const int components = frame[5];
    if (frame[0] != 8 || bigEndian16(frame + 3) != p.width || components != p.samplesPerPixel ||
        bigEndian16(frame - 2) < 8u + 3u * static_cast<unsigned>(components)) {
        return std::nullopt;
    }
    unsigned mcuWidth = 8, mcuHeight = 8;
    if (components > 1) {
        for (int c = 0; c < components; ++c) {
            unsigned h = frame[7 + 3 * c] >> 4, v = frame[7 + 3 * c] & 15;
            if (h < 1 || h > 4 || v < 1 || v > 4) {
                return std::nullopt;
            }
            mcuWidth = std::max(mcuWidth, 8 * h);
            mcuHeight = std::max(mcuHeight, 8 * v);
        }
    }
    const std::uint32_t rowsPerStrip = strips.rowsPerStrip;
    std::uint64_t interval = (static_cast<std::uint64_t>(p.width) + mcuWidth - 1) / mcuWidth *
                             (rowsPerStrip / mcuHeight);
    if (rowsPerStrip % mcuHeight != 0 || interval == 0 || interval > 0xFFFF || p.height > 0xFFFF) {
        return std::nullopt;
    }
    return interval;
}

// The tables (or a bare start marker), the first strip's header up to its scan with the
// page's height, the restart interval and the scan header.
unsigned char *writeHeader(unsigned char *out, const unsigned char *tables, std::size_t prefix,
                           const TiffPage &p, const Strips &strips, std::uint64_t interval) {
    const StripLayout &first = strips.layouts[0];
    if (tables) {
        std::memcpy(out, tables, prefix);
    } else {
        out[0] = 0xFF, out[1] = 0xD8;
    }
    out += prefix;
    std::size_t beforeScan = first.scan - 2;
    std::memcpy(out, strips.raw.data() + 2, beforeScan);
    unsigned char *height = out + (first.frame - 2) + 1;
    height[0] = static_cast<unsigned char>(p.height >> 8);
    height[1] = static_cast<unsigned char>(p.height);
    out += beforeScan;
    const unsigned char restart[] = {0xFF,
                                     0xDD,
                                     0x00,
                                     0x04,
                                     static_cast<unsigned char>(interval >> 8),
                                     static_cast<unsigned char>(interval)};
    std::memcpy(out, restart, sizeof restart);
    out += sizeof restart;
    std::memcpy(out, strips.raw.data() + first.scan, first.dataBegin - first.scan);
    return out + (first.dataBegin - first.scan);
}

} // namespace

std::optional<Buffer> joinJpegStrips(TiffFile &tiff, const InputFile &file,
                                     const unsigned char *tables, std::size_t tableBytes,
                                     const MemoryProcs &memory) {
    const TiffPage &p = tiff.page();
    std::optional<Strips> strips = readStrips(tiff, file, memory);
    if (!strips) {
        return std::nullopt;
    }
    std::optional<std::uint64_t> interval = restartInterval(p, *strips);
    if (!interval) {
        return std::nullopt;
    }
    const std::vector<StripLayout> &layouts = strips->layouts;
    const std::size_t count = layouts.size();
    std::size_t prefix = tableBytes ? tableBytes : 2; // the tables bring their own start marker
    std::size_t header = layouts[0].dataBegin - 2;    // the first strip's, after its start marker
    std::uint64_t size = prefix + header + 6 + 2 * (count - 1) + 2;
    for (const StripLayout &layout : layouts) {
        size += layout.dataEnd - layout.dataBegin;
    }
    Buffer joined(memory, checkedSize({size}, "the JPEG of \"" + tiff.path() + "\""),
                  "joined JPEG strips");
    unsigned char *out =
        writeHeader(joined.data(), tableBytes ? tables : nullptr, prefix, p, *strips, *interval);
    for (std::size_t k = 0; k < count; ++k) {
        if (k > 0) {
            *out++ = 0xFF;
            *out++ = static_cast<unsigned char>(0xD0 + (k - 1) % 8);
        }
        std::size_t bytes = layouts[k].dataEnd - layouts[k].dataBegin;
        std::memcpy(out, strips->raw.data() + strips->starts[k] + layouts[k].dataBegin, bytes);
        out += bytes;
    }
    *out++ = 0xFF;
    *out++ = 0xD9;
    return joined;
}

} // namespace folvane::pdfw
