#include "app/WindowTexts.h"

namespace texts {

std::string Window(const char *pattern, const std::vector<std::string> &values) {
    return fill(Tr("Window", pattern), values);
}

std::string WindowCount(const char *pattern, int n, const std::vector<std::string> &values) {
    return fill(Tr("Window", pattern, nullptr, n), values);
}

} // namespace texts
