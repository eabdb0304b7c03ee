// Grey and colour pages as PNG through libpng, 8 or 16 bits as the scanner sends them, with the
// resolution in a pHYs chunk.
#pragma once

#include <cstdio>
#include <png.h>

#include "scan/PageEncoder.h"

namespace folvane::scan {

class PngPageWriter : public PageEncoder {
public:
    PngPageWriter(const FrameLayout &layout, uint32_t height, Resolution resolution, int fd);
    ~PngPageWriter() override;
    PngPageWriter(const PngPageWriter &) = delete;
    PngPageWriter &operator=(const PngPageWriter &) = delete;

    void writeRow(const uint8_t *row) override;
    void finish() override;

private:
    // Each libpng call sits in one of these: setjmp frames holding nothing with a destructor.
    bool begin(const FrameLayout &layout, uint32_t height, Resolution resolution);
    bool passRow(const uint8_t *row);
    bool end();
    [[noreturn]] void fail(const char *what);
    void release();

    static void onError(png_structp png, png_const_charp message);
    static void onWarning(png_structp, png_const_charp) {}

    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    FILE *file_ = nullptr;
    char message_[256] = "";
};

} // namespace folvane::scan
