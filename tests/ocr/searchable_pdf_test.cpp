// End to end: pages of known text through the engine with a text layer, read back with
// poppler's pdftotext, checked with qpdf and compared with the same run without the layer.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "tests/ocr/TextCompare.h"
#include "tests/ocr/TextPage.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/PdfWords.h"
#include "tests/support/Process.h"
#include "tests/support/Tiff.h"

namespace {

using support::Bytes;

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

// A clean scan at 300 dpi: bilevel G4 for the English page, grey Deflate for the Chinese one.
void writeScan(const std::string &path, const ocr_test::TextPage &page, bool bilevel) {
    support::TiffPage tiff;
    tiff.width = page.width;
    tiff.height = page.height;
    tiff.resolutionUnit = RESUNIT_INCH;
    tiff.xResolution = tiff.yResolution = 300.0f;
    if (bilevel) {
        tiff.bitsPerSample = 1;
        tiff.photometric = PHOTOMETRIC_MINISWHITE; // 1 is black
        tiff.compression = COMPRESSION_CCITTFAX4;
        tiff.data = bilevelRows(page);
    } else {
        tiff.compression = COMPRESSION_ADOBE_DEFLATE;
        tiff.data.assign(page.grey.begin(), page.grey.end());
    }
    support::WriteTiff(path, {tiff});
}

// A photo: JPEG at quality 75, stored turned and marked with EXIF orientation 6 (or, `marked`
// false, with no orientation: a photo that shows sideways until the user turns it).
void writePhoto(const std::string &path, const ocr_test::TextPage &page, bool marked = true) {
    auto turned = ocr_test::turnedForOrientation6(page);
    support::Picture picture{page.height, page.width, 1, Bytes(turned.begin(), turned.end())};
    support::JpegOptions options;
    options.quality = 75;
    options.exifOrientation = marked ? 6 : 0;
    support::WriteFile(path, support::MakeJpeg(picture, options));
}

struct Errors {
    std::string first;
    int type = 0;
};

void recordError(pdfw_context *ctx, int type, const char *message) {
    auto *errors = static_cast<Errors *>(pdfw_get_opaque(ctx));
    if (errors->first.empty()) {
        errors->first = message;
        errors->type = type;
    }
}

// One A4 page per image, each placed at the origin at 300 dpi, the images announced first so
// that `threads` workers prepare and recognise them ahead. "" languages: no text layer. Every
// image is loaded with `options`. Returns the first error ("" when the document was written).
std::string tryWritePdf(const std::string &output, const std::vector<std::string> &images,
                        const char *languages, const char *threads, const char *options = "") {
    Errors errors;
    pdfw_boot();
    pdfw_context *ctx = pdfw_new(recordError, nullptr, nullptr, nullptr, &errors);
    bool ok = pdfw_set_parameter(ctx, "ocr", languages) == 0 &&
              pdfw_set_parameter(ctx, "threads", threads) == 0 &&
              pdfw_open_file(ctx, output.c_str()) == 1;
    for (const std::string &image : images) {
        ok = ok && pdfw_queue_image(ctx, "auto", image.c_str(), options, 1) == 0;
    }
    for (const std::string &image : images) {
        ok = ok && pdfw_begin_page(ctx, 595, kPageHeight) == 0;
        int handle = ok ? pdfw_load_image(ctx, "auto", image.c_str(), options, 1) : -1;
        ok = ok && handle > 0 && pdfw_place_image(ctx, handle, 0, 0, kScale) == 0 &&
             pdfw_close_image(ctx, handle) == 0 && pdfw_end_page(ctx) == 0;
    }
    ok = ok && pdfw_close(ctx) == 0;
    pdfw_delete(ctx);
    pdfw_shutdown();
    return ok ? "" : errors.first.empty() ? "failed without a message" : errors.first;
}

void writePdf(const std::string &output, const std::vector<std::string> &images,
              const char *languages, const char *threads = "2") {
    EXPECT_EQ(tryWritePdf(output, images, languages, threads), "");
}

std::string pageText(const std::string &pdf, int page) {
    return support::PdfText(pdf, page);
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
    for (const auto &word : support::PdfWords(pdf, page)) {
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
    Bytes bytes = support::ReadFile(pdf);
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
    support::TempDir dir;
    auto english = ocr_test::drawTextPage(kEnglish, 2480, 700, 12);
    auto chinese = ocr_test::drawTextPage(kChinese, 2480, 700, 12);
    std::vector<std::string> images = {dir / "en.tif", dir / "en.jpg", dir / "zh.tif",
                                       dir / "zh.jpg"};
    writeScan(images[0], english, true);
    writePhoto(images[1], english);
    writeScan(images[2], chinese, false);
    writePhoto(images[3], chinese);
    std::string searchable = dir / "searchable.pdf";
    std::string plain = dir / "plain.pdf";
    // One worker: a second would load the languages once more for these four small pages.
    writePdf(searchable, images, "chi_sim+eng", "1");
    writePdf(plain, images, "", "1");
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(support::QpdfCheck(searchable));

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
    EXPECT_EQ(ocr_test::withoutBlanks(support::PdfText(plain)), U"");
    auto withText = imageObjects(searchable);
    ASSERT_EQ(withText.size(), 4u);
    EXPECT_TRUE(withText == imageObjects(plain));
}

// A sideways photo the user turned is read turned, and its words lie where the turned page shows
// them; its JPEG goes in as without the turn.
TEST(SearchablePdf, ATurnedPageIsReadAsItIsShown) {
    support::TempDir dir;
    auto english = ocr_test::drawTextPage(kEnglish, 2480, 700, 12);
    const std::string photo = dir / "sideways.jpg";
    writePhoto(photo, english, false);
    const std::string searchable = dir / "searchable.pdf";
    const std::string plain = dir / "plain.pdf";
    ASSERT_EQ(tryWritePdf(searchable, {photo}, "eng", "1", "turns=1"), "");
    ASSERT_EQ(tryWritePdf(plain, {photo}, "", "1", "turns=1"), "");
    const std::string text = pageText(searchable, 1);
    EXPECT_LE(ocr_test::characterErrorRate(joined(kEnglish), text), 0.05) << text;
    expectWordsWhereDrawn(foundWords(searchable, 1, 700), english);
    EXPECT_TRUE(imageObjects(searchable) == imageObjects(plain));
    const Bytes jpeg = support::ReadFile(photo);
    const Bytes pdf = support::ReadFile(searchable);
    EXPECT_NE(std::search(pdf.begin(), pdf.end(), jpeg.begin(), jpeg.end()), pdf.end());
}

// Pages are written in order with their words, whichever worker recognised them.
TEST(SearchablePdf, SameBytesWhateverTheNumberOfWorkers) {
    support::TempDir dir;
    writeScan(dir / "scan.tif", ocr_test::drawTextPage({kEnglish[0]}, 2480, 300, 12), true);
    writePhoto(dir / "photo.jpg", ocr_test::drawTextPage({kEnglish[1]}, 2480, 300, 12));
    std::vector<std::string> images = {dir / "scan.tif", dir / "photo.jpg", dir / "scan.tif"};
    // English alone: its data loads in a fraction of the time, and a worker loads its own.
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    writePdf(dir / "one.pdf", images, "eng", "1");
    writePdf(dir / "two.pdf", images, "eng", "2");
    unsetenv("SOURCE_DATE_EPOCH");
    Bytes one = support::ReadFile(dir / "one.pdf");
    EXPECT_FALSE(one.empty());
    EXPECT_TRUE(one == support::ReadFile(dir / "two.pdf"));
    EXPECT_NE(support::PdfText(dir / "one.pdf", 2).find("reading every scan"), std::string::npos);
}

// A photo whose markers are damaged goes in repaired, and its text is read from the repaired
// picture (the recogniser used to read the damaged file and fail the whole run).
TEST(SearchablePdf, ARepairedPhotoIsRecognisedToo) {
    support::TempDir dir;
    std::string photo = dir / "photo.jpg";
    writePhoto(photo, ocr_test::drawTextPage({kEnglish[1]}, 2480, 300, 12));
    Bytes junk = support::ReadFile(photo);
    junk.insert(junk.begin() + static_cast<long>(support::FindMarker(junk, 0xDB)), {1, 2, 3});
    support::WriteFile(photo, junk);
    writePdf(dir / "out.pdf", {photo}, "eng", "1");
    EXPECT_NE(support::PdfText(dir / "out.pdf", 1).find("reading every scan"), std::string::npos);
}

// Languages checked when the run began but gone by the time a page is recognised: the page's
// load fails naming the file and the missing package, and nothing is left behind.
TEST(SearchablePdf, LanguagesGoneMidRunFailTheRunNamingThePage) {
    support::TempDir dir;
    support::TempDir noData;
    auto english = ocr_test::drawTextPage({kEnglish[0]}, 1200, 200, 12);
    std::string page = dir / "page.tif";
    writeScan(page, english, true);
    Errors errors;
    pdfw_boot();
    pdfw_context *ctx = pdfw_new(recordError, nullptr, nullptr, nullptr, &errors);
    std::string output = dir / "out.pdf";
    EXPECT_EQ(pdfw_set_parameter(ctx, "ocr", "chi_sim+eng"), 0);
    EXPECT_EQ(pdfw_open_file(ctx, output.c_str()), 1);
    EXPECT_EQ(pdfw_begin_page(ctx, 595, kPageHeight), 0);
    const char *before = std::getenv("TESSDATA_PREFIX");
    std::string saved = before ? before : "";
    setenv("TESSDATA_PREFIX", noData.Path().c_str(), 1);
    EXPECT_EQ(pdfw_load_image(ctx, "auto", page.c_str(), "", 1), -1);
    before ? setenv("TESSDATA_PREFIX", saved.c_str(), 1) : unsetenv("TESSDATA_PREFIX");
    pdfw_delete(ctx);
    pdfw_shutdown();
    EXPECT_EQ(errors.type, PDFW_RUNTIME_ERROR);
    EXPECT_NE(errors.first.find(page), std::string::npos) << errors.first;
    EXPECT_NE(errors.first.find("tesseract-ocr-chi-sim"), std::string::npos) << errors.first;
    EXPECT_EQ(support::Listing(dir.Path()), (std::set<std::string>{"page.tif"}));
}

TEST(SearchablePdf, MissingLanguageNamesItsPackage) {
    Errors errors;
    pdfw_boot();
    pdfw_context *ctx = pdfw_new(recordError, nullptr, nullptr, nullptr, &errors);
    EXPECT_EQ(pdfw_set_parameter(ctx, "ocr", "chi_sim+fra_missing"), -1);
    pdfw_delete(ctx);
    pdfw_shutdown();
    EXPECT_EQ(errors.type, PDFW_VALUE_ERROR);
    EXPECT_NE(errors.first.find("tesseract-ocr-fra-missing"), std::string::npos) << errors.first;
}

} // namespace
