// The code tables of ITU-T T.4 (Group 3) and T.6 (Group 4) fax coding, as lookup tables: the
// run-length codes of white and black runs and the two-dimensional mode codes.
#pragma once

#include <cstdint>

namespace pdfw {

// One table entry: what the code means and how many bits it takes (0: no code starts with
// these bits).
struct FaxCode {
    std::int16_t value;
    std::uint8_t bits;
};

// Run-length codes, looked up by the next 13 bits: `value` is the run (0 to 2560; 64 and up
// are make-up codes that another code must follow), kFaxEol for an end-of-line code.
inline constexpr int kFaxRunBits = 13;
inline constexpr std::int16_t kFaxEol = -1;

// Mode codes, looked up by the next 7 bits.
inline constexpr int kFaxModeBits = 7;
enum FaxMode : std::int16_t {
    kFaxPass = 100,
    kFaxHorizontal = 101,
    kFaxExtension = 102, // 0000001: uncompressed mode and other extensions
    kFaxZeroes = 103,    // 0000000: the start of an end-of-line code
    // Vertical modes are their offset -3 to 3.
};

// Tables of 1 << kFaxRunBits entries (white and black) and 1 << kFaxModeBits entries.
const FaxCode *faxWhiteCodes();
const FaxCode *faxBlackCodes();
const FaxCode *faxModeCodes();

} // namespace pdfw
