// A page's rows encoded as Group 4 data in memory, with libtiff's encoder.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "group4/Group4Page.h"

namespace folvane::group4 {

// The Group 4 data (most significant bit first, one strip) of `rows`, `size` bytes of
// page.height rows, into `coded`. False with the reason in `error` when libtiff cannot encode
// them or the coded file would exceed `maxBytes`.
bool encodeStrip(const Group4Page &page, const unsigned char *rows, std::size_t size,
                 std::size_t maxBytes, std::vector<unsigned char> &coded, std::string &error);

} // namespace folvane::group4
