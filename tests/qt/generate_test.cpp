// "生成PDF" in the real window: the page loop on a worker thread behind a progress window that
// counts the pages and can cancel, and the boxes after it.

#include <QApplication>
#include <QCheckBox>
#include <QPainter>
#include <QProgressBar>
#include <QRadioButton>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "tests/qt/RunWatcher.h"
#include "tests/qt/Screenshots.h"
#include "tests/qt/WindowFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using Strings = std::vector<std::string>;

class Generate : public WindowFixture {
protected:
    // A small JPEG in the test's folder; its path.
    std::string Jpeg(const std::string &name, int width = 48, int height = 64) {
        WriteFile(dir / name, MakeJpeg(Pattern(width, height, 3)));
        return dir / name;
    }
    void SaveTo(const std::string &path) {
        dlg->SetSavePath(path);
        dlg->UpdateData(false);
    }
    // The success box as the watcher keeps it: "操作成功!" with what was written where.
    static std::string Success(int pages, const std::string &path, const std::string &cut = "") {
        return "系统提示|操作成功!\n共 " + std::to_string(pages) + " 页, 已保存到 " + path +
               (cut.empty() ? "" : "; 其中 " + cut);
    }
    // A three-page scan of an A4 page at 300 dpi (2480 x 3508), the sample page enlarged; its
    // path. At the start-up class 300万 each page is 1041.6 x 1473.4 points, of which the
    // 595 x 842 sheet shows 32.6%: 67% lies off the page.
    std::string Scan(const std::string &name) {
        const QImage sample =
            QImage(
                QString::fromStdString(std::string(FOLVANE_SOURCE_DIR) + "/res/samples/page-1.jpg"))
                .convertToFormat(QImage::Format_Grayscale8)
                .scaled(2480, 3508, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        Picture page = Blank(sample.width(), sample.height(), 1);
        for (int y = 0; y < sample.height(); ++y) {
            std::copy_n(sample.constScanLine(y), sample.width(),
                        page.samples.begin() + static_cast<std::ptrdiff_t>(y) * sample.width());
        }
        TiffPage scan = TiffPageOf(page);
        scan.compression = COMPRESSION_ADOBE_DEFLATE;
        WriteTiff(dir / name, {scan, scan, scan});
        return dir / name;
    }

    TempDir dir;
};

TEST_F(Generate, TheProgressWindowCountsToTheLastPageAndTheBoxesComeAfterIt) {
    std::vector<std::string> rows;
    for (int i = 1; i <= 12; ++i) {
        rows.push_back(Jpeg("page-" + std::to_string(i) + ".jpg"));
    }
    // The pages are counted, not the rows: a three-page scan counts three.
    const TiffPage scanned = TiffPageOf(Pattern(32, 32, 1));
    WriteTiff(dir / "page-13.tif", {scanned, scanned, scanned});
    rows.push_back(dir / "page-13.tif");
    AddRows(rows);
    SaveTo(dir / "book.pdf");
    RunWatcher watcher;
    Click(IDC_BTN_GENERATE);

    ASSERT_FALSE(watcher.progressTexts.empty());
    EXPECT_EQ(watcher.progressTexts.back(), "第 15 / 15 页");
    EXPECT_EQ(watcher.boxes, (Strings{Success(15, dir / "book.pdf")}));
    EXPECT_EQ(toolkit.opened, (Strings{"open " + (dir / "book.pdf")}));
    EXPECT_EQ(PageCount(dir / "book.pdf"), 15);
    EXPECT_EQ(Paths(), rows); // the list stays for another run
    // A list written to a PDF is not asked about on exit.
    window->close();
    EXPECT_EQ(dlg->EndResult(), IDCANCEL);
}

// Pages the chosen class cuts are said before anything is written, with three answers: 取消
// writes nothing, 继续 writes them as chosen and the success box says what was cut, 适应页面
// switches to fit, as a click on its radio button would, and writes the whole pages.
TEST_F(Generate, PagesTheClassCutsAreAskedAboutAndEachAnswerDoesWhatItSays) {
    AddRows({Scan("scan.tif")});
    SettleChecks();
    const std::string pdf = dir / "book.pdf";
    SaveTo(pdf);
    const std::string cut = "3 页图片超出页面(最多 67%)";

    std::string asked;
    Strings buttons;
    WhenModal<QMessageBox>([&](QMessageBox &box) {
        asked = box.text().toStdString();
        KeepScreenshotOver(window, &box, "cut-pages.png");
        for (QAbstractButton *button : box.buttons()) {
            buttons.push_back(button->text().toStdString());
        }
        box.buttons().back()->click();
    });
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(asked, cut + "\n超出页面的部分不会出现在PDF中。\n"
                           "选\"适应页面\"可把每张图片整张缩放到页面上。");
    EXPECT_EQ(buttons, (Strings{"适应页面", "继续", "取消"}));
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(toolkit.opened.empty());
    {
        RunWatcher watcher;
        watcher.answers = {"继续"};
        Click(IDC_BTN_GENERATE);
        ASSERT_EQ(watcher.boxes.size(), 2u);
        EXPECT_EQ(watcher.boxes[1], Success(3, pdf, cut));
        EXPECT_EQ(watcher.progressTexts.back(), "第 3 / 3 页");
    }
    EXPECT_TRUE(Widget<QRadioButton>(IDC_RADIO_300)->isChecked());
    EXPECT_NEAR(PlacementMatrices(pdf).at(0)[0], 2480 * 0.42, 0.01);
    {
        RunWatcher watcher;
        watcher.answers = {"适应页面"};
        Click(IDC_BTN_GENERATE);
        ASSERT_EQ(watcher.boxes.size(), 2u);
        EXPECT_EQ(watcher.boxes[1], Success(3, pdf));
    }
    EXPECT_TRUE(Widget<QRadioButton>(IDC_RADIO_FIT)->isChecked());
    EXPECT_FALSE(Widget<QRadioButton>(IDC_RADIO_300)->isChecked());
    EXPECT_NEAR(PlacementMatrices(pdf).at(0)[0], 595, 0.01); // the page's whole width
    Close();
    Open();
    EXPECT_TRUE(Widget<QRadioButton>(IDC_RADIO_FIT)->isChecked()) << "not remembered";
}

// QDesktopServices answers false where the desktop cannot open a file, as on this offscreen
// platform, which has no desktop: the real toolkit reports it, and the window says it.
TEST_F(Generate, APdfTheDesktopCannotOpenIsSaidNotSwallowed) {
    QtToolkit desktop;
    EXPECT_FALSE(desktop.ShellExecute("open", Jpeg("a.jpg"), SW_SHOWNORMAL));

    AddRows({dir / "a.jpg"});
    SaveTo(dir / "book.pdf");
    toolkit.opens = false;
    RunWatcher watcher;
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(watcher.boxes,
              (Strings{Success(1, dir / "book.pdf"), "系统提示|无法打开 " + (dir / "book.pdf") +
                                                         "\n桌面上没有能打开这种文件的程序。"}));
}

TEST_F(Generate, CancellingMidwayLeavesTheOldPdfAsItWasAndNoOtherFile) {
    const std::string photo = Jpeg("合同扫描.jpg", 1024, 768);
    AddRows(std::vector<std::string>(200, photo));
    const std::string pdf = dir / "book.pdf";
    WriteText(pdf, "%PDF-1.4 the document of an earlier run\n");
    SaveTo(pdf);
    const std::set<std::string> before = Listing(dir.Path());

    // Cancel as soon as the window shows a page count: pages are on their way, more follow.
    RunWatcher watcher;
    std::string cancelledAt;
    std::string file;
    watcher.onProgress = [&](QtProgressDialog &progress, const std::string &text) {
        if (cancelledAt.empty() && !text.empty()) {
            cancelledAt = text;
            file = progress.findChild<QLabel *>(QStringLiteral("progressDetail"))
                       ->text()
                       .toStdString();
            KeepScreenshotOver(window, &progress, "progress.png");
            // The window behind takes no clicks meanwhile: the list stays as the run took it.
            QWidget *clear = Widget<QAbstractButton>(IDC_BTN_CLEAR_LIST);
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                              clear->mapTo(window, clear->rect().center()));
            QTest::mouseClick(progress.findChild<QPushButton *>(QStringLiteral("progressCancel")),
                              Qt::LeftButton);
        }
    };
    Click(IDC_BTN_GENERATE);

    ASSERT_FALSE(cancelledAt.empty());
    EXPECT_EQ(file, "合同扫描.jpg");
    EXPECT_NE(cancelledAt, "第 200 / 200 页");
    EXPECT_NE(watcher.progressTexts.back(), "第 200 / 200 页");
    EXPECT_TRUE(watcher.boxes.empty()); // the user's own choice needs no box
    EXPECT_TRUE(ReadText(pdf) == "%PDF-1.4 the document of an earlier run\n");
    EXPECT_EQ(Listing(dir.Path()), before);
    EXPECT_TRUE(toolkit.opened.empty());
    EXPECT_EQ(Paths().size(), 200u);
}

// A file gone since its check is checked again by "生成PDF": its row is asked about with the
// engine's reason, as any unusable row is, instead of failing the run on it midway.
TEST_F(Generate, AFileGoneSinceItsCheckIsNamedWithTheEnginesReasonBeforeTheRun) {
    // Both files are fine when checked; one of them is gone by the time the PDF is made.
    const std::string good = Jpeg("a.jpg");
    const std::string broken = Jpeg("b.jpg");
    AddRows({good, broken});
    SettleChecks();
    std::filesystem::remove(broken);
    SaveTo(dir / "book.pdf");
    RunWatcher watcher;
    watcher.answers = {"取消"};
    Click(IDC_BTN_GENERATE);

    ASSERT_EQ(watcher.boxes.size(), 1u);
    const std::string prefix = "系统提示|列表中有 1 张图片无法使用:\nb.jpg: ";
    EXPECT_EQ(watcher.boxes[0].substr(0, prefix.size()), prefix) << watcher.boxes[0];
    EXPECT_NE(watcher.boxes[0].find(broken, prefix.size()), std::string::npos); // the reason
    EXPECT_FALSE(std::filesystem::exists(dir / "book.pdf"));
    EXPECT_EQ(Paths(), (Strings{good, broken}));
    EXPECT_TRUE(toolkit.opened.empty());
}

// With "文字识别" checked the PDF has the page's words as text a viewer can search, and the
// progress window says each page is being recognised.
TEST_F(Generate, TextRecognitionCheckedGivesThePdfItsWords) {
    QImage page(900, 240, QImage::Format_Grayscale8);
    page.fill(Qt::white);
    QPainter painter(&page);
    QFont font = painter.font();
    font.setPixelSize(56);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(page.rect(), Qt::AlignCenter, QStringLiteral("Searchable invoice 2026"));
    painter.end();
    ASSERT_TRUE(page.save(QString::fromStdString(dir / "words.png")));
    AddRows({dir / "words.png"});
    SaveTo(dir / "book.pdf");
    auto *check = Widget<QCheckBox>(IDC_CHECK_OCR);
    MouseClick(check, check->rect().center());
    ASSERT_TRUE(check->isChecked());

    RunWatcher watcher;
    std::string detail;
    bool shot = false;
    watcher.onProgress = [&](QtProgressDialog &progress, const std::string &text) {
        detail =
            progress.findChild<QLabel *>(QStringLiteral("progressDetail"))->text().toStdString();
        if (!shot && !text.empty()) {
            KeepScreenshotOver(window, &progress, "progress-ocr.png");
            shot = true;
        }
    };
    Click(IDC_BTN_GENERATE);

    EXPECT_EQ(watcher.boxes, (Strings{Success(1, dir / "book.pdf")}));
    EXPECT_EQ(detail, "文字识别: words.png");
    const std::string text = PdfText(dir / "book.pdf");
    EXPECT_NE(text.find("Searchable"), std::string::npos) << text;
    EXPECT_NE(text.find("2026"), std::string::npos) << text;
}

} // namespace
