// What folvane-pdf does with each kind of node as an image, as the output and as a @LIST file:
// a regular file, a folder, a FIFO, a character device, a socket, a symbolic link to each and a
// dangling link. Nothing waits on a FIFO or device, and no node it did not create is replaced.

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"

namespace {

namespace fs = std::filesystem;
using namespace support;
using namespace cli_test;

enum class Kind { Regular, Folder, Fifo, Device, Socket };

struct Node {
    std::string name;
    Kind kind;
};

mode_t TypeOf(Kind kind) {
    switch (kind) {
    case Kind::Regular:
        return S_IFREG;
    case Kind::Folder:
        return S_IFDIR;
    case Kind::Fifo:
        return S_IFIFO;
    case Kind::Device:
        return S_IFCHR;
    case Kind::Socket:
        return S_IFSOCK;
    }
    return 0;
}

class NodeKindsTest : public ::testing::Test {
protected:
    void SetUp() override {
        image = dir / "page.jpg";
        WriteJpeg(image, 40, 30);
        if (::mknod((dir / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0) {
            GTEST_SKIP() << "making a device node needs root";
        }
    }

    // Makes every kind of node, "<prefix>regular<suffix>" (holding `regularText`),
    // "<prefix>folder<suffix>", ..., a link to each, "<prefix>link-regular<suffix>", ..., and a
    // dangling link "<prefix>dangling<suffix>".
    std::vector<Node> MakeNodes(const std::string &prefix, const std::string &suffix,
                                const std::string &regularText) {
        const std::vector<std::pair<std::string, Kind>> kinds = {{"regular", Kind::Regular},
                                                                 {"folder", Kind::Folder},
                                                                 {"fifo", Kind::Fifo},
                                                                 {"device", Kind::Device},
                                                                 {"socket", Kind::Socket}};
        std::vector<Node> nodes;
        for (const auto &[word, kind] : kinds) {
            const std::string name = prefix + word + suffix;
            const std::string path = dir / name;
            switch (kind) {
            case Kind::Regular:
                WriteText(path, regularText);
                break;
            case Kind::Folder:
                fs::create_directory(path);
                break;
            case Kind::Fifo:
                EXPECT_EQ(::mkfifo(path.c_str(), 0666), 0);
                break;
            case Kind::Device:
                EXPECT_EQ(::mknod(path.c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
                break;
            case Kind::Socket:
                MakeSocket(path);
                break;
            }
            nodes.push_back({name, kind});
            fs::create_symlink(name, dir / (prefix + "link-" + word + suffix));
            nodes.push_back({prefix + "link-" + word + suffix, kind});
        }
        fs::create_symlink("nothing-here", dir / (prefix + "dangling" + suffix));
        return nodes;
    }

    void MakeSocket(const std::string &path) {
        socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(path.size(), sizeof address.sun_path);
        path.copy(address.sun_path, path.size());
        ASSERT_EQ(::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    }

    void TearDown() override {
        if (socketFd >= 0) {
            ::close(socketFd);
        }
    }

    // The node stays of its kind after a run.
    void ExpectKind(const std::string &path, Kind kind) {
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0) << path;
        EXPECT_EQ(info.st_mode & S_IFMT, TypeOf(kind)) << path << " changed its kind";
    }

    // Runs folvane-pdf with `args` and its temporary files in the test's folder, ended after
    // ten seconds should it wait on something.
    RunResult Run(const std::string &args, double &seconds) const {
        auto start = std::chrono::steady_clock::now();
        RunResult r =
            RunShell("TMPDIR=" + Quote(dir.Path()) + " timeout 10 " + Quote(kProgram) + " " + args);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return r;
    }

    TempDir dir;
    std::string image;
    int socketFd = -1;
};

TEST_F(NodeKindsTest, AnImageMustBeARegularFileAndNothingWaitsOnIt) {
    const Bytes jpeg = ReadFile(image);
    for (const Node &node : MakeNodes("in-", ".jpg", std::string(jpeg.begin(), jpeg.end()))) {
        const std::string path = dir / node.name;
        double seconds = 0;
        RunResult r = Run("-o " + Quote(dir / "out.pdf") + " " + Quote(path), seconds);
        EXPECT_LT(seconds, 1.0) << node.name << " was waited on";
        ExpectKind(path, node.kind);
        if (node.kind == Kind::Regular) {
            EXPECT_EQ(r.exitCode, 0) << node.name << ": " << r.err;
            continue;
        }
        EXPECT_EQ(r.exitCode, 1) << node.name << ": " << r.err;
        EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
        if (node.kind == Kind::Fifo || node.kind == Kind::Device) {
            EXPECT_NE(r.err.find("is not a regular file"), std::string::npos) << r.err;
        }
    }
    double seconds = 0;
    RunResult dangling =
        Run("-o " + Quote(dir / "out.pdf") + " " + Quote(dir / "in-dangling.jpg"), seconds);
    EXPECT_EQ(dangling.exitCode, 1) << dangling.err;
}

TEST_F(NodeKindsTest, AnOutputPipeOrDeviceGetsTheDocumentAndStays) {
    const std::vector<Node> nodes = MakeNodes("out-", "", "an earlier file");
    for (const Node &node : nodes) {
        const std::string path = dir / node.name;
        std::string received;
        std::thread reader;
        if (node.kind == Kind::Fifo) {
            // The reader waits in open() for the program, which finds it there.
            reader = std::thread([&received, path] { received = ReadText(path); });
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        double seconds = 0;
        RunResult r = Run("-o " + Quote(path) + " " + Quote(image), seconds);
        if (reader.joinable()) {
            reader.join();
        }
        switch (node.kind) {
        case Kind::Regular:
            EXPECT_EQ(r.exitCode, 0) << node.name << ": " << r.err;
            EXPECT_EQ(ReadText(path).rfind("%PDF-", 0), 0u);
            break;
        case Kind::Fifo:
            EXPECT_EQ(r.exitCode, 0) << node.name << ": " << r.err;
            EXPECT_EQ(received.rfind("%PDF-", 0), 0u) << node.name;
            EXPECT_NE(received.find("%%EOF"), std::string::npos) << node.name;
            break;
        case Kind::Device:
            EXPECT_EQ(r.exitCode, 0) << node.name << ": " << r.err;
            break;
        case Kind::Folder:
        case Kind::Socket:
            EXPECT_EQ(r.exitCode, 1) << node.name << ": " << r.err;
            EXPECT_NE(r.err.find(node.kind == Kind::Folder ? "it is a folder" : "it is a socket"),
                      std::string::npos)
                << r.err;
            break;
        }
        ExpectKind(path, node.kind);
        if (node.name.rfind("out-link-", 0) == 0) {
            EXPECT_TRUE(fs::is_symlink(path)) << node.name << " is no longer a link";
        }
    }
    // A pipe that nothing reads from is refused at once rather than waited on.
    double seconds = 0;
    RunResult r = Run("-o " + Quote(dir / "out-fifo") + " " + Quote(image), seconds);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("nothing reads from the pipe"), std::string::npos) << r.err;
    EXPECT_LT(seconds, 1.0);
    ExpectKind(dir / "out-fifo", Kind::Fifo);
    // No temporary file is left beside any of them, nor in TMPDIR (the same folder).
    for (const std::string &name : Listing(dir.Path())) {
        EXPECT_EQ(name.find(".pdfw-"), std::string::npos) << name;
    }
}

TEST_F(NodeKindsTest, TheSystemsNullAndFullDevicesStayDevices) {
    // The private node first: should it be replaced, /dev/null is not tried.
    double seconds = 0;
    ASSERT_EQ(Run("-o " + Quote(dir / "null") + " " + Quote(image), seconds).exitCode, 0);
    ExpectKind(dir / "null", Kind::Device);
    ASSERT_FALSE(HasFailure());

    RunResult null = Run("-o /dev/null " + Quote(image), seconds);
    EXPECT_EQ(null.exitCode, 0) << null.err;
    ExpectKind("/dev/null", Kind::Device);

    RunResult full = Run("-o /dev/full " + Quote(image), seconds);
    EXPECT_EQ(full.exitCode, 1);
    // The output is named, not the image being written when the space ran out.
    EXPECT_EQ(full.err, "folvane-pdf: cannot write \"/dev/full\": No space left on device\n");
    ExpectKind("/dev/full", Kind::Device);
}

TEST_F(NodeKindsTest, AListIsARegularFileOrAPipeAndNeverTheOutput) {
    const std::vector<Node> nodes = MakeNodes("list-", "", image + "\n");
    for (const Node &node : nodes) {
        const std::string path = dir / node.name;
        double seconds = 0;
        RunResult r = Run("-o " + Quote(dir / "out.pdf") + " @" + Quote(path), seconds);
        EXPECT_LT(seconds, 1.0) << node.name << " was waited on";
        switch (node.kind) {
        case Kind::Regular:
            EXPECT_EQ(r.exitCode, 0) << node.name << ": " << r.err;
            break;
        case Kind::Fifo: // nothing writes to it: an empty list
            EXPECT_EQ(r.exitCode, 2) << node.name << ": " << r.err;
            EXPECT_NE(r.err.find("the lists name none"), std::string::npos) << r.err;
            break;
        case Kind::Folder:
        case Kind::Device:
            EXPECT_EQ(r.exitCode, 1) << node.name << ": " << r.err;
            EXPECT_NE(r.err.find("it is not a regular file"), std::string::npos) << r.err;
            break;
        case Kind::Socket:
            EXPECT_EQ(r.exitCode, 1) << node.name << ": " << r.err;
            EXPECT_NE(r.err.find("cannot read list"), std::string::npos) << r.err;
            break;
        }
        ExpectKind(path, node.kind);
    }
    // The list named as the output, directly, through a link or a hard link, is refused.
    fs::create_hard_link(dir / "list-regular", dir / "list-hard");
    for (const char *out : {"list-regular", "list-link-regular", "list-hard"}) {
        double seconds = 0;
        RunResult r = Run("-o " + Quote(dir / out) + " @" + Quote(dir / "list-regular"), seconds);
        EXPECT_EQ(r.exitCode, 1) << out;
        EXPECT_NE(r.err.find("is the list"), std::string::npos) << r.err;
        EXPECT_EQ(ReadText(dir / "list-regular"), image + "\n");
    }
    // A pipe with a writer, as @<(command) gives, is read.
    RunResult piped =
        RunShell("bash -c " + Quote(Quote(kProgram) + " -o " + Quote(dir / "piped.pdf") +
                                    " @<(echo " + Quote(image) + ")"));
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
}

TEST(OutputFailures, AWriteThatFailsMidRunNamesTheOutputNotAnImage) {
    TempDir dir;
    // Two pictures of noise, each larger than the output's buffer, and a limit on the size of
    // files the program may write: the first copy into the document fails.
    for (const std::string name : {"src00.jpg", "src01.jpg"}) {
        WriteFile(dir / name, MakeJpeg(Noise(1200, 1200, 3)));
    }
    RunResult r = RunShell("trap '' XFSZ; ulimit -f 400; " + Quote(kProgram) + " -o " +
                           Quote(dir / "out.pdf") + " " + Quote(dir / "src00.jpg") + " " +
                           Quote(dir / "src01.jpg"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "folvane-pdf: cannot write \"" + (dir / "out.pdf") + "\": File too large\n");
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"src00.jpg", "src01.jpg"}));
}

} // namespace
