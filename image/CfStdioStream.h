// CfStream over a C stdio FILE. A stream built over a caller's handle never closes it: the
// caller keeps ownership. Every operation tolerates a null handle and then reports failure.
#pragma once

#include <cstdio>

#include "image/CfStream.h"

// Opens `path` for reading ("rb") without waiting on it, as a pipe with no writer or a device
// would have open() wait, and only when it is a regular file. Null otherwise, with `reason`
// (when given) saying why: the system's words, or "it is not a regular file".
FILE *OpenRegularFile(const char *path, const char **reason = nullptr);

class CfStdioStream : public CfStream {
public:
    explicit CfStdioStream(FILE *file);
    ~CfStdioStream() override;

    CfStdioStream(const CfStdioStream &) = delete;
    CfStdioStream &operator=(const CfStdioStream &) = delete;

    bool Close() override;
    size_t Read(void *buffer, size_t itemSize, size_t itemCount) override;
    size_t Write(const void *buffer, size_t itemSize, size_t itemCount) override;
    bool Seek(int32_t offset, int origin) override;
    int32_t Tell() override;
    int32_t Size() override;
    bool Flush() override;
    bool Eof() override;
    int32_t Error() override;
    bool PutC(int value) override;
    int GetC() override;
    char *GetS(char *buffer, int size) override;
    int32_t Scanf(const char *format, void *output) override;

    FILE *handle;
    bool ownsHandle; // set only when constructed over a null handle
};
