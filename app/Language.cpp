#include "app/Language.h"

namespace {

// The language part of a locale name: "zh" of "zh-Hans-CN" and "zh_CN.UTF-8".
std::string languagePart(const std::string &locale) {
    return locale.substr(0, locale.find_first_of("-_.@"));
}

} // namespace

WindowLanguage languageForLocales(const std::vector<std::string> &languages) {
    for (const std::string &locale : languages) {
        const std::string language = languagePart(locale);
        if (language == "zh" || language == "C" || language == "POSIX" || language.empty()) {
            return WindowLanguage::Chinese;
        }
        if (language == "en") {
            return WindowLanguage::English;
        }
    }
    return languages.empty() ? WindowLanguage::Chinese : WindowLanguage::English;
}

std::string catalogueName(WindowLanguage language) {
    return language == WindowLanguage::English ? "folvane_en" : "";
}
