// Checks CCITT fax data the way PDF readers decode it. libtiff's fax decoder forgives two things
// that the CCITTFaxDecode filters of PDF readers do not: a colour change coded on the change
// before it (an empty run; one commercial scanning library ends rows that way at the right
// edge) and runs past the right edge. From such a row on, one reader reports rows of the wrong
// length and leaves the page blank, another an overflow and garbles it. Data that passes this
// check decodes to the same rows in libtiff and in those readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace folvane::pdfw {

struct FaxLayout {
    int k = -1; // the /K of CCITTFaxDecode: -1 Group 4, 0 Group 3 1-D, 1 Group 3 2-D
    std::uint32_t columns = 0;
    std::uint32_t rows = 0;
};

// "" when `data` (most significant bit first) codes exactly `rows` rows of exactly `columns`
// pixels with valid codes, every change inside the row; else the first problem, as
// "row 812 runs to column 2729 of 2453".
std::string ccittProblem(const unsigned char *data, std::size_t size, const FaxLayout &layout);

} // namespace folvane::pdfw
