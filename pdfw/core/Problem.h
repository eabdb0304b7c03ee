// What went wrong, or what is worth telling, as a kind with fields (pdfw.h's PDFW_PROBLEM_* and
// PDFW_NOTE_*): failures carry a Problem inside the engine (PdfwError), the C interface hands
// both to callers, and each caller words them in its user's language. describe() is the
// engine's own English wording, the message its error handler receives.
#pragma once

#include <string>
#include <vector>

#include "pdfw/pdfw.h"

namespace folvane::pdfw {

struct Problem {
    int kind = PDFW_PROBLEM_INTERNAL;
    std::string file;
    int page = 0;
    std::string format; // "JPEG", "TIFF", "PNG" or ""
    long long numbers[2] = {0, 0};
    std::string item;
    std::string detail;
};

// A problem of kind `kind` with the file concerned and its detail.
Problem problemWith(int kind, std::string file, std::string detail = "");
// A call out of order or with a bad argument, breaking `rule`.
Problem callProblem(std::string rule);
// A file the format's reader finds damaged: `how`, in its own or its library's words.
Problem damagedFile(std::string file, std::string format, std::string how);
// A kind of picture the PDF cannot carry.
Problem unsupportedFile(std::string file, std::string format, std::string which);

std::string describe(const Problem &problem);

struct Note {
    int kind = PDFW_NOTE_REPAIRED;
    long long number = 0;
    std::string detail;
};

using Notes = std::vector<Note>;

// The engine's English line for a note (what a log would show).
std::string describe(const Note &note);

} // namespace folvane::pdfw
