// The preview in the main dialog: which file it loads, what the frame shows afterwards.
#include <gtest/gtest.h>

#include "app/Resource.h"
#include "platform/ui/HeadlessListCtrl.h"
#include "tests/app/PreviewFixture.h"

namespace {

constexpr uint32_t kRed = RgbColor(220, 30, 40);
constexpr uint32_t kBlue = RgbColor(20, 40, 210);

using PreviewFrame = PreviewFixture;

TEST_F(PreviewFrame, WidePictureFillsTheWidthCentredVertically) {
    WriteSolidBmp(Path("wide.bmp"), 400, 100, kRed);
    dlg.ShowPreview(Path("wide.bmp"));
    CSurface &frame = Frame();
    const int w = frame.Width();
    const int h = frame.Height();
    ASSERT_GT(w, 0);
    ASSERT_GT(h, w / 4);
    const int top = (h - w / 4) / 2; // a 4:1 picture is w / 4 high
    EXPECT_EQ(frame.PixelAt(0, top + 1), kRed);
    EXPECT_EQ(frame.PixelAt(w - 1, top + w / 4 - 1), kRed);
    EXPECT_EQ(frame.PixelAt(w / 2, top - 2), kWindowColor);
    EXPECT_EQ(frame.PixelAt(w / 2, top + w / 4 + 1), kWindowColor);
    EXPECT_TRUE(OnlyInside(UiRect{0, top - 1, w, top + w / 4 + 1}));
    EXPECT_EQ(frame.OpenDCs(), 0);
}

TEST_F(PreviewFrame, TallPictureFillsTheHeightCentredHorizontally) {
    WriteSolidBmp(Path("tall.BMP"), 20, 400, kBlue);
    dlg.ShowPreview(Path("tall.BMP"));
    CSurface &frame = Frame();
    const int w = frame.Width();
    const int h = frame.Height();
    const int width = h / 20;
    const int left = (w - width) / 2;
    EXPECT_EQ(frame.PixelAt(left + width / 2, 0), kBlue);
    EXPECT_EQ(frame.PixelAt(left + width / 2, h - 1), kBlue);
    EXPECT_TRUE(OnlyInside(UiRect{left - 1, 0, left + width + 1, h}));
}

TEST_F(PreviewFrame, TiffAndJpegPreviewTheirOwnFile) {
    WriteSolidTiff(Path("page.tiff"), 60, 80, kBlue);
    EXPECT_EQ(CFolvaneDlg::PreviewFilePath(Path("page.tiff")), Path("page.tiff"));
    dlg.ShowPreview(Path("page.tiff"));
    CSurface &frame = Frame();
    EXPECT_EQ(frame.PixelAt(frame.Width() / 2, frame.Height() / 2), kBlue);

    WriteSolidJpeg(Path("photo.JPG"), 64, 48, kRed);
    dlg.ShowPreview(Path("photo.JPG"));
    EXPECT_TRUE(Near(frame.PixelAt(frame.Width() / 2, frame.Height() / 2), kRed, 4));
}

TEST_F(PreviewFrame, OtherExtensionsShowThePlaceholder) {
    WriteSolidBmp(Path("really-a-bitmap.png"), 40, 40, kRed);
    const std::string placeholder = CFolvaneDlg::PreviewFilePath(Path("really-a-bitmap.png"));
    EXPECT_EQ(placeholder, std::string(FOLVANE_BIN_DIR) + "/无法显示.bmp");
    for (const char *name : {"a.jpeg", "a.Jpg", "a.tIf", "a", "a.bm"}) {
        EXPECT_EQ(CFolvaneDlg::PreviewFilePath(Path(name)), placeholder) << name;
    }
    dlg.ShowPreview(Path("really-a-bitmap.png"));
    CSurface &frame = Frame();
    // The placeholder's light grey background, not the red file.
    EXPECT_EQ(frame.PixelAt(frame.Width() / 2, frame.Height() / 2), RgbColor(244, 244, 244));
}

TEST_F(PreviewFrame, UnreadableFileLeavesTheFrameEmptyWithoutAMessage) {
    WriteSolidBmp(Path("first.bmp"), 30, 30, kRed);
    dlg.ShowPreview(Path("first.bmp"));
    ASSERT_FALSE(OnlyInside(UiRect{}));

    dlg.ShowPreview(Path("missing.jpg"));
    EXPECT_TRUE(OnlyInside(UiRect{}));
    support::WriteText(Path("garbage.tif"), "not a picture at all");
    dlg.ShowPreview(Path("garbage.tif"));
    EXPECT_TRUE(OnlyInside(UiRect{}));
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
            ASSERT_NE(frame.PixelAt(x, y), kRed) << x << "," << y;
        }
    }
}

TEST_F(PreviewFrame, ClickingARowShowsItsPicture) {
    WriteSolidBmp(Path("a.bmp"), 40, 40, kRed);
    WriteSolidBmp(Path("b.bmp"), 40, 40, kBlue);
    ui.openAnswers.push_back(std::vector<std::string>{Path("a.bmp"), Path("b.bmp")});
    Window().Click(IDC_BTN_ADD_IMAGES);
    CSurface &frame = Frame();
    const int cx = frame.Width() / 2;
    const int cy = frame.Height() / 2;
    Window().List(IDC_LIST_IMAGES)->UserHighlight(1);
    Window().Notify(IDC_LIST_IMAGES, NM_CLICK);
    EXPECT_EQ(frame.PixelAt(cx, cy), kBlue);
    Window().List(IDC_LIST_IMAGES)->UserHighlight(0);
    Window().Notify(IDC_LIST_IMAGES, NM_CLICK);
    EXPECT_EQ(frame.PixelAt(cx, cy), kRed);

    // Emptying the list clears the frame.
    Window().Click(IDC_BTN_CLEAR_LIST);
    EXPECT_TRUE(OnlyInside(UiRect{}));
}

} // namespace
