#include "image/CfStdioStream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Positions beyond the 32-bit range cannot be reported; -1 says so instead of a wrapped value.
int32_t ToPosition(long position) {
    if (position < 0 || position > std::numeric_limits<int32_t>::max()) {
        return -1;
    }
    return static_cast<int32_t>(position);
}

} // namespace

FILE *OpenRegularFile(const char *path, const char **reason) {
    const char *why = nullptr;
    FILE *file = nullptr;
    const int fd = path ? ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY) : -1;
    struct stat info {};
    if (fd < 0) {
        why = path ? std::strerror(errno) : "no path";
    } else if (::fstat(fd, &info) != 0) {
        why = std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        why = "it is not a regular file";
    } else {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        file = ::fdopen(fd, "rb");
        if (!file) {
            why = std::strerror(errno);
        }
    }
    if (!file && fd >= 0) {
        ::close(fd);
    }
    if (reason) {
        *reason = why;
    }
    return file;
}

CfStdioStream::CfStdioStream(FILE *file) : handle(file), ownsHandle(file == nullptr) {}

CfStdioStream::~CfStdioStream() {
    if (handle && ownsHandle) {
        fclose(handle);
    }
}

bool CfStdioStream::Close() {
    if (!handle || !ownsHandle) {
        return true;
    }
    const int result = fclose(handle);
    handle = nullptr;
    return result == 0;
}

size_t CfStdioStream::Read(void *buffer, size_t itemSize, size_t itemCount) {
    return handle ? fread(buffer, itemSize, itemCount, handle) : 0;
}

size_t CfStdioStream::Write(const void *buffer, size_t itemSize, size_t itemCount) {
    return handle ? fwrite(buffer, itemSize, itemCount, handle) : 0;
}

bool CfStdioStream::Seek(int32_t offset, int origin) {
    return handle && fseek(handle, offset, origin) == 0;
}

int32_t CfStdioStream::Tell() {
    return handle ? ToPosition(ftell(handle)) : 0;
}

int32_t CfStdioStream::Size() {
    if (!handle) {
        return -1;
    }
    const long position = ftell(handle);
    if (position < 0 || fseek(handle, 0, SEEK_END) != 0) {
        return -1;
    }
    const long size = ftell(handle);
    fseek(handle, position, SEEK_SET);
    return ToPosition(size);
}

bool CfStdioStream::Flush() {
    return handle && fflush(handle) == 0;
}

bool CfStdioStream::Eof() {
    return !handle || feof(handle) != 0;
}

int32_t CfStdioStream::Error() {
    return handle ? ferror(handle) : -1;
}

bool CfStdioStream::PutC(int value) {
    if (!handle) {
        return false;
    }
    const int byte = value & 0xFF;
    return fputc(byte, handle) == byte;
}

int CfStdioStream::GetC() {
    return handle ? getc(handle) : -1;
}

char *CfStdioStream::GetS(char *buffer, int size) {
    return handle ? fgets(buffer, size, handle) : nullptr;
}

int32_t CfStdioStream::Scanf(const char *format, void *output) {
    if (!handle) {
        return -1;
    }
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return fscanf(handle, format, output);
#pragma GCC diagnostic pop
}
