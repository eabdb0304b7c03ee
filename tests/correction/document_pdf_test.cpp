// Document correction through the page loop and the engine: desk photos and scans in, flat,
// clean and small pages out; a photo without a sheet kept as it is; corners placed by hand
// obeyed; the text layer over the corrected words; the same bytes whatever the workers.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PageGeneration.h"
#include "tests/deskphoto/DeskPhoto.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/PdfWords.h"
#include "tests/support/Process.h"

namespace {

using folvane::GenerateOptions;
using folvane::PageNote;

desk::ShotSpec shot(unsigned seed, bool seal) {
    desk::ShotSpec spec;
    spec.seed = seed;
    spec.desk = desk::Desk::PaleTable;
    spec.width = 1200; // upright, as a phone held upright takes it
    spec.height = 1600;
    spec.orientation = 6;
    spec.rotationDegrees = 12;
    spec.keystone = 0.12;
    spec.fill = 0.65;
    spec.shadow = true;
    spec.page.seal = seal;
    spec.page.dpi = 150;
    return spec;
}

// A photo with pixels enough for its text to come out sharp: about 210 dpi on the page.
desk::ShotSpec sharpShot(unsigned seed, bool seal) {
    desk::ShotSpec spec = shot(seed, seal);
    spec.width = 2400;
    spec.height = 3200;
    spec.page.dpi = 200;
    return spec;
}

class DocumentPdf : public ::testing::Test {
protected:
    DocumentPdf() { desk::ensureGuiApplication(); }

    std::string photo(const std::string &name, const desk::ShotSpec &spec) {
        desk::DeskPhoto made = desk::makeDeskPhoto(spec);
        photos.push_back(made);
        support::WriteFile(dir / name, made.jpeg);
        return dir / name;
    }

    // One PDF of `images`, corrected; the notes it gave.
    std::vector<PageNote> write(const std::string &out, const std::vector<std::string> &images,
                                GenerateOptions options = {}) {
        options.layout = folvane::PageLayout::fitted();
        options.correctDocuments = true;
        std::vector<PageNote> notes;
        folvane::GenerateEvents events;
        events.onNote = [&](const PageNote &note) { notes.push_back(note); };
        folvane::generatePdf(out, images, options, events);
        return notes;
    }

    support::TempDir dir;
    std::vector<desk::DeskPhoto> photos;
};

// The share of the rendered page's pixels that are reddish (a seal's ink).
double redShare(const support::Picture &page) {
    int red = 0;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            uint32_t rgb = page.Rgb(x, y);
            int r = rgb >> 16, g = (rgb >> 8) & 255, b = rgb & 255;
            red += r > 150 && g < 110 && b < 110;
        }
    }
    return static_cast<double>(red) / (page.width * page.height);
}

// The 5th percentile of the grey of the rendered page's light pixels (the paper).
int paperFloor(const support::Picture &page) {
    std::vector<int> greys;
    for (int y = 10; y < page.height - 10; ++y) {
        for (int x = 10; x < page.width - 10; ++x) {
            uint32_t rgb = page.Rgb(x, y);
            int grey = ((rgb >> 16) + ((rgb >> 8) & 255) + (rgb & 255)) / 3;
            if (grey > 100) { // ink and table rules are not paper
                greys.push_back(grey);
            }
        }
    }
    std::nth_element(greys.begin(), greys.begin() + greys.size() / 20, greys.end());
    return greys[greys.size() / 20];
}

TEST_F(DocumentPdf, APhotoBecomesAFlatEvenPageItsSealStillRed) {
    std::string out = dir / "contract.pdf";
    EXPECT_TRUE(write(out, {photo("contract.jpg", sharpShot(3, true))}).empty());
    EXPECT_TRUE(support::QpdfCheck(out));
    // Mixed raster: the colour behind as JPEG, the ink over it as a Group 4 mask.
    std::vector<support::PdfImage> images = support::ListImages(out);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].filter, "DCTDecode");
    EXPECT_NE(images[1].dictionary.find("/ImageMask true"), std::string::npos);
    EXPECT_EQ(images[1].filter, "CCITTFaxDecode");
    // A4's shape, upright (the photo was stored turned).
    std::vector<support::PageSize> pages = support::PageSizes(out);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_LT(pages[0].width, pages[0].height);
    support::Picture page = support::RenderPage(out);
    EXPECT_GE(paperFloor(page), 200);
    EXPECT_GT(redShare(page), 0.002);
    EXPECT_LT(support::ReadFile(out).size(), support::ReadFile(dir / "contract.jpg").size() / 4);
}

// At the window's default class (3 megapixels) a corrected A4 page is still A4, filled, and
// nothing of it is cut off: the classes place photos, not sheets.
TEST_F(DocumentPdf, ACorrectedPageFillsItsPaperAtAResolutionClass) {
    std::string out = dir / "class.pdf";
    GenerateOptions options;
    std::vector<PageNote> notes;
    folvane::GenerateEvents events;
    events.onNote = [&](const PageNote &note) { notes.push_back(note); };
    options.layout = folvane::PageLayout::ofClass(1);
    options.correctDocuments = true;
    folvane::generatePdf(out, {photo("a4.jpg", sharpShot(5, false))}, options, events);
    EXPECT_TRUE(notes.empty()); // no Cropped note
    std::vector<support::PageSize> pages = support::PageSizes(out);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].width, 595.28, 0.5);
    EXPECT_NEAR(pages[0].height, 841.89, 0.5);
    std::vector<std::array<double, 6>> placements = support::PlacementMatrices(out);
    ASSERT_EQ(placements.size(), 1u);
    EXPECT_NEAR(placements[0][0], pages[0].width, 1.0); // the image's width on the page
    EXPECT_NEAR(placements[0][3], pages[0].height, 1.0);
    EXPECT_NEAR(placements[0][4], 0, 0.5);
    EXPECT_NEAR(placements[0][5], 0, 0.5);
}

TEST_F(DocumentPdf, BlackTextOnPaperIsOneGroup4Image) {
    std::string out = dir / "letter.pdf";
    write(out, {photo("letter.jpg", sharpShot(5, false))});
    std::vector<support::PdfImage> images = support::ListImages(out);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].filter, "CCITTFaxDecode");
    EXPECT_EQ(images[0].bits, 1);
    EXPECT_EQ(redShare(support::RenderPage(out)), 0.0);
}

// Small text too soft for ink (a 2-megapixel photo gives the page about 100 dpi) goes in whole
// as one JPEG of the page: grey for black text, colour with a seal. Cut into ink, its strokes
// would run together.
TEST_F(DocumentPdf, TextTooSoftForInkGoesInAsOneImageOfThePage) {
    struct Case {
        bool seal;
        const char *colour;
    };
    for (Case c : {Case{false, "gray"}, Case{true, "rgb"}}) {
        std::string out = dir / (c.seal ? "soft-seal.pdf" : "soft.pdf");
        write(out, {photo("soft.jpg", shot(21, c.seal))});
        std::vector<support::PdfImage> images = support::ListImages(out);
        ASSERT_EQ(images.size(), 1u) << c.colour;
        EXPECT_EQ(images[0].filter, "DCTDecode");
        EXPECT_EQ(images[0].colour, c.colour);
        EXPECT_GT(images[0].width, 800);
        support::Picture page = support::RenderPage(out);
        EXPECT_GE(paperFloor(page), 200);
        EXPECT_EQ(redShare(page) > 0.002, c.seal);
        EXPECT_LT(support::ReadFile(out).size(), support::ReadFile(dir / "soft.jpg").size() / 2);
    }
}

TEST_F(DocumentPdf, APhotoWithoutASheetGoesInAsItIsAndSaysSo) {
    desk::ShotSpec spec = shot(7, true);
    spec.sheet = false;
    std::string image = photo("desk.jpg", spec);
    std::string out = dir / "desk.pdf";
    std::vector<PageNote> notes = write(out, {image});
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, PageNote::Kind::SheetNotFound);
    EXPECT_EQ(notes[0].path, image);
    // The photo's own bytes, whole.
    support::Bytes jpeg = support::ReadFile(image);
    support::Bytes pdf = support::ReadFile(out);
    EXPECT_NE(std::search(pdf.begin(), pdf.end(), jpeg.begin(), jpeg.end()), pdf.end());
}

TEST_F(DocumentPdf, CornersPlacedByHandDecideThePage) {
    std::string image = photo("hand.jpg", shot(9, true));
    // A strip across the middle of the upright photo (1200 x 1600): a wide page, not A4.
    GenerateOptions options;
    options.handCorners[0] = {100, 700, 1100, 700, 1100, 900, 100, 900};
    std::string out = dir / "hand.pdf";
    write(out, {image}, options);
    std::vector<support::PageSize> pages = support::PageSizes(out);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_GT(pages[0].width, pages[0].height); // fit turns the page with the strip
    std::vector<support::PdfImage> images = support::ListImages(out);
    ASSERT_FALSE(images.empty());
    EXPECT_NEAR(static_cast<double>(images.back().width) / images.back().height, 5.0, 0.25);
}

TEST_F(DocumentPdf, OneOrTwoWorkersGiveTheSameBytes) {
    std::vector<std::string> images = {photo("a.jpg", shot(11, true)),
                                       photo("b.jpg", shot(12, false)),
                                       photo("c.jpg", shot(13, true))};
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    setenv("FOLVANE_THREADS", "1", 1);
    write(dir / "one.pdf", images);
    setenv("FOLVANE_THREADS", "2", 1);
    write(dir / "two.pdf", images);
    unsetenv("FOLVANE_THREADS");
    unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_TRUE(support::ReadFile(dir / "one.pdf") == support::ReadFile(dir / "two.pdf"));
}

// Recognition reads the corrected page, and its words lie over the corrected page's ink.
TEST_F(DocumentPdf, TheTextLayerLiesOverTheCorrectedWords) {
    std::string out = dir / "text.pdf";
    GenerateOptions options;
    options.ocrLanguages = "eng";
    write(out, {photo("text.jpg", sharpShot(15, false))}, options);
    EXPECT_NE(support::PdfText(out).find("Contract"), std::string::npos) << support::PdfText(out);
    support::Picture page = support::RenderPage(out);
    int checked = 0, inked = 0;
    for (const support::PdfWord &word : support::PdfWords(out, 1)) {
        if (word.text.size() < 4) {
            continue;
        }
        int dark = 0;
        for (int y = static_cast<int>(word.yMin); y < static_cast<int>(word.yMax); ++y) {
            for (int x = static_cast<int>(word.xMin); x < static_cast<int>(word.xMax); ++x) {
                dark += x >= 0 && y >= 0 && x < page.width && y < page.height &&
                        (page.Rgb(x, y) & 0xFF) < 100;
            }
        }
        ++checked;
        inked += dark > 3;
    }
    EXPECT_GE(checked, 5);
    EXPECT_GE(inked, checked * 9 / 10);
}

// folvane-pdf --document warns, naming the file, where a photo goes in as it is.
TEST_F(DocumentPdf, TheCommandLineWarnsForAPhotoWithoutASheet) {
    desk::ShotSpec empty = shot(17, false);
    empty.sheet = false;
    std::string bare = photo("bare.jpg", empty);
    std::string page = photo("page.jpg", shot(18, false));
    support::RunResult run =
        support::RunProgram({"env", "LC_ALL=C", std::string(FOLVANE_BIN_DIR) + "/folvane-pdf",
                             "--document", "-o", dir / "cli.pdf", page, bare});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, bare + ": no sheet found in the photo; it goes in as it is\n");
    EXPECT_EQ(support::PageCount(dir / "cli.pdf"), 2);
}

} // namespace
