// The language list of a recognition run ("chi_sim+eng") and where its data lives.
#pragma once

#include <string>
#include <vector>

namespace folvane::ocr {

// The list used when the caller names none: simplified Chinese first, then English.
inline constexpr const char *kDefaultLanguages = "chi_sim+eng";

// The folder holding the *.traineddata files: TESSDATA_PREFIX when set, else Debian's.
std::string dataFolder();

// The Debian package that installs the data of `language` ("chi_sim" -> tesseract-ocr-chi-sim).
std::string debianPackage(const std::string &language);

// Splits `languages` at '+' and checks that every name is well formed and its data installed.
// Raises OcrError naming the first bad or missing language (and, when missing, its package).
std::vector<std::string> checkLanguages(const std::string &languages);

} // namespace folvane::ocr
