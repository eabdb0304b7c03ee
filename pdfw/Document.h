// One PDF document being written: its output file, its pages and the images loaded into it.
// Each operation checks that it comes in order; a failed operation leaves the document as it
// was unless the output itself failed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ocr/Recognizer.h"
#include "pdfw/ImageLoader.h"
#include "pdfw/Memory.h"
#include "pdfw/ObjectWriter.h"
#include "pdfw/OutputFile.h"
#include "pdfw/TextEncoding.h"

namespace pdfw {

class Document {
public:
    // Writes the file header; `output` is the freshly created temporary file.
    Document(std::unique_ptr<OutputFile> output, int pdfMinor, const MemoryProcs &memory);

    // From now on every loaded image is recognised in `languages` and every placement of it
    // carries its words as invisible text.
    void enableTextLayer(const std::string &languages);
    bool pageOpen() const { return page_ != nullptr; }
    void beginPage(float width, float height);
    void endPage();
    int loadImage(const std::string &path, int page);
    void placeImage(int image, float x, float y, float scale);
    void closeImage(int image);
    // Writes the page tree, Info, cross-references and trailer; commits the file.
    void close();

private:
    struct Page {
        float width = 0;
        float height = 0;
        std::string content;
        std::set<int> images; // XObject numbers drawn on the page
        std::string text;     // the invisible text over the page's pictures
    };

    const LoadedImage &openImage(int image, const char *call) const;
    std::shared_ptr<const ocr::PageText> recognize(const std::string &path, int page);
    // Writes the page's text as its own stream; returns its object number.
    int writeTextLayer();
    std::string documentId(const std::string &date, std::int64_t epoch, bool fixed) const;

    std::unique_ptr<OutputFile> output_;
    ObjectWriter writer_;
    int pdfMinor_;
    MemoryProcs memory_;
    int catalog_ = 0;
    int pageTree_ = 0;
    std::vector<int> pages_;
    std::unique_ptr<Page> page_;
    std::map<int, LoadedImage> images_;
    int nextImage_ = 1;
    std::string ocrLanguages_; // empty: no text layer
    std::unique_ptr<ocr::Recognizer> recognizer_;
    std::map<int, std::shared_ptr<const ocr::PageText>> texts_; // by image handle
    TextEncoding encoding_;
    int font_ = 0; // the text layer's font, once a page uses it
};

} // namespace pdfw
