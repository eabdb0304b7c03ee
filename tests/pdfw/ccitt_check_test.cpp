// The fax check on its own: whatever libtiff's encoder writes passes, whatever PDF readers would
// read differently from libtiff is found, with the row and column it happens at.
#include <gtest/gtest.h>

#include <string>

#include "pdfw/tiff/CcittCheck.h"
#include "tests/support/Files.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using folvane::pdfw::ccittProblem;
using folvane::pdfw::FaxLayout;

// Bits written as '0' and '1' characters (spaces between codes are skipped), most significant
// first, padded with zeros.
Bytes bits(const std::string &text) {
    Bytes out;
    std::size_t used = 0;
    for (char c : text) {
        if (c == ' ') {
            continue;
        }
        if (used % 8 == 0) {
            out.push_back(0);
        }
        if (c == '1') {
            out.back() |= static_cast<uint8_t>(0x80 >> (used % 8));
        }
        ++used;
    }
    return out;
}

std::string check(const std::string &text, int k, uint32_t columns, uint32_t rows) {
    Bytes data = bits(text);
    return ccittProblem(data.data(), data.size(), FaxLayout{k, columns, rows});
}

// A bilevel page of `width` x `height` with marks of every size: single pixels, short and long
// runs (past 64, 1728 and 2560 columns, so make-up codes of all kinds appear), rows equal to the
// one above and rows unlike it.
Bytes marks(uint32_t width, uint32_t height) {
    const std::size_t rowBytes = (width + 7) / 8;
    Bytes page(rowBytes * height, 0);
    uint32_t seed = 12345;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            bool ink = y % 9 == 4                 ? x < width - 3 // one long black run
                       : y % 9 < 3                ? (x / (1 + y % 5)) % 7 < 3
                       : y % 9 == 5 || y % 9 == 6 ? (seed >> 16) % 5 == 0
                                                  : x % 97 == 0;
            if (ink) {
                page[y * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return page;
}

// libtiff's coding of `page` with `compression` (and Group 3 options), as its strip holds it.
Bytes libtiffCoding(const Bytes &page, uint32_t width, uint32_t height, uint16_t compression,
                    uint32_t options, const TempDir &dir) {
    TiffPage p = FaxPage(width, height, compression);
    p.group3Options = options;
    p.data = page;
    const std::string path = dir / "coded.tif";
    WriteTiff(path, {p});
    return ReadRawStrip(path);
}

TEST(CcittCheck, WhatLibtiffWritesPassesInEveryCoding) {
    TempDir dir;
    struct Coding {
        uint16_t compression;
        uint32_t options;
        int k;
    } codings[] = {{COMPRESSION_CCITTFAX4, 0, -1},
                   {COMPRESSION_CCITTFAX3, 0, 0},
                   {COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING, 1}};
    for (uint32_t width : {1u, 7u, 64u, 1728u, 2481u, 6000u}) {
        const uint32_t height = 40;
        Bytes page = marks(width, height);
        for (const Coding &c : codings) {
            Bytes strip = libtiffCoding(page, width, height, c.compression, c.options, dir);
            EXPECT_EQ(ccittProblem(strip.data(), strip.size(), {c.k, width, height}), "")
                << "width " << width << ", K " << c.k;
            // The same data read as a page one row longer runs out of rows.
            EXPECT_NE(ccittProblem(strip.data(), strip.size(), {c.k, width, height + 1}), "")
                << "width " << width << ", K " << c.k;
        }
    }
}

// Group 4 codes: V0 "1", VR1 "011", VL1 "010", VR2 "000011", VL2 "000010", pass "0001",
// horizontal "001" then a white and a black run. White runs: 0 "00110101", 2 "0111", 3 "1000",
// 4 "1011", 5 "1100", 8 "10011". Black runs: 0 "0000110111", 1 "010", 2 "11", 3 "10", 4 "011".
TEST(CcittCheck, FindsWhatPdfReadersReadDifferently) {
    // Row 1: white 3, black 2, then V0 to the edge: changes at 3, 5 and 8. Row 2 follows its
    // changes at 3 and 5, changes at 7 (VL1 from b1 = 8), and ends with V0 at 8; or codes VL1
    // again, a change on a0 = 7 itself: an empty run.
    const std::string first = "001 1000 11 1";
    EXPECT_EQ(check(first + " 1 1 010 1", -1, 8, 2), "");
    EXPECT_EQ(check(first + " 1 1 010 010", -1, 8, 2), "row 2 has an empty run at column 7");
    // Row 1 starts black (white 0, black 1); VL2 from its first change, 0, lands left of it.
    EXPECT_EQ(check("001 00110101 010 1 000010", -1, 8, 2), "row 2 steps back to column -2");
    // VR2 past the right edge: b1 is the edge itself.
    EXPECT_EQ(check("000011", -1, 8, 1), "row 1 runs to column 10 of 8");
    // Horizontal runs of 5 white and 4 black pass the 8 columns.
    EXPECT_EQ(check("001 1100 011", -1, 8, 1), "row 1 runs to column 9 of 8");
    // A mode code of seven zeros starts an end-of-line code, which has no place in a G4 row.
    EXPECT_EQ(check("1 0000000 1", -1, 8, 2), "row 2 holds a bad code");
    // A white run code libtiff does not know.
    EXPECT_EQ(check("001 00000000 1", -1, 8, 1), "row 1 holds a bad code");
}

TEST(CcittCheck, GroupThreeRowsAndTheirEndOfLineCodes) {
    const std::string eol = "000000000001";
    // 1-D: white 5, black 3 per row; end-of-line codes are optional, fill bits allowed.
    EXPECT_EQ(check("1100 10 1100 10", 0, 8, 2), "");
    EXPECT_EQ(check(eol + "1100 10 0000" + eol + "1100 10", 0, 8, 2), "");
    EXPECT_EQ(check("1100 011", 0, 8, 1), "row 1 runs to column 9 of 8");
    // 2-D: every row needs its end-of-line code and the bit after it.
    EXPECT_EQ(check(eol + "1 1100 10" + eol + "0 1 1", 1, 8, 2), "");
    EXPECT_EQ(check(eol + "1 1100 10 0 1 1 1", 1, 8, 2),
              "row 2 lacks the end-of-line code that 2-D Group 3 rows need");
}

TEST(CcittCheck, ManyEmptyHorizontalRunsInOneRowAreFollowed) {
    // Pairs of empty runs (white 0, black 0) are valid codes that add changes without moving;
    // ten thousand of them in a row of 8 columns, then white 8 and black 0 end it. The next row
    // follows its changes at 0 and 8.
    std::string row;
    for (int i = 0; i < 10000; ++i) {
        row += "001 00110101 0000110111";
    }
    row += "001 10011 0000110111";
    EXPECT_EQ(check(row + " 1 1", -1, 8, 2), "");
}

TEST(CcittCheck, RefusesNoDataAndPagesTooWideToBeFaxes) {
    EXPECT_EQ(ccittProblem(nullptr, 0, {-1, 8, 1}), "row 1 holds a bad code");
    Bytes data = bits("1");
    EXPECT_EQ(ccittProblem(data.data(), data.size(), {-1, 1u << 31, 1}),
              "the page is 2147483648 columns wide, more than a fax page");
}

} // namespace
