#include "pdfw/output/TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace folvane::pdfw::temporary_files {

namespace {

enum State : int { kFree, kFilling, kReady };

// Fixed storage, so that removeAll() reads only memory that never moves or goes away. A slot
// is reused only after forget(); a handler on another thread that reads a slot while it is
// refilled could see a mixed path, which at worst names no file.
struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};

constexpr int kSlots = 16;
Slot slots[kSlots];

static_assert(std::atomic<int>::is_always_lock_free, "signal handlers need lock-free atomics");

} // namespace

int add(const char *path) noexcept {
    std::size_t length = std::strlen(path);
    if (length >= PATH_MAX) {
        return -1;
    }
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (slots[i].state.compare_exchange_strong(expected, kFilling)) {
            std::memcpy(slots[i].path, path, length + 1);
            slots[i].state.store(kReady);
            return i;
        }
    }
    return -1;
}

int create(std::string &path, int flags, int &slot) noexcept {
    slot = add(path.c_str());
    if (slot < 0) {
        return ::mkostemp(path.data(), flags);
    }
    // mkostemp fills in the remembered name itself; until the file is opened the name is
    // either unfinished or names nothing, so removeAll() can at worst unlink nothing.
    int fd = ::mkostemp(slots[slot].path, flags);
    if (fd < 0) {
        int error = errno;
        forget(std::exchange(slot, -1));
        errno = error;
        return -1;
    }
    std::memcpy(path.data(), slots[slot].path, path.size());
    return fd;
}

void forget(int slot) noexcept {
    if (slot >= 0 && slot < kSlots) {
        slots[slot].state.store(kFree);
    }
}

void removeAll() noexcept {
    for (Slot &slot : slots) {
        if (slot.state.load() == kReady) {
            ::unlink(slot.path);
        }
    }
}

} // namespace folvane::pdfw::temporary_files
