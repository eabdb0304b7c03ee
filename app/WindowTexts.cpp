#include "app/WindowTexts.h"

namespace folvane::app::texts {

std::string window(const char *pattern, const std::vector<std::string> &values) {
    return fill(Tr("Window", pattern), values);
}

std::string windowCount(const char *pattern, int n, const std::vector<std::string> &values) {
    return fill(Tr("Window", pattern, nullptr, n), values);
}

} // namespace folvane::app::texts
