// End to end: pages of known text through the engine with a text layer, read back with
// poppler's pdftotext, checked with qpdf and compared with the same run without the layer.
#include <algorithm>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "tests/ocr/TextCompare.h"
#include "tests/ocr/TextPage.h"
#include "tests/pdfw/BboxWords.h"
#include "tests/pdfw/PdfwTestSupport.h"

namespace {

using pdfw_test::Bytes;

const std::vector<std::string> kEnglish = {"Searchable pages let people find the contract",
                                           "clause they need without reading every scan.",
                                           "Invoices, receipts and letters become text."};

const std::vector<std::string> kChinese = {"扫描的合同变成可以搜索的文件，",
                                           "人们不必逐页阅读就能找到条款。",
                                           "发票、收据和信件都能复制文字。"};

// Pages are 300 dpi pictures placed at one point per 1/72 inch.
constexpr float kScale = 72.0f / 300;
constexpr float kPageHeight = 842;

std::string joined(const std::vector<std::string> &lines) {
    std::string all;
    for (const auto &line : lines) {
        all += line + "\n";
    }
    return all;
}

Bytes bilevelRows(const ocr_test::TextPage &page) {
    std::size_t rowBytes = (page.width + 7) / 8;
    Bytes rows(rowBytes * page.height, 0);
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            if (page.grey[static_cast<std::size_t>(y) * page.width + x] < 128) {
                rows[y * rowBytes + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        }
    }
    return rows;
}

// A clean scan: bilevel G4 for the English page, grey Deflate for the Chinese one.
void writeScan(const std::string &path, const ocr_test::TextPage &page, bool bilevel) {
    pdfw_test::TiffSpec spec;
    spec.width = page.width;
    spec.height = page.height;
    if (bilevel) {
        spec.bitsPerSample = 1;
        spec.photometric = 0; // min-is-white: 1 is black
        spec.compression = 4; // CCITT G4
        pdfw_test::makeTiff(path, spec, bilevelRows(page));
        return;
    }
    spec.compression = 8; // Deflate
    pdfw_test::makeTiff(path, spec, Bytes(page.grey.begin(), page.grey.end()));
}

// A photo: JPEG at quality 75, stored turned and marked with EXIF orientation 6.
void writePhoto(const std::string &path, const ocr_test::TextPage &page) {
    pdfw_test::JpegSpec spec;
    spec.width = page.height;
    spec.height = page.width;
    spec.components = 1;
    spec.quality = 75;
    spec.exifOrientation = 6;
    auto turned = ocr_test::turnedForOrientation6(page);
    pdfw_test::writeFile(path, pdfw_test::makeJpeg(spec, Bytes(turned.begin(), turned.end())));
}

// One A4 page per image, each placed at the origin at 300 dpi. "" languages: no text layer.
void writePdf(const std::string &output, const std::vector<std::string> &images,
              const char *languages) {
    pdfw_test::Engine engine;
    pdfw_context *ctx = engine.ctx();
    ASSERT_EQ(pdfw_set_parameter(ctx, "ocr", languages), 0) << engine.firstMessage();
    ASSERT_EQ(pdfw_open_file(ctx, output.c_str()), 1) << engine.firstMessage();
    for (const std::string &image : images) {
        ASSERT_EQ(pdfw_begin_page(ctx, 595, kPageHeight), 0);
        int handle = pdfw_load_image(ctx, "auto", image.c_str(), "", 1);
        ASSERT_GT(handle, 0) << engine.firstMessage();
        ASSERT_EQ(pdfw_place_image(ctx, handle, 0, 0, kScale), 0);
        ASSERT_EQ(pdfw_close_image(ctx, handle), 0);
        ASSERT_EQ(pdfw_end_page(ctx), 0);
    }
    ASSERT_EQ(pdfw_close(ctx), 0) << engine.firstMessage();
}

std::string pageText(const std::string &pdf, int page) {
    std::string n = std::to_string(page);
    return pdfw_test::run("pdftotext -f " + n + " -l " + n + " '" + pdf + "' -");
}

struct Box {
    double left, top, right, bottom;
    double area() const { return std::max(0.0, right - left) * std::max(0.0, bottom - top); }
};

double overlap(const Box &a, const Box &b) {
    return Box{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)}
        .area();
}

// The word boxes pdftotext gives for `page`, in pixels of the upright picture.
std::vector<Box> foundWords(const std::string &pdf, int page, int pictureHeight) {
    auto pixelY = [&](double y) { return pictureHeight - (kPageHeight - y) / kScale; };
    std::vector<Box> boxes;
    for (const auto &word : pdfw_test::bboxWords(pdf, page)) {
        boxes.push_back(
            {word.xMin / kScale, pixelY(word.yMin), word.xMax / kScale, pixelY(word.yMax)});
    }
    return boxes;
}

// Every word found lies mostly on a drawn word; every drawn word has one found on it.
void expectWordsWhereDrawn(const std::vector<Box> &found, const ocr_test::TextPage &page) {
    ASSERT_FALSE(found.empty());
    std::vector<bool> covered(page.words.size(), false);
    for (const Box &box : found) {
        double best = 0;
        for (std::size_t i = 0; i < page.words.size(); ++i) {
            const auto &w = page.words[i];
            double shared =
                overlap(box, {double(w.left), double(w.top), double(w.right), double(w.bottom)});
            best = std::max(best, shared / box.area());
            covered[i] = covered[i] || shared > 0;
        }
        EXPECT_GT(best, 0.5) << "a word found at " << box.left << "," << box.top << " - "
                             << box.right << "," << box.bottom << " lies on no drawn word";
    }
    for (std::size_t i = 0; i < covered.size(); ++i) {
        EXPECT_TRUE(covered[i]) << "nothing found on \"" << page.words[i].text << "\"";
    }
}

// The image XObjects of a PDF written by the engine: each object's text from its
// dictionary through "endstream", in file order.
std::vector<std::string> imageObjects(const std::string &pdf) {
    Bytes bytes = pdfw_test::readFile(pdf);
    std::string file(bytes.begin(), bytes.end());
    std::vector<std::string> images;
    for (std::size_t at = file.find("/Subtype/Image"); at != std::string::npos;
         at = file.find("/Subtype/Image", at + 1)) {
        std::size_t start = file.rfind(" obj\n", at);
        std::size_t end = file.find("endstream", at);
        images.push_back(file.substr(start, end - start));
    }
    return images;
}

TEST(SearchablePdf, ScansAndTurnedPhotosInEnglishAndChinese) {
    pdfw_test::ScratchDir dir;
    auto english = ocr_test::drawTextPage(kEnglish, 2480, 700, 12);
    auto chinese = ocr_test::drawTextPage(kChinese, 2480, 700, 12);
    std::vector<std::string> images = {dir.path("en.tif"), dir.path("en.jpg"), dir.path("zh.tif"),
                                       dir.path("zh.jpg")};
    writeScan(images[0], english, true);
    writePhoto(images[1], english);
    writeScan(images[2], chinese, false);
    writePhoto(images[3], chinese);
    std::string searchable = dir.path("searchable.pdf");
    std::string plain = dir.path("plain.pdf");
    writePdf(searchable, images, "chi_sim+eng");
    writePdf(plain, images, "");
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(pdfw_test::qpdfCheck(searchable));

    // Clean scans within the character error rates users expect; the photos, JPEG-blurred
    // and turned, still read (a page recognised sideways would read as noise).
    const double limits[] = {0.02, 0.05, 0.05, 0.10};
    for (int page = 1; page <= 4; ++page) {
        std::string text = pageText(searchable, page);
        std::string expected = joined(page <= 2 ? kEnglish : kChinese);
        EXPECT_LE(ocr_test::characterErrorRate(expected, text), limits[page - 1])
            << "page " << page << ":\n"
            << text;
        expectWordsWhereDrawn(foundWords(searchable, page, 700), page <= 2 ? english : chinese);
    }
    EXPECT_NE(pageText(searchable, 1).find("people find the contract"), std::string::npos);
    EXPECT_NE(pageText(searchable, 3).find("合同变成可以搜索"), std::string::npos);

    // Without the layer there is no text, and the pictures are the same bytes either way.
    EXPECT_EQ(pdfw_test::run("pdftotext '" + plain + "' - | tr -d '\\f\\n '"), "");
    auto withText = imageObjects(searchable);
    ASSERT_EQ(withText.size(), 4u);
    EXPECT_TRUE(withText == imageObjects(plain));
}

TEST(SearchablePdf, MissingLanguageNamesItsPackage) {
    pdfw_test::Engine engine;
    EXPECT_EQ(pdfw_set_parameter(engine.ctx(), "ocr", "chi_sim+fra_missing"), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_NE(engine.lastMessage().find("tesseract-ocr-fra-missing"), std::string::npos)
        << engine.lastMessage();
}

} // namespace
