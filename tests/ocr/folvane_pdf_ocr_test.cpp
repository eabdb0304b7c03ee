// folvane-pdf --ocr from the command line.
#include <gtest/gtest.h>

#include "tests/ocr/TextPage.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/Process.h"
#include "tests/support/Tiff.h"

namespace {

const std::string kProgram = std::string(FOLVANE_BIN_DIR) + "/folvane-pdf";

std::string writeScan(const support::TempDir &dir, const std::string &text) {
    auto page = ocr_test::drawTextPage({text}, 1600, 240, 12);
    support::TiffPage tiff;
    tiff.width = page.width;
    tiff.height = page.height;
    tiff.compression = COMPRESSION_ADOBE_DEFLATE;
    tiff.data.assign(page.grey.begin(), page.grey.end());
    std::string path = dir / "scan.tif";
    support::WriteTiff(path, {tiff});
    return path;
}

TEST(FolvanePdfOcr, MakesTheTextSearchable) {
    support::TempDir dir;
    std::string scan = writeScan(dir, "Folvane finds this sentence again.");
    std::string pdf = dir / "out.pdf";
    support::RunResult run = support::RunProgram({kProgram, "--ocr-lang", "eng", "-o", pdf, scan});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(support::PdfText(pdf).find("finds this sentence"), std::string::npos);
    EXPECT_TRUE(support::QpdfCheck(pdf));
}

TEST(FolvanePdfOcr, AMissingLanguageNamesItsPackageAndWritesNothing) {
    support::TempDir dir;
    std::string scan = writeScan(dir, "unused");
    support::RunResult run =
        support::RunProgram({kProgram, "--ocr-lang", "eng+xyz", "-o", dir / "out.pdf", scan});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Debian package tesseract-ocr-xyz"), std::string::npos) << run.err;
    EXPECT_EQ(support::Listing(dir.Path()), (std::set<std::string>{"scan.tif"}));
}

// The engine module is loaded only when text is recognised: one that cannot be loaded fails
// the run with its path and the loader's reason, and leaves no PDF behind.
TEST(FolvanePdfOcr, AnEngineModuleThatCannotBeLoadedIsNamed) {
    support::TempDir dir;
    std::string scan = writeScan(dir, "unused");
    std::string notElf = dir / "not-a-module.so";
    support::WriteText(notElf, std::string(200, 'x'));
    const std::pair<std::string, std::string> modules[] = {
        {dir / "missing.so", "No such file"},
        {notElf, "invalid ELF header"},
    };
    for (const auto &[module, reason] : modules) {
        support::RunResult run = support::RunShell(
            "FOLVANE_OCR_MODULE=" + support::Quote(module) + " " + support::Quote(kProgram) +
            " --ocr-lang eng -o " + support::Quote(dir / "out.pdf") + " " + support::Quote(scan));
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_NE(run.err.find("text recognition module " + module + " cannot be loaded"),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
    }
    // A module of another kind loads but has no entry of this version; in Chinese it is said
    // once, in Chinese.
    const std::string other = std::string(FOLVANE_BIN_DIR) + "/../lib/folvane/correction-engine.so";
    const std::string run = "FOLVANE_OCR_MODULE=" + support::Quote(other) + " " +
                            support::Quote(kProgram) + " --ocr-lang eng -o " +
                            support::Quote(dir / "out.pdf") + " " + support::Quote(scan);
    support::RunResult english = support::RunShell("LC_ALL=C " + run);
    EXPECT_EQ(english.exitCode, 1);
    EXPECT_NE(english.err.find(other + " is not a text recognition module of this version"),
              std::string::npos)
        << english.err;
    support::RunResult chinese = support::RunShell("LANGUAGE= LC_ALL=zh_CN.UTF-8 " + run);
    EXPECT_EQ(chinese.exitCode, 1);
    EXPECT_NE(chinese.err.find(other + " 不是这个版本的文字识别引擎模块"), std::string::npos)
        << chinese.err;
    EXPECT_EQ(chinese.err.find("text recognition"), std::string::npos) << chinese.err;
    EXPECT_EQ(support::Listing(dir.Path()), (std::set<std::string>{"scan.tif", "not-a-module.so"}));
    // Runs without recognition never look for it.
    support::RunResult plain =
        support::RunShell("FOLVANE_OCR_MODULE=" + support::Quote(dir / "missing.so") + " " +
                          support::Quote(kProgram) + " -o " + support::Quote(dir / "out.pdf") +
                          " " + support::Quote(scan));
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
}

// Tesseract and the libraries behind it cost every run of a program that links them about
// 12 ms before main; only the module may bring them in.
TEST(FolvanePdfOcr, TheProgramDoesNotLinkTesseract) {
    support::RunResult ldd = support::RunProgram({"ldd", kProgram});
    ASSERT_EQ(ldd.exitCode, 0) << ldd.err;
    EXPECT_EQ(ldd.out.find("libtesseract"), std::string::npos) << ldd.out;
    EXPECT_EQ(ldd.out.find("liblept"), std::string::npos) << ldd.out;
}

TEST(FolvanePdfOcr, OptionsAreExplainedAndChecked) {
    support::RunResult help = support::RunProgram({kProgram, "--help"});
    EXPECT_NE(help.out.find("--ocr-lang LANGS"), std::string::npos);
    support::RunResult empty = support::RunProgram({kProgram, "--ocr-lang=", "-o", "x.pdf", "a"});
    EXPECT_EQ(empty.exitCode, 2) << empty.err;
}

} // namespace
