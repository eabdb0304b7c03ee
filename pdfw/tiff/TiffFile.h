// A TIFF page opened with libtiff, its messages kept on the handle (never printed), and the
// tags the engine reads.
// The preview's decoder (image/codecs/CfImageTIF) reads TIFF with libtiff apart from this on
// purpose: it makes a bitmap and never throws, where the engine passes data through and raises
// typed problems.
#pragma once

#include <cstdint>
#include <string>

#include <tiffio.h>

#include "pdfw/core/InputFile.h"

namespace folvane::pdfw {

struct TiffPage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitsPerSample = 1;
    int samplesPerPixel = 1;
    int photometric = -1;
    int compression = COMPRESSION_NONE;
    int planar = PLANARCONFIG_CONTIG;
    int fillOrder = FILLORDER_MSB2LSB;
    int sampleFormat = SAMPLEFORMAT_UINT;
    int inkSet = INKSET_CMYK;
    int orientation = 1;
    std::uint32_t t4Options = 0;
    int extraSamples = 0;   // samples beyond the colour ones
    int firstExtraKind = 0; // EXTRASAMPLE_* of the first of them
    bool tiled = false;
};

class TiffFile {
public:
    // Opens `file` and selects page `page` (1-based). PDFW_SYNTAX_ERROR when libtiff refuses
    // it, PDFW_VALUE_ERROR when the page does not exist.
    TiffFile(const InputFile &file, int page);
    ~TiffFile();
    TiffFile(const TiffFile &) = delete;
    TiffFile &operator=(const TiffFile &) = delete;

    TIFF *handle() { return tiff_; }
    const TiffPage &page() const { return page_; }
    const std::string &path() const { return path_; }
    // PDFW_SYNTAX_ERROR: "<path>: <what> (<libtiff's message>)", the problem's page this one.
    [[noreturn]] void failRead(const std::string &what) const;

    // Forgets the messages so far, so that those of the next step can be told apart.
    void clearMessages() { messages_ = Messages{}; }
    // libtiff's first warning since the handle was opened or the messages cleared ("" if none).
    const char *firstWarning() const { return messages_.warning; }
    const char *firstError() const { return messages_.error; }

    // libtiff's first error and warning messages on this handle ("" if none).
    struct Messages {
        char error[512];
        char warning[512];
    };

private:
    void open(const InputFile &file);
    void readTags();
    void checkOwnStrip(const InputFile &file);
    [[noreturn]] void failPage(const std::string &how) const;

    std::string path_;
    int pageNumber_;
    TIFF *tiff_ = nullptr;
    Messages messages_{};
    TiffPage page_;
};

} // namespace folvane::pdfw
