// Which language the window speaks, and that every text it shows goes through its translation:
// under a translation that marks each text it is given, no Chinese is left unmarked anywhere in
// the window, its boxes and questions, a refusal or a failure.

#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/Language.h"
#include "app/Messages.h"
#include "app/Resources.h"
#include "app/RowCheck.h"
#include "tests/app/DialogFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

using namespace support;
using Strings = std::vector<std::string>;

TEST(WindowLanguage, ChineseAndCGiveTheOriginalAndOtherLanguagesEnglish) {
    EXPECT_EQ(languageForLocales({"zh-CN", "zh-Hans-CN", "zh"}), WindowLanguage::Chinese);
    EXPECT_EQ(languageForLocales({"zh-TW", "zh-Hant-TW"}), WindowLanguage::Chinese);
    EXPECT_EQ(languageForLocales({"C"}), WindowLanguage::Chinese);
    EXPECT_EQ(languageForLocales({"POSIX"}), WindowLanguage::Chinese);
    EXPECT_EQ(languageForLocales({}), WindowLanguage::Chinese);
    EXPECT_EQ(languageForLocales({"en-US", "en-Latn-US", "en"}), WindowLanguage::English);
    EXPECT_EQ(languageForLocales({"fr-FR", "fr-Latn-FR", "fr"}), WindowLanguage::English);
    // LANGUAGE=fr:zh_CN: the first language the window speaks.
    EXPECT_EQ(languageForLocales({"fr", "fr-FR", "zh-CN", "zh"}), WindowLanguage::Chinese);
    EXPECT_EQ(languageForLocales({"de", "en-GB", "zh-CN"}), WindowLanguage::English);
    EXPECT_EQ(catalogueName(WindowLanguage::Chinese), "");
    EXPECT_EQ(catalogueName(WindowLanguage::English), "folvane_en");
}

// Marks every text it translates: ‹text›, each form of a counting text alike.
class MarkingTranslation : public Translation {
public:
    std::string Translate(const char * /*context*/, const char *source, int /*n*/) const override {
        return "‹" + std::string(source) + "›";
    }
    bool IsSourceLanguage() const override { return false; }
};

// The Chinese characters of text that no mark encloses.
std::string Unmarked(const std::string &text) {
    std::string outside;
    int depth = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string character = text.substr(i, length);
        depth += character == "‹" ? 1 : character == "›" ? -1 : 0;
        if (depth == 0 && length == 3 && lead >= 0xE4 && lead <= 0xE9) {
            outside += character;
        }
        i += length;
    }
    return outside;
}

class Marked : public DialogFixture {
protected:
    static void SetUpTestSuite() { UseTranslation(&marking); }
    static void TearDownTestSuite() { UseTranslation(nullptr); }
    static MarkingTranslation marking;
    TempDir dir;
};
MarkingTranslation Marked::marking;

TEST_F(Marked, EveryTextOfTheWindowGoesThroughTheTranslation) {
    for (const DialogTemplate &dialog : {MainDialogTemplate(), AboutDialogTemplate()}) {
        for (const ControlTemplate &control : dialog.controls) {
            EXPECT_EQ(Unmarked(control.caption + control.toolTip), "") << control.caption;
        }
        EXPECT_EQ(Unmarked(dialog.caption), "");
    }
    EXPECT_EQ(MainDialogTemplate().width, 690) << "the layout for translated captions";
    EXPECT_EQ(Unmarked(LoadStringResource(IDS_ABOUTBOX)), "");
    EXPECT_EQ(Unmarked(helpText() + wrongText("--frob")), "");

    // A headless session: boxes, questions, the progress window, tips of rows good and bad.
    WriteFile(dir / "a.jpg", MakeJpeg(Pattern(2400, 3200, 1)));
    WriteText(dir / "b.jpg", "not a picture");
    Click(IDC_BTN_MOVE_UP);
    Add({dir / "a.jpg", dir / "b.jpg"});
    SettleChecks();
    Click(IDC_BTN_GENERATE);
    ui.saveAnswers.push_back(dir / "none/out.pdf");
    Click(IDC_BTN_BROWSE);
    ui.questionAnswers = {0, 1}; // skip b.jpg, go on although pages are cut
    Click(IDC_BTN_GENERATE);
    Strings shown = Messages();
    for (const UiEvent &event : ui.events) {
        shown.push_back(event.text + event.caption);
    }
    for (int row = 0; row < List().GetItemCount(); ++row) {
        shown.push_back(List().GetItemToolTip(row));
    }
    ASSERT_GE(ui.Events(UiEvent::Kind::Question).size(), 2u);
    for (const std::string &text : shown) {
        EXPECT_EQ(Unmarked(text), "") << text;
    }
}

} // namespace
