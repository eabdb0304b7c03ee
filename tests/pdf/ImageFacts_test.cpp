// The pre-flight facts of an image file: kind, pages, upright size and how the engine would take
// it in, or why it cannot; the same answers from several threads at once.
#include "pdf/ImageFacts.h"

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Picture.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

using folvane::ImageFacts;
using folvane::inspectImage;
using folvane::Problem;
using Intake = ImageFacts::Intake;

class ImageFactsTest : public ::testing::Test {
protected:
    std::string save(const std::string &name, const support::Bytes &bytes) {
        support::WriteFile(dir / name, bytes);
        return dir / name;
    }

    support::TempDir dir;
};

TEST_F(ImageFactsTest, JpegsTellTheirUprightSizeAndWhetherTheyAreCopiedOrRepaired) {
    support::JpegOptions turned;
    turned.exifOrientation = 6;
    ImageFacts photo =
        inspectImage(save("photo.jpg", support::MakeJpeg(support::Pattern(40, 16, 3), turned)));
    EXPECT_TRUE(photo.ok) << photo.problem.detail;
    EXPECT_EQ(photo.kind, "JPEG");
    EXPECT_EQ(photo.pages, 1);
    EXPECT_EQ(photo.width, 16); // turned a quarter
    EXPECT_EQ(photo.height, 40);
    EXPECT_EQ(photo.intake, Intake::Copied);

    support::JpegOptions arithmetic;
    arithmetic.arithmetic = true;
    support::Bytes coded = support::MakeJpeg(support::Pattern(24, 24, 3), arithmetic);
    EXPECT_EQ(inspectImage(save("arith.jpg", coded)).intake, Intake::Recompressed);

    support::Bytes good = support::MakeJpeg(support::Pattern(24, 24, 3));
    support::Bytes junk = good;
    std::size_t dqt = support::FindMarker(junk, 0xDB);
    junk.insert(junk.begin() + static_cast<long>(dqt), {1, 2, 3});
    ImageFacts repaired = inspectImage(save("junk.jpg", junk));
    EXPECT_TRUE(repaired.ok) << repaired.problem.detail;
    EXPECT_EQ(repaired.intake, Intake::Repaired);
    EXPECT_NE(repaired.repair.find("3 extraneous bytes"), std::string::npos) << repaired.repair;
    EXPECT_EQ(repaired.width, 24);

    support::Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    ImageFacts truncated = inspectImage(save("cut.jpg", cut));
    EXPECT_FALSE(truncated.ok);
    EXPECT_EQ(truncated.intake, Intake::Unusable);
    EXPECT_EQ(truncated.problem.kind, Problem::Kind::Damaged);
    EXPECT_NE(truncated.problem.file.find("cut.jpg"), std::string::npos);
    EXPECT_NE(truncated.problem.detail.find("libjpeg cannot read it whole"), std::string::npos)
        << truncated.problem.detail;
}

TEST_F(ImageFactsTest, EveryPageOfATiffAnswersForItself) {
    support::TiffPage fax = support::TiffPageOf(support::Blank(64, 32, 1));
    fax.bitsPerSample = 1;
    fax.photometric = PHOTOMETRIC_MINISWHITE;
    fax.compression = COMPRESSION_CCITTFAX4;
    fax.data.assign(fax.RowBytes() * fax.height, 0x0F);
    support::TiffPage turned = support::TiffPageOf(support::Pattern(30, 10, 3));
    turned.orientation = 6;
    turned.compression = COMPRESSION_LZW;
    support::TiffPage lab = support::TiffPageOf(support::Pattern(8, 8, 3));
    lab.photometric = PHOTOMETRIC_CIELAB;
    lab.bitsPerSample = 8;
    lab.compression = COMPRESSION_NONE;
    std::string path = dir / "pages.tif";
    support::WriteTiff(path, {fax, turned, lab});

    ImageFacts first = inspectImage(path, 1);
    EXPECT_TRUE(first.ok) << first.problem.detail;
    EXPECT_EQ(first.kind, "TIFF");
    EXPECT_EQ(first.pages, 3);
    EXPECT_EQ(first.intake, Intake::Copied);
    EXPECT_EQ(first.width, 64);

    ImageFacts second = inspectImage(path, 2);
    EXPECT_TRUE(second.ok) << second.problem.detail;
    EXPECT_EQ(second.width, 10);
    EXPECT_EQ(second.height, 30);
    EXPECT_EQ(second.intake, Intake::Recompressed);

    ImageFacts missing = inspectImage(path, 4);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.pages, 3);
    EXPECT_EQ(missing.problem.kind, Problem::Kind::NoSuchPage);
    EXPECT_EQ(missing.problem.numbers[0], 4);
    EXPECT_EQ(missing.problem.numbers[1], 3);
}

TEST_F(ImageFactsTest, PngsAreCopiedUnlessPdfCannotReadTheirData) {
    support::PngImage plain = support::PngImageOf(support::Pattern(20, 10, 3));
    ImageFacts copied = inspectImage(save("plain.png", support::MakePng(plain)));
    EXPECT_TRUE(copied.ok) << copied.problem.detail;
    EXPECT_EQ(copied.kind, "PNG");
    EXPECT_EQ(copied.intake, Intake::Copied);
    EXPECT_EQ(copied.width, 20);

    support::PngImage interlaced = plain;
    interlaced.interlaced = true;
    EXPECT_EQ(inspectImage(save("adam7.png", support::MakePng(interlaced))).intake,
              Intake::Recompressed);
    support::PngImage alpha = support::PngImageOf(support::Pattern(20, 10, 4));
    EXPECT_EQ(inspectImage(save("alpha.png", support::MakePng(alpha))).intake,
              Intake::Recompressed);
}

TEST_F(ImageFactsTest, FilesThatCannotBeUsedSayWhy) {
    struct Case {
        std::string path;
        int page;
        const char *kind;
        Problem::Kind problem;
        const char *detail;
        long long number;
    } cases[] = {
        {dir / "absent.jpg", 1, "", Problem::Kind::CannotOpen, "No such file", 0},
        {save("notes.txt", {'h', 'i', '!', '\n'}), 1, "", Problem::Kind::NotAnImage, "", 0},
        {save("empty.jpg", {}), 1, "", Problem::Kind::NotAnImage, "", 1},
        {save("one.jpg", support::MakeJpeg(support::Pattern(8, 8, 3))), 2, "JPEG",
         Problem::Kind::NoSuchPage, "", 2},
        {save("zero.jpg", support::MakeJpeg(support::Pattern(8, 8, 3))), 0, "JPEG",
         Problem::Kind::Call, "pages count from 1", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        ImageFacts facts = inspectImage(c.path, c.page);
        EXPECT_FALSE(facts.ok);
        EXPECT_EQ(facts.kind, c.kind);
        EXPECT_EQ(facts.intake, Intake::Unusable);
        EXPECT_EQ(facts.problem.kind, c.problem);
        EXPECT_EQ(facts.problem.file, c.path);
        EXPECT_NE(facts.problem.detail.find(c.detail), std::string::npos) << facts.problem.detail;
        EXPECT_EQ(facts.problem.numbers[0], c.number);
    }
}

// Counting pages for a document's page numbers: every page of a TIFF, one for anything else,
// and one for a file that cannot be read (its run fails on it there).
TEST_F(ImageFactsTest, PagesAreCountedAsThePageLoopCountsThem) {
    const std::string jpeg = save("a.jpg", support::MakeJpeg(support::Pattern(16, 8, 3)));
    support::WriteTiff(dir / "three.tif", std::vector<support::TiffPage>(
                                              3, support::TiffPageOf(support::Pattern(8, 8, 1))));
    const std::string text = save("notes.tif", support::Bytes{'n', 'o', 't', 'e', 's'});
    EXPECT_EQ(folvane::countImagePages({jpeg, dir / "three.tif", text, dir / "gone.jpg", jpeg}),
              (std::vector<int>{1, 3, 1, 1, 1}));
    EXPECT_TRUE(folvane::countImagePages({}).empty());
}

TEST_F(ImageFactsTest, ThreadsInspectingAtOnceGetTheSameAnswers) {
    support::Bytes junk = support::MakeJpeg(support::Pattern(64, 48, 3));
    junk.insert(junk.begin() + static_cast<long>(support::FindMarker(junk, 0xC4)), {9, 9});
    std::vector<std::string> files = {
        save("a.jpg", junk),
        save("b.png", support::MakePng(support::PngImageOf(support::Pattern(33, 17, 1))))};
    std::vector<ImageFacts> expected;
    for (const std::string &f : files) {
        expected.push_back(inspectImage(f));
    }
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 10; ++round) {
                for (std::size_t i = 0; i < files.size(); ++i) {
                    ImageFacts got = inspectImage(files[i]);
                    mismatches[t] += got.ok != expected[i].ok || got.intake != expected[i].intake ||
                                     got.problem.kind != expected[i].problem.kind ||
                                     got.repair != expected[i].repair;
                }
            }
        });
    }
    for (std::thread &t : threads) {
        t.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
    EXPECT_EQ(expected[0].intake, Intake::Repaired);
}

} // namespace
