// A set of PDFs written as one: OUT-001.pdf, OUT-002.pdf, ... from the output path OUT.pdf.
// Each document is written into a hidden folder beside the targets; only when all are complete
// are they renamed into place, so that a failure or a stop before then leaves none of them and
// the files of the same names from before untouched.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace folvane {

// The name of document `number` (1-based) of the set for `output`: "OUT.pdf" gives
// "OUT-001.pdf", a name without ".pdf" gets "-001" appended; four digits from the 1000th on.
std::string memberName(const std::string &output, std::size_t number);

// Why a set cannot be prepared or put in place, for each front end to word: `path` is the
// target or folder concerned, `error` the system's errno (0 where none applies).
struct SetProblem {
    enum class Kind {
        TargetIsFolder,     // a target is a folder
        TargetNotWritable,  // a target exists and the user cannot write it (no force)
        CannotCreateFolder, // path: the folder the hidden one was to go into
        CannotKeepOld,      // an existing target could not be linked aside before the renames
        CannotPutInPlace,   // a draft could not be renamed onto its target; the set was undone
    };
    Kind kind;
    std::string path;
    int error = 0;
};

// What a caller that handles signals does around the set's own steps. Each is optional.
struct DocumentSetHooks {
    // Creates the hidden folder from the mkdtemp template `path` (its name filled in on return),
    // false with errno set; for a caller whose interruption handler removes the folder. Without
    // it the folder is made with mkdtemp and locked (flock) while the set lives, so that a
    // sweep of dead runs' leftovers leaves it.
    std::function<bool(std::string &path)> createFolder;
    // Called before the set removes its folder, once the caller's handler should forget it.
    std::function<void()> forgetFolder;
    // Runs `renames`, the step that puts the documents in place; a caller holds its
    // interruptions back around it, so that they find the set whole or untouched.
    std::function<void(const std::function<void()> &renames)> aroundCommit;
};

class DocumentSet {
public:
    explicit DocumentSet(DocumentSetHooks hooks = {}) : hooks_(std::move(hooks)) {}
    ~DocumentSet(); // removes the folder and whatever is still in it
    DocumentSet(const DocumentSet &) = delete;
    DocumentSet &operator=(const DocumentSet &) = delete;

    // Checks the `count` targets named from `output` before anything is written (none may be
    // a folder; an existing file the user cannot write is replaced only with `force`) and
    // creates the hidden folder. The problem otherwise.
    std::optional<SetProblem> prepare(const std::string &output, std::size_t count, bool force);

    // The final names, in order.
    const std::vector<std::string> &targets() const { return targets_; }
    // Where document `index` (0-based) is written before it is put in place.
    std::string draft(std::size_t index) const;

    // Puts every draft in place of its target. Files that were there are first linked into the
    // folder, so that a rename failing part way puts them back and removes the new ones; a
    // kill in the middle of the renames (a few system calls) leaves the first new documents
    // in place and the older files of the rest. The problem when nothing changed.
    std::optional<SetProblem> commit();

private:
    std::string backup(std::size_t index) const;
    void undo(std::size_t renamed);
    std::optional<SetProblem> renameAll();

    DocumentSetHooks hooks_;
    std::string folder_;
    int folderLock_ = -1; // the folder's lock, when the set made the folder itself
    std::vector<std::string> targets_;
    // What each target was before the renames: absent, linked into the folder, or a file that
    // could not be linked (a file system without hard links), which the new one replaces.
    enum class Old { None, Kept, Unkept };
    std::vector<Old> old_;
};

// The first target of `targets` that is one of `files` (the same file, by device and inode, so
// that links count): renaming a document over it would destroy that input. Returns the target
// and the file it is, or nothing.
std::optional<std::pair<std::string, std::string>>
targetReplacingFile(const std::vector<std::string> &targets, const std::vector<std::string> &files);

} // namespace folvane
