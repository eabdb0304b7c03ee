// Running programs from tests: the built tools, the PDF checkers, shell scripts.
#pragma once

#include <string>
#include <vector>

namespace support {

struct RunResult {
    int exitCode = -1; // 128 + the signal's number when a signal ended the program
    std::string out;   // standard output
    std::string err;   // standard error
    long peakKb = 0;   // the program's peak resident memory (getrusage's ru_maxrss)
};

// Runs argv[0] (looked up in PATH) with the arguments, standard input from /dev/null, and
// waits for it. A program that cannot be started gives exit code 127 and says why in err.
RunResult RunProgram(const std::vector<std::string> &argv);
// Runs `sh -c script`.
RunResult RunShell(const std::string &script);

// The text as one shell word, for scripts given to Shell.
std::string Quote(const std::string &text);

} // namespace support
