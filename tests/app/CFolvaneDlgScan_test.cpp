// "扫描" in the window, headless, against SANE's test driver: pages become rows at the end of
// the list as they arrive, in scan order, in a folder of the scan's own under the pictures
// folder; a feeder is refilled as often as the user answers "继续扫描"; a cancel keeps the pages
// scanned; every failure says why in the window's words and leaves the rows already there as
// they were; the dialog offers what the scanner offers and remembers the last choices.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "app/ScanChoiceLists.h"
#include "app/ScanMessages.h"
#include "app/ScanTexts.h"
#include "tests/app/ScanWindowFixture.h"
#include "tests/support/Pdf.h"

namespace {

using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

class ScanWindow : public ScanWindowFixture {
protected:
    // The rows of the list that are files of the scan's folder, by name.
    Strings ScannedNames() {
        Strings names;
        for (const std::string &path : Paths()) {
            if (path.rfind(pictures.Path(), 0) == 0) {
                names.push_back(fs::path(path).filename().string());
            }
        }
        return names;
    }
    static Strings PageNames(int first, int last, const std::string &extension = ".png") {
        Strings names;
        for (int n = first; n <= last; ++n) {
            names.push_back(folvane::scan::PageFolder::pageName(n, extension.c_str()));
        }
        return names;
    }
    Strings FirstRows(std::size_t count) {
        Strings rows = Paths();
        rows.resize(std::min(count, rows.size()));
        return rows;
    }
    // The rows a user already had before scanning.
    void AddTwoRows() {
        Add({"/p/b.jpg", "/p/a.jpg"});
        before = Paths();
    }

    const std::vector<Choice> kFeederGray = {{IDC_SCAN_SOURCE, folvane::app::texts::kSourceFeeder},
                                             {IDC_SCAN_MODE, folvane::app::texts::kModeGray},
                                             {IDC_SCAN_RESOLUTION, "75 dpi"}};
    Strings before;
};

TEST_F(ScanWindow, FeederPagesBecomeRowsAtTheEndInScanOrderAsEachArrives) {
    AddTwoRows();
    script->sheets = 5;
    // What the list held while each page was being read.
    std::vector<std::pair<std::string, int>> seen;
    ui.onProgress = [&](ProgressState &state) {
        ui.RunPosted();
        const std::string text = state.Read().text;
        if (seen.empty() || seen.back().first != text) {
            seen.emplace_back(text, List().GetItemCount());
        }
    };
    ui.questionAnswers = {1}; // "完成" when the feeder has run empty
    Scan(kFeederGray);

    ASSERT_EQ(SessionFolders().size(), 1u);
    const std::string folder = SessionFolders().front();
    EXPECT_EQ(fs::path(folder).filename().string().rfind("扫描 20", 0), 0u) << folder;
    Strings expected = before;
    for (const std::string &name : PageNames(1, 5)) {
        expected.push_back(folder + "/" + name);
        EXPECT_TRUE(fs::is_regular_file(expected.back())) << expected.back();
    }
    EXPECT_EQ(Paths(), expected);
    EXPECT_EQ(Numbers(), (Strings{"1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(support::Listing(folder),
              (std::set<std::string>{"page-001.png", "page-002.png", "page-003.png", "page-004.png",
                                     "page-005.png"}));
    // Page 4 was read with three rows of the scan already in the list.
    const auto fourth = std::find_if(seen.begin(), seen.end(),
                                     [](const auto &s) { return s.first == "正在扫描第 4 页"; });
    ASSERT_NE(fourth, seen.end());
    EXPECT_EQ(fourth->second, 2 + 3);
    EXPECT_EQ(ui.Events(UiEvent::Kind::Question).front().text,
              "进纸器已空, 已扫描 5 页。\n放入更多页面后选\"继续扫描\"; 没有了就选\"完成\"。");
    EXPECT_EQ(Window().questionButtons.back(), (Strings{"继续扫描", "完成"}));
    EXPECT_TRUE(Messages().empty());

    // Scanned rows are rows like any other: checked, and good.
    SettleChecks();
    for (int row = 2; row < 7; ++row) {
        ASSERT_TRUE(dlg.Pages().at(row).facts.has_value());
        EXPECT_TRUE(dlg.Pages().at(row).facts->ok) << row;
    }
}

TEST_F(ScanWindow, FiftyPagesInFiveLoadsOfTenBecomeAFiftyPagePdf) {
    ui.questionAnswers = {0, 0, 0, 0, 1}; // "继续扫描" four times, then "完成"
    Scan({{IDC_SCAN_SOURCE, folvane::app::texts::kSourceFeeder},
          {IDC_SCAN_MODE, folvane::app::texts::kModeGray},
          {IDC_SCAN_RESOLUTION, "300 dpi"},
          {IDC_SCAN_PAGE_SIZE, folvane::app::texts::kPageA4}});
    ASSERT_TRUE(Messages().empty()) << Messages().front();
    EXPECT_EQ(ScannedNames(), PageNames(1, 50));
    EXPECT_EQ(ui.Events(UiEvent::Kind::Question).size(), 5u);
    EXPECT_EQ(ui.Events(UiEvent::Kind::Question).back().text.rfind("进纸器已空, 已扫描 50 页。", 0),
              0u);
    // The count goes on over the loads.
    const Strings progress = ProgressTexts();
    EXPECT_NE(std::find(progress.begin(), progress.end(), "正在扫描第 11 页"), progress.end());
    EXPECT_NE(std::find(progress.begin(), progress.end(), "正在扫描第 50 页"), progress.end());

    const std::string pdf = pictures / "scan.pdf";
    ui.saveAnswers.push_back(pdf);
    Click(IDC_BTN_BROWSE);
    Click(IDC_RADIO_FIT);
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages().front(), std::string(kMsgSuccess) + "\n共 50 页, 已保存到 " + pdf);
    EXPECT_EQ(support::PageCount(pdf), 50);
    EXPECT_TRUE(support::QpdfCheck(pdf));
}

TEST_F(ScanWindow, ACancelDropsThePageBeingReadAndKeepsThoseScanned) {
    AddTwoRows();
    // The third page waits, part read, until the window has asked to cancel.
    std::atomic<bool> thirdPageReading{false};
    std::atomic<bool> cancelled{false};
    script->onProgress = [&](const folvane::scan::PageProgress &at) {
        if (at.page == 3 && at.bytesRead > 0) {
            thirdPageReading = true;
            // Bounded, so that a window that never cancels fails the test instead of hanging it.
            for (int waited = 0; !cancelled && waited < 20000; ++waited) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    };
    ui.onProgress = [&](ProgressState &state) {
        if (thirdPageReading && !cancelled) {
            state.RequestCancel(); // the progress window's "取消"
            cancelled = true;
        }
    };
    Scan(kFeederGray);

    EXPECT_EQ(ScannedNames(), PageNames(1, 2));
    ASSERT_EQ(SessionFolders().size(), 1u);
    EXPECT_EQ(support::Listing(SessionFolders().front()),
              (std::set<std::string>{"page-001.png", "page-002.png"}));
    EXPECT_EQ(Paths().size(), 4u);
    EXPECT_EQ(FirstRows(2), before);
    // A cancel is the user's own doing: no box, no question.
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(ui.Events(UiEvent::Kind::Question).empty());
}

struct FailureCase {
    const char *status; // the driver's word
    const char *sentence;
};

void PrintTo(const FailureCase &c, std::ostream *out) {
    *out << c.status;
}

const FailureCase kFailures[] = {
    {"SANE_STATUS_JAMMED", folvane::app::texts::kScanPaperJam},
    {"SANE_STATUS_COVER_OPEN", folvane::app::texts::kScanCoverOpen},
    {"SANE_STATUS_IO_ERROR", "扫描仪没有回应(输入输出错误): 请检查它的数据线或网络连接。（Error "
                             "during device I/O）"},
    {"SANE_STATUS_DEVICE_BUSY", folvane::app::texts::kScanBusy},
};

class ScanFailing : public ScanWindow, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ScanFailing, AtTheFirstPageSaysWhyAndLeavesTheListAsItWas) {
    AddTwoRows();
    script->failAt = 1;
    script->status = GetParam().status;
    Scan(kFeederGray);
    EXPECT_EQ(Messages(), (Strings{std::string("扫描第 1 页时失败\n") + GetParam().sentence}));
    EXPECT_EQ(Paths(), before);
    // No page, so no folder either.
    EXPECT_TRUE(SessionFolders().empty());
}

TEST_P(ScanFailing, AtTheThirdPageKeepsTheTwoBeforeIt) {
    AddTwoRows();
    script->failAt = 3;
    script->status = GetParam().status;
    Scan(kFeederGray);
    ASSERT_EQ(SessionFolders().size(), 1u);
    EXPECT_EQ(Messages(),
              (Strings{std::string("扫描第 3 页时失败\n") + GetParam().sentence +
                       "\n已扫描的 2 页已加入列表, 文件在 " + SessionFolders().front()}));
    EXPECT_EQ(FirstRows(2), before);
    EXPECT_EQ(ScannedNames(), PageNames(1, 2));
}

INSTANTIATE_TEST_SUITE_P(Statuses, ScanFailing, ::testing::ValuesIn(kFailures),
                         [](const auto &test) { return std::string(test.param.status + 12); });

TEST_F(ScanWindow, AFailureOnALaterLoadKeepsTheEarlierLoads) {
    script->sheets = 3;
    script->failAt = 5; // the second page of the second load
    ui.questionAnswers = {0};
    Scan(kFeederGray);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages().front().substr(0, Messages().front().find('\n')), "扫描第 5 页时失败");
    EXPECT_EQ(ScannedNames(), PageNames(1, 4));
}

TEST_F(ScanWindow, AnEmptyFeederIsSaidAtOnceAndAskedAboutAfterPages) {
    script->sheets = 0;
    Scan(kFeederGray);
    EXPECT_EQ(Messages(), (Strings{std::string("扫描第 1 页时失败\n") +
                                   folvane::app::texts::kScanFeederEmpty}));
    EXPECT_TRUE(ScannedNames().empty());

    // "继续扫描" with nothing put in: the same question again, not a failure.
    ui.events.clear();
    script->sheets = 2;
    ui.questionAnswers = {0, 1};
    int loads = 0;
    dlg.Scanners().scan = [inner = dlg.Scanners().scan, &loads, this](auto &scanner, auto &folder,
                                                                      const auto &events) {
        script->sheets = ++loads == 1 ? 2 : 0;
        return inner(scanner, folder, events);
    };
    Scan(kFeederGray);
    EXPECT_TRUE(Messages().empty()) << Messages().front();
    EXPECT_EQ(ui.Events(UiEvent::Kind::Question).size(), 2u);
    EXPECT_EQ(ScannedNames(), PageNames(1, 2));
}

TEST_F(ScanWindow, NoScannerFoundSaysWhatToCheckAndKeepsTheDialogOpenToLookAgain) {
    AddTwoRows();
    std::atomic<int> looks = 0;
    dlg.Scanners().list = [&looks] {
        ++looks;
        return std::vector<folvane::scan::DeviceInfo>{};
    };
    ui.questionAnswers = {0, 1}; // "重试", then "确定"
    bool stayedOpen = false;
    Strings devices;
    bool scanAllowed = true;
    Strings buttons;
    ui.onModal = [&](HeadlessDialog &dialog) {
        if (dialog.Template().id != IDD_SCAN_DIALOG) {
            return;
        }
        ASSERT_TRUE(RunPostedUntil([&] { return ui.Events(UiEvent::Kind::Question).size() == 2; }));
        stayedOpen = !dialog.Ended();
        devices = Items(dialog, IDC_SCAN_DEVICE);
        scanAllowed = dialog.Wnd(IDOK)->IsWindowEnabled();
        buttons = dialog.questionButtons.back();
        dialog.PressEscape();
    };
    Click(IDC_BTN_SCAN);
    ui.onModal = nullptr;

    EXPECT_EQ(looks, 2); // looked again after "重试"
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(devices, Strings{"未找到扫描仪"});
    EXPECT_FALSE(scanAllowed);
    EXPECT_EQ(buttons, (Strings{"重试", "确定"}));
    EXPECT_TRUE(Messages().empty());
    const auto asked = ui.Events(UiEvent::Kind::Question);
    ASSERT_EQ(asked.size(), 2u);
    const std::string message = asked.front().text;
    EXPECT_EQ(message.rfind(std::string(folvane::app::texts::kScanNoDevice) + "\n", 0), 0u)
        << message;
    for (const char *hint : {"电源", "scanner 组", "/etc/sane.d/net.conf", "saned"}) {
        EXPECT_NE(message.find(hint), std::string::npos) << hint;
    }
    EXPECT_EQ(asked.front().style, 0u); // the answer given: "重试"
    EXPECT_EQ(Paths(), before);
    EXPECT_EQ(script->opened, 0);
}

TEST_F(ScanWindow, AScannerThatHasGoneIsNamedAndNothingIsScanned) {
    dlg.Scanners().list = [] {
        return std::vector<folvane::scan::DeviceInfo>{{"test:9", "Noname", "gone", "virtual"}};
    };
    Scan({}, true);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages().front().rfind("没有找到扫描仪“test:9”。\n请检查", 0), 0u)
        << Messages().front();
    EXPECT_TRUE(Paths().empty());
}

TEST_F(ScanWindow, TheDialogLooksForScannersThenOffersWhatTheChosenOneDoes) {
    std::vector<Strings> whileLooking;
    inScanDialog = [&](HeadlessDialog &dialog) {
        whileLooking.push_back(Items(dialog, IDC_SCAN_DEVICE));
        EXPECT_FALSE(dialog.Wnd(IDC_SCAN_DEVICE)->IsWindowEnabled());
        EXPECT_FALSE(dialog.Wnd(IDOK)->IsWindowEnabled());
        EXPECT_EQ(dialog.Wnd(IDC_SCAN_FOLDER)->GetWindowText(),
                  "扫描的页面保存在 " + pictures.Path() + "/Folvane 中");
    };
    Strings devices, sources, modes, resolutions, sizes, hints;
    std::function<void(HeadlessDialog &)> look = [&](HeadlessDialog &dialog) {
        devices = Items(dialog, IDC_SCAN_DEVICE);
        sources = Items(dialog, IDC_SCAN_SOURCE);
        modes = Items(dialog, IDC_SCAN_MODE);
        resolutions = Items(dialog, IDC_SCAN_RESOLUTION);
        sizes = Items(dialog, IDC_SCAN_PAGE_SIZE);
        EXPECT_EQ(Chosen(dialog, IDC_SCAN_RESOLUTION), "300 dpi");
        EXPECT_EQ(Chosen(dialog, IDC_SCAN_PAGE_SIZE), "A4");
        // The test driver's bed is set to 300 x 300 mm here: every paper fits, nothing is said.
        hints.push_back(dialog.Wnd(IDC_SCAN_PAGE_HINT)->GetWindowText());
        dialog.ChooseItem(IDC_SCAN_PAGE_SIZE, 1);
        hints.push_back(dialog.Wnd(IDC_SCAN_PAGE_HINT)->GetWindowText());
        dialog.ChooseItem(IDC_SCAN_PAGE_SIZE, 2);
        hints.push_back(dialog.Wnd(IDC_SCAN_PAGE_HINT)->GetWindowText());
    };
    Scan({}, true);
    ASSERT_EQ(whileLooking.size(), 1u);
    EXPECT_EQ(whileLooking.front(), (Strings{folvane::app::texts::kScanLooking}));
    // The dialog was cancelled: nothing scanned, no folder made.
    EXPECT_TRUE(Paths().empty());
    EXPECT_TRUE(SessionFolders().empty());

    inScanDialog = [&](HeadlessDialog &dialog) {
        ASSERT_TRUE(RunPostedUntil([&] { return dialog.Wnd(IDOK)->IsWindowEnabled(); }));
        look(dialog);
    };
    Scan({}, true);
    EXPECT_EQ(devices,
              (Strings{"Noname frontend-tester (test:0)", "Noname frontend-tester (test:1)"}));
    EXPECT_EQ(sources, (Strings{"平板", "自动进纸器"}));
    EXPECT_EQ(modes, (Strings{"彩色", "灰度", "黑白"}));
    EXPECT_EQ(resolutions, (Strings{"75 dpi", "100 dpi", "150 dpi", "200 dpi", "300 dpi", "400 dpi",
                                    "600 dpi", "1200 dpi"}));
    EXPECT_EQ(sizes, (Strings{"A4", "Letter", "整个扫描区域"}));
    EXPECT_EQ(hints, (Strings{"", "", ""}));
}

// Under the page size, the dialog says when the paper is larger than the scanner's bed.
TEST(ScanPaperHint, SaysWhenThePaperIsLargerThanTheBed) {
    ScanChoiceLists lists;
    lists.pageSizes.add("A4", folvane::scan::PageSize::A4);
    lists.pageSizes.add("Letter", folvane::scan::PageSize::Letter);
    lists.pageSizes.add("max", folvane::scan::PageSize::Maximum);
    lists.bed = folvane::scan::ScanArea{0, 0, 200, 200};
    EXPECT_EQ(paperHint(lists, 0),
              "纸张（210 x 297 毫米）比扫描仪的扫描区域（200 x 200 毫米）大, 只扫描扫描仪上的部分");
    EXPECT_EQ(paperHint(lists, 1), "纸张（215.9 x 279.4 毫米）比扫描仪的扫描区域（200 x 200 "
                                   "毫米）大, 只扫描扫描仪上的部分");
    EXPECT_EQ(paperHint(lists, 2), "");
    // A letter-wide bed stated a fraction short, and a bed of unknown size, say nothing.
    lists.bed = folvane::scan::ScanArea{0, 0, 215.8, 297};
    EXPECT_EQ(paperHint(lists, 0), "");
    EXPECT_EQ(paperHint(lists, 1), "");
    lists.bed.reset();
    EXPECT_EQ(paperHint(lists, 0), "");
}

TEST_F(ScanWindow, TheDialogRemembersTheLastChoices) {
    Scan({{IDC_SCAN_DEVICE, "Noname frontend-tester (test:1)"},
          {IDC_SCAN_SOURCE, folvane::app::texts::kSourceFlatbed},
          {IDC_SCAN_MODE, folvane::app::texts::kModeLineart},
          {IDC_SCAN_RESOLUTION, "150 dpi"},
          {IDC_SCAN_PAGE_SIZE, folvane::app::texts::kPageLetter}});
    // A flatbed gives one page a press, black and white as a G4 TIFF.
    EXPECT_EQ(ScannedNames(), PageNames(1, 1, ".tif"));
    EXPECT_TRUE(ui.Events(UiEvent::Kind::Question).empty());

    std::vector<std::string> shown;
    inScanDialog = [&](HeadlessDialog &dialog) {
        ASSERT_TRUE(RunPostedUntil([&] { return dialog.Wnd(IDOK)->IsWindowEnabled(); }));
        for (int id : {IDC_SCAN_DEVICE, IDC_SCAN_SOURCE, IDC_SCAN_MODE, IDC_SCAN_RESOLUTION,
                       IDC_SCAN_PAGE_SIZE}) {
            shown.push_back(Chosen(dialog, id));
        }
    };
    Scan({}, true);
    EXPECT_EQ(shown,
              (Strings{"Noname frontend-tester (test:1)", "平板", "黑白", "150 dpi", "Letter"}));
}

TEST(ScanMessages, EveryKindIsWordedInTheWindowsLanguageWithTheDriversWordsInParentheses) {
    using folvane::scan::ScanError;
    using folvane::scan::ScanErrorKind;
    std::set<std::string> sentences;
    for (int kind = 0; kind <= static_cast<int>(ScanErrorKind::Other); ++kind) {
        ScanError error;
        error.kind = static_cast<ScanErrorKind>(kind);
        error.detail = "driver words";
        error.option = "resolution";
        error.value = "5000";
        error.path = "/p/page-001.png";
        const std::string text = scanErrorText(error);
        EXPECT_TRUE(sentences.insert(text.substr(0, text.find("（"))).second) << text;
        // Nothing English outside the parentheses but the names filled in.
        const std::string outside = text.substr(0, text.find("（"));
        EXPECT_EQ(outside.find("driver"), std::string::npos) << text;
    }
    ScanError refused;
    refused.kind = ScanErrorKind::InvalidOption;
    refused.option = "resolution";
    refused.value = "5000";
    refused.detail = "it offers 1..1200";
    EXPECT_EQ(scanErrorText(refused),
              "扫描仪的选项“resolution”不接受“5000”。（it offers 1..1200）");
}

} // namespace

namespace {

// English for the few texts around a scan that stayed Chinese in the English window; every other
// text as it is, so that the scan dialog is answered as always.
class ScanWordsInEnglish : public Translation {
public:
    std::string Translate(const char * /*context*/, const char *source, int /*n*/) const override {
        const std::string text = source;
        return text == "系统提示" ? "Notice"
               : text == "取消"   ? "Cancel"
               : text == "扫描"   ? "Scan"
                                  : text;
    }
    bool IsSourceLanguage() const override { return false; }
};

TEST_F(ScanWindow, TheFeederQuestionTheProgressWindowAndTheFolderSpeakTheWindowsLanguage) {
    static ScanWordsInEnglish english;
    UseTranslation(&english);
    script->sheets = 2;
    ui.questionAnswers = {1}; // "完成"
    Scan(kFeederGray);
    UseTranslation(nullptr);
    const std::vector<UiEvent> questions = ui.Events(UiEvent::Kind::Question);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].caption, "Notice");
    EXPECT_EQ(ui.lastProgress.cancelText, "Cancel");
    const Strings folders = SessionFolders();
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(fs::path(folders[0]).filename().string().rfind("Scan 20", 0), 0u) << folders[0];
}

} // namespace
