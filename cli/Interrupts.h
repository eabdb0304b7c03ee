// SIGINT, SIGTERM and SIGHUP end folvane-pdf at once with 128 + the signal's number (130, 143,
// 129), after removing every temporary file the run has made, so that an interrupted run
// leaves nothing behind and an existing output untouched.
#pragma once

namespace folvane_pdf {

// Installs the handlers; a signal the program was started with ignored stays ignored (nohup).
void HandleInterrupts();

// A file of the program's own that an interruption removes too (the standard-output buffer),
// until ForgetOwnFile(). Paths longer than a path can be are not remembered.
void RememberOwnFile(const char *path);
void ForgetOwnFile();

// Whether an interruption should first clear the progress line on the terminal.
void SetProgressShown(bool shown);

} // namespace folvane_pdf
