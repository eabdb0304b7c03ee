#include "pdfw/formats/IntakeFacts.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "pdfw/core/InputFile.h"
#include "pdfw/core/Orientation.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/formats/ImageKind.h"
#include "pdfw/jpeg/JpegRewriter.h"
#include "pdfw/jpeg/JpegStructure.h"
#include "pdfw/png/PngFile.h"
#include "pdfw/png/PngImage.h"
#include "pdfw/tiff/TiffImage.h"

namespace pdfw {

namespace {

void copyText(char *target, std::size_t size, const std::string &text) {
    std::snprintf(target, size, "%s", text.c_str());
}

void setSize(pdfw_image_facts &facts, std::uint32_t width, std::uint32_t height, int orientation) {
    bool swap = swapsAxes(orientation);
    facts.width = static_cast<int>(swap ? height : width);
    facts.height = static_cast<int>(swap ? width : height);
}

void onlyPageOne(const std::string &path, int page, const char *kind) {
    if (page != 1) {
        fail(PDFW_VALUE_ERROR, "\"" + path + "\" is a " + kind +
                                   " file, which has only page 1 (page " + std::to_string(page) +
                                   " asked)");
    }
}

// The whole file is read: a JPEG is checked in memory, as the engine checks it.
void inspectJpegFile(const InputFile &file, int page, pdfw_image_facts &facts) {
    facts.pages = 1;
    onlyPageOne(file.path(), page, "JPEG");
    std::size_t size = checkedSize({file.size()}, "\"" + file.path() + "\"");
    Buffer bytes(MemoryProcs{}, size, "JPEG file");
    file.readExactly(0, bytes.data(), size, "the image data");
    try {
        JpegInfo info = inspectJpeg(MemorySource(bytes.data(), size, file.path()));
        setSize(facts, info.width, info.height, info.orientation);
        facts.intake =
            info.coding == JpegCoding::Huffman ? PDFW_INTAKE_COPIED : PDFW_INTAKE_RECOMPRESSED;
        return;
    } catch (const PdfwError &structure) {
        if (structure.type() != PDFW_SYNTAX_ERROR) {
            throw;
        }
        RewrittenJpeg fixed = repairJpeg(bytes.data(), size, structure, MemoryProcs{});
        // Its size as the repaired file gives it.
        JpegInfo info =
            inspectJpeg(MemorySource(fixed.jpeg.data(), fixed.jpeg.size(), file.path()));
        setSize(facts, info.width, info.height, fixed.orientation);
        copyText(facts.reason, sizeof facts.reason,
                 fixed.warnings.empty() ? "its markers are damaged" : fixed.warnings);
    }
    facts.intake = PDFW_INTAKE_REPAIRED;
}

void inspectTiffFile(const InputFile &file, int page, pdfw_image_facts &facts) {
    {
        TiffFile first(file, 1);
        facts.pages = static_cast<int>(TIFFNumberOfDirectories(first.handle()));
    }
    TiffFile tiff(file, page);
    const TiffPage &p = tiff.page();
    setSize(facts, p.width, p.height, p.orientation);
    std::string reason;
    facts.intake = tiffIntake(tiff, file, reason);
    if (facts.intake == PDFW_INTAKE_UNUSABLE) {
        fail(PDFW_TYPE_ERROR, reason);
    }
}

void inspectPngFile(const InputFile &file, int page, pdfw_image_facts &facts) {
    facts.pages = 1;
    onlyPageOne(file.path(), page, "PNG");
    PngInfo info = readPng(file);
    setSize(facts, info.width, info.height, 1);
    // The engine's copy is taken at PDF 1.4, the version the page generation writes.
    facts.intake = pngPassesThrough(info, 4) ? PDFW_INTAKE_COPIED : PDFW_INTAKE_RECOMPRESSED;
}

} // namespace

void inspectImage(const std::string &path, int page, pdfw_image_facts &facts) {
    std::memset(&facts, 0, sizeof facts);
    try {
        InputFile file(path);
        unsigned char head[kKindBytes] = {};
        std::size_t got = file.readAt(0, head, sizeof head);
        ImageKind kind = detectImageKind(head, got);
        copyText(facts.kind, sizeof facts.kind, imageKindName(kind));
        if (page < 1) {
            fail(PDFW_VALUE_ERROR, "page " + std::to_string(page) + " (pages count from 1)");
        }
        switch (kind) {
        case ImageKind::Jpeg:
            inspectJpegFile(file, page, facts);
            break;
        case ImageKind::Tiff:
            inspectTiffFile(file, page, facts);
            break;
        case ImageKind::Png:
            inspectPngFile(file, page, facts);
            break;
        case ImageKind::Unknown:
            fail(PDFW_TYPE_ERROR, "\"" + path + "\" is not a JPEG, TIFF or PNG file" +
                                      (got == 0 ? std::string(" (it is empty)") : std::string()));
        }
        facts.ok = 1;
    } catch (const std::bad_alloc &) {
        facts.ok = 0;
        facts.intake = PDFW_INTAKE_UNUSABLE;
        copyText(facts.reason, sizeof facts.reason, "out of memory");
    } catch (const std::exception &error) {
        facts.ok = 0;
        facts.intake = PDFW_INTAKE_UNUSABLE;
        copyText(facts.reason, sizeof facts.reason, error.what());
    }
}

} // namespace pdfw
