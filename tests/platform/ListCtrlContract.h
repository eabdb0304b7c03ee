// The row and selection behaviour every list control peer shares, as one suite of tests run
// against each peer: include this header in one test program per peer and instantiate the suite
// with a maker of that peer.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/CListCtrl.h"
#include "platform/ui/ListCtrlPeer.h"

// One list peer and what a user does to it with the mouse and the keyboard.
class ListUnderTest {
public:
    virtual ~ListUnderTest() = default;
    virtual ListCtrlPeer &Peer() = 0;
    // A click on a row; -1 clicks below the last row.
    virtual void UserClicksRow(int row) = 0;
    // The down-arrow key while the list has the focus.
    virtual void UserPressesDown() = 0;
    // The list's window is given a new size, as when the user resizes the dialog.
    virtual void UserResizes(int width, int height) = 0;
};

using ListMaker = std::unique_ptr<ListUnderTest> (*)();

class ListCtrlContract : public ::testing::TestWithParam<ListMaker> {
protected:
    static constexpr UINT kMark = LVIS_SELECTED | LVIS_FOCUSED;

    ListCtrlContract() : subject(GetParam()()) { list.Attach(&subject->Peer()); }
    ~ListCtrlContract() override { list.Detach(); }

    void Columns() {
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

    std::unique_ptr<ListUnderTest> subject;
    CListCtrl list;
};

TEST_P(ListCtrlContract, InsertPlacesRowsAndClampsPastTheEnd) {
    Columns();
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

TEST_P(ListCtrlContract, MissingRowsAndColumnsReadEmptyAndRefuseChanges) {
    Columns();
    Fill(1);
    EXPECT_EQ(list.GetItemText(1, 0), "");
    EXPECT_EQ(list.GetItemText(-1, 1), "");
    EXPECT_EQ(list.GetItemText(0, 2), "");
    EXPECT_FALSE(list.SetItemText(1, 1, "x"));
    EXPECT_FALSE(list.SetItemText(0, 2, "x"));
    EXPECT_FALSE(list.DeleteItem(1));
    EXPECT_FALSE(list.SetItemState(-1, kMark, kMark));
    EXPECT_FALSE(list.SetItemState(1, kMark, kMark));
    EXPECT_FALSE(list.SetItemToolTip(1, "x"));
    EXPECT_FALSE(list.SetItemTextColor(1, ui::RGB(255, 0, 0)));
    EXPECT_EQ(list.GetItemToolTip(1), "");
    EXPECT_EQ(list.GetItemTextColor(1), CLR_DEFAULT);
    EXPECT_EQ(Selected(), -1);
}

TEST_P(ListCtrlContract, ColumnZeroIsTheItemTextBeforeAnyColumnExists) {
    ASSERT_EQ(list.InsertItem(0, "first"), 0);
    EXPECT_EQ(list.GetItemText(0, 0), "first");
    EXPECT_TRUE(list.SetItemText(0, 0, "renamed"));
    EXPECT_FALSE(list.SetItemText(0, 1, "x"));
    EXPECT_EQ(list.GetItemText(0, 0), "renamed");
    Columns();
    EXPECT_EQ(list.GetItemText(0, 0), "renamed");
    EXPECT_TRUE(list.SetItemText(0, 1, "path"));
    EXPECT_EQ(list.GetItemText(0, 1), "path");
}

TEST_P(ListCtrlContract, StatesTipsAndColoursMoveWithTheirRows) {
    Columns();
    Fill(3);
    ASSERT_TRUE(list.SetItemState(1, kMark, kMark));
    ASSERT_TRUE(list.SetItemToolTip(1, "JPEG 10x10"));
    ASSERT_TRUE(list.SetItemTextColor(2, ui::RGB(255, 0, 0)));
    list.InsertItem(0, "new");
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(list.GetItemState(2, kMark), kMark);
    EXPECT_EQ(list.GetItemState(0, kMark), 0u); // inserted rows carry nothing
    EXPECT_EQ(list.GetItemToolTip(0), "");
    EXPECT_EQ(list.GetItemTextColor(0), CLR_DEFAULT);
    EXPECT_EQ(list.GetItemToolTip(2), "JPEG 10x10");
    EXPECT_EQ(list.GetItemTextColor(3), ui::RGB(255, 0, 0));
    list.DeleteItem(0);
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(list.GetItemToolTip(1), "JPEG 10x10");
    list.DeleteItem(1);
    EXPECT_EQ(Selected(), -1); // the selection went with its row
    EXPECT_EQ(list.GetItemState(1, LVIS_FOCUSED), 0u);
    EXPECT_EQ(list.GetItemTextColor(1), ui::RGB(255, 0, 0));
}

TEST_P(ListCtrlContract, OneRowAtATimeCarriesTheSelection) {
    Columns();
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
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(Selected(), -1);
}

TEST_P(ListCtrlContract, ClicksAndArrowKeysOfTheUserShowInTheStates) {
    Columns();
    Fill(3);
    subject->UserClicksRow(1);
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(list.GetItemState(1, kMark), kMark);
    subject->UserPressesDown();
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(list.GetItemState(2, kMark), kMark);
    EXPECT_EQ(list.GetItemState(1, kMark), 0u);
    subject->UserClicksRow(-1);
    EXPECT_EQ(Selected(), -1);
}

TEST_P(ListCtrlContract, TextsComeBackByteForByte) {
    Columns();
    Fill(1);
    const std::string latin1 = "/p/caf\xE9.jpg";
    const std::string chinese = "/扫描/第2页.jpg";
    ASSERT_TRUE(list.SetItemText(0, 1, latin1));
    EXPECT_EQ(list.GetItemText(0, 1), latin1);
    ASSERT_TRUE(list.SetItemText(0, 1, chinese));
    EXPECT_EQ(list.GetItemText(0, 1), chinese);
}

TEST_P(ListCtrlContract, ColumnsEndAtTheRightEdgeAtEverySize) {
    ListCtrlPeer &peer = subject->Peer();
    auto fits = [&peer](const char *when) {
        const int right = peer.GetClientRect().Width();
        EXPECT_EQ(peer.GetColumnWidth(0), 50) << when;
        EXPECT_EQ(peer.GetColumnWidth(0) + peer.GetColumnWidth(1), right) << when;
    };
    Columns();
    fits("as made");
    Fill(40); // more rows than the height shows: a scroll bar narrows the client area
    fits("with a scroll bar");
    subject->UserResizes(800, 300);
    fits("widened");
    subject->UserResizes(320, 200);
    fits("narrowed");
    subject->UserResizes(60, 200);
    EXPECT_EQ(peer.GetColumnWidth(1), ListCtrlPeer::kLeastLastColumnWidth);
}
