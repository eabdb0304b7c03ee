#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "pdf/DocumentProperties.h"
#include "pdf/PageLayout.h"
#include "pdf/Problem.h"
#include "pdfdoc/Encryption.h"

namespace folvane {

// The PDF version the page loop writes by default, and the window's pre-flight asks about.
inline constexpr const char *kPdfVersion = "1.4";

// The corners of a sheet a user placed by hand: x, y of the top-left, top-right, bottom-right
// and bottom-left corners in pixels of the upright picture.
using SheetCorners = std::array<double, 8>;

// A rectangle of a page's turned picture, in its pixels: left and top inside, right and bottom
// just past it.
struct CropRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const CropRect &) const = default;
};

// What the user changed about the pages of a row: quarter turns clockwise (0 to 3, after the
// file's own EXIF orientation), then the part of the turned picture that is kept.
struct PageEdit {
    int quarterTurns = 0;
    std::optional<CropRect> crop;
    bool operator==(const PageEdit &) const = default;
};

struct GenerateOptions {
    PageLayout layout;
    // "1.3" to "1.7"; from 1.5 on, samples of more than 8 bits keep 16 (BitsPerComponent 16).
    std::string pdfVersion = kPdfVersion;
    bool firstPageOnly = false; // one page per file, even for a TIFF of several
    std::string ocrLanguages{}; // empty: no text layer
    // Every page corrected as a photographed or scanned document (its sheet found and
    // flattened, a scan straightened, the light evened, written small); a photo in which no
    // sheet is found goes in as it is, with a PageNote saying so.
    bool correctDocuments = false;
    // With correctDocuments, pages whose text lines bend are straightened.
    bool straightenCurves = true;
    // With correctDocuments, a photo of an open book becomes its two pages, in reading order:
    // left first, or right first for books read from right to left. Each row of such a photo
    // then gives two pages of the document.
    enum class Spreads { Kept, LeftFirst, RightFirst };
    Spreads spreads = Spreads::Kept;
    // With correctDocuments, corners placed by hand for the first page of a row, by row.
    std::map<std::size_t, SheetCorners> handCorners{};
    // Turns and crops, by row; a row without one goes in as its file is.
    std::map<std::size_t, PageEdit> pageEdits{};
    // Further quarter turns clockwise (negative: anticlockwise) by page of the document, counted
    // from 0 over every page of the rows (an open book's photo counting as one, its two pages
    // turned alike), added to its row's.
    std::map<std::size_t, int> pageTurns{};
    // Crops by page of the document, counted as pageTurns counts them, in pixels of the page's
    // picture after all its turns; one given here replaces its row's.
    std::map<std::size_t, CropRect> pageCrops{};
    // The page of its file a row stands for (1-based), by row: the window's rows of a PDF each
    // name one page. A row without one gives every page of its file.
    std::map<std::size_t, int> rowPages{};
    // Passwords that open encrypted PDF inputs, by path as given in the rows.
    std::map<std::string, std::string> pdfPasswords{};
    // Pages with nothing on them (blank/BlankRule.h) are left out, each told by
    // GenerateEvents::onBlankSkipped; a run whose every page is blank fails (EveryPageBlank).
    bool skipBlank = false;
    // With skipBlank, what the caller already knows, by row of a single page: true for blank.
    // Rows not listed are judged by the page loop.
    std::map<std::size_t, bool> blankRows{};
    // Locks the document with passwords (AES-256); its PDF version then rises to 1.7, which
    // that needs. The bytes differ from run to run: the encryption's salts are random.
    std::optional<pdfdoc::EncryptionSettings> encryption{};
    // The document's title, author, subject and keywords (checked with PropertyFaultOf).
    DocumentProperties properties{};
};

// A page about to be written: row `index` of `total` rows, page `filePage` (1-based) of the
// `filePages` pages of the row's file. An open book's two pages are each announced, with the
// same file page.
struct PageStart {
    std::size_t index;
    std::size_t total;
    std::string path;
    int filePage;
    int filePages;
};

// Something the user should know about a page that was written all the same.
struct PageNote {
    std::size_t index;
    std::string path;
    int filePage;
    int filePages;
    enum class Kind {
        Cropped,        // its image runs past the page's edge; `outside`: the share beyond it
        Repaired,       // a damaged JPEG rewritten without loss; detail: what was wrong (or "")
        ProfileIgnored, // its colour profile left out, device colours used; detail: why
        ProfileTooNew,  // an ICC version 4 profile in a PDF 1.`number` (older than 1.5)
        FaxReencoded,   // fax data PDF readers misread, re-encoded as G4; detail: what was wrong
        SamplesReduced, // samples of `number` bits (9 to 16) written with 8; detail: "" when
                        // the PDF version is why (1.5 keeps 16), else the reason
        SheetNotFound,  // document correction found no sheet in the photo: it went in as it is;
                        // number: 2 when it saw two sheets
        NotCorrected,   // document correction could not correct the page; number: why (below)
        PdfRecovered,   // a damaged PDF read all the same; detail: qpdf's words on the damage
    } kind;
    // Why a page was not corrected (NotCorrected's number) and what its detail then holds.
    enum Uncorrected : long long {
        kCorrectionFailed = 0,      // detail: the image processing's own words
        kCorrectionOutOfMemory = 1, //
        kCornersMakeNoSheet = 2,    // detail: how the corners given fail
        kModuleCannotLoad = 3,      // detail: the dynamic loader's words, naming the module
        kModuleUnusable = 4,        // detail: the module's path
    };
    double outside = 0;
    long long number = 0;
    std::string detail;
};

// Every callback is optional and runs on the thread that calls generatePdf.
struct GenerateEvents {
    std::function<void(const PageStart &)> onPage;
    std::function<void(const PageNote &)> onNote;
    // A page left out as blank (GenerateOptions::skipBlank).
    std::function<void(const PageStart &)> onBlankSkipped;
    // Polled before each page; true ends the run with GenerateCancelled.
    std::function<bool()> stopRequested;
    // Runs after the document is complete on disk (encrypted, when it is).
    std::function<void()> afterClose;
};

// Why a run failed: `problem`, which front ends word for their users. what() is the engine's
// own English text wherever the engine gave one (a log's line, not the user's).
class GenerateError : public std::runtime_error {
public:
    static constexpr std::size_t kNoRow = std::numeric_limits<std::size_t>::max();

    GenerateError(Problem why, const std::string &text, std::string subject, int page,
                  std::size_t row)
        : std::runtime_error(text), problem(std::move(why)), path(std::move(subject)),
          filePage(page), index(row) {}

    // True when the output, not an image, failed.
    bool aboutOutput() const { return index == kNoRow; }

    Problem problem;
    std::string path; // the image, or the output path when aboutOutput()
    int filePage;     // the image's page (1-based), 0 when aboutOutput()
    std::size_t index;
};

// The run was stopped on request: no file was left behind and an existing one is untouched.
class GenerateCancelled : public std::runtime_error {
public:
    GenerateCancelled() : std::runtime_error("stopped on request") {}
};

// Writes one document at `savePath` with the pages of `imagePaths` in order: every page of a
// TIFF (only its first with `firstPageOnly`), one for each other file, laid out as
// `options.layout` says, in PDF `options.pdfVersion`; written beside the target and renamed over it
// only when complete, so that every failure (GenerateError) and a stop (GenerateCancelled) leave no
// file and an existing one untouched. An output path that names one of the images (the same file,
// through a link too) is refused before anything is written.
void generatePdf(const std::string &savePath, const std::vector<std::string> &imagePaths,
                 const GenerateOptions &options, const GenerateEvents &events = {});

// Removes the temporary files of every document being written in this process, leaving their
// targets untouched. Async-signal-safe: for a handler of SIGINT and the like that then ends the
// process.
void removeTemporaryFiles() noexcept;

// Removes the temporary files and folders that killed runs left in `folder`: those named
// ".NAME.pdfw-PID-XXXXXX" whose process is gone and whose lock (flock, held by a living run on
// the file or folder) nobody holds.
void removeDeadTemporaries(const std::string &folder) noexcept;

} // namespace folvane
