// The pages of an existing PDF document, read without drawing them, and each page's objects
// copied into a document being written elsewhere, renumbered by that document.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace folvane::pdfdoc {

// Why a PDF document cannot be read.
enum class PdfFailure {
    CannotOpen,     // detail: the system's reason
    NotAFile,       // a pipe, device or socket, refused without waiting on it
    PasswordNeeded, // encrypted with a password to open it, and none was given
    WrongPassword,  // the password given does not open it
    Damaged,        // damaged beyond what can be recovered, or hostile; detail: why
};

class PdfError : public std::runtime_error {
public:
    PdfError(PdfFailure why, const std::string &reason)
        : std::runtime_error(reason), failure(why), detail(reason) {}

    PdfFailure failure;
    std::string detail; // qpdf's own words, or ours for what we refuse ourselves
};

// A rectangle in a page's default user space, in points, left < right and bottom < top.
struct PageBox {
    double left = 0;
    double bottom = 0;
    double right = 612;
    double top = 792;
    double width() const { return right - left; }
    double height() const { return top - bottom; }
};

// Where a page lies: its media box, the part shown (its crop box, inside the media box) and
// its own turn clockwise (0, 90, 180 or 270), inherited from the page tree where the page has
// none of its own.
struct PageFrame {
    PageBox mediaBox;
    PageBox cropBox;
    int rotate = 0;
};

// Where copied objects go: numbers the receiving document gives, and each object written once
// as PDF syntax that refers to other objects by those numbers.
class ObjectSink {
public:
    virtual ~ObjectSink() = default;
    virtual int reserveObject() = 0;
    // `body`: one PDF object other than a stream.
    virtual void writeObject(int number, std::string_view body) = 0;
    // `dictionary`: the stream's entries other than /Length; `data`: its bytes as stored.
    virtual void writeStream(int number, const std::string &dictionary, std::string_view data) = 0;
};

// One PDF document opened for reading. Everything copied from it is remembered while it is
// open, so that resources its pages share go into the receiving document once.
//
// Ceilings for hostile files: at most kMaxPages pages and kMaxTreeDepth levels of page tree
// (a node met twice refuses the file, so a tree pointing at itself ends at once; the page
// count the file claims is never trusted); an object stream may decode to no more than
// kObjectStreamRatio times its stored size (kObjectStreamFloor bytes at least) before qpdf is
// let to read it; nesting of arrays and dictionaries stops at kMaxNesting. Each stream copied
// is held in memory once, at its stored size, which the file's size bounds.
class PdfPages {
public:
    static constexpr int kMaxPages = 100000;
    static constexpr int kMaxTreeDepth = 256;
    static constexpr long long kObjectStreamRatio = 100;
    static constexpr long long kObjectStreamFloor = 1 << 20;
    static constexpr int kMaxNesting = 512;

    // Throws PdfError. `password` may be empty; either password opens an encrypted document.
    PdfPages(const std::string &path, const std::string &password);
    ~PdfPages();
    PdfPages(const PdfPages &) = delete;
    PdfPages &operator=(const PdfPages &) = delete;

    int pageCount() const;
    // Whether the file was damaged and qpdf read it all the same, and its first words on it.
    bool recovered() const;
    std::string recoveryDetail() const;
    // Page `page` (1-based, within pageCount()).
    PageFrame frame(int page) const;
    // Copies the objects page `page` uses that this document has not copied yet into `sink`,
    // and gives the entries of its page dictionary for object `pageObject` (its /Resources,
    // /Contents, /Annots and the like; not /Type, /Parent, /MediaBox, /CropBox or /Rotate,
    // which the caller writes). References to other pages and to the page tree become null.
    // Throws PdfError for a damaged page; what the sink throws passes through.
    std::string copyPage(int page, int pageObject, ObjectSink &sink);

    struct Source;

private:
    std::unique_ptr<Source> source_;
};

} // namespace folvane::pdfdoc
