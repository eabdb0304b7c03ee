// "文档校正" in the headless window, on desk photos: the tool tip says whether the sheet was
// found, the preview shows the corrected page, and "生成PDF" writes corrected pages.

#include <gtest/gtest.h>

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

TEST_F(DocumentRows, TheToolTipSaysWhetherTheSheetWasFoundOnlyWhileTheBoxIsChecked) {
    Add({page, desk});
    SettleChecks();
    ASSERT_EQ(Paths(), (Strings{desk, page}));
    const std::string plainDesk = Tip(0);
    const std::string plainPage = Tip(1);
    EXPECT_EQ(plainPage.find('\n'), std::string::npos) << plainPage;

    // Checking the box searches the rows already there.
    Click(IDC_CHECK_DOCUMENT);
    SettleChecks();
    EXPECT_EQ(Tip(0), plainDesk + kNotFound);
    EXPECT_EQ(Tip(1), plainPage + kFound);

    // The words travel with their rows, and a row added later is searched too.
    ClickRow(1);
    Click(IDC_BTN_MOVE_UP);
    EXPECT_TRUE(EndsWith(Tip(0), kFound)) << Tip(0);
    Add({dir / "desk.jpg"});
    SettleChecks();
    for (int row = 0; row < List().GetItemCount(); ++row) {
        EXPECT_TRUE(EndsWith(Tip(row), Paths()[row] == page ? kFound : kNotFound)) << Tip(row);
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
    const std::vector<support::PdfImage> images = support::ListImages(dir / "corrected.pdf");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].filter, "CCITTFaxDecode"); // black text on paper: one bilevel image
    EXPECT_EQ(images[0].bits, 1);
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
