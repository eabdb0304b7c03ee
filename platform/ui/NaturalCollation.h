#pragma once

#include <string_view>

#include "platform/ui/FileNameCollation.h"

// File names as people read them, without a locale: runs of ASCII digits compare by their numeric
// value (page-2 before page-10, 扫描2 before 扫描10; leading zeros do not count), ASCII letters
// without regard to case (big.jpg before UPPER.JPG), every other byte as an unsigned byte, so
// names in any script or encoding keep one order. The collation of the headless toolkit, and the
// window's where the user's locale has no collation of its own (the C locale).
class NaturalCollation : public FileNameCollation {
public:
    int Compare(std::string_view a, std::string_view b) const override;
};
