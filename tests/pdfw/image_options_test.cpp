// The option list of a loaded image: quarter turns, and corners placed by hand when the document
// corrects its pages; anything else refused by name before any work.
#include <gtest/gtest.h>

#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

using pdfw_test::Engine;

struct Refused {
    const char *options;
    const char *says;
};

int load(Engine &engine, const std::string &jpeg, const char *options) {
    return pdfw_load_image(engine.ctx(), "jpeg", jpeg.c_str(), options, 1);
}

TEST(ImageOptions, CornersNeedCorrectionAndEightNumbers) {
    support::TempDir dir;
    support::WriteFile(dir / "a.jpg", support::MakeJpeg(support::Pattern(40, 30, 3)));
    const std::string corners = "corners=1,1,39,1,39,29,1,29";
    {
        Engine engine;
        ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "plain.pdf").c_str()), 1);
        EXPECT_GT(load(engine, dir / "a.jpg", "  "), 0);
        EXPECT_EQ(load(engine, dir / "a.jpg", corners.c_str()), -1);
        EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
        EXPECT_NE(engine.lastMessage().find("without the parameter \"correction\""),
                  std::string::npos)
            << engine.lastMessage();
    }
    Engine engine;
    ASSERT_EQ(pdfw_set_parameter(engine.ctx(), "correction", "document"), 0);
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "fixed.pdf").c_str()), 1);
    for (const Refused &bad : {Refused{"corners=1,2,3", "eight numbers"},
                               Refused{"corners=1,2,3,4,5,6,7,x", "eight numbers"},
                               Refused{"corners=1,2,3,4,5,6,7,8,9", "eight numbers"},
                               Refused{"corners=nan,2,3,4,5,6,7,8", "eight numbers"},
                               Refused{"colour=grey", "unsupported options"}}) {
        EXPECT_EQ(load(engine, dir / "a.jpg", bad.options), -1) << bad.options;
        EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
        EXPECT_NE(engine.lastMessage().find(bad.says), std::string::npos) << engine.lastMessage();
    }
    int image = load(engine, dir / "a.jpg", corners.c_str());
    EXPECT_GT(image, 0) << engine.lastMessage();
    float width = 0, height = 0;
    EXPECT_EQ(pdfw_get_image_size(engine.ctx(), image, &width, &height), 0);
    EXPECT_GT(width, height); // the corrected page takes the corners' shape
    EXPECT_EQ(pdfw_set_parameter(engine.ctx(), "correction", "document"), -1); // too late
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR);
}

float uprightWidth(Engine &engine, int image) {
    float width = 0, height = 0;
    EXPECT_EQ(pdfw_get_image_size(engine.ctx(), image, &width, &height), 0);
    return width;
}

TEST(ImageOptions, TurnsComposeWithTheOwnOrientationAndWithCorrection) {
    support::TempDir dir;
    support::WriteFile(dir / "a.jpg", support::MakeJpeg(support::Pattern(40, 30, 3)));
    support::JpegOptions sideways;
    sideways.exifOrientation = 6;
    support::WriteFile(dir / "six.jpg", support::MakeJpeg(support::Pattern(40, 30, 3), sideways));
    Engine engine;
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "plain.pdf").c_str()), 1);
    struct Case {
        const char *file;
        const char *options;
        float width;
    };
    for (const Case &c :
         {Case{"a.jpg", "turns=0", 40}, Case{"a.jpg", "turns=1", 30},
          Case{"a.jpg", " turns=-1 ", 30}, Case{"a.jpg", "turns=2", 40}, Case{"six.jpg", "", 30},
          Case{"six.jpg", "turns=3", 40}, Case{"six.jpg", "turns=-2", 30}}) {
        int image = load(engine, dir / c.file, c.options);
        ASSERT_GT(image, 0) << c.options << ": " << engine.lastMessage();
        EXPECT_EQ(uprightWidth(engine, image), c.width) << c.file << " " << c.options;
    }
    for (const Refused &bad :
         {Refused{"turns=4", "from -3 to 3"}, Refused{"turns=", "from -3 to 3"},
          Refused{"turns=1x", "from -3 to 3"}, Refused{"turns=+1", "from -3 to 3"},
          Refused{"turns=1 turns=1", "twice"}, Refused{"turns=1;corners=1", "from -3 to 3"}}) {
        EXPECT_EQ(load(engine, dir / "a.jpg", bad.options), -1) << bad.options;
        EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
        EXPECT_NE(engine.lastMessage().find(bad.says), std::string::npos) << engine.lastMessage();
    }

    // A corrected page is turned after its correction, the corners still in the picture's own
    // upright pixels.
    Engine correcting;
    ASSERT_EQ(pdfw_set_parameter(correcting.ctx(), "correction", "document"), 0);
    ASSERT_EQ(pdfw_open_file(correcting.ctx(), (dir / "fixed.pdf").c_str()), 1);
    const std::string corners = "corners=1,1,39,1,39,29,1,29";
    int straight = load(correcting, dir / "a.jpg", corners.c_str());
    int turned = load(correcting, dir / "a.jpg", ("turns=1 " + corners).c_str());
    ASSERT_GT(straight, 0) << correcting.lastMessage();
    ASSERT_GT(turned, 0) << correcting.lastMessage();
    float width = 0, height = 0;
    EXPECT_EQ(pdfw_get_image_size(correcting.ctx(), straight, &width, &height), 0);
    EXPECT_EQ(uprightWidth(correcting, turned), height);
}

TEST(ImageOptions, OnlyDocumentCorrectionIsKnown) {
    Engine engine;
    EXPECT_EQ(pdfw_set_parameter(engine.ctx(), "correction", "photos"), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_EQ(pdfw_set_parameter(engine.ctx(), "correction", ""), 0);
}

} // namespace
