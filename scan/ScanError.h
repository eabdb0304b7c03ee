// Why scanning stopped, as a kind with fields: the front ends word the sentence (English in
// folvane-pdf through englishMessage, Chinese in the window), so nothing here is text meant to
// be parsed.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace folvane::scan {

enum class ScanErrorKind {
    NoDevice,      // no scanner found, or none of that name
    DeviceBusy,    // another program holds it
    FeederEmpty,   // the feeder held no page at all
    PaperJam,      //
    CoverOpen,     //
    IoError,       // talking to the scanner failed
    AccessDenied,  // no permission for the device
    OutOfMemory,   // the driver ran out of memory
    Cancelled,     // stopped on request
    InvalidOption, // the scanner refused an option or a value (option, value, detail)
    WriteFailed,   // a page file could not be written (path, detail)
    Unavailable,   // SANE's module cannot be used (path: the module; detail: the dynamic
                   // loader's words, or "" for a file that is no module of this version)
    Other,         // anything else; detail is the driver's own status text or what went wrong
};

struct ScanError {
    ScanErrorKind kind = ScanErrorKind::Other;
    std::string device; // the scanner's SANE name; "" when none was involved
    int page = 0;       // the page (from 1) of the scan call that failed; 0 when no page was
    std::string option; // InvalidOption: the option's name ("source", "resolution", ...)
    std::string value;  // InvalidOption: the value refused
    std::string path;   // WriteFailed: the file
    std::string detail; // the driver's status text, the system's error text, or what is offered
};

// The English sentence for the error, one line, naming the device and the page where known; for
// NoDevice it ends with a hint (cable and power, permission to use the device, network set-up).
std::string englishMessage(const ScanError &error);

// Thrown by the functions that list, open and set up scanners. what() is the English message.
class ScanFailure : public std::runtime_error {
public:
    explicit ScanFailure(ScanError error)
        : std::runtime_error(englishMessage(error)), error_(std::move(error)) {}
    const ScanError &error() const { return error_; }

private:
    ScanError error_;
};

} // namespace folvane::scan
