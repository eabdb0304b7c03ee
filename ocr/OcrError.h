// The one failure text recognition raises: a language that cannot be used, an engine module
// that cannot be loaded, a page that cannot be recognised. It is a kind with its fields, which
// each front end words in its own language; what() only names them, for a log.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace folvane::ocr {

struct Failure {
    enum class Kind {
        None,
        LanguageNames,    // subject: the list, which is not names joined by '+'
        LanguageMissing,  // subject: the language; detail: the Debian package installing it
        LanguageData,     // subject: the languages; detail: the data folder they fail to load from
        ModuleCannotLoad, // subject: the engine module's path; detail: the loader's words
        ModuleWrongVersion,  // subject: the path of a file that is no engine module of this version
        ModuleFailedToStart, // subject: the engine module's path
        OutOfMemory,
        Failed, // detail: the engine's own words, or ""; width, height: the page's pixels
    };

    Kind kind = Kind::None;
    std::string subject;
    std::string detail;
    int width = 0; // a page recognition failed on, in pixels; 0 when not on a page
    int height = 0;
};

class OcrError : public std::runtime_error {
public:
    explicit OcrError(Failure failure)
        : std::runtime_error(logText(failure)), failure_(std::move(failure)) {}

    const Failure &failure() const { return failure_; }
    Failure::Kind kind() const { return failure_.kind; }
    const std::string &subject() const { return failure_.subject; }
    const std::string &detail() const { return failure_.detail; }

private:
    static std::string logText(const Failure &failure) {
        return "ocr failure " + std::to_string(static_cast<int>(failure.kind)) + " [" +
               failure.subject + "] [" + failure.detail + "]";
    }

    Failure failure_;
};

} // namespace folvane::ocr
