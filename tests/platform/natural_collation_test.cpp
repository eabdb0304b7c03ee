// The collation of the headless toolkit, which the window also uses in the C locale.

#include <gtest/gtest.h>

#include "platform/ui/NaturalCollation.h"

namespace {

struct Ordered {
    const char *before;
    const char *after;
};

class NaturalOrder : public ::testing::TestWithParam<Ordered> {};

TEST_P(NaturalOrder, SortsTheFirstNameBeforeTheSecond) {
    const Ordered pair = GetParam();
    const NaturalCollation collation;
    EXPECT_LT(collation.Compare(pair.before, pair.after), 0);
    EXPECT_GT(collation.Compare(pair.after, pair.before), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NaturalOrder,
    ::testing::Values(Ordered{"page-2", "page-10"}, Ordered{"扫描2", "扫描10"},
                      Ordered{"page-9", "page-10a"}, Ordered{"a2b3", "a2b12"},
                      // Numbers longer than any integer still compare by value.
                      Ordered{"scan99999999999999999999999", "scan100000000000000000000000"},
                      // Equal numbers: the rest decides.
                      Ordered{"p007x", "p7y"},
                      // Letters without regard to case, as a file manager lists them.
                      Ordered{"big", "UPPER"}, Ordered{"a", "B"}, Ordered{"Page-2", "page-10"},
                      Ordered{"page", "page-1"}, Ordered{"10", "a"},
                      // Bytes past ASCII as unsigned bytes: a Chinese name after every Latin one.
                      Ordered{"z", "页"}));

TEST(NaturalOrderEquality, NamesThatDifferOnlyInCaseOrLeadingZerosAreEqual) {
    const NaturalCollation collation;
    EXPECT_EQ(collation.Compare("page-10", "page-10"), 0);
    EXPECT_EQ(collation.Compare("", ""), 0);
    EXPECT_EQ(collation.Compare("SCAN", "scan"), 0);
    EXPECT_EQ(collation.Compare("page-01", "page-1"), 0);
}

} // namespace
