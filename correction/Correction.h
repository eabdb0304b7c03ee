// Document correction: turns a photographed or scanned page into a page that reads like a
// scan. findSheet() finds the four corners of the sheet in a photo; correctPage() flattens the
// sheet (or deskews a scan and cuts its dark border away), evens its light, and splits it into
// black ink and, for pages with colour, a reduced-resolution background.
//
// Plain data in and out: callers hand in their own pixels and get vectors back.
//  - Neither function throws. A picture that cannot be corrected gives a result whose `failure`
//    says why, as a kind with its fields that the caller words; a picture without a
//    recognisable sheet gives a sound result with `found` false and the whole picture kept as
//    the page, never a crop made at a guess.
//  - Both may run on several threads at once (one picture per call); they keep no state
//    between calls. Results are byte for byte the same whatever the number of threads of the
//    calling program: the first call sets the image library underneath to run on the calling
//    thread only.
//  - Coordinates are pixels of the upright picture (after its EXIF/TIFF orientation), x to the
//    right and y down, (0, 0) the centre of the top-left pixel.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace folvane::correction {

// What the picture is, as far as the caller knows; Unknown lets the library decide.
enum class SourceKind { Unknown, Photo, Scan };

// The paper the page's shape (and, for scans, its size) was snapped to.
enum class PaperSize { None, A4, A5, B5, Letter };

// What the corrected page holds: black ink on paper only (stored as the bilevel ink alone), or
// colour or grey tones a bilevel image would lose (the ink over a colour background).
enum class ContentKind { Bilevel, Colour };

struct Point {
    double x = 0;
    double y = 0;
};

// Corners of the sheet: top-left, top-right, bottom-right, bottom-left of the upright picture.
using Corners = std::array<Point, 4>;

struct Picture {
    const uint8_t *pixels = nullptr; // not owned; read only, during the call
    std::size_t size = 0;            // bytes readable at `pixels`
    int width = 0;                   // stored pixels, before the orientation is applied
    int height = 0;
    int channels = 0;       // 1 grey, 3 RGB; 8 bits each
    std::size_t stride = 0; // bytes from the start of a row to the next, rows top first
    int orientation = 1;    // EXIF/TIFF orientation 1..8; anything else counts as 1 (upright)
    SourceKind kind = SourceKind::Unknown;
    double dpi = 0; // the resolution the file states, 0 when unknown (a camera's is meaningless)
    std::optional<Corners> corners; // corners placed by hand (upright pixels): no detection
    // Straighten a page whose text lines bend (a book's page, a curled sheet); false keeps the
    // four-corner correction alone.
    bool straightenCurves = true;
    // correctPages() only: a photo or scan of an open book, two pages either side of a shaded
    // fold, gives both pages; in reading order, left first, or right first for a book read from
    // right to left.
    bool splitSpreads = false;
    bool rightToLeft = false;
};

// Why a picture could not be searched or corrected.
struct Failure {
    enum class Kind {
        None,
        BadPicture,          // the picture handed in breaks a rule of Picture; detail: which
        BadCorners,          // the corners placed by hand make no sheet; detail: how
        OutOfMemory,         //
        ProcessingFailed,    // the image library failed; detail: its words
        ModuleCannotLoad,    // the correction module; path, detail: the dynamic loader's words
        ModuleWrongVersion,  // path: a file that is no correction module of this version
        ModuleFailedToStart, // path: the correction module
        TwoSheets,           // the photo shows sheets side by side: which is the page is unknown
    };
    Kind kind = Kind::None;
    std::string path;
    std::string detail;

    explicit operator bool() const { return kind != Kind::None; }
};

struct SheetSearch {
    Failure failure;       // none on success; else why the picture could not be searched
    bool found = false;    // a sheet was found with confidence
    Corners corners{};     // the sheet's corners; the whole picture's when none was found
    double confidence = 0; // 0..1
};

// Finds the sheet in a photo: the four corners, whether it was found with confidence, and the
// confidence. Hand-placed corners in `picture` are returned as they are.
SheetSearch findSheet(const Picture &picture);

// How the page was obtained.
struct PageFacts {
    bool found = false; // a sheet was found (or its corners were given); false: picture kept whole
    Corners corners{};  // the part of the upright picture that became the page
    double confidence = 0;
    PaperSize paper = PaperSize::None;
    SourceKind treatedAs = SourceKind::Photo; // Photo or Scan, never Unknown
    // How far the page stood turned in the picture, in degrees, clockwise positive; the
    // correction turned it back by as much.
    double deskewDegrees = 0;
    // No page in the picture: one too small to hold one, which the correction would turn into
    // a pattern. The caller puts the picture in as it is, as for a photo without a sheet; the
    // page below is still filled.
    bool plain = false;
    // How far most text lines sag from their chords after the four-corner correction, where
    // they sag most, as a share of the page's height (0 when the page has too few text lines to
    // tell, or when curves were not looked for), and whether the page was straightened for it.
    double lineSag = 0;
    bool straightened = false;
    // The page's place in an open book's spread that correctPages() split: 1 or 2 in reading
    // order; 0 for a page that was no spread.
    int spreadPage = 0;
};

struct CorrectedPage {
    Failure failure; // none on success; else why nothing else below is filled

    int width = 0; // the corrected page, in pixels
    int height = 0;
    double dpi = 0;
    ContentKind content = ContentKind::Bilevel;

    // The ink at full resolution: 1 bit per pixel, 1 = ink, the first pixel of a row in the
    // most significant bit, each row padded to whole bytes (inkRowBytes = (width + 7) / 8).
    std::vector<uint8_t> ink;
    std::size_t inkRowBytes = 0;

    // Colour pages only: the page at backgroundDpi (100 to 150 dpi, never more than `dpi`) as
    // RGB, 3 bytes a pixel, rows of 3 * backgroundWidth bytes top first, with the ink filled by
    // the paper and colour around it. Empty for bilevel pages.
    int backgroundWidth = 0;
    int backgroundHeight = 0;
    double backgroundDpi = 0;
    std::vector<uint8_t> background;

    // The cleaned page in grey at full resolution for text recognition, width bytes a row,
    // 0 black, 255 white.
    std::vector<uint8_t> grey;

    // The photo's text is too soft for the ink to keep its shape (small text, out of focus): a
    // bilevel cut would run its strokes together. Such a page is written whole in tones rather
    // than as ink: `grey` for a Bilevel page; for a Colour page `background`, which then holds
    // the whole page at its own resolution (backgroundDpi == dpi), the ink not filled in.
    bool softText = false;

    PageFacts facts;
};

// Corrects a photo or a scan: finds the sheet (or takes the given corners), flattens it to
// its own shape, evens the light, and splits it into ink and background.
CorrectedPage correctPage(const Picture &picture);

// As correctPage(), except that with `picture.splitSpreads` an open book's spread gives its two
// pages, in reading order. Always at least one page: a failure comes as one page holding it.
std::vector<CorrectedPage> correctPages(const Picture &picture);

// Whether correctPages() would give `picture` (with `splitSpreads`) as an open book's two pages:
// the sheet found (or its corners given) and its fold seen, the pages not yet made. False too
// for a picture the correction refuses.
bool isSpread(const Picture &picture);

const char *paperName(PaperSize paper); // "A4", ..., "none"

} // namespace folvane::correction
