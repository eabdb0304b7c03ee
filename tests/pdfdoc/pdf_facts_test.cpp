// Facts of existing PDFs as the window's list uses them: pages, sizes, turns, text, passwords,
// and the refusals of files that are not what they claim.
#include <gtest/gtest.h>

#include "pdfdoc/PdfFacts.h"
#include "tests/support/Files.h"
#include "tests/support/TextPdf.h"

namespace {

using folvane::pdfdoc::PdfFailure;
using folvane::pdfdoc::readPdfFacts;

TEST(PdfFacts, PagesSizesTurnsAndText) {
    support::TempDir dir;
    const std::string path = dir / "three.pdf";
    support::WriteText(
        path, support::TextPdf({{595, 842, 0, "Hello"}, {842, 595, 90, "Sideways"}, {200, 300}}));

    const auto whole = readPdfFacts(path);
    EXPECT_EQ(whole.failure, PdfFailure::None);
    EXPECT_EQ(whole.pages, 3);
    EXPECT_FALSE(whole.encrypted);

    const auto first = readPdfFacts(path, "", 1);
    EXPECT_DOUBLE_EQ(first.page.width, 595);
    EXPECT_DOUBLE_EQ(first.page.height, 842);
    EXPECT_EQ(first.page.rotation, 0);
    EXPECT_TRUE(first.page.hasText);

    // A page turned by its own /Rotate is as wide as it shows.
    const auto second = readPdfFacts(path, "", 2);
    EXPECT_EQ(second.page.rotation, 90);
    EXPECT_DOUBLE_EQ(second.page.width, 595);
    EXPECT_DOUBLE_EQ(second.page.height, 842);

    EXPECT_FALSE(readPdfFacts(path, "", 3).page.hasText);
    EXPECT_EQ(readPdfFacts(path, "", 4).failure, PdfFailure::NoSuchPage);
    EXPECT_EQ(readPdfFacts(path, "", -1).failure, PdfFailure::NoSuchPage);
}

TEST(PdfFacts, Passwords) {
    support::TempDir dir;
    const std::string plain = dir / "plain.pdf";
    const std::string locked = dir / "locked.pdf";
    const std::string ownerOnly = dir / "owner.pdf";
    support::WriteText(plain, support::NumberedPdf(2));
    ASSERT_TRUE(support::EncryptPdf(plain, locked, "open sesame", "owner"));
    ASSERT_TRUE(support::EncryptPdf(plain, ownerOnly, "", "owner"));

    EXPECT_TRUE(folvane::pdfdoc::needsPassword(locked));
    EXPECT_EQ(readPdfFacts(locked).failure, PdfFailure::NeedsPassword);
    EXPECT_EQ(readPdfFacts(locked, "wrong").failure, PdfFailure::WrongPassword);
    EXPECT_FALSE(folvane::pdfdoc::passwordOpens(locked, "wrong"));
    EXPECT_TRUE(folvane::pdfdoc::passwordOpens(locked, "open sesame"));
    const auto opened = readPdfFacts(locked, "open sesame", 2);
    EXPECT_EQ(opened.failure, PdfFailure::None);
    EXPECT_EQ(opened.pages, 2);
    EXPECT_TRUE(opened.encrypted);
    EXPECT_TRUE(opened.page.hasText);

    // An owner password alone restricts what a viewer allows, not who opens the file.
    EXPECT_FALSE(folvane::pdfdoc::needsPassword(ownerOnly));
    EXPECT_EQ(readPdfFacts(ownerOnly).pages, 2);
    EXPECT_TRUE(readPdfFacts(ownerOnly).encrypted);
    EXPECT_TRUE(folvane::pdfdoc::passwordOpens(plain, "anything"));
}

TEST(PdfFacts, UnreadableFilesAreRefusedWithTheirReason) {
    support::TempDir dir;
    const auto missing = readPdfFacts(dir / "missing.pdf");
    EXPECT_EQ(missing.failure, PdfFailure::CannotOpen);
    EXPECT_FALSE(missing.detail.empty());

    const std::string text = dir / "text.pdf";
    support::WriteText(text, "not a PDF at all\n");
    EXPECT_EQ(readPdfFacts(text).failure, PdfFailure::Damaged);

    const std::string empty = dir / "empty.pdf";
    support::WriteText(empty, "");
    EXPECT_EQ(readPdfFacts(empty).failure, PdfFailure::Damaged);

    // Cut in the middle of its second page: what is left still has to be refused or read, never
    // crash or read past its end.
    const std::string whole = support::NumberedPdf(3);
    const std::string cut = dir / "cut.pdf";
    support::WriteText(cut, whole.substr(0, whole.size() / 2));
    const auto cutFacts = readPdfFacts(cut, "", 1);
    EXPECT_TRUE(cutFacts.failure == PdfFailure::Damaged || cutFacts.failure == PdfFailure::None);
}

TEST(PdfFacts, AClaimedHugePageCountIsNotBelieved) {
    support::TempDir dir;
    std::string file = support::NumberedPdf(2);
    const std::string claim = "/Count 2";
    file.replace(file.find(claim), claim.size(), "/Count 1000000");
    const std::string path = dir / "claims.pdf";
    support::WriteText(path, file);
    const auto facts = readPdfFacts(path);
    // Either the claim is seen through or the file is refused; never a million rows.
    if (facts.failure == PdfFailure::None) {
        EXPECT_LE(facts.pages, folvane::pdfdoc::kMaxPdfPages);
    } else {
        EXPECT_TRUE(facts.failure == PdfFailure::TooManyPages ||
                    facts.failure == PdfFailure::Damaged);
    }
}

} // namespace
