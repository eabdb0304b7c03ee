#include "pdfw/core/Problem.h"

#include <utility>
#include <vector>

namespace folvane::pdfw {

namespace {

std::string quoted(const std::string &file) {
    return "\"" + file + "\"";
}

// ": detail", or nothing for an empty detail.
std::string colonDetail(const std::string &detail) {
    return detail.empty() ? std::string() : ": " + detail;
}

// A set of PDFW_FORMAT_* bits as "JPEG, TIFF or PNG".
std::string orList(long long formats) {
    std::vector<std::string> names;
    for (auto [bit, name] :
         {std::pair{PDFW_FORMAT_JPEG, "JPEG"}, std::pair{PDFW_FORMAT_TIFF, "TIFF"},
          std::pair{PDFW_FORMAT_PNG, "PNG"}}) {
        if (formats & bit) {
            names.push_back(name);
        }
    }
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    }
    return list;
}

std::string describeFileProblem(const Problem &p) {
    switch (p.kind) {
    case PDFW_PROBLEM_CANNOT_OPEN:
        return "cannot open " + quoted(p.file) + colonDetail(p.detail);
    case PDFW_PROBLEM_CANNOT_READ:
        return "cannot read " + quoted(p.file) + colonDetail(p.detail);
    case PDFW_PROBLEM_NOT_AN_IMAGE:
        return quoted(p.file) + " is not a " + orList(p.numbers[1]) + " file" +
               (p.numbers[0] ? " (it is empty)" : "");
    case PDFW_PROBLEM_DAMAGED:
        return quoted(p.file) + " is not a well-formed " +
               (p.format.empty() ? std::string("image") : p.format) + colonDetail(p.detail);
    case PDFW_PROBLEM_TRUNCATED:
        return quoted(p.file) + " is truncated (it ends inside " + p.item + ")";
    case PDFW_PROBLEM_UNSUPPORTED:
        return quoted(p.file) + " cannot go into a PDF" + colonDetail(p.detail);
    case PDFW_PROBLEM_TOO_MANY_PIXELS:
        return quoted(p.file) + " is " + std::to_string(p.numbers[0]) + " x " +
               std::to_string(p.numbers[1]) + " pixels, too large for PDF viewers (at most " +
               std::to_string(PDFW_MAX_PICTURE_SIDE) + " pixels a side)";
    case PDFW_PROBLEM_JPEG_TOO_LARGE:
        return quoted(p.file) + " is " + std::to_string(p.numbers[0]) + " x " +
               std::to_string(p.numbers[1]) + " pixels, more than JPEG decoders read (at most " +
               std::to_string(PDFW_MAX_JPEG_SIDE) + " pixels a side)";
    case PDFW_PROBLEM_DATA_TOO_SHORT:
        return quoted(p.file) + " claims " + std::to_string(p.numbers[0]) +
               " pixels, more than its " + std::to_string(p.numbers[1]) +
               " bytes of image data can hold";
    case PDFW_PROBLEM_NOT_A_FILE:
        return quoted(p.file) + " is not a regular file (a pipe, a device or a socket)";
    case PDFW_PROBLEM_NO_SUCH_PAGE:
        return quoted(p.file) + " has no page " + std::to_string(p.numbers[0]) + " (it has " +
               std::to_string(p.numbers[1]) + ")";
    default:
        return {};
    }
}

std::string describeRecognition(const Problem &p) {
    std::string where = p.file.empty() ? std::string() : quoted(p.file) + ": ";
    switch (p.kind) {
    case PDFW_PROBLEM_LANGUAGE_NAMES:
        return where + "text recognition: \"" + p.item +
               "\" is not a list of language names joined by '+' (like chi_sim+eng)";
    case PDFW_PROBLEM_LANGUAGE_MISSING:
        return where + "text recognition: the data for language \"" + p.item +
               "\" is not installed (Debian package " + p.detail + ")";
    case PDFW_PROBLEM_LANGUAGE_DATA:
        return where + "text recognition: the data for \"" + p.item + "\" in " + p.detail +
               " cannot be loaded";
    case PDFW_PROBLEM_RECOGNITION_MODULE:
        if (p.numbers[0] == PDFW_MODULE_WRONG_VERSION) {
            return where + p.item + " is not a text recognition module of this version";
        }
        return where + "the text recognition module " + p.item +
               (p.numbers[0] == PDFW_MODULE_CANNOT_LOAD ? " cannot be loaded"
                                                        : " failed to start") +
               colonDetail(p.detail);
    default:
        return where + "text recognition failed" +
               (p.numbers[0] ? " on a page of " + std::to_string(p.numbers[0]) + " x " +
                                   std::to_string(p.numbers[1]) + " pixels"
                             : std::string()) +
               colonDetail(p.detail);
    }
}

} // namespace

Problem problemWith(int kind, std::string file, std::string detail) {
    Problem problem;
    problem.kind = kind;
    problem.file = std::move(file);
    problem.detail = std::move(detail);
    return problem;
}

Problem callProblem(std::string rule) {
    return problemWith(PDFW_PROBLEM_CALL, "", std::move(rule));
}

Problem damagedFile(std::string file, std::string format, std::string how) {
    Problem problem = problemWith(PDFW_PROBLEM_DAMAGED, std::move(file), std::move(how));
    problem.format = std::move(format);
    return problem;
}

Problem unsupportedFile(std::string file, std::string format, std::string which) {
    Problem problem = damagedFile(std::move(file), std::move(format), std::move(which));
    problem.kind = PDFW_PROBLEM_UNSUPPORTED;
    return problem;
}

std::string describe(const Problem &p) {
    switch (p.kind) {
    case PDFW_PROBLEM_NONE:
        return {};
    case PDFW_PROBLEM_MEMORY:
        return "out of memory" + (p.item.empty() ? std::string() : " for " + p.item) +
               (p.file.empty() ? std::string() : " reading " + quoted(p.file)) +
               (p.numbers[0] ? " (" + std::to_string(p.numbers[0]) + " bytes)" : "");
    case PDFW_PROBLEM_TOO_LARGE:
        return (p.file.empty() ? std::string() : quoted(p.file) + ": ") + p.item +
               " is too large (more than " + std::to_string(p.numbers[0] >> 20) + " MiB)";
    case PDFW_PROBLEM_OUTPUT:
        if (p.item == "rename") {
            return "cannot rename the finished file to " + quoted(p.file) + colonDetail(p.detail);
        }
        return "cannot " + (p.item.empty() ? std::string("write") : p.item) + " " + quoted(p.file) +
               colonDetail(p.detail);
    case PDFW_PROBLEM_DOCUMENT_TOO_LARGE:
        return "the document exceeds the 10 GB a PDF cross-reference table can address";
    case PDFW_PROBLEM_LANGUAGE_NAMES:
    case PDFW_PROBLEM_LANGUAGE_MISSING:
    case PDFW_PROBLEM_RECOGNITION:
    case PDFW_PROBLEM_RECOGNITION_MODULE:
    case PDFW_PROBLEM_LANGUAGE_DATA:
        return describeRecognition(p);
    case PDFW_PROBLEM_STOPPED:
        return "the document was stopped" + colonDetail(p.detail);
    case PDFW_PROBLEM_CALL:
    case PDFW_PROBLEM_INTERNAL:
        return p.detail;
    default:
        return describeFileProblem(p);
    }
}

std::string describe(const Note &note) {
    switch (note.kind) {
    case PDFW_NOTE_REPAIRED:
        return "repaired: " +
               (note.detail.empty() ? std::string("its markers were damaged") : note.detail);
    case PDFW_NOTE_PROFILE_IGNORED:
        return "colour profile ignored: " + note.detail;
    case PDFW_NOTE_PROFILE_TOO_NEW:
        return "colour profile of ICC version 4 written into a PDF 1." +
               std::to_string(note.number) +
               " file (readers without version 4 support show device colours)";
    case PDFW_NOTE_FAX_REENCODED:
        return "fax data re-encoded: " + note.detail + ", which PDF readers misread";
    case PDFW_NOTE_SAMPLES_REDUCED:
        return std::to_string(note.number) + "-bit samples written with 8 bits" +
               (note.detail.empty() ? std::string(" (PDF 1.5 and later keep 16)")
                                    : " (" + note.detail + ")");
    default:
        return note.detail;
    }
}

} // namespace folvane::pdfw
