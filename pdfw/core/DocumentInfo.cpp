#include "pdfw/core/DocumentInfo.h"

#include "base/DocumentText.h"
#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

std::string *documentInfoField(DocumentInfo &info, const std::string &key) {
    if (key == "title") {
        return &info.title;
    }
    if (key == "author") {
        return &info.author;
    }
    if (key == "subject") {
        return &info.subject;
    }
    return key == "keywords" ? &info.keywords : nullptr;
}

void setDocumentInfoField(std::string &field, const std::string &key, const std::string &value) {
    switch (folvane::documentTextFaultOf(value)) {
    case folvane::DocumentTextFault::InvalidUtf8:
        failCall(PDFW_VALUE_ERROR, "the " + key + " is not valid UTF-8");
    case folvane::DocumentTextFault::ControlCharacter:
        failCall(PDFW_VALUE_ERROR, "the " + key + " holds a control character");
    case folvane::DocumentTextFault::TooLong:
        failCall(PDFW_VALUE_ERROR, "the " + key + " is longer than " +
                                       std::to_string(folvane::kMaxDocumentTextCharacters) +
                                       " characters");
    case folvane::DocumentTextFault::None:
        break;
    }
    field = value;
}

std::u32string characters(const std::string &text) {
    std::u32string out;
    for (std::size_t at = 0; at < text.size();) {
        char32_t code = 0;
        const std::size_t length = folvane::decodeUtf8(text, at, code);
        if (length == 0) {
            failInternal(PDFW_RUNTIME_ERROR, "a document property is not valid UTF-8");
        }
        out.push_back(code);
        at += length;
    }
    return out;
}

} // namespace folvane::pdfw
