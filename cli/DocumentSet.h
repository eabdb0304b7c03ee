// A set of PDFs written as one: OUT-001.pdf, OUT-002.pdf, ... from -o OUT.pdf. Each document is
// written into a hidden folder beside the targets; only when all are complete are they renamed
// into place, so that a failure or a stop before then leaves none of them and the files of the
// same names from before untouched.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace folvane::cli {

// The name of document `number` (1-based) of the set for `output`: "OUT.pdf" gives
// "OUT-001.pdf", a name without ".pdf" gets "-001" appended; four digits from the 1000th on.
std::string memberName(const std::string &output, std::size_t number);

class DocumentSet {
public:
    DocumentSet() = default;
    ~DocumentSet(); // removes the folder and whatever is still in it
    DocumentSet(const DocumentSet &) = delete;
    DocumentSet &operator=(const DocumentSet &) = delete;

    // Checks the `count` targets named from `output` before anything is written (none may be
    // a folder; an existing file the user cannot write is replaced only with `force`) and
    // creates the hidden folder. False with `error` set otherwise.
    bool prepare(const std::string &output, std::size_t count, bool force, std::string &error);

    // The final names, in order.
    const std::vector<std::string> &targets() const { return targets_; }
    // Where document `index` (0-based) is written before it is put in place.
    std::string draft(std::size_t index) const;

    // Puts every draft in place of its target. Files that were there are first linked into the
    // folder, so that a rename failing part way puts them back and removes the new ones; a
    // kill in the middle of the renames (a few system calls) leaves the first new documents
    // in place and the older files of the rest. False with `error` set when nothing changed.
    bool commit(std::string &error);

private:
    std::string backup(std::size_t index) const;
    void undo(std::size_t renamed);

    std::string folder_;
    std::vector<std::string> targets_;
    // What each target was before the renames: absent, linked into the folder, or a file that
    // could not be linked (a file system without hard links), which the new one replaces.
    enum class Old { None, Kept, Unkept };
    std::vector<Old> old_;
};

} // namespace folvane::cli
