// The corrected page as a reader sees it: paper white and even despite fall-off, shadow and a
// lamp's cast; the seal still red; black text stored as bilevel, a page with colour as colour;
// the page's shape and resolution.
#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "correction/Correction.h"
#include "tests/correction/PageInk.h"
#include "tests/correction/Photos.h"
#include "tests/deskphoto/DeskPhoto.h"

using namespace correction_test;

namespace {

desk::ShotSpec harshShot(bool seal) {
    desk::ShotSpec spec;
    spec.seed = 21;
    spec.desk = desk::Desk::DarkWood;
    spec.width = 1200;
    spec.height = 1600;
    spec.rotationDegrees = 8;
    spec.keystone = 0.12;
    spec.fill = 0.7;
    spec.falloff = 0.4;
    spec.shadow = true;
    spec.cast = 1.2;
    spec.page.seal = seal;
    return spec;
}

struct Corrected {
    desk::DeskPhoto photo;
    folvane::correction::CorrectedPage page;
};

Corrected correct(const desk::ShotSpec &spec) {
    Corrected c{desk::makeDeskPhoto(spec), {}};
    support::Picture stored = decoded(c.photo);
    c.page = folvane::correction::correctPage(pictureOf(stored, spec.orientation));
    return c;
}

// True when the flat page is plain paper all around (x, y) within `reach` pixels.
bool plainPaper(const support::Picture &flat, int x, int y, int reach, bool (*paper)(uint32_t)) {
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            int xx = x + dx, yy = y + dy;
            if (xx < 0 || yy < 0 || xx >= flat.width || yy >= flat.height ||
                !paper(flat.Rgb(xx, yy))) {
                return false;
            }
        }
    }
    return true;
}

bool white(uint32_t rgb) {
    return (rgb & 0xFF) > 240 && (rgb >> 8 & 0xFF) > 240 && (rgb >> 16) > 240;
}

bool sealRed(uint32_t rgb) {
    return (rgb >> 16) > 150 && (rgb >> 8 & 0xFF) < 90 && (rgb & 0xFF) < 90;
}

// Grid points of the flat page (as shares of its size) where it is `paper` well around.
std::vector<std::pair<double, double>> placesOf(const support::Picture &flat,
                                                bool (*paper)(uint32_t), int reach, int step) {
    std::vector<std::pair<double, double>> places;
    for (int y = step / 2; y < flat.height; y += step) {
        for (int x = step / 2; x < flat.width; x += step) {
            if (plainPaper(flat, x, y, reach, paper)) {
                places.push_back({(x + 0.5) / flat.width, (y + 0.5) / flat.height});
            }
        }
    }
    return places;
}

TEST(PageCleaning, PaperComesOutWhiteFromCornerToCorner) {
    Corrected c = correct(harshShot(true));
    ASSERT_TRUE(!c.page.failure) << c.page.failure.detail;
    ASSERT_TRUE(c.page.facts.found);
    // Paper well away from any mark: a corner error of the detection stays clear of the ink.
    int reach = c.photo.flatPage.width / 40;
    std::vector<std::pair<double, double>> places = placesOf(c.photo.flatPage, white, reach, 7);
    ASSERT_GT(places.size(), 200u);
    std::vector<int> levels;
    for (auto [u, v] : places) {
        int x = static_cast<int>(u * c.page.width), y = static_cast<int>(v * c.page.height);
        levels.push_back(c.page.grey[static_cast<size_t>(y) * c.page.width + x]);
    }
    std::sort(levels.begin(), levels.end());
    EXPECT_GE(levels[levels.size() / 20], 200) << "5th percentile of the paper";
    // In the photo itself the paper was far from even: the test means something.
    int darkest = 255;
    for (int y = 0; y < c.photo.upright.height; y += 4) {
        for (int x = 0; x < c.photo.upright.width; x += 4) {
            double px = x, py = y;
            const desk::Corners &q = c.photo.corners;
            bool inside = true;
            for (int i = 0; i < 4; ++i) {
                const desk::Point &a = q[i], &b = q[(i + 1) % 4];
                inside &= (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x) > 0;
            }
            if (inside && x % 40 == 0 && y % 40 == 0) {
                darkest = std::min<int>(darkest, c.photo.upright.At(x, y, 2));
            }
        }
    }
    EXPECT_LT(darkest, 170) << "the photo's paper should have had shadow and cast";
}

TEST(PageCleaning, TheSealStaysRedAndIsNotInk) {
    Corrected c = correct(harshShot(true));
    ASSERT_EQ(c.page.content, folvane::correction::ContentKind::Colour);
    ASSERT_FALSE(c.page.background.empty());
    std::vector<std::pair<double, double>> places = placesOf(c.photo.flatPage, sealRed, 1, 2);
    ASSERT_GT(places.size(), 20u);
    double r = 0, g = 0, b = 0;
    int inked = 0;
    for (auto [u, v] : places) {
        int bx = static_cast<int>(u * c.page.backgroundWidth);
        int by = static_cast<int>(v * c.page.backgroundHeight);
        const uint8_t *p =
            &c.page.background[(static_cast<size_t>(by) * c.page.backgroundWidth + bx) * 3];
        r += p[0], g += p[1], b += p[2];
        inked +=
            inkAt(c.page, static_cast<int>(u * c.page.width), static_cast<int>(v * c.page.height));
    }
    double n = static_cast<double>(places.size());
    EXPECT_GT(r / n, 150);
    EXPECT_GT(r / n - g / n, 60) << "mean colour " << r / n << ", " << g / n << ", " << b / n;
    EXPECT_GT(r / n - b / n, 60);
    EXPECT_LT(inked / n, 0.1) << "the seal was turned into black ink";
}

TEST(PageCleaning, BlackTextIsBilevelAndASealMakesAColourPage) {
    Corrected text = correct(harshShot(false));
    ASSERT_TRUE(!text.page.failure) << text.page.failure.detail;
    EXPECT_EQ(text.page.content, folvane::correction::ContentKind::Bilevel);
    EXPECT_TRUE(text.page.background.empty());
    Corrected sealed = correct(harshShot(true));
    EXPECT_EQ(sealed.page.content, folvane::correction::ContentKind::Colour);
    EXPECT_NEAR(sealed.page.backgroundDpi, std::min(150.0, sealed.page.dpi), 1);
    EXPECT_EQ(sealed.page.background.size(),
              static_cast<size_t>(sealed.page.backgroundWidth) * sealed.page.backgroundHeight * 3);
    // The text is ink in both.
    size_t inkBits = 0;
    for (uint8_t byte : text.page.ink) {
        inkBits += static_cast<size_t>(__builtin_popcount(byte));
    }
    double share =
        static_cast<double>(inkBits) / (static_cast<double>(text.page.width) * text.page.height);
    EXPECT_GT(share, 0.005);
    EXPECT_LT(share, 0.2);
}

// Small text photographed out of focus would lose its strokes to a bilevel cut: the page is kept
// whole in tones, its colour page's background the whole page at full resolution, text
// included. The same sheet in focus is cut into ink.
TEST(PageCleaning, SmallTextOutOfFocusIsKeptInTonesTextInFocusBecomesInk) {
    desk::ShotSpec spec = harshShot(true);
    spec.width = 2400; // about 210 dpi on the page
    spec.height = 3200;
    spec.page.dpi = 200;
    Corrected sharp = correct(spec);
    ASSERT_TRUE(!sharp.page.failure) << sharp.page.failure.detail;
    EXPECT_FALSE(sharp.page.softText);
    EXPECT_LT(sharp.page.backgroundDpi, sharp.page.dpi); // ink over a coarser colour

    spec.blurSigma = 3;
    Corrected soft = correct(spec);
    ASSERT_TRUE(!soft.page.failure) << soft.page.failure.detail;
    ASSERT_TRUE(soft.page.softText);
    ASSERT_EQ(soft.page.content, folvane::correction::ContentKind::Colour);
    ASSERT_EQ(soft.page.backgroundWidth, soft.page.width);
    ASSERT_EQ(soft.page.backgroundHeight, soft.page.height);
    EXPECT_EQ(soft.page.backgroundDpi, soft.page.dpi);
    ASSERT_EQ(soft.page.background.size(),
              static_cast<size_t>(soft.page.width) * soft.page.height * 3);
    // The text is in the background: where the cut found ink, the background is dark too.
    double inkGrey = 0, paperGrey = 0;
    long ink = 0, paper = 0;
    for (int y = 0; y < soft.page.height; ++y) {
        for (int x = 0; x < soft.page.width; ++x) {
            const uint8_t *rgb =
                &soft.page.background[(static_cast<size_t>(y) * soft.page.width + x) * 3];
            bool inked = inkAt(soft.page, x, y);
            (inked ? inkGrey : paperGrey) += (rgb[0] + rgb[1] + rgb[2]) / 3.0;
            ++(inked ? ink : paper);
        }
    }
    ASSERT_GT(ink, 1000);
    EXPECT_LT(inkGrey / ink, paperGrey / paper - 80);
}

TEST(PageCleaning, ThePageTakesTheSheetsShapeNeverMoreThan300Dpi) {
    for (desk::Paper paper : {desk::Paper::A4, desk::Paper::Letter}) {
        desk::ShotSpec spec = harshShot(false);
        spec.page.paper = paper;
        spec.keystone = 0.2;
        Corrected c = correct(spec);
        ASSERT_TRUE(c.page.facts.found) << desk::paperName(paper);
        double ratio = static_cast<double>(c.page.height) / c.page.width;
        double expected = paper == desk::Paper::A4 ? 297.0 / 210 : 11 / 8.5;
        EXPECT_NEAR(ratio, expected, 0.01 * expected) << desk::paperName(paper);
        EXPECT_STREQ(folvane::correction::paperName(c.page.facts.paper), desk::paperName(paper));
        EXPECT_LE(c.page.dpi, 300.0);
        EXPECT_EQ(c.page.inkRowBytes, static_cast<size_t>(c.page.width + 7) / 8);
        EXPECT_EQ(c.page.ink.size(), c.page.inkRowBytes * c.page.height);
        EXPECT_EQ(c.page.grey.size(), static_cast<size_t>(c.page.width) * c.page.height);
    }
}

} // namespace

namespace {

// A scanned page (a little blurred, as scanners are) with black strokes on white paper, the
// same strokes under a transparent yellow highlighter and under a translucent one painted over
// them (the strokes come out olive), a bold stroke and a solid red mark. Returns the scan and
// where each thing is.
struct MarkedPage {
    support::Picture scan;
    int bandTop, bandBottom; // rows of the highlighter band
    int markLeft, markTop, markSize;
    int boldLeft, boldTop; // a bold stroke, 24 pixels wide and 60 high
};

MarkedPage markedPage() {
    MarkedPage m{support::Solid(1240, 1754, 0xFFFFFF), 400, 460, 800, 900, 160, 150, 1300};
    enum Blend { Over, Multiply, Translucent };
    auto paint = [&](int x0, int y0, int w, int h, uint32_t rgb, Blend blend) {
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x) {
                for (int c = 0; c < 3; ++c) {
                    int v = static_cast<int>(rgb >> (16 - 8 * c) & 0xFF);
                    uint8_t &s = m.scan.At(x, y, c);
                    s = static_cast<uint8_t>(blend == Multiply      ? s * v / 255
                                             : blend == Translucent ? (s * 55 + v * 200) / 255
                                                                    : v);
                }
            }
        }
    };
    // Strokes: upright bars 2 pixels wide (small text's at 300 dpi), 30 high, every 12 pixels,
    // on two lines of "text".
    for (int line : {300, 415, 530}) {
        for (int x = 150; x < 1050; x += 12) {
            paint(x, line, 2, 30, 0x141414, Over);
        }
    }
    paint(120, m.bandTop, 1000, m.bandBottom - m.bandTop, 0xFFEB3C, Multiply);
    paint(120, 515, 1000, 60, 0xFFEB28, Translucent);
    paint(m.markLeft, m.markTop, m.markSize, m.markSize, 0xD2202A, Over);
    paint(m.boldLeft, m.boldTop, 24, 60, 0x141414, Over);
    support::Picture blurred = m.scan;
    for (int y = 1; y + 1 < m.scan.height; ++y) {
        for (int x = 1; x + 1 < m.scan.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int d = -1; d <= 1; ++d) {
                    sum += m.scan.At(x + d, y, c) + m.scan.At(x, y + d, c);
                }
                blurred.At(x, y, c) = static_cast<uint8_t>(sum / 6);
            }
        }
    }
    m.scan = blurred;
    return m;
}

} // namespace

TEST(PageCleaning, TextUnderAHighlighterAndBoldStrokesAreInkAndTheMarkerStaysYellow) {
    MarkedPage m = markedPage();
    folvane::correction::Picture picture =
        pictureOf(m.scan, 1, folvane::correction::SourceKind::Scan);
    picture.dpi = 300;
    folvane::correction::CorrectedPage page = folvane::correction::correctPage(picture);
    ASSERT_TRUE(!page.failure) << page.failure.detail;
    ASSERT_EQ(page.content, folvane::correction::ContentKind::Colour);
    EXPECT_NEAR(page.dpi, 300, 2) << "a fine scan keeps its resolution";
    EXPECT_NEAR(page.width, m.scan.width, 4);
    double sx = static_cast<double>(page.width) / m.scan.width;
    double sy = static_cast<double>(page.height) / m.scan.height;
    // The middle of every stroke, on white paper and under the marker alike.
    int plain = 0, marked = 0, paintedOver = 0, strokes = 0;
    for (int x = 150; x < 1050; x += 12) {
        ++strokes;
        plain += inkAt(page, static_cast<int>(x * sx), static_cast<int>(315 * sy));
        marked += inkAt(page, static_cast<int>(x * sx), static_cast<int>(430 * sy));
        paintedOver += inkAt(page, static_cast<int>(x * sx), static_cast<int>(545 * sy));
    }
    EXPECT_GT(plain, strokes * 9 / 10);
    EXPECT_GT(marked, strokes * 9 / 10) << "text under the highlighter was left out of the ink";
    EXPECT_GT(paintedOver, strokes * 9 / 10)
        << "text under a translucent marker was left out of the ink";
    // The marker between the strokes is not ink, and stays yellow in the background.
    const uint8_t *yellow =
        &page.background[(static_cast<size_t>((m.bandTop + 5) * page.backgroundHeight /
                                              m.scan.height) *
                              page.backgroundWidth +
                          page.backgroundWidth / 2) *
                         3];
    EXPECT_GT(yellow[0], 200);
    EXPECT_LT(yellow[2], 150) << "the marker lost its colour";
    EXPECT_FALSE(inkAt(page, static_cast<int>(600 * sx), static_cast<int>((m.bandTop + 5) * sy)));
    // The solid red mark is neither ink nor grey.
    int inside = 0, inked = 0;
    for (int y = m.markTop + 20; y < m.markTop + m.markSize - 20; y += 10) {
        for (int x = m.markLeft + 20; x < m.markLeft + m.markSize - 20; x += 10) {
            ++inside;
            inked += inkAt(page, static_cast<int>(x * sx), static_cast<int>(y * sy));
        }
    }
    EXPECT_LT(inked, inside / 20) << "the red mark was turned into black ink";
    // A stroke wider than the ink's neighbourhood is ink through and through, not an outline.
    int bold = 0, boldInked = 0;
    for (int y = m.boldTop + 4; y < m.boldTop + 56; y += 2) {
        for (int x = m.boldLeft + 4; x < m.boldLeft + 20; x += 2) {
            ++bold;
            boldInked += inkAt(page, static_cast<int>(x * sx), static_cast<int>(y * sy));
        }
    }
    EXPECT_EQ(boldInked, bold) << "a bold stroke came out hollow";
}
