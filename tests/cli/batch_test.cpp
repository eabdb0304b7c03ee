// folvane-pdf --batch: a manifest's documents, each written as its line says with paths taken
// from the manifest's folder, a line of report for each, a failure that does not stop the
// others, a second run that skips what is done, shards that share the lines between them, and
// manifests refused with their line before anything is written.
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Pdf.h"

namespace {

using namespace support;
using namespace cli_test;

// Dates `path` an hour back, so that an output written now is newer whatever the clock's grain.
void MakeOld(const std::string &path) {
    struct timespec times[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

// The report's lines, each as its fields without the seconds.
std::vector<std::string> Report(const std::string &out) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = out.substr(start, end - start);
        const std::size_t seconds = line.find('\t', line.find('\t', line.find('\t') + 1) + 1);
        const std::size_t after = line.find('\t', seconds + 1);
        lines.push_back(line.substr(0, seconds) + line.substr(after));
    }
    return lines;
}

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::mkdir((dir / "pages").c_str(), 0700), 0);
        WriteJpeg(dir / "pages/1.jpg", 40, 30);
        WriteJpeg(dir / "pages/2.jpg", 48, 30);
        WriteTiffPages(dir / "pages/3.tif", {{56, 30}, {64, 30}});
        WriteText(dir / "pages/list.txt", "pages/1.jpg\npages/2.jpg\n");
        for (const char *name : {"pages", "pages/1.jpg", "pages/2.jpg", "pages/3.tif"}) {
            MakeOld(dir / name);
        }
    }

    // Writes the manifest, dated back as the pages are.
    void Manifest(const std::string &text) {
        WriteText(dir / "m.tsv", text);
        MakeOld(dir / "m.tsv");
    }

    // Runs a batch from another folder, so that only the manifest's folder can explain paths.
    RunResult Batch(const std::string &options = "") {
        return RunShell("cd / && " + Quote(kProgram) + " --batch " + Quote(dir / "m.tsv") + " " +
                        options);
    }

    TempDir dir;
};

TEST_F(BatchTest, RunsEachLineGoesOnAfterAFailureAndSkipsWhatIsDone) {
    Manifest("# output, then inputs and options\r\n"
             "a.pdf\tpages/1.jpg\tpages/3.tif\r\n"
             "\n"
             "b.pdf\t--rotate=90\tpages/2.jpg\n"
             "c.pdf\tpages/missing.jpg\n"
             "d.pdf\tpages\t\t\n");
    const RunResult first = Batch();
    EXPECT_EQ(first.exitCode, 1);
    EXPECT_EQ(Report(first.out),
              (std::vector<std::string>{"ok\t2\t3\ta.pdf", "ok\t4\t1\tb.pdf", "failed\t5\t0\tc.pdf",
                                        "ok\t6\t4\td.pdf"}));
    EXPECT_NE(first.err.find("missing.jpg"), std::string::npos) << first.err;
    EXPECT_EQ(PageCount(dir / "a.pdf"), 3);
    EXPECT_EQ(PageCount(dir / "d.pdf"), 4);
    const std::vector<PageSize> turned = PageSizes(dir / "b.pdf");
    ASSERT_EQ(turned.size(), 1u);
    EXPECT_GT(turned[0].height, turned[0].width);

    // Started again: only the failed one runs; an input changed since makes its document run.
    WriteJpeg(dir / "pages/2.jpg", 48, 30);
    const RunResult second = Batch();
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(Report(second.out),
              (std::vector<std::string>{"skipped\t2\t0\ta.pdf", "ok\t4\t1\tb.pdf",
                                        "failed\t5\t0\tc.pdf", "ok\t6\t4\td.pdf"}));

    // A list's images, named from the manifest's folder as all paths are, count as inputs too;
    // --force runs everything.
    Manifest("e.pdf\t@pages/list.txt\n");
    EXPECT_EQ(Report(Batch().out), (std::vector<std::string>{"ok\t1\t2\te.pdf"}));
    EXPECT_EQ(Report(Batch().out), (std::vector<std::string>{"skipped\t1\t0\te.pdf"}));
    const RunResult forced = Batch("--force");
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(Report(forced.out), (std::vector<std::string>{"ok\t1\t2\te.pdf"}));
}

TEST_F(BatchTest, ShardsShareTheLinesByTheirIndex) {
    std::string text = "# five documents\n";
    for (int i = 0; i < 5; ++i) {
        text += "out" + std::to_string(i) + ".pdf\tpages/1.jpg\n";
    }
    Manifest(text);
    EXPECT_EQ(Report(Batch("--shard 1/2").out),
              (std::vector<std::string>{"ok\t3\t1\tout1.pdf", "ok\t5\t1\tout3.pdf"}));
    // The index from the environment, as a Kubernetes Indexed Job gives it.
    const RunResult fromJob =
        RunShell("cd / && JOB_COMPLETION_INDEX=2 " + Quote(kProgram) + " --batch " +
                 Quote(dir / "m.tsv") + " --shard JOB_COMPLETION_INDEX/3");
    EXPECT_EQ(Report(fromJob.out), (std::vector<std::string>{"ok\t4\t1\tout2.pdf"}));
    for (const char *bad : {"--shard 2/2", "--shard 1/0", "--shard 1", "--shard -1/2",
                            "--shard x-y/2", "--shard UNSET_IN_THIS_TEST/2"}) {
        EXPECT_EQ(Batch(bad).exitCode, 2) << bad;
    }
    EXPECT_EQ(RunFolvanePdf("--shard 0/2 -o x.pdf " + Quote(dir / "pages/1.jpg")).exitCode, 2);
}

TEST_F(BatchTest, ABadManifestIsRefusedWithItsLineBeforeAnythingIsWritten) {
    const std::vector<std::pair<std::string, std::string>> manifests = {
        {"a.pdf\tpages/1.jpg\nb.pdf\t--no-such-option\tpages/1.jpg\n", "line 2"},
        {"a.pdf\tpages/1.jpg\n# same file, other names\n./a.pdf\tpages/2.jpg\n", "line 3"},
        {"pages/../a.pdf\tpages/1.jpg\na.pdf\tpages/2.jpg\n", "line 2"},
        {"a.pdf\tpages/1.jpg\nb.pdf\n", "line 2"},
        {"\tpages/1.jpg\n", "line 1"},
        {"a.pdf\t-o\tc.pdf\tpages/1.jpg\n", "line 1"},
        {"a.pdf\t--split-every\t2\tpages/1.jpg\n", "line 1"},
        {"a.pdf\t@-\n", "line 1"},
        {"a.pdf\tpages/1.jpg\t\tpages/2.jpg\n", "line 1"},
        {"a.pdf\t--help\tpages/1.jpg\n", "line 1"},
        {std::string("a.pdf\tpages/1.jpg\nb.pdf\tpa\0ges/1.jpg\n", 37), "line 2"},
    };
    for (const auto &[text, line] : manifests) {
        Manifest(text);
        const RunResult run = Batch();
        EXPECT_EQ(run.exitCode, 2) << text;
        EXPECT_NE(run.err.find(line), std::string::npos) << text << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"m.tsv", "pages"})) << text;
    }
    EXPECT_EQ(RunFolvanePdf("--batch " + Quote(dir / "none.tsv")).exitCode, 1);
    EXPECT_EQ(RunFolvanePdf("--batch " + Quote(dir / "m.tsv") + " -o x.pdf").exitCode, 2);
}

} // namespace
