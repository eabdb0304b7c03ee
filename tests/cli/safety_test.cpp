// folvane-pdf never loses a file: an output that is an input, a file the user may not write,
// a linked output, an output that cannot be created and an interrupted run each end with the
// files as they were (or, for the link, the linked file replaced and the link kept).

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Pdf.h"

namespace {

namespace fs = std::filesystem;
using namespace support;
using namespace cli_test;
using Names = std::set<std::string>;

const std::string kOld = "%PDF-1.4 the document of an earlier run\n";

class SafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        image = dir / "page.jpg";
        WriteJpeg(image, 40, 30);
        imageBytes = ReadFile(image);
    }

    // Exit 1, one line "folvane-pdf: ..." holding each of `parts`.
    static void ExpectFailure(const RunResult &r, const std::vector<std::string> &parts) {
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_EQ(r.err.rfind("folvane-pdf: ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
        for (const std::string &part : parts) {
            EXPECT_NE(r.err.find(part), std::string::npos) << "\"" << part << "\": " << r.err;
        }
        EXPECT_EQ(r.out, "");
    }

    Names Entries() const { return Listing(dir.Path()); }

    TempDir dir;
    std::string image;
    Bytes imageBytes;
};

TEST_F(SafetyTest, AnOutputThatIsOneOfTheInputsIsRefused) {
    fs::create_hard_link(image, dir / "hard.pdf");
    fs::create_symlink("page.jpg", dir / "soft.pdf");
    for (const std::string &out : {image, dir / "hard.pdf", dir / "soft.pdf"}) {
        RunResult r = RunFolvanePdf("-o " + Quote(out) + " " + Quote(image));
        ExpectFailure(r, {out, "is the input image", image});
        EXPECT_EQ(ReadFile(image), imageBytes) << out;
    }
    EXPECT_EQ(Entries(), (Names{"hard.pdf", "page.jpg", "soft.pdf"}));
}

TEST_F(SafetyTest, AFileTheUserCannotWriteIsReplacedOnlyWithForce) {
    // Root may write anything, as cp shows; the program then runs as an ordinary user.
    std::string asUser;
    if (::geteuid() == 0) {
        asUser = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        fs::permissions(dir.Path(), fs::perms::all);
    }
    const std::string pdf = dir / "out.pdf";
    WriteText(pdf, kOld);
    fs::permissions(pdf, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string command = asUser + Quote(kProgram) + " -o " + Quote(pdf) + " " + Quote(image);

    RunResult r = RunShell(command);
    ExpectFailure(r, {pdf, "not replacing a file you cannot write", "--force"});
    EXPECT_EQ(ReadText(pdf), kOld);
    EXPECT_EQ(Entries(), (Names{"out.pdf", "page.jpg"}));

    r = RunShell(asUser + Quote(kProgram) + " --force -o " + Quote(pdf) + " " + Quote(image));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(QpdfCheck(pdf));
    // The replaced file keeps its permissions.
    EXPECT_EQ(fs::status(pdf).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST_F(SafetyTest, ALinkedOutputReplacesTheFileItPointsToAndStays) {
    fs::create_directory(dir / "real");
    WriteText(dir / "real/doc.pdf", kOld);
    fs::create_symlink("real/doc.pdf", dir / "link.pdf");
    RunResult r = RunFolvanePdf("-o " + Quote(dir / "link.pdf") + " " + Quote(image));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(dir / "link.pdf"));
    EXPECT_TRUE(QpdfCheck(dir / "real/doc.pdf"));
    EXPECT_EQ(Entries(), (Names{"link.pdf", "page.jpg", "real"}));
}

TEST_F(SafetyTest, AnOutputThatCannotBeCreatedGivesTheReason) {
    const struct {
        std::string out;
        std::string reason;
    } cases[] = {{"/proc/folvane-test.pdf", "/proc/"},
                 {dir / "no/such/folder/out.pdf", "No such file or directory"},
                 {dir / "page.jpg/out.pdf", "Not a directory"}};
    for (const auto &c : cases) {
        RunResult r = RunFolvanePdf("-o " + Quote(c.out) + " " + Quote(image));
        ExpectFailure(r, {c.out, c.reason});
    }
    EXPECT_EQ(Entries(), (Names{"page.jpg"}));
}

TEST_F(SafetyTest, AStickyFolderThatWouldRefuseTheRenameIsFoundBeforeTheRun) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "running as another user needs root";
    }
    // A shared folder like /tmp, with a file of root's that anyone may write but that only its
    // owner may rename over; the run is another user's.
    ::chmod(dir.Path().c_str(), 0755);
    ::chmod(image.c_str(), 0644);
    const std::string shared = dir / "shared";
    fs::create_directory(shared);
    ::chmod(shared.c_str(), 01777);
    const std::string out = shared + "/out.pdf";
    WriteText(out, kOld);
    ::chmod(out.c_str(), 0666);
    RunResult r = RunShell("setpriv --reuid=65534 --regid=65534 --clear-groups " + Quote(kProgram) +
                           " -o " + Quote(out) + " " + Quote(image));
    ExpectFailure(r, {"cannot create \"" + out + "\"", "sticky"});
    EXPECT_EQ(ReadText(out), kOld);
    EXPECT_EQ(Listing(shared), (Names{"out.pdf"}));
}

// Starts folvane-pdf held (stopped) once its first image is written: its document is made (a file
// with no name, or with `named` a temporary file beside the output).
class InterruptTest : public SafetyTest, public ::testing::WithParamInterface<int> {
protected:
    pid_t Start(const std::vector<std::string> &args, const std::string &tmpdir,
                bool named = false) {
        pid_t pid = ::fork();
        if (pid == 0) {
            int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, STDIN_FILENO);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
            ::setenv("TMPDIR", tmpdir.c_str(), 1);
            ::setenv("FOLVANE_PDFW_NAMED_TEMPORARY", named ? "1" : "0", 1);
            ::setenv("FOLVANE_PDFW_STOP_AT", "image:1", 1);
            std::vector<char *> argv;
            argv.push_back(const_cast<char *>(kProgram.c_str()));
            for (const std::string &arg : args) {
                argv.push_back(const_cast<char *>(arg.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(kProgram.c_str(), argv.data());
            ::_exit(127);
        }
        return pid;
    }

    // Waits until process `pid` holds a file with no name in the folder (O_TMPFILE's show as
    // "FOLDER/#INODE (deleted)").
    bool HoldsUnnamedFile(pid_t pid) const {
        const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
        for (int i = 0; i < 1000; ++i) {
            std::error_code error;
            for (const auto &entry : fs::directory_iterator(fds, error)) {
                std::string target = fs::read_symlink(entry.path(), error).string();
                if (target.rfind(dir.Path() + "/#", 0) == 0) {
                    return true;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // Waits until a name in the folder starts with `prefix`.
    bool Appears(const std::string &prefix) const {
        for (int i = 0; i < 1000; ++i) {
            for (const std::string &name : Entries()) {
                if (name.rfind(prefix, 0) == 0) {
                    return true;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // Waits until `pid` stops at its hold point; false when it ended instead.
    static bool Held(pid_t pid) {
        int status = 0;
        return ::waitpid(pid, &status, WUNTRACED) == pid && WIFSTOPPED(status);
    }

    // Sends `signal` to the held run and lets it go on to handle it.
    static void Signal(pid_t pid, int signal) {
        ::kill(pid, signal);
        ::kill(pid, SIGCONT);
    }

    static int ExitStatus(pid_t pid) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_P(InterruptTest, ASignalMidRunLeavesNoTemporaryFile) {
    const int signal = GetParam();
    const std::string pdf = dir / "out.pdf";
    WriteText(pdf, kOld);

    pid_t pid = Start({"-o", pdf, image, image}, dir.Path());
    bool started = Held(pid) && HoldsUnnamedFile(pid);
    Signal(pid, started ? signal : SIGKILL);
    EXPECT_EQ(ExitStatus(pid), 128 + signal);
    ASSERT_TRUE(started) << "the run never started its document";
    EXPECT_EQ(Entries(), (Names{"out.pdf", "page.jpg"}));
    EXPECT_EQ(ReadText(pdf), kOld);

    // Where the file system makes no file without a name, the named one goes.
    pid = Start({"-o", pdf, image, image}, dir.Path(), true);
    started = Held(pid) && Appears(".out.pdf.pdfw-");
    Signal(pid, started ? signal : SIGKILL);
    EXPECT_EQ(ExitStatus(pid), 128 + signal);
    ASSERT_TRUE(started) << "the run never started its document";
    EXPECT_EQ(Entries(), (Names{"out.pdf", "page.jpg"}));
    EXPECT_EQ(ReadText(pdf), kOld);

    // Writing to standard output: the buffer in TMPDIR goes too.
    pid = Start({"-o", "-", image, image}, dir.Path());
    started = Held(pid) && Appears(".folvane-pdf.pdfw-") && HoldsUnnamedFile(pid);
    Signal(pid, started ? signal : SIGKILL);
    EXPECT_EQ(ExitStatus(pid), 128 + signal);
    ASSERT_TRUE(started) << "the run never started its document";
    EXPECT_EQ(Entries(), (Names{"out.pdf", "page.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(IntTermHup, InterruptTest, ::testing::Values(SIGINT, SIGTERM, SIGHUP));

} // namespace
