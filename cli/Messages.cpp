#include "cli/Messages.h"

#include <cmath>

namespace folvane_pdf {

namespace {

using Kind = folvane::Problem::Kind;

std::string Quoted(const std::string &text) {
    return "\"" + text + "\"";
}

std::string ColonDetail(const std::string &detail) {
    return detail.empty() ? std::string() : ": " + detail;
}

// A share as a whole percentage that never says 0% or 100% of something partly true.
std::string Percent(double share) {
    long percent = std::lround(share * 100);
    if (percent < 1) {
        return "less than 1%";
    }
    return std::to_string(percent > 99 ? 99 : percent) + "%";
}

// "JPEG, TIFF, PNG" as "JPEG, TIFF or PNG".
std::string OrList(std::string names) {
    std::size_t last = names.rfind(", ");
    return last == std::string::npos ? names : names.replace(last, 2, " or ");
}

std::string FileProblemText(const folvane::Problem &p) {
    const std::string file = Quoted(p.file);
    switch (p.kind) {
    case Kind::CannotOpen:
        return "cannot open " + file + ColonDetail(p.detail);
    case Kind::CannotRead:
        return "cannot read " + file + ColonDetail(p.detail);
    case Kind::NotAnImage:
        return file + " is not a " + OrList(p.item) + " file" +
               (p.numbers[0] ? " (it is empty)" : "");
    case Kind::Damaged:
        return file + " is not a well-formed " + (p.format.empty() ? "image" : p.format) +
               ColonDetail(p.detail);
    case Kind::Truncated:
        return file + " is truncated (it ends inside " + p.item + ")";
    case Kind::Unsupported:
        return file + " cannot go into a PDF" + ColonDetail(p.detail);
    case Kind::TooManyPixels:
        return file + " is " + std::to_string(p.numbers[0]) + " x " + std::to_string(p.numbers[1]) +
               " pixels, too large for PDF viewers (at most " +
               std::to_string(folvane::kMaxPictureSide) + " pixels a side)";
    case Kind::DataTooShort:
        return file + " claims " + std::to_string(p.numbers[0]) + " pixels, more than its " +
               std::to_string(p.numbers[1]) + " bytes of image data can hold";
    case Kind::NoSuchPage:
        return file + " has no page " + std::to_string(p.numbers[0]) + " (it has " +
               std::to_string(p.numbers[1]) + ")";
    default:
        return p.detail;
    }
}

std::string OutputText(const folvane::Problem &p) {
    if (p.item == "rename") {
        return "cannot rename the finished file to " + Quoted(p.file) + ColonDetail(p.detail);
    }
    return "cannot " + (p.item.empty() ? std::string("write") : p.item) + " " + Quoted(p.file) +
           ColonDetail(p.detail);
}

std::string RecognitionText(const folvane::Problem &p) {
    switch (p.kind) {
    case Kind::LanguageNames:
        return "text recognition: " + Quoted(p.item) +
               " is not a list of language names joined by '+' (like chi_sim+eng)";
    case Kind::LanguageMissing:
        return "text recognition: the data for language " + Quoted(p.item) +
               " is not installed (Debian package " + p.detail + ")";
    default:
        return "text recognition: " +
               (p.item.empty() ? std::string() : "the engine module " + p.item + " ") + p.detail;
    }
}

} // namespace

std::string ProblemText(const folvane::Problem &p) {
    switch (p.kind) {
    case Kind::None:
    case Kind::Internal:
        return p.detail.empty() ? std::string("unexpected failure") : p.detail;
    case Kind::Call:
        return "internal error: " + p.detail;
    case Kind::Memory:
        return "out of memory" + (p.item.empty() ? std::string() : " for " + p.item);
    case Kind::TooLarge:
        return p.item + " is too large (more than " + std::to_string(p.numbers[0] >> 20) + " MiB)";
    case Kind::Output:
        return OutputText(p);
    case Kind::DocumentTooLarge:
        return "the document exceeds the 10 GB a PDF cross-reference table can address";
    case Kind::LanguageNames:
    case Kind::LanguageMissing:
    case Kind::Recognition:
        return RecognitionText(p);
    case Kind::Stopped:
        return "stopped";
    case Kind::OutputIsInput:
        return "the output file " + Quoted(p.file) + " is the input image " + Quoted(p.item) +
               "; choose another output file";
    default:
        return FileProblemText(p);
    }
}

std::string NoteText(const folvane::PageNote &note) {
    using NoteKind = folvane::PageNote::Kind;
    switch (note.kind) {
    case NoteKind::Cropped:
        return Percent(note.outside) + " of the image lies outside the page; -c fit fits it";
    case NoteKind::Repaired:
        return "damaged, repaired without loss: " +
               (note.detail.empty() ? std::string("its markers were damaged") : note.detail);
    case NoteKind::ProfileIgnored:
        return "colour profile ignored: " + note.detail;
    case NoteKind::ProfileTooNew:
        return "colour profile of ICC version 4 written into a PDF 1." +
               std::to_string(note.number) +
               " file (readers without version 4 support show device colours)";
    case NoteKind::FaxReencoded:
        return "fax data re-encoded: " + note.detail + ", which PDF readers misread";
    case NoteKind::SamplesReduced:
        return std::to_string(note.number) + "-bit samples written with 8 bits" +
               (note.detail.empty() ? std::string("; --pdf-version 1.5 keeps all 16")
                                    : " (" + note.detail + ")");
    }
    return note.detail;
}

} // namespace folvane_pdf
