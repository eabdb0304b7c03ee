// Finding the sheet in desk photos of known truth: every kind of desk, the whole varied set,
// photos without a page, and corners reported in upright pixels whatever the EXIF orientation.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "correction/Correction.h"
#include "tests/correction/Photos.h"
#include "tests/deskphoto/DeskPhoto.h"

using namespace correction_test;

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

folvane::correction::SheetSearch searchIn(const desk::DeskPhoto &photo) {
    support::Picture stored = decoded(photo);
    return folvane::correction::findSheet(pictureOf(stored, photo.spec.orientation));
}

class EveryDesk : public testing::TestWithParam<desk::Desk> {};

TEST_P(EveryDesk, FindsTheCornersWithinOnePercentOfTheDiagonal) {
    desk::ShotSpec spec;
    spec.desk = GetParam();
    spec.seed = 7;
    spec.width = kHeight; // a portrait photo of the portrait page
    spec.height = kWidth;
    spec.rotationDegrees = 18;
    spec.keystone = 0.15;
    spec.fill = 0.55;
    spec.shadowAcrossEdge = true;
    desk::DeskPhoto photo = desk::makeDeskPhoto(spec);
    folvane::correction::SheetSearch search = searchIn(photo);
    ASSERT_TRUE(!search.failure) << search.failure.detail;
    EXPECT_TRUE(search.found) << "confidence " << search.confidence;
    EXPECT_LT(cornerError(search.corners, photo.corners, kHeight, kWidth), 0.01);
}

INSTANTIATE_TEST_SUITE_P(Desks, EveryDesk,
                         testing::Values(desk::Desk::PaleTable, desk::Desk::PatternedCloth,
                                         desk::Desk::ClutteredDesk, desk::Desk::DarkWood,
                                         desk::Desk::GreyStone),
                         [](const auto &shot) {
                             std::string name = desk::deskName(shot.param);
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

TEST(SheetDetection, WholeVariedSetMostlyWithinOnePercentNoneBeyondThree) {
    std::vector<desk::ShotSpec> shots = desk::variedShots(40, kWidth, kHeight, 3);
    int withSheet = 0, withinOne = 0, beyondThree = 0, missedEmpty = 0;
    for (const desk::ShotSpec &spec : shots) {
        desk::DeskPhoto photo = desk::makeDeskPhoto(spec);
        folvane::correction::SheetSearch search = searchIn(photo);
        ASSERT_TRUE(!search.failure) << search.failure.detail;
        if (!photo.hasSheet) {
            missedEmpty += search.found ? 1 : 0;
            std::printf("%-16s no sheet: found %d confidence %.2f\n", desk::deskName(spec.desk),
                        search.found, search.confidence);
            continue;
        }
        ++withSheet;
        double error = search.found ? cornerError(search.corners, photo.corners,
                                                  photo.upright.width, photo.upright.height)
                                    : 1.0;
        withinOne += error <= 0.01 ? 1 : 0;
        beyondThree += error > 0.03 ? 1 : 0;
        std::printf("%-16s turn %5.1f keystone %.2f fill %.2f orientation %d: error %.4f "
                    "confidence %.2f\n",
                    desk::deskName(spec.desk), spec.rotationDegrees, photo.keystone, photo.fill,
                    spec.orientation, error, search.confidence);
    }
    std::printf("%d of %d within 1%%, %d beyond 3%%\n", withinOne, withSheet, beyondThree);
    EXPECT_GE(withinOne, withSheet * 95 / 100);
    EXPECT_EQ(beyondThree, 0);
    EXPECT_EQ(missedEmpty, 0);
}

TEST(SheetDetection, ADeskWithoutAPageHasNoSheet) {
    for (desk::Desk kind : {desk::Desk::ClutteredDesk, desk::Desk::PatternedCloth}) {
        desk::ShotSpec spec;
        spec.desk = kind;
        spec.sheet = false;
        spec.width = kWidth;
        spec.height = kHeight;
        desk::DeskPhoto photo = desk::makeDeskPhoto(spec);
        folvane::correction::SheetSearch search = searchIn(photo);
        EXPECT_FALSE(search.found) << desk::deskName(kind) << " confidence " << search.confidence;
    }
}

TEST(SheetDetection, CornersAreInUprightPixelsForEveryOrientation) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        desk::ShotSpec spec;
        spec.seed = 11;
        spec.width = 900;
        spec.height = 1200;
        spec.rotationDegrees = -12;
        spec.orientation = orientation;
        desk::DeskPhoto photo = desk::makeDeskPhoto(spec);
        folvane::correction::SheetSearch search = searchIn(photo);
        ASSERT_TRUE(search.found) << "orientation " << orientation;
        EXPECT_LT(cornerError(search.corners, photo.corners, 900, 1200), 0.01)
            << "orientation " << orientation;
    }
}

} // namespace
