// libsane lives in the scanning module, loaded the first time a scanner is looked for: the
// programs start without it, a conversion never looks for it, and a module that is missing or
// of another kind fails scanning with its own sentence in the user's language.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Picture.h"
#include "tests/support/Process.h"

namespace {

using namespace support;

const std::string kBinDir = FOLVANE_BIN_DIR;
const std::string kProgram = kBinDir + "/folvane-pdf";

RunResult RunWithModule(const std::string &module, const std::string &arguments,
                        const std::string &locale = "LC_ALL=C") {
    return RunShell("LANGUAGE= " + locale + " FOLVANE_SANE_MODULE=" + Quote(module) + " " +
                    Quote(kProgram) + " " + arguments);
}

TEST(SaneModule, NoProgramLinksSane) {
    for (const std::string program : {"folvane-pdf", "folvane"}) {
        const std::string path = kBinDir + "/" + program;
        if (!std::filesystem::exists(path)) {
            continue; // the window is not built without Qt
        }
        RunResult ldd = RunProgram({"ldd", path});
        ASSERT_EQ(ldd.exitCode, 0) << ldd.err;
        EXPECT_EQ(ldd.out.find("libsane"), std::string::npos) << program << "\n" << ldd.out;
        EXPECT_EQ(ldd.out.find("libusb"), std::string::npos) << program << "\n" << ldd.out;
    }
    EXPECT_TRUE(std::filesystem::exists(kBinDir + "/../lib/folvane/scan-sane.so"));
}

TEST(SaneModule, AMissingOrForeignModuleFailsScanningWithItsOwnSentence) {
    TempDir dir;
    const std::string missing = dir / "missing.so";
    RunResult list = RunWithModule(missing, "--list-devices");
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_NE(list.err.find("scanning is not available: the scanning module " + missing +
                            " cannot be loaded ("),
              std::string::npos)
        << list.err;
    EXPECT_NE(list.err.find("No such file"), std::string::npos) << list.err;

    const std::string other = kBinDir + "/../lib/folvane/correction-engine.so";
    RunResult scan = RunWithModule(other, "--scan -o " + Quote(dir / "out.pdf"));
    EXPECT_EQ(scan.exitCode, 1);
    EXPECT_NE(scan.err.find(other + " is not a scanning module of this version"), std::string::npos)
        << scan.err;
    RunResult chinese = RunWithModule(other, "--list-devices", "LC_ALL=zh_CN.UTF-8");
    EXPECT_NE(chinese.err.find("无法扫描: " + other + " 不是这个版本的扫描模块"), std::string::npos)
        << chinese.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.pdf"));
}

TEST(SaneModule, AConversionNeverLooksForIt) {
    TempDir dir;
    const std::string photo = dir / "photo.jpg";
    WriteFile(photo, MakeJpeg(Photo(64, 48)));
    RunResult run =
        RunWithModule(dir / "missing.so", "-o " + Quote(dir / "out.pdf") + " " + Quote(photo));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

} // namespace
