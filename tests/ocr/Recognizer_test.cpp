#include "ocr/Recognizer.h"

#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

#include "ocr/Languages.h"
#include "ocr/OcrError.h"
#include "ocr/engine/UprightPix.h"
#include "tests/ocr/TextCompare.h"
#include "tests/ocr/TextPage.h"
#include "tests/support/Files.h"

namespace {

// Loading the languages costs seconds: one engine serves the whole program, and tests that do
// not read Chinese load English alone, which is quicker.
folvane::ocr::Recognizer &engine() {
    static folvane::ocr::Recognizer recognizer(folvane::ocr::kDefaultLanguages);
    return recognizer;
}

folvane::ocr::Recognizer &englishEngine() {
    static folvane::ocr::Recognizer recognizer("eng");
    return recognizer;
}

folvane::ocr::Failure failureOf(const std::string &languages) {
    try {
        folvane::ocr::checkLanguages(languages);
    } catch (const folvane::ocr::OcrError &error) {
        return error.failure();
    }
    return {};
}

TEST(Languages, MissingDataNamesTheDebianPackage) {
    EXPECT_EQ(failureOf("chi_sim+eng").kind, folvane::ocr::Failure::Kind::None);
    folvane::ocr::Failure missing = failureOf("eng+chi_tra_vert");
    EXPECT_EQ(missing.kind, folvane::ocr::Failure::Kind::LanguageMissing);
    EXPECT_EQ(missing.subject, "chi_tra_vert");
    EXPECT_EQ(missing.detail, "tesseract-ocr-chi-tra-vert");
    EXPECT_THROW(folvane::ocr::Recognizer("eng+xyz"), folvane::ocr::OcrError);
}

TEST(Languages, DataFolderFollowsTessdataPrefix) {
    support::TempDir empty;
    const char *before = std::getenv("TESSDATA_PREFIX");
    std::string saved = before ? before : "";
    setenv("TESSDATA_PREFIX", empty.Path().c_str(), 1);
    folvane::ocr::Failure missing = failureOf("chi_sim+eng");
    const std::string folder = folvane::ocr::dataFolder();
    before ? setenv("TESSDATA_PREFIX", saved.c_str(), 1) : unsetenv("TESSDATA_PREFIX");
    EXPECT_EQ(missing.kind, folvane::ocr::Failure::Kind::LanguageMissing);
    EXPECT_EQ(missing.detail, "tesseract-ocr-chi-sim");
    EXPECT_EQ(folder, empty.Path());
}

TEST(Languages, NamesThatAreNotPlainAreRefused) {
    for (const char *bad : {"", "+", "eng+", "+eng", "../eng", "eng chi_sim", "eng/x", "e\xe4"}) {
        folvane::ocr::Failure failure = failureOf(bad);
        EXPECT_EQ(failure.kind, folvane::ocr::Failure::Kind::LanguageNames) << "\"" << bad << "\"";
        EXPECT_EQ(failure.subject, bad);
    }
}

// A 3 x 2 grey picture with distinct samples, turned by every orientation; the expected
// upright picture is worked out from where each orientation shows the stored first row and
// first column.
TEST(UprightPix, EveryOrientationShowsThePictureUpright) {
    const int w = 3, h = 2;
    const unsigned char stored[] = {10, 20, 30, 40, 50, 60};
    // For each orientation: the upright size and, for upright (X, Y), the stored (x, y).
    struct Case {
        int orientation;
        bool swaps;
        int (*sx)(int X, int Y);
        int (*sy)(int X, int Y);
    };
    const Case cases[] = {
        {1, false, [](int X, int) { return X; }, [](int, int Y) { return Y; }},
        {2, false, [](int X, int) { return w - 1 - X; }, [](int, int Y) { return Y; }},
        {3, false, [](int X, int) { return w - 1 - X; }, [](int, int Y) { return h - 1 - Y; }},
        {4, false, [](int X, int) { return X; }, [](int, int Y) { return h - 1 - Y; }},
        {5, true, [](int, int Y) { return Y; }, [](int X, int) { return X; }},
        {6, true, [](int, int Y) { return Y; }, [](int X, int) { return h - 1 - X; }},
        {7, true, [](int, int Y) { return w - 1 - Y; }, [](int X, int) { return h - 1 - X; }},
        {8, true, [](int, int Y) { return w - 1 - Y; }, [](int X, int) { return X; }},
    };
    for (const Case &c : cases) {
        folvane::ocr::PageImage image{w, h, 8, stored, w, c.orientation, 0};
        folvane::ocr::PixPtr pix = folvane::ocr::uprightPix(image);
        int uw = c.swaps ? h : w, uh = c.swaps ? w : h;
        ASSERT_EQ(pixGetWidth(pix.get()), uw) << c.orientation;
        ASSERT_EQ(pixGetHeight(pix.get()), uh) << c.orientation;
        for (int Y = 0; Y < uh; ++Y) {
            for (int X = 0; X < uw; ++X) {
                l_uint32 value = 0;
                pixGetPixel(pix.get(), X, Y, &value);
                EXPECT_EQ(value, stored[c.sy(X, Y) * w + c.sx(X, Y)])
                    << "orientation " << c.orientation << " at " << X << "," << Y;
            }
        }
    }
}

TEST(UprightPix, BilevelRowsKeepTheirBitsAndPadding) {
    // 10 pixels a row in two bytes: the six padding bits must not show as black.
    const unsigned char rows[] = {0x80, 0x7F, 0x01, 0xC0};
    folvane::ocr::PixPtr pix = folvane::ocr::uprightPix({10, 2, 1, rows, 2, 1, 300});
    std::string seen;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 10; ++x) {
            l_uint32 value = 0;
            pixGetPixel(pix.get(), x, y, &value);
            seen += value ? '#' : '.';
        }
        seen += '|';
    }
    EXPECT_EQ(seen, "#........#|.......###|");
    EXPECT_EQ(pixGetXRes(pix.get()), 300);
}

TEST(Recognizer, MalformedPicturesAreRefusedNotRead) {
    std::vector<unsigned char> bytes(64, 255);
    const folvane::ocr::PageImage bad[] = {
        {8, 8, 8, nullptr, 8, 1, 0},                  // no rows
        {0, 8, 8, bytes.data(), 8, 1, 0},             // no width
        {8, 8, 4, bytes.data(), 8, 1, 0},             // a depth it does not take
        {8, 8, 8, bytes.data(), 7, 1, 0},             // rows shorter than the width
        {65, 8, 1, bytes.data(), 8, 1, 0},            // bilevel rows shorter than the width
        {40000, 40000, 8, bytes.data(), 40000, 1, 0}, // beyond the size ceiling
    };
    for (const folvane::ocr::PageImage &image : bad) {
        EXPECT_THROW(englishEngine().recognize(image), folvane::ocr::OcrError)
            << image.width << "x" << image.height << " depth " << image.depth;
    }
}

TEST(Recognizer, ReadsWordsWithBoxesAndBaselines) {
    const std::vector<std::string> lines = {"Every failure gives a clear result.",
                                            "文字识别测试页面"};
    auto page = ocr_test::drawTextPage(lines, 1800, 500, 12);
    folvane::ocr::PageText text =
        engine().recognize({page.width, page.height, 8, page.grey.data(),
                            static_cast<std::size_t>(page.width), 1, 300});
    EXPECT_EQ(text.width, 1800);
    EXPECT_EQ(text.height, 500);
    std::string all;
    for (const folvane::ocr::Word &word : text.words) {
        all += word.text;
        EXPECT_GT(word.box.width(), 0) << word.text;
        EXPECT_GE(word.baselineLeft, word.box.top) << word.text;
        EXPECT_LE(word.baselineLeft, word.box.bottom + 2) << word.text;
        EXPECT_GE(word.confidence, 0);
        EXPECT_LE(word.confidence, 100);
    }
    EXPECT_LE(ocr_test::characterErrorRate(lines[0] + lines[1], all), 0.05) << all;
    ASSERT_FALSE(text.words.empty());
    // "Every" was drawn from the left margin on the first line.
    const auto &first = page.words.front();
    EXPECT_NEAR(text.words.front().box.left, first.left, 10);
    EXPECT_GT(text.words.front().box.bottom, first.top);
    EXPECT_LT(text.words.front().box.top, first.bottom);
}

TEST(Recognizer, BlankPageHasNoWords) {
    std::vector<unsigned char> white(400 * 300, 255);
    EXPECT_TRUE(englishEngine().recognize({400, 300, 8, white.data(), 400, 1, 0}).words.empty());
}

// The pipeline's workers make their engines at once; the first ones also load the engine
// module, which must happen once and leave every one of them a working engine.
TEST(Recognizer, EnginesMadeOnSeveralThreadsAtOnceAllWork) {
    std::vector<unsigned char> white(200 * 100, 255);
    std::atomic<int> working{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 3; ++i) {
        threads.emplace_back([&] {
            try {
                folvane::ocr::Recognizer recognizer("eng");
                if (recognizer.recognize({200, 100, 8, white.data(), 200, 1, 0}).words.empty()) {
                    ++working;
                }
            } catch (const folvane::ocr::OcrError &) {
            }
        });
    }
    for (std::thread &thread : threads) {
        thread.join();
    }
    EXPECT_EQ(working, 3);
}

} // namespace
