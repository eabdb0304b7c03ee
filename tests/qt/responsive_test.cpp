// The window stays responsive through a long run. It is timed, so CTest runs it alone.

#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "tests/qt/RunWatcher.h"
#include "tests/qt/WindowFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/PeakMemory.h"

namespace {

using namespace support;
using Strings = std::vector<std::string>;

class Responsive : public WindowFixture {
protected:
    TempDir dir;
};

// The longest time the event loop went without running a 5 ms tick, while it was watched.
class LoopWatch : public QObject {
public:
    LoopWatch() {
        tick.setInterval(5);
        QObject::connect(&tick, &QTimer::timeout, this, [this] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        clock.start();
        tick.start();
    }
    qint64 longest = 0;

private:
    QTimer tick;
    QElapsedTimer clock;
    qint64 last = 0;
};

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The window stays responsive through a 500-page run: the progress window repaints whenever
// asked, never more than 200 ms apart. One small photo repeated keeps it quick;
// FOLVANE_RESPONSIVE_PAGES and FOLVANE_RESPONSIVE_PHOTO (a path, such as a camera photo of the
// bench corpus) change the batch.
TEST_F(Responsive, TheProgressWindowRepaintsAtLeastEvery200Ms) {
    const char *pages = std::getenv("FOLVANE_RESPONSIVE_PAGES");
    const char *photo = std::getenv("FOLVANE_RESPONSIVE_PHOTO");
    const int count = pages ? std::atoi(pages) : 500;
    std::string page = photo ? std::string(photo) : dir / "p.jpg";
    if (!photo) {
        WriteFile(page, MakeJpeg(Pattern(1024, 768, 3)));
    }
    AddRows(std::vector<std::string>(count, page));
    dlg->SetSavePath(dir / "book.pdf");
    dlg->UpdateData(false);
    RunWatcher watcher;
    const auto start = std::chrono::steady_clock::now();
    Click(IDC_BTN_GENERATE);
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ(watcher.boxes, (Strings{"系统提示|操作成功!\n共 " + std::to_string(count) +
                                      " 页, 已保存到 " + (dir / "book.pdf")}));
    EXPECT_EQ(watcher.progressTexts.back(),
              "第 " + std::to_string(count) + " / " + std::to_string(count) + " 页");
    EXPECT_GT(watcher.Paints(), 1);
    EXPECT_LE(watcher.LongestPaintGap(), 200);
    std::printf("%d pages in %.1f s, %d paints of the progress window, longest gap %lld ms\n",
                count, seconds, watcher.Paints(),
                static_cast<long long>(watcher.LongestPaintGap()));
}

} // namespace

namespace {

// 5000 rows: adding them, their pre-flight, scrolling through the list and "重新排序" keep the
// window answering: while the files are checked and while the list scrolls, the event loop is
// never held more than 200 ms; the add and the sort are one step each, reported with the memory
// the rows cost.
// FOLVANE_RESPONSIVE_ROWS changes the count.
TEST_F(Responsive, FiveThousandRowsStayResponsive) {
    const char *rows = std::getenv("FOLVANE_RESPONSIVE_ROWS");
    const int count = rows ? std::atoi(rows) : 5000;
    const Bytes jpeg = MakeJpeg(Pattern(64, 48, 3));
    std::vector<std::string> paths;
    // In the order the add dialog hands them over.
    for (int i = 1; i <= count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "page-%05d.jpg", i);
        paths.push_back(dir / name);
        WriteFile(paths.back(), jpeg);
    }
    const long startKb = ResidentKiB();

    auto start = std::chrono::steady_clock::now();
    AddRows(paths);
    const double addMs = MsSince(start);
    LoopWatch preflight;
    SettleChecksWithin(120000);
    const double checkedMs = MsSince(start);
    ASSERT_EQ(static_cast<int>(Paths().size()), count);

    LoopWatch scrolling;
    QScrollBar *bar = List()->verticalScrollBar();
    start = std::chrono::steady_clock::now();
    for (int step = 0; step <= 20; ++step) {
        bar->setValue(bar->maximum() * step / 20);
        List()->viewport()->repaint();
        QApplication::processEvents();
    }
    const double scrollMs = MsSince(start) / 21;

    start = std::chrono::steady_clock::now();
    Click(IDC_BTN_SORT_BY_NAME);
    const double sortMs = MsSince(start);
    QApplication::processEvents();
    EXPECT_EQ(RowOf(paths.front()), 0);
    EXPECT_EQ(RowOf(paths.back()), count - 1);

    std::printf("%d rows: add %.0f ms, pre-flight done after %.0f ms (loop held at most %lld ms), "
                "a scroll step %.1f ms (loop held at most %lld ms), 重新排序 %.0f ms; "
                "resident memory %ld KB before, %ld KB after (+%ld KB)\n",
                count, addMs, checkedMs, static_cast<long long>(preflight.longest), scrollMs,
                static_cast<long long>(scrolling.longest), sortMs, startKb, ResidentKiB(),
                ResidentKiB() - startKb);
    EXPECT_LE(preflight.longest, 200);
    EXPECT_LE(scrolling.longest, 200);
}

} // namespace
