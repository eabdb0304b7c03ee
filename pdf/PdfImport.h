// The page loop's side of PDF inputs: each page of an existing PDF document copied into the
// engine's document as the objects it is made of, turned and cropped as the user asked.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "pdf/PageGeneration.h"
#include "pdf/PdfWriter.h"
#include "pdfdoc/PdfPages.h"

namespace folvane {

// Why a PDF document cannot be read, as a problem about `path`.
Problem pdfProblem(const pdfdoc::PdfError &error, const std::string &path);

// Keeps one source document open at a time: consecutive rows of the same file share it, so
// the resources their pages share are copied once; a row of another file closes it.
class PdfImport {
public:
    explicit PdfImport(PdfWriter &writer) : writer_(writer) {}

    // The pages of `path`; throws pdfdoc::PdfError.
    int pageCount(const std::string &path, const GenerateOptions &options);
    // Whether the document now open was damaged and recovered, and qpdf's words on it.
    bool recovered() const { return pages_ && pages_->recovered(); }
    std::string recoveryDetail() const { return pages_ ? pages_->recoveryDetail() : ""; }
    // Writes page `page` of `path` as the next page, its own turn added to `quarterTurns`
    // clockwise and, with `crop` (points of the turned page, top left at 0, 0), its crop box
    // made that part; `row` is the row it is written for. Throws pdfdoc::PdfError, GenerateError
    // for a crop off the page, and what the engine throws.
    void writePage(const std::string &path, std::size_t row, const GenerateOptions &options,
                   int page, int quarterTurns, const std::optional<CropRect> &crop);

private:
    pdfdoc::PdfPages &open(const std::string &path, const GenerateOptions &options);

    PdfWriter &writer_;
    std::string path_;
    std::unique_ptr<pdfdoc::PdfPages> pages_;
};

// The /MediaBox, /CropBox and /Rotate entries of a page placed in `frame`, turned further by
// `quarterTurns` and cropped to `crop` (points of the turned page); nullopt when the crop
// leaves less than a point of the page.
std::optional<std::string> pageBoxEntries(const pdfdoc::PageFrame &frame, int quarterTurns,
                                          const std::optional<CropRect> &crop);

} // namespace folvane
