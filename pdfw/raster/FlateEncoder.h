// Flate (zlib format) compression of a whole buffer with libdeflate.
#pragma once

#include <cstddef>

#include "pdfw/core/Memory.h"

namespace folvane::pdfw {

// libdeflate levels, measured: on photographs levels 1 to 6 differ by 1-3 % in size while
// the time nearly doubles; on scans and screen-like pictures level 1 misses long repeats that
// level 2 finds at the same speed (10x smaller on a test page; with predictors still 10 %
// smaller and faster). 16-bit samples are noisy in their low bytes: level 1 is as small there
// and a third faster. For 1-bit to 4-bit samples level 6 costs no more than level 1 and halves
// the size.
inline constexpr int kFlateLevelContinuous = 2;
inline constexpr int kFlateLevelSixteenBits = 1;
inline constexpr int kFlateLevelFewBits = 6;

// Rows of `rowBytes` bytes run through PNG predictors: each row becomes a filter type byte
// and the row filtered with the predictor that leaves the smallest differences, of None, Sub
// (the sample `pixelBytes` to the left) and Up (the sample above). Differences of photographs
// and scans compress far better than the samples; Sub and None keep pictures of text and
// lines as small as they were. Readers undo it through /DecodeParms<</Predictor 15 ...>>.
Buffer pngPredictRows(const unsigned char *data, std::size_t rowBytes, std::size_t rows,
                      std::size_t pixelBytes, const MemoryProcs &memory);

// One row of that: `out` receives the filter type byte and `rowBytes` filtered bytes; `above`
// is the row before, or null for the first.
void pngPredictRow(const unsigned char *row, const unsigned char *above, std::size_t rowBytes,
                   std::size_t pixelBytes, unsigned char *out);

Buffer flateCompress(const unsigned char *data, std::size_t size, int level,
                     const MemoryProcs &memory);

} // namespace folvane::pdfw
