// The output file on its own: small and large writes and copied file spans arrive in order,
// and only commit() makes the target appear.
#include "pdfw/output/OutputFile.h"

#include <cstdlib>
#include <string>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include "pdfw/core/PdfwError.h"
#include "pdfw/core/UnnamedFile.h"
#include "pdfw/output/DeadTemporaries.h"

#include <gtest/gtest.h>

#include "tests/support/Files.h"

namespace {

using namespace support;

Bytes counting(std::size_t size, int seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>((i * 7 + static_cast<std::size_t>(seed)) % 251);
    }
    return bytes;
}

TEST(OutputFile, WritesAroundTheBufferArriveInOrder) {
    TempDir dir;
    // Around the 1 MiB buffer: filling it, overflowing it, and larger than it; then past the
    // 8 MiB steps at which write-back starts, in large writes and in buffered ones.
    std::vector<Bytes> pieces = {counting(1000, 1),  counting((1u << 20) - 1000, 2),
                                 counting(1, 3),     counting(3u << 20, 4),
                                 counting(70000, 5), counting(9u << 20, 6)};
    for (int i = 0; i < 40; ++i) {
        pieces.push_back(counting(300000, 7 + i));
    }
    folvane::pdfw::Problem reason;
    auto out =
        folvane::pdfw::OutputFile::create(dir / "out.bin", folvane::pdfw::MemoryProcs{}, reason);
    ASSERT_TRUE(out) << folvane::pdfw::describe(reason);
    Bytes expected;
    for (const Bytes &piece : pieces) {
        out->write(piece.data(), piece.size());
        expected.insert(expected.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(out->position(), expected.size());
    // Until it is complete the document has no name (nothing a SIGKILL could leave behind).
    EXPECT_TRUE(Listing(dir.Path()).empty());
    out->commit();
    EXPECT_TRUE(ReadFile(dir / "out.bin") == expected);
    EXPECT_EQ(Listing(dir.Path()), std::set<std::string>{"out.bin"});
}

TEST(OutputFile, WithoutCommitNothingIsLeft) {
    TempDir dir;
    folvane::pdfw::Problem reason;
    {
        auto out = folvane::pdfw::OutputFile::create(dir / "out.bin", folvane::pdfw::MemoryProcs{},
                                                     reason);
        ASSERT_TRUE(out);
        Bytes big = counting(2u << 20, 6);
        out->write(big.data(), big.size());
    }
    EXPECT_TRUE(Listing(dir.Path()).empty());
}

// Spans copied by the kernel between buffered writes, and from another file system (a
// tmpfs, which the kernel will not copy from into this one), which go through the buffer.
TEST(OutputFile, CopiedSpansArriveInOrder) {
    TempDir dir;
    Bytes source = counting(5u << 20, 9);
    WriteFile(dir / "source.bin", source);
    std::vector<std::string> sources = {dir / "source.bin"};
    std::string elsewhere = "/dev/shm/folvane-span-" + std::to_string(::getpid());
    if (::access("/dev/shm", W_OK) == 0) {
        WriteFile(elsewhere, source);
        sources.push_back(elsewhere);
    }
    for (const std::string &from : sources) {
        folvane::pdfw::Problem reason;
        auto out = folvane::pdfw::OutputFile::create(dir / "out.bin", folvane::pdfw::MemoryProcs{},
                                                     reason);
        ASSERT_TRUE(out) << folvane::pdfw::describe(reason);
        folvane::pdfw::InputFile input(from);
        Bytes head = counting(1000, 1);
        out->write(head.data(), head.size());
        out->copy(folvane::pdfw::FileSpan(input, 0, source.size()));
        out->write(head.data(), 10);
        out->copy(folvane::pdfw::FileSpan(input, 123, 4567));
        EXPECT_EQ(out->position(), 1000 + source.size() + 10 + 4567);
        out->commit();
        Bytes expected = head;
        expected.insert(expected.end(), source.begin(), source.end());
        expected.insert(expected.end(), head.begin(), head.begin() + 10);
        expected.insert(expected.end(), source.begin() + 123, source.begin() + 123 + 4567);
        EXPECT_TRUE(ReadFile(dir / "out.bin") == expected) << from;
    }
    ::unlink(elsewhere.c_str());
}

// The bytes checked are the bytes copied: a file that changed in between breaks the output.
// Small spans are read into the buffer, large ones copied by the kernel: both paths.
TEST(OutputFile, ASpanWhoseFileChangedIsRefused) {
    TempDir dir;
    folvane::pdfw::Problem reason;
    for (std::size_t size : {std::size_t{10000}, std::size_t{3} << 20}) {
        for (bool shorter : {false, true}) {
            WriteFile(dir / "source.bin", counting(size, 2));
            folvane::pdfw::InputFile input(dir / "source.bin");
            folvane::pdfw::FileSpan span(input, 0, size);
            auto out = folvane::pdfw::OutputFile::create(dir / "out.bin",
                                                         folvane::pdfw::MemoryProcs{}, reason);
            ASSERT_TRUE(out) << folvane::pdfw::describe(reason);
            // The same size needs a later modification time: past the file system's clock step.
            ::usleep(20000);
            WriteFile(dir / "source.bin", counting(shorter ? size / 2 : size, 3));
            try {
                out->copy(span);
                FAIL() << "a changed file was copied";
            } catch (const folvane::pdfw::PdfwError &error) {
                EXPECT_EQ(error.type(), PDFW_IO_ERROR);
                EXPECT_NE(std::string(error.what()).find("source.bin"), std::string::npos);
            }
            EXPECT_TRUE(out->broken());
            EXPECT_THROW(out->commit(), folvane::pdfw::PdfwError);
            EXPECT_EQ(Listing(dir.Path()), std::set<std::string>{"source.bin"});
        }
    }
}

// Where the file system cannot make a file with no name, the document is named after its
// process and locked; a later run in the folder removes the files of processes that are gone
// and leaves those of live ones.
TEST(OutputFile, WithoutUnnamedFilesTheNamedOnesOfDeadRunsAreRemoved) {
    TempDir dir;
    pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    const std::string dead = ".out.bin.pdfw-" + std::to_string(child) + "-abcdef";
    const std::string alive = ".out.bin.pdfw-" + std::to_string(::getppid()) + "-ghijkl";
    WriteText(dir / dead, "left by a killed run");
    WriteText(dir / alive, "being written");
    WriteText(dir / ".notes.pdfw-old", "not ours");
    ::setenv("FOLVANE_PDFW_NAMED_TEMPORARY", "1", 1);
    folvane::pdfw::Problem reason;
    auto out =
        folvane::pdfw::OutputFile::create(dir / "out.bin", folvane::pdfw::MemoryProcs{}, reason);
    ::unsetenv("FOLVANE_PDFW_NAMED_TEMPORARY");
    ASSERT_TRUE(out) << folvane::pdfw::describe(reason);
    std::set<std::string> names = Listing(dir.Path());
    EXPECT_EQ(names.count(dead), 0u);
    EXPECT_EQ(names.count(alive), 1u);
    EXPECT_EQ(names.count(".notes.pdfw-old"), 1u);
    std::string own;
    for (const std::string &name : names) {
        if (folvane::pdfw::temporaryOwner(name) == ::getpid()) {
            own = name;
        }
    }
    EXPECT_FALSE(own.empty()) << "the document's own name carries this process's id";
    out->write("%PDF", 4);
    out->commit();
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{alive, ".notes.pdfw-old", "out.bin"}));
}

// Without unnamed files a spill file has a name for an instant, between its making and its
// unlinking; a run killed then leaves it, and it must be one the next run knows as a dead run's.
TEST(OutputFile, ASpillFileIsNamedAsItsRunsOwnForTheInstantItHasAName) {
    TempDir dir;
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, dir.Path().c_str(), IN_CREATE), 0);
    ::setenv("FOLVANE_PDFW_NAMED_TEMPORARY", "1", 1);
    const int fd = folvane::pdfw::openUnnamedFile(dir.Path());
    ::unsetenv("FOLVANE_PDFW_NAMED_TEMPORARY");
    ASSERT_GE(fd, 0);
    ::close(fd);
    alignas(inotify_event) char events[4096];
    const ssize_t got = ::read(watch, events, sizeof events);
    ::close(watch);
    ASSERT_GT(got, static_cast<ssize_t>(sizeof(inotify_event)));
    const auto *created = reinterpret_cast<const inotify_event *>(events);
    ASSERT_GT(created->len, 0u);
    EXPECT_EQ(folvane::pdfw::temporaryOwner(created->name), ::getpid()) << created->name;
    EXPECT_TRUE(Listing(dir.Path()).empty()) << "unlinked at once";
}

} // namespace
