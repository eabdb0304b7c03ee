// Feeds the input to the PDF page reader as a document: opens it, reads every page's frame and
// copies the first pages' objects into a sink that only counts them, as the page loop would
// into the engine. The input file is removed after each run.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unistd.h>

#include "fuzz/FuzzInput.h"
#include "pdfdoc/PdfPages.h"

namespace {

// Receives copied objects and keeps only how many bytes came.
class CountingSink : public folvane::pdfdoc::ObjectSink {
public:
    int reserveObject() override { return ++objects_; }
    void writeObject(int, std::string_view body) override { bytes_ += body.size(); }
    void writeStream(int, const std::string &dictionary, std::string_view data) override {
        bytes_ += dictionary.size() + data.size();
    }

private:
    int objects_ = 0;
    std::size_t bytes_ = 0;
};

// Enough pages to reach shared resources and annotations without making a run slow.
constexpr int kPagesCopied = 8;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string input = fuzz::WriteTempFile(data, size, ".pdf");
    try {
        folvane::pdfdoc::PdfPages pages(input, "");
        CountingSink sink;
        for (int page = 1; page <= pages.pageCount(); ++page) {
            pages.frame(page);
            if (page <= kPagesCopied) {
                pages.copyPage(page, sink.reserveObject(), sink);
            }
        }
    } catch (const folvane::pdfdoc::PdfError &) {
    }
    ::unlink(input.c_str());
    return 0;
}
