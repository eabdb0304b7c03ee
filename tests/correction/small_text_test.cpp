// The ink keeps small text readable: on a tilted, JPEG-compressed 150 dpi scan, the strokes of
// the page's body text come out as ink, stroke for stroke, neither broken nor run together,
// on a black-text page and on a page whose seal makes it a colour page.
#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "correction/Correction.h"
#include "tests/correction/PageInk.h"
#include "tests/correction/Photos.h"
#include "tests/deskphoto/DeskPhoto.h"
#include "tests/support/Jpeg.h"

using namespace correction_test;

namespace {

constexpr int kReach = 5; // how far (pixels) the page may lie shifted against the flat page

struct Overlap {
    double strokesInked = 0; // share of the flat page's strokes with ink on or next to them
    double inkOnStrokes = 0; // share of the ink on a stroke (or its grey edge) of the flat page
};

// The overlap of the page's ink and the flat page's strokes over the rows of body text
// (y0..y1 of the flat page), at the shift where they agree best.
Overlap overlapOf(const folvane::correction::CorrectedPage &page, const support::Picture &flat,
                  int y0, int y1) {
    Overlap best;
    for (int sy = -kReach; sy <= kReach; ++sy) {
        for (int sx = -kReach; sx <= kReach; ++sx) {
            long strokeCount = 0, strokeInked = 0, inkCount = 0, inkOnMark = 0;
            for (int y = y0; y < y1; ++y) {
                for (int x = kReach + 1; x < flat.width - kReach - 1; ++x) {
                    int px = x * page.width / flat.width + sx,
                        py = y * page.height / flat.height + sy;
                    if (px < 1 || py < 1 || px + 1 >= page.width || py + 1 >= page.height) {
                        continue;
                    }
                    bool ink = inkAt(page, px, py);
                    bool inkNear = ink || inkAt(page, px - 1, py) || inkAt(page, px + 1, py) ||
                                   inkAt(page, px, py - 1) || inkAt(page, px, py + 1);
                    if (flat.At(x, y, 1) < 100) {
                        ++strokeCount;
                        strokeInked += inkNear;
                    }
                    inkCount += ink;
                    inkOnMark += ink && flat.At(x, y, 1) < 200;
                }
            }
            Overlap here;
            here.strokesInked = strokeCount ? static_cast<double>(strokeInked) / strokeCount : 0;
            here.inkOnStrokes = inkCount ? static_cast<double>(inkOnMark) / inkCount : 0;
            if (here.strokesInked + here.inkOnStrokes > best.strokesInked + best.inkOnStrokes) {
                best = here;
            }
        }
    }
    return best;
}

class SmallText : public testing::TestWithParam<bool> {};

TEST_P(SmallText, ComesOutAsInkStrokeForStroke) {
    desk::ScanSpec spec;
    spec.seed = 501;
    spec.angleDegrees = -6.3;
    spec.dpi = 150;
    spec.page.seal = GetParam();
    desk::Scan scan = desk::makeScan(spec);
    support::JpegOptions jpeg;
    jpeg.quality = 90;
    support::JpegReadOptions read;
    read.colourSpace = JCS_RGB;
    support::DecodedJpeg decoded = support::DecodeJpeg(support::MakeJpeg(scan.picture, jpeg), read);
    ASSERT_TRUE(decoded.ok);
    folvane::correction::Picture picture = pictureOf(decoded.picture);
    picture.dpi = 150;
    folvane::correction::CorrectedPage page = folvane::correction::correctPage(picture);
    ASSERT_TRUE(!page.failure) << page.failure.detail;
    ASSERT_EQ(page.content, GetParam() ? folvane::correction::ContentKind::Colour
                                       : folvane::correction::ContentKind::Bilevel);
    // Interpolated to twice its resolution, the scan's text looks soft; it is cut all the same.
    EXPECT_FALSE(page.softText);
    // The body text: 20 mm to 100 mm below the paper's top edge.
    double mm = scan.flatPage.height / 297.0;
    Overlap o =
        overlapOf(page, scan.flatPage, static_cast<int>(22 * mm), static_cast<int>(100 * mm));
    EXPECT_GT(o.strokesInked, 0.93) << o.strokesInked << " of the strokes inked: strokes broken";
    // Ink on the strokes' edges only: bolder, it runs the strokes of small characters together.
    EXPECT_GT(o.inkOnStrokes, 0.75) << o.inkOnStrokes << " of the ink on strokes: text too bold";
}

INSTANTIATE_TEST_SUITE_P(BilevelAndColour, SmallText, testing::Bool());

} // namespace
