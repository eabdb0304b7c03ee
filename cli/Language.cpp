#include "cli/Language.h"

#include <clocale>
#include <cstdlib>
#include <libintl.h>
#include <string>
#include <unistd.h>

namespace folvane::cli {

namespace {

constexpr const char *kDomain = "folvane-pdf";

// The folder of message catalogues: share/locale beside the program's bin folder, in the build
// tree as when installed (FOLVANE_LOCALE_DIR is that path relative to bin).
std::string catalogueFolder() {
    std::string exe(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", exe.data(), exe.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= exe.size()) {
        return FOLVANE_LOCALE_DIR;
    }
    exe.resize(static_cast<std::size_t>(length));
    return exe.substr(0, exe.rfind('/') + 1) + FOLVANE_LOCALE_DIR;
}

// The locale the environment names for messages, as setlocale reads it.
std::string messagesLocale() {
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char *value = std::getenv(name); value && *value) {
            return value;
        }
    }
    return "";
}

} // namespace

void followUserLanguage() {
    const bool installed = std::setlocale(LC_MESSAGES, "") != nullptr;
    if (!installed) {
        // gettext would fall back to C and English; in C.UTF-8 it honours LANGUAGE, set below.
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    }
    const std::string wanted = messagesLocale();
    const char *languages = std::getenv("LANGUAGE");
    if (!(languages && *languages) && !wanted.empty() && wanted != "C" && wanted != "POSIX") {
        // The user's language even where its locale is not installed, and for any Chinese the
        // simplified Chinese catalogue when there is none of its own.
        std::string list = wanted;
        if (list.rfind("zh", 0) == 0) {
            list += ":zh_CN";
        }
        if (!installed || list != wanted) {
            ::setenv("LANGUAGE", list.c_str(), 1);
        }
    }
    ::bindtextdomain(kDomain, catalogueFolder().c_str());
    ::bind_textdomain_codeset(kDomain, "UTF-8");
    ::textdomain(kDomain);
}

} // namespace folvane::cli
