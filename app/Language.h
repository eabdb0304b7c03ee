// Which language the window speaks. Its texts are written in the original Chinese, which stays
// its language by default; a translation into English is the other.
#pragma once

#include <string>
#include <vector>

enum class WindowLanguage { Chinese, English };

// The language for the user's languages in order of preference, as the locale names them
// ("zh-CN", "en-US", "fr", "C"): the first one the window speaks decides. Chinese in any
// variant, and the bare C or POSIX locale (no language chosen at all), give Chinese; English
// gives English; a language of no catalogue is passed over, and when none is left, English (the
// window's one translation) is the answer.
WindowLanguage languageForLocales(const std::vector<std::string> &languages);

// The name of the window's catalogue for a language ("folvane_en"), "" for Chinese, whose texts
// are shown as written.
std::string catalogueName(WindowLanguage language);
