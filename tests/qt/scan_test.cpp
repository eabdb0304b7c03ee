// "扫描" in the real window, against SANE's test driver: the button and its place, the scan
// dialog as Qt widgets (its scanner list filled from the scanner thread, its choices kept in the
// window's settings), the progress window with its cancel, pages arriving as rows, a feeder
// refilled to fifty pages and written as one PDF, a paper jam.

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/ScanTexts.h"
#include "tests/app/TestScanners.h"
#include "tests/qt/RunWatcher.h"
#include "tests/qt/Screenshots.h"
#include "tests/qt/WindowFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"

namespace {

using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

// Answers the scan dialog as a user would: waits until the chosen scanner's offer is in, picks
// each choice (another scanner's offer is waited for again), then presses its "扫描", or
// "取消" with cancel. look runs first, with the dialog as it shows the offer.
class ScanDialogAnswer : public QObject {
public:
    using Choice = std::pair<int, std::string>;

    ScanDialogAnswer(std::vector<Choice> choices, bool cancel = false)
        : m_choices(std::move(choices)), m_cancel(cancel) {
        m_tick.setInterval(5);
        QObject::connect(&m_tick, &QTimer::timeout, this, [this] { Tick(); });
        m_tick.start();
    }

    std::function<void(QtDialog &)> whileLooking; // once, before the scanners are in
    std::function<void(QtDialog &)> look;         // once, when the offer is in
    bool answered = false;

private:
    void Tick() {
        auto *dialog = qobject_cast<QtDialog *>(QApplication::activeModalWidget());
        if (answered || !dialog || dialog->windowTitle() != folvane::app::texts::kScanCaption) {
            return;
        }
        auto *scan = qobject_cast<QPushButton *>(dialog->ControlWidget(IDOK));
        if (!scan->isEnabled()) {
            if (whileLooking) {
                whileLooking(*dialog);
                whileLooking = nullptr;
            }
            return;
        }
        if (look) {
            look(*dialog);
            look = nullptr;
        }
        if (m_next < m_choices.size()) {
            Choose(*dialog, m_choices[m_next++]);
            return;
        }
        answered = true;
        QApplication::setActiveWindow(dialog);
        (m_cancel ? qobject_cast<QPushButton *>(dialog->ControlWidget(IDCANCEL)) : scan)->click();
    }

    static void Choose(QtDialog &dialog, const Choice &choice) {
        auto *list = qobject_cast<QComboBox *>(dialog.ControlWidget(choice.first));
        const int index = list->findText(QString::fromStdString(choice.second));
        ASSERT_GE(index, 0) << choice.second;
        list->setCurrentIndex(index);
        emit list->activated(index); // as a pick with the mouse announces it
    }

    std::vector<Choice> m_choices;
    std::size_t m_next = 0;
    bool m_cancel;
    QTimer m_tick;
};

class Scanning : public WindowFixture {
protected:
    Scanning() {
        scan_test::UseTestDriver();
        // A pictures folder named as a Chinese desktop names it.
        ::setenv("XDG_PICTURES_DIR", (pictures / "图片").c_str(), 1);
        dlg->Scanners() = scan_window_test::TestScanners(script);
    }
    ~Scanning() override { ::unsetenv("XDG_PICTURES_DIR"); }

    Strings ScannedNames() {
        Strings names;
        for (const std::string &path : Paths()) {
            if (path.rfind(pictures.Path(), 0) == 0) {
                names.push_back(fs::path(path).filename().string());
            }
        }
        return names;
    }
    static Strings PageNames(int last) {
        Strings names;
        for (int n = 1; n <= last; ++n) {
            names.push_back(folvane::scan::PageFolder::pageName(n, ".png"));
        }
        return names;
    }
    static std::string Chosen(QtDialog &dialog, int id) {
        return qobject_cast<QComboBox *>(dialog.ControlWidget(id))->currentText().toStdString();
    }

    const std::vector<ScanDialogAnswer::Choice> kFeederGray = {
        {IDC_SCAN_SOURCE, folvane::app::texts::kSourceFeeder},
        {IDC_SCAN_MODE, folvane::app::texts::kModeGray},
        {IDC_SCAN_RESOLUTION, "75 dpi"}};
    std::shared_ptr<scan_window_test::DriverScript> script =
        std::make_shared<scan_window_test::DriverScript>();
    support::TempDir pictures;
};

TEST_F(Scanning, TheButtonStandsBesideAddImagesAndComesNextInTheTabOrder) {
    QWidget *add = window->ControlWidget(IDC_BTN_ADD_IMAGES);
    auto *scan = Widget<QPushButton>(IDC_BTN_SCAN);
    ASSERT_NE(scan, nullptr);
    EXPECT_EQ(scan->text().toStdString(), "扫描");
    EXPECT_TRUE(scan->isVisible());
    EXPECT_EQ(add->nextInFocusChain(), scan);
    EXPECT_EQ(scan->geometry().top(), add->geometry().top());
    EXPECT_GT(scan->geometry().left(), add->geometry().right());
    EXPECT_LT(scan->geometry().right(), window->ControlWidget(IDC_BTN_MOVE_UP)->geometry().left());
    // Every caption of the row fits its button.
    for (int id :
         {IDC_BTN_ADD_IMAGES, IDC_BTN_SCAN, IDC_BTN_MOVE_UP, IDC_BTN_MOVE_DOWN, IDC_BTN_MOVE_TOP,
          IDC_BTN_MOVE_BOTTOM, IDC_BTN_DELETE, IDC_BTN_CLEAR_LIST, IDC_BTN_SORT_BY_NAME}) {
        auto *button = Widget<QPushButton>(id);
        EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 4)
            << button->text().toStdString();
    }
    // The last button of the row ends where the list does.
    EXPECT_EQ(window->ControlWidget(IDC_BTN_SORT_BY_NAME)->geometry().right(),
              List()->geometry().right());
}

TEST_F(Scanning, AFeederScanFillsTheListPageByPageAndTheDialogShowsTheOffer) {
    script->sheets = 5;
    script->picture = "Color pattern";
    ScanDialogAnswer answer(kFeederGray);
    // Looking for scanners takes as long as the test needs to see the dialog meanwhile.
    std::atomic<bool> seenLooking{false};
    dlg->Scanners().list = [&seenLooking] {
        for (int waited = 0; !seenLooking && waited < 20000; ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return folvane::scan::listDevices();
    };
    std::string looking;
    bool listEnabledWhileLooking = true;
    answer.whileLooking = [&](QtDialog &dialog) {
        auto *devices = qobject_cast<QComboBox *>(dialog.ControlWidget(IDC_SCAN_DEVICE));
        looking = devices->currentText().toStdString();
        listEnabledWhileLooking = devices->isEnabled();
        seenLooking = true;
    };
    Strings shown;
    answer.look = [&](QtDialog &dialog) {
        for (int id : {IDC_SCAN_DEVICE, IDC_SCAN_SOURCE, IDC_SCAN_MODE, IDC_SCAN_RESOLUTION,
                       IDC_SCAN_PAGE_SIZE}) {
            shown.push_back(Chosen(dialog, id));
        }
        KeepScreenshotOver(window, &dialog, "scan-dialog.png");
    };
    RunWatcher watcher;
    watcher.answers = {folvane::app::texts::kAnswerScanDone};
    Click(IDC_BTN_SCAN);

    EXPECT_EQ(looking, folvane::app::texts::kScanLooking);
    EXPECT_FALSE(listEnabledWhileLooking);
    EXPECT_EQ(shown, (Strings{"Noname frontend-tester (test:0)", "平板", "灰度", "300 dpi", "A4"}));
    EXPECT_EQ(ScannedNames(), PageNames(5));
    for (const std::string &path : Paths()) {
        EXPECT_TRUE(fs::is_regular_file(path)) << path;
    }
    ASSERT_EQ(watcher.boxes.size(), 1u);
    EXPECT_EQ(watcher.boxes.front().rfind("系统提示|进纸器已空, 已扫描 5 页。", 0), 0u);
    // The first scanned page is the current row, shown in the preview.
    EXPECT_EQ(dlg->HighlightedRow(), 0);
}

TEST_F(Scanning, TheProgressWindowShowsThePageAndItsCancelKeepsThePagesScanned) {
    script->picture = "Grid";
    // The third page waits, half read, until the test has looked and cancelled.
    std::atomic<bool> thirdPageReading{false};
    std::atomic<bool> released{false};
    script->onProgress = [&](const folvane::scan::PageProgress &at) {
        if (at.page == 3 && at.bytesExpected > 0 && at.bytesRead * 2 >= at.bytesExpected) {
            thirdPageReading = true;
            // Bounded, so that a window that never cancels fails the test instead of hanging it.
            for (int waited = 0; !released && waited < 20000; ++waited) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    };
    // In colour at 150 dpi, fitted to the page, as the picture in the docs shows it.
    Click(IDC_RADIO_FIT);
    ScanDialogAnswer answer({{IDC_SCAN_SOURCE, folvane::app::texts::kSourceFeeder},
                             {IDC_SCAN_MODE, folvane::app::texts::kModeColor},
                             {IDC_SCAN_RESOLUTION, "150 dpi"}});
    RunWatcher watcher;
    int rowsWhileReading = -1;
    int bar = -1; // percent
    std::string text;
    std::string detail;
    watcher.onProgress = [&](QtProgressDialog &progress, const std::string &shown) {
        if (!thirdPageReading || released || shown != "正在扫描第 3 页") {
            return;
        }
        rowsWhileReading = List()->GetItemCount();
        const QProgressBar *shownBar = progress.findChild<QProgressBar *>();
        bar = shownBar->value() * 100 / shownBar->maximum();
        // The second page's row and the window's next look at the page may be on their way.
        if (rowsWhileReading < 2 || bar < 50) {
            return;
        }
        text = shown;
        detail =
            progress.findChild<QLabel *>(QStringLiteral("progressDetail"))->text().toStdString();
        KeepScreenshotOver(window, &progress, "scan-progress.png");
        progress.findChild<QPushButton *>(QStringLiteral("progressCancel"))->click();
        released = true;
    };
    Click(IDC_BTN_SCAN);

    EXPECT_EQ(rowsWhileReading, 2);
    EXPECT_EQ(text, "正在扫描第 3 页");
    EXPECT_GE(bar, 50) << "the bar shows the share of the page read";
    EXPECT_LT(bar, 100);
    // The folder, shortened in its middle to the window's width.
    EXPECT_EQ(detail.rfind("保存到 /", 0), 0u) << detail;
    EXPECT_NE(detail.find("Folvane/扫描 "), std::string::npos) << detail;
    EXPECT_EQ(ScannedNames(), PageNames(2));
    EXPECT_TRUE(watcher.boxes.empty());
}

TEST_F(Scanning, FiftyPagesFromAFeederLoadedFiveTimesBecomeAFiftyPagePdf) {
    ScanDialogAnswer answer({{IDC_SCAN_SOURCE, folvane::app::texts::kSourceFeeder},
                             {IDC_SCAN_MODE, folvane::app::texts::kModeGray},
                             {IDC_SCAN_RESOLUTION, "300 dpi"},
                             {IDC_SCAN_PAGE_SIZE, folvane::app::texts::kPageA4}});
    {
        RunWatcher watcher;
        watcher.answers = {"继续扫描", "继续扫描", "继续扫描", "继续扫描", "完成"};
        Click(IDC_BTN_SCAN);
        ASSERT_EQ(watcher.boxes.size(), 5u);
        EXPECT_EQ(watcher.boxes.back().rfind("系统提示|进纸器已空, 已扫描 50 页。", 0), 0u);
    }
    EXPECT_EQ(ScannedNames(), PageNames(50));

    const std::string pdf = pictures / "book.pdf";
    dlg->SetSavePath(pdf);
    dlg->UpdateData(false);
    Click(IDC_RADIO_FIT);
    RunWatcher generating;
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(generating.boxes, (Strings{"系统提示|操作成功!\n共 50 页, 已保存到 " + pdf}));
    EXPECT_EQ(support::PageCount(pdf), 50);
    EXPECT_TRUE(support::QpdfCheck(pdf));
}

TEST_F(Scanning, APaperJamSaysSoAndKeepsThePagesBeforeIt) {
    QApplication::processEvents();
    AddRows({"/p/a.jpg"});
    script->failAt = 3;
    ScanDialogAnswer answer(kFeederGray);
    RunWatcher watcher;
    Click(IDC_BTN_SCAN);
    ASSERT_EQ(watcher.boxes.size(), 1u);
    const std::string folder = fs::path(Paths().back()).parent_path().string();
    EXPECT_EQ(watcher.boxes.front(), std::string("系统提示|扫描第 3 页时失败\n") +
                                         folvane::app::texts::kScanPaperJam +
                                         "\n已扫描的 2 页已加入列表, 文件在 " + folder);
    EXPECT_EQ(Paths().front(), "/p/a.jpg");
    EXPECT_EQ(ScannedNames(), PageNames(2));
}

TEST_F(Scanning, TheDialogRemembersItsChoicesAcrossRuns) {
    {
        ScanDialogAnswer answer({{IDC_SCAN_DEVICE, "Noname frontend-tester (test:1)"},
                                 {IDC_SCAN_SOURCE, folvane::app::texts::kSourceFlatbed},
                                 {IDC_SCAN_MODE, folvane::app::texts::kModeColor},
                                 {IDC_SCAN_RESOLUTION, "100 dpi"},
                                 {IDC_SCAN_PAGE_SIZE, folvane::app::texts::kPageMaximum}});
        Click(IDC_BTN_SCAN);
        ASSERT_TRUE(answer.answered);
    }
    EXPECT_EQ(ScannedNames(), PageNames(1));
    // A new window on the same settings, as the next start of the program.
    Close();
    Open();
    dlg->Scanners() = scan_window_test::TestScanners(script);
    Strings shown;
    ScanDialogAnswer again({}, true);
    again.look = [&](QtDialog &dialog) {
        for (int id : {IDC_SCAN_DEVICE, IDC_SCAN_SOURCE, IDC_SCAN_MODE, IDC_SCAN_RESOLUTION,
                       IDC_SCAN_PAGE_SIZE}) {
            shown.push_back(Chosen(dialog, id));
        }
    };
    Click(IDC_BTN_SCAN);
    EXPECT_EQ(shown, (Strings{"Noname frontend-tester (test:1)", "平板", "彩色", "100 dpi",
                              "整个扫描区域"}));
    EXPECT_TRUE(Paths().empty());
}

} // namespace
