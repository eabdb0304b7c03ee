#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ui/CListCtrl.h"
#include "platform/ui/HeadlessListCtrl.h"
#include "platform/ui/HeadlessToolkit.h"
#include "tests/platform/ListCtrlContract.h"

namespace {

class HeadlessList : public ListUnderTest {
public:
    ListCtrlPeer &Peer() override { return peer; }
    void UserClicksRow(int row) override { peer.UserHighlight(row); }
    void UserPressesDown() override {
        peer.UserHighlight(std::min(peer.HighlightedRow() + 1, peer.GetItemCount() - 1));
    }
    void UserResizes(int width, int height) override {
        peer.SetClientRect(UiRect{0, 0, width, height});
    }

    HeadlessToolkit ui;
    HeadlessListCtrl peer{ui, 1000, UiRect{0, 0, 500, 300}};
};

INSTANTIATE_TEST_SUITE_P(Headless, ListCtrlContract,
                         ::testing::Values(+[]() -> std::unique_ptr<ListUnderTest> {
                             return std::make_unique<HeadlessList>();
                         }));

TEST(DetachedListCtrl, BehavesAsAnEmptyListThatRefusesChanges) {
    CListCtrl list;
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.InsertItem(0, "x"), -1);
    EXPECT_FALSE(list.SetItemText(0, 1, "x"));
    EXPECT_EQ(list.GetFirstSelectedItemPosition(), 0);
    EXPECT_EQ(list.GetItemText(0, 0), "");
}

} // namespace
