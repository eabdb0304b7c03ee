// The peak memory of one piece of work, measured in a child process of its own (fork). The
// child first hands its free heap back to the system and resets the kernel's record of its
// peak (clear_refs), so that memory the parent once used and freed neither hides nor inflates
// the work's own; then it runs the work and reports how far getrusage's ru_maxrss rose.
// Beside it, the resident size of this process now, for programs that report it before and after.
#pragma once

#include <functional>
#include <string>

namespace support {

struct PeakResult {
    bool finished = false; // the child ran the work and reported back
    long riseKiB = 0;      // how far the peak resident size rose while the work ran
    std::string output;    // what the work returned
};

// Runs work in a child process; its return value comes back as output.
PeakResult MeasurePeak(const std::function<std::string()> &work);

// The resident size of this process now (/proc/self/statm), or 0 when it cannot be read.
long ResidentKiB();

} // namespace support
