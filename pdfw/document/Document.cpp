#include "pdfw/document/Document.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <utility>

#include "pdfw/core/Orientation.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/core/TestKillPoint.h"
#include "pdfw/document/DocumentMetadata.h"
#include "pdfw/raster/FlateEncoder.h"
#include "pdfw/text/GlyphlessFont.h"
#include "pdfw/text/TextLayer.h"

namespace folvane::pdfw {

namespace {

constexpr float kMinPageSide = 3.0f;
constexpr float kMaxPageSide = 14400.0f;
// The text layer's font resource name on every page.
constexpr const char *kTextFont = "FT";

// Seconds since 1970 for the document's date: SOURCE_DATE_EPOCH when it holds a number
// (reproducible output), else the clock. `fixed` tells which.
std::int64_t documentEpoch(bool &fixed) {
    fixed = false;
    if (const char *text = std::getenv("SOURCE_DATE_EPOCH")) {
        char *end = nullptr;
        long long value = std::strtoll(text, &end, 10);
        if (end != text && *end == '\0' && value >= 0 && value < 253402300800LL) {
            fixed = true;
            return value;
        }
    }
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::uint64_t fnv1a(std::uint64_t hash, const std::string &text) {
    for (unsigned char c : text) {
        hash = (hash ^ c) * 0x100000001b3ULL;
    }
    return hash;
}

void checkFinite(float value, const char *what) {
    if (!std::isfinite(value)) {
        failCall(PDFW_VALUE_ERROR, std::string(what) + " is not a finite number");
    }
}

} // namespace

Document::Document(std::unique_ptr<OutputFile> output, int pdfMinor, const MemoryProcs &memory,
                   DocumentInfo info)
    : output_(std::move(output)), writer_(*output_), pdfMinor_(pdfMinor), memory_(memory),
      info_(std::move(info)) {
    writer_.writeHeader("1." + std::to_string(pdfMinor_));
    catalog_ = writer_.reserve();
    pageTree_ = writer_.reserve();
    std::string metadata;
    if (!info_.empty()) {
        metadata_ = writer_.reserve();
        metadata = "/Metadata " + std::to_string(metadata_) + " 0 R";
    }
    writer_.beginObject(catalog_);
    output_->write("<</Type/Catalog/Pages " + std::to_string(pageTree_) + " 0 R" + metadata +
                   ">>\n");
    writer_.endObject();
}

void Document::beginPage(float width, float height) {
    if (page_) {
        failCall(PDFW_RUNTIME_ERROR, "a page is already open (end it first)");
    }
    checkFinite(width, "the width");
    checkFinite(height, "the height");
    if (width < kMinPageSide || width > kMaxPageSide || height < kMinPageSide ||
        height > kMaxPageSide) {
        failCall(PDFW_VALUE_ERROR, "page size " + pdfNumber(width) + " x " + pdfNumber(height) +
                                       " is outside 3 to 14400 points");
    }
    auto page = std::make_unique<Page>();
    page->width = width;
    page->height = height;
    page_ = std::move(page);
}

void Document::endPage() {
    if (!page_) {
        failCall(PDFW_RUNTIME_ERROR, "no page is open (begin one first)");
    }
    int contents = writer_.reserve();
    int pageObject = writer_.reserve();
    if (page_->text.empty()) {
        writer_.writeStream(contents, "", page_->content.data(), page_->content.size());
    } else {
        writeWithText(contents);
    }

    std::string dict = "<</Type/Page/Parent " + std::to_string(pageTree_) + " 0 R/MediaBox[0 0 " +
                       pdfNumber(page_->width) + " " + pdfNumber(page_->height) +
                       "]/Resources<</ProcSet[/PDF/ImageB/ImageC/ImageI" +
                       (page_->text.empty() ? "]" : "/Text]");
    if (!page_->images.empty()) {
        dict += "/XObject<<";
        for (int object : page_->images) {
            dict += "/Im" + std::to_string(object) + " " + std::to_string(object) + " 0 R";
        }
        dict += ">>";
    }
    for (const auto &[category, named] : page_->resources) {
        dict += "/" + category + "<<";
        for (const auto &[name, object] : named) {
            dict += "/" + name + " " + std::to_string(object) + " 0 R";
        }
        dict += ">>";
    }
    dict += ">>/Contents " + std::to_string(contents) + " 0 R>>\n";
    writer_.beginObject(pageObject);
    output_->write(dict);
    writer_.endObject();
    pages_.push_back(pageObject);
    page_.reset();
}

int Document::reserveObject() {
    return writer_.reserve();
}

void Document::writeObject(int number, std::string_view body) {
    if (!writer_.awaits(number)) {
        failCall(PDFW_INDEX_ERROR,
                 "object " + std::to_string(number) + " is not reserved or is written");
    }
    writer_.beginObject(number);
    output_->write(body);
    output_->write("\n");
    writer_.endObject();
}

void Document::writeStreamObject(int number, std::string_view dictionary, std::string_view data) {
    if (!writer_.awaits(number)) {
        failCall(PDFW_INDEX_ERROR,
                 "object " + std::to_string(number) + " is not reserved or is written");
    }
    writer_.writeStream(number, dictionary, data.data(), data.size());
}

void Document::addObjectPage(int number, std::string_view entries) {
    if (page_) {
        failCall(PDFW_RUNTIME_ERROR, "a page is open (end it first)");
    }
    std::string head = "<</Type/Page/Parent " + std::to_string(pageTree_) + " 0 R";
    writeObject(number, head + std::string(entries) + ">>");
    pages_.push_back(number);
}

// The page's content and its text in one Flate-compressed stream; the font joins its
// resources, and the document's font is numbered at its first use.
void Document::writeWithText(int contents) {
    if (!font_) {
        font_ = writer_.reserve();
    }
    page_->resources["Font"][kTextFont] = font_;
    std::string content = page_->content + page_->text;
    Buffer packed = flateCompress(reinterpret_cast<const unsigned char *>(content.data()),
                                  content.size(), kFlateLevelFewBits, memory_);
    writer_.writeStream(contents, "/Filter/FlateDecode", packed.data(), packed.size());
}

int Document::addImage(PreparedImage prepared) {
    if (prepared.xobject >= prepared.group.objects.size()) {
        failInternal(PDFW_RUNTIME_ERROR, "a prepared image has no image object");
    }
    std::vector<int> numbers = prepared_.write(prepared.group);
    testKillPoint("image", nextImage_);
    LoadedImage image{numbers[prepared.xobject],
                      prepared.width,
                      prepared.height,
                      prepared.orientation,
                      std::move(prepared.notes),
                      prepared.sheetWidth,
                      prepared.sheetHeight,
                      prepared.shown,
                      prepared.dpiX,
                      prepared.dpiY,
                      std::move(prepared.facing)};
    int handle = nextImage_++;
    images_.emplace(handle, std::move(image));
    if (prepared.text) {
        texts_.emplace(handle, std::move(prepared.text));
    }
    return handle;
}

int Document::addFacingPage(int image) {
    openImage(image);
    std::shared_ptr<PreparedImage> facing = std::move(images_.at(image).facing);
    if (!facing) {
        failCall(PDFW_VALUE_ERROR,
                 "image handle " + std::to_string(image) + " has no second page to give");
    }
    return addImage(std::move(*facing));
}

Document::Page &Document::openPage() {
    if (!page_) {
        failCall(PDFW_RUNTIME_ERROR, "no page is open (begin one first)");
    }
    return *page_;
}

void Document::addPageContent(std::string_view operators) {
    openPage().content += operators;
}

void Document::addPageResource(const std::string &category, const std::string &name, int object) {
    openPage().resources[category][name] = object;
}

const LoadedImage &Document::openImage(int image) const {
    auto found = images_.find(image);
    if (found == images_.end()) {
        failCall(PDFW_INDEX_ERROR,
                 "image handle " + std::to_string(image) +
                     (image > 0 && image < nextImage_ ? " is closed" : " was never opened"));
    }
    return found->second;
}

void Document::placeImage(int image, float x, float y, float scale) {
    openPage();
    const LoadedImage &loaded = openImage(image);
    checkFinite(x, "x");
    checkFinite(y, "y");
    checkFinite(scale, "the scale");
    if (scale == 0.0f) {
        failCall(PDFW_DIVISION_BY_ZERO_ERROR,
                 "scale 0 would draw image " + std::to_string(image) + " with a singular matrix");
    }
    page_->content += "q ";
    Matrix m = placementMatrix(loaded.orientation, loaded.width, loaded.height, x, y, scale);
    if (loaded.shown) {
        ShownPlacement part = shownPlacement(loaded.orientation, loaded.width, loaded.height,
                                             *loaded.shown, x, y, scale);
        m = part.matrix;
        page_->content += pdfNumber(x) + " " + pdfNumber(y) + " " + pdfNumber(part.width) + " " +
                          pdfNumber(part.height) + " re W n ";
    }
    page_->content += pdfNumber(m.a) + " " + pdfNumber(m.b) + " " + pdfNumber(m.c) + " " +
                      pdfNumber(m.d) + " " + pdfNumber(m.e) + " " + pdfNumber(m.f) + " cm /Im" +
                      std::to_string(loaded.object) + " Do Q\n";
    page_->images.insert(loaded.object);
    if (auto text = texts_.find(image); text != texts_.end()) {
        page_->text +=
            textLayerContent(*text->second, {x, y, scale}, encoding_, "/" + std::string(kTextFont));
    }
}

void Document::closeImage(int image) {
    openImage(image);
    images_.erase(image);
    texts_.erase(image);
}

void Document::imageSize(int image, float *width, float *height) const {
    const LoadedImage &loaded = openImage(image);
    if (!width || !height) {
        failCall(PDFW_VALUE_ERROR, "width and height must not be null");
    }
    bool turned = swapsAxes(loaded.orientation);
    const auto shownWidth =
        loaded.shown ? static_cast<std::uint32_t>(loaded.shown->width) : loaded.width;
    const auto shownHeight =
        loaded.shown ? static_cast<std::uint32_t>(loaded.shown->height) : loaded.height;
    *width = static_cast<float>(turned ? shownHeight : shownWidth);
    *height = static_cast<float>(turned ? shownWidth : shownHeight);
}

void Document::imageSheet(int image, float *width, float *height) const {
    const LoadedImage &loaded = openImage(image);
    if (!width || !height) {
        failCall(PDFW_VALUE_ERROR, "width and height must not be null");
    }
    bool turned = swapsAxes(loaded.orientation);
    *width = static_cast<float>(turned ? loaded.sheetHeight : loaded.sheetWidth);
    *height = static_cast<float>(turned ? loaded.sheetWidth : loaded.sheetHeight);
}

void Document::imageResolution(int image, float *dpiX, float *dpiY) const {
    const LoadedImage &loaded = openImage(image);
    if (!dpiX || !dpiY) {
        failCall(PDFW_VALUE_ERROR, "dpiX and dpiY must not be null");
    }
    bool turned = swapsAxes(loaded.orientation);
    *dpiX = static_cast<float>(turned ? loaded.dpiY : loaded.dpiX);
    *dpiY = static_cast<float>(turned ? loaded.dpiX : loaded.dpiY);
}

const Notes &Document::imageNotes(int image) const {
    return openImage(image).notes;
}

std::string Document::documentId(const std::string &date, std::int64_t epoch, bool fixed) const {
    std::uint64_t first = 0xcbf29ce484222325ULL;
    std::uint64_t second = 0x84222325cbf29ce4ULL;
    if (!fixed) {
        std::random_device random;
        second ^= (static_cast<std::uint64_t>(random()) << 32) ^ random();
    }
    std::string facts = date + "/" + std::to_string(epoch) + "/" +
                        std::to_string(output_->position()) + "/" + std::to_string(pages_.size());
    first = fnv1a(first, facts);
    second = fnv1a(second, facts + "#");
    char hex[40];
    std::snprintf(hex, sizeof hex, "%016llX%016llX", static_cast<unsigned long long>(first),
                  static_cast<unsigned long long>(second));
    return hex;
}

void Document::close() {
    if (page_) {
        failCall(PDFW_RUNTIME_ERROR, "a page is still open (end it first)");
    }
    std::string kids;
    for (int page : pages_) {
        kids += std::to_string(page) + " 0 R ";
    }
    if (!kids.empty()) {
        kids.pop_back();
    }
    writer_.beginObject(pageTree_);
    output_->write("<</Type/Pages/Kids[" + kids + "]/Count " + std::to_string(pages_.size()) +
                   ">>\n");
    writer_.endObject();

    bool fixed = false;
    std::int64_t epoch = documentEpoch(fixed);
    std::string date = pdfDate(epoch);
    int info = writer_.reserve();
    writer_.beginObject(info);
    output_->write(infoDictionary(info_, date));
    writer_.endObject();
    if (metadata_) {
        // Left uncompressed, so that tools that search files for XMP find it.
        const std::string packet = xmpPacket(info_, epoch);
        writer_.writeStream(metadata_, "/Type/Metadata/Subtype/XML", packet.data(), packet.size());
    }
    if (font_) {
        writeGlyphlessFont(writer_, font_, encoding_, memory_);
    }
    writer_.finish(catalog_, info, documentId(date, epoch, fixed));
    images_.clear();
    texts_.clear();
    output_->commit();
}

} // namespace folvane::pdfw
