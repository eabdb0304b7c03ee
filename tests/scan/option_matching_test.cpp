// Drivers name sources and modes in their own words; each must reach the user's meaning, and
// words that mean something else (a film adapter, halftone) must not.

#include <gtest/gtest.h>

#include "scan/OptionMatching.h"

namespace {

using namespace folvane::scan;

TEST(OptionMatchingTest, SourceWordsOfManyDrivers) {
    for (const char *flatbed : {"Flatbed", "FlatBed", "Document Table", "FB", "Platen"}) {
        EXPECT_EQ(ClassifySource(flatbed), ScanSource::Flatbed) << flatbed;
    }
    for (const char *feeder : {"ADF", "ADF Front", "Automatic Document Feeder", "Document Feeder",
                               "Sheet Feeder", "ADF Simplex"}) {
        EXPECT_EQ(ClassifySource(feeder), ScanSource::Feeder) << feeder;
    }
    for (const char *duplex :
         {"ADF Duplex", "Duplex", "Automatic Document Feeder(left aligned,Duplex)"}) {
        EXPECT_EQ(ClassifySource(duplex), ScanSource::Duplex) << duplex;
    }
    for (const char *other : {"Transparency Adapter", "Film", "ADF Back", "Slide", "Negative"}) {
        EXPECT_EQ(ClassifySource(other), std::nullopt) << other;
    }
}

TEST(OptionMatchingTest, ModeWordsOfManyDrivers) {
    for (const char *color : {"Color", "Colour", "24bit Color", "RGB", "Color48"}) {
        EXPECT_EQ(ClassifyMode(color), ScanMode::Color) << color;
    }
    for (const char *gray : {"Gray", "Grey", "Grayscale", "True Gray", "16bit Gray"}) {
        EXPECT_EQ(ClassifyMode(gray), ScanMode::Gray) << gray;
    }
    for (const char *lineart : {"Lineart", "Binary", "Black & White", "BW", "Line Art"}) {
        EXPECT_EQ(ClassifyMode(lineart), ScanMode::Lineart) << lineart;
    }
    for (const char *other : {"Halftone", "Color Lineart", "Color Halftone", "Dither"}) {
        EXPECT_EQ(ClassifyMode(other), std::nullopt) << other;
    }
}

TEST(OptionMatchingTest, TheStandardWordWinsOverALookAlike) {
    EXPECT_EQ(ModeWord({"Color48", "Color", "Gray"}, ScanMode::Color), "Color");
    EXPECT_EQ(ModeWord({"Halftone", "Binary"}, ScanMode::Lineart), "Binary");
    EXPECT_EQ(SourceWord({"ADF Back", "ADF Front", "ADF Duplex"}, ScanSource::Feeder), "ADF Front");
    EXPECT_EQ(SourceWord({"Flatbed", "ADF"}, ScanSource::Duplex), std::nullopt);
}

TEST(ResolutionChoicesTest, ListsAndRanges) {
    ResolutionChoices list{{75, 150, 300, 600}};
    EXPECT_TRUE(list.Allows(300));
    EXPECT_FALSE(list.Allows(200));
    EXPECT_EQ(list.Nearest(200), 150);
    EXPECT_EQ(list.Nearest(225), 300); // a tie goes up
    EXPECT_EQ(list.Describe(), "75, 150, 300, 600");

    ResolutionChoices range{{}, 50, 1200, 25};
    EXPECT_TRUE(range.Allows(300));
    EXPECT_FALSE(range.Allows(310));
    EXPECT_EQ(range.Nearest(310), 300);
    EXPECT_EQ(range.Nearest(2400), 1200);
    EXPECT_EQ(range.Nearest(10), 50);
    EXPECT_EQ(range.Suggested(), (std::vector<int>{75, 100, 150, 200, 300, 400, 600, 1200}));
    EXPECT_EQ(range.Describe(), "50..1200 in steps of 25");
}

} // namespace
