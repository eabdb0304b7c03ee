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
#include "tests/support/BadImages.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

namespace fs = std::filesystem;
using namespace support;
using Names = std::set<std::string>;
using Strings = std::vector<std::string>;

const std::string kOldDocument = "%PDF-1.4 the document of an earlier run\n";
constexpr uid_t kNobody = 65534;

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
        fs::create_directory(in);
        fs::create_directory(out);
        // Readable by the user nobody for the unwritable-folder case.
        fs::permissions(dir.Path(), fs::perms(0755));
        WriteFile(good, MakeJpeg(Pattern(32, 24, 1)));
        fs::permissions(good, fs::perms(0644));
    }

    void KeepOldDocument() { WriteText(pdf, kOldDocument); }

    void Generate(const Strings &images) {
        Add(images);
        ui.saveAnswers.push_back(pdf);
        Click(IDC_BTN_BROWSE);
        Click(IDC_BTN_GENERATE);
    }

    // The failure box only, naming what failed, nothing opened, the wait cursor gone, the old
    // document kept and no temporary file left beside it.
    void ExpectFailureAndOldDocument(const std::string &failed) {
        ExpectFailureNaming(failed);
        EXPECT_TRUE(ui.ShellFiles().empty());
        EXPECT_EQ(Window().WaitDepth(), 0);
        EXPECT_EQ(Listing(out), Names{"out.pdf"});
        EXPECT_TRUE(ReadText(pdf) == kOldDocument) << "the old document changed";
    }

    // One box: "操作失败!请重启后再试!", on the next line what failed (and its page, for a file
    // of several), then the reason.
    void ExpectFailureNaming(const std::string &failed) {
        const std::string start = std::string(kMsgFailure) + "\n" + failed;
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].substr(0, start.size()), start);
        const std::size_t reason = Messages()[0].find('\n', start.size());
        ASSERT_NE(reason, std::string::npos) << Messages()[0];
        EXPECT_GT(Messages()[0].size(), reason + 1) << "no reason given";
    }

    TempDir dir;
    const std::string in = dir / "in";
    const std::string out = dir / "out";
    const std::string pdf = out + "/out.pdf";
    const std::string good = in + "/good.jpg";
};

class BadImageGenerate : public BadInputGenerate, public ::testing::WithParamInterface<int> {};

TEST_P(BadImageGenerate, FailsAfterAGoodPageAndKeepsTheOldDocument) {
    const std::string bad = PlaceBadImage(BadImages()[GetParam()], in);
    KeepOldDocument();
    Generate({good, bad, good});
    ExpectFailureAndOldDocument(bad);
}

std::string Label(const ::testing::TestParamInfo<int> &param) {
    return BadImages()[param.param].label;
}

INSTANTIATE_TEST_SUITE_P(Each, BadImageGenerate,
                         ::testing::Range(0, static_cast<int>(BadImages().size())), Label);

TEST_F(BadInputGenerate, AnOutputPathThatIsAFolderFailsAndStaysAnEmptyFolder) {
    fs::create_directory(pdf);
    Generate({good});
    ExpectFailureNaming(pdf);
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
        const std::string probePath = out + "/.probe";
        const int probe = ::open(probePath.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (probe >= 0) {
            ::close(probe);
            ::unlink(probePath.c_str());
            GTEST_SKIP() << "cannot make a folder unwritable here (root without seteuid?)";
        }
        Generate({good});
    }
    fs::permissions(out, fs::perms(0755));
    ExpectFailureAndOldDocument(pdf);
}

TEST_F(BadInputGenerate, AWriteThatFailsMidwayKeepsTheOldDocument) {
    const std::string noise = in + "/noise.jpg";
    JpegOptions fine;
    fine.quality = 95;
    WriteFile(noise, MakeJpeg(Noise(400, 400, 1), fine));
    ASSERT_GT(fs::file_size(noise), 2u * 64 * 1024);
    KeepOldDocument();
    {
        FileSizeLimit limit(64 * 1024);
        if (!limit.Active()) {
            GTEST_SKIP() << "cannot limit the file size here";
        }
        Generate({noise, good});
    }
    ExpectFailureAndOldDocument(pdf);
}

// The preview of each bad file: the previous picture erased, no message, no drawing context
// left open. A file that does not decode shows the placeholder picture. The image library
// keeps what it could read of a truncated JPEG or of a TIFF whose strips are missing (the rest
// grey or black), so those two show that instead.
class BadImagePreview : public PreviewFixture, public ::testing::WithParamInterface<int> {};

TEST_P(BadImagePreview, ErasesThePreviousPictureWithoutAMessage) {
    const uint32_t red = RgbColor(220, 30, 40);
    WriteSolidBmp(Path("first.bmp"), 30, 30, red);
    dlg.ShowPreview(Path("first.bmp"));
    ASSERT_FALSE(OnlyInside(UiRect{}));

    const BadImage &image = BadImages()[GetParam()];
    dlg.ShowPreview(PlaceBadImage(image, dir.Path()));
    CSurface &frame = Frame();
    if (!image.somePixelsReadable) {
        // The placeholder's light grey background.
        EXPECT_EQ(frame.PixelAt(frame.Width() / 2, frame.Height() / 2), RgbColor(244, 244, 244));
    }
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            ASSERT_FALSE(Near(frame.PixelAt(x, y), red, 8)) << x << "," << y;
        }
    }
    EXPECT_TRUE(ui.MessageTexts().empty());
    EXPECT_EQ(frame.OpenDCs(), 0);
}

INSTANTIATE_TEST_SUITE_P(Each, BadImagePreview,
                         ::testing::Range(0, static_cast<int>(BadImages().size())), Label);

} // namespace
