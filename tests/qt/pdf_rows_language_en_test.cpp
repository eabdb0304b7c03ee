// The pages of a PDF as rows of the real window under an English locale (CTest runs this
// program with LANG=en_US.UTF-8).
#include "tests/qt/LanguageChecks.h"
#include "tests/qt/PdfRowShot.h"

namespace {

const auto *const kLanguage = ::testing::AddGlobalTestEnvironment(new StartUpLanguage);

TEST_F(PdfRowShot, APageOfAPdfIsARowWithItsPreviewAndTipInEnglish) {
    const std::string tip = ShowSecondPage("pdf-row-en.png");
    EXPECT_EQ(tip, "PDF, 3 pages, copied as they are");
    EXPECT_EQ(dlg->ImageList().GetItemText(1, 1), contract + " page 2/3");
    EXPECT_GT(DarkShare(), 0.005);
}

} // namespace
