// Every sentence the window tells about a file that cannot be used, a failed run or a note on a
// page, made from the page loop's kinds and fields in one place. A library's own words (libjpeg's,
// libtiff's, the system's) appear only in parentheses after the window's sentence.
// cli/Messages.cpp walks the same kinds on purpose: each front end words them in its own source
// language with its own translation system (Qt's here, gettext there), so the two switches
// share their shape and nothing else.
#pragma once

#include <string>

#include "pdf/DocumentSet.h"
#include "pdf/PageGeneration.h"
#include "pdf/Problem.h"

// The sentence for a failure; it names the problem's file where it has one.
std::string problemText(const folvane::Problem &problem);

// What a note says about its page (without the file's name).
std::string noteText(const folvane::PageNote &note);

// Why a set of documents could not be prepared or put in place; it names the file or folder.
std::string setProblemText(const folvane::SetProblem &problem);
