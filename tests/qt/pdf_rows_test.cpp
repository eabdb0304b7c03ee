// The pages of a PDF as rows of the real window, in Chinese: one row a page, its preview drawn
// from the page, its tool tip saying it is copied as it is.
#include "tests/qt/PdfRowShot.h"

namespace {

TEST_F(PdfRowShot, APageOfAPdfIsARowWithItsPreviewAndTip) {
    const std::string tip = ShowSecondPage("pdf-row.png");
    EXPECT_EQ(tip, "PDF, 3 页, 原样复制");
    EXPECT_EQ(dlg->ImageList().GetItemText(1, 1), contract + " 第 2/3 页");
    // The black square of the second page shows in the preview.
    EXPECT_GT(DarkShare(), 0.005);
}

} // namespace
