// The window stays responsive through a long run. It is timed, so CTest runs it alone.

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "tests/qt/RunWatcher.h"
#include "tests/qt/WindowFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

using namespace support;
using Strings = std::vector<std::string>;

class Responsive : public WindowFixture {
protected:
    TempDir dir;
};

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
    dlg->m_strSavePath = dir / "book.pdf";
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
