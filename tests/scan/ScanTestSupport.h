// SANE's test driver for the scanning tests: a private configuration that enables it alone (no
// real scanner on the machine is touched), pages read straight through SANE as the reference
// a written file is compared with, and the page files read back through libpng and libtiff.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <sane/sane.h>

#include "tests/support/Files.h"

namespace scan_test {

// A SANE configuration folder: dll.conf naming `drivers` (one a line; "" for none) and a
// test.conf of the test driver's defaults plus `testConf`.
std::unique_ptr<support::TempDir> MakeSaneConfig(const std::string &drivers,
                                                 const std::string &testConf = "");

// Points SANE_CONFIG_DIR at a configuration with the test driver alone, once per process and
// before SANE is first used (SANE reads the variable once). Returns the folder.
const std::string &UseTestDriver();

// The test driver's own option values, by its exact option names and words.
using RawOptions = std::vector<std::pair<std::string, std::string>>;

struct RawPage {
    SANE_Parameters parameters{};
    std::vector<uint8_t> data; // every byte sane_read gave, lines with their padding
};

// Opens `device`, sets `options`, scans one page and closes the device again: the bytes the
// driver sends, with no code of the library under test in between (it only starts SANE).
RawPage ReadRawPage(const std::string &device, const RawOptions &options);

// A page file as read back: rows top first, packed as stored (16-bit PNG samples big-endian,
// bilevel TIFF rows as min-is-white bits).
struct FilePage {
    uint32_t width = 0;
    uint32_t height = 0;
    int depth = 0;
    int channels = 0;
    double xDpi = 0; // pHYs in inches, or the TIFF resolution tags; 0 when absent
    double yDpi = 0;
    uint16_t compression = 0; // TIFF only
    uint16_t photometric = 0; // TIFF only
    std::vector<std::vector<uint8_t>> rows;
};
FilePage ReadPngPage(const std::string &path);
FilePage ReadTiffPage(const std::string &path);

// The rows a file must hold for a raw page: each line's padding dropped, 16-bit samples in
// PNG's big-endian order, the bits past a bilevel row's width cleared, 1-bit colour as 8-bit
// samples.
std::vector<std::vector<uint8_t>> ExpectedRows(const RawPage &raw);

} // namespace scan_test
