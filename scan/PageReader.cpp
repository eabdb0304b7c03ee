#include "scan/PageReader.h"

#include <cstring>
#include <memory>
#include <optional>

#include "scan/FrameLayout.h"
#include "scan/PageFile.h"
#include "scan/RowSpool.h"
#include "scan/SaneLibrary.h"

namespace folvane::scan {

namespace {

constexpr std::size_t kReadSize = 32 * 1024;

class PageReader {
public:
    explicit PageReader(const PageRequest &request) : r_(request), buffers_(*request.buffers) {}
    std::optional<ScannedPage> read();

private:
    void start();
    bool readLines();
    void takeBytes(const uint8_t *bytes, std::size_t size);
    void takeLine();
    ScannedPage finish();
    void progress() const;
    [[noreturn]] void fail(ScanErrorKind kind, const std::string &detail) const;
    [[noreturn]] void fail(SANE_Status status) const;
    [[noreturn]] void cannotWrite(const PageWriteError &error) const;

    const PageRequest &r_;
    PageBuffers &buffers_;
    FrameLayout layout_;
    std::optional<PageFile> file_;
    std::unique_ptr<PageEncoder> encoder_;
    std::optional<RowSpool> spool_;
    std::size_t lineFill_ = 0;
    int64_t lines_ = 0;
    int64_t bytesRead_ = 0;
};

void PageReader::fail(ScanErrorKind kind, const std::string &detail) const {
    ScanError error;
    error.kind = kind;
    error.device = r_.device;
    error.page = r_.page;
    error.detail = detail;
    throw ScanFailure(error);
}

void PageReader::fail(SANE_Status status) const {
    throw ScanFailure(statusError(status, r_.device, r_.page));
}

void PageReader::cannotWrite(const PageWriteError &failure) const {
    ScanError error;
    error.kind = ScanErrorKind::WriteFailed;
    error.device = r_.device;
    error.page = r_.page;
    error.path = file_ ? file_->intendedPath() : r_.folder->path();
    error.detail = failure.what();
    throw ScanFailure(error);
}

void PageReader::progress() const {
    if (r_.events->onProgress) {
        r_.events->onProgress(PageProgress{r_.page, bytesRead_, layout_.expectedBytes()});
    }
}

// The page's shape, its file, and where its rows go: straight into the file when its height
// is known, else into a spool until it is.
void PageReader::start() {
    SANE_Parameters parameters{};
    SANE_Status status = sane().getParameters(r_.handle, &parameters);
    if (status != SANE_STATUS_GOOD) {
        fail(status);
    }
    std::string problem;
    if (!layoutOf(parameters, layout_, problem)) {
        fail(ScanErrorKind::Other, problem);
    }
    buffers_.line.resize(layout_.lineBytes);
    buffers_.row.resize(layout_.rowBytes);
    buffers_.read.resize(kReadSize);
    try {
        file_.emplace(*r_.folder, layout_.extension());
        if (layout_.height > 0) {
            encoder_ = makeEncoder(layout_, static_cast<uint32_t>(layout_.height), r_.resolution,
                                   file_->descriptor());
        } else {
            spool_.emplace(r_.folder->path(), layout_.rowBytes);
        }
    } catch (const PageWriteError &error) {
        cannotWrite(error);
    }
}

void PageReader::takeLine() {
    if (layout_.height < 0 && lines_ == kMaxRows) {
        fail(ScanErrorKind::Other, "the page goes on past " + std::to_string(kMaxRows) + " lines");
    }
    // Lines past the announced height have no place in the file.
    if (layout_.height < 0 || lines_ < layout_.height) {
        convertLine(layout_, buffers_.line.data(), buffers_.row.data());
        if (encoder_) {
            encoder_->writeRow(buffers_.row.data());
        } else {
            spool_->append(buffers_.row.data());
        }
    }
    ++lines_;
}

void PageReader::takeBytes(const uint8_t *bytes, std::size_t size) {
    while (size > 0) {
        const std::size_t take = std::min(size, layout_.lineBytes - lineFill_);
        std::memcpy(buffers_.line.data() + lineFill_, bytes, take);
        lineFill_ += take;
        bytes += take;
        size -= take;
        if (lineFill_ == layout_.lineBytes) {
            takeLine();
            lineFill_ = 0;
        }
    }
}

// False when the driver says, before the page's first byte, that there is no page.
bool PageReader::readLines() {
    for (;;) {
        SANE_Int got = 0;
        SANE_Status status = sane().read(r_.handle, buffers_.read.data(),
                                         static_cast<SANE_Int>(buffers_.read.size()), &got);
        // A cancelled driver may still answer EOF or hand over data: the page is given up.
        if (r_.cancelled->load()) {
            fail(ScanErrorKind::Cancelled, "");
        }
        if (status == SANE_STATUS_EOF) {
            return true;
        }
        // Some feeders find themselves empty only when they try to pull the next sheet.
        if (status == SANE_STATUS_NO_DOCS && bytesRead_ == 0) {
            return false;
        }
        if (status != SANE_STATUS_GOOD) {
            fail(status);
        }
        if (got < 0 || static_cast<std::size_t>(got) > buffers_.read.size()) {
            fail(ScanErrorKind::Other, "the driver reports a read of " + std::to_string(got) +
                                           " bytes into a buffer of " +
                                           std::to_string(buffers_.read.size()));
        }
        try {
            takeBytes(buffers_.read.data(), static_cast<std::size_t>(got));
        } catch (const PageWriteError &error) {
            cannotWrite(error);
        }
        bytesRead_ += got;
        progress();
    }
}

ScannedPage PageReader::finish() {
    if (lines_ == 0) {
        fail(ScanErrorKind::Other, "the scanner sent an empty page");
    }
    if (spool_) {
        const int64_t rows = spool_->rows();
        layout_.height = rows;
        encoder_ =
            makeEncoder(layout_, static_cast<uint32_t>(rows), r_.resolution, file_->descriptor());
        spool_->replayInto(*encoder_, buffers_.row.data());
    }
    // A page that ends before its announced height is made up to it with white, as the paper
    // beyond the page would scan.
    whiteRow(layout_, buffers_.row.data());
    for (int64_t row = lines_; row < layout_.height; ++row) {
        encoder_->writeRow(buffers_.row.data());
    }
    encoder_->finish();
    ScannedPage page;
    page.number = r_.page;
    page.path = file_->commit();
    page.width = layout_.width;
    page.height = static_cast<uint32_t>(layout_.height);
    page.xDpi = r_.resolution.x;
    page.yDpi = r_.resolution.y;
    return page;
}

std::optional<ScannedPage> PageReader::read() {
    if (r_.events->onPageStarted) {
        r_.events->onPageStarted(r_.page);
    }
    start();
    progress();
    if (!readLines()) {
        return std::nullopt;
    }
    try {
        return finish();
    } catch (const PageWriteError &error) {
        cannotWrite(error);
    }
}

} // namespace

std::optional<ScannedPage> readPage(const PageRequest &request) {
    return PageReader(request).read();
}

} // namespace folvane::scan
