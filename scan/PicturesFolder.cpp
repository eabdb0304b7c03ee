// The XDG pictures folder. user-dirs.dirs holds lines like XDG_PICTURES_DIR="$HOME/图片": a
// path in double quotes, either absolute or starting with $HOME, with \" \\ \$ escapes.
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <string>
#include <unistd.h>

#include "scan/PageFolder.h"

namespace folvane::scan {

namespace {

// A config file of this size is not one a user wrote.
constexpr std::size_t kMaxLine = 4096;
constexpr int kMaxLines = 1000;

std::string homeFolder() {
    const char *home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    const passwd *user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
}

// The value of a quoted entry, $HOME expanded and escapes undone; "" when it is not a path.
std::string entryPath(const std::string &quoted, const std::string &home) {
    if (quoted.size() < 2 || quoted.front() != '"') {
        return "";
    }
    std::string value;
    for (std::size_t i = 1; i < quoted.size() && quoted[i] != '"'; ++i) {
        if (quoted[i] == '\\' && i + 1 < quoted.size()) {
            ++i;
        }
        value += quoted[i];
    }
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
        value = home + value.substr(5);
    }
    while (value.size() > 1 && value.back() == '/') {
        value.pop_back();
    }
    return value.empty() || value[0] != '/' ? "" : value;
}

std::string fromUserDirs(const std::string &home) {
    const char *config = std::getenv("XDG_CONFIG_HOME");
    const std::string folder = config != nullptr && config[0] == '/' ? config : home + "/.config";
    std::ifstream file(folder + "/user-dirs.dirs");
    const std::string key = "XDG_PICTURES_DIR=";
    std::string line;
    for (int n = 0; n < kMaxLines && std::getline(file, line); ++n) {
        if (line.size() > kMaxLine) {
            continue;
        }
        const std::size_t start = line.find_first_not_of(" \t");
        if (start != std::string::npos && line.compare(start, key.size(), key) == 0) {
            return entryPath(line.substr(start + key.size()), home);
        }
    }
    return "";
}

} // namespace

std::string picturesFolder() {
    const std::string home = homeFolder();
    const char *fromEnvironment = std::getenv("XDG_PICTURES_DIR");
    if (fromEnvironment != nullptr && fromEnvironment[0] == '/') {
        return fromEnvironment;
    }
    std::string folder = fromUserDirs(home);
    return folder.empty() ? home : folder;
}

std::string defaultSessionParent() {
    return picturesFolder() + "/Folvane";
}

} // namespace folvane::scan
