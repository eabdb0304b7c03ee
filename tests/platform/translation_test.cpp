// The window's texts through a translation: as written without one, from the catalogue with
// one, and a counting text with its count in every form.

#include <gtest/gtest.h>

#include "platform/ui/Translation.h"

namespace {

class Translated : public ::testing::Test {
protected:
    ~Translated() override { UseTranslation(nullptr); }
    TableTranslation table;
};

TEST_F(Translated, WithoutATranslationTheTextsAreShownAsWritten) {
    EXPECT_TRUE(SpeaksSourceLanguage());
    EXPECT_EQ(Tr("Window", "操作成功!"), "操作成功!");
    EXPECT_EQ(Tr("Window", "共 %n 页", nullptr, 12), "共 12 页");
}

TEST_F(Translated, ATranslationGivesItsTextAndKeepsTheSourceWhereItHasNone) {
    table.texts[{"Window", "操作成功!"}] = "Done.";
    table.texts[{"Window", "共 %n 页, 已保存到 %1"}] = "%n pages saved to %1 (%n)";
    UseTranslation(&table);
    EXPECT_FALSE(SpeaksSourceLanguage());
    EXPECT_EQ(Tr("Window", "操作成功!"), "Done.");
    EXPECT_EQ(Tr("Dialog", "操作成功!"), "操作成功!") << "another context";
    EXPECT_EQ(Tr("Window", "取消"), "取消");
    // Every %n becomes the count; %1 is left for the caller to fill.
    EXPECT_EQ(Tr("Window", "共 %n 页, 已保存到 %1", nullptr, 3), "3 pages saved to %1 (3)");
    UseTranslation(nullptr);
    EXPECT_EQ(Tr("Window", "操作成功!"), "操作成功!");
}

} // namespace
