// The engine's C interface: call order, handles, arguments, error reporting, atomic output
// and reproducible bytes.
#include <csetjmp>
#include <cstdlib>
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

int count(const std::string &haystack, const std::string &needle) {
    int n = 0;
    for (std::size_t at = haystack.find(needle); at != std::string::npos;
         at = haystack.find(needle, at + 1)) {
        ++n;
    }
    return n;
}

class ApiTest : public ::testing::Test {
protected:
    std::string jpeg(const std::string &name, int width = 8, int height = 8) {
        WriteFile(dir / name, MakeJpeg(Pattern(width, height, 3)));
        return dir / name;
    }

    TempDir dir;
    Engine engine;
};

TEST_F(ApiTest, BlankPagesMakeAValidDocument) {
    std::string out = dir / "blank.pdf";
    ASSERT_EQ(pdfw_open_file(engine.ctx(), out.c_str()), 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pdfw_begin_page(engine.ctx(), 595, 842), 0);
        EXPECT_EQ(pdfw_end_page(engine.ctx()), 0);
    }
    EXPECT_EQ(pdfw_close(engine.ctx()), 0);
    EXPECT_EQ(engine.errorCount(), 0);
    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_EQ(PageCount(out), 3);
    std::string pdf = ReadText(out);
    EXPECT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u);
    EXPECT_EQ(count(pdf, "/MediaBox[0 0 595 842]"), 3);
    EXPECT_NE(pdf.find("/Producer("), std::string::npos);
    EXPECT_NE(pdf.find("/CreationDate(D:"), std::string::npos);
    EXPECT_NE(pdf.find("/ID[<"), std::string::npos);
}

TEST_F(ApiTest, CallsOutOfOrderAreRuntimeErrors) {
    pdfw_context *c = engine.ctx();
    EXPECT_EQ(pdfw_begin_page(c, 595, 842), -1);
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR);
    EXPECT_NE(engine.lastMessage().find("pdfw_begin_page"), std::string::npos);
    EXPECT_EQ(pdfw_close(c), -1);
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR);
    EXPECT_EQ(pdfw_load_image(c, "jpeg", jpeg("a.jpg").c_str(), "", 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR);

    std::string out = dir / "order.pdf";
    ASSERT_EQ(pdfw_open_file(c, out.c_str()), 1);
    EXPECT_EQ(pdfw_open_file(c, out.c_str()), -1);
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR);
    EXPECT_EQ(pdfw_set_parameter(c, "compatibility", "1.5"), -1);
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR);
    EXPECT_EQ(pdfw_end_page(c), -1);
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR);
    int image = pdfw_load_image(c, "jpeg", jpeg("b.jpg").c_str(), "", 1);
    EXPECT_GE(image, 1);
    EXPECT_EQ(pdfw_place_image(c, image, 0, 0, 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR);
    ASSERT_EQ(pdfw_begin_page(c, 595, 842), 0);
    EXPECT_EQ(pdfw_begin_page(c, 595, 842), -1);
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR);
    EXPECT_EQ(pdfw_close(c), -1);
    EXPECT_EQ(engine.lastType(), PDFW_RUNTIME_ERROR);
    EXPECT_NE(engine.lastMessage().find("page is still open"), std::string::npos);

    // The refused calls changed nothing: the document still completes.
    int errors = engine.errorCount();
    EXPECT_EQ(pdfw_place_image(c, image, 0, 0, 1), 0);
    EXPECT_EQ(pdfw_end_page(c), 0);
    EXPECT_EQ(pdfw_close(c), 0);
    EXPECT_EQ(engine.errorCount(), errors);
    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_EQ(PageCount(out), 1);
}

TEST_F(ApiTest, BadImageHandlesAreIndexErrors) {
    pdfw_context *c = engine.ctx();
    ASSERT_EQ(pdfw_open_file(c, (dir / "h.pdf").c_str()), 1);
    ASSERT_EQ(pdfw_begin_page(c, 595, 842), 0);
    EXPECT_EQ(pdfw_place_image(c, 7, 0, 0, 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_INDEX_ERROR);
    EXPECT_NE(engine.lastMessage().find("7"), std::string::npos);
    EXPECT_EQ(pdfw_place_image(c, -1, 0, 0, 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_INDEX_ERROR);
    int image = pdfw_load_image(c, "jpeg", jpeg("a.jpg").c_str(), "", 1);
    ASSERT_GE(image, 1);
    EXPECT_EQ(pdfw_close_image(c, image), 0);
    EXPECT_EQ(pdfw_close_image(c, image), -1);
    EXPECT_EQ(engine.lastType(), PDFW_INDEX_ERROR);
    EXPECT_NE(engine.lastMessage().find("closed"), std::string::npos);
    EXPECT_EQ(pdfw_place_image(c, image, 0, 0, 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_INDEX_ERROR);
}

TEST_F(ApiTest, BadArgumentsAreValueTypeAndDivisionErrors) {
    pdfw_context *c = engine.ctx();
    EXPECT_EQ(pdfw_set_parameter(c, "colour", "red"), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_EQ(pdfw_set_parameter(c, "compatibility", "2.0"), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_EQ(pdfw_set_parameter(c, "compatibility", nullptr), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_EQ(pdfw_set_parameter(c, "binding", "C++"), 0);
    EXPECT_EQ(pdfw_open_file(c, ""), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);

    ASSERT_EQ(pdfw_open_file(c, (dir / "v.pdf").c_str()), 1);
    EXPECT_EQ(pdfw_begin_page(c, 0, 842), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_EQ(pdfw_begin_page(c, 595, std::numeric_limits<float>::infinity()), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    ASSERT_EQ(pdfw_begin_page(c, 595, 842), 0);
    std::string image = jpeg("a.jpg");
    EXPECT_EQ(pdfw_load_image(c, "gif", image.c_str(), "", 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_TYPE_ERROR);
    EXPECT_EQ(pdfw_load_image(c, "jpeg", image.c_str(), "mask", 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_EQ(pdfw_load_image(c, "jpeg", image.c_str(), "", 0), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_EQ(pdfw_load_image(c, "jpeg", image.c_str(), "", 2), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    int handle = pdfw_load_image(c, "JPEG", image.c_str(), " ", 1);
    ASSERT_GE(handle, 1);
    EXPECT_EQ(pdfw_place_image(c, handle, 0, 0, 0), -1);
    EXPECT_EQ(engine.lastType(), PDFW_DIVISION_BY_ZERO_ERROR);
    EXPECT_EQ(pdfw_place_image(c, handle, std::numeric_limits<float>::quiet_NaN(), 0, 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
}

TEST_F(ApiTest, UnreadableImagesNameTheFileAndTheReason) {
    pdfw_context *c = engine.ctx();
    ASSERT_EQ(pdfw_open_file(c, (dir / "u.pdf").c_str()), 1);
    std::string missing = dir / "missing.jpg";
    EXPECT_EQ(pdfw_load_image(c, "jpeg", missing.c_str(), "", 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_IO_ERROR);
    EXPECT_NE(engine.lastMessage().find(missing), std::string::npos);
    EXPECT_NE(engine.lastMessage().find("No such file"), std::string::npos);

    std::string notes = dir / "notes.tif";
    WriteFile(notes, Bytes{'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(pdfw_load_image(c, "tiff", notes.c_str(), "", 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_TYPE_ERROR);
    EXPECT_NE(engine.lastMessage().find(notes), std::string::npos);
    EXPECT_NE(engine.lastMessage().find("is not a JPEG, TIFF or PNG file"), std::string::npos);

    std::string empty = dir / "empty.jpg";
    WriteFile(empty, Bytes{});
    EXPECT_EQ(pdfw_load_image(c, "jpeg", empty.c_str(), "", 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_TYPE_ERROR);

    EXPECT_EQ(pdfw_load_image(c, "jpeg", dir.Path().c_str(), "", 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_IO_ERROR);
    EXPECT_NE(engine.lastMessage().find("folder"), std::string::npos);
}

TEST_F(ApiTest, UnopenableOutputReturnsMinusOneWithoutTheHandler) {
    std::string out = dir / "no/such/folder/x.pdf";
    EXPECT_EQ(pdfw_open_file(engine.ctx(), out.c_str()), -1);
    EXPECT_EQ(engine.errorCount(), 0);
    EXPECT_NE(std::string(pdfw_get_last_error(engine.ctx())).find(out), std::string::npos);
    EXPECT_EQ(pdfw_get_last_error_type(engine.ctx()), PDFW_IO_ERROR);
    EXPECT_EQ(pdfw_open_file(engine.ctx(), dir.Path().c_str()), -1);
    EXPECT_EQ(engine.errorCount(), 0);
}

TEST_F(ApiTest, AnImagePlacedTwiceIsWrittenOnce) {
    std::string out = dir / "twice.pdf";
    pdfw_context *c = engine.ctx();
    ASSERT_EQ(pdfw_open_file(c, out.c_str()), 1);
    int image = pdfw_load_image(c, "auto", jpeg("a.jpg").c_str(), "", 1);
    for (int page = 0; page < 2; ++page) {
        pdfw_begin_page(c, 595, 842);
        pdfw_place_image(c, image, 10, 20, 2);
        pdfw_place_image(c, image, 100, 200, 0.5f);
        pdfw_end_page(c);
    }
    pdfw_close(c);
    ASSERT_EQ(engine.errorCount(), 0);
    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_EQ(PageCount(out), 2);
    EXPECT_EQ(count(ReadText(out), "/Subtype/Image"), 1);
    std::vector<std::string> lines = DrawingLines(out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "q 16 0 0 16 10 20 cm /Im3 Do Q");
    EXPECT_EQ(lines[1], "q 4 0 0 4 100 200 cm /Im3 Do Q");
}

TEST_F(ApiTest, ScaleFactorsStayShortNumbers) {
    std::string out = dir / "scale.pdf";
    ASSERT_TRUE(engine.writeDocument(out, {{jpeg("a.jpg", 2048, 16), 595, 842, 0.42f}}));
    std::vector<std::string> lines = DrawingLines(out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "q 860.16 0 0 6.72 0 0 cm /Im3 Do Q");
}

struct Jumper {
    std::jmp_buf jump;
    int type = 0;
    std::string message;
};

void jumpingHandler(pdfw_context *ctx, int type, const char *message) {
    auto *j = static_cast<Jumper *>(pdfw_get_opaque(ctx));
    j->type = type;
    j->message = message;
    std::longjmp(j->jump, 1);
}

// Each call is made from its own frame holding nothing to destroy, as a binding does.
int loadWithJump(pdfw_context *ctx, Jumper *j, const char *file) {
    if (setjmp(j->jump) != 0) {
        return -100;
    }
    return pdfw_load_image(ctx, "auto", file, "", 1);
}

int closeWithJump(pdfw_context *ctx, Jumper *j) {
    if (setjmp(j->jump) != 0) {
        return -100;
    }
    return pdfw_close(ctx);
}

TEST_F(ApiTest, AHandlerMayLongjmpOutOfEveryFailure) {
    Jumper jumper;
    pdfw_boot();
    pdfw_context *c = pdfw_new(jumpingHandler, nullptr, nullptr, nullptr, &jumper);
    std::string out = dir / "jump.pdf";
    ASSERT_EQ(pdfw_open_file(c, out.c_str()), 1);
    std::string bad = dir / "bad.jpg";
    Bytes truncated = MakeJpeg(Pattern(32, 24, 3));
    truncated.resize(truncated.size() / 2);
    WriteFile(bad, truncated);
    EXPECT_EQ(loadWithJump(c, &jumper, bad.c_str()), -100);
    EXPECT_EQ(jumper.type, PDFW_SYNTAX_ERROR);
    EXPECT_NE(jumper.message.find("bad.jpg"), std::string::npos);
    EXPECT_EQ(loadWithJump(c, &jumper, (dir / "missing.tif").c_str()), -100);
    EXPECT_EQ(jumper.type, PDFW_IO_ERROR);
    ASSERT_EQ(pdfw_begin_page(c, 595, 842), 0);
    EXPECT_EQ(closeWithJump(c, &jumper), -100);
    EXPECT_EQ(jumper.type, PDFW_RUNTIME_ERROR);
    ASSERT_EQ(pdfw_end_page(c), 0);
    EXPECT_EQ(closeWithJump(c, &jumper), 0);
    pdfw_delete(c);
    pdfw_shutdown();
    EXPECT_TRUE(QpdfCheck(out));
}

TEST_F(ApiTest, AbandonedOrFailedRunsLeaveTheTargetUntouched) {
    std::string out = dir / "keep.pdf";
    WriteFile(out, Bytes{'o', 'l', 'd'});
    {
        Engine abandoned;
        ASSERT_EQ(pdfw_open_file(abandoned.ctx(), out.c_str()), 1);
        // The document has no name until it is complete: the folder holds the target alone.
        EXPECT_EQ(Listing(dir.Path()).size(), 1u);
        pdfw_begin_page(abandoned.ctx(), 595, 842);
        pdfw_load_image(abandoned.ctx(), "jpeg", jpeg("a.jpg").c_str(), "", 1);
    }
    EXPECT_EQ(ReadText(out), "old");
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"a.jpg", "keep.pdf"}));

    {
        Engine failed;
        ASSERT_EQ(pdfw_open_file(failed.ctx(), out.c_str()), 1);
        pdfw_begin_page(failed.ctx(), 595, 842);
        EXPECT_EQ(pdfw_load_image(failed.ctx(), "jpeg", (dir / "gone.jpg").c_str(), "", 1), -1);
    }
    EXPECT_EQ(ReadText(out), "old");
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"a.jpg", "keep.pdf"}));

    ASSERT_TRUE(engine.writeDocument(out, {{dir / "a.jpg", 595, 842}}));
    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"a.jpg", "keep.pdf"}));
}

TEST_F(ApiTest, SourceDateEpochMakesTheBytesReproducible) {
    std::string image = jpeg("a.jpg");
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    Engine first, second;
    bool ok = first.writeDocument(dir / "1.pdf", {{image, 595, 842, 0.42f}}) &&
              second.writeDocument(dir / "2.pdf", {{image, 595, 842, 0.42f}});
    unsetenv("SOURCE_DATE_EPOCH");
    ASSERT_TRUE(ok);
    Bytes one = ReadFile(dir / "1.pdf");
    EXPECT_EQ(one, ReadFile(dir / "2.pdf"));
    EXPECT_NE(Text(one).find("/CreationDate(D:20231114221320Z)"), std::string::npos);
}

TEST(ApiContext, NullAndDeletedContextsAreIgnored) {
    EXPECT_EQ(pdfw_get_opaque(nullptr), nullptr);
    EXPECT_EQ(pdfw_begin_page(nullptr, 595, 842), -1);
    EXPECT_EQ(pdfw_open_file(nullptr, "x.pdf"), -1);
    EXPECT_STREQ(pdfw_get_last_error(nullptr), "");
    pdfw_delete(nullptr);
    int marker = 0;
    pdfw_context *c = pdfw_new(nullptr, nullptr, nullptr, nullptr, &marker);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(pdfw_get_opaque(c), &marker);
    EXPECT_EQ(pdfw_end_page(c), -1); // no handler: the result alone reports it
    EXPECT_EQ(pdfw_get_last_error_type(c), PDFW_RUNTIME_ERROR);
    pdfw_delete(c);
    auto alloc = [](pdfw_context *, std::size_t size, const char *) { return std::malloc(size); };
    EXPECT_EQ(pdfw_new(nullptr, alloc, nullptr, nullptr, nullptr), nullptr);
}

} // namespace

namespace {

using namespace support;
using pdfw_test::Engine;

struct Heap {
    int allocations = 0;
    int frees = 0;
    bool refuse = false;
    std::vector<std::string> errors;
};

void *heapAlloc(pdfw_context *ctx, std::size_t size, const char *) {
    auto *heap = static_cast<Heap *>(pdfw_get_opaque(ctx));
    if (heap->refuse) {
        return nullptr;
    }
    ++heap->allocations;
    return std::malloc(size);
}
void *heapRealloc(pdfw_context *, void *block, std::size_t size, const char *) {
    return std::realloc(block, size);
}
void heapFree(pdfw_context *ctx, void *block) {
    ++static_cast<Heap *>(pdfw_get_opaque(ctx))->frees;
    std::free(block);
}
void heapError(pdfw_context *ctx, int, const char *message) {
    static_cast<Heap *>(pdfw_get_opaque(ctx))->errors.push_back(message);
}

TEST(ApiMemory, LargeBuffersComeFromTheCallersProcedures) {
    TempDir dir;
    WriteTiff(dir / "a.tif", {TiffPageOf(Pattern(16, 8, 1))});
    Heap heap;
    pdfw_context *c = pdfw_new(heapError, heapAlloc, heapRealloc, heapFree, &heap);
    ASSERT_EQ(pdfw_open_file(c, (dir / "m.pdf").c_str()), 1);
    pdfw_begin_page(c, 595, 842);
    int image = pdfw_load_image(c, "tiff", (dir / "a.tif").c_str(), "", 1);
    pdfw_place_image(c, image, 0, 0, 1);
    pdfw_end_page(c);
    EXPECT_EQ(pdfw_close(c), 0);
    EXPECT_GE(heap.allocations, 3); // output buffer, pixels, compressed pixels
    heap.refuse = true;
    EXPECT_EQ(pdfw_open_file(c, (dir / "n.pdf").c_str()), -1);
    ASSERT_EQ(heap.errors.size(), 1u);
    EXPECT_EQ(pdfw_get_last_error_type(c), PDFW_MEMORY_ERROR);
    pdfw_delete(c);
    EXPECT_EQ(heap.allocations, heap.frees);
    EXPECT_TRUE(QpdfCheck(dir / "m.pdf"));
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"a.tif", "m.pdf"}));
}

} // namespace
