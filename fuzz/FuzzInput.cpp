#include "fuzz/FuzzInput.h"

#include <cstdlib>
#include <unistd.h>

namespace fuzz {

FILE *OpenMemory(const uint8_t *data, size_t size) {
    if (size == 0) {
        return nullptr;
    }
    return fmemopen(const_cast<uint8_t *>(data), size, "rb");
}

std::string WriteTempFile(const uint8_t *data, size_t size, const char *suffix) {
    const char *dir = getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/folvane-fuzz-" +
                       std::to_string(getpid()) + suffix;
    FILE *file = fopen(path.c_str(), "wb");
    if (file == nullptr) {
        abort(); // the harness itself is broken, not the code under test
    }
    if (size > 0 && fwrite(data, 1, size, file) != size) {
        abort();
    }
    fclose(file);
    return path;
}

} // namespace fuzz
