// SIGINT, SIGTERM and SIGHUP end folvane-pdf at once with 128 + the signal's number (130, 143,
// 129), after removing every temporary file the run has made, so that an interrupted run
// leaves nothing behind and an existing output untouched.
#pragma once

#include <string>

namespace folvane::cli {

// Installs the handlers; a signal the program was started with ignored stays ignored (nohup).
void handleInterrupts();

// Returns at once, unless an interruption has arrived and is not yet handled: then it never
// returns, and the thread that takes the signals ends the process. Called between pages, so
// that a signal that came while the run was stopped or busy wins over finishing the document;
// without it, the run could put its document over the old one before that thread runs.
void yieldToInterruption();

// Creates a file of the program's own from the mkstemp template `path` (the standard-output
// buffer; its name filled in on return) that an interruption removes too, until
// ForgetOwnFile(). It is remembered before it exists, so no signal finds it unknown. Returns
// the descriptor, or -1 with errno set.
int createOwnFile(std::string &path);
void forgetOwnFile();

// While one lives, an interruption waits: for steps that must not be cut in the middle, such
// as putting a set of documents in place.
class InterruptsHeld {
public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld &) = delete;
    InterruptsHeld &operator=(const InterruptsHeld &) = delete;
};

// Whether an interruption should first clear the progress line on the terminal.
void setProgressShown(bool shown);

} // namespace folvane::cli
