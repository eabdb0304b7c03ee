// "裁剪" in the headless window: the crop editor opens over the current page as it is turned, the
// rectangle kept becomes the page's crop (its tool tip and preview follow, undo takes it back),
// the whole page removes the crop, a rectangle too small or outside the page is refused, and a
// file gone since it was added is named with its reason while its page stays as it was.

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <set>
#include <string>

#include "tests/app/DialogFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

using Strings = std::vector<std::string>;
using namespace std::chrono_literals;
using folvane::CropRect;

constexpr COLORREF kRed = ui::RGB(204, 0, 0);
constexpr int kWidth = 640, kHeight = 480;

class Crops : public DialogFixture {
protected:
    Crops() {
        support::WriteFile(path, support::MakeJpeg(support::Solid(kWidth, kHeight, 0x336699)));
        dlg.SetInspect([this](const std::string &file) {
            folvane::ImageFacts facts;
            if (gone.count(file)) {
                facts.problem.kind = folvane::Problem::Kind::CannotOpen;
                facts.problem.file = file;
                facts.problem.detail = "No such file or directory";
                return facts;
            }
            facts.ok = true;
            facts.kind = "JPEG";
            facts.pages = 1;
            facts.width = kWidth;
            facts.height = kHeight;
            facts.intake = folvane::ImageFacts::Intake::Copied;
            return facts;
        });
        // The user leaves the rectangle at `answer` and keeps it; a refused one is kept only by
        // a peer that `insists`, the real editor stays open and the user cancels.
        ui.onCropEditor = [this](const CropEditRequest &request) {
            shown = request;
            CropEditAnswer reply;
            if (answer) {
                refusal = request.refusal(*answer);
                const bool kept = refusal.empty() || insist;
                reply.choice =
                    kept ? CropEditAnswer::Choice::Accept : CropEditAnswer::Choice::Cancel;
                reply.crop = *answer;
            }
            return reply;
        };
        Add({path});
        for (int i = 0; i < 500 && dlg.ChecksPending(); ++i) {
            ui.WaitForPosted(10ms);
            ui.RunPosted();
        }
        ClickRow(0);
    }

    std::optional<CropRect> CropOf(int row) { return dlg.Pages().at(row).shape.edits.crop; }
    std::string Tip(int row) { return List().GetItemToolTip(row); }
    void Crop(std::optional<CropBox> box) {
        answer = box;
        ui.menuAnswers = {ID_CROP};
        Window().RightClickRow(IDC_LIST_IMAGES, 0);
    }
    // The right-click menu's texts from "向右旋转" to its end, each with whether it is greyed.
    Strings MenuFromRotateRight() {
        ui.menuAnswers = {0};
        Window().RightClickRow(IDC_LIST_IMAGES, List().HighlightedRow());
        Strings texts;
        bool after = false;
        for (const MenuItem &item : Window().LastPopupMenu()) {
            after = after || item.text.rfind("向右旋转", 0) == 0;
            if (after && (item.flags & MF_SEPARATOR) == 0) {
                texts.push_back(item.text + ((item.flags & MF_GRAYED) ? " (grey)" : ""));
            }
        }
        return texts;
    }

    support::TempDir dir;
    std::string path = dir / "page.jpg";
    std::set<std::string> gone;
    std::optional<CropBox> answer; // none: the editor is cancelled
    std::optional<CropEditRequest> shown;
    std::string refusal;
    bool insist = false;
};

TEST_F(Crops, TheRectangleKeptCropsThePageItsTipAndPreviewAndUndoTakesItBack) {
    EXPECT_EQ(MenuFromRotateRight(),
              (Strings{"向右旋转\tCtrl+R", "裁剪", "双面合并\tCtrl+D", "撤销添加", "重做 (grey)"}));
    const std::size_t previews = dlg.previews.size();
    Crop(CropBox{40, 30, 360, 270});
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->title, "裁剪");
    EXPECT_EQ(shown->page.width, kWidth);
    EXPECT_EQ(shown->crop, (CropBox{0, 0, kWidth, kHeight})); // the whole page at first
    EXPECT_EQ(CropOf(0), (CropRect{40, 30, 360, 270}));
    EXPECT_EQ(Tip(0), "JPEG 320x240, 原样嵌入, 1 页, 已裁剪");
    EXPECT_EQ(dlg.previews.size(), previews + 1);
    EXPECT_EQ(MenuFromRotateRight().at(3), "撤销裁剪");

    // The editor opens on the crop; the whole page again removes it.
    Crop(CropBox{0, 0, kWidth, kHeight});
    EXPECT_EQ(shown->crop, (CropBox{40, 30, 360, 270}));
    EXPECT_EQ(CropOf(0), std::nullopt);
    EXPECT_EQ(Tip(0).find("已裁剪"), std::string::npos) << Tip(0);

    Window().PressKey('Z', FCONTROL);
    EXPECT_EQ(CropOf(0), (CropRect{40, 30, 360, 270}));
    Window().PressKey('Z', FCONTROL);
    EXPECT_EQ(CropOf(0), std::nullopt);
    EXPECT_EQ(MenuFromRotateRight().at(4), "重做裁剪");
    Window().PressKey('Y', FCONTROL);
    EXPECT_EQ(CropOf(0), (CropRect{40, 30, 360, 270}));

    // Cancelled, nothing changes.
    Crop(std::nullopt);
    EXPECT_EQ(CropOf(0), (CropRect{40, 30, 360, 270}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Crops, TheEditorShowsTheTurnedPageAndTheCropIsOfTheTurnedPicture) {
    Window().PressKey('R', FCONTROL);
    Crop(CropBox{0, 0, 200, 600});
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->page.width, kHeight);
    EXPECT_EQ(shown->page.height, kWidth);
    EXPECT_EQ(CropOf(0), (CropRect{0, 0, 200, 600}));
    EXPECT_EQ(Tip(0), "JPEG 200x600, 原样嵌入, 1 页, 已向右旋转, 已裁剪");
}

TEST_F(Crops, ARectangleTooSmallOrOutsideThePageIsRefusedWithAHint) {
    Crop(CropBox{10, 10, 25, 200});
    EXPECT_NE(refusal.find("16"), std::string::npos) << refusal;
    Crop(CropBox{-1, 0, 100, 100});
    EXPECT_NE(refusal.find("图片之内"), std::string::npos) << refusal;
    Crop(CropBox{0, 0, 16, 16});
    EXPECT_EQ(refusal, "");
    EXPECT_EQ(CropOf(0), (CropRect{0, 0, 16, 16}));
    EXPECT_TRUE(Messages().empty());
    // A peer that keeps a refused rectangle anyway changes nothing and hears why.
    insist = true;
    Crop(CropBox{0, 0, 15, 100});
    EXPECT_EQ(CropOf(0), (CropRect{0, 0, 16, 16}));
    EXPECT_EQ(Messages(), (Strings{refusal}));
}

TEST_F(Crops, AFileGoneSinceItWasAddedIsNamedAndItsPageStaysAsItWas) {
    Crop(CropBox{0, 0, 100, 100});
    gone.insert(path);
    shown.reset();
    Crop(CropBox{0, 0, 200, 200});
    EXPECT_FALSE(shown.has_value()); // the editor never opened
    EXPECT_EQ(CropOf(0), (CropRect{0, 0, 100, 100}));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("page.jpg"), std::string::npos) << Messages()[0];
    EXPECT_EQ(List().GetItemTextColor(0), kRed);
}

TEST_F(Crops, AFileThatCannotBeDecodedIsNamedAndNothingChanges) {
    support::WriteText(path, "not a picture");
    Crop(CropBox{0, 0, 100, 100});
    EXPECT_FALSE(shown.has_value());
    EXPECT_EQ(CropOf(0), std::nullopt);
    EXPECT_EQ(Messages(), (Strings{"无法打开 " + path + " 来裁剪。"}));
}

} // namespace
