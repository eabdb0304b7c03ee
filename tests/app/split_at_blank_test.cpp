// "在空白页处分成多个文件" in the window: the rows are written as OUT-001.pdf, OUT-002.pdf, ...
// with the blank pages between them left out, the progress counting the pages written and the
// success box naming each file; a failure part way leaves none of the new files and the older
// ones of the same names as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sys/stat.h>

#include "app/Resource.h"
#include "app/Resources.h"
#include "tests/app/DialogFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"

namespace {

using namespace support;
using Strings = std::vector<std::string>;

const std::string kOld = "%PDF-1.4 the document of an earlier run\n";

// A scanned sheet `width` pixels wide, with grain, and a line of text on it when `marked`.
Picture Sheet(int width, bool marked) {
    Picture picture = Blank(width, 560, 1);
    uint32_t random = 7;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            random = random * 1664525u + 1013904223u;
            const bool ink = marked && x >= 120 && x < 260 && y >= 280 && y < 292;
            picture.At(x, y, 0) = static_cast<uint8_t>(ink ? 40 : 228 + (random >> 16) % 7);
        }
    }
    return picture;
}

class SplitAtBlank : public DialogFixture {
protected:
    // Adds the pages in this order (named so that sorting in keeps it): a page of text for each
    // width, a blank sheet for 0.
    void AddPages(const std::vector<int> &widths) {
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < widths.size(); ++i) {
            const std::string path = dir / ("page-" + std::to_string(10 + i) + ".jpg");
            WriteFile(path, MakeJpeg(Sheet(widths[i] > 0 ? widths[i] : 400, widths[i] > 0)));
            paths.push_back(path);
        }
        Add(paths);
    }
    void Settle() {
        SettleChecks();
        for (int i = 0; i < 1000 && dlg.BlankChecksPending(); ++i) {
            ui.WaitForPosted(std::chrono::milliseconds(10));
            ui.RunPosted();
        }
        ASSERT_FALSE(dlg.BlankChecksPending());
    }
    void Generate() {
        ui.saveAnswers.push_back(dir / "out.pdf");
        Click(IDC_BTN_BROWSE);
        Click(IDC_BTN_GENERATE);
    }
    static std::vector<int> Widths(const std::string &pdf) {
        std::vector<int> widths;
        for (const PdfImage &image : ListImages(pdf)) {
            widths.push_back(image.width);
        }
        return widths;
    }

    TempDir dir;
};

TEST_F(SplitAtBlank, EachRunOfPagesBetweenBlankSheetsIsAFileTheBoxNames) {
    AddPages({0, 400, 410, 0, 0, 420, 0, 430, 0});
    Settle();
    EXPECT_FALSE(dlg.SplitAtBlank());
    Click(IDC_CHECK_SPLIT_BLANK);
    EXPECT_TRUE(dlg.SplitAtBlank());
    EXPECT_EQ(ui.settings.Read("window/splitAtBlank"), "1");
    EXPECT_FALSE(dlg.SkipBlank()); // the separators go whatever "跳过空白页" says
    // Tab goes from "跳过空白页" to the box, which stands under it.
    const std::vector<ControlTemplate> controls = MainDialogTemplate().controls;
    const auto place = [&controls](int id) {
        return std::find_if(controls.begin(), controls.end(),
                            [id](const ControlTemplate &control) { return control.id == id; });
    };
    ASSERT_NE(place(IDC_CHECK_SPLIT_BLANK), controls.end());
    EXPECT_EQ(place(IDC_CHECK_SPLIT_BLANK) - place(IDC_CHECK_SKIP_BLANK), 1);
    EXPECT_EQ(place(IDC_CHECK_SPLIT_BLANK)->rect.left, place(IDC_CHECK_SKIP_BLANK)->rect.left);
    EXPECT_GT(place(IDC_CHECK_SPLIT_BLANK)->rect.top, place(IDC_CHECK_SKIP_BLANK)->rect.bottom);
    WriteText(dir / "out-002.pdf", kOld); // an earlier run's: replaced once the user agrees
    ui.questionAnswers = {1};             // 取消
    Generate();
    EXPECT_EQ(ReadText(dir / "out-002.pdf"), kOld);
    EXPECT_FALSE(std::filesystem::exists(dir / "out-001.pdf"));
    EXPECT_TRUE(Messages().empty());
    const std::vector<UiEvent> questions = ui.Events(UiEvent::Kind::Question);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "以下 1 个文件已经存在, 生成后将被替换:\n" +
                                     (dir / "out-002.pdf") + "\n要替换它们吗?");

    ui.questionAnswers = {0}; // 替换
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(Widths(dir / "out-001.pdf"), (std::vector<int>{400, 410}));
    EXPECT_EQ(Widths(dir / "out-002.pdf"), (std::vector<int>{420}));
    EXPECT_EQ(Widths(dir / "out-003.pdf"), (std::vector<int>{430}));
    EXPECT_TRUE(QpdfCheck(dir / "out-002.pdf"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out-004.pdf"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out.pdf"));
    EXPECT_EQ(Listing(dir.Path()).size(), 9u + 3u); // no hidden folder left
    EXPECT_EQ(Messages(),
              (Strings{std::string(kMsgSuccess) + "\n共 4 页, 分成 3 个文件保存:\n" +
                       (dir / "out-001.pdf") + "（2 页）\n" + (dir / "out-002.pdf") + "（1 页）\n" +
                       (dir / "out-003.pdf") + "（1 页）\n" + "5 个空白页作为分隔页, 未放入文件"}));
    EXPECT_EQ(ui.ShellFiles(), (Strings{dir / "out-001.pdf"}));
    // The progress counts the pages written, as a run of one document does.
    const std::vector<UiEvent> progress = ui.Events(UiEvent::Kind::Progress);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back().text, "第 4 / 4 页|page-17.jpg");

    Click(IDC_CHECK_SPLIT_BLANK); // off: one document again
    EXPECT_EQ(ui.settings.Read("window/splitAtBlank"), "0");
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(PageCount(dir / "out.pdf"), 9);
}

TEST_F(SplitAtBlank, AFailureInALaterFileLeavesNoNewFileAndTheOldOnesAsTheyWere) {
    // The pre-flight is told every file is a good page, so that the broken one fails only when
    // its document is written, after the first two are complete.
    dlg.SetInspect([](const std::string &path) {
        folvane::ImageFacts facts = folvane::inspectImage(path);
        if (!facts.ok) {
            facts = folvane::inspectImage(path.substr(0, path.rfind('/')) + "/page-10.jpg");
        }
        return facts;
    });
    AddPages({400, 0, 410, 0});
    WriteText(dir / "page-14.jpg", "not a picture");
    Add({dir / "page-14.jpg"});
    Settle();
    Click(IDC_CHECK_SPLIT_BLANK);
    WriteText(dir / "out-002.pdf", kOld);
    WriteText(dir / "out-003.pdf", kOld);
    const std::set<std::string> before = Listing(dir.Path());

    ui.questionAnswers = {0}; // 替换
    Generate();
    EXPECT_EQ(Listing(dir.Path()), before);
    EXPECT_EQ(ReadText(dir / "out-002.pdf"), kOld);
    EXPECT_EQ(ReadText(dir / "out-003.pdf"), kOld);
    ASSERT_EQ(Messages().size(), 1u);
    const std::string box = Messages()[0];
    EXPECT_EQ(box.rfind(std::string(kMsgFailure) + "\n" + (dir / "page-14.jpg") + "\n", 0), 0u)
        << box;
    EXPECT_NE(box.find("没有保存任何文件, 原有的同名文件保持不变。"), std::string::npos) << box;
    EXPECT_TRUE(ui.ShellFiles().empty());
}

TEST_F(SplitAtBlank, AFileOfTheSetThatCannotBeReplacedIsNamedBeforeAnythingIsWritten) {
    AddPages({400, 0, 410});
    Settle();
    Click(IDC_CHECK_SPLIT_BLANK);
    ASSERT_EQ(::mkdir((dir / "out-002.pdf").c_str(), 0700), 0);
    Generate();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], std::string(kMsgFailure) + "\n“" + (dir / "out-002.pdf") +
                                 "”是一个文件夹, 不能保存为文件\n没有保存任何文件, "
                                 "原有的同名文件保持不变。");
    EXPECT_FALSE(std::filesystem::exists(dir / "out-001.pdf"));

    // A document of the set that is one of the pages (a link to it) would destroy it.
    ASSERT_EQ(::rmdir((dir / "out-002.pdf").c_str()), 0);
    ASSERT_EQ(::link((dir / "page-12.jpg").c_str(), (dir / "out-002.pdf").c_str()), 0);
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_NE(Messages()[1].find("就是输入图片"), std::string::npos) << Messages()[1];
    EXPECT_FALSE(std::filesystem::exists(dir / "out-001.pdf"));
    EXPECT_EQ(ReadFile(dir / "out-002.pdf"), ReadFile(dir / "page-12.jpg"));
}

} // namespace
