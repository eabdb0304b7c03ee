// folvane-pdf against broken pictures and outputs that cannot be written: exit 1, one stderr line
// naming the file and the reason, and the output folder exactly as it was before the run.

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/BadImages.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Process.h"

namespace {

namespace fs = std::filesystem;
using namespace support;
using Names = std::set<std::string>;

const std::string kProgram = std::string(FOLVANE_BIN_DIR) + "/folvane-pdf";
const std::string kOldDocument = "%PDF-1.4 the document of an earlier run\n";

class BadInputCli : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(in);
        fs::create_directory(out);
        WriteFile(good, MakeJpeg(Pattern(32, 24, 1)));
    }

    // Runs a shell command line, keeping its exit code and stderr.
    void Run(const std::string &script) {
        const RunResult run = RunShell(script);
        exitCode = run.exitCode;
        err = run.err;
    }
    std::string Program(const std::string &args) const { return Quote(kProgram) + " " + args; }

    // Exit 1 and one line "folvane-pdf: ..." that names `subject` and gives `reason`.
    void ExpectFailureLine(const std::string &subject, const std::string &reason) const {
        EXPECT_EQ(exitCode, 1) << err;
        EXPECT_EQ(err.rfind("folvane-pdf: ", 0), 0u) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
        EXPECT_NE(err.find(subject), std::string::npos) << err;
        EXPECT_NE(err.find(reason), std::string::npos) << "reason \"" << reason << "\": " << err;
    }

    // Runs `sh -c script` in a new user and mount namespace; false when this system has none.
    bool InNamespace(const std::string &script) {
        if (RunShell("unshare -rm true").exitCode != 0) {
            return false;
        }
        Run("unshare -rm sh -c " + Quote(script));
        return true;
    }

    TempDir dir;
    const std::string in = dir / "in";
    const std::string out = dir / "out";
    const std::string pdf = out + "/out.pdf";
    const std::string good = in + "/good.jpg";
    int exitCode = -1;
    std::string err;
};

// Why each picture fails, as the line must say it.
const std::map<std::string, std::string> kReasons = {
    {"Missing", "No such file"},
    {"ZeroBytes", "empty"},
    {"TruncatedJpeg", "truncated"},
    {"GifNamedJpg", "is not a JPEG, TIFF or PNG file"},
    {"JpegClaiming60000Squared", "too little image data"},
    {"TiffStripPastTheEnd", "cannot decode strip 0"},
    {"JpegSideBeyondDecoders", "65535 x 16 pixels, more than JPEG decoders read"},
    {"JpegFrameLargerThanItsData", "do not hold the 128 x 64 pixels"},
    {"TiffPageShortStripCount", "pages.tif, page 2: "},
};

class BadImageCli : public BadInputCli, public ::testing::WithParamInterface<int> {
protected:
    const BadImage &Image() const { return BadImages()[GetParam()]; }
};

TEST_P(BadImageCli, FailsNamingTheImageAndLeavesTheOutputFolderAsItWas) {
    const std::string bad = PlaceBadImage(Image(), in);
    const std::string reason = kReasons.at(Image().label);

    // Alone, with no earlier document: nothing appears.
    Run(Program("-o " + Quote(pdf) + " " + Quote(bad)));
    ExpectFailureLine(bad, reason);
    EXPECT_EQ(Listing(out), Names{});

    // After a good page, over an earlier document: that document stays byte for byte.
    WriteText(pdf, kOldDocument);
    Run(Program("-o " + Quote(pdf) + " " + Quote(good) + " " + Quote(bad) + " " + Quote(good)));
    ExpectFailureLine(bad, reason);
    EXPECT_EQ(Listing(out), Names{"out.pdf"}) << "no temporary file may stay";
    EXPECT_TRUE(ReadText(pdf) == kOldDocument) << "the old document changed";
}

INSTANTIATE_TEST_SUITE_P(Each, BadImageCli,
                         ::testing::Range(0, static_cast<int>(BadImages().size())),
                         [](const auto &param) {
                             return std::string(BadImages()[param.param].label);
                         });

TEST_F(BadInputCli, AnOutputPathThatIsAFolderFailsAndStaysAnEmptyFolder) {
    fs::create_directory(pdf);
    Run(Program("-o " + Quote(pdf) + " " + Quote(good)));
    ExpectFailureLine(pdf, "folder");
    EXPECT_TRUE(fs::is_directory(pdf));
    EXPECT_EQ(Listing(pdf), Names{});
    EXPECT_EQ(Listing(out), Names{"out.pdf"});
}

// The output folder bind-mounted read only over itself: root cannot write there either.
TEST_F(BadInputCli, AReadOnlyOutputFolderFailsAndKeepsTheOldDocument) {
    WriteText(pdf, kOldDocument);
    const std::string probe = out + "/.probe";
    if (!InNamespace("mount --bind " + Quote(out) + " " + Quote(out) +
                     " && mount -o remount,bind,ro " + Quote(out) + " && ! touch " + Quote(probe) +
                     " 2>/dev/null") ||
        exitCode != 0) {
        GTEST_SKIP() << "no read-only bind mount in a user namespace here: " << err;
    }
    ASSERT_TRUE(InNamespace("mount --bind " + Quote(out) + " " + Quote(out) +
                            " && mount -o remount,bind,ro " + Quote(out) + " && exec " +
                            Program("-o " + Quote(pdf) + " " + Quote(good))));
    ExpectFailureLine(pdf, "Read-only file system");
    EXPECT_EQ(Listing(out), Names{"out.pdf"});
    EXPECT_TRUE(ReadText(pdf) == kOldDocument) << "the old document changed";
}

// A 64 KiB tmpfs as the output folder and a document of some 300 KiB: a write fails midway.
// The tmpfs goes with the namespace, so the script records what was in it before it ends.
TEST_F(BadInputCli, AFullDiskFailsAndKeepsTheOldDocument) {
    const std::string noise = in + "/noise.jpg";
    JpegOptions fine;
    fine.quality = 95;
    WriteFile(noise, MakeJpeg(Noise(400, 400, 1), fine));
    ASSERT_GT(fs::file_size(noise), 2u * 64 * 1024);
    const std::string old = dir / "old.pdf";
    WriteText(old, kOldDocument);
    const std::string rc = dir / "rc", listing = dir / "listing", kept = dir / "kept.pdf";
    const std::string script =
        "mount -t tmpfs -o size=64k tmpfs " + Quote(out) + " || exit 99; cp " + Quote(old) + " " +
        Quote(pdf) + "; " + Program("-o " + Quote(pdf) + " " + Quote(noise) + " " + Quote(good)) +
        "; echo $? >" + Quote(rc) + "; ls -A " + Quote(out) + " >" + Quote(listing) + "; cp " +
        Quote(pdf) + " " + Quote(kept);
    if (!InNamespace(script) || exitCode == 99) {
        GTEST_SKIP() << "no tmpfs mount in a user namespace here: " << err;
    }
    exitCode = std::atoi(ReadText(rc).c_str());
    ExpectFailureLine(pdf, "No space left on device");
    EXPECT_EQ(ReadText(listing), "out.pdf\n") << "no temporary file may stay";
    EXPECT_TRUE(ReadText(kept) == kOldDocument) << "the old document changed";
}

TEST(NamesInMessages, ControlCharactersInANameAreQuotedNotPrinted) {
    TempDir dir;
    const std::string name = "a\x1b[2Jb\nc.jpg";
    WriteText(dir / name, "not a picture");
    RunResult r = RunProgram(
        {std::string(FOLVANE_BIN_DIR) + "/folvane-pdf", "-o", dir / "out.pdf", dir / name});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << "the escape reached the terminal";
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_NE(r.err.find("'" + dir.Path() + "/a'$'\\033''[2Jb'$'\\n''c.jpg'"), std::string::npos)
        << r.err;
}

} // namespace
