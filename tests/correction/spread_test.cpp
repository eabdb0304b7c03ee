// An open book's spread: photographed whole, it comes out as its two pages, in reading order,
// each flattened; a landscape sheet of two text columns, without a gutter's shade, stays one page.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "correction/Correction.h"
#include "pdf/PageGeneration.h"
#include "tests/correction/CurvedPages.h"
#include "tests/correction/PageInk.h"
#include "tests/correction/Photos.h"
#include "tests/deskphoto/BentPage.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Png.h"
#include "tests/support/Process.h"

using namespace correction_test;

namespace {

// The gutter's shade the fold needs (correction/SpreadFold.h), as a share of the paper's light.
constexpr double kGutterShade = 0.08;
// The narrowest spread, as width over height, that is split.
constexpr double kSpreadLeastAspect = 1.15;
constexpr double kStraight = 3; // as the curved-page tests measure a straightened page

struct SpreadLook {
    double shade = 0.3;   // how much darker the paper is at the fold
    double sag = 0.008;   // how far each page's lines sag into the gutter
    double pageShare = 1; // each page's width, as a share of an A4 page's
};

// Two pages side by side at 150 dpi, each bent down into the fold between them, the paper
// shaded towards it. The right page's text stops halfway down, so that the two can be told
// apart.
support::Picture spreadPicture(const SpreadLook &look) {
    support::Picture left = curvedPage({look.sag, false, 0.5}, 3);
    support::Picture right = curvedPage({look.sag, true, 0.5}, 4);
    const int pageWidth = static_cast<int>(std::lround(left.width * look.pageShare));
    const int width = 2 * pageWidth, height = left.height, fold = pageWidth;
    support::Picture spread = support::Blank(width, height, 1);
    const double spreadOfShade = 0.03 * width;
    for (int x = 0; x < width; ++x) {
        double d = (x - fold + 0.5) / spreadOfShade;
        double light = 1 - look.shade * std::exp(-d * d);
        for (int y = 0; y < height; ++y) {
            bool onLeft = x < fold;
            // A narrower page loses its outer part: the margins at the fold stay clear.
            uint8_t value = onLeft           ? left.At(left.width - pageWidth + x, y, 0)
                            : y < height / 2 ? right.At(x - fold, y, 0)
                                             : uint8_t{255};
            spread.At(x, y, 0) = static_cast<uint8_t>(std::lround(value * light));
        }
    }
    return spread;
}

std::vector<folvane::correction::CorrectedPage> pagesOf(const support::Picture &spread,
                                                        bool rightToLeft = false) {
    folvane::correction::Picture picture = handCornered(spread);
    picture.splitSpreads = true;
    picture.rightToLeft = rightToLeft;
    return folvane::correction::correctPages(picture);
}

// The share of the ink of a page `width` x `height` in its lower half; `grey(x, y)` reads a
// pixel.
template <class Grey> double inkBelowMiddle(int width, int height, Grey grey) {
    long below = 0, all = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool ink = grey(x, y) < 128;
            all += ink;
            below += ink && y >= height / 2;
        }
    }
    return all == 0 ? 0 : static_cast<double>(below) / all;
}

double inkBelowMiddle(const folvane::correction::CorrectedPage &page) {
    return inkBelowMiddle(page.width, page.height, [&page](int x, int y) {
        return page.grey[static_cast<std::size_t>(y) * page.width + x];
    });
}

// The same share for a page as a PDF reader draws it.
double inkBelowMiddle(const support::Picture &page) {
    return inkBelowMiddle(page.width, page.height,
                          [&page](int x, int y) { return page.At(x, y, 0); });
}

} // namespace

TEST(Spread, AnOpenBookGivesItsTwoPagesStraightenedInReadingOrder) {
    support::Picture spread = spreadPicture({});
    std::vector<folvane::correction::CorrectedPage> pages = pagesOf(spread);
    ASSERT_EQ(pages.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const folvane::correction::CorrectedPage &page = pages[i];
        ASSERT_FALSE(page.failure);
        EXPECT_EQ(page.facts.spreadPage, i + 1);
        EXPECT_NEAR(static_cast<double>(page.height) / page.width, std::sqrt(2.0), 0.03);
        EXPECT_NEAR(page.dpi, 150, 5);
        EXPECT_TRUE(page.facts.straightened);
    }
    // The left page runs to its foot, the right one stops halfway.
    EXPECT_GT(inkBelowMiddle(pages[0]), 0.3);
    EXPECT_LT(inkBelowMiddle(pages[1]), 0.02);
    // The fold is where the pages meet in the picture, within a few pixels of the middle.
    EXPECT_NEAR(pages[0].facts.corners[1].x, spread.width / 2.0, 8);
    EXPECT_NEAR(pages[1].facts.corners[0].x, spread.width / 2.0, 8);
    EXPECT_LE(largestLineSpread(pages[0].grey, pages[0].width, pages[0].height), kStraight);

    std::vector<folvane::correction::CorrectedPage> backwards = pagesOf(spread, true);
    ASSERT_EQ(backwards.size(), 2u);
    EXPECT_LT(inkBelowMiddle(backwards[0]), 0.02);
    EXPECT_GT(inkBelowMiddle(backwards[1]), 0.3);
    EXPECT_EQ(backwards[0].facts.spreadPage, 1);
    EXPECT_TRUE(backwards[0].grey == pages[1].grey);
}

// Splitting is asked for: without it, and through correctPage(), a spread is one page, as wide
// as the spread (straightened along its surface, a little wider: its lines sag more at the foot,
// as a page bending away from the camera shows them).
TEST(Spread, OnePageUnlessSplittingIsAskedFor) {
    support::Picture spread = spreadPicture({});
    folvane::correction::Picture picture = handCornered(spread);
    std::vector<folvane::correction::CorrectedPage> whole =
        folvane::correction::correctPages(picture);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_NEAR(whole[0].width, spread.width, spread.width * 0.01);
    EXPECT_EQ(whole[0].facts.spreadPage, 0);
    picture.splitSpreads = true;
    EXPECT_NEAR(folvane::correction::correctPage(picture).width, spread.width, spread.width * 0.01);
}

// The fold must be shaded as a gutter is: a shade just under the threshold is a crease in a
// flat sheet, just over it a book's gutter. Pages too narrow for a spread are one sheet.
TEST(Spread, AtTheThresholdsOfShadeAndShape) {
    EXPECT_EQ(pagesOf(spreadPicture({0, 0.008, 1})).size(), 1u);
    EXPECT_EQ(pagesOf(spreadPicture({kGutterShade * 0.75, 0.008, 1})).size(), 1u);
    EXPECT_EQ(pagesOf(spreadPicture({kGutterShade * 1.4, 0.008, 1})).size(), 2u);
    // Width over height 1.41 * share: just under and just over the narrowest spread.
    const double a4 = 1240.0 / 1754 * 2;
    EXPECT_EQ(pagesOf(spreadPicture({0.3, 0.008, kSpreadLeastAspect * 0.95 / a4})).size(), 1u);
    EXPECT_EQ(pagesOf(spreadPicture({0.3, 0.008, kSpreadLeastAspect * 1.08 / a4})).size(), 2u);
}

// A photo of an open book on a desk: the sheet found is the whole spread, and its two pages come
// out in A4's shape (a little narrower, for their width is the chord of the bent paper), the left
// one first, each with its corners at the fold.
TEST(Spread, APhotographedBookIsFoundAndSplitAtItsFold) {
    desk::ensureGuiApplication();
    desk::Random random(11);
    QImage left = desk::drawnTextPage(desk::textLines(random, 34));
    QImage right = desk::drawnTextPage(desk::textLines(random, 12));
    // Through a JPEG, as a camera gives it: the paper's edge then stays soft.
    support::JpegReadOptions rgb;
    rgb.colourSpace = JCS_RGB;
    const support::Picture photo =
        support::DecodeJpeg(
            support::MakeJpeg(desk::photographSpread(left, right, 0.35, 55 * M_PI / 180, 5)), rgb)
            .picture;
    folvane::correction::Picture picture = pictureOf(photo);
    picture.splitSpreads = true;
    std::vector<folvane::correction::CorrectedPage> pages =
        folvane::correction::correctPages(picture);
    ASSERT_EQ(pages.size(), 2u);
    for (const folvane::correction::CorrectedPage &page : pages) {
        ASSERT_FALSE(page.failure);
        EXPECT_TRUE(page.facts.found);
        EXPECT_NEAR(static_cast<double>(page.height) / page.width, std::sqrt(2.0), 0.06);
    }
    // The book's two pages are one paper, at one size.
    EXPECT_EQ(pages[0].facts.paper, pages[1].facts.paper);
    EXPECT_NEAR(pages[0].height / pages[0].dpi, pages[1].height / pages[1].dpi, 0.05);
    EXPECT_GT(inkBelowMiddle(pages[0]), 0.3);
    EXPECT_LT(inkBelowMiddle(pages[1]), 0.1);
    // The desk in the outline's notch at the fold, and the outline's edge around it, leave no
    // wedge or line in the pages' inner corners.
    EXPECT_EQ(inkInCorners(pages[0], false, 1.0 / 6), 0);
    EXPECT_EQ(inkInCorners(pages[1], true, 1.0 / 6), 0);
    // The fold is the middle of the spread's outline.
    const folvane::correction::Corners &first = pages[0].facts.corners;
    const folvane::correction::Corners &second = pages[1].facts.corners;
    const double middle = (first[0].x + second[1].x) / 2;
    EXPECT_NEAR(first[1].x, middle, photo.width * 0.005);
    EXPECT_NEAR(second[0].x, middle, photo.width * 0.005);
}

// The page loop asks for spreads when told to: the book's row gives two pages, in the order
// asked for, and the row after it comes third.
TEST(Spread, TheBooksRowGivesTwoPagesOfTheDocument) {
    support::TempDir dir;
    const support::Picture spread = spreadPicture({});
    const std::string book = dir / "book.png", flat = dir / "flat.png";
    support::WriteFile(book, support::MakePng(support::PngImageOf(spread)));
    support::WriteFile(flat, support::MakePng(support::PngImageOf(curvedPage({0, true, 1}))));
    auto pdfOf = [&](folvane::GenerateOptions::Spreads spreads) {
        const std::string out = dir / "out.pdf";
        folvane::GenerateOptions options;
        options.layout = folvane::PageLayout::fitted();
        options.correctDocuments = true;
        options.spreads = spreads;
        double right = spread.width - 1, bottom = spread.height - 1;
        options.handCorners[0] = {0, 0, right, 0, right, bottom, 0, bottom};
        folvane::generatePdf(out, {book, flat}, options, {});
        return out;
    };
    const std::string kept = pdfOf(folvane::GenerateOptions::Spreads::Kept);
    EXPECT_EQ(support::PageCount(kept), 2);
    const std::string leftFirst = pdfOf(folvane::GenerateOptions::Spreads::LeftFirst);
    ASSERT_EQ(support::PageCount(leftFirst), 3);
    std::vector<support::PageSize> sizes = support::PageSizes(leftFirst);
    for (const support::PageSize &size : sizes) {
        EXPECT_GT(size.height, size.width); // each page of the book stands upright, as the flat one
    }
    EXPECT_GT(inkBelowMiddle(support::RenderPage(leftFirst, 1)), 0.3);
    EXPECT_LT(inkBelowMiddle(support::RenderPage(leftFirst, 2)), 0.02);
    const std::string rightFirst = pdfOf(folvane::GenerateOptions::Spreads::RightFirst);
    ASSERT_EQ(support::PageCount(rightFirst), 3);
    EXPECT_LT(inkBelowMiddle(support::RenderPage(rightFirst, 1)), 0.02);
    EXPECT_GT(inkBelowMiddle(support::RenderPage(rightFirst, 2)), 0.3);
    EXPECT_GT(inkBelowMiddle(support::RenderPage(rightFirst, 3)), 0.3); // the flat page
}

// Pages left out as blank are found before the books are split: a blank row after a book is
// still the one left out, and the row after it still written. Each page written is announced.
TEST(Spread, ABlankRowAfterABookIsTheOneLeftOut) {
    support::TempDir dir;
    const support::Picture spread = spreadPicture({});
    const std::string book = dir / "book.png", blank = dir / "blank.png", flat = dir / "flat.png";
    support::WriteFile(book, support::MakePng(support::PngImageOf(spread)));
    support::Picture white = support::Blank(1240, 1754, 1);
    std::fill(white.samples.begin(), white.samples.end(), uint8_t{250});
    support::WriteFile(blank, support::MakePng(support::PngImageOf(white)));
    support::WriteFile(flat, support::MakePng(support::PngImageOf(curvedPage({0, true, 1}))));
    folvane::GenerateOptions options;
    options.layout = folvane::PageLayout::fitted();
    options.correctDocuments = true;
    options.spreads = folvane::GenerateOptions::Spreads::LeftFirst;
    options.skipBlank = true;
    double right = spread.width - 1, bottom = spread.height - 1;
    options.handCorners[0] = {0, 0, right, 0, right, bottom, 0, bottom};
    std::vector<std::string> skipped, begun;
    folvane::GenerateEvents events;
    events.onBlankSkipped = [&](const folvane::PageStart &page) { skipped.push_back(page.path); };
    events.onPage = [&](const folvane::PageStart &page) { begun.push_back(page.path); };
    const std::string out = dir / "out.pdf";
    folvane::generatePdf(out, {book, blank, flat}, options, events);
    EXPECT_EQ(skipped, std::vector<std::string>{blank});
    // Both of the book's pages are announced: the progress and the pages counted written.
    EXPECT_EQ(begun, (std::vector<std::string>{book, book, flat}));
    ASSERT_EQ(support::PageCount(out), 3);
    EXPECT_GT(inkBelowMiddle(support::RenderPage(out, 3)), 0.3); // the flat page, last
}

TEST(Spread, SpreadsGoWithDocumentAndRightToLeftWithSpreads) {
    const std::string program = std::string(FOLVANE_BIN_DIR) + "/folvane-pdf";
    support::TempDir dir;
    support::RunResult alone =
        support::RunProgram({program, "--spreads", "-o", dir / "out.pdf", dir / "in.png"});
    EXPECT_EQ(alone.exitCode, 2);
    EXPECT_NE(alone.err.find("--spreads goes with --document"), std::string::npos) << alone.err;
    support::RunResult order = support::RunProgram(
        {program, "--document", "--right-to-left", "-o", dir / "out.pdf", dir / "in.png"});
    EXPECT_EQ(order.exitCode, 2);
    EXPECT_NE(order.err.find("--right-to-left goes with --spreads"), std::string::npos);
    EXPECT_TRUE(support::Listing(dir.Path()).empty());
}
