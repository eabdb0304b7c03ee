// The document's properties: text strings as readers decode them (PDFDocEncoding or UTF-16BE),
// the Info dictionary and the XMP stream with the same values and dates, and what the engine
// refuses whoever calls it.

#include <string>

#include <gtest/gtest.h>

#include "pdfw/document/DocumentMetadata.h"
#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"

namespace {

using namespace support;
using pdfw_test::Engine;

TEST(PdfTextString, PdfDocEncodingWhereItReachesUtf16BeyondIt) {
    EXPECT_EQ(folvane::pdfw::pdfTextString("Plain (1) \\ end"), "(Plain \\(1\\) \\\\ end)");
    EXPECT_EQ(folvane::pdfw::pdfTextString("Zoë"), "(Zo\\353)");
    EXPECT_EQ(folvane::pdfw::pdfTextString("工资"), "<FEFF5DE58D44>");
    // A soft hyphen has no code in PDFDocEncoding; a character beyond the BMP is a pair.
    EXPECT_EQ(folvane::pdfw::pdfTextString("a\u00ADb"), "<FEFF006100AD0062>");
    EXPECT_EQ(folvane::pdfw::pdfTextString("😀"), "<FEFFD83DDE00>");
    EXPECT_EQ(folvane::pdfw::pdfTextString(""), "()");
}

TEST(Xmp, EscapesMarkupAndLeavesOutWhatIsNotSet) {
    folvane::pdfw::DocumentInfo info;
    info.title = "<a & \"b\">";
    const std::string packet = folvane::pdfw::xmpPacket(info, 0);
    EXPECT_NE(packet.find("&lt;a &amp; &quot;b&quot;&gt;"), std::string::npos) << packet;
    EXPECT_EQ(packet.find("dc:creator"), std::string::npos);
    EXPECT_NE(packet.find("<xmp:CreateDate>1970-01-01T00:00:00Z</xmp:CreateDate>"),
              std::string::npos);
}

class DocumentInfoTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(dir / "page.jpg", MakeJpeg(Pattern(32, 32, 3))); }
    bool write(const std::string &name) {
        return engine.writeDocument(dir / name, {{dir / "page.jpg", 32, 32}});
    }
    TempDir dir;
    Engine engine;
};

TEST_F(DocumentInfoTest, InfoAndXmpHoldTheSameValuesAndTheCatalogNamesTheStream) {
    setenv("SOURCE_DATE_EPOCH", "1767225600", 1);
    ASSERT_EQ(pdfw_set_parameter(engine.ctx(), "title", "季度报告"), 0);
    ASSERT_EQ(pdfw_set_parameter(engine.ctx(), "keywords", "a, b"), 0);
    ASSERT_TRUE(write("out.pdf")) << engine.lastMessage();
    ASSERT_TRUE(write("again.pdf")) << engine.lastMessage(); // the properties stay
    unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(ReadFile(dir / "out.pdf"), ReadFile(dir / "again.pdf"));
    ASSERT_TRUE(QpdfCheck(dir / "out.pdf"));
    const std::string qdf = Qdf(dir / "out.pdf");
    EXPECT_NE(qdf.find("/Title <feff5b635ea662a5544a>"), std::string::npos) << qdf;
    EXPECT_NE(qdf.find("/Keywords (a, b)"), std::string::npos);
    EXPECT_NE(qdf.find("/CreationDate (D:20260101000000Z)"), std::string::npos);
    EXPECT_NE(qdf.find("/Metadata "), std::string::npos);
    // Uncompressed in the file itself, not only in qpdf's form of it.
    const Bytes pdf = ReadFile(dir / "out.pdf");
    const std::string text(pdf.begin(), pdf.end());
    const std::size_t xmp = text.find("/Type/Metadata/Subtype/XML");
    ASSERT_NE(xmp, std::string::npos);
    EXPECT_EQ(text.substr(xmp, 80).find("/Filter"), std::string::npos);
    EXPECT_NE(text.find("<rdf:li xml:lang=\"x-default\">季度报告</rdf:li>"), std::string::npos);
    EXPECT_NE(text.find("<xmp:ModifyDate>2026-01-01T00:00:00Z</xmp:ModifyDate>"),
              std::string::npos);
}

TEST_F(DocumentInfoTest, WithoutPropertiesTheFileHasNoMetadataStream) {
    ASSERT_TRUE(write("out.pdf"));
    const std::string qdf = Qdf(dir / "out.pdf");
    EXPECT_EQ(qdf.find("/Metadata"), std::string::npos);
    EXPECT_NE(qdf.find("/Producer (Folvane PDF engine)"), std::string::npos);
}

TEST_F(DocumentInfoTest, RefusesTextReadersWouldShowAsGarbage) {
    const std::string tooLong(1001, 'x');
    for (const std::string &bad :
         {tooLong, std::string("a\nb"), std::string("\x7f"), std::string("\xc2\x85"),
          std::string("caf\xe9"), std::string("\xc0\xaf"), std::string("\xed\xa0\x80"),
          std::string("\xf4\x90\x80\x80"), std::string("\xe4\xb8")}) {
        EXPECT_EQ(pdfw_set_parameter(engine.ctx(), "subject", bad.c_str()), -1);
        EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    }
    EXPECT_NE(engine.lastMessage().find("subject is not valid UTF-8"), std::string::npos)
        << engine.lastMessage();
    EXPECT_EQ(pdfw_set_parameter(engine.ctx(), "author", std::string(1000, 'x').c_str()), 0);
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "out.pdf").c_str()), 1);
    EXPECT_EQ(pdfw_set_parameter(engine.ctx(), "title", "late"), -1);
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR);
}

} // namespace
