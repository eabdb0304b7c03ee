#include "app/ScanTexts.h"

#include "app/WindowTexts.h"

namespace texts {

std::string Scan(const char *pattern, const std::vector<std::string> &values) {
    return fill(Tr("Scan", pattern), values);
}

} // namespace texts
