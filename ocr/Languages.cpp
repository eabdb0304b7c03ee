#include "ocr/Languages.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "ocr/OcrError.h"

namespace folvane::ocr {

namespace {

// Names are file stems inside the data folder: letters, digits and '_' only, so that no name
// reaches outside it.
bool wellFormed(const std::string &name) {
    if (name.empty() || name.size() > 64) {
        return false;
    }
    for (unsigned char c : name) {
        if (!std::isalnum(c) && c != '_') {
            return false;
        }
    }
    return true;
}

} // namespace

std::string dataFolder() {
    if (const char *prefix = std::getenv("TESSDATA_PREFIX"); prefix && *prefix) {
        return prefix;
    }
    return "/usr/share/tesseract-ocr/5/tessdata";
}

std::string debianPackage(const std::string &language) {
    std::string package = "tesseract-ocr-";
    for (unsigned char c : language) {
        package += c == '_' ? '-' : static_cast<char>(std::tolower(c));
    }
    return package;
}

std::vector<std::string> checkLanguages(const std::string &languages) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (true) {
        std::size_t end = languages.find('+', start);
        std::string name = languages.substr(start, end - start);
        if (!wellFormed(name)) {
            throw OcrError({Failure::Kind::LanguageNames, languages});
        }
        names.push_back(name);
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    std::string folder = dataFolder();
    for (const std::string &name : names) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(folder + "/" + name + ".traineddata", error)) {
            throw OcrError({Failure::Kind::LanguageMissing, name, debianPackage(name)});
        }
    }
    return names;
}

} // namespace folvane::ocr
