#pragma once

#include <string_view>

// Compares two file names as people read them: runs of ASCII digits compare by their numeric
// value (page-2 before page-10, 扫描2 before 扫描10; leading zeros do not count), everything else
// byte by byte as unsigned bytes, case-sensitive. Names that compare equal that way (page-01 and
// page-1) fall back to plain byte order. Negative, zero or positive like strcmp.
int CompareNatural(std::string_view a, std::string_view b);
