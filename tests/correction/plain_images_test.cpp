// Pictures that hold no one page: two sheets side by side, a tiny black picture, a gradient
// with a shape on it. None is cropped at a guess, blanked or turned into a pattern: each goes
// into the PDF as it is, with the warning that says why.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "correction/Correction.h"
#include "tests/correction/Photos.h"
#include "tests/deskphoto/DeskPhoto.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Picture.h"
#include "tests/support/Process.h"
#include "tests/support/Tiff.h"

namespace {

using correction_test::pictureOf;

const std::string kProgram = std::string(FOLVANE_BIN_DIR) + "/folvane-pdf";

void fill(support::Picture &p, int left, int top, int right, int bottom, uint32_t rgb) {
    for (int y = std::max(0, top); y < std::min(p.height, bottom); ++y) {
        for (int x = std::max(0, left); x < std::min(p.width, right); ++x) {
            p.At(x, y, 0) = static_cast<uint8_t>(rgb >> 16);
            p.At(x, y, 1) = static_cast<uint8_t>(rgb >> 8);
            p.At(x, y, 2) = static_cast<uint8_t>(rgb);
        }
    }
}

// A sheet with lines of text on it.
void sheet(support::Picture &p, int left, int top, int right, int bottom) {
    fill(p, left, top, right, bottom, 0xEDEDE6);
    for (int y = top + 60; y + 10 < bottom - 60; y += 26) {
        for (int x = left + 40; x + 8 < right - 40; x += 12) {
            fill(p, x, y, x + 7 - (x / 12 + y) % 3, y + 10 - (x / 12) % 2 * 3, 0x282828);
        }
    }
}

// A dark desk with a sheet at each of the given places.
support::Picture desk(const std::vector<std::array<int, 4>> &sheets) {
    support::Picture p = support::Solid(1200, 800, 0x5A4634);
    for (const auto &s : sheets) {
        sheet(p, s[0], s[1], s[2], s[3]);
    }
    return p;
}

support::Picture twoSheets() {
    return desk({{{80, 110, 560, 700}}, {{640, 100, 1120, 690}}});
}

uint8_t mix(uint32_t from, uint32_t to, int shift, double t) {
    return static_cast<uint8_t>(
        std::lround(((from >> shift) & 0xFF) * (1 - t) + ((to >> shift) & 0xFF) * t));
}

enum class Shape { None, Disc, Ring };

// A smooth gradient from `from` to `to` filling the frame, across (or corner to corner), with a
// filled circle or a ring of `ink` in the middle: no paper, no text.
support::Picture gradient(int width, int height, uint32_t from, uint32_t to, bool diagonal,
                          Shape shape, uint32_t ink = 0x101010) {
    support::Picture p = support::Blank(width, height, 3);
    double radius = std::min(width, height) * 0.25;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double t = diagonal ? (x + y) / double(width + height - 2) : x / double(width - 1);
            double r = std::hypot(x - width / 2.0, y - height / 2.0);
            bool inked = (shape == Shape::Disc && r < radius) ||
                         (shape == Shape::Ring && r < radius && r > radius * 0.8);
            for (int c = 0; c < 3; ++c) {
                p.At(x, y, c) = inked ? mix(ink, ink, 16 - 8 * c, 0) : mix(from, to, 16 - 8 * c, t);
            }
        }
    }
    return p;
}

// What the engine puts in as it is: a photo without a sheet, or a picture without a page.
bool goesInAsItIs(const folvane::correction::CorrectedPage &page) {
    return page.facts.plain ||
           (!page.facts.found && page.facts.treatedAs == folvane::correction::SourceKind::Photo);
}

TEST(PlainImages, TwoSheetsSideBySideAreNeitherOneTaken) {
    const support::Picture photo = twoSheets();
    const folvane::correction::SheetSearch search =
        folvane::correction::findSheet(pictureOf(photo));
    EXPECT_EQ(search.failure.kind, folvane::correction::Failure::Kind::TwoSheets);
    EXPECT_FALSE(search.found);
    EXPECT_EQ(folvane::correction::correctPage(pictureOf(photo)).failure.kind,
              folvane::correction::Failure::Kind::TwoSheets);
    // One sheet on the same desk is found as before.
    const support::Picture one = desk({{{360, 100, 840, 700}}});
    const folvane::correction::SheetSearch single = folvane::correction::findSheet(pictureOf(one));
    EXPECT_TRUE(!single.failure) << single.failure.detail;
    EXPECT_TRUE(single.found);
    const folvane::correction::CorrectedPage page =
        folvane::correction::correctPage(pictureOf(one));
    EXPECT_TRUE(page.facts.found);
    EXPECT_FALSE(goesInAsItIs(page));
}

// A picture of a few pixels would come out as a pattern of ink and paper.
TEST(PlainImages, APictureTooSmallForAPageGoesInAsItIs) {
    for (const support::Picture &p : {support::Solid(2, 2, 0), support::Solid(20, 30, 0xFFFFFF)}) {
        for (auto kind :
             {folvane::correction::SourceKind::Unknown, folvane::correction::SourceKind::Scan}) {
            folvane::correction::Picture picture = pictureOf(p);
            picture.kind = kind;
            const folvane::correction::CorrectedPage page =
                folvane::correction::correctPage(picture);
            EXPECT_TRUE(!page.failure) << page.failure.detail;
            EXPECT_TRUE(page.facts.plain) << p.width << " x " << p.height;
            EXPECT_TRUE(goesInAsItIs(page));
        }
    }
}

// Cleaned as a scan, a gradient's dark end would be cut away as a scanner's border and the
// rest evened out to a blank page: no sheet, no scan, the picture is kept whole.
TEST(PlainImages, AGradientWithACircleGoesInAsItIs) {
    struct Case {
        uint32_t from, to;
        bool diagonal;
    };
    const Case cases[] = {
        {0x000000, 0xFFFFFF, false}, {0x0A1440, 0xF0C878, false}, {0x000000, 0xE0E0E0, true}};
    for (const Case &c : cases) {
        for (Shape shape : {Shape::None, Shape::Disc, Shape::Ring}) {
            for (auto size : {std::array<int, 2>{640, 480}, std::array<int, 2>{1200, 1600}}) {
                const support::Picture p =
                    gradient(size[0], size[1], c.from, c.to, c.diagonal, shape);
                const folvane::correction::CorrectedPage page =
                    folvane::correction::correctPage(pictureOf(p));
                EXPECT_TRUE(!page.failure) << page.failure.detail;
                EXPECT_TRUE(goesInAsItIs(page))
                    << std::hex << c.from << " shape " << int(shape) << " " << std::dec << size[0]
                    << " treated as scan "
                    << (page.facts.treatedAs == folvane::correction::SourceKind::Scan);
            }
        }
    }
}

// A scanner's dark border around a page with a large gradient figure on it (inside the page,
// or bled off its left edge into the border), and a desk photo on dark wood: all are still
// corrected.
TEST(PlainImages, AScanWithAFigureAndADeskPhotoAreStillCorrected) {
    const support::Picture figure =
        gradient(900, 700, 0x000000, 0xFFFFFF, false, Shape::Disc, 0xC03020);
    for (int left : {200, 40}) {
        support::Picture scan = support::Solid(1300, 1800, 0x1C1C1E);
        sheet(scan, 40, 50, 1260, 1750);
        for (int y = 0; y < figure.height; ++y) {
            for (int x = 0; x < figure.width; ++x) {
                for (int c = 0; c < 3; ++c) {
                    scan.At(left + x, 500 + y, c) = figure.At(x, y, c);
                }
            }
        }
        const folvane::correction::CorrectedPage page =
            folvane::correction::correctPage(pictureOf(scan));
        ASSERT_TRUE(!page.failure) << page.failure.detail;
        EXPECT_TRUE(page.facts.found) << left;
        EXPECT_FALSE(goesInAsItIs(page)) << left;
        EXPECT_NEAR(page.facts.corners[0].x, 40, 6) << left;
        EXPECT_NEAR(page.facts.corners[2].y, 1750, 6) << left;
    }

    desk::ShotSpec shot;
    shot.desk = desk::Desk::DarkWood;
    shot.width = 900;
    shot.height = 1200;
    const desk::DeskPhoto photo = desk::makeDeskPhoto(shot);
    const folvane::correction::CorrectedPage corrected =
        folvane::correction::correctPage(pictureOf(photo.upright));
    EXPECT_TRUE(corrected.facts.found);
    EXPECT_FALSE(goesInAsItIs(corrected));
}

// Through folvane-pdf: the photo's own bytes, and the warning in the user's language.
TEST(PlainImages, FolvanePdfPutsThemInAsTheyAreWithTheirWarning) {
    support::TempDir dir;
    const std::string photo = dir / "two.jpg";
    support::WriteFile(photo, support::MakeJpeg(twoSheets()));
    const std::string tiny = dir / "black.tif";
    support::WriteTiff(tiny, {support::TiffPageOf(support::Solid(2, 2, 0))});
    const std::string shaded = dir / "circle.jpg";
    support::WriteFile(
        shaded, support::MakeJpeg(gradient(800, 600, 0x000000, 0xFFFFFF, false, Shape::Disc)));
    const std::string run = support::Quote(kProgram) + " --document -o " +
                            support::Quote(dir / "out.pdf") + " " + support::Quote(photo) + " " +
                            support::Quote(tiny) + " " + support::Quote(shaded);
    const support::RunResult english = support::RunShell("LANGUAGE= LC_ALL=C " + run);
    EXPECT_EQ(english.exitCode, 0) << english.err;
    EXPECT_NE(english.err.find(photo + ": two sheets in the photo; it goes in as it is"),
              std::string::npos)
        << english.err;
    EXPECT_NE(english.err.find(tiny + ": no sheet found in the photo"), std::string::npos)
        << english.err;
    EXPECT_NE(english.err.find(shaded + ": no sheet found in the photo"), std::string::npos)
        << english.err;
    const std::vector<support::PdfImage> images = support::ListImages(dir / "out.pdf");
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].filter, "DCTDecode");
    EXPECT_EQ(images[0].width, 1200);
    EXPECT_EQ(images[1].width, 2);
    EXPECT_EQ(images[2].filter, "DCTDecode");
    EXPECT_EQ(images[2].width, 800);
    const support::RunResult chinese = support::RunShell("LANGUAGE= LC_ALL=zh_CN.UTF-8 " + run);
    EXPECT_EQ(chinese.exitCode, 0) << chinese.err;
    EXPECT_NE(chinese.err.find("两张纸"), std::string::npos) << chinese.err;
}

} // namespace
