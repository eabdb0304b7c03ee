#include "cli/Interrupts.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <unistd.h>

#include "cli/OwnFolder.h"
#include "pdf/PageGeneration.h"

namespace folvane::cli {

namespace {

// Read by the handler: only lock-free flags and a fixed buffer.
char ownFile[PATH_MAX];
volatile std::sig_atomic_t haveOwnFile = 0;
volatile std::sig_atomic_t progressShown = 0;

// The signals handled, and whether the thread that takes them has taken one.
sigset_t handledSignals;
std::atomic<bool> interrupting{false};

// Held by InterruptsHeld; the thread that takes the signals takes it before acting on one.
std::mutex &interruptGate() {
    static std::mutex gate;
    return gate;
}

extern "C" void onInterrupt(int signal) {
    folvane::removeTemporaryFiles();
    removeOwnFolderNow();
    if (haveOwnFile) {
        ::unlink(ownFile);
    }
    if (progressShown) {
        const char clear[] = "\r\033[K";
        [[maybe_unused]] ssize_t ignored = ::write(STDERR_FILENO, clear, sizeof clear - 1);
    }
    ::_exit(128 + signal);
}

} // namespace

void handleInterrupts() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigfillset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
        sigaddset(&signals, signal);
    }
    // The signals are also blocked, in this thread and every thread made after it, and waited
    // for by a thread of their own: a library's thread may put a signal's action back to the
    // default (SANE's reader threads do so with SIGTERM), and sigwait takes a blocked signal
    // whatever its action.
    ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    handledSignals = signals;
    std::thread([signals] {
        int signal = 0;
        if (::sigwait(&signals, &signal) == 0) {
            interrupting = true;
            interruptGate().lock(); // never released: the process ends
            onInterrupt(signal);
        }
    }).detach();
}

void yieldToInterruption() {
    sigset_t pending;
    sigemptyset(&pending);
    bool waiting = interrupting.load();
    if (!waiting && ::sigpending(&pending) == 0) {
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
            waiting = waiting || (sigismember(&handledSignals, signal) == 1 &&
                                  sigismember(&pending, signal) == 1);
        }
    }
    while (waiting) {
        ::pause(); // the handled signals are blocked here: the signal thread ends the process
    }
}

int createOwnFile(std::string &path) {
    if (path.size() >= sizeof ownFile) {
        return ::mkostemp(path.data(), O_CLOEXEC);
    }
    haveOwnFile = 0;
    std::memcpy(ownFile, path.c_str(), path.size() + 1);
    haveOwnFile = 1;
    int fd = ::mkostemp(ownFile, O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        haveOwnFile = 0;
        errno = error;
        return -1;
    }
    std::memcpy(path.data(), ownFile, path.size());
    return fd;
}

void forgetOwnFile() {
    haveOwnFile = 0;
}

InterruptsHeld::InterruptsHeld() {
    interruptGate().lock();
}

InterruptsHeld::~InterruptsHeld() {
    interruptGate().unlock();
}

void setProgressShown(bool shown) {
    progressShown = shown ? 1 : 0;
}

} // namespace folvane::cli
