// The engine's buffers never bring old memory into the document.
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>
#include <tiffio.h>

#include "pdfw/core/Memory.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/Process.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using pdfw_test::Engine;

TEST(Buffers, StartZeroedWhateverTheAllocatorLeftThere) {
    auto dirty = [](pdfw_context *, std::size_t size, const char *) {
        void *block = std::malloc(size);
        std::memset(block, 0xAB, size);
        return block;
    };
    auto release = [](pdfw_context *, void *block) { std::free(block); };
    for (folvane::pdfw::MemoryProcs procs :
         {folvane::pdfw::MemoryProcs{}, folvane::pdfw::MemoryProcs{nullptr, dirty, release}}) {
        for (std::size_t size : {std::size_t{100}, std::size_t{3} << 20}) {
            folvane::pdfw::Buffer buffer(procs, size, "test");
            std::size_t nonzero = 0;
            for (std::size_t i = 0; i < size; ++i) {
                nonzero += buffer.data()[i] != 0;
            }
            EXPECT_EQ(nonzero, 0u) << size << " bytes";
        }
    }
}

// A 1-bit row of 10 pixels ends in 6 padding bits that the decoder does not write: they must
// come out as zeros, the same on every run.
TEST(Buffers, DecodedRowsHaveZeroPadding) {
    TempDir dir;
    TiffPage spec;
    spec.width = 10;
    spec.height = 10;
    spec.bitsPerSample = 1;
    spec.photometric = PHOTOMETRIC_MINISWHITE;
    spec.compression = COMPRESSION_CCITTRLE;
    Bytes rows(20);
    for (int y = 0; y < 10; ++y) {
        rows[2 * y] = static_cast<unsigned char>(0x55 << (y % 2));
        rows[2 * y + 1] = 0xC0; // the row's last two pixels set, the padding clear
    }
    spec.data = rows;
    WriteTiff(dir / "rle.tif", {spec});
    Engine engine;
    ASSERT_TRUE(engine.writeDocument(dir / "rle.pdf", {{dir / "rle.tif", 100, 100}}))
        << engine.lastMessage();
    const std::string images =
        RunProgram({"qpdf", "--show-object=3", "--filtered-stream-data", dir / "rle.pdf"}).out;
    ASSERT_EQ(images.size(), 20u) << Qdf(dir / "rle.pdf");
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(static_cast<unsigned char>(images[2 * y + 1]), 0xC0) << "row " << y;
    }
}

} // namespace
