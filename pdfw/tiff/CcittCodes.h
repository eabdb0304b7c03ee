// The code tables of ITU-T T.4 (Group 3) and T.6 (Group 4) fax coding, as lookup tables: the
// run-length codes of white and black runs and the two-dimensional mode codes.
#pragma once

#include <cstdint>

namespace folvane::pdfw {

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

// The mode code the next kFaxPairBits bits start with and, when it is vertical and a second
// vertical code follows whole within those bits, that one too. Most codes of a page are
// vertical, so reading them two at a time halves the lookups of a row's walk.
inline constexpr int kFaxPairBits = 10;
struct FaxModePair {
    std::int8_t first; // a FaxMode or a vertical offset
    std::uint8_t firstBits;
    std::int8_t second;    // a vertical offset, when bothBits is not 0
    std::uint8_t bothBits; // the bits of both codes; 0 when no second code is read with it
};

// Tables of 1 << kFaxRunBits entries (white and black), 1 << kFaxModeBits entries and
// 1 << kFaxPairBits entries.
const FaxCode *faxWhiteCodes();
const FaxCode *faxBlackCodes();
const FaxCode *faxModeCodes();
const FaxModePair *faxModePairs();

} // namespace folvane::pdfw
