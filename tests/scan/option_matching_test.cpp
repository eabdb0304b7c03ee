// Drivers name sources and modes in their own words; each must reach the user's meaning, and
// words that mean something else (a film adapter, halftone) must not.

#include <gtest/gtest.h>

#include "scan/OptionMatching.h"

namespace {

using namespace folvane::scan;

TEST(OptionMatchingTest, SourceWordsOfManyDrivers) {
    for (const char *flatbed : {"Flatbed", "FlatBed", "Document Table", "FB", "Platen"}) {
        EXPECT_EQ(classifySource(flatbed), ScanSource::Flatbed) << flatbed;
    }
    for (const char *feeder : {"ADF", "ADF Front", "Automatic Document Feeder", "Document Feeder",
                               "Sheet Feeder", "ADF Simplex"}) {
        EXPECT_EQ(classifySource(feeder), ScanSource::Feeder) << feeder;
    }
    for (const char *duplex :
         {"ADF Duplex", "Duplex", "Automatic Document Feeder(left aligned,Duplex)"}) {
        EXPECT_EQ(classifySource(duplex), ScanSource::Duplex) << duplex;
    }
    for (const char *other : {"Transparency Adapter", "Film", "ADF Back", "Slide", "Negative"}) {
        EXPECT_EQ(classifySource(other), std::nullopt) << other;
    }
}

TEST(OptionMatchingTest, ModeWordsOfManyDrivers) {
    for (const char *color : {"Color", "Colour", "24bit Color", "RGB", "Color48"}) {
        EXPECT_EQ(classifyMode(color), ScanMode::Color) << color;
    }
    for (const char *gray : {"Gray", "Grey", "Grayscale", "True Gray", "16bit Gray"}) {
        EXPECT_EQ(classifyMode(gray), ScanMode::Gray) << gray;
    }
    for (const char *lineart : {"Lineart", "Binary", "Black & White", "BW", "Line Art"}) {
        EXPECT_EQ(classifyMode(lineart), ScanMode::Lineart) << lineart;
    }
    for (const char *other : {"Halftone", "Color Lineart", "Color Halftone", "Dither"}) {
        EXPECT_EQ(classifyMode(other), std::nullopt) << other;
    }
}

TEST(OptionMatchingTest, TheStandardWordWinsOverALookAlike) {
    EXPECT_EQ(modeWord({"Color48", "Color", "Gray"}, ScanMode::Color), "Color");
    EXPECT_EQ(modeWord({"Halftone", "Binary"}, ScanMode::Lineart), "Binary");
    EXPECT_EQ(sourceWord({"ADF Back", "ADF Front", "ADF Duplex"}, ScanSource::Feeder), "ADF Front");
    EXPECT_EQ(sourceWord({"Flatbed", "ADF"}, ScanSource::Duplex), std::nullopt);
}

TEST(ResolutionChoicesTest, ListsAndRanges) {
    ResolutionChoices list{{75, 150, 300, 600}};
    EXPECT_TRUE(list.allows(300));
    EXPECT_FALSE(list.allows(200));
    EXPECT_EQ(list.nearest(200), 150);
    EXPECT_EQ(list.nearest(225), 300); // a tie goes up
    EXPECT_EQ(list.describe(), "75, 150, 300, 600");

    ResolutionChoices range{{}, 50, 1200, 25};
    EXPECT_TRUE(range.allows(300));
    EXPECT_FALSE(range.allows(310));
    EXPECT_EQ(range.nearest(310), 300);
    EXPECT_EQ(range.nearest(2400), 1200);
    EXPECT_EQ(range.nearest(10), 50);
    EXPECT_EQ(range.suggested(), (std::vector<int>{75, 100, 150, 200, 300, 400, 600, 1200}));
    EXPECT_EQ(range.describe(), "50..1200 in steps of 25");
}

} // namespace
