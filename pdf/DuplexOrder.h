// The order of a two-sided stack fed twice through a one-sided feeder: the fronts come first,
// 1..n, then the backs, turned over with the stack, n..1. Reading order pairs each front with
// its back: front 1, back 1, front 2, back 2, ... The window's list command, its scan of both
// sides and folvane-pdf all reorder by this one rule.
#pragma once

#include <cstddef>
#include <vector>

namespace folvane {

// For `count` pages in feeder order, the feeder position of each page in reading order (so
// reading page i is feeder page result[i]); empty for an odd count, whose pages cannot pair.
inline std::vector<std::size_t> duplexReadingOrder(std::size_t count) {
    std::vector<std::size_t> order;
    if (count % 2 != 0) {
        return order;
    }
    order.reserve(count);
    for (std::size_t front = 0; front < count / 2; ++front) {
        order.push_back(front);
        order.push_back(count - 1 - front);
    }
    return order;
}

} // namespace folvane
