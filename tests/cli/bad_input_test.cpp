// folvane-pdf against broken pictures and outputs that cannot be written: exit 1, one stderr line
// naming the file and the reason, and the output folder exactly as it was before the run.

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "tests/cli/BadInputFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace bad_input;
using Names = std::set<std::string>;

const std::string kProgram = std::string(FOLVANE_BIN_DIR) + "/folvane-pdf";
const std::string kOldDocument = "%PDF-1.4 the document of an earlier run\n";

std::string Quote(const std::string &text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

Names Listing(const std::string &folder) {
    Names names;
    for (const auto &entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class BadInputCli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "folvane-bad-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        in = dir + "/in";
        out = dir + "/out";
        pdf = out + "/out.pdf";
        fs::create_directory(in);
        fs::create_directory(out);
        good = in + "/good.jpg";
        WriteBytes(good, JpegBytes(32, 24, false));
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs a shell command line, keeping its exit code and stderr.
    void Run(const std::string &command) {
        const std::string errFile = dir + "/stderr.txt";
        const int status =
            std::system((command + " >/dev/null 2>" + Quote(errFile) + " </dev/null").c_str());
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        err = ReadAll(errFile);
        fs::remove(errFile);
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
        if (std::system("unshare -rm true >/dev/null 2>&1") != 0) {
            return false;
        }
        Run("unshare -rm sh -c " + Quote(script));
        return true;
    }

    std::string dir, in, out, pdf, good;
    int exitCode = -1;
    std::string err;
};

// Why each picture fails, as the line must say it.
const char *const kReasons[] = {
    "No such file",
    "empty",
    "truncated",
    "is not a JPEG, TIFF or PNG file",
    "too little image data",
    "cannot decode strip 0",
};

class BadImageCli : public BadInputCli, public ::testing::WithParamInterface<int> {
protected:
    const BadImage &Image() const { return kBadImages[GetParam()]; }
};

TEST_P(BadImageCli, FailsNamingTheImageAndLeavesTheOutputFolderAsItWas) {
    const std::string bad = Place(Image(), in);
    const std::string reason = kReasons[GetParam()];

    // Alone, with no earlier document: nothing appears.
    Run(Program("-o " + Quote(pdf) + " " + Quote(bad)));
    ExpectFailureLine(bad, reason);
    EXPECT_EQ(Listing(out), Names{});

    // After a good page, over an earlier document: that document stays byte for byte.
    WriteBytes(pdf, Bytes(kOldDocument.begin(), kOldDocument.end()));
    Run(Program("-o " + Quote(pdf) + " " + Quote(good) + " " + Quote(bad) + " " + Quote(good)));
    ExpectFailureLine(bad, reason);
    EXPECT_EQ(Listing(out), Names{"out.pdf"}) << "no temporary file may stay";
    EXPECT_TRUE(ReadAll(pdf) == kOldDocument) << "the old document changed";
}

INSTANTIATE_TEST_SUITE_P(Each, BadImageCli,
                         ::testing::Range(0, static_cast<int>(std::size(kBadImages))),
                         [](const auto &param) {
                             return std::string(kBadImages[param.param].label);
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
    WriteBytes(pdf, Bytes(kOldDocument.begin(), kOldDocument.end()));
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
    EXPECT_TRUE(ReadAll(pdf) == kOldDocument) << "the old document changed";
}

// A 64 KiB tmpfs as the output folder and a document of some 300 KiB: a write fails midway.
// The tmpfs goes with the namespace, so the script records what was in it before it ends.
TEST_F(BadInputCli, AFullDiskFailsAndKeepsTheOldDocument) {
    const std::string noise = in + "/noise.jpg";
    WriteBytes(noise, JpegBytes(400, 400, true));
    ASSERT_GT(fs::file_size(noise), 2u * 64 * 1024);
    const std::string old = dir + "/old.pdf";
    WriteBytes(old, Bytes(kOldDocument.begin(), kOldDocument.end()));
    const std::string rc = dir + "/rc", listing = dir + "/listing", kept = dir + "/kept.pdf";
    const std::string script =
        "mount -t tmpfs -o size=64k tmpfs " + Quote(out) + " || exit 99; cp " + Quote(old) + " " +
        Quote(pdf) + "; " + Program("-o " + Quote(pdf) + " " + Quote(noise) + " " + Quote(good)) +
        "; echo $? >" + Quote(rc) + "; ls -A " + Quote(out) + " >" + Quote(listing) + "; cp " +
        Quote(pdf) + " " + Quote(kept);
    if (!InNamespace(script) || exitCode == 99) {
        GTEST_SKIP() << "no tmpfs mount in a user namespace here: " << err;
    }
    exitCode = std::atoi(ReadAll(rc).c_str());
    ExpectFailureLine(pdf, "No space left on device");
    EXPECT_EQ(ReadAll(listing), "out.pdf\n") << "no temporary file may stay";
    EXPECT_TRUE(ReadAll(kept) == kOldDocument) << "the old document changed";
}

} // namespace
