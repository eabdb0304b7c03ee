// The window against broken pictures and outputs that cannot be written: the generate command
// shows its failure message, opens nothing and leaves the output folder as it was; the preview
// shows an empty frame and no message.

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "app/Resource.h"
#include "tests/app/DialogFixture.h"
#include "tests/app/PreviewFixture.h"
#include "tests/cli/BadInputFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace bad_input;
using Names = std::set<std::string>;
using Strings = std::vector<std::string>;

const std::string kOldDocument = "%PDF-1.4 the document of an earlier run\n";
constexpr uid_t kNobody = 65534;

Names Listing(const fs::path &folder) {
    Names names;
    for (const auto &entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// While alive, file access is checked as user nobody when the test runs as root (root writes
// through any permission bits); otherwise as the user running the test.
class AsNobody {
public:
    AsNobody() {
        if (geteuid() != 0) {
            return;
        }
        switched_ = setegid(kNobody) == 0 && seteuid(kNobody) == 0;
    }
    ~AsNobody() {
        if (switched_) {
            (void)seteuid(0);
            (void)setegid(0);
        }
    }
    AsNobody(const AsNobody &) = delete;
    AsNobody &operator=(const AsNobody &) = delete;

private:
    bool switched_ = false;
};

// While alive, no file of this process may grow beyond `bytes`: a write past it fails as on a
// full disk (EFBIG instead of ENOSPC), midway through the document.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool Active() const { return active_; }

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
    bool active_ = false;
};

class BadInputGenerate : public DialogFixture {
protected:
    BadInputGenerate() {
        std::string pattern = (fs::temp_directory_path() / "folvane-bad-app-XXXXXX").string();
        EXPECT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        in = dir / "in";
        out = dir / "out";
        pdf = out / "out.pdf";
        good = in / "good.jpg";
        fs::create_directory(in);
        fs::create_directory(out);
        // Readable by the user nobody for the unwritable-folder case.
        fs::permissions(dir, fs::perms(0755));
        WriteBytes(good.string(), JpegBytes(32, 24, false));
        fs::permissions(good, fs::perms(0644));
    }
    ~BadInputGenerate() override {
        std::error_code ignored;
        fs::permissions(out, fs::perms(0755), ignored);
        fs::remove_all(dir, ignored);
    }

    void KeepOldDocument() {
        WriteBytes(pdf.string(), Bytes(kOldDocument.begin(), kOldDocument.end()));
    }

    void Generate(const std::vector<fs::path> &images) {
        Strings paths;
        for (const fs::path &image : images) {
            paths.push_back(image.string());
        }
        Add(paths);
        ui.saveAnswers.push_back(pdf.string());
        Click(IDC_BTN_BROWSE);
        Click(IDC_BTN_GENERATE);
    }

    // The failure box only, nothing opened, the wait cursor gone, the old document kept and no
    // temporary file left beside it.
    void ExpectFailureAndOldDocument() {
        EXPECT_EQ(Messages(), Strings{kMsgFailure});
        EXPECT_TRUE(ui.ShellFiles().empty());
        EXPECT_EQ(Window().WaitDepth(), 0);
        EXPECT_EQ(Listing(out), Names{"out.pdf"});
        EXPECT_TRUE(ReadAll(pdf.string()) == kOldDocument) << "the old document changed";
    }

    fs::path dir, in, out, pdf, good;
};

class BadImageGenerate : public BadInputGenerate, public ::testing::WithParamInterface<int> {};

TEST_P(BadImageGenerate, FailsAfterAGoodPageAndKeepsTheOldDocument) {
    const std::string bad = Place(kBadImages[GetParam()], in.string());
    KeepOldDocument();
    Generate({good, bad, good});
    ExpectFailureAndOldDocument();
}

std::string Label(const ::testing::TestParamInfo<int> &param) {
    return kBadImages[param.param].label;
}

INSTANTIATE_TEST_SUITE_P(Each, BadImageGenerate,
                         ::testing::Range(0, static_cast<int>(std::size(kBadImages))), Label);

TEST_F(BadInputGenerate, AnOutputPathThatIsAFolderFailsAndStaysAnEmptyFolder) {
    fs::create_directory(pdf);
    Generate({good});
    EXPECT_EQ(Messages(), Strings{kMsgFailure});
    EXPECT_TRUE(ui.ShellFiles().empty());
    EXPECT_TRUE(fs::is_directory(pdf));
    EXPECT_TRUE(fs::is_empty(pdf));
    EXPECT_EQ(Listing(out), Names{"out.pdf"});
}

TEST_F(BadInputGenerate, AnUnwritableOutputFolderFailsAndKeepsTheOldDocument) {
    KeepOldDocument();
    fs::permissions(pdf, fs::perms(0644));
    fs::permissions(out, fs::perms(0555));
    {
        AsNobody nobody;
        const int probe = ::open((out / ".probe").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (probe >= 0) {
            ::close(probe);
            ::unlink((out / ".probe").c_str());
            GTEST_SKIP() << "cannot make a folder unwritable here (root without seteuid?)";
        }
        Generate({good});
    }
    fs::permissions(out, fs::perms(0755));
    ExpectFailureAndOldDocument();
}

TEST_F(BadInputGenerate, AWriteThatFailsMidwayKeepsTheOldDocument) {
    const fs::path noise = in / "noise.jpg";
    WriteBytes(noise.string(), JpegBytes(400, 400, true));
    ASSERT_GT(fs::file_size(noise), 2u * 64 * 1024);
    KeepOldDocument();
    {
        FileSizeLimit limit(64 * 1024);
        if (!limit.Active()) {
            GTEST_SKIP() << "cannot limit the file size here";
        }
        Generate({noise, good});
    }
    ExpectFailureAndOldDocument();
}

// The preview of each bad file: the previous picture erased, no message, no drawing context
// left open. A file that does not decode leaves the frame empty. The image library keeps what
// it could read of a truncated JPEG or of a TIFF whose strips are missing (the rest grey or
// black), so those two show that instead.
class BadImagePreview : public PreviewFixture, public ::testing::WithParamInterface<int> {};

TEST_P(BadImagePreview, ErasesThePreviousPictureWithoutAMessage) {
    const uint32_t red = RgbColor(220, 30, 40);
    WriteSolidBmp(Path("first.bmp"), 30, 30, red);
    dlg.ShowPreview(Path("first.bmp"));
    ASSERT_FALSE(OnlyInside(UiRect{}));

    const BadImage &image = kBadImages[GetParam()];
    dlg.ShowPreview(Place(image, dir.string()));
    const bool partlyReadable = image.make == TruncatedJpeg || image.make == TiffStripPastEnd;
    if (!partlyReadable) {
        EXPECT_TRUE(OnlyInside(UiRect{}));
    }
    CSurface &frame = Frame();
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            ASSERT_NE(frame.PixelAt(x, y), red) << x << "," << y;
        }
    }
    EXPECT_TRUE(ui.MessageTexts().empty());
    EXPECT_EQ(frame.OpenDCs(), 0);
}

INSTANTIATE_TEST_SUITE_P(Each, BadImagePreview,
                         ::testing::Range(0, static_cast<int>(std::size(kBadImages))), Label);

} // namespace
