// folvane-pdf as scripts use it: exit codes, its one stderr line, and the document it writes.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const std::string kProgram = std::string(FOLVANE_BIN_DIR) + "/folvane-pdf";
const std::string kSamples = std::string(FOLVANE_SOURCE_DIR) + "/res/samples";

struct Result {
    int exitCode;
    std::string out;
    std::string err;
};

std::string Quote(const std::string &text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string Read(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

class FolvanePdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "folvane-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string At(const std::string &name) const { return dir + "/" + name; }

    // Runs folvane-pdf with `args` (already quoted), stdout and stderr to files.
    Result Run(const std::string &args) const {
        const std::string out = At("stdout.txt");
        const std::string err = At("stderr.txt");
        int status = std::system(
            (Quote(kProgram) + " " + args + " >" + Quote(out) + " 2>" + Quote(err) + " </dev/null")
                .c_str());
        Result result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(out), Read(err)};
        fs::remove(out);
        fs::remove(err);
        return result;
    }

    std::string Sample(const std::string &name) const { return Quote(kSamples + "/" + name); }

    // Horizontal resolution pdfimages reports for each image: 72 / scale for one point a pixel.
    std::vector<int> ImagePpi(const std::string &pdf) const {
        FILE *pipe = popen(("pdfimages -list " + Quote(pdf)).c_str(), "r");
        std::vector<int> ppi;
        char line[512];
        while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) {
            int page, num, width, height, comps, bpc, object, generation, xppi;
            char type[32], color[32], enc[32], interp[32];
            if (std::sscanf(line, "%d %d %31s %d %d %31s %d %d %31s %31s %d %d %d", &page, &num,
                            type, &width, &height, color, &comps, &bpc, enc, interp, &object,
                            &generation, &xppi) == 13) {
                ppi.push_back(xppi);
            }
        }
        if (pipe != nullptr) {
            pclose(pipe);
        }
        return ppi;
    }

    std::string dir;
};

int LineCount(const std::string &text) {
    int lines = 0;
    for (char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines;
}

TEST_F(FolvanePdfTest, WritesTheSamplesQuietly) {
    const std::string pdf = At("samples.pdf");
    Result r = Run("-o " + Quote(pdf) + " " + Sample("page-1.jpg") + " " + Sample("page-2.jpg") +
                   " " + Sample("page-3.tif"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "") << "progress must stay off when stderr is not a terminal";
    EXPECT_EQ(std::system(("qpdf --check " + Quote(pdf) + " >/dev/null").c_str()), 0);
    // The default class is 3 megapixels: scale 0.42, so 72 / 0.42 = 171 pixels per inch.
    EXPECT_EQ(ImagePpi(pdf), (std::vector<int>{171, 171, 171}));
}

TEST_F(FolvanePdfTest, ShowsProgressOnlyOnATerminal) {
    // script(1) gives the program a terminal and copies what it writes there to our file.
    const std::string command = Quote(kProgram) + " -o " + Quote(At("tty.pdf")) + " " +
                                Sample("page-1.jpg") + " " + Sample("page-3.tif");
    const std::string screen = At("screen.txt");
    int status = std::system(
        ("script -qec " + Quote(command) + " /dev/null >" + Quote(screen) + " </dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string shown = Read(screen);
    EXPECT_NE(shown.find("[1/2]"), std::string::npos) << shown;
    EXPECT_NE(shown.find("[2/2]"), std::string::npos) << shown;
}

TEST_F(FolvanePdfTest, ClassChoosesTheScale) {
    const std::pair<const char *, int> cases[] = {{"2", 137},  {"5", 218},  {"8", 273},
                                                  {"10", 305}, {"16", 385}, {"3", 171}};
    for (const auto &[megapixels, ppi] : cases) {
        const std::string pdf = At(std::string("c") + megapixels + ".pdf");
        Result r =
            Run(std::string("-c ") + megapixels + " -o " + Quote(pdf) + " " + Sample("page-3.tif"));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(ImagePpi(pdf), std::vector<int>{ppi}) << "class " << megapixels;
    }
}

TEST_F(FolvanePdfTest, UsageErrorsExitTwoWithAUsageLine) {
    const std::string pdf = Quote(At("out.pdf"));
    const std::string image = Sample("page-1.jpg");
    for (const std::string &args :
         {std::string(""), image, "-o " + pdf, "-c 4 -o " + pdf + " " + image,
          "-c -o " + pdf + " " + image, "-x -o " + pdf + " " + image, image + " -o",
          "-o " + pdf + " -o " + pdf + " " + image}) {
        Result r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_NE(r.err.find("usage: folvane-pdf"), std::string::npos) << args;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fs::exists(At("out.pdf"))) << args;
    }
}

TEST_F(FolvanePdfTest, HelpGoesToStdout) {
    Result r = Run("--help");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("usage: folvane-pdf", 0), 0u);
}

TEST_F(FolvanePdfTest, OptionsMayFollowImagesAndDashesEndThem) {
    fs::copy_file(kSamples + "/page-3.tif", At("-page.tif"));
    Result r = Run(Sample("page-3.tif") + " -o " + Quote(At("out.pdf")) + " -c 16 -- " +
                   Quote(At("-page.tif")));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ImagePpi(At("out.pdf")), (std::vector<int>{385, 385}));
}

TEST_F(FolvanePdfTest, MissingImageFailsWithOneLineNamingIt) {
    const std::string pdf = At("out.pdf");
    const std::string missing = At("no-such-page.jpg");
    Result r = Run("-o " + Quote(pdf) + " " + Sample("page-1.jpg") + " " + Quote(missing));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_EQ(r.err.rfind("folvane-pdf: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(missing), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(fs::exists(pdf)) << "no partial PDF";
}

TEST_F(FolvanePdfTest, DamagedImageFailsAndKeepsTheOldDocument) {
    const std::string pdf = At("out.pdf");
    std::ofstream(pdf) << "old";
    const std::string damaged = At("cut.jpg");
    std::string bytes = Read(kSamples + "/page-1.jpg");
    std::ofstream(damaged, std::ios::binary) << bytes.substr(0, 16);
    Result r = Run("-o " + Quote(pdf) + " " + Quote(damaged));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find(damaged), std::string::npos) << r.err;
    EXPECT_EQ(Read(pdf), "old");
}

TEST_F(FolvanePdfTest, UnwritableOutputFailsNamingIt) {
    const std::string pdf = At("missing-folder/out.pdf");
    Result r = Run("-o " + Quote(pdf) + " " + Sample("page-1.jpg"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find(pdf), std::string::npos) << r.err;
}

} // namespace
