// The preview in the main dialog: which file it loads, what the frame shows afterwards.
#include <gtest/gtest.h>

#include "app/Resource.h"
#include "platform/ui/HeadlessListCtrl.h"
#include "tests/app/PreviewFixture.h"

namespace {

constexpr uint32_t kRed = RgbColor(220, 30, 40);
constexpr uint32_t kBlue = RgbColor(20, 40, 210);
// The placeholder picture's light grey background.
constexpr uint32_t kPlaceholderGrey = RgbColor(244, 244, 244);
constexpr int kFit = 6;

class PreviewFrame : public PreviewFixture {
protected:
    PreviewFrame() { dlg.SetImageType(kFit); }
    uint32_t Centre() { return Frame().PixelAt(Frame().Width() / 2, Frame().Height() / 2); }
};

TEST_F(PreviewFrame, TiffJpegAndPngPreviewTheirOwnFileWhateverTheCase) {
    WriteSolidTiff(Path("page.tiff"), 60, 80, kBlue);
    dlg.ShowPreview(Path("page.tiff"));
    EXPECT_TRUE(Near(Centre(), kBlue, 1));

    WriteSolidJpeg(Path("photo.JPEG"), 64, 48, kRed);
    dlg.ShowPreview(Path("photo.JPEG"));
    EXPECT_TRUE(Near(Centre(), kRed, 4));

    WriteSolidBmp(Path("scan.Tif"), 30, 40, kBlue); // the content decides, not the name
    dlg.ShowPreview(Path("scan.Tif"));
    EXPECT_TRUE(Near(Centre(), kBlue, 1));
}

// An add cancelled on an empty list previews the empty path: the placeholder, with no row to
// take corners from.
TEST_F(PreviewFrame, ACancelledAddOnAnEmptyListShowsThePlaceholder) {
    ui.openAnswers.push_back(std::nullopt);
    Window().Click(IDC_BTN_ADD_IMAGES);
    EXPECT_EQ(dlg.Pages().count(), 0);
    EXPECT_EQ(Centre(), kPlaceholderGrey);
}

TEST_F(PreviewFrame, OtherExtensionsShowThePlaceholder) {
    WriteSolidBmp(Path("really-a-bitmap.gif"), 40, 40, kRed);
    dlg.ShowPreview(Path("really-a-bitmap.gif"));
    EXPECT_EQ(Centre(), kPlaceholderGrey);
}

TEST_F(PreviewFrame, FilesThatCannotBeReadShowThePlaceholderWithoutAMessage) {
    WriteSolidBmp(Path("first.bmp"), 30, 30, kRed);
    dlg.ShowPreview(Path("first.bmp"));
    ASSERT_EQ(Centre(), kRed);

    dlg.ShowPreview(Path("missing.jpg"));
    EXPECT_EQ(Centre(), kPlaceholderGrey);
    support::WriteText(Path("garbage.tif"), "not a picture at all");
    dlg.ShowPreview(Path("garbage.tif"));
    EXPECT_EQ(Centre(), kPlaceholderGrey);
    EXPECT_TRUE(ui.MessageTexts().empty());
    EXPECT_EQ(Frame().OpenDCs(), 0);
}

TEST_F(PreviewFrame, EachPreviewErasesThePreviousPicture) {
    WriteSolidBmp(Path("square.bmp"), 50, 50, kRed);
    WriteSolidBmp(Path("strip.bmp"), 10, 400, kBlue);
    dlg.ShowPreview(Path("square.bmp"));
    dlg.ShowPreview(Path("strip.bmp"));
    CSurface &frame = Frame();
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            ASSERT_FALSE(Near(frame.PixelAt(x, y), kRed, 8)) << x << "," << y;
        }
    }
}

TEST_F(PreviewFrame, ClickingARowShowsItsPicture) {
    WriteSolidBmp(Path("a.bmp"), 40, 40, kRed);
    WriteSolidBmp(Path("b.bmp"), 40, 40, kBlue);
    ui.openAnswers.push_back(std::vector<std::string>{Path("a.bmp"), Path("b.bmp")});
    Window().Click(IDC_BTN_ADD_IMAGES);
    Window().List(IDC_LIST_IMAGES)->UserHighlight(1);
    Window().Notify(IDC_LIST_IMAGES, NM_CLICK);
    EXPECT_TRUE(Near(Centre(), kBlue, 1));
    Window().List(IDC_LIST_IMAGES)->UserHighlight(0);
    Window().Notify(IDC_LIST_IMAGES, NM_CLICK);
    EXPECT_EQ(Centre(), kRed);

    // Emptying the list clears the frame.
    Window().Click(IDC_BTN_CLEAR_LIST);
    EXPECT_TRUE(OnlyInside(UiRect{}));
}

} // namespace
