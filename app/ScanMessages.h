// Every sentence the window says about a scan that failed, made from the scanning library's
// error kinds and fields in one place. The library's own words (a driver's status text, the
// system's error text) appear only in parentheses after the window's sentence.
#pragma once

#include <string>

#include "scan/ScanError.h"

// Why the scan failed; for a missing scanner with the hint of what to check.
std::string scanErrorText(const folvane::scan::ScanError &error);

// The box after a failed scan: where it stopped, why, and the pages of it that were kept (in
// the list, their files in folder).
std::string scanFailureText(const folvane::scan::ScanError &error, int pagesKept,
                            const std::string &folder);
