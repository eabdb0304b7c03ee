// Scans: a page lying tilted on the scanner's glass comes out straight with the scanner's dark
// border cut away, and scans are told from photos when the caller does not say.
#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "correction/Correction.h"
#include "tests/correction/Photos.h"
#include "tests/deskphoto/DeskPhoto.h"

using namespace correction_test;

namespace {

// Where a horizontal rule crosses columns [x0, x1) within rows [y0, y1): the darkest row
// there (text has gaps, a rule has none), to a fraction of a pixel.
double ruleRow(const std::vector<uint8_t> &grey, int width, int x0, int x1, int y0, int y1) {
    std::vector<double> mean;
    for (int y = y0; y < y1; ++y) {
        double sum = 0;
        for (int x = x0; x < x1; ++x) {
            sum += grey[static_cast<size_t>(y) * width + x];
        }
        mean.push_back(sum / (x1 - x0));
    }
    size_t best = std::min_element(mean.begin(), mean.end()) - mean.begin();
    if (best == 0 || best + 1 >= mean.size()) {
        return -1;
    }
    double a = mean[best - 1], b = mean[best], c = mean[best + 1];
    double shift = a - 2 * b + c > 0 ? 0.5 * (a - c) / (a - 2 * b + c) : 0;
    return y0 + best + shift;
}

std::vector<uint8_t> greyOf(const support::Picture &rgb) {
    std::vector<uint8_t> grey(static_cast<size_t>(rgb.width) * rgb.height);
    for (size_t i = 0; i < grey.size(); ++i) {
        grey[i] = static_cast<uint8_t>(
            (rgb.samples[i * 3] + rgb.samples[i * 3 + 1] + rgb.samples[i * 3 + 2]) / 3);
    }
    return grey;
}

// The first row, going down from 40% of the page, where the table's top rule runs: most of the
// columns between a third and two thirds of the width are dark there.
int tableTop(const std::vector<uint8_t> &grey, int width, int height) {
    for (int y = height * 2 / 5; y < height; ++y) {
        int dark = 0;
        for (int x = width / 3; x < width * 2 / 3; ++x) {
            dark += grey[static_cast<size_t>(y) * width + x] < 128 ? 1 : 0;
        }
        if (dark > width / 4) {
            return y;
        }
    }
    return -1;
}

class TiltedScan : public testing::TestWithParam<double> {};

TEST_P(TiltedScan, ComesOutStraightWithoutItsDarkBorder) {
    desk::ScanSpec spec;
    spec.seed = 3;
    spec.angleDegrees = GetParam();
    spec.dpi = 150;
    desk::Scan scan = desk::makeScan(spec);
    folvane::correction::Picture picture = pictureOf(scan.picture);
    picture.dpi = 150;
    folvane::correction::CorrectedPage page = folvane::correction::correctPage(picture);
    ASSERT_TRUE(!page.failure) << page.failure.detail;
    EXPECT_EQ(page.facts.treatedAs, folvane::correction::SourceKind::Scan);
    EXPECT_NEAR(page.facts.deskewDegrees, GetParam(), 0.2);
    EXPECT_EQ(page.facts.paper, folvane::correction::PaperSize::A4);
    // A 150-dpi scan comes out at twice its resolution, for the ink's sake.
    EXPECT_NEAR(page.dpi, 300, 2);
    EXPECT_NEAR(page.width, 2 * scan.flatPage.width, scan.flatPage.width * 0.04);
    EXPECT_NEAR(page.height, 2 * scan.flatPage.height, scan.flatPage.height * 0.04);

    // The table's top rule runs level: the same row at its left and right ends.
    std::vector<uint8_t> flat = greyOf(scan.flatPage);
    int rule = tableTop(flat, scan.flatPage.width, scan.flatPage.height);
    ASSERT_GT(rule, 0);
    int expected = rule * page.height / scan.flatPage.height, band = page.height / 60;
    int left0 = page.width / 5, right0 = page.width * 7 / 10, span = page.width / 10;
    double left =
        ruleRow(page.grey, page.width, left0, left0 + span, expected - band, expected + band);
    double right =
        ruleRow(page.grey, page.width, right0, right0 + span, expected - band, expected + band);
    ASSERT_GT(left, 0);
    ASSERT_GT(right, 0);
    double tilt = std::atan2(right - left, right0 - left0) * 180 / M_PI;
    EXPECT_NEAR(tilt, 0, 0.2) << "the page still stands turned";

    // No dark border left along any edge: the outer band is paper.
    int dark = 0, band2 = std::max(2, page.width / 100), counted = 0;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            if (x >= band2 && y >= band2 && x < page.width - band2 && y < page.height - band2) {
                continue;
            }
            ++counted;
            dark += page.grey[static_cast<size_t>(y) * page.width + x] < 100 ? 1 : 0;
        }
    }
    EXPECT_LT(dark, counted / 200) << "dark pixels left along the page's edges";
}

INSTANTIATE_TEST_SUITE_P(Angles, TiltedScan, testing::Values(-14.0, -3.3, 0.8, 6.5, 12.0));

TEST(SourceKind, ScansAndPhotosAreToldApartWhenTheCallerDoesNotKnow) {
    desk::ScanSpec spec;
    spec.darkBorder = false;
    spec.angleDegrees = 0.6;
    desk::Scan borderless = desk::makeScan(spec);
    folvane::correction::CorrectedPage page =
        folvane::correction::correctPage(pictureOf(borderless.picture));
    EXPECT_EQ(page.facts.treatedAs, folvane::correction::SourceKind::Scan);
    EXPECT_NEAR(page.width, 2 * borderless.picture.width, 2)
        << "a borderless 150-dpi scan keeps its shape, at twice its resolution";
    EXPECT_NEAR(page.facts.deskewDegrees, 0.6, 0.2);

    // Photos taken square on, the sheet's corners square, on a dark desk or by a keyboard.
    for (desk::Desk kind : {desk::Desk::DarkWood, desk::Desk::ClutteredDesk}) {
        desk::ShotSpec shot;
        shot.width = 900;
        shot.height = 1200;
        shot.desk = kind;
        shot.rotationDegrees = 0;
        shot.keystone = 0;
        shot.falloff = 0.15;
        desk::DeskPhoto photo = desk::makeDeskPhoto(shot);
        support::Picture stored = decoded(photo);
        page = folvane::correction::correctPage(pictureOf(stored, shot.orientation));
        EXPECT_EQ(page.facts.treatedAs, folvane::correction::SourceKind::Photo)
            << desk::deskName(kind);
        EXPECT_TRUE(page.facts.found) << desk::deskName(kind);
    }
}

} // namespace
