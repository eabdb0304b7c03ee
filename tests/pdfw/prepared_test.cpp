// Prepared images and what the writer does with them: references between an image's own
// objects, shared resources written once per document, what a page carries besides its
// images.
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "pdfw/core/Digest.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/document/Document.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"

namespace {

using namespace support;

folvane::pdfw::Buffer bytes(const std::string &text) {
    folvane::pdfw::Buffer buffer(folvane::pdfw::MemoryProcs{}, text.size(), "test");
    std::memcpy(buffer.data(), text.data(), text.size());
    return buffer;
}

std::shared_ptr<const folvane::pdfw::SharedResource> profile(const std::string &content) {
    auto resource = std::make_shared<folvane::pdfw::SharedResource>();
    resource->key = "icc:" + folvane::pdfw::sha256Hex(content.data(), content.size());
    resource->objects.push_back(
        folvane::pdfw::streamObject("/N 1/Alternate/DeviceGray", bytes(content)));
    return resource;
}

// A 1 x 1 grey image using `colorSpace` (its shared resource 0) when given.
folvane::pdfw::PreparedImage
greyPixel(std::shared_ptr<const folvane::pdfw::SharedResource> colorSpace = {}) {
    folvane::pdfw::PreparedImage image;
    image.width = 1;
    image.height = 1;
    folvane::pdfw::ObjectText dict =
        "/Type/XObject/Subtype/Image/Width 1/Height 1/BitsPerComponent 8";
    if (colorSpace) {
        dict += "/ColorSpace[/ICCBased ";
        dict += folvane::pdfw::ObjectRef::shared(0);
        dict += "]";
        image.group.shared.push_back(std::move(colorSpace));
    } else {
        dict += "/ColorSpace/DeviceGray";
    }
    image.group.objects.push_back(folvane::pdfw::streamObject(std::move(dict), bytes("\x80")));
    return image;
}

// The numbers that follow each occurrence of `prefix` in `text`.
std::vector<int> numbersAfter(const std::string &text, const std::string &prefix) {
    std::vector<int> found;
    for (std::size_t at = text.find(prefix); at != std::string::npos;
         at = text.find(prefix, at + 1)) {
        found.push_back(std::atoi(text.c_str() + at + prefix.size()));
    }
    return found;
}

// The number of the object whose text holds `marker`, 0 when none does.
int objectHolding(const std::string &text, const std::string &marker) {
    std::size_t at = text.find(marker);
    std::size_t head = at == std::string::npos ? at : text.rfind(" 0 obj\n", at);
    if (head == std::string::npos) {
        return 0;
    }
    std::size_t line = text.rfind('\n', head);
    return std::atoi(text.c_str() + (line == std::string::npos ? 0 : line + 1));
}

class PreparedTest : public ::testing::Test {
protected:
    void SetUp() override {
        folvane::pdfw::Problem reason;
        auto output = folvane::pdfw::OutputFile::create(out, folvane::pdfw::MemoryProcs{}, reason);
        ASSERT_TRUE(output) << folvane::pdfw::describe(reason);
        doc = std::make_unique<folvane::pdfw::Document>(std::move(output), 4,
                                                        folvane::pdfw::MemoryProcs{});
    }

    void placeOnPage(int handle) {
        doc->beginPage(100, 100);
        doc->placeImage(handle, 0, 0, 1);
        doc->endPage();
    }

    std::string finish() {
        doc->close();
        EXPECT_TRUE(QpdfCheck(out));
        Bytes written = ReadFile(out);
        return std::string(written.begin(), written.end());
    }

    TempDir dir;
    std::string out = dir / "out.pdf";
    std::unique_ptr<folvane::pdfw::Document> doc;
};

TEST_F(PreparedTest, SharedResourcesAreWrittenOncePerKey) {
    auto srgb = profile("profile one");
    placeOnPage(doc->addImage(greyPixel(srgb)));
    placeOnPage(doc->addImage(greyPixel(profile("profile one")))); // same bytes, another copy
    placeOnPage(doc->addImage(greyPixel(profile("profile two"))));
    placeOnPage(doc->addImage(greyPixel()));
    std::string pdf = finish();
    auto used = numbersAfter(pdf, "/ICCBased ");
    ASSERT_EQ(used.size(), 3u);
    EXPECT_EQ(used[0], used[1]);
    EXPECT_NE(used[0], used[2]);
    EXPECT_EQ(numbersAfter(pdf, "/N 1/Alternate/DeviceGray/Length").size(), 2u);
    EXPECT_EQ(PageCount(out), 4);
}

TEST_F(PreparedTest, AnImageRefersToItsOwnObjects) {
    folvane::pdfw::PreparedImage image;
    image.width = 1;
    image.height = 1;
    image.group.objects.push_back(folvane::pdfw::streamObject(
        "/Type/XObject/Subtype/Image/Width 1/Height 1/ColorSpace/DeviceGray/BitsPerComponent 8",
        bytes("\xff")));
    folvane::pdfw::ObjectText dict =
        "/Type/XObject/Subtype/Image/Width 1/Height 1/ColorSpace/DeviceRGB"
        "/BitsPerComponent 8/SMask ";
    dict += folvane::pdfw::ObjectRef::own(0);
    image.group.objects.push_back(folvane::pdfw::streamObject(std::move(dict), bytes("abc")));
    image.xobject = 1;
    placeOnPage(doc->addImage(std::move(image)));
    std::string pdf = finish();
    int mask = objectHolding(pdf, "/ColorSpace/DeviceGray");
    int picture = objectHolding(pdf, "/ColorSpace/DeviceRGB");
    ASSERT_NE(mask, 0);
    EXPECT_EQ(numbersAfter(pdf, "/SMask "), std::vector<int>{mask});
    // The page draws the image, not its mask.
    EXPECT_EQ(numbersAfter(pdf, "cm /Im"), std::vector<int>{picture});
}

TEST_F(PreparedTest, ABadReferenceFailsBeforeAnythingIsWritten) {
    folvane::pdfw::PreparedImage image = greyPixel();
    image.group.objects[0].dictionary += "/SMask ";
    image.group.objects[0].dictionary += folvane::pdfw::ObjectRef::own(3);
    std::uint64_t before = ReadFile(out).size();
    try {
        doc->addImage(std::move(image));
        FAIL() << "a reference to a missing object was written";
    } catch (const folvane::pdfw::PdfwError &error) {
        EXPECT_EQ(error.type(), PDFW_RUNTIME_ERROR);
    }
    folvane::pdfw::PreparedImage dangling = greyPixel();
    dangling.group.objects[0].dictionary += folvane::pdfw::ObjectRef::shared(0);
    EXPECT_THROW(doc->addImage(std::move(dangling)), folvane::pdfw::PdfwError);
    EXPECT_EQ(ReadFile(out).size(), before);
    // The document is still whole.
    placeOnPage(doc->addImage(greyPixel()));
    finish();
}

TEST_F(PreparedTest, APageCarriesExtraContentAndResources) {
    auto font = std::make_shared<folvane::pdfw::SharedResource>();
    font->key = "font:plain";
    font->objects.push_back({"<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>", {}, false});
    int handle = doc->addImage(greyPixel());
    for (int page = 0; page < 2; ++page) {
        doc->beginPage(200, 100);
        doc->placeImage(handle, 0, 0, 1);
        doc->addPageContent("BT /F1 12 Tf 3 Tr 10 10 Td (hidden) Tj ET\n");
        doc->addPageResource("Font", "F1", doc->sharedObject(*font));
        doc->endPage();
    }
    std::string pdf = finish();
    auto fonts = numbersAfter(pdf, "/Font<</F1 ");
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(fonts[0], fonts[1]);
    EXPECT_EQ(objectHolding(pdf, "/BaseFont/Helvetica"), fonts[0]);
    EXPECT_NE(PdfText(out).find("hidden"), std::string::npos);
    EXPECT_THROW(doc->addPageContent("x"), folvane::pdfw::PdfwError); // no page open (and closed)
}

TEST(Digest, KnownSha256Values) {
    EXPECT_EQ(folvane::pdfw::sha256Hex("", 0),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(folvane::pdfw::sha256Hex("abc", 3),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // 56 bytes: the length no longer fits the last block.
    std::string two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    EXPECT_EQ(folvane::pdfw::sha256Hex(two.data(), two.size()),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    std::string million(1000000, 'a');
    EXPECT_EQ(folvane::pdfw::sha256Hex(million.data(), million.size()),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

} // namespace
