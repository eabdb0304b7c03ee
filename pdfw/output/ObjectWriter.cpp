#include "pdfw/output/ObjectWriter.h"

#include <charconv>
#include <cstdio>

#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

namespace {

// Offsets in the cross-reference table have ten digits.
constexpr std::uint64_t kMaxOffset = 9'999'999'999ULL;

} // namespace

std::string pdfNumber(float value) {
    if (value == 0.0f) {
        return "0";
    }
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    if (error != std::errc()) {
        failInternal(PDFW_VALUE_ERROR, "number out of range");
    }
    return std::string(text, end);
}

void ObjectWriter::writeHeader(std::string_view version) {
    out_.write("%PDF-");
    out_.write(version);
    out_.write("\n%\xE2\xE3\xCF\xD3\n");
}

int ObjectWriter::reserve() {
    offsets_.push_back(0);
    written_.push_back(false);
    return static_cast<int>(offsets_.size() - 1);
}

void ObjectWriter::beginObject(int number) {
    std::uint64_t offset = out_.position();
    if (offset > kMaxOffset) {
        fail(PDFW_OVERFLOW_ERROR, problemWith(PDFW_PROBLEM_DOCUMENT_TOO_LARGE, ""));
    }
    offsets_.at(static_cast<std::size_t>(number)) = offset;
    written_.at(static_cast<std::size_t>(number)) = true;
    out_.write(std::to_string(number) + " 0 obj\n");
}

void ObjectWriter::endObject() {
    out_.write("endobj\n");
}

void ObjectWriter::writeStream(int number, std::string_view dictionary, const void *data,
                               std::size_t size) {
    beginStream(number, dictionary, size);
    out_.write(data, size);
    endStream();
}

void ObjectWriter::beginStream(int number, std::string_view dictionary, std::uint64_t size) {
    beginObject(number);
    std::string head = "<<";
    head += dictionary;
    head += "/Length " + std::to_string(size) + ">>\nstream\n";
    out_.write(head);
}

void ObjectWriter::endStream() {
    out_.write("\nendstream\nendobj\n");
}

void ObjectWriter::finish(int root, int info, std::string_view id) {
    std::uint64_t xref = out_.position();
    if (xref > kMaxOffset) {
        fail(PDFW_OVERFLOW_ERROR, problemWith(PDFW_PROBLEM_DOCUMENT_TOO_LARGE, ""));
    }
    std::string table = "xref\n0 " + std::to_string(offsets_.size()) + "\n";
    table += "0000000000 65535 f \n";
    out_.write(table);
    char entry[24];
    for (std::size_t i = 1; i < offsets_.size(); ++i) {
        if (!written_[i]) {
            failInternal(PDFW_RUNTIME_ERROR, "object " + std::to_string(i) + " was never written");
        }
        std::snprintf(entry, sizeof entry, "%010llu 00000 n \n",
                      static_cast<unsigned long long>(offsets_[i]));
        out_.write(entry, 20);
    }
    std::string trailer = "trailer\n<</Size " + std::to_string(offsets_.size()) + "/Root " +
                          std::to_string(root) + " 0 R/Info " + std::to_string(info) + " 0 R/ID[<" +
                          std::string(id) + "><" + std::string(id) + ">]>>\n";
    trailer += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
    out_.write(trailer);
}

} // namespace folvane::pdfw
