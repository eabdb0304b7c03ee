// What an existing PDF is, for the window's list and pre-flight: whether it opens (and with
// which password), how many pages it has, and each page's size, turn and text. Read with
// Poppler; no Poppler type crosses this interface. Safe to call from several threads at once.
#pragma once

#include <string>

namespace folvane::pdfdoc {

// The most pages taken from one file: beyond this a page count is not believed (a hostile file
// can claim millions) and the file is refused.
inline constexpr int kMaxPdfPages = 10000;

// Why a PDF, or one of its pages, cannot be read.
enum class PdfFailure {
    None,
    CannotOpen,    // the file cannot be opened at all; detail: the system's reason
    Damaged,       // not a PDF that can be read
    NeedsPassword, // encrypted with an open password, and none was given
    WrongPassword, // the password given does not open it
    NoSuchPage,    // the page asked for is not in it
    TooManyPages,  // more than kMaxPdfPages pages
    TooLarge,      // a drawing beyond its pixel ceiling, or memory ran out
};

struct PdfPageFacts {
    // The page as a viewer shows it, in points: its crop box, after its own rotation.
    double width = 0;
    double height = 0;
    int rotation = 0; // the page's own clockwise turn in degrees: 0, 90, 180 or 270
    bool hasText = false;
};

struct PdfFacts {
    PdfFailure failure = PdfFailure::None;
    std::string detail; // CannotOpen: the system's reason
    int pages = 0;
    bool encrypted = false; // it has a password of either kind (an owner password alone opens)
    PdfPageFacts page;      // the page asked for, when one was
};

// Opens the file at `path` with `password` ("" for none) and counts its pages; with `page`
// (1-based, 0 for none) also tells that page's facts.
PdfFacts readPdfFacts(const std::string &path, const std::string &password = "", int page = 0);

// Whether the file needs a password to open (it is encrypted with an open password).
bool needsPassword(const std::string &path);

// Whether the file opens with `password` (also when it needs none); false for a file that does
// not open for any reason.
bool passwordOpens(const std::string &path, const std::string &password);

} // namespace folvane::pdfdoc
