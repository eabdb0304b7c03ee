// Every problem and note the engine can report, as the window words it in each of its languages:
// none missing or empty, every field in its place, and each in its own language (English from
// the catalogue the program carries).

#include <gtest/gtest.h>

#include "app/CutPages.h"
#include "app/Messages.h"
#include "app/RowCheck.h"
#include "app/qt/AppLanguage.h"
#include "tests/qt/LanguageChecks.h"

namespace {

using Kind = folvane::Problem::Kind;
using NoteKind = folvane::PageNote::Kind;
using Strings = std::vector<std::string>;

const std::string kFile = "/scans/page-7.jpg";
const std::string kDetail = "libjpeg: Premature end of data segment";
const std::string kInput = "/scans/page-3.jpg";

// A sentence and the fields it must show.
struct Said {
    std::string text;
    Strings fields;
};

// A problem of the kind with every field filled in as the engine fills it, and the fields its
// sentence must show.
Said ProblemSaid(Kind kind) {
    folvane::Problem p;
    p.kind = kind;
    p.file = kFile;
    p.format = "JPEG";
    p.numbers[0] = kind == Kind::TooLarge ? 7 << 20 : 7;
    p.numbers[1] = 3;
    p.item = kind == Kind::Output ? "rename" : "";
    p.detail = kDetail;
    p.formats = {"JPEG", "TIFF", "PNG"};
    p.module = folvane::Problem::ModuleFailure::CannotLoad;
    Strings fields = {kFile, kDetail};
    switch (kind) {
    case Kind::Memory:
    case Kind::Stopped:
    case Kind::DocumentTooLarge:
        fields = {};
        break;
    case Kind::TooLarge:
        fields = {"7"};
        break;
    case Kind::EveryPageBlank:
        fields = {"7", kFile};
        break;
    case Kind::NoSuchPage:
    case Kind::TooManyPixels:
    case Kind::DataTooShort:
    case Kind::JpegTooLarge:
        fields = {kFile, "7", "3"};
        break;
    case Kind::NotAnImage:
        fields = {kFile, "TIFF"};
        break;
    case Kind::LanguageNames:
    case Kind::LanguageMissing:
        p.item = "chi_sim";
        p.detail = "tesseract-ocr-chi-sim";
        fields = {"chi_sim"};
        break;
    case Kind::Recognition:
        fields = {"7 x 3", kDetail};
        break;
    case Kind::RecognitionModule:
        p.item = "/usr/lib/folvane/ocr-engine.so";
        fields = {p.item, kDetail};
        break;
    case Kind::LanguageData:
        p.item = "chi_sim+eng";
        p.detail = "/usr/share/tesseract-ocr/5/tessdata";
        fields = {p.item, p.detail};
        break;
    case Kind::OutputIsInput:
        p.item = kInput;
        fields = {kFile, kInput};
        break;
    case Kind::None:
    case Kind::Call:
    case Kind::Internal:
        fields = {kDetail};
        break;
    case Kind::Truncated:
    case Kind::NotAFile:
    case Kind::PdfPasswordNeeded:
    case Kind::PdfWrongPassword:
        fields = {kFile};
        break;
    default:
        break;
    }
    if (kind == Kind::LanguageMissing) {
        fields.push_back(p.detail); // the Debian package to install
    }
    return {problemText(p), fields};
}

std::vector<Said> EverySentence() {
    std::vector<Said> said;
    for (int kind = 0; kind <= static_cast<int>(folvane::Problem::kLastKind); ++kind) {
        said.push_back(ProblemSaid(static_cast<Kind>(kind)));
    }
    said.push_back(ProblemSaid(Kind::NotAFile));
    for (int kind = 0; kind <= static_cast<int>(NoteKind::PdfRecovered); ++kind) {
        // NotCorrected's number is why: 0, the correction failed, in its own words.
        const long long number = kind == static_cast<int>(NoteKind::NotCorrected) ? 0 : 4;
        const folvane::PageNote note{0,    kFile,  1,      1, static_cast<NoteKind>(kind),
                                     0.64, number, kDetail};
        // A photo without a sheet has nothing more to say than that.
        const bool hasDetail = note.kind != NoteKind::Cropped &&
                               note.kind != NoteKind::ProfileTooNew &&
                               note.kind != NoteKind::SheetNotFound;
        said.push_back({noteText(note), hasDetail ? Strings{kDetail} : Strings{}});
    }
    // Every reason a page was not corrected, and two sheets seen.
    const std::string module = "/usr/lib/folvane/correction-engine.so";
    for (long long why = folvane::PageNote::kCorrectionFailed;
         why <= folvane::PageNote::kModuleUnusable; ++why) {
        const bool named = why == folvane::PageNote::kModuleUnusable;
        const bool worded = why != folvane::PageNote::kCorrectionOutOfMemory;
        const folvane::PageNote note{
            0, kFile, 1, 1, NoteKind::NotCorrected, 0, why, named ? module : kDetail};
        said.push_back({noteText(note), named    ? Strings{module}
                                        : worded ? Strings{kDetail}
                                                 : Strings{}});
    }
    said.push_back({noteText({0, kFile, 1, 1, NoteKind::SheetNotFound, 0, 2, ""}), {}});
    // The tips of good rows, and the line about cut pages.
    folvane::ImageFacts facts;
    facts.ok = true;
    facts.kind = "JPEG";
    facts.width = 3264;
    facts.height = 2448;
    facts.pages = 1;
    for (auto intake : {folvane::ImageFacts::Intake::Copied, folvane::ImageFacts::Intake::Repaired,
                        folvane::ImageFacts::Intake::Recompressed}) {
        facts.intake = intake;
        said.push_back({rowCheckText(facts, folvane::PageLayout::ofClass(1)), {"3264x2448"}});
    }
    CutPages cut;
    cut.add(0.82, 3);
    said.push_back({cut.text(), {"3", "82%"}});
    return said;
}

class Messages : public ::testing::Test {
protected:
    Messages() { App(); }
    ~Messages() override {
        std::string error;
        language.speak(WindowLanguage::Chinese, error);
    }
    std::vector<Said> In(WindowLanguage speaking) {
        std::string error;
        EXPECT_TRUE(language.speak(speaking, error)) << error;
        return EverySentence();
    }
    AppLanguage language;
};

TEST_F(Messages, EveryProblemAndNoteIsSaidInBothLanguagesWithItsFields) {
    const std::vector<Said> english = In(WindowLanguage::English);
    const std::vector<Said> chinese = In(WindowLanguage::Chinese);
    ASSERT_EQ(english.size(), chinese.size());
    for (std::size_t i = 0; i < english.size(); ++i) {
        const QString en = QString::fromStdString(english[i].text);
        EXPECT_FALSE(en.trimmed().isEmpty()) << i;
        EXPECT_FALSE(HasChinese(en)) << english[i].text;
        EXPECT_TRUE(HasChinese(QString::fromStdString(chinese[i].text))) << chinese[i].text;
        EXPECT_EQ(EnglishRuns(chinese[i].text, {kFile, kInput}), Strings{}) << chinese[i].text;
        for (const std::string &field : english[i].fields) {
            EXPECT_NE(english[i].text.find(field), std::string::npos) << english[i].text;
            EXPECT_NE(chinese[i].text.find(field), std::string::npos) << chinese[i].text;
        }
    }
    // The twins of the row tip and of the cut pages' line, and English counting.
    EXPECT_EQ(chinese.at(chinese.size() - 4).text, "JPEG 3264x2448, 原样嵌入, 1 页, 64% 超出页面");
    EXPECT_EQ(english.at(english.size() - 4).text,
              "JPEG 3264x2448, embedded as it is, 1 page, 64% lies outside the page");
    EXPECT_EQ(english.back().text, "3 pages reach past the page edge (up to 82%)");
    EXPECT_EQ(chinese.back().text, "3 页图片超出页面(最多 82%)");
}

// A page recognition failed on reads once, in the window's language.
TEST_F(Messages, AFailedRecognitionIsSaidOnceInTheWindowsLanguage) {
    folvane::Problem failed;
    failed.kind = Kind::Recognition;
    failed.numbers[0] = 2480;
    failed.numbers[1] = 3508;
    std::string error;
    ASSERT_TRUE(language.speak(WindowLanguage::Chinese, error)) << error;
    EXPECT_EQ(problemText(failed), "文字识别在一页 2480 x 3508 像素的图片上失败");
    ASSERT_TRUE(language.speak(WindowLanguage::English, error)) << error;
    EXPECT_EQ(problemText(failed), "Text recognition failed on a page of 2480 x 3508 pixels");
}

} // namespace
