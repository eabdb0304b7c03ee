// folvane-pdf as scripts use it: exit codes, its one stderr line, and the document it writes.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/Process.h"

namespace {

namespace fs = std::filesystem;
using namespace support;

const std::string kProgram = std::string(FOLVANE_BIN_DIR) + "/folvane-pdf";
const std::string kSamples = std::string(FOLVANE_SOURCE_DIR) + "/res/samples";

class FolvanePdfTest : public ::testing::Test {
protected:
    std::string At(const std::string &name) const { return dir / name; }

    // Runs folvane-pdf with `args` (already quoted).
    RunResult Run(const std::string &args) const { return RunShell(Quote(kProgram) + " " + args); }

    std::string Sample(const std::string &name) const { return Quote(kSamples + "/" + name); }

    // Horizontal resolution of each image as placed: 72 / scale for one point a pixel.
    std::vector<int> ImagePpi(const std::string &pdf) const {
        std::vector<int> ppi;
        for (const PdfImage &image : ListImages(pdf)) {
            ppi.push_back(image.xppi);
        }
        return ppi;
    }

    TempDir dir;
};

int LineCount(const std::string &text) {
    int lines = 0;
    for (char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines;
}

TEST_F(FolvanePdfTest, WritesTheSamplesQuietly) {
    const std::string pdf = At("samples.pdf");
    RunResult r = Run("-o " + Quote(pdf) + " " + Sample("page-1.jpg") + " " + Sample("page-2.jpg") +
                      " " + Sample("page-3.tif"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "") << "progress must stay off when stderr is not a terminal";
    EXPECT_TRUE(QpdfCheck(pdf));
    // The default class is 3 megapixels: scale 0.42, so 72 / 0.42 = 171 pixels per inch.
    EXPECT_EQ(ImagePpi(pdf), (std::vector<int>{171, 171, 171}));
}

TEST_F(FolvanePdfTest, ShowsProgressOnlyOnATerminal) {
    // script(1) gives the program a terminal and copies what it writes there to our file.
    const std::string command = Quote(kProgram) + " -o " + Quote(At("tty.pdf")) + " " +
                                Sample("page-1.jpg") + " " + Sample("page-3.tif");
    const RunResult run = RunShell("script -qec " + Quote(command) + " /dev/null");
    EXPECT_EQ(run.exitCode, 0);
    const std::string shown = run.out;
    EXPECT_NE(shown.find("[1/2]"), std::string::npos) << shown;
    EXPECT_NE(shown.find("[2/2]"), std::string::npos) << shown;
}

TEST_F(FolvanePdfTest, ClassChoosesTheScale) {
    const std::pair<const char *, int> cases[] = {{"2", 137},  {"5", 218},  {"8", 273},
                                                  {"10", 305}, {"16", 385}, {"3", 171}};
    for (const auto &[megapixels, ppi] : cases) {
        const std::string pdf = At(std::string("c") + megapixels + ".pdf");
        RunResult r =
            Run(std::string("-c ") + megapixels + " -o " + Quote(pdf) + " " + Sample("page-3.tif"));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(ImagePpi(pdf), std::vector<int>{ppi}) << "class " << megapixels;
    }
}

TEST_F(FolvanePdfTest, UsageErrorsExitTwoWithAUsageLine) {
    const std::string pdf = Quote(At("out.pdf"));
    const std::string image = Sample("page-1.jpg");
    for (const std::string &args :
         {std::string(""), image, "-o " + pdf, "-c 4 -o " + pdf + " " + image,
          "-c -o " + pdf + " " + image, "-x -o " + pdf + " " + image, image + " -o",
          "-o " + pdf + " -o " + pdf + " " + image}) {
        RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_NE(r.err.find("usage: folvane-pdf"), std::string::npos) << args;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fs::exists(At("out.pdf"))) << args;
    }
}

TEST_F(FolvanePdfTest, HelpGoesToStdout) {
    RunResult r = Run("--help");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("usage: folvane-pdf", 0), 0u);
}

TEST_F(FolvanePdfTest, OptionsMayFollowImagesAndDashesEndThem) {
    fs::copy_file(kSamples + "/page-3.tif", At("-page.tif"));
    RunResult r = Run(Sample("page-3.tif") + " -o " + Quote(At("out.pdf")) + " -c 16 -- " +
                      Quote(At("-page.tif")));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ImagePpi(At("out.pdf")), (std::vector<int>{385, 385}));
}

TEST_F(FolvanePdfTest, MissingImageFailsWithOneLineNamingIt) {
    const std::string pdf = At("out.pdf");
    const std::string missing = At("no-such-page.jpg");
    RunResult r = Run("-o " + Quote(pdf) + " " + Sample("page-1.jpg") + " " + Quote(missing));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_EQ(r.err.rfind("folvane-pdf: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(missing), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(fs::exists(pdf)) << "no partial PDF";
}

TEST_F(FolvanePdfTest, DamagedImageFailsAndKeepsTheOldDocument) {
    const std::string pdf = At("out.pdf");
    WriteText(pdf, "old");
    const std::string damaged = At("cut.jpg");
    Bytes bytes = ReadFile(kSamples + "/page-1.jpg");
    bytes.resize(16);
    WriteFile(damaged, bytes);
    RunResult r = Run("-o " + Quote(pdf) + " " + Quote(damaged));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find(damaged), std::string::npos) << r.err;
    EXPECT_EQ(ReadText(pdf), "old");
}

TEST_F(FolvanePdfTest, UnwritableOutputFailsNamingIt) {
    const std::string pdf = At("missing-folder/out.pdf");
    RunResult r = Run("-o " + Quote(pdf) + " " + Sample("page-1.jpg"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find(pdf), std::string::npos) << r.err;
}

} // namespace
