// Two sheets scanned on both sides through a one-sided feeder, as page files in feeder order:
// the fronts of sheets 1 and 2, then the backs of sheets 2 and 1 (the stack turned over).
#pragma once

#include <string>
#include <vector>

#include "tests/support/Files.h"

inline std::vector<std::string> WriteFeederStack(const support::TempDir &dir,
                                                 const std::string &stem) {
    const std::string samples = std::string(FOLVANE_SOURCE_DIR) + "/res/samples/";
    const std::pair<const char *, const char *> pages[] = {{"-1.jpg", "page-1.jpg"},
                                                           {"-2.jpg", "page-2.jpg"},
                                                           {"-3.tif", "page-3.tif"},
                                                           {"-4.jpg", "page-1.jpg"}};
    std::vector<std::string> paths;
    for (const auto &[suffix, sample] : pages) {
        paths.push_back(dir / (stem + suffix));
        support::WriteFile(paths.back(), support::ReadFile(samples + sample));
    }
    return paths;
}
