// Every sentence folvane-pdf tells about a failure or a page, made from the page loop's kinds
// and fields in one place. app/Messages.cpp walks the same kinds on purpose, in the window's
// source language and translation system.
#pragma once

#include <string>

#include "pdf/PageGeneration.h"
#include "pdf/Problem.h"

namespace folvane::cli {

// The sentence for a failure; it names the problem's file where it has one.
std::string problemText(const folvane::Problem &problem);

// True when problemText names the problem's file: the kinds about one file or the output.
bool namesItsFile(const folvane::Problem &problem);

// What a note says about its page (without the file's name).
std::string noteText(const folvane::PageNote &note);

} // namespace folvane::cli
