// What went wrong, or what is worth telling, as a kind with fields: what the engine reports
// (and the few failures the page loop finds itself), with no sentence attached. Each front end
// words them in its user's language, in one place (cli/Messages, app/Messages).
#pragma once

#include <string>
#include <vector>

namespace folvane {

// The most pixels a side of a TIFF or PNG page may have (the engine's PDFW_MAX_PICTURE_SIDE):
// viewers that draw with cairo show larger pictures as blank pages.
inline constexpr long kMaxPictureSide = 32767;

// The most pixels a side of a JPEG may have (the engine's PDFW_MAX_JPEG_SIDE): JPEG decoders
// read no larger one.
inline constexpr long kMaxJpegSide = 65500;

struct Problem {
    enum class Kind {
        None,
        Call,        // a fault of the program itself; detail: the rule it broke
        Memory,      // memory ran out; item: what was being made
        CannotOpen,  // the file cannot be opened; detail: the system's reason
        CannotRead,  // it cannot be read, or changed while it was read; detail: why
        NotAnImage,  // of no format the engine reads; formats: those it reads, numbers[0]: 1 if
                     // empty
        Damaged,     // malformed, or its library cannot read it whole; detail: how
        Truncated,   // it ends early; item: what it ends inside
        Unsupported, // a kind of picture PDF cannot carry; detail: which
        NoSuchPage,  // numbers[0]: the page asked for, numbers[1]: the pages it has
        TooLarge,    // item: which part, numbers[0]: the limit in bytes
        Output,      // the output failed; item: the step ("create", "write", ...), detail
        DocumentTooLarge,  // beyond the 10 GB a PDF cross-reference table can address
        LanguageNames,     // item: the recognition languages, not names joined by '+'
        LanguageMissing,   // item: the language, detail: the Debian package that installs it
        Recognition,       // numbers: the page's width and height in pixels (0 before a page),
                           // detail: the engine's own words (or "")
        Stopped,           // the run was stopped
        Internal,          // detail: what
        OutputIsInput,     // file: the output, item: the image it is
        TooManyPixels,     // a side beyond PDFW_MAX_PICTURE_SIDE; numbers: width, height
        DataTooShort,      // numbers[0]: the pixels claimed, numbers[1]: the bytes of data
        RecognitionModule, // item: the engine module's path, module: why it cannot be used,
                           // detail: the dynamic loader's words for CannotLoad
        LanguageData,      // item: the recognition languages, detail: the data's folder
        NotAFile,          // a pipe, device or socket, refused without waiting on it
        JpegTooLarge,      // a JPEG side beyond kMaxJpegSide; numbers: width, height
        // PDF inputs
        PdfPasswordNeeded, // encrypted with a password to open it, and none was given
        PdfWrongPassword,  // the password given does not open it
        PdfDamaged,        // damaged beyond recovery, or refused as hostile; detail: why
        EveryPageBlank,    // blank pages left out, and none left; numbers[0]: the pages
    };
    static constexpr Kind kLastKind = Kind::EveryPageBlank;

    // Why a module loaded on first use cannot be used.
    enum class ModuleFailure { None, CannotLoad, WrongVersion, FailedToStart };

    Kind kind = Kind::None;
    std::string file;   // the image or output file concerned
    int page = 0;       // its page (1-based), 0 when none
    std::string format; // "JPEG", "TIFF", "PNG" or ""
    long long numbers[2] = {0, 0};
    std::string item;
    std::string detail;               // the engine's or a library's own words, in English
    std::vector<std::string> formats; // NotAnImage: "JPEG", "TIFF", "PNG", those the engine reads
    ModuleFailure module = ModuleFailure::None; // RecognitionModule
};

} // namespace folvane
