// The output file on its own: small and large writes arrive in order, and only commit()
// makes the target appear.
#include "pdfw/OutputFile.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/support/Files.h"

namespace {

using namespace support;

Bytes counting(std::size_t size, int seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>((i * 7 + static_cast<std::size_t>(seed)) % 251);
    }
    return bytes;
}

TEST(OutputFile, WritesAroundTheBufferArriveInOrder) {
    TempDir dir;
    // Around the 1 MiB buffer: filling it, overflowing it, and larger than it; then past the
    // 8 MiB steps at which write-back starts, in large writes and in buffered ones.
    std::vector<Bytes> pieces = {counting(1000, 1),  counting((1u << 20) - 1000, 2),
                                 counting(1, 3),     counting(3u << 20, 4),
                                 counting(70000, 5), counting(9u << 20, 6)};
    for (int i = 0; i < 40; ++i) {
        pieces.push_back(counting(300000, 7 + i));
    }
    std::string reason;
    auto out = pdfw::OutputFile::create(dir / "out.bin", pdfw::MemoryProcs{}, reason);
    ASSERT_TRUE(out) << reason;
    Bytes expected;
    for (const Bytes &piece : pieces) {
        out->write(piece.data(), piece.size());
        expected.insert(expected.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(out->position(), expected.size());
    EXPECT_EQ(Listing(dir.Path()).size(), 1u);
    EXPECT_TRUE(Listing(dir.Path()).begin()->rfind(".out.bin.", 0) == 0);
    out->commit();
    EXPECT_TRUE(ReadFile(dir / "out.bin") == expected);
    EXPECT_EQ(Listing(dir.Path()), std::set<std::string>{"out.bin"});
}

TEST(OutputFile, WithoutCommitNothingIsLeft) {
    TempDir dir;
    std::string reason;
    {
        auto out = pdfw::OutputFile::create(dir / "out.bin", pdfw::MemoryProcs{}, reason);
        ASSERT_TRUE(out);
        Bytes big = counting(2u << 20, 6);
        out->write(big.data(), big.size());
    }
    EXPECT_TRUE(Listing(dir.Path()).empty());
}

} // namespace
