#include "pdfw/TemporaryFiles.h"

#include <atomic>
#include <climits>
#include <cstring>
#include <unistd.h>

namespace pdfw::TemporaryFiles {

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

} // namespace pdfw::TemporaryFiles
