// The one failure text recognition raises: a language that cannot be used, an engine module
// that cannot be loaded, a page that cannot be recognised. what() is a sentence for a log;
// callers that word it themselves use the kind and its fields.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace ocr {

class OcrError : public std::runtime_error {
public:
    enum class Kind {
        LanguageNames,   // subject: the list, which is not names joined by '+'
        LanguageMissing, // subject: the language; detail: the Debian package that installs it
        Module, // subject: the engine module's path; detail: what is wrong with it ("cannot be
                // loaded: ...")
        Failed, // detail: why the engine could not recognise a page or start
    };

    // A page or an engine that failed, in the engine's words.
    explicit OcrError(const std::string &message) : OcrError(Kind::Failed, "", message, message) {}

    OcrError(Kind kind, std::string subject, std::string detail, const std::string &message)
        : std::runtime_error(message), kind_(kind), subject_(std::move(subject)),
          detail_(std::move(detail)) {}

    Kind kind() const { return kind_; }
    const std::string &subject() const { return subject_; }
    const std::string &detail() const { return detail_; }

private:
    Kind kind_;
    std::string subject_;
    std::string detail_;
};

} // namespace ocr
