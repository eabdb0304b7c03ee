#include <gtest/gtest.h>

#include "platform/ui/CListCtrl.h"
#include "platform/ui/HeadlessListCtrl.h"
#include "platform/ui/HeadlessToolkit.h"

namespace {

constexpr UINT kMark = LVIS_SELECTED | LVIS_FOCUSED;

class ListCtrl : public ::testing::Test {
protected:
    ListCtrl() {
        list.Attach(&peer);
        list.InsertColumn(0, "No", LVCFMT_LEFT, 50);
        list.InsertColumn(1, "Path", LVCFMT_LEFT, 455);
    }
    void Fill(int rows) {
        for (int i = 0; i < rows; ++i) {
            ASSERT_EQ(list.InsertItem(i, std::to_string(i)), i);
            list.SetItemText(i, 1, "p" + std::to_string(i));
        }
    }
    int Selected() {
        POSITION position = list.GetFirstSelectedItemPosition();
        return position == 0 ? -1 : list.GetNextSelectedItem(position);
    }

    HeadlessToolkit ui;
    HeadlessListCtrl peer{ui, 1000, UiRect{0, 0, 500, 300}};
    CListCtrl list;
};

TEST_F(ListCtrl, InsertPlacesRowsAndClampsPastTheEnd) {
    Fill(2);
    EXPECT_EQ(list.InsertItem(1, "mid"), 1);
    EXPECT_EQ(list.InsertItem(99, "end"), 3);
    EXPECT_EQ(list.InsertItem(-1, "bad"), -1);
    ASSERT_EQ(list.GetItemCount(), 4);
    EXPECT_EQ(list.GetItemText(1, 0), "mid");
    EXPECT_EQ(list.GetItemText(1, 1), "");
    EXPECT_EQ(list.GetItemText(2, 1), "p1");
    EXPECT_EQ(list.GetItemText(3, 0), "end");
}

TEST_F(ListCtrl, MissingRowsAndColumnsReadEmptyAndRefuseChanges) {
    Fill(1);
    EXPECT_EQ(list.GetItemText(1, 0), "");
    EXPECT_EQ(list.GetItemText(-1, 1), "");
    EXPECT_EQ(list.GetItemText(0, 2), "");
    EXPECT_FALSE(list.SetItemText(1, 1, "x"));
    EXPECT_FALSE(list.SetItemText(0, 2, "x"));
    EXPECT_FALSE(list.DeleteItem(1));
    EXPECT_FALSE(list.SetItemState(-1, kMark, kMark));
    EXPECT_FALSE(list.SetItemState(1, kMark, kMark));
    EXPECT_EQ(Selected(), -1);
}

TEST_F(ListCtrl, StatesMoveWithTheirRows) {
    Fill(3);
    ASSERT_TRUE(list.SetItemState(1, kMark, kMark));
    list.InsertItem(0, "new");
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(list.GetItemState(0, kMark), 0u); // inserted rows carry no state
    list.DeleteItem(0);
    EXPECT_EQ(Selected(), 1);
    list.DeleteItem(1);
    EXPECT_EQ(Selected(), -1); // the selection went with its row
}

TEST_F(ListCtrl, OneRowAtATimeCarriesTheSelection) {
    Fill(3);
    list.SetItemState(0, kMark, kMark);
    list.SetItemState(2, kMark, kMark);
    EXPECT_EQ(list.GetItemState(0, kMark), 0u);
    EXPECT_EQ(list.GetItemState(2, kMark), kMark);
    POSITION position = list.GetFirstSelectedItemPosition();
    EXPECT_EQ(list.GetNextSelectedItem(position), 2);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(list.GetNextSelectedItem(position), -1);
    list.SetItemState(2, 0, LVIS_SELECTED);
    EXPECT_EQ(Selected(), -1);
    EXPECT_EQ(list.GetItemState(2, LVIS_FOCUSED), LVIS_FOCUSED);
}

TEST_F(ListCtrl, DeleteAllItemsEmptiesTheList) {
    Fill(3);
    list.SetItemState(1, kMark, kMark);
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(Selected(), -1);
}

TEST(DetachedListCtrl, BehavesAsAnEmptyListThatRefusesChanges) {
    CListCtrl list;
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.InsertItem(0, "x"), -1);
    EXPECT_FALSE(list.SetItemText(0, 1, "x"));
    EXPECT_EQ(list.GetFirstSelectedItemPosition(), 0);
    EXPECT_EQ(list.GetItemText(0, 0), "");
}

} // namespace
