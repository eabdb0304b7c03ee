#include "pdfw/core/TemporaryNames.h"

#include <unistd.h>

namespace folvane::pdfw {

namespace {

constexpr const char *kMarker = ".pdfw-";
constexpr std::size_t kRandomChars = 6;

} // namespace

std::string temporaryPrefix(const std::string &base) {
    return "." + base + kMarker + std::to_string(::getpid()) + "-";
}

pid_t temporaryOwner(const std::string &name) {
    std::size_t marker = name.rfind(kMarker);
    if (name.empty() || name[0] != '.' || marker == std::string::npos) {
        return 0;
    }
    std::size_t digits = marker + std::char_traits<char>::length(kMarker);
    std::size_t dash = name.find('-', digits);
    if (dash == std::string::npos || dash == digits || dash - digits > 9 ||
        name.size() != dash + 1 + kRandomChars) {
        return 0;
    }
    pid_t pid = 0;
    for (std::size_t i = digits; i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return 0;
        }
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

} // namespace folvane::pdfw
