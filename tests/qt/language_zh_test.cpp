// The window under a Chinese locale (CTest runs this program with LANG=zh_CN.UTF-8): the
// original Chinese as it was, Qt's own dialogs in Chinese, and no English sentence anywhere in
// a run that meets every kind of trouble.

#include <QDialogButtonBox>
#include <QFileDialog>
#include <filesystem>

#include "app/CommandLine.h"
#include "app/Resources.h"
#include "tests/qt/BlankScan.h"
#include "tests/qt/CropEditorChecks.h"
#include "tests/qt/FeederStack.h"
#include "tests/qt/LanguageChecks.h"
#include "tests/qt/PaperChecks.h"
#include "tests/qt/RunWatcher.h"
#include "tests/qt/Screenshots.h"
#include "tests/qt/SplitChecks.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Process.h"

namespace {

using namespace support;
using Strings = std::vector<std::string>;

const auto *const kLanguage = ::testing::AddGlobalTestEnvironment(new StartUpLanguage);

class Chinese : public WindowFixture {
protected:
    void SaveTo(const std::string &path) {
        dlg->SetSavePath(path);
        dlg->UpdateData(false);
    }
    // Adds a good photo, a damaged JPEG and a text file named .jpg; their paths.
    Strings AddTroubledRows() {
        WriteFile(dir / "扫描件-1.jpg", MakeJpeg(Pattern(480, 640, 3)));
        Bytes cut = MakeJpeg(Pattern(480, 640, 3));
        cut.resize(cut.size() / 2);
        WriteFile(dir / "扫描件-2.jpg", cut);
        WriteText(dir / "购物清单.jpg", "a shopping list, not a picture");
        const Strings rows = {dir / "扫描件-1.jpg", dir / "扫描件-2.jpg", dir / "购物清单.jpg"};
        AddRows(rows);
        SettleChecks();
        return rows;
    }

    TempDir dir;
};

TEST_F(Chinese, TheLocaleKeepsTheOriginalCaptionsAndLayout) {
    EXPECT_EQ(localeLanguage(), WindowLanguage::Chinese);
    EXPECT_TRUE(SpeaksSourceLanguage());
    const std::pair<int, const char *> captions[] = {
        {IDC_BTN_ADD_IMAGES, "添加图片"}, {IDC_BTN_SORT_BY_NAME, "重新排序"},
        {IDC_BTN_GENERATE, "生成PDF"},    {IDC_RADIO_FIT, "适应页面"},
        {IDC_CHECK_OCR, "文字识别"},      {IDC_BTN_CLEAR_LIST, "清空列表"},
    };
    for (const auto &[id, caption] : captions) {
        EXPECT_EQ(Widget<QAbstractButton>(id)->text().toStdString(), caption);
    }
    EXPECT_EQ(Widget<QGroupBox>(IDC_GROUP_IMAGE_TYPE)->title().toStdString(), "图片类型");
    EXPECT_EQ(MainDialogTemplate().width, 573); // 493 before "纸张" took its 80 on the right
    const UiRect sort = MainDialogTemplate().Find(IDC_BTN_SORT_BY_NAME)->rect;
    EXPECT_EQ((std::vector<int>{sort.left, sort.top, sort.right, sort.bottom}),
              (std::vector<int>{392, 216, 431, 232}));
    std::string menu;
    for (QAction *item : window->findChild<QMenuBar *>()->actions()) {
        menu += item->text().toStdString();
    }
    EXPECT_EQ(menu, "帮助(&H)");
    // The About box and its menu item, as the original wrote them.
    EXPECT_EQ(LoadStringResource(IDS_ABOUTBOX), "关于 Folvane(&A)...");
    Strings about;
    WhenModal<QDialog>([&](QDialog &box) {
        about = DialogTexts(&box);
        box.reject();
    });
    dlg->SendMessage(UiMessage{WM_COMMAND, ID_MENU_ABOUT, 0, 0});
    const std::string version =
        "Folvane " + (versionText().substr(8, versionText().size() - 9)) + " 版";
    for (const std::string &original :
         {std::string("关于 Folvane"), version, std::string("确定")}) {
        EXPECT_NE(std::find(about.begin(), about.end(), original), about.end()) << original;
    }
}

// Qt's file dialog and the buttons of message boxes speak Chinese too (Qt's own translations).
TEST_F(Chinese, QtsOwnDialogsAndButtonsSpeakChinese) {
    Strings fileDialog;
    WhenModal<QFileDialog>([&](QFileDialog &dialog) {
        fileDialog = DialogTexts(&dialog);
        dialog.reject();
    });
    Click(IDC_BTN_ADD_IMAGES);
    ASSERT_FALSE(fileDialog.empty());
    EXPECT_EQ(fileDialog[0], "选择一个或者多个JPG文件");
    for (const char *shown : {"查找范围：", "取消"}) {
        EXPECT_NE(std::find(fileDialog.begin(), fileDialog.end(), shown), fileDialog.end())
            << shown;
    }
    for (const std::string &text : fileDialog) {
        EXPECT_TRUE(EnglishRuns(text, {}).empty()) << text;
        EXPECT_NE(text, "Look in:");
    }

    Strings buttons;
    std::string text;
    WhenModal<QMessageBox>([&](QMessageBox &box) {
        text = box.windowTitle().toStdString() + "|" + box.text().toStdString();
        for (QAbstractButton *button : box.buttons()) {
            buttons.push_back(button->text().toStdString());
        }
        box.buttons().value(0)->click();
    });
    Click(IDC_BTN_MOVE_UP);
    EXPECT_EQ(buttons, Strings{"确定"});
    EXPECT_EQ(text, "系统提示|您还没有图片！\n请先添加图片文件!") << "the original's words";
}

// Everything a user meets in one sitting: a damaged JPEG and a text file named .jpg turn red,
// the PDF is made without them, then an output folder that does not exist, a cancelled run and
// text recognition without its language data. Every text the window and its boxes showed is
// Chinese; English words stand only in parentheses (a library's own) and in file names.
TEST_F(Chinese, ARunThroughEveryTroubleShowsNoEnglishSentence) {
    const Strings rows = AddTroubledRows();
    Strings shown = WindowTexts(window, List());
    std::string tip;
    KeepScreenshot(HoverTip(window, List(), RowOf(rows[2]), tip), "preflight-zh.png");
    EXPECT_EQ(PlainText(tip), "“" + rows[2] + "”不是 JPEG、TIFF 或 PNG 图片");
    ClickRow(RowOf(rows[0]));
    KeepScreenshot(window->grab().toImage(), "window-zh.png");
    EXPECT_EQ(std::filesystem::path(CFolvaneDlg::PreviewFilePath(dir / "notes.txt")).filename(),
              "无法显示.bmp");

    RunWatcher watcher;
    SaveTo(dir / "书.pdf");
    watcher.answers = {"跳过"};
    Click(IDC_BTN_GENERATE);
    EXPECT_TRUE(std::filesystem::exists(dir / "书.pdf"));
    const std::string missingFolder = dir / "没有这个文件夹/书.pdf";
    SaveTo(missingFolder);
    watcher.answers = {"跳过"};
    Click(IDC_BTN_GENERATE);
    ASSERT_FALSE(watcher.boxes.empty());
    EXPECT_EQ(watcher.boxes.back().rfind("系统提示|操作失败!请重启后再试!\n" + missingFolder, 0),
              0u)
        << watcher.boxes.back();

    Click(IDC_BTN_CLEAR_LIST);
    AddRows(Strings(120, rows[0]));
    SaveTo(dir / "书.pdf");
    watcher.onProgress = [](QtProgressDialog &progress, const std::string &text) {
        if (!text.empty()) {
            progress.reject(); // Escape: cancel
        }
    };
    Click(IDC_BTN_GENERATE);
    watcher.onProgress = nullptr;

    Click(IDC_BTN_CLEAR_LIST);
    AddRows({rows[0]});
    TempDir noLanguages;
    qputenv("TESSDATA_PREFIX", QByteArray::fromStdString(noLanguages.Path()));
    Click(IDC_CHECK_OCR);
    Click(IDC_BTN_GENERATE);
    qunsetenv("TESSDATA_PREFIX");
    Click(IDC_CHECK_OCR);
    ASSERT_FALSE(watcher.boxes.empty());
    EXPECT_NE(watcher.boxes.back().find("请安装 Debian 软件包 tesseract-ocr-"), std::string::npos)
        << watcher.boxes.back();

    for (const Strings &more :
         {watcher.boxes, watcher.otherTexts, watcher.progressTexts, WindowTexts(window, List())}) {
        shown.insert(shown.end(), more.begin(), more.end());
    }
    const Strings names = {dir.Path(), "扫描件-1.jpg", "扫描件-2.jpg", "购物清单.jpg"};
    for (const std::string &text : shown) {
        EXPECT_EQ(EnglishRuns(text, names), Strings{}) << text;
    }
    EXPECT_GT(shown.size(), 40u);
}

// A page photographed sideways, turned right with Ctrl+R: the preview shows it upright, its tip
// says so, and the right-click menu offers both turns after "下移".
TEST_F(Chinese, ASidewaysPageTurnsRightAndTheMenuOffersBothTurns) {
    AddRows({WriteSidewaysSample(dir, "侧拍.jpg")});
    SettleChecks();
    Click(IDC_RADIO_FIT);
    ClickRow(0);
    Key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(dlg->Pages().at(0).shape.edits.quarterTurns, 1);
    std::string tip;
    KeepScreenshot(HoverTip(window, List(), 0, tip), "turn-zh.png");
    EXPECT_EQ(PlainText(tip), "JPEG 1416x2004, 原样嵌入, 1 页, 已向右旋转");
    Strings items;
    KeepScreenshot(RowMenu(window, List(), 0, items), "menu-zh.png");
    EXPECT_EQ(items, (Strings{"资料修改", "文档属性...", "关于", "退出", "", "删除", "上移", "下移",
                              "向左旋转\tCtrl+L", "向右旋转\tCtrl+R", "裁剪", "双面合并\tCtrl+D",
                              "", "撤销旋转", "重做"}));
}

TEST_F(Chinese, TheFailureBoxSaysWhyInChinese) {
    AddTroubledRows();
    SaveTo(dir / "没有这个文件夹/书.pdf");
    RunWatcher watcher;
    watcher.answers = {"跳过"};
    watcher.onBox = [this](QMessageBox &box) {
        if (box.text().startsWith(QStringLiteral("操作失败"))) {
            KeepScreenshotOver(window, &box, "failure-zh.png");
        }
    };
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(watcher.boxes.size(), 2u);
    EXPECT_NE(watcher.boxes[1].find("无法创建文件“"), std::string::npos) << watcher.boxes[1];
}

TEST(ChineseCommandLine, HelpIsChinese) {
    const RunResult help = RunShell("env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=zh_CN.UTF-8 " +
                                    Quote(std::string(FOLVANE_BIN_DIR) + "/folvane") + " --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("用法: folvane [文件|文件夹...]\n", 0), 0u) << help.out;
}

// "裁剪" over a sample page: the handle and the keys move the rectangle, one too small is refused
// with its hint while the editor stays open, and 确定 crops the page, which undo takes back.
TEST_F(Chinese, TheCropEditorMovesItsRectangleRefusesOneTooSmallAndCropsThePage) {
    AddRows({CopySamples(dir, "裁剪")[0]});
    SettleChecks();
    Click(IDC_RADIO_FIT);
    ClickRow(0);
    CropEditorRun run;
    DriveCropEditor(run, "crop-editor-zh.png");
    dlg->SendMessage(UiMessage{WM_COMMAND, ID_CROP, 0, 0});
    ASSERT_TRUE(run.opened);
    EXPECT_EQ(run.title, "裁剪");
    EXPECT_TRUE(run.stayedOpen);
    EXPECT_EQ(run.refusal, "裁剪后的页面太小: 宽和高都至少要 16 像素。");
    const std::optional<folvane::CropRect> crop = dlg->Pages().at(0).shape.edits.crop;
    ASSERT_TRUE(crop.has_value());
    EXPECT_GT(crop->left, 0);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(dlg->Pages().at(0).shape.edits.crop.has_value());
}

// A blank back between two pages, in Chinese: its row reads "【空白页】", its tool tip says why.
TEST_F(Chinese, ABlankPageIsMarkedInItsRowAndToolTip) {
    const Strings samples = CopySamples(dir, "扫描");
    const std::string blank = WriteBlankScan(dir, "扫描/page-1-背面.jpg");
    AddRows({samples[0], blank, samples[1]});
    SettleChecks();
    ASSERT_TRUE(SettleBlankChecks(*dlg));
    const int row = RowOf(blank);
    EXPECT_EQ(List()->model()->index(row, 1).data().toString().toStdString(), "【空白页】" + blank);
    std::string tip;
    KeepScreenshot(HoverTip(window, List(), row, tip), "blank-page-zh.png");
    EXPECT_EQ(PlainText(tip).rfind("空白页: 上面没有任何内容", 0), 0u) << PlainText(tip);
}

// "双面合并" from the right-click menu's key: a stack fed fronts first comes out paired, and
// the menu and the list are kept for the docs.
TEST_F(Chinese, DuplexMergePairsEachBackWithItsFront) {
    const Strings stack = WriteFeederStack(dir, "扫描");
    AddRows(stack);
    SettleChecks();
    Click(IDC_RADIO_FIT);
    ClickRow(0);
    Strings items;
    KeepScreenshot(RowMenu(window, List(), 0, items), "duplex-menu-zh.png");
    EXPECT_NE(std::find(items.begin(), items.end(), "双面合并\tCtrl+D"), items.end());
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Paths(), (Strings{stack[0], stack[3], stack[1], stack[2]}));
    KeepScreenshot(window->grab().toImage(), "duplex-result-zh.png");
}

} // namespace

// "纸张" and "文档属性" in Chinese: pages the size of their image (72 dpi: one point a pixel),
// the refusal of a title with a tab, the properties in the PDF; a new output path starts empty.
TEST_F(Chinese, PaperAndPropertiesReachThePdf) {
    WriteFile(dir / "扫描件-1.jpg", MakeJpeg(Pattern(480, 640, 3)));
    AddRows({dir / "扫描件-1.jpg"});
    SettleChecks();
    ClickRow(0);
    const PaperRun run = DrivePaperAndProperties(window, *dlg, 6, dir / "季度.pdf", "paper-zh.png",
                                                 "properties-zh.png");
    EXPECT_EQ(run.paperShown, "与图片相同");
    ASSERT_EQ(run.refusals.size(), 1u);
    EXPECT_EQ(run.refusals[0],
              "系统提示|标题含有控制字符(换行、制表符等), PDF 阅读器会显示成乱码。");
    EXPECT_TRUE(run.stayedOpen);
    EXPECT_EQ(run.pages, (std::vector<support::PageSize>{{480, 640}}));
    EXPECT_NE(run.info.find("Title:           季度报告\n"), std::string::npos) << run.info;
    EXPECT_NE(run.info.find("Author:          张三\n"), std::string::npos) << run.info;
    EXPECT_EQ(dlg->PaperIndex(), 6);
    SaveTo(dir / "另一份.pdf");
    EXPECT_EQ(dlg->PropertiesForSavePath(), folvane::DocumentProperties{});
}

// "在空白页处分成多个文件" in Chinese: blank backs between three pages make three documents, the
// success box names each with its pages, and the box is checked again at the next start.
TEST_F(Chinese, SplitAtBlankPagesMakesAFileOfEachRunOfPages) {
    const Strings samples = CopySamples(dir, "扫描");
    dlg->AppendFiles({samples[0], WriteBlankScan(dir, "扫描/背面-1.jpg"), samples[1],
                      WriteBlankScan(dir, "扫描/背面-2.jpg"), samples[2]});
    SettleChecks();
    ASSERT_TRUE(SettleBlankChecks(*dlg));
    const SplitRun run = DriveSplitAtBlank(window, *dlg, dir / "信件.pdf", "split-zh.png");
    EXPECT_EQ(run.caption, "在空白页处分成多个文件");
    EXPECT_EQ(run.tip.rfind("空白页作为分隔页, 不放入文件", 0), 0u) << run.tip;
    EXPECT_FALSE(run.overlaps);
    EXPECT_EQ(run.pages, (std::vector<int>{1, 1, 1}));
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0], "系统提示|操作成功!\n共 3 页, 分成 3 个文件保存:\n" +
                                (dir / "信件-001.pdf") + "（1 页）\n" + (dir / "信件-002.pdf") +
                                "（1 页）\n" + (dir / "信件-003.pdf") +
                                "（1 页）\n2 个空白页作为分隔页, 未放入文件");
    EXPECT_FALSE(std::filesystem::exists(dir / "信件.pdf"));

    Close();
    Open();
    EXPECT_TRUE(dlg->SplitAtBlank());
    EXPECT_TRUE(Widget<QAbstractButton>(IDC_CHECK_SPLIT_BLANK)->isChecked());
    EXPECT_FALSE(Widget<QAbstractButton>(IDC_CHECK_SKIP_BLANK)->isChecked());
}
