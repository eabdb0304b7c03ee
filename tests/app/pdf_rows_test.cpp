// Pages of existing PDFs as rows of the headless window: one row a page, in page order, each
// checked and shown as copied; passwords asked for and refused with their reason; damaged files
// named; the crop kept in points; document correction refused.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/PdfRows.h"
#include "tests/app/DialogFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Picture.h"
#include "tests/support/TextPdf.h"

namespace {

using Strings = std::vector<std::string>;
constexpr COLORREF kRed = ui::RGB(204, 0, 0);

class PdfRows : public DialogFixture {
protected:
    PdfRows() {
        // Three pages of 400 x 800 points, the second turned a quarter by its own /Rotate.
        support::WriteText(
            contract_, support::TextPdf(
                           {{400, 800, 0, "One"}, {400, 800, 90, "Two"}, {400, 800, 0, "Three"}}));
    }
    int PasswordBoxes() {
        int boxes = 0;
        for (const UiEvent &event : ui.events) {
            boxes += event.kind == UiEvent::Kind::Password;
        }
        return boxes;
    }
    std::string Tip(int row) { return List().GetItemToolTip(row); }

    support::TempDir dir_;
    std::string contract_ = dir_ / "合同.pdf";
};

TEST_F(PdfRows, APdfGivesOneRowAPageInPageOrder) {
    // A second file of the same name sorts in beside it; the pages of each stay in order.
    const std::string other = dir_ / "other/合同.pdf";
    std::filesystem::create_directory(dir_ / "other");
    support::WriteText(other, support::NumberedPdf(2));
    Add({contract_, other});
    SettleChecks();
    ASSERT_EQ(dlg.Pages().count(), 5);
    std::vector<std::pair<std::string, int>> order;
    for (int row = 0; row < 5; ++row) {
        const PageSource &source = dlg.Pages().at(row).source;
        order.emplace_back(source.path, source.page.value_or(0));
    }
    EXPECT_EQ(order, (std::vector<std::pair<std::string, int>>{
                         {other, 1}, {other, 2}, {contract_, 1}, {contract_, 2}, {contract_, 3}}));
    EXPECT_EQ(Paths()[3], contract_ + " 第 2/3 页");
    EXPECT_EQ(Tip(2), "PDF, 3 页, 原样复制");
    EXPECT_EQ(List().GetItemTextColor(2), CLR_DEFAULT);
    // The page's own turn is part of its size: 800 x 400 points.
    EXPECT_EQ(dlg.Pages().at(3).facts->width, 800);
    EXPECT_EQ(PasswordBoxes(), 0);
}

TEST_F(PdfRows, PagesOfAPdfAndAPhotoBecomeOneDocumentAsTheListShapesThem) {
    const std::string photo = dir_ / "photo.jpg";
    support::WriteFile(photo, support::MakeJpeg(support::Pattern(300, 400, 3)));
    Add({contract_, photo});
    SettleChecks();
    ASSERT_EQ(dlg.Pages().count(), 4);
    // The rows sort in by name: the photo first. It goes between the first and the last page;
    // the second page goes out; the last page is turned.
    ASSERT_EQ(dlg.Pages().at(0).source.path, photo);
    ClickRow(0);
    Click(IDC_BTN_MOVE_DOWN);
    ClickRow(2);
    Click(IDC_BTN_DELETE);
    ClickRow(2);
    dlg.OnRotateRight();
    ASSERT_EQ(dlg.Pages().count(), 3);
    const std::string pdf = dir_ / "out.pdf";
    ui.saveAnswers.push_back(pdf);
    Click(IDC_BTN_BROWSE);
    Click(IDC_BTN_GENERATE);

    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back(), std::string(kMsgSuccess) + "\n共 3 页, 已保存到 " + pdf);
    EXPECT_TRUE(support::QpdfCheck(pdf));
    // The PDF's pages keep their text; the photo is an image page between them.
    EXPECT_NE(support::PdfText(pdf, 1).find("One"), std::string::npos);
    EXPECT_EQ(support::PdfText(pdf, 2).find_first_not_of(" \n\f"), std::string::npos);
    EXPECT_NE(support::PdfText(pdf, 3).find("Three"), std::string::npos);
    const support::Picture first = support::RenderPage(pdf, 1);
    const support::Picture turned = support::RenderPage(pdf, 3);
    EXPECT_LT(first.width, first.height);
    EXPECT_GT(turned.width, turned.height) << "turned a quarter";
    EXPECT_EQ(support::ListImages(pdf).size(), 1u);
}

TEST_F(PdfRows, ASortByNameKeepsThePagesOfAFileInOrder) {
    Add({contract_});
    Click(IDC_BTN_SORT_BY_NAME);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(dlg.Pages().at(row).source.page, row + 1);
    }
}

TEST_F(PdfRows, AnOpenPasswordIsAskedForAndAWrongOneRefused) {
    const std::string locked = dir_ / "locked.pdf";
    const std::string owner = dir_ / "owner.pdf";
    ASSERT_TRUE(support::EncryptPdf(contract_, locked, "secret", "owner secret"));
    ASSERT_TRUE(support::EncryptPdf(contract_, owner, "", "owner secret"));

    ui.passwordAnswers = {std::string("secret")};
    Add({locked});
    SettleChecks();
    EXPECT_EQ(PasswordBoxes(), 1);
    ASSERT_EQ(dlg.Pages().count(), 3);
    EXPECT_EQ(Tip(0), "PDF, 3 页, 原样复制");
    // Never written to the settings.
    for (const auto &[key, value] : ui.settings.values) {
        EXPECT_EQ(value.find("secret"), std::string::npos) << key;
    }

    // The password stays known for the window's life: no second question for the same file.
    Click(IDC_BTN_CLEAR_LIST);
    Add({locked});
    SettleChecks();
    EXPECT_EQ(PasswordBoxes(), 1);
    EXPECT_EQ(dlg.Pages().count(), 3);

    const std::string guessed = dir_ / "guessed.pdf";
    const std::string cancelled = dir_ / "cancelled.pdf";
    std::filesystem::copy_file(locked, guessed);
    std::filesystem::copy_file(locked, cancelled);
    Click(IDC_BTN_CLEAR_LIST);
    ui.passwordAnswers = {std::string("guess")};
    Add({guessed});
    SettleChecks();
    ASSERT_EQ(dlg.Pages().count(), 1);
    EXPECT_NE(Tip(0).find("密码错误"), std::string::npos) << Tip(0);
    EXPECT_EQ(List().GetItemTextColor(0), kRed);

    // A cancelled box leaves one row that says a password is needed.
    Click(IDC_BTN_CLEAR_LIST);
    Add({cancelled});
    SettleChecks();
    ASSERT_EQ(dlg.Pages().count(), 1);
    EXPECT_NE(Tip(0).find("需要密码"), std::string::npos) << Tip(0);

    // An owner password alone opens without a question.
    Click(IDC_BTN_CLEAR_LIST);
    const int boxes = PasswordBoxes();
    Add({owner});
    SettleChecks();
    EXPECT_EQ(PasswordBoxes(), boxes);
    EXPECT_EQ(dlg.Pages().count(), 3);
}

TEST_F(PdfRows, ADamagedPdfIsOneRedRowWithItsReason) {
    const std::string damaged = dir_ / "damaged.pdf";
    support::WriteText(damaged, "%PDF-1.4\nnothing else\n");
    Add({damaged});
    SettleChecks();
    ASSERT_EQ(dlg.Pages().count(), 1);
    EXPECT_EQ(List().GetItemTextColor(0), kRed);
    EXPECT_NE(Tip(0).find("不是完好的 PDF 文件"), std::string::npos) << Tip(0);
}

TEST_F(PdfRows, TheCropIsKeptInPointsOfTheTurnedPage) {
    Add({contract_});
    SettleChecks();
    ClickRow(0);
    dlg.OnRotateRight();
    // Turned, the page is 800 x 400 points; the editor shows it 1200 x 600 pixels.
    CropBox shown;
    ui.onCropEditor = [&shown](const CropEditRequest &request) {
        shown = CropBox{0, 0, request.page.width, request.page.height};
        return CropEditAnswer{CropEditAnswer::Choice::Accept, CropBox{300, 150, 900, 450}};
    };
    dlg.OnCrop();
    EXPECT_EQ(shown.right, 1200);
    EXPECT_EQ(shown.bottom, 600);
    const std::optional<folvane::CropRect> crop = dlg.Pages().at(0).shape.edits.crop;
    ASSERT_TRUE(crop);
    EXPECT_EQ(*crop, (folvane::CropRect{200, 100, 600, 300}));
    EXPECT_EQ(Tip(0), "PDF, 3 页, 原样复制, 已向右旋转, 已裁剪");
}

TEST_F(PdfRows, DocumentCorrectionDoesNotApplyToAPdfPage) {
    Add({contract_});
    Click(IDC_CHECK_DOCUMENT);
    SettleChecks();
    EXPECT_NE(Tip(0).find("文档校正不适用于 PDF 的页面"), std::string::npos) << Tip(0);
    ClickRow(0);
    Click(IDC_BTN_CORNERS);
    ASSERT_FALSE(Messages().empty());
    EXPECT_NE(Messages().back().find("文档校正不适用于"), std::string::npos);
}

TEST(PdfPreview, ThePageIsDrawnTurnedAndCroppedInPoints) {
    support::TempDir dir;
    const std::string path = dir / "page.pdf";
    support::WriteText(path, support::TextPdf({{400, 800, 0, "", true}}));
    const UiRect client{0, 0, 300, 300};
    PreviewPicture whole;
    ASSERT_TRUE(loadPdfPreviewPicture(path, 1, "", client, whole, 1));
    EXPECT_EQ(whole.uprightWidth, 800);
    EXPECT_EQ(whole.uprightHeight, 400);
    EXPECT_EQ(whole.image.GetWidth(), 300u);
    EXPECT_EQ(whole.image.GetHeight(), 150u);
    EXPECT_FALSE(whole.part);
    // Turned right, the page's top left square is at the picture's top right (rows bottom up).
    const auto dark = [&whole](int x, int y) {
        const RGBQUAD pixel = whole.image.PixelColorAt(x, 149 - y);
        return pixel.rgbRed < 64 && pixel.rgbGreen < 64 && pixel.rgbBlue < 64;
    };
    EXPECT_TRUE(dark(280, 20));
    EXPECT_FALSE(dark(20, 20));
    EXPECT_FALSE(dark(240, 20));

    PreviewPicture cropped;
    ASSERT_TRUE(
        loadPdfPreviewPicture(path, 1, "", client, cropped, 0, folvane::CropRect{0, 0, 200, 400}));
    EXPECT_EQ(cropped.uprightWidth, 200);
    EXPECT_EQ(cropped.uprightHeight, 400);
    EXPECT_TRUE(cropped.part);

    PreviewPicture missing;
    EXPECT_FALSE(loadPdfPreviewPicture(dir / "none.pdf", 1, "", client, missing));
    EXPECT_FALSE(loadPdfPreviewPicture(path, 2, "", client, missing));
}

} // namespace
