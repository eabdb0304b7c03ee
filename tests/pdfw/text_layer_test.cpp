// The invisible text layer without a recogniser: words placed by hand, written with the
// glyphless font into a one-page PDF, and read back with poppler.
#include "pdfw/text/TextLayer.h"

#include <gtest/gtest.h>

#include "pdfw/output/ObjectWriter.h"
#include "pdfw/output/OutputFile.h"
#include "pdfw/text/GlyphlessFont.h"
#include "pdfw/text/TextEncoding.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/PdfWords.h"
#include "tests/support/Process.h"

namespace {

folvane::ocr::Word word(const std::string &text, int left, int top, int right, int bottom,
                        folvane::ocr::Box line) {
    folvane::ocr::Word w;
    w.text = text;
    w.box = {left, top, right, bottom};
    w.line = line;
    w.baselineLeft = w.baselineRight = bottom;
    w.confidence = 90;
    return w;
}

// A page of `width` x `height` points carrying only the text layer of `text`.
void writeTextPage(const std::string &path, const folvane::ocr::PageText &text,
                   const folvane::pdfw::TextPlacement &at, float width = 595, float height = 842) {
    folvane::pdfw::Problem reason;
    auto out = folvane::pdfw::OutputFile::create(path, {}, reason);
    ASSERT_TRUE(out) << folvane::pdfw::describe(reason);
    folvane::pdfw::ObjectWriter writer(*out);
    folvane::pdfw::TextEncoding encoding;
    std::string content = folvane::pdfw::textLayerContent(text, at, encoding, "/FT");
    writer.writeHeader("1.4");
    int catalog = writer.reserve(), pages = writer.reserve(), page = writer.reserve();
    int contents = writer.reserve(), font = writer.reserve();
    writer.beginObject(catalog);
    out->write("<</Type/Catalog/Pages " + std::to_string(pages) + " 0 R>>\n");
    writer.endObject();
    writer.beginObject(pages);
    out->write("<</Type/Pages/Kids[" + std::to_string(page) + " 0 R]/Count 1>>\n");
    writer.endObject();
    writer.beginObject(page);
    out->write("<</Type/Page/Parent " + std::to_string(pages) + " 0 R/MediaBox[0 0 " +
               folvane::pdfw::pdfNumber(width) + " " + folvane::pdfw::pdfNumber(height) +
               "]/Resources<</Font<</FT " + std::to_string(font) + " 0 R>>>>/Contents " +
               std::to_string(contents) + " 0 R>>\n");
    writer.endObject();
    writer.writeStream(contents, "", content.data(), content.size());
    folvane::pdfw::writeGlyphlessFont(writer, font, encoding, {});
    writer.finish(catalog, catalog, "00");
    out->commit();
}

std::string plainText(const std::string &pdf) {
    std::string text = support::PdfText(pdf);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\f')) {
        text.pop_back();
    }
    return text;
}

TEST(TextLayer, LatinWordsSitOnTheirBoxesWithSpacesBetween) {
    support::TempDir dir;
    folvane::ocr::Box line{100, 100, 720, 160};
    folvane::ocr::PageText text{
        1000,
        1000,
        {word("Hello", 100, 110, 400, 150, line), word("world", 420, 110, 720, 150, line)}};
    // The picture's lower left corner at (20, 30), half a point per pixel.
    std::string pdf = dir / "latin.pdf";
    writeTextPage(pdf, text, {20, 30, 0.5f});
    EXPECT_TRUE(support::QpdfCheck(pdf));
    EXPECT_EQ(plainText(pdf), "Hello world");
    auto words = support::PdfWords(pdf);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].text, "Hello");
    EXPECT_EQ(words[1].text, "world");
    // Poppler measures from the top of the 842-point page.
    EXPECT_NEAR(words[0].xMin, 20 + 100 * 0.5, 0.5);
    EXPECT_NEAR(words[1].xMin, 20 + 420 * 0.5, 0.5);
    EXPECT_NEAR(words[1].xMax, 20 + 720 * 0.5, 0.5);
    double baseline = 842 - (30 + (1000 - 150) * 0.5);
    double lineTop = 842 - (30 + (1000 - 100) * 0.5);
    EXPECT_NEAR(words[0].yMin, lineTop, 1.0);
    EXPECT_GT(words[0].yMax, baseline);
}

TEST(TextLayer, ChineseWordsOfALineJoinWithoutBlanks) {
    support::TempDir dir;
    folvane::ocr::Box line{0, 0, 1000, 60};
    folvane::ocr::PageText text{
        1000,
        200,
        {word("扫描的", 0, 5, 150, 55, line), word("合同", 170, 5, 270, 55, line),
         word("ok", 300, 5, 360, 55, line), word("文件", 400, 5, 500, 55, line)}};
    std::string pdf = dir / "chinese.pdf";
    writeTextPage(pdf, text, {0, 0, 1});
    EXPECT_EQ(plainText(pdf), "扫描的合同 ok 文件");
}

// The recogniser sometimes gives a word a box reaching over the next: the word ends where
// the next begins, so that readers keep the line in order.
TEST(TextLayer, AWordReachingOverTheNextEndsWhereItBegins) {
    support::TempDir dir;
    folvane::ocr::Box line{100, 100, 1040, 160};
    folvane::ocr::PageText text{
        1200,
        1000,
        {word("Hello", 100, 110, 500, 150, line), word("world", 420, 110, 720, 150, line),
         word("能找到", 760, 110, 1040, 150, line), word("条款。", 944, 105, 1040, 150, line)}};
    std::string pdf = dir / "overlap.pdf";
    writeTextPage(pdf, text, {0, 0, 0.5f});
    EXPECT_EQ(plainText(pdf), "Hello world 能找到条款。");
    auto words = support::PdfWords(pdf);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_LE(words[0].xMax, words[1].xMin + 0.5);
    EXPECT_NEAR(words[2].xMin, 760 * 0.5, 0.5);
    EXPECT_NEAR(words[2].xMax, 1040 * 0.5, 0.5);
}

TEST(TextLayer, LinesStayApartAndCharactersBeyondTheBasicPlaneSurvive) {
    support::TempDir dir;
    folvane::ocr::PageText text{1000,
                                400,
                                {word("𠀀字", 0, 0, 200, 50, {0, 0, 200, 50}),
                                 word("bad\xff", 0, 200, 200, 250, {0, 200, 200, 250})}};
    std::string pdf = dir / "planes.pdf";
    writeTextPage(pdf, text, {0, 0, 0.5f});
    EXPECT_TRUE(support::QpdfCheck(pdf));
    EXPECT_EQ(plainText(pdf), "𠀀字\nbad\xEF\xBF\xBD");
}

TEST(TextLayer, FontIsEmbeddedAndDrawsNothing) {
    support::TempDir dir;
    folvane::ocr::Box line{0, 0, 400, 100};
    folvane::ocr::PageText text{400, 400, {word("invisible", 0, 0, 400, 100, line)}};
    std::string pdf = dir / "font.pdf";
    writeTextPage(pdf, text, {0, 0, 1}, 400, 400);
    support::RunResult fonts = support::RunProgram({"pdffonts", pdf});
    EXPECT_EQ(fonts.exitCode, 0);
    // Embedded, whole (no subset prefix), with a Unicode map.
    EXPECT_NE(fonts.out.find("CID TrueType      Identity-H       yes no  yes"), std::string::npos)
        << fonts.out;
    // Poppler renders with FreeType: a font it could not read would be reported on stderr.
    support::RunResult render =
        support::RunProgram({"pdftoppm", "-r", "36", "-png", pdf, dir / "page"});
    EXPECT_EQ(render.exitCode, 0);
    EXPECT_EQ(render.err, "");
    support::Picture page = support::RenderPage(pdf);
    ASSERT_GT(page.samples.size(), 0u);
    for (unsigned char sample : page.samples) {
        ASSERT_EQ(sample, 255);
    }
}

TEST(TextLayer, NoWordsNoContent) {
    folvane::pdfw::TextEncoding encoding;
    folvane::ocr::PageText empty{100, 100, {}};
    EXPECT_EQ(folvane::pdfw::textLayerContent(empty, {0, 0, 1}, encoding, "/FT"), "");
    // A word without extent is left out rather than drawn with a singular matrix.
    folvane::ocr::PageText flat{100, 100, {word("x", 10, 10, 10, 10, {10, 10, 10, 10})}};
    EXPECT_EQ(folvane::pdfw::textLayerContent(flat, {0, 0, 1}, encoding, "/FT"), "");
}

TEST(TextEncoding, OtherPlanesGetTheSurrogateCodesUntilTheyRunOut) {
    folvane::pdfw::TextEncoding encoding;
    std::size_t count = 0;
    EXPECT_EQ(encoding.encode("A中", count), "00414E2D");
    EXPECT_EQ(count, 2u);
    // 2048 codes for characters beyond the Basic Multilingual Plane, then U+FFFD.
    std::string last;
    for (char32_t c = 0x20000; c < 0x20000 + 2049; ++c) {
        std::string utf8 = {
            static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
            static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        last = encoding.encode(utf8, count);
        if (c == 0x20000) {
            EXPECT_EQ(last, "D800");
        }
    }
    EXPECT_EQ(last, "FFFD");
    std::string cmap = encoding.toUnicodeCMap();
    EXPECT_NE(cmap.find("<D800><D840DC00>"), std::string::npos);
    EXPECT_NE(cmap.find("<DFFF><D841DFFF>"), std::string::npos);
}

TEST(TextEncoding, MalformedUtf8BecomesReplacementCharacters) {
    using folvane::pdfw::decodeUtf8;
    EXPECT_EQ(decodeUtf8("a\x80"), U"a\uFFFD");
    EXPECT_EQ(decodeUtf8("\xE4\xB8"), U"\uFFFD\uFFFD");           // cut short
    EXPECT_EQ(decodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");           // overlong
    EXPECT_EQ(decodeUtf8("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD"); // a surrogate
    EXPECT_EQ(decodeUtf8("\xF4\x90\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD");
}

} // namespace
