// Helpers shared by the fuzz targets: the input as a read-only stdio stream, and as a file on
// disk for the PDF engine, which takes paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace fuzz {

// The bytes as a FILE opened for reading (fmemopen); null for empty input, which fmemopen
// refuses. The caller closes it.
FILE *OpenMemory(const uint8_t *data, size_t size);

// Writes the bytes to a file in the temporary folder, one per process, and returns its path.
std::string WriteTempFile(const uint8_t *data, size_t size, const char *suffix);

} // namespace fuzz
