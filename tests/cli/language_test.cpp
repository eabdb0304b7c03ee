// folvane-pdf in the user's language: every sentence it can say, in English and in Chinese, and
// the program itself under an English, a Chinese and the C locale.

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/Language.h"
#include "cli/Messages.h"
#include "cli/ScanMessages.h"
#include "tests/cli/FolvanePdfRun.h"

namespace {

using namespace support;
using namespace cli_test;
using Kind = folvane::Problem::Kind;
using NoteKind = folvane::PageNote::Kind;
using folvane::scan::ScanErrorKind;

// The environment of one run: the locale given, nothing else of the caller's.
std::string Locale(const std::string &variables) {
    return "env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG " + variables + " ";
}

bool HasChinese(const std::string &text) {
    // The UTF-8 lead bytes of the CJK ideographs U+4E00..U+9FFF.
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xE4 && lead <= 0xE9) {
            return true;
        }
    }
    return false;
}

// Every problem kind with every field filled in, and every note kind.
std::vector<folvane::Problem> EveryProblem() {
    std::vector<folvane::Problem> problems;
    for (int kind = 0; kind <= static_cast<int>(folvane::Problem::kLastKind); ++kind) {
        folvane::Problem p;
        p.kind = static_cast<Kind>(kind);
        p.file = "/scans/page-7.jpg";
        p.format = "JPEG";
        p.numbers[0] = kind == static_cast<int>(Kind::TooLarge) ? 5 << 20 : 5;
        p.numbers[1] = 3;
        p.item = kind == static_cast<int>(Kind::Output) ? "flush" : "";
        p.detail = "libjpeg: Premature end of data segment";
        p.formats = {"JPEG", "TIFF", "PNG"};
        p.module = folvane::Problem::ModuleFailure::CannotLoad;
        problems.push_back(p);
    }
    folvane::Problem notAFile;
    notAFile.kind = Kind::NotAFile;
    notAFile.file = "/scans/page-7.jpg";
    problems.push_back(notAFile);
    return problems;
}

std::vector<folvane::PageNote> EveryNote() {
    std::vector<folvane::PageNote> notes;
    for (int kind = 0; kind <= static_cast<int>(NoteKind::PdfRecovered); ++kind) {
        notes.push_back({0, "/scans/page-7.jpg", 1, 1, static_cast<NoteKind>(kind), 0.64, 4,
                         "libtiff: bad code word"});
    }
    return notes;
}

// The sentences of all kinds in the language of the locale given (as the environment names it).
std::vector<std::string> Sentences(const char *locale) {
    ::setenv("LC_ALL", locale, 1);
    ::unsetenv("LANGUAGE");
    folvane::cli::followUserLanguage();
    std::vector<std::string> sentences;
    for (const folvane::Problem &problem : EveryProblem()) {
        sentences.push_back(folvane::cli::problemText(problem));
    }
    for (const folvane::PageNote &note : EveryNote()) {
        sentences.push_back(folvane::cli::noteText(note));
    }
    for (int kind = 0; kind <= static_cast<int>(ScanErrorKind::Other); ++kind) {
        folvane::scan::ScanError error{static_cast<ScanErrorKind>(kind),
                                       "test:0",
                                       2,
                                       "source",
                                       "ADF",
                                       "/tmp/page-002.png",
                                       "Device busy"};
        sentences.push_back(folvane::cli::scanErrorText(error));
    }
    for (auto size : {folvane::scan::PageSize::A4, folvane::scan::PageSize::Letter}) {
        sentences.push_back(folvane::cli::paperBeyondBedText(
            size, *folvane::scan::paperArea(size), folvane::scan::ScanArea{0, 0, 200, 200}));
    }
    return sentences;
}

TEST(Language, EverySentenceIsSaidInEnglishAndInChineseWithItsFields) {
    const std::vector<std::string> english = Sentences("C");
    const std::vector<std::string> chinese = Sentences("zh_CN.UTF-8");
    ::unsetenv("LC_ALL");
    ::unsetenv("LANGUAGE");
    ASSERT_EQ(english.size(), chinese.size());
    for (std::size_t i = 0; i < english.size(); ++i) {
        EXPECT_FALSE(english[i].empty()) << i;
        EXPECT_FALSE(HasChinese(english[i])) << english[i];
        EXPECT_TRUE(HasChinese(chinese[i])) << chinese[i];
        // The fields stay as they are: the same file names, numbers and library words.
        for (const char *field : {"page-7.jpg", "test:0", "Premature end", "bad code word"}) {
            EXPECT_EQ(english[i].find(field) != std::string::npos,
                      chinese[i].find(field) != std::string::npos)
                << english[i] << "\n"
                << chinese[i];
        }
    }
    EXPECT_EQ(chinese[static_cast<int>(Kind::NoSuchPage)],
              "“/scans/page-7.jpg”没有第 5 页（共 3 页）");
}

// Recognition failing on a page is said once, in the user's language: the engine hands over a
// kind with the page's size, never a sentence of its own.
TEST(Language, AFailedRecognitionIsSaidOnceInTheUsersLanguage) {
    folvane::Problem failed;
    failed.kind = Kind::Recognition;
    failed.file = "/scans/page-7.jpg";
    failed.numbers[0] = 2480;
    failed.numbers[1] = 3508;
    folvane::Problem module;
    module.kind = Kind::RecognitionModule;
    module.item = "/opt/ocr-engine.so";
    module.module = folvane::Problem::ModuleFailure::WrongVersion;
    const auto said = [&](const char *locale) {
        ::setenv("LC_ALL", locale, 1);
        ::unsetenv("LANGUAGE");
        folvane::cli::followUserLanguage();
        return std::vector<std::string>{folvane::cli::problemText(failed),
                                        folvane::cli::problemText(module)};
    };
    const std::vector<std::string> english = said("C");
    const std::vector<std::string> chinese = said("zh_CN.UTF-8");
    ::unsetenv("LC_ALL");
    EXPECT_EQ(english[0], "text recognition failed on a page of 2480 x 3508 pixels");
    EXPECT_EQ(english[1], "/opt/ocr-engine.so is not a text recognition module of this version");
    EXPECT_EQ(chinese[0], "文字识别在一页 2480 x 3508 像素的图片上失败");
    EXPECT_EQ(chinese[1], "/opt/ocr-engine.so 不是这个版本的文字识别引擎模块");
    // folvane-pdf names the file of a failure whose sentence does not.
    EXPECT_FALSE(folvane::cli::namesItsFile(failed));
    folvane::Problem damaged = failed;
    damaged.kind = Kind::Damaged;
    EXPECT_TRUE(folvane::cli::namesItsFile(damaged));
}

TEST(Language, TheRefusalAndTheHelpFollowTheLocale) {
    TempDir dir;
    WriteText(dir / "notes.jpg", "a shopping list, not a picture");
    const std::string args = "-o " + Quote(dir / "out.pdf") + " " + Quote(dir / "notes.jpg");

    const RunResult chinese = RunShell(Locale("LANG=zh_CN.UTF-8") + Quote(kProgram) + " " + args);
    EXPECT_EQ(chinese.exitCode, 1);
    EXPECT_EQ(chinese.err,
              "folvane-pdf: “" + (dir / "notes.jpg") + "”不是 JPEG、TIFF 或 PNG 文件\n");
    const RunResult english = RunShell(Locale("LANG=C.UTF-8") + Quote(kProgram) + " " + args);
    EXPECT_EQ(english.exitCode, 1);
    EXPECT_EQ(english.err,
              "folvane-pdf: \"" + (dir / "notes.jpg") + "\" is not a JPEG, TIFF or PNG file\n");
    // Scripts that read the messages get English with LC_ALL=C, whatever else is set.
    const RunResult script =
        RunShell(Locale("LANG=zh_CN.UTF-8 LANGUAGE=zh_CN LC_ALL=C") + Quote(kProgram) + " " + args);
    EXPECT_EQ(script.err, english.err);
    // Any Chinese, also from a locale this machine has not installed, gets the Chinese catalogue.
    EXPECT_EQ(RunShell(Locale("LANG=zh_TW.UTF-8") + Quote(kProgram) + " " + args).err, chinese.err);
    // A language without a catalogue gets English; a list of them, the first one there is.
    EXPECT_EQ(RunShell(Locale("LANG=fr_FR.UTF-8") + Quote(kProgram) + " " + args).err, english.err);
    EXPECT_EQ(
        RunShell(Locale("LANG=de_DE.UTF-8 LANGUAGE=fr:zh_CN") + Quote(kProgram) + " " + args).err,
        chinese.err);

    const RunResult help = RunShell(Locale("LANG=zh_CN.UTF-8") + Quote(kProgram) + " --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("用法: folvane-pdf ", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("退出状态:"), std::string::npos);
    const RunResult usage = RunShell(Locale("LANG=zh_CN.UTF-8") + Quote(kProgram) + " -c 4 x.jpg");
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_EQ(usage.err.rfind("folvane-pdf: -c 的值应为 2、3、5、8、10、16（百万像素）或 fit, "
                              "而不是“4”\n用法: ",
                              0),
              0u)
        << usage.err;
    EXPECT_EQ(RunShell(Locale("") + Quote(kProgram) + " --help").out.rfind("usage: ", 0), 0u);
}

} // namespace
