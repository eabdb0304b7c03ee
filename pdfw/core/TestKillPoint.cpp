#include "pdfw/core/TestKillPoint.h"

#include <csignal>
#include <cstdlib>
#include <string>

namespace folvane::pdfw {

namespace {

bool named(const char *variable, const char *point) {
    const char *at = std::getenv(variable);
    return at != nullptr && std::string(at) == point;
}

} // namespace

void testKillPoint(const char *point) {
    if (named("FOLVANE_PDFW_KILL_AT", point)) {
        std::raise(SIGKILL);
    }
    if (named("FOLVANE_PDFW_STOP_AT", point)) {
        std::raise(SIGSTOP);
    }
}

void testKillPoint(const char *point, long number) {
    if (std::getenv("FOLVANE_PDFW_KILL_AT") != nullptr ||
        std::getenv("FOLVANE_PDFW_STOP_AT") != nullptr) {
        testKillPoint((std::string(point) + ":" + std::to_string(number)).c_str());
    }
}

} // namespace folvane::pdfw
