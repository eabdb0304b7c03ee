#include <gtest/gtest.h>

#include "app/CFolvaneDlg.h"
#include "app/NaturalOrder.h"

namespace {

struct Ordered {
    const char *before;
    const char *after;
};

class NaturalOrder : public ::testing::TestWithParam<Ordered> {};

TEST_P(NaturalOrder, SortsTheFirstNameBeforeTheSecond) {
    const Ordered pair = GetParam();
    EXPECT_LT(CompareNatural(pair.before, pair.after), 0);
    EXPECT_GT(CompareNatural(pair.after, pair.before), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NaturalOrder,
    ::testing::Values(Ordered{"page-2", "page-10"}, Ordered{"扫描2", "扫描10"},
                      Ordered{"page-9", "page-10a"}, Ordered{"a2b3", "a2b12"},
                      // Numbers longer than any integer still compare by value.
                      Ordered{"scan99999999999999999999999", "scan100000000000000000000000"},
                      // Equal numbers: the rest decides, then the bytes (leading zeros).
                      Ordered{"p007x", "p7y"}, Ordered{"page-01", "page-1"},
                      // Letters as before: case-sensitive bytes, "B" before "a".
                      Ordered{"B", "a"}, Ordered{"page", "page-1"}, Ordered{"10", "a"}));

TEST(NaturalOrderEquality, IdenticalNamesAreEqual) {
    EXPECT_EQ(CompareNatural("page-10", "page-10"), 0);
    EXPECT_EQ(CompareNatural("", ""), 0);
    EXPECT_EQ(CFolvaneDlg::CompareFileNames("/x/page-2.jpg", "/y/page-2.tif"), 0);
    EXPECT_LT(CFolvaneDlg::CompareFileNames("/z/page-2.jpg", "/a/page-10.jpg"), 0);
}

} // namespace
