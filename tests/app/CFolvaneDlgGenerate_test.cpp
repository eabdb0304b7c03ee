#include <gtest/gtest.h>

#include <filesystem>

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

    EXPECT_EQ(Messages(), (Strings{kMsgSuccess}));
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
    ASSERT_EQ(Messages(), (Strings{kMsgSuccess}));
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
    ASSERT_EQ(Messages(), (Strings{kMsgSuccess}));

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

} // namespace
