// Small but complete ICC profiles for files that carry one.
#pragma once

#include <string>

#include "tests/support/Bytes.h"

namespace support {

// A version 2 display profile that colour-managing readers accept: grey with a gamma 2.2 curve
// (components 1) or RGB with the sRGB primaries and gamma 2.2 (components 3). `name` is its
// description. Throws std::invalid_argument for other component counts.
Bytes IccProfile(int components, const std::string &name = "Folvane test profile");

} // namespace support
