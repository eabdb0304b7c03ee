#include "pdfw/core/TestKillPoint.h"

#include <csignal>
#include <cstdlib>
#include <string>

namespace pdfw {

void testKillPoint(const char *point) {
    const char *at = std::getenv("FOLVANE_PDFW_KILL_AT");
    if (at != nullptr && std::string(at) == point) {
        std::raise(SIGKILL);
    }
}

void testKillPoint(const char *point, long number) {
    if (std::getenv("FOLVANE_PDFW_KILL_AT") != nullptr) {
        testKillPoint((std::string(point) + ":" + std::to_string(number)).c_str());
    }
}

} // namespace pdfw
