// The orientation table every library turns pictures by, checked against the tag's own
// definition: for each value, the side of the shown picture where the stored first row lies
// and the side where the stored first column lies.
#include "base/Orientation.h"

#include <gtest/gtest.h>

namespace {

struct Side {
    int x, y; // the step in the shown picture from one stored row (or column) to the next
};
constexpr Side kDown{0, 1}, kUp{0, -1}, kRight{1, 0}, kLeft{-1, 0};

struct Definition {
    int value;
    Side nextRow;    // stored row 0 on top: the next row lies below it (kDown), and so on
    Side nextColumn; // stored column 0 on the left: the next column lies right of it
};

// "0th row at the top, 0th column on the left" and its seven siblings.
constexpr Definition kDefinitions[] = {
    {1, kDown, kRight}, {2, kDown, kLeft}, {3, kUp, kLeft}, {4, kUp, kRight},
    {5, kRight, kDown}, {6, kLeft, kDown}, {7, kLeft, kUp}, {8, kRight, kUp},
};

// The shown position of stored pixel (column c, row r) by the definition alone.
void ShownPosition(const Definition &d, int width, int height, int c, int r, int &x, int &y) {
    const bool swapped = d.nextRow.x != 0;
    const int shownWidth = swapped ? height : width, shownHeight = swapped ? width : height;
    // Stored (0, 0) sits at the shown corner the two steps lead away from.
    const int originX = d.nextRow.x < 0 || d.nextColumn.x < 0 ? shownWidth - 1 : 0;
    const int originY = d.nextRow.y < 0 || d.nextColumn.y < 0 ? shownHeight - 1 : 0;
    x = originX + c * d.nextColumn.x + r * d.nextRow.x;
    y = originY + c * d.nextColumn.y + r * d.nextRow.y;
}

TEST(OrientationTable, EveryStoredPixelIsFoundWhereTheTagSaysItIsShown) {
    constexpr int kWidth = 5, kHeight = 3;
    for (const Definition &d : kDefinitions) {
        SCOPED_TRACE(d.value);
        EXPECT_EQ(folvane::swapsAxes(d.value), d.nextRow.x != 0);
        for (int r = 0; r < kHeight; ++r) {
            for (int c = 0; c < kWidth; ++c) {
                int x = 0, y = 0;
                ShownPosition(d, kWidth, kHeight, c, r, x, y);
                const auto stored = folvane::storedPixelOf<int>(d.value, x, y, kWidth, kHeight);
                EXPECT_EQ(stored.x, c) << "shown at " << x << "," << y;
                EXPECT_EQ(stored.y, r) << "shown at " << x << "," << y;
            }
        }
        // The stored axes run backwards where their step along the shown axis is negative.
        const folvane::StoredAxes axes = folvane::storedAxesOf(d.value);
        EXPECT_EQ(axes.columnsReversed, d.nextColumn.x + d.nextColumn.y < 0);
        EXPECT_EQ(axes.rowsReversed, d.nextRow.x + d.nextRow.y < 0);
    }
}

TEST(OrientationTable, ValuesOutsideTheTagAreUpright) {
    for (long value : {0L, 9L, -1L, 65535L}) {
        EXPECT_EQ(folvane::normalOrientation(value), 1);
        EXPECT_FALSE(folvane::swapsAxes(value));
        EXPECT_EQ(folvane::storedPixelOf<int>(value, 2, 1, 5, 3).x, 2);
    }
}

// A further turn shows the picture as turning the shown picture would: the stored pixel at a
// shown position after a clockwise quarter is the one that was a quarter anticlockwise of it.
TEST(OrientationTable, FurtherTurnsComposeWithTheTag) {
    constexpr int kWidth = 4, kHeight = 3;
    for (int value = 1; value <= 8; ++value) {
        const int turned = folvane::turnedOrientation(value, 1);
        SCOPED_TRACE(value);
        EXPECT_NE(folvane::swapsAxes(turned), folvane::swapsAxes(value));
        const bool swapped = folvane::swapsAxes(value);
        const int shownHeight = swapped ? kWidth : kHeight;
        for (int y = 0; y < (swapped ? kHeight : kWidth); ++y) {
            for (int x = 0; x < shownHeight; ++x) {
                // (x, y) of the turned picture was (y, shownHeight - 1 - x) before the turn.
                const auto after = folvane::storedPixelOf<int>(turned, x, y, kWidth, kHeight);
                const auto before =
                    folvane::storedPixelOf<int>(value, y, shownHeight - 1 - x, kWidth, kHeight);
                EXPECT_EQ(after.x, before.x);
                EXPECT_EQ(after.y, before.y);
            }
        }
        EXPECT_EQ(folvane::turnedOrientation(value, 4), value);
        EXPECT_EQ(folvane::turnedOrientation(turned, -1), value);
    }
}

} // namespace
