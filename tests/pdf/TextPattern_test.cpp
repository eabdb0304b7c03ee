// Filling a translated pattern: what both front ends show for every %-text.

#include "pdf/TextPattern.h"

#include <gtest/gtest.h>

namespace {

using folvane::fill;

TEST(TextPattern, ValuesGoWhereTheTranslationPutsThem) {
    EXPECT_EQ(fill("page %1 of %2", {"3", "7"}), "page 3 of 7");
    // A translation's own word order, and a placeholder used twice.
    EXPECT_EQ(fill("%2 页中的第 %1 页", {"3", "7"}), "7 页中的第 3 页");
    EXPECT_EQ(fill("%1, %1 again", {"a"}), "a, a again");
    EXPECT_EQ(fill("%1%2%3%4%5%6%7%8%9", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}),
              "123456789");
}

TEST(TextPattern, APercentThatIsNoPlaceholderStays) {
    EXPECT_EQ(fill("scanning page %1: %2%", {"4", "50"}), "scanning page 4: 50%");
    EXPECT_EQ(fill("100%", {}), "100%");
    EXPECT_EQ(fill("%0 and %x", {"a"}), "%0 and %x");
    EXPECT_EQ(fill("%%1", {"a"}), "%a");
    // Only one digit counts: %10 is the first value followed by 0.
    EXPECT_EQ(fill("%10", {"a"}), "a0");
}

TEST(TextPattern, AMissingValueLeavesItsPlaceholder) {
    EXPECT_EQ(fill("%1 and %2", {"a"}), "a and %2");
    EXPECT_EQ(fill("%3", {}), "%3");
}

TEST(TextPattern, AValueIsShownAsItIs) {
    // A file name holding "%2" is not filled in again.
    EXPECT_EQ(fill("cannot read %1: %2", {"scan%2.tif", "gone"}), "cannot read scan%2.tif: gone");
    EXPECT_EQ(fill("%1", {""}), "");
}

} // namespace
