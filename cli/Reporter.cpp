#include "cli/Reporter.h"

#include <cstdio>

#include "cli/Interrupts.h"
#include "cli/Messages.h"
#include "cli/Texts.h"
#include "pdf/QuotedName.h"

namespace folvane_pdf {

namespace {

// One line: the engine's texts may hold line breaks.
std::string OneLine(std::string text) {
    for (char &c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

std::string FileAndPage(const std::string &path, int filePage, int filePages) {
    if (filePages > 1) {
        return Fill(_("%1, page %2"), {folvane::QuotedName(path), std::to_string(filePage)});
    }
    return folvane::QuotedName(path);
}

} // namespace

int Fail(const std::string &text) {
    std::fprintf(stderr, "folvane-pdf: %s\n", OneLine(text).c_str());
    return 1;
}

std::string WarningLine(const folvane::PageNote &note) {
    return Fill(_("%1: %2"),
                {FileAndPage(note.path, note.filePage, note.filePages), OneLine(NoteText(note))});
}

std::string LeftOutLine(const std::string &path, int page, const folvane::Problem &problem) {
    std::string reason = OneLine(ProblemText(problem));
    if (page > 1) {
        reason = Fill(_("%1: %2"), {FileAndPage(path, page, 2), reason});
    } else if (!NamesItsFile(problem) || problem.file != path) {
        reason = Fill(_("%1: %2"), {folvane::QuotedName(path), reason});
    }
    return Fill(_("left out: %1"), {reason});
}

folvane::GenerateEvents Reporter::Events() {
    folvane::GenerateEvents events;
    events.onPage = [this](const folvane::PageStart &page) { ShowProgress(page); };
    events.onNote = [this](const folvane::PageNote &note) { Warn(note); };
    return events;
}

void Reporter::ShowProgress(const folvane::PageStart &page) {
    if (!terminal_) {
        return;
    }
    std::fprintf(stderr, "\r\033[K[%zu/%zu] %s", page.index + 1, page.total,
                 folvane::QuotedName(page.path).c_str());
    if (page.filePages > 1) {
        const std::string pages = Fill(
            _(" (page %1 of %2)"), {std::to_string(page.filePage), std::to_string(page.filePages)});
        std::fputs(pages.c_str(), stderr);
    }
    std::fflush(stderr);
    progressShown_ = true;
    SetProgressShown(true);
}

void Reporter::Warn(const folvane::PageNote &note) {
    EndProgress();
    std::fprintf(stderr, "%s\n", WarningLine(note).c_str());
}

void Reporter::EndProgress() {
    if (progressShown_) {
        std::fputs("\r\033[K", stderr);
        progressShown_ = false;
        SetProgressShown(false);
    }
}

int Reporter::Failure(const folvane::GenerateError &error) {
    EndProgress();
    std::string reason = OneLine(ProblemText(error.problem));
    // Most sentences name their file; a page after the first is named here.
    if (error.filePage > 1) {
        reason = Fill(_("%1: %2"), {FileAndPage(error.path, error.filePage, 2), reason});
    } else if (!NamesItsFile(error.problem) || error.problem.file != error.path) {
        reason = Fill(_("%1: %2"), {folvane::QuotedName(error.path), reason});
    }
    return Fail(reason);
}

} // namespace folvane_pdf
