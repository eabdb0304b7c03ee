// What the page loop asks the engine besides drawing: an image's upright size and notes, the
// pages of a file; where a linked target is written; temporary files removed on demand.
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using pdfw_test::Engine;
using Names = std::set<std::string>;

class PageFactsTest : public ::testing::Test {
protected:
    std::string jpeg(const std::string &name, int width, int height, int orientation = 0) {
        JpegOptions options;
        options.exifOrientation = orientation;
        WriteFile(dir / name, MakeJpeg(Pattern(width, height, 3), options));
        return dir / name;
    }
    // A TIFF of `pages` pages of 16 x 8 grey pixels.
    std::string tiff(const std::string &name, int pages, int orientation = 0) {
        TiffPage page = TiffPageOf(Pattern(16, 8, 1));
        page.orientation = static_cast<uint16_t>(orientation);
        WriteTiff(dir / name, std::vector<TiffPage>(static_cast<std::size_t>(pages), page));
        return dir / name;
    }
    Names entries() const { return Listing(dir.Path()); }

    TempDir dir;
    Engine engine;
};

TEST_F(PageFactsTest, ImageSizeIsUprightAndNotesStartEmpty) {
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "out.pdf").c_str()), 1);
    struct Case {
        std::string path;
        float width, height;
    };
    const Case cases[] = {{jpeg("plain.jpg", 40, 30), 40, 30},
                          {jpeg("turned.jpg", 40, 30, 6), 30, 40},
                          {jpeg("mirrored.jpg", 40, 30, 2), 40, 30},
                          {tiff("turned.tif", 1, 8), 8, 16}};
    for (const Case &c : cases) {
        int image = pdfw_load_image(engine.ctx(), "auto", c.path.c_str(), "", 1);
        ASSERT_GT(image, 0) << engine.lastMessage();
        float width = 0;
        float height = 0;
        EXPECT_EQ(pdfw_get_image_size(engine.ctx(), image, &width, &height), 0);
        EXPECT_EQ(width, c.width) << c.path;
        EXPECT_EQ(height, c.height) << c.path;
        EXPECT_EQ(pdfw_get_image_note_count(engine.ctx(), image), 0);
        EXPECT_EQ(pdfw_close_image(engine.ctx(), image), 0);
    }
    EXPECT_EQ(engine.errorCount(), 0);
}

TEST_F(PageFactsTest, FactsOfAHandleNotOpenAreIndexErrors) {
    float width = 0;
    float height = 0;
    EXPECT_EQ(pdfw_get_image_size(engine.ctx(), 1, &width, &height), -1);
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR); // no document yet
    EXPECT_EQ(pdfw_set_parameter(engine.ctx(), "spreads", "sideways"), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "out.pdf").c_str()), 1);
    EXPECT_EQ(pdfw_get_image_size(engine.ctx(), 5, &width, &height), -1);
    EXPECT_EQ(engine.lastType(), PDFW_INDEX_ERROR);
    EXPECT_EQ(pdfw_get_image_note_count(engine.ctx(), 5), -1);
    EXPECT_EQ(engine.lastType(), PDFW_INDEX_ERROR);
    int image = pdfw_load_image(engine.ctx(), "jpeg", jpeg("a.jpg", 8, 8).c_str(), "", 1);
    EXPECT_EQ(pdfw_get_image_size(engine.ctx(), image, nullptr, &height), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    // Only an open book's first page has a second page to give.
    EXPECT_EQ(pdfw_load_facing_page(engine.ctx(), image), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    pdfw_close_image(engine.ctx(), image);
    EXPECT_EQ(pdfw_load_facing_page(engine.ctx(), image), -1);
    EXPECT_EQ(engine.lastType(), PDFW_INDEX_ERROR);
    EXPECT_EQ(pdfw_get_image_note_count(engine.ctx(), image), -1);
    EXPECT_NE(engine.lastMessage().find("is closed"), std::string::npos);
}

TEST_F(PageFactsTest, PagesOfATiffOneForOtherFiles) {
    // No document needs to be open.
    EXPECT_EQ(pdfw_count_pages(engine.ctx(), tiff("one.tif", 1).c_str()), 1);
    EXPECT_EQ(pdfw_count_pages(engine.ctx(), tiff("three.tif", 3).c_str()), 3);
    EXPECT_EQ(pdfw_count_pages(engine.ctx(), jpeg("a.jpg", 8, 8).c_str()), 1);
    WriteText(dir / "text.tif", "hello");
    EXPECT_EQ(pdfw_count_pages(engine.ctx(), (dir / "text.tif").c_str()), 1);
    EXPECT_EQ(engine.errorCount(), 0);

    EXPECT_EQ(pdfw_count_pages(engine.ctx(), (dir / "missing.tif").c_str()), -1);
    EXPECT_EQ(engine.lastType(), PDFW_IO_ERROR);
    EXPECT_NE(engine.lastMessage().find("missing.tif"), std::string::npos);
    WriteFile(dir / "cut.tif", Bytes{'I', 'I', 42, 0, 0xff, 0xff});
    EXPECT_EQ(pdfw_count_pages(engine.ctx(), (dir / "cut.tif").c_str()), -1);
    EXPECT_EQ(engine.lastType(), PDFW_SYNTAX_ERROR);
    EXPECT_EQ(pdfw_count_pages(engine.ctx(), ""), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_EQ(pdfw_count_pages(engine.ctx(), nullptr), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
}

TEST_F(PageFactsTest, ALinkedTargetIsWrittenThroughAndTheLinkStays) {
    namespace fs = std::filesystem;
    const std::string image = jpeg("a.jpg", 8, 8);
    fs::create_directory(dir / "real");
    WriteText(dir / "real/doc.pdf", "old");
    fs::create_symlink("real/doc.pdf", dir / "relative.pdf");
    fs::create_symlink("relative.pdf", dir / "chain.pdf");
    fs::create_symlink((dir / "real/new.pdf"), dir / "dangling.pdf");
    for (const char *name : {"relative.pdf", "chain.pdf", "dangling.pdf"}) {
        ASSERT_TRUE(engine.writeDocument(dir / name, {{image, 595, 842}}))
            << name << ": " << engine.lastMessage();
        EXPECT_TRUE(fs::is_symlink(dir / name)) << name;
    }
    EXPECT_TRUE(QpdfCheck(dir / "real/doc.pdf"));
    EXPECT_TRUE(QpdfCheck(dir / "real/new.pdf"));
    EXPECT_EQ(entries().size(), 5u); // a.jpg, real, and the three links

    fs::create_symlink("loop-b.pdf", dir / "loop-a.pdf");
    fs::create_symlink("loop-a.pdf", dir / "loop-b.pdf");
    EXPECT_EQ(pdfw_open_file(engine.ctx(), (dir / "loop-a.pdf").c_str()), -1);
    EXPECT_NE(std::string(pdfw_get_last_error(engine.ctx())).find("symbolic links"),
              std::string::npos);
}

TEST_F(PageFactsTest, TemporaryFilesCanBeRemovedFromOutside) {
    WriteText(dir / "out.pdf", "old");
    // A file with no name needs no removing; a named one (where the file system makes no file
    // without a name) does.
    setenv("FOLVANE_PDFW_NAMED_TEMPORARY", "1", 1);
    int opened = pdfw_open_file(engine.ctx(), (dir / "out.pdf").c_str());
    unsetenv("FOLVANE_PDFW_NAMED_TEMPORARY");
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(entries().size(), 2u);
    pdfw_remove_temporary_files();
    EXPECT_EQ(entries(), Names{"out.pdf"});
    EXPECT_EQ(ReadText(dir / "out.pdf"), "old");
}

} // namespace
