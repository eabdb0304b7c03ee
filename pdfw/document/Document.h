// One PDF document being written: its output file, its pages and the images loaded into it.
// Each operation checks that it comes in order; a failed operation leaves the document as it
// was unless the output itself failed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pdfw/core/DocumentInfo.h"
#include "pdfw/core/Memory.h"
#include "pdfw/core/PreparedImage.h"
#include "pdfw/output/ObjectWriter.h"
#include "pdfw/output/OutputFile.h"
#include "pdfw/output/PreparedWriter.h"
#include "pdfw/text/TextEncoding.h"

namespace folvane::pdfw {

// An image that is in the document: its XObject's number and what placing it needs.
struct LoadedImage {
    int object = 0;          // the image XObject
    std::uint32_t width = 0; // stored pixels
    std::uint32_t height = 0;
    int orientation = 1;   // 1..8, how the stored picture is shown upright
    Notes notes;           // what preparing noted
    double sheetWidth = 0; // a corrected page's sheet in points, as stored; else 0
    double sheetHeight = 0;
    std::optional<folvane::StoredArea> shown; // the part placed, the rest clipped; none: all
    double dpiX = 0; // the resolution its file states, along the stored axes; 0 when none
    double dpiY = 0;
    std::shared_ptr<PreparedImage> facing; // an open book's second page, until handed out
};

class Document {
public:
    // Writes the file header; `output` is the freshly created temporary file. Properties in
    // `info` go into the Info dictionary and, when any is set, an XMP metadata stream.
    Document(std::unique_ptr<OutputFile> output, int pdfMinor, const MemoryProcs &memory,
             DocumentInfo info = {});

    bool pageOpen() const { return page_ != nullptr; }
    void beginPage(float width, float height);
    void endPage();
    // Writes a prepared image into the document and returns its handle; the words recognised
    // on it, if any, lie over each of its placements as invisible text.
    int addImage(PreparedImage prepared);
    // The second page of the open book whose first page is open image `image`, written as
    // addImage writes it; PDFW_VALUE_ERROR when it has none (or gave it already).
    int addFacingPage(int image);
    void placeImage(int image, float x, float y, float scale);
    void closeImage(int image);
    // The upright size in pixels of an open image; PDFW_VALUE_ERROR for null pointers.
    void imageSize(int image, float *width, float *height) const;
    // The upright size in points of the sheet a corrected image shows, 0 x 0 for any other
    // image; PDFW_VALUE_ERROR for null pointers.
    void imageSheet(int image, float *width, float *height) const;
    // The resolution in dots per inch the file of an open image states, upright; 0 x 0 when it
    // states none. PDFW_VALUE_ERROR for null pointers.
    void imageResolution(int image, float *dpiX, float *dpiY) const;
    const Notes &imageNotes(int image) const;
    // Objects copied from elsewhere (the pages of other PDF documents), written as given: a
    // reserved number, then the object's body (any PDF object but a stream), or a stream's
    // dictionary entries other than /Length with its data. Their references are the caller's.
    int reserveObject();
    void writeObject(int number, std::string_view body);
    void writeStreamObject(int number, std::string_view dictionary, std::string_view data);
    // A page made of such objects: reserved object `number` becomes the next page, its
    // dictionary `entries` (/MediaBox, /Resources, /Contents, ...) joined by /Type and /Parent.
    // No page may be open.
    void addObjectPage(int number, std::string_view entries);
    // Writes the page tree, Info, cross-references and trailer; commits the file.
    void close();

    // For what a page carries besides its images (a text layer): operators appended to the
    // current page's content stream, and a named resource of the page ("Font", "F1", object:
    // /Font<</F1 N 0 R>> in its resource dictionary). Both need an open page.
    void addPageContent(std::string_view operators);
    void addPageResource(const std::string &category, const std::string &name, int object);
    // The object number of a resource the document holds once (see PreparedWriter::shared).
    int sharedObject(const SharedResource &resource) { return prepared_.shared(resource); }

private:
    struct Page {
        float width = 0;
        float height = 0;
        std::string content;
        std::set<int> images; // XObject numbers drawn on the page
        std::map<std::string, std::map<std::string, int>> resources; // category, name, object
        std::string text; // the invisible text over its images
    };

    Page &openPage();
    void writeWithText(int contents);

    const LoadedImage &openImage(int image) const;
    std::string documentId(const std::string &date, std::int64_t epoch, bool fixed) const;

    std::unique_ptr<OutputFile> output_;
    ObjectWriter writer_;
    PreparedWriter prepared_{writer_};
    int pdfMinor_;
    MemoryProcs memory_;
    int catalog_ = 0;
    int pageTree_ = 0;
    DocumentInfo info_;
    int metadata_ = 0; // the XMP stream, when a property is set
    std::vector<int> pages_;
    std::unique_ptr<Page> page_;
    std::map<int, LoadedImage> images_;
    int nextImage_ = 1;
    std::map<int, std::shared_ptr<const folvane::ocr::PageText>> texts_; // by image handle
    TextEncoding encoding_;
    int font_ = 0; // the text layer's font, once a page uses it
};

} // namespace folvane::pdfw
