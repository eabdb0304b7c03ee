// Pages from the test driver become files that hold exactly the pixels it sends, at the
// resolution it scanned, in every mode and depth, whatever the lines' padding and whether the
// page's length is known ahead.

#include <cmath>
#include <gtest/gtest.h>
#include <tiffio.h>

#include "tests/scan/ScanRun.h"

namespace {

using namespace folvane::scan;
using namespace scan_test;

constexpr int kDpi = 75;

struct ModeCase {
    const char *name;
    ScanMode mode;
    int bitDepth;
    const char *driverMode; // the test driver's own words for the same
    const char *driverDepth;
    bool tiff; // black and white: G4 TIFF; else PNG
    int fileDepth;
    int fileChannels;
};

void PrintTo(const ModeCase &c, std::ostream *out) {
    *out << c.name;
}

const ModeCase kModes[] = {
    {"lineart", ScanMode::Lineart, 0, "Gray", "1", true, 1, 1},
    {"gray8", ScanMode::Gray, 8, "Gray", "8", false, 8, 1},
    {"gray16", ScanMode::Gray, 16, "Gray", "16", false, 16, 1},
    {"color8", ScanMode::Color, 8, "Color", "8", false, 8, 3},
    {"color16", ScanMode::Color, 16, "Color", "16", false, 16, 3},
    {"color1", ScanMode::Color, 1, "Color", "1", false, 8, 3},
};

FilePage ReadPage(const std::string &path, bool tiff) {
    return tiff ? ReadTiffPage(path) : ReadPngPage(path);
}

// The first row that differs, for a message that says where instead of dumping the page.
std::string FirstDifference(const FilePage &file, const std::vector<std::vector<uint8_t>> &rows) {
    if (file.rows.size() != rows.size()) {
        return std::to_string(file.rows.size()) + " rows instead of " + std::to_string(rows.size());
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (file.rows[i] != rows[i]) {
            return "row " + std::to_string(i) + " differs";
        }
    }
    return "";
}

class ScanPagesTest : public ::testing::TestWithParam<ModeCase> {
protected:
    support::TempDir dir;
};

TEST_P(ScanPagesTest, FiveFeederPagesAreFilesWithTheDriversPixelsAndResolution) {
    const ModeCase &c = GetParam();
    ScanSettings settings;
    settings.source = ScanSource::Feeder;
    settings.mode = c.mode;
    settings.bitDepth = c.bitDepth;
    settings.resolution = kDpi;
    std::unique_ptr<Scanner> scanner = OpenTestScanner(settings);
    PageFolder folder(dir.Path());
    ScanOutcome outcome = ScanStack(*scanner, folder, 5);
    ASSERT_FALSE(outcome.error) << englishMessage(*outcome.error);
    ASSERT_EQ(outcome.pages.size(), 5u);
    const std::string extension = c.tiff ? ".tif" : ".png";
    EXPECT_EQ(support::Listing(dir.Path()), PageNames(5, extension));

    RawPage raw = ReadRawPage("test:1", {{"source", "Automatic Document Feeder"},
                                         {"mode", c.driverMode},
                                         {"depth", c.driverDepth},
                                         {"resolution", std::to_string(kDpi)},
                                         {"test-picture", "Color pattern"}});
    const std::vector<std::vector<uint8_t>> expected = ExpectedRows(raw);
    for (const ScannedPage &page : outcome.pages) {
        SCOPED_TRACE(page.path);
        FilePage file = ReadPage(page.path, c.tiff);
        EXPECT_EQ(file.width, static_cast<uint32_t>(raw.parameters.pixels_per_line));
        EXPECT_EQ(file.height, static_cast<uint32_t>(raw.parameters.lines));
        EXPECT_EQ(file.depth, c.fileDepth);
        EXPECT_EQ(file.channels, c.fileChannels);
        EXPECT_EQ(FirstDifference(file, expected), "");
        EXPECT_NEAR(file.xDpi, kDpi, 0.05);
        EXPECT_NEAR(file.yDpi, kDpi, 0.05);
        if (c.tiff) {
            EXPECT_EQ(file.compression, COMPRESSION_CCITTFAX4);
            EXPECT_EQ(file.photometric, PHOTOMETRIC_MINISWHITE);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, ScanPagesTest, ::testing::ValuesIn(kModes),
                         [](const auto &test) { return std::string(test.param.name); });

class ScanShapesTest : public ::testing::Test {
protected:
    // One flatbed page with the test driver's `extra` options, and the same page read raw.
    void ScanAndCompare(const RawOptions &extra, ScanMode mode, const char *driverMode) {
        ScanSettings settings;
        settings.source = ScanSource::Flatbed;
        settings.mode = mode;
        settings.resolution = kDpi;
        std::unique_ptr<Scanner> scanner = OpenTestScanner(settings);
        RawOptions raw = {{"source", "Flatbed"},
                          {"mode", driverMode},
                          {"depth", "8"},
                          {"resolution", std::to_string(kDpi)},
                          {"test-picture", "Color pattern"}};
        for (const auto &[name, value] : extra) {
            scanner->setOption(name, value);
            raw.emplace_back(name, value);
        }
        PageFolder folder(dir.Path());
        ScanOutcome outcome = scanner->scan(folder);
        ASSERT_FALSE(outcome.error) << englishMessage(*outcome.error);
        // A flatbed gives one page per scan, however many the driver would go on giving.
        ASSERT_EQ(outcome.pages.size(), 1u);
        RawPage page = ReadRawPage("test:1", raw);
        FilePage file = ReadPngPage(outcome.pages[0].path);
        EXPECT_EQ(file.width, static_cast<uint32_t>(page.parameters.pixels_per_line));
        EXPECT_EQ(FirstDifference(file, ExpectedRows(page)), "");
        EXPECT_EQ(support::Listing(dir.Path()), PageNames(1, ".png"));
    }

    support::TempDir dir;
};

TEST_F(ScanShapesTest, PaddedLinesLoseOnlyTheirPadding) {
    // ppl-loss: every line ends in bytes that are not pixels.
    ScanAndCompare({{"ppl-loss", "5"}}, ScanMode::Color, "Color");
}

TEST_F(ScanShapesTest, PageOfUnknownLengthIsWrittenWhole) {
    // A hand-held scanner says the page's height only by ending it.
    ScanAndCompare({{"hand-scanner", "yes"}}, ScanMode::Gray, "Gray");
}

TEST_F(ScanShapesTest, PaperSizesAndAreasSetTheScannedSize) {
    struct Case {
        PageSize size;
        std::optional<ScanArea> area;
        double widthMm;
        double heightMm;
    };
    // The test driver's bed is 300 mm square here.
    const Case cases[] = {
        {PageSize::A4, std::nullopt, 210, 297},
        {PageSize::Letter, std::nullopt, 215.9, 279.4},
        {PageSize::Maximum, std::nullopt, 300, 300},
        {PageSize::DeviceDefault, ScanArea{10, 20, 50, 80}, 50, 80},
        {PageSize::DeviceDefault, ScanArea{250, 0, 100, 400}, 50, 300}, // cut at the bed's edge
    };
    for (const Case &c : cases) {
        ScanSettings settings;
        settings.source = ScanSource::Flatbed;
        settings.resolution = 50;
        settings.pageSize = c.size;
        settings.area = c.area;
        std::unique_ptr<Scanner> scanner = OpenTestScanner(settings);
        support::TempDir pages;
        PageFolder folder(pages.Path());
        ScanOutcome outcome = scanner->scan(folder);
        ASSERT_EQ(outcome.pages.size(), 1u);
        EXPECT_NEAR(outcome.pages[0].width, c.widthMm / 25.4 * 50, 1) << c.widthMm;
        EXPECT_NEAR(outcome.pages[0].height, c.heightMm / 25.4 * 50, 1) << c.heightMm;
    }
}

TEST_F(ScanShapesTest, TheScannersChoicesInTheUsersTerms) {
    ScanSettings settings;
    settings.source = ScanSource::Feeder;
    settings.mode = ScanMode::Lineart;
    settings.resolution = 150;
    DeviceChoices choices = OpenTestScanner(settings)->choices();
    EXPECT_EQ(choices.sources, (std::vector<ScanSource>{ScanSource::Flatbed, ScanSource::Feeder}));
    // The driver has no line-art mode of its own: grey at one bit a sample is one.
    EXPECT_EQ(choices.modes,
              (std::vector<ScanMode>{ScanMode::Color, ScanMode::Gray, ScanMode::Lineart}));
    EXPECT_EQ(choices.resolutions.describe(), "1..1200");
    EXPECT_EQ(choices.bitDepths, (std::vector<int>{1, 8, 16}));
    ASSERT_TRUE(choices.maxArea);
    EXPECT_EQ(choices.maxArea->width, 300);
    EXPECT_EQ(choices.maxArea->height, 300);
    EXPECT_EQ(choices.source, ScanSource::Feeder);
    EXPECT_EQ(choices.mode, ScanMode::Lineart);
    EXPECT_EQ(choices.resolution, 150);
}

TEST_F(ScanShapesTest, ProgressCountsTheBytesOfTheAnnouncedPage) {
    std::unique_ptr<Scanner> scanner = OpenTestScanner({});
    PageFolder folder(dir.Path());
    std::vector<PageProgress> seen;
    ScanEvents events;
    events.onProgress = [&seen](const PageProgress &progress) { seen.push_back(progress); };
    ScanOutcome outcome = scanner->scan(folder, events);
    ASSERT_FALSE(outcome.error);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front().bytesRead, 0);
    EXPECT_GT(seen.back().bytesExpected, 0);
    EXPECT_EQ(seen.back().bytesRead, seen.back().bytesExpected);
}

} // namespace
