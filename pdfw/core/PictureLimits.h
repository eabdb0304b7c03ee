// How large a picture the engine takes, and how it holds it while preparing it.
//
// A page's size is limited by what PDF viewers can show, not by memory: pictures too large to
// hold go through in bands (StreamedRaster). Viewers that draw with cairo (Evince, GNOME's
// and other desktops' previews, programs built on poppler-glib) make a surface of the picture's
// size, which cairo caps at 32767 pixels a side: a larger picture shows as a blank page.
// PDF's own limit, 2^31 - 1 for the integers that give /Width and /Height, lies far beyond.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "pdfw/pdfw.h"

namespace folvane::pdfw {

inline constexpr std::uint32_t kMaxPictureSide = PDFW_MAX_PICTURE_SIDE;

// Decoded pictures up to this size are held whole and compressed in one go with libdeflate (the
// way, and the bytes, of every ordinary page: a 300-dpi A4 colour scan is 26 MB, a 10-megapixel
// RGB photograph 30 MB); larger ones go through in bands. Holding one costs about twice this
// per worker while it is compressed.
inline constexpr std::size_t kWholePictureBytes = std::size_t{32} << 20;

// Stored rows read at a time for a picture that goes through in bands.
inline constexpr std::size_t kBandBytes = std::size_t{4} << 20;

// The two sizes above, or what the environment variables FOLVANE_PDFW_WHOLE_PICTURE_BYTES and
// FOLVANE_PDFW_BAND_BYTES say instead (whole numbers from 1): tests send small pictures of every
// kind through the bands with them.
std::size_t wholePictureBytes();
std::size_t bandBytes();

// PDFW_OVERFLOW_ERROR (PDFW_PROBLEM_TOO_MANY_PIXELS) naming `path` when a side is beyond
// kMaxPictureSide.
void checkPictureSides(const std::string &path, const char *format, std::uint32_t width,
                       std::uint32_t height);

// PDFW_SYNTAX_ERROR (PDFW_PROBLEM_DATA_TOO_SHORT) when `decodedBytes` of samples cannot come out
// of `dataBytes` of compressed data that expands at most `maxRatio` times: a header that claims
// far more pixels than the file holds is refused before any of them is decoded.
void checkDataCanHold(const std::string &path, const char *format, std::uint32_t width,
                      std::uint32_t height, std::uint64_t decodedBytes, std::uint64_t dataBytes,
                      std::uint64_t maxRatio);

} // namespace folvane::pdfw
