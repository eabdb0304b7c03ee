// Numbered PDF objects written in order to the output, the cross-reference table and the
// trailer. Objects are written as soon as they are finished; only their offsets are kept.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdfw/output/OutputFile.h"

namespace folvane::pdfw {

// A PDF number for `value`: the shortest decimal that reads back as the same float, never
// in exponent form, "0" for negative zero.
std::string pdfNumber(float value);

class ObjectWriter {
public:
    explicit ObjectWriter(OutputFile &out) : out_(out) {}

    // "%PDF-<version>" and a comment line of high bytes marking the file as binary.
    void writeHeader(std::string_view version);
    // A new object number; its object must be written before finish().
    int reserve();
    // The number the next reserve() gives.
    int nextNumber() const { return static_cast<int>(offsets_.size()); }
    // Whether `number` was reserved and its object is not written yet.
    bool awaits(int number) const {
        return number > 0 && static_cast<std::size_t>(number) < written_.size() &&
               !written_[static_cast<std::size_t>(number)];
    }
    void beginObject(int number);
    void endObject();
    // A complete stream object: `dictionary` holds the entries other than /Length.
    void writeStream(int number, std::string_view dictionary, const void *data, std::size_t size);
    // A stream object whose `size` bytes of data the caller writes between the two calls.
    void beginStream(int number, std::string_view dictionary, std::uint64_t size);
    void endStream();
    // Cross-reference table and trailer.
    void finish(int root, int info, std::string_view id);

    OutputFile &out() { return out_; }

private:
    OutputFile &out_;
    std::vector<std::uint64_t> offsets_{0};
    std::vector<bool> written_{true};
};

} // namespace folvane::pdfw
