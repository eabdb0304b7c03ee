// The document's properties, as the caller sets them: UTF-8 text, checked by the rule of
// base/DocumentText.h before they are kept.
#pragma once

#include <string>

namespace folvane::pdfw {

struct DocumentInfo {
    std::string title;
    std::string author;
    std::string subject;
    std::string keywords;

    bool empty() const {
        return title.empty() && author.empty() && subject.empty() && keywords.empty();
    }
};

// The property named `key` ("title", "author", "subject" or "keywords") of `info`; null for
// any other key.
std::string *documentInfoField(DocumentInfo &info, const std::string &key);

// Sets the property `field` to `value`; raises PDFW_VALUE_ERROR naming `key` and the fault
// when the text is refused.
void setDocumentInfoField(std::string &field, const std::string &key, const std::string &value);

// The characters of a property that was set (valid UTF-8).
std::u32string characters(const std::string &text);

} // namespace folvane::pdfw
