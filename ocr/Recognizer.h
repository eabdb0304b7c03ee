// One Tesseract engine with its languages loaded, reused page after page. Loading the data
// costs about as much as recognising a page, so a worker keeps its engine for the whole run.
// An engine is used by one thread at a time; distinct engines run side by side. The first
// Recognizer of a process loads the engine module (ModuleLoader.h).
#pragma once

#include <memory>
#include <string>

#include "ocr/PageImage.h"
#include "ocr/PageText.h"

namespace folvane::ocr {

class ModuleEngine;

class Recognizer {
public:
    // Loads `languages` ("chi_sim+eng"). Raises OcrError when a name is malformed, its data
    // is not installed (naming the Debian package), the engine module cannot be loaded (naming
    // its path and why) or the engine cannot load the data.
    explicit Recognizer(const std::string &languages);
    ~Recognizer();
    Recognizer(const Recognizer &) = delete;
    Recognizer &operator=(const Recognizer &) = delete;

    const std::string &languages() const { return languages_; }

    // The words on `image`, placed on its upright picture. Raises OcrError for a malformed
    // image or when recognition fails.
    PageText recognize(const PageImage &image);

private:
    std::string languages_;
    std::unique_ptr<ModuleEngine> engine_;
};

} // namespace folvane::ocr
