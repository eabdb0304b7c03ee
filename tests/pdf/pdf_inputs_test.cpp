// Pages of existing PDF documents in the page loop: copied as objects among photos, turned and
// cropped, and every damaged, encrypted or hostile document refused with its reason, leaving no
// output and an existing one as it was.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PageGeneration.h"
#include "pdf/PdfInputs.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/PdfMaker.h"
#include "tests/support/Process.h"

namespace {

using folvane::GenerateOptions;
using folvane::Problem;
using namespace support;

std::string BytesText(const std::string &path) {
    Bytes bytes = ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

std::size_t Occurrences(const std::string &text, const std::string &what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// The problem generatePdf gives for the inputs, checking that the output it was asked to
// replace is left as it was and that nothing else appears beside it.
Problem Refusal(const TempDir &dir, const std::vector<std::string> &inputs,
                const GenerateOptions &options = {}) {
    const std::string output = dir / "out.pdf";
    WriteText(output, "old output");
    const std::set<std::string> before = Listing(dir.Path());
    Problem problem;
    try {
        folvane::generatePdf(output, inputs, options);
        ADD_FAILURE() << "written";
    } catch (const folvane::GenerateError &error) {
        problem = error.problem;
        EXPECT_EQ(error.path, inputs.back());
        EXPECT_EQ(error.index, inputs.size() - 1);
    }
    EXPECT_EQ(ReadText(output), "old output");
    EXPECT_EQ(Listing(dir.Path()), before);
    return problem;
}

TEST(PdfInputs, TextPdfBetweenPhotosKeepsItsPagesAsTheyAre) {
    TempDir dir;
    const std::string source = dir / "contract.pdf";
    WriteTextPdf(source, 10);
    std::vector<std::string> inputs;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"}) {
        WriteFile(dir / name, MakeJpeg(Pattern(64, 48, 3)));
    }
    inputs = {dir / "a.jpg", source, dir / "b.jpg", dir / "c.jpg"};
    const std::string output = dir / "out.pdf";
    folvane::generatePdf(output, inputs, GenerateOptions{});

    ASSERT_TRUE(QpdfCheck(output));
    ASSERT_EQ(PageCount(output), 13);
    for (int page = 1; page <= 10; ++page) {
        EXPECT_EQ(PdfText(output, page + 1), PdfText(source, page)) << "page " << page;
        EXPECT_NE(PdfText(output, page + 1).find(TextPdfLine(page)), std::string::npos);
    }
    for (const PdfImage &image : ListImages(output)) {
        EXPECT_TRUE(image.page == 1 || image.page >= 12) << "an image on page " << image.page;
    }
    // The font all ten pages share went in once.
    EXPECT_EQ(Occurrences(BytesText(output), "/BaseFont /Helvetica"), 1u);
}

TEST(PdfInputs, RowsPickPagesAndTurnAndCropThem) {
    TempDir dir;
    const std::string source = dir / "s.pdf";
    WriteTextPdf(source, 3);
    GenerateOptions options;
    options.rowPages = {{0, 3}, {1, 1}};
    options.pageEdits[1].quarterTurns = 1;
    // The page turned a quarter is 792 x 612 points: keep its left half.
    options.pageEdits[1].crop = folvane::CropRect{0, 0, 396, 612};
    const std::string output = dir / "out.pdf";
    folvane::generatePdf(output, {source, source}, options);

    ASSERT_TRUE(QpdfCheck(output));
    ASSERT_EQ(PageCount(output), 2);
    EXPECT_NE(PdfText(output, 1).find(TextPdfLine(3)), std::string::npos);
    const std::string bytes = BytesText(output);
    EXPECT_NE(bytes.find("/Rotate 90"), std::string::npos);
    // Turned clockwise, the upright page's bottom edge is on the left: the left half of the
    // turned page is the bottom half of the upright one.
    EXPECT_NE(bytes.find("/CropBox[0 0 612 396]"), std::string::npos);
    // Both rows read the same open document: its font went in once.
    EXPECT_EQ(Occurrences(bytes, "/BaseFont /Helvetica"), 1u);

    options.rowPages = {{0, 4}};
    TempDir other;
    WriteTextPdf(other / "s.pdf", 3);
    Problem missing = Refusal(other, {other / "s.pdf"}, options);
    EXPECT_EQ(missing.kind, Problem::Kind::NoSuchPage);
    EXPECT_EQ(missing.numbers[1], 3);
}

TEST(PdfInputs, SameInputsGiveTheSameBytes) {
    TempDir dir;
    WriteTextPdf(dir / "s.pdf", 4);
    WriteFile(dir / "a.jpg", MakeJpeg(Pattern(32, 32, 3)));
    ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    folvane::generatePdf(dir / "1.pdf", {dir / "s.pdf", dir / "a.jpg"}, GenerateOptions{});
    folvane::generatePdf(dir / "2.pdf", {dir / "s.pdf", dir / "a.jpg"}, GenerateOptions{});
    ::unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(ReadFile(dir / "1.pdf"), ReadFile(dir / "2.pdf"));
}

TEST(PdfInputs, EncryptedDocumentsOpenWithTheirPasswordOnly) {
    TempDir dir;
    WriteTextPdf(dir / "plain.pdf", 2);
    const std::string locked = dir / "locked.pdf";
    const std::string ownerOnly = dir / "owner.pdf";
    ASSERT_EQ(RunProgram({"qpdf", "--encrypt", "open-me", "owner-pw", "256", "--",
                          dir / "plain.pdf", locked})
                  .exitCode,
              0);
    ASSERT_EQ(RunProgram({"qpdf", "--encrypt", "", "owner-pw", "256", "--print=none", "--",
                          dir / "plain.pdf", ownerOnly})
                  .exitCode,
              0);
    TempDir out;
    EXPECT_EQ(Refusal(out, {locked}).kind, Problem::Kind::PdfPasswordNeeded);
    GenerateOptions wrong;
    wrong.pdfPasswords[locked] = "not-it";
    EXPECT_EQ(Refusal(out, {locked}, wrong).kind, Problem::Kind::PdfWrongPassword);

    GenerateOptions right;
    right.pdfPasswords[locked] = "open-me";
    folvane::generatePdf(out / "both.pdf", {locked, ownerOnly}, right);
    ASSERT_TRUE(QpdfCheck(out / "both.pdf"));
    ASSERT_EQ(PageCount(out / "both.pdf"), 4);
    EXPECT_NE(PdfText(out / "both.pdf", 2).find(TextPdfLine(2)), std::string::npos);
    EXPECT_NE(PdfText(out / "both.pdf", 3).find(TextPdfLine(1)), std::string::npos);
}

TEST(PdfInputs, DamagedDocumentsAreRecoveredWithANoteOrRefusedWithQpdfsReason) {
    TempDir dir;
    // Cross-reference offsets all wrong: qpdf finds the objects by scanning the file.
    WriteTextPdf(dir / "good.pdf", 2);
    std::string text = BytesText(dir / "good.pdf");
    for (std::size_t at = text.find(" 00000 n"); at != std::string::npos;
         at = text.find(" 00000 n", at + 1)) {
        text[at - 1] = text[at - 1] == '9' ? '0' : static_cast<char>(text[at - 1] + 1);
    }
    WriteFile(dir / "shifted.pdf", Bytes(text.begin(), text.end()));
    std::vector<folvane::PageNote> notes;
    folvane::GenerateEvents events;
    events.onNote = [&notes](const folvane::PageNote &note) { notes.push_back(note); };
    folvane::generatePdf(dir / "out.pdf", {dir / "shifted.pdf"}, GenerateOptions{}, events);
    EXPECT_EQ(PageCount(dir / "out.pdf"), 2);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, folvane::PageNote::Kind::PdfRecovered);
    EXPECT_EQ(notes[0].path, dir / "shifted.pdf");
    EXPECT_FALSE(notes[0].detail.empty());

    TempDir bad;
    WriteText(bad / "junk.pdf", "%PDF-1.4\nnothing of a PDF here\n");
    const Problem junk = Refusal(bad, {bad / "junk.pdf"});
    EXPECT_EQ(junk.kind, Problem::Kind::PdfDamaged);
    EXPECT_FALSE(junk.detail.empty());
    EXPECT_EQ(Refusal(bad, {bad / "missing.pdf"}).kind, Problem::Kind::CannotOpen);
}

TEST(PdfInputs, HostileDocumentsEndQuickly) {
    TempDir dir;
    // A page tree whose node lists itself among its kids.
    WritePdfObjects(dir / "loop.pdf",
                    {"<</Type/Catalog/Pages 2 0 R>>", "<</Type/Pages/Kids[2 0 R 3 0 R]/Count 2>>",
                     "<</Type/Page/Parent 2 0 R/MediaBox[0 0 100 100]>>"});
    EXPECT_EQ(Refusal(dir, {dir / "loop.pdf"}).kind, Problem::Kind::PdfDamaged);

    // An object stream that swells to 40 MB from a few kilobytes.
    WriteObjectStreamPdf(dir / "swell.pdf", 40u << 20);
    const Problem swell = Refusal(dir, {dir / "swell.pdf"});
    EXPECT_EQ(swell.kind, Problem::Kind::PdfDamaged);
    EXPECT_NE(swell.detail.find("object stream"), std::string::npos);

    // An ordinary object stream still reads.
    WriteObjectStreamPdf(dir / "fine.pdf", 4096);
    folvane::generatePdf(dir / "fine-out.pdf", {dir / "fine.pdf"}, GenerateOptions{});
    EXPECT_TRUE(QpdfCheck(dir / "fine-out.pdf"));

    // A claimed count of a million pages over two real ones, resources that refer to
    // themselves and objects that refer to each other: the two pages, copied as they are.
    WritePdfObjects(dir / "claims.pdf",
                    {"<</Type/Catalog/Pages 2 0 R>>",
                     "<</Type/Pages/Kids[3 0 R 3 0 R]/Count 1000000>>",
                     "<</Type/Page/Parent 2 0 R/MediaBox[0 0 100 100]/Resources 4 0 R>>",
                     "<</Self 4 0 R/Other 5 0 R/Font<<>>>>", "[4 0 R 5 0 R]"});
    EXPECT_EQ(Refusal(dir, {dir / "claims.pdf"}).kind, Problem::Kind::PdfDamaged);
    WritePdfObjects(dir / "count.pdf",
                    {"<</Type/Catalog/Pages 2 0 R>>",
                     "<</Type/Pages/Kids[3 0 R 6 0 R]/Count 1000000>>",
                     "<</Type/Page/Parent 2 0 R/MediaBox[0 0 100 100]/Resources 4 0 R>>",
                     "<</Self 4 0 R/Other 5 0 R/Font<<>>>>", "[4 0 R 5 0 R]",
                     "<</Type/Page/Parent 2 0 R/MediaBox[0 0 100 100]/Resources 4 0 R>>"});
    folvane::generatePdf(dir / "count-out.pdf", {dir / "count.pdf"}, GenerateOptions{});
    EXPECT_TRUE(QpdfCheck(dir / "count-out.pdf"));
    EXPECT_EQ(PageCount(dir / "count-out.pdf"), 2);
}

} // namespace
