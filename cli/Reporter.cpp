#include "cli/Reporter.h"

#include <cstdio>

#include "cli/Interrupts.h"
#include "cli/Messages.h"
#include "cli/Texts.h"
#include "pdf/QuotedName.h"

namespace folvane::cli {

namespace {

// One line: the engine's texts may hold line breaks.
std::string oneLine(std::string text) {
    for (char &c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

std::string fileAndPage(const std::string &path, int filePage, int filePages) {
    if (filePages > 1) {
        return fill(_("%1, page %2"), {folvane::quotedName(path), std::to_string(filePage)});
    }
    return folvane::quotedName(path);
}

} // namespace

int fail(const std::string &text) {
    std::fprintf(stderr, "folvane-pdf: %s\n", oneLine(text).c_str());
    return 1;
}

std::string warningLine(const folvane::PageNote &note) {
    return fill(_("%1: %2"),
                {fileAndPage(note.path, note.filePage, note.filePages), oneLine(noteText(note))});
}

std::string leftOutLine(const std::string &path, int page, const folvane::Problem &problem) {
    std::string reason = oneLine(problemText(problem));
    if (page > 1) {
        reason = fill(_("%1: %2"), {fileAndPage(path, page, 2), reason});
    } else if (!namesItsFile(problem) || problem.file != path) {
        reason = fill(_("%1: %2"), {folvane::quotedName(path), reason});
    }
    return fill(_("left out: %1"), {reason});
}

folvane::GenerateEvents Reporter::events() {
    folvane::GenerateEvents events;
    events.onPage = [this](const folvane::PageStart &page) { showProgress(page); };
    events.onNote = [this](const folvane::PageNote &note) { warn(note); };
    events.onBlankSkipped = [this](const folvane::PageStart &page) { leaveOutBlank(page); };
    events.stopRequested = [] {
        yieldToInterruption();
        return false;
    };
    return events;
}

void Reporter::leaveOutBlank(const folvane::PageStart &page) {
    endProgress();
    ++blankPages_;
    std::fprintf(
        stderr, "%s\n",
        fill(_("left out as blank: %1"), {fileAndPage(page.path, page.filePage, page.filePages)})
            .c_str());
}

void Reporter::reportBlankPages() {
    if (blankPages_ > 0) {
        std::fprintf(stderr, "%s\n",
                     fill(_("blank pages left out: %1"), {std::to_string(blankPages_)}).c_str());
    }
}

void Reporter::showProgress(const folvane::PageStart &page) {
    if (!terminal_) {
        return;
    }
    std::fprintf(stderr, "\r\033[K[%zu/%zu] %s", page.index + 1, page.total,
                 folvane::quotedName(page.path).c_str());
    if (page.filePages > 1) {
        const std::string pages = fill(
            _(" (page %1 of %2)"), {std::to_string(page.filePage), std::to_string(page.filePages)});
        std::fputs(pages.c_str(), stderr);
    }
    std::fflush(stderr);
    progressShown_ = true;
    setProgressShown(true);
}

void Reporter::warn(const folvane::PageNote &note) {
    endProgress();
    std::fprintf(stderr, "%s\n", warningLine(note).c_str());
}

void Reporter::endProgress() {
    if (progressShown_) {
        std::fputs("\r\033[K", stderr);
        progressShown_ = false;
        setProgressShown(false);
    }
}

int Reporter::failure(const folvane::GenerateError &error) {
    endProgress();
    std::string reason = oneLine(problemText(error.problem));
    // Most sentences name their file; a page after the first is named here.
    if (error.filePage > 1) {
        reason = fill(_("%1: %2"), {fileAndPage(error.path, error.filePage, 2), reason});
    } else if (!namesItsFile(error.problem) || error.problem.file != error.path) {
        reason = fill(_("%1: %2"), {folvane::quotedName(error.path), reason});
    }
    return fail(reason);
}

} // namespace folvane::cli
