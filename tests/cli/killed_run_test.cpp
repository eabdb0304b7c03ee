// A run killed with SIGKILL (the out-of-memory killer, a closed session) leaves no file but
// the PDF that was there before: killed at the first page, in the middle, with the document
// complete and flushed, and between putting it under a temporary name and in place. In a
// folder on disk and on a tmpfs, where the document has no name until it is complete, and with
// named temporary files (the way of file systems without O_TMPFILE), whose leftovers the next
// run into the folder removes.
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "pdfw/output/DeadTemporaries.h"
#include "tests/cli/FolvanePdfRun.h"

namespace {

using namespace support;
using namespace cli_test;
using Names = std::set<std::string>;

const std::string kOld = "%PDF-1.4 the document of an earlier run\n";
constexpr int kKilled = 128 + 9;

struct Folder {
    const char *what;
    std::string path; // "" when it cannot be had here
    bool named;       // FOLVANE_PDFW_NAMED_TEMPORARY
};

class KilledRunTest : public ::testing::Test {
protected:
    RunResult Run(const std::string &folder, bool named, const std::string &killAt) {
        std::string command = "FOLVANE_PDFW_NAMED_TEMPORARY=" + std::string(named ? "1" : "0");
        if (!killAt.empty()) {
            command += " FOLVANE_PDFW_KILL_AT=" + killAt;
        }
        command += " exec " + Quote(kProgram) + " -o " + Quote(folder + "/out.pdf");
        for (const std::string &page : pages) {
            command += " " + Quote(page);
        }
        return RunShell(command);
    }

    // The names in `folder` that are not temporary documents of a process that is gone.
    static Names Kept(const std::string &folder, Names &leftovers) {
        Names kept;
        for (const std::string &name : Listing(folder)) {
            pid_t owner = folvane::pdfw::temporaryOwner(name);
            (owner > 0 ? leftovers : kept).insert(name);
        }
        return kept;
    }

    TempDir dir;
    std::vector<std::string> pages;
};

TEST_F(KilledRunTest, NothingButTheOldPdfIsLeft) {
    // Five pages, one of them large enough to go through spill files.
    for (int i = 0; i < 5; ++i) {
        std::string page = dir / ("page-" + std::to_string(i) + ".tif");
        WriteTiffPages(page, {{i == 2 ? 3000 : 300, i == 2 ? 4000 : 200}});
        pages.push_back(page);
    }
    std::string shm = "/dev/shm/folvane-killed-" + std::to_string(::getpid());
    std::vector<Folder> folders = {{"disk", dir / "out", false},
                                   {"tmpfs", ::mkdir(shm.c_str(), 0700) == 0 ? shm : "", false},
                                   {"named", dir / "named", true}};
    ::mkdir((dir / "out").c_str(), 0700);
    ::mkdir((dir / "named").c_str(), 0700);
    for (const Folder &folder : folders) {
        if (folder.path.empty()) {
            continue;
        }
        for (const char *point : {"image:1", "image:3", "commit", "linked"}) {
            SCOPED_TRACE(std::string(folder.what) + ", killed at " + point);
            WriteText(folder.path + "/out.pdf", kOld);
            RunResult killed = Run(folder.path, folder.named, point);
            EXPECT_EQ(killed.exitCode, kKilled) << killed.err;
            Names leftovers;
            EXPECT_EQ(Kept(folder.path, leftovers), Names{"out.pdf"});
            EXPECT_EQ(ReadText(folder.path + "/out.pdf"), kOld);
            // Only named temporaries outlive their process: after the link, or without
            // O_TMPFILE. The next run into the folder removes them.
            // A spill file killed in the instant it had a name is left too, named as the run's.
            bool named = folder.named || std::string(point) == "linked";
            std::size_t documents = 0;
            for (const std::string &name : leftovers) {
                documents += name.rfind(".out.pdf.pdfw-", 0) == 0;
                EXPECT_TRUE(name.rfind(".out.pdf.pdfw-", 0) == 0 ||
                            name.rfind(".folvane-spill.pdfw-", 0) == 0)
                    << name;
            }
            EXPECT_EQ(documents, named ? 1u : 0u);
            RunResult next = Run(folder.path, folder.named, "");
            EXPECT_EQ(next.exitCode, 0) << next.err;
            EXPECT_EQ(Listing(folder.path), Names{"out.pdf"});
            EXPECT_NE(ReadText(folder.path + "/out.pdf"), kOld);
        }
    }
    if (!folders[1].path.empty()) {
        ::unlink((shm + "/out.pdf").c_str());
        ::rmdir(shm.c_str());
    }
}

} // namespace
