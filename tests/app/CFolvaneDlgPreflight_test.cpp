// Pre-flight in the headless window: rows checked in the background turn red with their reason,
// good rows say what they are, and "生成PDF" asks before it leaves unusable rows out.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/stat.h>

#include "tests/app/DialogFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"

namespace {

using namespace support;
using Strings = std::vector<std::string>;
using namespace std::chrono_literals;

constexpr COLORREF kRed = ui::RGB(204, 0, 0);

// A camera photo for every name but those starting "bad", which cannot be used.
folvane::ImageFacts Pretend(const std::string &path) {
    folvane::ImageFacts facts;
    if (path.find("/bad") != std::string::npos) {
        facts.problem.kind = folvane::Problem::Kind::NotAnImage;
        facts.problem.file = path;
        facts.problem.formats = {"JPEG", "TIFF", "PNG"};
        return facts;
    }
    facts.ok = true;
    facts.kind = "JPEG";
    facts.pages = 1;
    facts.width = 3264;
    facts.height = 2448;
    facts.intake = folvane::ImageFacts::Intake::Copied;
    return facts;
}

class Preflight : public DialogFixture {
protected:
    Preflight() { dlg.SetInspect(Pretend); }

    // Lets the background checks finish and hand their results to the window.
    void Settle() {
        for (int i = 0; i < 500 && dlg.ChecksPending(); ++i) {
            ui.WaitForPosted(10ms);
            ui.RunPosted();
        }
        ASSERT_FALSE(dlg.ChecksPending());
    }
    std::string Tip(int row) { return List().GetItemToolTip(row); }
    COLORREF Colour(int row) { return List().GetItemTextColor(row); }
};

TEST_F(Preflight, UnusableRowsTurnRedWithTheirReasonAndGoodOnesSayWhatTheyAre) {
    Add({"/p/a.jpg", "/p/bad.jpg", "/p/c.jpg"});
    EXPECT_EQ(Tip(0), ""); // not checked yet
    Settle();
    EXPECT_EQ(Tip(0), "JPEG 3264x2448, 原样嵌入, 1 页, 64% 超出页面");
    EXPECT_EQ(Colour(0), CLR_DEFAULT);
    EXPECT_EQ(Tip(1), "“/p/bad.jpg”不是 JPEG、TIFF 或 PNG 图片");
    EXPECT_EQ(Colour(1), kRed);

    // The marks travel with their rows.
    ClickRow(1);
    Click(IDC_BTN_MOVE_BOTTOM);
    EXPECT_EQ(Colour(2), kRed);
    EXPECT_EQ(Colour(1), CLR_DEFAULT);
    Click(IDC_BTN_SORT_BY_NAME);
    EXPECT_EQ(Colour(1), kRed);
    EXPECT_EQ(Tip(1), "“/p/bad.jpg”不是 JPEG、TIFF 或 PNG 图片");
}

TEST_F(Preflight, TheToolTipFollowsTheChosenClassOrFit) {
    Add({"/p/a.jpg"});
    Settle();
    Click(IDC_RADIO_FIT);
    EXPECT_EQ(Tip(0), "JPEG 3264x2448, 原样嵌入, 1 页");
    Click(IDC_RADIO_1600);
    EXPECT_EQ(Tip(0), "JPEG 3264x2448, 原样嵌入, 1 页, 3% 超出页面");
}

TEST_F(Preflight, GenerateAsksBeforeLeavingUnusableRowsOut) {
    TempDir dir;
    WriteFile(dir / "a.jpg", MakeJpeg(Pattern(32, 24, 1)));
    WriteFile(dir / "c.jpg", MakeJpeg(Pattern(24, 32, 1)));
    Add({dir / "a.jpg", dir / "bad.jpg", dir / "c.jpg"});
    Settle();
    ui.saveAnswers.push_back(dir / "out.pdf");
    Click(IDC_BTN_BROWSE);

    ui.questionAnswers = {1}; // 取消
    Click(IDC_BTN_GENERATE);
    const std::vector<UiEvent> asked = ui.Events(UiEvent::Kind::Question);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text,
              "列表中有 1 张图片无法使用:\nbad.jpg: “" + (dir / "bad.jpg") +
                  "”不是 JPEG、TIFF 或 PNG 图片\n跳过它们, 用其余 2 张图片生成PDF吗?");
    EXPECT_EQ(Window().questionButtons.back(), (Strings{"跳过", "取消"}));
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(Listing(dir.Path()).count("out.pdf") == 0);

    // 跳过; then the camera photos the checks pretend the two good files are would be cut at
    // 300万, and only those two are counted: 继续.
    ui.questionAnswers = {0, 1};
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(ui.Events(UiEvent::Kind::Question).size(), 3u);
    EXPECT_EQ(ui.Events(UiEvent::Kind::Question)[2].text.rfind("2 页图片超出页面(最多 64%)\n", 0),
              0u);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], std::string(kMsgSuccess) + "\n共 2 页, 已保存到 " + (dir / "out.pdf"));
    EXPECT_EQ(PageCount(dir / "out.pdf"), 2);
    EXPECT_EQ(List().GetItemCount(), 3); // the skipped row stays in the list
}

TEST_F(Preflight, AListOfOnlyUnusableRowsFailsWithTheFirstOnesReason) {
    Add({"/p/bad-1.jpg", "/p/bad-2.jpg"});
    Settle();
    ui.saveAnswers.push_back("/tmp/never-written.pdf");
    Click(IDC_BTN_BROWSE);
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(Messages(), (Strings{std::string(kMsgFailure) +
                                   "\n/p/bad-1.jpg\n“/p/bad-1.jpg”不是 JPEG、TIFF 或 PNG 图片"}));
    EXPECT_TRUE(ui.Events(UiEvent::Kind::Question).empty());
}

TEST_F(Preflight, TheEnginesOwnCheckMarksATruncatedFileAndATextFileNamedJpg) {
    dlg.SetInspect([](const std::string &path) { return folvane::inspectImage(path); });
    TempDir dir;
    WriteFile(dir / "good.jpg", MakeJpeg(MarkedSheet(48, 64, 3)));
    Bytes cut = MakeJpeg(Pattern(48, 64, 3));
    cut.resize(cut.size() / 2);
    WriteFile(dir / "cut.jpg", cut);
    WriteText(dir / "notes.jpg", "a shopping list, not a picture");
    Add({dir / "good.jpg", dir / "cut.jpg", dir / "notes.jpg"});
    Settle();
    EXPECT_EQ(Paths(), (Strings{dir / "cut.jpg", dir / "good.jpg", dir / "notes.jpg"}));
    EXPECT_EQ(Colour(0), kRed);
    EXPECT_NE(Tip(0), "");
    EXPECT_EQ(Tip(1), "JPEG 48x64, 原样嵌入, 1 页");
    EXPECT_EQ(Colour(2), kRed);
    EXPECT_NE(Tip(2), "");
}

TEST_F(Preflight, APipeNamedLikeAnImageIsMarkedAtOnceNotWaitedOn) {
    dlg.SetInspect([](const std::string &path) { return folvane::inspectImage(path); });
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    Add({dir / "pipe.jpg"});
    Settle();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(Colour(0), kRed);
    EXPECT_NE(Tip(0).find("不是普通文件"), std::string::npos) << Tip(0);
}

// A file deleted or replaced after its row was checked: "生成PDF" checks it again, turns its row
// red with the reason, and asks before leaving it out, instead of failing midway.
TEST_F(Preflight, AFileThatWentOrChangedSinceItsCheckTurnsRedAtGenerate) {
    dlg.SetInspect([](const std::string &path) { return folvane::inspectImage(path); });
    TempDir dir;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"}) {
        WriteFile(dir / name, MakeJpeg(Pattern(32, 24, 1)));
    }
    Add({dir / "a.jpg", dir / "b.jpg", dir / "c.jpg"});
    Settle();
    ASSERT_EQ(Colour(1), CLR_DEFAULT);
    ASSERT_EQ(Colour(2), CLR_DEFAULT);
    std::filesystem::remove(dir / "b.jpg");
    WriteText(dir / "c.jpg", "overwritten by something else");
    ui.saveAnswers.push_back(dir / "out.pdf");
    Click(IDC_BTN_BROWSE);

    ui.questionAnswers = {0}; // 跳过
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(Colour(0), CLR_DEFAULT);
    EXPECT_EQ(Colour(1), kRed);
    EXPECT_NE(Tip(1).find(dir / "b.jpg"), std::string::npos) << Tip(1);
    EXPECT_EQ(Colour(2), kRed);
    EXPECT_EQ(Tip(2), "“" + (dir / "c.jpg") + "”不是 JPEG、TIFF 或 PNG 图片");
    const std::vector<UiEvent> asked = ui.Events(UiEvent::Kind::Question);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text.rfind("列表中有 2 张图片无法使用:\nb.jpg: ", 0), 0u) << asked[0].text;
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], std::string(kMsgSuccess) + "\n共 1 页, 已保存到 " + (dir / "out.pdf"));
    EXPECT_EQ(PageCount(dir / "out.pdf"), 1);
}

} // namespace
