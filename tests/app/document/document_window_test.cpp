// "文档校正" in the headless window, on desk photos: the tool tip says whether the sheet was
// found, the preview shows the corrected page, and "生成PDF" writes corrected pages.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gdi/CSurface.h"
#include "tests/app/DialogFixture.h"
#include "tests/app/PreviewFixture.h"
#include "tests/app/document/DocumentFixture.h"
#include "tests/support/Pdf.h"

namespace {

using Strings = std::vector<std::string>;

constexpr const char *kFound = "\n已找到纸张";
constexpr const char *kNotFound = "\n未找到纸张，将按原样放入";

bool EndsWith(const std::string &text, const std::string &end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class DocumentRows : public DialogFixture {
protected:
    DocumentRows() {
        WriteDeskPhoto(dir, "page.jpg", DeskShot(true));
        WriteDeskPhoto(dir, "desk.jpg", DeskShot(false));
    }
    std::string Tip(int row) { return List().GetItemToolTip(row); }
    void ChooseSavePath(const std::string &path) {
        ui.saveAnswers.push_back(path);
        Click(IDC_BTN_BROWSE);
    }

    support::TempDir dir;
    const std::string page = dir / "page.jpg";
    const std::string desk = dir / "desk.jpg";
};

// A cropped page goes in as the part kept, not corrected: its tip says how the file goes in.
TEST_F(DocumentRows, ACroppedPageIsNotDescribedAsCorrected) {
    Add({page});
    SettleChecks();
    Click(IDC_CHECK_DOCUMENT);
    SettleChecks();
    ASSERT_NE(Tip(0).find("校正后放入"), std::string::npos) << Tip(0);
    ui.onCropEditor = [](const CropEditRequest &request) {
        const int w = request.page.width, h = request.page.height;
        return CropEditAnswer{CropEditAnswer::Choice::Accept, CropBox{0, 0, w / 2, h / 2}};
    };
    ClickRow(0);
    ui.menuAnswers = {ID_CROP};
    Window().RightClickRow(IDC_LIST_IMAGES, 0);
    ASSERT_TRUE(dlg.Pages().at(0).shape.edits.crop.has_value());
    EXPECT_EQ(Tip(0).find("校正后放入"), std::string::npos) << Tip(0);
    EXPECT_NE(Tip(0).find("原样嵌入, 1 页, 已裁剪"), std::string::npos) << Tip(0);
}

TEST_F(DocumentRows, TheToolTipSaysWhetherTheSheetWasFoundOnlyWhileTheBoxIsChecked) {
    Add({page, desk});
    SettleChecks();
    ASSERT_EQ(dlg.Pages().paths(), (Strings{desk, page})); // the files, whatever marks a label gets
    const std::string plainDesk = Tip(0);
    const std::string plainPage = Tip(1);
    EXPECT_EQ(plainPage.find('\n'), std::string::npos) << plainPage;

    // Checking the box searches the rows already there.
    Click(IDC_CHECK_DOCUMENT);
    SettleChecks();
    EXPECT_EQ(Tip(0), plainDesk + kNotFound);
    // The found sheet is corrected: its tip says so, not how the photo's file would go in, and
    // nothing of it is cut, whatever the class.
    EXPECT_TRUE(EndsWith(Tip(1), kFound)) << Tip(1);
    EXPECT_NE(Tip(1).find("校正后放入(黑白为 G4, 有颜色为混合光栅, 或整页 JPEG)"),
              std::string::npos)
        << Tip(1);
    EXPECT_EQ(Tip(1).find("原样嵌入"), std::string::npos) << Tip(1);
    EXPECT_EQ(Tip(1).find("超出页面"), std::string::npos) << Tip(1);

    // The words travel with their rows, and a row added later is searched too.
    ClickRow(1);
    Click(IDC_BTN_MOVE_UP);
    EXPECT_TRUE(EndsWith(Tip(0), kFound)) << Tip(0);
    Add({dir / "desk.jpg"});
    SettleChecks();
    for (int row = 0; row < List().GetItemCount(); ++row) {
        EXPECT_TRUE(
            EndsWith(Tip(row), dlg.Pages().at(row).source.path == page ? kFound : kNotFound))
            << Tip(row);
    }

    Click(IDC_CHECK_DOCUMENT);
    EXPECT_EQ(Tip(0), plainPage);
}

TEST_F(DocumentRows, GeneratingWithTheBoxCheckedWritesTheCorrectedPage) {
    Add({page});
    SettleChecks();
    ChooseSavePath(dir / "plain.pdf");
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(support::ListImages(dir / "plain.pdf").at(0).filter, "DCTDecode");

    Click(IDC_CHECK_DOCUMENT);
    ChooseSavePath(dir / "corrected.pdf");
    Click(IDC_BTN_GENERATE);
    // The page is the sheet, upright A4, not the landscape photo.
    const std::vector<support::PdfImage> images = support::ListImages(dir / "corrected.pdf");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_NEAR(double(images[0].width) / images[0].height, 210.0 / 297, 0.05);
}

class DocumentPreview : public PreviewFixture {
protected:
    DocumentPreview() {
        WriteDeskPhoto(dir, "page.jpg", DeskShot(true));
        WriteDeskPhoto(dir, "desk.jpg", DeskShot(false));
        Window().Click(IDC_RADIO_FIT);
    }
};

TEST_F(DocumentPreview, ThePreviewShowsTheCorrectedPageAndAPhotoWithoutASheetAsItIs) {
    dlg.ShowPreview(Path("page.jpg"));
    const double photoDark = DarkShare(Frame());
    dlg.ShowPreview(Path("desk.jpg"));
    const double deskDark = DarkShare(Frame());
    // The dark desk around the sheet fills much of the photo.
    EXPECT_GT(photoDark, 0.15);

    Window().Click(IDC_CHECK_DOCUMENT);
    dlg.ShowPreview(Path("page.jpg"));
    EXPECT_LT(DarkShare(Frame()), 0.08); // paper and ink only
    dlg.ShowPreview(Path("desk.jpg"));
    EXPECT_NEAR(DarkShare(Frame()), deskDark, 0.01); // goes in as it is, and shows so
}

} // namespace

// A strip across the middle of the 1200 x 900 photo: a page five times as wide as high, unlike
// the sheet of A4 the program finds there.
constexpr CornerQuad kStrip = {CornerPoint{100, 350}, {1100, 350}, {1100, 550}, {100, 550}};

double Aspect(const support::PdfImage &image) {
    return double(image.width) / image.height;
}

// The PDF's first image: the corrected page (or, on a page of ink over colour, the colour,
// which has the page's shape too).
support::PdfImage CorrectedImage(const std::string &pdf) {
    const std::vector<support::PdfImage> images = support::ListImages(pdf);
    if (images.empty()) {
        ADD_FAILURE() << "no image in " << pdf;
        return {};
    }
    return images.front();
}

TEST_F(DocumentRows, CornersPlacedInTheEditorStayWithTheirRowAndDecideThePdfsPage) {
    Click(IDC_CHECK_DOCUMENT);
    Add({page, desk});
    SettleChecks();
    ClickRow(1); // page.jpg
    CornerQuad started{};
    RgbPicture detected;
    RgbPicture strip;
    ui.onCornerEditor = [&](const CornerEditRequest &request) {
        EXPECT_EQ(request.photo.width, 1200);
        EXPECT_EQ(request.photo.height, 900);
        started = request.corners;
        detected = request.page(request.corners);
        strip = request.page(kStrip); // a handle let go: the page follows
        return CornerEditAnswer{CornerEditAnswer::Choice::Accept, kStrip};
    };
    Click(IDC_BTN_CORNERS);
    ASSERT_EQ(ui.Events(UiEvent::Kind::CornerEditor).size(), 1u);
    // The editor starts on the sheet found: inside the photo, not its edges.
    EXPECT_GT(started[0].x, 50);
    EXPECT_LT(started[2].x, 1150);
    ASSERT_FALSE(detected.Empty());
    ASSERT_FALSE(strip.Empty());
    EXPECT_GT(detected.height, detected.width); // the A4 sheet
    EXPECT_NEAR(double(strip.width) / strip.height, 5.0, 0.3);
    EXPECT_TRUE(EndsWith(Tip(1), "\n边角已手动调整")) << Tip(1);

    // Moved to the top, the row keeps its corners; the PDF's page is the strip.
    Click(IDC_BTN_MOVE_TOP);
    ASSERT_EQ(dlg.Pages().paths(), (Strings{page, desk})); // the files, whatever marks a label gets
    ChooseSavePath(dir / "strip.pdf");
    Click(IDC_BTN_GENERATE);
    const support::PdfImage placed = CorrectedImage(dir / "strip.pdf");
    EXPECT_EQ(placed.page, 1);
    EXPECT_NEAR(Aspect(placed), 5.0, 0.25);

    // "自动" gives them up: the sheet found again, an A4 page.
    ui.onCornerEditor = [&](const CornerEditRequest &request) {
        EXPECT_NEAR(request.corners[0].x, kStrip[0].x, 1); // the editor starts where they were
        return CornerEditAnswer{CornerEditAnswer::Choice::Automatic, {}};
    };
    ClickRow(0);
    Click(IDC_BTN_CORNERS);
    SettleChecks();
    EXPECT_TRUE(EndsWith(Tip(0), kFound)) << Tip(0);
    ChooseSavePath(dir / "found.pdf");
    Click(IDC_BTN_GENERATE);
    EXPECT_NEAR(Aspect(CorrectedImage(dir / "found.pdf")), 210.0 / 297, 0.05);
}

TEST_F(DocumentRows, CornersThatEncloseNoPageKeepTheEditorOpenAndCancelChangesNothing) {
    Click(IDC_CHECK_DOCUMENT);
    Add({page});
    SettleChecks();
    const std::string tip = Tip(0);
    Strings hints;
    ui.onCornerEditor = [&hints](const CornerEditRequest &request) {
        hints.push_back(request.hint);
        EXPECT_FALSE(request.page(request.corners).Empty());
        const CornerQuad inLine = {CornerPoint{10, 10}, {20, 20}, {30, 30}, {40, 40}};
        const CornerQuad crossed = {request.corners[0], request.corners[2], request.corners[1],
                                    request.corners[3]};
        EXPECT_TRUE(request.page(inLine).Empty());
        // Kept on a line, then crossed: both times the editor stays open and says why.
        if (hints.size() == 1) {
            return CornerEditAnswer{CornerEditAnswer::Choice::Accept, inLine};
        }
        if (hints.size() == 2) {
            return CornerEditAnswer{CornerEditAnswer::Choice::Accept, crossed};
        }
        return CornerEditAnswer{CornerEditAnswer::Choice::Cancel, crossed};
    };
    Click(IDC_BTN_CORNERS);
    const std::string refused =
        "这四个角围不成一页纸: 请把圆点分别拖到纸张的四个角上, 边线不要交叉。";
    EXPECT_EQ(hints,
              (Strings{"把四个圆点拖到纸张的四个角上; 右边是校正后的页面。", refused, refused}));
    EXPECT_EQ(Messages(), Strings{});
    EXPECT_EQ(Tip(0), tip);
    EXPECT_EQ(ui.Events(UiEvent::Kind::CornerEditor).size(), 1u); // opened once
    ui.onCornerEditor = [](const CornerEditRequest &) {
        return CornerEditAnswer{CornerEditAnswer::Choice::Cancel, kStrip};
    };
    Window().Notify(IDC_PREVIEW_FRAME, NM_DBLCLK); // a double click on the preview opens it too
    EXPECT_EQ(Tip(0), tip);
    EXPECT_EQ(ui.Events(UiEvent::Kind::CornerEditor).size(), 2u);

    // Without "文档校正" neither the button nor the preview opens it.
    Click(IDC_CHECK_DOCUMENT);
    EXPECT_FALSE(Window().Wnd(IDC_BTN_CORNERS)->IsWindowEnabled());
    Click(IDC_BTN_CORNERS);
    Window().Notify(IDC_PREVIEW_FRAME, NM_DBLCLK);
    EXPECT_EQ(ui.Events(UiEvent::Kind::CornerEditor).size(), 2u);
}

// The bounds of what is drawn on the frame's white: the sheet's outline and the picture.
UiRect DrawnArea(const CSurface &frame) {
    UiRect area{frame.Width(), frame.Height(), 0, 0};
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            if (frame.PixelAt(x, y) != kWindowColor) {
                area = UiRect{std::min(area.left, x), std::min(area.top, y),
                              std::max(area.right, x + 1), std::max(area.bottom, y + 1)};
            }
        }
    }
    return area;
}

TEST_F(DocumentPreview, ThePreviewFollowsTheCornersPlacedByHand) {
    Window().Click(IDC_CHECK_DOCUMENT);
    ui.openAnswers.push_back(std::vector<std::string>{Path("page.jpg")});
    Window().Click(IDC_BTN_ADD_IMAGES);
    const UiRect sheet = DrawnArea(Frame());
    EXPECT_GT(sheet.Height(), sheet.Width()); // the A4 sheet found: a portrait page

    ui.onCornerEditor = [](const CornerEditRequest &) {
        return CornerEditAnswer{CornerEditAnswer::Choice::Accept, kStrip};
    };
    Window().Click(IDC_BTN_CORNERS);
    const UiRect strip = DrawnArea(Frame());
    EXPECT_GT(strip.Width(), strip.Height()); // fit turns the page with the wide strip
}
