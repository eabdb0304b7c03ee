// A batch of 200 documents spread over two shards by GNU parallel, one of them killed part way
// and started again: the rerun skips what the killed shard had finished, writes the rest, and
// every output is a sound PDF, with nothing else left in the folder.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Pdf.h"

namespace {

using namespace support;
using namespace cli_test;

constexpr int kDocuments = 200;

// How many lines of `text` start with `word`.
int LinesStartingWith(const std::string &text, const std::string &word) {
    int count = 0;
    for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        count += text.compare(at, word.size(), word) == 0 ? 1 : 0;
        if (text.find('\n', at) == std::string::npos) {
            break;
        }
    }
    return count;
}

TEST(ParallelShards, AKilledShardStartedAgainFinishesTheBatch) {
    if (RunShell("command -v parallel").exitCode != 0) {
        GTEST_SKIP() << "GNU parallel is not installed";
    }
    TempDir dir;
    std::string manifest;
    for (int i = 0; i < kDocuments; ++i) {
        const std::string page = "p" + std::to_string(i % 10) + ".jpg";
        if (i < 10) {
            WriteJpeg(dir / page, 24 + i, 16);
        }
        manifest += "out" + std::to_string(i) + ".pdf\t" + page + "\n";
    }
    WriteText(dir / "m.tsv", manifest);
    ASSERT_EQ(RunShell("touch -d '1 hour ago' " + Quote(dir.Path()) + "/*").exitCode, 0);
    // Shard 1, when KILL is set, is killed with SIGKILL once it has reported 30 documents.
    WriteText(dir / "shard.sh",
              "if [ \"$1\" = 1 ] && [ -n \"$KILL\" ]; then\n"
              "  sh -c 'echo $$ > pid; exec \"$0\" --batch m.tsv --shard 1/2' \"$PROGRAM\" |\n"
              "    { head -n 30 > killed.out; kill -KILL \"$(cat pid)\"; cat > /dev/null; }\n"
              "else\n"
              "  \"$PROGRAM\" --batch m.tsv --shard \"$1\"/2 > shard\"$1\".out\n"
              "fi\n");
    const std::string parallel = "cd " + Quote(dir.Path()) +
                                 " && export PROGRAM=" + Quote(kProgram) +
                                 " && parallel --will-cite -j2 sh shard.sh ::: ";
    RunShell("export KILL=1 && " + parallel + "0 1");
    const std::string killed = ReadText(dir / "killed.out");
    EXPECT_EQ(LinesStartingWith(killed, "ok\t"), 30) << killed;
    int shardOneDone = 0;
    for (int i = 1; i < kDocuments; i += 2) {
        shardOneDone += PageCount(dir / ("out" + std::to_string(i) + ".pdf")) == 1 ? 1 : 0;
    }
    ASSERT_LT(shardOneDone, kDocuments / 2) << "the shard was killed after it had finished";

    const RunResult rerun = RunShell(parallel + "1");
    EXPECT_EQ(rerun.exitCode, 0) << rerun.err;
    const std::string report = ReadText(dir / "shard1.out");
    EXPECT_GE(LinesStartingWith(report, "skipped\t"), 30) << report;
    EXPECT_EQ(LinesStartingWith(report, "skipped\t") + LinesStartingWith(report, "ok\t"),
              kDocuments / 2)
        << report;
    EXPECT_EQ(LinesStartingWith(ReadText(dir / "shard0.out"), "ok\t"), kDocuments / 2);

    std::set<std::string> expected = {"m.tsv",      "shard.sh",   "pid",
                                      "killed.out", "shard0.out", "shard1.out"};
    for (int i = 0; i < kDocuments; ++i) {
        const std::string name = "out" + std::to_string(i) + ".pdf";
        EXPECT_TRUE(QpdfCheck(dir / name)) << name;
        expected.insert(name);
        if (i < 10) {
            expected.insert("p" + std::to_string(i) + ".jpg");
        }
    }
    EXPECT_EQ(Listing(dir.Path()), expected);
}

} // namespace
