// Two-sided stacks through a one-sided feeder, headless: "双面合并" pairs the list's pages and
// undoes like any list command; the scan dialog's "单面进纸器扫描双面" scans the fronts, asks for
// the stack to be turned over, scans the backs and pairs them, and when the counts differ says
// so and keeps every page in scan order.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/DuplexTexts.h"
#include "app/ScanChoiceLists.h"
#include "app/ScanTexts.h"
#include "app/WindowTexts.h"
#include "tests/app/ScanWindowFixture.h"

namespace {

using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

class Duplex : public ScanWindowFixture {
protected:
    // The undo and redo items of the right-click menu after choosing `answer` in it.
    Strings RightClick(int answer) {
        ui.menuAnswers = {answer};
        Window().RightClickRow(IDC_LIST_IMAGES, List().HighlightedRow());
        const std::vector<MenuItem> &items = Window().LastPopupMenu();
        return {items[items.size() - 2].text, items.back().text};
    }
    // Scans with "单面进纸器扫描双面" ticked, from the feeder.
    void ScanBothSides() {
        inScanDialog = [](HeadlessDialog &dialog) { dialog.Click(IDC_SCAN_TWO_SIDED); };
        Scan({{IDC_SCAN_SOURCE, folvane::app::texts::kSourceFeeder},
              {IDC_SCAN_MODE, folvane::app::texts::kModeGray},
              {IDC_SCAN_RESOLUTION, "75 dpi"}});
    }
    // The scanned rows' page numbers (page-004.png is 4), in list order.
    std::vector<int> ScannedPages() {
        std::vector<int> pages;
        for (const std::string &path : Paths()) {
            if (path.rfind(pictures.Path(), 0) == 0) {
                pages.push_back(std::stoi(fs::path(path).stem().string().substr(5)));
            }
        }
        return pages;
    }
    // Feeder loads of these many sheets, one after the other, in each scan from now on.
    void Loads(std::vector<int> sheets) {
        dlg.Scanners().scan = [inner = driverScan, sheets, load = std::size_t{0},
                               this](auto &scanner, auto &folder, const auto &events) mutable {
            script->sheets = load < sheets.size() ? sheets[load] : 0;
            ++load;
            return inner(scanner, folder, events);
        };
    }

    const decltype(ScannerAccess::scan) driverScan = dlg.Scanners().scan;
};

TEST_F(Duplex, TheCommandPairsTheWholeListAndUndoGivesTheFeederOrderBack) {
    const Strings feeder = {"/p/s1.jpg", "/p/s2.jpg", "/p/s3.jpg",
                            "/p/s4.jpg", "/p/s5.jpg", "/p/s6.jpg"};
    Add(feeder);
    ClickRow(4);                                                         // s5, the second back
    EXPECT_EQ(RightClick(ID_INTERLEAVE), (Strings{"撤销添加", "重做"})); // as the menu opened
    EXPECT_EQ(Paths(), (Strings{"/p/s1.jpg", "/p/s6.jpg", "/p/s2.jpg", "/p/s5.jpg", "/p/s3.jpg",
                                "/p/s4.jpg"}));
    EXPECT_EQ(Numbers(), (Strings{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(dlg.Pages().current(), 3); // still on s5
    EXPECT_EQ(List().HighlightedRow(), 3);
    EXPECT_EQ(dlg.previews.back(), "/p/s5.jpg");

    EXPECT_EQ(RightClick(ID_EDIT_UNDO), (Strings{"撤销双面合并", "重做"}));
    EXPECT_EQ(RightClick(0), (Strings{"撤销添加", "重做双面合并"}));
    EXPECT_EQ(Paths(), feeder);
    EXPECT_EQ(dlg.Pages().current(), 4);
    Window().PressKey('Y', FCONTROL);
    EXPECT_EQ(Paths()[1], "/p/s6.jpg");
    // Ctrl+D pairs again: the list is now read as a new stack.
    Window().PressKey('D', FCONTROL);
    EXPECT_EQ(Paths(), (Strings{"/p/s1.jpg", "/p/s4.jpg", "/p/s6.jpg", "/p/s3.jpg", "/p/s2.jpg",
                                "/p/s5.jpg"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Duplex, AnOddOrEmptyListIsRefusedWithItsReasonAndStaysAsItWas) {
    Window().PressKey('D', FCONTROL);
    Add({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    Window().PressKey('D', FCONTROL);
    EXPECT_EQ(Messages(),
              (Strings{kMsgNoImages, folvane::app::texts::fill(
                                         folvane::app::texts::kInterleaveOddCount, {"3"})}));
    EXPECT_NE(Messages().back().find("列表中有 3 页"), std::string::npos);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}));
    EXPECT_EQ(RightClick(0), (Strings{"撤销添加", "重做"}));
}

TEST_F(Duplex, ScanningBothSidesPairsTheBacksWithTheFronts) {
    Add({"/p/a.jpg"});
    Loads({3, 3});
    ui.questionAnswers = {0}; // "扫描背面"
    ScanBothSides();
    ASSERT_TRUE(Messages().empty()) << Messages().front();
    const std::vector<UiEvent> questions = ui.Events(UiEvent::Kind::Question);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text,
              folvane::app::texts::fill(folvane::app::texts::kTurnStackOver, {"3"}));
    EXPECT_EQ(Window().questionButtons.back(), (Strings{"扫描背面", "不扫描背面"}));
    EXPECT_EQ(Paths()[0], "/p/a.jpg");
    EXPECT_EQ(ScannedPages(), (std::vector<int>{1, 6, 2, 5, 3, 4}));
    // The pairing is one command: Ctrl+Z gives the pages in the order scanned.
    EXPECT_EQ(RightClick(ID_EDIT_UNDO), (Strings{"撤销双面合并", "重做"}));
    EXPECT_EQ(ScannedPages(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(Duplex, BacksThatDoNotMatchTheFrontsAreNamedAndEveryPageStaysInScanOrder) {
    Add({"/p/a.jpg"});
    Loads({3, 2});
    ui.questionAnswers = {0};
    ScanBothSides();
    EXPECT_EQ(Messages(),
              (Strings{folvane::app::texts::fill(folvane::app::texts::kSidesDiffer, {"3", "2"})}));
    EXPECT_EQ(Paths()[0], "/p/a.jpg");
    EXPECT_EQ(ScannedPages(), (std::vector<int>{1, 2, 3, 4, 5}));

    // Nothing put back at all: no backs, said the same way.
    ui.events.clear();
    Loads({2, 0});
    ui.questionAnswers = {0};
    ScanBothSides();
    EXPECT_EQ(Messages(),
              (Strings{folvane::app::texts::fill(folvane::app::texts::kSidesDiffer, {"2", "0"})}));
    EXPECT_EQ(ScannedPages().size(), 7u);
}

TEST_F(Duplex, AFailureOrAStopBetweenTheSidesKeepsThePagesScanned) {
    Loads({3, 3});
    script->failAt = 5; // the second back
    ui.questionAnswers = {0};
    ScanBothSides();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages().front().substr(0, Messages().front().find('\n')), "扫描第 5 页时失败");
    EXPECT_EQ(ScannedPages(), (std::vector<int>{1, 2, 3, 4}));

    // "不扫描背面": the fronts stay as they came, and the scanner is not read again.
    ui.events.clear();
    script->failAt = 0;
    Loads({2, 2});
    ui.questionAnswers = {1};
    ScanBothSides();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ScannedPages().size(), 6u);
    EXPECT_EQ(RightClick(0), (Strings{"撤销添加", "重做"}));
}

} // namespace
