// The window under an English locale (CTest runs this program with LANG=en_US.UTF-8): English
// captions that fit their controls, English reasons, boxes and help.

#include <QCheckBox>
#include <QRadioButton>
#include <QStyle>
#include <filesystem>

#include "app/CAboutDlg.h"
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

// True when the whole caption shows: a push button's text with the style's margins, a radio
// button's or check box's indicator and text, a label's text on one line.
bool CaptionFits(QWidget *widget) {
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        const int margins = 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin);
        const QString text = button->text().remove(QLatin1Char('&'));
        return button->fontMetrics().horizontalAdvance(text) + margins <= button->width();
    }
    if (qobject_cast<QRadioButton *>(widget) || qobject_cast<QCheckBox *>(widget)) {
        return widget->sizeHint().width() <= widget->width();
    }
    if (auto *label = qobject_cast<QLabel *>(widget); label && !label->text().isEmpty()) {
        return label->fontMetrics().horizontalAdvance(label->text()) <= label->width();
    }
    return true;
}

class English : public WindowFixture {
protected:
    void SaveTo(const std::string &path) {
        dlg->SetSavePath(path);
        dlg->UpdateData(false);
    }
    TempDir dir;
};

TEST_F(English, CaptionsAreEnglishAndEveryOneShowsWhole) {
    EXPECT_EQ(localeLanguage(), WindowLanguage::English);
    const std::pair<int, const char *> captions[] = {
        {IDC_BTN_ADD_IMAGES, "Add images"},     {IDC_BTN_MOVE_UP, "Move up"},
        {IDC_BTN_SORT_BY_NAME, "Sort by name"}, {IDC_BTN_VIEW_IMAGE, "View image"},
        {IDC_BTN_GENERATE, "Make PDF"},         {IDC_RADIO_300, "3 MP"},
        {IDC_RADIO_FIT, "Fit to page"},         {IDC_CHECK_OCR, "Recognise text"},
    };
    for (const auto &[id, caption] : captions) {
        EXPECT_EQ(Widget<QAbstractButton>(id)->text().toStdString(), caption);
    }
    EXPECT_EQ(Widget<QGroupBox>(IDC_GROUP_IMAGE_TYPE)->title().toStdString(), "Image type");
    for (const std::string &text : WindowTexts(window, List())) {
        EXPECT_FALSE(HasChinese(QString::fromStdString(text))) << text;
    }
    for (QWidget *control : window->findChildren<QWidget *>()) {
        EXPECT_TRUE(CaptionFits(control)) << control->objectName().toStdString();
    }
    // The controls keep their order and do not overlap: the list's buttons stand side by side.
    const int row[] = {IDC_BTN_ADD_IMAGES, IDC_BTN_MOVE_UP,     IDC_BTN_MOVE_DOWN,
                       IDC_BTN_MOVE_TOP,   IDC_BTN_MOVE_BOTTOM, IDC_BTN_DELETE,
                       IDC_BTN_CLEAR_LIST, IDC_BTN_SORT_BY_NAME};
    for (std::size_t i = 1; i < std::size(row); ++i) {
        EXPECT_LT(window->ControlWidget(row[i - 1])->geometry().right(),
                  window->ControlWidget(row[i])->geometry().left());
    }
    EXPECT_LT(window->ControlWidget(IDC_BTN_SORT_BY_NAME)->geometry().right(),
              window->ControlWidget(IDC_BTN_VIEW_IMAGE)->geometry().left());
    EXPECT_LT(window->ControlWidget(IDC_BTN_BROWSE)->geometry().right(),
              window->ControlWidget(IDC_CHECK_OCR)->geometry().left());

    Strings about;
    WhenModal<QDialog>([&](QDialog &box) {
        about = DialogTexts(&box);
        for (QWidget *control : box.findChildren<QWidget *>()) {
            EXPECT_TRUE(CaptionFits(control)) << control->objectName().toStdString();
        }
        box.reject();
    });
    dlg->SendMessage(UiMessage{WM_COMMAND, ID_MENU_ABOUT, 0, 0});
    ASSERT_FALSE(about.empty());
    EXPECT_EQ(about[0], "About Folvane");
    EXPECT_NE(std::find(about.begin(), about.end(),
                        "Folvane version " + (versionText().substr(8, versionText().size() - 9))),
              about.end());
    for (const std::string &text : about) {
        EXPECT_FALSE(HasChinese(QString::fromStdString(text))) << text;
    }
}

// The turns in English: the tip of a page turned right, and the menu's items.
TEST_F(English, ASidewaysPageTurnsRightAndTheMenuOffersBothTurns) {
    AddRows({WriteSidewaysSample(dir, "sideways.jpg")});
    SettleChecks();
    Click(IDC_RADIO_FIT);
    ClickRow(0);
    Key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(dlg->Pages().at(0).shape.edits.quarterTurns, 1);
    std::string tip;
    KeepScreenshot(HoverTip(window, List(), 0, tip), "turn-en.png");
    EXPECT_EQ(PlainText(tip), "JPEG 1416x2004, embedded as it is, 1 page, turned right");
    Strings items;
    KeepScreenshot(RowMenu(window, List(), 0, items), "menu-en.png");
    for (const char *item : {"Rotate left\tCtrl+L", "Rotate right\tCtrl+R", "Undo Rotate"}) {
        EXPECT_NE(std::find(items.begin(), items.end(), item), items.end()) << item;
    }
}

// A file that cannot be used says why in English, and so do the question and the failure box.
TEST_F(English, ReasonsQuestionsAndFailuresAreEnglish) {
    WriteFile(dir / "page-1.jpg", MakeJpeg(Pattern(480, 640, 3)));
    WriteText(dir / "notes.jpg", "a shopping list, not a picture");
    AddRows({dir / "page-1.jpg", dir / "notes.jpg"});
    SettleChecks();
    std::string tip;
    KeepScreenshot(HoverTip(window, List(), RowOf(dir / "notes.jpg"), tip), "preflight-en.png");
    EXPECT_EQ(PlainText(tip), "\"" + (dir / "notes.jpg") + "\" is not a JPEG, TIFF or PNG image");
    EXPECT_EQ(dlg->ImageList().GetItemToolTip(RowOf(dir / "page-1.jpg")),
              "JPEG 480x640, embedded as it is, 1 page");
    ClickRow(RowOf(dir / "page-1.jpg"));
    KeepScreenshot(window->grab().toImage(), "window-en.png");
    // The placeholder of a file without a preview speaks English too.
    EXPECT_EQ(std::filesystem::path(CFolvaneDlg::PreviewFilePath(dir / "notes.txt")).filename(),
              "no-preview.bmp");

    const std::string missingFolder = dir / "no such folder/book.pdf";
    SaveTo(missingFolder);
    RunWatcher watcher;
    watcher.answers = {"Skip"};
    watcher.onBox = [this](QMessageBox &box) {
        if (box.text().startsWith(QStringLiteral("The PDF could not be made."))) {
            KeepScreenshotOver(window, &box, "failure-en.png");
        }
    };
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(watcher.boxes.size(), 2u);
    EXPECT_EQ(watcher.boxes[0], "Notice|1 image in the list cannot be used:\nnotes.jpg: \"" +
                                    (dir / "notes.jpg") +
                                    "\" is not a JPEG, TIFF or PNG image\nSkip them and make the "
                                    "PDF of the other image?");
    EXPECT_EQ(watcher.boxes[1].rfind("Notice|The PDF could not be made.\n" + missingFolder +
                                         "\nCannot create the file \"" + missingFolder + "\" (",
                                     0),
              0u)
        << watcher.boxes[1];
    for (const std::string &text : watcher.otherTexts) {
        EXPECT_FALSE(HasChinese(QString::fromStdString(text))) << text;
    }

    SaveTo(dir / "book.pdf");
    watcher.answers = {"Skip"};
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(watcher.boxes.size(), 4u);
    EXPECT_EQ(watcher.boxes[3], "Notice|Done.\n1 page saved to " + (dir / "book.pdf"));
}

TEST(EnglishCommandLine, HelpAndComplaintsAreEnglish) {
    const std::string program = Quote(std::string(FOLVANE_BIN_DIR) + "/folvane");
    const std::string locale = "env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=en_US.UTF-8 ";
    const RunResult help = RunShell(locale + program + " --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: folvane [FILE|FOLDER...]\n", 0), 0u) << help.out;
    EXPECT_FALSE(HasChinese(QString::fromStdString(help.out))) << help.out;
    const RunResult wrong = RunShell(locale + program + " -platform offscreen --frob");
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_EQ(wrong.err.substr(wrong.err.find("folvane:")),
              "folvane: unknown option --frob\nTry 'folvane --help' for more.\n");
}

// The crop editor in English, its refusal too.
TEST_F(English, TheCropEditorSpeaksEnglish) {
    AddRows({CopySamples(dir, "crop")[0]});
    SettleChecks();
    Click(IDC_RADIO_FIT);
    ClickRow(0);
    CropEditorRun run;
    DriveCropEditor(run, "crop-editor-en.png");
    dlg->SendMessage(UiMessage{WM_COMMAND, ID_CROP, 0, 0});
    ASSERT_TRUE(run.opened);
    EXPECT_EQ(run.title, "Crop");
    EXPECT_EQ(run.refusal,
              "The cropped page is too small: it must be at least 16 pixels wide and high.");
    EXPECT_TRUE(dlg->Pages().at(0).shape.edits.crop.has_value());
}

// A blank back between two pages: its row reads "[Blank]" and its tool tip says why.
TEST_F(English, ABlankPageIsMarkedInItsRowAndToolTip) {
    const Strings samples = CopySamples(dir, "scans");
    const std::string blank = WriteBlankScan(dir, "scans/page-1-back.jpg");
    AddRows({samples[0], blank, samples[1]});
    SettleChecks();
    ASSERT_TRUE(SettleBlankChecks(*dlg));
    const int row = RowOf(blank);
    EXPECT_EQ(List()->model()->index(row, 1).data().toString().toStdString(), "[Blank] " + blank);
    EXPECT_EQ(List()->model()->index(RowOf(samples[0]), 1).data().toString().toStdString(),
              samples[0]);
    std::string tip;
    KeepScreenshot(HoverTip(window, List(), row, tip), "blank-page-en.png");
    EXPECT_EQ(PlainText(tip).rfind("Blank page: nothing is on it", 0), 0u) << PlainText(tip);
}

// "Merge duplex" from the right-click menu's key: a stack fed fronts first comes out paired, and
// the menu and the list are kept for the docs.
TEST_F(English, DuplexMergePairsEachBackWithItsFront) {
    const Strings stack = WriteFeederStack(dir, "scan");
    AddRows(stack);
    SettleChecks();
    Click(IDC_RADIO_FIT);
    ClickRow(0);
    Strings items;
    KeepScreenshot(RowMenu(window, List(), 0, items), "duplex-menu-en.png");
    EXPECT_NE(std::find(items.begin(), items.end(), "Merge duplex\tCtrl+D"), items.end());
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Paths(), (Strings{stack[0], stack[3], stack[1], stack[2]}));
    KeepScreenshot(window->grab().toImage(), "duplex-result-en.png");
}

} // namespace

// "Paper" and "Document properties" in English: the paper's name, the refusal of a title with a
// tab, and a PDF whose pages and properties are those chosen.
TEST_F(English, PaperAndPropertiesSpeakEnglishAndReachThePdf) {
    WriteFile(dir / "page-1.jpg", MakeJpeg(Pattern(480, 640, 3)));
    AddRows({dir / "page-1.jpg"});
    SettleChecks();
    ClickRow(0);
    const PaperRun run = DrivePaperAndProperties(window, *dlg, 4, dir / "letter.pdf",
                                                 "paper-en.png", "properties-en.png");
    EXPECT_EQ(run.paperShown, "US Letter");
    ASSERT_EQ(run.refusals.size(), 1u);
    EXPECT_EQ(run.refusals[0], "Notice|The title holds a control character (a line break, a "
                               "tab, ...), which PDF readers show as garbage.");
    EXPECT_TRUE(run.stayedOpen);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0], "Notice|Done.\n1 page saved to " + (dir / "letter.pdf"));
    EXPECT_EQ(run.pages, (std::vector<support::PageSize>{{612, 792}}));
    EXPECT_NE(run.info.find("Title:           季度报告\n"), std::string::npos) << run.info;
    EXPECT_NE(run.info.find("Keywords:        工资, 2026\n"), std::string::npos) << run.info;
}

// "Split into files at blank pages" in English: the box, its tip and the success box naming the
// documents written.
TEST_F(English, SplitAtBlankPagesNamesTheFilesInEnglish) {
    const Strings samples = CopySamples(dir, "scans");
    dlg->AppendFiles({samples[0], samples[1], WriteBlankScan(dir, "scans/back.jpg"), samples[2]});
    SettleChecks();
    ASSERT_TRUE(SettleBlankChecks(*dlg));
    const SplitRun run = DriveSplitAtBlank(window, *dlg, dir / "letters.pdf", "split-en.png");
    EXPECT_EQ(run.caption, "Split into files at blank pages");
    EXPECT_EQ(run.tip.rfind("Blank pages are separator sheets", 0), 0u) << run.tip;
    EXPECT_FALSE(run.overlaps);
    EXPECT_TRUE(CaptionFits(Widget<QWidget>(IDC_CHECK_SPLIT_BLANK)));
    EXPECT_EQ(run.pages, (std::vector<int>{2, 1}));
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0], "Notice|Done.\n3 pages in total, saved as 2 files:\n" +
                                (dir / "letters-001.pdf") + " (2 pages)\n" +
                                (dir / "letters-002.pdf") +
                                " (1 page)\n1 blank page separated the files and went into none");
}
