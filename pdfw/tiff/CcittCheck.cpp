#include "pdfw/tiff/CcittCheck.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "pdfw/tiff/CcittCodes.h"

namespace folvane::pdfw {

namespace {

// The data, copied with zero padding so that reading it never checks bounds: a code read past
// the end finds only zero bits, which no mode or run code is, so the walk stops within a few
// bytes of padding.
class PaddedData {
public:
    PaddedData(const unsigned char *data, std::size_t size) : size_(size) {
        bytes_.resize(size + kPadding, 0);
        if (size > 0) {
            std::memcpy(bytes_.data(), data, size);
        }
    }
    const unsigned char *begin() const { return bytes_.data(); }
    // The last place a refill may read eight bytes from.
    const unsigned char *lastWord() const { return bytes_.data() + size_ + kPadding - 8; }
    std::uint64_t bits() const { return std::uint64_t{size_} * 8; }

private:
    static constexpr std::size_t kPadding = 32;
    std::vector<unsigned char> bytes_;
    std::size_t size_;
};

// A position in the data, most significant bit first, with the next 32 to 63 bits in a window.
// Small and trivially copied: the row walks keep it in registers.
struct BitCursor {
    const unsigned char *next; // the first byte not yet in the window
    const unsigned char *lastWord;
    std::uint64_t window = 0;
    int held = 0;

    explicit BitCursor(const PaddedData &data) : next(data.begin()), lastWord(data.lastWord()) {
        refill();
    }
    std::uint32_t peek(int n) const { return static_cast<std::uint32_t>(window >> (64 - n)); }
    void skip(int n) {
        window <<= n;
        held -= n;
        if (held < 32) {
            refill();
        }
    }
    // Tops the window up to 56..63 bits from the next whole bytes.
    void refill() {
        std::uint64_t word = 0;
        if (next <= lastWord) { // past it the walk has failed already: only zeros follow
            std::memcpy(&word, next, 8);
            if constexpr (std::endian::native == std::endian::little) {
                word = __builtin_bswap64(word);
            }
        }
        window |= word >> held;
        next += static_cast<unsigned>(63 - held) >> 3;
        held |= 56;
    }
    std::uint64_t used(const PaddedData &data) const {
        return static_cast<std::uint64_t>(next - data.begin()) * 8 -
               static_cast<std::uint64_t>(held);
    }
};

// One run: make-up codes and a terminating code from `table`. -1 on a bad code.
inline std::int64_t readRun(BitCursor &bits, const FaxCode *table) {
    std::int64_t length = 0;
    for (;;) {
        FaxCode code = table[bits.peek(kFaxRunBits)];
        if (code.bits == 0 || code.value == kFaxEol) {
            return -1;
        }
        bits.skip(code.bits);
        length += code.value;
        if (code.value < 64) {
            return length;
        }
    }
}

// The changing elements of one row, in order, between sentinels: one at the front that is left
// of every column, and three at the right edge, so that the search for b1 and b2 never runs off
// either end. The walk stops before storing a change past the edge, and refuses rows wider than
// kMaxColumns, so 32 bits hold every change.
class Changes {
public:
    explicit Changes(std::size_t room) : at_(room + kSentinels + 1) { at_[0] = -1; }
    // The changes start at index 1: changes to black have odd indices, changes to white even.
    std::int32_t *data() { return at_.data(); }
    const std::int32_t *data() const { return at_.data(); }
    // The last index a change may be stored at before the sentinels.
    std::size_t last() const { return at_.size() - kSentinels - 1; }
    // One past the last place a change may be stored.
    std::int32_t *storeEnd() { return at_.data() + last() + 1; }
    void grow() { at_.resize(at_.size() * 2); }
    void close(std::size_t count, std::int32_t columns) {
        std::fill_n(at_.data() + 1 + count, kSentinels, columns);
    }

private:
    static constexpr std::size_t kSentinels = 3;
    std::vector<std::int32_t> at_;
};

// Fax pages are a few thousand columns wide; the limit keeps every column in 32 bits.
constexpr std::int64_t kMaxColumns = std::int64_t{1} << 30;

// What went wrong in a row, told apart from the row's walk so that the walk stays small.
struct RowFault {
    enum Kind { kNone, kBadCode, kEmptyRun, kStepBack, kPastTheEdge } kind = kNone;
    std::int64_t column = 0;
};

class FaxWalker {
public:
    FaxWalker(const unsigned char *data, std::size_t size, const FaxLayout &layout)
        : data_(data, size), bits_(data_), layout_(layout),
          columns_(static_cast<std::int32_t>(std::min<std::int64_t>(layout.columns, kMaxColumns))),
          white_(faxWhiteCodes()), black_(faxBlackCodes()), pairs_(faxModePairs()),
          // Room for the changes of a busy row; more grow as needed.
          reference_(std::min<std::size_t>(layout.columns, 1u << 16) + 2),
          current_(std::min<std::size_t>(layout.columns, 1u << 16) + 2) {
        reference_.close(0, columns_); // an all-white row before the first
    }

    std::string walk();

private:
    RowFault oneDimensionalRow();
    // Out of line: inlined into walk(), it competes for registers with everything there and
    // the compiler keeps its position and cursor in memory, a third slower.
    [[gnu::noinline]] RowFault twoDimensionalRow();
    // Horizontal mode: a run in a0's colour (`black`) and one in the other from a0, stored at
    // `out`. False, with the fault, for a bad code or runs past the edge.
    inline bool horizontal(BitCursor &bits, bool black, std::int64_t &a0, std::int32_t *&out,
                           RowFault &fault) const;
    // Makes room for more changes in current_; where `out` points to now.
    std::int32_t *growCurrent(std::int32_t *out);
    bool endOfLine();
    std::string describe(const RowFault &fault) const;

    PaddedData data_;
    BitCursor bits_;
    FaxLayout layout_;
    std::int32_t columns_;
    const FaxCode *white_, *black_;
    const FaxModePair *pairs_;
    std::size_t count_ = 0; // changes in current_
    Changes reference_;     // the row above
    Changes current_;
};

RowFault FaxWalker::oneDimensionalRow() {
    std::int64_t a0 = 0;
    bool black = false;
    while (a0 < columns_) {
        std::int64_t length = readRun(bits_, black ? black_ : white_);
        if (length < 0) {
            return {RowFault::kBadCode};
        }
        a0 += length;
        if (a0 > columns_) {
            return {RowFault::kPastTheEdge, a0};
        }
        if (count_ == current_.last()) {
            current_.grow();
        }
        current_.data()[++count_] = static_cast<std::int32_t>(a0);
        black = !black;
    }
    return {};
}

// Most of a page's time goes here, so the cursor, the position and the output live in locals
// the compiler can keep in registers, handed back at the end.
RowFault FaxWalker::twoDimensionalRow() {
    BitCursor bits = bits_;
    const FaxModePair *pairs = pairs_;
    const std::int32_t *above = reference_.data();
    std::int32_t *out = current_.data() + 1, *end = current_.storeEnd();
    const std::int64_t columns = columns_;
    std::int64_t a0 = -1; // left of the first column
    // b1's index on the row above: the first change right of a0 to the colour opposite a0's.
    // Its parity tells a0's colour (odd: white), and every change of that parity left of it
    // lies at or left of a0, so the search only ever moves right.
    std::size_t j = 1;
    RowFault fault;
    const auto findB1 = [&] {
        while (above[j] <= a0) {
            j += 2;
        }
    };
    // A vertical code: a change at b1 + offset, which must lie right of a0 and inside the row.
    const auto vertical = [&](int offset) {
        std::int64_t a1 = above[j] + offset;
        if (a1 <= a0 || a1 > columns) {
            // An encoder may code a colour change on a0 itself (an empty run). libtiff takes
            // it as such; PDF readers lose their place in the row from there.
            fault = {a1 == a0  ? RowFault::kEmptyRun
                     : a1 < a0 ? RowFault::kStepBack
                               : RowFault::kPastTheEdge,
                     a1};
            return false;
        }
        *out++ = static_cast<std::int32_t>(a1);
        a0 = a1;
        j -= 1; // the colour changes; b1 may now lie just left of the old one
        return true;
    };
    while (a0 < columns) {
        if (end - out < 2) {
            out = growCurrent(out);
            end = current_.storeEnd();
        }
        findB1();
        // Any ten bits start with a mode code, so the lookup always finds one.
        const FaxModePair pair = pairs[bits.peek(kFaxPairBits)];
        if (static_cast<unsigned>(pair.first + 3) <= 6) { // one vertical code, or two
            if (!vertical(pair.first)) {
                break;
            }
            if (pair.bothBits == 0 || a0 == columns) {
                bits.skip(pair.firstBits);
                continue;
            }
            findB1();
            if (!vertical(pair.second)) {
                break;
            }
            bits.skip(pair.bothBits);
            continue;
        }
        bits.skip(pair.firstBits);
        if (pair.first == kFaxPass) {
            a0 = above[j + 1];
            j += 2;
        } else if (pair.first == kFaxHorizontal) {
            if (!horizontal(bits, (j & 1) == 0, a0, out, fault)) {
                break;
            }
        } else {
            fault = {RowFault::kBadCode};
            break;
        }
    }
    bits_ = bits;
    count_ = static_cast<std::size_t>(out - (current_.data() + 1));
    return fault;
}

bool FaxWalker::horizontal(BitCursor &bits, bool black, std::int64_t &a0, std::int32_t *&out,
                           RowFault &fault) const {
    std::int64_t start = a0 < 0 ? 0 : a0;
    std::int64_t first = readRun(bits, black ? black_ : white_);
    std::int64_t second = first < 0 ? -1 : readRun(bits, black ? white_ : black_);
    if (second < 0) {
        fault = {RowFault::kBadCode};
        return false;
    }
    a0 = start + first + second;
    if (a0 > columns_) {
        fault = {RowFault::kPastTheEdge, a0};
        return false;
    }
    *out++ = static_cast<std::int32_t>(start + first);
    *out++ = static_cast<std::int32_t>(a0);
    return true;
}

std::int32_t *FaxWalker::growCurrent(std::int32_t *out) {
    std::size_t count = static_cast<std::size_t>(out - current_.data());
    current_.grow();
    return current_.data() + count;
}

std::string FaxWalker::describe(const RowFault &fault) const {
    switch (fault.kind) {
    case RowFault::kNone:
        return "";
    case RowFault::kBadCode:
        return "holds a bad code";
    case RowFault::kEmptyRun:
        return "has an empty run at column " + std::to_string(fault.column);
    case RowFault::kStepBack:
        return "steps back to column " + std::to_string(fault.column);
    case RowFault::kPastTheEdge:
        return "runs to column " + std::to_string(fault.column) + " of " + std::to_string(columns_);
    }
    return "";
}

// Skips zero bits up to and through an end-of-line code; false when none comes next.
bool FaxWalker::endOfLine() {
    BitCursor start = bits_;
    int zeros = 0;
    while (bits_.peek(1) == 0 && bits_.used(data_) <= data_.bits()) {
        bits_.skip(1);
        ++zeros;
    }
    if (zeros < 11 || bits_.used(data_) > data_.bits()) {
        bits_ = start;
        return false;
    }
    bits_.skip(1);
    return true;
}

std::string FaxWalker::walk() {
    if (layout_.columns >= kMaxColumns) {
        return "the page is " + std::to_string(layout_.columns) +
               " columns wide, more than a fax page";
    }
    std::uint32_t row = 0;
    auto where = [&row] { return "row " + std::to_string(row + 1) + " "; };
    for (; row < layout_.rows; ++row) {
        count_ = 0;
        bool twoDimensional = layout_.k < 0;
        if (layout_.k >= 0) {
            // Group 3 rows may each start with an end-of-line code (which fill bits may pad);
            // in 2-D coding one bit after it tells how the row is coded.
            if (endOfLine()) {
                if (layout_.k > 0) {
                    twoDimensional = bits_.peek(1) == 0;
                    bits_.skip(1);
                }
            } else if (layout_.k > 0) {
                return where() + "lacks the end-of-line code that 2-D Group 3 rows need";
            }
        }
        RowFault fault = twoDimensional ? twoDimensionalRow() : oneDimensionalRow();
        if (fault.kind != RowFault::kNone) {
            return where() + describe(fault);
        }
        if (bits_.used(data_) > data_.bits()) {
            return "the data ends in row " + std::to_string(row + 1) + " of " +
                   std::to_string(layout_.rows);
        }
        current_.close(count_, columns_);
        std::swap(reference_, current_);
    }
    return "";
}

} // namespace

std::string ccittProblem(const unsigned char *data, std::size_t size, const FaxLayout &layout) {
    return FaxWalker(data, size, layout).walk();
}

} // namespace folvane::pdfw
