// The manifest of folvane-pdf --batch: one document a line, its fields separated by tabs, the
// output first and then the document's inputs and options as on a command line; lines that
// start with '#' and empty lines are skipped. The batch runs in the manifest's folder, so that
// relative paths, those in list files too, are taken from there.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/Arguments.h"

namespace folvane::cli {

// The largest manifest read: its lines are all held while the batch runs.
inline constexpr std::size_t kMaxManifestBytes = std::size_t{256} << 20;

struct ManifestDocument {
    std::size_t line = 0;             // 1-based, as an editor counts
    std::string output;               // as the line names it, for the report
    Arguments arguments;              // output and inputs taken from the manifest's folder
    std::vector<std::string> sources; // the inputs and lists as named, found from the folder
};

// Why a manifest was refused: the line (0 when about the whole file) and the reason.
struct ManifestProblem {
    std::size_t line = 0;
    std::string reason;
};

// Parses the manifest's text; `folder` is where its relative paths start, for telling whether
// two outputs are the same file. Refuses a line that
// cannot be a document and two lines whose outputs are the same file. False with `problem`
// set, for the first bad line.
bool parseManifest(const std::string &text, const std::string &folder,
                   std::vector<ManifestDocument> &documents, ManifestProblem &problem);

// Reads and parses the manifest at `path`. False with `problem` set, its line 0 when the file
// cannot be read; `unreadable` then tells so.
bool readManifest(const std::string &path, std::vector<ManifestDocument> &documents,
                  ManifestProblem &problem, bool &unreadable);

} // namespace folvane::cli
