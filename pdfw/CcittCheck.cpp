#include "pdfw/CcittCheck.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "pdfw/CcittCodes.h"

namespace pdfw {

namespace {

// Reads bits from a copy of the data padded with zeros, so that a peek never checks bounds.
class BitReader {
public:
    BitReader(const unsigned char *data, std::size_t size) : size_(size) {
        padded_.resize(size + 24, 0);
        std::memcpy(padded_.data(), data, size);
    }

    // The next `n` bits (n <= 32), zeros past the end. A code read past the end finds only
    // zero bits, which no mode or run code is, so the walk stops within a few bytes of padding.
    std::uint32_t peek(int n) const {
        std::uint64_t word;
        std::memcpy(&word, padded_.data() + (used_ >> 3), 8);
        if constexpr (std::endian::native == std::endian::little) {
            word = __builtin_bswap64(word);
        }
        return static_cast<std::uint32_t>((word << (used_ & 7)) >> (64 - n));
    }
    void skip(int n) { used_ += static_cast<std::uint64_t>(n); }
    bool exhausted() const { return used_ > std::uint64_t{size_} * 8; }
    // Skips zero bits up to and through an end-of-line code; false when none comes next.
    bool endOfLine() {
        std::uint64_t start = used_;
        while (peek(1) == 0 && !exhausted()) {
            skip(1);
        }
        if (used_ - start < 11 || exhausted()) {
            used_ = start;
            return false;
        }
        skip(1);
        return true;
    }

private:
    std::vector<unsigned char> padded_;
    std::size_t size_;
    std::uint64_t used_ = 0;
};

class FaxWalker {
public:
    FaxWalker(const unsigned char *data, std::size_t size, const FaxLayout &layout)
        : bits_(data, size), layout_(layout), columns_(static_cast<std::int64_t>(layout.columns)) {
        // Room for the changes of a busy row; more grow as needed.
        std::size_t room = std::min<std::size_t>(layout.columns, 1u << 16) + 8;
        reference_.reserve(room);
        current_.reserve(room);
        reference_.assign(3, columns_); // an all-white row before the first
    }

    std::string walk();

private:
    // One run of colour `black`: make-up codes and a terminating code. -1 on a bad code.
    std::int64_t run(bool black);
    std::string oneDimensionalRow();
    std::string twoDimensionalRow();
    std::string where(const std::string &what) const {
        return "row " + std::to_string(row_ + 1) + " " + what;
    }

    BitReader bits_;
    FaxLayout layout_;
    std::int64_t columns_;
    std::uint32_t row_ = 0;
    std::vector<std::int64_t> reference_; // changing elements of the row above, then sentinels
    std::vector<std::int64_t> current_;
};

std::int64_t FaxWalker::run(bool black) {
    const FaxCode *table = black ? faxBlackCodes() : faxWhiteCodes();
    std::int64_t length = 0;
    for (;;) {
        FaxCode code = table[bits_.peek(kFaxRunBits)];
        if (code.bits == 0 || code.value == kFaxEol) {
            return -1;
        }
        bits_.skip(code.bits);
        length += code.value;
        if (code.value < 64) {
            return length;
        }
    }
}

std::string FaxWalker::oneDimensionalRow() {
    std::int64_t a0 = 0;
    bool black = false;
    while (a0 < columns_) {
        std::int64_t length = run(black);
        if (length < 0) {
            return where("holds a bad code");
        }
        a0 += length;
        if (a0 > columns_) {
            return where("runs to column " + std::to_string(a0) + " of " +
                         std::to_string(columns_));
        }
        current_.push_back(a0);
        black = !black;
    }
    return "";
}

std::string FaxWalker::twoDimensionalRow() {
    const FaxCode *modes = faxModeCodes();
    std::int64_t a0 = -1;
    bool black = false;
    std::size_t j = 0;
    while (a0 < columns_) {
        // b1: the first change on the row above right of a0 to the colour opposite a0's;
        // an earlier one may qualify after a step back, so the search backs up first.
        // Changes to black sit at even indices, changes to white at odd ones.
        j = j >= 2 ? j - 2 : 0;
        j += (j & 1) != (black ? 1u : 0u);
        while (reference_[j] <= a0) {
            j += 2;
        }
        const std::int64_t b1 = reference_[j], b2 = reference_[j + 1];
        FaxCode code = modes[bits_.peek(kFaxModeBits)];
        bits_.skip(code.bits);
        if (code.bits == 0) {
            return where("holds a bad code");
        }
        if (code.value == kFaxPass) {
            a0 = b2;
        } else if (code.value == kFaxHorizontal) {
            std::int64_t start = a0 < 0 ? 0 : a0;
            std::int64_t first = run(black), second = first < 0 ? -1 : run(!black);
            if (second < 0) {
                return where("holds a bad code");
            }
            current_.push_back(start + first);
            current_.push_back(start + first + second);
            a0 = start + first + second;
        } else if (code.value >= -3 && code.value <= 3) {
            std::int64_t a1 = b1 + code.value;
            if (a1 < 0 || (a0 >= 0 && a1 <= a0)) {
                // An encoder may code a colour change on a0 itself (an empty run). libtiff
                // takes it as such; PDF readers lose their place in the row from there.
                return where(a1 == a0 ? "has an empty run at column " + std::to_string(a1)
                                      : "steps back to column " + std::to_string(a1));
            }
            current_.push_back(a1);
            a0 = a1;
            black = !black;
        } else {
            return where("holds a bad code");
        }
        if (a0 > columns_) {
            return where("runs to column " + std::to_string(a0) + " of " +
                         std::to_string(columns_));
        }
    }
    return "";
}

std::string FaxWalker::walk() {
    for (row_ = 0; row_ < layout_.rows; ++row_) {
        current_.clear();
        bool twoDimensional = layout_.k < 0;
        if (layout_.k >= 0) {
            // Group 3 rows may each start with an end-of-line code (which fill bits may pad);
            // in 2-D coding one bit after it tells how the row is coded.
            if (bits_.endOfLine()) {
                if (layout_.k > 0) {
                    twoDimensional = bits_.peek(1) == 0;
                    bits_.skip(1);
                }
            } else if (layout_.k > 0) {
                return where("lacks the end-of-line code that 2-D Group 3 rows need");
            }
        }
        std::string problem = twoDimensional ? twoDimensionalRow() : oneDimensionalRow();
        if (!problem.empty()) {
            return problem;
        }
        if (bits_.exhausted()) {
            return "the data ends in row " + std::to_string(row_ + 1) + " of " +
                   std::to_string(layout_.rows);
        }
        reference_.swap(current_);
        reference_.insert(reference_.end(), 3, columns_);
    }
    return "";
}

} // namespace

std::string ccittProblem(const unsigned char *data, std::size_t size, const FaxLayout &layout) {
    return FaxWalker(data, size, layout).walk();
}

} // namespace pdfw
