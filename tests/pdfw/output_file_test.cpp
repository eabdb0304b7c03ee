// The output file on its own: bytes written through the buffer and copied from other files
// arrive in order, whichever way the system copies them.
#include "pdfw/OutputFile.h"

#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/pdfw/PdfwTestSupport.h"

namespace {

using namespace pdfw_test;

Bytes counting(std::size_t size, int seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>((i * 7 + static_cast<std::size_t>(seed)) % 251);
    }
    return bytes;
}

TEST(OutputFile, WritesAndCopiesArriveInOrder) {
    ScratchDir dir;
    Bytes small = counting(1000, 1), large = counting(3u << 20, 2), copied = counting(5u << 20, 3);
    std::string source = dir.path("source.bin");
    writeFile(source, copied);
    // The same bytes in memory-backed file, on another file system than the output, so that
    // the kernel copy may be refused and the buffered copy used instead.
    int memory = memfd_create("pdfw-test", 0);
    ASSERT_GE(memory, 0);
    ASSERT_EQ(write(memory, copied.data(), copied.size()), static_cast<ssize_t>(copied.size()));
    int file = open(source.c_str(), O_RDONLY);

    std::string reason;
    auto out = pdfw::OutputFile::create(dir.path("out.bin"), pdfw::MemoryProcs{}, reason);
    ASSERT_TRUE(out) << reason;
    out->write(small.data(), small.size());
    out->copyFrom(file, 100, copied.size() - 100, source);
    out->write(large.data(), large.size());
    out->copyFrom(memory, 0, copied.size(), "memory");
    out->write("end");
    EXPECT_EQ(out->position(),
              small.size() + copied.size() - 100 + large.size() + copied.size() + 3);
    out->commit();
    close(file);
    close(memory);

    Bytes expected = small;
    expected.insert(expected.end(), copied.begin() + 100, copied.end());
    expected.insert(expected.end(), large.begin(), large.end());
    expected.insert(expected.end(), copied.begin(), copied.end());
    expected.insert(expected.end(), {'e', 'n', 'd'});
    EXPECT_TRUE(readFile(dir.path("out.bin")) == expected);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.bin", "source.bin"}));
}

TEST(OutputFile, ACopyFromAShortFileFailsAndLeavesNothing) {
    ScratchDir dir;
    std::string source = dir.path("short.bin");
    writeFile(source, counting(100, 4));
    int file = open(source.c_str(), O_RDONLY);
    std::string reason;
    {
        auto out = pdfw::OutputFile::create(dir.path("out.bin"), pdfw::MemoryProcs{}, reason);
        ASSERT_TRUE(out);
        EXPECT_THROW(out->copyFrom(file, 0, 200, source), std::exception);
        EXPECT_TRUE(out->broken());
        EXPECT_THROW(out->commit(), std::exception);
    }
    close(file);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"short.bin"});
}

} // namespace
