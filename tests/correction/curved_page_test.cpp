// Pages that are not flat: a book's page bent into its gutter, a sheet curled at one edge. After
// correction their text lines run straight; a flat page, and one bent less than the threshold,
// is left exactly as the four-corner correction makes it.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "correction/Correction.h"
#include "pdf/PageGeneration.h"
#include "tests/correction/CurvedPages.h"
#include "tests/correction/PageInk.h"
#include "tests/correction/Photos.h"
#include "tests/deskphoto/BentPage.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Png.h"
#include "tests/support/Process.h"

using namespace correction_test;

namespace {

// The curve threshold as a share of the page's height (correction/CurvedPage.h).
constexpr double kThreshold = 0.003;
// A straightened page's text lines wander by at most this much across the page (pixels at
// 150 dpi: half a millimetre); bent, they wander by 25 pixels and more.
constexpr double kStraight = 3;

folvane::correction::CorrectedPage corrected(const support::Picture &page, bool straighten = true) {
    folvane::correction::Picture picture = handCornered(page);
    picture.straightenCurves = straighten;
    return folvane::correction::correctPage(picture);
}

void expectSameOutput(const folvane::correction::CorrectedPage &a,
                      const folvane::correction::CorrectedPage &b) {
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    EXPECT_EQ(a.content, b.content);
    EXPECT_TRUE(a.ink == b.ink);
    EXPECT_TRUE(a.grey == b.grey);
    EXPECT_TRUE(a.background == b.background);
}

void expectStraightened(const Bend &bend, double textSize = 1) {
    SCOPED_TRACE(testing::Message() << "sag " << bend.sag << " left " << bend.gutterLeft
                                    << " share " << bend.bentShare << " text " << textSize);
    support::Picture page = curvedPage(bend, 1, textSize);
    folvane::correction::CorrectedPage kept = corrected(page, false);
    folvane::correction::CorrectedPage flat = corrected(page);
    ASSERT_FALSE(flat.failure);
    EXPECT_TRUE(flat.facts.straightened);
    // The sag the lines share is the middle line's, which bends less than the foot's.
    EXPECT_GT(flat.facts.lineSag, bend.sag * 0.55);
    EXPECT_GT(largestLineSpread(kept.grey, kept.width, kept.height), 20);
    double spread = largestLineSpread(flat.grey, flat.width, flat.height);
    EXPECT_GE(spread, 0);
    EXPECT_LE(spread, kStraight);
    EXPECT_EQ(flat.width, kept.width);
    EXPECT_EQ(flat.height, kept.height);
}

TEST(CurvedPage, BookPagesComeOutStraightWhicheverSideTheGutterIs) {
    expectStraightened({0.012, true, 1});
    expectStraightened({0.02, false, 1});
}

TEST(CurvedPage, SheetCurledAtOneEdgeComesOutStraight) {
    expectStraightened({0.006, false, 0.7});
}

// The model looks at a reduced copy of the page; lines of 8-point text must still stand apart in
// it (x-height 1.5 mm, lines 4.4 mm apart).
TEST(CurvedPage, SmallTextIsStraightenedToo) {
    expectStraightened({0.012, true, 1}, 0.55);
}

TEST(CurvedPage, FlatPageIsLeftExactlyAsTheFourCornerCorrectionMakesIt) {
    support::Picture page = curvedPage({0, true, 1});
    folvane::correction::CorrectedPage on = corrected(page);
    folvane::correction::CorrectedPage off = corrected(page, false);
    EXPECT_FALSE(on.facts.straightened);
    EXPECT_LT(on.facts.lineSag, kThreshold / 3);
    expectSameOutput(on, off);
    // Without the model nothing is measured.
    EXPECT_FALSE(off.facts.straightened);
    EXPECT_EQ(off.facts.lineSag, 0);
}

// A page bent just under the threshold is left as it is; one just over it is straightened.
TEST(CurvedPage, PagesEitherSideOfTheThreshold) {
    support::Picture under = curvedPage({kThreshold * 0.7, true, 1});
    folvane::correction::CorrectedPage underOn = corrected(under);
    EXPECT_FALSE(underOn.facts.straightened) << underOn.facts.lineSag;
    expectSameOutput(underOn, corrected(under, false));

    support::Picture over = curvedPage({kThreshold * 1.6, false, 1});
    folvane::correction::CorrectedPage overOn = corrected(over);
    EXPECT_TRUE(overOn.facts.straightened) << overOn.facts.lineSag;
    EXPECT_LE(largestLineSpread(overOn.grey, overOn.width, overOn.height), kStraight);
}

// Pages without text lines give no model: blank paper, and noise that no line can be read in.
TEST(CurvedPage, PagesWithoutTextLinesAreLeftAlone) {
    support::Picture blank = support::Blank(1240, 1754, 1);
    std::fill(blank.samples.begin(), blank.samples.end(), 255);
    support::Picture noise = support::Noise(1240, 1754, 1, 7);
    for (const support::Picture *page : {&blank, &noise}) {
        folvane::correction::CorrectedPage on = corrected(*page);
        ASSERT_FALSE(on.failure);
        EXPECT_FALSE(on.facts.straightened);
        expectSameOutput(on, corrected(*page, false));
    }
}

// The page loop asks for the curve model unless told not to: a bent page's PDF differs with and
// without it, a flat page's is the same byte for byte.
TEST(CurvedPage, ThePdfOfABentPageIsStraightenedUnlessTurnedOff) {
    support::TempDir dir;
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    auto pdfOf = [&](const support::Picture &page, bool straighten) {
        const std::string png = dir / "page.png", out = dir / "page.pdf";
        support::WriteFile(png, support::MakePng(support::PngImageOf(page)));
        folvane::GenerateOptions options;
        options.layout = folvane::PageLayout::fitted();
        options.correctDocuments = true;
        options.straightenCurves = straighten;
        double right = page.width - 1, bottom = page.height - 1;
        options.handCorners[0] = {0, 0, right, 0, right, bottom, 0, bottom};
        folvane::generatePdf(out, {png}, options, {});
        return support::ReadFile(out);
    };
    support::Picture bent = curvedPage({0.012, true, 1});
    EXPECT_FALSE(pdfOf(bent, true) == pdfOf(bent, false));
    support::Picture flat = curvedPage({0, true, 1});
    EXPECT_TRUE(pdfOf(flat, true) == pdfOf(flat, false));
    unsetenv("SOURCE_DATE_EPOCH");
}

// How wide the text of a page is, in inches: from the column where its first hundredth of ink
// is reached to the one where its last begins, so that a speck in the margin does not count.
double textWidth(const folvane::correction::CorrectedPage &page) {
    std::vector<double> column(page.width, 0);
    double total = 0;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            const int ink = inkAt(page, x, y);
            column[x] += ink;
            total += ink;
        }
    }
    auto reached = [&](double share) {
        double sum = 0;
        int x = 0;
        while (x + 1 < page.width && sum + column[x] < share * total) {
            sum += column[x++];
        }
        return x;
    };
    return (reached(0.99) - reached(0.01)) / page.dpi;
}

// A book's page photographed from above, bent down into its gutter over two fifths of its width:
// the bent part is foreshortened as well as sagging. Straightened, its text is about as wide as
// lying flat, where the four-corner chord squeezes the part near the gutter, the page is as
// wide as the paper's surface, wider than that chord, and the desk in the outline's dip by the
// gutter leaves nothing in the page's corners there.
TEST(CurvedPage, ABookPageKeepsItsTextsWidthIntoTheGutter) {
    desk::ensureGuiApplication();
    desk::Random random(21);
    const QImage drawn = desk::drawnTextPage(desk::textLines(random, 34));
    const folvane::correction::CorrectedPage flat =
        folvane::correction::correctPage(pictureOf(desk::photographBent(drawn, {}, 3)));
    ASSERT_FALSE(flat.failure);
    for (bool gutterLeft : {true, false}) {
        SCOPED_TRACE(gutterLeft ? "gutter left" : "gutter right");
        const support::Picture photo =
            desk::photographBent(drawn, {false, gutterLeft, 0.4, 60 * M_PI / 180}, 3);
        folvane::correction::Picture picture = pictureOf(photo);
        const folvane::correction::CorrectedPage bent = folvane::correction::correctPage(picture);
        picture.straightenCurves = false;
        const folvane::correction::CorrectedPage chord = folvane::correction::correctPage(picture);
        ASSERT_FALSE(bent.failure);
        ASSERT_TRUE(bent.facts.straightened);
        // The chord squeezes the text by 3 to 6%; along the surface, at least half of that
        // comes back, and the text is within 2% of its width lying flat.
        const double truth = textWidth(flat);
        EXPECT_LT(std::abs(textWidth(bent) - truth), std::abs(textWidth(chord) - truth) / 2);
        EXPECT_NEAR(textWidth(bent), truth, truth * 0.02);
        EXPECT_GT(bent.width, chord.width * 1.02);
        EXPECT_EQ(inkInCorners(bent, gutterLeft, 0.1), 0);
        EXPECT_NEAR(bent.height / bent.dpi, flat.height / flat.dpi, 0.05);
    }
}

// A photo saved again at half its size (as a messaging app sends it, or as the window's preview
// decodes a photo): the bent page's margin by the gutter is a few pixels wide, stretched out when
// straightened, and its paper deep in the gutter's shade. The desk painted over in the outline's
// dip takes that shade, and leaves no line where it meets the paper.
TEST(CurvedPage, AtHalfSizeTheGutterCornersStayClean) {
    desk::ensureGuiApplication();
    desk::Random random(7);
    const support::Picture photo = desk::photographBent(
        desk::drawnTextPage(desk::textLines(random, 34)), {false, true, 0.45, 60 * M_PI / 180}, 7);
    support::JpegReadOptions half;
    half.colourSpace = JCS_RGB;
    half.scaleDenom = 2;
    support::JpegReadOptions rgb;
    rgb.colourSpace = JCS_RGB;
    const support::Picture small =
        support::DecodeJpeg(
            support::MakeJpeg(support::DecodeJpeg(support::MakeJpeg(photo), half).picture), rgb)
            .picture;
    const folvane::correction::CorrectedPage page = folvane::correction::correctPage(
        pictureOf(small, 1, folvane::correction::SourceKind::Photo));
    ASSERT_TRUE(page.facts.straightened);
    EXPECT_EQ(inkInCorners(page, true, 0.1), 0);
}

TEST(CurvedPage, NoDewarpGoesWithDocument) {
    const std::string program = std::string(FOLVANE_BIN_DIR) + "/folvane-pdf";
    support::TempDir dir;
    support::RunResult run =
        support::RunProgram({program, "--no-dewarp", "-o", dir / "out.pdf", dir / "in.png"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--no-dewarp"), std::string::npos) << run.err;
    support::RunResult help = support::RunProgram({program, "--help"});
    EXPECT_NE(help.out.find("--no-dewarp"), std::string::npos);
}

} // namespace
