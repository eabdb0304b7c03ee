#include "cli/Language.h"

#include <clocale>
#include <cstdlib>
#include <libintl.h>
#include <string>
#include <unistd.h>

namespace folvane_pdf {

namespace {

constexpr const char *kDomain = "folvane-pdf";

// The folder of message catalogues: share/locale beside the program's bin folder, in the build
// tree as when installed (FOLVANE_LOCALE_DIR is that path relative to bin).
std::string CatalogueFolder() {
    std::string exe(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", exe.data(), exe.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= exe.size()) {
        return FOLVANE_LOCALE_DIR;
    }
    exe.resize(static_cast<std::size_t>(length));
    return exe.substr(0, exe.rfind('/') + 1) + FOLVANE_LOCALE_DIR;
}

// The locale the environment names for messages, as setlocale reads it.
std::string MessagesLocale() {
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char *value = std::getenv(name); value && *value) {
            return value;
        }
    }
    return "";
}

} // namespace

void FollowUserLanguage() {
    if (!std::setlocale(LC_MESSAGES, "")) {
        // Not installed here: gettext would fall back to C and English. Its language is still
        // the user's, which gettext honours through LANGUAGE in the C.UTF-8 locale.
        std::setlocale(LC_MESSAGES, "C.UTF-8");
        const std::string wanted = MessagesLocale();
        const char *languages = std::getenv("LANGUAGE");
        if (!wanted.empty() && wanted != "C" && wanted != "POSIX" && !(languages && *languages)) {
            ::setenv("LANGUAGE", wanted.c_str(), 1);
        }
    }
    ::bindtextdomain(kDomain, CatalogueFolder().c_str());
    ::bind_textdomain_codeset(kDomain, "UTF-8");
    ::textdomain(kDomain);
}

} // namespace folvane_pdf
