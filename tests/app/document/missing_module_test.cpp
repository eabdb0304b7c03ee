// "文档校正" with the correction module missing (a program of its own, so that nothing before
// has loaded it): no sheet is claimed found or missing, and "生成PDF" writes the photo as it is
// and says so in its success box, with the module's path and the loader's reason.

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/app/DialogFixture.h"
#include "tests/app/document/DocumentFixture.h"
#include "tests/support/Pdf.h"

namespace {

class MissingCorrectionModule : public DialogFixture {
protected:
    MissingCorrectionModule() {
        ::setenv("FOLVANE_CORRECTION_MODULE", module.c_str(), 1);
        WriteDeskPhoto(dir, "page.jpg", DeskShot(true));
    }
    ~MissingCorrectionModule() override { ::unsetenv("FOLVANE_CORRECTION_MODULE"); }

    support::TempDir dir;
    const std::string module = dir / "missing-correction.so";
    const std::string page = dir / "page.jpg";
};

TEST_F(MissingCorrectionModule, TheSuccessBoxSaysThePageWentInUncorrectedAndWhy) {
    Add({page});
    SettleChecks();
    const std::string plainTip = List().GetItemToolTip(0);
    Click(IDC_CHECK_DOCUMENT);
    SettleChecks();
    EXPECT_EQ(List().GetItemToolTip(0), plainTip);

    ui.saveAnswers.push_back(dir / "out.pdf");
    Click(IDC_BTN_BROWSE);
    Click(IDC_BTN_GENERATE);
    const std::vector<support::PdfImage> images = support::ListImages(dir / "out.pdf");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].filter, "DCTDecode"); // the photo's own bytes
    ASSERT_FALSE(Messages().empty());
    const std::string box = Messages().back();
    EXPECT_EQ(box.rfind("操作成功!", 0), 0u) << box;
    EXPECT_NE(box.find("\npage.jpg: 无法加载文档校正模块, 按原样放入（" + module +
                       ": cannot open shared object file"),
              std::string::npos)
        << box;
}

} // namespace
