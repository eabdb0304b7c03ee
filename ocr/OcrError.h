// The one failure text recognition raises: a language that cannot be used, a page that cannot
// be recognised. what() is a sentence for the user.
#pragma once

#include <stdexcept>
#include <string>

namespace ocr {

class OcrError : public std::runtime_error {
public:
    explicit OcrError(const std::string &message) : std::runtime_error(message) {}
};

} // namespace ocr
