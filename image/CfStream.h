// The byte stream every decoder reads through. The operations mirror C stdio: item counts,
// fseek origins, end-of-file and error indicators.
#pragma once

#include <cstddef>
#include <cstdint>

// Origins of CfStream::Seek, the same values as SEEK_SET, SEEK_CUR and SEEK_END.
inline constexpr int kSeekStart = 0;
inline constexpr int kSeekCurrent = 1;
inline constexpr int kSeekEnd = 2;

class CfStream {
public:
    virtual ~CfStream() = default;

    virtual bool Close() = 0;
    // Number of whole items read or written.
    virtual size_t Read(void *buffer, size_t itemSize, size_t itemCount) = 0;
    virtual size_t Write(const void *buffer, size_t itemSize, size_t itemCount) = 0;
    // True on success; origin is kSeekStart, kSeekCurrent or kSeekEnd.
    virtual bool Seek(int32_t offset, int origin) = 0;
    // Current position; -1 when unknown or beyond the 32-bit range.
    virtual int32_t Tell() = 0;
    // Total length in bytes; -1 when unknown or beyond the 32-bit range.
    virtual int32_t Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    // Non-zero when an error indicator is set.
    virtual int32_t Error() = 0;
    // Writes the low 8 bits of value; true when the byte was written. The base version goes
    // through Write.
    virtual bool PutC(int value);
    // The next byte as 0..255, or -1.
    virtual int GetC() = 0;
    // Reads a line into buffer as fgets does; the buffer, or null.
    virtual char *GetS(char *buffer, int size) = 0;
    // fscanf with one conversion; the number of items converted, or -1.
    virtual int32_t Scanf(const char *format, void *output) = 0;
};
