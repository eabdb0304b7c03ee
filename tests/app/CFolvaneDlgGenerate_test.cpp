#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include <regex>

#include "tests/app/DialogFixture.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// A small grey JPEG written through libjpeg.
void WriteJpeg(const fs::path &path, int width, int height) {
    FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            row[static_cast<std::size_t>(x)] = static_cast<JSAMPLE>((x * 16 + y * 4) & 0xFF);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

int CountPages(const fs::path &pdf) {
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const std::regex page(R"(/Type\s*/Page(?!s))");
    return static_cast<int>(std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), page),
                                          std::sregex_iterator()));
}

std::string ReadFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Every match of the pattern's first group, in file order.
std::vector<double> MatchedNumbers(const std::string &bytes, const std::string &pattern) {
    std::vector<double> values;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(bytes.begin(), bytes.end(), re);
         it != std::sregex_iterator(); ++it) {
        values.push_back(std::stod((*it)[1].str()));
    }
    return values;
}

class Generate : public DialogFixture {
protected:
    Generate() {
        dir = fs::temp_directory_path() /
              ("folvane-generate-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~Generate() override { fs::remove_all(dir); }

    void ChooseSavePath(const fs::path &path) {
        ui.saveAnswers.push_back(path.string());
        Click(IDC_BTN_BROWSE);
    }

    fs::path dir;
};

TEST_F(Generate, AnEmptyListIsRefusedBeforeTheMissingSavePath) {
    Click(IDC_BTN_GENERATE);
    Add({"/p/a.jpg"});
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(Messages(), (Strings{kMsgNoImages, kMsgNoSavePath}));
    EXPECT_TRUE(ui.ShellFiles().empty());
}

TEST_F(Generate, WritesOnePagePerRowAndOpensThePdfAfterTheSuccessBox) {
    WriteJpeg(dir / "b.jpg", 32, 24);
    WriteJpeg(dir / "a.jpg", 24, 32);
    WriteJpeg(dir / "c.jpg", 16, 16);
    Add({(dir / "b.jpg").string(), (dir / "a.jpg").string(), (dir / "c.jpg").string()});
    const fs::path pdf = dir / "out.pdf";
    ChooseSavePath(pdf);

    bool fileReadyAtBox = false;
    ui.onMessageBox = [&](const UiEvent &) {
        fileReadyAtBox = fs::exists(pdf);
        EXPECT_TRUE(ui.ShellFiles().empty()); // not yet opened while the box is up
        EXPECT_EQ(Window().WaitDepth(), 0);
    };
    Click(IDC_BTN_GENERATE);

    EXPECT_EQ(Messages(), (Strings{kMsgSuccess}));
    EXPECT_TRUE(fileReadyAtBox);
    EXPECT_EQ(ui.ShellFiles(), (Strings{pdf.string()}));
    ASSERT_EQ(ui.events.back().kind, UiEvent::Kind::ShellExecute);
    EXPECT_EQ(ui.events.back().caption, "open");
    EXPECT_EQ(CountPages(pdf), 3);
    EXPECT_EQ(List().GetItemCount(), 3); // the list stays for another run
}

TEST_F(Generate, PagesFollowTheListOrderAndTheCheckedResolutionClass) {
    WriteJpeg(dir / "b.jpg", 32, 24);
    WriteJpeg(dir / "a.jpg", 24, 32);
    WriteJpeg(dir / "c.jpg", 16, 16);
    Add({(dir / "b.jpg").string(), (dir / "a.jpg").string(), (dir / "c.jpg").string()});
    ClickRow(2);
    Click(IDC_BTN_MOVE_TOP); // c, a, b
    Click(IDC_RADIO_1600);
    ChooseSavePath(dir / "out.pdf");
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(Messages(), (Strings{kMsgSuccess}));

    const std::string pdf = ReadFile(dir / "out.pdf");
    EXPECT_EQ(MatchedNumbers(pdf, R"(/Width (\d+))"), (std::vector<double>{16, 24, 32}));
    const std::vector<double> widths = MatchedNumbers(pdf, R"(q ([0-9.]+) 0 0 [0-9.]+ 0 0 cm)");
    ASSERT_EQ(widths.size(), 3u);
    EXPECT_NEAR(widths[0], 16 * 0.1871, 1e-3);
    EXPECT_NEAR(widths[2], 32 * 0.1871, 1e-3);
}

TEST_F(Generate, AnOutputPathThatCannotBeWrittenFailsAndOpensNothing) {
    WriteJpeg(dir / "a.jpg", 16, 16);
    Add({(dir / "a.jpg").string()});
    ChooseSavePath(dir / "missing-folder" / "out.pdf");
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(Messages(), (Strings{kMsgFailure}));
    EXPECT_TRUE(ui.ShellFiles().empty());
    EXPECT_EQ(Window().WaitDepth(), 0);
}

TEST_F(Generate, AnImageThatIsNoImageFailsTheRun) {
    std::ofstream(dir / "broken.jpg") << "not a picture";
    Add({(dir / "broken.jpg").string()});
    ChooseSavePath(dir / "out.pdf");
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(Messages(), (Strings{kMsgFailure}));
    EXPECT_TRUE(ui.ShellFiles().empty());
    EXPECT_FALSE(fs::exists(dir / "out.pdf"));
}

} // namespace
