// folvane-pdf --scan and --list-devices against SANE's test driver: the PDF of the scanned
// pages, the page files kept only when asked, one line and status 1 for a scanner's error with
// no PDF and no temporary folder left, and the usage errors.

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/scan/ScanTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/Process.h"

namespace {

using namespace support;
using namespace scan_test;

const std::string kProgram = std::string(FOLVANE_BIN_DIR) + "/folvane-pdf";

class FolvanePdfScanTest : public ::testing::Test {
protected:
    // Runs folvane-pdf with `args` (quoted already) on a SANE configuration of the test driver
    // with `testConf`, its temporary files in a folder of the test's own.
    RunResult Run(const std::string &args, const std::string &testConf = "",
                  const std::string &drivers = "test") {
        config = MakeSaneConfig(drivers, "test-picture \"Color pattern\"\n" + testConf);
        return RunShell("SANE_CONFIG_DIR=" + Quote(config->Path()) +
                        " TMPDIR=" + Quote(tmp.Path()) + " " + Quote(kProgram) + " " + args);
    }

    std::string Out() const { return Quote(dir / "out.pdf"); }

    // Starts a feeder scan of slow pages and sends it `signal` ("TERM", "KILL") while a page is
    // being read; its output is the scan's exit status.
    RunResult SignalMidScan(const std::string &signal) {
        const std::string slow = "read-limit true\nread-limit-size 1000\nread-delay true\n"
                                 "read-delay-duration 100000\n";
        config = MakeSaneConfig("test", slow);
        return RunShell("SANE_CONFIG_DIR=" + Quote(config->Path()) +
                        " TMPDIR=" + Quote(tmp.Path()) + " " + Quote(kProgram) +
                        " --scan --source adf --resolution 50 -o " + Out() +
                        " & pid=$!\n"
                        "for i in $(seq 200); do ls -A " +
                        Quote(tmp.Path()) +
                        "/.folvane-scan.pdfw-*/ 2>/dev/null | grep -q part && break; sleep 0.05; "
                        "done\n"
                        "kill -" +
                        signal + " $pid; wait $pid; echo $?");
    }

    TempDir dir;
    TempDir tmp;
    std::unique_ptr<TempDir> config;
};

TEST_F(FolvanePdfScanTest, TheFeedersPagesBecomeAPdfAndTheirFilesGo) {
    RunResult r = Run("--scan --source adf --mode gray --resolution 50 -o " + Out());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(QpdfCheck(dir / "out.pdf"));
    EXPECT_EQ(PageCount(dir / "out.pdf"), 10);
    EXPECT_TRUE(Listing(tmp.Path()).empty()) << "the temporary page folder was left behind";
}

TEST_F(FolvanePdfScanTest, KeepPagesKeepsTheFilesInAFolderItMakes) {
    const std::string kept = dir / "scans/today";
    RunResult r = Run("--scan --source adf --mode lineart --resolution 100 --keep-pages " +
                      Quote(kept) + " -o " + Out());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::set<std::string> names;
    for (int n = 1; n <= 10; ++n) {
        names.insert("page-0" + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".tif");
    }
    EXPECT_EQ(Listing(kept), names);
    EXPECT_EQ(PageCount(dir / "out.pdf"), 10);
    // The G4 pages go into the PDF as they are.
    std::vector<PdfImage> images = ListImages(dir / "out.pdf");
    ASSERT_EQ(images.size(), 10u);
    EXPECT_EQ(images[0].filter, "CCITTFaxDecode");
}

TEST_F(FolvanePdfScanTest, AFlatbedGivesOnePage) {
    RunResult r =
        Run("--scan --source flatbed --mode color --resolution 50 --page-size max -o " + Out());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PageCount(dir / "out.pdf"), 1);
}

// The test driver's bed is 200 x 200 mm: A4 and letter paper do not fit it, and the scan says
// so, in the user's language, before scanning what is on the bed.
TEST_F(FolvanePdfScanTest, APaperSizeLargerThanTheScannerIsScannedWithAWarning) {
    const std::string args = "--scan --source flatbed --mode gray --resolution 50 -o " + Out();
    const std::string bed = "geometry_max 200.0\n";
    RunResult a4 = Run(args + " --page-size a4", bed);
    ASSERT_EQ(a4.exitCode, 0) << a4.err;
    EXPECT_EQ(a4.err, "folvane-pdf: warning: A4 (210 x 297 mm) is larger than the scanner's area "
                      "of 200 x 200 mm; only the part on the scanner is scanned\n");
    EXPECT_EQ(PageCount(dir / "out.pdf"), 1);
    RunResult letter = Run("--page-size letter " + args, bed);
    EXPECT_NE(letter.err.find("letter (215.9 x 279.4 mm)"), std::string::npos) << letter.err;
    RunResult chinese = RunShell("LC_ALL=zh_CN.UTF-8 SANE_CONFIG_DIR=" + Quote(config->Path()) +
                                 " TMPDIR=" + Quote(tmp.Path()) + " " + Quote(kProgram) + " " +
                                 args + " --page-size a4");
    EXPECT_NE(chinese.err.find("200 x 200"), std::string::npos) << chinese.err;
    EXPECT_EQ(chinese.err.find("larger than"), std::string::npos) << chinese.err;
    // Paper that fits, and the whole bed, say nothing.
    EXPECT_EQ(Run(args + " --page-size max", bed).err, "");
    EXPECT_EQ(Run(args + " --page-size a4").err, "") << "a bed of 300 x 300 mm";
}

TEST_F(FolvanePdfScanTest, AJamFailsWithItsMessageAndLeavesNoPdf) {
    RunResult r = Run("--scan --source adf --resolution 50 -o " + Out(),
                      "read-status-code \"SANE_STATUS_JAMMED\"\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "folvane-pdf: scanner test:0, page 1: paper jam in the document feeder: clear "
                     "it and scan the remaining pages\n");
    EXPECT_EQ(Listing(dir.Path()), std::set<std::string>{});
    EXPECT_TRUE(Listing(tmp.Path()).empty());
}

TEST_F(FolvanePdfScanTest, NoScannerFailsWithTheHint) {
    RunResult r = Run("--scan -o " + Out(), "", "");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("folvane-pdf: no scanner found: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("'scanner' group"), std::string::npos);
    EXPECT_NE(r.err.find("saned"), std::string::npos);
    EXPECT_TRUE(Listing(dir.Path()).empty());
    RunResult list = Run("--list-devices", "", "");
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.out, "");
}

TEST_F(FolvanePdfScanTest, ListDevicesListsTheTestDriversDevices) {
    RunResult r = Run("--list-devices");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "test:0\tNoname\tfrontend-tester\tvirtual device\n"
                     "test:1\tNoname\tfrontend-tester\tvirtual device\n");
}

TEST_F(FolvanePdfScanTest, WrongCommandLinesAndRefusedSettings) {
    const std::string image = dir / "page.jpg";
    WriteText(image, "");
    for (const std::string &args : std::vector<std::string>{
             "--scan -o " + Out() + " " + Quote(image),
             "--mode gray -o " + Out() + " " + Quote(image), "--scan --source tray -o " + Out(),
             "--scan --resolution 0 -o " + Out(), "--list-devices --scan", "--scan"}) {
        RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << args << ": " << r.err;
    }
    RunResult refused = Run("--scan --device test:1 --resolution 5000 -o " + Out());
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "folvane-pdf: scanner test:1: the scanner does not accept \"5000\" for "
                           "its option 'resolution' (it offers 1..1200)\n");
    EXPECT_EQ(Listing(dir.Path()), std::set<std::string>{"page.jpg"});
}

TEST_F(FolvanePdfScanTest, AnInterruptedScanLeavesNothingBehind) {
    RunResult r = SignalMidScan("TERM");
    EXPECT_EQ(r.out, "143\n") << r.err;
    EXPECT_TRUE(Listing(tmp.Path()).empty());
    EXPECT_TRUE(Listing(dir.Path()).empty());
}

// A folder left as a killed scan leaves it: named after a process that has ended.
std::string DeadScanFolder(const std::string &tmp, bool lock, int &lockFd) {
    pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    const std::string folder = tmp + "/.folvane-scan.pdfw-" + std::to_string(child) + "-abcdef";
    std::filesystem::create_directory(folder);
    WriteText(folder + "/page-001.png", "a finished page");
    WriteText(folder + "/.page-002.png.part", "a partial page");
    lockFd = -1;
    if (lock) {
        lockFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::flock(lockFd, LOCK_EX);
    }
    return folder;
}

TEST_F(FolvanePdfScanTest, AKilledScansFolderIsRemovedByTheNextScan) {
    RunResult killed = SignalMidScan("KILL");
    EXPECT_EQ(killed.out, "137\n") << killed.err;
    ASSERT_EQ(Listing(tmp.Path()).size(), 1u) << "the killed scan left no folder to remove";

    int lockFd = -1;
    const std::string held = DeadScanFolder(tmp.Path(), true, lockFd);
    int unusedFd = -1;
    DeadScanFolder(tmp.Path(), false, unusedFd);
    RunResult next = Run("--scan --source adf --mode gray --resolution 50 -o " + Out());
    EXPECT_EQ(next.exitCode, 0) << next.err;
    // The folders of dead scans went; the one whose lock is held by a living process stays.
    EXPECT_EQ(Listing(tmp.Path()),
              std::set<std::string>{std::filesystem::path(held).filename().string()});
    ::close(lockFd);
}

} // namespace
