#include "cli/Messages.h"

#include <cmath>

#include "cli/Texts.h"
#include "pdf/QuotedName.h"

namespace folvane::cli {

namespace {

using Kind = folvane::Problem::Kind;

// ": detail", or nothing without one.
std::string colonDetail(const std::string &detail) {
    return detail.empty() ? std::string() : fill(_(": %1"), {detail});
}

// A share as a whole percentage that never says 0% or 100% of something partly true.
std::string percent(double share) {
    long percent = std::lround(share * 100);
    if (percent < 1) {
        return _("less than 1%");
    }
    return fill(_("%1%"), {std::to_string(percent > 99 ? 99 : percent)});
}

// JPEG, TIFF and PNG as "JPEG, TIFF or PNG".
std::string orList(const std::vector<std::string> &names) {
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            list += i + 1 == names.size() ? _(" or ") : _(", ");
        }
        list += names[i];
    }
    return list;
}

std::string fileProblemText(const folvane::Problem &p) {
    switch (p.kind) {
    case Kind::CannotOpen:
        return fill(_("cannot open \"%1\"%2"), {p.file, colonDetail(p.detail)});
    case Kind::CannotRead:
        return fill(_("cannot read \"%1\"%2"), {p.file, colonDetail(p.detail)});
    case Kind::NotAnImage:
        return fill(p.numbers[0] ? _("\"%1\" is not a %2 file (it is empty)")
                                 : _("\"%1\" is not a %2 file"),
                    {p.file, orList(p.formats)});
    case Kind::Damaged:
        return fill(_("\"%1\" is not a well-formed %2%3"),
                    {p.file, p.format.empty() ? _("image") : p.format, colonDetail(p.detail)});
    case Kind::Truncated:
        return fill(_("\"%1\" is truncated (it ends inside %2)"), {p.file, p.item});
    case Kind::Unsupported:
        return fill(_("\"%1\" cannot go into a PDF%2"), {p.file, colonDetail(p.detail)});
    case Kind::TooManyPixels:
        return fill(_("\"%1\" is %2 x %3 pixels, too large for PDF viewers (at most %4 pixels a "
                      "side)"),
                    {p.file, std::to_string(p.numbers[0]), std::to_string(p.numbers[1]),
                     std::to_string(folvane::kMaxPictureSide)});
    case Kind::JpegTooLarge:
        return fill(_("\"%1\" is %2 x %3 pixels, more than JPEG decoders read (at most %4 pixels "
                      "a side)"),
                    {p.file, std::to_string(p.numbers[0]), std::to_string(p.numbers[1]),
                     std::to_string(folvane::kMaxJpegSide)});
    case Kind::DataTooShort:
        return fill(_("\"%1\" claims %2 pixels, more than its %3 bytes of image data can hold"),
                    {p.file, std::to_string(p.numbers[0]), std::to_string(p.numbers[1])});
    case Kind::NotAFile:
        return fill(_("\"%1\" is not a regular file (a pipe, a device or a socket)"), {p.file});
    case Kind::NoSuchPage:
        return fill(_("\"%1\" has no page %2 (it has %3)"),
                    {p.file, std::to_string(p.numbers[0]), std::to_string(p.numbers[1])});
    case Kind::PdfPasswordNeeded:
        return fill(_("\"%1\" is encrypted: give its password with --password-file"), {p.file});
    case Kind::PdfWrongPassword:
        return fill(_("the password given does not open \"%1\""), {p.file});
    case Kind::PdfDamaged:
        return fill(_("\"%1\" is a damaged PDF that cannot be read (%2)"), {p.file, p.detail});
    default:
        return fill(_("unexpected failure: %1"), {p.detail});
    }
}

std::string outputText(const folvane::Problem &p) {
    const std::vector<std::string> fields = {p.file, colonDetail(p.detail)};
    if (p.item == "rename") {
        return fill(_("cannot rename the finished file to \"%1\"%2"), fields);
    }
    if (p.item == "create") {
        return fill(_("cannot create \"%1\"%2"), fields);
    }
    if (p.item == "flush") {
        return fill(_("cannot flush \"%1\"%2"), fields);
    }
    return fill(_("cannot write \"%1\"%2"), fields);
}

std::string recognitionModuleText(const folvane::Problem &p) {
    switch (p.module) {
    case folvane::Problem::ModuleFailure::CannotLoad:
        return fill(_("the text recognition module %1 cannot be loaded%2"),
                    {p.item, colonDetail(p.detail)});
    case folvane::Problem::ModuleFailure::WrongVersion:
        return fill(_("%1 is not a text recognition module of this version"), {p.item});
    default:
        return fill(_("the text recognition module %1 failed to start"), {p.item});
    }
}

std::string recognitionText(const folvane::Problem &p) {
    switch (p.kind) {
    case Kind::LanguageNames:
        return fill(_("text recognition: \"%1\" is not a list of language names joined by '+' "
                      "(like chi_sim+eng)"),
                    {p.item});
    case Kind::LanguageMissing:
        return fill(_("text recognition: the data for language \"%1\" is not installed (Debian "
                      "package %2)"),
                    {p.item, p.detail});
    case Kind::LanguageData:
        return fill(_("text recognition: the data for \"%1\" in %2 cannot be loaded"),
                    {p.item, p.detail});
    case Kind::RecognitionModule:
        return recognitionModuleText(p);
    default:
        if (p.numbers[0] > 0) {
            return fill(_("text recognition failed on a page of %1 x %2 pixels%3"),
                        {std::to_string(p.numbers[0]), std::to_string(p.numbers[1]),
                         colonDetail(p.detail)});
        }
        return fill(_("text recognition failed%1"), {colonDetail(p.detail)});
    }
}

std::string problemSentence(const folvane::Problem &p) {
    switch (p.kind) {
    case Kind::None:
    case Kind::Internal:
        return p.detail.empty() ? std::string(_("unexpected failure"))
                                : fill(_("unexpected failure: %1"), {p.detail});
    case Kind::Call:
        return fill(_("internal error: %1"), {p.detail});
    case Kind::Memory:
        return p.item.empty() ? std::string(_("out of memory"))
                              : fill(_("out of memory for %1"), {p.item});
    case Kind::TooLarge:
        return fill(_("%1 is too large (more than %2 MiB)"),
                    {p.item, std::to_string(p.numbers[0] >> 20)});
    case Kind::Output:
        return outputText(p);
    case Kind::DocumentTooLarge:
        return _("the document exceeds the 10 GB a PDF cross-reference table can address");
    case Kind::LanguageNames:
    case Kind::LanguageMissing:
    case Kind::Recognition:
    case Kind::RecognitionModule:
    case Kind::LanguageData:
        return recognitionText(p);
    case Kind::Stopped:
        return _("stopped");
    case Kind::OutputIsInput:
        return fill(_("the output file \"%1\" is the input image \"%2\"; choose another output "
                      "file"),
                    {p.file, p.item});
    case Kind::EveryPageBlank:
        return fill(_("every page is blank (%1 left out by --skip-blank): \"%2\" is not written"),
                    {std::to_string(p.numbers[0]), p.file});
    default:
        return fileProblemText(p);
    }
}

} // namespace

std::string problemText(const folvane::Problem &p) {
    return problemSentence(folvane::withQuotedNames(p));
}

bool namesItsFile(const folvane::Problem &p) {
    switch (p.kind) {
    case Kind::CannotOpen:
    case Kind::CannotRead:
    case Kind::NotAnImage:
    case Kind::Damaged:
    case Kind::Truncated:
    case Kind::Unsupported:
    case Kind::TooManyPixels:
    case Kind::JpegTooLarge:
    case Kind::DataTooShort:
    case Kind::NotAFile:
    case Kind::NoSuchPage:
    case Kind::PdfPasswordNeeded:
    case Kind::PdfWrongPassword:
    case Kind::PdfDamaged:
    case Kind::Output:
    case Kind::OutputIsInput:
    case Kind::EveryPageBlank:
        return !p.file.empty();
    default:
        return false;
    }
}

namespace {

std::string notCorrectedText(const folvane::PageNote &note) {
    switch (note.number) {
    case folvane::PageNote::kCorrectionOutOfMemory:
        return _("cannot be corrected (out of memory); it goes in as it is");
    case folvane::PageNote::kCornersMakeNoSheet:
        return fill(_("the corners given make no sheet (%1); it goes in as it is"), {note.detail});
    case folvane::PageNote::kModuleCannotLoad:
        return fill(_("the correction module cannot be loaded (%1); it goes in as it is"),
                    {note.detail});
    case folvane::PageNote::kModuleUnusable:
        return fill(_("%1 is not a correction module of this version; it goes in as it is"),
                    {note.detail});
    default:
        return fill(_("cannot be corrected (%1); it goes in as it is"), {note.detail});
    }
}

} // namespace

std::string noteText(const folvane::PageNote &note) {
    using NoteKind = folvane::PageNote::Kind;
    switch (note.kind) {
    case NoteKind::Cropped:
        return fill(_("%1 of the image lies outside the page; -c fit fits it"),
                    {percent(note.outside)});
    case NoteKind::Repaired:
        return fill(
            _("damaged, repaired without loss: %1"),
            {note.detail.empty() ? std::string(_("its markers were damaged")) : note.detail});
    case NoteKind::ProfileIgnored:
        return fill(_("colour profile ignored: %1"), {note.detail});
    case NoteKind::ProfileTooNew:
        return fill(_("colour profile of ICC version 4 written into a PDF 1.%1 file (readers "
                      "without version 4 support show device colours)"),
                    {std::to_string(note.number)});
    case NoteKind::FaxReencoded:
        return fill(_("fax data re-encoded: %1, which PDF readers misread"), {note.detail});
    case NoteKind::SamplesReduced:
        return note.detail.empty()
                   ? fill(_("%1-bit samples written with 8 bits; --pdf-version 1.5 keeps all 16"),
                          {std::to_string(note.number)})
                   : fill(_("%1-bit samples written with 8 bits (%2)"),
                          {std::to_string(note.number), note.detail});
    case NoteKind::SheetNotFound:
        return note.number == 2 ? _("two sheets in the photo; it goes in as it is")
                                : _("no sheet found in the photo; it goes in as it is");
    case NoteKind::NotCorrected:
        return notCorrectedText(note);
    case NoteKind::PdfRecovered:
        return fill(_("a damaged PDF, read all the same (%1)"), {note.detail});
    }
    return note.detail;
}

} // namespace folvane::cli
