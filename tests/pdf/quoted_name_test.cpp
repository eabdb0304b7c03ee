// File names in messages: plain ones as they are, others as a shell reads them back.

#include <gtest/gtest.h>

#include "pdf/QuotedName.h"

namespace {

using folvane::quotedName;

TEST(QuotedName, PlainNamesStayAsTheyAre) {
    for (const std::string name :
         {"", "/scans/page 7.jpg", "it's.jpg", "/照片/第一页.jpg", "naïve—ünïcode.png", "$HOME"}) {
        EXPECT_EQ(quotedName(name), name);
    }
}

TEST(QuotedName, ControlCharactersAndStrayBytesAreWrittenAsAShellReadsThem) {
    const struct {
        std::string name;
        std::string quoted;
    } cases[] = {
        {"a\nb.jpg", "'a'$'\\n''b.jpg'"},
        {"\x1b[31mred.jpg", "$'\\033''[31mred.jpg'"},
        {"tab\t", "'tab'$'\\t'"},
        {"it's\n", "'it'\\''s'$'\\n'"},
        {"del\x7f", "'del'$'\\177'"},
        {"bad\xff.jpg", "'bad'$'\\377''.jpg'"},
        {"cut\xe7\xac", "'cut'$'\\347'$'\\254'"},
        {"c1\xc2\x9b", "'c1'$'\\302'$'\\233'"},
        {"第\n页", "'第'$'\\n''页'"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(quotedName(c.name), c.quoted);
    }
}

} // namespace
