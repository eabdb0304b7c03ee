#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>

#include "tests/app/DialogFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using Strings = std::vector<std::string>;

class Generate : public DialogFixture {
protected:
    // A small grey JPEG in the test's folder; its path.
    std::string Jpeg(const std::string &name, int width, int height) {
        WriteFile(dir / name, MakeJpeg(Pattern(width, height, 1)));
        return dir / name;
    }

    void ChooseSavePath(const std::string &path) {
        ui.saveAnswers.push_back(path);
        Click(IDC_BTN_BROWSE);
    }
    // The success box: "操作成功!" and, under it, what was written where.
    static std::string Success(int pages, const std::string &path, const std::string &cut = "") {
        return std::string(kMsgSuccess) + "\n共 " + std::to_string(pages) + " 页, 已保存到 " +
               path + (cut.empty() ? "" : "; 其中 " + cut);
    }

    TempDir dir;
};

TEST_F(Generate, AnEmptyListIsRefusedBeforeTheMissingSavePath) {
    Click(IDC_BTN_GENERATE);
    Add({"/p/a.jpg"});
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(Messages(), (Strings{kMsgNoImages, kMsgNoSavePath}));
    EXPECT_TRUE(ui.ShellFiles().empty());
}

TEST_F(Generate, WritesOnePagePerRowAndOpensThePdfAfterTheSuccessBox) {
    Add({Jpeg("b.jpg", 32, 24), Jpeg("a.jpg", 24, 32), Jpeg("c.jpg", 16, 16)});
    const std::string pdf = dir / "out.pdf";
    ChooseSavePath(pdf);

    bool fileReadyAtBox = false;
    ui.onMessageBox = [&](const UiEvent &) {
        fileReadyAtBox = std::filesystem::exists(pdf);
        EXPECT_TRUE(ui.ShellFiles().empty()); // not yet opened while the box is up
        EXPECT_EQ(Window().WaitDepth(), 0);
    };
    Click(IDC_BTN_GENERATE);

    EXPECT_EQ(Messages(), (Strings{Success(3, pdf)}));
    EXPECT_TRUE(fileReadyAtBox);
    EXPECT_EQ(ui.ShellFiles(), (Strings{pdf}));
    ASSERT_EQ(ui.events.back().kind, UiEvent::Kind::ShellExecute);
    EXPECT_EQ(ui.events.back().caption, "open");
    EXPECT_EQ(PageCount(pdf), 3);
    EXPECT_EQ(List().GetItemCount(), 3); // the list stays for another run
    ASSERT_FALSE(ui.Events(UiEvent::Kind::Progress).empty());
    EXPECT_EQ(ui.Events(UiEvent::Kind::Progress).back().text, "第 3 / 3 页|c.jpg");
}

TEST_F(Generate, TheProgressCountsEveryPageOfAMultiPageTiff) {
    const Picture page = Pattern(16, 16, 1);
    WriteTiff(dir / "scan.tif", {TiffPageOf(page), TiffPageOf(page), TiffPageOf(page)});
    Add({dir / "scan.tif", Jpeg("z.jpg", 16, 16)});
    ChooseSavePath(dir / "out.pdf");
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(Messages(), (Strings{Success(4, dir / "out.pdf")}));
    EXPECT_EQ(PageCount(dir / "out.pdf"), 4);
    EXPECT_EQ(ui.Events(UiEvent::Kind::Progress).back().text, "第 4 / 4 页|z.jpg");
}

TEST_F(Generate, PagesFollowTheListOrderAndTheCheckedResolutionClass) {
    Add({Jpeg("b.jpg", 32, 24), Jpeg("a.jpg", 24, 32), Jpeg("c.jpg", 16, 16)});
    ClickRow(2);
    Click(IDC_BTN_MOVE_TOP); // c, a, b
    Click(IDC_RADIO_1600);
    ChooseSavePath(dir / "out.pdf");
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(Messages(), (Strings{Success(3, dir / "out.pdf")}));

    std::vector<int> widths;
    for (const PdfImage &image : ListImages(dir / "out.pdf")) {
        widths.push_back(image.width);
    }
    EXPECT_EQ(widths, (std::vector<int>{16, 24, 32}));
    const auto placed = PlacementMatrices(dir / "out.pdf");
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_NEAR(placed[0][0], 16 * 0.1871, 1e-3);
    EXPECT_NEAR(placed[2][0], 32 * 0.1871, 1e-3);
}

TEST_F(Generate, ADesktopWithoutAPdfViewerIsToldAboutAfterTheSuccessBox) {
    Add({Jpeg("a.jpg", 16, 16)});
    ChooseSavePath(dir / "out.pdf");
    ui.shellOpens = false;
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(Messages(),
              (Strings{Success(1, dir / "out.pdf"),
                       "无法打开 " + (dir / "out.pdf") + "\n桌面上没有能打开这种文件的程序。"}));
    EXPECT_EQ(PageCount(dir / "out.pdf"), 1);
}

// A three-page A4 scan at 300 dpi at the start-up class 300万: 0.42 points per pixel make each
// page 1041.6 x 1473.4 points, of which the 595 x 842 sheet shows 32.6%: 67% is cut off.
TEST_F(Generate, PagesTheClassCutsAreAskedAboutFirstAndEachAnswerDoesWhatItSays) {
    const TiffPage scan = FaxPage(2480, 3508);
    WriteTiff(dir / "scan.tif", {scan, scan, scan});
    Add({dir / "scan.tif", Jpeg("z.jpg", 16, 16)});
    SettleChecks();
    const std::string pdf = dir / "out.pdf";
    ChooseSavePath(pdf);

    ui.questionAnswers = {2}; // 取消: nothing is written
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(ui.Events(UiEvent::Kind::Question).size(), 1u);
    EXPECT_EQ(ui.Events(UiEvent::Kind::Question)[0].text,
              "3 页图片超出页面(最多 67%)\n超出页面的部分不会出现在PDF中。\n"
              "选\"适应页面\"可把每张图片整张缩放到页面上。");
    EXPECT_EQ(Window().questionButtons.back(), (Strings{"适应页面", "继续", "取消"}));
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(std::filesystem::exists(pdf));

    ui.questionAnswers = {1}; // 继续: written as chosen, and the box says what was cut
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(Messages(), (Strings{Success(4, pdf, "3 页图片超出页面(最多 67%)")}));
    EXPECT_NEAR(PlacementMatrices(pdf).at(0)[0], 2480 * 0.42, 0.01);
    EXPECT_EQ(dlg.ImageType(), 1);

    ui.questionAnswers = {0}; // 适应页面: fit, remembered as a click on its radio button would be
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(dlg.ImageType(), kImageTypeFit);
    EXPECT_TRUE(Window().Wnd(IDC_RADIO_FIT)->GetCheck());
    EXPECT_FALSE(Window().Wnd(IDC_RADIO_300)->GetCheck());
    EXPECT_EQ(ui.settings.Read("window/imageType"), "6");
    EXPECT_EQ(Messages().back(), Success(4, pdf));
    EXPECT_NEAR(PlacementMatrices(pdf).at(0)[0], 595, 0.01); // the page's whole width

    Click(IDC_BTN_GENERATE); // fit cuts nothing: no question
    EXPECT_EQ(ui.Events(UiEvent::Kind::Question).size(), 3u);
}

TEST_F(Generate, AnOutputPathThatCannotBeWrittenFailsAndOpensNothing) {
    Add({Jpeg("a.jpg", 16, 16)});
    ChooseSavePath(dir / "missing-folder/out.pdf");
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind(
                  std::string(kMsgFailure) + "\n" + (dir / "missing-folder/out.pdf") + "\n", 0),
              0u);
    EXPECT_TRUE(ui.ShellFiles().empty());
    EXPECT_EQ(Window().WaitDepth(), 0);
}

TEST_F(Generate, ASaveToAPipeOrDeviceSendsTheDocumentAndTheNodeStays) {
    Add({Jpeg("a.jpg", 24, 32)});
    const std::string device = dir / "null.pdf";
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0) {
        GTEST_SKIP() << "making a device node needs root";
    }
    ChooseSavePath(device);
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(Messages(), (Strings{Success(1, device)}));
    struct stat info {};
    ASSERT_EQ(::stat(device.c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)) << "the device was replaced";

    const std::string pipe = dir / "pipe.pdf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ReadText(pipe); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ChooseSavePath(pipe);
    Click(IDC_BTN_GENERATE);
    reader.join();
    EXPECT_EQ(Messages().back(), Success(1, pipe));
    EXPECT_EQ(received.rfind("%PDF-", 0), 0u);
    ASSERT_EQ(::stat(pipe.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the pipe was replaced";
}

TEST_F(Generate, AnImageThatIsNoImageFailsTheRun) {
    WriteText(dir / "broken.jpg", "not a picture");
    Add({dir / "broken.jpg"});
    ChooseSavePath(dir / "out.pdf");
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind(std::string(kMsgFailure) + "\n" + (dir / "broken.jpg") + "\n", 0),
              0u);
    EXPECT_TRUE(ui.ShellFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "out.pdf"));
}

TEST_F(Generate, ANameWithControlCharactersIsQuotedInTheFailure) {
    const std::string name = dir / "bro\x1b[2Jken.jpg";
    WriteText(name, "not a picture");
    Add({name});
    ChooseSavePath(dir / "out.pdf");
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(Messages().size(), 1u);
    const std::string quoted = "'" + (dir / "bro") + "'$'\\033''[2Jken.jpg'";
    EXPECT_EQ(Messages()[0].rfind(std::string(kMsgFailure) + "\n" + quoted + "\n", 0), 0u)
        << Messages()[0];
    EXPECT_NE(Messages()[0].find("“" + quoted + "”"), std::string::npos) << Messages()[0];
    EXPECT_EQ(Messages()[0].find('\x1b'), std::string::npos);
}

} // namespace
