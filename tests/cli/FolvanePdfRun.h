// folvane-pdf as the command-line tests run it, and the pictures they give it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Process.h"
#include "tests/support/Tiff.h"

namespace cli_test {

inline const std::string kProgram = std::string(FOLVANE_BIN_DIR) + "/folvane-pdf";
inline const std::string kSamples = std::string(FOLVANE_SOURCE_DIR) + "/res/samples";

// Runs folvane-pdf through the shell with `args`, already quoted.
inline support::RunResult RunFolvanePdf(const std::string &args) {
    return support::RunShell(support::Quote(kProgram) + " " + args);
}

// A grey JPEG of that size.
inline void WriteJpeg(const std::string &path, int width, int height) {
    support::WriteFile(path, support::MakeJpeg(support::Pattern(width, height, 1)));
}

// A TIFF with one RGB page of each size.
inline void WriteTiffPages(const std::string &path, const std::vector<std::pair<int, int>> &sizes) {
    std::vector<support::TiffPage> pages;
    for (auto [width, height] : sizes) {
        pages.push_back(support::TiffPageOf(support::Pattern(width, height, 3)));
        pages.back().compression = COMPRESSION_ADOBE_DEFLATE;
        pages.back().rowsPerStrip = 64;
    }
    support::WriteTiff(path, pages);
}

} // namespace cli_test
