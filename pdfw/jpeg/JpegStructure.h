// Checks a JPEG file's structure without decoding it: the marker segments up to the first
// scan, a frame header that PDF can carry, and the end-of-image marker. Gathers what the
// image XObject needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdfw/core/InputFile.h"

namespace folvane::pdfw {

enum class JpegCoding {
    Huffman,    // baseline, extended sequential or progressive: PDF carries it as it is
    Arithmetic, // arithmetic-coded sequential or progressive: transcoded to Huffman
};

struct JpegInfo {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int components = 0; // 1, 3 or 4
    JpegCoding coding = JpegCoding::Huffman;
    bool adobe = false;           // an Adobe APP14 segment is present
    int adobeTransform = 0;       // its transform byte (0 none, 1 YCbCr, 2 YCCK)
    bool rgbComponentIds = false; // three components named 'R', 'G', 'B'
    int orientation = 1;          // from the EXIF APP1 segment; 1 when absent or invalid
    double dpiX = 0;              // dots per inch a JFIF APP0 segment states; 0 when none
    double dpiY = 0;
    std::uint32_t blockWidth = 8; // pixels of one MCU, the grid a lossless crop keeps
    std::uint32_t blockHeight = 8;
    std::uint64_t blocks = 0;              // 8 x 8 blocks of every component
    std::uint64_t length = 0;              // bytes from the start through the end-of-image marker
    std::vector<unsigned char> iccProfile; // joined from the APP2 "ICC_PROFILE" segments
    std::string iccProblem; // why those segments do not make a profile ("" when they do)
};

// Collects the APP2 "ICC_PROFILE" segments of a JPEG and joins them in their sequence order.
class JpegIccSegments {
public:
    // `body` is an APP2 segment's payload; other APP2 segments are ignored.
    void add(const unsigned char *body, std::size_t size);
    // Joins the segments into `profile`, or leaves it empty and says why in `problem` (the
    // segments are not numbered 1 to n once each, or disagree on n).
    void join(std::vector<unsigned char> &profile, std::string &problem) const;

private:
    struct Segment {
        int sequence;
        int count;
        std::vector<unsigned char> data;
    };
    std::vector<Segment> segments_;
};

// Raises PDFW_SYNTAX_ERROR for a malformed or truncated file and PDFW_TYPE_ERROR for a
// JPEG that PDF cannot carry and that cannot be converted without loss (12-bit, lossless,
// hierarchical, two components, height set by a later DNL marker).
JpegInfo inspectJpeg(const ByteSource &file);

} // namespace folvane::pdfw
