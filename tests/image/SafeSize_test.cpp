#include "image/SafeSize.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace {

constexpr size_t kMax = std::numeric_limits<size_t>::max();

TEST(SafeSize, MultipliesAndAddsWithinRange) {
    EXPECT_EQ(SafeSize::mul(3, 4), 12u);
    EXPECT_EQ(SafeSize::mul(uint32_t(65536), uint32_t(65536)), size_t(1) << 32);
    EXPECT_EQ(SafeSize::mul(2, 3, 7), 42u);
    EXPECT_EQ(SafeSize::add(kMax - 1, 1), kMax);
    EXPECT_EQ(SafeSize::add(1, 2, 3), 6u);
    EXPECT_EQ(SafeSize::mul(0, kMax), 0u);
}

TEST(SafeSize, RejectsOverflowAndNegativeOperands) {
    EXPECT_FALSE(SafeSize::mul(kMax, 2));
    EXPECT_FALSE(SafeSize::mul(kMax / 2 + 1, 2));
    EXPECT_FALSE(SafeSize::mul(size_t(1) << 40, size_t(1) << 30, 2));
    EXPECT_FALSE(SafeSize::add(kMax, 1));
    EXPECT_FALSE(SafeSize::add(kMax - 1, 1, 1));
    EXPECT_FALSE(SafeSize::mul(-1, 1));
    EXPECT_FALSE(SafeSize::mul(-2, -3)); // a positive product of negatives is still refused
    EXPECT_FALSE(SafeSize::add(int32_t(-5), 10));
    EXPECT_FALSE(SafeSize::of(int64_t(-1)));
    EXPECT_EQ(SafeSize::of(int64_t(7)), 7u);
}

TEST(SafeSize, RowStrideIsPaddedToFourBytes) {
    EXPECT_EQ(SafeSize::RowStride(1, 1), 4u);
    EXPECT_EQ(SafeSize::RowStride(32, 1), 4u);
    EXPECT_EQ(SafeSize::RowStride(33, 1), 8u);
    EXPECT_EQ(SafeSize::RowStride(5, 24), 16u);
    EXPECT_EQ(SafeSize::RowStride(3, 4), 4u);
    EXPECT_EQ(SafeSize::RowStride(9, 8), 12u);
    // Where 32-bit arithmetic would wrap to a tiny stride, the exact value comes back.
    EXPECT_EQ(SafeSize::RowStride(uint32_t(0xFFFFFFFF), 24), 12884901888u);
    EXPECT_FALSE(SafeSize::RowStride(kMax, 24));
    EXPECT_FALSE(SafeSize::RowStride(kMax - 3, 1)); // the +31 of the padding overflows
    EXPECT_FALSE(SafeSize::RowStride(-1, 8));
}

TEST(SafeSize, PackedRowBytesRoundsUpToWholeBytes) {
    EXPECT_EQ(SafeSize::PackedRowBytes(9, 1), 2u);
    EXPECT_EQ(SafeSize::PackedRowBytes(8, 1), 1u);
    EXPECT_EQ(SafeSize::PackedRowBytes(3, 4), 2u);
    EXPECT_EQ(SafeSize::PackedRowBytes(5, 24), 15u);
    EXPECT_FALSE(SafeSize::PackedRowBytes(kMax, 2));
}

TEST(SafeSize, RangeChecksDoNotWrap) {
    EXPECT_TRUE(SafeSize::fitsWithin(0, 10, 10));
    EXPECT_TRUE(SafeSize::fitsWithin(10, 0, 10));
    EXPECT_FALSE(SafeSize::fitsWithin(10, 1, 10));
    EXPECT_FALSE(SafeSize::fitsWithin(11, 0, 10));
    EXPECT_FALSE(SafeSize::fitsWithin(uint64_t(1), uint64_t(0xFFFFFFFFFFFFFFFF), 100));
    EXPECT_FALSE(SafeSize::fitsWithin(uint32_t(0xFFFFFFF0), uint32_t(0x20), uint32_t(0xFFFFFFFF)));
    EXPECT_FALSE(SafeSize::fitsWithin(-1, 1, 10));
    EXPECT_FALSE(SafeSize::fitsWithin(0, -1, 10));
}

} // namespace
