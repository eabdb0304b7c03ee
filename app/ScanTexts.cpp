#include "app/ScanTexts.h"

#include "app/WindowTexts.h"

namespace folvane::app::texts {

std::string scan(const char *pattern, const std::vector<std::string> &values) {
    return fill(Tr("Scan", pattern), values);
}

} // namespace folvane::app::texts
