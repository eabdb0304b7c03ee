#include "pdf/PageGeneration.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <utility>

#include <sys/stat.h>

#include "pdf/BlankPages.h"
#include "pdf/DocumentPropertiesWriter.h"
#include "pdf/EncryptedOutput.h"
#include "pdf/ImageFileRules.h"
#include "pdf/PdfImport.h"
#include "pdf/PdfInputs.h"
#include "pdf/PdfWriter.h"

namespace folvane {

namespace {

// Writing over an image would replace it before its own page is read back by anyone: refuse
// an output that is the same file as an input, by device and inode so that links count.
void refuseOutputAmongInputs(const std::string &savePath,
                             const std::vector<std::string> &imagePaths) {
    struct stat output {};
    if (::stat(savePath.c_str(), &output) != 0) {
        return;
    }
    for (std::size_t i = 0; i < imagePaths.size(); ++i) {
        struct stat input {};
        if (::stat(imagePaths[i].c_str(), &input) == 0 && input.st_dev == output.st_dev &&
            input.st_ino == output.st_ino) {
            Problem same;
            same.kind = Problem::Kind::OutputIsInput;
            same.file = savePath;
            same.item = imagePaths[i];
            throw GenerateError(same,
                                "the output file \"" + savePath + "\" is the input image \"" +
                                    imagePaths[i] + "\"; choose another output file",
                                savePath, 0, GenerateError::kNoRow);
        }
    }
}

// Why the engine could not create the output.
GenerateError openFailure(const PdfWriter &writer, const std::string &savePath) {
    Problem problem = writer.LastProblem();
    if (problem.kind == Problem::Kind::None) {
        problem.kind = Problem::Kind::Output;
        problem.file = savePath;
        problem.item = "create";
    }
    std::string text = writer.LastErrorMessage();
    return GenerateError(problem, text.empty() ? "cannot create the output file" : text, savePath,
                         0, GenerateError::kNoRow);
}

// Where a loaded image goes. With document correction on, a page the correction made is a
// sheet of known size and fills it; one it left as it was is placed like any photo.
PagePlacement placeLoadedImage(PdfWriter &writer, int image, const PageLayout &layout,
                               bool corrected) {
    float width = 0;
    float height = 0;
    writer.GetImageSize(image, width, height);
    if (!corrected) {
        float dpiX = 0;
        float dpiY = 0;
        if (layout.paper == Paper::SameAsImage) {
            writer.GetImageResolution(image, dpiX, dpiY);
        }
        return placeOnPage(layout, width, height, dpiX, dpiY);
    }
    float sheetWidth = 0;
    float sheetHeight = 0;
    writer.GetImageSheet(image, sheetWidth, sheetHeight);
    return placeSheet(layout, sheetWidth, sheetHeight, width, height);
}

// The quarter turns clockwise (0..3) of page `documentPage` of the document, row `row`.
int pageQuarterTurns(const GenerateOptions &options, std::size_t row, std::size_t documentPage) {
    int turns = 0;
    if (auto edit = options.pageEdits.find(row); edit != options.pageEdits.end()) {
        turns += edit->second.quarterTurns % 4;
    }
    if (auto more = options.pageTurns.find(documentPage); more != options.pageTurns.end()) {
        turns += more->second % 4;
    }
    return ((turns % 4) + 4) % 4;
}

// The crop of page `documentPage` of the document, row `row`: the document page's own, else
// the row's; none for a page kept whole.
std::optional<CropRect> pageCrop(const GenerateOptions &options, std::size_t row,
                                 std::size_t documentPage) {
    if (auto own = options.pageCrops.find(documentPage); own != options.pageCrops.end()) {
        return own->second;
    }
    if (auto edit = options.pageEdits.find(row); edit != options.pageEdits.end()) {
        return edit->second.crop;
    }
    return std::nullopt;
}

// The engine's options for page `filePage` of row `row`, page `documentPage` of the document:
// its turns, its crop, and the corners placed by hand for its first page when the document is
// corrected.
std::string imageOptions(const GenerateOptions &options, std::size_t row, int filePage,
                         std::size_t documentPage) {
    std::string text;
    if (const int turns = pageQuarterTurns(options, row, documentPage); turns != 0) {
        text = "turns=" + std::to_string(turns);
    }
    if (const std::optional<CropRect> crop = pageCrop(options, row, documentPage)) {
        text += (text.empty() ? "crop=" : " crop=") + std::to_string(crop->left) + "," +
                std::to_string(crop->top) + "," + std::to_string(crop->right) + "," +
                std::to_string(crop->bottom);
    }
    auto corners = options.handCorners.find(row);
    if (!options.correctDocuments || filePage != 1 || corners == options.handCorners.end()) {
        return text;
    }
    text += text.empty() ? "corners=" : " corners=";
    for (std::size_t i = 0; i < corners->second.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%.3f", corners->second[i]);
        text += (i ? "," : "") + std::string(number);
    }
    return text;
}

// The second page of an open book whose first page is open image `image`, as an open image of
// its own, when the engine noted one (the note is the engine's word to this loop, not the
// user's, and is taken out); else 0.
int takeFacingPage(PdfWriter &writer, int image, std::vector<PdfWriter::ImageNote> &notes) {
    auto spread = std::find_if(notes.begin(), notes.end(), [](const PdfWriter::ImageNote &note) {
        return note.kind == PDFW_NOTE_SPREAD;
    });
    if (spread == notes.end()) {
        return 0;
    }
    notes.erase(spread);
    return writer.OpenFacingPage(image);
}

// Writes page `filePage` of `path` and collects the engine's notes on its image, and in
// `facing` the second page of an open book the engine made of it (0: none). A class keeps the
// order the generate command always used (page, image, place at the origin); fit, pages the
// size of their image and correction load the image first, because its size or its sheet
// decides the page's.
PagePlacement writePage(PdfWriter &writer, const PageLayout &layout, bool corrected,
                        const std::string &path, int filePage, const std::string &imageOptions,
                        std::vector<PdfWriter::ImageNote> &notes, int &facing) {
    const char *type = imageTypeForPath(path);
    PagePlacement placement{};
    int image = 0;
    if (layout.sizedByImage() || corrected) {
        image = writer.OpenImageFile(type, path, imageOptions, filePage);
        placement = placeLoadedImage(writer, image, layout, corrected);
        writer.BeginPage(placement.pageWidth, placement.pageHeight);
    } else {
        placement = placeOnPage(layout, 0, 0);
        writer.BeginPage(placement.pageWidth, placement.pageHeight);
        image = writer.OpenImageFile(type, path, imageOptions, filePage);
        placement = placeLoadedImage(writer, image, layout, false);
    }
    writer.PlaceImage(image, placement.x, placement.y, placement.scale);
    notes = writer.GetImageNotes(image);
    facing = corrected ? takeFacingPage(writer, image, notes) : 0;
    writer.CloseImage(image);
    writer.EndPage();
    return placement;
}

// Writes open image `image`, an open book's second page, on a page of its own.
PagePlacement writeFacingPage(PdfWriter &writer, const PageLayout &layout, int image,
                              std::vector<PdfWriter::ImageNote> &notes) {
    PagePlacement placement = placeLoadedImage(writer, image, layout, true);
    writer.BeginPage(placement.pageWidth, placement.pageHeight);
    writer.PlaceImage(image, placement.x, placement.y, placement.scale);
    notes = writer.GetImageNotes(image);
    writer.CloseImage(image);
    writer.EndPage();
    return placement;
}

static_assert(int{PageNote::kCorrectionFailed} == int{PDFW_CORRECTION_FAILED} &&
                  int{PageNote::kCorrectionOutOfMemory} == int{PDFW_CORRECTION_OUT_OF_MEMORY} &&
                  int{PageNote::kCornersMakeNoSheet} == int{PDFW_CORRECTION_BAD_CORNERS} &&
                  int{PageNote::kModuleCannotLoad} == int{PDFW_CORRECTION_MODULE_CANNOT_LOAD} &&
                  int{PageNote::kModuleUnusable} == int{PDFW_CORRECTION_MODULE_UNUSABLE},
              "the engine's reasons, as the page loop hands them on");

PageNote::Kind noteKind(int engineKind) {
    switch (engineKind) {
    case PDFW_NOTE_PROFILE_IGNORED:
        return PageNote::Kind::ProfileIgnored;
    case PDFW_NOTE_PROFILE_TOO_NEW:
        return PageNote::Kind::ProfileTooNew;
    case PDFW_NOTE_FAX_REENCODED:
        return PageNote::Kind::FaxReencoded;
    case PDFW_NOTE_SAMPLES_REDUCED:
        return PageNote::Kind::SamplesReduced;
    case PDFW_NOTE_SHEET_NOT_FOUND:
        return PageNote::Kind::SheetNotFound;
    case PDFW_NOTE_NOT_CORRECTED:
        return PageNote::Kind::NotCorrected;
    default:
        return PageNote::Kind::Repaired;
    }
}

// Tells the caller about a cut image and each of the engine's notes.
void reportNotes(const GenerateEvents &events, PageNote note, const PagePlacement &placement,
                 const std::vector<PdfWriter::ImageNote> &notes) {
    if (!events.onNote) {
        return;
    }
    if (placement.outside > 0) {
        note.kind = PageNote::Kind::Cropped;
        note.outside = placement.outside;
        events.onNote(note);
    }
    note.outside = 0;
    for (const PdfWriter::ImageNote &engineNote : notes) {
        note.kind = noteKind(engineNote.kind);
        note.number = engineNote.number;
        note.detail = engineNote.detail;
        events.onNote(note);
    }
}

// What a failure is about: the output, or a row's page.
struct Subject {
    std::string path;
    int filePage = 0;
    std::size_t index = GenerateError::kNoRow;
};

// The pages of its file row `row` writes, first to last: the one page it stands for, or all
// `count` of them.
std::pair<int, int> rowPageSpan(const GenerateOptions &options, std::size_t row, int count) {
    const auto one = options.rowPages.find(row);
    return one == options.rowPages.end() ? std::pair{1, count}
                                         : std::pair{one->second, one->second};
}

// The pages a PDF row gives: one with firstPageOnly or a page named for the row, else all of
// its file's; 0 when the file cannot be read, which its turn then reports.
int pdfRowCount(PdfImport &pdfs, const std::string &path, std::size_t row,
                const GenerateOptions &options) {
    try {
        const int pages = pdfs.pageCount(path, options);
        return options.firstPageOnly || options.rowPages.count(row) ? 1 : pages;
    } catch (const pdfdoc::PdfError &) {
        return 0;
    }
}

// An image page as countAndQueue lists it: which page of the document it is.
struct ListedPage {
    BlankPages::Page page;
    std::size_t documentPage = 0;
};

// Counts each file's pages once, and hands each page of an image row to `take` as soon as its
// file is counted. A count that fails is 0: the file's turn counts again, and fails there,
// after the pages before it; its row gives its first page.
std::vector<int> countAndList(PdfWriter &writer, PdfImport &pdfs,
                              const std::vector<std::string> &imagePaths,
                              const GenerateOptions &options,
                              const std::function<void(const ListedPage &)> &take) {
    std::vector<int> counts;
    std::size_t documentPage = 0;
    for (std::size_t row = 0; row < imagePaths.size(); ++row) {
        const std::string &path = imagePaths[row];
        if (isPdfPath(path)) {
            counts.push_back(pdfRowCount(pdfs, path, row, options));
            documentPage += static_cast<std::size_t>(std::max(counts.back(), 1));
            continue;
        }
        int pages = 1;
        if (!options.firstPageOnly) {
            try {
                pages = writer.CountPages(path);
            } catch (const PdfWriter::Exception &) {
                pages = 0;
            }
        }
        counts.push_back(pages);
        const auto [first, last] = rowPageSpan(options, row, pages);
        for (int page = first; page <= last || page == first; ++page, ++documentPage) {
            take(ListedPage{BlankPages::Page{row, path, page, pages > 0}, documentPage});
        }
    }
    return counts;
}

// Counts each file's pages once and announces every page but those left out as blank (their
// pages of the document in `blank`), so that the engine prepares them on all cores while it
// writes. Without skipBlank each file's pages are announced as soon as it is counted; with it,
// the pages are listed first and judged ahead, on every core, while the engine prepares those
// before them.
std::vector<int> countAndQueue(PdfWriter &writer, PdfImport &pdfs,
                               const std::vector<std::string> &imagePaths,
                               const GenerateOptions &options, const GenerateEvents &events,
                               std::set<std::size_t> &blank) {
    const auto queue = [&](const ListedPage &listed) {
        const BlankPages::Page &page = listed.page;
        writer.QueueImage(imageTypeForPath(page.path), page.path,
                          imageOptions(options, page.row, page.filePage, listed.documentPage),
                          page.filePage);
    };
    if (!options.skipBlank) {
        return countAndList(writer, pdfs, imagePaths, options, queue);
    }
    std::vector<ListedPage> listed;
    const std::vector<int> counts = countAndList(
        writer, pdfs, imagePaths, options, [&](const ListedPage &each) { listed.push_back(each); });
    std::vector<BlankPages::Page> pages;
    for (const ListedPage &each : listed) {
        pages.push_back(each.page);
    }
    BlankPages verdicts(options, pages);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        if (events.stopRequested && events.stopRequested()) {
            throw GenerateCancelled(); // judging every page takes a while
        }
        if (verdicts.leaveOut(i)) {
            blank.insert(listed[i].documentPage);
        } else {
            queue(listed[i]);
        }
    }
    return counts;
}

// The page of its file that page `index` (0-based) of row `row` is.
int pdfRowPage(PdfImport &pdfs, const std::string &path, std::size_t row, int index,
               const GenerateOptions &options) {
    auto named = options.rowPages.find(row);
    if (named == options.rowPages.end()) {
        return index + 1;
    }
    const int pages = pdfs.pageCount(path, options);
    if (named->second < 1 || named->second > pages) {
        Problem problem;
        problem.kind = Problem::Kind::NoSuchPage;
        problem.file = path;
        problem.format = "PDF";
        problem.numbers[0] = named->second;
        problem.numbers[1] = pages;
        throw GenerateError(problem, "no such page", path, named->second, row);
    }
    return named->second;
}

// Copies one page of a PDF row, with the note that its file was damaged and recovered on the
// row's first page.
void writePdfPage(PdfImport &pdfs, const GenerateOptions &options, const GenerateEvents &events,
                  const PageNote &note, std::size_t documentPage, int index) {
    pdfs.writePage(note.path, note.index, options, note.filePage,
                   pageQuarterTurns(options, note.index, documentPage),
                   pageCrop(options, note.index, documentPage));
    if (index == 0 && pdfs.recovered() && events.onNote) {
        PageNote recovered = note;
        recovered.kind = PageNote::Kind::PdfRecovered;
        recovered.detail = pdfs.recoveryDetail();
        events.onNote(recovered);
    }
}

// The engine's document parameters for the run's options.
void setEngineParameters(PdfWriter &writer, const GenerateOptions &options) {
    writer.SetParameter("compatibility", options.pdfVersion);
    if (!options.ocrLanguages.empty()) {
        writer.SetParameter("ocr", options.ocrLanguages);
    }
    if (options.correctDocuments) {
        writer.SetParameter("correction", "document");
        writer.SetParameter("dewarp", options.straightenCurves ? "on" : "off");
        if (options.spreads != GenerateOptions::Spreads::Kept) {
            writer.SetParameter("spreads", options.spreads == GenerateOptions::Spreads::LeftFirst
                                               ? "left-first"
                                               : "right-first");
        }
    }
}

void writePages(PdfWriter &writer, const std::string &savePath,
                const std::vector<std::string> &imagePaths, const GenerateOptions &options,
                const GenerateEvents &events, Subject &subject) {
    setEngineParameters(writer, options);
    setDocumentProperties(writer, options.properties);
    if (writer.OpenFile(savePath) == -1) {
        throw openFailure(writer, savePath);
    }
    std::set<std::size_t> blank;
    PdfImport pdfs(writer);
    const std::vector<int> counts = countAndQueue(writer, pdfs, imagePaths, options, events, blank);
    const std::size_t total = imagePaths.size();
    std::size_t documentPage = 0;
    for (std::size_t i = 0; i < total; ++i) {
        const std::string &path = imagePaths[i];
        const bool pdf = isPdfPath(path);
        subject = Subject{path, 1, i};
        const int pages = counts[i] > 0 ? counts[i]
                          : pdf         ? pdfs.pageCount(path, options)
                                        : writer.CountPages(path);
        // A PDF row counts its pages from 0 and asks which page each is; an image row walks
        // the pages of its file it gives.
        const auto [first, last] = pdf ? std::pair{0, pages - 1} : rowPageSpan(options, i, pages);
        for (int index = first; index <= last; ++index, ++documentPage) {
            const int page = pdf ? pdfRowPage(pdfs, path, i, index, options) : index;
            const int filePages = pdf ? pdfs.pageCount(path, options) : pages;
            subject.filePage = page;
            if (events.stopRequested && events.stopRequested()) {
                throw GenerateCancelled();
            }
            if (blank.count(documentPage)) {
                if (events.onBlankSkipped) {
                    events.onBlankSkipped(PageStart{i, total, path, page, pages});
                }
                continue;
            }
            if (events.onPage) {
                events.onPage(PageStart{i, total, path, page, filePages});
            }
            if (pdf) {
                writePdfPage(pdfs, options, events,
                             PageNote{i, path, page, filePages, PageNote::Kind::Cropped, 0, 0, ""},
                             documentPage, index);
                continue;
            }
            std::vector<PdfWriter::ImageNote> notes;
            int facing = 0;
            PagePlacement placement =
                writePage(writer, options.layout, options.correctDocuments, path, page,
                          imageOptions(options, i, page, documentPage), notes, facing);
            const PageNote note{i, path, page, pages, PageNote::Kind::Cropped, 0, 0, ""};
            reportNotes(events, note, placement, notes);
            // A book's second page is not a listed page: turns, crops and blank verdicts name
            // the pages as listed before the books were split.
            if (facing != 0) {
                if (events.onPage) {
                    events.onPage(PageStart{i, total, path, page, filePages});
                }
                placement = writeFacingPage(writer, options.layout, facing, notes);
                reportNotes(events, note, placement, notes);
            }
        }
    }
    subject = Subject{savePath, 0, GenerateError::kNoRow};
    if (!blank.empty() && blank.size() == documentPage) {
        throw everyPageBlank(savePath, blank.size());
    }
    // A stop asked for while the last page was written still keeps the old document.
    if (events.stopRequested && events.stopRequested()) {
        throw GenerateCancelled();
    }
    writer.Close();
    if (events.afterClose) {
        events.afterClose();
    }
}

// An engine failure with its problem, read while the writer still holds it.
struct EngineFailure {
    Problem problem;
    std::string message;
};

void writeWithEngine(const std::string &savePath, const std::vector<std::string> &imagePaths,
                     const GenerateOptions &options, const GenerateEvents &events,
                     Subject &subject) {
    PdfWriter writer(nullptr, nullptr, nullptr, nullptr);
    try {
        writePages(writer, savePath, imagePaths, options, events, subject);
    } catch (const PdfWriter::Exception &e) {
        throw EngineFailure{writer.LastProblem(), e.message};
    } catch (const pdfdoc::PdfError &e) {
        throw GenerateError(pdfProblem(e, subject.path), e.what(), subject.path, subject.filePage,
                            subject.index);
    }
}

// The engine writes the plain document beside the target, then it is encrypted into place.
void writeEncrypted(const std::string &savePath, const std::vector<std::string> &imagePaths,
                    const GenerateOptions &options, const GenerateEvents &events,
                    Subject &subject) {
    EncryptedOutput output(savePath);
    GenerateEvents engineEvents = events;
    engineEvents.afterClose = nullptr;
    try {
        writeWithEngine(output.plainPath(), imagePaths, options, engineEvents, subject);
    } catch (EngineFailure &e) {
        if (e.problem.kind == Problem::Kind::Output) {
            e.problem.file = savePath;
        }
        throw;
    }
    if (events.stopRequested && events.stopRequested()) {
        throw GenerateCancelled();
    }
    output.commit(*options.encryption);
    if (events.afterClose) {
        events.afterClose();
    }
}

void writeDocument(const std::string &savePath, const std::vector<std::string> &imagePaths,
                   const GenerateOptions &options, const GenerateEvents &events, Subject &subject) {
    if (options.encryption) {
        writeEncrypted(savePath, imagePaths, options, events, subject);
        return;
    }
    writeWithEngine(savePath, imagePaths, options, events, subject);
}

Problem internal(const std::string &what) {
    Problem problem;
    problem.kind = Problem::Kind::Internal;
    problem.detail = what;
    return problem;
}

} // namespace

void generatePdf(const std::string &savePath, const std::vector<std::string> &imagePaths,
                 const GenerateOptions &options, const GenerateEvents &events) {
    refuseOutputAmongInputs(savePath, imagePaths);
    Subject subject{savePath, 0, GenerateError::kNoRow};
    try {
        writeDocument(savePath, imagePaths, options, events, subject);
    } catch (const GenerateError &) {
        throw;
    } catch (const GenerateCancelled &) {
        throw;
    } catch (const EngineFailure &e) {
        // The output failing while an image is written is about the output, not that image.
        if (e.problem.kind == Problem::Kind::Output) {
            throw GenerateError(e.problem, e.message, savePath, 0, GenerateError::kNoRow);
        }
        throw GenerateError(e.problem, e.message, subject.path, subject.filePage, subject.index);
    } catch (const PdfWriter::Exception &e) { // the writer could not be made
        throw GenerateError(internal(e.message), e.message, subject.path, subject.filePage,
                            subject.index);
    } catch (const std::exception &e) {
        throw GenerateError(internal(e.what()), e.what(), subject.path, subject.filePage,
                            subject.index);
    } catch (...) {
        throw GenerateError(internal("unexpected failure"), "unexpected failure", subject.path,
                            subject.filePage, subject.index);
    }
}

void removeTemporaryFiles() noexcept {
    PdfWriter::RemoveTemporaryFiles();
}

void removeDeadTemporaries(const std::string &folder) noexcept {
    PdfWriter::RemoveDeadTemporaries(folder);
}

} // namespace folvane
