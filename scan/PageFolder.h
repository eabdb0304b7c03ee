// Where scanned pages go: a folder, and the page names in it (page-001.png, page-002.tif, ...).
// The pages are the user's files; by default a scan session gets a folder of its own under the
// pictures folder.
#pragma once

#include <ctime>
#include <string>

namespace folvane::scan {

// A page is written under a hidden partial name (".page-003.png.part") and renamed to its own
// name only once complete and flushed, so an interrupted run never leaves a page that looks
// whole. These are the partial names' start and end.
inline constexpr const char *kPartialPrefix = ".page-";
inline constexpr const char *kPartialSuffix = ".part";

class PageFolder {
public:
    // Uses `path`, creating it and its parents when missing. Throws ScanFailure (WriteFailed).
    explicit PageFolder(std::string path);

    const std::string &path() const { return path_; }

    // The number the next page gets: one after the highest page-NNN already in the folder, so
    // a second scan into the same folder adds pages and never replaces one.
    int nextNumber() const;
    // "page-007.png" for (7, ".png").
    static std::string pageName(int number, const char *extension);

private:
    std::string path_;
};

// The user's pictures folder: XDG_PICTURES_DIR from the environment or from
// $XDG_CONFIG_HOME/user-dirs.dirs (~/.config when unset), whatever its name in the user's
// language; $HOME when neither names one.
std::string picturesFolder();

// Creates the folder of a new scan session, "<parent>/<word> YYYY-MM-DD HHMM" at local time
// `when` (with " (2)", " (3)", ... when that exists already), and its parents; `word` is "扫描",
// or the word for a scan in the window's language. Throws ScanFailure (WriteFailed).
std::string createSessionFolder(const std::string &parent, std::time_t when,
                                const std::string &word = "扫描");

// The default parent of session folders: <pictures folder>/Folvane.
std::string defaultSessionParent();

} // namespace folvane::scan
