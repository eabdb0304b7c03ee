// OpenCV lives in the correction module, which folvane-pdf loads only for --document: a module
// that cannot be loaded is named with the reason and the pages go in as they are, a run without
// correction never looks for it, and no program links OpenCV itself.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Process.h"

namespace {

const std::string kBinDir = FOLVANE_BIN_DIR;
const std::string kProgram = kBinDir + "/folvane-pdf";

std::string writePhoto(const support::TempDir &dir) {
    const std::string path = dir / "photo.jpg";
    support::WriteFile(path, support::MakeJpeg(support::Photo(320, 240)));
    return path;
}

support::RunResult runWithModule(const std::string &module, const std::string &arguments) {
    return support::RunShell("FOLVANE_CORRECTION_MODULE=" + support::Quote(module) + " " +
                             support::Quote(kProgram) + " " + arguments);
}

TEST(CorrectionModule, AModuleThatCannotBeLoadedIsNamedAndThePhotoGoesInAsItIs) {
    support::TempDir dir;
    const std::string photo = writePhoto(dir);
    const std::string notElf = dir / "not-a-module.so";
    support::WriteText(notElf, std::string(4096, 'x')); // long enough to be read as a header
    // A real module, but another one: it has no correction entry.
    const std::string otherModule = kBinDir + "/../lib/folvane/ocr-engine.so";
    ASSERT_TRUE(std::filesystem::exists(otherModule));
    struct Case {
        std::string module;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {dir / "missing.so",
         "the correction module cannot be loaded (" + (dir / "missing.so") + ": cannot open"},
        {notElf, "the correction module cannot be loaded (" + notElf + ": invalid ELF header"},
        {otherModule, otherModule + " is not a correction module of this version"},
    };
    const std::string pdf = dir / "out.pdf";
    for (const Case &c : cases) {
        support::RunResult run = runWithModule(c.module, "--document -f -o " + support::Quote(pdf) +
                                                             " " + support::Quote(photo));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.err.find("photo.jpg"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("it goes in as it is"), std::string::npos) << run.err;
        const std::vector<support::PdfImage> images = support::ListImages(pdf);
        ASSERT_EQ(images.size(), 1u) << c.module;
        EXPECT_EQ(images[0].filter, "DCTDecode"); // the photo's own bytes, uncorrected
        EXPECT_EQ(images[0].width, 320);
    }
}

TEST(CorrectionModule, ARunWithoutCorrectionNeverLooksForIt) {
    support::TempDir dir;
    const std::string photo = writePhoto(dir);
    support::RunResult run = runWithModule(
        dir / "missing.so", "-o " + support::Quote(dir / "out.pdf") + " " + support::Quote(photo));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(support::PageCount(dir / "out.pdf"), 1);
}

// OpenCV (and Leptonica, which the correction uses for curved pages) costs every run of a
// program that links it (OpenCV: about 9 MB and 20 ms at start); only the module may bring it
// in.
TEST(CorrectionModule, NoProgramLinksOpenCv) {
    for (const std::string program : {"folvane-pdf", "folvane"}) {
        const std::string path = kBinDir + "/" + program;
        if (!std::filesystem::exists(path)) {
            continue; // the window is not built without Qt
        }
        support::RunResult ldd = support::RunProgram({"ldd", path});
        ASSERT_EQ(ldd.exitCode, 0) << ldd.err;
        EXPECT_EQ(ldd.out.find("libopencv"), std::string::npos) << program << "\n" << ldd.out;
        EXPECT_EQ(ldd.out.find("liblept"), std::string::npos) << program << "\n" << ldd.out;
    }
}

} // namespace
