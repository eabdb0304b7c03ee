#include "tests/support/PeakMemory.h"

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace support {

namespace {

long MaxRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Sets the peak resident size back to the current one (Linux 4.0 and later).
void ResetPeak() {
    if (FILE *file = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", file);
        std::fclose(file);
    }
}

bool WriteAll(int fd, const void *data, size_t size) {
    const auto *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = write(fd, bytes, size);
        if (n <= 0) {
            return false;
        }
        bytes += n;
        size -= size_t(n);
    }
    return true;
}

[[noreturn]] void RunChild(const std::function<std::string()> &work, int out) {
    malloc_trim(0);
    ResetPeak();
    const long before = MaxRssKiB();
    const std::string output = work();
    const long rise = MaxRssKiB() - before;
    const bool sent =
        WriteAll(out, &rise, sizeof rise) && WriteAll(out, output.data(), output.size());
    _exit(sent ? 0 : 1);
}

} // namespace

long ResidentKiB() {
    long pages = 0;
    long resident = 0;
    FILE *statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) {
        return 0;
    }
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
        resident = 0;
    }
    std::fclose(statm);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

PeakResult MeasurePeak(const std::function<std::string()> &work) {
    PeakResult result;
    int ends[2];
    if (pipe(ends) != 0) {
        return result;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        RunChild(work, ends[1]);
    }
    close(ends[1]);
    std::string received;
    char buffer[4096];
    for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;) {
        received.append(buffer, size_t(n));
    }
    close(ends[0]);
    int status = 0;
    const bool exited = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                        WEXITSTATUS(status) == 0;
    if (exited && received.size() >= sizeof result.riseKiB) {
        result.finished = true;
        received.copy(reinterpret_cast<char *>(&result.riseKiB), sizeof result.riseKiB);
        result.output = received.substr(sizeof result.riseKiB);
    }
    return result;
}

} // namespace support
