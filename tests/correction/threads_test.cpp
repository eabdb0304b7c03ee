// The engine corrects pages on several worker threads at once: each page must come out the
// same, byte for byte, whether corrected alone or beside others.
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "correction/Correction.h"
#include "tests/correction/Photos.h"
#include "tests/deskphoto/DeskPhoto.h"

using namespace correction_test;

namespace {

bool same(const folvane::correction::CorrectedPage &a,
          const folvane::correction::CorrectedPage &b) {
    return a.failure.kind == b.failure.kind && a.failure.detail == b.failure.detail &&
           a.width == b.width && a.height == b.height && a.ink == b.ink && a.grey == b.grey &&
           a.background == b.background && a.content == b.content &&
           a.facts.corners[0].x == b.facts.corners[0].x &&
           a.facts.corners[2].y == b.facts.corners[2].y;
}

TEST(Threads, OneOrSeveralThreadsGiveTheSameBytes) {
    std::vector<support::Picture> stored;
    std::vector<int> orientations;
    for (desk::ShotSpec spec : desk::variedShots(4, 900, 1200, 8)) {
        desk::DeskPhoto photo = desk::makeDeskPhoto(spec);
        stored.push_back(decoded(photo));
        orientations.push_back(spec.orientation);
    }
    desk::ScanSpec scanSpec;
    scanSpec.angleDegrees = -4;
    stored.push_back(desk::makeScan(scanSpec).picture);
    orientations.push_back(1);

    std::vector<folvane::correction::CorrectedPage> alone;
    for (size_t i = 0; i < stored.size(); ++i) {
        alone.push_back(folvane::correction::correctPage(pictureOf(stored[i], orientations[i])));
        ASSERT_TRUE(!alone.back().failure) << alone.back().failure.detail;
    }
    // Every page on a thread of its own, all at once, twice over.
    for (int round = 0; round < 2; ++round) {
        std::vector<folvane::correction::CorrectedPage> together(stored.size());
        std::vector<std::thread> threads;
        for (size_t i = 0; i < stored.size(); ++i) {
            threads.emplace_back([&, i] {
                together[i] =
                    folvane::correction::correctPage(pictureOf(stored[i], orientations[i]));
            });
        }
        for (std::thread &t : threads) {
            t.join();
        }
        for (size_t i = 0; i < stored.size(); ++i) {
            EXPECT_TRUE(same(alone[i], together[i])) << "page " << i << ", round " << round;
        }
    }
}

} // namespace
